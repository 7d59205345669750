#include "Menus.h"

#include <algorithm>
#include <cstddef>
#include <cwctype>
#include <map>
#include <memory>

#include "Controls.h"
#include "PropertyHelpers.h"
#include "ExtCtrlsTimer.h"
#include "UtilWindow.h"

namespace qs {

// ---- Short cuts and captions ------------------------------------------------------

namespace {
struct KeyName {
    WORD vk;
    const wchar_t* name;
};
const KeyName kKeyNames[] = {
    {VK_BACK, L"BkSp"},   {VK_TAB, L"Tab"},     {VK_RETURN, L"Enter"}, {VK_ESCAPE, L"Esc"},  {VK_SPACE, L"Space"},
    {VK_PRIOR, L"PgUp"},  {VK_NEXT, L"PgDn"},   {VK_END, L"End"},      {VK_HOME, L"Home"},   {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},       {VK_RIGHT, L"Right"}, {VK_DOWN, L"Down"},    {VK_INSERT, L"Ins"},  {VK_DELETE, L"Del"},
};

std::wstring KeyText(WORD vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::wstring(1, wchar_t(vk));
    if (vk >= VK_F1 && vk <= VK_F24) return L"F" + std::to_wstring(vk - VK_F1 + 1);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return L"Num " + std::to_wstring(vk - VK_NUMPAD0);
    for (auto& k : kKeyNames)
        if (k.vk == vk) return k.name;
    return {};
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (::towupper(a[i]) != ::towupper(b[i])) return false;
    return true;
}
}  // namespace

std::wstring ShortCutToText(TShortCut sc) {
    std::wstring key = KeyText(WORD(sc & 0xFF));
    if (key.empty()) return {};
    std::wstring r;
    if (sc & scShift) r += L"Shift+";
    if (sc & scCtrl) r += L"Ctrl+";
    if (sc & scAlt) r += L"Alt+";
    return r + key;
}

TShortCut TextToShortCut(std::wstring_view text) {
    TShortCut mods = 0;
    for (;;) {
        auto take = [&](std::wstring_view prefix, TShortCut bit) {
            if (text.size() > prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix)) {
                text.remove_prefix(prefix.size());
                mods |= bit;
                return true;
            }
            return false;
        };
        if (!take(L"Shift+", scShift) && !take(L"Ctrl+", scCtrl) && !take(L"Alt+", scAlt)) break;
    }
    for (int vk = 1; vk < 256; ++vk) {
        std::wstring name = KeyText(WORD(vk));
        if (!name.empty() && EqualsNoCase(name, text)) return TShortCut(vk) | mods;
    }
    return scNone;
}

std::wstring StripHotkey(std::wstring_view caption) {
    std::wstring r;
    r.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&') {
            if (i + 1 < caption.size()) r += caption[++i];
            continue;
        }
        r += caption[i];
    }
    return r;
}

wchar_t GetHotkey(std::wstring_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] == L'&') {
            ++i;
            continue;
        }
        return wchar_t(::towupper(caption[i + 1]));
    }
    return 0;
}

LOGFONTW MenuLogFont() {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof ncm;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
        // Older systems know the structure without its last field.
        ncm.cbSize = UINT(offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW));
        if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) {
            LOGFONTW lf{};
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
            return lf;
        }
    }
    return ncm.lfMenuFont;
}

// ---- The command pool -------------------------------------------------------------
// Commands are small numbers, reused once freed, and kept below the system
// command range (0xF000) so WM_COMMAND and WM_SYSCOMMAND never mix.

namespace {
std::map<UINT, TMenuItem*>& CommandPool() {
    static std::map<UINT, TMenuItem*> pool;
    return pool;
}
constexpr UINT kLastCommand = 0xEFFF;

UINT AllocateCommand(TMenuItem* item) {
    auto& pool = CommandPool();
    UINT id = 1;
    for (auto& [used, _] : pool) {
        if (used != id) break;
        ++id;
    }
    if (id > kLastCommand) return 0;
    pool.emplace(id, item);
    return id;
}
}  // namespace

TMenuItem* TMenuItem::FromCommand(UINT command) {
    auto& pool = CommandPool();
    auto it = pool.find(command);
    return it == pool.end() ? nullptr : it->second;
}

