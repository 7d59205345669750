#pragma once
// The bitmaps the program carries as resources: track-bar grooves used when a
// skin has none, the monochrome window-menu glyphs, and the media-player
// button glyphs (olive is their transparent colour).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "Raster.h"

namespace qs::gen {

struct BuiltinBitmap {
    std::string resource;  // resource name, e.g. TRACK, EN_MPPLAY
    std::string file;      // file name, lower case
    PixelImage image;
    int bits;              // 1 (black and white) or 4 (the 16 classic colours)
};

inline constexpr int kMediaGlyphW = 16, kMediaGlyphH = 16;

std::vector<BuiltinBitmap> builtinBitmaps();

// Indexed BMP files: each pixel is mapped to the nearest palette entry.
std::vector<uint8_t> writeBmpIndexed(const PixelImage& img, std::span<const Px> palette, int bits);
// The 16 classic colours (black, maroon, green, olive, navy, purple, teal,
// silver, grey, red, lime, yellow, blue, fuchsia, aqua, white).
std::span<const Px> classicPalette();

// Writes every built-in bitmap and a resource script naming them into `dir`.
std::string writeBuiltinFolder(const std::string& dir);

}  // namespace qs::gen
