# FormResource.cpp is compiled in directly so this test does not depend on the
# rest of the Win32 toolkit library.
qs_test(test_form_resource
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_form_resource.cpp
          ${PROJECT_SOURCE_DIR}/toolkit/FormResource.cpp
  LIBS toolkit_core)
target_include_directories(test_form_resource PRIVATE ${PROJECT_SOURCE_DIR}/toolkit)
qs_add_form_resource(test_form_resource TF_ResourceProbe ${CMAKE_CURRENT_LIST_DIR}/forms/TF_ResourceProbe.form)
qs_add_form_resource(test_form_resource TF_OtherProbe ${CMAKE_CURRENT_LIST_DIR}/forms/TF_OtherProbe.form)
