# Skin description reader, vocabulary, colours, pixel routines and BMP files.
target_sources(skin_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/QuickIni.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Colour.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColourText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColourGradient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vocabulary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PixelOps.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Bmp.cpp)
if(WIN32)
  # Only these files may include <windows.h>.
  target_sources(skin_data PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ColourSystemWin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ColourGradientWin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BmpWin.cpp)
  target_link_libraries(skin_data PUBLIC gdi32 user32)
else()
  target_sources(skin_data PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ColourSystemDefault.cpp)
endif()
