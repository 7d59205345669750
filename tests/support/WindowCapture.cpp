#include "WindowCapture.h"

#include <cstdio>

namespace qs::test {

Image Image::crop(int x, int y, int w, int h) const {
    Image out;
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || x + w > width || y + h > height) return out;
    out.width = w;
    out.height = h;
    out.pixels.resize(size_t(w) * h);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col) out.pixels[size_t(row) * w + col] = at(x + col, y + row);
    return out;
}

static Image captureFrom(HDC src, int w, int h) {
    Image img;
    if (!src || w <= 0 || h <= 0) return img;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC mem = CreateCompatibleDC(src);
    HBITMAP dib = CreateDIBSection(src, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (mem && dib && bits) {
        HGDIOBJ old = SelectObject(mem, dib);
        if (BitBlt(mem, 0, 0, w, h, src, 0, 0, SRCCOPY)) {
            GdiFlush();
            img.width = w;
            img.height = h;
            img.pixels.resize(size_t(w) * h);
            const uint32_t* p = static_cast<const uint32_t*>(bits);
            for (size_t i = 0; i < img.pixels.size(); ++i) img.pixels[i] = p[i] & 0x00FFFFFF;
        }
        SelectObject(mem, old);
    }
    if (dib) DeleteObject(dib);
    if (mem) DeleteDC(mem);
    return img;
}

Image captureWindow(HWND wnd) {
    RECT r{};
    if (!GetWindowRect(wnd, &r)) return {};
    HDC dc = GetWindowDC(wnd);
    Image img = captureFrom(dc, r.right - r.left, r.bottom - r.top);
    if (dc) ReleaseDC(wnd, dc);
    return img;
}

Image captureClient(HWND wnd) {
    RECT r{};
    if (!GetClientRect(wnd, &r)) return {};
    HDC dc = GetDC(wnd);
    Image img = captureFrom(dc, r.right, r.bottom);
    if (dc) ReleaseDC(wnd, dc);
    return img;
}

size_t countDifferences(const Image& a, const Image& b, int tolerance) {
    if (a.width != b.width || a.height != b.height) return size_t(-1);
    size_t n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        uint32_t p = a.pixels[i], q = b.pixels[i];
        for (int s = 0; s < 24; s += 8) {
            int d = int((p >> s) & 0xFF) - int((q >> s) & 0xFF);
            if (d > tolerance || -d > tolerance) { ++n; break; }
        }
    }
    return n;
}

size_t countColour(const Image& img, RECT r, COLORREF colour) {
    size_t n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (x >= 0 && y >= 0 && x < img.width && y < img.height && img.colorAt(x, y) == colour) ++n;
    return n;
}

bool saveBmp(const Image& img, const std::wstring& path) {
    if (img.empty()) return false;
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return false;
    const int stride = (img.width * 3 + 3) & ~3;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(ih);
    fh.bfSize = fh.bfOffBits + DWORD(stride) * img.height;
    ih.biSize = sizeof(ih);
    ih.biWidth = img.width;
    ih.biHeight = img.height;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    bool ok = fwrite(&fh, sizeof fh, 1, f) == 1 && fwrite(&ih, sizeof ih, 1, f) == 1;
    std::vector<unsigned char> row(stride, 0);
    for (int y = img.height - 1; ok && y >= 0; --y) {
        for (int x = 0; x < img.width; ++x) {
            uint32_t p = img.at(x, y);
            row[x * 3 + 0] = p & 0xFF;
            row[x * 3 + 1] = (p >> 8) & 0xFF;
            row[x * 3 + 2] = (p >> 16) & 0xFF;
        }
        ok = fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return fclose(f) == 0 && ok;
}

void pumpMessages(DWORD ms) {
    DWORD end = GetTickCount() + ms;
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    } while (LONG(GetTickCount() - end) < 0);
}

// Wine 8 answers GetGuiResources with 0. There the live objects are counted
// by probing the handle tables: a GDI handle whose high word is 0 names the
// object at that index; USER objects are this process's menus and this
// thread's windows (other test processes share the window list).
DWORD gdiObjectCount() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
    DWORD n = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

static BOOL CALLBACK countWindow(HWND, LPARAM n) {
    ++*reinterpret_cast<DWORD*>(n);
    return TRUE;
}

DWORD userObjectCount() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return n;
    DWORD n = 0;
    for (ULONG_PTR i = 2; i < 0x10000; i += 2)
        if (IsMenu(reinterpret_cast<HMENU>(i))) ++n;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&n));
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) ++n;
    return n;
}

}  // namespace qs::test
