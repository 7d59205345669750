// Canvas, bitmap, font and colour wrappers: every skin picture is composed
// through these, so wrong pixels or a handle deleted while selected show up
// everywhere later.
#define OEMRESOURCE
#include <gtest/gtest.h>

#include "Graphics.h"
#include "WindowCapture.h"

using namespace qs;

namespace {
COLORREF at(TBitmap& b, int x, int y) { return COLORREF(pixelToColour(b.View().at(x, y) & 0xFFFFFF)); }
}  // namespace

TEST(Colour, SystemColoursResolveInEitherSpelling) {
    EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
    // The same colour as a sign-extended 32-bit number, as older definitions write it.
    EXPECT_EQ(ColorToRGB(TColor(int32_t(0xFF00000F))), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(ColorToRGB(clHighlightText), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(ColorToRGB(0x123456), COLORREF(0x123456));
    TColor c = 0;
    ASSERT_TRUE(IdentToColor("CLBTNFACE", c));
    EXPECT_EQ(c, TColor(0xFF00000F));
    EXPECT_FALSE(IdentToColor("clNoSuchColour", c));
    EXPECT_EQ(ColorToIdent(TColor(int32_t(0xFF00000F))), "clBtnFace");
    EXPECT_EQ(ColorToIdent(0x123456), "");
}

TEST(Canvas, DrawingReadsBackAsPixels) {
    TBitmap bmp(40, 30);
    TCanvas& c = *bmp.Canvas();
    c.Brush().SetColor(RGB(255, 0, 0));
    c.FillRect(RECT{0, 0, 40, 30});
    c.Pen().SetColor(RGB(0, 0, 255));
    c.MoveTo(0, 10);
    c.LineTo(40, 10);
    c.Brush().SetColor(RGB(0, 255, 0));
    c.FrameRect(RECT{20, 15, 30, 25});
    c.SetPixelAt(2, 2, RGB(1, 2, 3));

    EXPECT_EQ(at(bmp, 5, 5), RGB(255, 0, 0));
    EXPECT_EQ(at(bmp, 39, 29), RGB(255, 0, 0));
    EXPECT_EQ(at(bmp, 17, 10), RGB(0, 0, 255));
    EXPECT_EQ(at(bmp, 20, 15), RGB(0, 255, 0));  // frame edge
    EXPECT_EQ(at(bmp, 25, 20), RGB(255, 0, 0));  // frame inside untouched
    EXPECT_EQ(at(bmp, 2, 2), RGB(1, 2, 3));
    EXPECT_EQ(c.Pixel(2, 2), RGB(1, 2, 3));
    EXPECT_EQ(c.Pixel(17, 10), RGB(0, 0, 255));
}

TEST(Canvas, TextUsesFontColourAndBrushBackground) {
    TBitmap bmp(80, 24);
    TCanvas& c = *bmp.Canvas();
    c.Brush().SetColor(clWhite);
    c.FillRect(RECT{0, 0, 80, 24});
    c.Font().SetColor(RGB(200, 0, 0));
    c.Font().SetHeight(-16);
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.TextOutAt(2, 2, L"WWW");
    int red = 0, other = 0;
    PixelView v = bmp.View();
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) {
            uint32_t p = v.at(x, y) & 0xFFFFFF;
            if (p == 0xC80000) ++red;
            else if (p != 0xFFFFFF) ++other;  // anti-aliased edges
        }
    EXPECT_GT(red + other, 20);
    EXPECT_GT(c.TextWidth(L"WWW"), c.TextWidth(L"W"));
    EXPECT_GT(c.TextHeight(L"W"), 8);

    // DT_CALCRECT measures without drawing and grows the rectangle to the text.
    RECT r{0, 0, 0, 0};
    c.DrawTextRect(L"WWW", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.right, c.TextWidth(L"WWW"));
}

TEST(Canvas, BorrowedDCGetsItsObjectsBackAndChangedFontIsReallyFreed) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ font0 = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ brush0 = GetCurrentObject(dc, OBJ_BRUSH);
    HGDIOBJ pen0 = GetCurrentObject(dc, OBJ_PEN);
    DWORD before = test::gdiObjectCount();
    {
        TCanvas c(dc);
        c.Font().SetHeight(-20);
        c.TextWidth(L"x");
        HGDIOBJ selected = GetCurrentObject(dc, OBJ_FONT);
        EXPECT_EQ(selected, c.Font().Handle());
        // Changing the font while it is selected: the canvas must let go of
        // it first, or DeleteObject fails and the font leaks.
        c.Font().SetHeight(-30);
        EXPECT_EQ(GetObjectType(selected), 0u) << "old font still alive";
        c.Rectangle(0, 0, 5, 5);
        c.TextWidth(L"x");
        LOGFONTW lf{};
        GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
        EXPECT_EQ(lf.lfHeight, -30);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen0);
    EXPECT_EQ(test::gdiObjectCount(), before);
    DeleteDC(dc);
}

