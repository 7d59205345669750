#include "MenuEvents.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace qs {

namespace {

constexpr UINT kMenuGetHandle = 0x01E1;  // MN_GETHMENU

struct TShownPopup {
    HWND wnd;
    HMENU menu;
};

// Pop-up windows announced in this walk, outermost first.
std::vector<TShownPopup>& shownPopups() {
    static std::vector<TShownPopup> v;
    return v;
}

struct TFindPopup {
    HMENU menu;
    HWND found;
};

BOOL CALLBACK findPopup(HWND w, LPARAM p) {
    auto* f = reinterpret_cast<TFindPopup*>(p);
    char cls[8] = {};
    if (::GetClassNameA(w, cls, sizeof cls) != 6 || std::string_view(cls) != "#32768" || !::IsWindowVisible(w))
        return TRUE;
    if (reinterpret_cast<HMENU>(::SendMessageW(w, kMenuGetHandle, 0, 0)) != f->menu) return TRUE;
    f->found = w;
    return FALSE;
}

HWND popupShowing(HMENU menu) {
    TFindPopup f{menu, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), &findPopup, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

void endPopup(const TShownPopup& p) {
    ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPEND, p.wnd, OBJID_CLIENT, CHILDID_SELF);
}

// The 0-based position of the item WM_MENUSELECT names.
int selectedPosition(HMENU menu, UINT item, UINT flags) {
    if (flags & MF_POPUP) return int(item);
    for (int i = 0, n = ::GetMenuItemCount(menu); i < n; ++i)
        if (::GetMenuItemID(menu, i) == item) return i;
    return -1;
}

}  // namespace

void MenuWalkStarted(HWND wnd, int index) {
    shownPopups().clear();
    ::NotifyWinEvent(EVENT_SYSTEM_MENUSTART, wnd, OBJID_MENU, CHILDID_SELF);
    MenuWalkMovedTo(wnd, index);
}

void MenuWalkMovedTo(HWND wnd, int index) {
    if (index >= 0) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, wnd, OBJID_MENU, index + 1);
}

void MenuWalkSelected(WPARAM wParam, LPARAM lParam) {
    const UINT flags = HIWORD(wParam);
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    if (flags == 0xFFFF && !menu) return MenuWalkPopupsClosed();
    if (!menu) return;
    auto& shown = shownPopups();
    // Sub-menus closed since (Escape, Left, the mouse elsewhere) end first,
    // innermost first.
    while (!shown.empty() && !(::IsWindow(shown.back().wnd) && ::IsWindowVisible(shown.back().wnd) &&
                               reinterpret_cast<HMENU>(::SendMessageW(shown.back().wnd, kMenuGetHandle, 0, 0)) ==
                                   shown.back().menu)) {
        endPopup(shown.back());
        shown.pop_back();
    }
    auto it = std::find_if(shown.begin(), shown.end(), [menu](const TShownPopup& p) { return p.menu == menu; });
    HWND wnd = nullptr;
    if (it != shown.end()) {
        // Back in an outer pop-up: the inner ones are closed or about to be.
        wnd = it->wnd;
    } else {
        wnd = popupShowing(menu);
        if (!wnd) return;
        shown.push_back({wnd, menu});
        ::NotifyWinEvent(EVENT_SYSTEM_MENUPOPUPSTART, wnd, OBJID_CLIENT, CHILDID_SELF);
    }
    const int pos = selectedPosition(menu, LOWORD(wParam), flags);
    if (pos >= 0) ::NotifyWinEvent(EVENT_OBJECT_FOCUS, wnd, OBJID_CLIENT, pos + 1);
}

void MenuWalkPopupGone(HWND menuWnd) {
    auto& shown = shownPopups();
    auto it = std::find_if(shown.begin(), shown.end(), [menuWnd](const TShownPopup& p) { return p.wnd == menuWnd; });
    if (it == shown.end()) return;
    // Its sub-menus go with it, innermost first.
    while (shown.size() > std::size_t(it - shown.begin())) {
        endPopup(shown.back());
        shown.pop_back();
    }
}

void MenuWalkPopupsClosed() {
    auto& shown = shownPopups();
    while (!shown.empty()) {
        endPopup(shown.back());
        shown.pop_back();
    }
}

void MenuWalkEnded(HWND wnd) {
    MenuWalkPopupsClosed();
    ::NotifyWinEvent(EVENT_SYSTEM_MENUEND, wnd, OBJID_MENU, CHILDID_SELF);
}

}  // namespace qs
