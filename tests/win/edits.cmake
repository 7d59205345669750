# Edit-family toolkit controls and their skins, on real windows with the real mouse.
qs_test(test_scroll_skin SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_scroll_skin.cpp LIBS skin_classify qs_winsupport)
target_compile_definitions(test_scroll_skin PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_scroll_skin PROPERTIES RUN_SERIAL TRUE)
qs_test(test_edits_skin SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_edits_skin.cpp LIBS skin_classify qs_winsupport)
target_compile_definitions(test_edits_skin PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_edits_skin PROPERTIES RUN_SERIAL TRUE)
qs_test(test_edits SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_edits.cpp LIBS toolkit qs_winsupport comctl32)
set_tests_properties(test_edits PROPERTIES RUN_SERIAL TRUE)
