# Form definitions linked into the program as resources.
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FormResource.cpp)
