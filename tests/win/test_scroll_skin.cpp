// Skinned scroll bars on real windows with the real mouse: the cover over a
// memo's bar against an unskinned twin, repeat, thumb drag, paging, hiding,
// disabling, short bars and scroll-bar controls.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "SkinDraw.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"
#include "StdCtrlsEdit.h"
#include "test_edits_util.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

std::vector<std::wstring> numberedLines(int n) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < n; ++i) lines.push_back(L"line " + std::to_wstring(i));
    return lines;
}

SCROLLBARINFO vbarInfo(HWND w) {
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    GetScrollBarInfo(w, OBJID_VSCROLL, &sbi);
    return sbi;
}

// Centre of the native vertical bar's part at `along` pixels from its top.
POINT barPoint(HWND w, int along) {
    SCROLLBARINFO sbi = vbarInfo(w);
    return POINT{(sbi.rcScrollBar.left + sbi.rcScrollBar.right) / 2, sbi.rcScrollBar.top + along};
}

struct ScrollSkinFixture : ::testing::Test {
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    TMemo* memo = nullptr;  // skinned
    TMemo* twin = nullptr;  // the system's look
    TSkinScrollbar* skin = nullptr;

    static void SetUpTestSuite() { Application->Initialize(); }

    void SetUp() override {
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        ASSERT_NE(sd->Scrollbar(), nullptr);
        form = makeTestForm();
        memo = makeMemo(10);
        twin = makeMemo(260);
        skin = new TSkinScrollbar(memo);
        skin->AttachScrollbar(memo, sd.get(), nullptr, nullptr);
        pumpMessages(80);
    }
    void TearDown() override {
        sendMouse(MOUSEEVENTF_LEFTUP);
        form.reset();
        sd.reset();
    }

    TMemo* makeMemo(int left) {
        auto* m = new TMemo(form.get());
        m->SetParent(form.get());
        m->SetBounds(left, 10, 220, 200);
        m->SetScrollBars(ssVertical);
        m->SetWordWrap(false);
        m->SetLines(numberedLines(80));
        m->SetSel(0, 0);
        SendMessageW(m->Handle(), EM_SCROLLCARET, 0, 0);
        return m;
    }

    HWND cover() const { return skin->FVertBar->HandleIfAllocated(); }
};

TEST_F(ScrollSkinFixture, CoverSitsExactlyOverTheNativeBarAndDrawsTheSkin) {
    ASSERT_TRUE(cover());
    EXPECT_TRUE(IsWindowVisible(cover()));
    EXPECT_TRUE(sameRect(windowRect(cover()), vbarInfo(memo->Handle()).rcScrollBar));
    // The horizontal bar is not there: its cover stays hidden.
    EXPECT_FALSE(skin->FHorzBar->HandleAllocated() && IsWindowVisible(skin->FHorzBar->HandleIfAllocated()));
    EXPECT_EQ(GetWindowLongPtrW(cover(), GWL_EXSTYLE), LONG_PTR(WS_EX_TOOLWINDOW));
    // Directly above the memo in the z-order.
    EXPECT_EQ(GetWindow(memo->Handle(), GW_HWNDPREV), cover());

    RECT bar = vbarInfo(memo->Handle()).rcScrollBar;
    RECT twinBar = vbarInfo(twin->Handle()).rcScrollBar;
    Image skinned = captureScreenRect(bar);
    Image plain = captureScreenRect(twinBar);
    keepCapture(captureScreenRect(windowRect(form->Handle())), L"scroll_memo.bmp");
    ASSERT_EQ(skinned.width, plain.width);
    // What shows on screen is the skin's bar, not the system's.
    EXPECT_GT(countDifferences(skinned, plain, 8), size_t(skinned.width * skinned.height / 4));
    // The first arrow is the strip's frame 9, keyed on magenta, at its place.
    const int a = skin->FVertBar->FArrowSize, k = skinned.width;
    TBitmap ref(k, a);
    FillColor(ref.Canvas()->Handle(), RECT{0, 0, k, a}, TColor(sd->ButtonFace));
    DrawKeyedFrame(skin, ref.Canvas()->Handle(), RECT{0, 0, k, a}, 23, 9, sd->Scrollbar()->Bitmap);
    EXPECT_LE(countDifferences(skinned.crop(0, 0, k, a), captureFromBitmap(ref), 2), size_t(k));
    EXPECT_EQ(countColour(skinned, RECT{0, 0, k, skinned.height}, RGB(255, 0, 255)), size_t(0));
}

