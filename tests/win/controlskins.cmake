# Control skins: the base, the container skins and the classification of
# child controls, on real windows (Wine + Xvfb).
qs_test(test_control_skin SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_control_skin.cpp
  LIBS skin_classify qs_winsupport)
# Moves the real mouse (a huge control's mouse-down reads the cursor).
set_tests_properties(test_control_skin PROPERTIES RUN_SERIAL TRUE)
qs_test(test_container_skins SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_container_skins.cpp
  LIBS skin_classify qs_winsupport)
qs_test(test_classify SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_classify.cpp
  ${CMAKE_CURRENT_LIST_DIR}/classify_res/classify_test.rc
  LIBS skin_classify qs_winsupport)
# The viewer's window, skinned by the manager at activation.
qs_test(test_viewer_skin SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_viewer_skin.cpp LIBS qv_form qs_winsupport)
set_tests_properties(test_viewer_skin PROPERTIES RUN_SERIAL TRUE)
qs_add_form_resource(test_viewer_skin TF_qv ${CMAKE_BINARY_DIR}/app/U_qv.dfm)
