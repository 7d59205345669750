// Geometry of the drawing primitives: frames in strips, nine- and three-slice
// pieces, tiles, centring and the batched opaque runs of region building.
#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <tuple>

#include "NineSlice.h"
#include "RegionRuns.h"

using namespace qs;

namespace {

PixelRect R(int l, int t, int r, int b) { return PixelRect{l, t, r, b}; }

// Draws pieces the way the Windows routines do (nearest-pixel stretch, tiles
// repeated), so tests can look at the result instead of restating the list.
PixelImage render(const PixelImage& src, int w, int h, const std::vector<SlicePiece>& pieces) {
    PixelImage out(w, h, 0xDEAD);
    for (const SlicePiece& p : pieces) {
        for (int y = p.dst.top; y < p.dst.bottom; ++y) {
            for (int x = p.dst.left; x < p.dst.right; ++x) {
                if (x < 0 || y < 0 || x >= w || y >= h) continue;
                int sx, sy;
                if (p.tile) {
                    sx = p.src.left + (x - p.dst.left) % p.src.width();
                    sy = p.src.top + (y - p.dst.top) % p.src.height();
                } else {
                    sx = p.src.left + (x - p.dst.left) * p.src.width() / p.dst.width();
                    sy = p.src.top + (y - p.dst.top) * p.src.height() / p.dst.height();
                }
                out.at(x, y) = src.at(sx, sy);
            }
        }
    }
    return out;
}

// Every pixel a distinct value: x + 1000 * y.
PixelImage numbered(int w, int h) {
    PixelImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = uint32_t(x + 1000 * y);
    return img;
}

int covered(const std::vector<SlicePiece>& pieces, int w, int h) {
    std::set<std::pair<int, int>> seen;
    for (const SlicePiece& p : pieces)
        for (int y = std::max(p.dst.top, 0); y < std::min(p.dst.bottom, h); ++y)
            for (int x = std::max(p.dst.left, 0); x < std::min(p.dst.right, w); ++x) seen.insert({x, y});
    return int(seen.size());
}

}  // namespace

TEST(FrameInStrip, FramesSideBySideAndStacked) {
    EXPECT_EQ(FrameInStrip(108, 18, 6, 1, false), R(0, 0, 18, 18));
    EXPECT_EQ(FrameInStrip(108, 18, 6, 4, false), R(54, 0, 72, 18));
    EXPECT_EQ(FrameInStrip(290, 54, 2, 2, true), R(0, 27, 290, 54));
    // One frame: frame 1 is the whole picture, either way.
    EXPECT_EQ(FrameInStrip(33, 7, 1, 1, false), R(0, 0, 33, 7));
    EXPECT_EQ(FrameInStrip(33, 7, 1, 1, true), R(0, 0, 33, 7));
    // A width that does not divide: frames keep the truncated width.
    EXPECT_EQ(FrameInStrip(10, 4, 3, 3, false), R(6, 0, 9, 4));
}

TEST(FrameInStrip, BadNumbersStayInsideTheStrip) {
    EXPECT_EQ(FrameInStrip(40, 10, 0, 1, false), R(0, 0, 40, 10));   // no count: one frame
    EXPECT_EQ(FrameInStrip(40, 10, 4, 9, false), R(30, 0, 40, 10));  // past the end: last frame
    EXPECT_EQ(FrameInStrip(40, 10, 4, 0, false), R(0, 0, 10, 10));   // 0: first frame
    EXPECT_TRUE(FrameInStrip(0, 10, 4, 1, false).empty());
}