TEST(Font, HandleIsCachedAndRemadeOnChange) {
    TFont f;
    f.SetName(L"Tahoma");
    f.SetHeight(-11);
    HFONT h1 = f.Handle();
    ASSERT_TRUE(h1);
    EXPECT_EQ(f.Handle(), h1);

    int changes = 0;
    bool oldAliveDuringChange = false;
    f.OnChange = [&](TObject* s) {
        ++changes;
        EXPECT_EQ(s, &f);
        oldAliveDuringChange = GetObjectType(h1) == OBJ_FONT;
    };
    f.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(oldAliveDuringChange);
    EXPECT_EQ(GetObjectType(h1), 0u);
    LOGFONTW lf{};
    ASSERT_EQ(GetObjectW(f.Handle(), sizeof lf, &lf), int(sizeof lf));
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_STREQ(lf.lfFaceName, L"Tahoma");

    // Same value: no change, no new handle.
    HFONT h2 = f.Handle();
    f.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(f.Handle(), h2);

    // Size and Height are two views of one value.
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -MulDiv(12, TFont::ScreenPixelsPerInch(), 72));
    EXPECT_EQ(f.Size(), 12);
    // Height and Size both stored, Size read last: the height survives.
    for (int h = -6; h >= -40; --h) {
        f.SetHeight(h);
        f.SetSize(f.Size());
        EXPECT_EQ(f.Height(), h);
    }

    TFont g;
    g.Assign(f);
    EXPECT_TRUE(g.SameAs(f));
    EXPECT_NE(g.Handle(), f.Handle());  // each font owns its own handle
}

TEST(Font, PublishedByName) {
    TFont f;
    ASSERT_TRUE(SetPropValue(&f, "Name", std::string("Arial")));
    ASSERT_TRUE(SetPropValue(&f, "Style", TSetValue{{"fsBold", "fsUnderline"}}));
    ASSERT_TRUE(SetPropValue(&f, "Color", int64_t(clRed)));
    ASSERT_TRUE(SetPropValue(&f, "Height", int64_t(-13)));
    EXPECT_FALSE(SetPropValue(&f, "Style", TSetValue{{"fsHeavy"}}));
    EXPECT_EQ(f.Name(), L"Arial");
    EXPECT_EQ(f.Style(), TFontStyles(fsBold | fsUnderline));
    EXPECT_EQ(GetIntProp(&f, "Color"), clRed);
    EXPECT_EQ(GetIntProp(&f, "Height"), -13);
    TBrush b;
    ASSERT_TRUE(SetPropValue(&b, "Style", std::string("bsClear")));
    EXPECT_EQ(b.Style(), TBrushStyle::bsClear);
    TPen p;
    ASSERT_TRUE(SetPropValue(&p, "Width", int64_t(3)));
    EXPECT_EQ(p.Width(), 3);
}

TEST(Bitmap, ViewAndGdiSeeTheSamePixels) {
    TBitmap a(16, 8);
    PixelView v = a.View();
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v.stride, 16 * 4);
    v.at(3, 4) = 0x00112233;
    // Written through the view, read through GDI: BitBlt into another bitmap.
    TBitmap b(16, 8);
    b.Canvas()->Draw(0, 0, a);
    EXPECT_EQ(b.Canvas()->Pixel(3, 4), RGB(0x11, 0x22, 0x33));
    EXPECT_EQ(b.View().at(3, 4) & 0xFFFFFF, 0x00112233u);
    // Written through GDI, read through the view (the view flushes GDI first).
    a.Canvas()->Brush().SetColor(RGB(0x44, 0x55, 0x66));
    a.Canvas()->FillRect(RECT{0, 0, 2, 2});
    EXPECT_EQ(a.View().at(1, 1) & 0xFFFFFF, 0x00445566u);
}

