// Tool bars and their buttons.
#include "ComCtrlsToolBar.h"

#include <algorithm>

#include "PropertyHelpers.h"
#include "Menus.h"
#include "Messages.h"

namespace qs {

const std::vector<std::string> kToolButtonStyleNames = {"tbsButton", "tbsSeparator", "tbsCheck", "tbsDropDown"};

void RegisterToolBarClasses() {
    RegisterComponentClass(TToolBar::StaticClassInfo());
    RegisterComponentClass(TToolButton::StaticClassInfo());
}

// ---- TToolButton ----

const TClassInfo& TToolButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TToolButton>("TToolButton", &TComponent::StaticClassInfo())
            .creatable()
            .wide("Caption", [](const TToolButton& b) { return b.Caption(); },
                  [](TToolButton& b, const std::wstring& s) { b.SetCaption(s); })
            .integer("ImageIndex", [](const TToolButton& b) { return int64_t(b.ImageIndex()); },
                     [](TToolButton& b, int64_t v) -> bool {
                         if (v < -1 || v > INT32_MAX) return false;
                         b.SetImageIndex(int(v));
                         return true;
                     })
            .boolean("Enabled", &TToolButton::Enabled, &TToolButton::SetEnabled)
            .enumeration("Style", kToolButtonStyleNames, [](const TToolButton& b) { return int(b.Style()); },
                         [](TToolButton& b, int v) { b.SetStyle(TToolButtonStyle(v)); })
            .boolean("Down", &TToolButton::Down, &TToolButton::SetDown)
            .boolean("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped)
            .wide("Hint", [](const TToolButton& b) { return b.Hint(); },
                  [](TToolButton& b, const std::wstring& s) { b.SetHint(s); })
            .object("DropdownMenu", [](const TToolButton& b) -> TObject* { return b.DropdownMenu(); },
                    [](TToolButton& b, TObject* o) -> bool {
                        auto* m = dynamic_cast<TPopupMenu*>(o);
                        if (o && !m) return false;
                        b.SetDropdownMenu(m);
                        return true;
                    },
                    &TPopupMenu::StaticClassInfo())
            .event<TNotifyEvent>("OnClick", [](const TToolButton& b) { return b.OnClick; },
                                 [](TToolButton& b, const TNotifyEvent& f) { b.OnClick = f; })
            .build();
    return info;
}

TToolButton::TToolButton(TComponent* owner) : TComponent(owner) {
    if (auto* bar = dynamic_cast<TToolBar*>(owner)) SetToolBar(bar);
}

TToolButton::~TToolButton() { SetToolBar(nullptr); }

void TToolButton::SetToolBar(TToolBar* bar) {
    if (bar == FToolBar) return;
    if (FToolBar) FToolBar->Remove(this);
    FToolBar = nullptr;
    if (bar) bar->Insert(this);
}

void TToolButton::SetParentComponent(TComponent* parent) {
    if (auto* bar = dynamic_cast<TToolBar*>(parent)) SetToolBar(bar);
}

TComponent* TToolButton::GetParentComponent() const { return FToolBar; }

void TToolButton::Changed() {
    if (FToolBar) FToolBar->RebuildButtons();
}

void TToolButton::SetCaption(const std::wstring& s) {
    if (ChangeField(FCaption, s)) Changed();
}

void TToolButton::SetImageIndex(int i) {
    if (ChangeField(FImageIndex, std::max(i, -1))) Changed();
}

void TToolButton::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    if (FToolBar && FToolBar->HandleAllocated())
        SendMessageW(FToolBar->Handle(), TB_ENABLEBUTTON, WPARAM(FCommandId), MAKELPARAM(v ? TRUE : FALSE, 0));
}

void TToolButton::SetStyle(TToolButtonStyle s) {
    if (ChangeField(FStyle, s)) Changed();
}

void TToolButton::SetDown(bool v) {
    if (!ChangeField(FDown, v)) return;
    if (v && FToolBar && IsCheck() && FGrouped)
        for (TToolButton* other : FToolBar->GroupOf(this))
            if (other != this && other->FDown) {
                other->FDown = false;
                FToolBar->PushDown(other);
            }
    if (FToolBar) FToolBar->PushDown(this);
}

void TToolButton::SetGrouped(bool v) {
    if (ChangeField(FGrouped, v)) Changed();
}

void TToolButton::SetDropdownMenu(TPopupMenu* m) { LinkComponent(this, FDropdownMenu, m); }

void TToolButton::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == FDropdownMenu) FDropdownMenu = nullptr;
}

