// The form skin on real windows: frame metrics, caption buttons, client size
// kept through skinning and detaching, pixels of the painted frame read back
// from the window DC, and windows it must leave alone.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "DesktopStyles.h"
#include "MessageRecorder.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

class WinSkinFormTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { skin = loadCommittedSkin("default").release(); }
    static void TearDownTestSuite() {
        delete skin;
        skin = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(skin && skin->SkinLoaded()); }
    void TearDown() override {
        form.reset();
        if (wnd) ::DestroyWindow(wnd);
        wnd = nullptr;
    }
    static TSkinData* skin;
    HWND wnd = nullptr;
    std::unique_ptr<TWinSkinForm> form;
};
TSkinData* WinSkinFormTest::skin = nullptr;

// Frame pixel of a side strip (frames side by side) or a top/bottom strip
// (frames stacked).
uint32_t stripPixel(TDataSkinBorder& e, int frame, int x, int y, bool stacked) {
    const int frames = std::max(e.Frame, 1);
    if (stacked) return px(e.Bitmap, x, e.Bitmap.Height() / frames * (frame - 1) + y);
    return px(e.Bitmap, e.Bitmap.Width() / frames * (frame - 1) + x, y);
}

uint32_t framePixel(TDataSkinSysButton& b, int frame, int x, int y) {
    return px(b.Bitmap, b.Bitmap.Width() / b.Frame * (frame - 1) + x, y);
}

}  // namespace

TEST_F(WinSkinFormTest, DefaultSkinMetricsButtonsAndClientSize) {
    wnd = makeWindow(390, 260);
    ASSERT_TRUE(wnd);
    const SIZE before = clientSize(wnd);
    form = skinWindow(wnd, *skin);
    EXPECT_EQ(form->FTitleHeight, 27);
    EXPECT_EQ(form->FLeftWidth, 5);
    EXPECT_EQ(form->FRightWidth, 5);
    EXPECT_EQ(form->FBottomHeight, 5);
    EXPECT_EQ(form->FSkinState, ssSkinned);
    // The client area keeps its size under the skin's frame.
    const SIZE after = clientSize(wnd);
    EXPECT_EQ(after.cx, before.cx);
    EXPECT_EQ(after.cy, before.cy);
    const SIZE ws = windowSize(wnd);
    EXPECT_EQ(ws.cx, 400);
    EXPECT_EQ(ws.cy, 260 + 27 + 5);

    auto rectOf = [](TNCObject* o) { return o ? o->FBoundsRect : RECT{-1, -1, -1, -1}; };
    auto eq = [](RECT a, RECT b) { return EqualRect(&a, &b) != FALSE; };
    TWinSysButton* close = buttonWithAction(*form, 0);
    TWinSysButton* maximize = buttonWithAction(*form, 1, 2);
    TWinSysButton* restore = buttonWithAction(*form, 1, 1);
    TWinSysButton* minimize = buttonWithAction(*form, 2);
    TWinSysButton* icon = buttonWithAction(*form, 3);
    ASSERT_TRUE(close && maximize && restore && minimize && icon);
    EXPECT_TRUE(eq(rectOf(close), RECT{375, 5, 393, 23}));
    EXPECT_TRUE(eq(rectOf(maximize), RECT{351, 5, 369, 23}));
    EXPECT_TRUE(eq(rectOf(minimize), RECT{327, 5, 345, 23}));
    EXPECT_TRUE(maximize->FVisible);
    EXPECT_FALSE(restore->FVisible);  // only while maximized
    const int sm = ::GetSystemMetrics(SM_CXSMICON);
    EXPECT_TRUE(eq(rectOf(icon), RECT{8, 7, 8 + sm, 7 + sm}));

    // Skinned windows say so.
    EXPECT_EQ(::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0), 1);
}

