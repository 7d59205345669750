# The skin at 96, 120, 144 and 192 dots per inch: one parent test runs itself
# once per density with the system density set in the prefix's registry.
qs_test(test_dpi SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_dpi.cpp LIBS skin_classify qs_winsupport)
target_compile_definitions(test_dpi PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
target_link_options(test_dpi PRIVATE -Wl,--allow-multiple-definition)
set_tests_properties(test_dpi PROPERTIES RUN_SERIAL TRUE)
# Forms at 96, 120, 144 and 192 pixels per inch: the test runs itself once
# per resolution with the prefix's LogPixels set for the child, so nothing
# else may start meanwhile.
qs_test(test_dpi_scaling SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_dpi_scaling.cpp LIBS qv_form qs_winsupport comctl32)
qs_add_form_resource(test_dpi_scaling TF_qv ${CMAKE_BINARY_DIR}/app/U_qv.dfm)
set_tests_properties(test_dpi_scaling PROPERTIES RUN_SERIAL TRUE)
add_dependencies(test_dpi_scaling gallery qsdemo)
target_compile_definitions(test_dpi_scaling PRIVATE QS_GALLERY_EXE="Z:$<TARGET_FILE:gallery>"
                           QS_DEMO_EXE="Z:$<TARGET_FILE:qsdemo>")
