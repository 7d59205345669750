#pragma once
// Pixel-for-pixel comparison for the BMP tests, stopping at the first
// difference with its place in the message.
#include <gtest/gtest.h>

#include <string>

#include "PixelView.h"

namespace qs::testbmp {

inline void expectSamePixels(const PixelImage& want, const PixelImage& got, const std::string& what) {
    ASSERT_EQ(got.width, want.width) << what;
    ASSERT_EQ(got.height, want.height) << what;
    for (int y = 0; y < want.height; ++y)
        for (int x = 0; x < want.width; ++x)
            ASSERT_EQ(got.at(x, y), want.at(x, y)) << what << " at " << x << "," << y;
}

}  // namespace qs::testbmp