TEST(NineSlice, CornersKeepTheirSizeEdgesStretchAlongTheirLength) {
    // Frame 2 of a stacked strip, 10 x 8, margins 3/2/4/1 into 30 x 20.
    const PixelImage src = numbered(10, 16);
    const PixelRect frame = FrameInStrip(10, 16, 2, 2, true);
    auto pieces = NineSlicePieces(30, 20, frame, {3, 2, 4, 1}, false);
    ASSERT_EQ(pieces.size(), 9u);
    EXPECT_EQ(pieces[0], (SlicePiece{R(0, 8, 3, 10), R(0, 0, 3, 2)}));            // top-left
    EXPECT_EQ(pieces[1], (SlicePiece{R(0, 15, 3, 16), R(0, 19, 3, 20)}));         // bottom-left
    EXPECT_EQ(pieces[2], (SlicePiece{R(6, 8, 10, 10), R(26, 0, 30, 2)}));         // top-right
    EXPECT_EQ(pieces[5], (SlicePiece{R(3, 10, 6, 15), R(3, 2, 26, 19)}));         // centre
    EXPECT_EQ(pieces[6], (SlicePiece{R(6, 15, 10, 16), R(26, 19, 30, 20)}));      // bottom-right
    EXPECT_EQ(covered(pieces, 30, 20), 30 * 20);

    const PixelImage out = render(src, 30, 20, pieces);
    // Each corner pixel equals the frame's own corner pixel, unscaled.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(out.at(x, y), src.at(x, 8 + y));
    for (int x = 0; x < 4; ++x) EXPECT_EQ(out.at(26 + x, 19), src.at(6 + x, 15));
}

TEST(NineSlice, TooNarrowOrTooShortTargetsDropThoseMargins) {
    const PixelImage src = numbered(12, 10);
    const PixelRect frame = R(0, 0, 12, 10);
    // 6 wide < 4 + 4: the side margins go, the top and bottom ones stay.
    auto narrow = NineSlicePieces(6, 30, frame, {4, 3, 4, 3}, false);
    EXPECT_EQ(FitMargins(6, 30, frame, {4, 3, 4, 3}), (SliceMargins{0, 3, 0, 3}));
    EXPECT_EQ(covered(narrow, 6, 30), 6 * 30);
    const PixelImage n = render(src, 6, 30, narrow);
    // The top rows are the whole frame width squeezed: first and last columns
    // come from the frame's first and (nearly) last columns.
    EXPECT_EQ(n.at(0, 0), src.at(0, 0));
    EXPECT_EQ(n.at(5, 0), src.at(10, 0));
    // 5 high < 3 + 3: top and bottom go, the sides stay.
    EXPECT_EQ(FitMargins(40, 5, frame, {4, 3, 4, 3}), (SliceMargins{4, 0, 4, 0}));
    auto shortOne = NineSlicePieces(40, 5, frame, {4, 3, 4, 3}, false);
    EXPECT_EQ(covered(shortOne, 40, 5), 40 * 5);
    const PixelImage s = render(src, 40, 5, shortOne);
    EXPECT_EQ(s.at(0, 0), src.at(0, 0));
    EXPECT_EQ(s.at(39, 4), src.at(11, 8));
    // Both at once: one stretched piece.
    auto tiny = NineSlicePieces(2, 2, frame, {4, 3, 4, 3}, false);
    ASSERT_EQ(tiny.size(), 1u);
    EXPECT_EQ(tiny[0], (SlicePiece{frame, R(0, 0, 2, 2)}));
    // Exactly Left + Right keeps the margins (no centre column).
    EXPECT_EQ(FitMargins(8, 30, frame, {4, 3, 4, 3}), (SliceMargins{4, 3, 4, 3}));
}

TEST(NineSlice, MarginsWiderThanTheFrameNeverReachTheNextFrame) {
    // Frame 1 of two side by side; margins 8 + 8 on 10-wide frames.
    const PixelRect frame = FrameInStrip(20, 6, 2, 1, false);
    auto pieces = NineSlicePieces(100, 6, frame, {8, 0, 8, 0}, false);
    for (const SlicePiece& p : pieces) {
        EXPECT_GE(p.src.left, frame.left);
        EXPECT_LE(p.src.right, frame.right);
    }
    EXPECT_EQ(covered(pieces, 100, 6), 600);
}

