qs_test(test_qv_shell SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_qv_shell.cpp LIBS qv_shell qs_winsupport)
# Stands in for the user's browser: records the address the shell hands it.
add_executable(url_recorder ${CMAKE_CURRENT_LIST_DIR}/url_recorder.cpp)
add_dependencies(test_qv_shell url_recorder)
target_compile_definitions(test_qv_shell PRIVATE URL_RECORDER_UNIX_PATH="$<TARGET_FILE:url_recorder>")
