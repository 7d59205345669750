# The installable package: the engine, the toolkit and the C interface as one
# static library, their headers under one include root, and a CMake package
# config so that programs can say find_package(QelvoSkin).
#
# The component libraries publish source-tree include folders and link each
# other by target name, which an exported target set cannot carry into an
# install tree; one merged archive plus a hand-written imported target keeps
# the package independent of how the tree is cut into libraries.
include(CMakePackageConfigHelpers)

# Every static library qskin pulls in, and the system libraries they need.
function(qs_collect_link_closure target)
  get_property(_seen GLOBAL PROPERTY QS_PKG_TARGETS)
  if(target IN_LIST _seen)
    return()
  endif()
  set_property(GLOBAL APPEND PROPERTY QS_PKG_TARGETS ${target})
  get_target_property(_type ${target} TYPE)
  set(_links)
  if(NOT _type STREQUAL "INTERFACE_LIBRARY")
    get_target_property(_l ${target} LINK_LIBRARIES)
    if(_l)
      list(APPEND _links ${_l})
    endif()
  endif()
  get_target_property(_il ${target} INTERFACE_LINK_LIBRARIES)
  if(_il)
    list(APPEND _links ${_il})
  endif()
  foreach(_x IN LISTS _links)
    if(TARGET ${_x})
      get_target_property(_xt ${_x} TYPE)
      if(_xt STREQUAL "STATIC_LIBRARY")
        qs_collect_link_closure(${_x})
      endif()
    elseif(NOT _x MATCHES "^[$/-]" AND NOT _x MATCHES "^gtest")
      set_property(GLOBAL APPEND PROPERTY QS_PKG_SYSTEM_LIBS ${_x})
    endif()
  endforeach()
endfunction()

set_property(GLOBAL PROPERTY QS_PKG_TARGETS)
set_property(GLOBAL PROPERTY QS_PKG_SYSTEM_LIBS)
qs_collect_link_closure(qskin)
get_property(_qs_pkg_targets GLOBAL PROPERTY QS_PKG_TARGETS)
get_property(_qs_pkg_syslibs GLOBAL PROPERTY QS_PKG_SYSTEM_LIBS)
list(REMOVE_DUPLICATES _qs_pkg_syslibs)

# One archive from all of them (an ar MRI script keeps every member, also
# members of the same name from different libraries).
set(_qs_merged ${CMAKE_CURRENT_BINARY_DIR}/libqelvoskin.a)
set(_qs_mri "CREATE ${_qs_merged}\n")
set(_qs_merged_deps)
foreach(_t IN LISTS _qs_pkg_targets)
  string(APPEND _qs_mri "ADDLIB $<TARGET_FILE:${_t}>\n")
  list(APPEND _qs_merged_deps $<TARGET_FILE:${_t}>)
endforeach()
string(APPEND _qs_mri "SAVE\nEND\n")
file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/qelvoskin.mri CONTENT "${_qs_mri}")
add_custom_command(OUTPUT ${_qs_merged}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${_qs_merged}
  COMMAND ${CMAKE_AR} -M < ${CMAKE_CURRENT_BINARY_DIR}/qelvoskin.mri
  COMMAND ${CMAKE_RANLIB} ${_qs_merged}
  DEPENDS ${_qs_pkg_targets} ${_qs_merged_deps} ${CMAKE_CURRENT_BINARY_DIR}/qelvoskin.mri
  COMMENT "Merging the engine libraries into libqelvoskin.a"
  VERBATIM)
add_custom_target(qelvoskin_package ALL DEPENDS ${_qs_merged} skin_data_builtin)

# The C++ engine's own link requirements, carried over to the imported target.
set(QS_PKG_SYSTEM_LIBS "${_qs_pkg_syslibs}")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(QS_PKG_MANAGER_SYMBOL "_qs_skin_manage_linked")
else()
  set(QS_PKG_MANAGER_SYMBOL "qs_skin_manage_linked")
endif()

set(_qs_cfgdir lib/cmake/QelvoSkin)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QelvoSkinConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfig.cmake
  INSTALL_DESTINATION ${_qs_cfgdir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)

install(FILES ${_qs_merged} DESTINATION lib COMPONENT qelvoskin)
# The built-in bitmaps (track bars and the like) travel as a resource object
# that every program linking the engine needs.
install(FILES $<TARGET_OBJECTS:skin_data_builtin> DESTINATION lib/qelvoskin RENAME builtin-resources.o
  COMPONENT qelvoskin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/include/qskin/qskin.h DESTINATION include/qskin COMPONENT qelvoskin)
foreach(_d skin/data skin/form skin/controls toolkit)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${_d}/ DESTINATION include/qelvoskin COMPONENT qelvoskin
    FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfigVersion.cmake
  DESTINATION ${_qs_cfgdir} COMPONENT qelvoskin)
foreach(_s default dark rounded)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/skins/${_s}.skn DESTINATION share/qelvoskin/skins COMPONENT qelvoskin)
endforeach()
