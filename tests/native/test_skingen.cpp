// Our generated skins: complete, with the geometry the frame layout was
// measured with, keyed corners where they should be, and the committed
// archives and built-in bitmaps equal to what the generator draws today.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>

#include "ArchiveWriter.h"
#include "Bmp.h"
#include "Builtin.h"
#include "ColourText.h"
#include "Lint.h"
#include "QuickIni.h"
#include "SkinBuilder.h"
#include "SkinReader.h"
#include "Vocabulary.h"

using namespace qs;

namespace {

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// A generated skin packed and opened again, as the program will see it.
struct Loaded {
    TSkinReader reader;
    TQuickIni ini;
    std::string iniName;

    explicit Loaded(const std::string& skin) {
        const auto bytes = packSkinArchive(gen::generateSkin(skin).entries());
        EXPECT_TRUE(reader.Open(bytes)) << reader.lastError();
        std::vector<uint8_t> text;
        reader.ExtractContaining(".ini", text, iniName);
        ini.LoadFromBytes(text);
    }
    PixelImage image(const std::string& section, const std::string& key) const {
        std::vector<uint8_t> bytes;
        reader.ExtractByName(imageReference(ini.ReadString(section, key, "")), bytes);
        return ReadBmp(bytes).image;
    }
};

const char* const kSkins[] = {"default", "dark", "rounded"};

}  // namespace

TEST(Skingen, EverySkinLintsCleanAndHasNoPinkFringes) {
    for (const char* name : kSkins) {
        SCOPED_TRACE(name);
        const gen::GeneratedSkin skin = gen::generateSkin(name);
        const auto archive = packSkinArchive(skin.entries());
        for (const auto& f : skintool::lintSkinArchive(archive)) ADD_FAILURE() << f.text;
        // Edges anti-aliased against magenta would show as pink on screen: a
        // pixel is magenta exactly or clearly something else.
        for (const auto& [entry, img] : skin.images)
            for (uint32_t p : img.pixels) {
                if (p == gen::kMagenta) continue;
                const int dr = 255 - gen::pr(p), dg = gen::pg(p), db = 255 - gen::pb(p);
                ASSERT_GT(dr + dg + db, 60) << entry << " has a near-magenta pixel " << std::hex << p;
            }
    }
}

