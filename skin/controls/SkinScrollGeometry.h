#pragma once
// Where the pieces of a skinned scroll bar go: thumb size and position of a
// scroll-bar control, hit testing, the thumb following the cursor while the
// system drags it, and the layout of a paint (track, arrows, thumb, grip and
// the frame each takes). Pure numbers: painting only consumes the results.
#include "PixelView.h"

namespace qs {

// Part codes: the system's scroll codes, so a WM_HSCROLL/WM_VSCROLL code can
// be stored as the hot part directly.
enum TScrollPart : int {
    spNone = -1,
    spFirstArrow = 0,   // up or left
    spSecondArrow = 1,  // down or right
    spPageBefore = 2,
    spPageAfter = 3,
    spThumb = 5,
};

// The smallest thumb a scroll-bar control gets.
inline constexpr int kMinControlThumb = 8;
// Frames of the scroll-bar strip.
inline constexpr int kScrollStripFrames = 23;
inline constexpr int kScrollTrackFrames = 4;

// (a * b) / c with a 64-bit product, rounded half away from zero; -1 when c
// is 0 or the result does not fit (the system's MulDiv).
int scrollMulDiv(int a, int b, int c);

struct ScrollThumb {
    int start = 0;
    int end = 0;
    int size() const { return end - start; }
    friend bool operator==(const ScrollThumb&, const ScrollThumb&) = default;
};

// What GetScrollInfo tells of a scroll-bar control.
struct ScrollRange {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
};

// The thumb of a scroll-bar control `length` pixels long with arrows
// `arrow` pixels long, pixels from the bar's start.
ScrollThumb controlThumbGeometry(int length, int arrow, const ScrollRange& range);

// The part at `c` pixels along the bar.
TScrollPart scrollHitTest(int c, int arrow, int length, const ScrollThumb& thumb);

// The thumb while the system drags it: where it was at the press moved by
// the cursor's travel, kept between the arrows, same size.
ScrollThumb trackThumb(int downThumb, int cursorTravel, int arrow, int length, int thumbSize);

// Cross size the skin draws at: the strip's height, or the system's arrow
// size when the two differ by more than 2 pixels.
int scrollThickness(int stripHeight, int arrowSize);

struct ScrollPaintInput {
    int width = 0;   // the bar
    int height = 0;
    bool vertical = false;
    int arrowSize = 0;
    int stripHeight = 0;  // height of the scroll-bar strip (arrows and grips)
    bool enabled = true;
    bool pressed = false;
    int hotPart = spNone;
    ScrollThumb thumb;
};

struct ScrollPaintLayout {
    int thickness = 0;
    PixelRect track;  // empty when the arrows take the whole bar
    int trackFrame = 1;
    PixelRect firstArrow, secondArrow;
    int firstFrame = 0, secondFrame = 0;
    // The page area being pressed: drawn from the track's pressed frame while
    // the system pages, so the press shows where it acts.
    bool drawPressedPage = false;
    PixelRect pressedPage;
    int pressedPageFrame = 2;
    bool drawThumb = false;
    PixelRect thumb;
    int thumbFrame = 1;
    bool drawGrip = false;
    PixelRect grip;
    int gripFrame = 0;
};

ScrollPaintLayout scrollPaintLayout(const ScrollPaintInput& in);

}  // namespace qs
