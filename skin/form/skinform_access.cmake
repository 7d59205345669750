# High contrast and the accessible objects of what the engine draws itself.
target_sources(skin_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinManageContrast.cpp)
