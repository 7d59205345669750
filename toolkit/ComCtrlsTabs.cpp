// Controls of this family: page and tab controls, tab sets, headers and list views.
#include "ComCtrlsTabs.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "Application.h"
#include "Forms.h"
#include "PropertyHelpers.h"
#include "SkinTabGeometry.h"

namespace qs {

const std::vector<std::string> kTabPositionNames = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
const std::vector<std::string> kTabStyleNames = {"tsTabs", "tsButtons", "tsFlatButtons"};

namespace {
std::vector<std::wstring> toWide(const TStringList& l) {
    std::vector<std::wstring> out;
    for (auto& s : l) {
        int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
        std::wstring w(size_t(n), L'\0');
        if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
        out.push_back(std::move(w));
    }
    return out;
}
TStringList toUtf8(const std::vector<std::wstring>& l) {
    TStringList out;
    for (auto& w : l) {
        int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), nullptr, 0, nullptr, nullptr);
        std::string s(size_t(n), '\0');
        if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), int(w.size()), s.data(), n, nullptr, nullptr);
        out.push_back(std::move(s));
    }
    return out;
}

// Ctrl+Tab and Ctrl+Shift+Tab reach the form as a dialog key whichever
// control has the focus; the innermost tab control around that control moves.
void formDialogKey(TCustomForm* form, TMessage& msg) {
    if (msg.WParam == VK_TAB && (KeyboardShiftState() & ssCtrl) && !(KeyboardShiftState() & ssAlt)) {
        TWinControl* c = nullptr;
        for (HWND w = GetFocus(); w && !c; w = GetParent(w)) c = FindControl(w);
        for (; c && c != form; c = c->Parent())
            if (auto* tabs = dynamic_cast<TCustomTabControl*>(c)) {
                if (GetParentForm(tabs) != form) break;
                tabs->SelectNextTab(!(KeyboardShiftState() & ssShift));
                msg.Result = 1;
                return;
            }
    }
    form->DefaultHandler(msg);
}
}  // namespace

// ---- TCustomTabControl ----

const TClassInfo& TCustomTabControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomTabControl>("TCustomTabControl", &TWinControl::StaticClassInfo())
            .enumeration("TabPosition", kTabPositionNames, [](const TCustomTabControl& t) { return int(t.TabPosition()); },
                         [](TCustomTabControl& t, int v) { t.SetTabPosition(TTabPosition(v)); })
            .enumeration("Style", kTabStyleNames, [](const TCustomTabControl& t) { return int(t.Style()); },
                         [](TCustomTabControl& t, int v) { t.SetStyle(TTabStyle(v)); })
            .boolean("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine)
            .object("Images", [](const TCustomTabControl& t) -> TObject* { return t.Images(); },
                    [](TCustomTabControl& t, TObject* o) -> bool {
                        auto* l = dynamic_cast<TImageList*>(o);
                        if (o && !l) return false;
                        t.SetImages(l);
                        return true;
                    },
                    &TImageList::StaticClassInfo())
            .event<TNotifyEvent>("OnChange", [](const TCustomTabControl& t) { return t.OnChange; },
                                 [](TCustomTabControl& t, const TNotifyEvent& f) { t.OnChange = f; })
            .event<TTabChangingEvent>("OnChanging", [](const TCustomTabControl& t) { return t.OnChanging; },
                                      [](TCustomTabControl& t, const TTabChangingEvent& f) { t.OnChanging = f; })
            .build();
    return info;
}

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    SetColor(clBtnFace);
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TCustomTabControl::~TCustomTabControl() { DestroyHandle(); }

void TCustomTabControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = WC_TABCONTROLW;
    p.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TCS_FOCUSONBUTTONDOWN;
    if (FStyle == tsButtons) p.Style |= TCS_BUTTONS;
    if (FStyle == tsFlatButtons) p.Style |= TCS_BUTTONS | TCS_FLATBUTTONS;
    if (FMultiLine) p.Style |= TCS_MULTILINE;
    switch (FTabPosition) {
        case tpTop: break;
        case tpBottom: p.Style |= TCS_BOTTOM; break;
        case tpLeft: p.Style |= TCS_VERTICAL | TCS_MULTILINE; break;
        case tpRight: p.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE; break;
    }
}

