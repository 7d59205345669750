#pragma once
// The drawing routines every skinned surface is made with: cut a frame out
// of a strip, stretch it keeping its margins (nine-slice, three-slice), tile
// it, draw it with a transparent key colour, and turn a picture's opaque
// pixels into a window region. Each works on a temporary off-screen bitmap
// and ends with one transfer to the target, so nothing shows half-drawn.
// Where the pieces go is decided by NineSlice.h; these routines only copy.
#include <windows.h>

#include <memory>

#include "Graphics.h"
#include "Handles.h"

namespace qs {

class TControl;

inline constexpr COLORREF kSkinKeyColour = RGB(255, 0, 255);

// A new bitmap of the target's size holding frame `frameIndex` (from 1) of
// the strip stretched with unscaled margins (left, top, right, bottom).
// Null for an empty target or picture. The caller owns the result.
std::unique_ptr<TBitmap> BuildNineSlice(const RECT& target, TBitmap& bmp, const RECT& margins, bool vertical,
                                        bool tile, int frameCount, int frameIndex);
void DrawNineSlice(HDC dc, const RECT& r, TBitmap& bmp, bool vertical, bool tile, bool transparent, int frameCount,
                   int frameIndex, const RECT& margins);
// Caps of margins.left and margins.right columns, the middle repeated.
void DrawThreeSliceTiled(TCanvas& canvas, const RECT& r, TBitmap& bmp, bool vertical, bool transparent,
                         int frameCount, int frameIndex, const RECT& margins);
void DrawThreeSliceStretched(HDC dc, const RECT& r, TBitmap& bmp, bool vertical, int frameCount, int frameIndex,
                             const RECT& margins);
// A frame of a strip laid side by side, stretched into the rectangle.
void DrawFrame(HDC dc, const RECT& r, TBitmap& bmp, bool transparent, int frameCount, int frameIndex);
// A frame at its own size, centred in the rectangle.
void DrawFrameCentred(HDC dc, const RECT& r, TBitmap& bmp, bool transparent, int frameCount, int frameIndex);
// The picture at the rectangle's top-left corner (clipped to the rectangle,
// not stretched); pixels of the key colour leave the destination as it was.
void DrawTransparent(HDC dc, const RECT& r, TBitmap& bmp, COLORREF key = kSkinKeyColour);
// `src` of the picture repeated over `dest` from its top-left corner.
void TileBitmap(TCanvas& canvas, const RECT& dest, TBitmap& bmp, const RECT& src);
// The picture's pixels outside the key range, moved by (dx, dy), as one
// region (empty when every pixel is transparent). The caller owns it.
UniqueRegion BitmapToRegion(TBitmap& bmp, int dx, int dy, int tolB, int tolG, int tolR,
                            COLORREF key = kSkinKeyColour);
UniqueRegion BitmapToRegion(const PixelView& pixels, int dx, int dy, int tolB, int tolG, int tolR,
                            COLORREF key = kSkinKeyColour);
// The nine-slice of BuildNineSlice written straight into the pixels of
// `dst` at `target`, without a temporary picture or a device context; false
// (nothing written) when a piece would have to be stretched, which only the
// device-context routines do.
bool NineSliceToPixels(const PixelView& dst, const RECT& target, TBitmap& bmp, const RECT& margins, bool vertical,
                       bool tile, int frameCount, int frameIndex);
// Frame `frameIndex` of a strip laid side by side, at its own size, over the
// pixels of `dst` at (x, y): the key colour leaves the pixel below, as
// DrawFrame does. False (nothing written) when the frame is not w x h or
// does not fit.
bool KeyedFrameToPixels(const PixelView& dst, int x, int y, int w, int h, TBitmap& strip, int frameCount,
                        int frameIndex);
// The parent's background and painting under the control, drawn into `dc`
// (which shows the control's client area).
void PaintParentBackground(TControl* control, HDC dc);

// The DC routines on plain device contexts, for callers that hold no canvas.
void TileBitmapDC(HDC dc, const RECT& dest, TBitmap& bmp, const RECT& src);

}  // namespace qs
