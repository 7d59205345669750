# Frame geometry: nine-slice pieces, region runs, metrics and caption-button rules.
include(${PROJECT_SOURCE_DIR}/skin/form/geometry.cmake)
qs_test(test_nineslice
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_nineslice.cpp ${CMAKE_CURRENT_LIST_DIR}/test_nineslice_layout.cpp
  LIBS skin_form_geometry)
