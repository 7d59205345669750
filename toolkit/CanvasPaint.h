#pragma once
// A control's Paint draws on its canvas; the canvas borrows the DC of the
// paint message only while Paint runs.
#include "Graphics.h"

namespace qs {

template <class F>
void PaintOnDC(TCanvas& canvas, HDC dc, const TFont& font, F&& paint) {
    canvas.SetHandle(dc);
    // Given back however Paint ends: the DC is the system's, not the canvas's.
    struct Release {
        TCanvas& c;
        ~Release() { c.SetHandle(nullptr); }
    } release{canvas};
    canvas.SetFont(font);
    paint();
}

}  // namespace qs
