# Skin archives: LZH coder, archive reader and writer.
target_sources(skin_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Lzh.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LzhEncoder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinFolder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ArchiveWriter.cpp)
if(WIN32)
  # The one piece that talks to the user: a modal message box.
  target_sources(skin_data PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ArchiveNoticeWin.cpp)
  target_link_libraries(skin_data PUBLIC user32)
else()
  target_sources(skin_data PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ArchiveNoticeNone.cpp)
endif()
