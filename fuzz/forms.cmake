# Form definitions.
set(_qs_core ${PROJECT_SOURCE_DIR}/toolkit/core)
qs_fuzz_target(form SECONDS 20 TIMEOUT 120 INCLUDES ${_qs_core} ${PROJECT_SOURCE_DIR}/tests/native
  SOURCES ${_qs_core}/Object.cpp ${_qs_core}/Component.cpp ${_qs_core}/ColourNames.cpp
          ${_qs_core}/FormText.cpp ${_qs_core}/FormReader.cpp ${_qs_core}/FormWriter.cpp
          ${PROJECT_SOURCE_DIR}/tests/native/form_test_classes.cpp)
