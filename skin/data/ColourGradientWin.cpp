#include "ColourGradientWin.h"

namespace qs {

void GradientFill(HDC dc, const RECT& r, ColourNum from, bool vertical, ColourNum to) {
    if (!dc || !RectVisible(dc, &r)) return;
    const ColourNum a = resolveColour(from), b = resolveColour(to);
    RECT clipBox;
    if (GetClipBox(dc, &clipBox) == ERROR) return;
    const GradientLines lines = gradientLines(PixelRect{r.left, r.top, r.right, r.bottom}, vertical,
                                              PixelRect{clipBox.left, clipBox.top, clipBox.right, clipBox.bottom});
    if (lines.first > lines.last) return;
    const std::vector<ColourNum>& ramp = gradientCache().Ramp(lines.count, a, b);

    RECT band = r;
    if (vertical) {
        band.top = r.top + lines.first;
        band.bottom = band.top + 1;
    } else {
        band.left = r.left + lines.first;
        band.right = band.left + 1;
    }
    // An opaque empty text run paints a solid rectangle in the background
    // colour: no brush to create and free for every line.
    const COLORREF oldBk = GetBkColor(dc);
    for (int i = lines.first; i <= lines.last; ++i) {
        SetBkColor(dc, COLORREF(ramp[size_t(i)]));
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
        if (vertical) {
            ++band.top;
            ++band.bottom;
        } else {
            ++band.left;
            ++band.right;
        }
    }
    SetBkColor(dc, oldBk);
}

}  // namespace qs
