// Element records built from skins made here: each test writes a description
// and the bitmaps it names, packs them as a real archive and loads it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "WinSkinData.h"
#include "test_skin_data_util.h"

using namespace qs;
using namespace qs::test;

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

class SkinRecords : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installQuietNotice(); }
    void load(const SkinBuilder& b) { ASSERT_TRUE(loadArchive(sd, b.archive())); }
    TSkinData sd{nullptr};
};

uint32_t rgbPixel(int r, int g, int b) { return uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b); }

void expectNear(uint32_t pixel, int r, int g, int b, int tolerance, const char* what) {
    const int pr = int(pixel >> 16 & 0xFF), pg = int(pixel >> 8 & 0xFF), pb = int(pixel & 0xFF);
    EXPECT_LE(std::abs(pr - r), tolerance) << what << " red " << pr;
    EXPECT_LE(std::abs(pg - g), tolerance) << what << " green " << pg;
    EXPECT_LE(std::abs(pb - b), tolerance) << what << " blue " << pb;
}

TEST_F(SkinRecords, TabPaneMarginsAreCappedAtFourOtherElementsKeepTheirs) {
    SkinBuilder b;
    b.image("pane.bmp", PixelImage(20, 20, 0x123456));
    b.text("[Tab.Pane]\nImage=pane.bmp\nLeftWidth=6\nTopHeight=6\nRightWidth=6\nBottomHeight=3\nFrame=3");
    b.text("[ToolBars]\nImage=pane.bmp\nLeftWidth=6\nBottomHeight=9");
    load(b);
    TDataSkinObject* pane = sd.TabPane();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(pane->Name, "Tab.Pane");
    EXPECT_EQ(pane->LeftWidth, 4);
    EXPECT_EQ(pane->TopHeight, 4);
    EXPECT_EQ(pane->RightWidth, 4);
    EXPECT_EQ(pane->BottomHeight, 3);
    EXPECT_EQ(pane->Frame, 1);  // the slot's count, not the key
    ASSERT_NE(sd.ToolBars(), nullptr);
    EXPECT_EQ(sd.ToolBars()->LeftWidth, 6);
    EXPECT_EQ(sd.ToolBars()->BottomHeight, 9);
    EXPECT_EQ(sd.ToolBars()->Frame, 5);
}

TEST_F(SkinRecords, SlotsGetTheirFrameCountsAndMissingImagesLeaveThemEmpty) {
    SkinBuilder b;
    b.image("e.bmp", PixelImage(40, 10, 0x445566));
    b.text("[Headerbar]\nImage=e.bmp");
    b.text("[Scrollbar]\nImage=e.bmp\nFrame=2");
    b.text("[Progress]\nBitmap=e.bmp\nStyle=1\nTile=4");
    b.text("[Progress.Chunk]\nImage=e.bmp");  // no Frame key: at least one frame
    b.text("[HorzScrollThumb]\nImage=e.bmp");
    b.text("[VertScrollThumb]\nImage=e.bmp\nFrameCount=2\nTile=4");
    b.text("[MenuItem]\nImage=E.bmp");       // entry name found case-blind
    b.text("[SunkEdge]\nImage=missing.bmp");  // no such entry
    b.text("[GroupBoxEdge]\nImage=e.BMP");    // not a .bmp reference
    b.text("[UpDown.Horz]\nImage=e.bmp\nGlyphImage=e.bmp");
    load(b);
    ASSERT_NE(sd.Headerbar(), nullptr);
    EXPECT_EQ(sd.Headerbar()->Frame, 5);
    EXPECT_EQ(sd.Scrollbar()->Frame, 23);
    ASSERT_NE(sd.Progress(), nullptr);
    EXPECT_EQ(sd.Progress()->Frame, 1);
    EXPECT_EQ(sd.Progress()->Tile, 1);
    EXPECT_EQ(sd.ProgressChunk()->Frame, 1);
    EXPECT_EQ(sd.HorzScrollThumb()->Frame, 3);
    EXPECT_EQ(sd.VertScrollThumb()->Frame, 2);
    EXPECT_EQ(sd.VertScrollThumb()->Tile, 0);
    ASSERT_NE(sd.MenuItem(), nullptr);
    EXPECT_EQ(sd.MenuItem()->Bitmap.Width(), 40);
    EXPECT_EQ(sd.SunkEdge(), nullptr);
    EXPECT_EQ(sd.GroupBoxEdge(), nullptr);
    EXPECT_EQ(sd.Tabs(), nullptr);
    ASSERT_NE(sd.UpDownHorz(), nullptr);
    EXPECT_EQ(sd.UpDownHorz()->Frame, 8);
    EXPECT_EQ(sd.UpDownHorz()->Bitmap2.Width(), 40);

    // The next skin lacks them all: every element slot is released.
    SkinBuilder other;
    other.text("[Headerbar]\nStyle=1");
    load(other);
    EXPECT_EQ(sd.Headerbar(), nullptr);
    EXPECT_EQ(sd.Progress(), nullptr);
    EXPECT_EQ(sd.UpDownHorz(), nullptr);

    b.text("[Headerbar]\nImage=e.bmp\nFrame=4");  // a second [Headerbar]: the first one counts
    load(b);
    EXPECT_EQ(sd.Headerbar()->Frame, 5);
}

