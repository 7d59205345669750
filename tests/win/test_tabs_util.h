#pragma once
// Shared by the tab, header and list-view window tests: skins made in the
// test with one plain colour per frame, the application's own message loop
// (keys reach controls through it), and pixel counts.
#include <windows.h>

#include <memory>

#include "Application.h"
#include "test_progress_util.h"
#include "test_skin_data_util.h"

namespace qs::test {

// Frame colours (0x00RRGGBB) of the test skins.
inline constexpr uint32_t kTabNormal = 0x0000FF, kTabSelected = 0xFF0000, kTabOther = 0x00C000;
inline constexpr uint32_t kPane = 0xFFFF00;
inline constexpr uint32_t kHeadNormal = 0x00FFFF, kHeadHot = 0xFF8000;
inline constexpr uint32_t kBtnNormal = 0x00FF00, kBtnDown = 0x800080;

inline COLORREF ref(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

inline std::unique_ptr<TSkinData> loadTestSkin(const SkinBuilder& b) {
    auto sd = std::make_unique<TSkinData>(nullptr);
    loadArchive(*sd, b.archive());
    return sd;
}

// Tabs: five 20 x 20 frames (normal blue, selected red, the rest green) and a
// yellow pane border; header items cyan, hot orange; buttons green, pressed purple.
inline std::unique_ptr<TSkinData> tabSkin() {
    SkinBuilder b;
    b.text("[Tabs]\nImage=tabs.bmp\nBorder=pane.bmp\nStyle=0");
    b.image("tabs.bmp", stripImage(20, 20, {kTabNormal, kTabSelected, kTabOther, kTabOther, kTabOther}));
    b.image("pane.bmp", stripImage(20, 20, {kPane}));
    b.text("[Headerbar]\nImage=head.bmp\nFrame=2");
    b.image("head.bmp", stripImage(20, 18, {kHeadNormal, kHeadHot}));
    b.text("[Buttons]\nBitmap=buttons.bmp");
    b.image("buttons.bmp", stripImage(20, 20, {kBtnNormal, kBtnDown, kTabOther, kTabOther, kTabOther}));
    return loadTestSkin(b);
}

// Runs the application's loop (not a bare dispatch loop) for about `ms`.
inline void pumpApp(DWORD ms = 60) {
    DWORD end = GetTickCount() + ms;
    do {
        while (Application->HandleMessage()) {
        }
        Sleep(1);
    } while (LONG(GetTickCount() - end) < 0);
}

inline void key(WORD vk, bool down) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &in, sizeof(INPUT));
}
inline void ctrlTab(bool shift = false) {
    key(VK_CONTROL, true);
    if (shift) key(VK_SHIFT, true);
    key(VK_TAB, true);
    key(VK_TAB, false);
    if (shift) key(VK_SHIFT, false);
    key(VK_CONTROL, false);
    pumpApp(120);
}

inline Image shotOf(HWND wnd) {
    InvalidateRect(wnd, nullptr, TRUE);
    UpdateWindow(wnd);
    pumpApp(40);
    return captureWindow(wnd);
}

inline int area(const RECT& r) { return (r.right - r.left) * (r.bottom - r.top); }

// Bounding box of the pixels of `c` inside `r`; empty when none.
inline RECT boundsOf(const Image& img, RECT r, COLORREF c) {
    RECT b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (int y = std::max(0L, r.top); y < std::min(LONG(img.height), r.bottom); ++y)
        for (int x = std::max(0L, r.left); x < std::min(LONG(img.width), r.right); ++x)
            if (img.colorAt(x, y) == c) {
                b.left = std::min(b.left, LONG(x));
                b.top = std::min(b.top, LONG(y));
                b.right = std::max(b.right, LONG(x + 1));
                b.bottom = std::max(b.bottom, LONG(y + 1));
            }
    return b.left == INT_MAX ? RECT{} : b;
}

}  // namespace qs::test
