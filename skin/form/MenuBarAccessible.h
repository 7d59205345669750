#pragma once
// The skinned menu bar as screen readers see it: the system lays out its own
// bar by its own frame, which is not where the skin draws the items, so a
// skinned window answers WM_GETOBJECT for its menu bar with this object. It
// reads the bar afresh on every call (nothing of the form skin is kept), so it
// outlives an unskin or a destroyed window safely: it then reports itself
// gone.
#include <windows.h>

namespace qs {

struct TMessage;

// Answers WM_GETOBJECT(OBJID_MENU) for a skinned window with a skinned menu
// bar; false when there is none to give.
bool AnswerMenuBarObject(HWND wnd, TMessage& m);

}  // namespace qs
