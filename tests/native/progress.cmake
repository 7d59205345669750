# Progress-bar and media-player geometry.
include(${PROJECT_SOURCE_DIR}/skin/controls/progress_geometry.cmake)
qs_test(test_progress_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_progress_geometry.cpp LIBS progress_geometry)
