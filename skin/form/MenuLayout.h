#pragma once
// The numbers of skinned menus: where the menu-bar buttons go, which one a
// point or an accelerator hits, where the keyboard walk goes next, how wide
// owner-drawn items are measured, where glyph, caption and shortcut sit in an
// item, and which part of the MenuItem strip makes a separator. Pure
// functions of numbers and strings; the menu bar and the item painter feed
// them what they measured and paint what they give.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "PixelView.h"

namespace qs {

// ---- menu bar -----------------------------------------------------------------

// Distance of the first button from the band's start edge (the left edge, or
// the right edge for right-to-left menus).
int MenuBarStartOffset(bool hasMenuBarElement, int elementLeftWidth, int elementRightWidth, bool rightToLeft,
                       int bandWidth);

// A measured caption gets 10 pixels of air; an empty one takes no room.
int MenuBarButtonWidth(int captionWidth);

struct MenuBarItem {
    int captionWidth = 0;  // measured text width, 0 for an empty caption
    bool visible = true;
};

// Button rectangles in window coordinates for a band (window coordinates).
// Invisible items get an empty rectangle. `rtlStartLimit` (band
// coordinates, -1 for none) holds right-to-left buttons left of something
// drawn at the band's right end (the buttons of a maximized MDI child).
std::vector<PixelRect> LayoutMenuBar(const PixelRect& band, const std::vector<MenuBarItem>& items, int startOffset,
                                     bool rightToLeft, int rtlStartLimit = -1);

// What hit testing and the keyboard need to know of a button.
struct MenuBarHit {
    PixelRect bounds;
    bool captionEmpty = false;
    bool visible = true;
    bool enabled = true;
};
// The first button whose rectangle holds the point and whose caption is not
// empty; -1 when none.
int MenuBarButtonAt(const std::vector<MenuBarHit>& buttons, int x, int y);

// The accelerator of a caption ("&File" -> 'F'; "&&" is a literal "&"); 0
// when there is none. The character is returned as written.
wchar_t MenuAccelChar(const std::wstring& caption);
// The first enabled, visible button whose accelerator equals `ch` ignoring
// case (`upper` folds case; simple ASCII folding when not given); -1 if none.
int FindAccelIndex(const std::vector<std::wstring>& captions, const std::vector<MenuBarHit>& buttons, wchar_t ch,
                   const std::function<wchar_t(wchar_t)>& upper = {});
// The button F10 (or Alt alone) opens: the first one that can be clicked.
int FirstMenuBarButton(const std::vector<MenuBarHit>& buttons);

// ---- keyboard walk between drop-downs -----------------------------------------

inline constexpr unsigned kVkLeft = 0x25;
inline constexpr unsigned kVkRight = 0x27;

// Right-to-left menus walk the other way round.
unsigned SwapArrowForRtl(unsigned vk, bool rightToLeft);

// Where an arrow key inside an open drop-down leads on the bar.
struct MenuWalkState {
    int openIndex = -1;            // the button whose drop-down is open
    bool inNestedSubMenu = false;  // the selected item lies below the drop-down's own items
    bool selectedHasSubItems = false;
};
// The index of the button to switch to, or -1 when the key keeps its system
// meaning (a nested sub-menu closes or opens). Buttons that take no room on
// the bar (hidden, empty caption) are stepped over; the ends wrap.
int MenuWalkTarget(unsigned vk, const MenuWalkState& s, const std::vector<MenuBarHit>& buttons);

// ---- item measuring -------------------------------------------------------------

// Width added to the toolkit's measure of a main-menu item (`popup` false) or
// of a pop-up menu item: the MenuItem element's LeftWidth (0 without one) and
// 10 (12 for pop-ups), or 35 when the menu has no image list.
int MenuItemExtraWidth(bool popup, bool hasMenuItemElement, int elementLeftWidth, bool menuHasImages);

struct ForeignItemSize {
    int width = 0;
    int height = 0;
};
// An item of a menu that is not ours: its text width + 26 (+ the element's
// LeftWidth); 8 high without text, else the system's height + 4 (+ 4 more on
// the old 16-bit-based systems).
ForeignItemSize MeasureForeignItem(int textWidth, bool hasText, int systemHeight, bool hasMenuItemElement,
                                   int elementLeftWidth, bool oldSystem);

// ---- item content layout --------------------------------------------------------

// Glyph size: 16, or the image list's width; a checked item at least 16.
int MenuGlyphSize(bool hasImageList, int imageListWidth, bool checked);

struct MenuItemContentInput {
    PixelRect item;             // the item rectangle
    int elementLeftWidth = 0;   // MenuItem element LeftWidth, 0 without one
    int glyphSize = 16;
    bool separator = false;
    int textWidth = 0;          // measured caption
    int textHeight = 0;
    int shortcutWidth = 0;      // 0 without a shortcut
    bool rightToLeft = false;
};
struct MenuItemContentLayout {
    PixelRect glyphBox;   // empty for a separator
    PixelRect text;       // where the caption is drawn (its measured height, centred)
    PixelRect shortcut;   // empty without a shortcut
};
// Left to right: glyph box at (left + 1 + LeftWidth, top + 1), caption 3
// pixels after it up to right - 1, shortcut right-aligned before right - 11.
// Right to left: the same mirrored about the item's vertical centre line.
MenuItemContentLayout LayoutMenuItemContent(const MenuItemContentInput& in);

// `r` mirrored inside `within` (left and right swap sides).
PixelRect MirrorRect(const PixelRect& r, const PixelRect& within);

// Top of an image of `imageHeight` centred in the item; a checked item with
// an image is centred as if 16 pixels tall.
int MenuImageTop(const PixelRect& item, int imageHeight, bool checked);

// ---- separators -------------------------------------------------------------------

struct SliceBlit {
    PixelRect src;
    PixelRect dst;
};
// A separator from frame 2 of the 5-frame MenuItem strip: the bottom band of
// the item's height (the whole frame when the item is taller), left and
// right caps at their widths and the middle stretched, bottom-aligned in an
// item-sized picture (0, 0, itemWidth, itemHeight). Caps that do not fit are
// dropped. Nothing for an empty strip or item.
std::vector<SliceBlit> SeparatorSlices(int bitmapWidth, int bitmapHeight, int leftWidth, int rightWidth,
                                       int itemWidth, int itemHeight);

}  // namespace qs
