# Window tests of the toolkit's controls and forms (Wine + Xvfb).
qs_test(test_controls SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_controls.cpp LIBS toolkit qs_winsupport comctl32)
qs_test(test_forms SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_forms.cpp LIBS toolkit qs_winsupport)
qs_add_form_resource(test_forms TF_OrderProbe ${CMAKE_CURRENT_LIST_DIR}/forms/TF_OrderProbe.form)
