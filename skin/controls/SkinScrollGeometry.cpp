#include "SkinScrollGeometry.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace qs {

int scrollMulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t p = int64_t(a) * int64_t(b);
    int64_t q = p / c;
    int64_t rem = p % c;
    // Round half away from zero.
    if (2 * std::llabs(rem) >= std::llabs(int64_t(c))) q += ((p < 0) != (c < 0)) ? -1 : 1;
    if (q > INT32_MAX || q < INT32_MIN) return -1;
    return int(q);
}

ScrollThumb controlThumbGeometry(int length, int arrow, const ScrollRange& r) {
    int d = r.max - r.min;
    if (d == 0) d = 9999999;
    const int travel = r.pos - r.min;
    int size = 0, start = 0;
    if (r.page != 0) {
        size = scrollMulDiv(length - 2 * arrow, r.page - 1, d);
        if (size > kMinControlThumb - 1) {
            start = r.pos == r.min ? arrow : scrollMulDiv(length - 2 * arrow, travel, d) + arrow;
        } else {
            size = kMinControlThumb;
            start = r.pos == r.min ? arrow : scrollMulDiv(length - 2 * arrow - kMinControlThumb, travel, d) + arrow;
        }
    } else {
        size = arrow;
        start = r.pos == r.min ? arrow : scrollMulDiv(length - 3 * arrow, travel, d) + arrow;
    }
    return ScrollThumb{start, start + size};
}

TScrollPart scrollHitTest(int c, int arrow, int length, const ScrollThumb& t) {
    if (c < arrow) return spFirstArrow;
    if (c < t.start) return spPageBefore;
    if (c < t.end) return spThumb;
    if (c < length - arrow) return spPageAfter;
    return spSecondArrow;
}

ScrollThumb trackThumb(int downThumb, int cursorTravel, int arrow, int length, int thumbSize) {
    int t = downThumb + cursorTravel;
    t = std::min(t, length - arrow - thumbSize);
    t = std::max(t, arrow);
    return ScrollThumb{t, t + thumbSize};
}

int scrollThickness(int stripHeight, int arrowSize) {
    return std::abs(stripHeight - arrowSize) > 2 ? arrowSize : stripHeight;
}

namespace {
// A span along the bar's axis as a rectangle of the bar.
PixelRect span(bool vertical, int from, int to, int cross) {
    return vertical ? PixelRect{0, from, cross, to} : PixelRect{from, 0, to, cross};
}
}  // namespace

ScrollPaintLayout scrollPaintLayout(const ScrollPaintInput& in) {
    ScrollPaintLayout out;
    const int length = in.vertical ? in.height : in.width;
    const int k = scrollThickness(in.stripHeight, in.arrowSize);
    out.thickness = k;

    // The track lies between full-size arrows; a bar too short for them has none.
    if (length > 2 * in.arrowSize) out.track = span(in.vertical, in.arrowSize, length - in.arrowSize, k);
    out.trackFrame = in.enabled ? 1 : 3;

    const int a = length < 2 * in.arrowSize ? length / 2 : in.arrowSize;
    out.firstArrow = span(in.vertical, 0, a, k);
    out.secondArrow = span(in.vertical, length - a, length, k);
    const int firstBase = in.vertical ? 9 : 1;
    const int secondBase = in.vertical ? 13 : 5;
    out.firstFrame = firstBase + (in.hotPart == spFirstArrow ? (in.pressed ? 1 : 3) : 0);
    out.secondFrame = secondBase + (in.hotPart == spSecondArrow ? (in.pressed ? 1 : 3) : 0);

    if (!in.enabled) return out;
    const ScrollThumb t = in.thumb;
    // Both ends inside the bar, and something to draw.
    if (t.end > t.start && t.start >= 0 && t.end <= length) {
        out.drawThumb = true;
        out.thumb = span(in.vertical, t.start, t.end, k);
        out.thumbFrame = in.hotPart == spThumb ? (in.pressed ? 2 : 3) : 1;
        if (in.pressed && in.hotPart == spPageBefore && t.start > in.arrowSize) {
            out.drawPressedPage = true;
            out.pressedPage = span(in.vertical, in.arrowSize, t.start, k);
        } else if (in.pressed && in.hotPart == spPageAfter && t.end < length - in.arrowSize) {
            out.drawPressedPage = true;
            out.pressedPage = span(in.vertical, t.end, length - in.arrowSize, k);
        }
        const int g = in.stripHeight;
        if (g > 0 && g < t.size() + 2) {
            const int from = t.start + (t.size() - g) / 2;
            out.drawGrip = true;
            out.grip = span(in.vertical, from, from + g, k);
            out.gripFrame = (in.vertical ? 20 : 17) + (in.hotPart == spThumb ? (in.pressed ? 1 : 2) : 0);
        }
    }
    return out;
}

}  // namespace qs
