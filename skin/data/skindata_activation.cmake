# Switching skinning on and off through the process's skin manager.
if(WIN32)
  target_sources(skin_data_win PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SkinDataActivation.cpp)
endif()
