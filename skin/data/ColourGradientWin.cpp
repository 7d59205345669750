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
    const std::vector<ColourNum>* ramp =
        lines.count <= kMaxCachedRampLines ? &gradientCache().Ramp(int(lines.count), a, b) : nullptr;

    RECT band = r;
    if (vertical) {
        band.top = LONG(r.top + lines.first);
        band.bottom = band.top + 1;
    } else {
        band.left = LONG(r.left + lines.first);
        band.right = band.left + 1;
    }
    // An opaque empty text run paints a solid rectangle in the background
    // colour: no brush to create and free for every line.
    const COLORREF oldBk = GetBkColor(dc);
    for (int64_t i = lines.first; i <= lines.last; ++i) {
        const ColourNum c = ramp ? (*ramp)[size_t(i)] : gradientEntry(i, lines.count, a, b);
        SetBkColor(dc, COLORREF(c));
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
