// Bringing forms and their controls from one resolution to another.
#include <algorithm>

#include "Dpi.h"
#include "Forms.h"

namespace qs {

void TControl::ChangeScale(int m, int d) {
    SetBounds(::MulDiv(FLeft, m, d), ::MulDiv(FTop, m, d), ::MulDiv(FWidth, m, d), ::MulDiv(FHeight, m, d));
    // A font that follows the parent arrives scaled from there.
    if (!FParentFont) FFont->SetHeight(::MulDiv(FFont->Height(), m, d));
}

void TWinControl::ChangeScale(int m, int d) {
    // Laid out once, when the children and this control all have their new
    // figures; in between, each child's move would lay out the old ones.
    DisableAlign();
    try {
        for (TControl* c : std::vector<TControl*>(FControls)) c->ChangeScale(m, d);
        TControl::ChangeScale(m, d);
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
}

// A form placed inside another control scales with it, as a control.
void TCustomForm::ChangeScale(int m, int d) {
    TWinControl::ChangeScale(m, d);
    FPixelsPerInch = ::MulDiv(FPixelsPerInch, m, d);
}

void TCustomForm::ScaleToDpi(int dpi, const RECT* window) {
    if (dpi <= 0 || dpi > 10000) return;
    if (Parent()) {
        if (dpi != FPixelsPerInch) ChangeScale(dpi, FPixelsPerInch);
        return;
    }
    const int m = dpi, d = FPixelsPerInch;
    if (m == d) {
        if (window) SetBounds(window->left, window->top, window->right - window->left, window->bottom - window->top);
        return;
    }
    // The client area is what the layout was made for: the frame around it
    // is the system's (or the skin's) and does not grow in proportion.
    int cw, ch;
    if (FHandle) {
        RECT r;
        GetClientRect(FHandle, &r);
        cw = r.right, ch = r.bottom;
    } else {
        RECT f = WindowFrameAt(WindowStyle(), WindowExStyle(), FMenu != nullptr, d);
        cw = std::max(0, Width() - int(f.right - f.left));
        ch = std::max(0, Height() - int(f.bottom - f.top));
    }
    if (FPendingClientWidth >= 0) cw = FPendingClientWidth;
    if (FPendingClientHeight >= 0) ch = FPendingClientHeight;
    DisableAlign();
    try {
        for (TControl* c : std::vector<TControl*>(ControlList())) c->ChangeScale(m, d);
        Font()->SetHeight(::MulDiv(Font()->Height(), m, d));
        FPixelsPerInch = dpi;
        if (window) {
            FPendingClientWidth = FPendingClientHeight = -1;
            SetBounds(window->left, window->top, window->right - window->left, window->bottom - window->top);
        } else {
            // Where the window is not made yet its place is a design figure too.
            if (!FHandle) SetBounds(::MulDiv(Left(), m, d), ::MulDiv(Top(), m, d), Width(), Height());
            if (FPendingClientWidth >= 0) FPendingClientWidth = ::MulDiv(cw, m, d);
            if (FPendingClientHeight >= 0) FPendingClientHeight = ::MulDiv(ch, m, d);
            SetClientSize(::MulDiv(cw, m, d), ::MulDiv(ch, m, d));
        }
    } catch (...) {
        EnableAlign();
        throw;
    }
    EnableAlign();
}

}  // namespace qs
