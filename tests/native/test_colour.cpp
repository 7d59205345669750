#include <gtest/gtest.h>

#include "Colour.h"
#include "ColourGradient.h"
#include "QuickIni.h"
#include "Vocabulary.h"

using namespace qs;
using namespace qs::syscolour;

namespace {
constexpr ColourNum kRed = rgbColour(255, 0, 0);
constexpr ColourNum kBlue = rgbColour(0, 0, 255);
constexpr ColourNum kWhite = rgbColour(255, 255, 255);

uint32_t fixedSystemColours(int index) { return index == 15 ? 0x00102030 : 0x00ABCDEF; }

// Installs a known system palette for the test's duration.
struct FixedSystemColours {
    SystemColourSource old = setSystemColourSource(&fixedSystemColours);
    ~FixedSystemColours() { setSystemColourSource(old); }
};
}  // namespace

TEST(Colour, MixColoursScales) {
    EXPECT_EQ(MixColours(kRed, kBlue, 50), rgbColour(128, 0, 128));
    // Weight 150 is in thousandths: 15 % grey, 85 % white.
    EXPECT_EQ(MixColours(rgbColour(128, 128, 128), kWhite, 150), rgbColour(236, 236, 236));
    // Weight 100 switches to thousandths too: 10 % of a, not all of it.
    EXPECT_EQ(MixColours(rgbColour(200, 0, 100), rgbColour(0, 100, 0), 100), rgbColour(20, 90, 10));
    EXPECT_EQ(MixColours(rgbColour(200, 0, 100), rgbColour(0, 100, 0), 99), rgbColour(198, 1, 99));
    EXPECT_EQ(MixColours(rgbColour(1, 2, 3), kWhite, 0), kWhite);
    // Weights past the scale extrapolate and keep only the low 8 bits.
    EXPECT_EQ(MixColours(kWhite, 0, 2000), rgbColour(254, 254, 254));
}

TEST(Colour, SystemColoursResolveOnlyWhenUsed) {
    FixedSystemColours fixed;
    EXPECT_EQ(resolveColour(clBtnFace), 0x00102030);
    EXPECT_EQ(resolveColour(rgbColour(1, 2, 3)), rgbColour(1, 2, 3));
    EXPECT_EQ(MixColours(clBtnFace, clBtnFace, 50), 0x00102030);
    EXPECT_EQ(MixColours(clWindowText, 0, 50), MixColours(0x00ABCDEF, 0, 50));
    EXPECT_EQ(classicSystemColour(1000), 0u);
}

TEST(Colour, Saturation) {
    EXPECT_EQ(ColourSaturation(rgbColour(159, 0, 0)), 200);  // dark: whatever the hue
    EXPECT_EQ(ColourSaturation(rgbColour(10, 20, 159)), 200);
    EXPECT_EQ(ColourSaturation(0), 200);
    EXPECT_EQ(ColourSaturation(kRed), 255);
    EXPECT_EQ(ColourSaturation(kWhite), 0);
    EXPECT_EQ(ColourSaturation(rgbColour(160, 80, 80)), 128);  // 127.5 rounds to even
    EXPECT_EQ(ColourSaturation(rgbColour(170, 169, 169)), 2);  // 1.5 rounds to even
    EXPECT_EQ(ColourSaturation(rgbColour(170, 167, 167)), 4);  // 4.5 rounds to even
    EXPECT_EQ(ColourSaturation(rgbColour(200, 100, 150)), 128);  // 127.5 again, from other channels
    EXPECT_EQ(ColourSaturation(rgbColour(255, 254, 254)), 1);
}

