#include "PixelOps.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace qs {

void GrayBitmap(const PixelView& v) {
    if (v.empty()) return;
    for (int y = 0; y < v.height; ++y) {
        uint32_t* row = v.row(y);
        for (int x = 0; x < v.width; ++x) {
            const uint32_t p = row[x];
            const uint32_t g = (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3;
            row[x] = (g << 16) | (g << 8) | g;
        }
    }
}

void ReplaceMagenta(const PixelView& v, ColourNum c) {
    if (v.empty()) return;
    const uint32_t with = colourToPixel(uint32_t(c) & 0xFFFFFF);
    for (int y = 0; y < v.height; ++y) {
        uint32_t* row = v.row(y);
        for (int x = 0; x < v.width; ++x) {
            const uint32_t p = row[x] & 0xFFFFFF;
            row[x] = p == 0xFF00FF ? with : p;
        }
    }
}

void MirrorBitmap(const PixelView& v) {
    if (v.empty()) return;
    for (int y = 0; y < v.height; ++y) {
        uint32_t* row = v.row(y);
        std::reverse(row, row + v.width);
    }
}

void FlipBitmap(const PixelView& v) {
    if (v.empty()) return;
    const std::size_t bytes = std::size_t(v.width) * 4;
    std::vector<uint8_t> tmp(bytes);
    for (int top = 0, bottom = v.height - 1; top < bottom; ++top, --bottom) {
        std::memcpy(tmp.data(), v.row(top), bytes);
        std::memcpy(v.row(top), v.row(bottom), bytes);
        std::memcpy(v.row(bottom), tmp.data(), bytes);
    }
}

namespace {

bool turnable(const PixelView& src, const PixelView& dst) {
    return !src.empty() && !dst.empty() && dst.width == src.height && dst.height == src.width;
}

}  // namespace

bool RotateLeft(const PixelView& src, const PixelView& dst) {
    if (!turnable(src, dst)) return false;
    // New row Y is old column (oldwidth - 1 - Y), read top to bottom.
    for (int y = 0; y < dst.height; ++y) {
        uint32_t* out = dst.row(y);
        const int sx = src.width - 1 - y;
        for (int x = 0; x < dst.width; ++x) out[x] = src.at(sx, x);
    }
    return true;
}

bool RotateRight(const PixelView& src, const PixelView& dst) {
    if (!turnable(src, dst)) return false;
    // New row Y is old column Y, read bottom to top.
    for (int y = 0; y < dst.height; ++y) {
        uint32_t* out = dst.row(y);
        for (int x = 0; x < dst.width; ++x) out[x] = src.at(y, src.height - 1 - x);
    }
    return true;
}

namespace {

template <bool (*Turn)(const PixelView&, const PixelView&)>
void turnImage(PixelImage& img) {
    if (img.empty()) return;
    PixelImage turned(img.height, img.width);
    Turn(img.view(), turned.view());
    img = std::move(turned);
}

}  // namespace

void RotateLeft(PixelImage& img) { turnImage<static_cast<bool (*)(const PixelView&, const PixelView&)>(RotateLeft)>(img); }
void RotateRight(PixelImage& img) { turnImage<static_cast<bool (*)(const PixelView&, const PixelView&)>(RotateRight)>(img); }

}  // namespace qs
