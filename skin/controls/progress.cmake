# Progress-bar, track-bar and media-player skins.
include(${CMAKE_CURRENT_LIST_DIR}/progress_geometry.cmake)
target_sources(skin_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinTrackBar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinMP.cpp)
target_link_libraries(skin_controls PUBLIC progress_geometry)
