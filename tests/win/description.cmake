# BMP reading against GDI, and the device-context gradient fill.
qs_test(test_bmp_win SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_bmp_win.cpp LIBS skin_data qs_winsupport gdi32 user32)
target_include_directories(test_bmp_win PRIVATE ${PROJECT_SOURCE_DIR}/tests/native)
qs_test(test_colour_win SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_colour_win.cpp LIBS skin_data toolkit qs_winsupport gdi32 user32)