TEST_F(WinSkinFormTest, FrameCornersAreTheSkinsOwnPixels) {
    wnd = makeWindow(390, 260);
    form = skinWindow(wnd, *skin);
    pumpMessages(50);
    const Image img = captureWindow(wnd);
    ASSERT_EQ(img.width, 400);
    TDataSkinBorder& L = *skin->BorderLeft();
    TDataSkinBorder& R = *skin->BorderRight();
    TDataSkinBorder& T = *skin->BorderTop();
    TDataSkinBorder& B = *skin->BorderBottom();
    const int H = img.height, W = img.width;
    // The left and right strips' top corners (above their TopHeight margin)
    // and bottom corners (below BottomHeight) at their own size.
    for (int y = 0; y < L.TopHeight; ++y)
        for (int x = 0; x < 5; ++x) {
            ASSERT_EQ(img.at(x, y), stripPixel(L, 1, x, y, false)) << x << "," << y;
            ASSERT_EQ(img.at(W - 5 + x, y), stripPixel(R, 1, x, y, false)) << x << "," << y;
        }
    for (int y = 0; y < L.BottomHeight; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(img.at(x, H - L.BottomHeight + y), stripPixel(L, 1, x, L.Bitmap.Height() - L.BottomHeight + y, false));
    // The title's left fixed part starts right after the left border.
    for (int y = 0; y < 27; ++y)
        for (int x = 0; x < std::min(T.LeftWidth, 5); ++x) ASSERT_EQ(img.at(5 + x, y), stripPixel(T, 1, x, y, true));
    // The bottom strip's first column.
    for (int y = 0; y < 5; ++y) EXPECT_EQ(img.at(5, H - 5 + y), stripPixel(B, 1, 0, y, true));
    // The Close button shows frame 1 wherever it is not transparent.
    TWinSysButton* close = buttonWithAction(*form, 0);
    ASSERT_TRUE(close);
    int checked = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const uint32_t p = framePixel(*close->FData, 1, x, y);
            if (p == 0xFF00FF) continue;
            ++checked;
            ASSERT_EQ(img.at(375 + x, 5 + y), p) << x << "," << y;
        }
    EXPECT_GT(checked, 100);
    // No magenta anywhere: keyed pixels never reach the screen.
    EXPECT_EQ(countColour(img, RECT{0, 0, W, 27}, RGB(255, 0, 255)), 0u);
}

TEST_F(WinSkinFormTest, InactiveWindowShowsFrameTwoAndDisabledButtons) {
    wnd = makeWindow(390, 260);
    form = skinWindow(wnd, *skin);
    ::SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
    pumpMessages(30);
    EXPECT_FALSE(form->FActive);
    const Image img = captureWindow(wnd);
    TDataSkinBorder& L = *skin->BorderLeft();
    ASSERT_GE(L.Frame, 2);
    int differing = 0;
    for (int y = 0; y < L.TopHeight; ++y)
        for (int x = 0; x < 5; ++x) {
            const uint32_t f1 = stripPixel(L, 1, x, y, false), f2 = stripPixel(L, 2, x, y, false);
            ASSERT_EQ(img.at(x, y), f2);
            differing += f1 != f2;
        }
    EXPECT_GT(differing, 0) << "the skin's two frames should differ somewhere";
    TWinSysButton* close = buttonWithAction(*form, 0);
    ASSERT_TRUE(close);
    ASSERT_GE(close->FData->Frame, 4);
    int checked = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 18; ++x) {
            const uint32_t p = framePixel(*close->FData, 4, x, y);
            if (p == 0xFF00FF || p == framePixel(*close->FData, 1, x, y)) continue;
            ++checked;
            ASSERT_EQ(img.at(375 + x, 5 + y), p) << x << "," << y;
        }
    EXPECT_GT(checked, 0);
    // Active again: frame 1.
    ::SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    const Image again = captureWindow(wnd);
    EXPECT_EQ(again.at(0, 0), stripPixel(L, 1, 0, 0, false));
}

