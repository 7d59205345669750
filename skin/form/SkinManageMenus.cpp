// Menu skins kept by the manager, and the form skin's side of menus: the
// skinned menu bar, opening its drop-downs, the owner-draw hooks on toolkit
// menus and the WM_MEASUREITEM / WM_DRAWITEM rules.
#include <algorithm>
#include <map>
#include <memory>

#include "ControlSide.h"
#include "Forms.h"
#include "MenuEvents.h"
#include "MenuPaint.h"
#include "Menus.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinMenu.h"
#include "SkinPopMenu.h"

namespace qs {

// ---- the manager's menu skins ---------------------------------------------------

namespace {

bool kindAllowed(int kind, TSkinControlTypes set) {
    switch (kind) {
        case mkDropDown: return inSet(set, xcMainMenu) || inSet(set, xcMenuItem);
        case mkWindowMenu: return inSet(set, xcSystemMenu);
        default: return inSet(set, xcPopupMenu);
    }
}

}  // namespace

void TSkinManage::SkinPopupMenu(HWND wnd) {
    if (!FActive || FHighContrast || !wnd) return;
    // Skinned already (a menu skin answers the skinned-window query itself).
    if (TWinSkinPopMenu::FromWindow(wnd) || HasPopupSkin(wnd)) return;
    TSkinData* skin = SkinDataFor(wnd);
    if (!skin || !skin->SkinLoaded()) return;
    if (!kindAllowed(FMenuKind, skin->SkinControls())) return;
    auto* pop = new TWinSkinPopMenu();
    pop->AttachMenuWindow(wnd, skin, nullptr);
    if (FMenuBarPopup) pop->FFromMenuBar = true;
    FMenuSkins.push_back(pop);
}

void TSkinManage::UnskinPopupMenu(HWND wnd) {
    auto it = std::find_if(FMenuSkins.begin(), FMenuSkins.end(),
                           [wnd](TWinSkinPopMenu* p) { return p && p->FHandle == wnd; });
    if (it != FMenuSkins.end()) {
        TWinSkinPopMenu* p = *it;
        FMenuSkins.erase(it);
        p->DetachMenuWindow();
        delete p;
    }
    // With the last menu window gone the next menu is judged afresh.
    if (FMenuSkins.empty()) {
        FMenuBarPopup = false;
        FMenuKind = mkContext;
    }
}

bool TSkinManage::HasPopupSkin(HWND wnd) const {
    return std::any_of(FMenuSkins.begin(), FMenuSkins.end(), [wnd](TWinSkinPopMenu* p) { return p && p->FHandle == wnd; });
}

void TSkinManage::AssociateMenu(HMENU menu) {
    if (!menu) return;
    // A menu already shown by a skin keeps it.
    for (TWinSkinPopMenu* p : FMenuSkins)
        if (p && p->FMenuHandle == menu) return;
    for (auto it = FMenuSkins.rbegin(); it != FMenuSkins.rend(); ++it)
        if (*it && !(*it)->FMenuHandle) {
            (*it)->FMenuHandle = menu;
            return;
        }
}

TBitmap* TSkinManage::PopupBackground(HMENU menu) const {
    for (TWinSkinPopMenu* p : FMenuSkins)
        if (p && p->FMenuHandle == menu) return &p->FBackground;
    return nullptr;
}

void TSkinManage::MarkMenuBarPopups() {
    for (TWinSkinPopMenu* p : FMenuSkins)
        if (p) p->FFromMenuBar = true;
}

void TSkinManage::FreeMenuSkins() {
    std::vector<TWinSkinPopMenu*> skins;
    skins.swap(FMenuSkins);
    for (TWinSkinPopMenu* p : skins) {
        if (!p) continue;
        p->DetachMenuWindow();
        delete p;
    }
    FMenuBarPopup = false;
    FMenuKind = mkContext;
}

// ---- the form skin's menu bar ----------------------------------------------------

void TWinSkinForm::CreateSkinMenu() {
    if (FSkinMenu || !FHandle) return;
    if (!FMenuHandle) FMenuHandle = ::GetMenu(FHandle);
    if (!FMenuHandle || FFormKind == 2) return;
    FSkinMenu = new TWinSkinMenu(this);
    FSkinMenu->FMenu = FMenuHandle;
    FSkinMenu->FToolkitMenu = FControl ? FControl->Menu() : nullptr;
    if (FMenuHeight <= 0) FMenuHeight = ::GetSystemMetrics(SM_CYMENU);
    FSkinMenu->RebuildFromWindowMenu();
}

void TWinSkinForm::FreeSkinMenu() {
    TMenuTracking& t = MenuTracking();
    if (t.form == this) {
        RemoveMenuFilter();
        t.form = nullptr;
    }
    if (FHotObject && FSkinMenu)
        for (auto& b : FSkinMenu->FButtons)
            if (FHotObject == b.get()) FHotObject = nullptr;
    delete FSkinMenu;
    FSkinMenu = nullptr;
}

bool TWinSkinForm::PaintMenuBand(HDC dc, const RECT& band) {
    if (!FSkinMenu || !dc) return false;
    FSkinMenu->FSkinData = Art();
    // The program may have changed its menu through the handle without
    // asking for the bar to be drawn again: the band shows the menu as it is.
    if (!FMenuRefresh && !FTrackingMenu && FSkinData && FSkinData->MenuUpdate()) {
        FMenuRefresh = true;
        FSkinMenu->RefreshFromWindowMenu();
        FMenuRefresh = false;
    }
    FSkinMenu->PaintBar(dc, band);
    return true;
}

TMenuBtn* TWinSkinForm::MenuButtonAt(POINT p) { return FSkinMenu ? FSkinMenu->ButtonAt(p) : nullptr; }

TMenuBtn* TWinSkinForm::FirstMenuButton() {
    if (!FSkinMenu) return nullptr;
    if (FSkinMenu->FBarRect.right <= FSkinMenu->FBarRect.left) FSkinMenu->Layout();
    return FSkinMenu->Button(FirstMenuBarButton(FSkinMenu->Hits()));
}

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t ch) {
    if (!FSkinMenu || !ch) return nullptr;
    std::vector<std::wstring> captions;
    for (auto& b : FSkinMenu->FButtons) captions.push_back(b->FCaption);
    const int i = FindAccelIndex(captions, FSkinMenu->Hits(), ch, [](wchar_t c) {
        return wchar_t(reinterpret_cast<UINT_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(UINT_PTR(c)))));
    });
    return FSkinMenu->Button(i);
}

