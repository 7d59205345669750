# Headers, list views and the glyph check box (tab, page and tab-set controls
# are in controls.cmake's ComCtrlsTabs.cpp); the tab set lays out its tabs
# with the tab geometry it shares with the skins (base/).
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ComCtrlsTabsList.cpp)