// ---- TMenuItem ----------------------------------------------------------------------

namespace {
const std::vector<std::string> kBiDiModes = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                             "bdRightToLeftReadingOnly"};
const std::vector<std::string> kAlignments = {"paLeft", "paRight", "paCenter"};
}  // namespace

const TClassInfo& TMenuItem::StaticClassInfo() {
    using M = TMenuItem;
    static const TClassInfo info =
        TClassBuilder<M>("TMenuItem", &TComponent::StaticClassInfo())
            .creatable()
            .wide("Caption", [](const M& m) { return m.Caption(); },
                  [](M& m, const std::wstring& v) { m.SetCaption(v); })
            .boolean("Checked", &M::Checked, &M::SetChecked)
            .boolean("Enabled", &M::Enabled, &M::SetEnabled)
            .boolean("Visible", &M::Visible, &M::SetVisible)
            .boolean("Default", &M::Default, &M::SetDefault)
            .boolean("RadioItem", &M::RadioItem, &M::SetRadioItem)
            .boolean("AutoCheck", &M::AutoCheck, &M::SetAutoCheck)
            .integer("GroupIndex", [](const M& m) { return int64_t(m.GroupIndex()); },
                     [](M& m, int64_t v) { m.SetGroupIndex(int(v)); })
            .integer("ImageIndex", [](const M& m) { return int64_t(m.ImageIndex()); },
                     [](M& m, int64_t v) { m.SetImageIndex(int(v)); })
            .integer("ShortCut", [](const M& m) { return int64_t(m.ShortCut()); },
                     [](M& m, int64_t v) -> bool {
                         if (v < 0 || v > 0xFFFF) return false;
                         m.SetShortCut(TShortCut(v));
                         return true;
                     })
            .wide("Hint", [](const M& m) { return m.Hint(); }, [](M& m, const std::wstring& v) { m.SetHint(v); })
            .integer("Command", [](const M& m) { return int64_t(m.Command()); }, nullptr)
            .integer("Count", [](const M& m) { return int64_t(m.Count()); }, nullptr)
            .event<TNotifyEvent>("OnClick", [](const M& m) { return m.OnClick; },
                                 [](M& m, const TNotifyEvent& f) { m.OnClick = f; })
            .event<TMenuDrawItemEvent>("OnDrawItem", [](const M& m) { return m.OnDrawItem; },
                                       [](M& m, const TMenuDrawItemEvent& f) { m.OnDrawItem = f; })
            .event<TMenuMeasureItemEvent>("OnMeasureItem", [](const M& m) { return m.OnMeasureItem; },
                                          [](M& m, const TMenuMeasureItemEvent& f) { m.OnMeasureItem = f; })
            .build();
    return info;
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) { FCommand = AllocateCommand(this); }

TMenuItem::~TMenuItem() {
    // Out of the parent first, then the handle: the children leaving
    // afterwards have no Win32 menu left to rebuild.
    if (FParent) FParent->Remove(this);
    DestroyHandle();
    // Children go with their parent (each leaves this item as it dies).
    while (!FItems.empty()) delete FItems.back();
    if (FCommand) CommandPool().erase(FCommand);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* i = this;
    while (i->FParent) i = i->FParent;
    return i->FMenu;
}

void TMenuItem::SetCaption(std::wstring_view caption) {
    if (caption == FCaption) return;
    FCaption = caption;
    Changed(false);
}

void TMenuItem::SetChecked(bool on) {
    if (on == FChecked) return;
    FChecked = on;
    if (on && FRadioItem && FParent)
        for (TMenuItem* s : FParent->FItems)
            if (s != this && s->FRadioItem && s->FGroupIndex == FGroupIndex && s->FChecked) {
                s->FChecked = false;
            }
    Changed(false);
}

void TMenuItem::SetEnabled(bool on) {
    if (on == FEnabled) return;
    FEnabled = on;
    Changed(false);
}

void TMenuItem::SetVisible(bool on) {
    if (on == FVisible) return;
    FVisible = on;
    Changed(false);
}

void TMenuItem::SetDefault(bool on) {
    if (on == FDefault) return;
    // One default item per menu level, as Win32 allows.
    if (on && FParent)
        for (TMenuItem* s : FParent->FItems) s->FDefault = false;
    FDefault = on;
    Changed(false);
}