bool TWinSkinForm::OpenMenuButton(TMenuBtn* button) {
    TMenuTracking& t = MenuTracking();
    t.reopened = false;
    if (!button || !FSkinMenu || t.hook) return true;
    const TLifeToken::Watch life = FLife.Watching();
    TMenuBtn* last = nullptr;
    bool walking = false;
    HWND wnd = FHandle;
    t.initSent = t.enterSent = t.exitHeld = false;
    while (button) {
        const int index = FSkinMenu->IndexOf(button);
        // A menu the program took off the window, or destroyed, is never
        // opened: the bar follows the menu as it is now instead.
        if (!FSkinMenu->ButtonIsCurrent(index)) {
            last = nullptr;
            MenuBarChanged();
            break;
        }
        ::PostMessageW(FHandle, WM_COMMAND, WPARAM(button->FCommand), 0);
        if (!button->FSubMenu) break;
        ::GetWindowRect(FHandle, &FWindowRect);
        OSVERSIONINFOW vi{};
        vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        ::GetVersionExW(&vi);
#pragma GCC diagnostic pop
        if (!(vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion == 4)) MarkOwnerDrawn(button->FSubMenu);
        FTrackingMenu = true;
        const RECT& b = button->FBoundsRect;
        const int x = FWindowRect.left + (FRightToLeft ? b.right : b.left);
        const int y = FWindowRect.top + b.bottom;
        if (TSkinManage* m = SkinManager()) {
            m->FMenuKind = mkDropDown;
            m->FMenuBarPopup = true;
        }
        FTrackedMenu = button->FSubMenu;
        if (button != last && button->FState != ncsPressed) button->MouseDown();
        last = button;
        if (!walking)
            MenuWalkStarted(wnd, index);
        else
            MenuWalkMovedTo(wnd, index);
        walking = true;
        InstallMenuFilter(this, index, button->FSubMenu, FSkinMenu->IsRightToLeft());
        // The flag the bar was built with may be older than the menu.
        if (button->FItemEnabled && FSkinMenu->ItemEnabledNow(index)) {
            // With the notifications a program updates its items
            // (WM_INITMENUPOPUP) as it does under its own bar.
            UINT flags = TPM_RIGHTBUTTON;
            if (FRightToLeft) flags |= TPM_RIGHTALIGN;
            ::TrackPopupMenu(button->FSubMenu, flags, x, y, 0, FHandle, nullptr);
            if (!life.Alive()) {
                RestoreOwnerDrawn();
                if (::IsWindow(wnd)) MenuWalkEnded(wnd);
                // Freed inside the menu loop (its destructor ended the filter
                // if the drop-down was still ours).
                if (t.hook && !t.form) RemoveMenuFilter();
                t.switchPending = false;
                t.switchTarget = -1;
                return false;
            }
        }
        const int target = t.switchTarget;
        MenuWalkPopupsClosed();
        RestoreOwnerDrawn();
        RemoveMenuFilter();
        FTrackingMenu = false;
        FTrackedMenu = nullptr;
        if (FMenuStale) {
            // Changed while it was open: the buttons are rebuilt now, so no
            // walk goes on over the old ones.
            last = nullptr;
            MenuBarChanged();
            break;
        }
        if (!FSkinMenu || target < 0 || target == index) break;
        // The walk (arrow keys, the mouse on another button) closed this
        // drop-down to open the neighbour's.
        t.switchTarget = -1;
        button = FSkinMenu->Button(target);
        if (button) button->MouseDown();
        last = button;
    }
    t.switchPending = false;
    t.switchTarget = -1;
    // The walk ended where another drop-down was to open (the menu changed
    // meanwhile): the program still hears the loop end.
    if (t.exitHeld && life.Alive()) CallDefault(WM_EXITMENULOOP, FALSE, 0);
    t.exitHeld = false;
    if (walking) MenuWalkEnded(wnd);
    if (last && FSkinMenu && FSkinMenu->IndexOf(last) >= 0) last->MouseLeave();
    return true;
}

