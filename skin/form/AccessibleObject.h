#pragma once
// The accessible object of something the engine draws itself (the skinned
// title bar, a scroll-bar cover, the picker's arrow, the media player's
// panel): without one a screen reader finds the system's idea of it, or an
// unnamed object with no role, where the user sees a control.
#include <windows.h>

#include <string>

namespace qs {

struct TMessage;

// One element as a screen reader reads it; child 0 is the object itself.
struct TAccessibleItem {
    std::wstring name;
    std::wstring value;
    std::wstring action;  // the default action's name; empty when none
    std::wstring shortcut;  // the keyboard shortcut as spoken ("Alt+F"); empty when none
    LONG role = 0;
    LONG state = 0;
    RECT bounds{};  // screen coordinates; empty when not shown
};

// What the object asks of its window, every time: the window may be gone or
// unskinned while a client holds the object, so each function gets the
// window handle and looks its skin up again.
struct TAccessibleModel {
    int (*count)(HWND wnd);                                   // children
    bool (*item)(HWND wnd, int child, TAccessibleItem& out);  // false: gone
    bool (*act)(HWND wnd, int child);                         // the default action; may be null
};

// Answers WM_GETOBJECT when it asks for `objectId` (OBJID_CLIENT,
// OBJID_TITLEBAR, ...); false leaves the message to the window's own handling.
bool AnswerAccessibleObject(HWND wnd, LONG objectId, const TAccessibleModel& model, TMessage& msg);

}  // namespace qs
