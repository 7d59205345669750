// Frame numbers: metrics from border strips, the client rectangle, caption
// button visibility and placement, the frame a button shows, and where the
// caption text goes.
#include <gtest/gtest.h>

#include "FrameLayout.h"

using namespace qs;

namespace {

PixelRect R(int l, int t, int r, int b) { return PixelRect{l, t, r, b}; }

// The default skin's strips: 10-pixel sides of two frames side by side,
// 290 x 54 top and 290 x 10 bottom strips of two stacked frames.
BorderStripSizes defaultStrips() {
    BorderStripSizes s;
    s.leftWidth = 10, s.leftFrames = 2;
    s.rightWidth = 10, s.rightFrames = 2;
    s.topHeight = 54, s.topFrames = 2;
    s.bottomHeight = 10, s.bottomFrames = 2;
    return s;
}

CaptionState normalWindow() {
    CaptionState s;
    s.styleFlags = sfMaximizeBox | sfMinimizeBox | sfSystemMenu;
    return s;
}

bool visible(int vis, int vis1, const CaptionState& s, int action = 5, VisibilityQuery q = {}) {
    return EvaluateButtonVisibility({action, vis, vis1}, s, q).visible;
}

}  // namespace

TEST(FrameMetrics, OneFrameOfEachStripAndNothingWithoutCaption) {
    EXPECT_EQ(ComputeFrameMetrics(defaultStrips(), bkSizeable), (FrameMetrics{5, 27, 5, 5}));
    EXPECT_EQ(ComputeFrameMetrics(defaultStrips(), bkDialog), (FrameMetrics{5, 27, 5, 5}));
    EXPECT_EQ(ComputeFrameMetrics(defaultStrips(), bkNoCaption), (FrameMetrics{}));
    BorderStripSizes missing = defaultStrips();
    missing.rightWidth = 0;      // no image
    missing.bottomFrames = 0;    // a bad frame count counts as one
    EXPECT_EQ(ComputeFrameMetrics(missing, bkSingle), (FrameMetrics{5, 27, 0, 10}));
}

TEST(FrameMetrics, ClientRectangleInsideTheFrameAndMenuBand) {
    const FrameMetrics m{5, 27, 5, 5};
    EXPECT_EQ(ClientFromWindow(R(100, 50, 500, 350), m, 0), R(105, 77, 495, 345));
    EXPECT_EQ(ClientFromWindow(R(100, 50, 500, 350), m, 19), R(105, 96, 495, 345));
    // Smaller than the frame: empty, not inverted.
    const PixelRect tiny = ClientFromWindow(R(0, 0, 8, 20), m, 0);
    EXPECT_EQ(tiny, R(5, 27, 5, 27));
}

TEST(ButtonVisibility, WindowStateAndActivation) {
    CaptionState s = normalWindow();
    EXPECT_TRUE(visible(0, 0, s));
    EXPECT_FALSE(visible(1, 0, s));  // maximized only
    EXPECT_TRUE(visible(2, 0, s));
    s.windowState = wsMaximizedKind;
    EXPECT_TRUE(visible(1, 0, s));
    EXPECT_FALSE(visible(2, 0, s));
    EXPECT_FALSE(visible(2, 1, s));  // both conditions must hold
    s.active = false;
    EXPECT_FALSE(visible(3, 0, s));
    EXPECT_TRUE(visible(4, 0, s));
    EXPECT_TRUE(visible(1, 4, s));
    EXPECT_FALSE(visible(0, 3, s));
}

TEST(ButtonVisibility, StyleBoxesAndTheSystemMenu) {
    CaptionState s;
    s.styleFlags = sfMinimizeBox;  // no system menu
    EXPECT_FALSE(visible(6, 0, s));   // first condition needs the system menu
    EXPECT_TRUE(visible(0, 6, s));    // second one does not
    EXPECT_TRUE(visible(7, 0, s));
    EXPECT_FALSE(visible(9, 0, s));
    s.styleFlags = sfMaximizeBox | sfSystemMenu;
    EXPECT_TRUE(visible(8, 0, s));
    EXPECT_FALSE(visible(7, 0, s));
    EXPECT_TRUE(visible(9, 0, s));
    s.styleFlags = sfSystemMenu;
    EXPECT_FALSE(visible(6, 0, s));
}

