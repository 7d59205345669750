# Faults a skinned window survives: oversized windows, long and
# right-to-left captions, attach/detach and reload cycles.
qs_test(test_faults SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_faults.cpp LIBS skin_classify qs_winsupport psapi)
target_compile_definitions(test_faults PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
target_link_options(test_faults PRIVATE -Wl,--allow-multiple-definition)
# The same with the skin manager running: a second user-interface thread, and
# hostile skin files given to a running program.
qs_test(test_faults_manager SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_faults_manager.cpp
        LIBS qs_hostile_gen skin_classify qs_winsupport)
target_compile_definitions(test_faults_manager PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_faults_manager PROPERTIES RUN_SERIAL TRUE)
# Control skins whose painting or message handling throws, under real
# clicks and keys.
qs_test(test_faults_controls SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_faults_controls.cpp
        LIBS skin_classify qs_winsupport)
target_compile_definitions(test_faults_controls PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_faults_controls PROPERTIES RUN_SERIAL TRUE)
# The viewer's own form given hostile skin files.
qs_test(test_faults_viewer SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_faults_viewer.cpp
        LIBS qs_hostile_gen qv_form qs_winsupport)
target_compile_definitions(test_faults_viewer PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
qs_add_form_resource(test_faults_viewer TF_qv ${CMAKE_BINARY_DIR}/app/U_qv.dfm)
set_tests_properties(test_faults_viewer PROPERTIES RUN_SERIAL TRUE)
# Skinned windows destroyed inside their own paint and frame paint, and
# while a skinned menu of theirs is tracked.
qs_test(test_faults_destroy SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_faults_destroy.cpp
        LIBS skin_classify qs_winsupport)
target_compile_definitions(test_faults_destroy PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_faults_destroy PROPERTIES RUN_SERIAL TRUE)
# What a running program does to skinned windows: skins freed inside the
# system's loops, early activation, menus changed, windows recreated, one
# control switched off. Scroll-bar covers get pages of their own there, so a
# write to a freed one faults.
qs_test(test_faults_runtime SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_faults_runtime.cpp
        LIBS skin_classify qs_winsupport)
target_compile_definitions(test_faults_runtime PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_faults_runtime PROPERTIES RUN_SERIAL TRUE)
