#pragma once
// The pure pieces of building element records: frame-count rules, the
// child-window button split, and the records the loader draws itself (the
// combo composite, the combo arrow strip, the toolbar gradient). They work on
// plain numbers and pixel views so that tests can call them directly; the
// Windows record builder only moves pixels in and out of bitmaps.
//
// Colours are colour numbers (0x00BBGGRR, or 0xFF0000nn for a system colour);
// pixels are 0x00RRGGBB. Like SkinDescription.h this header stays clear of
// both Colour.h and the toolkit's Graphics.h.
#include <cstdint>

#include "PixelView.h"

namespace qs {

inline constexpr uint32_t kMagentaPixel = 0xFF00FF;

struct TMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Frame `frame` (from 1) of a strip of `frameCount` equal frames side by side.
// A count below 1 counts as 1.
PixelRect stripFrameRect(int stripWidth, int stripHeight, int frameCount, int frame);

// Nine-part drawing of one frame into `dest` of `dst`: corners at their own
// size, edges stretched along their length, the centre tiled or stretched
// (nearest pixel, as GDI's COLORONCOLOR). When `dest` is narrower than the
// left and right margins together both are dropped; the same for heights.
// With `transparent`, magenta source pixels leave the destination as it was.
// Everything is clipped to `dest` and to both views.
void drawNineSlice(const PixelView& dst, PixelRect dest, const PixelView& src, int frameCount, int frame,
                   TMargins margins, bool tile, bool transparent);

// One frame at its own size, centred in `dest` (offsets truncated toward
// zero) and clipped to it.
void drawFrameCentred(const PixelView& dst, PixelRect dest, const PixelView& src, int frameCount, int frame,
                      bool transparent);

void fillRect(const PixelView& dst, PixelRect r, uint32_t pixel);

// What one skin load may decode, so that a small file cannot claim a huge
// image (RLE data states any size in a few bytes) or name one large image
// from every element: no image over kSkinImagePixels, and no more than
// kSkinPixelBudget pixels over all the images of the skin. A real skin uses
// well under a tenth of either. Images past the budget read as absent.
inline constexpr int64_t kSkinImagePixels = int64_t(1) << 21;
inline constexpr int64_t kSkinPixelBudget = int64_t(1) << 22;
struct TSkinPixelBudget {
    int64_t left = kSkinPixelBudget;
    // The most pixels the next image may have.
    int64_t next() const { return left < kSkinImagePixels ? left : kSkinImagePixels; }
    void spend(int64_t pixels) { left -= pixels < left ? pixels : left; }
};

// Check box and radio button strips given without a frame count: one frame per
// 13 pixels of width for strips under 16 pixels high, else per 16; at least 4.
int computedCheckFrames(int width, int height);

// Caption buttons given without a frame count (frameKey 0): 6, or 3 for an
// image at most 3.8 times as wide as high, and 6 again for a negative Action.
// An icon button (Action 3 or 11) loses its image: `clearImage` says so.
// A non-zero frame key is kept and the image with it.
int computedCaptionFrames(int frameKey, int action, int width, int height, bool& clearImage);

// The three child-window buttons cut from an [MDICONTROLS] image W pixels
// wide: with a = W / 12, button i (0..2) takes columns a*4*i to a*4*(i+1) and
// sits at Xcoord (a + 4) * (3 - i).
struct TMdiButtonCut {
    int sourceLeft = 0;
    int width = 0;
    int xcoord = 0;
};
TMdiButtonCut mdiButtonCut(int imageWidth, int index);

// The combo box composite: `cells` cells of 50 x 21 on magenta. Each cell k
// holds frame k of the sunken edge over the whole cell, frame k of the combo
// button in its rightmost `buttonWidth` pixels (magenta transparent), the arrow
// glyph (frame k of ExtraImages, if any) centred on the button, and a magenta
// edit area from (2, 2) to (49 - buttonWidth, 18).
struct TStripSource {
    PixelView view;
    int frames = 1;
    TMargins margins;
    bool tile = false;
    bool transparent = false;
};
inline constexpr int kComboCellWidth = 50;
inline constexpr int kComboCellHeight = 21;
PixelImage buildComboComposite(const TStripSource& sunkEdge, const TStripSource& button, const TStripSource* glyphs,
                               int cells, int buttonWidth);

// The arrow squares of a composite of `cells` cells: from each cell k (cell
// width w = composite width / cells) the 17 x 17 square at (k*w - 19, 2),
// placed side by side in a strip 17 pixels high.
inline constexpr int kComboArrowSize = 17;
PixelImage comboArrowStrip(const PixelView& composite, int cells);

// The colour of the skin's frame: the pixel at (width / 3, frame height / 3)
// of the top border, or `fallback` when the image is empty or the frame height
// is not positive.
int32_t borderColourOf(const PixelView& top, int frames, int32_t fallback);

// The toolbar background: a 10 x 40 vertical gradient from 15 % ButtonFace on
// white down to 15 % grey on the border colour, or, for a strongly saturated
// border colour, down to a lighter tint of the border colour itself.
inline constexpr int kToolbarWidth = 10;
inline constexpr int kToolbarHeight = 40;
int32_t toolbarTopColour(int32_t buttonFace);
int32_t toolbarBottomColour(int32_t borderColour);
PixelImage toolbarGradient(int32_t buttonFace, int32_t borderColour);

// Magenta pixels become `colour` (system colours are looked up first, so the
// result is the colour the user sees).
void replaceMagentaWith(const PixelView& v, int32_t colour);
// Left-to-right mirror with the fourth byte cleared, as a 24-bit copy would be.
void mirrorPixels(const PixelView& v);

}  // namespace qs