TEST_F(SkinRecords, BordersTitleAndMenuBarComeFromPersonality) {
    SkinBuilder b;
    b.image("left.bmp", PixelImage(10, 40, 0x101010));
    b.image("top.bmp", PixelImage(90, 54, 0x202020));
    b.image("bar.bmp", PixelImage(30, 20, 0x303030));
    b.text("[Personality]\nLeft=left.bmp\nLeftFrame=2\nLeftTopHeight=5\nLeftBotHeight=6\nLeftStretch=3\nLeftTrans=0");
    b.text("Top=top.bmp\nTopFrame=2\nTopTopHeight=7\nTopBotHeight=8\nTextShift=11\nTextShiftVert=3\nTextRightClip=40");
    b.text("ActiveTextR=1\nActiveTextG=2\nActiveTextB=3\nInActiveTextR=9\nInActiveTextG=9");
    b.text("Right=left.bmp\nRightFrame=0");  // no frames at all: one, so painters never divide by 0
    b.text("menuBar=bar.bmp\nTileMenu=5\nTileRightMenu=4");
    b.text("[Fonts]\nFontHeight=17");
    load(b);

    TDataSkinBorder& left = *sd.BorderLeft();
    EXPECT_EQ(left.Name, "Left");
    EXPECT_EQ(left.Frame, 2);
    EXPECT_EQ(left.TopHeight, 5);
    EXPECT_EQ(left.BottomHeight, 6);
    EXPECT_EQ(left.LeftWidth, 0);
    EXPECT_EQ(left.Tile, 1);
    EXPECT_EQ(left.Trans, 0);
    TDataSkinBorder& top = *sd.BorderTop();
    EXPECT_EQ(top.LeftWidth, 7);
    EXPECT_EQ(top.RightWidth, 8);
    EXPECT_EQ(top.TopHeight, 0);
    EXPECT_EQ(top.Trans, 1);
    EXPECT_EQ(top.Bitmap.Height() / top.Frame, 27);
    EXPECT_EQ(sd.BorderRight()->Bitmap.Width(), 10);
    EXPECT_EQ(sd.BorderRight()->Frame, 1);
    EXPECT_TRUE(sd.BorderBottom()->Bitmap.Empty());

    TDataSkinTitle& title = *sd.Title();
    EXPECT_EQ(title.TextShift(), 11);
    EXPECT_EQ(title.TextShiftVert(), 3);
    EXPECT_EQ(title.TextRightClip(), 40);
    EXPECT_EQ(title.BottomHeight, 0);
    EXPECT_EQ(title.FontHeight, 17);
    EXPECT_EQ(title.Frame, 2);
    EXPECT_EQ(title.ActiveText, 0x030201);
    EXPECT_FALSE(title.HasInActiveText());  // only two of its three keys

    ASSERT_NE(sd.MenuBar(), nullptr);
    EXPECT_EQ(sd.MenuBar()->Name, "Personality");
    EXPECT_EQ(sd.MenuBar()->Tile, 1);
    EXPECT_EQ(sd.MenuBar()->LeftWidth, 1);
    EXPECT_EQ(sd.MenuBar()->RightWidth, 4);
    EXPECT_EQ(sd.MenuBar()->Frame, 2);
}

