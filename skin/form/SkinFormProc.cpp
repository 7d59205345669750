// The window procedure's entry and exit (errors never cross it), the
// non-client size and the size handler of a skinned window, and the toolkit
// form's handler while the form is skinned.
#include <windows.h>
#include <commctrl.h>

#include "Application.h"
#include "Forms.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "ControlSide.h"
#include "SkinManage.h"
#include "SkinMenu.h"

namespace qs {

namespace {

constexpr UINT kFrameChangedOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

// A tab skin asks whether tab `index` of `tab` may have its page freed
// (0 = go ahead). Only a live tab window of this form that has such a tab
// can lose a page: a stale or stray request is refused. A toolkit form's
// program may still refuse through its own handler; a bare window's program
// never sees the request, as it may use the same number for a message of
// its own.
LRESULT answerTabClose(TWinSkinForm& self, WPARAM wParam, LPARAM lParam) {
    HWND tab = reinterpret_cast<HWND>(wParam);
    if (!tab || !::IsWindow(tab) || !::IsChild(self.FHandle, tab)) return 1;
    const LRESULT count = ::SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
    if (lParam < 0 || lParam >= count) return 1;
    if (!self.FControl) return 0;
    return self.CallDefault(WM_SKIN_TAB_CLOSE, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK TWinSkinForm::StaticWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinSkinForm* self = FromWindow(wnd);
    if (!self) return ::DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    const TLifeToken::Watch life = self->FLife.Watching();
    try {
        if (msg == WM_SKIN_TAB_CLOSE) return answerTabClose(*self, wParam, lParam);
        self->SkinWindowProc(m);
    } catch (...) {
        // Errors never cross the window procedure: the message goes on as if
        // the skin were not there. What threw may have freed the skin; the
        // window then has its own procedure back.
        if (life.Alive()) {
            m.Result = self->CallDefault(msg, wParam, lParam);
        } else {
            const bool unicode = ::IsWindowUnicode(wnd) != FALSE;
            const auto proc = reinterpret_cast<WNDPROC>(unicode ? ::GetWindowLongPtrW(wnd, GWLP_WNDPROC)
                                                                : ::GetWindowLongPtrA(wnd, GWLP_WNDPROC));
            if (proc && proc != &StaticWindowProc)
                m.Result = unicode ? ::CallWindowProcW(proc, wnd, msg, wParam, lParam)
                                   : ::CallWindowProcA(proc, wnd, msg, wParam, lParam);
            else
                m.Result = unicode ? ::DefWindowProcW(wnd, msg, wParam, lParam)
                                   : ::DefWindowProcA(wnd, msg, wParam, lParam);
        }
    }
    return m.Result;
}

LRESULT TWinSkinForm::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!FOldWndProc) return FUnicode ? ::DefWindowProcW(FHandle, msg, wParam, lParam)
                                      : ::DefWindowProcA(FHandle, msg, wParam, lParam);
    return FUnicode ? ::CallWindowProcW(FOldWndProc, FHandle, msg, wParam, lParam)
                    : ::CallWindowProcA(FOldWndProc, FHandle, msg, wParam, lParam);
}

void TWinSkinForm::WMSize(TMessage& m) {
    m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
    switch (m.WParam) {
        case SIZE_RESTORED: FWindowState = wsNormalKind; break;
        case SIZE_MINIMIZED: FWindowState = wsMinimizedKind; break;
        case SIZE_MAXIMIZED: FWindowState = wsMaximizedKind; break;
        default: break;
    }
    if (FWindowState == wsMinimizedKind) return;
    if (FFormKind == 2 && FWindowState != wsNormalKind) return;
    // The new size repaints the whole frame already; a region set with its
    // own redraw would paint it a second time (most of a resize step).
    if (FSkinState == ssSkinned || FSkinState == ssReapplying) UpdateRegion(false);
}

void TWinSkinForm::WMNCCalcSize(TMessage& m) {
    const LRESULT def = CallDefault(m.Msg, m.WParam, m.LParam);
    if (!m.WParam) {
        // The plain form: lParam is one rectangle (the window's), to become
        // the client rectangle.
        auto* r = reinterpret_cast<RECT*>(m.LParam);
        if (r && FBorderKind != bkNoCaption && !(FFormKind == 2 && FWindowState != wsNormalKind)) {
            const PixelRect c = ClientFromWindow(PixelRect{r->left, r->top, r->right, r->bottom},
                                                 FrameMetrics{FLeftWidth, FTitleHeight, FRightWidth, FBottomHeight},
                                                 FMenuHeight);
            *r = RECT{c.left, c.top, c.right, c.bottom};
        }
        m.Result = 0;
        return;
    }
    auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(m.LParam);
    if ((FFormKind == 2 && FWindowState != wsNormalKind) || FBorderKind == bkNoCaption) {
        p->rgrc[1] = p->rgrc[0];
        m.Result = def ? def : WVR_VALIDRECTS;
        return;
    }
    const WINDOWPOS* wp = p->lppos;
    const PixelRect window = wp ? PixelRect{wp->x, wp->y, wp->x + wp->cx, wp->y + wp->cy}
                                : PixelRect{p->rgrc[0].left, p->rgrc[0].top, p->rgrc[0].right, p->rgrc[0].bottom};
    const PixelRect c = ClientFromWindow(window, FrameMetrics{FLeftWidth, FTitleHeight, FRightWidth, FBottomHeight},
                                         FMenuHeight);
    p->rgrc[0] = RECT{c.left, c.top, c.right, c.bottom};
    p->rgrc[1] = p->rgrc[0];
    m.Result = WVR_VALIDRECTS;
}

// ---- the toolkit form's handler ----------------------------------------------------

void TWinSkinForm::FormWindowProc(TMessage& m) {
    // A copy: the handler may run a modal loop in which this form skin,
    // and the handler it holds, are freed.
    auto previous = [&] {
        if (const TWndMethod old = FOldWindowProc) old(m);
    };
    switch (m.Msg) {
        case WM_SETTEXT: FormSetText(m); return;
        case WM_SKIN_CHANGED: SkinChanged(); return;
        case CM_MENUCHANGED: {
            // The toolkit's word that its menu changed (items, or another
            // menu set): its handler first, then the bar follows.
            const TLifeToken::Watch life = FLife.Watching();
            previous();
            if (life.Alive()) MenuBarChanged();
            return;
        }
        case CM_DIALOGCHAR: FormDialogChar(m); return;
        case WM_SKIN_PAINT_FRAME_DC:
            if (m.LParam == kSkinPaintTag) {
                if (m.WParam) PaintFrame(reinterpret_cast<HDC>(m.WParam));
                m.Result = kSkinPaintTag;
                return;
            }
            return previous();
        case WM_SKIN_PROBE: m.Result = m.LParam == kSkinPaintTag ? kSkinPaintTag : 1; return;
        default: return previous();
    }
}

void TWinSkinForm::FormSetText(TMessage& m) {
    const TLifeToken::Watch life = FLife.Watching();
    if (const TWndMethod old = FOldWindowProc) old(m);
    if (!life.Alive()) return;
    if (!FHandle || !::IsWindowVisible(FHandle) || FSkinState != ssSkinned) return;
    if (FWindowState == wsMaximizedKind) {
        HWND client = FClientWnd;
        if (!client && FFormKind == 2)
            if (TSkinManage* mgr = SkinManager()) client = mgr->FMDIClient;
        if (client) ::PostMessageW(client, WM_SKIN_REDRAW_MDI, 0, 0);
    }
    if (FWindowState == wsMinimizedKind)
        PaintFrame();
    else
        ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
}

void TWinSkinForm::FormDialogChar(TMessage& m) {
    const TLifeToken::Watch life = FLife.Watching();
    if (const TWndMethod old = FOldWindowProc) old(m);
    if (m.Result != 0 || !life.Alive()) return;
    const bool alt = ::GetKeyState(VK_MENU) < 0;
    const bool others = ::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_SHIFT) < 0;
    if (alt && !others) {
        if (TMenuBtn* b = FindAccelButton(wchar_t(m.WParam))) {
            m.Result = 1;
            OpenMenuButton(b);
            return;
        }
    }
    m.Result = 0;
    TSkinManage* mgr = SkinManager();
    if (FFormKind == 2) {
        if (mgr && mgr->FMDIFrameForm && mgr->FMDIFrameForm != FControl)
            mgr->FMDIFrameForm->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
    } else if (FControl && Application && Application->MainForm() && Application->MainForm() != FControl &&
               !FControl->IsModal()) {
        Application->MainForm()->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
    }
    m.Result = 0;
}

}  // namespace qs
