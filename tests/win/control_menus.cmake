# Menus that belong to controls (pop-up menus of frames and controls, menu
# buttons, menu bars) on a skinned form, opened with the real mouse: menus
# are modal and take the focus, so the test runs alone.
qs_test(test_control_menus SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_control_menus.cpp LIBS skin_classify qs_winsupport)
target_compile_definitions(test_control_menus PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_control_menus PROPERTIES RUN_SERIAL TRUE)