TEST(Bitmap, ResizeKeepsPictureAndCopiesAreIndependent) {
    TBitmap a(4, 4);
    a.View().at(1, 1) = 0xABCDEF;
    a.SetSize(8, 2);
    EXPECT_EQ(a.Width(), 8);
    EXPECT_EQ(a.Height(), 2);
    EXPECT_EQ(a.View().at(1, 1) & 0xFFFFFF, 0xABCDEFu);
    EXPECT_EQ(a.View().at(7, 1) & 0xFFFFFF, 0u);

    TBitmap b = a;
    b.View().at(1, 1) = 0x010101;
    EXPECT_EQ(a.View().at(1, 1) & 0xFFFFFF, 0xABCDEFu);
    EXPECT_EQ(b.View().at(1, 1) & 0xFFFFFF, 0x010101u);

    a.Clear();
    EXPECT_TRUE(a.Empty());
    EXPECT_TRUE(a.View().empty());
    EXPECT_EQ(a.Handle(), nullptr);
    a.Canvas()->FillRect(RECT{0, 0, 4, 4});  // drawing on nothing is harmless

    PixelImage img(3, 2, 0x00FF00FF);
    img.at(2, 1) = 0x123456;
    b.LoadFromPixels(img);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Canvas()->Pixel(2, 1), RGB(0x12, 0x34, 0x56));
    PixelImage back = b.ToPixels();
    EXPECT_EQ(back.pixels, img.pixels);
}

TEST(Bitmap, HandleLeavesTheCanvasDCSoOthersCanSelectIt) {
    TBitmap a(8, 8);
    a.Canvas()->Brush().SetColor(RGB(9, 9, 9));
    a.Canvas()->FillRect(RECT{0, 0, 8, 8});
    HBITMAP h = a.Handle();
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(other, h);
    EXPECT_TRUE(old != nullptr) << "bitmap still selected into the canvas DC";
    EXPECT_EQ(GetPixel(other, 4, 4), RGB(9, 9, 9));
    SelectObject(other, old);
    DeleteDC(other);
    // The canvas takes it back on its next use.
    a.Canvas()->SetPixelAt(0, 0, RGB(1, 1, 1));
    EXPECT_EQ(a.View().at(0, 0) & 0xFFFFFF, 0x010101u);
}

TEST(Bitmap, TransparentDrawSkipsTheKeyColour) {
    TBitmap glyph(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) glyph.View().at(x, y) = (x < 2) ? 0xFF00FF : 0x0000FF;
    glyph.SetTransparent(true);
    EXPECT_EQ(glyph.TransparentColor(), TColor(0xFF00FF));  // from the bottom-left pixel
    TBitmap dst(4, 4);
    dst.Canvas()->Brush().SetColor(RGB(0, 255, 0));
    dst.Canvas()->FillRect(RECT{0, 0, 4, 4});
    dst.Canvas()->Draw(0, 0, glyph);
    EXPECT_EQ(at(dst, 0, 0), RGB(0, 255, 0));
    EXPECT_EQ(at(dst, 3, 3), RGB(0, 0, 255));

    // Stretched: twice the size, the key colour still skipped.
    TBitmap big(8, 8);
    big.Canvas()->Brush().SetColor(RGB(0, 255, 0));
    big.Canvas()->FillRect(RECT{0, 0, 8, 8});
    big.Canvas()->StretchDraw(RECT{0, 0, 8, 8}, glyph);
    EXPECT_EQ(at(big, 1, 1), RGB(0, 255, 0));
    EXPECT_EQ(at(big, 7, 7), RGB(0, 0, 255));
}

