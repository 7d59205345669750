# Classification and attach of a form's 200 mixed children (Windows only).
if(WIN32)
  add_executable(bench_classify ${CMAKE_CURRENT_LIST_DIR}/bench_classify.cpp)
  target_link_libraries(bench_classify PRIVATE skin_classify qs_winsupport)
  target_compile_definitions(bench_classify PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
endif()
