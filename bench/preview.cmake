# Save-to-screen delay of the skin folder preview (Windows only).
if(WIN32)
  add_executable(bench_preview ${CMAKE_CURRENT_LIST_DIR}/bench_preview.cpp ${PROJECT_SOURCE_DIR}/app/gallery/gallery.rc)
  target_link_libraries(bench_preview PRIVATE gallery_pages qs_winsupport)
  target_compile_definitions(bench_preview PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
endif()
