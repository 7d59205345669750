# LZH coder, archive reader and skintool.
qs_test(test_lzh SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_lzh.cpp LIBS skin_data)
qs_test(test_archive SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_archive.cpp LIBS skin_data)
qs_test(test_skintool SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_skintool.cpp LIBS skintool_commands)
