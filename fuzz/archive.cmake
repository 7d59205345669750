# libFuzzer target for skin archives and raw LZH files, and a bounded ctest run
# of it on a seed corpus that the build writes itself.
if(QS_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(_qs_data ${PROJECT_SOURCE_DIR}/skin/data)
  # Compiled into the target so that they carry the coverage instrumentation.
  set(_qs_archive_sources ${_qs_data}/Lzh.cpp ${_qs_data}/LzhEncoder.cpp ${_qs_data}/SkinReader.cpp
      ${_qs_data}/ArchiveWriter.cpp ${_qs_data}/ArchiveNoticeNone.cpp)

  add_executable(fuzz_archive ${CMAKE_CURRENT_LIST_DIR}/fuzz_archive.cpp ${_qs_archive_sources})
  target_include_directories(fuzz_archive PRIVATE ${_qs_data})
  target_compile_options(fuzz_archive PRIVATE -fsanitize=fuzzer)
  target_link_options(fuzz_archive PRIVATE -fsanitize=fuzzer)

  add_executable(fuzz_archive_seeds ${CMAKE_CURRENT_LIST_DIR}/fuzz_archive.cpp ${_qs_archive_sources})
  target_include_directories(fuzz_archive_seeds PRIVATE ${_qs_data})
  target_compile_definitions(fuzz_archive_seeds PRIVATE QS_FUZZ_SEED_WRITER)

  set(_seeds ${CMAKE_CURRENT_BINARY_DIR}/corpus/archive/seeds)
  set(_found ${CMAKE_CURRENT_BINARY_DIR}/corpus/archive/found)
  add_custom_command(OUTPUT ${_seeds}/.written
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_seeds} ${_found}
    COMMAND fuzz_archive_seeds ${_seeds}
    COMMAND ${CMAKE_COMMAND} -E touch ${_seeds}/.written
    DEPENDS fuzz_archive_seeds
    COMMENT "Writing the archive fuzz seed corpus")
  add_custom_target(fuzz_archive_corpus ALL DEPENDS ${_seeds}/.written)

  # New inputs go to the first folder, so the written seeds stay as made.
  add_test(NAME fuzz_archive COMMAND fuzz_archive -max_total_time=30 -timeout=10 -rss_limit_mb=2048
           -print_final_stats=1 ${_found} ${_seeds})
  set_tests_properties(fuzz_archive PROPERTIES TIMEOUT 150 LABELS fuzz)
endif()
