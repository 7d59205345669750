#include "ProcessPalette.h"

#include <atomic>
#include <map>

#include "InlineHook.h"

namespace qs::palette {

namespace {

using GetSysColorFn = DWORD(WINAPI*)(int);
using GetSysColorBrushFn = HBRUSH(WINAPI*)(int);
using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);
using DefWindowProcFn = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

GetSysColorFn gSysColor = nullptr;
GetSysColorBrushFn gSysColorBrush = nullptr;
DeleteObjectFn gDeleteObject = nullptr;
DefWindowProcFn gDefWindowProcA = nullptr, gDefWindowProcW = nullptr;
bool gTried = false, gHooked = false;

// Read by any thread at any time, written by Apply and Withdraw: one word
// per entry, so a reader sees either the old or the new answer of each.
constexpr uint32_t kCovered = 0x80000000u;
std::atomic<uint32_t> gColour[kColours];
std::atomic<HBRUSH> gBrush[kColours];

// Every brush ever handed out, by colour; never deleted, so a handle a
// program kept stays valid after a skin change and after unskinning.
constexpr int kMaxBrushes = 256;
std::atomic<HBRUSH> gOwned[kMaxBrushes];
std::atomic<int> gOwnedCount{0};
std::map<COLORREF, HBRUSH>* gByColour = nullptr;

bool owned(HGDIOBJ object) {
    const int n = gOwnedCount.load(std::memory_order_acquire);
    for (int i = 0; i < n; ++i)
        if (gOwned[i].load(std::memory_order_relaxed) == object) return true;
    return false;
}

HBRUSH brushOf(COLORREF colour) {
    if (!gByColour) gByColour = new std::map<COLORREF, HBRUSH>;
    if (auto it = gByColour->find(colour); it != gByColour->end()) return it->second;
    const int n = gOwnedCount.load();
    if (n >= kMaxBrushes) return nullptr;
    HBRUSH b = ::CreateSolidBrush(colour);
    if (!b) return nullptr;
    gOwned[n].store(b, std::memory_order_relaxed);
    gOwnedCount.store(n + 1, std::memory_order_release);
    (*gByColour)[colour] = b;
    return b;
}

DWORD WINAPI paletteSysColor(int index) {
    if (index >= 0 && index < kColours) {
        const uint32_t c = gColour[index].load(std::memory_order_acquire);
        if (c & kCovered) return c & 0xFFFFFF;
    }
    return gSysColor(index);
}

HBRUSH WINAPI paletteSysColorBrush(int index) {
    if (index >= 0 && index < kColours && (gColour[index].load(std::memory_order_acquire) & kCovered))
        if (HBRUSH b = gBrush[index].load(std::memory_order_acquire)) return b;
    return gSysColorBrush(index);
}

// As the system does with its own colour brushes: deleting one succeeds
// and changes nothing.
BOOL WINAPI paletteDeleteObject(HGDIOBJ object) {
    if (object && owned(object)) return TRUE;
    return gDeleteObject(object);
}

// The colours a control gets from a parent that leaves WM_CTLCOLOR* to the
// default procedure: the system answers them from its own table, without
// asking GetSysColor, so they are answered here while the palette is on.
// Scroll bars keep the system's answer; they are drawn by the system anyway.
bool defaultControlColour(UINT msg, WPARAM wParam, LRESULT* result) {
    if (msg < WM_CTLCOLORMSGBOX || msg > WM_CTLCOLORSTATIC || msg == WM_CTLCOLORSCROLLBAR) return false;
    const bool content = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
    const int back = content ? COLOR_WINDOW : COLOR_BTNFACE;
    const uint32_t text = gColour[COLOR_WINDOWTEXT].load(std::memory_order_acquire);
    const uint32_t fill = gColour[back].load(std::memory_order_acquire);
    HBRUSH brush = gBrush[back].load(std::memory_order_acquire);
    if (!(text & kCovered) || !(fill & kCovered) || !brush) return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, text & 0xFFFFFF);
    ::SetBkColor(dc, fill & 0xFFFFFF);
    *result = reinterpret_cast<LRESULT>(brush);
    return true;
}

LRESULT WINAPI paletteDefWindowProcA(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = 0;
    if (defaultControlColour(msg, wParam, &r)) return r;
    return gDefWindowProcA(w, msg, wParam, lParam);
}

