// Menu numbers: the bar's button rectangles, hit tests, accelerators, the
// keyboard walk between drop-downs, item widths, content placement and the
// separator's piece of the MenuItem strip.
#include <gtest/gtest.h>

#include "MenuLayout.h"

using namespace qs;

namespace {

PixelRect R(int l, int t, int r, int b) { return PixelRect{l, t, r, b}; }

std::vector<MenuBarHit> hits(const std::vector<PixelRect>& rects, const std::vector<std::wstring>& captions) {
    std::vector<MenuBarHit> out;
    for (std::size_t i = 0; i < rects.size(); ++i) {
        MenuBarHit h;
        h.bounds = rects[i];
        h.captionEmpty = captions[i].empty();
        out.push_back(h);
    }
    return out;
}

}  // namespace

TEST(MenuBarLayout, StartOffsetFromTheMenuBarElement) {
    EXPECT_EQ(MenuBarStartOffset(false, 9, 9, false, 400), 6);
    EXPECT_EQ(MenuBarStartOffset(false, 9, 9, true, 400), 6);
    EXPECT_EQ(MenuBarStartOffset(true, 2, 7, false, 400), 6);
    EXPECT_EQ(MenuBarStartOffset(true, 2, 7, true, 400), 15);
    // A band narrower than the offset.
    EXPECT_EQ(MenuBarStartOffset(true, 20, 2, false, 10), 12);
}

TEST(MenuBarLayout, ButtonsRunFromTheStartEdgeAndEmptyOnesTakeNoRoom) {
    const PixelRect band = R(5, 27, 395, 46);  // 390 wide, 19 high
    const std::vector<MenuBarItem> items{{30, true}, {0, true}, {20, false}, {40, true}};
    const auto ltr = LayoutMenuBar(band, items, 6, false);
    ASSERT_EQ(ltr.size(), 4u);
    EXPECT_EQ(ltr[0], R(11, 27, 51, 45));
    EXPECT_EQ(ltr[1].width(), 0);  // empty caption
    EXPECT_EQ(ltr[2], PixelRect{});  // hidden
    EXPECT_EQ(ltr[3], R(51, 27, 101, 45));

    const auto rtl = LayoutMenuBar(band, items, 6, true);
    EXPECT_EQ(rtl[0], R(349, 27, 389, 45));  // first button at the right end
    EXPECT_EQ(rtl[3], R(299, 27, 349, 45));
    // Something at the right end (a maximized MDI child's buttons) pushes them left.
    const auto held = LayoutMenuBar(band, items, 6, true, 300);
    EXPECT_EQ(held[0], R(265, 27, 305, 45));

    EXPECT_TRUE(LayoutMenuBar(R(5, 27, 5, 46), items, 6, false)[0].empty());
}

TEST(MenuBarLayout, HitTestSkipsEmptyCaptionsAndMissesOutside) {
    const PixelRect band = R(0, 20, 300, 40);
    const std::vector<std::wstring> captions{L"&File", L"", L"&Edit"};
    const auto rects = LayoutMenuBar(band, {{30, true}, {0, true}, {30, true}}, 6, false);
    const auto h = hits(rects, captions);
    EXPECT_EQ(MenuBarButtonAt(h, 6, 20), 0);
    EXPECT_EQ(MenuBarButtonAt(h, 45, 38), 0);
    EXPECT_EQ(MenuBarButtonAt(h, 46, 30), 2);  // the empty one in between takes nothing
    EXPECT_EQ(MenuBarButtonAt(h, 46, 39), -1);  // bottom row belongs to no button
    EXPECT_EQ(MenuBarButtonAt(h, 5, 30), -1);
    EXPECT_EQ(MenuBarButtonAt(h, 200, 30), -1);
}

