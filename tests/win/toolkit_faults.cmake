# Toolkit faults that show only across files (headers together, start-up order).
qs_test(test_toolkit_faults SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_toolkit_faults.cpp LIBS toolkit)
