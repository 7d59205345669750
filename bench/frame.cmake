# Skinned frame paint against the system's, one window size (Windows only).
if(WIN32)
  add_executable(bench_frame ${CMAKE_CURRENT_LIST_DIR}/bench_frame.cpp)
  target_link_libraries(bench_frame PRIVATE skin_classify qs_winsupport)
  target_compile_definitions(bench_frame PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
  target_link_options(bench_frame PRIVATE -Wl,--allow-multiple-definition)
endif()
