# Frame geometry without windows.h (nine-slice pieces, region runs, frame
# metrics, caption-button rules): built for Windows and natively, where its
# tests run. Included from here and from tests/native, whichever comes first.
if(NOT TARGET skin_form_geometry)
  add_library(skin_form_geometry STATIC
    ${CMAKE_CURRENT_LIST_DIR}/NineSlice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RegionRuns.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FrameLayout.cpp)
  target_include_directories(skin_form_geometry PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(skin_form_geometry PUBLIC skin_data)
endif()
