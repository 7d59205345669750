#pragma once
// BMP files, read and written without the platform: skin bitmaps arrive as
// BMP entries of the skin archive and the Windows bitmap class loads from
// here. Reading accepts the core, info and V2..V5 headers, 1/4/8/16/24/32 bits
// per pixel, palettes, bit-field masks, bottom-up and top-down rows and
// RLE4/RLE8. Anything malformed reads as no image, never as a read outside
// the given bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "PixelView.h"

namespace qs {

enum class BmpError : uint8_t {
    None,
    Truncated,          // shorter than its headers
    NotBmp,             // no "BM" signature
    BadHeader,          // unknown header size, zero width, impossible values
    Unsupported,        // depth/compression pair we do not read (JPEG, PNG, 2 bpp, ...)
    TooLarge,           // dimensions beyond what a skin could use
    PaletteOutOfFile,   // palette or masks past the end of the bytes
    PixelsOutOfFile,    // pixel offset or rows past the end of the bytes
    BadRle,             // compressed data ends before the image does
};
const char* bmpErrorText(BmpError e);

struct BmpInfo {
    int width = 0;
    int height = 0;  // always positive; see topDown
    int bitCount = 0;
    uint32_t compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    bool topDown = false;
    int headerSize = 0;
    int paletteSize = 0;  // entries read
};

struct BmpResult {
    PixelImage image;  // 0x00RRGGBB, top-down; empty on error
    BmpInfo info;
    BmpError error = BmpError::None;
    explicit operator bool() const { return error == BmpError::None; }
};

// Largest image accepted: a side of at most this many pixels...
inline constexpr int kBmpMaxSide = 32768;
// ...and at most this many pixels in all (128 MiB of 32-bit pixels).
inline constexpr int64_t kBmpMaxPixels = int64_t(1) << 25;

// `maxPixels` lowers the size limit for callers with a budget of their own;
// a larger image reads as TooLarge before any pixel memory is taken.
BmpResult ReadBmp(std::span<const uint8_t> file, int64_t maxPixels = kBmpMaxPixels);

// A 24-bit bottom-up BMP file of the view (the fourth byte of each pixel is
// dropped). Empty for an empty view.
std::vector<uint8_t> WriteBmp24(const PixelView& v);

}  // namespace qs
