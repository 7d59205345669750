# libFuzzer target for form definitions, and a bounded ctest run of it on a
# seed corpus that the build writes itself.
if(QS_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(_qs_core ${PROJECT_SOURCE_DIR}/toolkit/core)
  # Compiled into the target so that they carry the coverage instrumentation.
  set(_qs_form_sources ${_qs_core}/Object.cpp ${_qs_core}/Component.cpp ${_qs_core}/ColourNames.cpp
      ${_qs_core}/FormText.cpp ${_qs_core}/FormReader.cpp ${_qs_core}/FormWriter.cpp
      ${PROJECT_SOURCE_DIR}/tests/native/form_test_classes.cpp)

  add_executable(fuzz_form ${CMAKE_CURRENT_LIST_DIR}/fuzz_form.cpp ${_qs_form_sources})
  target_include_directories(fuzz_form PRIVATE ${_qs_core} ${PROJECT_SOURCE_DIR}/tests/native)
  target_compile_options(fuzz_form PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_form PRIVATE -fsanitize=fuzzer)

  add_executable(fuzz_form_seeds ${CMAKE_CURRENT_LIST_DIR}/fuzz_form.cpp ${_qs_form_sources})
  target_include_directories(fuzz_form_seeds PRIVATE ${_qs_core} ${PROJECT_SOURCE_DIR}/tests/native)
  target_compile_definitions(fuzz_form_seeds PRIVATE QS_FUZZ_SEED_WRITER)

  set(_seeds ${CMAKE_CURRENT_BINARY_DIR}/corpus/form/seeds)
  set(_found ${CMAKE_CURRENT_BINARY_DIR}/corpus/form/found)
  add_custom_command(OUTPUT ${_seeds}/.written
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_seeds} ${_found}
    COMMAND fuzz_form_seeds ${_seeds}
    COMMAND ${CMAKE_COMMAND} -E touch ${_seeds}/.written
    DEPENDS fuzz_form_seeds
    COMMENT "Writing the form definition fuzz seed corpus")
  add_custom_target(fuzz_form_corpus ALL DEPENDS ${_seeds}/.written)

  # New inputs go to the first folder, so the written seeds stay as made.
  add_test(NAME fuzz_form COMMAND fuzz_form -max_total_time=20 -timeout=10 -rss_limit_mb=2048
           -print_final_stats=1 ${_found} ${_seeds})
  set_tests_properties(fuzz_form PROPERTIES TIMEOUT 120 LABELS fuzz)
endif()