RECT TToolButton::BoundsRect() const {
    RECT r{};
    if (FToolBar && FToolBar->HandleAllocated())
        SendMessageW(FToolBar->Handle(), TB_GETRECT, WPARAM(FCommandId), reinterpret_cast<LPARAM>(&r));
    return r;
}

void TToolButton::Click() {
    if (FEnabled && FStyle != tbsSeparator && OnClick) OnClick(this);
}

// ---- TToolBar ----

const TClassInfo& TToolBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TToolBar>("TToolBar", &TWinControl::StaticClassInfo())
            .creatable()
            .boolean("Flat", &TToolBar::Flat, &TToolBar::SetFlat)
            .boolean("List", &TToolBar::List, &TToolBar::SetList)
            .boolean("Wrapable", &TToolBar::Wrapable, &TToolBar::SetWrapable)
            .boolean("AutoSize", &TToolBar::AutoSize, &TToolBar::SetAutoSize)
            .integer("ButtonWidth", [](const TToolBar& t) { return int64_t(t.ButtonWidth()); },
                     [](TToolBar& t, int64_t v) -> bool {
                         if (v < 1 || v > 0x7FFF) return false;
                         t.SetButtonSize(int(v), t.ButtonHeight());
                         return true;
                     })
            .integer("ButtonHeight", [](const TToolBar& t) { return int64_t(t.ButtonHeight()); },
                     [](TToolBar& t, int64_t v) -> bool {
                         if (v < 1 || v > 0x7FFF) return false;
                         t.SetButtonSize(t.ButtonWidth(), int(v));
                         return true;
                     })
            .object("Images", [](const TToolBar& t) -> TObject* { return t.Images(); },
                    [](TToolBar& t, TObject* o) -> bool {
                        auto* images = dynamic_cast<TImageList*>(o);
                        if (o && !images) return false;
                        t.SetImages(images);
                        return true;
                    },
                    &TImageList::StaticClassInfo())
            .event<TToolBarCustomDrawEvent>("OnCustomDraw", [](const TToolBar& t) { return t.OnCustomDraw; },
                                            [](TToolBar& t, const TToolBarCustomDrawEvent& f) { t.OnCustomDraw = f; })
            .event<TToolBarCustomDrawButtonEvent>(
                "OnCustomDrawButton", [](const TToolBar& t) { return t.OnCustomDrawButton; },
                [](TToolBar& t, const TToolBarCustomDrawButtonEvent& f) { t.OnCustomDrawButton = f; })
            .build();
    return info;
}

TToolBar::TToolBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 150, 29);
    SetAlign(alTop);
}

TToolBar::~TToolBar() {
    DestroyHandle();
    // Buttons owned elsewhere outlive the bar; they must not point at it.
    for (auto* b : FButtons) b->FToolBar = nullptr;
    FButtons.clear();
    if (FImages) FImages->RemoveFreeNotification(this);
}

TToolButton* TToolBar::AddButton(const std::wstring& caption, int imageIndex) {
    auto* b = new TToolButton(this);
    b->FCaption = caption;
    b->FImageIndex = std::max(imageIndex, -1);
    RebuildButtons();
    return b;
}

void TToolBar::Insert(TToolButton* b) {
    b->FToolBar = this;
    b->FCommandId = FNextCommand++;
    FButtons.push_back(b);
    RebuildButtons();
}

void TToolBar::Remove(TToolButton* b) {
    FButtons.erase(std::remove(FButtons.begin(), FButtons.end(), b), FButtons.end());
    b->FToolBar = nullptr;
    if (!IsDestroying()) RebuildButtons();
}

std::vector<TToolButton*> TToolBar::GroupOf(const TToolButton* b) const {
    auto grouped = [](const TToolButton* x) { return x->IsCheck() && x->FGrouped; };
    auto at = std::find(FButtons.begin(), FButtons.end(), b);
    if (at == FButtons.end() || !grouped(b)) return {};
    auto first = at, last = at + 1;
    while (first != FButtons.begin() && grouped(*(first - 1))) --first;
    while (last != FButtons.end() && grouped(*last)) ++last;
    return {first, last};
}

void TToolBar::PushDown(const TToolButton* b) {
    if (FHandle) SendMessageW(FHandle, TB_CHECKBUTTON, WPARAM(b->FCommandId), MAKELPARAM(b->FDown ? TRUE : FALSE, 0));
}

void TToolBar::DropDown(TToolButton* b) {
    if (!b->FDropdownMenu) return;
    RECT r = b->BoundsRect();
    POINT p{r.left, r.bottom};
    ::ClientToScreen(FHandle, &p);
    b->FDropdownMenu->SetPopupComponent(b);
    b->FDropdownMenu->Popup(p.x, p.y);  // may free the button or the bar
}

