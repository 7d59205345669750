# The accessible objects of the windows the engine makes itself.
target_sources(skin_controls PRIVATE ${CMAKE_CURRENT_LIST_DIR}/EngineAccess.cpp)
