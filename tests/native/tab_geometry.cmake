# Tab, pane, close-box, tab-set, header and glyph-cell geometry of the tab skins.
include(${PROJECT_SOURCE_DIR}/skin/controls/SkinTabGeometry.cmake)
qs_test(test_tab_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_tab_geometry.cpp LIBS tab_geometry)
