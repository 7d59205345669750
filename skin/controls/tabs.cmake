# Tab, header, list-view and glyph-property skins.
target_sources(skin_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinListView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinObjImage.cpp)
