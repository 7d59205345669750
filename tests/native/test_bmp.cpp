#include <gtest/gtest.h>

#include "Bmp.h"
#include "test_bmp_expect.h"
#include "test_bmp_files.h"

using namespace qs;
using testbmp::BmpFormat;
using testbmp::expectSamePixels;

TEST(Bmp, EveryFormatReadsBackThePixelsWritten) {
    // Odd widths exercise row padding and partial bytes of 1- and 4-bit rows.
    for (const auto& c : testbmp::everyFormat()) {
        for (auto [w, h] : {std::pair{1, 1}, {13, 7}, {33, 5}}) {
            const PixelImage want = testbmp::sample(w, h, c.fmt, uint32_t(w * 31 + c.fmt.bpp));
            const auto file = testbmp::encode(want, c.fmt);
            const std::string what = c.name + " bpp " + std::to_string(c.fmt.bpp) + " header " +
                                     std::to_string(c.fmt.headerSize) + " " + std::to_string(w) + "x" +
                                     std::to_string(h);
            const BmpResult r = ReadBmp(file);
            ASSERT_TRUE(r) << what << ": " << bmpErrorText(r.error);
            EXPECT_EQ(r.info.bitCount, c.fmt.bpp) << what;
            EXPECT_EQ(r.info.topDown, c.fmt.topDown) << what;
            expectSamePixels(want, r.image, what);
        }
    }
}

TEST(Bmp, Written24BitFileReadsBackAndHasTheStandardLayout) {
    BmpFormat s;
    const PixelImage img = testbmp::sample(5, 3, s, 7);
    PixelImage copy = img;
    const auto file = WriteBmp24(copy.view());
    // 5 pixels * 3 bytes = 15, padded to 16 per row.
    ASSERT_EQ(file.size(), 14u + 40u + 16u * 3u);
    EXPECT_EQ(file[28], 24);
    // Bottom-up: the first stored row is the image's last, blue byte first.
    const uint32_t bottomLeft = img.at(0, 2);
    EXPECT_EQ(file[54], uint8_t(bottomLeft));
    EXPECT_EQ(file[56], uint8_t(bottomLeft >> 16));
    const BmpResult r = ReadBmp(file);
    ASSERT_TRUE(r);
    expectSamePixels(img, r.image, "24-bit round trip");
}

