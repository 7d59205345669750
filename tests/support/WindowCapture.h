#pragma once
// Reads a window's pixels, frame included, for window tests.
// PrintWindow/WM_PRINT do not capture the non-client area under Wine, so the
// capture copies from the window DC into a 32-bit top-down DIB section.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace qs::test {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down rows

    bool empty() const { return width == 0 || height == 0; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // Colour as a COLORREF (0x00BBGGRR) so tests can compare with RGB(...).
    COLORREF colorAt(int x, int y) const {
        uint32_t p = at(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    Image crop(int x, int y, int w, int h) const;
};

// The whole window (GetWindowRect size) from GetWindowDC.
Image captureWindow(HWND wnd);
// Only the client area, from GetDC.
Image captureClient(HWND wnd);

// Number of pixels whose channels differ by more than `tolerance`.
size_t countDifferences(const Image& a, const Image& b, int tolerance = 0);
// Pixels of `img` inside the rectangle equal to `colour` (COLORREF).
size_t countColour(const Image& img, RECT r, COLORREF colour);

// Writes a 24-bit BMP a human can open; returns false on I/O failure.
bool saveBmp(const Image& img, const std::wstring& path);

// Pumps this thread's messages for about `ms` milliseconds so paints and posted
// messages arrive before a capture.
void pumpMessages(DWORD ms = 50);

// GDI and USER objects of this process, for leak tests (GetGuiResources,
// or a count of live handles where that answers 0, as under Wine).
DWORD gdiObjectCount();
DWORD userObjectCount();

}  // namespace qs::test
