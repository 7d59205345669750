qs_test(test_qv_shell SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_qv_shell.cpp LIBS qv_shell qs_winsupport)
