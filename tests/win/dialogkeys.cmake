# Enter and Escape on a form with default and cancel buttons, typed for real.
qs_test(test_dialog_keys SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_dialog_keys.cpp LIBS toolkit qs_winsupport)
set_tests_properties(test_dialog_keys PROPERTIES RUN_SERIAL TRUE)
