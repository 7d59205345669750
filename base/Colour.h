#pragma once
// Colour numbers as the skin and the painting code exchange them: 0x00BBGGRR
// (the Windows COLORREF order, red in the low byte) for a plain colour, or a
// negative number whose low byte indexes a system colour (0xFF0000nn).
// Pixels of a PixelView are 0x00RRGGBB instead; convert with colourToPixel /
// pixelToColour (PixelView.h) whenever a value crosses between the two.
#include <cstdint>

namespace qs {

using ColourNum = int32_t;

constexpr ColourNum rgbColour(int r, int g, int b) {
    return ColourNum(uint32_t(r & 0xFF) | (uint32_t(g & 0xFF) << 8) | (uint32_t(b & 0xFF) << 16));
}
constexpr int redOf(ColourNum c) { return int(uint32_t(c) & 0xFF); }
constexpr int greenOf(ColourNum c) { return int((uint32_t(c) >> 8) & 0xFF); }
constexpr int blueOf(ColourNum c) { return int((uint32_t(c) >> 16) & 0xFF); }

constexpr bool isSystemColour(ColourNum c) { return c < 0; }
constexpr ColourNum systemColour(int index) { return ColourNum(0xFF000000u | uint32_t(index & 0xFF)); }

// The system colours the skin description falls back to, kept symbolic until
// they are drawn so that a theme change is picked up. In a namespace of their
// own: the toolkit's graphics header declares its own cl... constants of its
// wider colour type in qs, and both headers must be usable in one file.
namespace syscolour {
inline constexpr ColourNum clScrollBar = systemColour(0);
inline constexpr ColourNum clMenu = systemColour(4);
inline constexpr ColourNum clWindow = systemColour(5);
inline constexpr ColourNum clMenuText = systemColour(7);
inline constexpr ColourNum clWindowText = systemColour(8);
inline constexpr ColourNum clCaptionText = systemColour(9);
inline constexpr ColourNum clHighlight = systemColour(13);
inline constexpr ColourNum clHighlightText = systemColour(14);
inline constexpr ColourNum clBtnFace = systemColour(15);
inline constexpr ColourNum clBtnShadow = systemColour(16);
inline constexpr ColourNum clGrayText = systemColour(17);
inline constexpr ColourNum clBtnText = systemColour(18);
inline constexpr ColourNum clInactiveCaptionText = systemColour(19);
inline constexpr ColourNum clBtnHighlight = systemColour(20);
inline constexpr ColourNum cl3DDkShadow = systemColour(21);
inline constexpr ColourNum cl3DLight = systemColour(22);
}  // namespace syscolour

// Where system colours come from. On Windows the default asks the system; on
// other platforms it is a fixed classic palette. Tests can install their own.
using SystemColourSource = uint32_t (*)(int index);  // returns 0x00BBGGRR
SystemColourSource setSystemColourSource(SystemColourSource source);  // returns the previous one
uint32_t classicSystemColour(int index);

// A plain colour for drawing: system colours are looked up, plain ones pass.
ColourNum resolveColour(ColourNum c);

// Weighted mix: a weight below 100 is a percentage of `a`; from 100 on it is in
// thousandths of `a` (150 means 15 %). System colours are resolved first.
ColourNum MixColours(ColourNum a, ColourNum b, int weight);

// 0..255: 200 for any dark colour (every channel below 160), otherwise the HSV
// saturation scaled to 255 and rounded half to even.
int ColourSaturation(ColourNum c);

// The content background of a skin that does not give one: near white on a
// light face (grey level 128 and up), near black on a dark one. A face that is
// still the system's gives the system's window colour.
ColourNum DeriveWindowColour(ColourNum face);
// Contrast ratio of two colours by their relative luminance, 1 to 21.
double ContrastRatio(ColourNum a, ColourNum b);
// The text colour content areas use on `window`: the skin's WindowText when it
// reads (contrast 4.5 or more), else its ButtonText when that reads, else black
// or white, whichever contrasts more. Plain colours in and out.
ColourNum ContentTextColour(ColourNum window, ColourNum windowText, ColourNum buttonText);

}  // namespace qs
