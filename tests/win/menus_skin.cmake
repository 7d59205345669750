# Skinned pop-up menus and the skinned menu bar, on real windows with the
# real mouse and keyboard (menus are modal and take the focus: run alone).
foreach(_t test_popmenu test_skinmenu)
  qs_test(${_t} SOURCES ${CMAKE_CURRENT_LIST_DIR}/${_t}.cpp LIBS skin_form qs_winsupport)
  target_compile_definitions(${_t} PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
  set_tests_properties(${_t} PROPERTIES RUN_SERIAL TRUE)
endforeach()
