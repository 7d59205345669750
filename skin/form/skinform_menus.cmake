# Menus: the item painter, the menu-window skin and the skinned menu bar.
target_sources(skin_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MenuPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinPopMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuEvents.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MenuBarAccessible.cpp)
target_link_libraries(skin_form PUBLIC skin_menu_geometry oleacc)
