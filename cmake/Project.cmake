# Helpers shared by every folder.

# qs_test(NAME SOURCES... [LIBS libs...]) — one test executable, one ctest entry.
# Windows executables run under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
function(qs_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE gtest gtest_main ${T_LIBS})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# Folder fragments: each subsystem lists its own sources in a small *.cmake file
# so that parallel work on one folder touches different files.
macro(qs_include_fragments)
  file(GLOB _qs_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _qs_fragments)
  foreach(_f IN LISTS _qs_fragments)
    include(${_f})
  endforeach()
endmacro()

include(${CMAKE_CURRENT_LIST_DIR}/FormResource.cmake)
