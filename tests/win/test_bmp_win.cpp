// The portable BMP reader against the platform's own decoding of the same
// files: GDI takes the file's header, palette and bits, and GetDIBits reads
// the result back.
#include <gtest/gtest.h>

#include "BmpWin.h"
#include "WindowCapture.h"
#include "test_bmp_files.h"

using namespace qs;
using testbmp::BmpFormat;

namespace {

std::vector<std::pair<std::string, BmpFormat>> formats() {
    std::vector<std::pair<std::string, BmpFormat>> v;
    for (uint32_t hs : {12u, 40u, 108u, 124u})
        for (int bpp : {1, 4, 8, 24}) {
            BmpFormat s;
            s.bpp = bpp;
            s.headerSize = hs;
            v.push_back({"header " + std::to_string(hs) + " bpp " + std::to_string(bpp), s});
        }
    for (int bpp : {16, 32}) {
        BmpFormat s;
        s.bpp = bpp;
        v.push_back({"rgb " + std::to_string(bpp), s});
        s.topDown = true;
        v.push_back({"top-down " + std::to_string(bpp), s});
    }
    BmpFormat f16;
    f16.bpp = 16;
    f16.compression = 3;
    f16.masks[0] = 0xF800, f16.masks[1] = 0x07E0, f16.masks[2] = 0x001F;
    v.push_back({"565", f16});
    BmpFormat f32;
    f32.bpp = 32;
    f32.compression = 3;
    f32.masks[0] = 0xFF0000, f32.masks[1] = 0xFF00, f32.masks[2] = 0xFF;
    v.push_back({"32 fields", f32});
    BmpFormat td8;
    td8.bpp = 8;
    td8.topDown = true;
    v.push_back({"top-down 8", td8});
    BmpFormat rle8;
    rle8.bpp = 8;
    rle8.compression = 1;
    v.push_back({"rle8", rle8});
    BmpFormat rle4;
    rle4.bpp = 4;
    rle4.compression = 2;
    v.push_back({"rle4", rle4});
    return v;
}

void expectSamePixels(const PixelImage& gdi, const PixelImage& mine, const std::string& what) {
    ASSERT_FALSE(gdi.empty()) << what << ": GDI refused the file";
    ASSERT_EQ(gdi.width, mine.width) << what;
    ASSERT_EQ(gdi.height, mine.height) << what;
    for (int y = 0; y < gdi.height; ++y)
        for (int x = 0; x < gdi.width; ++x)
            ASSERT_EQ(mine.at(x, y), gdi.at(x, y)) << what << " at " << x << "," << y;
}

}  // namespace

TEST(BmpWin, EveryDepthDecodesLikeGdi) {
    // The first use of the screen DC makes objects the system keeps: warm up.
    decodeBmpWithGdi(testbmp::encode(testbmp::sample(1, 1, formats().front().second, 1), formats().front().second));
    const DWORD gdiBefore = test::gdiObjectCount();
    for (const auto& [name, fmt] : formats()) {
        for (auto [w, h] : {std::pair{1, 1}, {13, 7}, {33, 6}}) {
            const std::string what = name + " " + std::to_string(w) + "x" + std::to_string(h);
            // Colours that no widening rule can make up: GDI is the judge.
            const auto file = testbmp::encode(testbmp::sample(w, h, fmt, uint32_t(w + h)), fmt);
            const BmpResult mine = ReadBmp(file);
            ASSERT_TRUE(mine) << what << ": " << bmpErrorText(mine.error);
            expectSamePixels(decodeBmpWithGdi(file), mine.image, what);
        }
    }
    EXPECT_EQ(test::gdiObjectCount(), gdiBefore);
}

TEST(BmpWin, SixteenBitFieldsWidenLikeGdi) {
    // Every 5- and 6-bit level once: the widening of short channels must
    // match the platform's, not only the levels a sample happens to use.
    PixelImage levels(64, 1);
    for (int i = 0; i < 64; ++i)
        levels.at(i, 0) = (uint32_t(i * 4) << 8) | (uint32_t((i % 32) * 8) << 16) | uint32_t(255 - (i % 32) * 8);
    BmpFormat f16;
    f16.bpp = 16;
    f16.compression = 3;
    f16.masks[0] = 0xF800, f16.masks[1] = 0x07E0, f16.masks[2] = 0x001F;
    for (const BmpFormat& s : {BmpFormat{16}, f16}) {
        const auto file = testbmp::encode(levels, s);
        const BmpResult mine = ReadBmp(file);
        ASSERT_TRUE(mine);
        expectSamePixels(decodeBmpWithGdi(file), mine.image, s.compression ? "565" : "555");
    }
}

TEST(BmpWin, RleSkippedPixelsAndWrittenFilesAgreeWithGdi) {
    BmpFormat s;
    s.bpp = 8;
    s.compression = 1;
    auto file = testbmp::encode(PixelImage(4, 3, 0x0000FF), s);
    const size_t off = file[10] | (file[11] << 8);
    file.resize(off);
    // Run of 2, delta (1, 1), run of 6 clipped at the edge, end of bitmap.
    for (uint8_t b : {2, 0, 0, 2, 1, 1, 6, 0, 0, 1}) file.push_back(b);
    testbmp::set32(file, 2, uint32_t(file.size()));
    testbmp::set32(file, 34, uint32_t(file.size() - off));
    const BmpResult mine = ReadBmp(file);
    ASSERT_TRUE(mine) << bmpErrorText(mine.error);
    expectSamePixels(decodeBmpWithGdi(file, 0), mine.image, "rle with delta");

    const PixelImage img = testbmp::sample(11, 5, BmpFormat{}, 99);
    PixelImage copy = img;
    const auto written = WriteBmp24(copy.view());
    expectSamePixels(decodeBmpWithGdi(written), img, "written 24-bit");
}
