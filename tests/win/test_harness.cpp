// The capture and recording helpers themselves: if these lie, every window test lies.
#include <gtest/gtest.h>
#include "MessageRecorder.h"
#include "WindowCapture.h"

using namespace qs::test;

namespace {
LRESULT CALLBACK paintRed(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        HBRUSH b = CreateSolidBrush(RGB(255, 0, 0));
        RECT r;
        GetClientRect(w, &r);
        FillRect(dc, &r, b);
        DeleteObject(b);
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcW(w, m, wp, lp);
}

HWND makeWindow(DWORD style) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = paintRed;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"qsHarnessRed";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"qsHarnessRed", L"harness", style, 10, 10, 200, 120, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}
}  // namespace

TEST(Harness, CapturesClientPixelsAndNonClientArea) {
    HWND w = makeWindow(WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(w) << "CreateWindowEx needs an X display";
    ShowWindow(w, SW_SHOW);
    UpdateWindow(w);
    pumpMessages(100);
    Image whole = captureWindow(w);
    Image client = captureClient(w);
    ASSERT_EQ(whole.width, 200);
    ASSERT_EQ(whole.height, 120);
    RECT cr;
    GetClientRect(w, &cr);
    ASSERT_EQ(client.width, cr.right);
    EXPECT_EQ(client.colorAt(client.width / 2, client.height / 2), RGB(255, 0, 0));
    // The frame is in the window capture and is not the client's red.
    EXPECT_NE(whole.colorAt(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(countColour(whole, RECT{0, 0, 200, 120}, RGB(255, 0, 0)), size_t(cr.right) * cr.bottom);
    EXPECT_EQ(countDifferences(whole, whole), 0u);
    EXPECT_EQ(countDifferences(whole.crop(0, 0, 10, 10), client.crop(0, 0, 10, 10)), 100u);
    DestroyWindow(w);
}

TEST(Harness, RecordsMessagesInOrderAndUnhooksOnDestroy) {
    HWND w = makeWindow(WS_POPUP);
    ASSERT_TRUE(w);
    {
        MessageRecorder rec(w);
        SendMessageW(w, WM_USER + 1, 1, 2);
        SendMessageW(w, WM_USER + 2, 3, 4);
        SendMessageW(w, WM_USER + 1, 5, 6);
        EXPECT_TRUE(rec.containsInOrder({WM_USER + 1, WM_USER + 2, WM_USER + 1}));
        EXPECT_FALSE(rec.containsInOrder({WM_USER + 2, WM_USER + 2}));
        EXPECT_EQ(rec.count(WM_USER + 1), 2u);
        EXPECT_EQ(rec.messages()[1].lParam, 4);
    }
    // Gone: the original procedure is back.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)), paintRed);
    MessageRecorder rec(w, {WM_NCDESTROY});
    DestroyWindow(w);
    EXPECT_EQ(rec.count(WM_NCDESTROY), 1u);
}

TEST(Harness, SavesAReadableBmp) {
    Image img;
    img.width = 3;
    img.height = 2;
    img.pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0, 0xFFFFFF, 0x808080};
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + L"qs-harness.bmp";
    ASSERT_TRUE(saveBmp(img, path));
    HBITMAP bmp = static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_TRUE(bmp);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bmp);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 2, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(128, 128, 128));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bmp);
    DeleteFileW(path.c_str());
}
