configure_file(${CMAKE_CURRENT_LIST_DIR}/QvConfig.h.in ${CMAKE_CURRENT_BINARY_DIR}/QvConfig.h @ONLY)
add_library(qv_shell STATIC ${CMAKE_CURRENT_LIST_DIR}/QvShell.cpp)
target_include_directories(qv_shell PUBLIC ${CMAKE_CURRENT_LIST_DIR} ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(qv_shell PUBLIC ole32 shell32 uuid)
