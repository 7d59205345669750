# The skin's answers for the system's colours, for the process palette.
if(WIN32)
  target_sources(skin_data_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinPalette.cpp)
endif()
