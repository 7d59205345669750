# Progress bars, track bars and the media player: toolkit controls and their skins.
qs_test(test_progress_controls SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_progress_controls.cpp LIBS toolkit qs_winsupport comctl32)
set_tests_properties(test_progress_controls PROPERTIES RUN_SERIAL TRUE)
qs_test(test_progress_skin SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_progress_skin.cpp LIBS skin_classify qs_winsupport comctl32)
set_tests_properties(test_progress_skin PROPERTIES RUN_SERIAL TRUE)
qs_test(test_mediaplayer_skin SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mediaplayer_skin.cpp LIBS skin_classify qs_winsupport)
set_tests_properties(test_mediaplayer_skin PROPERTIES RUN_SERIAL TRUE)