void TCustomTabControl::CreateHandle() {
    TWinControl::CreateHandle();
    if (FImages) SendMessageW(FHandle, TCM_SETIMAGELIST, 0, LPARAM(FImages->Handle()));
    PushTabs();
    InstallDialogKeyHook();
    Realign();
}

void TCustomTabControl::InstallDialogKeyHook() {
    TCustomForm* form = GetParentForm(this);
    if (!form) return;
    form->SetMessageHandler(CM_DIALOGKEY, [form](TMessage& m) { formDialogKey(form, m); });
}

void TCustomTabControl::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FImages) SetImages(nullptr);
}

void TCustomTabControl::SetImages(TImageList* list) {
    if (!LinkComponent(this, FImages, list)) return;
    if (FHandle) {
        SendMessageW(FHandle, TCM_SETIMAGELIST, 0, LPARAM(list ? list->Handle() : nullptr));
        Realign();
        Invalidate();
    }
}

void TCustomTabControl::SetTabItems(std::vector<std::wstring> texts, std::vector<int> images) {
    images.resize(texts.size(), -1);
    FTabTexts = std::move(texts);
    FTabImages = std::move(images);
    if (FTabIndex >= TabCount()) FTabIndex = TabCount() - 1;
    PushTabs();
}

void TCustomTabControl::PushTabs() {
    if (!FHandle) return;
    SendMessageW(FHandle, TCM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < TabCount(); ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<wchar_t*>(FTabTexts[size_t(i)].c_str());
        item.iImage = FTabImages[size_t(i)];
        SendMessageW(FHandle, TCM_INSERTITEMW, WPARAM(i), LPARAM(&item));
    }
    SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(FTabIndex), 0);
    Realign();
    Invalidate();
}

int TCustomTabControl::TabIndex() const {
    if (FHandle) return int(SendMessageW(FHandle, TCM_GETCURSEL, 0, 0));
    return FTabIndex;
}

bool TCustomTabControl::SetTabIndex(int index) {
    if (index < -1 || index >= TabCount()) return false;
    FTabIndex = index;
    if (FHandle) SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(index), 0);
    return true;
}

void TCustomTabControl::SetTabPosition(TTabPosition p) {
    if (ChangeField(FTabPosition, p)) RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle s) {
    if (ChangeField(FStyle, s)) RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool v) {
    if (ChangeField(FMultiLine, v)) RecreateWnd();
}

RECT TCustomTabControl::DisplayRect() {
    HandleNeeded();
    RECT r = ClientRect();
    AdjustClientRect(r);
    return r;
}

void TCustomTabControl::AdjustClientRect(RECT& r) const {
    if (FHandle) {
        SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&r));
    } else {
        InflateRect(&r, -4, -4);
        r.top += 20;
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
}

RECT TCustomTabControl::TabRect(int i) {
    RECT r{};
    if (!HandleAllocated() || !SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), LPARAM(&r))) return RECT{};
    return r;
}

int TCustomTabControl::IndexOfTabAt(int x, int y) {
    if (!HandleAllocated()) return -1;
    TCHITTESTINFO hit{};
    hit.pt = POINT{x, y};
    return int(SendMessageW(FHandle, TCM_HITTEST, 0, LPARAM(&hit)));
}

bool TCustomTabControl::SelectNextTab(bool forward) {
    const int n = TabCount();
    if (n < 2) return false;
    int cur = TabIndex();
    int next = cur < 0 ? 0 : (cur + (forward ? 1 : n - 1)) % n;
    if (!CanChange()) return false;
    SetTabIndex(next);
    Change();
    return true;
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case CN_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
            if (hdr && hdr->code == UINT(TCN_SELCHANGING)) {
                msg.Result = CanChange() ? 0 : 1;
                return;
            }
            if (hdr && hdr->code == UINT(TCN_SELCHANGE)) {
                FTabIndex = TabIndex();
                Change();
                msg.Result = 0;
                return;
            }
            break;
        }
        case WM_KEYDOWN:
            // Outside the application's loop (a modal loop of someone else's)
            // the key comes here directly when the tabs have the focus.
            if (msg.WParam == VK_TAB && (GetKeyState(VK_CONTROL) < 0)) {
                SelectNextTab(GetKeyState(VK_SHIFT) >= 0);
                msg.Result = 0;
                return;
            }
            break;
        case WM_SIZE:
            TWinControl::WndProc(msg);
            Realign();
            return;
        default:
            break;
    }
    TWinControl::WndProc(msg);
}

