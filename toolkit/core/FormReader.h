#pragma once
// Reading a form definition: creates the nested components in definition
// order (owned by the root, nested ones handed to their enclosing component
// through SetParentComponent), sets their properties in the order written,
// resolves component references once everything exists, and then runs every
// component's Loaded() in creation order, the root first. The form's creation
// handler is the caller's to run afterwards.
//
// Any problem throws EFormError naming the line (also a component's own
// failure while being created, placed, set or loaded), after every component the
// reader created has been freed and every reference it gave the root taken
// back, so a caller never sees a half-made form. The root itself (created by
// the caller) may have some of its own properties set by then; discard it.
#include <string_view>

#include "Component.h"
#include "FormText.h"

namespace qs {

// The top object's properties go to `root`; its name becomes the root's Name
// when the root has none yet. Handlers (OnClick = N1Click) are looked up with
// root->FindMethod, so the root defines them before reading.
void ReadForm(TComponent* root, std::string_view text);
void ReadForm(TComponent* root, const TFormObject& tree);

// Creates the top object from the class registry, owned by `owner`, and reads
// the definition into it. Nothing is left behind on error.
TComponent* CreateComponentFromText(std::string_view text, TComponent* owner = nullptr);

}  // namespace qs
