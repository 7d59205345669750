#pragma once
// An encoder for BMP test files that shares no code with the reader: every
// header variant, depth, palette, row order and RLE form the reader claims to
// handle, written the plain way. Used by the native and Windows BMP tests and
// by the fuzz seed corpus.
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "PixelView.h"

namespace qs::testbmp {

struct BmpFormat {
    int bpp = 24;
    uint32_t compression = 0;  // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    bool topDown = false;
    uint32_t headerSize = 40;  // 12, 40, 52, 56, 108, 124
    uint32_t clrUsed = 0;      // 0: a full palette for the depth
    uint32_t masks[3] = {0, 0, 0};  // bit fields: red, green, blue
};

inline void le16(std::vector<uint8_t>& o, uint32_t v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
inline void le32(std::vector<uint8_t>& o, uint32_t v) {
    le16(o, v);
    le16(o, v >> 16);
}
inline void set32(std::vector<uint8_t>& o, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) o[at + i] = uint8_t(v >> (8 * i));
}

// Packs one channel of 0x00RRGGBB into a bit field (keeps the top bits).
inline uint32_t packField(uint32_t value8, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0, bits = 0;
    while (!((mask >> shift) & 1)) ++shift;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1)) ++bits;
    uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
    return (v << shift) & mask;
}

// The value a reader must produce for an 8-bit channel stored in `bits` bits.
inline uint32_t widen(uint32_t value8, int bits) {
    if (bits >= 8) return value8;
    uint32_t v = value8 >> (8 - bits), out = 0;
    int have = 0;
    while (have < 8) {
        out = (out << bits) | v;
        have += bits;
    }
    return out >> (have - 8);
}

// Palette indexes of a row for RLE: encoded runs of equal pixels, literal
// stretches (at least 3 pixels) for the rest, end of line after each row.
inline void rleRow(std::vector<uint8_t>& o, const std::vector<uint8_t>& idx, bool four) {
    size_t x = 0;
    const size_t w = idx.size();
    while (x < w) {
        size_t run = 1;
        while (x + run < w && run < 255 && idx[x + run] == idx[x]) ++run;
        if (run >= 2 || w - x < 3) {
            o.push_back(uint8_t(run));
            o.push_back(four ? uint8_t((idx[x] << 4) | idx[x]) : idx[x]);
            x += run;
            continue;
        }
        size_t lit = 1;
        while (x + lit < w && lit < 255 && !(x + lit + 1 < w && idx[x + lit] == idx[x + lit + 1])) ++lit;
        if (lit < 3) lit = (w - x >= 3) ? 3 : lit;
        o.push_back(0);
        o.push_back(uint8_t(lit));
        size_t bytes = 0;
        if (four) {
            for (size_t i = 0; i < lit; i += 2, ++bytes)
                o.push_back(uint8_t((idx[x + i] << 4) | (i + 1 < lit ? idx[x + i + 1] : 0)));
        } else {
            for (size_t i = 0; i < lit; ++i, ++bytes) o.push_back(idx[x + i]);
        }
        if (bytes & 1) o.push_back(0);
        x += lit;
    }
    o.push_back(0);
    o.push_back(0);
}

inline std::vector<uint8_t> encode(const PixelImage& img, const BmpFormat& s) {
    const bool core = s.headerSize == 12;
    const bool paletted = s.bpp <= 8;
    std::vector<uint32_t> palette;
    std::map<uint32_t, uint8_t> indexOf;
    if (paletted) {
        for (uint32_t p : img.pixels)
            if (!indexOf.count(p)) {
                indexOf[p] = uint8_t(palette.size());
                palette.push_back(p);
            }
        const size_t full = size_t(1) << s.bpp;
        if (palette.size() > full) throw std::runtime_error("too many colours for the depth");
        const size_t want = s.clrUsed ? s.clrUsed : full;
        while (palette.size() < want) palette.push_back(0x00123456);
    }

    std::vector<uint8_t> o;
    o.push_back('B');
    o.push_back('M');
    le32(o, 0);  // file size, set below
    le32(o, 0);
    le32(o, 0);  // pixel offset, set below
    le32(o, s.headerSize);
    if (core) {
        le16(o, uint32_t(img.width));
        le16(o, uint32_t(img.height));
        le16(o, 1);
        le16(o, uint32_t(s.bpp));
    } else {
        le32(o, uint32_t(img.width));
        le32(o, uint32_t(s.topDown ? -img.height : img.height));
        le16(o, 1);
        le16(o, uint32_t(s.bpp));
        le32(o, s.compression);
        le32(o, 0);  // image size, set below
        le32(o, 2835);
        le32(o, 2835);
        le32(o, paletted ? uint32_t(palette.size()) : 0);
        le32(o, 0);
        const size_t extra = s.headerSize - 40;
        const size_t maskAt = o.size();
        o.resize(o.size() + extra, 0);
        if (extra >= 12 && s.compression == 3)
            for (int i = 0; i < 3; ++i) set32(o, maskAt + 4 * i, s.masks[i]);
        if (s.headerSize >= 108) set32(o, maskAt + 16, 0x73524742);  // colour space: sRGB
    }
    if (s.headerSize == 40 && s.compression == 3)
        for (uint32_t m : s.masks) le32(o, m);
    for (uint32_t p : palette) {
        o.push_back(uint8_t(p));
        o.push_back(uint8_t(p >> 8));
        o.push_back(uint8_t(p >> 16));
        if (!core) o.push_back(0);
    }
    const size_t offset = o.size();

    uint32_t m[3] = {s.masks[0], s.masks[1], s.masks[2]};
    if (s.compression != 3 && s.bpp == 16) m[0] = 0x7C00, m[1] = 0x3E0, m[2] = 0x1F;
    if (s.compression != 3 && s.bpp == 32) m[0] = 0xFF0000, m[1] = 0xFF00, m[2] = 0xFF;
    const size_t stride = ((size_t(img.width) * s.bpp + 31) / 32) * 4;
    for (int r = 0; r < img.height; ++r) {
        const int y = s.topDown ? r : img.height - 1 - r;
        std::vector<uint8_t> idx;
        if (paletted)
            for (int x = 0; x < img.width; ++x) idx.push_back(indexOf[img.at(x, y)]);
        if (s.compression == 1 || s.compression == 2) {
            rleRow(o, idx, s.compression == 2);
            continue;
        }
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < img.width; ++x) {
            const uint32_t p = img.at(x, y);
            switch (s.bpp) {
                case 1: row[x / 8] |= uint8_t(idx[x] << (7 - x % 8)); break;
                case 4: row[x / 2] |= uint8_t(x % 2 ? idx[x] : idx[x] << 4); break;
                case 8: row[x] = idx[x]; break;
                case 24:
                    row[3 * x] = uint8_t(p);
                    row[3 * x + 1] = uint8_t(p >> 8);
                    row[3 * x + 2] = uint8_t(p >> 16);
                    break;
                case 16:
                case 32: {
                    uint32_t v = packField((p >> 16) & 0xFF, m[0]) | packField((p >> 8) & 0xFF, m[1]) |
                                 packField(p & 0xFF, m[2]);
                    for (int b = 0; b < s.bpp / 8; ++b) row[size_t(x) * (s.bpp / 8) + b] = uint8_t(v >> (8 * b));
                    break;
                }
            }
        }
        o.insert(o.end(), row.begin(), row.end());
    }
    if (s.compression == 1 || s.compression == 2) {
        o.push_back(0);
        o.push_back(1);
    }
    set32(o, 2, uint32_t(o.size()));
    set32(o, 10, uint32_t(offset));
    if (!core) set32(o, 34, uint32_t(o.size() - offset));
    return o;
}

