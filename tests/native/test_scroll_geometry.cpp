// Geometry of skinned scroll bars, combo buttons, up-downs and picker buttons.
#include <gtest/gtest.h>

#include "SkinEditGeometry.h"
#include "SkinScrollGeometry.h"

using namespace qs;

TEST(ScrollMulDiv, RoundsHalfAwayFromZeroAndRefusesZeroDivisor) {
    EXPECT_EQ(scrollMulDiv(10, 1, 4), 3);   // 2.5
    EXPECT_EQ(scrollMulDiv(-10, 1, 4), -3);
    EXPECT_EQ(scrollMulDiv(10, 1, 3), 3);   // 3.33
    EXPECT_EQ(scrollMulDiv(7, 1, 0), -1);
    // The product does not fit 32 bits; the quotient does.
    EXPECT_EQ(scrollMulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(scrollMulDiv(0x7FFFFFFF, 4, 1), -1);
}

TEST(ControlThumb, PagedThumbSpansTheTrackProportionally) {
    // 200-pixel bar, 17-pixel arrows: 166 pixels of track for a range of 0..99.
    ScrollThumb t = controlThumbGeometry(200, 17, {0, 99, 10, 0});
    EXPECT_EQ(t.start, 17);
    EXPECT_EQ(t.size(), scrollMulDiv(166, 9, 99));
    // At the last position the thumb ends where the second arrow begins.
    t = controlThumbGeometry(200, 17, {0, 99, 10, 90});
    EXPECT_EQ(t.start, scrollMulDiv(166, 90, 99) + 17);
    EXPECT_EQ(t.end, 200 - 17);
}

TEST(ControlThumb, ThumbOfSevenPixelsOrLessBecomesEight) {
    // Page 2 of 0..999: 166 * 1 / 999 rounds to 0.
    ScrollThumb t = controlThumbGeometry(200, 17, {0, 999, 2, 0});
    EXPECT_EQ(t, (ScrollThumb{17, 25}));
    // A thumb computed as exactly 7 pixels is also widened.
    t = controlThumbGeometry(200, 17, {0, 166, 8, 0});
    EXPECT_EQ(scrollMulDiv(166, 7, 166), 7);
    EXPECT_EQ(t.size(), 8);
    // Positions then spread over the track less the minimum thumb.
    t = controlThumbGeometry(200, 17, {0, 999, 2, 998});
    EXPECT_EQ(t.start, scrollMulDiv(200 - 34 - 8, 998, 999) + 17);
    EXPECT_LE(t.end, 200 - 17);
}

TEST(ControlThumb, WithoutPageTheThumbIsArrowSizedAndEmptyRangeDoesNotDivideByZero) {
    ScrollThumb t = controlThumbGeometry(200, 17, {0, 100, 0, 50});
    EXPECT_EQ(t.size(), 17);
    EXPECT_EQ(t.start, scrollMulDiv(200 - 51, 50, 100) + 17);
    t = controlThumbGeometry(200, 17, {5, 5, 0, 5});
    EXPECT_EQ(t, (ScrollThumb{17, 34}));
}

TEST(ScrollHitTest, PartsInOrderAlongTheBar) {
    ScrollThumb thumb{60, 90};
    EXPECT_EQ(scrollHitTest(0, 17, 200, thumb), spFirstArrow);
    EXPECT_EQ(scrollHitTest(16, 17, 200, thumb), spFirstArrow);
    EXPECT_EQ(scrollHitTest(17, 17, 200, thumb), spPageBefore);
    EXPECT_EQ(scrollHitTest(60, 17, 200, thumb), spThumb);
    EXPECT_EQ(scrollHitTest(89, 17, 200, thumb), spThumb);
    EXPECT_EQ(scrollHitTest(90, 17, 200, thumb), spPageAfter);
    EXPECT_EQ(scrollHitTest(182, 17, 200, thumb), spPageAfter);
    EXPECT_EQ(scrollHitTest(183, 17, 200, thumb), spSecondArrow);
}

TEST(TrackThumb, FollowsTheCursorAndStopsAtTheArrows) {
    EXPECT_EQ(trackThumb(50, 12, 17, 200, 30), (ScrollThumb{62, 92}));
    EXPECT_EQ(trackThumb(50, -100, 17, 200, 30), (ScrollThumb{17, 47}));
    EXPECT_EQ(trackThumb(50, 500, 17, 200, 30), (ScrollThumb{153, 183}));
    // A thumb longer than the track stays at the first arrow.
    EXPECT_EQ(trackThumb(20, 5, 17, 60, 40).start, 17);
}

TEST(ScrollPaint, ThicknessIsTheStripUnlessFarFromTheArrowSize) {
    EXPECT_EQ(scrollThickness(16, 17), 16);
    EXPECT_EQ(scrollThickness(19, 17), 19);
    EXPECT_EQ(scrollThickness(20, 17), 17);
    EXPECT_EQ(scrollThickness(8, 17), 17);
}

TEST(ScrollPaint, VerticalBarArrowsTrackThumbAndGrip) {
    ScrollPaintInput in;
    in.width = 17;
    in.height = 200;
    in.vertical = true;
    in.arrowSize = 17;
    in.stripHeight = 17;
    in.thumb = {40, 100};
    ScrollPaintLayout l = scrollPaintLayout(in);
    EXPECT_EQ(l.firstArrow, (PixelRect{0, 0, 17, 17}));
    EXPECT_EQ(l.secondArrow, (PixelRect{0, 183, 17, 200}));
    EXPECT_EQ(l.track, (PixelRect{0, 17, 17, 183}));
    EXPECT_EQ(l.firstFrame, 9);
    EXPECT_EQ(l.secondFrame, 13);
    EXPECT_EQ(l.trackFrame, 1);
    ASSERT_TRUE(l.drawThumb);
    EXPECT_EQ(l.thumb, (PixelRect{0, 40, 17, 100}));
    EXPECT_EQ(l.thumbFrame, 1);
    ASSERT_TRUE(l.drawGrip);
    EXPECT_EQ(l.grip, (PixelRect{0, 40 + (60 - 17) / 2, 17, 40 + (60 - 17) / 2 + 17}));
    EXPECT_EQ(l.gripFrame, 20);
}

TEST(ScrollPaint, HotAndPressedFrames) {
    ScrollPaintInput in;
    in.width = 200;
    in.height = 17;
    in.arrowSize = 17;
    in.stripHeight = 17;
    in.thumb = {40, 100};
    in.hotPart = spSecondArrow;
    EXPECT_EQ(scrollPaintLayout(in).secondFrame, 8);
    EXPECT_EQ(scrollPaintLayout(in).firstFrame, 1);
    in.pressed = true;
    EXPECT_EQ(scrollPaintLayout(in).secondFrame, 6);
    in.hotPart = spThumb;
    EXPECT_EQ(scrollPaintLayout(in).thumbFrame, 2);
    EXPECT_EQ(scrollPaintLayout(in).gripFrame, 18);
    in.pressed = false;
    EXPECT_EQ(scrollPaintLayout(in).thumbFrame, 3);
    EXPECT_EQ(scrollPaintLayout(in).gripFrame, 19);
    // Hovering the page area highlights nothing.
    in.hotPart = spPageAfter;
    ScrollPaintLayout l = scrollPaintLayout(in);
    EXPECT_EQ(l.firstFrame, 1);
    EXPECT_EQ(l.secondFrame, 5);
    EXPECT_EQ(l.thumbFrame, 1);
    EXPECT_FALSE(l.drawPressedPage);
    // Pressing it shows the page between thumb and arrow pressed.
    in.pressed = true;
    l = scrollPaintLayout(in);
    ASSERT_TRUE(l.drawPressedPage);
    EXPECT_EQ(l.pressedPage, (PixelRect{100, 0, 183, 17}));
    in.hotPart = spPageBefore;
    EXPECT_EQ(scrollPaintLayout(in).pressedPage, (PixelRect{17, 0, 40, 17}));
}

TEST(ScrollPaint, DisabledBarHasDisabledTrackAndNoThumb) {
    ScrollPaintInput in;
    in.width = 17;
    in.height = 200;
    in.vertical = true;
    in.arrowSize = 17;
    in.stripHeight = 17;
    in.thumb = {40, 100};
    in.enabled = false;
    ScrollPaintLayout l = scrollPaintLayout(in);
    EXPECT_EQ(l.trackFrame, 3);
    EXPECT_FALSE(l.drawThumb);
    EXPECT_FALSE(l.drawGrip);
}

TEST(ScrollPaint, ShortBarGetsHalfLengthArrowsAndNoTrack) {
    ScrollPaintInput in;
    in.width = 17;
    in.height = 25;
    in.vertical = true;
    in.arrowSize = 17;
    in.stripHeight = 17;
    ScrollPaintLayout l = scrollPaintLayout(in);
    EXPECT_EQ(l.firstArrow, (PixelRect{0, 0, 17, 12}));
    EXPECT_EQ(l.secondArrow, (PixelRect{0, 13, 17, 25}));
    EXPECT_TRUE(l.track.empty());
    EXPECT_FALSE(l.drawThumb);
}

TEST(ScrollPaint, ThumbOutsideTheBarOrShorterThanTheStripHasNoGrip) {
    ScrollPaintInput in;
    in.width = 200;
    in.height = 17;
    in.arrowSize = 17;
    in.stripHeight = 17;
    in.thumb = {20, 34};  // 14 long: a 17-pixel grip does not fit
    ScrollPaintLayout l = scrollPaintLayout(in);
    EXPECT_TRUE(l.drawThumb);
    EXPECT_FALSE(l.drawGrip);
    in.thumb = {190, 220};
    EXPECT_FALSE(scrollPaintLayout(in).drawThumb);
}

TEST(ComboGeometry, ButtonAtTheRightOrMirroredAtTheLeft) {
    ComboButtonLayout r = comboButtonLayout(145, 21, 17, false);
    EXPECT_EQ(r.button, (PixelRect{126, 0, 145, 21}));
    EXPECT_EQ(r.glyphArea, (PixelRect{126, 0, 143, 21}));
    EXPECT_EQ(r.content, (PixelRect{2, 2, 124, 19}));
    ComboButtonLayout l = comboButtonLayout(145, 21, 17, true);
    EXPECT_EQ(l.button, (PixelRect{0, 0, 19, 21}));
    EXPECT_EQ(l.glyphArea, (PixelRect{2, 0, 19, 21}));
    EXPECT_EQ(l.content, (PixelRect{21, 2, 143, 19}));
    // Right-to-left puts it at the left unless the system's own button is at the right.
    EXPECT_TRUE(comboArrowAtLeft(true, -1, 145));
    EXPECT_FALSE(comboArrowAtLeft(false, -1, 145));
    EXPECT_TRUE(comboArrowAtLeft(true, 2, 145));
    EXPECT_FALSE(comboArrowAtLeft(true, 126, 145));
    EXPECT_TRUE(comboArrowAtLeft(false, 2, 145));
    EXPECT_EQ(comboButtonFrame(true, false, false, false), 1);
    EXPECT_EQ(comboButtonFrame(true, true, true, true), 2);
    EXPECT_EQ(comboButtonFrame(true, false, true, false), 4);
    EXPECT_EQ(comboButtonFrame(false, true, true, true), 3);
    EXPECT_EQ(centredIn(PixelRect{126, 0, 143, 21}, 7, 4), (PixelRect{131, 8, 138, 12}));
}

TEST(UpDownGeometry, HoveredLowerHalfMakesOnlyTheLowerButtonHot) {
    UpDownLayout v = upDownLayout(17, 24, false);
    EXPECT_EQ(v.first, (PixelRect{0, 0, 17, 12}));
    EXPECT_EQ(v.second, (PixelRect{0, 12, 17, 24}));
    int upper = upDownButtonState(true, false, 18, v.half, true, false);
    int lower = upDownButtonState(true, true, 18, v.half, true, false);
    EXPECT_EQ(upDownFrame(upper, false), 1);
    EXPECT_EQ(upDownFrame(lower, true), 8);
    EXPECT_EQ(upDownFrame(upDownButtonState(true, false, 3, v.half, true, true), false), 2);
    EXPECT_EQ(upDownFrame(upDownButtonState(false, true, 18, v.half, true, true), true), 7);
    UpDownLayout h = upDownLayout(30, 15, true);
    EXPECT_EQ(h.first, (PixelRect{0, 0, 15, 15}));
    EXPECT_EQ(h.second, (PixelRect{15, 0, 30, 15}));
}

TEST(UpDownGeometry, InsideAnEditItKeepsClearOfTheBorder) {
    // Top edge one pixel below the edit's: drawn from two pixels lower.
    PixelRect r = upDownInEditRect(PixelRect{0, 0, 15, 20}, 1, 3, 0);
    EXPECT_EQ(r, (PixelRect{0, 2, 12, 20}));
    EXPECT_EQ(upDownInEditRect(PixelRect{0, 0, 15, 20}, 5, 0, 4), (PixelRect{0, 0, 15, 17}));
}

TEST(PickerGeometry, ArrowButtonAtTheRightOrAtTwoForLeftScrollBars) {
    EXPECT_EQ(pickerArrowButton(186, 17, true), (PixelRect{2, 0, 19, 18}));
    EXPECT_EQ(pickerArrowButton(186, 17, false), (PixelRect{165, 0, 182, 18}));
}
