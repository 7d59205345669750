# The media player (progress and track bars are in controls.cmake's ComCtrlsProgress.cpp).
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MPlayer.cpp)
