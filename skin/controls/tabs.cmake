# Tab, header, list-view and glyph-property skins.
include(${CMAKE_CURRENT_LIST_DIR}/SkinTabGeometry.cmake)
target_sources(skin_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinTab.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinHeader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinObjImage.cpp)
target_link_libraries(skin_controls PUBLIC tab_geometry)
# The list-view skin is a scroll-bar skin: it joins once the scroll-bar skins
# are part of the library.
get_target_property(_qs_skin_sources skin_controls SOURCES)
if(_qs_skin_sources MATCHES "SkinScroll\\.cpp")
  target_sources(skin_controls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinListView.cpp)
  set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/CreateTabs.cpp PROPERTIES COMPILE_DEFINITIONS QS_LISTVIEW_SKIN)
endif()
