# The engine as a library that can be loaded into any program, and skinrun,
# which starts a program with it. Both land in one folder with the default
# skin, where skinrun looks for them.
set(QS_SKINRUN_DIR ${CMAKE_BINARY_DIR}/tools/skinrun)
add_library(qskin_dll SHARED ${PROJECT_SOURCE_DIR}/api/QSkin.cpp ${CMAKE_CURRENT_LIST_DIR}/SkinRunDll.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FollowChildren.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Inject.cpp)
set_target_properties(qskin_dll PROPERTIES OUTPUT_NAME qskin PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${QS_SKINRUN_DIR})
target_include_directories(qskin_dll PRIVATE ${PROJECT_SOURCE_DIR}/api/include)
target_compile_definitions(qskin_dll PRIVATE QSKIN_DLL QSKIN_BUILDING QSKIN_VERSION_STRING="${PROJECT_VERSION}")
target_link_libraries(qskin_dll PRIVATE skin_classify skin_data_win)
# The launcher finds qskin_run_start and qskin_run_attach by their plain
# names, which 32-bit stdcall exports only carry without their decoration.
target_link_options(qskin_dll PRIVATE -static -Wl,--kill-at)

add_executable(skinrun ${CMAKE_CURRENT_LIST_DIR}/SkinRun.cpp ${CMAKE_CURRENT_LIST_DIR}/Inject.cpp)
set_target_properties(skinrun PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QS_SKINRUN_DIR})
target_compile_definitions(skinrun PRIVATE UNICODE _UNICODE)
target_link_options(skinrun PRIVATE -municode)
add_dependencies(skinrun qskin_dll)
add_custom_command(TARGET skinrun POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/resources/skins/default.skn ${QS_SKINRUN_DIR}/default.skn)
install(TARGETS skinrun qskin_dll RUNTIME DESTINATION bin COMPONENT qelvoskin)
