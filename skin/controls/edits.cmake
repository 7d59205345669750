# Scroll-bar covers, date-time picker, edit, combo-box and up-down skins.
target_sources(skin_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinScroll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinScrollSkins.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinDateTime.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinCombo.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinUpDown.cpp
)
target_link_libraries(skin_controls PUBLIC edit_skin_geometry)
