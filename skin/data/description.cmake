# Skin description reader, vocabulary, colour texts and gradients, and BMP
# files (colour numbers and pixel routines are in base/).
target_sources(skin_data PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/QuickIni.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColourText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColourGradient.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Vocabulary.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Bmp.cpp)
if(WIN32)
  # Only these files may include <windows.h>.
  target_sources(skin_data PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ColourGradientWin.cpp
    ${CMAKE_CURRENT_LIST_DIR}/BmpWin.cpp)
  target_link_libraries(skin_data PUBLIC gdi32 user32)
endif()