bool TWinSkinForm::MenuLoopMessage(TMessage& m) {
    TMenuTracking& t = MenuTracking();
    if (!FTrackingMenu || !FSkinMenu || t.form != this) return false;
    switch (m.Msg) {
        case WM_INITMENU:
            // Under its own bar the program hears once, of the bar's menu,
            // however many drop-downs the walk opens.
            if (!t.initSent) {
                t.initSent = true;
                m.Result = CallDefault(m.Msg, reinterpret_cast<WPARAM>(FSkinMenu->FMenu), 0);
            }
            return true;
        case WM_ENTERMENULOOP:
            if (!t.enterSent) {
                t.enterSent = true;
                m.Result = CallDefault(m.Msg, FALSE, 0);
            }
            return true;
        case WM_EXITMENULOOP:
            // Not between two drop-downs of the same walk.
            t.exitHeld = t.switchTarget >= 0;
            if (!t.exitHeld) m.Result = CallDefault(m.Msg, FALSE, 0);
            return true;
        case WM_INITMENUPOPUP: {
            const TLifeToken::Watch life = FLife.Watching();
            m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
            // Drawn by the skin while shown, with what the program just set.
            if (life.Alive() && !HIWORD(m.LParam)) MarkOwnerDrawn(reinterpret_cast<HMENU>(m.WParam));
            return true;
        }
        case WM_MENUSELECT: {
            const TLifeToken::Watch life = FLife.Watching();
            m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
            if (life.Alive()) MenuWalkSelected(m.WParam, m.LParam);
            return true;
        }
        default: return false;
    }
}

