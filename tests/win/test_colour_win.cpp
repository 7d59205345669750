// The device-context gradient fill and system colours on the real platform.
#include <gtest/gtest.h>

#include "ColourGradientWin.h"
#include "Graphics.h"
#include "WindowCapture.h"

using namespace qs;
namespace sc = qs::syscolour;

namespace {

// A 32-bit top-down DIB section selected into a memory DC.
struct Surface {
    int w, h;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bmp = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* bits = nullptr;
    Surface(int width, int height, uint32_t fill) : w(width), h(height) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* p = nullptr;
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<uint32_t*>(p);
        old = SelectObject(dc, bmp);
        for (int i = 0; i < w * h; ++i) bits[i] = fill;
    }
    ~Surface() {
        SelectObject(dc, old);
        DeleteObject(bmp);
        DeleteDC(dc);
    }
    uint32_t at(int x, int y) {
        GdiFlush();
        return bits[y * w + x] & 0xFFFFFF;
    }
};

}  // namespace

TEST(ColourWin, GradientFillOnADeviceContextMatchesThePixelFill) {
    {
        // The first fill makes objects the system keeps (fonts, clip caches): warm up.
        Surface s(4, 4, 0);
        IntersectClipRect(s.dc, 0, 0, 2, 2);
        GradientFill(s.dc, RECT{0, 0, 4, 4}, 0, true, 0xFFFFFF);
    }
    const DWORD gdiBefore = test::gdiObjectCount();
    for (bool vertical : {true, false}) {
        Surface s(20, 16, 0x00ABCDEF);
        IntersectClipRect(s.dc, 5, 4, 14, 11);
        const RECT r{2, 1, 18, 15};
        GradientFill(s.dc, r, rgbColour(200, 10, 0), vertical, rgbColour(0, 90, 250));

        PixelImage want(20, 16, 0x00ABCDEF);
        GradientFill(want.view(), PixelRect{2, 1, 18, 15}, rgbColour(200, 10, 0), vertical, rgbColour(0, 90, 250),
                     PixelRect{5, 4, 14, 11});
        int drawn = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 20; ++x) {
                ASSERT_EQ(s.at(x, y), want.at(x, y)) << (vertical ? "vertical " : "horizontal ") << x << "," << y;
                drawn += want.at(x, y) != 0x00ABCDEF;
            }
        EXPECT_EQ(drawn, 9 * 7);
    }
    {
        // Nothing visible: nothing drawn.
        Surface s(8, 8, 0x00ABCDEF);
        IntersectClipRect(s.dc, 0, 0, 2, 2);
        GradientFill(s.dc, RECT{4, 4, 8, 8}, 0, true, 0xFFFFFF);
        EXPECT_EQ(s.at(5, 5), 0x00ABCDEFu);
    }
    EXPECT_EQ(test::gdiObjectCount(), gdiBefore);
}

TEST(ColourWin, SystemColoursComeFromTheSystem) {
    EXPECT_EQ(resolveColour(sc::clBtnFace), ColourNum(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(resolveColour(sc::clHighlightText), ColourNum(GetSysColor(COLOR_HIGHLIGHTTEXT)));
    EXPECT_EQ(MixColours(sc::clWindowText, sc::clWindowText, 37), ColourNum(GetSysColor(COLOR_WINDOWTEXT)));
}

TEST(ColourWin, ToolkitColoursAreTheSameColourNumbers) {
    // Both headers in one file, and a toolkit colour passed where a colour
    // number is expected names the same system colour.
    EXPECT_EQ(ColourNum(qs::clBtnFace), sc::clBtnFace);
    EXPECT_EQ(ColourNum(qs::clWindowText), sc::clWindowText);
    EXPECT_EQ(ColourNum(qs::cl3DDkShadow), sc::cl3DDkShadow);
    EXPECT_EQ(resolveColour(ColourNum(qs::clBtnShadow)), ColourNum(GetSysColor(COLOR_BTNSHADOW)));
}
