# High contrast and the accessible objects of what the engine draws itself.
target_sources(skin_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/AccessibleObject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinManageContrast.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TitleBarAccess.cpp)
target_link_libraries(skin_form PUBLIC oleacc ole32 oleaut32 uuid)
