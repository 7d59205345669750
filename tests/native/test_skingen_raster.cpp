// The generator's raster helpers and element painters: nine-part drawing,
// keyed anti-aliasing, turns, indexed BMP files, and pieces that meet cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "Art.h"
#include "Bmp.h"
#include "Builtin.h"
#include "Preview.h"
#include "Raster.h"

using namespace qs;
using namespace qs::gen;

namespace {

// A strip whose every pixel says where it came from: red = x, green = y.
PixelImage coded(int w, int h) {
    PixelImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = rgb(x, y, 7);
    return img;
}

}  // namespace

TEST(SkingenRaster, NineSliceKeepsCornersStretchesEdgesTilesCentre) {
    // Two frames side by side, each 6 x 4, margins 2 on every side.
    const PixelImage strip = coded(12, 4);
    const Margins m{2, 1, 2, 1};
    const PixelImage out = nineSlice(strip, 2, 2, false, m, true, 10, 6);
    // Frame 2 starts at x = 6: corners come from there, unscaled.
    EXPECT_EQ(out.at(0, 0), rgb(6, 0, 7));
    EXPECT_EQ(out.at(1, 0), rgb(7, 0, 7));
    EXPECT_EQ(out.at(9, 5), rgb(11, 3, 7));
    EXPECT_EQ(out.at(8, 0), rgb(10, 0, 7));
    // Centre (source columns 8..9, rows 1..2) tiled: it repeats every 2 pixels.
    EXPECT_EQ(out.at(2, 1), rgb(8, 1, 7));
    EXPECT_EQ(out.at(3, 1), rgb(9, 1, 7));
    EXPECT_EQ(out.at(4, 1), rgb(8, 1, 7));
    EXPECT_EQ(out.at(4, 3), rgb(8, 1, 7));
    // Stretched instead, the centre's right half comes from the second column.
    const PixelImage st = nineSlice(strip, 2, 2, false, m, false, 10, 6);
    EXPECT_EQ(st.at(2, 1), rgb(8, 1, 7));
    EXPECT_EQ(st.at(7, 1), rgb(9, 1, 7));
    // A target narrower than both side margins drops them: whole width stretched.
    const PixelImage narrow = nineSlice(strip, 2, 1, false, m, false, 3, 4);
    EXPECT_EQ(narrow.at(0, 0), rgb(0, 0, 7));
    EXPECT_EQ(narrow.at(2, 0), rgb(4, 0, 7));
    // Stacked frames: frame 2 of a strip two frames high.
    const PixelImage stacked = nineSlice(coded(4, 8), 2, 2, true, {}, false, 4, 4);
    EXPECT_EQ(stacked.at(0, 0), rgb(0, 4, 7));
    EXPECT_EQ(stacked.at(3, 3), rgb(3, 7, 7));
}

TEST(SkingenRaster, EdgesBlendWithTheMatteNotWithMagenta) {
    PixelImage img(20, 20, kMagenta);
    Raster r(img);
    r.setMatte(rgb(0, 0, 0));
    r.shape(sdCircle(10, 10, 6.3), rgb(255, 255, 255));
    int partial = 0;
    for (uint32_t p : img.pixels) {
        if (p == kMagenta || p == rgb(255, 255, 255)) continue;
        ++partial;
        // Grey between the matte and the ink: red, green and blue equal.
        EXPECT_EQ(pr(p), pg(p));
        EXPECT_EQ(pg(p), pb(p));
    }
    EXPECT_GT(partial, 10);  // the edge is anti-aliased at all
    EXPECT_EQ(img.at(10, 10), rgb(255, 255, 255));
    EXPECT_EQ(img.at(0, 0), kMagenta);
    // Over a drawn pixel the blend ignores the matte.
    PixelImage two(1, 1, rgb(200, 0, 0));
    Raster(two).blend(0, 0, rgb(0, 0, 200), 0.5);
    EXPECT_EQ(two.at(0, 0), rgb(100, 0, 100));
    // Integer-aligned rectangles cover whole pixels: no soft edge.
    PixelImage sq(6, 6, kMagenta);
    Raster(sq).shape(sdRoundRect(1, 1, 5, 5, 0), rgb(1, 2, 3));
    EXPECT_EQ(std::count(sq.pixels.begin(), sq.pixels.end(), rgb(1, 2, 3)), 16);
    EXPECT_EQ(std::count(sq.pixels.begin(), sq.pixels.end(), kMagenta), 20);
    // No mix ever lands on the key colour.
    EXPECT_NE(mix(rgb(255, 0, 254), rgb(255, 0, 255), 1.0), kMagenta);
    EXPECT_NE(mix(kMagenta, kMagenta, 0.5), kMagenta);
}

TEST(SkingenRaster, TurnsAndMirrors) {
    const PixelImage img = coded(3, 2);
    const PixelImage r = turnedRight(img);
    ASSERT_EQ(r.width, 2);
    ASSERT_EQ(r.height, 3);
    // Turning right: the old bottom-left corner becomes the top-left.
    EXPECT_EQ(r.at(0, 0), img.at(0, 1));
    EXPECT_EQ(r.at(1, 0), img.at(0, 0));
    EXPECT_EQ(r.at(0, 2), img.at(2, 1));
    EXPECT_EQ(mirrored(img).at(0, 0), img.at(2, 0));
    EXPECT_EQ(flipped(img).at(1, 0), img.at(1, 1));
    const PixelImage h = hstack({coded(2, 2), coded(3, 2)}), v = vstack({coded(2, 1), coded(2, 3)});
    EXPECT_EQ(std::pair(h.width, h.height), std::pair(5, 2));
    EXPECT_EQ(h.at(2, 1), rgb(0, 1, 7));
    EXPECT_EQ(std::pair(v.width, v.height), std::pair(2, 4));
    EXPECT_EQ(v.at(1, 3), rgb(1, 2, 7));
}