TEST(MenuBarKeys, AcceleratorsIgnoreCaseDoubledAmpersandsAndDisabledButtons) {
    EXPECT_EQ(MenuAccelChar(L"&File"), L'F');
    EXPECT_EQ(MenuAccelChar(L"Save &as"), L'a');
    EXPECT_EQ(MenuAccelChar(L"Fish && &Chips"), L'C');
    EXPECT_EQ(MenuAccelChar(L"No mark"), 0);
    EXPECT_EQ(MenuAccelChar(L"Trailing&"), 0);

    const std::vector<std::wstring> captions{L"&File", L"&Edit", L"&View", L"E&xtra", L"&edit again"};
    std::vector<MenuBarHit> b(5);
    for (int i = 0; i < 5; ++i) b[std::size_t(i)].bounds = R(i * 40, 0, i * 40 + 40, 20);
    EXPECT_EQ(FindAccelIndex(captions, b, L'f'), 0);
    EXPECT_EQ(FindAccelIndex(captions, b, L'X'), 3);
    EXPECT_EQ(FindAccelIndex(captions, b, L'e'), 1);
    b[1].enabled = false;
    EXPECT_EQ(FindAccelIndex(captions, b, L'E'), 4);  // the disabled one is passed over
    b[4].visible = false;
    EXPECT_EQ(FindAccelIndex(captions, b, L'e'), -1);
    EXPECT_EQ(FindAccelIndex(captions, b, 0), -1);
    EXPECT_EQ(FindAccelIndex(captions, b, L'q'), -1);
}

TEST(MenuBarKeys, F10OpensTheFirstButtonThatCanBeClicked) {
    std::vector<MenuBarHit> b(3);
    b[0].captionEmpty = true;
    b[1].bounds = R(10, 0, 40, 20);
    b[2].bounds = R(40, 0, 70, 20);
    EXPECT_EQ(FirstMenuBarButton(b), 1);
    EXPECT_EQ(FirstMenuBarButton({}), -1);
}

TEST(MenuBarKeys, ArrowsWrapAtTheEndsAndKeepTheirMeaningInSubMenus) {
    std::vector<MenuBarHit> b(4);
    for (int i = 0; i < 4; ++i) b[std::size_t(i)].bounds = R(i * 40, 0, i * 40 + 40, 20);
    MenuWalkState s;
    s.openIndex = 3;
    EXPECT_EQ(MenuWalkTarget(kVkRight, s, b), 0);  // last wraps to first
    s.openIndex = 0;
    EXPECT_EQ(MenuWalkTarget(kVkLeft, s, b), 3);  // first wraps to last
    EXPECT_EQ(MenuWalkTarget(kVkRight, s, b), 1);
    EXPECT_EQ(MenuWalkTarget(0x28 /* down */, s, b), -1);

    s.inNestedSubMenu = true;  // left closes the nested sub-menu instead
    EXPECT_EQ(MenuWalkTarget(kVkLeft, s, b), -1);
    EXPECT_EQ(MenuWalkTarget(kVkRight, s, b), 1);
    s.inNestedSubMenu = false;
    s.selectedHasSubItems = true;  // right opens the sub-items instead
    EXPECT_EQ(MenuWalkTarget(kVkRight, s, b), -1);
    EXPECT_EQ(MenuWalkTarget(kVkLeft, s, b), 3);

    // Buttons that take no room are stepped over; a lone button goes nowhere.
    s = MenuWalkState{};
    s.openIndex = 0;
    b[1].captionEmpty = true;
    b[2].visible = false;
    EXPECT_EQ(MenuWalkTarget(kVkRight, s, b), 3);
    b[3].bounds = PixelRect{};
    EXPECT_EQ(MenuWalkTarget(kVkRight, s, b), -1);
    s.openIndex = 7;
    EXPECT_EQ(MenuWalkTarget(kVkRight, s, b), -1);
}

TEST(MenuBarKeys, RightToLeftSwapsTheArrows) {
    EXPECT_EQ(SwapArrowForRtl(kVkLeft, true), kVkRight);
    EXPECT_EQ(SwapArrowForRtl(kVkRight, true), kVkLeft);
    EXPECT_EQ(SwapArrowForRtl(kVkLeft, false), kVkLeft);
    EXPECT_EQ(SwapArrowForRtl(0x28, true), 0x28u);
}

TEST(MenuItemMeasure, ExtraWidthAndForeignItems) {
    EXPECT_EQ(MenuItemExtraWidth(false, true, 3, true), 13);
    EXPECT_EQ(MenuItemExtraWidth(true, true, 3, true), 15);
    EXPECT_EQ(MenuItemExtraWidth(true, true, 3, false), 38);
    EXPECT_EQ(MenuItemExtraWidth(false, false, 3, false), 35);

    const ForeignItemSize a = MeasureForeignItem(50, true, 15, true, 3, false);
    EXPECT_EQ(a.width, 79);
    EXPECT_EQ(a.height, 19);
    const ForeignItemSize sep = MeasureForeignItem(0, false, 15, false, 3, false);
    EXPECT_EQ(sep.width, 26);
    EXPECT_EQ(sep.height, 8);
    EXPECT_EQ(MeasureForeignItem(50, true, 15, false, 0, true).height, 23);
}