TEST_F(SkinRecords, CheckAndRadioFramesAreComputedFromTheStrips) {
    SkinBuilder b;
    b.image("button.bmp", PixelImage(100, 20, 0x808080));
    b.image("check.bmp", PixelImage(65, 13, 0x111111));
    b.image("radio.bmp", PixelImage(65, 13, 0x222222));
    b.text("[Colours]\nButtonText=1 2 3");
    b.text("[Buttons]\nBitmap=button.bmp\nCheckButton=check.bmp\nRadioButton=radio.bmp\nNormalColour2=9 9 9\nTile=2");
    load(b);
    TDataSkinButton& buttons = *sd.Buttons();
    EXPECT_EQ(buttons.CheckButtonFrame, 5);
    EXPECT_EQ(buttons.RadioButtonFrame, 5);
    EXPECT_EQ(buttons.Frame, 5);
    EXPECT_EQ(buttons.Tile, 0);
    EXPECT_TRUE(buttons.HasNormalColour2);
    EXPECT_EQ(buttons.NormalColour2, 0x090909);
    EXPECT_FALSE(buttons.HasMouseOverColour2);
    EXPECT_EQ(buttons.MouseOverColour2, 0x030201);  // the skin's button text

    SkinBuilder tall;
    tall.image("check.bmp", PixelImage(40, 20, 0x111111));  // 40 / 16 = 2, raised to 4
    tall.image("radio.bmp", PixelImage(96, 16, 0x222222));
    tall.text("[Buttons]\nCheckButton=check.bmp\nRadioButton=radio.bmp\nRadioButtonFrame=7");
    load(tall);
    EXPECT_EQ(sd.Buttons()->CheckButtonFrame, 4);
    EXPECT_EQ(sd.Buttons()->RadioButtonFrame, 7);
    EXPECT_TRUE(sd.Buttons()->Bitmap.Empty());
}

TEST_F(SkinRecords, CaptionButtonFramesFollowTheImageShapeAndAction) {
    SkinBuilder b;
    b.image("six.bmp", PixelImage(108, 18, 0x0000FF));
    b.image("three.bmp", PixelImage(54, 18, 0x00FF00));
    b.image("r68.bmp", PixelImage(68, 18, 0x00FF00));  // 3.78: three frames
    b.image("r69.bmp", PixelImage(69, 18, 0x00FF00));  // 3.83: six
    b.text("[Button0]\nAction=0\nButtonImage=six.bmp\nXcoord=25\nAlign=1");
    b.text("[Button1]\nAction=1\nButtonImage=three.bmp");
    b.text("[button2]\nAction=-2\nButtonImage=three.bmp");
    b.text("[Button3]\nAction=3\nButtonImage=three.bmp");
    b.text("[Button4]\nAction=11\nButtonImage=six.bmp\nframe=2");
    b.text("[Button5]\nAction=-1\nVisibility=1\nButtonImage=six.bmp");
    b.text("[Button6]\nAction=-1\nVisibility=0\nButtonImage=six.bmp");
    b.text("[Button7]\nAction=2");
    b.text("[Button8]\nButtonImage=r68.bmp");
    b.text("[Button9]\nButtonImage=r69.bmp");
    b.text("[Buttons]\n[Button.Radio]\n[BUTTON]\n[Button.CheckBox]\nAction=1");
    load(b);

    const auto& cb = sd.CaptionButtons();
    ASSERT_EQ(cb.size(), 9u + 3u);
    EXPECT_EQ(cb[0]->Name, "BUTTON0");
    EXPECT_EQ(cb[0]->Frame, 6);
    EXPECT_EQ(cb[0]->Xcoord, 25);
    EXPECT_EQ(cb[0]->Align, 1);
    EXPECT_EQ(cb[0]->CombineOp, -1);
    EXPECT_EQ(cb[1]->Frame, 3);
    EXPECT_EQ(cb[2]->Name, "BUTTON2");
    EXPECT_EQ(cb[2]->Frame, 6);  // negative Action
    EXPECT_EQ(cb[3]->Frame, 3);
    EXPECT_TRUE(cb[3]->Bitmap.Empty());  // icon button: the window icon goes there
    EXPECT_EQ(cb[4]->Frame, 2);          // an explicit count keeps image and count
    EXPECT_EQ(cb[4]->Bitmap.Width(), 108);
    EXPECT_EQ(cb[5]->Name, "BUTTON6");  // Button5 hidden for good, Button6 kept
    EXPECT_EQ(cb[5]->Visibility1, -1);
    EXPECT_EQ(cb[5]->Frame, 6);
    EXPECT_EQ(cb[6]->Frame, 6);  // no image
    EXPECT_EQ(cb[7]->Frame, 3);
    EXPECT_EQ(cb[8]->Frame, 6);
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& child = *cb[9 + std::size_t(i)];
        EXPECT_EQ(child.Action, 7 + i);
        EXPECT_EQ(child.Align, 100);
        EXPECT_EQ(child.Visibility, 100);
        EXPECT_EQ(child.Visibility1, 100);
        EXPECT_EQ(child.Frame, 4);
        EXPECT_TRUE(child.Bitmap.Empty());
    }
}