TEST_F(WinSkinFormTest, WindowWithoutCaptionKeepsTheSystemFrame) {
    wnd = makeWindow(200, 120, WS_POPUP | WS_THICKFRAME);
    const SIZE ws = windowSize(wnd), cs = clientSize(wnd);
    pumpMessages(30);
    const Image before = captureWindow(wnd);
    form = skinWindow(wnd, *skin);
    EXPECT_EQ(form->FBorderKind, bkNoCaption);
    EXPECT_EQ(form->FTitleHeight + form->FLeftWidth + form->FRightWidth + form->FBottomHeight, 0);
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(30);
    EXPECT_EQ(windowSize(wnd).cx, ws.cx);
    EXPECT_EQ(windowSize(wnd).cy, ws.cy);
    EXPECT_EQ(clientSize(wnd).cx, cs.cx);
    EXPECT_EQ(clientSize(wnd).cy, cs.cy);
    form->PaintFrame();
    EXPECT_EQ(countDifferences(before, captureWindow(wnd)), 0u);
}

TEST_F(WinSkinFormTest, DetachGivesBackStyleMenuProcedureAndClientSize) {
    HMENU menu = ::CreateMenu();
    ::AppendMenuW(menu, MF_STRING, 100, L"&File");
    wnd = makeWindow(300, 200, WS_OVERLAPPEDWINDOW, 0, L"Detach me", nullptr, menu);
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    const LONG_PTR proc = ::GetWindowLongPtrW(wnd, GWLP_WNDPROC);
    const SIZE cs = clientSize(wnd);
    pumpMessages(30);
    const Image before = captureWindow(wnd);

    form = skinWindow(wnd, *skin);
    EXPECT_NE(::GetWindowLongPtrW(wnd, GWLP_WNDPROC), proc);
    EXPECT_EQ(clientSize(wnd).cx, cs.cx);
    EXPECT_EQ(clientSize(wnd).cy, cs.cy);
    HRGN probe = ::CreateRectRgn(0, 0, 0, 0);

    form->Detach();
    pumpMessages(30);
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE), style);
    EXPECT_EQ(::GetMenu(wnd), menu);
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWLP_WNDPROC), proc);
    EXPECT_EQ(clientSize(wnd).cx, cs.cx);
    EXPECT_EQ(clientSize(wnd).cy, cs.cy);
    EXPECT_EQ(::GetWindowRgn(wnd, probe), ERROR);  // no region left
    ::DeleteObject(probe);
    EXPECT_NE(::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0), 1);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpMessages(30);
    const Image after = captureWindow(wnd);
    ASSERT_EQ(after.width, before.width);
    ASSERT_EQ(after.height, before.height);
    EXPECT_EQ(countDifferences(before, after, 8), 0u);
}

namespace {
// A stand-in for dwmapi: records every attribute set; reads answer only for
// the corners, as if the program had asked for small round ones.
struct DwmCall {
    HWND wnd;
    DWORD attribute, value;
    bool operator==(const DwmCall&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const DwmCall& c) {
        return o << "(attribute " << c.attribute << " = 0x" << std::hex << c.value << std::dec << ")";
    }
};
std::vector<DwmCall> gDwmCalls;
HRESULT WINAPI recordDwmSet(HWND w, DWORD a, LPCVOID v, DWORD n) {
    gDwmCalls.push_back({w, a, n == sizeof(DWORD) ? *static_cast<const DWORD*>(v) : 0xBAD});
    return S_OK;
}
HRESULT WINAPI answerDwmGet(HWND, DWORD a, PVOID v, DWORD n) {
    if (a != kDwmWindowCornerPreference || n != sizeof(DWORD)) return E_INVALIDARG;
    *static_cast<DWORD*>(v) = 3;  // DWMWCP_ROUNDSMALL
    return S_OK;
}
}  // namespace

TEST_F(WinSkinFormTest, CompositionLeavesTheFrameToTheSkinAndGetsItBackAsItWas) {
    const TDesktopApi saved = DesktopApi();
    DesktopApi().dwmSetWindowAttribute = recordDwmSet;
    DesktopApi().dwmGetWindowAttribute = answerDwmGet;
    gDwmCalls.clear();
    wnd = makeWindow(300, 200, WS_OVERLAPPEDWINDOW, 0, L"Composed", nullptr, nullptr);
    form = skinWindow(wnd, *skin);
    const std::vector<DwmCall> taken{{wnd, kDwmNcRenderingPolicy, kDwmNcRenderingDisabled},
                                     {wnd, kDwmWindowCornerPreference, kDwmCornerDoNotRound},
                                     {wnd, kDwmBorderColour, kDwmColourNone}};
    EXPECT_EQ(gDwmCalls, taken);
    gDwmCalls.clear();
    form->Detach();
    const std::vector<DwmCall> givenBack{{wnd, kDwmBorderColour, kDwmColourDefault},
                                         {wnd, kDwmWindowCornerPreference, 3},
                                         {wnd, kDwmNcRenderingPolicy, kDwmNcRenderingUseStyle}};
    EXPECT_EQ(gDwmCalls, givenBack);
    DesktopApi() = saved;
}

