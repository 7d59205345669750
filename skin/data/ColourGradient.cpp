#include "ColourGradient.h"

#include <algorithm>

namespace qs {

ColourNum gradientEntry(int64_t i, int64_t n, ColourNum from, ColourNum to) {
    const int fr = redOf(from), fg = greenOf(from), fb = blueOf(from);
    const int dr = redOf(to) - fr, dg = greenOf(to) - fg, db = blueOf(to) - fb;
    if (n <= 1) return rgbColour(fr + dr / 2, fg + dg / 2, fb + db / 2);
    // C++ division truncates toward zero, which the ramp relies on.
    const int64_t d = n - 1, h = d / 2;
    return rgbColour(fr + int((h + i * dr) / d), fg + int((h + i * dg) / d), fb + int((h + i * db) / d));
}

std::vector<ColourNum> computeGradientRamp(int n, ColourNum from, ColourNum to) {
    std::vector<ColourNum> ramp;
    if (n <= 0) return ramp;
    ramp.resize(std::size_t(n));
    for (int i = 0; i < n; ++i) ramp[std::size_t(i)] = gradientEntry(i, n, from, to);
    return ramp;
}

const std::vector<ColourNum>& TGradientCache::Ramp(int n, ColourNum from, ColourNum to) {
    if (n > 0) {
        for (int i = SlotCount - 1; i >= 0; --i) {
            const Slot& s = FSlots[std::size_t(i)];
            // A ramp that fell short of its target ends on a colour that a
            // different request could name; only the ramp built for that very
            // target may be reused, or the middle lines would be off.
            if (s.colours.size() == std::size_t(n) && s.colours.front() == from && s.colours.back() == to &&
                s.requestedTo == to)
                return s.colours;
        }
    }
    Slot& s = FSlots[std::size_t(FNext)];
    s.colours = computeGradientRamp(n, from, to);
    s.requestedTo = to;
    FNext = (FNext + 1) % SlotCount;
    ++FMisses;
    return s.colours;
}

void TGradientCache::Clear() {
    for (Slot& s : FSlots) s = Slot{};
    FNext = 0;
    FMisses = 0;
}

TGradientCache& gradientCache() {
    static TGradientCache cache;
    return cache;
}

GradientLines gradientLines(PixelRect r, bool vertical, PixelRect clip) {
    GradientLines g;
    const int64_t start = vertical ? r.top : r.left;
    const int64_t end = vertical ? r.bottom : r.right;
    const int64_t clipStart = vertical ? clip.top : clip.left;
    const int64_t clipEnd = vertical ? clip.bottom : clip.right;
    g.count = end - start;
    if (g.count <= 0) return g;
    g.first = clipStart > start ? clipStart - start : 0;
    g.last = clipEnd < end ? clipEnd - start - 1 : g.count - 1;
    return g;
}

void GradientFill(const PixelView& v, PixelRect r, ColourNum from, bool vertical, ColourNum to, PixelRect clip) {
    if (v.empty()) return;
    clip = clip.intersect(PixelRect{0, 0, v.width, v.height});
    const PixelRect visible = r.intersect(clip);
    if (visible.empty()) return;
    const GradientLines lines = gradientLines(r, vertical, clip);
    if (lines.first > lines.last) return;
    const ColourNum a = resolveColour(from), b = resolveColour(to);
    const std::vector<ColourNum>* ramp =
        lines.count <= kMaxCachedRampLines ? &gradientCache().Ramp(int(lines.count), a, b) : nullptr;

    for (int64_t i = lines.first; i <= lines.last; ++i) {
        const ColourNum c = ramp ? (*ramp)[std::size_t(i)] : gradientEntry(i, lines.count, a, b);
        const uint32_t p = colourToPixel(uint32_t(c));
        // Lines inside the clip box lie inside the view, so these fit an int.
        const int at = int((vertical ? r.top : r.left) + i);
        if (vertical) {
            std::fill(v.row(at) + visible.left, v.row(at) + visible.right, p);
        } else {
            for (int y = visible.top; y < visible.bottom; ++y) v.at(at, y) = p;
        }
    }
}

void GradientFill(const PixelView& v, PixelRect r, ColourNum from, bool vertical, ColourNum to) {
    GradientFill(v, r, from, vertical, to, PixelRect{0, 0, v.width, v.height});
}

}  // namespace qs
