# Skin art at other display densities: lengths and piecewise image scaling.
if(TARGET test_pixel)
  target_sources(test_pixel PRIVATE ${CMAKE_CURRENT_LIST_DIR}/test_pixel_scale.cpp)
endif()