TEST(Bitmap, MonochromeMasksAndSystemBitmaps) {
    TBitmap m(4, 2);
    m.View().at(0, 0) = 0xFFFFFF;
    m.View().at(1, 0) = 0x808080;
    m.SetMonochrome(true);
    EXPECT_TRUE(m.View().empty());  // no 32-bit bits to view
    PixelImage p = m.ToPixels();
    EXPECT_EQ(p.at(0, 0), 0xFFFFFFu);
    EXPECT_EQ(p.at(1, 0), 0u);
    m.SetMonochrome(false);
    EXPECT_EQ(m.View().at(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(m.View().at(1, 0) & 0xFFFFFF, 0u);

    TBitmap check;
    ASSERT_TRUE(check.LoadFromResourceID(nullptr, OBM_CHECK));
    EXPECT_GT(check.Width(), 0);
    EXPECT_GT(check.Height(), 0);
    EXPECT_FALSE(check.LoadFromResourceName(GetModuleHandleW(nullptr), L"NO_SUCH_BITMAP"));
    EXPECT_GT(check.Width(), 0) << "a failed load must keep the old picture";
}

TEST(Brush, PatternBrushFillsTheCheckerboard) {
    TBitmap bmp(8, 4);
    TCanvas& c = *bmp.Canvas();
    EXPECT_EQ(c.ClipRect().right, 8);
    TBitmap pattern = AllocPatternBitmap(clWhite, clBlack);
    c.Brush().SetBitmap(&pattern);
    pattern.Clear();  // the brush has its own copy
    c.FillRect(RECT{0, 0, 8, 4});
    EXPECT_EQ(at(bmp, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(at(bmp, 1, 0), RGB(0, 0, 0));
    EXPECT_EQ(at(bmp, 1, 1), RGB(255, 255, 255));
    c.Brush().SetBitmap(nullptr);
    c.Brush().SetColor(RGB(5, 6, 7));
    c.FillRect(RECT{0, 0, 8, 4});
    EXPECT_EQ(at(bmp, 1, 0), RGB(5, 6, 7));
}

TEST(Bitmap, LoadsColourAndMonochromeResourcesByName) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    TBitmap c;
    ASSERT_TRUE(c.LoadFromResourceName(self, L"TESTCOLOUR"));
    ASSERT_EQ(c.Width(), 4);
    ASSERT_EQ(c.Height(), 2);
    EXPECT_FALSE(c.Monochrome());
    // Bottom-up in the file, top-down in the view.
    EXPECT_EQ(c.View().at(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(c.View().at(3, 0) & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(c.View().at(1, 1) & 0xFFFFFF, 0x0A141Eu);

    TBitmap m;
    ASSERT_TRUE(m.LoadFromResourceName(self, L"TESTMASK"));
    EXPECT_TRUE(m.Monochrome());
    EXPECT_EQ(m.Width(), 16);
    PixelImage p = m.ToPixels();
    EXPECT_EQ(p.at(0, 3), 0xFFFFFFu);
    EXPECT_EQ(p.at(9, 3), 0u);
    EXPECT_EQ(p.at(15, 0), 0xFFFFFFu);
    EXPECT_EQ(p.at(15, 1), 0u);
}

TEST(Handles, OneOwnerDeletesOnceAndScopesPutThingsBack) {
    UniqueBrush a(CreateSolidBrush(RGB(1, 1, 1)));
    HBRUSH raw = a.get();
    UniqueBrush b(std::move(a));
    EXPECT_EQ(a.get(), nullptr);
    EXPECT_EQ(b.get(), raw);
    b = std::move(b);  // self-move keeps the object
    EXPECT_EQ(GetObjectType(raw), DWORD(OBJ_BRUSH));
    b.reset(CreateSolidBrush(RGB(2, 2, 2)));
    EXPECT_EQ(GetObjectType(raw), 0u) << "reset frees the old brush";
    HBRUSH kept = b.release();
    b.reset();
    EXPECT_EQ(GetObjectType(kept), DWORD(OBJ_BRUSH)) << "released objects belong to the caller";
    DeleteObject(kept);

    UniqueDC dc(CreateCompatibleDC(nullptr));
    HGDIOBJ brush0 = GetCurrentObject(dc.get(), OBJ_BRUSH);
    {
        UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
        SelectObjectScope sel(dc.get(), red.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), red.get());
        EXPECT_EQ(sel.previous(), brush0);
        // `sel` ends before `red`: the brush is out of the DC when deleted.
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush0);
    {
        SaveDCScope saved(dc.get());
        SetTextColor(dc.get(), RGB(9, 8, 7));
        SetBkMode(dc.get(), TRANSPARENT);
    }
    EXPECT_NE(GetTextColor(dc.get()), RGB(9, 8, 7));
    EXPECT_EQ(GetBkMode(dc.get()), OPAQUE);
}
