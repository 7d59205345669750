qs_test(test_component SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_component.cpp LIBS toolkit_core)