TEST(MenuItemContent, GlyphBoxCaptionAndShortcut) {
    EXPECT_EQ(MenuGlyphSize(false, 0, false), 16);
    EXPECT_EQ(MenuGlyphSize(true, 12, false), 12);
    EXPECT_EQ(MenuGlyphSize(true, 12, true), 16);  // a checked item gets a 16-pixel box
    EXPECT_EQ(MenuGlyphSize(true, 24, true), 24);

    MenuItemContentInput in;
    in.item = R(0, 20, 150, 40);
    in.elementLeftWidth = 3;
    in.glyphSize = 16;
    in.textWidth = 40;
    in.textHeight = 14;
    in.shortcutWidth = 30;
    const MenuItemContentLayout l = LayoutMenuItemContent(in);
    EXPECT_EQ(l.glyphBox, R(4, 21, 20, 37));
    EXPECT_EQ(l.text, R(23, 23, 149, 37));
    EXPECT_EQ(l.shortcut, R(63, 23, 139, 37));  // right-aligned up to right - 11

    in.separator = true;
    EXPECT_TRUE(LayoutMenuItemContent(in).glyphBox.empty());
}

TEST(MenuItemContent, RightToLeftMirrorsEverything) {
    MenuItemContentInput in;
    in.item = R(10, 0, 160, 20);
    in.glyphSize = 16;
    in.textWidth = 40;
    in.textHeight = 14;
    in.shortcutWidth = 20;
    const MenuItemContentLayout ltr = LayoutMenuItemContent(in);
    in.rightToLeft = true;
    const MenuItemContentLayout rtl = LayoutMenuItemContent(in);
    EXPECT_EQ(rtl.glyphBox, R(143, 1, 159, 17));  // glyph at the right end
    EXPECT_EQ(rtl.glyphBox, MirrorRect(ltr.glyphBox, in.item));
    EXPECT_EQ(rtl.text.right, 140);
    EXPECT_EQ(rtl.shortcut.left, 21);  // shortcut at the left end
    EXPECT_EQ(MirrorRect(rtl.text, in.item), ltr.text);
}

TEST(MenuItemContent, ImagesCentredVertically) {
    EXPECT_EQ(MenuImageTop(R(0, 10, 100, 34), 16, false), 14);
    EXPECT_EQ(MenuImageTop(R(0, 10, 100, 34), 10, false), 17);
    EXPECT_EQ(MenuImageTop(R(0, 10, 100, 34), 10, true), 14);  // checked: as if 16 tall
}

TEST(MenuSeparator, BottomBandOfFrameTwoWithCapsAndStretchedMiddle) {
    // The default skin's strip: 120 x 20, five 24-pixel frames, 3-pixel caps.
    const auto s = SeparatorSlices(120, 20, 3, 3, 100, 8);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_EQ(s[0].src, R(24, 12, 27, 20));
    EXPECT_EQ(s[0].dst, R(0, 0, 3, 8));
    EXPECT_EQ(s[1].src, R(27, 12, 45, 20));
    EXPECT_EQ(s[1].dst, R(3, 0, 97, 8));
    EXPECT_EQ(s[2].src, R(45, 12, 48, 20));
    EXPECT_EQ(s[2].dst, R(97, 0, 100, 8));

    // Taller than the strip: the whole frame height, at the item's bottom.
    const auto tall = SeparatorSlices(120, 20, 3, 3, 100, 30);
    ASSERT_EQ(tall.size(), 3u);
    for (const auto& b : tall) {
        EXPECT_EQ(b.src.top, 0);
        EXPECT_EQ(b.src.bottom, 20);
        EXPECT_EQ(b.dst.top, 10);
        EXPECT_EQ(b.dst.bottom, 30);
    }

    // Caps wider than the item are dropped; nothing from an empty strip.
    const auto narrow = SeparatorSlices(120, 20, 10, 10, 12, 8);
    ASSERT_EQ(narrow.size(), 1u);
    EXPECT_EQ(narrow[0].src, R(24, 12, 48, 20));
    EXPECT_EQ(narrow[0].dst, R(0, 0, 12, 8));
    EXPECT_TRUE(SeparatorSlices(4, 20, 0, 0, 50, 8).empty());
    EXPECT_TRUE(SeparatorSlices(120, 20, 0, 0, 0, 8).empty());
}
