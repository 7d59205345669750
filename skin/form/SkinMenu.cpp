#include "SkinMenu.h"

#include <algorithm>

#include "Forms.h"
#include "MenuPaint.h"
#include "Menus.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinRecords.h"

namespace qs {

namespace {

constexpr int kMenuTextLimit = 80;

PixelRect toPixel(const RECT& r) { return PixelRect{r.left, r.top, r.right, r.bottom}; }
RECT toRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

TDataSkinObject* menuBarElement(TSkinData* sd) {
    if (!sd || !sd->SkinLoaded()) return nullptr;
    TDataSkinObject* e = sd->MenuBar();
    return e && !e->Bitmap.Empty() ? e : nullptr;
}

}  // namespace

TWinSkinMenu::TWinSkinMenu(TWinSkinForm* form) : FForm(form) {
    if (form) FSkinData = form->Art();
}

TWinSkinMenu::~TWinSkinMenu() {
    TMenuTracking& t = MenuTracking();
    if (t.form == FForm) t.openIndex = -1;
    ClearButtons();
}

void TWinSkinMenu::ClearButtons() {
    if (FForm && FForm->FHotObject)
        for (auto& b : FButtons)
            if (FForm->FHotObject == b.get()) FForm->FHotObject = nullptr;
    FButtons.clear();
    FCount = 0;
}

std::unique_ptr<TMenuBtn> TWinSkinMenu::NewButton(int index) {
    auto b = std::make_unique<TMenuBtn>();
    b->FForm = FForm;
    b->FSkinData = FSkinData;
    b->FIndex = index;
    b->FVisible = true;
    b->FState = ncsNormal;
    b->FRestoreBackground = [this](HDC dc, const RECT& bounds) { RestoreUnder(dc, bounds); };
    return b;
}

void TWinSkinMenu::ApplyToolkitItem(TMenuBtn& b, TMenuItem* item, bool caption) {
    if (!item) return;
    if (caption) b.FCaption = item->Caption();
    b.FItemEnabled = item->Enabled();
    b.FItem = item;
    b.FSubMenu = item->Count() > 0 ? item->Handle() : nullptr;
}

namespace {
// A top-level item of a window's menu as the button shows it (left as made
// when the system cannot read the item).
void readWindowMenuItem(HMENU menu, int i, TMenuBtn& b) {
    wchar_t text[kMenuTextLimit + 1] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = kMenuTextLimit;
    if (!::GetMenuItemInfoW(menu, UINT(i), TRUE, &mii)) return;
    b.FSubMenu = mii.hSubMenu;
    b.FItemEnabled = (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
    b.FCommand = mii.wID;
    b.FCaption.assign(text, wcsnlen(text, kMenuTextLimit));
}
}  // namespace

void TWinSkinMenu::RebuildFromWindowMenu() {
    if (!FForm || !FForm->FHandle) return;
    if (HMENU m = ::GetMenu(FForm->FHandle)) FMenu = m;
    if (!FMenu) return;
    if (FForm->FControl) {
        FToolkitMenu = FForm->FControl->Menu();
        if (!FToolkitMenu) return;
    }
    ClearButtons();
    const int n = ::GetMenuItemCount(FMenu);
    FCount = std::max(n, 0);
    for (int i = 0; i < FCount; ++i) {
        auto b = NewButton(i);
        readWindowMenuItem(FMenu, i, *b);
        if (FToolkitMenu) ApplyToolkitItem(*b, FToolkitMenu->FindItem(b->FCommand, TFindItemKind::fkCommand), true);
        FButtons.push_back(std::move(b));
    }
}

bool TWinSkinMenu::ItemEnabledNow(int index) const {
    const TMenuBtn* b = Button(index);
    if (!b || !FMenu || !::IsMenu(FMenu)) return true;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_STATE | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(FMenu, UINT(b->FIndex), TRUE, &mii) || mii.hSubMenu != b->FSubMenu) return true;
    return (mii.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
}

bool TWinSkinMenu::ButtonIsCurrent(int index) const {
    const TMenuBtn* b = Button(index);
    if (!b || !FForm || !FMenu || !::IsMenu(FMenu) || ::GetMenu(FForm->FHandle) != FMenu) return false;
    if (b->FSubMenu && !::IsMenu(b->FSubMenu)) return false;
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_ID | MIIM_SUBMENU;
    if (!::GetMenuItemInfoW(FMenu, UINT(b->FIndex), TRUE, &mii)) return false;
    return mii.hSubMenu == b->FSubMenu && (b->FSubMenu || mii.wID == b->FCommand);
}

bool TWinSkinMenu::RefreshFromWindowMenu() {
    if (!FForm || !FForm->FHandle) return false;
    HMENU shown = ::GetMenu(FForm->FHandle);
    HMENU menu = shown ? shown : FMenu;
    if (!menu || !::IsMenu(menu)) return false;
    bool same = menu == FMenu && ::GetMenuItemCount(menu) == int(FButtons.size());
    for (int i = 0; same && i < int(FButtons.size()); ++i) {
        TMenuBtn fresh;
        readWindowMenuItem(menu, i, fresh);
        const TMenuBtn& b = *FButtons[std::size_t(i)];
        if (FToolkitMenu)
            if (TMenuItem* item = FToolkitMenu->FindItem(fresh.FCommand, TFindItemKind::fkCommand)) {
                fresh.FCaption = item->Caption();
                fresh.FItemEnabled = item->Enabled();
                fresh.FSubMenu = item->Count() > 0 ? item->Handle() : nullptr;
            }
        same = b.FIndex == i && b.FCommand == fresh.FCommand && b.FSubMenu == fresh.FSubMenu &&
               b.FItemEnabled == fresh.FItemEnabled && b.FCaption == fresh.FCaption;
    }
    if (same) return false;
    if (shown) FMenu = shown;
    RebuildFromWindowMenu();
    return true;
}

void TWinSkinMenu::RebuildFromToolkitMenu() {
    if (!FForm || !FForm->FHandle) return;
    if (FForm->FControl) FToolkitMenu = FForm->FControl->Menu();
    if (!FToolkitMenu) return;
    if (!FMenu) FMenu = ::GetMenu(FForm->FHandle);
    ClearButtons();
    TMenuItem* root = FToolkitMenu->Items();
    FCount = root ? root->Count() : 0;
    for (int i = 0; i < FCount; ++i) {
        TMenuItem* item = root->Items(i);
        auto b = NewButton(i);
        b->FVisible = item->Visible();
        b->FCommand = item->Command();
        ApplyToolkitItem(*b, item, true);
        FButtons.push_back(std::move(b));
    }
}

void TWinSkinMenu::RebuildMerged() {
    if (!FForm || !FForm->FHandle) return;
    if (HMENU m = ::GetMenu(FForm->FHandle)) FMenu = m;
    if (!FMenu) return;
    if (FForm->FControl) FToolkitMenu = FForm->FControl->Menu();
    ClearButtons();
    const int n = ::GetMenuItemCount(FMenu);
    FCount = std::max(n, 0);
    for (int i = 0; i < FCount; ++i) {
        auto b = NewButton(i);
        readWindowMenuItem(FMenu, i, *b);
        // Merged child items come without text: the toolkit knows it.
        if (b->FCaption.empty() && FToolkitMenu) {
            TMenuItem* item = TMenuItem::FromCommand(b->FCommand);
            if (item && item->GetParentMenu()) ApplyToolkitItem(*b, item, true);
        }
        FButtons.push_back(std::move(b));
    }
    Layout();
}

RECT TWinSkinMenu::BandRect() const {
    if (!FForm || !FForm->FHandle) return RECT{};
    RECT wr{};
    ::GetWindowRect(FForm->FHandle, &wr);
    const int W = wr.right - wr.left;
    return RECT{FForm->FLeftWidth, FForm->FTitleHeight, W - FForm->FRightWidth,
                FForm->FTitleHeight + FForm->FMenuHeight};
}

bool TWinSkinMenu::IsRightToLeft() const {
    if (FToolkitMenu) return FToolkitMenu->IsRightToLeft();
    if (FMenu && ::GetMenuItemCount(FMenu) > 0) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE;
        if (::GetMenuItemInfoW(FMenu, 0, TRUE, &mii) && (mii.fType & MFT_RIGHTORDER)) return true;
    }
    return false;
}

int TWinSkinMenu::StartOffset(int bandWidth) const {
    TDataSkinObject* e = menuBarElement(FSkinData);
    return MenuBarStartOffset(e != nullptr, e ? e->LeftWidth : 0, e ? e->RightWidth : 0, IsRightToLeft(), bandWidth);
}

std::vector<MenuBarItem> TWinSkinMenu::MeasureItems(HDC dc) const {
    std::vector<MenuBarItem> items;
    for (const auto& b : FButtons) {
        MenuBarItem it;
        it.visible = b->FVisible;
        if (!b->FCaption.empty()) {
            RECT r{0, 0, 0, 0};
            ::DrawTextW(dc, b->FCaption.c_str(), int(b->FCaption.size()), &r, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
            it.captionWidth = r.right - r.left;
        }
        items.push_back(it);
    }
    return items;
}

void TWinSkinMenu::Layout() {
    const RECT band = BandRect();
    if (band.right <= band.left || band.bottom <= band.top) return;
    ClientDCScope screen(nullptr);
    UniqueFont font = CreateMenuFont();
    SelectObjectScope sel(screen.get(), font.get());
    const auto rects =
        LayoutMenuBar(toPixel(band), MeasureItems(screen.get()), StartOffset(band.right - band.left), IsRightToLeft());
    for (std::size_t i = 0; i < FButtons.size() && i < rects.size(); ++i) FButtons[i]->FBoundsRect = toRect(rects[i]);
}

void TWinSkinMenu::PaintBar(HDC dc, const RECT& band) {
    const int W = band.right - band.left, H = band.bottom - band.top;
    if (!dc || W <= 0 || H <= 0 || !FForm) return;
    TBitmap work(W, H);
    HDC wdc = work.Canvas()->Handle();
    const RECT local{0, 0, W, H};
    if (TDataSkinObject* e = menuBarElement(FSkinData)) {
        const int frame = FForm->FActive ? 1 : 2;
        if (e->Tile == 1) {
            DrawNineSlice(wdc, local, e->Bitmap, true, false, false, 2, frame, e->Margins());
        } else {
            TCanvas canvas(wdc);
            DrawThreeSliceTiled(canvas, local, e->Bitmap, true, false, 2, frame, e->Margins());
            canvas.ReleaseSelections();
        }
    } else {
        UniqueBrush b(::CreateSolidBrush(ColorToRGB(FSkinData ? FSkinData->Menubar : TColor(clMenuBar))));
        ::FillRect(wdc, &local, b.get());
    }
    ::GdiFlush();
    FBarRect = band;
    FBackground = work;

    // A maximized MDI child shows its buttons at the band's right end.
    const std::vector<TWinSysButton*> mdiButtons = MDIChildButtons();
    int rtlLimit = -1;
    for (TWinSysButton* b : mdiButtons) {
        const int left = b->FBoundsRect.left - band.left - 5;
        rtlLimit = rtlLimit < 0 ? left : std::min(rtlLimit, left);
    }

    UniqueFont font = CreateMenuFont();
    SelectObjectScope sel(wdc, font.get());
    ::SetBkMode(wdc, TRANSPARENT);
    FPainting = true;
    const auto rects = LayoutMenuBar(toPixel(band), MeasureItems(wdc), StartOffset(W), IsRightToLeft(),
                                     IsRightToLeft() ? std::max(rtlLimit, -1) : -1);
    const TMenuTracking& t = MenuTracking();
    UniqueBrush hilight(::CreateSolidBrush(ColorToRGB(FSkinData ? FSkinData->ButtonHilight : TColor(clBtnHighlight))));
    for (std::size_t i = 0; i < FButtons.size() && i < rects.size(); ++i) {
        TMenuBtn& b = *FButtons[i];
        b.FSkinData = FSkinData;  // the skin may have changed since the rebuild
        b.FBoundsRect = toRect(rects[i]);
        if (!b.FVisible || rects[i].empty()) continue;
        RECT r{rects[i].left - band.left, 0, rects[i].right - band.left, H - 1};
        // The button whose drop-down is open keeps its frame; the others are
        // drawn plain (the frame paint forgets the hot object).
        const bool open = t.form == FForm && t.openIndex == int(i);
        if (!open && b.FState != ncsNormal) b.FState = ncsNormal;
        if (open) {
            RECT f{r.left, r.top, r.right, rects[i].bottom - band.top};
            ::FrameRect(wdc, &f, hilight.get());
        }
        const TColor colour =
            FSkinData ? (b.FItemEnabled ? FSkinData->MenuBarText : FSkinData->ButtonShadow) : TColor(clMenuText);
        ::SetTextColor(wdc, ColorToRGB(colour));
        ::DrawTextW(wdc, b.FCaption.c_str(), int(b.FCaption.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    FPainting = false;
    for (TWinSysButton* b : mdiButtons) {
        RECT r = b->FBoundsRect;
        ::OffsetRect(&r, -band.left, -band.top);
        DrawFrame(wdc, r, b->FData->Bitmap, true, std::max(b->FData->Frame, 1), 1);
    }
    if (!mdiButtons.empty())
        if (TSkinManage* m = SkinManager(); m && !m->FMDIMaximized) m->SetMDIMaximized(true);
    ::GdiFlush();
    ::BitBlt(dc, band.left, band.top, W, H, wdc, 0, 0, SRCCOPY);
}

std::vector<TWinSysButton*> TWinSkinMenu::MDIChildButtons() const {
    std::vector<TWinSysButton*> out;
    if (!FForm || !FForm->IsMDIFrame() || !FForm->FClientWnd) return out;
    BOOL maximized = FALSE;
    HWND active = reinterpret_cast<HWND>(
        ::SendMessageW(FForm->FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    if (!active || !maximized) return out;
    RECT wr{};
    ::GetWindowRect(FForm->FHandle, &wr);
    ButtonLayoutContext c;
    c.windowWidth = wr.right - wr.left;
    c.leftAnchor = FForm->FLeftWidth;
    c.rightAnchor = c.windowWidth - FForm->FRightWidth;
    c.rightBorder = FForm->FRightWidth;
    TDataSkinObject* e = menuBarElement(FSkinData);
    c.menuBarLeftWidth = e ? e->LeftWidth : 0;
    c.titleHeight = FForm->FTitleHeight;
    c.menuHeight = FForm->FMenuHeight;
    for (auto& b : FForm->FButtons) {
        TDataSkinSysButton* d = b->FData;
        if (!d || d->Visibility != 100 || d->Bitmap.Empty()) continue;
        // Placed here: the title painter leaves these buttons to the bar.
        const int w = d->Bitmap.Width() / std::max(d->Frame, 1), h = d->Bitmap.Height();
        const PixelRect prev{b->FBoundsRect.left, b->FBoundsRect.top, b->FBoundsRect.right, b->FBoundsRect.bottom};
        const PixelRect r = LayoutButton(ButtonPlacement{d->Align, d->Xcoord, d->Ycoord, w, h}, c, prev);
        b->FBoundsRect = toRect(r);
        out.push_back(b.get());
    }
    return out;
}

void TWinSkinMenu::RestoreUnder(HDC dc, const RECT& bounds) const {
    if (FBackground.Empty()) return;
    const int h = FBarRect.bottom - FBarRect.top;
    const int x = bounds.left - FBarRect.left;
    auto& bg = const_cast<TBitmap&>(FBackground);
    ::BitBlt(dc, bounds.left, FBarRect.top, bounds.right - bounds.left, h, bg.Canvas()->Handle(), x, 0, SRCCOPY);
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT p) {
    const int i = MenuBarButtonAt(Hits(), p.x, p.y);
    return Button(i);
}

int TWinSkinMenu::IndexOf(const TMenuBtn* b) const {
    for (std::size_t i = 0; i < FButtons.size(); ++i)
        if (FButtons[i].get() == b) return int(i);
    return -1;
}

std::vector<MenuBarHit> TWinSkinMenu::Hits() const {
    std::vector<MenuBarHit> out;
    for (const auto& b : FButtons) {
        MenuBarHit h;
        h.bounds = toPixel(b->FBoundsRect);
        h.captionEmpty = b->FCaption.empty();
        h.visible = b->FVisible;
        h.enabled = b->FItemEnabled;
        out.push_back(h);
    }
    return out;
}

// ---- drop-down tracking ---------------------------------------------------------------

TMenuTracking& MenuTracking() {
    static TMenuTracking t;
    return t;
}

namespace {

// The deepest highlighted item below the tracked drop-down: the menu that
// holds it and whether it has sub-items of its own. Read from the menus
// themselves, since a tracked pop-up sends no selection notices.
void readSelection(TMenuTracking& t) {
    HMENU holder = nullptr;
    bool hasSub = false;
    HMENU m = t.trackedMenu;
    for (int depth = 0; m && depth < 16; ++depth) {
        const int n = ::GetMenuItemCount(m);
        int hit = -1;
        for (int i = 0; i < n; ++i)
            if (::GetMenuState(m, UINT(i), MF_BYPOSITION) & MF_HILITE) {
                hit = i;
                break;
            }
        if (hit < 0) break;
        holder = m;
        HMENU sub = ::GetSubMenu(m, hit);
        hasSub = sub != nullptr;
        m = sub;
    }
    t.selectedMenu = holder;
    t.selectedHasSubItems = hasSub;
    t.selectedItem = nullptr;
    if (holder) {
        for (int i = 0, n = ::GetMenuItemCount(holder); i < n; ++i)
            if (::GetMenuState(holder, UINT(i), MF_BYPOSITION) & MF_HILITE) {
                const UINT id = ::GetMenuItemID(holder, i);
                if (id != UINT(-1)) t.selectedItem = TMenuItem::FromCommand(id);
                break;
            }
    }
}

// Ends the open drop-down so that OpenMenuButton opens `target` next.
void switchTo(TMenuTracking& t, int target) {
    t.switchPending = true;
    t.switchTarget = target;
    t.reopened = true;
    ::EndMenu();
}

LRESULT CALLBACK menuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    TMenuTracking& t = MenuTracking();
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (code >= 0 && msg && t.rightToLeft && (msg->message == WM_KEYDOWN || msg->message == WM_KEYUP))
        msg->wParam = SwapArrowForRtl(unsigned(msg->wParam), true);
    const LRESULT next = ::CallNextHookEx(t.hook, code, wParam, lParam);
    if (next || code != MSGF_MENU || !msg || !t.form) return next;
    try {
        if (t.firstMessage) {
            t.firstMessage = false;
            // Opens the drop-down with its first item selected.
            ::PostMessageW(msg->hwnd, WM_KEYDOWN, VK_DOWN, 0);
        }
        TWinSkinMenu* bar = t.form->FSkinMenu;
        if (!bar) return 0;
        int target = -1;
        switch (msg->message) {
            case WM_KEYDOWN:
                if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
                    t.switchPending = false;
                } else if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) {
                    readSelection(t);
                    MenuWalkState s;
                    s.openIndex = t.openIndex;
                    s.inNestedSubMenu = t.selectedMenu && t.selectedMenu != t.trackedMenu;
                    s.selectedHasSubItems = t.selectedHasSubItems;
                    target = MenuWalkTarget(unsigned(msg->wParam), s, bar->Hits());
                    if (target >= 0 && target != t.openIndex) {
                        switchTo(t, target);
                        return 1;  // the key is used up by the switch
                    }
                }
                break;
            case WM_SYSKEYDOWN:
                if (msg->wParam == VK_MENU) t.form->FTrackingMenu = false;
                break;
            case WM_MOUSEMOVE:
            case WM_NCMOUSEMOVE:
            case WM_LBUTTONDOWN:
            case WM_NCLBUTTONDOWN: {
                const POINT pt = msg->pt;
                const bool down = msg->message == WM_LBUTTONDOWN || msg->message == WM_NCLBUTTONDOWN;
                if (!down && pt.x == t.lastMouse.x && pt.y == t.lastMouse.y) break;
                t.lastMouse = pt;
                RECT wr{};
                ::GetWindowRect(t.form->FHandle, &wr);
                // Only points over the window itself, not over the drop-down.
                if (::WindowFromPoint(pt) != t.form->FHandle) break;
                TMenuBtn* b = bar->ButtonAt(POINT{pt.x - wr.left, pt.y - wr.top});
                const int i = bar->IndexOf(b);
                if (i < 0) break;
                if (i != t.openIndex) {
                    switchTo(t, i);
                    return down ? 1 : 0;
                }
                if (down) {
                    // A click on the open button closes its drop-down and
                    // must not reach the bar, which would open it again.
                    t.switchTarget = -1;
                    ::EndMenu();
                    return 1;
                }
                break;
            }
            default: break;
        }
    } catch (...) {
        // The menu keeps working without the walk.
    }
    return 0;
}

}  // namespace

void InstallMenuFilter(TWinSkinForm* form, int openIndex, HMENU tracked, bool rightToLeft) {
    TMenuTracking& t = MenuTracking();
    if (t.hook) RemoveMenuFilter();
    t.form = form;
    t.openIndex = openIndex;
    t.trackedMenu = tracked;
    t.rightToLeft = rightToLeft;
    t.switchPending = false;
    t.switchTarget = -1;
    t.firstMessage = true;
    t.selectedItem = nullptr;
    t.selectedMenu = nullptr;
    t.selectedHasSubItems = false;
    ::GetCursorPos(&t.lastMouse);
    t.hook = ::SetWindowsHookExW(WH_MSGFILTER, &menuFilterProc, nullptr, ::GetCurrentThreadId());
}

void RemoveMenuFilter() {
    TMenuTracking& t = MenuTracking();
    if (t.hook) ::UnhookWindowsHookEx(t.hook);
    t.hook = nullptr;
    t.openIndex = -1;
    t.selectedItem = nullptr;
    t.selectedMenu = nullptr;
}

namespace {

// An item of a drop-down the bar showed: the type the program gave it, made
// owner-drawn for the length of the drop-down unless the program draws it,
// and whether the program had it highlighted (the menu loop leaves its last
// selection highlighted).
struct TOwnerDrawnItem {
    HMENU menu;
    UINT id;
    HMENU subMenu;
    UINT type;
    bool marked;
    bool hilite;
};

std::vector<TOwnerDrawnItem>& ownerDrawnItems() {
    static std::vector<TOwnerDrawnItem> items;
    return items;
}

// The position of a recorded item now: where it was, unless the program
// moved it meanwhile (then found by identifier and sub-menu); -1 when gone.
int findMarked(const TOwnerDrawnItem& e, int hint) {
    auto same = [&](int i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_SUBMENU;
        return ::GetMenuItemInfoW(e.menu, UINT(i), TRUE, &mii) && mii.wID == e.id && mii.hSubMenu == e.subMenu;
    };
    if (hint >= 0 && same(hint)) return hint;
    for (int i = 0, n = ::GetMenuItemCount(e.menu); i < n; ++i)
        if (same(i)) return i;
    return -1;
}

void restoreItem(const TOwnerDrawnItem& e, int i) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    if (!::GetMenuItemInfoW(e.menu, UINT(i), TRUE, &mii)) return;
    MENUITEMINFOW set{};
    set.cbSize = sizeof set;
    // An item the program set a type of its own on meanwhile keeps it.
    if (e.marked && mii.fType == (e.type | MFT_OWNERDRAW)) {
        set.fMask |= MIIM_FTYPE;
        set.fType = e.type;
    }
    if (!e.hilite && (mii.fState & MFS_HILITE)) {
        set.fMask |= MIIM_STATE;
        set.fState = mii.fState & ~UINT(MFS_HILITE);
    }
    if (set.fMask) ::SetMenuItemInfoW(e.menu, UINT(i), TRUE, &set);
}

}  // namespace

void MarkOwnerDrawn(HMENU menu) {
    if (!menu || !::IsMenu(menu)) return;
    auto& items = ownerDrawnItems();
    const int n = ::GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_SUBMENU | MIIM_ID | MIIM_STATE;
        if (!::GetMenuItemInfoW(menu, UINT(i), TRUE, &mii)) continue;
        // Items the program draws itself stay as they are.
        bool marked = false;
        if (!(mii.fType & MFT_OWNERDRAW)) {
            MENUITEMINFOW set{};
            set.cbSize = sizeof set;
            set.fMask = MIIM_FTYPE;  // the text stays: the painter reads it back
            set.fType = mii.fType | MFT_OWNERDRAW;
            marked = ::SetMenuItemInfoW(menu, UINT(i), TRUE, &set) != FALSE;
        }
        items.push_back({menu, mii.wID, mii.hSubMenu, mii.fType, marked, (mii.fState & MFS_HILITE) != 0});
    }
}

void RestoreOwnerDrawn() {
    auto& recorded = ownerDrawnItems();
    const std::vector<TOwnerDrawnItem> items = std::move(recorded);
    recorded.clear();
    // Newest first: an item recorded twice (marked again after the program
    // changed it in WM_INITMENUPOPUP) ends with what the program gave it last.
    HMENU last = nullptr;
    int hint = -1;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const TOwnerDrawnItem& e = *it;
        hint = e.menu == last ? hint - 1 : ::GetMenuItemCount(e.menu) - 1;
        last = e.menu;
        if (!::IsMenu(e.menu)) continue;
        const int i = findMarked(e, hint);
        if (i < 0) continue;
        hint = i;
        restoreItem(e, i);
    }
}


}  // namespace qs
