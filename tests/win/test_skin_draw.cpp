// The drawing primitives on real GDI bitmaps: keyed copies, frames of
// strips, nine-slice corners, tiling, centring and bitmap regions.
#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "Forms.h"
#include "SkinDraw.h"
#include "WindowCapture.h"

using namespace qs;

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

TBitmap picture(int w, int h, uint32_t fill) {
    TBitmap b(w, h);
    const PixelView v = b.View();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) v.at(x, y) = fill;
    return b;
}

uint32_t at(TBitmap& b, int x, int y) { return b.View().at(x, y) & 0xFFFFFF; }

// Frames side by side, frame k filled with colours[k - 1].
TBitmap strip(int fw, int h, std::initializer_list<uint32_t> colours) {
    TBitmap b(fw * int(colours.size()), h);
    const PixelView v = b.View();
    int k = 0;
    for (uint32_t c : colours) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < fw; ++x) v.at(k * fw + x, y) = c;
        ++k;
    }
    return b;
}

HDC dcOf(TBitmap& b) { return b.Canvas()->Handle(); }

// GetGuiResources answers 0 under Wine: then count the objects behind the
// handle table's indices instead.
DWORD liveGdiObjects() {
    if (DWORD n = qs::test::gdiObjectCount()) return n;
    DWORD n = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

}  // namespace

TEST(SkinDraw, TransparentCopyLeavesKeyedPixelsDestinationAlone) {
    TBitmap src = picture(8, 6, 0x123456);
    const PixelView s = src.View();
    for (int x = 0; x < 8; ++x) s.at(x, 2) = kMagenta;  // a keyed row
    s.at(0, 0) = kMagenta;
    s.at(7, 5) = 0xFE00FF;  // near magenta is not the key
    TBitmap dst = picture(20, 20, 0x00AA00);
    DrawTransparent(dcOf(dst), RECT{5, 5, 20, 20}, src);
    ::GdiFlush();
    EXPECT_EQ(at(dst, 5, 5), 0x00AA00u);
    EXPECT_EQ(at(dst, 6, 5), 0x123456u);
    for (int x = 5; x < 13; ++x) EXPECT_EQ(at(dst, x, 7), 0x00AA00u);
    EXPECT_EQ(at(dst, 12, 10), 0xFE00FFu);
    EXPECT_EQ(at(dst, 13, 6), 0x00AA00u);  // outside the picture: untouched
    // A smaller rectangle limits the area; the picture is not scaled.
    TBitmap small = picture(10, 10, 0x00AA00);
    DrawTransparent(dcOf(small), RECT{2, 2, 5, 4}, src);
    ::GdiFlush();
    EXPECT_EQ(at(small, 3, 2), 0x123456u);
    EXPECT_EQ(at(small, 5, 2), 0x00AA00u);
    EXPECT_EQ(at(small, 3, 4), 0x00AA00u);
}

TEST(SkinDraw, FramesOfStripsAndTheWholeOfAOneFrameStrip) {
    TBitmap s = strip(4, 3, {0x110000, 0x220000, 0x330000, 0x440000});
    TBitmap dst = picture(30, 10, 0);
    DrawFrame(dcOf(dst), RECT{0, 0, 12, 6}, s, false, 4, 3);  // stretched 4x3 -> 12x6
    ::GdiFlush();
    EXPECT_EQ(at(dst, 0, 0), 0x330000u);
    EXPECT_EQ(at(dst, 11, 5), 0x330000u);
    EXPECT_EQ(at(dst, 12, 0), 0u);
    // One frame: frame 1 is the whole picture (its right column included).
    TBitmap one = picture(5, 2, 0x010101);
    one.View().at(4, 1) = 0xABCDEF;
    DrawFrame(dcOf(dst), RECT{20, 0, 25, 2}, one, false, 1, 1);
    ::GdiFlush();
    EXPECT_EQ(at(dst, 24, 1), 0xABCDEFu);
    // Keyed frames leave the destination where the frame is magenta.
    TBitmap keyed = strip(2, 2, {kMagenta, 0x00FF00});
    DrawFrame(dcOf(dst), RECT{0, 8, 4, 10}, keyed, true, 2, 1);
    DrawFrame(dcOf(dst), RECT{4, 8, 8, 10}, keyed, true, 2, 2);
    ::GdiFlush();
    EXPECT_EQ(at(dst, 1, 9), 0u);
    EXPECT_EQ(at(dst, 5, 9), 0x00FF00u);
}

