# skintool: pack, unpack and list skin archives; raw LZH files.
add_library(skintool_commands STATIC ${CMAKE_CURRENT_LIST_DIR}/skintool/SkinTool.cpp)
target_include_directories(skintool_commands PUBLIC ${CMAKE_CURRENT_LIST_DIR}/skintool)
target_link_libraries(skintool_commands PUBLIC skin_data)
add_executable(skintool ${CMAKE_CURRENT_LIST_DIR}/skintool/main.cpp)
target_link_libraries(skintool PRIVATE skintool_commands)
