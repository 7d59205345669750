// Geometry of tab strips, panes, close boxes, tab sets, header hot zones and
// glyph cells. The rotated placements are checked against the real quarter
// turns of the pixel routines, so the two cannot drift apart.
#include <gtest/gtest.h>

#include <algorithm>

#include "PixelOps.h"
#include "SkinTabGeometry.h"

using namespace qs;

namespace {
// Where the pixels of `inBuffer` end up in the window once the buffer is
// turned upright as the tab skin does and copied to the strip's top-left.
PixelRect landed(const PixelRect& inBuffer, TTabOrientation o, const PixelRect& strip) {
    const PixelSize size = tabBufferSize(strip, o);
    PixelImage img(size.width, size.height, 0);
    for (int y = inBuffer.top; y < inBuffer.bottom; ++y)
        for (int x = inBuffer.left; x < inBuffer.right; ++x) img.at(x, y) = 1;
    if (o == toLeft) RotateLeft(img);
    if (o == toRight) RotateRight(img);
    PixelRect r{1 << 20, 1 << 20, -1, -1};
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (img.at(x, y)) {
                r.left = std::min(r.left, x + strip.left);
                r.top = std::min(r.top, y + strip.top);
                r.right = std::max(r.right, x + strip.left + 1);
                r.bottom = std::max(r.bottom, y + strip.top + 1);
            }
    return r;
}
}  // namespace

TEST(TabGeometry, OrientationComesFromBottomAndVerticalBits) {
    EXPECT_EQ(tabOrientationFromStyle(0x50000000), toTop);
    EXPECT_EQ(tabOrientationFromStyle(0x2), toBottom);
    EXPECT_EQ(tabOrientationFromStyle(0x80 | 0x200), toLeft);  // multi-line does not matter
    EXPECT_EQ(tabOrientationFromStyle(0x82), toRight);
}

TEST(TabGeometry, PaneAndStripSitOnTheTabSideOfEachOrientation) {
    const PixelRect window{0, 0, 200, 120};
    // Top tabs: display area below a 22-pixel strip.
    PixelRect pane = tabPaneRect({4, 26, 196, 116}, toTop);
    EXPECT_EQ(pane, (PixelRect{0, 23, 200, 120}));
    EXPECT_EQ(tabStripRect(window, pane, toTop), (PixelRect{0, 0, 200, 23}));
    pane = tabPaneRect({4, 4, 196, 94}, toBottom);
    EXPECT_EQ(pane, (PixelRect{0, 0, 200, 97}));
    EXPECT_EQ(tabStripRect(window, pane, toBottom), (PixelRect{0, 97, 200, 120}));
    pane = tabPaneRect({30, 4, 196, 116}, toLeft);
    EXPECT_EQ(tabStripRect(window, pane, toLeft), (PixelRect{0, 0, 27, 120}));
    pane = tabPaneRect({4, 4, 170, 116}, toRight);
    EXPECT_EQ(tabStripRect(window, pane, toRight), (PixelRect{173, 0, 200, 120}));
    // Side strips are composed lying down.
    EXPECT_EQ(tabBufferSize({173, 0, 200, 120}, toRight), (PixelSize{120, 27}));
    EXPECT_EQ(tabBufferSize({0, 97, 200, 120}, toBottom), (PixelSize{200, 23}));
}

TEST(TabGeometry, TabsComposedLyingDownLandOnTheirOwnRectangleWhenTurned) {
    const PixelRect window{0, 0, 200, 120};
    // Left tabs: second tab at y 40..90, x 2..27.
    PixelRect pane = tabPaneRect({30, 4, 196, 116}, toLeft);
    PixelRect strip = tabStripRect(window, pane, toLeft);
    PixelRect tab{2, 40, 27, 90};
    PixelRect b = tabToBuffer(tab, toLeft, strip, pane, window.right);
    EXPECT_EQ(landed(b, toLeft, strip), tab);
    EXPECT_EQ(bufferToWindow(b, toLeft, strip), tab);
    // Right tabs land one pixel higher than the system's rectangle.
    pane = tabPaneRect({4, 4, 170, 116}, toRight);
    strip = tabStripRect(window, pane, toRight);
    tab = PixelRect{173, 40, 198, 90};
    b = tabToBuffer(tab, toRight, strip, pane, window.right);
    const PixelRect up{173, 39, 198, 89};
    EXPECT_EQ(landed(b, toRight, strip), up);
    EXPECT_EQ(bufferToWindow(b, toRight, strip), up);
    // Bottom tabs: the buffer starts at the strip; one pixel toward the pane.
    pane = tabPaneRect({4, 4, 196, 94}, toBottom);
    strip = tabStripRect(window, pane, toBottom);
    tab = PixelRect{10, 97, 60, 118};
    b = tabToBuffer(tab, toBottom, strip, pane, window.right);
    EXPECT_EQ(b, (PixelRect{10, -1, 60, 20}));
    EXPECT_EQ(bufferToWindow(b, toBottom, strip), (PixelRect{10, 96, 60, 117}));
}

