// Progress fill, chunks, the upright turn of vertical bars and the
// media-player strip layout: the numbers the painters and hit tests use.
#include <gtest/gtest.h>

#include "ProgressGeometry.h"

using namespace qs;

TEST(ProgressGeometry, FillFollowsPositionOverUpperLimit) {
    // 0..200 at 50 on 100 pixels: a quarter.
    EXPECT_EQ(progressBarLength(100, 50, 200), 25);
    EXPECT_EQ(progressBarLength(100, 200, 200), 100);
    // Rounded to the nearest pixel, halves up: 1/3 of 100 and 2/3 of 100.
    EXPECT_EQ(progressBarLength(100, 1, 3), 33);
    EXPECT_EQ(progressBarLength(100, 2, 3), 67);
    EXPECT_EQ(progressBarLength(3, 1, 2), 2);
}

TEST(ProgressGeometry, NothingFilledWithoutPositiveValues) {
    EXPECT_EQ(progressBarLength(100, 0, 200), 0);
    EXPECT_EQ(progressBarLength(100, 50, 0), 0);
    EXPECT_EQ(progressBarLength(100, -5, 200), 0);
    EXPECT_EQ(progressBarLength(100, 50, -200), 0);
    EXPECT_EQ(progressBarLength(0, 50, 200), 0);
    EXPECT_EQ(progressBarLength(-10, 50, 200), 0);
}

TEST(ProgressGeometry, FillNeverRunsPastTheBar) {
    EXPECT_EQ(progressBarLength(100, 300, 200), 100);
    // Products beyond 32 bits neither wrap nor overflow.
    EXPECT_EQ(progressBarLength(30000, 2000000000, 2000000000), 30000);
    EXPECT_EQ(progressBarLength(30000, 1000000000, 2000000000), 15000);
    EXPECT_EQ(mulDivRound(5, 1, 0), -1);
    EXPECT_EQ(mulDivRound(-5, 1, 2), -3);
}

TEST(ProgressGeometry, ChunksCoverTheFillAndTheLastIsCut) {
    auto cells = progressChunkCells(20, 6, 8, 3);
    ASSERT_EQ(cells.size(), 4u);
    EXPECT_EQ(cells[0], (PixelRect{0, 3, 6, 11}));
    EXPECT_EQ(cells[2], (PixelRect{12, 3, 18, 11}));
    EXPECT_EQ(cells[3], (PixelRect{18, 3, 20, 11}));
    // An exact multiple leaves no sliver behind.
    EXPECT_EQ(progressChunkCells(18, 6, 8, 0).size(), 3u);
    EXPECT_TRUE(progressChunkCells(0, 6, 8, 0).empty());
    EXPECT_TRUE(progressChunkCells(20, 0, 8, 0).empty());
}

TEST(ProgressGeometry, VerticalBarsLieDownAndFillFromTheBottom) {
    EXPECT_EQ(progressWorkSize(20, 100, true), (ProgressSize{100, 20}));
    EXPECT_EQ(progressWorkSize(100, 20, false), (ProgressSize{100, 20}));
    EXPECT_EQ(progressWorkSize(-1, 5, false), (ProgressSize{0, 5}));
    // Work image 100 x 20 (a bar 20 wide, 100 high): the first column of the
    // work image is the bottom row of the bar, the last the top row.
    EXPECT_EQ(progressUpright(100, 0, 0), (ProgressPoint{0, 99}));
    EXPECT_EQ(progressUpright(100, 99, 19), (ProgressPoint{19, 0}));
    EXPECT_EQ(progressUpright(100, 24, 5), (ProgressPoint{5, 75}));
}

TEST(MediaPlayerGeometry, CellsShareTheWidthAmongVisibleButtons) {
    EXPECT_EQ(mpVisibleCount(kMPAllButtons), 9);
    EXPECT_EQ(mpButtonWidth(253, kMPAllButtons), 28);
    EXPECT_EQ(mpButtonCell(kMPAllButtons, 28, 30, btNext), (PixelRect{84, 0, 112, 30}));
    // Hiding buttons widens the others and closes the gaps.
    TMPButtonSet three = (1u << btPlay) | (1u << btStop) | (1u << btEject);
    EXPECT_EQ(mpButtonWidth(253, three), 84);
    EXPECT_EQ(mpButtonCell(three, 84, 30, btStop), (PixelRect{84, 0, 168, 30}));
    EXPECT_EQ(mpButtonCell(three, 84, 30, btEject), (PixelRect{168, 0, 252, 30}));
    EXPECT_TRUE(mpButtonCell(three, 84, 30, btPause).empty());
    EXPECT_EQ(mpButtonWidth(253, 0), 0);
}

TEST(MediaPlayerGeometry, HitTestGivesTheBorderToTheLeftCell) {
    TMPButtonSet three = (1u << btPlay) | (1u << btStop) | (1u << btEject);
    EXPECT_EQ(mpHitTest(three, 84, 0), btPlay);
    EXPECT_EQ(mpHitTest(three, 84, 83), btPlay);
    EXPECT_EQ(mpHitTest(three, 84, 84), btPlay);  // the shared border
    EXPECT_EQ(mpHitTest(three, 84, 85), btStop);
    EXPECT_EQ(mpHitTest(three, 84, 168), btStop);
    EXPECT_EQ(mpHitTest(three, 84, 169), btEject);
    EXPECT_EQ(mpHitTest(three, 84, 252), btEject);
    // The remainder at the right and anything left of the strip hit nothing.
    EXPECT_EQ(mpHitTest(three, 84, 253), kMPNoButton);
    EXPECT_EQ(mpHitTest(three, 84, -1), kMPNoButton);
    EXPECT_EQ(mpHitTest(0, 84, 10), kMPNoButton);
}
