# Menu geometry without windows.h (menu-bar layout, hit tests, accelerators,
# the keyboard walk, item measuring and content layout, separator slices):
# built for Windows and natively, where its tests run. Included from here and
# from tests/native, whichever comes first.
if(NOT TARGET skin_menu_geometry)
  add_library(skin_menu_geometry STATIC ${CMAKE_CURRENT_LIST_DIR}/MenuLayout.cpp)
  target_include_directories(skin_menu_geometry PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(skin_menu_geometry PUBLIC skin_data)
endif()
