#include "TitleBarAccess.h"

#include <oleacc.h>

#include "AccessibleObject.h"
#include "Messages.h"
#include "SkinForm.h"
#include "SkinRecords.h"

namespace qs {

int TitleBarChildOfAction(int action) {
    switch (action) {
        case 0: return tbClose;
        case 1:
        case 22: return tbMaximize;
        case 2:
        case 23: return tbMinimize;
        default: return tbSelf;
    }
}

namespace {

bool shown(const TWinSysButton& b) {
    return b.FVisible && b.FData && !b.FData->Bitmap.Empty() && b.FData->Visibility != 100 &&
           !::IsRectEmpty(&b.FBoundsRect);
}

// The caption button standing for a child: the one the skin shows, else any
// (then reported invisible), else none.
TWinSysButton* buttonFor(TWinSkinForm& fs, int child) {
    TWinSysButton* any = nullptr;
    for (auto& b : fs.FButtons) {
        if (!b->FData || TitleBarChildOfAction(b->FData->Action) != child) continue;
        if (shown(*b)) return b.get();
        if (!any) any = b.get();
    }
    return any;
}

// Frame coordinates (the caption buttons' rectangles) to the screen; the
// inverse of the form skin's WindowToFrame.
RECT frameToScreen(const TWinSkinForm& fs, RECT r) {
    POINT origin{0, 0};
    ::ClientToScreen(fs.FHandle, &origin);
    if (!(fs.FFormKind == 2 && fs.FWindowState == wsMinimizedKind)) {
        origin.x -= fs.FLeftWidth;
        origin.y -= fs.FTitleHeight + fs.FMenuHeight;
    }
    ::OffsetRect(&r, origin.x, origin.y);
    return r;
}

TWinSkinForm* skinOf(HWND wnd) {
    TWinSkinForm* fs = TWinSkinForm::FromWindow(wnd);
    return fs && fs->FSkinState != ssDestroyed && fs->FSkinState != ssCreated ? fs : nullptr;
}

int titleCount(HWND) { return tbChildCount; }

bool titleItem(HWND wnd, int child, TAccessibleItem& it) {
    TWinSkinForm* fs = skinOf(wnd);
    if (!fs) return false;
    if (child == tbSelf) {
        const int n = ::GetWindowTextLengthW(wnd);
        it.name.resize(size_t(n) + 1);
        it.name.resize(size_t(::GetWindowTextW(wnd, it.name.data(), n + 1)));
        it.value = it.name;
        it.role = ROLE_SYSTEM_TITLEBAR;
        it.state = STATE_SYSTEM_FOCUSABLE | (::IsWindowVisible(wnd) ? 0 : STATE_SYSTEM_INVISIBLE);
        RECT wr{};
        ::GetWindowRect(wnd, &wr);
        it.bounds = frameToScreen(*fs, RECT{0, 0, wr.right - wr.left, fs->FTitleHeight});
        return true;
    }
    static const wchar_t* const kNames[] = {L"", L"IME", L"Minimize", L"Maximize", L"Help", L"Close"};
    it.name = kNames[child];
    if ((child == tbMinimize && ::IsIconic(wnd)) || (child == tbMaximize && ::IsZoomed(wnd))) it.name = L"Restore";
    it.role = ROLE_SYSTEM_PUSHBUTTON;
    it.action = L"Press";
    TWinSysButton* b = buttonFor(*fs, child);
    if (!b || !shown(*b)) {
        it.state = STATE_SYSTEM_INVISIBLE;
        return true;
    }
    if (b->FState == ncsPressed) it.state |= STATE_SYSTEM_PRESSED;
    if (b->FState == ncsHot) it.state |= STATE_SYSTEM_HOTTRACKED;
    if (!b->FEnabled) it.state |= STATE_SYSTEM_UNAVAILABLE;
    it.bounds = frameToScreen(*fs, b->FBoundsRect);
    return true;
}

// The same action as a click on the button.
bool titleAct(HWND wnd, int child) {
    TWinSkinForm* fs = skinOf(wnd);
    TWinSysButton* b = fs ? buttonFor(*fs, child) : nullptr;
    if (!b || !shown(*b) || !b->FEnabled) return false;
    const RECT r = frameToScreen(*fs, b->FBoundsRect);
    fs->DoButtonAction(b, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    return true;
}

}  // namespace

bool AnswerTitleBarObject(TWinSkinForm& fs, TMessage& m) {
    if (!fs.FSkinFrame || fs.FBorderKind == bkNoCaption || fs.FSkinState == ssCreated) return false;
    static const TAccessibleModel model{&titleCount, &titleItem, &titleAct};
    return AnswerAccessibleObject(fs.FHandle, OBJID_TITLEBAR, model, m);
}

}  // namespace qs