void TWinSkinForm::WMMenuBarClick(TMessage& msg) {
    msg.Result = 0;
    if (!FSkinMenu) return;
    const POINT screen{short(LOWORD(msg.LParam)), short(HIWORD(msg.LParam))};
    RECT wr{};
    ::GetWindowRect(FHandle, &wr);
    const POINT p{screen.x - wr.left, screen.y - wr.top};
    // A caption button in the way takes the click.
    for (auto& b : FButtons)
        if (b->FVisible && b->FData && b->FData->Action >= 0 && ::PtInRect(&b->FBoundsRect, p)) return;
    if (TMenuBtn* b = FSkinMenu->ButtonAt(p)) {
        msg.Result = 1;
        b->MouseDown();
        OpenMenuButton(b);
    }
}

// ---- WM_MEASUREITEM / WM_DRAWITEM -----------------------------------------------------

bool TWinSkinForm::MenuItemMessage(TMessage& msg) {
    const bool measure = msg.Msg == WM_MEASUREITEM;
    if (!measure && msg.Msg != WM_DRAWITEM) return false;
    if (measure) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam);
        if (!mis || mis->CtlType != ODT_MENU) return false;
    } else {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
        if (!dis || dis->CtlType != ODT_MENU) return false;
    }
    if (!FMenuHandle) return false;
    const UINT id = measure ? reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam)->itemID
                            : reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam)->itemID;
    if (FControl) {
        TMainMenu* menu = FControl->Menu();
        TMenuItem* item = menu ? menu->FindItem(id, TFindItemKind::fkCommand) : nullptr;
        if (item) {
            if (measure) {
                auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam);
                ClientDCScope screen(nullptr);
                TCanvas canvas(screen.get());
                canvas.Font().AssignLogFont(MenuLogFont());
                int w = 0, h = 0;
                if (item->OnMeasureItem)
                    item->MeasureItem(canvas, w, h);
                else
                    MeasureMenuItem(Art(), item, canvas, w, h);
                canvas.ReleaseSelections();
                mis->itemWidth = UINT(std::max(w, 0));
                mis->itemHeight = UINT(std::max(h, 0));
            } else {
                auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
                SaveDCScope keep(dis->hDC);
                TCanvas canvas(dis->hDC);
                canvas.Font().AssignLogFont(MenuLogFont());
                const bool selected = (dis->itemState & ODS_SELECTED) != 0;
                if (item->OnDrawItem)
                    item->DrawItem(canvas, dis->rcItem, selected);
                else
                    DrawMenuItem(Art(), item, canvas, dis->rcItem, selected);
                canvas.ReleaseSelections();
            }
            msg.Result = TRUE;
            return true;
        }
        // Items of other toolkit menus find their own painter.
        if (id >= 1 && id <= 4095) return false;
    }
    if (measure) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam);
        HMENU from = FMenuHandle;
        if (FSystemMenu && ::GetMenuStringW(FMenuHandle, id, nullptr, 0, MF_BYCOMMAND) <= 0 &&
            ::GetMenuState(FMenuHandle, id, MF_BYCOMMAND) == UINT(-1))
            from = FSystemMenu;
        MeasureForeignMenuItem(Art(), from, *mis);
    } else {
        DrawForeignMenuItem(Art(), *reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam));
    }
    msg.Result = TRUE;
    return true;
}

void TWinSkinForm::RebuildMenuBar() {
    if (!FSkinMenu) {
        FMenuHandle = ::GetMenu(FHandle);
        CreateSkinMenu();
    } else {
        FSkinMenu->FSkinData = Art();
        FSkinMenu->RebuildFromWindowMenu();
        FSkinMenu->Layout();
        // Detaching gives back the menu the window has now.
        if (FSkinMenu->FMenu) FMenuHandle = FSkinMenu->FMenu;
    }
    if (FSkinState == ssSkinned) PaintFrame();
}

