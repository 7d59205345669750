#pragma once
// The tool-bar painters a form skin gives a toolkit tool bar that has no
// custom drawing of its own: the skin's tool-bar picture behind it and the
// skin's button strip under its buttons.
#include <windows.h>

#include <functional>

#include "Graphics.h"

namespace qs {

class TWinSkinForm;
class TControl;
class TObject;

// The custom-draw events a tool bar publishes ("OnCustomDraw",
// "OnCustomDrawButton"); unassigned ones get the painters below.
using TToolBarCustomDrawEvent = std::function<void(TObject* sender, HDC dc, const RECT& r, bool& defaultDraw)>;
using TToolBarCustomDrawButtonEvent =
    std::function<void(TObject* sender, HDC dc, const RECT& bounds, UINT itemState, TColor& fontColour, bool& defaultDraw)>;
// The background: the Toolbar element stretched over `r` (unless the
// options keep the system's tool-bar background).
void PaintToolbarBackground(TWinSkinForm& fs, HDC dc, const RECT& r);
// A button from its custom-draw state (CDIS_* bits); false when nothing was drawn.
bool PaintToolbarButton(TWinSkinForm& fs, HDC dc, const RECT& bounds, UINT itemState, TColor& fontColour);
// Gives a tool bar the skin's background and button painters where it has
// no custom drawing of its own (or only the painters of an earlier form
// skin, which may be gone).
void HookToolbarPainters(TWinSkinForm& fs, TControl* toolbar);
// Takes off the painters `fs` gave the tool bar (the program's own handlers
// stay); true when there were any.
bool UnhookToolbarPainters(const TWinSkinForm* fs, TControl* toolbar);

}  // namespace qs