TEST(SkinDraw, CentredFrameAtItsOwnSize) {
    TBitmap s = strip(4, 2, {0x0000AA, 0x00BB00});
    TBitmap dst = picture(11, 7, 0);
    DrawFrameCentred(dcOf(dst), RECT{0, 0, 11, 7}, s, false, 2, 2);
    ::GdiFlush();
    // x = (11 - 4) / 2 = 3, y = (7 - 2) / 2 = 2.
    EXPECT_EQ(at(dst, 2, 2), 0u);
    EXPECT_EQ(at(dst, 3, 2), 0x00BB00u);
    EXPECT_EQ(at(dst, 6, 3), 0x00BB00u);
    EXPECT_EQ(at(dst, 7, 3), 0u);
    EXPECT_EQ(at(dst, 3, 4), 0u);
}

TEST(SkinDraw, NineSliceKeepsCornersAndNarrowTargetsStretchTheWhole) {
    // A 6 x 6 frame (second of two stacked) with a distinct corner pixel.
    TBitmap s = picture(6, 12, 0x101010);
    const PixelView v = s.View();
    for (int y = 6; y < 8; ++y)
        for (int x = 0; x < 2; ++x) v.at(x, y) = 0xAA0000;  // frame 2 top-left 2 x 2
    for (int y = 10; y < 12; ++y)
        for (int x = 4; x < 6; ++x) v.at(x, y) = 0x00AA00;  // frame 2 bottom-right 2 x 2
    v.at(0, 0) = 0x0000AA;   // frame 1 top-left
    auto big = BuildNineSlice(RECT{0, 0, 40, 30}, s, RECT{2, 2, 2, 2}, true, false, 2, 2);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->Width(), 40);
    EXPECT_EQ(at(*big, 0, 0), 0xAA0000u);
    EXPECT_EQ(at(*big, 1, 1), 0xAA0000u);
    EXPECT_EQ(at(*big, 2, 2), 0x101010u);  // corner not stretched
    EXPECT_EQ(at(*big, 39, 29), 0x00AA00u);
    EXPECT_EQ(at(*big, 37, 27), 0x101010u);
    // 3 wide < 2 + 2, 3 high < 2 + 2: the whole frame squeezed in.
    auto tiny = BuildNineSlice(RECT{0, 0, 3, 3}, s, RECT{2, 2, 2, 2}, true, false, 2, 2);
    ASSERT_TRUE(tiny);
    EXPECT_EQ(at(*tiny, 0, 0), 0xAA0000u);
    EXPECT_EQ(at(*tiny, 2, 2), 0x00AA00u);
    EXPECT_FALSE(BuildNineSlice(RECT{0, 0, 0, 5}, s, RECT{}, true, false, 2, 1));
    // DrawNineSlice with the key: magenta corners keep the destination.
    TBitmap k = picture(6, 6, 0x202020);
    k.View().at(0, 0) = kMagenta;
    TBitmap dst = picture(20, 20, 0x00FFFF);
    DrawNineSlice(dcOf(dst), RECT{2, 2, 18, 18}, k, false, false, true, 1, 1, RECT{1, 1, 1, 1});
    ::GdiFlush();
    EXPECT_EQ(at(dst, 2, 2), 0x00FFFFu);
    EXPECT_EQ(at(dst, 3, 3), 0x202020u);
    EXPECT_EQ(at(dst, 17, 17), 0x202020u);
    // Inverted rectangles draw nothing.
    DrawNineSlice(dcOf(dst), RECT{10, 10, 5, 15}, k, false, false, false, 1, 1, RECT{});
    ::GdiFlush();
    EXPECT_EQ(at(dst, 0, 0), 0x00FFFFu);
}

