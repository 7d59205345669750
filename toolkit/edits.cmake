# Edits, memos, lists, combo boxes, scroll bars, up-downs, pickers and tree views.
target_sources(toolkit PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/StdCtrlsEditList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComCtrlsEdit.cpp
)
