# The description reader and the BMP reader.
set(_qs_data ${PROJECT_SOURCE_DIR}/skin/data)
qs_fuzz_target(ini SECONDS 20 TIMEOUT 120 INCLUDES ${_qs_data} ${PROJECT_SOURCE_DIR}/tests/native
  SOURCES ${_qs_data}/QuickIni.cpp ${_qs_data}/ColourText.cpp ${_qs_data}/Colour.cpp
          ${_qs_data}/ColourSystemDefault.cpp ${_qs_data}/Vocabulary.cpp)
qs_fuzz_target(bmp SECONDS 20 TIMEOUT 120 INCLUDES ${_qs_data} ${PROJECT_SOURCE_DIR}/tests/native
  SOURCES ${_qs_data}/Bmp.cpp ${_qs_data}/PixelOps.cpp ${_qs_data}/Colour.cpp ${_qs_data}/ColourSystemDefault.cpp)
