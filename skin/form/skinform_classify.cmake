# Child-control classification: which control skin each child gets.
target_sources(skin_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ClassKinds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClassifyAttach.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClassifyControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClassifyThirdParty.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ClassifyWindow.cpp)
target_link_libraries(skin_form PUBLIC skin_controls)