TEST_F(SkinRecords, MdiControlsImageIsCutIntoThreeChildWindowButtons) {
    PixelImage mdi = stripImage(60, 14, {0xFF0000, 0x00FF00, 0x0000FF});
    SkinBuilder b;
    b.image("six.bmp", PixelImage(108, 18, 0x0000FF));
    b.image("mdi.bmp", mdi);
    b.text("[Button0]\nButtonImage=six.bmp");
    b.text("[MdiControls]\nImage=mdi.bmp");
    load(b);
    const auto& cb = sd.CaptionButtons();
    ASSERT_EQ(cb.size(), 4u);
    const int xcoords[] = {57, 38, 19};
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF};
    for (int i = 0; i < 3; ++i) {
        TDataSkinSysButton& child = *cb[1 + std::size_t(i)];
        EXPECT_EQ(child.Action, 7 + i);
        EXPECT_EQ(child.Xcoord, xcoords[i]);
        ASSERT_EQ(child.Bitmap.Width(), 60);
        ASSERT_EQ(child.Bitmap.Height(), 14);
        EXPECT_EQ(pixelAt(child.Bitmap, 0, 0), colours[i]);
        EXPECT_EQ(pixelAt(child.Bitmap, 59, 13), colours[i]);
    }
}

TEST_F(SkinRecords, MissingTrackSectionsUseTheBuiltInGroovesWithMarginsThree) {
    BmpResult groove = ReadBmp(readTestFile(QS_BUILTIN_DIR "/track.bmp"));
    ASSERT_TRUE(groove);
    SkinBuilder b;
    b.image("tv.bmp", PixelImage(8, 30, 0x405060));
    b.text("[TRACKVERT]\nImage=tv.bmp\nFrame=2\nLeftWidth=1");
    load(b);
    TDataSkinObject* track = sd.Track();
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->Name, "Track");
    ASSERT_EQ(track->Bitmap.Width(), 16);
    ASSERT_EQ(track->Bitmap.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(pixelAt(track->Bitmap, x, y), groove.image.at(x, y) & 0xFFFFFF) << x << ',' << y;
    EXPECT_EQ(track->LeftWidth, 3);
    EXPECT_EQ(track->TopHeight, 3);
    EXPECT_EQ(track->RightWidth, 3);
    EXPECT_EQ(track->BottomHeight, 3);
    EXPECT_EQ(track->Tile, 0);
    EXPECT_EQ(track->Frame, 1);
    TDataSkinObject* vert = sd.TrackVert();
    ASSERT_NE(vert, nullptr);
    EXPECT_EQ(vert->Bitmap.Height(), 30);
    EXPECT_EQ(vert->Frame, 2);
    EXPECT_EQ(vert->LeftWidth, 1);

    load(SkinBuilder{});
    ASSERT_NE(sd.TrackVert(), nullptr);
    EXPECT_EQ(sd.TrackVert()->Bitmap.Width(), 4);
    EXPECT_EQ(sd.TrackVert()->Bitmap.Height(), 16);
    EXPECT_EQ(sd.TrackVert()->RightWidth, 3);
}

