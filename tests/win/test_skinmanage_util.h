#pragma once
// Shared by the non-client message, skin manager and activation tests: the
// real mouse and keyboard, bounded waits, and reading a caption button's
// frame back from the screen.
#include <windows.h>

#include <functional>

#include "SkinRecords.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"
#include "test_winskinform_util.h"

namespace qs::test {

inline void cursorTo(POINT screen) {
    ::SetCursorPos(screen.x, screen.y);
    pumpMessages(40);
}
inline void mouseEvent(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    ::SendInput(1, &in, sizeof(INPUT));
    pumpMessages(40);
}
inline void leftDown() { mouseEvent(MOUSEEVENTF_LEFTDOWN); }
inline void leftUp() { mouseEvent(MOUSEEVENTF_LEFTUP); }
inline void clickAt(POINT screen) {
    cursorTo(screen);
    leftDown();
    leftUp();
}
// Two clicks well inside the double-click time.
inline void doubleClickAt(POINT screen) {
    cursorTo(screen);
    INPUT in[4]{};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    ::SendInput(4, in, sizeof(INPUT));
    pumpMessages(80);
}
inline void key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &in, sizeof(INPUT));
}

// Pumps messages until the condition holds or `ms` pass.
inline bool waitFor(const std::function<bool()>& cond, DWORD ms = 2000) {
    const DWORD start = ::GetTickCount();
    while (!cond()) {
        if (::GetTickCount() - start > ms) return false;
        pumpMessages(20);
    }
    return true;
}

// A point of a window (window coordinates, frame included) on the screen.
inline POINT screenPoint(HWND w, int x, int y) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return POINT{r.left + x, r.top + y};
}
inline POINT centreOf(HWND w, const RECT& r) { return screenPoint(w, (r.left + r.right) / 2, (r.top + r.bottom) / 2); }

// How many non-magenta pixels of frame `frame` of the button's strip show
// on the window where the button is, and how many there are.
struct FrameMatch {
    int matching = 0;
    int total = 0;
    bool all() const { return total > 0 && matching == total; }
};
inline FrameMatch matchButtonFrame(HWND w, TWinSysButton& b, int frame) {
    FrameMatch m;
    const Image img = captureWindow(w);
    TBitmap& bmp = b.FData->Bitmap;
    const int fw = bmp.Width() / std::max(b.FData->Frame, 1), fh = bmp.Height();
    for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x) {
            const uint32_t src = bmp.View().at((frame - 1) * fw + x, y) & 0xFFFFFF;
            if (src == 0xFF00FF) continue;
            const int wx = b.FBoundsRect.left + x, wy = b.FBoundsRect.top + y;
            if (wx >= img.width || wy >= img.height) continue;
            ++m.total;
            if (img.at(wx, wy) == src) ++m.matching;
        }
    return m;
}

// Frames that differ, so a look can be told from another.
inline bool framesDiffer(TWinSysButton& b, int f1, int f2) {
    TBitmap& bmp = b.FData->Bitmap;
    const int fw = bmp.Width() / std::max(b.FData->Frame, 1);
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < fw; ++x)
            if (bmp.View().at((f1 - 1) * fw + x, y) != bmp.View().at((f2 - 1) * fw + x, y)) return true;
    return false;
}

// The first visible menu window ("#32768") on the screen, or null.
inline BOOL CALLBACK findMenuProc(HWND w, LPARAM p) {
    char cls[16] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (std::string(cls) == "#32768" && ::IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
    }
    return TRUE;
}
inline HWND findMenuWindow() {
    HWND found = nullptr;
    ::EnumWindows(&findMenuProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace qs::test
