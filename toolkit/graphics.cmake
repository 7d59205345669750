# Graphics, image lists, timers and menus of the toolkit.
target_sources(toolkit PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Graphics.cpp
)
