# skintool lint: checks a skin against the description vocabulary.
target_sources(skintool_commands PRIVATE ${CMAKE_CURRENT_LIST_DIR}/skintool/Lint.cpp ${CMAKE_CURRENT_LIST_DIR}/skintool/Contrast.cpp)
