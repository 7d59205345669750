#include "NineSlice.h"

#include <algorithm>
#include <cstring>

namespace qs {

namespace {

PixelRect rect(int l, int t, int r, int b) { return PixelRect{l, t, r, b}; }

void add(std::vector<SlicePiece>& out, const PixelRect& src, const PixelRect& dst, bool tile = false) {
    if (src.empty() || dst.empty()) return;
    out.push_back({src, dst, tile});
}

}  // namespace

PixelRect FrameInStrip(int stripWidth, int stripHeight, int count, int index, bool vertical) {
    if (stripWidth <= 0 || stripHeight <= 0) return {};
    if (count < 1) count = 1;
    index = std::clamp(index, 1, count);
    if (vertical) {
        const int fh = stripHeight / count;
        return rect(0, fh * (index - 1), stripWidth, fh * index);
    }
    const int fw = stripWidth / count;
    return rect(fw * (index - 1), 0, fw * index, stripHeight);
}

SliceMargins FitMargins(int width, int height, const PixelRect& frame, SliceMargins m) {
    m.left = std::max(m.left, 0);
    m.top = std::max(m.top, 0);
    m.right = std::max(m.right, 0);
    m.bottom = std::max(m.bottom, 0);
    // Summed in 64 bits: a skin may give margins near the int limit.
    const int64_t across = int64_t(m.left) + m.right, down = int64_t(m.top) + m.bottom;
    if (width < across || frame.width() < across) m.left = m.right = 0;
    if (height < down || frame.height() < down) m.top = m.bottom = 0;
    return m;
}

std::vector<SlicePiece> NineSlicePieces(int width, int height, const PixelRect& frame, SliceMargins margins,
                                        bool tileCentre) {
    std::vector<SlicePiece> out;
    if (width <= 0 || height <= 0 || frame.empty()) return out;
    const SliceMargins m = FitMargins(width, height, frame, margins);
    const int L = m.left, T = m.top, R = m.right, B = m.bottom;
    const int W = width, H = height;
    const int ox = frame.left, oy = frame.top, fw = frame.width(), fh = frame.height();
    out.reserve(9);
    add(out, rect(ox, oy, ox + L, oy + T), rect(0, 0, L, T));                                     // top-left
    add(out, rect(ox, oy + fh - B, ox + L, oy + fh), rect(0, H - B, L, H));                       // bottom-left
    add(out, rect(ox + fw - R, oy, ox + fw, oy + T), rect(W - R, 0, W, T));                       // top-right
    add(out, rect(ox, oy + T, ox + L, oy + fh - B), rect(0, T, L, H - B));                        // left edge
    add(out, rect(ox + L, oy, ox + fw - R, oy + T), rect(L, 0, W - R, T));                        // top edge
    add(out, rect(ox + L, oy + T, ox + fw - R, oy + fh - B), rect(L, T, W - R, H - B), tileCentre);  // centre
    add(out, rect(ox + fw - R, oy + fh - B, ox + fw, oy + fh), rect(W - R, H - B, W, H));         // bottom-right
    add(out, rect(ox + fw - R, oy + T, ox + fw, oy + fh - B), rect(W - R, T, W, H - B));          // right edge
    add(out, rect(ox + L, oy + fh - B, ox + fw - R, oy + fh), rect(L, H - B, W - R, H));          // bottom edge
    return out;
}

std::vector<SlicePiece> ThreeSliceTiledPieces(int width, int height, const PixelRect& frame, int left, int right) {
    std::vector<SlicePiece> out;
    if (width <= 0 || height <= 0 || frame.empty()) return out;
    left = std::max(left, 0);
    right = std::max(right, 0);
    const int ox = frame.left, oy = frame.top, fw = frame.width(), fh = frame.height();
    const int W = width, H = height;
    add(out, rect(ox, oy, ox + std::min(left, fw), oy + fh), rect(0, 0, left, H));
    const int m = fw - left - right;
    if (m > 0) {
        for (int x = left; x < W - right; x += m) {
            const int w = std::min(m, W - right - x);
            add(out, rect(ox + left, oy, ox + left + w, oy + fh), rect(x, 0, x + w, H));
        }
    }
    add(out, rect(ox + std::max(fw - right, 0), oy, ox + fw, oy + fh), rect(W - right, 0, W, H));
    return out;
}

std::vector<SlicePiece> ThreeSliceStretchedPieces(int width, int height, const PixelRect& frame, int left,
                                                  int right) {
    std::vector<SlicePiece> out;
    if (width <= 0 || height <= 0 || frame.empty()) return out;
    const int ox = frame.left, oy = frame.top, fw = frame.width(), fh = frame.height();
    const int W = width, H = height;
    left = std::max(left, 0);
    right = std::max(right, 0);
    if (W < fw || left + right > fw) {
        add(out, frame, rect(0, 0, W, H));
        return out;
    }
    add(out, rect(ox, oy, ox + left, oy + fh), rect(0, 0, left, H));
    add(out, rect(ox + left, oy, ox + fw - right, oy + fh), rect(left, 0, W - right, H));
    add(out, rect(ox + fw - right, oy, ox + fw, oy + fh), rect(W - right, 0, W, H));
    return out;
}

bool CopyPieces(const PixelView& dst, int x, int y, const PixelView& src, const std::vector<SlicePiece>& pieces) {
    if (dst.empty() || src.empty()) return false;
    const PixelRect inSrc{0, 0, src.width, src.height};
    for (const SlicePiece& p : pieces) {
        if (p.src.empty() || p.src.intersect(inSrc) != p.src) return false;
        if (!p.tile && (p.src.width() != p.dst.width() || p.src.height() != p.dst.height())) return false;
    }
    const PixelRect inDst{0, 0, dst.width, dst.height};
    for (const SlicePiece& p : pieces) {
        // Where the piece lands, clipped to the picture; in 64 bits, as a
        // piece's target may lie anywhere.
        const int64_t l = int64_t(p.dst.left) + x, t = int64_t(p.dst.top) + y;
        const int64_t r = int64_t(p.dst.right) + x, b = int64_t(p.dst.bottom) + y;
        const int64_t cl = std::max<int64_t>(l, 0), ct = std::max<int64_t>(t, 0);
        const int64_t cr = std::min<int64_t>(r, inDst.right), cb = std::min<int64_t>(b, inDst.bottom);
        if (cl >= cr || ct >= cb) continue;
        const int sw = p.src.width(), sh = p.src.height();
        for (int64_t dy = ct; dy < cb; ++dy) {
            // A tile's row repeats every sh rows counted from the piece's top.
            const int sy = p.src.top + int((dy - t) % sh);
            const uint32_t* from = src.row(sy) + p.src.left;
            uint32_t* to = dst.row(int(dy));
            int64_t dx = cl;
            int sx = int((dx - l) % sw);
            while (dx < cr) {
                const int64_t n = std::min<int64_t>(sw - sx, cr - dx);
                std::memcpy(to + dx, from + sx, std::size_t(n) * 4);
                dx += n;
                sx = 0;
            }
        }
    }
    return true;
}

PixelRect CentredRect(const PixelRect& area, int tileW, int tileH) {
    const int x = area.left + (area.width() - tileW) / 2;
    const int y = area.top + (area.height() - tileH) / 2;
    return rect(x, y, x + tileW, y + tileH);
}

std::vector<PixelRect> TilePositions(const PixelRect& dest, int tileW, int tileH) {
    std::vector<PixelRect> out;
    if (tileW <= 0 || tileH <= 0 || dest.empty()) return out;
    for (int y = dest.top; y < dest.bottom; y += tileH)
        for (int x = dest.left; x < dest.right; x += tileW) out.push_back(rect(x, y, x + tileW, y + tileH));
    return out;
}

}  // namespace qs