TToolButton* TToolBar::FindByCommand(int id) const {
    for (auto* b : FButtons)
        if (b->FCommandId == id) return b;
    return nullptr;
}

void TToolBar::SetFlat(bool v) {
    if (v == FFlat) return;
    FFlat = v;
    if (FHandle) {
        // The system bar follows a style change of its window (it hears of it
        // as WM_STYLECHANGED): no new window needed.
        LONG style = GetWindowLongW(FHandle, GWL_STYLE);
        style = v ? (style | TBSTYLE_FLAT) : (style & ~LONG(TBSTYLE_FLAT));
        SetWindowLongW(FHandle, GWL_STYLE, style);
        InvalidateRect(FHandle, nullptr, TRUE);
    }
}

void TToolBar::SetList(bool v) {
    if (ChangeField(FList, v)) RecreateWnd();
}

void TToolBar::SetWrapable(bool v) {
    if (ChangeField(FWrapable, v)) RecreateWnd();
}

void TToolBar::SetAutoSize(bool v) {
    if (ChangeField(FAutoSize, v)) FitHeight();
}

int TToolBar::RowCount() const {
    return FHandle ? int(SendMessageW(FHandle, TB_GETROWS, 0, 0)) : 0;
}

void TToolBar::Resize() {
    // A new width may wrap the buttons differently.
    if (FHandle && FWrapable) SendMessageW(FHandle, TB_AUTOSIZE, 0, 0);
    FitHeight();
    TWinControl::Resize();
}

// As tall as the rows of buttons, with the margin above the first row
// repeated below the last.
void TToolBar::FitHeight() {
    if (!FAutoSize || !FHandle || FFitting || IsDestroying()) return;
    int top = -1, bottom = 0;
    const int n = int(SendMessageW(FHandle, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        RECT r{};
        if (!SendMessageW(FHandle, TB_GETITEMRECT, WPARAM(i), reinterpret_cast<LPARAM>(&r))) continue;
        top = top < 0 ? int(r.top) : std::min(top, int(r.top));
        bottom = std::max(bottom, int(r.bottom));
    }
    if (top < 0) return;  // no buttons: the height stays as set
    FFitting = true;
    SetBounds(Left(), Top(), Width(), bottom + top);
    FFitting = false;
}

void TToolBar::ChangeScale(int m, int d) {
    SetButtonSize(::MulDiv(FButtonWidth, m, d), ::MulDiv(FButtonHeight, m, d));
    TWinControl::ChangeScale(m, d);
}

void TToolBar::SetButtonSize(int w, int h) {
    w = std::clamp(w, 1, 0x7FFF);
    h = std::clamp(h, 1, 0x7FFF);
    if (w == FButtonWidth && h == FButtonHeight) return;
    FButtonWidth = w;
    FButtonHeight = h;
    RebuildButtons();
}

void TToolBar::SetImages(TImageList* images) {
    if (LinkComponent(this, FImages, images)) RebuildButtons();
}

void TToolBar::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FImages) {
        FImages = nullptr;
        RebuildButtons();
    }
}

void TToolBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = TOOLBARCLASSNAMEW;
    // The toolkit places the bar; the system must not move it to the top itself.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (FFlat) p.Style |= TBSTYLE_FLAT;
    if (FList) p.Style |= TBSTYLE_LIST;
    if (FWrapable) p.Style |= TBSTYLE_WRAPABLE;
    // The tips ask for their text (TTN_GETDISPINFO): the buttons' hints.
    p.Style |= TBSTYLE_TOOLTIPS;
}

