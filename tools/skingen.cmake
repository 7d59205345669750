# skingen: draws our own skins and the built-in bitmaps from the portable pixel code.
add_library(skingen_art STATIC
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Raster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Glyphs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/ArtFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/ArtControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/ArtParts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Themes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Skins.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Builtin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Preview.cpp)
target_include_directories(skingen_art PUBLIC ${CMAKE_CURRENT_LIST_DIR}/skingen)
target_link_libraries(skingen_art PUBLIC skin_data)
add_executable(skingen ${CMAKE_CURRENT_LIST_DIR}/skingen/main.cpp)
target_link_libraries(skingen PRIVATE skingen_art)
