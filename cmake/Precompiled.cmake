# Build-time measures, applied once every target exists.
#
# Measured on a two-core machine (user CPU time per translation unit, i686):
# <windows.h>, <commctrl.h>, the standard library and GoogleTest take 0.9 s of a
# 2 to 3 s engine compile and 1.6 to 1.9 s of a 3 to 6 s test compile, and the
# test bodies spend another 30 to 45 % in the optimiser at -O2. So:
#  - libraries and programs with several sources get their own precompiled
#    header of the system and standard headers (QS_PCH, on by default);
#  - every test executable of tests/win reuses one precompiled header that also
#    holds GoogleTest, made by qs_test_pch with the same flags as the tests;
#  - test code (tests/, not the engine it links) is compiled with -Og, in every
#    tree: the GoogleTest bodies of the native tests cost as much to optimise.
# A translation unit whose macros do not match a precompiled header just reads
# the headers as text (GCC checks this itself), so a mismatch costs time, never
# correctness.

option(QS_PCH "Precompiled headers for the Windows trees" ON)
if(NOT WIN32)
  set(QS_PCH OFF)
endif()

set(_qs_pch_std <string> <vector> <memory> <functional> <algorithm> <map>
    <unordered_map> <cstdint> <cstring> <utility>)
set(_qs_pch_win <windows.h> <commctrl.h>)

function(_qs_collect_targets dir out)
  get_property(_t DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(_subs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(_s IN LISTS _subs)
    _qs_collect_targets(${_s} _more)
    list(APPEND _t ${_more})
  endforeach()
  set(${out} ${_t} PARENT_SCOPE)
endfunction()

# Windows-only code: these folders may assume <windows.h> (portable folders may not).
set(_qs_win_dirs toolkit skin/form skin/controls skin/classify app api tools/skinrun tests/win tests/support)

function(qs_apply_build_measures)
  _qs_collect_targets(${PROJECT_SOURCE_DIR} _all)
  # The test header: the flags of a typical window test (toolkit, skins, capture helpers).
  if(QS_PCH AND TARGET qs_winsupport)
    file(WRITE ${PROJECT_BINARY_DIR}/qs_test_pch.cpp "// anchor for the tests' precompiled header\n")
    add_library(qs_test_pch STATIC ${PROJECT_BINARY_DIR}/qs_test_pch.cpp)
    target_link_libraries(qs_test_pch PRIVATE skin_classify qs_winsupport gtest)
    target_compile_options(qs_test_pch PRIVATE -Og)
    target_precompile_headers(qs_test_pch PRIVATE ${_qs_pch_win} ${_qs_pch_std} <gtest/gtest.h>)
  endif()
  # A file that sets a macro for <windows.h> before including it cannot start
  # from a header that already read <windows.h>.
  if(QS_PCH AND EXISTS ${PROJECT_SOURCE_DIR}/tests/win/test_graphics.cpp)
    set_source_files_properties(${PROJECT_SOURCE_DIR}/tests/win/test_graphics.cpp
      DIRECTORY ${PROJECT_SOURCE_DIR}/tests/win PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  endif()
  foreach(t IN LISTS _all)
    get_target_property(_type ${t} TYPE)
    if(NOT _type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$")
      continue()
    endif()
    get_target_property(_dir ${t} SOURCE_DIR)
    file(RELATIVE_PATH _rel ${PROJECT_SOURCE_DIR} ${_dir})
    if(_rel MATCHES "^tests/")
      target_compile_options(${t} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:-Og>)
    endif()
    if(NOT QS_PCH OR t STREQUAL "qs_test_pch")
      continue()
    endif()
    set(_win FALSE)
    foreach(_d IN LISTS _qs_win_dirs)
      if(_rel STREQUAL _d OR _rel MATCHES "^${_d}/")
        set(_win TRUE)
      endif()
    endforeach()
    if(NOT _win)
      continue()
    endif()
    get_target_property(_srcs ${t} SOURCES)
    set(_ncxx 0)
    foreach(_s IN LISTS _srcs)
      if(_s MATCHES "\\.(cpp|cc|cxx)$")
        math(EXPR _ncxx "${_ncxx} + 1")
      endif()
    endforeach()
    if(_ncxx EQUAL 0)
      continue()
    endif()
    get_target_property(_libs ${t} LINK_LIBRARIES)
    if(_rel STREQUAL "tests/win" AND TARGET qs_test_pch AND "gtest" IN_LIST _libs)
      target_precompile_headers(${t} REUSE_FROM qs_test_pch)
    elseif(_ncxx GREATER_EQUAL 3)
      set(_h)
      foreach(_x IN LISTS _qs_pch_win _qs_pch_std)
        list(APPEND _h "$<$<COMPILE_LANGUAGE:CXX>:${_x}>")
      endforeach()
      target_precompile_headers(${t} PRIVATE ${_h})
    endif()
  endforeach()
endfunction()