void TMenuItem::SetRadioItem(bool on) {
    if (on == FRadioItem) return;
    FRadioItem = on;
    Changed(false);
}

void TMenuItem::SetGroupIndex(int g) {
    if (g == FGroupIndex) return;
    FGroupIndex = g;
    Changed(false);
}

void TMenuItem::SetImageIndex(int i) {
    if (i == FImageIndex) return;
    FImageIndex = i;
    Changed(false);
}

void TMenuItem::SetShortCut(TShortCut sc) {
    if (sc == FShortCut) return;
    FShortCut = sc;
    Changed(false);
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this || item->FMenu) return;
    // An item cannot become its own descendant.
    for (TMenuItem* p = FParent; p; p = p->FParent)
        if (p == item) return;
    if (item->FParent) item->FParent->Remove(item);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
    Changed(true);
}

void TMenuItem::Delete(int index) {
    if (TMenuItem* i = Items(index)) delete i;
}

void TMenuItem::Clear() {
    while (!FItems.empty()) delete FItems.back();
}

TMenuItem* TMenuItem::Find(std::wstring_view caption) const {
    std::wstring want = StripHotkey(caption);
    for (TMenuItem* i : FItems)
        if (EqualsNoCase(StripHotkey(i->FCaption), want)) return i;
    return nullptr;
}

HMENU TMenuItem::Handle() {
    if (!FHandle) {
        FHandle.reset(FMenu ? FMenu->CreateMenuHandle() : ::CreatePopupMenu());
        RebuildHandle();
    }
    return FHandle.get();
}

void TMenuItem::DestroyHandle() {
    if (!FHandle) return;
    // Detach the sub-menus first: DestroyMenu would free them too, and they
    // belong to the child items.
    while (::GetMenuItemCount(FHandle.get()) > 0)
        if (!::RemoveMenu(FHandle.get(), 0, MF_BYPOSITION)) break;
    if (!::IsMenu(FHandle.get())) {
        // Destroyed behind our back (a window freed it): do not free it again.
        (void)FHandle.release();
        return;
    }
    FHandle.reset();
}

void TMenuItem::RebuildHandle() {
    HMENU h = FHandle.get();
    if (!h) return;
    while (::GetMenuItemCount(h) > 0)
        if (!::RemoveMenu(h, 0, MF_BYPOSITION)) break;
    TMenu* menu = GetParentMenu();
    // The items of a menu bar stay system-drawn; their drop-downs follow OwnerDraw.
    bool ownerDraw = menu && menu->OwnerDraw() && !(FMenu && FMenu->IsMenuBar());
    bool rtl = menu && menu->IsRightToLeft();
    for (TMenuItem* c : FItems) {
        if (!c->FVisible) continue;
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
        mii.fType = 0;
        if (c->IsLine()) mii.fType |= MFT_SEPARATOR;
        if (ownerDraw) mii.fType |= MFT_OWNERDRAW;
        if (c->FRadioItem) mii.fType |= MFT_RADIOCHECK;
        if (rtl) mii.fType |= MFT_RIGHTORDER;
        mii.fState = (c->FChecked ? MFS_CHECKED : 0) | (c->FEnabled ? 0 : MFS_DISABLED) | (c->FDefault ? MFS_DEFAULT : 0);
        mii.wID = c->FCommand;
        mii.hSubMenu = c->Count() > 0 ? c->Handle() : nullptr;
        mii.dwItemData = reinterpret_cast<ULONG_PTR>(c);
        std::wstring text = c->FCaption;
        if (!ownerDraw && c->FShortCut != scNone) {
            std::wstring sc = ShortCutToText(c->FShortCut);
            if (!sc.empty()) text += L"\t" + sc;
        }
        mii.dwTypeData = text.data();
        mii.cch = UINT(text.size());
        ::InsertMenuItemW(h, UINT(::GetMenuItemCount(h)), TRUE, &mii);
    }
}

void TMenuItem::RebuildTree() {
    for (TMenuItem* c : FItems) c->RebuildTree();
    RebuildHandle();
}

