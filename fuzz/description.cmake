# The description reader and the BMP reader.
set(_qs_data ${PROJECT_SOURCE_DIR}/skin/data)
set(_qs_base ${PROJECT_SOURCE_DIR}/base)
qs_fuzz_target(ini SECONDS 20 TIMEOUT 120 INCLUDES ${_qs_data} ${_qs_base} ${PROJECT_SOURCE_DIR}/tests/native
  SOURCES ${_qs_data}/QuickIni.cpp ${_qs_data}/ColourText.cpp ${_qs_base}/Colour.cpp
          ${_qs_base}/ColourSystemDefault.cpp ${_qs_data}/Vocabulary.cpp)
qs_fuzz_target(bmp SECONDS 20 TIMEOUT 120 INCLUDES ${_qs_data} ${_qs_base} ${PROJECT_SOURCE_DIR}/tests/native
  SOURCES ${_qs_data}/Bmp.cpp ${_qs_base}/PixelOps.cpp ${_qs_base}/Colour.cpp ${_qs_base}/ColourSystemDefault.cpp)