TEST_F(WinSkinFormTest, CaptionTextSitsBetweenIconAndButtonsAndFollowsTheText) {
    wnd = makeWindow(390, 200, WS_OVERLAPPEDWINDOW, 0, L"");
    form = skinWindow(wnd, *skin);
    const Image blank = captureWindow(wnd);
    ::SetWindowTextW(wnd, L"Channel viewer");
    pumpMessages(30);
    const Image text = captureWindow(wnd);
    // The text changed pixels of the title, and only between TextShift and
    // the leftmost caption button.
    const size_t inside = countDifferences(blank.crop(30, 0, 290, 27), text.crop(30, 0, 290, 27));
    EXPECT_GT(inside, 40u);
    EXPECT_EQ(countDifferences(blank.crop(0, 0, 30, 27), text.crop(0, 0, 30, 27)), 0u);
    EXPECT_EQ(countDifferences(blank.crop(320, 0, 80, 27), text.crop(320, 0, 80, 27)), 0u);
    // The inactive colour differs from the active one in the default skin.
    ::SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
    const Image inactive = captureWindow(wnd);
    EXPECT_GT(countDifferences(text.crop(30, 0, 290, 27), inactive.crop(30, 0, 290, 27)), 0u);
    // Far too long: cut with an ellipsis, still inside its room.
    ::SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
    ::SetWindowTextW(wnd, std::wstring(200, L'W').c_str());
    pumpMessages(30);
    const Image longText = captureWindow(wnd);
    EXPECT_EQ(countDifferences(blank.crop(320, 0, 80, 27), longText.crop(320, 0, 80, 27)), 0u);
    EXPECT_GT(countDifferences(blank.crop(300, 0, 20, 27), longText.crop(300, 0, 20, 27)), 0u);
}

TEST_F(WinSkinFormTest, ResizingRepaintsTheFrameAtTheNewSize) {
    wnd = makeWindow(390, 200);
    form = skinWindow(wnd, *skin);
    ::SetWindowPos(wnd, nullptr, 0, 0, 520, 330, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages(50);
    const Image img = captureWindow(wnd);
    ASSERT_EQ(img.width, 520);
    TDataSkinBorder& R = *skin->BorderRight();
    for (int y = 0; y < R.TopHeight; ++y)
        for (int x = 0; x < 5; ++x) ASSERT_EQ(img.at(515 + x, y), stripPixel(R, 1, x, y, false));
    EXPECT_EQ(clientSize(wnd).cx, 510);
    EXPECT_EQ(clientSize(wnd).cy, 330 - 32);
    TWinSysButton* close = buttonWithAction(*form, 0);
    EXPECT_EQ(close->FBoundsRect.left, 520 - 25);
}

// What the window shows at the moment the system's own handling of
// WM_NCACTIVATE returns inside the program's procedure.
struct InCallCapture {
    static inline WNDPROC previous = nullptr;
    static inline std::vector<Image> shots;
    static inline std::vector<LONG_PTR> styles;
    static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        const LRESULT r = ::CallWindowProcW(previous, w, m, wp, lp);
        if (m == WM_NCACTIVATE) {
            shots.push_back(captureWindow(w));
            styles.push_back(::GetWindowLongPtrW(w, GWL_STYLE));
        }
        return r;
    }
};