TEST(Bmp, WriterHonoursTheViewStrideAndDropsTheFourthByte) {
    // A view into the middle of a larger image: stride wider than the row.
    PixelImage big(6, 4, 0xAA123456);
    for (int y = 1; y < 3; ++y)
        for (int x = 2; x < 5; ++x) big.at(x, y) = 0xFF000000u | uint32_t(x * 16 + y);
    PixelView v{3, 2, big.width * 4, reinterpret_cast<uint8_t*>(&big.at(2, 1))};
    const BmpResult r = ReadBmp(WriteBmp24(v));
    ASSERT_TRUE(r);
    ASSERT_EQ(r.image.width, 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(r.image.at(x, y), uint32_t((x + 2) * 16 + y + 1));
    EXPECT_TRUE(WriteBmp24(PixelView{}).empty());
}

TEST(Bmp, RleDeltaSkipsPixelsAndRunsAreClippedAtTheEdge) {
    BmpFormat s;
    s.bpp = 8;
    s.compression = 1;
    const PixelImage two(2, 2, 0x0000FF);  // only gives a file with a palette of red first
    auto file = testbmp::encode(two, s);
    // Replace the pixel data: 4-pixel run (2 fall off the edge), end of line,
    // delta (1, 0), one pixel, end of bitmap.
    const size_t off = file[10] | (file[11] << 8);
    file.resize(off);
    for (uint8_t b : {4, 0, 0, 0, 0, 2, 1, 0, 1, 0, 0, 1}) file.push_back(b);
    const BmpResult r = ReadBmp(file);
    ASSERT_TRUE(r) << bmpErrorText(r.error);
    EXPECT_EQ(r.image.at(0, 1), 0x0000FFu);  // bottom row filled by the run
    EXPECT_EQ(r.image.at(1, 1), 0x0000FFu);
    EXPECT_EQ(r.image.at(0, 0), 0u);  // skipped by the delta
    EXPECT_EQ(r.image.at(1, 0), 0x0000FFu);
}

TEST(Bmp, MalformedFilesReadAsNoImage) {
    BmpFormat s8;
    s8.bpp = 8;
    const auto good = testbmp::encode(testbmp::sample(9, 4, s8), s8);
    ASSERT_TRUE(ReadBmp(good));

    auto with = [&](size_t at, uint32_t v, const std::vector<uint8_t>& base) {
        auto f = base;
        testbmp::set32(f, at, v);
        return f;
    };
    struct Bad {
        const char* what;
        std::vector<uint8_t> file;
        BmpError error;
    };
    std::vector<Bad> bad = {
        {"empty", {}, BmpError::Truncated},
        {"no signature", with(0, 0x12345678, good), BmpError::NotBmp},
        {"unknown header size", with(14, 41, good), BmpError::BadHeader},
        {"zero width", with(18, 0, good), BmpError::BadHeader},
        {"negative width", with(18, uint32_t(-5), good), BmpError::BadHeader},
        {"height that cannot be negated", with(22, 0x80000000u, good), BmpError::TooLarge},
        {"overflowing dimensions", with(22, 0x7FFFFFFF, with(18, 0x7FFFFFFF, good)), BmpError::TooLarge},
        {"rows past the end", with(22, 40, good), BmpError::PixelsOutOfFile},
        {"palette past the end", with(46, 256, std::vector<uint8_t>(good.begin(), good.begin() + 54 + 100)),
         BmpError::PaletteOutOfFile},
        {"pixel offset past the end", with(10, uint32_t(good.size() + 1), good), BmpError::PixelsOutOfFile},
        {"pixel offset inside the header", with(10, 20, good), BmpError::PixelsOutOfFile},
        {"JPEG inside", with(30, 4, good), BmpError::Unsupported},
        {"RLE4 on 8 bits", with(30, 2, good), BmpError::Unsupported},
    };
    {
        auto f = good;
        f[28] = 2;  // two bits per pixel
        bad.push_back({"2 bpp", f, BmpError::Unsupported});
    }
    {
        BmpFormat rle;
        rle.bpp = 8;
        rle.compression = 1;
        auto f = testbmp::encode(testbmp::sample(9, 4, rle), rle);
        auto topDown = with(22, uint32_t(-4), f);
        bad.push_back({"top-down RLE", topDown, BmpError::BadHeader});
        f.resize(f.size() - 6);  // cut inside the last row
        bad.push_back({"RLE ending early", f, BmpError::BadRle});
    }
    for (const Bad& b : bad) {
        const BmpResult r = ReadBmp(b.file);
        EXPECT_EQ(r.error, b.error) << b.what << ": " << bmpErrorText(r.error);
        EXPECT_TRUE(r.image.empty()) << b.what;
    }
}

TEST(Bmp, EveryTruncationOfEveryFormatIsRejectedCleanly) {
    // Under the sanitizers this also proves no read past the given bytes.
    for (const auto& c : testbmp::everyFormat()) {
        const auto file = testbmp::encode(testbmp::sample(7, 3, c.fmt), c.fmt);
        for (size_t n = 0; n < file.size(); ++n) {
            std::vector<uint8_t> cut(file.begin(), file.begin() + n);
            const BmpResult r = ReadBmp(cut);
            // An RLE file cut right before its end-of-bitmap mark has already
            // reached every row, so it still reads.
            const bool rleComplete = c.fmt.compression == 1 || c.fmt.compression == 2 ? n >= file.size() - 2 : false;
            if (rleComplete) continue;
            EXPECT_FALSE(r) << c.name << " cut to " << n << " of " << file.size();
            EXPECT_TRUE(r.image.empty());
        }
    }
}
