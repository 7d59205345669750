#pragma once
// Owner-drawn menu items in the skin's look. Each item is composed in a
// bitmap of its own size: first the piece of the menu window's background
// picture that lies under it (or the skin's Menu colour while there is none),
// then the MenuItem element's frame, glyph box, caption and shortcut; the
// result is copied to the menu's DC in one transfer. Items of toolkit menus
// and items of foreign Win32 menus are both painted from a plain view of the
// item, so both look the same.
#include <windows.h>

#include <string>

#include "Graphics.h"
#include "MenuLayout.h"

namespace qs {

class TSkinData;
class TMenuItem;
class TImageList;

// What the painter needs to know of one item.
struct TMenuItemView {
    std::wstring caption;   // with its '&' marks; "-" for a separator
    std::wstring shortcut;  // shortcut text, empty without one
    bool checked = false;
    bool enabled = true;
    bool isDefault = false;
    bool radio = false;
    bool rightToLeft = false;
    TImageList* images = nullptr;
    int imageIndex = -1;
    HMENU parentMenu = nullptr;  // the menu the item sits in
    bool IsLine() const { return caption == L"-"; }
    bool HasImage() const;
};

TMenuItemView ViewOfMenuItem(TMenuItem* item);
// An item of a Win32 menu by command (or by position when `byPosition`):
// its text up to 80 characters (a tab starts the shortcut), state and type.
TMenuItemView ViewOfWin32Item(HMENU menu, UINT idOrPosition, bool byPosition = false);

// The system menu font (regular), owned by the caller.
UniqueFont CreateMenuFont(bool bold = false);

// ---- measuring ------------------------------------------------------------------
// Main-menu items: the toolkit's own measure, then the skin's extra width.
void MeasureMenuItem(TSkinData* sd, TMenuItem* item, TCanvas& canvas, int& width, int& height);
// Pop-up items: called with the size the toolkit measured.
void MeasurePopupItem(TSkinData* sd, TMenuItem* item, TCanvas& canvas, int& width, int& height);
// The skin's extra width on top of the toolkit's measure of an item.
void AddSkinItemWidth(TSkinData* sd, TMenuItem* item, bool popup, int& width);
// WM_MEASUREITEM for an item of a foreign menu (text from the menu itself).
void MeasureForeignMenuItem(TSkinData* sd, HMENU menu, MEASUREITEMSTRUCT& mis);

// ---- painting ---------------------------------------------------------------------
// A toolkit item (the draw handler the menu hooks install).
void DrawMenuItem(TSkinData* sd, TMenuItem* item, TCanvas& canvas, const RECT& r, bool selected);
// Any item, given its view; the background picture is looked up by the
// view's parent menu.
void DrawMenuItemView(TSkinData* sd, const TMenuItemView& v, HDC dc, const RECT& r, bool selected);
// WM_DRAWITEM of a foreign menu item.
void DrawForeignMenuItem(TSkinData* sd, const DRAWITEMSTRUCT& dis);

// The pieces, on a DC holding an item-sized picture with its origin at the
// item's top-left corner (r is where the item is on that DC).
void DrawMenuSeparator(TSkinData* sd, HDC dc, const RECT& r);
void DrawMenuItemContent(TSkinData* sd, const TMenuItemView& v, HDC dc, bool selected, const RECT& r);
// Caption (or the etched line of "-") in the state's colour; `format` are
// DrawText flags.
void DrawMenuText(TSkinData* sd, const TMenuItemView& v, HDC dc, const std::wstring& text, RECT r, UINT format,
                  bool selected);

}  // namespace qs
