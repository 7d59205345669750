# Generated skins, built-in bitmaps and skintool lint.
qs_test(test_skingen
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_skingen.cpp ${CMAKE_CURRENT_LIST_DIR}/test_skingen_lint.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_skingen_raster.cpp
  LIBS skingen_art skintool_commands)
target_compile_definitions(test_skingen PRIVATE QS_SOURCE_ROOT="${PROJECT_SOURCE_DIR}")
