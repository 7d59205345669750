#include "DesktopStyles.h"

namespace qs {

namespace {
template <class F>
void lookUp(F& f, HMODULE lib, const char* name) {
    f = lib ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(lib, name))) : nullptr;
}
}  // namespace

TDesktopApi& DesktopApi() {
    static TDesktopApi api = [] {
        TDesktopApi a;
        // Kept loaded for the process: the engine may call them to the end.
        HMODULE ux = ::LoadLibraryW(L"uxtheme.dll");
        lookUp(a.setWindowTheme, ux, "SetWindowTheme");
        lookUp(a.getWindowTheme, ux, "GetWindowTheme");
        HMODULE dwm = ::LoadLibraryW(L"dwmapi.dll");
        lookUp(a.dwmSetWindowAttribute, dwm, "DwmSetWindowAttribute");
        lookUp(a.dwmGetWindowAttribute, dwm, "DwmGetWindowAttribute");
        return a;
    }();
    return api;
}

bool TakeVisualStyles(HWND wnd) {
    const TDesktopApi& api = DesktopApi();
    if (!wnd || !api.setWindowTheme || !api.getWindowTheme || !api.getWindowTheme(wnd)) return false;
    // Empty lists: no class of any theme matches, so the window draws plain.
    return SUCCEEDED(api.setWindowTheme(wnd, L"", L""));
}

void MakeWithoutVisualStyles(HWND wnd) {
    const TDesktopApi& api = DesktopApi();
    if (wnd && api.setWindowTheme) api.setWindowTheme(wnd, L"", L"");
}

void GiveVisualStylesBack(HWND wnd) {
    const TDesktopApi& api = DesktopApi();
    if (wnd && api.setWindowTheme && ::IsWindow(wnd)) api.setWindowTheme(wnd, nullptr, nullptr);
}

namespace {
void take(HWND wnd, DWORD attribute, DWORD value, DWORD fallback, TDesktopFrame::Attribute& a) {
    const TDesktopApi& api = DesktopApi();
    DWORD old = fallback;
    // Most of these cannot be read back; those that can give what the
    // program had, the others their documented default.
    if (api.dwmGetWindowAttribute && FAILED(api.dwmGetWindowAttribute(wnd, attribute, &old, sizeof old))) old = fallback;
    a.taken = SUCCEEDED(api.dwmSetWindowAttribute(wnd, attribute, &value, sizeof value));
    a.old = old;
}
void giveBack(HWND wnd, DWORD attribute, TDesktopFrame::Attribute& a) {
    if (!a.taken) return;
    a.taken = false;
    DesktopApi().dwmSetWindowAttribute(wnd, attribute, &a.old, sizeof a.old);
}
}  // namespace

TDesktopFrame TakeDesktopFrame(HWND wnd) {
    TDesktopFrame f;
    if (!wnd || !DesktopApi().dwmSetWindowAttribute) return f;
    take(wnd, kDwmNcRenderingPolicy, kDwmNcRenderingDisabled, kDwmNcRenderingUseStyle, f.policy);
    // Known only to the systems that round corners and draw a border line;
    // elsewhere refused and left alone.
    take(wnd, kDwmWindowCornerPreference, kDwmCornerDoNotRound, kDwmCornerDefault, f.corner);
    take(wnd, kDwmBorderColour, kDwmColourNone, kDwmColourDefault, f.border);
    return f;
}

void GiveDesktopFrameBack(HWND wnd, TDesktopFrame& f) {
    if (!wnd || !::IsWindow(wnd) || !DesktopApi().dwmSetWindowAttribute) return;
    giveBack(wnd, kDwmBorderColour, f.border);
    giveBack(wnd, kDwmWindowCornerPreference, f.corner);
    giveBack(wnd, kDwmNcRenderingPolicy, f.policy);
}

}  // namespace qs
