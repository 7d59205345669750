# The folders stay layers: base/ beneath the toolkit, the toolkit beneath skin/,
# judged from the sources and from the targets this tree configured.
add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DQS_SOURCE=${PROJECT_SOURCE_DIR}
         -DQS_FACTS=${PROJECT_BINARY_DIR}/layer-facts.txt
         -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
