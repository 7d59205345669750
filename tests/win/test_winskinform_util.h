#pragma once
// Window tests of the form skin: our committed skins loaded from the source
// tree, plain test windows, attaching and activating a form skin the way the
// skin manager will.
#include <windows.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "SkinData.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

namespace qs::test {

// A skin from resources/skins, loaded with its caption font and icon.
inline std::unique_ptr<TSkinData> loadCommittedSkin(const std::string& name) {
    std::string path = std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn";
    if (!path.empty() && path[0] == '/') path = "Z:" + path;  // the source tree through Wine's root drive
    std::ifstream in(path, std::ios::binary);
    auto sd = std::make_unique<TSkinData>(nullptr);
    if (!in) return sd;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sd->SetStoredSkin(std::move(bytes));
    sd->LoadSkin();
    sd->CreateCaptionFont();
    sd->BuildAppIcon();
    return sd;
}

inline const wchar_t* testWindowClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QsSkinFormTest";
        ::RegisterClassW(&wc);
        return L"QsSkinFormTest";
    }();
    return name;
}

// A shown top-level window whose client area is clientW x clientH.
inline HWND makeWindow(int clientW, int clientH, DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0,
                       const wchar_t* text = L"Skinned window", const wchar_t* cls = nullptr, HMENU menu = nullptr) {
    RECT r{0, 0, clientW, clientH};
    ::AdjustWindowRectEx(&r, style, menu != nullptr, exStyle);
    HWND w = ::CreateWindowExW(exStyle, cls ? cls : testWindowClass(), text, style, 40, 40, r.right - r.left,
                               r.bottom - r.top, nullptr, menu, ::GetModuleHandleW(nullptr), nullptr);
    if (!w) return nullptr;
    // A menu wraps under a narrow frame; make the client size exact.
    RECT c{};
    ::GetClientRect(w, &c);
    RECT wr{};
    ::GetWindowRect(w, &wr);
    ::SetWindowPos(w, nullptr, 0, 0, (wr.right - wr.left) + clientW - c.right, (wr.bottom - wr.top) + clientH - c.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::ShowWindow(w, SW_SHOW);
    ::SetForegroundWindow(w);
    pumpMessages(30);
    return w;
}

// Attaches a form skin to a bare window and runs the activation message.
inline std::unique_ptr<TWinSkinForm> skinWindow(HWND w, TSkinData& sd) {
    auto f = std::make_unique<TWinSkinForm>(nullptr);
    f->FHandle = w;
    char cls[64] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    f->FName = cls;
    f->AttachWindow(&sd);
    ::PostMessageW(w, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    pumpMessages(60);
    return f;
}

inline SIZE clientSize(HWND w) {
    RECT c{};
    ::GetClientRect(w, &c);
    return SIZE{c.right, c.bottom};
}
inline SIZE windowSize(HWND w) {
    RECT r{};
    ::GetWindowRect(w, &r);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

inline uint32_t px(TBitmap& b, int x, int y) { return b.View().at(x, y) & 0xFFFFFF; }

inline TWinSysButton* buttonWithAction(TWinSkinForm& f, int action, int visibility1 = -1) {
    for (auto& b : f.FButtons)
        if (b->FData && b->FData->Action == action && (visibility1 < 0 || b->FData->Visibility1 == visibility1))
            return b.get();
    return nullptr;
}

}  // namespace qs::test