void TMenuItem::Changed(bool structure) {
    if (structure) RebuildHandle();
    if (FParent) FParent->RebuildHandle();
    if (TMenu* m = GetParentMenu()) m->MenuChanged();
}

TMenuItem* TMenuItem::FindByHandle(HMENU h) {
    if (FHandle && FHandle.get() == h) return this;
    for (TMenuItem* c : FItems)
        if (TMenuItem* r = c->FindByHandle(h)) return r;
    return nullptr;
}

TMenuItem* TMenuItem::FindByShortCut(TShortCut sc) {
    for (TMenuItem* c : FItems) {
        if (!c->FVisible) continue;
        if (c->FShortCut == sc && sc != scNone) return c;
        if (TMenuItem* r = c->FindByShortCut(sc)) return r;
    }
    return nullptr;
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    if (FAutoCheck) SetChecked(!FChecked);
    if (OnClick) {
        TNotifyEvent handler = OnClick;  // the handler may free this item
        handler(this);
    }
}

void TMenuItem::SetParentComponent(TComponent* parent) {
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
}

TComponent* TMenuItem::GetParentComponent() const {
    if (!FParent) return nullptr;
    if (FParent->FMenu) return FParent->FMenu;
    return FParent;
}

// ---- Measuring and drawing --------------------------------------------------------

namespace {
constexpr int kTextGap = 6;       // glyph box to caption
constexpr int kShortCutGap = 16;  // caption to short cut
constexpr int kEdge = 4;          // free space at both ends

int GlyphSize(TMenuItem& item) {
    TMenu* m = item.GetParentMenu();
    TImageList* images = m ? m->Images() : nullptr;
    return std::max(16, images ? images->Width() : 0);
}
}  // namespace

void TMenuItem::MeasureDefault(TCanvas& canvas, int& width, int& height) {
    if (IsLine()) {
        width = kEdge * 2;
        height = 8;
        return;
    }
    int g = GlyphSize(*this);
    RECT r{0, 0, 0, 0};
    std::wstring caption = FCaption.empty() ? L" " : FCaption;
    canvas.DrawTextRect(caption, r, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP | DT_EXPANDTABS);
    width = kEdge + g + kTextGap + (r.right - r.left) + kEdge;
    if (FShortCut != scNone) width += kShortCutGap + canvas.TextWidth(ShortCutToText(FShortCut));
    height = std::max<int>(r.bottom - r.top + 4, g + 4);
}

