#include <gtest/gtest.h>

#include "PixelOps.h"

using namespace qs;
using namespace qs::syscolour;

namespace {

// Every pixel distinct and carrying its own position.
PixelImage numbered(int w, int h) {
    PixelImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = uint32_t(y * 1000 + x);
    return img;
}

// A view of `w` x `h` inside a larger block, so a routine that ignores the
// stride or strays outside the view is caught by the guard pixels.
struct Framed {
    static constexpr uint32_t kGuard = 0x77777777;
    PixelImage block;
    PixelView view;
    Framed(const PixelImage& src) : block(src.width + 3, src.height + 2, kGuard) {
        for (int y = 0; y < src.height; ++y)
            for (int x = 0; x < src.width; ++x) block.at(x + 1, y + 1) = src.at(x, y);
        view = PixelView{src.width, src.height, block.width * 4, reinterpret_cast<uint8_t*>(&block.at(1, 1))};
    }
    PixelImage inner() const {
        PixelImage out(view.width, view.height);
        for (int y = 0; y < view.height; ++y)
            for (int x = 0; x < view.width; ++x) out.at(x, y) = view.at(x, y);
        return out;
    }
    bool guardsIntact() const {
        int n = 0;
        for (int y = 0; y < block.height; ++y)
            for (int x = 0; x < block.width; ++x) {
                const bool inside = x >= 1 && x <= view.width && y >= 1 && y <= view.height;
                n += !inside && block.at(x, y) != kGuard;
            }
        return n == 0;
    }
};

}  // namespace

TEST(Pixel, GrayAveragesTheChannels) {
    PixelImage img(3, 1);
    img.at(0, 0) = 0xFF102030;  // the fourth byte does not survive
    img.at(1, 0) = 0x00FFFFFF;
    img.at(2, 0) = 0x00FF0001;  // (255 + 0 + 1) / 3 = 85
    Framed f(img);
    GrayBitmap(f.view);
    EXPECT_EQ(f.inner().pixels, (std::vector<uint32_t>{0x202020, 0xFFFFFF, 0x555555}));
    EXPECT_TRUE(f.guardsIntact());
}

TEST(Pixel, ReplaceMagentaTakesTheColourNumberAsStored) {
    PixelImage img(4, 1);
    img.at(0, 0) = 0x00FF00FF;
    img.at(1, 0) = 0xFFFF00FF;  // magenta whatever the fourth byte
    img.at(2, 0) = 0x00FE00FF;  // near magenta stays
    img.at(3, 0) = 0x00FF01FF;
    Framed f(img);
    ReplaceMagenta(f.view, rgbColour(0x11, 0x22, 0x33));
    EXPECT_EQ(f.inner().pixels, (std::vector<uint32_t>{0x112233, 0x112233, 0xFE00FF, 0xFF01FF}));
    EXPECT_TRUE(f.guardsIntact());

    // A system colour is not looked up: its index byte lands in red.
    PixelImage one(1, 1, 0xFF00FF);
    ReplaceMagenta(one.view(), clBtnFace);
    EXPECT_EQ(one.at(0, 0), 0x0F0000u);
}

TEST(Pixel, MirrorAndFlipMoveWholePixelsAndUndoThemselves) {
    const PixelImage src = numbered(5, 3);
    Framed f(src);
    MirrorBitmap(f.view);
    EXPECT_EQ(f.inner().at(0, 1), src.at(4, 1));
    EXPECT_EQ(f.inner().at(2, 2), src.at(2, 2));
    MirrorBitmap(f.view);
    EXPECT_EQ(f.inner().pixels, src.pixels);

    FlipBitmap(f.view);
    EXPECT_EQ(f.inner().at(3, 0), src.at(3, 2));
    EXPECT_EQ(f.inner().at(3, 1), src.at(3, 1));
    FlipBitmap(f.view);
    EXPECT_EQ(f.inner().pixels, src.pixels);
    EXPECT_TRUE(f.guardsIntact());

    PixelImage even = numbered(2, 4);
    FlipBitmap(even.view());
    EXPECT_EQ(even.at(1, 0), 3001u);
    EXPECT_EQ(even.at(1, 1), 2001u);
}

TEST(Pixel, QuarterTurns) {
    const PixelImage src = numbered(4, 3);
    PixelImage left = src;
    RotateLeft(left);
    ASSERT_EQ(left.width, 3);
    ASSERT_EQ(left.height, 4);
    EXPECT_EQ(left.at(0, 0), src.at(3, 0));  // old top-right becomes the top-left
    EXPECT_EQ(left.at(0, 3), src.at(0, 0));  // old top-left goes to the bottom-left
    EXPECT_EQ(left.at(2, 3), src.at(0, 2));

    PixelImage right = src;
    RotateRight(right);
    EXPECT_EQ(right.at(2, 0), src.at(0, 0));  // old top-left becomes the top-right
    EXPECT_EQ(right.at(0, 0), src.at(0, 2));
    EXPECT_EQ(right.at(0, 3), src.at(3, 2));

    RotateRight(left);
    EXPECT_EQ(left.width, src.width);
    EXPECT_EQ(left.pixels, src.pixels);
    RotateLeft(right);
    EXPECT_EQ(right.pixels, src.pixels);

    // Four left turns are the identity; two are a flip plus a mirror.
    PixelImage spun = src;
    RotateLeft(spun);
    RotateLeft(spun);
    PixelImage half = src;
    FlipBitmap(half.view());
    MirrorBitmap(half.view());
    EXPECT_EQ(spun.pixels, half.pixels);
}

TEST(Pixel, TurnIntoStridedViewsAndRejectWrongSizes) {
    const PixelImage src = numbered(3, 2);
    Framed in(src);
    Framed out(PixelImage(2, 3, 0));
    ASSERT_TRUE(RotateRight(in.view, out.view));
    EXPECT_EQ(out.inner().at(1, 0), src.at(0, 0));
    EXPECT_TRUE(out.guardsIntact());

    Framed wrong(PixelImage(3, 2, 0));
    EXPECT_FALSE(RotateLeft(in.view, wrong.view));
    EXPECT_FALSE(RotateLeft(PixelView{}, out.view));
    PixelImage empty;
    RotateLeft(empty);  // nothing to do, nothing to crash on
    EXPECT_TRUE(empty.empty());
}
