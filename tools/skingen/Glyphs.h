#pragma once
// Simple vector glyphs drawn anti-aliased at any size: the caption-button
// symbols, check marks, radio dots, arrows and grips. Each is placed in a
// square box of side `size` centred on (cx, cy); `stroke` is the line width.
#include "Raster.h"

namespace qs::gen {

enum class Glyph {
    Close,
    Maximize,
    Restore,
    Minimize,
    Help,
    Check,
    Mixed,      // the indeterminate mark of a check box
    Dot,        // radio mark
    ArrowUp,    // filled triangles
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    ChevronUp,  // open strokes
    ChevronDown,
    ChevronLeft,
    ChevronRight,
};

void drawGlyph(Raster& r, Glyph g, double cx, double cy, double size, Px colour, double stroke = 1.5);

// Three short parallel lines across a thumb (vertical lines when `across` is
// horizontal movement) centred on (cx, cy).
void drawGrip(Raster& r, double cx, double cy, bool verticalLines, int length, Px dark, Px light);

// The dotted triangle of a size grip in the bottom-right corner of `box`.
void drawSizeGrip(Raster& r, PixelRect box, Px dark, Px light);

}  // namespace qs::gen
