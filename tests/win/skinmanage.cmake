# The skin manager, the skinned frame's messages and skin activation, on real
# windows with the real mouse and keyboard.
foreach(_t test_ncmessages test_skinmanage test_activation)
  qs_test(${_t} SOURCES ${CMAKE_CURRENT_LIST_DIR}/${_t}.cpp LIBS skin_classify qs_winsupport)
  target_compile_definitions(${_t} PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
  set_tests_properties(${_t} PROPERTIES RUN_SERIAL TRUE)
endforeach()
qs_test(test_activation_viewer SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_activation_viewer.cpp LIBS qv_form qs_winsupport)
qs_add_form_resource(test_activation_viewer TF_qv ${CMAKE_BINARY_DIR}/app/U_qv.dfm)
set_tests_properties(test_activation_viewer PROPERTIES RUN_SERIAL TRUE)
