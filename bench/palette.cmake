# Turning the process palette on and off for a window of 200 controls,
# against a full repaint of it (Windows only).
if(WIN32)
  add_executable(bench_palette ${CMAKE_CURRENT_LIST_DIR}/bench_palette.cpp)
  target_link_libraries(bench_palette PRIVATE qskin)
  target_compile_definitions(bench_palette PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
endif()
