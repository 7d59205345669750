#pragma once
// Form definitions linked into the program as RCDATA resources named after
// the form class (cmake: qs_add_form_resource(target TF_qv file)).
#include <windows.h>

#include <string>

namespace qs {

// The definition text of `className` (resource names are case-blind), or
// empty when the module has none. `module` null means the program itself.
std::string LoadFormDefinition(const char* className, HMODULE module = nullptr);

}  // namespace qs