TEST_F(ScrollSkinFixture, DownArrowScrollsOneLineLikeTheTwinAndHoldingRepeats) {
    const int a = skin->FVertBar->FArrowSize;
    const int len = skin->FVertBar->FLength;
    clickScreen(barPoint(memo->Handle(), len - a / 2));
    clickScreen(barPoint(twin->Handle(), len - a / 2));
    EXPECT_EQ(memo->TopLine(), 1);
    EXPECT_EQ(twin->TopLine(), 1);
    // Held for a while: the system's loop repeats the line step.
    for (TMemo* m : {memo, twin}) {
        POINT p = barPoint(m->Handle(), len - a / 2);
        MouseScript script({{0, [&] { SetCursorPos(p.x, p.y); sendMouse(MOUSEEVENTF_LEFTDOWN); }},
                            {900, [] { sendMouse(MOUSEEVENTF_LEFTUP); }}});
        ASSERT_TRUE(script.run());
    }
    EXPECT_GT(memo->TopLine(), 4);
    EXPECT_GT(twin->TopLine(), 4);
    // Same loop, same rates; the system's repeat timer drifts with the load
    // of the machine, so only a gross difference counts.
    EXPECT_LE(memo->TopLine(), 2 * twin->TopLine() + 4);
    EXPECT_LE(twin->TopLine(), 2 * memo->TopLine() + 4);
    // The press is over: no pressed look is left behind.
    EXPECT_FALSE(skin->FVertBar->FPressed);
}

TEST_F(ScrollSkinFixture, DraggedThumbFollowsTheCursorClampedBetweenTheArrows) {
    TWScrollbar* bar = skin->FVertBar.get();
    SCROLLBARINFO sbi = vbarInfo(memo->Handle());
    const int thumbSize = sbi.xyThumbBottom - sbi.xyThumbTop;
    const int a = bar->FArrowSize;
    int midStart = -1, endStart = -1;
    Image mid, atEnd;
    for (TMemo* m : {memo, twin}) {
        const bool skinned = m == memo;
        POINT grab = barPoint(m->Handle(), (sbi.xyThumbTop + sbi.xyThumbBottom) / 2);
        auto look = [&](int& start, Image& shot) {
            if (!skinned) return;
            RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            start = bar->FThumbStart;
            shot = captureWindow(bar->Handle());
        };
        // Down 40, then past the end of the bar (still beside it, so the system
        // keeps the drag), then back to 100 below the grab and release there.
        RECT barRect = vbarInfo(m->Handle()).rcScrollBar;
        MouseScript script({{0, [&] { SetCursorPos(grab.x, grab.y); sendMouse(MOUSEEVENTF_LEFTDOWN); }},
                            {150, [&] { SetCursorPos(grab.x, grab.y + 40); sendMouse(MOUSEEVENTF_MOVE); }},
                            {350, [&] { look(midStart, mid); }},
                            {450, [&] { SetCursorPos(grab.x, barRect.bottom + 10); sendMouse(MOUSEEVENTF_MOVE); }},
                            {650, [&] { look(endStart, atEnd); }},
                            {750, [&] { SetCursorPos(grab.x, grab.y + 100); sendMouse(MOUSEEVENTF_MOVE); }},
                            {900, [] { sendMouse(MOUSEEVENTF_LEFTUP); }}});
        ASSERT_TRUE(script.run());
    }
    EXPECT_EQ(midStart, sbi.xyThumbTop + 40);
    // Past the end of the bar the thumb stops at the second arrow.
    EXPECT_EQ(endStart, bar->FLength - a - thumbSize);
    keepCapture(mid, L"scroll_drag.bmp");
    // The drag scrolled the memo exactly as on the twin.
    EXPECT_GT(memo->TopLine(), 10);
    EXPECT_EQ(memo->TopLine(), twin->TopLine());
    // The painted thumb sat 40 pixels lower mid-drag: compare the two shots
    // at the thumb's rows.
    ASSERT_FALSE(mid.empty());
    ASSERT_FALSE(atEnd.empty());
    EXPECT_GT(countDifferences(mid.crop(0, midStart, mid.width, thumbSize), atEnd.crop(0, midStart, mid.width, thumbSize), 8),
              size_t(0));
    EXPECT_FALSE(bar->FPressed);
}

