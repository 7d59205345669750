# The classification's choices on real windows with the real skins.
qs_test(test_classify_skins SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_classify_skins.cpp
  LIBS skin_classify qs_winsupport)
target_compile_definitions(test_classify_skins PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
