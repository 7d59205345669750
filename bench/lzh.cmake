# LZH decode/encode throughput and compressed size; run by scripts/bench.
add_executable(bench_lzh ${CMAKE_CURRENT_LIST_DIR}/bench_lzh.cpp)
target_include_directories(bench_lzh PRIVATE ${PROJECT_SOURCE_DIR}/tests/native)
target_link_libraries(bench_lzh PRIVATE skin_data)
