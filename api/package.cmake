# The installable package: the engine, the toolkit and the C interface as one
# static library, their headers under one include root, and a CMake package
# config so that programs can say find_package(QelvoSkin).
#
# The component libraries publish source-tree include folders and link each
# other by target name, which an exported target set cannot carry into an
# install tree; one archive built from all their objects, exported with its
# own install-tree usage requirements, keeps the package independent of how
# the tree is cut into libraries.
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

# One archive from the objects of all of them, as a target of its own so
# that CMake exports it: programs get QelvoSkin::qskin and QelvoSkin::engine
# from the generated target file.
set(_qs_objects)
foreach(_t IN LISTS _qs_pkg_targets)
  list(APPEND _qs_objects $<TARGET_OBJECTS:${_t}>)
endforeach()
add_library(qelvoskin STATIC ${_qs_objects})
add_dependencies(qelvoskin ${_qs_pkg_targets} skin_data_builtin)
set_target_properties(qelvoskin PROPERTIES LINKER_LANGUAGE CXX EXPORT_NAME qskin
  ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_qs_manager_symbol "_qs_skin_manage_linked")
else()
  set(_qs_manager_symbol "qs_skin_manage_linked")
endif()
target_include_directories(qelvoskin INTERFACE $<INSTALL_INTERFACE:include>)
# The built-in bitmaps (track bars and the like) travel as a resource object
# that every program linking the engine needs; the skin manager registers
# itself from a static object that only the skin data component reaches, so
# it is kept by name.
target_link_libraries(qelvoskin INTERFACE
  $<INSTALL_INTERFACE:$<INSTALL_PREFIX>/lib/qelvoskin/builtin-resources.o> ${_qs_pkg_syslibs})
target_link_options(qelvoskin INTERFACE $<INSTALL_INTERFACE:LINKER:-u,${_qs_manager_symbol}>)

add_library(qelvoskin_engine INTERFACE)
set_target_properties(qelvoskin_engine PROPERTIES EXPORT_NAME engine)
target_include_directories(qelvoskin_engine INTERFACE
  $<INSTALL_INTERFACE:include/qelvoskin> $<INSTALL_INTERFACE:include/qelvoskin/core>)
target_compile_definitions(qelvoskin_engine INTERFACE $<INSTALL_INTERFACE:UNICODE;_UNICODE;NOMINMAX>)
target_link_libraries(qelvoskin_engine INTERFACE qelvoskin)

set(_qs_cfgdir lib/cmake/QelvoSkin)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/QelvoSkinConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfig.cmake
  INSTALL_DESTINATION ${_qs_cfgdir})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)

install(TARGETS qelvoskin qelvoskin_engine EXPORT QelvoSkinTargets ARCHIVE DESTINATION lib COMPONENT qelvoskin)
install(EXPORT QelvoSkinTargets NAMESPACE QelvoSkin:: DESTINATION ${_qs_cfgdir} COMPONENT qelvoskin)
install(FILES $<TARGET_OBJECTS:skin_data_builtin> DESTINATION lib/qelvoskin RENAME builtin-resources.o
  COMPONENT qelvoskin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/include/qskin/qskin.h DESTINATION include/qskin COMPONENT qelvoskin)
foreach(_d base skin/data skin/form skin/controls toolkit)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/${_d}/ DESTINATION include/qelvoskin COMPONENT qelvoskin
    FILES_MATCHING PATTERN "*.h")
endforeach()
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfig.cmake ${CMAKE_CURRENT_BINARY_DIR}/QelvoSkinConfigVersion.cmake
  DESTINATION ${_qs_cfgdir} COMPONENT qelvoskin)
foreach(_s default dark rounded)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/skins/${_s}.skn DESTINATION share/qelvoskin/skins COMPONENT qelvoskin)
endforeach()
