# Buttons, check boxes and radio buttons: the toolkit controls and their skins.
qs_test(test_buttons SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_buttons.cpp LIBS toolkit qs_winsupport)
set_tests_properties(test_buttons PROPERTIES RUN_SERIAL TRUE)
