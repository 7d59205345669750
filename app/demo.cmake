# The skin demo: one window with a menu and a few controls that switches
# skins, switches skinning off and on, and opens the other kinds of windows
# a program shows (message box, dialog box, MDI frame, an opted-out form).
add_executable(qsdemo WIN32 ${CMAKE_CURRENT_LIST_DIR}/demo/QsDemo.cpp ${CMAKE_CURRENT_LIST_DIR}/demo/demo.rc)
target_link_libraries(qsdemo PRIVATE toolkit skin_data_win skin_classify qs_winsupport shell32)
# The skins sit next to the program, where its Skin menu looks for them.
foreach(_s default dark rounded)
  add_custom_command(TARGET qsdemo POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/resources/skins/${_s}.skn $<TARGET_FILE_DIR:qsdemo>/${_s}.skn)
endforeach()
