# A classic wizard installer that knows nothing of the engine, and the test
# that installs it under skinrun with the dark skin.
add_executable(classic_setup WIN32 ${CMAKE_CURRENT_LIST_DIR}/installer/classic_setup.cpp
               ${CMAKE_CURRENT_LIST_DIR}/installer/classic_setup.rc)
target_compile_definitions(classic_setup PRIVATE UNICODE _UNICODE)
target_link_options(classic_setup PRIVATE -municode)
target_link_libraries(classic_setup PRIVATE comctl32 shell32 ole32)
qs_test(test_installer SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_installer.cpp LIBS qs_winsupport)
target_include_directories(test_installer PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_compile_definitions(test_installer PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}"
  QS_SKINRUN="Z:${CMAKE_BINARY_DIR}/tools/skinrun/skinrun.exe"
  QS_SETUP="Z:${CMAKE_BINARY_DIR}/tests/win/classic_setup.exe")
add_dependencies(test_installer skinrun classic_setup)
set_tests_properties(test_installer PROPERTIES RUN_SERIAL TRUE TIMEOUT 180)
