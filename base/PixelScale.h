#pragma once
// Skin art at another display density. A skin is drawn for 96 dots per inch;
// at another density its lengths are multiplied by dpi / 96 and its images
// are enlarged piece by piece: each frame of a strip is cut along its
// margins into nine bands, and every band is resampled on its own, so a
// corner stays a square corner, nothing of an edge bleeds into a corner, and
// a tiled middle is enlarged before it is tiled. The pixels equal to the key
// colour (magenta) stay exactly where nearest-neighbour puts them, so a shaped
// outline keeps a clean edge and no colour is ever mixed with the key.
#include <cstdint>

#include "PixelView.h"

namespace qs {

inline constexpr int kBaseDpi = 96;

// A 96-dpi length at `dpi`, rounded to the nearest pixel (halves away from
// zero). 0 stays 0 and the sign is kept; a result past an int saturates.
int ScaleLength(int v, int dpi);

// Cuts of one axis: [0, lo) [lo, hi) [hi, size) become [0, slo) [slo, shi)
// [shi, scaledSize). Each margin is scaled on its own and rounded, so the
// scaled margins are exactly the scaled description values; the middle takes
// what rounding leaves (never less than one pixel when it had any). Margins
// that do not fit the size count as none.
struct ScaledAxis {
    int lo = 0, hi = 0;    // source cuts
    int slo = 0, shi = 0;  // scaled cuts
    int size = 0, scaledSize = 0;
};
ScaledAxis ScaleAxis(int size, int lowMargin, int highMargin, int num, int den);

// How a band is resampled: nearest-neighbour when the factor num / den is a
// whole number (pixel art stays pixel art at 200 %), else bilinear over the
// band's own pixels; key-coloured pixels take part in neither.
bool WholeFactor(int num, int den);

// Resamples src[sr] into dst[dr] (both rectangles inside their views).
// `key` is the pixel value (0x00RRGGBB) that is never blended.
void ResampleRect(const PixelView& src, const PixelRect& sr, const PixelView& dst, const PixelRect& dr, bool nearest,
                  uint32_t key);

// A strip of `frames` equal frames (side by side, or stacked when
// `vertical`) with the margins of one frame, at num / den of its size. Each
// frame is scaled as nine bands; the result is again a strip of `frames`
// equal frames. A frame count that does not divide the strip scales the
// strip as one frame; an empty image or a bad factor gives an empty image.
// The pixels ScaleStrip gives for a width × height strip with these
// arguments, counted without making them: callers with a budget ask first.
int64_t ScaledStripPixels(int width, int height, int frames, bool vertical, int left, int top, int right, int bottom,
                          int num, int den);
PixelImage ScaleStrip(const PixelView& src, int frames, bool vertical, int left, int top, int right, int bottom,
                      int num, int den, uint32_t key = 0xFF00FF);

}  // namespace qs