// A combo box skin: a four-frame sunken edge, a four-frame button and five
// arrow glyphs, every frame in a colour of its own.
SkinBuilder comboSkin(bool withSunkEdge) {
    SkinBuilder b;
    b.image("sunk.bmp", stripImage(12, 12, {0x110000, 0x220000, 0x330000, 0x440000}));
    b.image("combo.bmp", stripImage(8, 21, {0x001100, 0x002200, 0x003300, 0x004400}));
    PixelImage glyphs = stripImage(5, 5, {0x000011, 0x000022, 0x000033, 0x000044, 0x000055});
    for (int k = 0; k < 5; ++k) glyphs.at(5 * k, 0) = kMagenta;  // corners see through
    b.image("arrows.bmp", glyphs);
    b.text("[Colours]\nButtonFace=224 224 224");
    if (withSunkEdge) b.text("[SunkEdge]\nImage=sunk.bmp\nTopHeight=3\nBottomHeight=4\nLeftWidth=2\nRightWidth=2");
    b.text("[ComboButton]\nImage=combo.bmp\nTopHeight=1\nLeftWidth=1");
    b.text("[ExtraImages]\nImage=arrows.bmp");
    return b;
}

TEST_F(SkinRecords, ComboCompositeCellsHoldEdgeButtonGlyphAndClearEditArea) {
    load(comboSkin(true));
    const int b = GetSystemMetrics(SM_CXHSCROLL) + 2;
    TDataSkinBorder* combo = sd.ComboButton();
    TDataSkinObject* sunk = sd.SunkEdge();
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(sunk, nullptr);
    EXPECT_EQ(combo->Style, 2);
    EXPECT_EQ(combo->LeftWidth, 2);
    EXPECT_EQ(combo->RightWidth, b + 2);
    EXPECT_EQ(combo->TopHeight, 3);
    EXPECT_EQ(combo->BottomHeight, 4);
    EXPECT_EQ(combo->Frame, 4);
    ASSERT_EQ(combo->Bitmap.Width(), 200);
    ASSERT_EQ(combo->Bitmap.Height(), 21);
    EXPECT_EQ(combo->Bitmap2.Width(), 32);  // the mirrored original stays

    const int gx = 50 - b + (b - 5) / 2;  // glyph's left column in a cell
    for (int k = 1; k <= 4; ++k) {
        const int x0 = 50 * (k - 1);
        const uint32_t edge = 0x110000u * uint32_t(k), button = 0x001100u * uint32_t(k), glyph = 0x11u * uint32_t(k);
        TBitmap& s = combo->Bitmap;
        EXPECT_EQ(pixelAt(s, x0, 0), edge) << k;
        EXPECT_EQ(pixelAt(s, x0 + 1, 10), edge) << k;
        EXPECT_EQ(pixelAt(s, x0 + 2, 18), edge) << k;
        EXPECT_EQ(pixelAt(s, x0 + 49 - b, 10), edge) << k;
        EXPECT_EQ(pixelAt(s, x0 + 2, 2), kMagenta) << k;
        EXPECT_EQ(pixelAt(s, x0 + 48 - b, 17), kMagenta) << k;
        EXPECT_EQ(pixelAt(s, x0 + 50 - b, 0), button) << k;
        EXPECT_EQ(pixelAt(s, x0 + 49, 20), button) << k;
        EXPECT_EQ(pixelAt(s, x0 + gx + 2, 10), glyph) << k;
        EXPECT_EQ(pixelAt(s, x0 + gx, 8), button) << k;  // the glyph's magenta corner
    }

    // The sunken edge becomes the mirror image: button on the left.
    EXPECT_EQ(sunk->LeftWidth, b + 2);
    EXPECT_EQ(sunk->RightWidth, 2);
    EXPECT_EQ(sunk->TopHeight, 3);
    ASSERT_EQ(sunk->Bitmap.Width(), 200);
    for (int x : {0, 7, 31, 100, 199})
        for (int y : {0, 10, 20}) EXPECT_EQ(pixelAt(sunk->Bitmap, x, y), pixelAt(combo->Bitmap, 199 - x, y)) << x;

    // The arrow strip: the 17-pixel square before each cell's last two columns.
    TDataSkinObject* arrow = sd.ComboxArrow();
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->Name, "ComboxArrow");
    EXPECT_EQ(arrow->Frame, 4);
    ASSERT_EQ(arrow->Bitmap.Width(), 68);
    ASSERT_EQ(arrow->Bitmap.Height(), 17);
    for (int k = 1; k <= 4; ++k)
        for (int j = 0; j < 17; ++j)
            for (int i = 0; i < 17; ++i)
                ASSERT_EQ(pixelAt(arrow->Bitmap, 17 * (k - 1) + i, j), pixelAt(combo->Bitmap, 50 * k - 19 + i, 2 + j))
                    << k << ' ' << i << ' ' << j;
    EXPECT_EQ(pixelAt(arrow->Bitmap, 17 * 2 + gx + 2 - 31, 8), 0x33u);  // the glyph of cell 3
}