TEST(ButtonVisibility, MdiDialogRangesAndUnknownValues) {
    CaptionState s = normalWindow();
    EXPECT_FALSE(visible(100, 0, s));
    s.mdiMaximizedChildActive = true;
    EXPECT_FALSE(visible(100, 0, s));  // needs the skinned menu bar too
    s.hasSkinMenu = true;
    EXPECT_TRUE(visible(100, 0, s));
    // Visibility1 = 100 repeats the first condition.
    EXPECT_TRUE(visible(0, 100, s));
    EXPECT_FALSE(visible(1, 100, s));

    CaptionState d = normalWindow();
    EXPECT_FALSE(visible(200, 0, d));
    d.borderKind = bkDialog;
    EXPECT_TRUE(visible(200, 0, d));
    d.isDialog = true;  // a standard dialog box is not meant
    EXPECT_FALSE(visible(200, 0, d));

    EXPECT_TRUE(visible(201, 0, s));
    EXPECT_TRUE(visible(999, 0, s));
    EXPECT_TRUE(visible(0, 1500, s));
    EXPECT_TRUE(visible(0, 2000, s));
    EXPECT_FALSE(visible(0, 2001, s));
    for (int v : {5, 10, 11, -1, 2001, 99})
        EXPECT_FALSE(visible(v, 0, s)) << v;
}

TEST(ButtonVisibility, HighValuesAskTheWindow) {
    CaptionState s = normalWindow();
    int asked = 0, askedWith = 0, askedAction = 0;
    VisibilityQuery yes = [&](int32_t v, int32_t a) { ++asked, askedWith = v, askedAction = a; return int64_t(1); };
    VisibilityQuery no = [&](int32_t, int32_t) { ++asked; return int64_t(0); };
    EXPECT_TRUE(visible(1500, 0, s, 14, yes));
    EXPECT_EQ(askedWith, 1500);
    EXPECT_EQ(askedAction, 14);
    EXPECT_FALSE(visible(1000, 0, s, 14, no));
    EXPECT_FALSE(visible(1500, 0, s, 14, [](int32_t, int32_t) { return int64_t(-5); }));
    asked = 0;
    // The second condition never asks.
    EXPECT_TRUE(visible(0, 1500, s, 14, no));
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(visible(1500, 0, s, 14, {}));  // nobody to ask
}

TEST(ButtonVisibility, ActionAdjustments) {
    CaptionState s;
    s.styleFlags = sfMinimizeBox;  // no system menu, no maximize box
    EXPECT_FALSE(visible(0, 0, s, 0));  // Close needs the system menu
    const auto max = EvaluateButtonVisibility({1, 0, 0}, s, {});
    EXPECT_TRUE(max.visible);
    EXPECT_TRUE(max.enabledChanged);
    EXPECT_FALSE(max.enabled);
    const auto min = EvaluateButtonVisibility({2, 0, 0}, s, {});
    EXPECT_FALSE(min.enabled);  // box without system menu
    s.styleFlags |= sfSystemMenu;
    EXPECT_TRUE(EvaluateButtonVisibility({2, 0, 0}, s, {}).enabled);
    EXPECT_FALSE(EvaluateButtonVisibility({1, 0, 0}, s, {}).enabled);
    EXPECT_FALSE(EvaluateButtonVisibility({5, 0, 0}, s, {}).enabledChanged);
    // Icon and help-like buttons leave dialog frames.
    s.borderKind = bkDialog;
    for (int a : {3, 11, 12}) EXPECT_FALSE(visible(0, 0, s, a)) << a;
    EXPECT_TRUE(visible(0, 0, s, 0));
}

