# Skinned pop-up menus and the skinned menu bar, on real windows with the
# real mouse and keyboard (menus are modal and take the focus: run alone).
foreach(_t test_popmenu test_skinmenu)
  qs_test(${_t} SOURCES ${CMAKE_CURRENT_LIST_DIR}/${_t}.cpp LIBS skin_classify qs_winsupport)
  target_compile_definitions(${_t} PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
  set_tests_properties(${_t} PROPERTIES RUN_SERIAL TRUE)
endforeach()
# The viewer's stacking menu, from the viewer's own definition.
qs_test(test_popmenu_viewer SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_popmenu_viewer.cpp LIBS qv_form qs_winsupport)
target_compile_definitions(test_popmenu_viewer PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
set_tests_properties(test_popmenu_viewer PROPERTIES RUN_SERIAL TRUE)
qs_add_form_resource(test_popmenu_viewer TF_qv ${CMAKE_BINARY_DIR}/app/U_qv.dfm)
