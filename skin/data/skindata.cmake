# The skin data component and its element records (Windows only; the rest of
# skin_data stays portable).
if(WIN32)
  add_library(skin_data_win STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SkinDescription.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinBuild.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinRecords.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinLoader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinData.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinDataScale.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SkinDataDefaults.cpp)
  target_include_directories(skin_data_win PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(skin_data_win PUBLIC skin_data toolkit)

  # The built-in bitmaps (track grooves, window-menu glyphs, media-player
  # glyphs) as resources. A resource object in a static library would never be
  # linked (nothing refers to it), so every program that links skin_data_win
  # compiles the objects in directly.
  enable_language(RC)
  add_library(skin_data_builtin OBJECT ${PROJECT_SOURCE_DIR}/resources/builtin/builtin.rc)
  target_include_directories(skin_data_builtin PRIVATE ${PROJECT_SOURCE_DIR}/resources/builtin)
  target_sources(skin_data_win INTERFACE $<TARGET_OBJECTS:skin_data_builtin>)
  add_dependencies(skin_data_win skin_data_builtin)
endif()
