// The composed frame kept between paints: a repeated paint copies it, any
// change of size, activation, caption or skin composes it again, a caption
// button repaints alone over its own background, and unskinning frees it.
#include <gtest/gtest.h>

#include "FrameLayout.h"
#include "NineSlice.h"
#include "SkinRecords.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

class FrameCacheTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { skin = loadCommittedSkin("default").release(); }
    static void TearDownTestSuite() {
        delete skin;
        skin = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(skin && skin->SkinLoaded());
        wnd = makeWindow(420, 260);
        form = skinWindow(wnd, *skin);
        ASSERT_TRUE(form->FFrameValid);
        ASSERT_GT(form->FLeftWidth, 0);
    }
    void TearDown() override {
        form.reset();
        if (wnd) ::DestroyWindow(wnd);
    }
    // A pixel of the left border, which nothing drawn over the frame covers.
    POINT markerSpot() const { return POINT{form->FLeftWidth / 2, form->FFrameKey.height / 2}; }
    void mark() {
        const POINT p = markerSpot();
        ::SetPixelV(form->FTitleBitmap.Canvas()->Handle(), p.x, p.y, RGB(1, 2, 3));
        ::GdiFlush();
    }
    bool markShown() {
        const POINT p = markerSpot();
        return captureWindow(wnd).at(p.x, p.y) == 0x010203;
    }
    static TSkinData* skin;
    HWND wnd = nullptr;
    std::unique_ptr<TWinSkinForm> form;
};
TSkinData* FrameCacheTest::skin = nullptr;

TEST_F(FrameCacheTest, RepeatedPaintCopiesTheKeptFrameAndChangesComposeAnew) {
    // A mark put into the kept bitmap reaches the screen only if the paint
    // copies that bitmap instead of composing a new one.
    mark();
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
    EXPECT_TRUE(markShown());

    ::SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
    EXPECT_FALSE(markShown()) << "activation change kept the old frame";
    EXPECT_FALSE(form->FFrameKey.active);
    ::SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);

    mark();
    ::SetWindowTextW(wnd, L"Another caption");
    EXPECT_FALSE(markShown()) << "a new caption kept the old frame";

    mark();
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    ::SetWindowPos(wnd, nullptr, 0, 0, wr.right - wr.left + 30, wr.bottom - wr.top + 10, SWP_NOMOVE | SWP_NOZORDER);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(10);
    EXPECT_EQ(form->FFrameKey.width, wr.right - wr.left + 30);
    EXPECT_EQ(form->FTitleBitmap.Width(), TWinSkinForm::ComposedSide(wr.right - wr.left + 30));
    EXPECT_FALSE(markShown()) << "a new size kept the old frame";

    // Another skin on the same form skin: composed from the new records.
    auto dark = loadCommittedSkin("dark");
    ASSERT_TRUE(dark->SkinLoaded());
    mark();
    form->FSkinData = dark.get();
    form->SkinChanged();
    pumpMessages(20);
    EXPECT_FALSE(markShown()) << "a skin change kept the old frame";
    EXPECT_EQ(form->FFrameKey.skin, dark.get());
    form->FSkinData = skin;
    form->SkinChanged();
    pumpMessages(20);
}

