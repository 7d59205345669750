// Faults a skinned window must survive: a size too large for any off-screen
// bitmap, captions that cannot fit, and many cycles of skinning and loading
// that must not leave objects behind.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <string>

#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

// A window class that lets a window grow past the screen (the default answer
// to WM_GETMINMAXINFO stops at about the screen's size).
LRESULT CALLBACK unboundedProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_GETMINMAXINFO) {
        auto* info = reinterpret_cast<MINMAXINFO*>(lp);
        info->ptMaxTrackSize = POINT{40000, 40000};
        info->ptMaxSize = POINT{40000, 40000};
        return 0;
    }
    return ::DefWindowProcW(w, m, wp, lp);
}

const wchar_t* unboundedClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = unboundedProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QsUnboundedWindow";
        ::RegisterClassW(&wc);
        return L"QsUnboundedWindow";
    }();
    return name;
}

void repaintFrame(HWND w) {
    ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpMessages(20);
}

bool answers(HWND w) {
    DWORD_PTR r = 0;
    return ::SendMessageTimeoutW(w, WM_NCHITTEST, 0, MAKELPARAM(60, 60), SMTO_ABORTIFHUNG, 2000, &r) != 0;
}

class Faults : public ::testing::Test {
protected:
    void SetUp() override {
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
    }
    void TearDown() override {
        if (form) form->Detach();
        form.reset();
        if (wnd) ::DestroyWindow(wnd);
    }
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TWinSkinForm> form;
    HWND wnd = nullptr;
};

TEST_F(Faults, WindowTooLargeForAnOffscreenBitmapPaintsNothingAndKeepsWorking) {
    wnd = makeWindow(320, 200, WS_OVERLAPPEDWINDOW, 0, L"Huge", unboundedClass());
    ASSERT_NE(wnd, nullptr);
    form = skinWindow(wnd, *sd);
    repaintFrame(wnd);
    const SIZE normal = windowSize(wnd);
    const Image before = captureWindow(wnd);
    const DWORD gdi = gdiObjectCount();

    ::SetWindowPos(wnd, nullptr, 0, 0, 30000, 30000, SWP_NOMOVE | SWP_NOZORDER);
    repaintFrame(wnd);
    const SIZE huge = windowSize(wnd);
    ASSERT_EQ(huge.cx, 30000) << "the window did not grow, so nothing was tried";
    ASSERT_EQ(huge.cy, 30000);
    // 30000 x 30000 x 4 bytes cannot be had: the composed frame is not made
    // and the paint gives up without an error reaching the caller.
    EXPECT_TRUE(form->FTitleBitmap.Empty() || form->FTitleBitmap.Width() != 30000);
    EXPECT_TRUE(answers(wnd));
    EXPECT_TRUE(::SetWindowTextW(wnd, L"Still here"));
    wchar_t text[32] = {};
    ::GetWindowTextW(wnd, text, 32);
    EXPECT_STREQ(text, L"Still here");
    EXPECT_EQ(::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0), 1);

    // Back at a normal size the frame paints as before.
    ::SetWindowTextW(wnd, L"Huge");
    ::SetWindowPos(wnd, nullptr, 0, 0, normal.cx, normal.cy, SWP_NOMOVE | SWP_NOZORDER);
    repaintFrame(wnd);
    EXPECT_EQ(countDifferences(before, captureWindow(wnd)), 0u);
    EXPECT_LE(gdiObjectCount(), gdi + 1);
}

