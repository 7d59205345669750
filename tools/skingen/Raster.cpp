#include "Raster.h"

#include <algorithm>
#include <cmath>

namespace qs::gen {

namespace {
// sqrt is exact in IEEE arithmetic, unlike hypot, whose last bit differs
// between C libraries: the same skin must come out of every build.
double length(double x, double y) { return std::sqrt(x * x + y * y); }
int clampByte(double v) { return int(std::lround(std::clamp(v, 0.0, 255.0))); }
}  // namespace

Px safe(Px c) { return c == kMagenta ? rgb(254, 0, 255) : c; }

Px mix(Px a, Px b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return safe(rgb(clampByte(pr(a) + (pr(b) - pr(a)) * t), clampByte(pg(a) + (pg(b) - pg(a)) * t),
                    clampByte(pb(a) + (pb(b) - pb(a)) * t)));
}
Px lighten(Px c, double t) { return mix(c, rgb(255, 255, 255), t); }
Px darken(Px c, double t) { return mix(c, rgb(0, 0, 0), t); }

// --- distance functions -------------------------------------------------------

Sdf sdRoundRect(double l, double t, double r, double b, double radius) {
    return sdRoundRect4(l, t, r, b, radius, radius, radius, radius);
}

Sdf sdRoundRect4(double l, double t, double r, double b, double tl, double tr, double br, double bl) {
    const double cx = (l + r) / 2, cy = (t + b) / 2, hx = (r - l) / 2, hy = (b - t) / 2;
    return [=](double x, double y) {
        const double px = x - cx, py = y - cy;
        const double rad = px < 0 ? (py < 0 ? tl : bl) : (py < 0 ? tr : br);
        const double qx = std::abs(px) - hx + rad, qy = std::abs(py) - hy + rad;
        const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - rad;
    };
}

Sdf sdCircle(double cx, double cy, double radius) {
    return [=](double x, double y) { return length(x - cx, y - cy) - radius; };
}

namespace {
double segmentDistance(double x, double y, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    double h = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
    h = std::clamp(h, 0.0, 1.0);
    return length(x - x0 - dx * h, y - y0 - dy * h);
}
}  // namespace

Sdf sdSegment(double x0, double y0, double x1, double y1, double halfWidth) {
    return [=](double x, double y) { return segmentDistance(x, y, x0, y0, x1, y1) - halfWidth; };
}

Sdf sdPolyline(std::vector<double> xy, double halfWidth) {
    return [xy = std::move(xy), halfWidth](double x, double y) {
        double d = 1e9;
        for (std::size_t i = 0; i + 3 < xy.size(); i += 2)
            d = std::min(d, segmentDistance(x, y, xy[i], xy[i + 1], xy[i + 2], xy[i + 3]));
        return d - halfWidth;
    };
}

Sdf sdPolygon(std::vector<double> xy) {
    return [xy = std::move(xy)](double x, double y) {
        const std::size_t n = xy.size() / 2;
        double d = 1e9;
        bool inside = false;
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const double xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            d = std::min(d, segmentDistance(x, y, xi, yi, xj, yj));
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside ? -d : d;
    };
}

Sdf sdUnion(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return std::min(a(x, y), b(x, y)); };
}
Sdf sdSubtract(Sdf a, Sdf b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf sdRing(Sdf s, double halfWidth) {
    return [s = std::move(s), halfWidth](double x, double y) { return std::abs(s(x, y)) - halfWidth; };
}

// --- brushes --------------------------------------------------------------------

Brush solid(Px c) {
    return [c](int, int) { return c; };
}
Brush vgrad(int top, int bottom, Px a, Px b) {
    return [=](int, int y) { return bottom == top ? a : mix(a, b, double(y - top) / double(bottom - top)); };
}
Brush hgrad(int left, int right, Px a, Px b) {
    return [=](int x, int) { return right == left ? a : mix(a, b, double(x - left) / double(right - left)); };
}

// --- raster ---------------------------------------------------------------------

Px Raster::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= FImg.width || y >= FImg.height) return kMagenta;
    return FImg.at(x, y);
}

