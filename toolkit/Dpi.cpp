#include "Dpi.h"

#include "Handles.h"

namespace qs {

namespace {

// Looked up once: none of these exist before Windows 10.
struct DpiApi {
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    UINT(WINAPI* forSystem)() = nullptr;
    HANDLE(WINAPI* threadContext)() = nullptr;
    int(WINAPI* awareness)(HANDLE) = nullptr;
    BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;

    DpiApi() {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        if (!user) return;
        load(forWindow, user, "GetDpiForWindow");
        load(forSystem, user, "GetDpiForSystem");
        load(threadContext, user, "GetThreadDpiAwarenessContext");
        load(awareness, user, "GetAwarenessFromDpiAwarenessContext");
        load(adjustForDpi, user, "AdjustWindowRectExForDpi");
    }
    template <class F>
    static void load(F& f, HMODULE m, const char* name) {
        f = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
    }
};

const DpiApi& api() {
    static const DpiApi a;
    return a;
}

int screenDpi() {
    ClientDCScope dc(nullptr);
    int v = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
    return v > 0 ? v : 96;
}

}  // namespace

int WindowDpi(HWND wnd) {
    if (api().forWindow && wnd) {
        if (UINT v = api().forWindow(wnd)) return int(v);
    }
    return screenDpi();
}

int NewWindowDpi() {
    const DpiApi& a = api();
    // A program the system stretches (not aware) is told 96 throughout.
    if (a.threadContext && a.awareness && a.awareness(a.threadContext()) == 0) return 96;
    if (a.forSystem) {
        if (UINT v = a.forSystem()) return int(v);
    }
    return screenDpi();
}

RECT WindowFrameAt(DWORD style, DWORD exStyle, bool menu, int dpi) {
    RECT r{0, 0, 0, 0};
    if (!api().adjustForDpi || !api().adjustForDpi(&r, style, menu, exStyle, UINT(dpi)))
        AdjustWindowRectEx(&r, style, menu, exStyle);
    return r;
}

}  // namespace qs
