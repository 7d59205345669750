# The skin manager, the non-client message handling and the window menu.
target_sources(skin_form PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinManage.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinManageMenus.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinWindowProc.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SystemMenu.cpp)
# The skin data component reaches the manager only through a factory that
# SkinManage.cpp registers: make sure every program linking the form skins
# links that file too.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_link_options(skin_form INTERFACE "LINKER:-u,_qs_skin_manage_linked")
else()
  target_link_options(skin_form INTERFACE "LINKER:-u,qs_skin_manage_linked")
endif()
