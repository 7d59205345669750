# The viewer's start-up and private bytes, skinned against skinning off (Windows only).
if(WIN32)
  add_executable(bench_startup ${CMAKE_CURRENT_LIST_DIR}/bench_startup.cpp)
  target_compile_definitions(bench_startup PRIVATE QV_EXE="$<TARGET_FILE:qv>")
  target_include_directories(bench_startup PRIVATE ${PROJECT_SOURCE_DIR}/app)
  add_dependencies(bench_startup qv)
endif()