void Raster::set(int x, int y, Px c) {
    if (x < 0 || y < 0 || x >= FImg.width || y >= FImg.height) return;
    FImg.at(x, y) = c;
}

void Raster::blend(int x, int y, Px c, double a) {
    if (x < 0 || y < 0 || x >= FImg.width || y >= FImg.height || a <= 0) return;
    Px& d = FImg.at(x, y);
    if (a >= 1) {
        d = c;
        return;
    }
    d = mix(d == kMagenta ? FMatte : d, c, a);
}

void Raster::fill(PixelRect r, Px c) {
    r = r.intersect({0, 0, FImg.width, FImg.height});
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) FImg.at(x, y) = c;
}

void Raster::fill(PixelRect r, const Brush& b) {
    r = r.intersect({0, 0, FImg.width, FImg.height});
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) FImg.at(x, y) = b(x, y);
}

void Raster::gradientV(PixelRect r, Px top, Px bottom) { fill(r, vgrad(r.top, r.bottom - 1, top, bottom)); }
void Raster::gradientH(PixelRect r, Px left, Px right) { fill(r, hgrad(r.left, r.right - 1, left, right)); }

void Raster::hline(int x0, int x1, int y, Px c) { fill({x0, y, x1, y + 1}, c); }
void Raster::vline(int x, int y0, int y1, Px c) { fill({x, y0, x + 1, y1}, c); }

void Raster::frame(PixelRect r, Px c) {
    if (r.empty()) return;
    hline(r.left, r.right, r.top, c);
    hline(r.left, r.right, r.bottom - 1, c);
    vline(r.left, r.top, r.bottom, c);
    vline(r.right - 1, r.top, r.bottom, c);
}

void Raster::bevel(PixelRect r, Px light, Px dark) {
    if (r.empty()) return;
    hline(r.left, r.right, r.top, light);
    vline(r.left, r.top, r.bottom, light);
    hline(r.left, r.right, r.bottom - 1, dark);
    vline(r.right - 1, r.top, r.bottom, dark);
}

void Raster::shape(const Sdf& s, const Brush& b, double alpha) { shape({0, 0, FImg.width, FImg.height}, s, b, alpha); }

void Raster::shape(PixelRect clip, const Sdf& s, const Brush& b, double alpha) {
    clip = clip.intersect({0, 0, FImg.width, FImg.height});
    for (int y = clip.top; y < clip.bottom; ++y)
        for (int x = clip.left; x < clip.right; ++x) {
            const double d = s(x + 0.5, y + 0.5);
            const double cover = std::clamp(0.5 - d, 0.0, 1.0);
            if (cover > 0.004) blend(x, y, b(x, y), cover * alpha);
        }
}

void Raster::solidShape(const Sdf& s, Px c) {
    for (int y = 0; y < FImg.height; ++y)
        for (int x = 0; x < FImg.width; ++x)
            if (s(x + 0.5, y + 0.5) <= 0) FImg.at(x, y) = c;
}

void Raster::blit(const PixelImage& src, int x, int y) {
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i) set(x + i, y + j, src.at(i, j));
}

void Raster::blitKeyed(const PixelImage& src, int x, int y, Px key) {
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i)
            if (src.at(i, j) != key) set(x + i, y + j, src.at(i, j));
}

// --- images ---------------------------------------------------------------------

PixelImage makeImage(int w, int h, Px fill) { return PixelImage(w, h, fill); }

PixelImage crop(const PixelImage& src, PixelRect r) {
    PixelImage out(r.width(), r.height(), kMagenta);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const int sx = r.left + x, sy = r.top + y;
            if (sx >= 0 && sy >= 0 && sx < src.width && sy < src.height) out.at(x, y) = src.at(sx, sy);
        }
    return out;
}

PixelImage hstack(const std::vector<PixelImage>& frames) {
    int w = 0;
    const int h = frames.empty() ? 0 : frames.front().height;
    for (const auto& f : frames) w += f.width;
    PixelImage out(w, h, kMagenta);
    Raster r(out);
    int x = 0;
    for (const auto& f : frames) {
        r.blit(f, x, 0);
        x += f.width;
    }
    return out;
}

