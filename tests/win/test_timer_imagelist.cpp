// Timers (ticks only while enabled, loaded and alive) and image lists
// (pictures in, the same pictures out, masks honoured).
#include <gtest/gtest.h>

#include "ExtCtrlsTimer.h"
#include "ImgList.h"
#include "WindowCapture.h"

using namespace qs;

namespace {
void PumpFor(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while (int(end - GetTickCount()) > 0) test::pumpMessages(10);
}
}  // namespace

TEST(Timer, TicksWhilePumpedAndStopsWhenDisabled) {
    TTimer t;
    int ticks = 0;
    t.SetInterval(20);
    t.SetOnTimer([&](TObject* s) {
        EXPECT_EQ(s, &t);
        ++ticks;
    });
    EXPECT_TRUE(t.Running());
    PumpFor(250);
    EXPECT_GE(ticks, 2);
    t.SetEnabled(false);
    EXPECT_FALSE(t.Running());
    int at = ticks;
    PumpFor(120);
    EXPECT_EQ(ticks, at);
    // Interval 0 keeps it stopped even when enabled.
    t.SetInterval(0);
    t.SetEnabled(true);
    EXPECT_FALSE(t.Running());
    t.SetInterval(20);
    EXPECT_TRUE(t.Running());
}

TEST(Timer, WaitsForLoadingAndDiesWithItsComponent) {
    TComponent form(nullptr);
    auto* t = new TTimer(&form);
    int ticks = 0;
    t->BeginLoading();
    ASSERT_TRUE(SetPropValue(t, "Interval", int64_t(15)));
    ASSERT_TRUE(SetPropValue(t, "OnTimer", std::any(TNotifyEvent([&](TObject*) { ++ticks; }))));
    EXPECT_FALSE(SetPropValue(t, "Interval", int64_t(-5)));
    EXPECT_FALSE(t->Running()) << "no tick while the definition is being read";
    PumpFor(80);
    EXPECT_EQ(ticks, 0);
    t->Loaded();
    EXPECT_TRUE(t->Running());
    PumpFor(150);
    EXPECT_GT(ticks, 0);

    // A timer freed from its own handler: no crash, no more ticks.
    int last = 0;
    auto* self = new TTimer(&form);
    self->SetInterval(10);
    self->SetOnTimer([&](TObject* s) {
        ++last;
        delete static_cast<TTimer*>(s);
    });
    PumpFor(100);
    EXPECT_EQ(last, 1);
    EXPECT_EQ(form.ComponentCount(), 1);

    delete t;  // stops it
    int at = ticks;
    PumpFor(80);
    EXPECT_EQ(ticks, at);
}

namespace {
TBitmap Stripe(int w, int h, uint32_t left, uint32_t right) {
    TBitmap b(w, h);
    PixelView v = b.View();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) v.at(x, y) = x < w / 2 ? left : right;
    return b;
}
COLORREF Px(TBitmap& b, int x, int y) { return b.Canvas()->Pixel(x, y); }
}  // namespace

TEST(ImageList, WideBitmapsSplitIntoImagesDrawnBack) {
    TImageList il;
    il.SetSize(8, 8);
    TBitmap strip = Stripe(16, 8, 0x00FF0000, 0x000000FF);  // red image, blue image
    TBitmap mask(16, 8);
    mask.SetMonochrome(true);  // all 0: every pixel opaque
    EXPECT_EQ(il.Add(strip, &mask), 0);
    EXPECT_EQ(il.Count(), 2);
    TBitmap out(8, 8);
    il.Draw(*out.Canvas(), 0, 0, 1);
    EXPECT_EQ(Px(out, 4, 4), RGB(0, 0, 255));
    il.Draw(*out.Canvas(), 0, 0, 0);
    EXPECT_EQ(Px(out, 4, 4), RGB(255, 0, 0));
    il.Draw(*out.Canvas(), 0, 0, 7);  // out of range: nothing, no crash
    EXPECT_EQ(Px(out, 4, 4), RGB(255, 0, 0));

    // The canvases of the added pictures still work afterwards.
    strip.Canvas()->SetPixelAt(0, 0, RGB(1, 2, 3));
    EXPECT_EQ(Px(strip, 0, 0), RGB(1, 2, 3));

    EXPECT_TRUE(il.Delete(0));
    EXPECT_EQ(il.Count(), 1);
    il.SetWidth(10);
    EXPECT_EQ(il.Count(), 0) << "a new size empties the list";
}

TEST(ImageList, MaskedImagesLeaveTheBackgroundAndTheSourceAlone) {
    TImageList il;
    il.SetSize(8, 8);
    TBitmap glyph = Stripe(8, 8, 0x00FF00FF, 0x0000FF00);  // magenta left half = transparent
    ASSERT_EQ(il.AddMasked(glyph, clFuchsia), 0);
    EXPECT_EQ(glyph.View().at(1, 1) & 0xFFFFFF, 0xFF00FFu) << "the caller's picture must not be blackened";

    TBitmap out(8, 8);
    out.Canvas()->Brush().SetColor(RGB(200, 200, 200));
    out.Canvas()->FillRect(RECT{0, 0, 8, 8});
    il.Draw(*out.Canvas(), 0, 0, 0);
    EXPECT_EQ(Px(out, 1, 1), RGB(200, 200, 200));
    EXPECT_EQ(Px(out, 6, 6), RGB(0, 255, 0));

    // Disabled: the same shape in grey, the background still showing.
    TBitmap dis(8, 8);
    dis.Canvas()->Brush().SetColor(RGB(200, 0, 0));
    dis.Canvas()->FillRect(RECT{0, 0, 8, 8});
    il.Draw(*dis.Canvas(), 0, 0, 0, false);
    EXPECT_EQ(Px(dis, 1, 1), RGB(200, 0, 0));
    COLORREF g = Px(dis, 6, 6);
    EXPECT_EQ(GetRValue(g), GetGValue(g));
    EXPECT_EQ(GetGValue(g), GetBValue(g));
    EXPECT_GE(GetRValue(g), 128);

    TBitmap copy;
    ASSERT_TRUE(il.GetBitmap(0, copy, clBlue));
    EXPECT_EQ(Px(copy, 1, 1), RGB(0, 0, 255));
    EXPECT_EQ(Px(copy, 6, 6), RGB(0, 255, 0));
    EXPECT_FALSE(il.GetBitmap(3, copy));
}
