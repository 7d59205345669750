#include "Glyphs.h"

#include <cmath>
#include <iterator>

namespace qs::gen {

namespace {

// Unit-box coordinates (0..1 across the glyph box) to pixels.
struct Box {
    double x0, y0, s;
    double x(double u) const { return x0 + u * s; }
    double y(double v) const { return y0 + v * s; }
    std::vector<double> pts(std::initializer_list<double> uv) const {
        std::vector<double> out;
        bool isX = true;
        for (double c : uv) {
            out.push_back(isX ? x(c) : y(c));
            isX = !isX;
        }
        return out;
    }
};

PixelRect bounds(double cx, double cy, double size) {
    const int h = int(std::ceil(size)) + 3;
    return {int(cx) - h, int(cy) - h, int(cx) + h + 1, int(cy) + h + 1};
}

}  // namespace

void drawGlyph(Raster& r, Glyph g, double cx, double cy, double size, Px c, double stroke) {
    const Box b{cx - size / 2, cy - size / 2, size};
    const double hw = stroke / 2;
    const PixelRect clip = bounds(cx, cy, size);
    auto line = [&](std::initializer_list<double> uv) { r.shape(clip, sdPolyline(b.pts(uv), hw), solid(c)); };
    auto poly = [&](std::initializer_list<double> uv) { r.shape(clip, sdPolygon(b.pts(uv)), solid(c)); };
    switch (g) {
    case Glyph::Close:
        line({0.1, 0.1, 0.9, 0.9});
        line({0.9, 0.1, 0.1, 0.9});
        break;
    case Glyph::Maximize: {
        // A window outline with a heavier title edge.
        const Sdf outer = sdRoundRect(b.x(0.05), b.y(0.05), b.x(0.95), b.y(0.95), 0.5);
        r.shape(clip, sdRing(outer, hw * 0.8), solid(c));
        r.shape(clip, sdRoundRect(b.x(0.05), b.y(0.05), b.x(0.95), b.y(0.05) + stroke * 1.6, 0.3), solid(c));
        break;
    }
    case Glyph::Restore: {
        const Sdf back = sdRoundRect(b.x(0.3), b.y(0.02), b.x(0.98), b.y(0.7), 0.5);
        const Sdf front = sdRoundRect(b.x(0.02), b.y(0.3), b.x(0.7), b.y(0.98), 0.5);
        // The back window shows only where the front one does not cover it.
        r.shape(clip, sdSubtract(sdRing(back, hw * 0.8), sdRoundRect(b.x(0.02) - hw, b.y(0.3) - hw, b.x(0.7) + hw,
                                                                    b.y(0.98) + hw, 0.5)),
                solid(c));
        r.shape(clip, sdRing(front, hw * 0.8), solid(c));
        r.shape(clip, sdRoundRect(b.x(0.02), b.y(0.3), b.x(0.7), b.y(0.3) + stroke * 1.5, 0.3), solid(c));
        break;
    }
    case Glyph::Minimize:
        r.shape(clip, sdRoundRect(b.x(0.1), b.y(0.78), b.x(0.9), b.y(0.78) + stroke * 1.4, 0.4), solid(c));
        break;
    case Glyph::Help: {
        // The hook of a question mark, from its upper left end round to the
        // right, then down to the stem; fixed numbers rather than sin and cos,
        // whose last bits differ between C libraries (every build must draw
        // the same pixels).
        static constexpr double kHook[] = {0.2235, 0.3379, 0.2228, 0.2661, 0.2469, 0.1974, 0.2935, 0.1379,
                                           0.3586, 0.0928, 0.4364, 0.0663, 0.5198, 0.0606, 0.6015, 0.0763,
                                           0.6741, 0.1120, 0.7311, 0.1645, 0.7675, 0.2291};
        std::vector<double> hook;
        for (std::size_t i = 0; i + 1 < std::size(kHook); i += 2) {
            hook.push_back(b.x(kHook[i]));
            hook.push_back(b.y(kHook[i + 1]));
        }
        hook.push_back(b.x(0.5));
        hook.push_back(b.y(0.66));
        r.shape(clip, sdPolyline(hook, hw), solid(c));
        r.shape(clip, sdCircle(b.x(0.5), b.y(0.9), stroke * 0.75), solid(c));
        break;
    }
    case Glyph::Check:
        line({0.12, 0.52, 0.4, 0.8, 0.88, 0.2});
        break;
    case Glyph::Mixed:
        r.shape(clip, sdRoundRect(b.x(0.2), b.y(0.2), b.x(0.8), b.y(0.8), 1.0), solid(c));
        break;
    case Glyph::Dot:
        r.shape(clip, sdCircle(cx, cy, size / 2), solid(c));
        break;
    case Glyph::ArrowUp:
        poly({0.0, 0.75, 1.0, 0.75, 0.5, 0.25});
        break;
    case Glyph::ArrowDown:
        poly({0.0, 0.25, 1.0, 0.25, 0.5, 0.75});
        break;
    case Glyph::ArrowLeft:
        poly({0.75, 0.0, 0.75, 1.0, 0.25, 0.5});
        break;
    case Glyph::ArrowRight:
        poly({0.25, 0.0, 0.25, 1.0, 0.75, 0.5});
        break;
    case Glyph::ChevronUp:
        line({0.1, 0.7, 0.5, 0.3, 0.9, 0.7});
        break;
    case Glyph::ChevronDown:
        line({0.1, 0.3, 0.5, 0.7, 0.9, 0.3});
        break;
    case Glyph::ChevronLeft:
        line({0.7, 0.1, 0.3, 0.5, 0.7, 0.9});
        break;
    case Glyph::ChevronRight:
        line({0.3, 0.1, 0.7, 0.5, 0.3, 0.9});
        break;
    }
}

void drawGrip(Raster& r, double cx, double cy, bool verticalLines, int length, Px dark, Px light) {
    const int half = length / 2;
    for (int i = -1; i <= 1; ++i) {
        const int o = int(std::floor(verticalLines ? cx : cy)) + 2 * i;
        if (verticalLines) {
            const int y0 = int(cy) - half;
            r.vline(o, y0, y0 + length, dark);
            r.vline(o + 1, y0, y0 + length, light);
        } else {
            const int x0 = int(cx) - half;
            r.hline(x0, x0 + length, o, dark);
            r.hline(x0, x0 + length, o + 1, light);
        }
    }
}

void drawSizeGrip(Raster& r, PixelRect box, Px dark, Px light) {
    // Dots in a triangle against the corner, three to a side; each dot has a
    // light twin one pixel down and right so it reads as engraved.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; i + j < 3; ++j) {
            const int x = box.right - 3 - 4 * i, y = box.bottom - 3 - 4 * j;
            r.fill({x, y, x + 2, y + 2}, light);
            r.fill({x - 1, y - 1, x + 1, y + 1}, dark);
        }
}

}  // namespace qs::gen
