#pragma once
// Menus: a tree of TMenuItem under a TMainMenu (a window's menu bar) or a
// TPopupMenu (a context menu), mirrored into Win32 menus on demand.
//
// Wiring for window code (forms, controls):
//   * Every window that owns a toolkit menu, or pops one up with itself as
//     owner, passes WM_COMMAND, WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM
//     and WM_MENUCHAR to HandleMenuMessage first; when it returns true the
//     message is answered with `result`. Commands are unique in the process,
//     so this finds the item whatever menu it is in.
//   * A form shows its main menu with TMainMenu::AttachTo(hwnd) and calls
//     Detach() on WM_DESTROY at the latest: Windows destroys a menu that is
//     still set on a dying window, and the menu's handles belong to the items.
//   * Key presses: TMenu::IsShortCut(vk) runs the item whose ShortCut matches
//     with the current Shift/Ctrl/Alt state (call it from WM_KEYDOWN /
//     WM_SYSKEYDOWN before the control handles the key).
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Graphics.h"
#include "ImgList.h"
#include "core/Component.h"

namespace qs {

class TMenu;
class TMenuItem;

// (sender, canvas on the menu's DC, item rectangle, selected)
using TMenuDrawItemEvent = std::function<void(TObject*, TCanvas*, RECT, bool)>;
// (sender, canvas with the menu font, width, height): called with the default
// size already measured; the handler may change both.
using TMenuMeasureItemEvent = std::function<void(TObject*, TCanvas*, int&, int&)>;

enum class TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum class TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum class TPopupAlignment { paLeft, paRight, paCenter };

// A key with modifier bits, as stored in form definitions.
using TShortCut = int;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut MakeShortCut(WORD key, TShortCut modifiers) { return TShortCut(key & 0xFF) | modifiers; }
// "Ctrl+S", "Shift+Ctrl+F5", "Del"; empty for scNone.
std::wstring ShortCutToText(TShortCut sc);
// The reverse; scNone for text it does not understand.
TShortCut TextToShortCut(std::wstring_view text);

// "&File" -> "File", "&&" -> "&".
std::wstring StripHotkey(std::wstring_view caption);
// The accelerator character of a caption, upper-cased; 0 when there is none.
wchar_t GetHotkey(std::wstring_view caption);

// The font menus are drawn in (the system's menu font).
LOGFONTW MenuLogFont();

class TMenuItem : public TComponent {
    QS_DECLARE_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner = nullptr);
    ~TMenuItem() override;

    const std::wstring& Caption() const { return FCaption; }
    void SetCaption(std::wstring_view caption);
    // A caption of "-" makes a separator line.
    bool IsLine() const { return FCaption == L"-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool on);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);
    bool Visible() const { return FVisible; }
    void SetVisible(bool on);
    bool Default() const { return FDefault; }
    void SetDefault(bool on);
    // Checking a radio item unchecks the other radio items of its group
    // under the same parent.
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool on);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int g);
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool on) { FAutoCheck = on; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int i);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut sc);
    const std::wstring& Hint() const { return FHint; }
    void SetHint(std::wstring_view h) { FHint = h; }

    // The item's identifier in Win32 menus (WM_COMMAND): unique in the
    // process while the item lives, in 1..0xEFFF.
    UINT Command() const { return FCommand; }

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    // Children. Add/Insert take an item from any other parent; Remove gives it
    // back without freeing it; Delete and Clear free.
    int Count() const { return int(FItems.size()); }
    TMenuItem* Items(int i) const { return i >= 0 && i < Count() ? FItems[size_t(i)] : nullptr; }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    void Delete(int index);
    void Clear();
    // The child whose caption, without accelerator marks, is `caption`.
    TMenuItem* Find(std::wstring_view caption) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    // The menu this item belongs to, through its parents; null when loose.
    TMenu* GetParentMenu() const;

    // The Win32 menu holding this item's children (for the root item, the
    // menu's own handle), made on demand and kept up to date.
    HMENU Handle();
    bool HandleAllocated() const { return bool(FHandle); }

    // AutoCheck toggling, then OnClick. Nothing for a disabled item.
    virtual void Click();
    // The default size, then OnMeasureItem.
    void MeasureItem(TCanvas& canvas, int& width, int& height);
    // OnDrawItem when set, else the default look.
    void DrawItem(TCanvas& canvas, RECT rect, bool selected);
    // The toolkit's own rules, without the events.
    void MeasureDefault(TCanvas& canvas, int& width, int& height);
    void DrawDefault(TCanvas& canvas, RECT rect, bool selected);

    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;

    // Process-wide lookup by command (what HandleMenuMessage uses).
    static TMenuItem* FromCommand(UINT command);

