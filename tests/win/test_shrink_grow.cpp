// A plain Win32 window skinned through the C interface, made smaller than its
// skinned frame and grown again: what shows afterwards must be what a full
// repaint shows, client background and child controls included, in every skin.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "WindowCapture.h"
#include "qskin/qskin.h"

using namespace qs::test;

namespace {

LRESULT CALLBACK plainProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

std::wstring skinPath(const char* name) {
    const std::string p = std::string("Z:") + QS_SOURCE_ROOT + "/resources/skins/" + name + ".skn";
    return std::wstring(p.begin(), p.end());
}

void keepShot(const Image& img, const std::string& name) {
    if (const char* dir = std::getenv("QS_SHOTS"))
        saveBmp(img, std::wstring(dir, dir + std::strlen(dir)) + L"\\" + std::wstring(name.begin(), name.end()));
}

HWND makeWindow() {
    static bool registered = false;
    if (!registered) {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        WNDCLASSW wc{};
        wc.lpfnWndProc = plainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"QsShrinkGrow";
        registered = RegisterClassW(&wc) != 0;
    }
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    HWND w = CreateWindowExW(0, L"QsShrinkGrow", L"Shrink and grow", WS_OVERLAPPEDWINDOW, 40, 40, 500, 300, nullptr,
                             nullptr, inst, nullptr);
    auto child = [&](DWORD ex, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int cx, int cy) {
        return CreateWindowExW(ex, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, w, nullptr, inst, nullptr);
    };
    child(0, L"BUTTON", L"Push", BS_PUSHBUTTON, 10, 10, 90, 26);
    child(WS_EX_CLIENTEDGE, L"EDIT", L"text", 0, 10, 50, 150, 24);
    child(0, L"BUTTON", L"Check", BS_AUTOCHECKBOX, 10, 90, 120, 20);
    HWND combo = child(0, L"COMBOBOX", nullptr, CBS_DROPDOWNLIST, 200, 10, 150, 200);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"first"));
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    child(0, DATETIMEPICK_CLASSW, nullptr, 0, 200, 50, 150, 24);
    HWND tree = child(WS_EX_CLIENTEDGE, WC_TREEVIEWW, nullptr, TVS_HASLINES, 200, 90, 150, 100);
    TVINSERTSTRUCTW item{};
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT;
    item.item.pszText = const_cast<wchar_t*>(L"node");
    SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return w;
}

class ShrinkGrow : public ::testing::TestWithParam<const char*> {
protected:
    void TearDown() override {
        if (wnd) DestroyWindow(wnd);
        qskin_shutdown();
        pumpMessages(20);
    }
    HWND wnd = nullptr;
};

}  // namespace

// What shows on screen is what a full repaint shows, and nothing of the
// client area away from the child controls is left black.
void expectSettled(HWND wnd, const std::string& shotName) {
    pumpMessages(400);
    const Image shown = captureWindow(wnd);
    keepShot(shown, shotName);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(200);
    const Image repainted = captureWindow(wnd);
    EXPECT_EQ(countDifferences(shown, repainted), 0u) << shotName;
    RECT client{};
    GetClientRect(wnd, &client);
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT win{};
    GetWindowRect(wnd, &win);
    OffsetRect(&client, -win.left, -win.top);
    client.left += 360;  // right of the controls
    EXPECT_EQ(countColour(shown, client, RGB(0, 0, 0)), 0u) << shotName;
}

TEST_P(ShrinkGrow, WindowGrownFromBelowItsFrameShowsWhatAFullRepaintShows) {
    ASSERT_EQ(qskin_load_file(skinPath(GetParam()).c_str()), QSKIN_OK);
    ASSERT_EQ(qskin_enable(), QSKIN_OK);
    wnd = makeWindow();
    ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);
    pumpMessages(300);
    ASSERT_EQ(qskin_is_skinned(wnd), 1);
    const std::string name = std::string("shrink_grow_") + GetParam();

    const UINT keep = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(wnd, nullptr, 0, 0, 30, 20, keep);
    pumpMessages(200);
    SetWindowPos(wnd, nullptr, 0, 0, 500, 300, keep);
    expectSettled(wnd, name + ".bmp");

    // A longer way round: very small, large, smaller, maximised and back.
    SetWindowPos(wnd, nullptr, 0, 0, 30, 20, keep);
    pumpMessages(100);
    SetWindowPos(wnd, nullptr, 0, 0, 1200, 900, keep);
    pumpMessages(100);
    SetWindowPos(wnd, nullptr, 0, 0, 760, 560, keep);
    pumpMessages(100);
    ShowWindow(wnd, SW_MAXIMIZE);
    pumpMessages(200);
    ShowWindow(wnd, SW_MINIMIZE);
    pumpMessages(200);
    ShowWindow(wnd, SW_RESTORE);
    expectSettled(wnd, name + "_restored.bmp");
}

INSTANTIATE_TEST_SUITE_P(EverySkin, ShrinkGrow, ::testing::Values("default", "dark", "rounded"));
