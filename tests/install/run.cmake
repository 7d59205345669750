# Installs the package from a build tree, builds the example programs against
# it in a clean folder outside the source tree, and runs the check program.
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DEXAMPLE_DIR=... -DTOOLCHAIN=... -DGENERATOR=...
#         -DEMULATOR=... -DSKIN=... -P run.cmake
function(step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what} failed (${rc}):\n${out}\n${err}")
  endif()
  message(STATUS "${what}: ok")
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/src)
step("install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --component qelvoskin --prefix ${WORK_DIR}/prefix)
file(GLOB _example ${EXAMPLE_DIR}/*)
file(COPY ${_example} DESTINATION ${WORK_DIR}/src)
step("configure" ${CMAKE_COMMAND} -S ${WORK_DIR}/src -B ${WORK_DIR}/build -G ${GENERATOR}
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN}
  # A cross toolchain confines package searches to its own root: name the
  # package folder, as a user installing elsewhere would.
  -DQelvoSkin_DIR=${WORK_DIR}/prefix/lib/cmake/QelvoSkin)
step("build" ${CMAKE_COMMAND} --build ${WORK_DIR}/build)
foreach(_exe hello check engine)
  if(NOT EXISTS ${WORK_DIR}/build/${_exe}.exe)
    message(FATAL_ERROR "${_exe}.exe was not built")
  endif()
endforeach()
step("check" ${EMULATOR} ${WORK_DIR}/build/check.exe ${SKIN})
message(STATUS "${step_output}")
step("engine" ${EMULATOR} ${WORK_DIR}/build/engine.exe)