// Captions far wider than the title bar, and scripts of other directions and
// widths, stay inside the space the skin gives the text: the caption buttons
// and the borders are the same pixels as with a one-letter caption.
TEST_F(Faults, LongChineseAndArabicCaptionsStayInTheirPlace) {
    wnd = makeWindow(360, 200, WS_OVERLAPPEDWINDOW, 0, L"A");
    ASSERT_NE(wnd, nullptr);
    form = skinWindow(wnd, *sd);
    repaintFrame(wnd);
    const Image shortCaption = captureWindow(wnd);
    ::SetWindowTextW(wnd, L"");
    repaintFrame(wnd);
    const Image noCaption = captureWindow(wnd);
    const int W = shortCaption.width, H = shortCaption.height;
    const int title = form->FTitleHeight, left = form->FLeftWidth, right = form->FRightWidth,
              bottom = form->FBottomHeight;
    ASSERT_GT(title, 0);
    const int clip = sd->Title()->TextRightClip();
    ASSERT_GT(clip, 0);

    std::wstring chinese, arabic, mixed;
    for (int i = 0; i < 2000; ++i) chinese += L"\u4E2D\u592E\u7535\u89C6\u53F0";  // 10 000 characters
    for (int i = 0; i < 1250; ++i) arabic += L"\u0645\u0631\u062D\u0628\u0627 \u0628\u0643";
    for (int i = 0; i < 1000; ++i) mixed += L"Qelvo \u4E2D\u592E \u0645\u0631\u062D\u0628\u0627 ";
    const std::pair<const char*, std::wstring> captions[] = {
        {"10 000 Latin", std::wstring(10000, L'W')},
        {"10 000 Chinese", chinese},
        {"10 000 Arabic", arabic},
        {"mixed directions", mixed},
    };
    for (const auto& [what, caption] : captions) {
        ASSERT_TRUE(::SetWindowTextW(wnd, caption.c_str())) << what;
        repaintFrame(wnd);
        ASSERT_TRUE(answers(wnd)) << what;
        const Image now = captureWindow(wnd);
        ASSERT_EQ(now.width, W);
        // The caption is drawn...
        EXPECT_GT(countDifferences(noCaption.crop(left, 0, W - left - right, title), now.crop(left, 0, W - left - right, title)),
                  20u)
            << what;
        // ...and nothing of it reaches the buttons or the borders.
        EXPECT_EQ(countDifferences(shortCaption.crop(W - clip, 0, clip, title), now.crop(W - clip, 0, clip, title)), 0u) << what;
        EXPECT_EQ(countDifferences(shortCaption.crop(0, title, left, H - title), now.crop(0, title, left, H - title)), 0u) << what;
        EXPECT_EQ(countDifferences(shortCaption.crop(W - right, title, right, H - title), now.crop(W - right, title, right, H - title)), 0u)
            << what;
        EXPECT_EQ(countDifferences(shortCaption.crop(0, H - bottom, W, bottom), now.crop(0, H - bottom, W, bottom)), 0u) << what;
    }
}

// Counts taken after a warm-up round, since the first round makes objects
// that live for the whole program (fonts, cached brushes).
TEST_F(Faults, AttachingAndDetachingAThousandTimesLeavesNothing) {
    wnd = makeWindow(320, 200, WS_OVERLAPPEDWINDOW, 0, L"Cycles");
    ASSERT_NE(wnd, nullptr);
    RECT start{};
    ::GetWindowRect(wnd, &start);
    auto cycle = [&] {
        auto f = std::make_unique<TWinSkinForm>(nullptr);
        f->FHandle = wnd;
        f->FName = "QsSkinFormTest";
        f->AttachWindow(sd.get());
        ::SendMessageW(wnd, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        f->Detach();
    };
    for (int i = 0; i < 20; ++i) cycle();
    pumpMessages(20);
    const DWORD gdi = gdiObjectCount(), user = userObjectCount();
    for (int i = 0; i < 1000; ++i) cycle();
    pumpMessages(20);
    EXPECT_LE(gdiObjectCount(), gdi) << "GDI objects after 1000 cycles";
    EXPECT_LE(userObjectCount(), user) << "USER objects after 1000 cycles";
    EXPECT_EQ(::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0), 0) << "still answers as skinned";
    RECT end{};
    ::GetWindowRect(wnd, &end);
    EXPECT_EQ(end.right - end.left, start.right - start.left);
    EXPECT_EQ(end.bottom - end.top, start.bottom - start.top);
}

TEST_F(Faults, ReloadingASkinManyTimesLeavesNothing) {
    for (int i = 0; i < 5; ++i) sd->LoadSkin();
    const DWORD gdi = gdiObjectCount();
    PROCESS_MEMORY_COUNTERS before{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &before, sizeof before);
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(sd->LoadSkin());
    PROCESS_MEMORY_COUNTERS after{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &after, sizeof after);
    EXPECT_LE(gdiObjectCount(), gdi);
    EXPECT_LT(double(after.WorkingSetSize) - double(before.WorkingSetSize), 8.0 * (1 << 20))
        << before.WorkingSetSize << " -> " << after.WorkingSetSize;
    std::printf("300 loads of the default skin: GDI objects %lu -> %lu, working set %.1f -> %.1f MiB\n", gdi,
                gdiObjectCount(), double(before.WorkingSetSize) / (1 << 20), double(after.WorkingSetSize) / (1 << 20));
}

}  // namespace
