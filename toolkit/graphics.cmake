# Graphics, image lists, timers and menus of the toolkit.
target_sources(toolkit PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Graphics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ImgList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtCtrlsTimer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Menus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UtilWindow.cpp
)
