# The engine loaded as a library by a program that carries none of its
# resources: a test library with the engine linked in, and a host without it.
add_library(test_mp_glyphs_dll SHARED ${CMAKE_CURRENT_LIST_DIR}/test_mp_glyphs_dll.cpp)
set_target_properties(test_mp_glyphs_dll PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(test_mp_glyphs_dll PRIVATE skin_controls)
target_link_options(test_mp_glyphs_dll PRIVATE -static)
qs_test(test_mp_glyphs SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_mp_glyphs.cpp)
add_dependencies(test_mp_glyphs test_mp_glyphs_dll)
