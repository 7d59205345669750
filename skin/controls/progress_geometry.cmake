# Progress-bar and media-player geometry without windows.h: built for Windows
# (the toolkit's controls and their skins use it) and natively, where its
# tests run. Included from here, the toolkit and tests/native, whichever comes first.
if(NOT TARGET progress_geometry)
  add_library(progress_geometry STATIC ${CMAKE_CURRENT_LIST_DIR}/ProgressGeometry.cpp)
  target_include_directories(progress_geometry PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(progress_geometry PUBLIC skin_data)
endif()
