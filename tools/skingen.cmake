# skingen: draws our own skins and the built-in bitmaps from the portable pixel code.
add_library(skingen_art STATIC
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Raster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Glyphs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/ArtFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/ArtControls.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/ArtParts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Themes.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Palette.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Skins.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Builtin.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skingen/Preview.cpp)
target_include_directories(skingen_art PUBLIC ${CMAKE_CURRENT_LIST_DIR}/skingen)
target_link_libraries(skingen_art PUBLIC skin_data)
# The committed skins are compared byte for byte with what the generator draws
# on every build. x87 arithmetic keeps excess precision and fused multiply-adds
# round once instead of twice; both would change an edge pixel here and there.
if(NOT MSVC)
  target_compile_options(skingen_art PRIVATE -ffp-contract=off)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^i[3-6]86$")
    target_compile_options(skingen_art PRIVATE -msse2 -mfpmath=sse)
  endif()
endif()
add_executable(skingen ${CMAKE_CURRENT_LIST_DIR}/skingen/main.cpp)
target_link_libraries(skingen PRIVATE skingen_art)

# `skins`: draws and packs our skins into ${CMAKE_BINARY_DIR}/skins, then lints
# them. Native builds only: the generator has to run on the build machine. The
# Windows build uses the archives committed in resources/skins instead (a test
# checks they are what the generator draws today).
if(NOT CMAKE_CROSSCOMPILING)
  set(_qs_skins_dir ${CMAKE_BINARY_DIR}/skins)
  set(_qs_skin_files)
  foreach(_qs_skin default dark rounded)
    add_custom_command(
      OUTPUT ${_qs_skins_dir}/${_qs_skin}.skn
      COMMAND ${CMAKE_COMMAND} -E rm -rf ${_qs_skins_dir}/${_qs_skin}
      COMMAND skingen ${_qs_skin} ${_qs_skins_dir}/${_qs_skin}
      COMMAND skintool pack ${_qs_skins_dir}/${_qs_skin} ${_qs_skins_dir}/${_qs_skin}.skn
              --order ${_qs_skins_dir}/${_qs_skin}/order.txt
      COMMAND skintool lint ${_qs_skins_dir}/${_qs_skin}.skn
      DEPENDS skingen skintool
      COMMENT "Drawing and packing the ${_qs_skin} skin"
      VERBATIM)
    list(APPEND _qs_skin_files ${_qs_skins_dir}/${_qs_skin}.skn)
  endforeach()
  add_custom_target(skins ALL DEPENDS ${_qs_skin_files})
  # Pictures for judging the skins by eye (mock windows and every element);
  # PNG when ImageMagick is installed. Not part of the default build.
  set(_qs_preview_commands)
  foreach(_qs_skin default dark rounded)
    list(APPEND _qs_preview_commands COMMAND skingen ${_qs_skin} ${_qs_skins_dir}/preview/${_qs_skin}
         --preview ${_qs_skins_dir}/preview)
  endforeach()
  add_custom_target(skin-previews ${_qs_preview_commands} DEPENDS skingen VERBATIM)
endif()
