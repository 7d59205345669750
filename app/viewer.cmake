# The viewer: its form class as a library (tests link it) and the program.
# The form definition carries the default skin as its SD component's
# "SkinStream": a 32-bit little-endian length, then the archive, as hex.
set(_skin ${PROJECT_SOURCE_DIR}/resources/skins/default.skn)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_skin})
file(SIZE ${_skin} _skin_size)
file(READ ${_skin} _skin_hex HEX)
string(TOUPPER "${_skin_hex}" _skin_hex)
math(EXPR _b0 "${_skin_size} & 255" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR _b1 "(${_skin_size} >> 8) & 255" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR _b2 "(${_skin_size} >> 16) & 255" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR _b3 "(${_skin_size} >> 24) & 255" OUTPUT_FORMAT HEXADECIMAL)
set(_len "")
foreach(_b ${_b0} ${_b1} ${_b2} ${_b3})
  string(SUBSTRING "${_b}" 2 -1 _b)
  string(LENGTH "${_b}" _n)
  if(_n EQUAL 1)
    set(_b "0${_b}")
  endif()
  string(TOUPPER "${_b}" _b)
  string(APPEND _len "${_b}")
endforeach()
string(REGEX REPLACE "([0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F])"
       "      \\1\n" QV_SKIN_STREAM "${_len}${_skin_hex}")
string(APPEND QV_SKIN_STREAM "\n")
configure_file(${CMAKE_CURRENT_LIST_DIR}/U_qv.dfm.in ${CMAKE_CURRENT_BINARY_DIR}/U_qv.dfm @ONLY)

add_library(qv_form STATIC ${CMAKE_CURRENT_LIST_DIR}/U_qv.cpp ${CMAKE_CURRENT_LIST_DIR}/QvPageNotice.cpp
            ${CMAKE_CURRENT_LIST_DIR}/QvTray.cpp)
target_include_directories(qv_form PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(qv_form PUBLIC toolkit skin_data_win skin_classify qv_shell)

add_executable(qv WIN32 ${CMAKE_CURRENT_LIST_DIR}/QvMain.cpp ${CMAKE_CURRENT_LIST_DIR}/qv.rc)
target_link_libraries(qv PRIVATE qv_form)
qs_add_form_resource(qv TF_qv ${CMAKE_CURRENT_BINARY_DIR}/U_qv.dfm)
