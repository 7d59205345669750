#pragma once
// The skinned menu bar of a form skin: the window's menu stays on the window,
// as the program set it, and its top-level items are drawn in the band under
// the title, one TMenuBtn each; the system never lays out, draws or tracks its
// own bar there. A click opens the item's drop-down with TrackPopupMenu; while
// it is open a message-filter hook lets the arrow keys and the mouse walk to
// the neighbouring drop-downs as on a system menu bar.
#include <windows.h>

#include <memory>
#include <vector>

#include "Graphics.h"
#include "MenuLayout.h"
#include "NCObjects.h"

namespace qs {

class TWinSkinForm;
class TSkinData;
class TMainMenu;
class TMenuItem;

class TWinSkinMenu {
public:
    explicit TWinSkinMenu(TWinSkinForm* form);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    std::vector<std::unique_ptr<TMenuBtn>> FButtons;
    TMainMenu* FToolkitMenu = nullptr;
    RECT FBarRect{};  // the band in window coordinates at the last paint
    TSkinData* FSkinData = nullptr;
    TWinSkinForm* FForm = nullptr;
    TBitmap FBackground;  // the band as painted before the captions
    int FCount = 0;
    bool FPainting = false;
    HMENU FMenu = nullptr;

    // The buttons from the window's Win32 menu (toolkit items by command
    // supply caption, state and sub-menu).
    void RebuildFromWindowMenu();
    // The same from the toolkit menu's top-level items.
    void RebuildFromToolkitMenu();
    // After an MDI child's menu was merged in: like RebuildFromWindowMenu,
    // with captions the Win32 menu leaves empty taken from the toolkit; lays
    // the buttons out.
    void RebuildMerged();
    // Whether the menu holds the button's item enabled now (true when the
    // menu no longer has it where the button was made from).
    bool ItemEnabledNow(int index) const;
    // Whether the button still stands for an item of the menu on the window
    // (the program may have set another menu, or none, or destroyed it).
    bool ButtonIsCurrent(int index) const;
    // Rebuilds the buttons when the menu no longer reads as they show it;
    // true when it did.
    bool RefreshFromWindowMenu();
    // Button rectangles without painting.
    void Layout();
    // Paints the band (window coordinates) onto a window DC.
    void PaintBar(HDC dc, const RECT& band);
    // The first button with a caption under a window point; null if none.
    TMenuBtn* ButtonAt(POINT p);
    int IndexOf(const TMenuBtn* b) const;
    TMenuBtn* Button(int i) const { return i >= 0 && i < int(FButtons.size()) ? FButtons[std::size_t(i)].get() : nullptr; }

    // The band for the form's current metrics (window coordinates).
    RECT BandRect() const;
    bool IsRightToLeft() const;
    std::vector<MenuBarHit> Hits() const;
    int StartOffset(int bandWidth) const;
    // The caption buttons of a maximized MDI child (Visibility 100), placed
    // in the band; empty unless this is an MDI frame with such a child.
    std::vector<TWinSysButton*> MDIChildButtons() const;

private:
    void ClearButtons();
    std::unique_ptr<TMenuBtn> NewButton(int index);
    void ApplyToolkitItem(TMenuBtn& b, TMenuItem* item, bool caption);
    std::vector<MenuBarItem> MeasureItems(HDC dc) const;
    void RestoreUnder(HDC dc, const RECT& bounds) const;
};

// ---- drop-down tracking (one menu at a time in the process) -----------------------

struct TMenuTracking {
    HHOOK hook = nullptr;
    TWinSkinForm* form = nullptr;
    int openIndex = -1;
    HMENU trackedMenu = nullptr;
    TMenuItem* selectedItem = nullptr;   // toolkit item last selected, when known
    HMENU selectedMenu = nullptr;        // the menu holding the selected item
    bool selectedHasSubItems = false;
    bool switchPending = false;
    bool firstMessage = false;
    bool reopened = false;
    bool rightToLeft = false;
    int switchTarget = -1;               // the button to open once the current drop-down closed
    // The program heard of this walk's start already (a walk may track
    // several drop-downs, one after the other).
    bool initSent = false;
    bool enterSent = false;
    bool exitHeld = false;  // held back between two drop-downs, still owed
    POINT lastMouse{};
};
TMenuTracking& MenuTracking();

// Installs the WH_MSGFILTER hook for a drop-down of `form`'s bar.
void InstallMenuFilter(TWinSkinForm* form, int openIndex, HMENU tracked, bool rightToLeft);
void RemoveMenuFilter();

// Makes the items of one menu owner-drawn for as long as the bar's drop-down
// shows it (items the program draws itself stay as they are), and remembers
// the type and highlight the program gave each; RestoreOwnerDrawn gives every
// such item both back.
void MarkOwnerDrawn(HMENU menu);
void RestoreOwnerDrawn();

}  // namespace qs
