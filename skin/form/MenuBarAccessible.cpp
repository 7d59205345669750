#include "MenuBarAccessible.h"

#include <oleacc.h>

#include <string>

#include "AccessibleObject.h"
#include "Messages.h"
#include "SkinForm.h"
#include "SkinMenu.h"

namespace qs {

namespace {

// The caption as a screen reader says it: no accelerator marks, no
// shortcut after a tab.
std::wstring spokenCaption(const std::wstring& caption) {
    std::wstring out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const wchar_t c = caption[i];
        if (c == L'\t') break;
        if (c == L'&') {
            // "&&" is a plain ampersand; a single one marks the next letter.
            if (i + 1 < caption.size() && caption[i + 1] == L'&') {
                out += L'&';
                ++i;
            }
            continue;
        }
        out += c;
    }
    return out;
}

wchar_t accelOf(const std::wstring& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') return caption[i + 1];
            ++i;
        }
    return 0;
}

// The bar as it is now; null once the window lost its skin or its menu.
TWinSkinMenu* barOf(HWND wnd) {
    TWinSkinForm* fs = ::IsWindow(wnd) ? TWinSkinForm::FromWindow(wnd) : nullptr;
    return fs ? fs->FSkinMenu : nullptr;
}

RECT onScreen(HWND wnd, RECT r) {
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    ::OffsetRect(&r, wr.left, wr.top);
    return r;
}

int count(HWND wnd) {
    TWinSkinMenu* bar = barOf(wnd);
    return bar ? int(bar->FButtons.size()) : 0;
}

bool item(HWND wnd, int child, TAccessibleItem& out) {
    TWinSkinMenu* bar = barOf(wnd);
    if (!bar) return false;
    if (child == 0) {
        out.name = L"Application";
        out.role = ROLE_SYSTEM_MENUBAR;
        out.bounds = onScreen(wnd, bar->BandRect());
        return true;
    }
    TMenuBtn* b = bar->Button(child - 1);
    if (!b) return false;
    out.name = spokenCaption(b->FCaption);
    out.role = ROLE_SYSTEM_MENUITEM;
    out.bounds = onScreen(wnd, b->FBoundsRect);
    out.action = b->FSubMenu ? L"Open" : L"Execute";
    if (const wchar_t ch = accelOf(b->FCaption)) out.shortcut = std::wstring(L"Alt+") + ch;
    out.state = STATE_SYSTEM_FOCUSABLE;
    if (!b->FItemEnabled) out.state |= STATE_SYSTEM_UNAVAILABLE;
    if (b->FSubMenu) out.state |= STATE_SYSTEM_HASPOPUP;
    if (!b->FVisible || b->FCaption.empty()) out.state |= STATE_SYSTEM_INVISIBLE;
    const TMenuTracking& t = MenuTracking();
    if (t.form == TWinSkinForm::FromWindow(wnd) && t.openIndex == child - 1)
        out.state |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED;
    return true;
}

// Opens the item as a click on it would.
bool act(HWND wnd, int child) {
    TWinSkinMenu* bar = barOf(wnd);
    TMenuBtn* b = bar ? bar->Button(child - 1) : nullptr;
    if (!b) return false;
    const RECT r = onScreen(wnd, b->FBoundsRect);
    ::PostMessageW(wnd, WM_SKIN_MENUBAR_CLICK, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    return true;
}

}  // namespace

bool AnswerMenuBarObject(HWND wnd, TMessage& m) {
    if (!barOf(wnd)) return false;
    static const TAccessibleModel model{count, item, act};
    return AnswerAccessibleObject(wnd, OBJID_MENU, model, m);
}

}  // namespace qs
