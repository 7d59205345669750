# The skin at 96, 120, 144 and 192 dots per inch: one parent test runs itself
# once per density with the system density set in the prefix's registry.
qs_test(test_dpi SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_dpi.cpp LIBS skin_form qs_winsupport)
target_compile_definitions(test_dpi PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
target_link_options(test_dpi PRIVATE -Wl,--allow-multiple-definition)
set_tests_properties(test_dpi PROPERTIES RUN_SERIAL TRUE)
