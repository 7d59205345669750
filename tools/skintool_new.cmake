# skintool new: a skin from a palette, drawn by the generator's art code.
target_sources(skintool_commands PRIVATE ${CMAKE_CURRENT_LIST_DIR}/skintool/NewSkin.cpp)
target_link_libraries(skintool_commands PUBLIC skingen_art)
