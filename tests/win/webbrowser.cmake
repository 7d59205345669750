qs_test(test_webbrowser SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_webbrowser.cpp LIBS toolkit qs_winsupport)
