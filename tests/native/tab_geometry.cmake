# Tab, pane, close-box, tab-set, header and glyph-cell geometry of the tab skins.
qs_test(test_tab_geometry SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_tab_geometry.cpp LIBS base)