TEST_F(WinSkinFormTest, TheSystemNeverPaintsTheSkinnedFrame) {
    wnd = makeWindow(390, 200);
    const LONG_PTR ownStyle = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    InCallCapture::shots.clear();
    InCallCapture::previous =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(wnd, GWLP_WNDPROC, LONG_PTR(&InCallCapture::proc)));
    {
        // Recorded below the skin: what the window's own procedure still gets.
        test::MessageRecorder below(wnd, {WM_NCPAINT, WM_NCACTIVATE, WM_SETTEXT, WM_STYLECHANGED});
        form = skinWindow(wnd, *skin);
        below.clear();
        for (int i = 0; i < 4; ++i) {
            ::SetWindowPos(wnd, nullptr, 0, 0, 420 + 30 * i, 260 + 10 * i, SWP_NOMOVE | SWP_NOZORDER);
            pumpMessages(10);
        }
        InCallCapture::shots.clear();
        std::vector<Image> before;
        for (BOOL active : {FALSE, TRUE}) {
            before.push_back(captureWindow(wnd));
            ::SendMessageW(wnd, WM_NCACTIVATE, active, 0);
        }
        ::SetWindowTextW(wnd, L"New text");
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        pumpMessages(20);
        EXPECT_EQ(below.count(WM_NCPAINT), 0u) << below.describe();
        // The program hears its activation change, as unskinned, but the
        // system's caption it draws there never reaches the screen, and the
        // bits hidden from it for the call are never the program's news.
        EXPECT_EQ(below.count(WM_NCACTIVATE), 2u) << below.describe();
        EXPECT_EQ(below.count(WM_STYLECHANGED), 0u) << below.describe();
        ASSERT_EQ(InCallCapture::shots.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            const Image& shot = InCallCapture::shots[i];
            ASSERT_EQ(shot.width, before[i].width);
            int systemPixels = 0;
            for (int y = 0; y < form->FTitleHeight; ++y)
                for (int x = 0; x < shot.width; ++x) systemPixels += shot.at(x, y) != before[i].at(x, y);
            EXPECT_EQ(systemPixels, 0) << "call " << i;
        }
        EXPECT_EQ(below.count(WM_SETTEXT), 1u);  // the text itself still reaches the window
        // The frame on screen is the one the skin composed, pixel for pixel.
        const Image shown = captureWindow(wnd);
        TBitmap& composed = form->FTitleBitmap;
        ASSERT_EQ(form->FFrameKey.width, shown.width);
        ASSERT_EQ(composed.Width(), TWinSkinForm::ComposedSide(shown.width));
        int wrong = 0;
        for (int y = 0; y < form->FTitleHeight; ++y)
            for (int x = 0; x < shown.width; ++x) wrong += shown.at(x, y) != px(composed, x, y);
        EXPECT_EQ(wrong, 0);
        wchar_t text[32] = {};
        ::GetWindowTextW(wnd, text, 32);
        EXPECT_STREQ(text, L"New text");
        // The style reads back as the program made it, window menu bit included.
        EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE) & ~LONG_PTR(WS_CLIPSIBLINGS), ownStyle & ~LONG_PTR(WS_CLIPSIBLINGS));
        form.reset();  // the skin leaves before the recorder under it
    }
}

TEST_F(WinSkinFormTest, SkinChangeRemeasuresAndKeepsTheClientArea) {
    auto rounded = loadCommittedSkin("rounded");
    ASSERT_TRUE(rounded->SkinLoaded());
    wnd = makeWindow(390, 200);
    form = skinWindow(wnd, *skin);
    const SIZE cs = clientSize(wnd);
    form->FSkinData = rounded.get();
    form->SkinChanged();
    pumpMessages(30);
    EXPECT_EQ(form->FSkinState, ssSkinned);
    EXPECT_EQ(form->FTitleHeight, 30);
    EXPECT_EQ(form->FLeftWidth, 8);
    EXPECT_EQ(clientSize(wnd).cx, cs.cx);
    EXPECT_EQ(clientSize(wnd).cy, cs.cy);
    EXPECT_EQ(windowSize(wnd).cx, cs.cx + 16);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(wnd, rgn), COMPLEXREGION);  // the rounded skin's corners
    ::DeleteObject(rgn);
    // Back to the first skin before the second one goes.
    form->FSkinData = skin;
    form->SkinChanged();
    EXPECT_EQ(form->FTitleHeight, 27);
    EXPECT_EQ(clientSize(wnd).cx, cs.cx);
}
