#pragma once
// Owners for Win32 handles. Every GDI object, DC and menu the toolkit makes has
// exactly one owner: a unique_handle that frees it, or a scope object that
// gives it back. No implicit conversions: a raw handle leaves an owner only
// through get() (borrowed) or release() (ownership passes to the caller).
#include <windows.h>

#include <utility>

namespace qs {

template <class T, class Deleter>
class unique_handle {
public:
    unique_handle() noexcept = default;
    explicit unique_handle(T h) noexcept : h_(h) {}
    ~unique_handle() { reset(); }

    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& o) noexcept : h_(o.release()) {}
    unique_handle& operator=(unique_handle&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }

    T get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return h_ != T{}; }
    [[nodiscard]] T release() noexcept { return std::exchange(h_, T{}); }
    void reset(T h = T{}) noexcept {
        T old = std::exchange(h_, h);
        if (old != T{} && old != h) Deleter{}(old);
    }
    void swap(unique_handle& o) noexcept { std::swap(h_, o.h_); }

private:
    T h_ = T{};
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const noexcept { ::DeleteObject(h); }
};
struct DCDeleter {
    void operator()(HDC h) const noexcept { ::DeleteDC(h); }
};
struct IconDeleter {
    void operator()(HICON h) const noexcept { ::DestroyIcon(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const noexcept { ::DestroyMenu(h); }
};
struct WindowDeleter {
    void operator()(HWND h) const noexcept { ::DestroyWindow(h); }
};

using UniqueBitmap = unique_handle<HBITMAP, GdiObjectDeleter>;
using UniqueRegion = unique_handle<HRGN, GdiObjectDeleter>;
using UniqueBrush = unique_handle<HBRUSH, GdiObjectDeleter>;
using UniqueFont = unique_handle<HFONT, GdiObjectDeleter>;
using UniquePen = unique_handle<HPEN, GdiObjectDeleter>;
using UniqueDC = unique_handle<HDC, DCDeleter>;  // for CreateCompatibleDC / CreateDC, never GetDC
using UniqueIcon = unique_handle<HICON, IconDeleter>;
using UniqueMenu = unique_handle<HMENU, MenuDeleter>;
using UniqueWindow = unique_handle<HWND, WindowDeleter>;

// Selects an object into a DC and puts the previous one back at scope end, so
// the object can be deleted afterwards (a GDI object still selected somewhere
// cannot be).
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(dc && obj ? ::SelectObject(dc, obj) : nullptr) {}
    ~SelectObjectScope() {
        if (dc_ && old_) ::SelectObject(dc_, old_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    HGDIOBJ previous() const noexcept { return old_; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

// GetWindowDC / ReleaseDC: the whole window, frame included.
class WindowDCScope {
public:
    explicit WindowDCScope(HWND wnd) noexcept : wnd_(wnd), dc_(::GetWindowDC(wnd)) {}
    ~WindowDCScope() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    WindowDCScope(const WindowDCScope&) = delete;
    WindowDCScope& operator=(const WindowDCScope&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND wnd_;
    HDC dc_;
};

// GetDC / ReleaseDC: the client area (or the screen for a null window).
class ClientDCScope {
public:
    explicit ClientDCScope(HWND wnd) noexcept : wnd_(wnd), dc_(::GetDC(wnd)) {}
    ~ClientDCScope() {
        if (dc_) ::ReleaseDC(wnd_, dc_);
    }
    ClientDCScope(const ClientDCScope&) = delete;
    ClientDCScope& operator=(const ClientDCScope&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND wnd_;
    HDC dc_;
};

// BeginPaint / EndPaint for WM_PAINT handlers.
class PaintScope {
public:
    explicit PaintScope(HWND wnd) noexcept : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
    ~PaintScope() { ::EndPaint(wnd_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return ps_; }
    const RECT& rect() const noexcept { return ps_.rcPaint; }

private:
    HWND wnd_;
    HDC dc_ = nullptr;
    PAINTSTRUCT ps_{};
};

// SaveDC / RestoreDC: clipping, mapping and selections come back as they were.
class SaveDCScope {
public:
    explicit SaveDCScope(HDC dc) noexcept : dc_(dc), saved_(dc ? ::SaveDC(dc) : 0) {}
    ~SaveDCScope() {
        if (saved_) ::RestoreDC(dc_, saved_);
    }
    SaveDCScope(const SaveDCScope&) = delete;
    SaveDCScope& operator=(const SaveDCScope&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace qs
