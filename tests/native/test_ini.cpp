#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "ColourText.h"
#include "QuickIni.h"
#include "Vocabulary.h"

using namespace qs;
using namespace qs::syscolour;

namespace {
TQuickIni load(std::string_view text) {
    TQuickIni ini;
    ini.LoadFromText(text);
    return ini;
}
}  // namespace

TEST(QuickIni, KeptLinesAndLineBreaks) {
    // CR, LF and CR LF each end a line; blanks and control characters are
    // trimmed; comments and empty lines are dropped; a NUL ends the text.
    const std::string text = std::string("  \t[A]\r\n; note\rx = 1\n\n\x01y=2 \x1f\r\r[B]\nz=3") + '\0' + "[C]\nw=4";
    const TQuickIni ini = load(text);
    EXPECT_EQ(ini.Lines(), (std::vector<std::string>{"[A]", "x = 1", "y=2", "[B]", "z=3"}));
    EXPECT_EQ(ini.ReadString("A", "y", "-"), "2");
    EXPECT_EQ(ini.ReadString("B", "z", "-"), "3");
    EXPECT_FALSE(ini.SectionExists("C"));

    // Loading again replaces everything.
    TQuickIni again = ini;
    again.LoadFromText("[Z]\nq=1");
    EXPECT_EQ(again.ReadString("A", "x", "gone"), "gone");

    std::istringstream stream("skipped[S]\nk=v");
    stream.seekg(7);
    TQuickIni fromStream;
    fromStream.LoadFromStream(stream);
    EXPECT_EQ(fromStream.ReadString("S", "k", ""), "v");
}

TEST(QuickIni, SectionLookupIsCaseBlindButBlankExact) {
    const TQuickIni ini = load("k=before any header\n[colours]\nA=1\n[ Colours ]\nB=2\n[COLOURS]\nC=3\n");
    EXPECT_EQ(ini.ReadString("Colours", "A", "-"), "1");
    EXPECT_EQ(ini.ReadString("Colours", "B", "-"), "-");  // lies in "[ Colours ]"
    EXPECT_EQ(ini.ReadString(" Colours ", "B", "-"), "2");
    // A repeated section: only the first one is searched.
    EXPECT_EQ(ini.ReadString("COLOURS", "C", "-"), "-");
    EXPECT_EQ(ini.ReadString("", "k", "-"), "-");  // lines before the first header are unreachable
    EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"colours", "Colours", "COLOURS"}));
}

TEST(QuickIni, KeyRules) {
    const TQuickIni ini = load(
        "[Tabs]\n"
        "Tile=\n"
        "Frame=\n"
        "Frame=4\n"
        "  Style  =  7 = 8 \n"
        "no equals sign\n"
        "=orphan\n"
        "LEFTWIDTH=3\n"
        "[Next]\n"
        "Trans=1\n");
    EXPECT_EQ(ini.ReadInteger("Tabs", "Tile", 5), 5);   // empty value: the default, not 0
    EXPECT_EQ(ini.ReadInteger("Tabs", "Frame", 9), 9);  // first line wins though empty
    EXPECT_EQ(ini.ReadString("tabs", "style", ""), "7 = 8");
    EXPECT_EQ(ini.ReadInteger("Tabs", "LeftWidth", 0), 3);
    EXPECT_EQ(ini.ReadString("Tabs", "no equals sign", "-"), "-");
    EXPECT_EQ(ini.ReadString("Tabs", "", "-"), "-");
    EXPECT_EQ(ini.ReadInteger("Tabs", "Trans", -1), -1);  // the walk stops at the next header
}

