#include "test_gallery_util.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace qs::test {

Image loadBmp(const std::wstring& path) {
    Image img;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return img;
    std::vector<unsigned char> bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    auto u32 = [&](size_t at) {
        uint32_t v;
        std::memcpy(&v, &bytes[at], 4);
        return v;
    };
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return img;
    const uint32_t offset = u32(10);
    const int32_t w = int32_t(u32(18)), h = int32_t(u32(22));
    const uint16_t bpp = uint16_t(bytes[28] | (bytes[29] << 8));
    if (bpp != 24 || w <= 0 || h <= 0 || w > 4096 || h > 4096) return img;
    const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    if (offset > bytes.size() || (bytes.size() - offset) / stride < size_t(h)) return img;
    img.width = w;
    img.height = h;
    img.pixels.resize(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = &bytes[offset + stride * size_t(h - 1 - y)];
        for (int x = 0; x < w; ++x)
            img.pixels[size_t(y) * w + x] = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
    }
    return img;
}

Image diffImage(const Image& a, const Image& b) {
    Image d;
    d.width = std::max(a.width, b.width);
    d.height = std::max(a.height, b.height);
    d.pixels.assign(size_t(d.width) * d.height, 0xFF0000);
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            const bool inA = x < a.width && y < a.height, inB = x < b.width && y < b.height;
            if (!inA || !inB || a.at(x, y) != b.at(x, y)) continue;
            // Equal pixels faded towards white, so the red ones stand out.
            const uint32_t p = a.at(x, y);
            auto fade = [](uint32_t c) { return 192 + c / 4; };
            d.pixels[size_t(y) * d.width + x] =
                fade((p >> 16) & 0xFF) << 16 | fade((p >> 8) & 0xFF) << 8 | fade(p & 0xFF);
        }
    return d;
}

}  // namespace qs::test
