# The C interface, used from C.
add_executable(test_capi ${CMAKE_CURRENT_LIST_DIR}/test_capi.c)
target_link_libraries(test_capi PRIVATE qskin)
set_target_properties(test_capi PROPERTIES LINKER_LANGUAGE CXX)
target_compile_definitions(test_capi PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
add_test(NAME test_capi COMMAND test_capi)
set_tests_properties(test_capi PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)

# skinrun on an unmodified program of the system.
qs_test(test_capi_skinrun SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_capi_skinrun.cpp
  ${CMAKE_CURRENT_LIST_DIR}/test_capi_palette.cpp LIBS qskin skin_classify qs_winsupport)
target_compile_definitions(test_capi_skinrun PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}"
  QS_SKINRUN="Z:${CMAKE_BINARY_DIR}/tools/skinrun/skinrun.exe")
add_dependencies(test_capi_skinrun skinrun skinrun_parent)
# Starts a child by the ways skinrun follows; next to the test.
add_executable(skinrun_parent ${CMAKE_CURRENT_LIST_DIR}/skinrun_parent.cpp)
target_compile_definitions(skinrun_parent PRIVATE UNICODE _UNICODE)
target_link_options(skinrun_parent PRIVATE -municode)
add_library(skinrun_late SHARED ${CMAKE_CURRENT_LIST_DIR}/skinrun_late.cpp)
set_target_properties(skinrun_late PROPERTIES PREFIX "")
target_link_options(skinrun_late PRIVATE -static)
add_dependencies(skinrun_parent skinrun_late)
set_tests_properties(test_capi_skinrun PROPERTIES RUN_SERIAL TRUE TIMEOUT 300)

# What a plain program reads back about itself, skinned and not.
add_executable(test_capi_probe ${CMAKE_CURRENT_LIST_DIR}/test_capi_probe.c)
target_link_libraries(test_capi_probe PRIVATE qskin oleacc ole32 oleaut32 uuid comctl32)
set_target_properties(test_capi_probe PROPERTIES LINKER_LANGUAGE CXX)
target_compile_definitions(test_capi_probe PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
add_test(NAME test_capi_probe COMMAND test_capi_probe)
set_tests_properties(test_capi_probe PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