// ---- TTabControl ----

const TClassInfo& TTabControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTabControl>("TTabControl", &TCustomTabControl::StaticClassInfo())
            .creatable()
            .strings("Tabs", [](const TTabControl& t) { return toUtf8(t.Tabs()); },
                     [](TTabControl& t, const TStringList& l) { t.SetTabs(toWide(l)); })
            .integer("TabIndex", [](const TTabControl& t) { return int64_t(t.TabIndex()); },
                     [](TTabControl& t, int64_t v) -> bool {
                         // Tabs may come after TabIndex in a definition.
                         if (t.IsLoading() && v >= -1 && v < 10000) {
                             t.FTabIndex = int(v);
                             return true;
                         }
                         return v >= -1 && v <= INT32_MAX && t.SetTabIndex(int(v));
                     })
            .build();
    return info;
}

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner) {}

void TTabControl::SetTabs(const std::vector<std::wstring>& tabs) {
    int keep = FTabIndex;
    if (keep < 0 && !tabs.empty() && !IsLoading()) keep = 0;
    FTabIndex = std::min(keep, int(tabs.size()) - 1);
    SetTabItems(tabs, {});
}

void TTabControl::AddTab(const std::wstring& text) {
    auto t = FTabTexts;
    t.push_back(text);
    SetTabs(t);
}

// ---- TTabSheet ----