TEST(Skingen, DefaultSkinGeometryReadsBack) {
    Loaded d("default");
    EXPECT_EQ(d.iniName, "qelvolight.ini");
    EXPECT_EQ(d.ini.ReadString("TitlebarSkin", "SkinName", ""), "Qelvo Light");

    // Frame strips: the title 27 high, sides and bottom 5, two frames each.
    const PixelImage top = d.image("Personality", "Top"), left = d.image("Personality", "Left");
    const PixelImage right = d.image("Personality", "Right"), bottom = d.image("Personality", "Bottom");
    EXPECT_EQ(top.width, 290);
    EXPECT_EQ(top.height, 54);
    EXPECT_EQ(left.width, 10);
    EXPECT_EQ(right.width, 10);
    EXPECT_EQ(bottom.height, 10);
    for (const char* side : {"Top", "Left", "Right", "Bottom"})
        EXPECT_EQ(d.ini.ReadInteger("Personality", std::string(side) + "Frame", 1), 2) << side;
    EXPECT_EQ(top.height / 2, 27);
    EXPECT_EQ(left.width / 2, 5);
    EXPECT_EQ(bottom.height / 2, 5);
    EXPECT_EQ(d.ini.ReadInteger("Fonts", "FontHeight", 14), 17);
    EXPECT_EQ(ParseColour(d.ini.ReadString("Colours", "ButtonFace", ""), -1), rgbColour(224, 224, 224));

    // Caption buttons Button0..Button4; in a 400-pixel-wide window the
    // right-anchored ones (Align 1: left = width - Xcoord) land where the
    // viewer's layout expects them, and the icon button sits at (8, 7).
    const auto sections = vocab::sectionsMatching(d.ini, vocab::Match::CaptionButtons);
    ASSERT_EQ(sections, (std::vector<std::string>{"Button0", "Button1", "Button2", "Button3", "Button4"}));
    std::map<std::string, PixelRect> placed;  // by action and visibility
    for (int i = 0; i < 4; ++i) {
        const std::string s = sections[std::size_t(i)];
        const PixelImage img = d.image(s, "ButtonImage");
        ASSERT_EQ(img.width, 108) << s;
        ASSERT_EQ(img.height, 18) << s;
        // No frame key: the loader computes 6 from the 6:1 ratio.
        EXPECT_EQ(d.ini.ReadInteger(s, "frame", 0), 0);
        EXPECT_GT(double(img.width) / img.height, 3.8);
        EXPECT_EQ(d.ini.ReadInteger(s, "Align", 0), 1);
        const int x = 400 - d.ini.ReadInteger(s, "Xcoord", 0), y = d.ini.ReadInteger(s, "Ycoord", 0);
        const std::string key = std::to_string(d.ini.ReadInteger(s, "Action", -1)) + "/" +
                                std::to_string(d.ini.ReadInteger(s, "Visibility1", 0));
        placed[key] = {x, y, x + img.width / 6, y + img.height};
    }
    EXPECT_EQ(placed["0/0"], (PixelRect{375, 5, 393, 23}));  // close
    EXPECT_EQ(placed["1/2"], (PixelRect{351, 5, 369, 23}));  // maximise, shown when not maximised
    EXPECT_EQ(placed["1/1"], (PixelRect{351, 5, 369, 23}));  // restore, shown when maximised
    EXPECT_EQ(placed["2/0"], (PixelRect{327, 5, 345, 23}));  // minimise
    EXPECT_EQ(d.ini.ReadInteger("Button4", "Action", 0), 3);
    EXPECT_EQ(d.ini.ReadInteger("Button4", "Align", -1), 0);
    EXPECT_EQ(d.ini.ReadInteger("Button4", "Xcoord", 0), 8);
    EXPECT_EQ(d.ini.ReadInteger("Button4", "Ycoord", 0), 7);

    // Check and radio strips: 65 x 13, so the loader computes 5 frames.
    for (const char* key : {"CheckButton", "RadioButton"}) {
        const PixelImage img = d.image("Buttons", key);
        EXPECT_EQ(img.width, 65) << key;
        EXPECT_EQ(img.height, 13) << key;
        EXPECT_EQ(d.ini.ReadInteger("Buttons", std::string(key) + "Frame", 0), 0) << key;
    }

    EXPECT_EQ(vocab::sectionsMatching(d.ini, vocab::Match::ColourSections).size(), 7u);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(d.ini.ReadString("Customcolors", "Color" + std::to_string(i), "").empty()) << i;

    // The entry names skin authors know, where they apply.
    for (const char* n :
         {"FrameTop.bmp", "FrameBottom.bmp", "FrameLeft.bmp", "FrameRight.bmp", "menu.bmp", "dialog.bmp",
          "button.bmp", "checkbox.bmp", "radio.bmp", "progress.bmp", "tabborder.bmp", "tabs.bmp", "combo.bmp",
          "sunkedge.bmp", "combo-arrows.bmp", "header.bmp", "menutool.bmp", "menuborder.bmp", "arrows.bmp",
          "hscroll_back.bmp", "vscroll_back.bmp", "hscroll_bar.bmp", "vscroll_bar.bmp", "button-mdi.bmp",
          "groupboxlabel.bmp", "button-toolbar.bmp", "CloseButton.bmp", "MaxButton.bmp", "MinButton.bmp",
          "RestroreButton.bmp"}) {
        std::vector<uint8_t> bytes;
        d.reader.ExtractByName(n, bytes);
        EXPECT_FALSE(bytes.empty()) << n;
    }
}

TEST(Skingen, SkinsDifferInGeometryAndPalette) {
    Loaded a("default"), b("dark"), c("rounded");
    EXPECT_NE(a.ini.ReadString("Colours", "ButtonFace", ""), b.ini.ReadString("Colours", "ButtonFace", ""));
    EXPECT_NE(a.ini.ReadString("Colours", "ButtonFace", ""), c.ini.ReadString("Colours", "ButtonFace", ""));
    EXPECT_NE(a.image("Personality", "Top").height, b.image("Personality", "Top").height);
    // The dark skin is dark: its face colour is below middle grey.
    const ColourNum face = ParseColour(b.ini.ReadString("Colours", "ButtonFace", ""), 0);
    EXPECT_LT(redOf(face) + greenOf(face) + blueOf(face), 3 * 100);
}

