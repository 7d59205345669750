# Buttons, check boxes and radio buttons: the toolkit controls and their skins.
qs_test(test_buttons SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_buttons.cpp LIBS toolkit qs_winsupport)
set_tests_properties(test_buttons PROPERTIES RUN_SERIAL TRUE)
qs_test(test_buttons_skin SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_buttons_skin.cpp LIBS skin_classify qs_winsupport)
target_compile_definitions(test_buttons_skin PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_buttons_skin PROPERTIES RUN_SERIAL TRUE)
