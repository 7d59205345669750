# The soak run's handle probe: a library loaded into the running demo that
# counts its GDI and USER objects, and the small program that loads it.
add_library(qs_handle_probe SHARED ${PROJECT_SOURCE_DIR}/tests/soak/HandleProbe.cpp)
set_target_properties(qs_handle_probe PROPERTIES PREFIX "")
target_link_options(qs_handle_probe PRIVATE -static-libgcc -static-libstdc++)
add_executable(qs_probe_inject ${PROJECT_SOURCE_DIR}/tests/soak/ProbeInject.cpp)
target_link_options(qs_probe_inject PRIVATE -municode -static-libgcc -static-libstdc++)
