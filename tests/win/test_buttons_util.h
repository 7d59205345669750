#pragma once
// Shared by the button window tests: a shown form, the real pointer and
// keyboard, and pictures of solid colour blocks to find again in captures.
#include <windows.h>

#include <memory>

#include "Application.h"
#include "Forms.h"
#include "Graphics.h"
#include "WindowCapture.h"

namespace qs::test {

// Messages through the application's loop, so keys reach controls the way
// they do in a running program (dialog keys, key notifications).
inline void appPump(DWORD ms = 50) {
    DWORD end = GetTickCount() + ms;
    do {
        Application->ProcessMessages();
        Sleep(1);
    } while (LONG(GetTickCount() - end) < 0);
}

inline std::unique_ptr<TForm> shownForm(int w = 420, int h = 320) {
    auto f = std::make_unique<TForm>(nullptr);
    f->SetBorderStyle(bsSingle);
    f->SetBounds(60, 60, w, h);
    f->Show();
    SetForegroundWindow(f->Handle());
    appPump(60);
    return f;
}

// The pointer to a point of `wnd`'s client area.
inline void pointerTo(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    SetCursorPos(p.x, p.y);
    appPump(40);
}
inline void leftButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(INPUT));
    appPump(40);
}
inline void clickClient(HWND wnd, int x, int y) {
    pointerTo(wnd, x, y);
    leftButton(true);
    leftButton(false);
}
inline void pressKey(WORD vk) {
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
    appPump(60);
}

// A strip of `frames` solid blocks of w x h, block k (from 1) in colours[k-1];
// pixels equal to `hole` inside a block are left in that colour.
inline void solidStrip(TBitmap& b, int frames, int w, int h, const COLORREF* colours) {
    b.SetSize(frames * w, h);
    HDC dc = b.Canvas()->Handle();
    for (int k = 0; k < frames; ++k) {
        HBRUSH br = CreateSolidBrush(colours[k]);
        RECT r{k * w, 0, (k + 1) * w, h};
        FillRect(dc, &r, br);
        DeleteObject(br);
    }
    b.Dormant();
}

// The key colour of glyphKeyed's pictures.
inline constexpr COLORREF kGlyphKey = RGB(0, 255, 0);

// 16 x 16 pictures side by side: a key-coloured rim (transparent: it is the
// bottom-left pixel) around a 12 x 12 block of colours[k].
inline void glyphKeyed(TBitmap& b, int frames, const COLORREF* colours) {
    b.SetSize(16 * frames, 16);
    HDC dc = b.Canvas()->Handle();
    HBRUSH key = CreateSolidBrush(kGlyphKey);
    RECT all{0, 0, 16 * frames, 16};
    FillRect(dc, &all, key);
    DeleteObject(key);
    for (int k = 0; k < frames; ++k) {
        HBRUSH br = CreateSolidBrush(colours[k]);
        RECT r{16 * k + 2, 2, 16 * k + 14, 14};
        FillRect(dc, &r, br);
        DeleteObject(br);
    }
    b.Dormant();
}

// Bounding box of the pixels of `img` equal to `c` (empty when none).
inline RECT boxOf(const Image& img, COLORREF c) {
    RECT r{img.width, img.height, -1, -1};
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (img.colorAt(x, y) == c) {
                r.left = std::min<LONG>(r.left, x);
                r.top = std::min<LONG>(r.top, y);
                r.right = std::max<LONG>(r.right, x + 1);
                r.bottom = std::max<LONG>(r.bottom, y + 1);
            }
    if (r.right < 0) return RECT{0, 0, 0, 0};
    return r;
}

}  // namespace qs::test