TEST(SkingenRaster, IndexedBmpFilesRoundTrip) {
    // Odd widths exercise the row padding of both depths.
    PixelImage mono(13, 3, rgb(255, 255, 255));
    mono.at(0, 0) = mono.at(12, 2) = mono.at(7, 1) = rgb(0, 0, 0);
    const std::vector<Px> bw = {rgb(0, 0, 0), rgb(255, 255, 255)};
    const BmpResult m = ReadBmp(writeBmpIndexed(mono, bw, 1));
    ASSERT_TRUE(m);
    EXPECT_EQ(m.info.bitCount, 1);
    EXPECT_EQ(m.image.pixels, mono.pixels);

    PixelImage colour(5, 2, kOlive);
    colour.at(4, 1) = rgb(255, 0, 0);
    colour.at(1, 0) = rgb(250, 5, 3);  // not in the palette: nearest is red
    const BmpResult c = ReadBmp(writeBmpIndexed(colour, classicPalette(), 4));
    ASSERT_TRUE(c);
    EXPECT_EQ(c.info.bitCount, 4);
    EXPECT_EQ(c.image.at(0, 0), kOlive);
    EXPECT_EQ(c.image.at(4, 1), rgb(255, 0, 0));
    EXPECT_EQ(c.image.at(1, 0), rgb(255, 0, 0));
    // A palette that does not fit the depth writes nothing.
    EXPECT_TRUE(writeBmpIndexed(colour, classicPalette(), 1).empty());
}

TEST(SkingenArt, FramePiecesMeetWithoutSeams) {
    for (const char* name : {"default", "dark", "rounded"}) {
        SCOPED_TRACE(name);
        const Theme& t = themeByName(name);
        const FramePieces p = drawFrame(t);
        ASSERT_EQ(p.left.width, 2 * t.sideW);
        ASSERT_EQ(p.top.height, 2 * t.titleH);
        ASSERT_EQ(p.bottom.height, 2 * t.bottomH);
        ASSERT_EQ(p.left.height, t.titleH + t.sideMid + t.bottomH);
        // Inside the title, the left piece's last column and the top strip's
        // first fixed column sit side by side on screen: same rows, close colours.
        for (int frame = 0; frame < 2; ++frame)
            for (int y = t.cornerTop + 2; y < t.titleH - 2; ++y) {
                const Px a = p.left.at(frame * t.sideW + t.sideW - 1, y);
                const Px b = p.top.at(0, frame * t.titleH + y);
                EXPECT_LE(std::abs(pr(a) - pr(b)) + std::abs(pg(a) - pg(b)) + std::abs(pb(a) - pb(b)), 24)
                    << "row " << y;
            }
        // Active and inactive frames look different.
        EXPECT_NE(crop(p.top, {0, 0, p.top.width, t.titleH}).pixels,
                  crop(p.top, {0, t.titleH, p.top.width, 2 * t.titleH}).pixels);
    }
}

TEST(SkingenArt, CaptionButtonFramesShowTheirStates) {
    for (const char* name : {"default", "dark", "rounded"}) {
        SCOPED_TRACE(name);
        const Theme& t = themeByName(name);
        const PixelImage strip = drawCaptionButton(t, Glyph::Close);
        ASSERT_EQ(strip.width, 6 * t.capW);
        auto frame = [&](int f) { return crop(strip, {(f - 1) * t.capW, 0, f * t.capW, t.capH}); };
        EXPECT_NE(frame(1).pixels, frame(3).pixels);  // hot
        EXPECT_NE(frame(1).pixels, frame(2).pixels);  // pressed
        EXPECT_NE(frame(1).pixels, frame(4).pixels);  // inactive
        EXPECT_EQ(frame(3).pixels, frame(5).pixels);
        EXPECT_EQ(frame(2).pixels, frame(6).pixels);
        // Hot close turns red somewhere in the middle of the button.
        const PixelImage hot = frame(3);
        int reddish = 0;
        for (uint32_t p : hot.pixels) reddish += p != kMagenta && pr(p) > pg(p) + 80 && pr(p) > pb(p) + 80;
        EXPECT_GT(reddish, t.capW * t.capH / 8);
    }
}

TEST(SkingenArt, PreviewDrawsEverySkin) {
    for (const char* name : {"default", "dark", "rounded"}) {
        SCOPED_TRACE(name);
        const Preview pv = renderPreview(generateSkin(name));
        EXPECT_GT(pv.image.width, 1000);
        EXPECT_GT(pv.image.height, 800);
        EXPECT_NE(pv.mvg.find("Qelvo - " + std::string(name)), std::string::npos);
        // Text hidden by the open pop-up menu is left out.
        EXPECT_EQ(pv.mvg.find("Stay on top"), std::string::npos);
        EXPECT_NE(pv.mvg.find("High quality"), std::string::npos);
    }
    EXPECT_THROW(generateSkin("plaid"), std::out_of_range);
}
