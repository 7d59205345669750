#pragma once
// The accessible object of a window the engine makes itself (a scroll-bar
// cover, the picker's arrow, the media player's panel): without it a screen
// reader finds an unnamed object with no role where the user sees a control.
#include <windows.h>

#include <string>

namespace qs {

struct TMessage;

// One element as a screen reader reads it; child 0 is the window itself.
struct TAccessibleItem {
    std::wstring name;
    std::wstring value;
    std::wstring action;  // the default action's name; empty when none
    LONG role = 0;
    LONG state = 0;
    RECT bounds{};  // screen coordinates; empty when not shown
};

// What the object asks of its window, every time: the window may be gone
// or changed while a client holds the object. Each function gets the
// window handle and looks its control up again.
struct TAccessibleModel {
    int (*count)(HWND wnd);                                   // children
    bool (*item)(HWND wnd, int child, TAccessibleItem& out);  // false: gone
    bool (*act)(HWND wnd, int child);                         // the default action; may be null
};

// The models of the engine's own windows.
const TAccessibleModel& ScrollCoverAccess();   // reads as the scroll bar it covers
const TAccessibleModel& PickerArrowAccess();   // the picker's drop-down button
const TAccessibleModel& PlayerPanelAccess();   // the media player's buttons

// Answers WM_GETOBJECT for the window's client object; false leaves the
// message to the window's own handling.
bool AnswerEngineObject(HWND wnd, const TAccessibleModel& model, TMessage& msg);

}  // namespace qs
