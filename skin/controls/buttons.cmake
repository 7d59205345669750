# Button, check-box and radio-button skins.
target_sources(skin_controls PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/SkinButton.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinButtonBit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinButtonSpeed.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinCheck.cpp)
