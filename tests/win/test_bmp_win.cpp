// The portable BMP reader against the platform's own decoding of the same
// files: GDI takes the file's header, palette and bits, and GetDIBits reads
// the result back.
#include <gtest/gtest.h>

#include "BmpWin.h"
#include "WindowCapture.h"
#include "test_bmp_expect.h"
#include "test_bmp_files.h"

using namespace qs;
using testbmp::BmpFormat;

namespace {

// GDI is the judge: an empty image means it refused the file.
void expectSameAsGdi(const PixelImage& gdi, const PixelImage& mine, const std::string& what) {
    ASSERT_FALSE(gdi.empty()) << what << ": GDI refused the file";
    testbmp::expectSamePixels(gdi, mine, what);
}

}  // namespace

TEST(BmpWin, EveryDepthDecodesLikeGdi) {
    // The first use of the screen DC makes objects the system keeps: warm up.
    const BmpFormat warmUp;
    decodeBmpWithGdi(testbmp::encode(testbmp::sample(1, 1, warmUp, 1), warmUp));
    const DWORD gdiBefore = test::gdiObjectCount();
    for (const auto& [name, fmt] : testbmp::everyFormat()) {
        for (auto [w, h] : {std::pair{1, 1}, {13, 7}, {33, 6}}) {
            const std::string what = name + " " + std::to_string(w) + "x" + std::to_string(h);
            // Colours that no widening rule can make up: GDI is the judge.
            const auto file = testbmp::encode(testbmp::sample(w, h, fmt, uint32_t(w + h)), fmt);
            const BmpResult mine = ReadBmp(file);
            ASSERT_TRUE(mine) << what << ": " << bmpErrorText(mine.error);
            expectSameAsGdi(decodeBmpWithGdi(file), mine.image, what);
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
    const BmpFormat f16{.bpp = 16, .compression = 3, .masks = {0xF800, 0x07E0, 0x001F}};
    for (const BmpFormat& s : {BmpFormat{16}, f16}) {
        const auto file = testbmp::encode(levels, s);
        const BmpResult mine = ReadBmp(file);
        ASSERT_TRUE(mine);
        expectSameAsGdi(decodeBmpWithGdi(file), mine.image, s.compression ? "565" : "555");
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
    expectSameAsGdi(decodeBmpWithGdi(file, 0), mine.image, "rle with delta");

    const PixelImage img = testbmp::sample(11, 5, BmpFormat{}, 99);
    PixelImage copy = img;
    const auto written = WriteBmp24(copy.view());
    expectSameAsGdi(decodeBmpWithGdi(written), img, "written 24-bit");
}
