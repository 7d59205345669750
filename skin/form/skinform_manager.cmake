# The skin manager, the non-client message handling and the window menu.
target_sources(skin_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinManageMenus.cpp)
