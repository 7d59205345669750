# The plain C interface over the engine, for programs that do not use the toolkit.
add_library(qskin STATIC ${CMAKE_CURRENT_LIST_DIR}/QSkin.cpp)
target_include_directories(qskin PUBLIC
  $<BUILD_INTERFACE:${CMAKE_CURRENT_LIST_DIR}/include>
  $<INSTALL_INTERFACE:include>)
target_compile_definitions(qskin PRIVATE QSKIN_VERSION_STRING="${PROJECT_VERSION}")
target_link_libraries(qskin PUBLIC skin_classify skin_data_win)
