#pragma once
// Sample inputs for the LZH and archive tests, the benchmark and the fuzz
// seeds: random bytes, INI-like text, and 24-bit bitmaps drawn the way skin
// bitmaps are (frame strips, gradients, magenta backgrounds, small glyphs).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace qs::testdata {

struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return uint32_t(s >> 16);
    }
    uint32_t below(uint32_t n) { return next() % n; }
};

inline std::vector<uint8_t> randomBytes(std::size_t n, uint64_t seed) {
    Rng r(seed);
    std::vector<uint8_t> v(n);
    for (auto& b : v) b = uint8_t(r.next());
    return v;
}

inline void putLe(std::vector<uint8_t>& v, uint32_t x, int bytes) {
    for (int i = 0; i < bytes; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

// A bottom-up 24-bit BMP; pixel(x, y) gives 0xRRGGBB with y = 0 at the top.
template <class Pixel>
std::vector<uint8_t> bmp24(int w, int h, Pixel pixel) {
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> v;
    v.push_back('B');
    v.push_back('M');
    putLe(v, uint32_t(54 + stride * h), 4);
    putLe(v, 0, 4);
    putLe(v, 54, 4);
    putLe(v, 40, 4);
    putLe(v, uint32_t(w), 4);
    putLe(v, uint32_t(h), 4);
    putLe(v, 1, 2);
    putLe(v, 24, 2);
    putLe(v, 0, 4);
    putLe(v, uint32_t(stride * h), 4);
    putLe(v, 2835, 4);
    putLe(v, 2835, 4);
    putLe(v, 0, 4);
    putLe(v, 0, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) putLe(v, pixel(x, y), 3);
        for (int p = w * 3; p < stride; ++p) v.push_back(0);
    }
    return v;
}

inline uint32_t mix(uint32_t a, uint32_t b, int num, int den) {
    uint32_t r = 0;
    for (int s = 0; s < 24; s += 8) {
        const int ca = int(a >> s & 0xFF), cb = int(b >> s & 0xFF);
        r |= uint32_t(ca + (cb - ca) * num / (den ? den : 1)) << s;
    }
    return r;
}

constexpr uint32_t kMagenta = 0xFF00FF;

// A strip of `frames` button states: rounded border, vertical gradient,
// magenta corners, a touch of anti-aliasing noise as drawn skins have.
inline std::vector<uint8_t> buttonStrip(int fw, int h, int frames, uint32_t top, uint32_t bottom, uint64_t seed) {
    Rng r(seed);
    std::vector<uint32_t> noise(std::size_t(fw) * h);
    for (auto& n : noise) n = r.below(8) == 0 ? r.below(3) : 0;
    return bmp24(fw * frames, h, [&](int x, int y) -> uint32_t {
        const int f = x / fw, fx = x % fw;
        const bool corner = (fx < 2 || fx >= fw - 2) && (y < 2 || y >= h - 2);
        if (corner) return kMagenta;
        if (fx == 0 || fx == fw - 1 || y == 0 || y == h - 1) return mix(0x1C5180, 0x003C74, f, frames);
        uint32_t c = mix(top, bottom, y, h);
        c = mix(c, 0xFFFFFF, f, frames * 3);
        return c + noise[std::size_t(y) * fw + fx] * 0x010101;
    });
}

// A frame piece: rounded magenta corners, a vertical gradient with the light
// dithering that drawn gradients carry, and a highlight.
inline std::vector<uint8_t> frameBitmap(int w, int h, uint32_t a, uint32_t b) {
    Rng r(uint64_t(w) * 131 + h);
    return bmp24(w, h, [&](int x, int y) -> uint32_t {
        if (y < 4 && (x < 6 - y || x >= w - 6 + y)) return kMagenta;
        uint32_t c = mix(a, b, y, h);
        if (x > 24 && x < 40 && y > 6 && y < h - 6) c = mix(c, 0xFFFFFF, x - 24, 24);
        return r.below(3) == 0 ? c ^ 0x010101 : c;
    });
}

inline std::vector<uint8_t> glyphBitmap(int size, int count, uint64_t seed) {
    Rng r(seed);
    std::vector<uint8_t> mask(std::size_t(size) * size * count);
    for (int g = 0; g < count; ++g)
        for (int y = 2; y < size - 2; ++y)
            for (int x = 2; x < size - 2; ++x)
                mask[(std::size_t(g) * size + y) * size + x] = (std::abs(x - y) < 2 + g % 3) || r.below(11) == 0;
    return bmp24(size * count, size, [&](int x, int y) -> uint32_t {
        const int g = x / size;
        return mask[(std::size_t(g) * size + y) * size + x % size] ? mix(0x000000, 0x315E9F, g, count) : kMagenta;
    });
}

inline std::string iniText(std::size_t approx) {
    static const char* const sections[] = {"Form", "Button", "CheckBox", "Radio", "Menu", "Tab", "ScrollBar",
                                           "Combo", "Header", "Progress", "Edit", "Panel"};
    static const char* const keys[] = {"Image", "Margin", "Trans", "Tile", "FontColor", "Frame", "Style", "Align"};
    std::string s = "; generated sample description\r\n";
    Rng r(7);
    for (int n = 0; s.size() < approx; ++n) {
        const std::string sec = sections[n % 12];
        s += "[" + sec + (n >= 12 ? std::to_string(n / 12) : "") + "]\r\n";
        for (const char* k : keys) {
            s += k;
            s += "=";
            if (std::string(k) == "Image")
                s += sec + ".bmp";
            else
                s += std::to_string(r.below(40)) + "," + std::to_string(r.below(40));
            s += "\r\n";
        }
        s += "\r\n";
    }
    return s;
}

inline std::vector<uint8_t> textLike(std::size_t n) {
    std::string s = iniText(n);
    s.resize(n);
    return {s.begin(), s.end()};
}

inline std::vector<uint8_t> bitmapLike(std::size_t n) {
    auto v = buttonStrip(64, 22, 5, 0xFDFDFD, 0xD6D6CE, n);
    while (v.size() < n) {
        auto more = frameBitmap(256, 30, 0x0058EE, 0x3D95FF);
        v.insert(v.end(), more.begin(), more.end());
    }
    v.resize(n);
    return v;
}

// A few hundred kilobytes of named files with the mix of a typical skin.
inline std::vector<std::pair<std::string, std::vector<uint8_t>>> skinLikeFiles() {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> f;
    f.emplace_back("FrameTop.bmp", frameBitmap(640, 32, 0x0A246A, 0xA6CAF0));
    f.emplace_back("FrameBottom.bmp", frameBitmap(640, 6, 0x0A246A, 0x3A6EA5));
    f.emplace_back("FrameLeft.bmp", bmp24(4, 800, [](int x, int y) { return mix(0x0A246A, 0x3A6EA5, x, 4); }));
    f.emplace_back("FrameRight.bmp", bmp24(4, 800, [](int x, int y) { return mix(0x3A6EA5, 0x0A246A, x, 4); }));
    f.emplace_back("button.bmp", buttonStrip(75, 23, 5, 0xFFFFFF, 0xD6D0C5, 1));
    f.emplace_back("button-toolbar.bmp", buttonStrip(96, 40, 5, 0xF4F3EE, 0xC1BDAE, 2));
    f.emplace_back("tabs.bmp", buttonStrip(60, 21, 2, 0xFCFCFE, 0xE3E1D8, 3));
    f.emplace_back("menu.bmp", buttonStrip(120, 18, 3, 0xFFFFFF, 0xEBEAE5, 4));
    f.emplace_back("header.bmp", buttonStrip(80, 18, 2, 0xEBEADB, 0xCBC7B8, 5));
    f.emplace_back("progress.bmp", buttonStrip(40, 16, 2, 0x2FB200, 0x9BE37E, 6));
    f.emplace_back("checkbox.bmp", glyphBitmap(13, 8, 7));
    f.emplace_back("radio.bmp", glyphBitmap(13, 8, 8));
    f.emplace_back("arrows.bmp", glyphBitmap(16, 16, 9));
    f.emplace_back("CloseButton.bmp", glyphBitmap(21, 4, 10));
    f.emplace_back("MaxButton.bmp", glyphBitmap(21, 4, 11));
    f.emplace_back("MinButton.bmp", glyphBitmap(21, 4, 12));
    f.emplace_back("hscroll_bar.bmp", buttonStrip(34, 17, 4, 0xC8D5FC, 0xB4C8F6, 13));
    f.emplace_back("vscroll_bar.bmp", buttonStrip(17, 34, 4, 0xC8D5FC, 0xB4C8F6, 14));
    f.emplace_back("sunkedge.bmp", frameBitmap(60, 60, 0x7F9DB9, 0xFFFFFF));
    const std::string ini = iniText(7000);
    f.emplace_back("sample.ini", std::vector<uint8_t>(ini.begin(), ini.end()));
    return f;
}

inline std::vector<uint8_t> skinLikeBlob() {
    std::vector<uint8_t> all;
    for (auto& [name, data] : skinLikeFiles()) all.insert(all.end(), data.begin(), data.end());
    return all;
}

}  // namespace qs::testdata
