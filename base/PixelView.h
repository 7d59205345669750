#pragma once
// The common currency of every pixel routine: a view of 32-bit pixels laid out
// like a top-down DIB section (bytes B, G, R, X in memory, 0x00RRGGBB as a
// uint32_t on little-endian machines). Portable code works on views; the
// Windows bitmap class hands out a view of its own DIB bits, so the same
// routines run natively in tests and on real bitmaps.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qs {

struct PixelView {
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;  // bytes from one row to the next
    uint8_t* bits = nullptr;

    bool empty() const { return width <= 0 || height <= 0 || bits == nullptr; }
    uint32_t* row(int y) const { return reinterpret_cast<uint32_t*>(bits + stride * y); }
    uint32_t& at(int x, int y) const { return row(y)[x]; }
};

// An owned block of pixels with a view over it.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down, no padding

    PixelImage() = default;
    PixelImage(int w, int h, uint32_t fill = 0)
        : width(w), height(h), pixels(std::size_t(w > 0 ? w : 0) * std::size_t(h > 0 ? h : 0), fill) {}
    bool empty() const { return pixels.empty(); }
    uint32_t at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    uint32_t& at(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    PixelView view() {
        return PixelView{width, height, std::ptrdiff_t(width) * 4, reinterpret_cast<uint8_t*>(pixels.data())};
    }
};

// A rectangle in pixel coordinates, right and bottom exclusive (like RECT).
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    PixelRect intersect(const PixelRect& o) const {
        PixelRect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
                    right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
        return r;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// 0x00RRGGBB pixel <-> 0x00BBGGRR colour number (COLORREF order).
constexpr uint32_t pixelToColour(uint32_t p) { return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF); }
constexpr uint32_t colourToPixel(uint32_t c) { return pixelToColour(c); }

}  // namespace qs
