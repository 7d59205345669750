# Description reader, colours, pixel routines and BMP files.
qs_test(test_ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_ini.cpp LIBS skin_data)
qs_test(test_colour SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_colour.cpp LIBS skin_data)
qs_test(test_pixel SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_pixel.cpp LIBS skin_data)
qs_test(test_bmp SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_bmp.cpp LIBS skin_data)
