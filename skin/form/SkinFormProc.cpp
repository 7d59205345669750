// The messages the skinned frame answers itself: non-client size and paint,
// activation, sizing, caption text changes and the engine's private
// messages. The caption-button mouse handling, system menu and window
// commands come with the non-client message unit and fall through to the
// previous procedure until then.
#include "Forms.h"
#include "SkinData.h"
#include "SkinForm.h"

namespace qs {

LRESULT CALLBACK TWinSkinForm::StaticWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinSkinForm* self = FromWindow(wnd);
    if (!self) return ::DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        self->SkinWindowProc(m);
    } catch (...) {
        // Errors never cross the window procedure: the message goes on as if
        // the skin were not there.
        m.Result = self->CallDefault(msg, wParam, lParam);
    }
    return m.Result;
}

LRESULT TWinSkinForm::CallDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!FOldWndProc) return FUnicode ? ::DefWindowProcW(FHandle, msg, wParam, lParam)
                                      : ::DefWindowProcA(FHandle, msg, wParam, lParam);
    return FUnicode ? ::CallWindowProcW(FOldWndProc, FHandle, msg, wParam, lParam)
                    : ::CallWindowProcA(FOldWndProc, FHandle, msg, wParam, lParam);
}

void TWinSkinForm::SkinWindowProc(TMessage& m) {
    auto passOn = [&] { m.Result = CallDefault(m.Msg, m.WParam, m.LParam); };

    // Stage 1: always.
    switch (m.Msg) {
        case WM_NCPAINT:
            if (FSkinState == ssCreated) {
                m.Result = 0;  // nothing is painted before activation
                return;
            }
            break;
        case WM_NCACTIVATE:
            if (FSkinState == ssCreated && FFormKind != 2) {
                m.Result = 0;
                return;
            }
            if (!FSkinFrame) return passOn();
            break;
        case WM_NCDESTROY: {
            FSkinState = ssDestroying;
            const WNDPROC old = FOldWndProc;
            const bool unicode = FUnicode;
            HWND wnd = FHandle;
            Detach();
            m.Result = unicode ? ::CallWindowProcW(old, wnd, m.Msg, m.WParam, m.LParam)
                               : ::CallWindowProcA(old, wnd, m.Msg, m.WParam, m.LParam);
            FSkinState = ssDestroyed;
            return;
        }
        case WM_SKIN_ACTIVATE:
            Activate();
            m.Result = 0;
            return;
        case WM_SKIN_QUERY:
            m.Result = 1;
            ::PostMessageW(FHandle, WM_SKIN_NOTIFY, 0, kSkinPaintTag);
            return;
        default:
            if (!FSkinFrame) return passOn();
            break;
    }
    if (!FSkinFrame) return passOn();

    // Stage 2: frame skinning on.
    if (FIsChild && FFormKind != 2) return passOn();
    switch (m.Msg) {
        case WM_SIZE:
            WMSize(m);
            return;
        case WM_ACTIVATE:
            FActive = LOWORD(m.WParam) != WA_INACTIVE;
            break;
        case WM_GETMINMAXINFO:
            passOn();
            ReadWindowState();
            SetCaptionStyle(FWindowState == wsMinimizedKind || (FFormKind == 2 && FWindowState == wsMaximizedKind));
            return;
        case WM_WINDOWPOSCHANGED:
            ReadWindowState();
            return passOn();
        default: break;
    }

    // Stage 3: once activated.
    if (FSkinState == ssCreated || (FFormKind == 2 && FWindowState == wsMaximizedKind)) return passOn();
    switch (m.Msg) {
        case WM_NCCALCSIZE:
            WMNCCalcSize(m);
            return;
        case WM_NCHITTEST:
            WMNCHitTest(m);
            return;
        case WM_NCPAINT:
            SetSysMenuStyle(true);
            if (FBorderKind == bkNoCaption) return passOn();
            PaintFrame();
            m.Result = 0;
            return;
        case WM_NCACTIVATE:
            FActive = m.WParam != 0;
            if (FFormKind == 2) passOn();
            PaintFrame();
            m.Result = 1;
            return;
        case WM_SETTEXT: {
            // The default handling draws the system caption with the new
            // text straight onto the frame; without the caption bit for the
            // length of the call it stores the text and draws nothing, so
            // the skinned title never flashes.
            const LONG_PTR style = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
            const bool strip = FBorderKind != bkNoCaption && (style & WS_CAPTION) == WS_CAPTION;
            if (strip) ::SetWindowLongPtrW(FHandle, GWL_STYLE, style & ~LONG_PTR(WS_CAPTION));
            passOn();
            if (strip) ::SetWindowLongPtrW(FHandle, GWL_STYLE, ::GetWindowLongPtrW(FHandle, GWL_STYLE) | WS_CAPTION);
            if (FBorderKind != bkNoCaption) PaintFrame();
            return;
        }
        case WM_SKIN_REPAINT_FRAME:
            PaintFrame();
            m.Result = 0;
            return;
        default: return passOn();
    }
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
    if (FSkinState == ssSkinned || FSkinState == ssReapplying) UpdateRegion();
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

void TWinSkinForm::WMNCHitTest(TMessage& m) {
    m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
    if (m.Result != HTNOWHERE && m.Result != HTCAPTION) return;
    POINT p{short(LOWORD(m.LParam)), short(HIWORD(m.LParam))};
    RECT wr{};
    ::GetWindowRect(FHandle, &wr);
    const int y = p.y - wr.top;
    if (y > 3) m.Result = HTCAPTION;
    if (y > FTitleHeight && FMenuHeight > 0) m.Result = HTMENU;
}

void TWinSkinForm::FormWindowProc(TMessage& m) {
    if (m.Msg == WM_SKIN_CHANGED) {
        SkinChanged();
        return;
    }
    if (FOldWindowProc) FOldWindowProc(m);
    if (m.Msg == WM_SETTEXT && FHandle && ::IsWindowVisible(FHandle) && FSkinState == ssSkinned) {
        if (FWindowState == wsMinimizedKind)
            PaintFrame();
        else
            ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

}  // namespace qs
