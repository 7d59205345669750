# Skin archives and raw LZH files.
set(_qs_data ${PROJECT_SOURCE_DIR}/skin/data)
qs_fuzz_target(archive SECONDS 30 TIMEOUT 150 INCLUDES ${_qs_data}
  SOURCES ${_qs_data}/Lzh.cpp ${_qs_data}/LzhEncoder.cpp ${_qs_data}/SkinReader.cpp
          ${_qs_data}/ArchiveWriter.cpp ${_qs_data}/ArchiveNoticeNone.cpp)