TEST_F(ScrollSkinFixture, PagingShowsThePressedPageWhileTheSystemRepeats) {
    TWScrollbar* bar = skin->FVertBar.get();
    SCROLLBARINFO sbi = vbarInfo(memo->Handle());
    const int below = (sbi.xyThumbBottom + bar->FLength - bar->FArrowSize) / 2;
    POINT p = barPoint(memo->Handle(), below);
    // Hovering sets part 3 and changes nothing on screen.
    Image before = captureWindow(bar->Handle());
    mouseToScreen(p, 80);
    EXPECT_EQ(bar->FHotPart, spPageAfter);
    EXPECT_EQ(countDifferences(before, captureWindow(bar->Handle()), 0), size_t(0));
    Image pressed;
    int hotDuring = -2, thumbEndDuring = 0;
    bool pressedDuring = false;
    MouseScript script({{0, [&] { sendMouse(MOUSEEVENTF_LEFTDOWN); }},
                        {120, [&] {
                             RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
                             hotDuring = bar->FHotPart;
                             pressedDuring = bar->FPressed;
                             thumbEndDuring = bar->FThumbEnd;
                             pressed = captureWindow(bar->Handle());
                         }},
                        {200, [] { sendMouse(MOUSEEVENTF_LEFTUP); }}});
    ASSERT_TRUE(script.run());
    EXPECT_TRUE(pressedDuring);
    EXPECT_EQ(hotDuring, spPageAfter);
    EXPECT_GT(memo->TopLine(), 0);
    keepCapture(pressed, L"scroll_page.bmp");
    ASSERT_FALSE(pressed.empty());
    // The page area below the thumb shows the track's pressed frame during the press.
    TDataSkinObject* track = sd->VertScroll();
    const int k = pressed.width, from = thumbEndDuring, to = bar->FLength - bar->FArrowSize;
    ASSERT_GT(to - from, 4);
    TBitmap ref(k, to - from), normal(k, to - from);
    for (auto* b : {&ref, &normal}) FillColor(b->Canvas()->Handle(), RECT{0, 0, k, to - from}, TColor(sd->ButtonFace));
    DrawNineSlice(ref.Canvas()->Handle(), RECT{0, 0, k, to - from}, track->Bitmap, false, track->Tile != 0,
                  track->Trans != 0, 4, 2, track->Margins());
    DrawNineSlice(normal.Canvas()->Handle(), RECT{0, 0, k, to - from}, track->Bitmap, false, track->Tile != 0,
                  track->Trans != 0, 4, 1, track->Margins());
    Image page = pressed.crop(0, from, k, to - from);
    EXPECT_LE(countDifferences(page, captureFromBitmap(ref), 2), size_t(k));
    EXPECT_GT(countDifferences(page, captureFromBitmap(normal), 2), size_t(k)) << "pressed and normal frames alike";
}

TEST_F(ScrollSkinFixture, DisabledBarDrawsTheDisabledTrackAndNoThumb) {
    TWScrollbar* bar = skin->FVertBar.get();
    memo->SetEnabled(false);
    pumpMessages(80);
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Image shot = captureWindow(bar->Handle());
    keepCapture(shot, L"scroll_disabled.bmp");
    // Compose what the track should show: frame 3 of the track strip.
    TDataSkinObject* track = sd->VertScroll();
    ASSERT_TRUE(track && !track->Bitmap.Empty());
    const int a = bar->FArrowSize, len = bar->FLength, k = shot.width;
    TBitmap ref(k, len - 2 * a);
    FillColor(ref.Canvas()->Handle(), RECT{0, 0, k, len - 2 * a}, TColor(sd->ButtonFace));
    DrawNineSlice(ref.Canvas()->Handle(), RECT{0, 0, k, len - 2 * a}, track->Bitmap, false, track->Tile != 0,
                  track->Trans != 0, 4, 3, track->Margins());
    TBitmap frame1(k, len - 2 * a);
    DrawNineSlice(frame1.Canvas()->Handle(), RECT{0, 0, k, len - 2 * a}, track->Bitmap, false, track->Tile != 0,
                  track->Trans != 0, 4, 1, track->Margins());
    Image refImg = captureFromBitmap(ref);
    Image trackShot = shot.crop(0, a, k, len - 2 * a);
    // The whole track is frame 3: no thumb anywhere on it.
    EXPECT_LE(countDifferences(trackShot, refImg, 2), size_t(k));
    EXPECT_GT(countDifferences(refImg, captureFromBitmap(frame1), 2), size_t(0)) << "frames 1 and 3 look alike";
    // Enabled again, the thumb is back.
    memo->SetEnabled(true);
    pumpMessages(80);
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(countDifferences(captureWindow(bar->Handle()).crop(0, a, k, len - 2 * a), refImg, 2), size_t(k));
}