// A deterministic image that the depth can hold exactly: paletted depths get
// at most 2^bpp colours (in horizontal runs, so RLE has runs and literals),
// 16 bits gets 5/6-bit channels widened the way a reader must widen them.
inline PixelImage sample(int w, int h, const BmpFormat& s, uint32_t seed = 1) {
    PixelImage img(w, h);
    uint32_t st = seed * 2654435761u + 12345;
    auto next = [&] {
        st = st * 1103515245u + 12345u;
        return st >> 8;
    };
    const int colours = s.bpp <= 8 ? (s.bpp == 1 ? 2 : s.bpp == 4 ? 16 : 40) : 0;
    std::vector<uint32_t> pal;
    for (int i = 0; i < colours; ++i) pal.push_back(next() & 0xFFFFFF);
    uint32_t m[3] = {s.masks[0], s.masks[1], s.masks[2]};
    if (s.compression != 3 && s.bpp == 16) m[0] = 0x7C00, m[1] = 0x3E0, m[2] = 0x1F;
    auto bitsOf = [](uint32_t mask) {
        int n = 0;
        for (; mask; mask >>= 1) n += mask & 1;
        return n;
    };
    for (int y = 0; y < h; ++y) {
        uint32_t cur = 0;
        for (int x = 0; x < w; ++x) {
            if (x == 0 || next() % 3 == 0) cur = next();
            uint32_t p;
            if (colours) {
                p = pal[cur % uint32_t(colours)];
            } else if (s.bpp == 16) {
                p = (widen((cur >> 16) & 0xFF, bitsOf(m[0])) << 16) | (widen((cur >> 8) & 0xFF, bitsOf(m[1])) << 8) |
                    widen(cur & 0xFF, bitsOf(m[2]));
            } else {
                p = cur & 0xFFFFFF;
            }
            img.at(x, y) = p;
        }
    }
    return img;
}

struct NamedFormat {
    std::string name;  // short enough for a file name
    BmpFormat fmt;
};

// One of every layout the reader handles: each header size with each palette
// depth, the default and explicit bit fields (masks after the header and in
// it, channels in the usual and in swapped order), top-down rows, both RLE
// forms and a palette shorter than the depth allows.
inline std::vector<NamedFormat> everyFormat() {
    std::vector<NamedFormat> v;
    for (uint32_t hs : {12u, 40u, 108u, 124u})
        for (int bpp : {1, 4, 8, 24})
            v.push_back({"h" + std::to_string(hs) + "_" + std::to_string(bpp), {.bpp = bpp, .headerSize = hs}});
    for (int bpp : {16, 32}) v.push_back({"rgb" + std::to_string(bpp), {.bpp = bpp}});
    for (int bpp : {1, 8, 16, 24, 32}) v.push_back({"topdown" + std::to_string(bpp), {.bpp = bpp, .topDown = true}});
    v.push_back({"fields565", {.bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}}});
    v.push_back({"fields565_v3", {.bpp = 16, .compression = 3, .headerSize = 56, .masks = {0xF800, 0x07E0, 0x001F}}});
    v.push_back({"fields32", {.bpp = 32, .compression = 3, .masks = {0xFF0000, 0xFF00, 0xFF}}});
    // Red in the low byte: the masks must be honoured, not assumed.
    v.push_back({"fields32_v5", {.bpp = 32, .compression = 3, .headerSize = 124, .masks = {0xFF, 0xFF00, 0xFF0000}}});
    v.push_back({"rle8", {.bpp = 8, .compression = 1}});
    v.push_back({"rle4", {.bpp = 4, .compression = 2}});
    v.push_back({"palette40", {.bpp = 8, .clrUsed = 40}});
    return v;
}

}  // namespace qs::testbmp
