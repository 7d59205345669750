#pragma once
// Where tabs, panes, close boxes, header hot zones and glyph cells go, as pure
// functions of numbers (no windows.h): the tab and header skins and the tab
// set paint from these results, and tests call them directly.
//
// A tab strip along the left or right side is composed lying down, as if the
// tabs were on top, and turned upright at the end (left tabs a quarter turn
// counter-clockwise, right tabs clockwise); bottom tabs use the tab image
// turned upside down. The functions below map between the window and that
// lying-down buffer.
#include <cstdint>
#include <vector>

#include "PixelView.h"

namespace qs {

enum TTabOrientation : uint8_t { toTop = 0, toBottom = 1, toLeft = 2, toRight = 3 };

// From a tab window's style: bottom (0x2) with vertical (0x80) is right.
TTabOrientation tabOrientationFromStyle(uint32_t style);

// The pane rectangle from the display rectangle: four pixels out on each
// side, then one pixel toward the side away from the tabs.
PixelRect tabPaneRect(const PixelRect& display, TTabOrientation o);
// The band of the window the tabs live in, between the window edge and the pane.
PixelRect tabStripRect(const PixelRect& window, const PixelRect& pane, TTabOrientation o);

struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};
// The lying-down buffer's size: the strip's, turned for left and right tabs.
PixelSize tabBufferSize(const PixelRect& strip, TTabOrientation o);

// A tab's rectangle (window coordinates) in the lying-down buffer.
// `windowRight` is the window's right edge (right tabs measure from it).
PixelRect tabToBuffer(const PixelRect& tab, TTabOrientation o, const PixelRect& strip, const PixelRect& pane,
                      int windowRight);
// The inverse placement: a rectangle of the buffer in window coordinates once
// the buffer is turned upright and copied to the strip's top-left.
PixelRect bufferToWindow(const PixelRect& r, TTabOrientation o, const PixelRect& strip);

// The close box of a tab lying in the buffer: six pixels square, two in from
// the tab's outer right corner.
PixelRect tabCloseBox(const PixelRect& tabInBuffer);

// Pane margins: the TabPane element's when the tab element asks for it (style
// other than 0), else four all round with five on top.
PixelRect tabPaneMargins(int tabsStyle, const PixelRect& tabPaneElementMargins);

// The older tab set: from `first` on, each tab is its text width plus 9; a tab
// that does not fit before the end margin (with 12 more kept free for a
// visible scroller) is skipped and the next one tried. Tabs before `first`
// and skipped ones get an empty rectangle.
std::vector<PixelRect> tabSetLayout(const std::vector<int>& textWidths, int first, int startMargin, int endMargin,
                                    int width, int height, bool scrollerVisible);

// Header items: the hot zone is the item narrowed by 3 on each side, so the
// border between two items belongs to neither.
PixelRect headerHotZone(const PixelRect& item);
// The hot item after the mouse moved to (x, y): the zone under the point, or
// `current` when the point is in no zone (the border between items).
int headerHotAfterMove(const std::vector<PixelRect>& zones, int x, int y, int current);

// Glyph strips for controls that take a custom strip: which frame (from 0) of
// the skin's check (mode 1, 9 cells) or radio (mode 2, 6 cells) strip goes to
// `cell`; -1 leaves the cell as the new strip was.
int glyphCellSource(int mode, int cell, int skinFrames);
int glyphCellCount(int mode);

}  // namespace qs
