#pragma once
// The system's visual styles and desktop composition, reached at run time:
// uxtheme and dwmapi are missing on older systems, and tests stand in for
// them (neither shows anything under Wine).
#include <windows.h>

namespace qs {

struct TDesktopApi {
    HRESULT(WINAPI* setWindowTheme)(HWND, LPCWSTR, LPCWSTR) = nullptr;
    HANDLE(WINAPI* getWindowTheme)(HWND) = nullptr;
    HRESULT(WINAPI* dwmSetWindowAttribute)(HWND, DWORD, LPCVOID, DWORD) = nullptr;
    HRESULT(WINAPI* dwmGetWindowAttribute)(HWND, DWORD, PVOID, DWORD) = nullptr;
};
// Looked up once; the entries of a missing library stay null. Replaceable.
TDesktopApi& DesktopApi();

// A window drawing itself in visual styles ignores colours set on it (tool
// tips, month calendars): while skinned it draws without them. True when it
// had them and was taken out; only then is GiveVisualStylesBack called.
bool TakeVisualStyles(HWND wnd);
void GiveVisualStylesBack(HWND wnd);
// The same for a window being made (it has opened no theme yet), which goes
// before the skin does: nothing to give back.
void MakeWithoutVisualStyles(HWND wnd);

// What desktop composition adds to a frame the engine paints: the system's
// frame and caption buttons, round corners and a border line. Each is turned
// off where the system accepts it, and given back as it was.
inline constexpr DWORD kDwmNcRenderingPolicy = 2;    // DWMWA_NCRENDERING_POLICY
inline constexpr DWORD kDwmWindowCornerPreference = 33;  // DWMWA_WINDOW_CORNER_PREFERENCE
inline constexpr DWORD kDwmBorderColour = 34;       // DWMWA_BORDER_COLOR
inline constexpr DWORD kDwmNcRenderingUseStyle = 0;  // DWMNCRP_USEWINDOWSTYLE
inline constexpr DWORD kDwmNcRenderingDisabled = 1;  // DWMNCRP_DISABLED
inline constexpr DWORD kDwmCornerDefault = 0;        // DWMWCP_DEFAULT
inline constexpr DWORD kDwmCornerDoNotRound = 1;     // DWMWCP_DONOTROUND
inline constexpr DWORD kDwmColourDefault = 0xFFFFFFFF;  // DWMWA_COLOR_DEFAULT
inline constexpr DWORD kDwmColourNone = 0xFFFFFFFE;     // DWMWA_COLOR_NONE

struct TDesktopFrame {
    struct Attribute {
        bool taken = false;
        DWORD old = 0;
    };
    Attribute policy, corner, border;
};
TDesktopFrame TakeDesktopFrame(HWND wnd);
void GiveDesktopFrameBack(HWND wnd, TDesktopFrame& frame);

}  // namespace qs
