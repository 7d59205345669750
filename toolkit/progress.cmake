# The media player (progress and track bars are in controls.cmake's ComCtrlsProgress.cpp).
include(${PROJECT_SOURCE_DIR}/skin/controls/progress_geometry.cmake)
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MPlayer.cpp)
target_link_libraries(toolkit PUBLIC progress_geometry)
