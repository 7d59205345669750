# Hostile skins: the corpus generator, the platform-free load it is run
# through, and the native load test (also built with the sanitizers and run
# under Wine).
set(_qs_hostile ${PROJECT_SOURCE_DIR}/tests/hostile)
add_library(qs_hostile_gen STATIC ${_qs_hostile}/HostileSkins.cpp ${_qs_hostile}/HeapMeter.cpp)
target_include_directories(qs_hostile_gen PUBLIC ${_qs_hostile})
target_link_libraries(qs_hostile_gen PUBLIC skin_data)
# The description and record-building code lives in the Windows library; the
# platform-free load compiles it in itself.
add_library(qs_hostile STATIC ${_qs_hostile}/PortableLoad.cpp
            ${PROJECT_SOURCE_DIR}/skin/data/SkinDescription.cpp ${PROJECT_SOURCE_DIR}/skin/data/SkinBuild.cpp)
target_link_libraries(qs_hostile PUBLIC qs_hostile_gen)
qs_test(test_hostile_native SOURCES ${_qs_hostile}/test_hostile_native.cpp LIBS qs_hostile skin_form_geometry)
target_compile_definitions(test_hostile_native PRIVATE QS_DEFAULT_SKIN="${PROJECT_SOURCE_DIR}/resources/skins/default.skn")