TEST_F(SkinRecords, ComboxArrowWithoutSunkEdgeIsTheButtonOnTheFaceColour) {
    SkinBuilder b = comboSkin(false);
    b.entries[1] = {"combo.bmp", WriteBmp24([] {
                        PixelImage img = stripImage(8, 21, {0x001100, 0x002200, 0x003300, 0x004400});
                        img.at(0, 0) = kMagenta;
                        img.at(31, 20) = 0x123456;
                        return img;
                    }().view())};
    load(b);
    TDataSkinBorder* combo = sd.ComboButton();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->Style, 0);
    EXPECT_EQ(pixelAt(combo->Bitmap2, 0, 20), 0x123456u);  // mirrored copy
    EXPECT_EQ(pixelAt(combo->Bitmap2, 31, 0), kMagenta);
    TDataSkinObject* arrow = sd.ComboxArrow();
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->Frame, 4);
    ASSERT_EQ(arrow->Bitmap.Width(), 32);
    EXPECT_EQ(pixelAt(arrow->Bitmap, 0, 0), 0xE0E0E0u);
    EXPECT_EQ(pixelAt(arrow->Bitmap, 9, 3), 0x002200u);

    // A skin without a face colour: magenta becomes the system's face colour
    // as the user sees it, not the symbolic colour number.
    SkinBuilder noFace;
    noFace.entries.push_back(b.entries[1]);
    noFace.text("[ComboButton]\nImage=combo.bmp");
    load(noFace);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(pixelAt(sd.ComboxArrow()->Bitmap, 0, 0), uint32_t(GetRValue(face)) << 16 | GetGValue(face) << 8 | GetBValue(face));

    // A skin with no combo parts at all leaves no arrow of the previous one.
    load(SkinBuilder{});
    ASSERT_NE(sd.ComboxArrow(), nullptr);
    EXPECT_TRUE(sd.ComboxArrow()->Bitmap.Empty());
}

// A frame whose top strip has two frames stacked: the border colour comes
// from (width / 3, frame height / 3), so rows 0..9 decide it.
SkinBuilder borderSkin(uint32_t upperPixel) {
    PixelImage top(90, 40, 0x0F0F0F);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 90; ++x) top.at(x, y) = upperPixel;
    SkinBuilder b;
    b.image("top.bmp", top);
    b.text("[Personality]\nTop=top.bmp\nTopFrame=2");
    b.text("[Colours]\nButtonFace=224 224 224");
    return b;
}

TEST_F(SkinRecords, ToolbarGradientRunsFromPaleFaceToTheBorderColourMix) {
    struct Case {
        uint32_t pixel;      // the border colour as a pixel
        int r, g, b;         // the gradient's bottom colour
    };
    const Case cases[] = {
        {rgbPixel(0, 80, 255), 140, 176, 255},    // saturated: 45 % border on white
        {rgbPixel(200, 190, 180), 189, 181, 172}, // pale: 15 % grey on the border colour
        {rgbPixel(40, 40, 40), 139, 139, 139},    // dark counts as saturated: 54 % on white
    };
    for (const Case& c : cases) {
        load(borderSkin(c.pixel));
        EXPECT_EQ(uint32_t(sd.BorderColour), pixelToColour(c.pixel));
        TDataSkinObject* bar = sd.Toolbar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->Name, "Toolbar");
        EXPECT_EQ(bar->Frame, 1);
        ASSERT_EQ(bar->Bitmap.Width(), 10);
        ASSERT_EQ(bar->Bitmap.Height(), 40);
        expectNear(pixelAt(bar->Bitmap, 0, 0), 250, 250, 250, 0, "top");
        expectNear(pixelAt(bar->Bitmap, 9, 39), c.r, c.g, c.b, 1, "bottom");
        EXPECT_EQ(pixelAt(bar->Bitmap, 0, 20), pixelAt(bar->Bitmap, 9, 20));
    }

    // Without a top strip the frame colour is the face colour.
    SkinBuilder plain;
    plain.text("[Colours]\nButtonFace=224 224 224");
    load(plain);
    EXPECT_EQ(sd.BorderColour, 0xE0E0E0);
}

}  // namespace