TEST(NineSlice, TiledCentreRepeatsInsteadOfStretching) {
    const PixelImage src = numbered(9, 9);
    auto pieces = NineSlicePieces(40, 40, R(0, 0, 9, 9), {3, 3, 3, 3}, true);
    ASSERT_EQ(pieces.size(), 9u);
    EXPECT_TRUE(pieces[5].tile);
    const PixelImage out = render(src, 40, 40, pieces);
    EXPECT_EQ(out.at(3, 3), src.at(3, 3));
    EXPECT_EQ(out.at(6, 6), src.at(3, 3));  // the 3-pixel centre starts again
    EXPECT_EQ(out.at(7, 8), src.at(4, 5));
}

TEST(NineSlice, NothingForEmptyTargetsOrFrames) {
    EXPECT_TRUE(NineSlicePieces(0, 10, R(0, 0, 5, 5), {}, false).empty());
    EXPECT_TRUE(NineSlicePieces(10, -1, R(0, 0, 5, 5), {}, false).empty());
    EXPECT_TRUE(NineSlicePieces(10, 10, R(0, 0, 0, 5), {}, false).empty());
    // Negative margins count as none.
    auto p = NineSlicePieces(10, 10, R(0, 0, 5, 5), {-3, -3, -3, -3}, false);
    ASSERT_EQ(p.size(), 1u);
}

TEST(ThreeSlice, TiledMiddleRepeatsAndTheLastCopyStopsAtTheRightCap) {
    // Frame 2 of 3 side by side, each 10 wide: caps 2 and 3, middle 5.
    const PixelRect frame = FrameInStrip(30, 4, 3, 2, false);
    auto pieces = ThreeSliceTiledPieces(23, 8, frame, 2, 3);
    // Caps + middles at x = 2, 7, 12, 17 (the last one 3 wide).
    ASSERT_EQ(pieces.size(), 6u);
    EXPECT_EQ(pieces.front(), (SlicePiece{R(10, 0, 12, 4), R(0, 0, 2, 8)}));
    EXPECT_EQ(pieces[1], (SlicePiece{R(12, 0, 17, 4), R(2, 0, 7, 8)}));
    EXPECT_EQ(pieces[4], (SlicePiece{R(12, 0, 15, 4), R(17, 0, 20, 8)}));
    EXPECT_EQ(pieces.back(), (SlicePiece{R(17, 0, 20, 4), R(20, 0, 23, 8)}));
    EXPECT_EQ(covered(pieces, 23, 8), 23 * 8);
}

TEST(ThreeSlice, NoMiddleDrawsTheCapsOnly) {
    const PixelRect frame = R(0, 0, 6, 4);
    auto pieces = ThreeSliceTiledPieces(50, 4, frame, 3, 3);  // 3 + 3 = frame width
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].dst, R(0, 0, 3, 4));
    EXPECT_EQ(pieces[1].dst, R(47, 0, 50, 4));
    // Wider caps than the frame: still two pieces, never a loop.
    EXPECT_EQ(ThreeSliceTiledPieces(50, 4, frame, 5, 4).size(), 2u);
}

TEST(ThreeSlice, StretchedMiddleAndNarrowTargets) {
    const PixelRect frame = FrameInStrip(40, 6, 2, 2, false);  // (20,0)-(40,6)
    auto pieces = ThreeSliceStretchedPieces(100, 10, frame, 4, 5);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0], (SlicePiece{R(20, 0, 24, 6), R(0, 0, 4, 10)}));
    EXPECT_EQ(pieces[1], (SlicePiece{R(24, 0, 35, 6), R(4, 0, 95, 10)}));
    EXPECT_EQ(pieces[2], (SlicePiece{R(35, 0, 40, 6), R(95, 0, 100, 10)}));
    // Narrower than the frame: the whole frame stretched in.
    auto narrow = ThreeSliceStretchedPieces(12, 10, frame, 4, 5);
    ASSERT_EQ(narrow.size(), 1u);
    EXPECT_EQ(narrow[0], (SlicePiece{frame, R(0, 0, 12, 10)}));
}

