# Progress-bar and media-player geometry.
qs_test(test_progress_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_progress_geometry.cpp LIBS base)