const TClassInfo& TTabSheet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTabSheet>("TTabSheet", &TWinControl::StaticClassInfo())
            .creatable()
            .object("PageControl", [](const TTabSheet& s) -> TObject* { return s.PageControl(); },
                    [](TTabSheet& s, TObject* o) -> bool {
                        auto* pc = dynamic_cast<TPageControl*>(o);
                        if (o && !pc) return false;
                        s.SetPageControl(pc);
                        return true;
                    },
                    // Not named here: the page control's own information names
                    // this class, and the two cannot build each other.
                    nullptr)
            .integer("PageIndex", [](const TTabSheet& s) { return int64_t(s.PageIndex()); },
                     [](TTabSheet& s, int64_t v) -> bool {
                         if (v < 0 || v > INT32_MAX) return false;
                         s.SetPageIndex(int(v));
                         return true;
                     })
            .boolean("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible)
            .integer("ImageIndex", [](const TTabSheet& s) { return int64_t(s.ImageIndex()); },
                     [](TTabSheet& s, int64_t v) -> bool {
                         if (v < -1 || v > INT32_MAX) return false;
                         s.SetImageIndex(int(v));
                         return true;
                     })
            .build();
    return info;
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    SetAlign(alClient);
    SetColor(clBtnFace);
    SetVisible(false);
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TTabSheet::~TTabSheet() {
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = nullptr;
    DestroyHandle();
}

void TTabSheet::SetParent(TWinControl* parent) {
    TWinControl::SetParent(parent);
    auto* pc = dynamic_cast<TPageControl*>(parent);
    if (pc == FPageControl) return;
    if (FPageControl) FPageControl->RemovePage(this);
    FPageControl = nullptr;
    if (pc) pc->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* pc) { SetParent(pc); }

int TTabSheet::PageIndex() const {
    if (!FPageControl) return -1;
    auto& pages = FPageControl->FPages;
    return int(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int i) {
    if (FPageControl) FPageControl->MovePage(this, i);
}

int TTabSheet::TabIndex() const {
    if (!FPageControl || !FTabVisible) return -1;
    int n = 0;
    for (TTabSheet* p : FPageControl->FPages) {
        if (p == this) return n;
        if (p->FTabVisible) ++n;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool v) {
    if (v == FTabVisible) return;
    FTabVisible = v;
    if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int i) {
    if (i == FImageIndex) return;
    FImageIndex = i;
    if (FPageControl) FPageControl->UpdateTabs();
}

void TTabSheet::TextChanged() {
    TWinControl::TextChanged();
    if (FPageControl) FPageControl->UpdateTabs();
}

// ---- TPageControl ----

const TClassInfo& TPageControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPageControl>("TPageControl", &TCustomTabControl::StaticClassInfo())
            .creatable()
            .object("ActivePage", [](const TPageControl& p) -> TObject* { return p.ActivePage(); },
                    [](TPageControl& p, TObject* o) -> bool {
                        auto* s = dynamic_cast<TTabSheet*>(o);
                        if (o && !s) return false;
                        p.SetActivePage(s);
                        return true;
                    },
                    &TTabSheet::StaticClassInfo())
            .integer("ActivePageIndex", [](const TPageControl& p) { return int64_t(p.ActivePageIndex()); },
                     [](TPageControl& p, int64_t v) -> bool {
                         if (v < -1 || v >= p.PageCount()) return false;
                         p.SetActivePageIndex(int(v));
                         return true;
                     })
            .build();
    return info;
}

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl() {
    // The sheets outlive this object's page list while the window code
    // takes them off their parent.
    for (TTabSheet* p : FPages) {
        p->FPageControl = nullptr;
        p->RemoveFreeNotification(this);
        RemoveFreeNotification(p);
    }
    FPages.clear();
    FActivePage = nullptr;
}

void TPageControl::InsertPage(TTabSheet* page) {
    FPages.push_back(page);
    page->FPageControl = this;
    page->FreeNotification(this);
    UpdateTabs();
    if (!FActivePage && page->TabVisible()) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    TTabSheet* next = nullptr;
    if (page == FActivePage) {
        next = FindNextPage(page, true);
        if (next == page) next = nullptr;
    }
    FPages.erase(it);
    page->FPageControl = nullptr;
    page->RemoveFreeNotification(this);
    RemoveFreeNotification(page);
    if (page == FActivePage) {
        FActivePage = nullptr;
        SetActivePage(next);
    }
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(FPages.begin(), FPages.end(), page);
    if (it == FPages.end()) return;
    FPages.erase(it);
    index = std::clamp(index, 0, int(FPages.size()));
    FPages.insert(FPages.begin() + index, page);
    UpdateTabs();
}

void TPageControl::Notification(TComponent* c, TOperation op) {
    TCustomTabControl::Notification(c, op);
    if (op == TOperation::opRemove)
        if (auto* s = dynamic_cast<TTabSheet*>(c)) RemovePage(s);
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    UpdateTabs();
    ShowActive();
}

void TPageControl::UpdateTabs() {
    std::vector<std::wstring> texts;
    std::vector<int> images;
    for (TTabSheet* p : FPages)
        if (p->TabVisible()) {
            texts.push_back(p->Caption());
            images.push_back(p->ImageIndex());
        }
    FTabIndex = FActivePage ? FActivePage->TabIndex() : -1;
    SetTabItems(std::move(texts), std::move(images));
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool forward) const {
    const int n = PageCount();
    if (n == 0) return nullptr;
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (FPages[size_t(i)] == current) start = i;
    if (start < 0) start = forward ? n - 1 : 0;
    for (int k = 1; k <= n; ++k) {
        int i = (start + (forward ? k : n - k)) % n;
        if (FPages[size_t(i)]->TabVisible()) return FPages[size_t(i)];
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool forward) {
    TTabSheet* next = FindNextPage(FActivePage, forward);
    if (!next || next == FActivePage || !CanChange()) return;
    SetActivePage(next);
    TCustomTabControl::Change();
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->FPageControl != this) return;
    FActivePage = page;
    FTabIndex = page ? page->TabIndex() : -1;
    if (FHandle) SendMessageW(FHandle, TCM_SETCURSEL, WPARAM(FTabIndex), 0);
    ShowActive();
}

int TPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int i) { SetActivePage(Pages(i)); }

void TPageControl::ShowActive() {
    if (IsLoading()) return;
    for (TTabSheet* p : FPages)
        if (p != FActivePage) p->SetVisible(false);
    if (FActivePage) {
        FActivePage->SetVisible(true);
        FActivePage->BringToFront();
    }
}

TTabSheet* TPageControl::AddPage(const std::wstring& caption) {
    auto* sheet = new TTabSheet(Owner() ? Owner() : this);
    sheet->SetCaption(caption);
    sheet->SetPageControl(this);
    return sheet;
}

void TPageControl::Change() {
    // The user chose a tab: the page of that tab comes forward.
    const int tab = TabIndex();
    for (TTabSheet* p : FPages)
        if (p->TabIndex() == tab && tab >= 0) {
            FActivePage = p;
            ShowActive();
            break;
        }
    TCustomTabControl::Change();
}

// ---- TTabSet ----

const TClassInfo& TTabSet::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTabSet>("TTabSet", &TCustomControl::StaticClassInfo())
            .creatable()
            .strings("Tabs", [](const TTabSet& t) { return toUtf8(t.Tabs()); },
                     [](TTabSet& t, const TStringList& l) { t.SetTabs(toWide(l)); })
            .integer("TabIndex", [](const TTabSet& t) { return int64_t(t.TabIndex()); },
                     [](TTabSet& t, int64_t v) -> bool {
                         if (t.IsLoading() && v >= -1 && v < 10000) {
                             t.FTabIndex = int(v);
                             return true;
                         }
                         return v >= -1 && v <= INT32_MAX && t.SetTabIndex(int(v));
                     })
            .integer("FirstIndex", [](const TTabSet& t) { return int64_t(t.FirstIndex()); },
                     [](TTabSet& t, int64_t v) -> bool {
                         if (v < 0 || v > INT32_MAX) return false;
                         t.SetFirstIndex(int(v));
                         return true;
                     })
            .integer("StartMargin", [](const TTabSet& t) { return int64_t(t.StartMargin()); },
                     [](TTabSet& t, int64_t v) -> bool {
                         if (v < 0 || v > 0x7FFF) return false;
                         t.SetStartMargin(int(v));
                         return true;
                     })
            .integer("EndMargin", [](const TTabSet& t) { return int64_t(t.EndMargin()); },
                     [](TTabSet& t, int64_t v) -> bool {
                         if (v < 0 || v > 0x7FFF) return false;
                         t.SetEndMargin(int(v));
                         return true;
                     })
            .event<TNotifyEvent>("OnChange", [](const TTabSet& t) { return t.OnChange; },
                                 [](TTabSet& t, const TNotifyEvent& f) { t.OnChange = f; })
            .build();
    return info;
}

