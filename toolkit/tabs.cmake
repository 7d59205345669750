# Headers, list views and the glyph check box (tab, page and tab-set controls
# are in controls.cmake's ComCtrlsTabs.cpp); the tab set lays out its tabs
# with the tab geometry shared with the skins.
include(${PROJECT_SOURCE_DIR}/skin/controls/SkinTabGeometry.cmake)
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ComCtrlsTabsList.cpp)
target_link_libraries(toolkit PUBLIC tab_geometry)
