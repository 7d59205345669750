# Scroll-bar, combo, up-down and picker-button geometry of the control skins.
include(${PROJECT_SOURCE_DIR}/skin/controls/SkinScrollGeometry.cmake)
qs_test(test_scroll_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_scroll_geometry.cpp LIBS edit_skin_geometry)