TEST(QuickIni, IntegerSyntax) {
    struct {
        const char* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {"31", true, 31},          {"0x1F", true, 31},       {"0X1f", true, 31},
        {"$1F", true, 31},         {"1F", false, 0},         {"-$1F", true, -31},
        {"+12", true, 12},         {"-2147483648", true, INT32_MIN},
        {"2147483647", true, INT32_MAX},                     {"2147483648", false, 0},
        {"$FFFFFFFF", true, -1},   {"$100000000", false, 0}, {"0x", false, 0},
        {"$", false, 0},           {"-", false, 0},          {"1 2", false, 0},
        {"-0x1F", false, 0},       {"0x-1", false, 0},       {"0012", true, 12},
    };
    for (const auto& c : cases) {
        int32_t v = 0;
        EXPECT_EQ(parseInteger(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    const TQuickIni ini = load("[S]\na=0x1F\nb=$1F\nc=1F\n");
    EXPECT_EQ(ini.ReadInteger("S", "a", -7), 31);
    EXPECT_EQ(ini.ReadInteger("S", "b", -7), 31);
    EXPECT_EQ(ini.ReadInteger("S", "c", -7), -7);
}

TEST(QuickIni, ImageReferences) {
    EXPECT_EQ(imageReference("FrameTop.bmp"), "FrameTop.bmp");
    EXPECT_EQ(imageReference("skins\\xp\\FrameTop.bmp"), "FrameTop.bmp");
    EXPECT_EQ(imageReference("C:FrameTop.bmp"), "FrameTop.bmp");
    EXPECT_EQ(imageReference("FrameTop.BMP"), "");
    EXPECT_EQ(imageReference("FrameTop"), "");
    EXPECT_EQ(imageReference("FrameTop.bmp.txt"), "");
    EXPECT_EQ(imageReference("dir.bmp\\file"), "");
    EXPECT_EQ(imageReference(""), "");
}

TEST(ColourText, ParseRules) {
    const ColourNum def = clBtnFace;
    EXPECT_EQ(ParseColour("10 20 30", def), rgbColour(10, 20, 30));
    EXPECT_EQ(ParseColour("10,20,30", def), rgbColour(10, 20, 30));
    EXPECT_EQ(ParseColour("  10 , 20 ; 30  ", def), rgbColour(10, 20, 30));
    EXPECT_EQ(ParseColour("300 0 0", def), rgbColour(44, 0, 0));
    EXPECT_EQ(ParseColour("10 20", def), rgbColour(10, 0, 0));  // a pending run needs two before it
    EXPECT_EQ(ParseColour("10 20 ", def), rgbColour(10, 0, 0));  // trimmed first
    EXPECT_EQ(ParseColour("10 20;", def), rgbColour(10, 20, 0));
    EXPECT_EQ(ParseColour("10", def), 0);
    EXPECT_EQ(ParseColour("red", def), 0);  // present but no digits: black, not the default
    EXPECT_EQ(ParseColour("", def), def);
    EXPECT_EQ(ParseColour(" \t", def), def);
    EXPECT_EQ(ParseColour("1 2 3 4 5", def), rgbColour(1, 2, 3));
    EXPECT_EQ(ParseColour("1,2,3,4,", def), rgbColour(1, 2, 3));
    // A number too big for 32 bits swallows the digits after it.
    EXPECT_EQ(ParseColour("10 99999999999 30", def), rgbColour(10, 0, 0));
    EXPECT_EQ(ParseColour("10 20 99999999999", def), rgbColour(10, 20, 0));
    EXPECT_EQ(ParseColour("2147483647 1 2", def), rgbColour(255, 1, 2));
    EXPECT_EQ(ParseColour("2147483648 1 2", def), 0);
}

TEST(ColourText, ColourByKeys) {
    const TQuickIni ini = load(
        "[P]\nActiveTextR=300\nActiveTextG=1\nActiveTextB=$10\n"
        "InActiveTextR=1\nInActiveTextG=-1\nInActiveTextB=1\n"
        "HalfR=5\nHalfG=5\n");
    ColourNum c = 0x1FFFFFFF;
    EXPECT_TRUE(ReadColourKeys(ini, "P", "ActiveText", c));
    EXPECT_EQ(c, rgbColour(44, 1, 16));
    c = 0x1FFFFFFF;
    EXPECT_FALSE(ReadColourKeys(ini, "P", "InActiveText", c));
    EXPECT_FALSE(ReadColourKeys(ini, "P", "Half", c));
    EXPECT_EQ(c, 0x1FFFFFFF);
    EXPECT_EQ(ReadColour(ini, "P", "Missing", clMenu), clMenu);
}

// --- the vocabulary table ---------------------------------------------------

using namespace qs::vocab;

TEST(Vocabulary, NamesEverySectionTheLoaderReads) {
    std::set<std::string> sections;
    for (const ElementDef& e : elements())
        if (e.match == Match::Exact) sections.insert(std::string(e.section));
    for (const char* name :
         {"TitlebarSkin", "Personality", "Fonts", "Colours", "Customcolors", "MDICONTROLS", "Buttons", "Progress",
          "Progress.Chunk", "GroupBoxEdge", "GroupBox", "StatusBarEdges", "Tab.Pane", "ToolBars", "SunkEdge",
          "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
          "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
          "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "Track", "TRACKVERT", "Tabs",
          "UpDown.Horz", "UpDown.Vert", "ComboButton"})
        EXPECT_TRUE(sections.count(name)) << name;

    for (const ElementDef& e : elements()) {
        std::set<std::string> keys;
        for (const KeyDef& k : e.keys) {
            std::string lower(k.name);
            std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
            EXPECT_TRUE(keys.insert(lower).second) << e.section << " repeats " << k.name;
            // Mask bitmaps are never loaded.
            EXPECT_FALSE(lower.ends_with("mask")) << k.name;
        }
        // A record that depends on a key must read that key as an image.
        if (!e.requiredKey.empty()) {
            auto it = std::find_if(e.keys.begin(), e.keys.end(),
                                   [&](const KeyDef& k) { return k.name == e.requiredKey; });
            ASSERT_NE(it, e.keys.end()) << e.section;
            EXPECT_EQ(it->kind, ValueKind::Image) << e.section;
        }
    }
    // Element colours default to ButtonText, so the colour table comes first;
    // Menubar defaults to ButtonFace, so ButtonFace is read before it.
    const auto all = elements();
    auto pos = [&](Slot s) { return std::find_if(all.begin(), all.end(), [&](auto& e) { return e.slot == s; }); };
    EXPECT_LT(pos(Slot::Colours), pos(Slot::Buttons));
    EXPECT_LT(pos(Slot::Colours), pos(Slot::ProgressChunk));
    const auto colours = pos(Slot::Colours)->keys;
    auto keyPos = [&](std::string_view n) {
        return std::find_if(colours.begin(), colours.end(), [&](auto& k) { return k.name == n; });
    };
    EXPECT_LT(keyPos("ButtonFace"), keyPos("Menubar"));
}

namespace {
const KeyDef& keyOf(Slot slot, std::string_view name) {
    for (const ElementDef* e : elementsFor(slot))
        for (const KeyDef& k : e->keys)
            if (k.name == name) return k;
    throw std::runtime_error("no key " + std::string(name));
}
}  // namespace

TEST(Vocabulary, DefaultsAndCorrections) {
    const TQuickIni ini = load(
        "[Personality]\nTopStretch=5\nLeftStretch=0\nTileMenu=3\n"
        "[Tabs]\nTile=2\n[Progress]\nTile=2\n"
        "[Colours]\nButtonFace=1 2 3\nButtonText=9 9 9\nWindowText=\n"
        "[HorzScrollThumb]\nImage=t.bmp\n[Fonts]\n");
    ReadContext ctx;
    EXPECT_EQ(readInteger(ini, "Personality", keyOf(Slot::BorderTop, "TopStretch"), ctx), 1);
    EXPECT_EQ(readInteger(ini, "Personality", keyOf(Slot::BorderLeft, "LeftStretch"), ctx), 0);
    EXPECT_EQ(readInteger(ini, "Personality", keyOf(Slot::BorderBottom, "BottomStretch"), ctx), 1);
    EXPECT_EQ(readInteger(ini, "Personality", keyOf(Slot::BorderRight, "RightFrame"), ctx), 1);
    EXPECT_EQ(readInteger(ini, "Personality", keyOf(Slot::MenuBar, "TileMenu"), ctx), 1);
    EXPECT_EQ(readInteger(ini, "Tabs", keyOf(Slot::Tabs, "Tile"), ctx), 0);
    EXPECT_EQ(readInteger(ini, "Progress", keyOf(Slot::Progress, "Tile"), ctx), 1);
    EXPECT_EQ(readInteger(ini, "HorzScrollThumb", keyOf(Slot::HorzScrollThumb, "FrameCount"), ctx), 3);
    EXPECT_EQ(readInteger(ini, "Fonts", keyOf(Slot::Title, "FontHeight"), ctx), 14);

    // System-colour defaults stay symbolic.
    EXPECT_EQ(readColour(ini, "Colours", keyOf(Slot::Colours, "WindowText"), ctx), ColourNum(0xFF000008));
    EXPECT_EQ(readColour(ini, "Colours", keyOf(Slot::Colours, "Menu"), ctx), clMenu);
    ctx.buttonFace = readColour(ini, "Colours", keyOf(Slot::Colours, "ButtonFace"), ctx);
    ctx.buttonText = readColour(ini, "Colours", keyOf(Slot::Colours, "ButtonText"), ctx);
    EXPECT_EQ(readColour(ini, "Colours", keyOf(Slot::Colours, "Menubar"), ctx), rgbColour(1, 2, 3));
    EXPECT_EQ(readColour(ini, "Tabs", keyOf(Slot::Tabs, "PressedColour2"), ctx), rgbColour(9, 9, 9));
    EXPECT_EQ(readInteger(ini, "Tabs", keyOf(Slot::Tabs, "PressedColour"), ctx), -1);
    EXPECT_EQ(readColour(ini, "Customcolors", keyOf(Slot::CustomColors, "Color7"), ctx), 0xFFFFFF);
    EXPECT_EQ(readText(ini, "HorzScrollThumb", keyOf(Slot::HorzScrollThumb, "Image")), "t.bmp");
}

TEST(Vocabulary, PatternSectionsAndCaptionButtonRules) {
    const TQuickIni ini = load(
        "[Colours]\n[Colour0]\ncolor=1 2 3\n[colour1]\n[COLOURFUL]\n[Color2]\n"
        "[Button]\n[Buttons]\n[Button.Radio]\n[BUTTON.CHECKBOX]\n"
        "[Button0]\nAction=1\n"
        "[Button1]\nAction=-1\n"                 // Visibility absent: -1, skipped
        "[Button2]\nAction=-1\nVisibility=0\n"   // kept
        "[Button3]\nAction=-1\nVisibility=2\n"   // skipped
        "[ButtonX]\n");
    EXPECT_EQ(sectionsMatching(ini, Match::ColourSections),
              (std::vector<std::string>{"Colour0", "colour1", "COLOURFUL"}));
    EXPECT_EQ(sectionsMatching(ini, Match::CaptionButtons),
              (std::vector<std::string>{"Button0", "Button2", "ButtonX"}));

    ReadContext ctx;
    const KeyDef& vis1 = keyOf(Slot::CaptionButtons, "Visibility1");
    ctx.action = -1;
    EXPECT_EQ(readInteger(ini, "Button2", vis1, ctx), -1);
    ctx.action = 1;
    EXPECT_EQ(readInteger(ini, "Button0", vis1, ctx), 0);
    EXPECT_EQ(readInteger(ini, "Button0", keyOf(Slot::CaptionButtons, "CombineOp"), ctx), -1);
    EXPECT_EQ(readColour(ini, "colour1", keyOf(Slot::ColourSections, "color"), ctx), clWindowText);
}