void TToolBar::CreateHandle() {
    TWinControl::CreateHandle();
    SendMessageW(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Drop-down buttons get an arrow part of their own.
    SendMessageW(FHandle, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    RebuildButtons();
}

// The window's buttons are made again from the objects: simpler than keeping
// indexes in step through inserts, removals and image changes, and bars are short.
void TToolBar::RebuildButtons() {
    if (!FHandle || IsDestroying()) return;
    SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    while (SendMessageW(FHandle, TB_BUTTONCOUNT, 0, 0) > 0)
        if (!SendMessageW(FHandle, TB_DELETEBUTTON, 0, 0)) break;
    HIMAGELIST il = FImages ? FImages->Handle() : nullptr;
    SendMessageW(FHandle, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(il));
    if (FImages) SendMessageW(FHandle, TB_SETBITMAPSIZE, 0, MAKELPARAM(FImages->Width(), FImages->Height()));
    std::vector<TBBUTTON> items;
    items.reserve(FButtons.size());
    for (auto* b : FButtons) {
        TBBUTTON t{};
        t.idCommand = b->FCommandId;
        t.fsState = BYTE((b->FEnabled ? TBSTATE_ENABLED : 0) | (b->FDown ? TBSTATE_CHECKED : 0));
        if (b->FStyle == tbsSeparator) {
            t.fsStyle = BTNS_SEP;
            t.iBitmap = 6;
        } else {
            t.fsStyle = BYTE(FList ? BTNS_AUTOSIZE | BTNS_SHOWTEXT : 0);
            if (b->FStyle == tbsCheck)
                t.fsStyle |= BYTE(b->FGrouped ? BTNS_CHECKGROUP : BTNS_CHECK);
            else if (b->FStyle == tbsDropDown)
                t.fsStyle |= BTNS_DROPDOWN;
            else
                t.fsStyle |= BTNS_BUTTON;
            t.iBitmap = (il && b->FImageIndex >= 0) ? b->FImageIndex : I_IMAGENONE;
            t.iString = b->FCaption.empty() ? -1 : reinterpret_cast<INT_PTR>(b->FCaption.c_str());
        }
        items.push_back(t);
    }
    if (!items.empty())
        SendMessageW(FHandle, TB_ADDBUTTONSW, WPARAM(items.size()), reinterpret_cast<LPARAM>(items.data()));
    SendMessageW(FHandle, TB_SETBUTTONSIZE, 0, MAKELPARAM(FButtonWidth, FButtonHeight));
    if (FWrapable) SendMessageW(FHandle, TB_AUTOSIZE, 0, 0);
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
    FitHeight();
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& cd) {
    switch (cd.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: {
            bool defaultDraw = true;
            if (OnCustomDraw) OnCustomDraw(this, cd.nmcd.hdc, cd.nmcd.rc, defaultDraw);
            if (!defaultDraw) return CDRF_SKIPDEFAULT;
            return OnCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
        }
        case CDDS_ITEMPREPAINT: {
            if (!OnCustomDrawButton) return CDRF_DODEFAULT;
            TToolButton* b = FindByCommand(int(cd.nmcd.dwItemSpec));
            const TColor before = TColor(cd.clrText);
            TColor font = before;
            bool defaultDraw = true;
            OnCustomDrawButton(b ? static_cast<TObject*>(b) : this, cd.nmcd.hdc, cd.nmcd.rc, cd.nmcd.uItemState, font,
                               defaultDraw);
            if (!defaultDraw) return CDRF_SKIPDEFAULT;
            LRESULT r = CDRF_DODEFAULT;
            if (font != before) {
                cd.clrText = ColorToRGB(font);
                r |= CDRF_NEWFONT;
            }
            // A flat bar's edges and hot fill only mark the hot or pressed
            // button, which is what a handler paints the face for: they would
            // cover its frame. Raised buttons keep their edges.
            if (FFlat) r |= TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND;
            return r;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

void TToolBar::WndProc(TMessage& msg) {
    if (msg.Msg == CN_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
        if (hdr && hdr->hwndFrom == FHandle && hdr->code == UINT(NM_CUSTOMDRAW)) {
            msg.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(msg.LParam));
            return;
        }
        if (hdr && hdr->hwndFrom == FHandle && hdr->code == UINT(TBN_DROPDOWN)) {
            if (auto* b = FindByCommand(reinterpret_cast<NMTOOLBARW*>(msg.LParam)->iItem)) DropDown(b);
            msg.Result = TBDDRET_DEFAULT;
            return;
        }
        msg.Result = 0;
        return;
    }
    // The bar's own tooltip asks the bar (its owner) for a button's text.
    if (msg.Msg == WM_NOTIFY && msg.LParam) {
        auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
        if (hdr->code == UINT(TTN_GETDISPINFOW) &&
            hdr->hwndFrom == HWND(SendMessageW(FHandle, TB_GETTOOLTIPS, 0, 0))) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(msg.LParam);
            const TToolButton* b = FindByCommand(int(hdr->idFrom));
            info->szText[0] = 0;
            info->hinst = nullptr;
            info->lpszText = const_cast<wchar_t*>(b && ShowHint() ? b->FHint.c_str() : L"");
            msg.Result = 0;
            return;
        }
    }
    if (msg.Msg == CN_COMMAND) {
        if (auto* b = FindByCommand(LOWORD(msg.WParam))) {
            // The window has already moved the check marks (a group's too): the objects follow it.
            if (b->IsCheck())
                for (TToolButton* x : FButtons)
                    if (x->IsCheck()) x->FDown = SendMessageW(FHandle, TB_ISBUTTONCHECKED, WPARAM(x->FCommandId), 0) != 0;
            b->Click();
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

}  // namespace qs
