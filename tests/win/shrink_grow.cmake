# A plain Win32 window skinned through the C interface, shrunk below its frame and grown again.
qs_test(test_shrink_grow SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_shrink_grow.cpp LIBS qskin qs_winsupport)
target_compile_definitions(test_shrink_grow PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_shrink_grow PROPERTIES RUN_SERIAL TRUE)
