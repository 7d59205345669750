# Content colours: edits, lists, trees, rich edits, calendars and tool tips
# in the skin's Window and text colours.
target_sources(skin_controls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ContentColours.cpp)