void TMenuItem::MeasureItem(TCanvas& canvas, int& width, int& height) {
    MeasureDefault(canvas, width, height);
    if (OnMeasureItem) OnMeasureItem(this, &canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas& canvas, RECT rect, bool selected) {
    if (OnDrawItem)
        OnDrawItem(this, &canvas, rect, selected);
    else
        DrawDefault(canvas, rect, selected);
}

void TMenuItem::DrawDefault(TCanvas& canvas, RECT rect, bool selected) {
    TMenu* menu = GetParentMenu();
    bool rtl = menu && menu->IsRightToLeft();
    bool highlight = selected && !IsLine();
    canvas.Brush().SetColor(highlight ? clHighlight : clMenu);
    canvas.FillRect(rect);
    if (IsLine()) {
        RECT line{rect.left + kEdge, rect.top + (rect.bottom - rect.top) / 2 - 1, rect.right - kEdge, rect.bottom};
        ::DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    int g = GlyphSize(*this);
    int top = rect.top + (rect.bottom - rect.top - g) / 2;
    int glyphLeft = rtl ? rect.right - kEdge - g : rect.left + kEdge;
    TImageList* images = menu ? menu->Images() : nullptr;
    if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
        images->Draw(canvas, glyphLeft + (g - images->Width()) / 2, rect.top + (rect.bottom - rect.top - images->Height()) / 2,
                     FImageIndex, FEnabled);
        if (FChecked) {
            RECT box{glyphLeft - 1, top - 1, glyphLeft + g + 1, top + g + 1};
            ::DrawEdge(canvas.Handle(), &box, BDR_SUNKENOUTER, BF_RECT);
        }
    } else if (FChecked) {
        // A tick, or a dot for radio items, in the text colour.
        canvas.Pen().SetColor(!FEnabled ? clGrayText : highlight ? clHighlightText : clMenuText);
        canvas.Brush().SetColor(!FEnabled ? clGrayText : highlight ? clHighlightText : clMenuText);
        int cx = glyphLeft + g / 2, cy = top + g / 2;
        if (FRadioItem) {
            canvas.Ellipse(cx - 3, cy - 3, cx + 3, cy + 3);
        } else {
            for (int d = 0; d < 2; ++d) {
                canvas.MoveTo(cx - 4, cy - 1 + d);
                canvas.LineTo(cx - 1, cy + 2 + d);
                canvas.LineTo(cx + 5, cy - 4 + d);
            }
        }
    }
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    TFont& f = canvas.Font();
    if (FDefault) f.SetStyle(f.Style() | fsBold);
    f.SetColor(!FEnabled ? clGrayText : highlight ? clHighlightText : clMenuText);
    RECT text = rect;
    UINT align = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
    if (rtl) {
        text.right = glyphLeft - kTextGap;
        text.left += kEdge;
        align |= DT_RIGHT | DT_RTLREADING;
    } else {
        text.left = glyphLeft + g + kTextGap;
        text.right -= kEdge;
    }
    canvas.DrawTextRect(FCaption, text, align);
    if (FShortCut != scNone) {
        std::wstring sc = ShortCutToText(FShortCut);
        canvas.DrawTextRect(sc, text, (align & ~UINT(DT_RIGHT | DT_RTLREADING)) | (rtl ? DT_LEFT : DT_RIGHT));
    }
    if (FDefault) f.SetStyle(f.Style() & ~TFontStyles(fsBold));
}

// ---- TMenu ----------------------------------------------------------------------------

const TClassInfo& TMenu::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TMenu>("TMenu", &TComponent::StaticClassInfo())
            .object("Images", [](const TMenu& m) -> TObject* { return m.Images(); },
                    [](TMenu& m, TObject* v) -> bool {
                        auto* images = dynamic_cast<TImageList*>(v);
                        if (v && !images) return false;
                        m.SetImages(images);
                        return true;
                    },
                    &TImageList::StaticClassInfo())
            .boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw)
            .enumeration("BiDiMode", kBiDiModes, [](const TMenu& m) { return int(m.BiDiMode()); },
                         [](TMenu& m, int v) { m.SetBiDiMode(TBiDiMode(v)); })
            .build();
    return info;
}

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() {
    delete FItems;
    FItems = nullptr;
}

void TMenu::SetImages(TImageList* images) {
    if (LinkComponent(this, FImages, images) && FOwnerDraw) Rebuild();
}

void TMenu::Rebuild() {
    FItems->RebuildTree();
    MenuChanged();
}

void TMenu::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == FImages) {
        FImages = nullptr;
        if (FItems && FOwnerDraw) Rebuild();
    }
}

void TMenu::SetOwnerDraw(bool on) {
    if (on == FOwnerDraw) return;
    FOwnerDraw = on;
    FItems->RebuildTree();
    MenuChanged();
}

void TMenu::SetBiDiMode(TBiDiMode m) {
    if (m == FBiDiMode) return;
    FBiDiMode = m;
    FItems->RebuildTree();
    MenuChanged();
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const {
    switch (kind) {
        case TFindItemKind::fkCommand: {
            TMenuItem* i = value <= kLastCommand ? TMenuItem::FromCommand(UINT(value)) : nullptr;
            return i && i != FItems && i->GetParentMenu() == this ? i : nullptr;
        }
        case TFindItemKind::fkHandle:
            return value ? FItems->FindByHandle(reinterpret_cast<HMENU>(value)) : nullptr;
        case TFindItemKind::fkShortCut:
            return FItems->FindByShortCut(TShortCut(value));
    }
    return nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* i = FindItem(command, TFindItemKind::fkCommand);
    if (!i) return false;
    i->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU submenu) {
    TMenuItem* i = FindItem(reinterpret_cast<UINT_PTR>(submenu), TFindItemKind::fkHandle);
    if (!i || i == FItems) return false;
    i->Click();
    return true;
}

bool TMenu::IsShortCut(WORD vk) {
    TShortCut sc = TShortCut(vk & 0xFF);
    if (::GetKeyState(VK_SHIFT) < 0) sc |= scShift;
    if (::GetKeyState(VK_CONTROL) < 0) sc |= scCtrl;
    if (::GetKeyState(VK_MENU) < 0) sc |= scAlt;
    TMenuItem* i = FindItem(UINT_PTR(sc), TFindItemKind::fkShortCut);
    if (!i || !i->Enabled()) return false;
    // Every parent must be reachable too.
    for (TMenuItem* p = i->Parent(); p && p != FItems; p = p->Parent())
        if (!p->Enabled() || !p->Visible()) return false;
    i->Click();
    return true;
}

// ---- TMainMenu ------------------------------------------------------------------------

const TClassInfo& TMainMenu::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TMainMenu>("TMainMenu", &TMenu::StaticClassInfo()).creatable().build();
    return info;
}

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}
TMainMenu::~TMainMenu() { Detach(); }

