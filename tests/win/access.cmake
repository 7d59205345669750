# Accessibility in every skin: high contrast, the title-bar object, visible
# focus and the accessible objects of skinned controls.
qs_test(test_access SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_access.cpp ${CMAKE_CURRENT_LIST_DIR}/test_gallery_util.cpp
        ${PROJECT_SOURCE_DIR}/app/gallery/gallery.rc LIBS gallery_pages qs_winsupport oleacc ole32 oleaut32 uuid)
target_compile_definitions(test_access PRIVATE QS_SKINS_DIR="${PROJECT_SOURCE_DIR}/resources/skins/")
set_tests_properties(test_access PROPERTIES RUN_SERIAL TRUE)
