# Tab, page, tab-set, header and list-view controls and their skins, on real
# windows with the real mouse and keyboard.
foreach(_t test_tabs test_header test_listview)
  qs_test(${_t} SOURCES ${CMAKE_CURRENT_LIST_DIR}/${_t}.cpp LIBS skin_classify qs_winsupport comctl32)
  target_compile_definitions(${_t} PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
  set_tests_properties(${_t} PROPERTIES RUN_SERIAL TRUE)
endforeach()
