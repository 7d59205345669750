# Tool bars and their skin painters; the mouse is moved for real.
qs_test(test_toolbar SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_toolbar.cpp LIBS skin_classify qs_winsupport comctl32)
target_compile_definitions(test_toolbar PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_toolbar PROPERTIES RUN_SERIAL TRUE)
