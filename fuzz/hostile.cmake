# Whole skin loads on plain pixel images: from the packed archive on, and from
# the description on with the default skin's images.
set(_qs_data ${PROJECT_SOURCE_DIR}/skin/data)
set(_qs_base ${PROJECT_SOURCE_DIR}/base)
set(_qs_hostile ${PROJECT_SOURCE_DIR}/tests/hostile)
set(_qs_load_sources
  ${_qs_hostile}/PortableLoad.cpp ${_qs_hostile}/HostileSkins.cpp
  ${_qs_data}/Lzh.cpp ${_qs_data}/LzhEncoder.cpp ${_qs_data}/SkinReader.cpp ${_qs_data}/ArchiveWriter.cpp
  ${_qs_data}/ArchiveNoticeNone.cpp ${_qs_data}/QuickIni.cpp ${_qs_data}/ColourText.cpp ${_qs_base}/Colour.cpp
  ${_qs_base}/ColourSystemDefault.cpp ${_qs_data}/ColourGradient.cpp ${_qs_data}/Vocabulary.cpp
  ${_qs_base}/PixelOps.cpp ${_qs_data}/Bmp.cpp ${_qs_data}/SkinDescription.cpp ${_qs_data}/SkinBuild.cpp)
qs_fuzz_target(skinload SECONDS 15 TIMEOUT 120 INCLUDES ${_qs_data} ${_qs_base} ${_qs_hostile} SOURCES ${_qs_load_sources})
qs_fuzz_target(records SECONDS 15 TIMEOUT 120 INCLUDES ${_qs_data} ${_qs_base} ${_qs_hostile} SOURCES ${_qs_load_sources})
foreach(_t fuzz_skinload fuzz_skinload_seeds fuzz_records fuzz_records_seeds)
  target_compile_definitions(${_t} PRIVATE QS_DEFAULT_SKIN="${PROJECT_SOURCE_DIR}/resources/skins/default.skn")
endforeach()
