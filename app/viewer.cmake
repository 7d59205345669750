# The viewer: its form class as a library (tests link it) and the program.
set(QV_SKIN_DATA_OBJECT "")
configure_file(${CMAKE_CURRENT_LIST_DIR}/U_qv.dfm.in ${CMAKE_CURRENT_BINARY_DIR}/U_qv.dfm @ONLY)
add_library(qv_form STATIC ${CMAKE_CURRENT_LIST_DIR}/U_qv.cpp)
target_include_directories(qv_form PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qv_form PUBLIC toolkit qv_shell)

add_executable(qv WIN32 ${CMAKE_CURRENT_LIST_DIR}/QvMain.cpp ${CMAKE_CURRENT_LIST_DIR}/qv.rc)
target_link_libraries(qv PRIVATE qv_form)
qs_add_form_resource(qv TF_qv ${CMAKE_CURRENT_BINARY_DIR}/U_qv.dfm)
