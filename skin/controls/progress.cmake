# Progress-bar, track-bar and media-player skins.
target_sources(skin_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinProgress.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinTrackBar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinMP.cpp)
