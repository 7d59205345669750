#pragma once
// Where the pieces of progress bars and media-player strips go: pure numbers,
// shared by the toolkit controls (which draw themselves) and their skins, and
// tested without windows.
#include <cstdint>
#include <vector>

#include "PixelView.h"

namespace qs {

// ---- progress bars ----

// A vertical bar is composed lying down and turned a quarter counter-clockwise
// at the end, so one routine fills both orientations. The size to compose at.
struct ProgressSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const ProgressSize&, const ProgressSize&) = default;
};
ProgressSize progressWorkSize(int width, int height, bool vertical);

// (a * b) / c rounded to the nearest integer, halves away from zero, computed
// without overflow; -1 when c is 0 (the rule of the system's MulDiv).
int mulDivRound(int a, int b, int c);

// Length of the filled part of a bar `width` pixels long. The bar counts from
// zero to the upper limit: the lower limit of the range plays no part. Nothing
// is filled unless position and upper limit are both above zero, and a
// position past the upper limit fills the bar and no more.
int progressBarLength(int width, int position, int upper);

// The cells a chunked bar shows: copies of a chunk `chunkWidth` wide at
// x = 0, chunkWidth, 2 * chunkWidth ... until the filled length is covered,
// the last one cut at `length`. Each cell spans [top, top + chunkHeight).
std::vector<PixelRect> progressChunkCells(int length, int chunkWidth, int chunkHeight, int top);

// Where a pixel of the lying-down work image lands once turned upright:
// work (x, y) of a work image `workWidth` wide becomes (y, workWidth - 1 - x),
// so the start of the bar (x = 0) ends up at the bottom.
struct ProgressPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ProgressPoint&, const ProgressPoint&) = default;
};
ProgressPoint progressUpright(int workWidth, int x, int y);

// ---- media-player button strips ----

// The transport buttons in strip order.
enum TMPBtnType : int { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
inline constexpr int kMPButtonCount = 9;
// "No button": what hit testing answers outside every cell.
inline constexpr int kMPNoButton = 9;
using TMPButtonSet = uint32_t;  // bit k = button k
inline constexpr TMPButtonSet kMPAllButtons = (1u << kMPButtonCount) - 1;

int mpVisibleCount(TMPButtonSet visible);
// Every visible button gets the same share of the width (the remainder stays
// empty at the right); 0 when no button shows.
int mpButtonWidth(int clientWidth, TMPButtonSet visible);
// Cell of button `button` (its left and right edge, the right exclusive for
// drawing); empty when the button is hidden.
PixelRect mpButtonCell(TMPButtonSet visible, int buttonWidth, int height, int button);
// The visible button whose cell holds x. A cell's right edge is inclusive, so
// the border between two cells belongs to the left one; kMPNoButton outside.
int mpHitTest(TMPButtonSet visible, int buttonWidth, int x);

}  // namespace qs
