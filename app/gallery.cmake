# The gallery: a window per group of controls in every skin, and the
# screenshots the README shows (gallery --shot DIR). The pages are a library
# so the window tests open exactly the windows the program shows.
add_library(gallery_pages STATIC ${CMAKE_CURRENT_LIST_DIR}/gallery/Gallery.cpp ${CMAKE_CURRENT_LIST_DIR}/gallery/GalleryMedia.cpp
            ${CMAKE_CURRENT_LIST_DIR}/gallery/GallerySurfaces.cpp
            ${CMAKE_CURRENT_LIST_DIR}/gallery/GalleryPainted.cpp ${CMAKE_CURRENT_LIST_DIR}/gallery/SkinFolderWatch.cpp)
target_include_directories(gallery_pages PUBLIC ${CMAKE_CURRENT_LIST_DIR}/gallery)
# The preview checks each save with skintool's lint before showing it.
target_link_libraries(gallery_pages PUBLIC toolkit skin_data_win skin_classify comctl32 skintool_commands)
add_executable(gallery WIN32 ${CMAKE_CURRENT_LIST_DIR}/gallery/GalleryMain.cpp ${CMAKE_CURRENT_LIST_DIR}/gallery/gallery.rc)
target_link_libraries(gallery PRIVATE gallery_pages qs_winsupport shell32)
foreach(_s default dark rounded)
  add_custom_command(TARGET gallery POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/resources/skins/${_s}.skn $<TARGET_FILE_DIR:gallery>/${_s}.skn)
endforeach()