TEST_F(FrameCacheTest, CaptionButtonRepaintsAloneOverItsBackground) {
    TWinSysButton* button = nullptr;
    for (auto& b : form->FButtons)
        if (b->FVisible && b->FData && !b->IsIconButton() && b->FData->Action >= 0 && b->FData->Frame >= 3)
            button = b.get();
    ASSERT_NE(button, nullptr) << "the default skin has a caption button with a hot frame";
    const RECT r = button->FBoundsRect;
    ASSERT_GT(r.right - r.left, 0);
    ASSERT_GT(r.bottom - r.top, 0);
    const Image before = captureWindow(wnd);
    mark();  // outside the button: a button repaint must not copy it out
    button->MouseEnter();
    const Image hot = captureWindow(wnd);
    int changed = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) changed += hot.at(x, y) != before.at(x, y);
    EXPECT_GT(changed, 0) << "the hot frame did not show";
    EXPECT_FALSE(markShown());
    // Pixel for pixel: the hot frame of the strip where it is not keyed, and
    // where both frames are keyed the background that showed before.
    {
        TBitmap& strip = button->FData->Bitmap;
        const PixelRect fr = FrameInStrip(strip.Width(), strip.Height(), button->FData->Frame,
                                          StateButtonFrame(ncsHot, true, button->FData->Frame, button->FData->Visibility),
                                          false);
        const PixelRect fn = FrameInStrip(strip.Width(), strip.Height(), button->FData->Frame,
                                          StateButtonFrame(ncsNormal, true, button->FData->Frame, button->FData->Visibility),
                                          false);
        ASSERT_EQ(fr.width(), r.right - r.left);
        ASSERT_EQ(fr.height(), r.bottom - r.top);
        const PixelView v = strip.View();
        ASSERT_FALSE(v.empty());
        int mismatches = 0, keyedBoth = 0;
        for (int y = 0; y < fr.height(); ++y)
            for (int x = 0; x < fr.width(); ++x) {
                const uint32_t hotPixel = v.at(fr.left + x, fr.top + y) & 0xFFFFFF;
                const uint32_t normalPixel = v.at(fn.left + x, fn.top + y) & 0xFFFFFF;
                const uint32_t shown = hot.at(r.left + x, r.top + y);
                if (hotPixel != 0xFF00FF) {
                    mismatches += shown != hotPixel;
                } else if (normalPixel == 0xFF00FF) {
                    ++keyedBoth;
                    mismatches += shown != before.at(r.left + x, r.top + y);
                }
            }
        EXPECT_EQ(mismatches, 0);
        RecordProperty("keyed_in_both_frames", keyedBoth);
    }

    // Back to normal: exactly the composed button again, with none of the hot
    // frame's pixels left where the normal one is keyed.
    button->MouseLeave();
    const Image normal = captureWindow(wnd);
    int wrong = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) wrong += normal.at(x, y) != px(form->FTitleBitmap, x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(FrameCacheTest, ResizeWithinAStepReusesTheBitmapAndShowsTheNewFrame) {
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    const int H = wr.bottom - wr.top;
    // Two widths in one step of the composed bitmap, the second larger.
    const int narrow = TWinSkinForm::ComposedSide(wr.right - wr.left + 64) - 50, wide = narrow + 30;
    ASSERT_EQ(TWinSkinForm::ComposedSide(narrow), TWinSkinForm::ComposedSide(wide));
    auto resize = [&](int w) {
        ::SetWindowPos(wnd, nullptr, 0, 0, w, H, SWP_NOMOVE | SWP_NOZORDER);
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        pumpMessages(10);
    };
    // What the window shows once its frame is composed afresh in a new bitmap.
    auto composedAfresh = [&] {
        form->FreeComposedFrame();
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        pumpMessages(10);
        return captureWindow(wnd);
    };
    resize(narrow);
    const HBITMAP bitmap = form->FTitleBitmap.Handle();
    mark();
    resize(wide);
    EXPECT_EQ(form->FTitleBitmap.Handle(), bitmap) << "a size in the same step made a new bitmap";
    EXPECT_EQ(form->FFrameKey.width, wide);
    EXPECT_FALSE(markShown()) << "the new size kept the old frame";
    const Image grown = captureWindow(wnd);
    EXPECT_EQ(countDifferences(grown, composedAfresh()), 0u);
    // Narrower again, over the wider frame's pixels: none of them may show.
    resize(narrow);
    const Image shrunk = captureWindow(wnd);
    ASSERT_EQ(shrunk.width, narrow);
    EXPECT_EQ(countDifferences(shrunk, composedAfresh()), 0u);
}

TEST_F(FrameCacheTest, UnskinningFreesTheComposedBitmaps) {
    ASSERT_FALSE(form->FTitleBitmap.Empty());
    form->Detach();
    EXPECT_TRUE(form->FTitleBitmap.Empty());
    EXPECT_FALSE(form->FButtonBacksSaved);
    EXPECT_FALSE(form->FFrameValid);
    // Skinned again: composed afresh at the window's size.
    form = skinWindow(wnd, *skin);
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    EXPECT_TRUE(form->FFrameValid);
    EXPECT_EQ(form->FFrameKey.width, wr.right - wr.left);
    EXPECT_EQ(form->FTitleBitmap.Width(), wr.right - wr.left);
}

}  // namespace
