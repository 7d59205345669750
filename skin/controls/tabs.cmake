# Tab, header, list-view and glyph-property skins.
include(${CMAKE_CURRENT_LIST_DIR}/SkinTabGeometry.cmake)
target_sources(skin_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinListView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinObjImage.cpp)
target_link_libraries(skin_controls PUBLIC tab_geometry)
