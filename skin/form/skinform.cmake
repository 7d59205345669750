# The form skin: drawing primitives, non-client objects, frame painting.
include(${CMAKE_CURRENT_LIST_DIR}/geometry.cmake)
add_library(skin_form STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SkinDraw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/NCObjects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinForm.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinFormPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinFormProc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ControlSide.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DesktopStyles.cpp)
target_include_directories(skin_form PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(skin_form PUBLIC skin_form_geometry skin_data_win toolkit msimg32 gdi32 user32)
