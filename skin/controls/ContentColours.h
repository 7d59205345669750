#pragma once
// Content areas (edits, list boxes, combo boxes, list views, tree views, rich
// edits, the calendars of date-time pickers and tool tips) in the skin's
// content colours: its Window background and a text colour that reads on it.
//
// Nothing here paints. Controls that take colours by message get them once,
// when their window is skinned and when the skin changes, and get back what
// they had (read before) when it is unskinned. Edits, list boxes and combo
// boxes ask their parent for colours while they paint (WM_CTLCOLOR*): every
// parent the engine already subclasses answers for them through
// AnswerContentColour, with brushes the skin data owns. A colour the program
// chose itself is always kept.
#include <windows.h>

#include "ControlSide.h"

namespace qs {

class TWinSkinForm;

// Gives every content window under the form's window (at any depth) and every
// tool tip the form owns the skin's content colours. Windows already done are
// left alone, so it may run at every activation.
// `late`: after activation, when no repaint of the whole form follows.
void ApplyContentColours(TWinSkinForm& fs, bool late = false);
// The skin changed: the same windows take the new skin's colours. A colour
// the program set since the skin wrote it is the program's and stays.
void ContentColoursChanged(TWinSkinForm& fs);
// Every window gets back exactly what it had, unless the program set a colour
// of its own since; the form's list is emptied.
void RestoreContentColours(TWinSkinForm& fs);

// True for the colour requests a parent gets about a content window (`child`)
// that a form skin has taken in. Cheap: one table lookup.
bool IsContentColourRequest(UINT msg, LPARAM child);
// To be called by the parent after the program's own procedure answered
// (`result`): unless the program chose colours of its own, the request gets
// the skin's content colours on the DC and the skin's brush. True when the
// request was about a content window (the answer is then final).
bool AnswerContentColour(UINT msg, WPARAM dc, LPARAM child, LRESULT& result);

// Selections in list views and tree views: custom-draw notifications
// (WM_NOTIFY, NM_CUSTOMDRAW) from a content window. Before the program sees
// one: true when it is the engine's own item notification (asked for by the
// After step, never by the program), answered in `result`, not to be passed
// on. After the program answered: a paint the program leaves to the control
// asks for item notifications, and a selected item the program did not colour
// gets the skin's Hilight and HilightText.
bool IsContentNotify(UINT msg, LPARAM lParam);
bool ContentNotifyBefore(LPARAM lParam, LRESULT& result);
void ContentNotifyAfter(LPARAM lParam, LRESULT& result);

// The skin's content brush while `wnd` is a content window, else null.
HBRUSH ContentBrushOf(HWND wnd);

// How many windows the form keeps content colours for (tests and benchmarks).
size_t ContentWindowCount(const TWinSkinForm& fs);

}  // namespace qs
