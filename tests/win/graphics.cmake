# Graphics, image list, timer and menu tests of the toolkit.
qs_test(test_graphics SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_graphics.cpp LIBS toolkit qs_winsupport)
qs_test(test_menus SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_menus.cpp LIBS toolkit qs_winsupport)
qs_test(test_timer_imagelist SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_timer_imagelist.cpp LIBS toolkit qs_winsupport)
qs_test(test_graphics_leaks SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_graphics_leaks.cpp LIBS toolkit qs_winsupport)
if(WIN32)
  target_sources(test_graphics PRIVATE ${CMAKE_CURRENT_LIST_DIR}/graphics_res/graphics_test.rc)
  target_include_directories(test_graphics PRIVATE ${CMAKE_CURRENT_LIST_DIR}/graphics_res)
endif()