TEST(Centring, HalvesTruncateTowardZero) {
    EXPECT_EQ(CentredRect(R(10, 20, 31, 30), 6, 4), R(17, 23, 23, 27));
    // A picture larger than the area overhangs: (5 - 8) / 2 = -1.
    EXPECT_EQ(CentredRect(R(0, 0, 5, 5), 8, 8), R(-1, -1, 7, 7));
}

TEST(Tiling, RowsAndColumnsMayOverhangTheDestination) {
    auto tiles = TilePositions(R(5, 5, 15, 12), 4, 4);
    ASSERT_EQ(tiles.size(), 6u);  // 3 columns x 2 rows
    EXPECT_EQ(tiles.front(), R(5, 5, 9, 9));
    EXPECT_EQ(tiles.back(), R(13, 9, 17, 13));
    EXPECT_TRUE(TilePositions(R(0, 0, 10, 10), 0, 4).empty());
    EXPECT_TRUE(TilePositions(R(0, 0, 0, 10), 4, 4).empty());
}

TEST(RegionRuns, OpaqueRunsPerRowWithOffsetAndTolerance) {
    PixelImage img(6, 2, 0xFF00FF);
    img.at(1, 0) = 0x102030;
    img.at(2, 0) = 0x102030;
    img.at(4, 0) = 0x000001;
    img.at(5, 1) = 0xFE00FF;  // inside a tolerance of 1 only below the key: opaque
    img.at(0, 1) = 0xFF01FF;  // green one above the key: transparent with tolerance 1
    std::vector<PixelRect> got;
    const KeyRange range{0xFF00FF, 1, 1, 1};
    const auto n = CollectOpaqueRuns(img.view(), range, 10, 20,
                                     [&](const RunBatch& b) { got.insert(got.end(), b.rects.begin(), b.rects.end()); });
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(got, (std::vector<PixelRect>{R(11, 20, 13, 21), R(14, 20, 15, 21), R(15, 21, 16, 22)}));
}

TEST(RegionRuns, KeyChannelsTolerancesAndTheFourthByte) {
    // Key colour number 0x0000FF is red; green may rise by 2, blue and red not.
    const KeyRange range{0x0000FF, 0, 2, 0};
    const uint32_t row[] = {0x00FF0000, 0x000000FF, 0xAAFF0200, 0x00FF0300, 0x00FE0000, 0x00FF0001};
    const bool keyed[] = {true, false, true, false, false, false};
    PixelImage img(6, 1);
    for (int x = 0; x < 6; ++x) img.at(x, 0) = row[x];
    std::vector<PixelRect> got;
    CollectOpaqueRuns(img.view(), range, 0, 0,
                      [&](const RunBatch& b) { got.insert(got.end(), b.rects.begin(), b.rects.end()); });
    EXPECT_EQ(got, (std::vector<PixelRect>{R(1, 0, 2, 1), R(3, 0, 6, 1)}));
    for (int x = 0; x < 6; ++x) EXPECT_EQ(range.transparent(row[x] & 0xFFFFFF), keyed[x]) << x;
}

TEST(RegionRuns, AllKeyColourGivesNothing) {
    PixelImage img(50, 40, 0xFF00FF);
    int batches = 0;
    EXPECT_EQ(CollectOpaqueRuns(img.view(), KeyRange{}, 0, 0, [&](const RunBatch&) { ++batches; }), 0u);
    EXPECT_EQ(batches, 0);
}

TEST(RegionRuns, BatchesOfTwoThousandWithTheirBounds) {
    // A checkerboard row pattern: 2 runs per row of a 4-wide picture.
    PixelImage img(4, 2100, 0xFF00FF);
    for (int y = 0; y < img.height; ++y) {
        img.at(0, y) = 1;
        img.at(2, y) = 1;
        img.at(3, y) = 1;
    }
    std::vector<std::size_t> sizes;
    std::vector<PixelRect> bounds;
    std::size_t total = 0;
    const auto n = CollectOpaqueRuns(img.view(), KeyRange{}, 0, 0, [&](const RunBatch& b) {
        sizes.push_back(b.rects.size());
        bounds.push_back(b.bounds);
        total += b.rects.size();
    });
    EXPECT_EQ(n, 4200u);
    EXPECT_EQ(total, 4200u);
    EXPECT_EQ(sizes, (std::vector<std::size_t>{2000, 2000, 200}));
    EXPECT_EQ(bounds[0], R(0, 0, 4, 1000));
    EXPECT_EQ(bounds[2], R(0, 2000, 4, 2100));
}

