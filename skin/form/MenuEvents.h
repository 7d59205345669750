#pragma once
// The events a screen reader follows while the user walks the skinned menu
// bar and its drop-downs: the bar's own menu loop is ours, so the system
// raises none of them for it.
#include <windows.h>

namespace qs {

// The walk begins on bar button `index` (0-based) of `wnd`.
void MenuWalkStarted(HWND wnd, int index);
// Another bar button is the current one (the walk moved to its drop-down).
void MenuWalkMovedTo(HWND wnd, int index);
// WM_MENUSELECT reached the window during the walk: pop-ups shown since are
// announced, those gone are ended, and the selected item gets the focus.
void MenuWalkSelected(WPARAM wParam, LPARAM lParam);
// A menu window is being destroyed: a pop-up of the walk ends while its
// window still exists.
void MenuWalkPopupGone(HWND menuWnd);
// Every drop-down of the walk is closed.
void MenuWalkPopupsClosed();
void MenuWalkEnded(HWND wnd);

}  // namespace qs