void TWinSkinForm::MenuBarChanged() {
    if (!FSkinFrame || FFormKind == 2 || FMenuRefresh || !FHandle || FSkinState == ssDestroying ||
        FSkinState == ssDestroyed)
        return;
    // An MDI frame holds its bar while children's menus are merged into it.
    if (FSkinData && !FSkinData->MenuUpdate()) return;
    if (FTrackingMenu) {
        FMenuStale = true;
        return;
    }
    FMenuStale = false;
    FMenuRefresh = true;
    bool changed = false;
    if (FSkinMenu && !::GetMenu(FHandle)) {
        // The program took its menu off the window: the band goes with it,
        // as the system's bar would, and the client area grows into it.
        FreeSkinMenu();
        FMenuHandle = nullptr;
        FMenuHeight = 0;
        ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        if (FSkinState == ssSkinned) UpdateRegion();
        changed = true;
    } else if (FSkinMenu) {
        FSkinMenu->FSkinData = Art();
        changed = FSkinMenu->RefreshFromWindowMenu();
        if (changed) {
            FSkinMenu->Layout();
            if (FSkinMenu->FMenu) FMenuHandle = FSkinMenu->FMenu;
        }
    } else if (::GetMenu(FHandle) && FBorderKind != bkNoCaption) {
        // The first menu of a window skinned without one: the band is
        // measured into the frame from now on.
        FMenuHandle = ::GetMenu(FHandle);
        FMenuHeight = 0;
        CreateSkinMenu();
        if (FSkinMenu) {
            FSkinMenu->Layout();
            ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
            if (FSkinState == ssSkinned) UpdateRegion();
            changed = true;
        }
    }
    FMenuRefresh = false;
    if (changed && FSkinState == ssSkinned) PaintFrame();
}

void TWinSkinForm::RebuildMergedMenuBar() {
    if (!FSkinMenu) {
        RebuildMenuBar();
        return;
    }
    FSkinMenu->FSkinData = Art();
    FSkinMenu->RebuildMerged();
    if (FSkinMenu->FMenu) FMenuHandle = FSkinMenu->FMenu;
    if (FSkinState == ssSkinned) PaintFrame();
}

// ---- owner-draw hooks on toolkit menus ------------------------------------------------

namespace {

// The handlers the hooks install. Being named types, they can be told from
// handlers of the program's own (std::function::target).
struct SkinItemPainter {
    TWinSkinForm* form;
    HWND wnd;
    void operator()(TObject* sender, TCanvas* canvas, RECT r, bool selected) const {
        auto* item = dynamic_cast<TMenuItem*>(sender);
        if (!item || !canvas) return;
        // A form skin that went away leaves the toolkit's own look.
        if (TWinSkinForm::FromWindow(wnd) != form) {
            item->DrawDefault(*canvas, r, selected);
            return;
        }
        DrawMenuItem(form->Art(), item, *canvas, r, selected);
    }
};

struct SkinItemMeasure {
    TWinSkinForm* form;
    HWND wnd;
    bool popup;
    // Called after the toolkit measured the item: only the skin's extra width.
    void operator()(TObject* sender, TCanvas*, int& w, int&) const {
        auto* item = dynamic_cast<TMenuItem*>(sender);
        if (!item || TWinSkinForm::FromWindow(wnd) != form) return;
        AddSkinItemWidth(form->Art(), item, popup, w);
    }
};

bool ourPainter(const TMenuItem* i) { return i->OnDrawItem && i->OnDrawItem.target<SkinItemPainter>(); }
bool ourMeasure(const TMenuItem* i) { return i->OnMeasureItem && i->OnMeasureItem.target<SkinItemMeasure>(); }

// depth: 1 for the menu's top-level items. Handlers of the program's own
// stay; only ours are replaced or removed.
void hookItems(TMenuItem* parent, int depth, int minDepth, bool on, const SkinItemPainter& paint,
               const SkinItemMeasure& measure) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (depth >= minDepth) {
            if (on) {
                if (!item->OnDrawItem || ourPainter(item)) item->OnDrawItem = paint;
                if (!item->OnMeasureItem || ourMeasure(item)) item->OnMeasureItem = measure;
            } else {
                if (ourPainter(item)) item->OnDrawItem = nullptr;
                if (ourMeasure(item)) item->OnMeasureItem = nullptr;
            }
        }
        hookItems(item, depth + 1, minDepth, on, paint, measure);
    }
}

