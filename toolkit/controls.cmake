# Controls, forms, the application object, panels and the status bar.
target_sources(toolkit PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Controls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WinControlChildren.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Forms.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Application.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtCtrls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComCtrls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StdCtrlsGroup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StdCtrlsButtons.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StdCtrlsEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComCtrlsTabs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ComCtrlsProgress.cpp
)