// The content background a skin gets, given or derived, and the text colour
// content areas use on it: whatever the skin says, text must read.
TEST(Colour, ContentColoursOfASkin) {
    // Reads ButtonFace and then Window as the loader does: through the table.
    struct Read {
        ColourNum Window;
    };
    auto colours = [](std::string_view text) {
        TQuickIni ini;
        ini.LoadFromText(text);
        vocab::ReadContext ctx;
        ColourNum window = 0;
        for (const vocab::ElementDef& e : vocab::elements())
            if (e.slot == vocab::Slot::Colours)
                for (const vocab::KeyDef& k : e.keys) {
                    const ColourNum c = vocab::readColour(ini, e.section, k, ctx);
                    if (k.field == vocab::Field::ButtonFace) ctx.buttonFace = c;
                    if (k.field == vocab::Field::Window) window = c;
                }
        return Read{window};
    };
    EXPECT_EQ(colours("[Colours]\nButtonFace=46 48 54\nWindow=1 2 3\n").Window, rgbColour(1, 2, 3));
    // Derived: near black under a dark face, near white under a light one, and
    // the system's own window colour while the face is the system's.
    EXPECT_EQ(colours("[Colours]\nButtonFace=46 48 54\n").Window, rgbColour(23, 24, 27));
    EXPECT_EQ(colours("[Colours]\nButtonFace=224 224 224\n").Window, rgbColour(252, 252, 252));
    EXPECT_EQ(colours("[Colours]\nButtonFace=128 128 128\n").Window, rgbColour(240, 240, 240));
    EXPECT_EQ(colours("[Colours]\nMenu=1 1 1\n").Window, clWindow);

    const ColourNum nearBlack = rgbColour(23, 24, 27), light = rgbColour(222, 224, 228);
    EXPECT_EQ(ContentTextColour(nearBlack, rgbColour(232, 232, 232), light), rgbColour(232, 232, 232));
    // A dark skin that forgot WindowText (system black) falls back to its
    // button text, and one whose button text does not read either to white.
    FixedSystemColours fixed;  // clWindowText resolves to 0xABCDEF here
    EXPECT_EQ(ContentTextColour(nearBlack, rgbColour(0, 0, 0), light), light);
    EXPECT_EQ(ContentTextColour(nearBlack, rgbColour(0, 0, 0), rgbColour(40, 40, 40)), rgbColour(255, 255, 255));
    EXPECT_EQ(ContentTextColour(rgbColour(250, 250, 250), rgbColour(200, 200, 200), rgbColour(240, 240, 240)),
              rgbColour(0, 0, 0));
    EXPECT_NEAR(ContrastRatio(rgbColour(0, 0, 0), rgbColour(255, 255, 255)), 21.0, 1e-9);
}

TEST(Gradient, RampValues) {
    EXPECT_EQ(computeGradientRamp(1, rgbColour(0, 100, 200), rgbColour(11, 100, 0)),
              (std::vector<ColourNum>{rgbColour(5, 100, 100)}));
    EXPECT_EQ(computeGradientRamp(1, rgbColour(11, 0, 0), 0), (std::vector<ColourNum>{rgbColour(6, 0, 0)}));
    const auto down = computeGradientRamp(5, rgbColour(200, 0, 0), rgbColour(100, 0, 0));
    ASSERT_EQ(down.size(), 5u);
    EXPECT_EQ(down, (std::vector<ColourNum>{rgbColour(200, 0, 0), rgbColour(176, 0, 0), rgbColour(151, 0, 0),
                                            rgbColour(126, 0, 0), rgbColour(101, 0, 0)}));
    const auto up = computeGradientRamp(3, 0, rgbColour(0, 255, 10));
    EXPECT_EQ(up, (std::vector<ColourNum>{0, rgbColour(0, 128, 5), rgbColour(0, 255, 10)}));
    EXPECT_TRUE(computeGradientRamp(0, 0, kWhite).empty());
}