bool anyOwnHandler(TMenuItem* parent) {
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (item->OnDrawItem && !ourPainter(item)) return true;
        if (anyOwnHandler(item)) return true;
    }
    return false;
}

void hookForm(TWinSkinForm* fs, TComponent* owner, bool on, int level) {
    if (!owner || level > 8) return;
    TSkinData* sd = fs->FSkinData;
    const TSkinControlTypes set = sd ? sd->SkinControls() : 0;
    const SkinItemPainter paint{fs, fs->FHandle};
    for (TComponent* c : owner->Components()) {
        if (auto* mm = dynamic_cast<TMainMenu*>(c)) {
            if (level > 0) continue;  // main menus of the form itself only
            if (on && !inSet(set, xcMenuItem)) continue;
            hookItems(mm->Items(), 1, 2, on, paint, SkinItemMeasure{fs, fs->FHandle, false});
            if (on)
                mm->SetOwnerDraw(true);
            else if (!anyOwnHandler(mm->Items()))
                mm->SetOwnerDraw(false);
        } else if (auto* pm = dynamic_cast<TPopupMenu*>(c)) {
            if (on && !inSet(set, xcPopupMenu)) continue;
            if (on && sd && pm->Tag() == sd->DisableTag()) continue;
            if (pm->Tag() == kSystemMenuTag) continue;  // the window menu draws itself
            hookItems(pm->Items(), 1, 1, on, paint, SkinItemMeasure{fs, fs->FHandle, true});
            if (on)
                pm->SetOwnerDraw(true);
            else if (!anyOwnHandler(pm->Items()))
                pm->SetOwnerDraw(false);
        } else if (auto* f = dynamic_cast<TCustomForm*>(c)) {
            hookForm(fs, f, on, level + 1);
        }
    }
}

// Menus hooked for controls, per form skin. They may be owned anywhere (a
// frame, the control, nothing at all), so unskinning could not find them by
// walking the form: the list remembers them, and a menu freed first leaves
// the list through its free notification.
class TControlMenuHooks : public TComponent {
public:
    explicit TControlMenuHooks(TWinSkinForm* fs) : TComponent(nullptr) { watch(fs); }
    struct Entry {
        TMenu* menu;
        bool ownerDraw;  // as the program had it
    };
    std::vector<Entry> entries;
    // Null once the form skin went away without unskinning (its window was
    // destroyed): the menus already have their look back.
    const TWinSkinForm* form = nullptr;

    void watch(TWinSkinForm* fs) {
        form = fs;
        FreeNotification(fs);
    }
    bool has(const TMenu* m) const {
        return std::any_of(entries.begin(), entries.end(), [m](const Entry& e) { return e.menu == m; });
    }
    // Every menu gets back what it had before this form skin hooked it.
    void release();

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op != TOperation::opRemove) return;
        if (form && c == static_cast<const TComponent*>(form)) {
            release();
            form = nullptr;
            return;
        }
        std::erase_if(entries, [c](const Entry& e) { return static_cast<TComponent*>(e.menu) == c; });
    }
};

std::map<const TWinSkinForm*, std::unique_ptr<TControlMenuHooks>>& controlMenuHooks() {
    static std::map<const TWinSkinForm*, std::unique_ptr<TControlMenuHooks>> hooks;
    return hooks;
}

