#include "Bmp.h"

#include <algorithm>
#include <array>

namespace qs {

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
constexpr std::size_t kFileHeader = 14;

uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
void put16(std::vector<uint8_t>& o, uint32_t v) {
    o.push_back(uint8_t(v));
    o.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& o, uint32_t v) {
    put16(o, v & 0xFFFF);
    put16(o, v >> 16);
}

// One colour channel of a bit-field pixel, widened to 8 bits by repeating its
// bits (so 5-bit 31 becomes 255) or narrowed by keeping its top 8 bits.
struct Channel {
    int shift = 0;
    int bits = 0;

    explicit Channel(uint32_t mask) {
        if (!mask) return;
        while (!(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        while (mask & 1) {
            mask >>= 1;
            ++bits;
        }
    }
    uint32_t get(uint32_t px) const {
        if (bits == 0) return 0;
        uint32_t v = (px >> shift) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1));
        if (bits >= 8) return v >> (bits - 8);
        uint32_t out = 0;
        int have = 0;
        while (have < 8) {
            out = (out << bits) | v;
            have += bits;
        }
        return out >> (have - 8);
    }
};

struct Decoder {
    std::span<const uint8_t> file;
    BmpInfo info;
    std::array<uint32_t, 256> palette{};
    uint32_t masks[3] = {0, 0, 0};  // red, green, blue
    std::size_t pixelOffset = 0;