TEST(SkinDraw, ThreeSlicesTiledStretchedAndCapsOnly) {
    // 8-wide frame: cap 2 (red), middle 4 (green/blue alternating), cap 2 (white).
    TBitmap s(8, 2);
    const PixelView v = s.View();
    const uint32_t cols[8] = {0xFF0000, 0xFF0000, 0x00FF00, 0x0000FF, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFFFF};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 8; ++x) v.at(x, y) = cols[x];
    TBitmap dst = picture(20, 4, 0);
    DrawThreeSliceTiled(*dst.Canvas(), RECT{0, 0, 13, 4}, s, false, false, 1, 1, RECT{2, 0, 2, 0});
    ::GdiFlush();
    EXPECT_EQ(at(dst, 1, 3), 0xFF0000u);
    EXPECT_EQ(at(dst, 2, 0), 0x00FF00u);
    EXPECT_EQ(at(dst, 6, 0), 0x00FF00u);  // the middle repeats every 4 pixels
    EXPECT_EQ(at(dst, 9, 0), 0x0000FFu);
    EXPECT_EQ(at(dst, 10, 0), 0x00FF00u);  // last copy cut at the cap
    EXPECT_EQ(at(dst, 11, 0), 0xFFFFFFu);
    EXPECT_EQ(at(dst, 13, 0), 0u);
    // Caps as wide as the frame: only the caps, no endless loop.
    TBitmap caps = picture(20, 4, 0);
    DrawThreeSliceTiled(*caps.Canvas(), RECT{0, 0, 20, 4}, s, false, false, 1, 1, RECT{4, 0, 4, 0});
    ::GdiFlush();
    EXPECT_EQ(at(caps, 0, 0), 0xFF0000u);
    EXPECT_EQ(at(caps, 19, 0), 0xFFFFFFu);
    // Stretched: the middle spreads over the rectangle.
    TBitmap st = picture(20, 4, 0);
    DrawThreeSliceStretched(dcOf(st), RECT{0, 0, 20, 4}, s, false, 1, 1, RECT{2, 0, 2, 0});
    ::GdiFlush();
    EXPECT_EQ(at(st, 1, 0), 0xFF0000u);
    EXPECT_EQ(at(st, 2, 0), 0x00FF00u);
    EXPECT_EQ(at(st, 17, 0), 0x0000FFu);
    EXPECT_EQ(at(st, 18, 0), 0xFFFFFFu);
}

TEST(SkinDraw, TilesRepeatFromTheTopLeft) {
    TBitmap s(4, 4);
    const PixelView v = s.View();
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) v.at(x, y) = (x == 1 && y == 1) ? 0xFF0000 : 0x000100;
    TBitmap dst = picture(10, 10, 0);
    TileBitmap(*dst.Canvas(), RECT{0, 0, 10, 10}, s, RECT{1, 1, 3, 3});  // a 2 x 2 tile
    ::GdiFlush();
    for (int y = 0; y < 10; y += 2)
        for (int x = 0; x < 10; x += 2) ASSERT_EQ(at(dst, x, y), 0xFF0000u) << x << "," << y;
    EXPECT_EQ(at(dst, 1, 1), 0x000100u);
    TileBitmap(*dst.Canvas(), RECT{0, 0, 10, 10}, s, RECT{1, 1, 1, 3});  // empty source: nothing
}

