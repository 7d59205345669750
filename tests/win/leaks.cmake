# Leak runs: GDI, USER and private bytes back to their baseline after many
# rounds of every kind of skinning (QS_LONG=1 for the full counts).
qs_test(test_leaks SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_leaks.cpp
        LIBS skin_classify qs_winsupport psapi)
target_compile_definitions(test_leaks PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_leaks PROPERTIES RUN_SERIAL TRUE)
