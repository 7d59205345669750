# Form definitions: text parser, reader, writer and colour identifiers.
target_sources(toolkit_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ColourNames.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormReader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormWriter.cpp)
