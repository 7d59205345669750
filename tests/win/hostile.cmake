# Hostile skins through the skin data component, with a skinned window.
qs_test(test_hostile_win SOURCES ${PROJECT_SOURCE_DIR}/tests/hostile/test_hostile_win.cpp
        LIBS qs_hostile_gen skin_classify qs_winsupport psapi)
target_compile_definitions(test_hostile_win PRIVATE QS_DEFAULT_SKIN="${PROJECT_SOURCE_DIR}/resources/skins/default.skn"
                           QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
target_include_directories(test_hostile_win PRIVATE ${CMAKE_CURRENT_LIST_DIR})
target_link_options(test_hostile_win PRIVATE -Wl,--allow-multiple-definition)
