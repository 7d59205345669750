qs_test(test_version SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_version.cpp LIBS skin_data)