// Takes off the handlers this form skin put on; true when handlers of
// another form skin remain.
bool unhookItemsOf(TMenuItem* parent, const TWinSkinForm* fs) {
    bool others = false;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (const auto* p = item->OnDrawItem.target<SkinItemPainter>()) {
            if (p->form == fs)
                item->OnDrawItem = nullptr;
            else
                others = true;
        }
        if (const auto* m = item->OnMeasureItem.target<SkinItemMeasure>(); m && m->form == fs)
            item->OnMeasureItem = nullptr;
        others = unhookItemsOf(item, fs) || others;
    }
    return others;
}

void TControlMenuHooks::release() {
    const std::vector<Entry> list = std::move(entries);
    entries.clear();
    for (const auto& e : list) {
        // A menu shared with another skinned form keeps that form's painter.
        const bool stillPainted = unhookItemsOf(e.menu->Items(), form);
        if (!e.ownerDraw && !stillPainted && !anyOwnHandler(e.menu->Items()))
            e.menu->SetOwnerDraw(false);
        else
            e.menu->Rebuild();  // measured again without this skin's extra width
    }
}

void unhookControlMenus(TWinSkinForm* fs) {
    auto& all = controlMenuHooks();
    auto it = all.find(fs);
    if (it == all.end()) return;
    std::unique_ptr<TControlMenuHooks> hooks = std::move(it->second);
    all.erase(it);
    if (hooks->form) hooks->release();
}

}  // namespace

bool HookControlMenu(TWinSkinForm& fs, TMenu* menu) {
    if (!menu || menu->Tag() == kSystemMenuTag) return false;
    if (fs.FSkinData && menu->Tag() == fs.FSkinData->DisableTag()) return false;
    auto& hooks = controlMenuHooks()[&fs];
    if (!hooks)
        hooks = std::make_unique<TControlMenuHooks>(&fs);
    else if (!hooks->form)
        hooks->watch(&fs);  // a new form skin where a gone one was
    bool wasOwnerDraw = menu->OwnerDraw();
    // Hooked by another form skin already: the program's own setting is the
    // one that skin found.
    for (const auto& [other, list] : controlMenuHooks())
        if (other != &fs && list)
            for (const auto& e : list->entries)
                if (e.menu == menu) wasOwnerDraw = e.ownerDraw;
    const bool listed = hooks->has(menu);
    if (!listed) {
        hooks->entries.push_back({menu, wasOwnerDraw});
        hooks->FreeNotification(menu);
    }
    // A menu bar's own items are drawn by the bar; its drop-downs are menus.
    const bool bar = menu->IsMenuBar();
    hookItems(menu->Items(), 1, bar ? 2 : 1, true, SkinItemPainter{&fs, fs.FHandle},
              SkinItemMeasure{&fs, fs.FHandle, !bar});
    if (listed) return true;
    if (wasOwnerDraw)
        menu->Rebuild();  // the system measures the items again, with the skin's width
    else
        menu->SetOwnerDraw(true);
    return true;
}

std::vector<TMenu*> HookedControlMenus(const TWinSkinForm& fs) {
    std::vector<TMenu*> out;
    auto& all = controlMenuHooks();
    if (auto it = all.find(&fs); it != all.end())
        for (const auto& e : it->second->entries) out.push_back(e.menu);
    return out;
}

void TWinSkinForm::HookMenus(bool on) {
    if (!on) unhookControlMenus(this);
    if (!FControl) return;
    if (on && FControl->ClassName() == "TwwRichEditForm") return;
    hookForm(this, FControl, on, 0);
}

void TWinSkinForm::MeasureSystemMenuItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    // Called with the toolkit's measure already made.
    MeasurePopupItem(Art(), item, canvas, width, height);
}

void TWinSkinForm::DrawSystemMenuItem(TMenuItem* item, TCanvas& canvas, const RECT& r, bool selected) {
    DrawMenuItem(Art(), item, canvas, r, selected);
}

}  // namespace qs
