# The folders stay layers: base/ beneath the toolkit, the toolkit beneath skin/.
add_test(NAME layers COMMAND ${CMAKE_COMMAND} -DQS_SOURCE=${PROJECT_SOURCE_DIR}
         -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayers.cmake)
