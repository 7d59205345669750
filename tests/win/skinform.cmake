# Drawing primitives, non-client objects and the form skin on real windows.
qs_test(test_skin_draw SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_skin_draw.cpp LIBS skin_classify qs_winsupport)
qs_test(test_ncobjects SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_ncobjects.cpp LIBS skin_classify qs_winsupport)
qs_test(test_winskinform
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_winskinform.cpp ${CMAKE_CURRENT_LIST_DIR}/test_winskinform_region.cpp
  LIBS skin_classify qs_winsupport)
foreach(_t test_ncobjects test_winskinform)
  target_compile_definitions(${_t} PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
endforeach()
# Graphics.cpp and core/FormText.cpp both define WideToUtf8.
foreach(_t test_skin_draw test_ncobjects test_winskinform)
  target_link_options(${_t} PRIVATE -Wl,--allow-multiple-definition)
endforeach()