TEST_F(ScrollSkinFixture, BarShorterThanTwoArrowsGetsTwoHalfLengthArrows) {
    memo->SetHeight(30);
    pumpMessages(80);
    TWScrollbar* bar = skin->FVertBar.get();
    SCROLLBARINFO sbi = vbarInfo(memo->Handle());
    const int len = sbi.rcScrollBar.bottom - sbi.rcScrollBar.top;
    ASSERT_LT(len, 2 * bar->FArrowSize);
    EXPECT_TRUE(sameRect(windowRect(bar->Handle()), sbi.rcScrollBar));
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Image shot = captureWindow(bar->Handle());
    keepCapture(shot, L"scroll_short.bmp");
    // Each half is the up or down arrow frame stretched to half the length.
    TDataSkinObject* strip = sd->Scrollbar();
    const int k = shot.width, half = len / 2;
    for (int i = 0; i < 2; ++i) {
        TBitmap ref(k, half);
        FillColor(ref.Canvas()->Handle(), RECT{0, 0, k, half}, TColor(sd->ButtonFace));
        DrawKeyedFrame(skin, ref.Canvas()->Handle(), RECT{0, 0, k, half}, 23, i == 0 ? 9 : 13, strip->Bitmap);
        Image got = shot.crop(0, i == 0 ? 0 : len - half, k, half);
        EXPECT_LE(countDifferences(got, captureFromBitmap(ref), 2), size_t(k)) << "arrow " << i;
    }
}

TEST_F(ScrollSkinFixture, ResizingHidingAndDisablingKeepTheCoverInPlace) {
    HWND c = cover();
    RECT old = windowRect(c);
    memo->SetBounds(10, 215, 180, 120);
    pumpMessages(100);
    EXPECT_TRUE(sameRect(windowRect(c), vbarInfo(memo->Handle()).rcScrollBar));
    // Where the bar was, the form's face shows now: no stale cover.
    Image left = captureScreenRect(old);
    RECT formFace{0, 0, left.width, left.height};
    EXPECT_GT(countColour(left, formFace, GetSysColor(COLOR_BTNFACE)), size_t(left.width * left.height / 2));
    memo->Hide();
    pumpMessages(60);
    EXPECT_FALSE(IsWindowVisible(c));
    memo->Show();
    pumpMessages(60);
    EXPECT_TRUE(IsWindowVisible(c));
    EXPECT_TRUE(sameRect(windowRect(c), vbarInfo(memo->Handle()).rcScrollBar));
    // Shown again, the cover paints the skin's bar, not what lay under it.
    {
        Image skinned = captureScreenRect(windowRect(c));
        Image plain = captureScreenRect(vbarInfo(twin->Handle()).rcScrollBar);
        ASSERT_EQ(skinned.width, plain.width);
        const int h = std::min(skinned.height, plain.height);
        EXPECT_GT(countDifferences(skinned.crop(0, 0, skinned.width, h), plain.crop(0, 0, plain.width, h), 8),
                  size_t(skinned.width * h / 4));
    }
    memo->SetEnabled(false);
    pumpMessages(40);
    EXPECT_FALSE(IsWindowEnabled(c));
    memo->SetEnabled(true);
    pumpMessages(40);
    EXPECT_TRUE(IsWindowEnabled(c));
}