    BmpError parseHeaders();
    BmpError readRows(PixelImage& img) const;
    BmpError readRle(PixelImage& img) const;
    uint32_t colour(uint32_t index) const { return index < uint32_t(info.paletteSize) ? palette[index] : 0; }
};

BmpError Decoder::parseHeaders() {
    const std::size_t size = file.size();
    const uint8_t* d = file.data();
    if (size < kFileHeader + 4) return BmpError::Truncated;
    if (d[0] != 'B' || d[1] != 'M') return BmpError::NotBmp;
    const uint32_t offBits = u32(d + 10);
    const uint32_t hs = u32(d + 14);
    if (hs != 12 && hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124) return BmpError::BadHeader;
    if (size < kFileHeader + hs) return BmpError::Truncated;
    const uint8_t* h = d + kFileHeader;
    info.headerSize = int(hs);

    int64_t width, height;
    std::size_t entrySize = 4;
    uint32_t clrUsed = 0;
    if (hs == 12) {
        width = u16(h + 4);
        height = u16(h + 6);
        info.bitCount = u16(h + 10);
        info.compression = kRgb;
        entrySize = 3;
    } else {
        width = int32_t(u32(h + 4));
        height = int32_t(u32(h + 8));
        info.bitCount = u16(h + 14);
        info.compression = u32(h + 16);
        clrUsed = u32(h + 32);
    }
    if (width <= 0 || height == 0) return BmpError::BadHeader;
    info.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (width > kBmpMaxSide || height > kBmpMaxSide || width * height > kBmpMaxPixels) return BmpError::TooLarge;
    info.width = int(width);
    info.height = int(height);

    const int bpp = info.bitCount;
    const uint32_t c = info.compression;
    const bool ok = (c == kRgb && (bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) ||
                    (c == kRle8 && bpp == 8) || (c == kRle4 && bpp == 4) ||
                    (c == kBitFields && (bpp == 16 || bpp == 32));
    if (!ok || (hs == 12 && (bpp == 16 || bpp == 32))) return BmpError::Unsupported;
    // Compressed rows run bottom-up only.
    if (info.topDown && (c == kRle8 || c == kRle4)) return BmpError::BadHeader;

    std::size_t tableStart = kFileHeader + hs;
    if (c == kBitFields) {
        const uint8_t* m = h + 40;
        if (hs == 40) {
            if (size < tableStart + 12) return BmpError::PaletteOutOfFile;
            m = d + tableStart;
            tableStart += 12;
        }
        masks[0] = u32(m);
        masks[1] = u32(m + 4);
        masks[2] = u32(m + 8);
    } else if (bpp == 16) {
        masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else if (bpp == 32) {
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    }

    if (bpp <= 8) {
        const uint32_t full = 1u << bpp;
        const uint32_t count = (clrUsed == 0 || clrUsed > full) ? full : clrUsed;
        if ((size - tableStart) / entrySize < count) return BmpError::PaletteOutOfFile;
        const uint8_t* p = d + tableStart;
        for (uint32_t i = 0; i < count; ++i, p += entrySize)
            palette[i] = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        info.paletteSize = int(count);
        if (offBits == 0) tableStart += count * entrySize;
    }

    // A zero offset is taken to mean "right after the tables".
    pixelOffset = offBits == 0 ? tableStart : offBits;
    if (pixelOffset < kFileHeader + hs || pixelOffset > size) return BmpError::PixelsOutOfFile;
    return BmpError::None;
}

BmpError Decoder::readRows(PixelImage& img) const {
    const int bpp = info.bitCount;
    const std::size_t stride = ((std::size_t(info.width) * std::size_t(bpp) + 31) / 32) * 4;
    if ((file.size() - pixelOffset) / stride < std::size_t(info.height)) return BmpError::PixelsOutOfFile;

    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int row = 0; row < info.height; ++row) {
        const uint8_t* src = file.data() + pixelOffset + stride * std::size_t(row);
        const int y = info.topDown ? row : info.height - 1 - row;
        uint32_t* out = &img.at(0, y);
        switch (bpp) {
            case 1:
                for (int x = 0; x < info.width; ++x) out[x] = colour((src[x >> 3] >> (7 - (x & 7))) & 1);
                break;
            case 4:
                for (int x = 0; x < info.width; ++x)
                    out[x] = colour((x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4));
                break;
            case 8:
                for (int x = 0; x < info.width; ++x) out[x] = colour(src[x]);
                break;
            case 24:
                for (int x = 0; x < info.width; ++x, src += 3)
                    out[x] = (uint32_t(src[2]) << 16) | (uint32_t(src[1]) << 8) | src[0];
                break;
            case 32:
                if (masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF) {
                    for (int x = 0; x < info.width; ++x, src += 4) out[x] = u32(src) & 0xFFFFFF;
                    break;
                }
                [[fallthrough]];
            case 16:
                for (int x = 0; x < info.width; ++x) {
                    uint32_t px = bpp == 16 ? u16(src) : u32(src);
                    src += bpp / 8;
                    out[x] = (red.get(px) << 16) | (green.get(px) << 8) | blue.get(px);
                }
                break;
        }
    }
    return BmpError::None;
}

BmpError Decoder::readRle(PixelImage& img) const {
    const uint8_t* p = file.data() + pixelOffset;
    const uint8_t* end = file.data() + file.size();
    const bool four = info.compression == kRle4;
    // x and y may be pushed far outside by runs and deltas; they only ever
    // grow, and pixels outside the image are dropped.
    int64_t x = 0, y = 0;  // y counts rows from the bottom
    auto put = [&](uint32_t index) {
        if (x < info.width && y < info.height) img.at(int(x), info.height - 1 - int(y)) = colour(index);
        ++x;
    };
    while (y < info.height) {
        if (end - p < 2) return BmpError::BadRle;
        const uint8_t n = p[0], v = p[1];
        p += 2;
        if (n > 0) {
            for (int i = 0; i < n; ++i) put(four ? ((i & 1) ? (v & 0x0F) : (v >> 4)) : v);
            continue;
        }
        if (v == 0) {  // end of line
            x = 0;
            ++y;
        } else if (v == 1) {  // end of bitmap
            return BmpError::None;
        } else if (v == 2) {  // move right and up
            if (end - p < 2) return BmpError::BadRle;
            x += p[0];
            y += p[1];
            p += 2;
        } else {  // literal pixels, padded to an even byte count
            const std::size_t bytes = four ? (std::size_t(v) + 1) / 2 : v;
            const std::size_t padded = (bytes + 1) & ~std::size_t(1);
            if (std::size_t(end - p) < padded) return BmpError::BadRle;
            for (int i = 0; i < v; ++i) put(four ? ((i & 1) ? (p[i >> 1] & 0x0F) : (p[i >> 1] >> 4)) : p[i]);
            p += padded;
        }
    }
    // Every row was reached: a missing end-of-bitmap mark loses nothing.
    return BmpError::None;
}

}  // namespace

const char* bmpErrorText(BmpError e) {
    switch (e) {
        case BmpError::None: return "no error";
        case BmpError::Truncated: return "file shorter than its headers";
        case BmpError::NotBmp: return "not a BMP file";
        case BmpError::BadHeader: return "invalid BMP header";
        case BmpError::Unsupported: return "unsupported BMP format";
        case BmpError::TooLarge: return "BMP dimensions too large";
        case BmpError::PaletteOutOfFile: return "BMP palette or masks past the end of the file";
        case BmpError::PixelsOutOfFile: return "BMP pixels past the end of the file";
        case BmpError::BadRle: return "BMP compressed data ends early";
    }
    return "unknown BMP error";
}

BmpResult ReadBmp(std::span<const uint8_t> file, int64_t maxPixels) {
    BmpResult r;
    Decoder dec;
    dec.file = file;
    r.error = dec.parseHeaders();
    r.info = dec.info;
    if (r.error != BmpError::None) return r;
    if (int64_t(dec.info.width) * dec.info.height > maxPixels) {
        r.error = BmpError::TooLarge;
        return r;
    }
    PixelImage img(dec.info.width, dec.info.height, 0);
    const bool rle = dec.info.compression == kRle8 || dec.info.compression == kRle4;
    r.error = rle ? dec.readRle(img) : dec.readRows(img);
    if (r.error == BmpError::None) r.image = std::move(img);
    return r;
}

std::vector<uint8_t> WriteBmp24(const PixelView& v) {
    std::vector<uint8_t> o;
    if (v.empty()) return o;
    const uint64_t stride = ((uint64_t(v.width) * 3 + 3) / 4) * 4;
    const uint64_t image = stride * uint64_t(v.height);
    const uint64_t total = kFileHeader + 40 + image;
    if (total > 0xFFFFFFFFull) return o;
    o.reserve(std::size_t(total));
    o.push_back('B');
    o.push_back('M');
    put32(o, uint32_t(total));
    put32(o, 0);
    put32(o, kFileHeader + 40);
    put32(o, 40);
    put32(o, uint32_t(v.width));
    put32(o, uint32_t(v.height));  // positive: bottom-up rows
    put16(o, 1);
    put16(o, 24);
    put32(o, kRgb);
    put32(o, uint32_t(image));
    put32(o, 2835);  // 72 dpi
    put32(o, 2835);
    put32(o, 0);
    put32(o, 0);
    const std::size_t pad = std::size_t(stride - uint64_t(v.width) * 3);
    for (int y = v.height - 1; y >= 0; --y) {
        const uint32_t* row = v.row(y);
        for (int x = 0; x < v.width; ++x) {
            o.push_back(uint8_t(row[x]));
            o.push_back(uint8_t(row[x] >> 8));
            o.push_back(uint8_t(row[x] >> 16));
        }
        o.insert(o.end(), pad, 0);
    }
    return o;
}

}  // namespace qs
