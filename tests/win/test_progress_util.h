#pragma once
// Shared by the progress, track-bar and media-player window tests: a shown
// form to put controls on and the real mouse.
#include <windows.h>

#include <memory>

#include "Application.h"
#include "Forms.h"
#include "WindowCapture.h"

namespace qs::test {

// Common controls and the class registry, once, on first use.
inline void initToolkit() {
    static const bool done = (Application->Initialize(), true);
    (void)done;
}

inline std::unique_ptr<TForm> makeShownForm(int w = 420, int h = 300) {
    initToolkit();
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(60, 60, w, h);
    form->Show();
    SetForegroundWindow(form->Handle());
    pumpMessages(30);
    return form;
}

// Moves the real pointer to a client point of `wnd` and presses or releases
// the left button there.
inline void mouseTo(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    SetCursorPos(p.x, p.y);
    pumpMessages(20);
}
inline void mouseButton(bool down) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &in, sizeof(INPUT));
    pumpMessages(30);
}
inline void clickAt(HWND wnd, int x, int y) {
    mouseTo(wnd, x, y);
    mouseButton(true);
    mouseButton(false);
}

}  // namespace qs::test
