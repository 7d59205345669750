# Form definitions linked into the program as resources.
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FormResource.cpp)
# Resolution scaling of forms and their controls.
target_sources(toolkit PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Dpi.cpp ${CMAKE_CURRENT_LIST_DIR}/FormsScale.cpp)
