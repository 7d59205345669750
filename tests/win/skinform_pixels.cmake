# The composed frame's pixel routes, in the form-skin window tests.
if(TARGET test_winskinform)
  target_sources(test_winskinform PRIVATE ${CMAKE_CURRENT_LIST_DIR}/test_frame_pixels.cpp)
endif()
