# Hostile skins: the corpus generator, the platform-free load it is run
# through, and the native load test (also built with the sanitizers and run
# under Wine).
set(_qs_hostile ${PROJECT_SOURCE_DIR}/tests/hostile)
add_library(qs_hostile STATIC ${_qs_hostile}/HostileSkins.cpp ${_qs_hostile}/PortableLoad.cpp
            ${PROJECT_SOURCE_DIR}/skin/data/SkinDescription.cpp ${PROJECT_SOURCE_DIR}/skin/data/SkinBuild.cpp)
target_include_directories(qs_hostile PUBLIC ${_qs_hostile})
target_link_libraries(qs_hostile PUBLIC skin_data)
qs_test(test_hostile_native SOURCES ${_qs_hostile}/test_hostile_native.cpp ${_qs_hostile}/HeapMeter.cpp
        LIBS qs_hostile)
target_compile_definitions(test_hostile_native PRIVATE QS_DEFAULT_SKIN="${PROJECT_SOURCE_DIR}/resources/skins/default.skn")