TEST(SkinDraw, RegionsOfOpaquePixels) {
    TBitmap all = picture(40, 30, kMagenta);
    UniqueRegion none = BitmapToRegion(all, 0, 0, 1, 1, 1);
    ASSERT_TRUE(none);
    RECT box{};
    EXPECT_EQ(::GetRgnBox(none.get(), &box), NULLREGION);

    // A ring of opaque pixels around a keyed centre, moved by (5, 7).
    TBitmap ring = picture(6, 6, 0x000000);
    for (int y = 2; y < 4; ++y)
        for (int x = 2; x < 4; ++x) ring.View().at(x, y) = kMagenta;
    UniqueRegion r = BitmapToRegion(ring, 5, 7, 1, 1, 1);
    EXPECT_EQ(::GetRgnBox(r.get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 7);
    EXPECT_EQ(box.right, 11);
    EXPECT_EQ(box.bottom, 13);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) {
            const bool hole = x >= 2 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(::PtInRegion(r.get(), 5 + x, 7 + y) != FALSE, !hole) << x << "," << y;
        }

    // Many runs (several batches): every opaque pixel in, every keyed out.
    TBitmap stripes = picture(301, 40, kMagenta);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 301; x += 2) stripes.View().at(x, y) = 0x808080;  // 151 runs a row, 6040 in all
    UniqueRegion many = BitmapToRegion(stripes, 0, 0, 1, 1, 1);
    int wrong = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 301; ++x) wrong += (::PtInRegion(many.get(), x, y) != FALSE) != (x % 2 == 0);
    EXPECT_EQ(wrong, 0);
}

TEST(SkinDraw, NothingLeaksOverManyDraws) {
    TBitmap s = strip(6, 6, {0x112233, kMagenta});
    TBitmap dst = picture(64, 64, 0);
    // Warm up GDI's own caches first.
    DrawNineSlice(dcOf(dst), RECT{0, 0, 64, 64}, s, false, true, true, 2, 1, RECT{2, 2, 2, 2});
    const DWORD before = liveGdiObjects();
    HBRUSH probe = ::CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(liveGdiObjects(), before + 1) << "the counter must see a new object";
    ::DeleteObject(probe);
    for (int i = 0; i < 200; ++i) {
        DrawNineSlice(dcOf(dst), RECT{0, 0, 60 - i % 20, 64}, s, false, i % 2 == 0, true, 2, 1 + i % 2, RECT{2, 2, 2, 2});
        DrawFrame(dcOf(dst), RECT{0, 0, 20, 20}, s, true, 2, 2);
        DrawFrameCentred(dcOf(dst), RECT{0, 0, 20, 20}, s, true, 2, 1);
        DrawThreeSliceTiled(*dst.Canvas(), RECT{0, 0, 50, 10}, s, false, true, 2, 1, RECT{1, 0, 1, 0});
        TileBitmap(*dst.Canvas(), RECT{0, 0, 30, 30}, s, RECT{0, 0, 3, 3});
        UniqueRegion r = BitmapToRegion(s, 0, 0, 1, 1, 1);
    }
    EXPECT_LE(liveGdiObjects(), before);
}

TEST(SkinDraw, ParentBackgroundUnderAControl) {
    TForm parent(nullptr);
    parent.SetColor(clRed);
    parent.SetClientSize(200, 150);
    TPanel panel(&parent);
    panel.SetParent(&parent);
    panel.SetBounds(20, 30, 40, 40);
    parent.Show();
    qs::test::pumpMessages(30);
    TBitmap target = picture(60, 60, 0x0000FF);
    HDC dc = dcOf(target);
    PaintParentBackground(&panel, dc);
    ::GdiFlush();
    EXPECT_EQ(at(target, 0, 0), 0xFF0000u);    // the form's red under the panel's corner
    EXPECT_EQ(at(target, 39, 39), 0xFF0000u);
    EXPECT_EQ(at(target, 40, 10), 0x0000FFu);  // beyond the panel's client area: untouched
    EXPECT_EQ(at(target, 10, 45), 0x0000FFu);
    POINT org{1, 1};
    ::GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org.x, 0);
    EXPECT_EQ(org.y, 0);
    // Without a parent nothing is drawn.
    TPanel alone(nullptr);
    TBitmap untouched = picture(10, 10, 0x00FF00);
    PaintParentBackground(&alone, dcOf(untouched));
    EXPECT_EQ(at(untouched, 5, 5), 0x00FF00u);
}
