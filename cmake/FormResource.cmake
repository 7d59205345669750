# qs_add_form_resource(target CLASSNAME file): links the form definition `file`
# into `target` as an RCDATA resource named CLASSNAME, which
# LoadFormDefinition(CLASSNAME) finds at run time.
if(WIN32)
  enable_language(RC)
endif()

function(qs_add_form_resource target class file)
  if(NOT WIN32)
    return()
  endif()
  get_filename_component(_def "${file}" ABSOLUTE)
  string(TOUPPER "${class}" _name)
  set(_rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_${class}_form.rc")
  # The resource compiler reads the path as a C string.
  string(REPLACE "\\" "\\\\" _path "${_def}")
  string(REPLACE "\"" "\\\"" _path "${_path}")
  set(_content "${_name} RCDATA \"${_path}\"\n")
  set(_old "")
  if(EXISTS "${_rc}")
    file(READ "${_rc}" _old)
  endif()
  if(NOT _old STREQUAL _content)
    file(WRITE "${_rc}" "${_content}")
  endif()
  # Rebuild the resource when the definition changes, not only the .rc.
  set_source_files_properties("${_rc}" PROPERTIES OBJECT_DEPENDS "${_def}")
  target_sources(${target} PRIVATE "${_rc}")
endfunction()
