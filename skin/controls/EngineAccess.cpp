#include "EngineAccess.h"

#include <oleacc.h>

#include <array>

#include "Controls.h"
#include "Messages.h"
#include "ProgressGeometry.h"
#include "SkinDateTime.h"
#include "SkinMP.h"
#include "SkinScroll.h"

namespace qs {

// ---- scroll-bar covers: the system's scroll-bar object, children included ----

namespace {

TWScrollbar* coverOf(HWND wnd) { return dynamic_cast<TWScrollbar*>(FindControl(wnd)); }

int coverCount(HWND) { return 5; }

bool coverItem(HWND wnd, int child, TAccessibleItem& it) {
    TWScrollbar* cover = coverOf(wnd);
    if (!cover || !cover->FTargetHandle || !::IsWindow(cover->FTargetHandle)) return false;
    TScrollBarState bar;
    const bool known = cover->ReadBar(bar);
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    const bool shown = cover->FShown && ::IsWindowVisible(wnd) && known && !bar.invisible;
    const bool vertical = cover->FVertical != 0;
    if (child == 0) {
        it.role = ROLE_SYSTEM_SCROLLBAR;
        if (cover->FMode == TWScrollbar::kControl) {
            const int n = ::GetWindowTextLengthW(cover->FTargetHandle);
            it.name.resize(size_t(n) + 1);
            it.name.resize(size_t(::GetWindowTextW(cover->FTargetHandle, it.name.data(), n + 1)));
        } else {
            it.name = vertical ? L"Vertical" : L"Horizontal";
        }
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        const int kind = cover->FMode == TWScrollbar::kControl ? SB_CTL : vertical ? SB_VERT : SB_HORZ;
        if (::GetScrollInfo(cover->FTargetHandle, kind, &si)) {
            const int span = si.nMax - si.nMin + 1 - int(si.nPage > 0 ? si.nPage : 1);
            const int percent = span > 0 ? int((long long)(si.nPos - si.nMin) * 100 / span) : 0;
            it.value = std::to_wstring(percent < 0 ? 0 : percent > 100 ? 100 : percent);
        }
        it.state = (shown ? 0 : STATE_SYSTEM_INVISIBLE) | (known && bar.unavailable ? STATE_SYSTEM_UNAVAILABLE : 0);
        if (shown) it.bounds = wr;
        return true;
    }
    // Along the bar: arrow, page, thumb, page, arrow.
    const int length = vertical ? wr.bottom - wr.top : wr.right - wr.left;
    const int arrow = cover->FArrowSize;
    const bool thumb = known && bar.thumbBottom > bar.thumbTop;
    int from = 0, to = 0;
    switch (child) {
        case 1: from = 0, to = arrow; break;
        case 2: from = arrow, to = thumb ? bar.thumbTop : arrow; break;
        case 3: from = thumb ? bar.thumbTop : 0, to = thumb ? bar.thumbBottom : 0; break;
        case 4: from = thumb ? bar.thumbBottom : 0, to = thumb ? length - arrow : 0; break;
        default: from = length - arrow, to = length; break;
    }
    static const wchar_t* const kVertical[] = {L"Line up", L"Page up", L"Position", L"Page down", L"Line down"};
    static const wchar_t* const kHorizontal[] = {L"Column left", L"Page left", L"Position", L"Page right",
                                                 L"Column right"};
    it.name = (vertical ? kVertical : kHorizontal)[child - 1];
    it.role = child == 3 ? ROLE_SYSTEM_INDICATOR : ROLE_SYSTEM_PUSHBUTTON;
    if (child != 3) it.action = L"Press";
    const bool partShown = shown && to > from;
    it.state = (partShown ? 0 : STATE_SYSTEM_INVISIBLE) | (known && bar.unavailable ? STATE_SYSTEM_UNAVAILABLE : 0);
    if (partShown)
        it.bounds = vertical ? RECT{wr.left, wr.top + from, wr.right, wr.top + to}
                             : RECT{wr.left + from, wr.top, wr.left + to, wr.bottom};
    return true;
}

bool coverAct(HWND wnd, int child) {
    TWScrollbar* cover = coverOf(wnd);
    if (!cover || !cover->FTargetHandle) return false;
    static const int kCodes[] = {0, SB_LINEUP, SB_PAGEUP, -1, SB_PAGEDOWN, SB_LINEDOWN};
    if (child < 1 || child > 5 || kCodes[child] < 0) return false;
    const UINT msg = cover->FVertical ? WM_VSCROLL : WM_HSCROLL;
    // What the bar under the cover would send for the same press.
    if (cover->FMode == TWScrollbar::kControl)
        ::SendMessageW(::GetParent(cover->FTargetHandle), msg, WPARAM(kCodes[child]), LPARAM(cover->FTargetHandle));
    else
        ::SendMessageW(cover->FTargetHandle, msg, WPARAM(kCodes[child]), 0);
    return true;
}

// ---- the picker's arrow ----

int noChildren(HWND) { return 0; }

bool arrowItem(HWND wnd, int, TAccessibleItem& it) {
    auto* arrow = dynamic_cast<TArrowButton*>(FindControl(wnd));
    if (!arrow) return false;
    it.name = L"Open";
    it.action = L"Open";
    it.role = ROLE_SYSTEM_PUSHBUTTON;
    const bool shown = ::IsWindowVisible(wnd) != FALSE;
    if (!shown) it.state |= STATE_SYSTEM_INVISIBLE;
    if (!arrow->FPickerHandle || !::IsWindowEnabled(arrow->FPickerHandle)) it.state |= STATE_SYSTEM_UNAVAILABLE;
    if (arrow->FHot & 1) it.state |= STATE_SYSTEM_HOTTRACKED;
    if (shown) ::GetWindowRect(wnd, &it.bounds);
    return true;
}

// A click in the middle of the window, down and up, through its own handling.
bool clickAt(HWND wnd, POINT p) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
    return true;
}

bool arrowAct(HWND wnd, int) {
    RECT r{};
    ::GetClientRect(wnd, &r);
    return clickAt(wnd, POINT{r.right / 2, r.bottom / 2});
}

// ---- the media player's panel ----

TMPButtonSet shownButtons(const TWMediaPlayer& panel) {
    TMPButtonSet m = 0;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (panel.FButtons[size_t(i)].Visible) m |= 1u << i;
    return m;
}

int playerCount(HWND) { return kMPButtonCount; }

bool playerItem(HWND wnd, int child, TAccessibleItem& it) {
    auto* panel = dynamic_cast<TWMediaPlayer*>(FindControl(wnd));
    if (!panel) return false;
    const bool shown = ::IsWindowVisible(wnd) != FALSE;
    if (child == 0) {
        it.role = ROLE_SYSTEM_TOOLBAR;
        it.name = L"Media player";
        if (!shown) it.state = STATE_SYSTEM_INVISIBLE;
        if (shown) ::GetWindowRect(wnd, &it.bounds);
        return true;
    }
    static const wchar_t* const kNames[kMPButtonCount] = {L"Play", L"Pause", L"Stop",   L"Next", L"Previous",
                                                          L"Step", L"Back",  L"Record", L"Eject"};
    const int k = child - 1;
    const auto& b = panel->FButtons[size_t(k)];
    it.name = kNames[k];
    it.role = ROLE_SYSTEM_PUSHBUTTON;
    it.action = L"Press";
    RECT client{};
    ::GetClientRect(wnd, &client);
    const PixelRect cell = mpButtonCell(shownButtons(*panel), panel->FButtonWidth, client.bottom, k);
    if (!shown || !b.Visible || cell.empty()) {
        it.state = STATE_SYSTEM_INVISIBLE;
        return true;
    }
    if (!b.Enabled) it.state |= STATE_SYSTEM_UNAVAILABLE;
    if (panel->FMouseDown && panel->FPressedIndex == k) it.state |= STATE_SYSTEM_PRESSED;
    POINT origin{0, 0};
    ::ClientToScreen(wnd, &origin);
    it.bounds = RECT{origin.x + cell.left, origin.y + cell.top, origin.x + cell.right, origin.y + cell.bottom};
    return true;
}

bool playerAct(HWND wnd, int child) {
    auto* panel = dynamic_cast<TWMediaPlayer*>(FindControl(wnd));
    if (!panel || child < 1) return false;
    RECT client{};
    ::GetClientRect(wnd, &client);
    const PixelRect cell = mpButtonCell(shownButtons(*panel), panel->FButtonWidth, client.bottom, child - 1);
    if (cell.empty()) return false;
    return clickAt(wnd, POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

}  // namespace

const TAccessibleModel& ScrollCoverAccess() {
    static const TAccessibleModel m{&coverCount, &coverItem, &coverAct};
    return m;
}
const TAccessibleModel& PickerArrowAccess() {
    static const TAccessibleModel m{&noChildren, &arrowItem, &arrowAct};
    return m;
}
const TAccessibleModel& PlayerPanelAccess() {
    static const TAccessibleModel m{&playerCount, &playerItem, &playerAct};
    return m;
}

}  // namespace qs
