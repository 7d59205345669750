# The viewer's start-up switches (skinning off, first-frame report), in the
# form and in the real program.
qs_test(test_viewer_startup SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_viewer_startup.cpp LIBS qv_form qs_winsupport)
qs_add_form_resource(test_viewer_startup TF_qv ${CMAKE_BINARY_DIR}/app/U_qv.dfm)
add_dependencies(test_viewer_startup qv)
target_compile_definitions(test_viewer_startup PRIVATE QV_EXE="$<TARGET_FILE:qv>")
set_tests_properties(test_viewer_startup PROPERTIES RUN_SERIAL TRUE)