private:
    friend class TMenu;
    void Changed(bool structure);
    void RebuildHandle();
    void RebuildTree();
    void DestroyHandle();
    TMenuItem* FindByHandle(HMENU h);
    TMenuItem* FindByShortCut(TShortCut sc);

    std::wstring FCaption;
    std::wstring FHint;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    bool FAutoCheck = false;
    int FGroupIndex = 0;
    int FImageIndex = -1;
    TShortCut FShortCut = scNone;
    UINT FCommand = 0;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on the root item of a menu
    std::vector<TMenuItem*> FItems;
    UniqueMenu FHandle;
};

class TMenu : public TComponent {
    QS_DECLARE_CLASS(TMenu)
public:
    explicit TMenu(TComponent* owner = nullptr);
    ~TMenu() override;

    // The root item: its children are the menu's items.
    TMenuItem* Items() const { return FItems; }
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* images);
    // Items become MFT_OWNERDRAW and are measured and drawn through
    // TMenuItem::MeasureItem / DrawItem (a main menu's bar items excepted).
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool on);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode m);
    bool IsRightToLeft() const { return FBiDiMode != TBiDiMode::bdLeftToRight; }

    HMENU Handle() { return FItems->Handle(); }
    bool HandleAllocated() const { return FItems->HandleAllocated(); }
    // Re-enters every item into its Win32 menu, so the system measures
    // owner-drawn items again (after new measure handlers, for example).
    void Rebuild();
    // True for a window's menu bar, whose own items are never owner-drawn.
    virtual bool IsMenuBar() const { return false; }

    TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
    // Runs the Click of the item with this command; false when it is not here.
    bool DispatchCommand(UINT command);
    // Runs the Click of the item whose sub-menu is `submenu` (a sub-menu
    // about to open); false when it is not here.
    bool DispatchPopup(HMENU submenu);
    // Runs the item whose ShortCut is `vk` with the current modifier keys.
    bool IsShortCut(WORD vk);

protected:
    friend class TMenuItem;
    virtual HMENU CreateMenuHandle() { return ::CreatePopupMenu(); }
    // The Win32 menu changed (a main menu redraws its bar).
    virtual void MenuChanged() {}
    void Notification(TComponent* c, TOperation op) override;

private:
    TMenuItem* FItems;
    TImageList* FImages = nullptr;
    bool FOwnerDraw = false;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
};

class TMainMenu : public TMenu {
    QS_DECLARE_CLASS(TMainMenu)
public:
    explicit TMainMenu(TComponent* owner = nullptr);
    ~TMainMenu() override;

    // SetMenu(wnd, Handle()) and remember the window for redraws.
    void AttachTo(HWND wnd);
    // Takes the menu off the window (when it is still there) and forgets it.
    void Detach();
    HWND WindowHandle() const { return FWindow; }
    bool IsMenuBar() const override { return true; }

protected:
    HMENU CreateMenuHandle() override { return ::CreateMenu(); }
    void MenuChanged() override;

private:
    HWND FWindow = nullptr;
};

class TPopupMenu : public TMenu {
    QS_DECLARE_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner = nullptr);
    ~TPopupMenu() override;

    // Screen coordinates. Runs OnPopup, shows the menu (modal, like every
    // Win32 pop-up menu) and then the OnClick of the chosen item.
    void Popup(int x, int y);
    // Read by controls on WM_CONTEXTMENU: pop up by themselves or not.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool on) { FAutoPopup = on; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment a) { FAlignment = a; }
    // The control the menu was popped up for (set by the control).
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* c) { FPopupComponent = c; }
    POINT PopupPoint() const { return FPopupPoint; }
    // The window that owns the menu while it shows (receives WM_DRAWITEM and
    // the other menu messages). Null: a hidden window of the toolkit.
    HWND OwnerWindow() const { return FOwnerWindow; }
    void SetOwnerWindow(HWND wnd) { FOwnerWindow = wnd; }

    TNotifyEvent OnPopup;

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = TPopupAlignment::paLeft;
    TComponent* FPopupComponent = nullptr;
    POINT FPopupPoint{-1, -1};
    HWND FOwnerWindow = nullptr;
};

// Answers the menu messages of toolkit menus (see the top of this file).
bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Registers TImageList, TTimer, TMainMenu, TPopupMenu and TMenuItem with the
// class registry so form definitions can create them.
void RegisterGraphicsClasses();

}  // namespace qs
