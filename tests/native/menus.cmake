# Menu geometry: menu-bar layout, hit tests, accelerators, the keyboard walk,
# item measuring, content placement and separator slices.
include(${PROJECT_SOURCE_DIR}/skin/form/geometry_menus.cmake)
qs_test(test_menu_layout SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_menu_layout.cpp LIBS skin_menu_geometry)
