#include "PixelScale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace qs {

namespace {

// Lengths come from skin files: a figure past what an int holds stays the
// largest one of its sign rather than wrapping round to the other.
int saturate(int64_t v) { return int(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

int scaleBy(int v, int num, int den) {
    if (den <= 0) return v;
    const int64_t p = int64_t(v) * num;
    return saturate((p * 2 + den) / (2 * den));
}

}  // namespace

int ScaleLength(int v, int dpi) {
    const int64_t p = int64_t(v) * dpi;
    const int64_t q = (std::llabs(p) * 2 + kBaseDpi) / (2 * kBaseDpi);
    return saturate(p < 0 ? -q : q);
}

namespace {

}  // namespace

ScaledAxis ScaleAxis(int size, int lowMargin, int highMargin, int num, int den) {
    ScaledAxis a;
    a.size = std::max(size, 0);
    int lo = std::max(lowMargin, 0), hi = std::max(highMargin, 0);
    if (int64_t(lo) + hi > a.size) lo = hi = 0;
    a.lo = lo;
    a.hi = a.size - hi;
    a.slo = scaleBy(lo, num, den);
    const int shigh = scaleBy(hi, num, den);
    // The ends keep their own scaled size; what rounding leaves over goes to
    // the middle, which is stretched or tiled at paint time anyway. Without
    // a middle the ends meet.
    if (a.hi > a.lo)
        a.scaledSize = std::max({scaleBy(a.size, num, den), a.slo + shigh + 1, 1});
    else
        a.scaledSize = a.slo + shigh;
    a.shi = a.scaledSize - shigh;
    return a;
}

bool WholeFactor(int num, int den) { return den > 0 && num > 0 && num % den == 0; }

namespace {

inline int ch(uint32_t p, int s) { return int(p >> s) & 0xFF; }

}  // namespace

void ResampleRect(const PixelView& src, const PixelRect& sr, const PixelView& dst, const PixelRect& dr, bool nearest,
                  uint32_t key) {
    const int sw = sr.width(), sh = sr.height(), dw = dr.width(), dh = dr.height();
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
    key &= 0xFFFFFF;
    for (int y = 0; y < dh; ++y) {
        uint32_t* out = dst.row(dr.top + y) + dr.left;
        // Centre of the target pixel in source coordinates.
        const double fy = (y + 0.5) * sh / dh - 0.5;
        const int ny = std::clamp(int((int64_t(y) * 2 + 1) * sh / (int64_t(dh) * 2)), 0, sh - 1);
        for (int x = 0; x < dw; ++x) {
            const int nx = std::clamp(int((int64_t(x) * 2 + 1) * sw / (int64_t(dw) * 2)), 0, sw - 1);
            const uint32_t near = src.row(sr.top + ny)[sr.left + nx];
            if (nearest || (near & 0xFFFFFF) == key) {
                out[x] = near;
                continue;
            }
            const double fx = (x + 0.5) * sw / dw - 0.5;
            const int x0 = std::clamp(int(std::floor(fx)), 0, sw - 1), y0 = std::clamp(int(std::floor(fy)), 0, sh - 1);
            const int x1 = std::min(x0 + 1, sw - 1), y1 = std::min(y0 + 1, sh - 1);
            const double tx = std::clamp(fx - x0, 0.0, 1.0), ty = std::clamp(fy - y0, 0.0, 1.0);
            const uint32_t p[4] = {src.row(sr.top + y0)[sr.left + x0], src.row(sr.top + y0)[sr.left + x1],
                                   src.row(sr.top + y1)[sr.left + x0], src.row(sr.top + y1)[sr.left + x1]};
            const double w[4] = {(1 - tx) * (1 - ty), tx * (1 - ty), (1 - tx) * ty, tx * ty};
            double r = 0, g = 0, b = 0, sum = 0;
            for (int i = 0; i < 4; ++i) {
                // The key is not a colour: its neighbours are averaged
                // without it, so no pink creeps into an outline.
                if ((p[i] & 0xFFFFFF) == key) continue;
                r += w[i] * ch(p[i], 16);
                g += w[i] * ch(p[i], 8);
                b += w[i] * ch(p[i], 0);
                sum += w[i];
            }
            uint32_t c = near;
            if (sum > 0) {
                c = uint32_t(std::lround(r / sum)) << 16 | uint32_t(std::lround(g / sum)) << 8 |
                    uint32_t(std::lround(b / sum));
                // A mixed pixel that happens to equal the key would turn
                // transparent: one step off it.
                if (c == key) c ^= 1;
            }
            out[x] = c;
        }
    }
}

namespace {

struct StripCut {
    int frames = 1, fw = 0, fh = 0;
    ScaledAxis ax, ay;
    int64_t width = 0, height = 0;  // of the whole scaled strip
};

StripCut cutStrip(int width, int height, int frames, bool vertical, int left, int top, int right, int bottom, int num,
                  int den) {
    StripCut c;
    if (width <= 0 || height <= 0 || num <= 0 || den <= 0) return c;
    c.frames = frames < 1 ? 1 : frames;
    const int along = vertical ? height : width;
    if (along % c.frames != 0) c.frames = 1;
    c.fw = vertical ? width : width / c.frames;
    c.fh = vertical ? height / c.frames : height;
    c.ax = ScaleAxis(c.fw, left, right, num, den);
    c.ay = ScaleAxis(c.fh, top, bottom, num, den);
    c.width = vertical ? c.ax.scaledSize : int64_t(c.ax.scaledSize) * c.frames;
    c.height = vertical ? int64_t(c.ay.scaledSize) * c.frames : c.ay.scaledSize;
    return c;
}

}  // namespace

int64_t ScaledStripPixels(int width, int height, int frames, bool vertical, int left, int top, int right, int bottom,
                          int num, int den) {
    const StripCut c = cutStrip(width, height, frames, vertical, left, top, right, bottom, num, den);
    return c.width * c.height;
}

PixelImage ScaleStrip(const PixelView& src, int frames, bool vertical, int left, int top, int right, int bottom,
                      int num, int den, uint32_t key) {
    if (src.empty()) return {};
    const StripCut c = cutStrip(src.width, src.height, frames, vertical, left, top, right, bottom, num, den);
    // A strip whose sides would not fit an int is no image at all.
    if (c.width <= 0 || c.height <= 0 || c.width > INT_MAX || c.height > INT_MAX) return {};
    if (uint64_t(c.width) * uint64_t(c.height) > SIZE_MAX / sizeof(uint32_t)) return {};
    frames = c.frames;
    const int fw = c.fw, fh = c.fh;
    const ScaledAxis& ax = c.ax;
    const ScaledAxis& ay = c.ay;
    const int ow = ax.scaledSize, oh = ay.scaledSize;
    PixelImage out(int(c.width), int(c.height));
    PixelView dv = out.view();
    const bool nearest = WholeFactor(num, den);
    const int sx[4] = {0, ax.lo, ax.hi, ax.size}, dx[4] = {0, ax.slo, ax.shi, ax.scaledSize};
    const int sy[4] = {0, ay.lo, ay.hi, ay.size}, dy[4] = {0, ay.slo, ay.shi, ay.scaledSize};
    for (int f = 0; f < frames; ++f) {
        const int ox = vertical ? 0 : f * fw, oy = vertical ? f * fh : 0;
        const int tx = vertical ? 0 : f * ow, ty = vertical ? f * oh : 0;
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 3; ++i) {
                const PixelRect s{ox + sx[i], oy + sy[j], ox + sx[i + 1], oy + sy[j + 1]};
                const PixelRect d{tx + dx[i], ty + dy[j], tx + dx[i + 1], ty + dy[j + 1]};
                if (d.empty()) continue;
                if (s.empty()) continue;
                ResampleRect(src, s, dv, d, nearest, key);
            }
    }
    return out;
}

}  // namespace qs
