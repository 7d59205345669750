# The gallery's pages under test: skinning coverage, exact unskinning and the
# reference pictures in tests/win/reference.
qs_test(test_gallery SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_gallery.cpp ${CMAKE_CURRENT_LIST_DIR}/test_gallery_util.cpp
        ${PROJECT_SOURCE_DIR}/app/gallery/gallery.rc LIBS gallery_pages qs_winsupport)
target_compile_definitions(test_gallery PRIVATE QS_SKINS_DIR="${PROJECT_SOURCE_DIR}/resources/skins/"
                           QS_REFERENCE_DIR="${CMAKE_CURRENT_LIST_DIR}/reference/")
set_tests_properties(test_gallery PROPERTIES RUN_SERIAL TRUE)

# Faults the gallery showed, read back as pixels from its windows; the
# preview of a skin folder following its saves.
qs_test(test_gallery_paint SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_gallery_paint.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_gallery_preview.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_gallery_util.cpp ${PROJECT_SOURCE_DIR}/app/gallery/gallery.rc
        LIBS gallery_pages qs_winsupport)
target_compile_definitions(test_gallery_paint PRIVATE QS_SKINS_DIR="${PROJECT_SOURCE_DIR}/resources/skins/")
set_tests_properties(test_gallery_paint PROPERTIES RUN_SERIAL TRUE)

# The bare common controls and the property sheet under the dark skin.
qs_test(test_gallery_surfaces SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_gallery_surfaces.cpp
        ${CMAKE_CURRENT_LIST_DIR}/test_gallery_util.cpp ${PROJECT_SOURCE_DIR}/app/gallery/gallery.rc
        LIBS gallery_pages qs_winsupport)
target_compile_definitions(test_gallery_surfaces PRIVATE QS_SKINS_DIR="${PROJECT_SOURCE_DIR}/resources/skins/")
set_tests_properties(test_gallery_surfaces PROPERTIES RUN_SERIAL TRUE)