TTabSet::TTabSet(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 185, 21);
    SetColor(clBtnFace);
    SetTabStop(true);
    // The scroller is the first component the tab set owns.
    FScroller = new TUpDown(this);
    FScroller->SetOrientation(udHorizontal);
    FScroller->SetVisible(false);
    FScroller->SetParent(this);
    FScroller->OnClick = [this](TObject*, TUDBtnType b) {
        SetFirstIndex(FFirstIndex + (b == TUDBtnType::btNext ? 1 : -1));
    };
}

TTabSet::~TTabSet() {
    FScroller = nullptr;
    DestroyHandle();
}

void TTabSet::SetTabs(const std::vector<std::wstring>& tabs) {
    FTabs = tabs;
    if (FTabIndex >= int(FTabs.size())) FTabIndex = int(FTabs.size()) - 1;
    if (FTabIndex < 0 && !FTabs.empty() && !IsLoading()) FTabIndex = 0;
    FFirstIndex = std::clamp(FFirstIndex, 0, std::max(0, int(FTabs.size()) - 1));
    Layout();
    Invalidate();
}

bool TTabSet::SetTabIndex(int i) {
    if (i < -1 || i >= int(FTabs.size())) return false;
    if (i == FTabIndex) return true;
    FTabIndex = i;
    Invalidate();
    if (OnChange) OnChange(this);
    return true;
}

void TTabSet::SetFirstIndex(int i) {
    i = std::clamp(i, 0, std::max(0, int(FTabs.size()) - 1));
    if (i == FFirstIndex) return;
    FFirstIndex = i;
    Layout();
    Invalidate();
}

void TTabSet::SetStartMargin(int v) {
    FStartMargin = v;
    Layout();
    Invalidate();
}

void TTabSet::SetEndMargin(int v) {
    FEndMargin = v;
    Layout();
    Invalidate();
}

void TTabSet::Resize() {
    TCustomControl::Resize();
    Layout();
}