TEST(Skingen, RoundedSkinHasKeyedCornersAndTiledMiddles) {
    Loaded r("rounded");
    for (const char* side : {"Left", "Right", "Top", "Bottom"}) {
        EXPECT_EQ(r.ini.ReadInteger("Personality", std::string(side) + "Trans", 0), 1) << side;
        EXPECT_EQ(r.ini.ReadInteger("Personality", std::string(side) + "Stretch", 1), 0) << side;
    }
    const PixelImage left = r.image("Personality", "Left"), right = r.image("Personality", "Right");
    const int fw = left.width / 2;
    for (int f = 0; f < 2; ++f) {  // active and inactive frames
        const int x0 = f * fw;
        EXPECT_EQ(left.at(x0, 0), gen::kMagenta);
        EXPECT_EQ(left.at(x0 + 1, 1), gen::kMagenta);
        EXPECT_EQ(left.at(x0, left.height - 1), gen::kMagenta);
        EXPECT_EQ(right.at(x0 + fw - 1, 0), gen::kMagenta);
        EXPECT_EQ(right.at(x0 + fw - 1, right.height - 1), gen::kMagenta);
        // Along the straight edge the frame is solid: the region keeps it.
        EXPECT_NE(left.at(x0, left.height / 2), gen::kMagenta);
        EXPECT_NE(right.at(x0 + fw - 1, right.height / 2), gen::kMagenta);
    }
    // The top strip's fixed ends carry the rest of the curve.
    const PixelImage top = r.image("Personality", "Top");
    EXPECT_GT(r.ini.ReadInteger("Personality", "TopTopHeight", 0), 0);
    EXPECT_NE(top.at(top.width / 2, 0), gen::kMagenta);

    // The default skin is square and opaque: no keyed pixel in its frame.
    Loaded d("default");
    for (const char* side : {"Left", "Right", "Top", "Bottom"}) {
        const PixelImage img = d.image("Personality", side);
        EXPECT_EQ(std::count(img.pixels.begin(), img.pixels.end(), gen::kMagenta), 0) << side;
        EXPECT_EQ(d.ini.ReadInteger("Personality", std::string(side) + "Trans", 1), 0) << side;
    }
}

TEST(Skingen, CommittedFilesMatchTheGenerator) {
    for (const char* name : kSkins) {
        const std::string path = std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn";
        const auto committed = readFile(path);
        ASSERT_FALSE(committed.empty()) << "cannot read " << path;
        EXPECT_TRUE(committed == packSkinArchive(gen::generateSkin(name).entries()))
            << path << " differs from what skingen draws; run resources/skins/regenerate";
    }
    for (const gen::BuiltinBitmap& b : gen::builtinBitmaps()) {
        const std::string path = std::string(QS_SOURCE_ROOT) + "/resources/builtin/" + b.file;
        const auto committed = readFile(path);
        ASSERT_FALSE(committed.empty()) << "cannot read " << path;
        const auto palette = b.bits == 1 ? std::vector<gen::Px>{gen::rgb(0, 0, 0), gen::rgb(255, 255, 255)}
                                         : std::vector<gen::Px>(gen::classicPalette().begin(),
                                                                gen::classicPalette().end());
        EXPECT_TRUE(committed == gen::writeBmpIndexed(b.image, palette, b.bits)) << path;
    }
}

TEST(Skingen, BuiltinBitmapsHaveTheirSizesAndKeys) {
    std::map<std::string, gen::BuiltinBitmap> byName;
    for (auto& b : gen::builtinBitmaps()) byName[b.resource] = b;
    ASSERT_EQ(byName.size(), 30u);
    auto readBack = [](const gen::BuiltinBitmap& b) {
        const auto palette = b.bits == 1 ? std::vector<gen::Px>{gen::rgb(0, 0, 0), gen::rgb(255, 255, 255)}
                                         : std::vector<gen::Px>(gen::classicPalette().begin(),
                                                                gen::classicPalette().end());
        return ReadBmp(gen::writeBmpIndexed(b.image, palette, b.bits));
    };
    const BmpResult track = readBack(byName["TRACK"]), vert = readBack(byName["TRACKVERT"]);
    const BmpResult menu = readBack(byName["TRELLIQMENU"]);
    EXPECT_EQ(std::pair(track.image.width, track.image.height), std::pair(16, 4));
    EXPECT_EQ(std::pair(vert.image.width, vert.image.height), std::pair(4, 16));
    EXPECT_EQ(std::pair(menu.image.width, menu.image.height), std::pair(64, 16));
    EXPECT_EQ(menu.info.bitCount, 1);
    EXPECT_EQ(track.info.bitCount, 4);
    // Each of the four menu glyphs has ink, and white around it.
    for (int g = 0; g < 4; ++g) {
        int black = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) black += menu.image.at(g * 16 + x, y) == 0;
        EXPECT_GT(black, 8) << g;
        EXPECT_EQ(menu.image.at(g * 16, 0), 0xFFFFFFu) << g;
    }
    for (const char* prefix : {"EN_", "DI_", "CL_"})
        for (const char* n : {"MPPLAY", "MPPAUSE", "MPSTOP", "MPNEXT", "MPPREV", "MPSTEP", "MPBACK", "MPRECORD",
                              "MPEJECT"}) {
            const std::string res = std::string(prefix) + n;
            ASSERT_TRUE(byName.count(res)) << res;
            const BmpResult g = readBack(byName[res]);
            ASSERT_TRUE(g) << res;
            EXPECT_EQ(g.image.at(0, 0), gen::kOlive) << res;  // olive is the transparent colour
            EXPECT_LT(std::count(g.image.pixels.begin(), g.image.pixels.end(), gen::kOlive),
                      std::ptrdiff_t(g.image.pixels.size()))
                << res << " has no glyph";
        }
}