LRESULT WINAPI paletteDefWindowProcW(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT r = 0;
    if (defaultControlColour(msg, wParam, &r)) return r;
    return gDefWindowProcW(w, msg, wParam, lParam);
}

bool install() {
    if (gTried) return gHooked;
    gTried = true;
    HMODULE user = ::GetModuleHandleW(L"user32.dll");
    HMODULE gdi = ::GetModuleHandleW(L"gdi32.dll");
    void* sysColor = user ? reinterpret_cast<void*>(::GetProcAddress(user, "GetSysColor")) : nullptr;
    void* sysBrush = user ? reinterpret_cast<void*>(::GetProcAddress(user, "GetSysColorBrush")) : nullptr;
    void* deleteObject = gdi ? reinterpret_cast<void*>(::GetProcAddress(gdi, "DeleteObject")) : nullptr;
    if (!sysColor || !sysBrush) return false;
    // The library with the replacements must outlive the hooks.
    HMODULE pinned = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                         reinterpret_cast<LPCWSTR>(&paletteSysColor), &pinned);
    // The brushes first: a colour answered from the table with the system's
    // brush would be the lesser harm, but the table is empty until Apply.
    if (!hook::hookFunction(sysColor, reinterpret_cast<void*>(&paletteSysColor), reinterpret_cast<void**>(&gSysColor)))
        return false;
    if (!hook::hookFunction(sysBrush, reinterpret_cast<void*>(&paletteSysColorBrush),
                            reinterpret_cast<void**>(&gSysColorBrush))) {
        // GetSysColor is hooked for good; with an empty table it answers as before.
        return false;
    }
    if (deleteObject)
        hook::hookFunction(deleteObject, reinterpret_cast<void*>(&paletteDeleteObject),
                           reinterpret_cast<void**>(&gDeleteObject));
    if (void* defA = reinterpret_cast<void*>(::GetProcAddress(user, "DefWindowProcA")))
        hook::hookFunction(defA, reinterpret_cast<void*>(&paletteDefWindowProcA),
                           reinterpret_cast<void**>(&gDefWindowProcA));
    if (void* defW = reinterpret_cast<void*>(::GetProcAddress(user, "DefWindowProcW")))
        hook::hookFunction(defW, reinterpret_cast<void*>(&paletteDefWindowProcW),
                           reinterpret_cast<void**>(&gDefWindowProcW));
    gHooked = true;
    return true;
}

BOOL CALLBACK tellChild(HWND w, LPARAM) {
    DWORD pid = 0;
    const DWORD thread = ::GetWindowThreadProcessId(w, &pid);
    if (pid != ::GetCurrentProcessId()) return TRUE;
    // Never waits on another thread's window.
    if (thread == ::GetCurrentThreadId())
        ::SendMessageW(w, WM_SYSCOLORCHANGE, 0, 0);
    else
        ::SendNotifyMessageW(w, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

BOOL CALLBACK tellWindow(HWND w, LPARAM) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != ::GetCurrentProcessId()) return TRUE;
    tellChild(w, 0);
    ::EnumChildWindows(w, &tellChild, 0);
    ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return TRUE;
}

void tellWindows() { ::EnumWindows(&tellWindow, 0); }

}  // namespace

bool Apply(const TPaletteTable& table) {
    if (!install()) return false;
    for (int i = 0; i < kColours; ++i) {
        HBRUSH b = table.covered[i] ? brushOf(table.colour[i] & 0xFFFFFF) : nullptr;
        // A colour without its brush is not covered at all: the two answers
        // always agree.
        gBrush[i].store(b, std::memory_order_release);
        gColour[i].store(b ? (uint32_t(table.colour[i]) & 0xFFFFFF) | kCovered : 0, std::memory_order_release);
    }
    tellWindows();
    return true;
}

void Withdraw() {
    if (!IsOn()) return;
    for (int i = 0; i < kColours; ++i) gColour[i].store(0, std::memory_order_release);
    tellWindows();
}

bool IsOn() {
    for (int i = 0; i < kColours; ++i)
        if (gColour[i].load(std::memory_order_acquire) & kCovered) return true;
    return false;
}

COLORREF SystemColour(int index) { return gSysColor ? gSysColor(index) : ::GetSysColor(index); }

}  // namespace qs::palette
