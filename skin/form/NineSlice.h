#pragma once
// Where each piece of a skin element goes: which source rectangle of a frame
// strip is copied onto which destination rectangle when an element is
// stretched (nine-slice, three-slice), tiled or centred. Pure numbers, no
// drawing: the drawing routines only walk these lists, and tests check the
// lists directly.
#include <vector>

#include "PixelView.h"

namespace qs {

// The unscaled borders of an element (its LeftWidth, TopHeight, RightWidth,
// BottomHeight).
struct SliceMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const SliceMargins&, const SliceMargins&) = default;
};

// One copy: `src` (in the strip) onto `dst` (relative to the target's
// top-left corner). A tiled piece repeats `src` over `dst` instead of
// stretching it.
struct SlicePiece {
    PixelRect src;
    PixelRect dst;
    bool tile = false;
    friend bool operator==(const SlicePiece&, const SlicePiece&) = default;
};

// Frame `index` (counted from 1) of a strip of `count` equal frames, side by
// side or stacked (`vertical`). A count below 1 means one frame; an index
// outside 1..count is brought into that range, so a bad number from a skin
// never reads outside the strip.
PixelRect FrameInStrip(int stripWidth, int stripHeight, int count, int index, bool vertical);

// Margins that fit a target of width x height cut from `frame`: a pair of
// margins wider (taller) than the target, or than the frame itself, is
// dropped to 0 so the whole frame is stretched in that direction instead of
// corners overlapping or reading from the neighbouring frame.
SliceMargins FitMargins(int width, int height, const PixelRect& frame, SliceMargins m);

// The nine pieces in drawing order: top-left, bottom-left, top-right corners,
// left edge, top edge, centre, bottom-right corner, right edge, bottom edge.
// Corners keep their own size, edges stretch along their length, the centre
// is stretched or tiled. Pieces of zero size are left out.
std::vector<SlicePiece> NineSlicePieces(int width, int height, const PixelRect& frame, SliceMargins m,
                                        bool tileCentre);

// Left cap, the middle columns repeated from x = left while x < width − right
// (the last copy cut at the right cap), right cap; always the full frame
// height onto the full target height. Without a middle (left + right at least
// the frame width) only the caps.
std::vector<SlicePiece> ThreeSliceTiledPieces(int width, int height, const PixelRect& frame, int left, int right);

// Left cap, stretched middle, right cap; a target narrower than the frame
// gets the whole frame stretched into it.
std::vector<SlicePiece> ThreeSliceStretchedPieces(int width, int height, const PixelRect& frame, int left,
                                                  int right);

// Copies the pieces from `src` into `dst` with their targets moved by (x, y),
// pixel for pixel: the same pixels a device-context copy of each piece would
// give, without a device context. Tiles repeat inside their piece only;
// everything is clipped to `dst`. Only for pieces that need no stretching
// (each copied at its own size, or tiled) and lie inside `src`: otherwise
// nothing is written and the answer is false.
bool CopyPieces(const PixelView& dst, int x, int y, const PixelView& src, const std::vector<SlicePiece>& pieces);

// Top-left corner at which a tileW x tileH picture is centred in `area`
// (halves truncated toward zero, so a larger picture overhangs both sides).
PixelRect CentredRect(const PixelRect& area, int tileW, int tileH);

// Destination rectangles of a tileW x tileH tile repeated over `dest` from
// its top-left corner, left to right and top to bottom. The last column and
// row may overhang `dest`. Nothing for an empty tile or destination.
std::vector<PixelRect> TilePositions(const PixelRect& dest, int tileW, int tileH);

}  // namespace qs
