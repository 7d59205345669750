# The installed package used from a clean folder, as a program outside this
# tree would use it.
add_test(NAME install_package COMMAND ${CMAKE_COMMAND}
  -DBUILD_DIR=${CMAKE_BINARY_DIR}
  -DWORK_DIR=${CMAKE_BINARY_DIR}/install-test
  -DEXAMPLE_DIR=${CMAKE_CURRENT_LIST_DIR}/example
  -DTOOLCHAIN=${CMAKE_TOOLCHAIN_FILE}
  -DGENERATOR=${CMAKE_GENERATOR}
  -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR}
  -DSKIN=Z:${PROJECT_SOURCE_DIR}/resources/skins/default.skn
  -P ${CMAKE_CURRENT_LIST_DIR}/run.cmake)
set_tests_properties(install_package PROPERTIES TIMEOUT 240 RUN_SERIAL TRUE)
