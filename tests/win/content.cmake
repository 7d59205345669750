# Content areas (edits, lists, trees, rich edits) in the skin's content colours.
qs_test(test_content_colours SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_content_colours.cpp LIBS skin_classify qs_winsupport comctl32)
target_compile_definitions(test_content_colours PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_content_colours PROPERTIES RUN_SERIAL TRUE)
