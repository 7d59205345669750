#pragma once
// Writing a component tree back as a form definition that ReadForm reads.
//
// Written: the root and the components it owns, nested by
// GetParentComponent(); for each, the published properties that can be read
// and written (plus collections and sub-objects such as Font, written through
// dotted paths) whose value differs from a freshly created instance of the
// same class. A class without a factory has every such property written.
// References are written by component name. Not written: event handlers (a
// handler carries no name to write back) and references to components
// outside the root.
#include <string>

#include "Component.h"

namespace qs {

std::string WriteForm(const TComponent* root);

// UTF-8 text as a definition string: quoted, control characters as #codes,
// long texts split into '+'-joined pieces on lines indented by `indent`.
std::string FormatFormString(std::string_view utf8, int indent = 0);

}  // namespace qs
