# Scroll-bar, combo, up-down and picker-button geometry without windows.h:
# built for Windows (the skins use it) and natively, where its tests run.
# Included from here and from tests/native, whichever comes first.
if(NOT TARGET edit_skin_geometry)
  add_library(edit_skin_geometry STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SkinScrollGeometry.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinEditGeometry.cpp)
  target_include_directories(edit_skin_geometry PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(edit_skin_geometry PUBLIC skin_data)
endif()
