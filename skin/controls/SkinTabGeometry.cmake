# Tab, pane, close-box, tab-set, header and glyph-cell geometry without
# windows.h: built for Windows (the toolkit's tab set and the tab skins use it)
# and natively, where its tests run. Included from here, the toolkit and
# tests/native, whichever comes first.
if(NOT TARGET tab_geometry)
  add_library(tab_geometry STATIC ${CMAKE_CURRENT_LIST_DIR}/SkinTabGeometry.cpp)
  target_include_directories(tab_geometry PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(tab_geometry PUBLIC skin_data)
endif()
