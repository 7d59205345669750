# cmake -DQS_SOURCE=<tree> -P CheckLayers.cmake
#
# The folders are layers that point one way: base/ knows neither the toolkit
# nor the skins, and toolkit/ knows nothing of skin/. Includes go by file name
# through include folders, so a file of a lower layer that names a header of a
# higher one would still compile wherever a target happens to carry both
# folders; this check reads the sources instead of trusting the build.
cmake_minimum_required(VERSION 3.20)
if(NOT QS_SOURCE)
  message(FATAL_ERROR "QS_SOURCE is not set")
endif()

function(qs_headers_of out)
  set(_names)
  foreach(_dir IN LISTS ARGN)
    file(GLOB_RECURSE _files LIST_DIRECTORIES false "${QS_SOURCE}/${_dir}/*.h")
    foreach(_f IN LISTS _files)
      get_filename_component(_n "${_f}" NAME)
      list(APPEND _names "${_n}")
    endforeach()
  endforeach()
  set(${out} "${_names}" PARENT_SCOPE)
endfunction()

qs_headers_of(_skin skin)
qs_headers_of(_toolkit toolkit)
qs_headers_of(_base base)

set(_faults)
# qs_check_layer(DIR OWN_HEADERS FORBIDDEN_HEADERS FORBIDDEN_IN_BUILD_FILES)
function(qs_check_layer dir own forbidden build_regex)
  file(GLOB_RECURSE _files LIST_DIRECTORIES false
       "${QS_SOURCE}/${dir}/*.h" "${QS_SOURCE}/${dir}/*.cpp")
  set(_found)
  foreach(_f IN LISTS _files)
    file(STRINGS "${_f}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(_l IN LISTS _lines)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1" _inc "${_l}")
      get_filename_component(_n "${_inc}" NAME)
      # A name the layer has itself (or a lower one has) is its own header.
      if(_n IN_LIST own)
        continue()
      endif()
      if(_n IN_LIST forbidden)
        file(RELATIVE_PATH _rel "${QS_SOURCE}" "${_f}")
        list(APPEND _found "${_rel} includes ${_inc}")
      endif()
    endforeach()
  endforeach()
  # The build files of a layer must not pull in sources or targets from above.
  file(GLOB_RECURSE _cmake LIST_DIRECTORIES false
       "${QS_SOURCE}/${dir}/*.cmake" "${QS_SOURCE}/${dir}/CMakeLists.txt")
  foreach(_f IN LISTS _cmake)
    file(STRINGS "${_f}" _lines REGEX "^[^#]*(${build_regex})")
    foreach(_l IN LISTS _lines)
      file(RELATIVE_PATH _rel "${QS_SOURCE}" "${_f}")
      string(STRIP "${_l}" _l)
      list(APPEND _found "${_rel}: ${_l}")
    endforeach()
  endforeach()
  set(_faults ${_faults} ${_found} PARENT_SCOPE)
endfunction()

qs_check_layer(toolkit "${_toolkit};${_base}" "${_skin}"
               "SOURCE_DIR}/skin/|[( ]skin_[a-z_]+")
qs_check_layer(base "${_base}" "${_skin};${_toolkit}"
               "SOURCE_DIR}/(skin|toolkit)/|[( ](skin_[a-z_]+|toolkit[a-z_]*)[ )]")

if(_faults)
  list(JOIN _faults "\n  " _text)
  message(FATAL_ERROR "A lower layer reaches into a higher one:\n  ${_text}")
endif()
list(LENGTH _skin _ns)
list(LENGTH _toolkit _nt)
message(STATUS "layers: toolkit/ and base/ include none of the ${_ns} skin/ headers; base/ none of the ${_nt} toolkit/ headers")
