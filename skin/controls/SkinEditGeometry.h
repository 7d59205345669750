#pragma once
// Where the pieces of skinned combo boxes, up-down buttons and date-time
// picker buttons go, and which strip frame each state takes. Pure numbers.
#include "PixelView.h"

namespace qs {

// ---- combo boxes ----

struct ComboButtonLayout {
    PixelRect content;  // left alone by the frame paint (clipped out)
    PixelRect button;
    PixelRect glyphArea;
};
// A combo `width` x `height` whose drop-down button is `arrowSize` wide,
// at the left for a right-to-left combo.
ComboButtonLayout comboButtonLayout(int width, int height, int arrowSize, bool leftArrow);

// Whether the skin's drop-down button goes at the left: a right-to-left
// combo (WS_EX_LEFTSCROLLBAR) has it there, unless the system reports its own
// button (`systemButtonLeft`, -1 when it cannot tell) in the other half; the
// skin's button must lie over the system's, which is the one that opens the list.
bool comboArrowAtLeft(bool leftScrollBar, int systemButtonLeft, int width);

// Frame of the combo-button strip: pressed 2, focused or hot 4, normal 1;
// a disabled combo 3.
int comboButtonFrame(bool enabled, bool pressed, bool focused, bool hot);

// Top-left of a `w` x `h` picture centred in `area` (halves round down).
PixelRect centredIn(const PixelRect& area, int w, int h);

// ---- up-down buttons ----

struct UpDownLayout {
    PixelRect first;   // up or left
    PixelRect second;  // down or right
    int half = 0;      // where the second begins along the axis
};
UpDownLayout upDownLayout(int width, int height, bool horizontal);

enum TUpDownState : int { udsNormal = 1, udsPressed = 2, udsDisabled = 3, udsHot = 4 };
// State of one button: disabled, or normal unless the cursor (`cursorAlong`
// pixels along the axis) is over this button; then pressed, hot or normal.
int upDownButtonState(bool enabled, bool secondButton, int cursorAlong, int half, bool hot, bool pressed);
// Frame of the 8-frame strip: the first button's four states, then the second's.
inline int upDownFrame(int state, bool secondButton) { return state + (secondButton ? 4 : 0); }

// An up-down inside an edit keeps clear of the edit's 3-pixel border: the gaps
// are the distances from the up-down's window edges to its parent's.
PixelRect upDownInEditRect(const PixelRect& r, int topGap, int bottomGap, int rightGap);

// ---- date-time pickers ----

// The picker's arrow button, in the picker's coordinates.
PixelRect pickerArrowButton(int pickerWidth, int buttonSize, bool leftScrollBar);

}  // namespace qs