PixelImage vstack(const std::vector<PixelImage>& frames) {
    int h = 0;
    const int w = frames.empty() ? 0 : frames.front().width;
    for (const auto& f : frames) h += f.height;
    PixelImage out(w, h, kMagenta);
    Raster r(out);
    int y = 0;
    for (const auto& f : frames) {
        r.blit(f, 0, y);
        y += f.height;
    }
    return out;
}

PixelImage mirrored(PixelImage img) {
    for (int y = 0; y < img.height; ++y)
        std::reverse(img.pixels.begin() + std::ptrdiff_t(y) * img.width,
                     img.pixels.begin() + std::ptrdiff_t(y + 1) * img.width);
    return img;
}

PixelImage flipped(PixelImage img) {
    for (int y = 0; y < img.height / 2; ++y)
        for (int x = 0; x < img.width; ++x) std::swap(img.at(x, y), img.at(x, img.height - 1 - y));
    return img;
}

PixelImage turnedRight(PixelImage img) {
    PixelImage out(img.height, img.width);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) out.at(img.height - 1 - y, x) = img.at(x, y);
    return out;
}

namespace {
// Nearest-pixel stretch of src rectangle s onto dst rectangle d.
void stretch(const PixelImage& src, PixelRect s, PixelImage& dst, PixelRect d) {
    if (s.empty() || d.empty()) return;
    for (int y = d.top; y < d.bottom; ++y) {
        const int sy = s.top + (y - d.top) * s.height() / d.height();
        for (int x = d.left; x < d.right; ++x) {
            const int sx = s.left + (x - d.left) * s.width() / d.width();
            if (x >= 0 && y >= 0 && x < dst.width && y < dst.height) dst.at(x, y) = src.at(sx, sy);
        }
    }
}
void tile(const PixelImage& src, PixelRect s, PixelImage& dst, PixelRect d) {
    if (s.empty() || d.empty()) return;
    for (int y = d.top; y < d.bottom; ++y)
        for (int x = d.left; x < d.right; ++x)
            dst.at(x, y) = src.at(s.left + (x - d.left) % s.width(), s.top + (y - d.top) % s.height());
}
}  // namespace

PixelImage nineSlice(const PixelImage& strip, int frames, int index, bool stacked, Margins m, bool tiled, int w,
                     int h) {
    PixelImage out(std::max(w, 0), std::max(h, 0), kMagenta);
    if (frames < 1 || strip.empty() || out.empty()) return out;
    const int fw = stacked ? strip.width : strip.width / frames;
    const int fh = stacked ? strip.height / frames : strip.height;
    const int ox = stacked ? 0 : fw * (index - 1), oy = stacked ? fh * (index - 1) : 0;
    int L = m.left, T = m.top, R = m.right, B = m.bottom;
    if (w < L + R) L = R = 0;
    if (h < T + B) T = B = 0;
    stretch(strip, {ox, oy, ox + L, oy + T}, out, {0, 0, L, T});
    stretch(strip, {ox, oy + fh - B, ox + L, oy + fh}, out, {0, h - B, L, h});
    stretch(strip, {ox + fw - R, oy, ox + fw, oy + T}, out, {w - R, 0, w, T});
    stretch(strip, {ox, oy + T, ox + L, oy + fh - B}, out, {0, T, L, h - B});
    stretch(strip, {ox + L, oy, ox + fw - R, oy + T}, out, {L, 0, w - R, T});
    const PixelRect cs{ox + L, oy + T, ox + fw - R, oy + fh - B}, cd{L, T, w - R, h - B};
    if (tiled)
        tile(strip, cs, out, cd);
    else
        stretch(strip, cs, out, cd);
    stretch(strip, {ox + fw - R, oy + fh - B, ox + fw, oy + fh}, out, {w - R, h - B, w, h});
    stretch(strip, {ox + fw - R, oy + T, ox + fw, oy + fh - B}, out, {w - R, T, w, h - B});
    stretch(strip, {ox + L, oy + fh - B, ox + fw - R, oy + fh}, out, {L, h - B, w - R, h});
    return out;
}

}  // namespace qs::gen