TEST(ScrollSkinList, CoverHidesWhenTheListNoLongerNeedsItsBar) {
    Application->Initialize();
    auto sd = loadCommittedSkin("default");
    auto form = makeTestForm();
    auto* list = new TListBox(form.get());
    list->SetParent(form.get());
    list->SetBounds(10, 10, 150, 120);
    for (int i = 0; i < 3; ++i) list->Items().Add(L"item " + std::to_wstring(i));
    auto* skin = new TSkinScrollbar(list);
    skin->AttachScrollbar(list, sd.get(), nullptr, nullptr);
    pumpMessages(60);
    HWND c = skin->FVertBar->Handle();
    EXPECT_FALSE(IsWindowVisible(c));
    for (int i = 3; i < 40; ++i) list->Items().Add(L"item " + std::to_wstring(i));
    pumpMessages(100);
    EXPECT_TRUE(IsWindowVisible(c));
    EXPECT_TRUE(sameRect(windowRect(c), vbarInfo(list->Handle()).rcScrollBar));
    while (list->Items().Count() > 2) list->Items().Delete(0);
    pumpMessages(100);
    EXPECT_FALSE(IsWindowVisible(c));
    // Detached, nothing of the skin stays.
    skin->Restore();
    EXPECT_FALSE(skin->FVertBar);
    EXPECT_FALSE(IsWindow(c));
    delete skin;
}

TEST(ScrollSkinControl, TinyThumbGetsEightPixelsAndClicksWorkLikeTheTwin) {
    Application->Initialize();
    auto sd = loadCommittedSkin("default");
    auto form = makeTestForm();
    TScrollBar* bars[2];
    for (int i = 0; i < 2; ++i) {
        bars[i] = new TScrollBar(form.get());
        bars[i]->SetParent(form.get());
        bars[i]->SetBounds(10, 20 + 40 * i, 300, GetSystemMetrics(SM_CYHSCROLL));
        ASSERT_TRUE(bars[i]->SetParams(0, 0, 1000));
        ASSERT_TRUE(bars[i]->SetPageSize(2));
        bars[i]->SetLargeChange(50);
    }
    auto* skin = new TSkinScControl(bars[0]);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(80);
    TWScrollbar* cover = skin->FBar.get();
    ASSERT_TRUE(cover && IsWindowVisible(cover->Handle()));
    EXPECT_TRUE(sameRect(windowRect(cover->Handle()), windowRect(bars[0]->Handle())));
    EXPECT_EQ(cover->FVertical, 0);
    RedrawWindow(cover->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(cover->FThumbEnd - cover->FThumbStart, 8);
    keepCapture(captureWindow(cover->Handle()), L"scroll_control.bmp");
    // Right arrow and the page area act as on the unskinned twin.
    const int a = cover->FArrowSize;
    for (int i = 0; i < 2; ++i) clickScreen(clientPoint(bars[i]->Handle(), 300 - a / 2, 5));
    EXPECT_EQ(bars[0]->Position(), 1);
    EXPECT_EQ(bars[1]->Position(), 1);
    for (int i = 0; i < 2; ++i) clickScreen(clientPoint(bars[i]->Handle(), 200, 5));
    EXPECT_EQ(bars[0]->Position(), 51);
    EXPECT_EQ(bars[1]->Position(), 51);
    // The painted thumb follows the position.
    RedrawWindow(cover->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(cover->FThumbStart, a);
}

// Paints of one window, counted by a procedure laid over its own.
struct PaintCounter {
    static inline int paints = 0;
    static inline WNDPROC old = nullptr;
    static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        if (m == WM_PAINT) ++paints;
        return CallWindowProcW(old, w, m, wp, lp);
    }
};

// A full repaint of the form paints the cover once: the bar under it clips
// its siblings, so its own paint leaves the cover alone. What moves the
// thumb still repaints it.
TEST(ScrollSkinControl, FullRepaintPaintsTheCoverOnceAndAMovedThumbAgain) {
    Application->Initialize();
    auto sd = loadCommittedSkin("default");
    auto form = makeTestForm();
    auto* bar = new TScrollBar(form.get());
    bar->SetParent(form.get());
    bar->SetBounds(10, 20, 300, GetSystemMetrics(SM_CYHSCROLL));
    ASSERT_TRUE(bar->SetParams(0, 0, 1000));
    auto* skin = new TSkinScControl(bar);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(80);
    HWND cover = skin->FBar->Handle();
    ASSERT_TRUE(IsWindowVisible(cover));
    PaintCounter::old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(cover, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintCounter::proc)));
    PaintCounter::paints = 0;
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(80);
    EXPECT_EQ(PaintCounter::paints, 1);
    const int thumbBefore = skin->FBar->FThumbStart;
    bar->SetPosition(600);
    pumpMessages(80);
    EXPECT_GE(PaintCounter::paints, 2);
    EXPECT_GT(skin->FBar->FThumbStart, thumbBefore + 50);
    SetWindowLongPtrW(cover, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaintCounter::old));
}

}  // namespace
