# Bit buttons, menu buttons and speed buttons (push buttons, check boxes and
# radio buttons are in StdCtrlsButtons.cpp, listed with the other controls).
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Buttons.cpp)
