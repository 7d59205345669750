# Tool bars and tool buttons.
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ComCtrlsToolBar.cpp)