void TMainMenu::AttachTo(HWND wnd) {
    if (FWindow && FWindow != wnd) Detach();
    FWindow = wnd;
    if (wnd) ::SetMenu(wnd, Handle());
}

void TMainMenu::Detach() {
    if (FWindow && ::IsWindow(FWindow) && HandleAllocated() && ::GetMenu(FWindow) == Handle())
        ::SetMenu(FWindow, nullptr);
    FWindow = nullptr;
}

void TMainMenu::MenuChanged() {
    if (!FWindow || !::IsWindow(FWindow) || !HandleAllocated()) return;
    if (::GetMenu(FWindow) == Handle()) ::DrawMenuBar(FWindow);
    // The window may show the menu in a bar of its own, with the menu taken
    // off the window: it hears of every change.
    if (TWinControl* c = FindControl(FWindow)) c->Perform(CM_MENUCHANGED);
}

// ---- TPopupMenu -----------------------------------------------------------------------

namespace {
// The hidden owner of pop-up menus that have no window of their own, alive
// while any pop-up menu exists.
struct PopupOwner {
    std::unique_ptr<TUtilWindow> window;
    int instances = 0;
    static PopupOwner& get() {
        static PopupOwner p;
        return p;
    }
    HWND handle() {
        if (!window)
            window = std::make_unique<TUtilWindow>(
                [](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
                    return HandleMenuMessage(msg, wParam, lParam, result);
                },
                false);
        return window->Handle();
    }
};
}  // namespace

const TClassInfo& TPopupMenu::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPopupMenu>("TPopupMenu", &TMenu::StaticClassInfo())
            .creatable()
            .boolean("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup)
            .enumeration("Alignment", kAlignments, [](const TPopupMenu& m) { return int(m.Alignment()); },
                         [](TPopupMenu& m, int v) { m.SetAlignment(TPopupAlignment(v)); })
            .event<TNotifyEvent>("OnPopup", [](const TPopupMenu& m) { return m.OnPopup; },
                                 [](TPopupMenu& m, const TNotifyEvent& f) { m.OnPopup = f; })
            .build();
    return info;
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) { ++PopupOwner::get().instances; }

TPopupMenu::~TPopupMenu() {
    auto& po = PopupOwner::get();
    if (--po.instances == 0) po.window.reset();
}

void TPopupMenu::Popup(int x, int y) {
    FPopupPoint = POINT{x, y};
    if (OnPopup) OnPopup(this);
    HWND owner = FOwnerWindow && ::IsWindow(FOwnerWindow) ? FOwnerWindow : PopupOwner::get().handle();
    HMENU h = Handle();
    if (!owner || !h || ::GetMenuItemCount(h) <= 0) return;
    UINT flags = TPM_RETURNCMD | TPM_RIGHTBUTTON;
    TPopupAlignment a = FAlignment;
    if (IsRightToLeft()) {
        flags |= TPM_LAYOUTRTL;
        // The menu opens leftwards from the point in right-to-left layouts.
        if (a == TPopupAlignment::paLeft) a = TPopupAlignment::paRight;
        else if (a == TPopupAlignment::paRight) a = TPopupAlignment::paLeft;
    }
    flags |= a == TPopupAlignment::paRight ? TPM_RIGHTALIGN : a == TPopupAlignment::paCenter ? TPM_CENTERALIGN : TPM_LEFTALIGN;
    UINT command = UINT(::TrackPopupMenuEx(h, flags, x, y, owner, nullptr));
    // Lets the owner's queue see the menu closed (menus from hidden owners
    // otherwise stay open after a click elsewhere on some systems).
    ::PostMessageW(owner, WM_NULL, 0, 0);
    if (command) DispatchCommand(command);  // may free this menu
}

