qs_test(test_form
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_form_reader.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_form_errors.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_form_writer.cpp
          ${CMAKE_CURRENT_LIST_DIR}/form_test_classes.cpp
  LIBS toolkit_core)
target_include_directories(test_form PRIVATE ${CMAKE_CURRENT_LIST_DIR})
