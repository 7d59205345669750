#include "BmpWin.h"

#include <cstring>
#include <vector>

namespace qs {

PixelImage decodeBmpWithGdi(std::span<const uint8_t> file, uint32_t background) {
    // Our own reader checks the headers first, so GDI is only handed
    // well-formed tables; the pixels themselves are decoded by GDI alone.
    const BmpResult mine = ReadBmp(file);
    if (!mine) return {};
    const int w = mine.info.width, h = mine.info.height;
    uint32_t offBits;
    std::memcpy(&offBits, file.data() + 10, 4);
    if (offBits <= 14 || offBits >= file.size()) return {};
    // The header and colour table, copied so that GDI reads them aligned.
    std::vector<uint32_t> table((offBits - 14 + 3) / 4 + 1, 0);
    std::memcpy(table.data(), file.data() + 14, offBits - 14);
    const auto* bmi = reinterpret_cast<const BITMAPINFO*>(table.data());

    BITMAPINFO dst{};
    dst.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    dst.bmiHeader.biWidth = w;
    dst.bmiHeader.biHeight = -h;
    dst.bmiHeader.biPlanes = 1;
    dst.bmiHeader.biBitCount = 32;
    dst.bmiHeader.biCompression = BI_RGB;

    HDC dc = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(dc, &dst, DIB_RGB_COLORS, &bits, nullptr, 0);
    PixelImage out;
    if (dib && bits) {
        GdiFlush();
        auto* px = static_cast<uint32_t*>(bits);
        for (size_t i = 0; i < size_t(w) * size_t(h); ++i) px[i] = background;
        const int lines = SetDIBits(dc, dib, 0, UINT(h), file.data() + offBits, bmi, DIB_RGB_COLORS);
        if (lines > 0) {
            PixelImage img(w, h);
            if (GetDIBits(dc, dib, 0, UINT(h), img.pixels.data(), &dst, DIB_RGB_COLORS) == h) {
                for (uint32_t& p : img.pixels) p &= 0xFFFFFF;
                out = std::move(img);
            }
        }
    }
    if (dib) DeleteObject(dib);
    ReleaseDC(nullptr, dc);
    return out;
}

}  // namespace qs