TEST(ButtonLayout, DefaultSkinOnA400PixelWindow) {
    ButtonLayoutContext c;
    c.windowWidth = 400;
    c.rightAnchor = 395;
    c.leftAnchor = 5;
    // The default skin: Align 1 with Xcoord 25 / 49 / 73, Ycoord 5, 18 x 18.
    EXPECT_EQ(LayoutButton({1, 25, 5, 18, 18}, c, {}), R(375, 5, 393, 23));
    EXPECT_EQ(LayoutButton({1, 49, 5, 18, 18}, c, {}), R(351, 5, 369, 23));
    EXPECT_EQ(LayoutButton({1, 73, 5, 18, 18}, c, {}), R(327, 5, 345, 23));
    EXPECT_EQ(LayoutButton({0, 8, 7, 16, 16}, c, {}), R(8, 7, 24, 23));
}

TEST(ButtonLayout, AnchoredMenuBarAndUnknownAligns) {
    ButtonLayoutContext c;
    c.windowWidth = 300;
    c.leftAnchor = 4;
    c.rightAnchor = 296;
    c.rightBorder = 4;
    c.titleHeight = 30;
    c.menuHeight = 20;
    EXPECT_EQ(LayoutButton({2, 3, 6, 16, 14}, c, {}), R(277, 6, 293, 20));
    EXPECT_EQ(LayoutButton({8, 3, 6, 16, 14}, c, {}), R(277, 6, 293, 20));
    EXPECT_EQ(LayoutButton({3, 3, 6, 16, 14}, c, {}), R(7, 6, 23, 20));
    EXPECT_EQ(LayoutButton({9, 3, 6, 16, 14}, c, {}), R(7, 6, 23, 20));
    // Menu-bar buttons: vertically centred in the band, after the bar's margin.
    c.menuBarLeftWidth = 2;
    EXPECT_EQ(LayoutButton({100, 40, 999, 16, 14}, c, {}), R(254, 33, 270, 47));
    // An Align without a rule keeps the previous rectangle.
    EXPECT_EQ(LayoutButton({5, 40, 6, 16, 14}, c, R(1, 2, 3, 4)), R(1, 2, 3, 4));
}

TEST(ButtonFrames, TitleAndStateRules) {
    EXPECT_EQ(TitleButtonFrame(true, true, 6), 1);
    EXPECT_EQ(TitleButtonFrame(false, true, 6), 4);
    EXPECT_EQ(TitleButtonFrame(true, false, 4), 4);
    EXPECT_EQ(TitleButtonFrame(false, true, 3), 1);  // no disabled look in the strip
    EXPECT_EQ(StateButtonFrame(3, true, 6, 0), 3);
    EXPECT_EQ(StateButtonFrame(2, false, 6, 0), 4);
    EXPECT_EQ(StateButtonFrame(2, false, 3, 0), 1);
    EXPECT_EQ(StateButtonFrame(3, true, 6, 100), 4);  // hot in the menu bar
    EXPECT_EQ(StateButtonFrame(2, true, 6, 100), 2);
}

TEST(CaptionText, BetweenTheIconAndTheButtons) {
    // Default skin: TextShift 30, TextRightClip 80, icon 8..24, buttons from 327.
    EXPECT_EQ(CaptionTextRect(400, 27, 30, 0, 80, 24, 327), R(30, 0, 325, 27));
    // The buttons bound the text whatever the clip: a narrow MDI child under
    // a clip meant for four buttons keeps the room before its three.
    EXPECT_EQ(CaptionTextRect(220, 30, 34, 0, 170, 24, 120), R(34, 0, 118, 30));
    EXPECT_EQ(CaptionTextRect(400, 27, 30, 0, 10, 24, 327), R(30, 0, 325, 27));
    // A large icon pushes the text right; the vertical shift moves it down.
    EXPECT_EQ(CaptionTextRect(400, 27, 10, 2, 80, 40, -1), R(42, 2, 320, 29));
    // No room: empty at its left end, never inverted.
    EXPECT_EQ(CaptionTextRect(100, 27, 30, 0, 80, -1, -1), R(30, 0, 30, 27));
    EXPECT_EQ(CaptionNeededWidth(30, 200, 80), 310);
}
