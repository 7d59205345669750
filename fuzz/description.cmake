# libFuzzer targets for the description reader and the BMP reader, and bounded
# ctest runs of each on a seed corpus that the build writes itself.
if(QS_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(_qs_data ${PROJECT_SOURCE_DIR}/skin/data)
  set(_qs_ini_sources ${_qs_data}/QuickIni.cpp ${_qs_data}/ColourText.cpp ${_qs_data}/Colour.cpp
      ${_qs_data}/ColourSystemDefault.cpp ${_qs_data}/Vocabulary.cpp)
  set(_qs_bmp_sources ${_qs_data}/Bmp.cpp ${_qs_data}/PixelOps.cpp ${_qs_data}/Colour.cpp
      ${_qs_data}/ColourSystemDefault.cpp)

  foreach(_t ini bmp)
    # The library sources are compiled into the target so that they carry the
    # fuzzer's coverage instrumentation.
    add_executable(fuzz_${_t} ${CMAKE_CURRENT_LIST_DIR}/fuzz_${_t}.cpp ${_qs_${_t}_sources})
    target_include_directories(fuzz_${_t} PRIVATE ${_qs_data})
    target_compile_options(fuzz_${_t} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${_t} PRIVATE -fsanitize=fuzzer)

    add_executable(fuzz_${_t}_seeds ${CMAKE_CURRENT_LIST_DIR}/fuzz_${_t}.cpp ${_qs_${_t}_sources})
    target_include_directories(fuzz_${_t}_seeds PRIVATE ${_qs_data} ${PROJECT_SOURCE_DIR}/tests/native)
    target_compile_definitions(fuzz_${_t}_seeds PRIVATE QS_FUZZ_SEED_WRITER)

    set(_seeds ${CMAKE_CURRENT_BINARY_DIR}/corpus/${_t}/seeds)
    set(_found ${CMAKE_CURRENT_BINARY_DIR}/corpus/${_t}/found)
    add_custom_command(OUTPUT ${_seeds}/.written
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_seeds} ${_found}
      COMMAND fuzz_${_t}_seeds ${_seeds}
      COMMAND ${CMAKE_COMMAND} -E touch ${_seeds}/.written
      DEPENDS fuzz_${_t}_seeds
      COMMENT "Writing the ${_t} fuzz seed corpus")
    add_custom_target(fuzz_${_t}_corpus ALL DEPENDS ${_seeds}/.written)

    # New inputs go to the first folder, so the written seeds stay as made.
    add_test(NAME fuzz_${_t} COMMAND fuzz_${_t} -max_total_time=20 -timeout=10 -rss_limit_mb=2048
             -print_final_stats=1 ${_found} ${_seeds})
    set_tests_properties(fuzz_${_t} PROPERTIES TIMEOUT 120 LABELS fuzz)
  endforeach()
endif()
