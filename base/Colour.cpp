#include "Colour.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace qs {

// Defined by ColourSystemWin.cpp (asks the system) or ColourSystemDefault.cpp.
uint32_t platformSystemColour(int index);

namespace {
SystemColourSource g_source = &platformSystemColour;
}

uint32_t classicSystemColour(int index) {
    // The classic grey desktop scheme, 0x00BBGGRR.
    static constexpr uint32_t table[] = {
        0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
        0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
        0xE1FFFF, 0xB5B5B5, 0x800000, 0xF0CAA6, 0xC0C0C0, 0x6A240A, 0xC8D0D4,
    };
    if (index < 0 || index >= int(std::size(table))) return 0;
    return table[index];
}

SystemColourSource setSystemColourSource(SystemColourSource source) {
    SystemColourSource old = g_source;
    g_source = source ? source : &platformSystemColour;
    return old;
}

ColourNum resolveColour(ColourNum c) {
    if (!isSystemColour(c)) return c;
    return ColourNum(g_source(int(uint32_t(c) & 0xFF)) & 0xFFFFFF);
}

ColourNum MixColours(ColourNum a, ColourNum b, int weight) {
    a = resolveColour(a);
    b = resolveColour(b);
    const int64_t s = weight < 100 ? 100 : 1000;
    const int64_t w = weight;
    auto mix = [&](int64_t ca, int64_t cb) {
        // Truncating division, as the weights may exceed the scale and go negative.
        return uint32_t((cb * (s - w) + ca * w + s / 2) / s) & 0xFF;
    };
    const uint32_t ua = uint32_t(a), ub = uint32_t(b);
    uint32_t r = mix(ua & 0xFF, ub & 0xFF);
    uint32_t g = mix((ua >> 8) & 0xFF, (ub >> 8) & 0xFF);
    uint32_t bl = mix(ua >> 16, ub >> 16);
    return ColourNum(r | (g << 8) | (bl << 16));
}

int ColourSaturation(ColourNum c) {
    const int r = redOf(c), g = greenOf(c), b = blueOf(c);
    if (r < 160 && g < 160 && b < 160) return 200;
    const int mx = std::max({r, g, b});
    const int mn = std::min({r, g, b});
    // Exact rational rounding, half to even: floating point would decide the
    // ties (for example 255 / 170 = 1.5) by representation error.
    const int num = (mx - mn) * 255;
    int q = num / mx;
    const int twiceRem = 2 * (num % mx);
    if (twiceRem > mx || (twiceRem == mx && (q & 1))) ++q;
    return q;
}

ColourNum DeriveWindowColour(ColourNum face) {
    if (isSystemColour(face)) return syscolour::clWindow;
    const int r = redOf(face), g = greenOf(face), b = blueOf(face);
    const int grey = (r * 299 + g * 587 + b * 114) / 1000;
    // A trace of the face stays, so a tinted skin gets tinted content.
    if (grey >= 128) return rgbColour(255 - (255 - r) / 8, 255 - (255 - g) / 8, 255 - (255 - b) / 8);
    return rgbColour(r / 2, g / 2, b / 2);
}

namespace {
double luminance(ColourNum c) {
    c = resolveColour(c);
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(redOf(c)) + 0.7152 * lin(greenOf(c)) + 0.0722 * lin(blueOf(c));
}
}  // namespace

double ContrastRatio(ColourNum a, ColourNum b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ColourNum ContentTextColour(ColourNum window, ColourNum windowText, ColourNum buttonText) {
    window = resolveColour(window);
    windowText = resolveColour(windowText);
    if (ContrastRatio(window, windowText) >= 4.5) return windowText;
    buttonText = resolveColour(buttonText);
    if (ContrastRatio(window, buttonText) >= 4.5) return buttonText;
    const ColourNum black = rgbColour(0, 0, 0), white = rgbColour(255, 255, 255);
    return ContrastRatio(window, black) >= ContrastRatio(window, white) ? black : white;
}

}  // namespace qs
