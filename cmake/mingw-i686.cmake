# Cross-build for i686 Windows with mingw-w64.
set(QS_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