// ---- Window messages ----------------------------------------------------------------

bool HandleMenuMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_COMMAND: {
            // Menus send notification code 0 and no control handle.
            if (HIWORD(wParam) != 0 || lParam != 0) return false;
            TMenuItem* item = TMenuItem::FromCommand(LOWORD(wParam));
            if (!item || !item->GetParentMenu()) return false;
            item->Click();
            result = 0;
            return true;
        }
        case WM_INITMENUPOPUP: {
            HMENU h = reinterpret_cast<HMENU>(wParam);
            for (auto& [cmd, item] : CommandPool()) {
                (void)cmd;
                if (item->HandleAllocated() && item->Handle() == h && item->GetParentMenu()) {
                    if (TMenu* m = item->GetParentMenu(); m && m->Items() != item) item->Click();
                    result = 0;
                    return true;
                }
            }
            return false;
        }
        case WM_MEASUREITEM: {
            auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (!mis || mis->CtlType != ODT_MENU) return false;
            TMenuItem* item = TMenuItem::FromCommand(mis->itemID);
            // The item data tells our items from a foreign menu's that
            // happens to use the same number.
            if (!item || !item->GetParentMenu() || mis->itemData != reinterpret_cast<ULONG_PTR>(item)) return false;
            ClientDCScope screen(nullptr);
            TCanvas canvas(screen.get());
            canvas.Font().AssignLogFont(MenuLogFont());
            canvas.Font().SetColor(clMenuText);
            int w = 0, h = 0;
            item->MeasureItem(canvas, w, h);
            mis->itemWidth = UINT(std::max(w, 0));
            mis->itemHeight = UINT(std::max(h, 0));
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (!dis || dis->CtlType != ODT_MENU) return false;
            TMenuItem* item = TMenuItem::FromCommand(dis->itemID);
            if (!item || !item->GetParentMenu() || dis->itemData != reinterpret_cast<ULONG_PTR>(item)) return false;
            SaveDCScope saved(dis->hDC);
            TCanvas canvas(dis->hDC);
            canvas.Font().AssignLogFont(MenuLogFont());
            canvas.Font().SetColor(clMenuText);
            item->DrawItem(canvas, dis->rcItem, (dis->itemState & ODS_SELECTED) != 0);
            canvas.ReleaseSelections();
            result = TRUE;
            return true;
        }
        case WM_MENUCHAR: {
            // Owner-drawn items have no text the system can search for their
            // accelerators: find the item ourselves.
            HMENU h = reinterpret_cast<HMENU>(lParam);
            wchar_t key = wchar_t(::towupper(wchar_t(LOWORD(wParam))));
            int n = ::GetMenuItemCount(h);
            for (int pos = 0; pos < n; ++pos) {
                MENUITEMINFOW mii{};
                mii.cbSize = sizeof mii;
                mii.fMask = MIIM_ID | MIIM_SUBMENU;
                if (!::GetMenuItemInfoW(h, UINT(pos), TRUE, &mii)) continue;
                TMenuItem* item = nullptr;
                if (mii.hSubMenu) {
                    for (auto& [cmd, it] : CommandPool()) {
                        (void)cmd;
                        if (it->HandleAllocated() && it->Handle() == mii.hSubMenu) item = it;
                    }
                } else {
                    item = TMenuItem::FromCommand(mii.wID);
                }
                if (item && item->Enabled() && GetHotkey(item->Caption()) == key) {
                    result = MAKELRESULT(pos, MNC_EXECUTE);
                    return true;
                }
            }
            return false;
        }
    }
    return false;
}

void RegisterGraphicsClasses() {
    RegisterComponentClass(TImageList::StaticClassInfo());
    RegisterComponentClass(TTimer::StaticClassInfo());
    RegisterComponentClass(TMenuItem::StaticClassInfo());
    RegisterComponentClass(TMainMenu::StaticClassInfo());
    RegisterComponentClass(TPopupMenu::StaticClassInfo());
}

}  // namespace qs
