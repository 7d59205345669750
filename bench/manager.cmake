# Skin switches, skinning off and on with ten forms open (Windows only).
if(WIN32)
  add_executable(bench_manager ${CMAKE_CURRENT_LIST_DIR}/bench_manager.cpp)
  target_link_libraries(bench_manager PRIVATE skin_classify)
  target_compile_definitions(bench_manager PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
endif()
