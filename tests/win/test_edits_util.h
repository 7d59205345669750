#pragma once
// Shared by the edit-family window tests: the real mouse, a scripted
// sequence that keeps running while the system's modal tracking loop owns
// the thread, screen captures and a skin from the source tree.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "Application.h"
#include "Forms.h"
#include "Graphics.h"
#include "WindowCapture.h"

namespace qs::test {

inline void sendMouse(DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(INPUT));
}

// Moves the real cursor to a screen point and lets the move arrive.
inline void mouseToScreen(POINT p, DWORD settleMs = 30) {
    SetCursorPos(p.x, p.y);
    sendMouse(MOUSEEVENTF_MOVE);
    pumpMessages(settleMs);
}

inline POINT clientPoint(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    return p;
}

// A new control of class T, owned by and shown on `parent`.
template <class T>
T* placeOn(TWinControl* parent, int x, int y, int w, int h) {
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    return c;
}

// Press and release at a screen point, both queued before anything runs, so
// a modal loop started by the press sees the release and ends.
inline void clickScreen(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    pumpMessages(120);
}

// Steps run from a thread timer, one after another at their offsets (ms from
// the start). The press that starts a modal loop is the first step; later
// steps run inside that loop (it dispatches timer messages).
class MouseScript {
public:
    struct Step {
        DWORD at;
        std::function<void()> run;
    };
    explicit MouseScript(std::vector<Step> steps) : steps_(std::move(steps)) {}

    // Runs every step; false when they did not all run within `timeoutMs`.
    bool run(DWORD timeoutMs = 5000) {
        current() = this;
        start_ = GetTickCount();
        next_ = 0;
        UINT_PTR id = SetTimer(nullptr, 0, 10, &MouseScript::tick);
        DWORD deadline = GetTickCount() + timeoutMs;
        while (next_ < steps_.size() && GetTickCount() < deadline) pumpMessages(10);
        KillTimer(nullptr, id);
        current() = nullptr;
        // Whatever happens, no button stays down for the next test.
        if (next_ < steps_.size()) sendMouse(MOUSEEVENTF_LEFTUP);
        pumpMessages(80);
        return next_ >= steps_.size();
    }

private:
    static MouseScript*& current() {
        static MouseScript* s = nullptr;
        return s;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        MouseScript* s = current();
        if (!s) return;
        // A step may start a modal loop that runs further ticks inside it.
        while (s->next_ < s->steps_.size() && GetTickCount() - s->start_ >= s->steps_[s->next_].at) {
            size_t i = s->next_++;
            s->steps_[i].run();
        }
    }
    std::vector<Step> steps_;
    DWORD start_ = 0;
    size_t next_ = 0;
};

// The screen pixels of a window's rectangle (children and covers included).
inline Image captureScreenRect(const RECT& r) {
    Image all = captureWindow(GetDesktopWindow());
    return all.crop(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

inline RECT windowRect(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r;
}

inline bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The pixels of a bitmap composed by the test, to compare with a capture.
inline Image captureFromBitmap(TBitmap& b) {
    Image img;
    img.width = b.Width();
    img.height = b.Height();
    img.pixels.resize(size_t(img.width) * size_t(img.height));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = img.width;
    bi.bmiHeader.biHeight = -img.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = GetDC(nullptr);
    GetDIBits(dc, b.Handle(), 0, UINT(img.height), img.pixels.data(), &bi, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    for (auto& p : img.pixels) p &= 0xFFFFFF;
    return img;
}

// With QS_SAVE_CAPTURES set, writes a capture to the working folder for a human to look at.
inline void keepCapture(const Image& img, const wchar_t* name) {
    if (GetEnvironmentVariableW(L"QS_SAVE_CAPTURES", nullptr, 0) > 0) saveBmp(img, name);
}

// A shown, activated form at a fixed place, for tests that use the real mouse.
inline std::unique_ptr<TForm> makeTestForm(int w = 520, int h = 380) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(30, 30, w, h);
    form->Show();
    SetForegroundWindow(form->Handle());
    pumpMessages(60);
    return form;
}

}  // namespace qs::test
