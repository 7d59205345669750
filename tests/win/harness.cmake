qs_test(test_harness SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_harness.cpp LIBS qs_winsupport)