TEST(Gradient, CacheReusesRampsAndCyclesSixteenSlots) {
    TGradientCache cache;
    const auto& a = cache.Ramp(10, 0, kWhite);
    EXPECT_EQ(&cache.Ramp(10, 0, kWhite), &a);
    EXPECT_EQ(cache.Misses(), 1);
    cache.Ramp(11, 0, kWhite);  // another length is another ramp
    EXPECT_EQ(cache.Misses(), 2);

    // A falling ramp ends short of its target, so it is not found again.
    cache.Ramp(5, rgbColour(200, 0, 0), rgbColour(100, 0, 0));
    cache.Ramp(5, rgbColour(200, 0, 0), rgbColour(100, 0, 0));
    EXPECT_EQ(cache.Misses(), 4);
    // Nor may it stand in for the ramp that really ends at its last colour.
    const auto& to101 = cache.Ramp(5, rgbColour(200, 0, 0), rgbColour(101, 0, 0));
    EXPECT_EQ(to101, computeGradientRamp(5, rgbColour(200, 0, 0), rgbColour(101, 0, 0)));
    EXPECT_EQ(to101[3], rgbColour(127, 0, 0));

    cache.Clear();
    for (int n = 1; n <= 16; ++n) cache.Ramp(n + 1, 0, kWhite);
    EXPECT_EQ(cache.NextSlot(), 0);
    cache.Ramp(2, 0, kWhite);  // still cached
    EXPECT_EQ(cache.Misses(), 16);
    cache.Ramp(100, 0, kWhite);  // evicts the oldest (length 2)
    cache.Ramp(2, 0, kWhite);
    EXPECT_EQ(cache.Misses(), 18);
    EXPECT_EQ(cache.NextSlot(), 2);
}

TEST(Gradient, FillDrawsOnlyTheClippedLines) {
    constexpr uint32_t kBackground = 0x00ABCDEF;
    PixelImage img(8, 10, kBackground);
    const PixelRect r{1, 1, 7, 9};  // 8 lines of 6 pixels
    const auto ramp = computeGradientRamp(8, kBlue, kWhite);
    GradientFill(img.view(), r, kBlue, true, kWhite, PixelRect{0, 3, 5, 6});
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = y >= 3 && y < 6 && x >= 1 && x < 5;
            const uint32_t want = inside ? colourToPixel(uint32_t(ramp[size_t(y - 1)])) : kBackground;
            ASSERT_EQ(img.at(x, y), want) << x << "," << y;
        }
    }

    // Horizontal: one column per ramp entry; a rectangle reaching outside the
    // view is cut at its edge but keeps its ramp length.
    PixelImage h(4, 2, kBackground);
    GradientFill(h.view(), PixelRect{-2, 0, 6, 2}, 0, false, rgbColour(70, 0, 0));
    const auto ramp8 = computeGradientRamp(8, 0, rgbColour(70, 0, 0));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(h.at(x, 0), colourToPixel(uint32_t(ramp8[size_t(x + 2)])));
        EXPECT_EQ(h.at(x, 1), h.at(x, 0));
    }

    PixelImage untouched(4, 4, kBackground);
    GradientFill(untouched.view(), PixelRect{0, 5, 4, 9}, 0, true, kWhite);
    GradientFill(untouched.view(), PixelRect{2, 2, 2, 4}, 0, true, kWhite);
    for (uint32_t p : untouched.pixels) EXPECT_EQ(p, kBackground);
}

TEST(Gradient, RunawayRectangleDrawsOnlyItsVisibleLines) {
    // Two billion lines: no ramp of that size may be built for four visible ones.
    PixelImage img(2, 4);
    const int missesBefore = gradientCache().Misses();
    GradientFill(img.view(), PixelRect{0, -(1 << 30), 2, 1 << 30}, 0, true, kWhite);
    EXPECT_EQ(gradientCache().Misses(), missesBefore);
    for (int y = 0; y < 4; ++y)
        EXPECT_EQ(img.at(1, y), colourToPixel(uint32_t(gradientEntry(y + (1 << 30), int64_t(1) << 31, 0, kWhite))));
    EXPECT_EQ(img.at(0, 3), 0x808080u);  // the middle of black to white
}

TEST(Gradient, OneLineGradientIsTheMidpoint) {
    PixelImage img(3, 1);
    GradientFill(img.view(), PixelRect{0, 0, 3, 1}, rgbColour(0, 0, 0), true, rgbColour(200, 100, 50));
    EXPECT_EQ(img.at(2, 0), colourToPixel(uint32_t(rgbColour(100, 50, 25))));
}
