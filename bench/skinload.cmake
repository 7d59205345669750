# Skin load time of the default skin (Windows build; scripts/bench runs it under Wine).
if(WIN32)
  add_executable(bench_skinload ${CMAKE_CURRENT_LIST_DIR}/bench_skinload.cpp)
  target_link_libraries(bench_skinload PRIVATE skin_data_win)
  target_compile_definitions(bench_skinload PRIVATE
    QS_DEFAULT_SKIN="${PROJECT_SOURCE_DIR}/resources/skins/default.skn")
endif()
