# Child-control classification: which control skin each child gets.
target_link_libraries(skin_form PUBLIC skin_controls)