void TTabSet::Layout() {
    if (!HandleAllocated() || !FScroller) return;
    std::vector<int> widths;
    HDC dc = GetDC(FHandle);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    for (auto& t : FTabs) {
        SIZE s{};
        GetTextExtentPoint32W(dc, t.c_str(), int(t.size()), &s);
        widths.push_back(s.cx);
    }
    SelectObject(dc, old);
    ReleaseDC(FHandle, dc);
    // Do all tabs fit from the first one on without the scroller?
    auto all = tabSetLayout(widths, 0, FStartMargin, FEndMargin, Width(), Height(), false);
    FAllFit = std::none_of(all.begin(), all.end(), [](const PixelRect& r) { return r.empty(); });
    const bool scroller = !FAllFit;
    if (scroller) {
        FScroller->SetBounds(Width() - 2 * Height() + 2, 0, 2 * Height() - 2, Height());
        FScroller->SetMin(0);
        FScroller->SetMax(std::max(0, int(FTabs.size()) - 1));
        FScroller->SetPosition(FFirstIndex);
    } else if (FFirstIndex != 0) {
        FFirstIndex = 0;
    }
    FScroller->SetVisible(scroller);
    auto laid = tabSetLayout(widths, FFirstIndex, FStartMargin, FEndMargin, Width(), Height(), scroller);
    FRects.clear();
    for (auto& r : laid) FRects.push_back(RECT{r.left, r.top, r.right, r.bottom});
}

RECT TTabSet::TabRect(int i) {
    if (FRects.size() != FTabs.size()) Layout();
    return i >= 0 && size_t(i) < FRects.size() ? FRects[size_t(i)] : RECT{};
}

int TTabSet::IndexOfTabAt(int x, int y) {
    for (int i = 0; i < int(FTabs.size()); ++i) {
        RECT r = TabRect(i);
        POINT p{x, y};
        if (!IsRectEmpty(&r) && PtInRect(&r, p)) return i;
    }
    return -1;
}

void TTabSet::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_LBUTTONDOWN: {
            int i = IndexOfTabAt(GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam));
            if (i >= 0) SetTabIndex(i);
            if (CanFocus()) SetFocus();
            break;
        }
        case WM_GETDLGCODE:
            msg.Result = DLGC_WANTARROWS;
            return;
        case WM_KEYDOWN:
            if (msg.WParam == VK_LEFT && FTabIndex > 0) SetTabIndex(FTabIndex - 1);
            if (msg.WParam == VK_RIGHT && FTabIndex + 1 < int(FTabs.size())) SetTabIndex(FTabIndex + 1);
            break;
        case WM_SIZE:
        case WM_SETFONT:
        case CM_FONTCHANGED:
            TCustomControl::WndProc(msg);
            Layout();
            Invalidate();
            return;
        default:
            break;
    }
    TCustomControl::WndProc(msg);
}

void TTabSet::Paint() {
    if (FRects.size() != FTabs.size()) Layout();
    TCanvas& c = *Canvas();
    RECT all = ClientRect();
    c.Brush().SetColor(Color());
    c.FillRect(all);
    // A line along the top: the edge of whatever the tabs hang from.
    c.Pen().SetColor(clBtnShadow);
    c.MoveTo(0, 0);
    c.LineTo(all.right, 0);
    for (int i = 0; i < int(FTabs.size()); ++i) {
        RECT r = FRects[size_t(i)];
        if (IsRectEmpty(&r)) continue;
        const bool sel = i == FTabIndex;
        RECT box{r.left, sel ? 0 : 1, r.right, r.bottom - 1};
        c.Brush().SetColor(sel ? clWindow : clBtnFace);
        c.Pen().SetColor(clBtnShadow);
        c.Rectangle(box);
        c.Brush().SetStyle(TBrushStyle::bsClear);
        c.Font().SetColor(clBtnText);
        RECT t = box;
        c.DrawTextRect(FTabs[size_t(i)], t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        c.Brush().SetStyle(TBrushStyle::bsSolid);
    }
}

void RegisterTabControlClasses() {
    RegisterComponentClass(TTabControl::StaticClassInfo());
    RegisterComponentClass(TPageControl::StaticClassInfo());
    RegisterComponentClass(TTabSheet::StaticClassInfo());
    RegisterComponentClass(TTabSet::StaticClassInfo());
    RegisterComponentClass(THeaderControl::StaticClassInfo());
    RegisterComponentClass(TListView::StaticClassInfo());
    RegisterComponentClass(TGlyphCheckBox::StaticClassInfo());
}

}  // namespace qs
