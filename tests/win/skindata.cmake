# Element records and the skin data component.
qs_test(test_skin_records SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_skin_records.cpp LIBS skin_data_win qs_winsupport)
target_compile_definitions(test_skin_records PRIVATE QS_BUILTIN_DIR="${PROJECT_SOURCE_DIR}/resources/builtin")
qs_test(test_skin_data SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_skin_data.cpp LIBS skin_data_win qs_winsupport)
qs_test(test_skin_data_default SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_skin_data_default.cpp LIBS skin_data_win qs_winsupport)
target_compile_definitions(test_skin_data_default PRIVATE QS_DEFAULT_SKIN="${PROJECT_SOURCE_DIR}/resources/skins/default.skn")
