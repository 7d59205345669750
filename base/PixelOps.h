#pragma once
// Whole-image transforms of skin bitmaps on plain pixel views: grey glyphs for
// disabled states, magenta keying, and the mirrored, flipped and turned
// variants of tab and track bar images. Pixels are 0x00RRGGBB; a routine that
// rewrites every pixel leaves the fourth byte 0, as a 24-bit bitmap would.
#include "Colour.h"
#include "PixelView.h"

namespace qs {

// Every pixel becomes its grey value (red + green + blue) / 3.
void GrayBitmap(const PixelView& v);

// Every pure magenta pixel becomes `c`. The colour number is taken as stored
// (red in its low byte); a system colour is not looked up.
void ReplaceMagenta(const PixelView& v, ColourNum c);

// Left-to-right mirror and upside-down flip, in place.
void MirrorBitmap(const PixelView& v);
void FlipBitmap(const PixelView& v);

// Quarter turns into a view of swapped size (dst.width == src.height and
// dst.height == src.width; returns false otherwise). RotateLeft turns counter-
// clockwise: the old top-right corner becomes the new top-left.
bool RotateLeft(const PixelView& src, const PixelView& dst);
bool RotateRight(const PixelView& src, const PixelView& dst);
// The same on an owned image, whose width and height swap.
void RotateLeft(PixelImage& img);
void RotateRight(PixelImage& img);

}  // namespace qs
