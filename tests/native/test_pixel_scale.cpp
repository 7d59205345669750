// Scaling skin art to a display density: rounding of lengths, the cuts of
// one axis, and strips scaled band by band without mixing bands, frames or
// the key colour.
#include <gtest/gtest.h>

#include <climits>

#include <set>

#include "PixelScale.h"

using namespace qs;

namespace {

constexpr uint32_t kKey = 0xFF00FF, kRed = 0xC00000, kGreen = 0x00A000, kBlue = 0x0000B0;

// A frame of fw x fh: corners red, edges green, middle blue, with margin m.
void paintFrame(PixelImage& img, int ox, int oy, int fw, int fh, int m) {
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x) {
            const bool ex = x < m || x >= fw - m, ey = y < m || y >= fh - m;
            img.at(ox + x, oy + y) = ex && ey ? kRed : (ex || ey ? kGreen : kBlue);
        }
}

std::set<uint32_t> coloursIn(const PixelImage& img, int l, int t, int r, int b) {
    std::set<uint32_t> s;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x) s.insert(img.at(x, y));
    return s;
}

}  // namespace

TEST(PixelScale, LengthsAndCutsRoundEachPartOnItsOwn) {
    EXPECT_EQ(ScaleLength(27, 96), 27);
    EXPECT_EQ(ScaleLength(27, 120), 34);   // 33.75
    EXPECT_EQ(ScaleLength(27, 144), 41);   // 40.5, halves away from zero
    EXPECT_EQ(ScaleLength(27, 192), 54);
    EXPECT_EQ(ScaleLength(-3, 144), -5);
    EXPECT_EQ(ScaleLength(0, 192), 0);
    // Figures read from a skin file, past what an int holds once scaled.
    EXPECT_EQ(ScaleLength(2000000000, 192), INT_MAX);
    EXPECT_EQ(ScaleLength(-2000000000, 192), INT_MIN);
    // 290 wide, margins 7 and 7 at 125 %: ends 9 each, middle the rest.
    const ScaledAxis a = ScaleAxis(290, 7, 7, 120, 96);
    EXPECT_EQ(a.slo, 9);
    EXPECT_EQ(a.scaledSize - a.shi, 9);
    EXPECT_EQ(a.scaledSize, 363);  // 362.5
    // Margins that fill the frame leave no middle: the ends meet.
    const ScaledAxis full = ScaleAxis(10, 5, 5, 3, 2);
    EXPECT_EQ(full.slo, full.shi);
    EXPECT_EQ(full.scaledSize, 16);  // 8 + 8, not the 15 of the whole
    // Margins larger than the frame count as none.
    const ScaledAxis none = ScaleAxis(10, 8, 8, 2, 1);
    EXPECT_EQ(none.slo, 0);
    EXPECT_EQ(none.shi, 20);
}

TEST(PixelScale, WholeFactorsCopyPixelsAndOtherFactorsKeepBandsApart) {
    // Two frames side by side, 12 x 10 each, margin 3.
    PixelImage strip(24, 10);
    paintFrame(strip, 0, 0, 12, 10, 3);
    paintFrame(strip, 12, 0, 12, 10, 3);
    strip.at(12, 0) = kKey;  // the second frame's corner is cut out

    const PixelImage two = ScaleStrip(strip.view(), 2, false, 3, 3, 3, 3, 2, 1);
    ASSERT_EQ(two.width, 48);
    ASSERT_EQ(two.height, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 48; ++x) ASSERT_EQ(two.at(x, y), strip.at(x / 2, y / 2)) << x << "," << y;

    // 150 %: frames 18 x 15, corners 5 x 5 (4.5 rounded up), the middles
    // what is left. Every band holds
    // only its own colour, exactly; the key stays where it was and nothing
    // next to it turns pink.
    const PixelImage one5 = ScaleStrip(strip.view(), 2, false, 3, 3, 3, 3, 144, 96);
    ASSERT_EQ(one5.width, 36);
    ASSERT_EQ(one5.height, 15);
    for (int f = 0; f < 2; ++f) {
        const int ox = f * 18;
        EXPECT_EQ(coloursIn(one5, ox + 5, 5, ox + 13, 10), std::set<uint32_t>{kBlue});
        EXPECT_EQ(coloursIn(one5, ox + 5, 0, ox + 13, 5), std::set<uint32_t>{kGreen});
        EXPECT_EQ(coloursIn(one5, ox + 13, 10, ox + 18, 15), std::set<uint32_t>{kRed});
    }
    EXPECT_EQ(coloursIn(one5, 0, 0, 5, 5), std::set<uint32_t>{kRed});
    EXPECT_EQ(coloursIn(one5, 18, 0, 23, 5), (std::set<uint32_t>{kKey, kRed}));
    EXPECT_EQ(one5.at(18, 0), kKey);
}

TEST(PixelScale, SmoothFilterBlendsInsideABandButNeverWithTheKey) {
    // A 4 x 1 ramp with a keyed pixel at its end, one frame, no margins.
    PixelImage ramp(4, 1);
    ramp.at(0, 0) = 0x000000;
    ramp.at(1, 0) = 0x646464;
    ramp.at(2, 0) = 0xC8C8C8;
    ramp.at(3, 0) = kKey;
    const PixelImage out = ScaleStrip(ramp.view(), 1, false, 0, 0, 0, 0, 5, 4);
    ASSERT_EQ(out.width, 5);
    bool between = false;
    for (int x = 0; x < out.width; ++x) {
        const uint32_t p = out.at(x, 0);
        if (p == kKey) continue;
        // Grey: equal channels, so no magenta was mixed in.
        EXPECT_EQ(p >> 16, (p >> 8) & 0xFF) << x;
        EXPECT_EQ(p & 0xFF, (p >> 8) & 0xFF) << x;
        if (p != 0 && p != 0x646464 && p != 0xC8C8C8) between = true;
    }
    EXPECT_TRUE(between);  // a smooth filter, not nearest-neighbour
    EXPECT_EQ(out.at(4, 0), kKey);
}