TEST(TabGeometry, CloseBoxIsAtTheTabsOuterCornerInWindowCoordinates) {
    const PixelRect window{0, 0, 200, 120};
    // Top: the outer edge is the tab's top, the box at its right end.
    PixelRect pane = tabPaneRect({4, 26, 196, 116}, toTop);
    PixelRect strip = tabStripRect(window, pane, toTop);
    PixelRect tab{2, 2, 60, 22};
    PixelRect box = bufferToWindow(tabCloseBox(tabToBuffer(tab, toTop, strip, pane, 200)), toTop, strip);
    EXPECT_EQ(box, (PixelRect{52, 5, 58, 11}));
    // Left: turned counter-clockwise, the box sits at the tab's top-left,
    // still inside the tab and six pixels square.
    pane = tabPaneRect({30, 4, 196, 116}, toLeft);
    strip = tabStripRect(window, pane, toLeft);
    tab = PixelRect{2, 40, 27, 90};
    box = bufferToWindow(tabCloseBox(tabToBuffer(tab, toLeft, strip, pane, 200)), toLeft, strip);
    EXPECT_EQ(box.width(), 6);
    EXPECT_EQ(box.height(), 6);
    EXPECT_EQ(box, (PixelRect{4, 42, 10, 48}));
    // Right: clockwise, at the tab's bottom-right.
    pane = tabPaneRect({4, 4, 170, 116}, toRight);
    strip = tabStripRect(window, pane, toRight);
    tab = PixelRect{173, 40, 198, 90};
    box = bufferToWindow(tabCloseBox(tabToBuffer(tab, toRight, strip, pane, 200)), toRight, strip);
    EXPECT_EQ(box, (PixelRect{190, 81, 196, 87}));
}

TEST(TabGeometry, PaneMarginsAreFixedUnlessTheTabElementAsksForThePanes) {
    EXPECT_EQ(tabPaneMargins(0, {1, 1, 1, 1}), (PixelRect{4, 5, 4, 4}));
    EXPECT_EQ(tabPaneMargins(1, {2, 3, 1, 0}), (PixelRect{2, 3, 1, 0}));
}

TEST(TabSetLayout, TabsThatDoNotFitAreSkippedAndLaterOnesTried) {
    // 100 wide, margins 5: room up to x 95.
    auto r = tabSetLayout({30, 60, 35}, 0, 5, 5, 100, 20, false);
    EXPECT_EQ(r[0], (PixelRect{5, 0, 44, 20}));
    EXPECT_TRUE(r[1].empty());  // 44 + 60 + 9 > 95
    EXPECT_EQ(r[2], (PixelRect{44, 0, 88, 20}));
    // A visible scroller keeps 12 more pixels free: the third tab no longer fits.
    r = tabSetLayout({30, 60, 35}, 0, 5, 5, 100, 20, true);
    EXPECT_FALSE(r[0].empty());
    EXPECT_TRUE(r[2].empty());
    // From the first visible tab on; earlier ones are not shown.
    r = tabSetLayout({30, 60, 20}, 1, 5, 5, 100, 20, false);
    EXPECT_TRUE(r[0].empty());
    EXPECT_EQ(r[1], (PixelRect{5, 0, 74, 20}));
    EXPECT_TRUE(r[2].empty());  // 74 + 20 + 9 > 95
    // A first index past the end shows nothing and does not fail.
    r = tabSetLayout({30}, 5, 5, 5, 100, 20, false);
    EXPECT_TRUE(r[0].empty());
}

TEST(HeaderHotZones, TheBorderBetweenTwoItemsKeepsTheHotItem) {
    std::vector<PixelRect> zones = {headerHotZone({0, 0, 50, 20}), headerHotZone({50, 0, 120, 20})};
    EXPECT_EQ(zones[0], (PixelRect{3, 0, 47, 20}));
    int hot = -1;
    hot = headerHotAfterMove(zones, 10, 5, hot);
    EXPECT_EQ(hot, 0);
    for (int x = 47; x < 53; ++x) EXPECT_EQ(headerHotAfterMove(zones, x, 5, hot), 0) << x;
    hot = headerHotAfterMove(zones, 53, 5, hot);
    EXPECT_EQ(hot, 1);
    // Back across the border from the right: still the right-hand item.
    EXPECT_EQ(headerHotAfterMove(zones, 48, 5, hot), 1);
}

TEST(GlyphCells, CheckStripOfFourFramesLeavesTheGrayedCellsEmpty) {
    EXPECT_EQ(glyphCellCount(1), 9);
    EXPECT_EQ(glyphCellCount(2), 6);
    const int expected4[9] = {0, 1, -1, 0, 1, -1, 2, 3, -1};
    const int expected5[9] = {0, 1, 4, 0, 1, 4, 2, 3, 4};
    for (int c = 0; c < 9; ++c) {
        EXPECT_EQ(glyphCellSource(1, c, 4), expected4[c]) << c;
        EXPECT_EQ(glyphCellSource(1, c, 5), expected5[c]) << c;
    }
    const int radio[6] = {0, 1, 0, 1, 2, 3};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(glyphCellSource(2, c, 4), radio[c]) << c;
    EXPECT_EQ(glyphCellSource(2, 6, 4), -1);
    EXPECT_EQ(glyphCellSource(3, 0, 4), -1);
}