TEST(CopyPieces, TilesAndCopiesLikeTheReferenceMovedAndClipped) {
    const PixelImage src = numbered(10, 9);
    const PixelRect frame = R(1, 1, 9, 8);  // 8 x 7 inside the strip
    // A border as the frame draws it: its ends copied, the middle tiled;
    // along the frame's own width (a side) and along its height (top, bottom).
    for (auto [w, h, m] : {std::tuple{8, 17, SliceMargins{0, 3, 0, 1}}, std::tuple{23, 7, SliceMargins{2, 0, 3, 0}}}) {
        const auto pieces = NineSlicePieces(w, h, frame, m, true);
        const PixelImage want = render(src, w, h, pieces);
        // Moved by (4, 2) into a picture that cuts the piece off at the
        // right and bottom; then moved partly off its top-left corner.
        for (auto [dx, dy] : {std::pair{4, 2}, std::pair{-5, -3}}) {
            PixelImage out(12, 12, 0xABCDEF);
            PixelImage copy = src;
            ASSERT_TRUE(CopyPieces(out.view(), dx, dy, copy.view(), pieces));
            int wrong = 0;
            for (int y = 0; y < out.height; ++y)
                for (int x = 0; x < out.width; ++x) {
                    const int px = x - dx, py = y - dy;
                    const bool inside = px >= 0 && py >= 0 && px < w && py < h;
                    wrong += out.at(x, y) != (inside ? want.at(px, py) : 0xABCDEFu);
                }
            EXPECT_EQ(wrong, 0) << w << "x" << h << " at " << dx << "," << dy;
        }
    }
    // Three-slice tiles, whose last copy is cut short.
    const auto three = ThreeSliceTiledPieces(31, 9, R(0, 0, 10, 9), 2, 3);
    PixelImage out(31, 9), copy = src;
    ASSERT_TRUE(CopyPieces(out.view(), 0, 0, copy.view(), three));
    EXPECT_EQ(out.pixels, render(src, 31, 9, three).pixels);
}

TEST(CopyPieces, RefusesStretchingAndSourcesOutsideThePicture) {
    PixelImage src = numbered(10, 9);
    PixelImage out(30, 30, 7);
    // A centre that is stretched, not tiled: nothing is written.
    EXPECT_FALSE(CopyPieces(out.view(), 0, 0, src.view(), NineSlicePieces(23, 17, R(0, 0, 10, 9), SliceMargins{2, 2, 2, 2}, false)));
    // A copy whose source reaches past the strip.
    EXPECT_FALSE(CopyPieces(out.view(), 0, 0, src.view(), {SlicePiece{R(5, 5, 12, 9), R(0, 0, 7, 4)}}));
    EXPECT_FALSE(CopyPieces(out.view(), 0, 0, src.view(), {SlicePiece{R(-1, 0, 3, 3), R(0, 0, 4, 3), true}}));
    for (uint32_t p : out.pixels) ASSERT_EQ(p, 7u);
    // Nothing to copy from or into.
    PixelImage none;
    EXPECT_FALSE(CopyPieces(none.view(), 0, 0, src.view(), {SlicePiece{R(0, 0, 2, 2), R(0, 0, 2, 2)}}));
    EXPECT_FALSE(CopyPieces(out.view(), 0, 0, none.view(), {SlicePiece{R(0, 0, 2, 2), R(0, 0, 2, 2)}}));
    // Entirely outside the target: accepted, nothing written.
    EXPECT_TRUE(CopyPieces(out.view(), 100, 100, src.view(), {SlicePiece{R(0, 0, 2, 2), R(0, 0, 2, 2), true}}));
    for (uint32_t p : out.pixels) ASSERT_EQ(p, 7u);
}
