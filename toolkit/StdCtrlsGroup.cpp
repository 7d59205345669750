// Controls of this family: group boxes, radio groups, scroll boxes and frames.
#include "StdCtrlsGroup.h"

#include <algorithm>

#include "Application.h"
#include "ComCtrlsToolBar.h"

namespace qs {

namespace {
const std::vector<std::string> kScrollBorderNames = {"bsNone", "bsSingle"};

// Radio and check groups: the buttons in columns inside the frame, filled
// column by column.
void arrangeInColumns(const TCustomGroupBox& group, const std::vector<TControl*>& buttons, int columns) {
    if (buttons.empty()) return;
    RECT r = group.ClientRect();
    group.AdjustClientRect(r);
    const int n = int(buttons.size());
    const int cols = std::max(columns, 1);
    const int rows = (n + cols - 1) / cols;
    const int colW = std::max(int(r.right - r.left - 8) / cols, 1);
    const int rowH = std::max(int(r.bottom - r.top) / std::max(rows, 1), 1);
    const int h = std::min(rowH, group.CaptionHeight() + 6);
    for (int i = 0; i < n; ++i) {
        const int c = i / rows, row = i % rows;
        buttons[size_t(i)]->SetBounds(r.left + 6 + c * colW, r.top + row * rowH + (rowH - h) / 2, colW, h);
    }
}
}  // namespace

// ---- class information --------------------------------------------------------------------

const TClassInfo& TCustomGroupBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomGroupBox>("TCustomGroupBox", &TCustomControl::StaticClassInfo()).build();
    return info;
}
const TClassInfo& TGroupBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TGroupBox>("TGroupBox", &TCustomGroupBox::StaticClassInfo()).creatable().build();
    return info;
}
namespace {
// A stored Columns value outside 1..16 is refused rather than clamped, so a
// damaged form definition is reported instead of laid out oddly.
template <class Group>
bool setStoredColumns(Group& g, int64_t v) {
    if (v < 1 || v > 16) return false;
    g.SetColumns(int(v));
    return true;
}
}  // namespace

const TClassInfo& TCustomRadioGroup::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomRadioGroup>("TCustomRadioGroup", &TCustomGroupBox::StaticClassInfo())
            .strings("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems)
            .integer("ItemIndex", [](const TCustomRadioGroup& g) { return int64_t(g.ItemIndex()); },
                     [](TCustomRadioGroup& g, int64_t v) { g.SetItemIndex(int(v)); })
            .integer("Columns", [](const TCustomRadioGroup& g) { return int64_t(g.Columns()); },
                     [](TCustomRadioGroup& g, int64_t v) { return setStoredColumns(g, v); })
            .build();
    return info;
}
const TClassInfo& TRadioGroup::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TRadioGroup>("TRadioGroup", &TCustomRadioGroup::StaticClassInfo()).creatable().build();
    return info;
}
const TClassInfo& TCustomCheckGroup::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomCheckGroup>("TCustomCheckGroup", &TCustomGroupBox::StaticClassInfo())
            .strings("Items", &TCustomCheckGroup::Items, &TCustomCheckGroup::SetItems)
            .integer("Columns", [](const TCustomCheckGroup& g) { return int64_t(g.Columns()); },
                     [](TCustomCheckGroup& g, int64_t v) { return setStoredColumns(g, v); })
            .build();
    return info;
}
const TClassInfo& TCheckGroup::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCheckGroup>("TCheckGroup", &TCustomCheckGroup::StaticClassInfo()).creatable().build();
    return info;
}
const TClassInfo& TScrollingWinControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TScrollingWinControl>("TScrollingWinControl", &TWinControl::StaticClassInfo())
            .boolean("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll)
            .build();
    return info;
}
const TClassInfo& TScrollBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TScrollBox>("TScrollBox", &TScrollingWinControl::StaticClassInfo())
            .creatable()
            .enumeration("BorderStyle", kScrollBorderNames, [](const TScrollBox& b) { return int(b.BorderStyle()); },
                         [](TScrollBox& b, int v) { b.SetBorderStyle(TFormBorderKind(v)); })
            .build();
    return info;
}
const TClassInfo& TCustomFrame::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomFrame>("TCustomFrame", &TCustomControl::StaticClassInfo()).build();
    return info;
}
const TClassInfo& TFrame::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TFrame>("TFrame", &TCustomFrame::StaticClassInfo()).creatable().build();
    return info;
}

void RegisterGroupControlClasses() {
    RegisterComponentClass(TGroupBox::StaticClassInfo());
    RegisterComponentClass(TRadioGroup::StaticClassInfo());
    RegisterComponentClass(TCheckGroup::StaticClassInfo());
    RegisterComponentClass(TScrollBox::StaticClassInfo());
    RegisterComponentClass(TFrame::StaticClassInfo());
    RegisterToolBarClasses();
}

// ---- group box --------------------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque | csSetCaption);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 105);
}

int TCustomGroupBox::CaptionHeight() const {
    ClientDCScope dc(nullptr);
    SelectObjectScope font(dc.get(), Font()->Handle());
    SIZE s{};
    GetTextExtentPoint32W(dc.get(), L"0", 1, &s);
    return s.cy;
}

void TCustomGroupBox::AdjustClientRect(RECT& r) const {
    r.top += CaptionHeight();
    InflateRect(&r, -2, -2);
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
}

void TCustomGroupBox::TextChanged() { Invalidate(); }

void TCustomGroupBox::FontChanged() {
    TCustomControl::FontChanged();
    Realign();
    Invalidate();
}

void TCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    RECT r = ClientRect();
    canvas->Brush().SetStyle(TBrushStyle::bsSolid);
    canvas->Brush().SetColor(Color());
    canvas->FillRect(r);
    canvas->SetFont(*Font());
    const int h = canvas->TextHeight(L"0");
    RECT frame{r.left, r.top + h / 2 - 1, r.right, r.bottom};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring text = Caption();
    if (text.empty()) return;
    RECT t{0, 0, 0, 0};
    canvas->DrawTextRect(text, t, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    const int w = t.right - t.left;
    const bool rtl = IsRightToLeft();
    t = rtl ? RECT{r.right - 8 - w, r.top, r.right - 8, r.top + h} : RECT{r.left + 8, r.top, r.left + 8 + w, r.top + h};
    // The caption interrupts the frame line.
    canvas->Brush().SetColor(Color());
    canvas->DrawTextRect(text, t, DT_SINGLELINE | DT_NOPREFIX | (rtl ? DT_RTLREADING : 0));
}

// ---- radio group ------------------------------------------------------------------------------

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
    SetControlStyle(ControlStyle() & ~uint32_t(csAcceptsControls));
}

TCustomRadioGroup::~TCustomRadioGroup() {
    auto buttons = std::move(FButtons);
    for (TControl* b : buttons) delete b;
}

void TCustomRadioGroup::SetItems(const std::vector<std::string>& items) {
    FItems = items;
    if (FItemIndex >= int(FItems.size())) FItemIndex = -1;
    UpdateButtons();
}

void TCustomRadioGroup::SetItemIndex(int i) {
    if (IsLoading()) {
        FItemIndex = i;
        return;
    }
    if (i < -1 || i >= int(FItems.size())) i = -1;
    FItemIndex = i;
    FUpdating = true;
    for (int k = 0; k < int(FButtons.size()); ++k) SetPropValue(FButtons[size_t(k)], "Checked", TPropValue(k == i));
    FUpdating = false;
}

void TCustomRadioGroup::SetColumns(int c) {
    c = std::clamp(c, 1, 16);
    if (c == FColumns) return;
    FColumns = c;
    ArrangeButtons();
    Invalidate();
}

TControl* TCustomRadioGroup::Button(int i) const {
    return i >= 0 && i < int(FButtons.size()) ? FButtons[size_t(i)] : nullptr;
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    UpdateButtons();
}

void TCustomRadioGroup::SetBounds(int left, int top, int width, int height) {
    TCustomGroupBox::SetBounds(left, top, width, height);
    ArrangeButtons();
}

void TCustomRadioGroup::UpdateButtons() {
    if (IsLoading()) return;
    const TClassInfo* cls = FindClass("TRadioButton");
    while (int(FButtons.size()) > int(FItems.size())) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (cls && cls->create && FButtons.size() < FItems.size()) {
        auto* b = dynamic_cast<TControl*>(cls->create(nullptr));
        if (!b) break;
        // The group's disable tag and the like reach the buttons through the group.
        b->SetParent(this);
        b->OnClick = [this, b](TObject*) { ButtonClicked(b); };
        FButtons.push_back(b);
    }
    for (size_t i = 0; i < FButtons.size(); ++i) FButtons[i]->SetCaption(Utf8ToWide(FItems[i]));
    ArrangeButtons();
    SetItemIndex(FItemIndex);
}

void TCustomRadioGroup::ArrangeButtons() { arrangeInColumns(*this, FButtons, FColumns); }

void TCustomRadioGroup::FontChanged() {
    TCustomGroupBox::FontChanged();
    ArrangeButtons();
}

void TCustomRadioGroup::ButtonClicked(TControl* button) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), button);
    if (it == FButtons.end()) return;
    const int i = int(it - FButtons.begin());
    if (i != FItemIndex) {
        SetItemIndex(i);
        Click();
    }
}

void TCustomRadioGroup::WndProc(TMessage& msg) {
    TCustomGroupBox::WndProc(msg);
}

// ---- check group ------------------------------------------------------------------------------

TCustomCheckGroup::TCustomCheckGroup(TComponent* owner) : TCustomGroupBox(owner) {
    SetControlStyle(ControlStyle() & ~uint32_t(csAcceptsControls));
}

TCustomCheckGroup::~TCustomCheckGroup() {
    auto buttons = std::move(FButtons);
    for (TControl* b : buttons) delete b;
}

void TCustomCheckGroup::SetItems(const std::vector<std::string>& items) {
    std::vector<bool> checked(items.size(), false);
    for (size_t i = 0; i < items.size(); ++i)
        for (size_t k = 0; k < FItems.size(); ++k)
            if (FItems[k] == items[i] && k < FChecked.size()) {
                checked[i] = FChecked[k];
                break;
            }
    FItems = items;
    FChecked = std::move(checked);
    UpdateButtons();
}

void TCustomCheckGroup::SetChecked(int i, bool on) {
    if (i < 0 || i >= int(FChecked.size())) return;
    FChecked[size_t(i)] = on;
    if (i < int(FButtons.size())) {
        FUpdating = true;
        SetPropValue(FButtons[size_t(i)], "Checked", TPropValue(on));
        FUpdating = false;
    }
}

void TCustomCheckGroup::SetColumns(int c) {
    c = std::clamp(c, 1, 16);
    if (c == FColumns) return;
    FColumns = c;
    arrangeInColumns(*this, FButtons, FColumns);
    Invalidate();
}

TControl* TCustomCheckGroup::Button(int i) const {
    return i >= 0 && i < int(FButtons.size()) ? FButtons[size_t(i)] : nullptr;
}

void TCustomCheckGroup::Loaded() {
    TCustomGroupBox::Loaded();
    FChecked.resize(FItems.size(), false);
    UpdateButtons();
}

void TCustomCheckGroup::SetBounds(int left, int top, int width, int height) {
    TCustomGroupBox::SetBounds(left, top, width, height);
    arrangeInColumns(*this, FButtons, FColumns);
}

void TCustomCheckGroup::FontChanged() {
    TCustomGroupBox::FontChanged();
    arrangeInColumns(*this, FButtons, FColumns);
}

void TCustomCheckGroup::UpdateButtons() {
    if (IsLoading()) return;
    const TClassInfo* cls = FindClass("TCheckBox");
    while (FButtons.size() > FItems.size()) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (cls && cls->create && FButtons.size() < FItems.size()) {
        auto* b = dynamic_cast<TControl*>(cls->create(nullptr));
        if (!b) break;
        b->SetParent(this);
        b->OnClick = [this, b](TObject*) { ButtonClicked(b); };
        FButtons.push_back(b);
    }
    FUpdating = true;
    for (size_t i = 0; i < FButtons.size(); ++i) {
        FButtons[i]->SetCaption(Utf8ToWide(FItems[i]));
        SetPropValue(FButtons[i], "Checked", TPropValue(bool(FChecked[i])));
    }
    FUpdating = false;
    arrangeInColumns(*this, FButtons, FColumns);
}

void TCustomCheckGroup::ButtonClicked(TControl* button) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), button);
    if (it == FButtons.end()) return;
    const size_t i = size_t(it - FButtons.begin());
    const auto v = GetPropValue(button, "Checked");
    const bool* on = v ? std::get_if<bool>(&*v) : nullptr;
    if (!on || *on == FChecked[i]) return;
    FChecked[i] = *on;
    if (OnItemClick) OnItemClick(this, int(i));
}

// ---- scrolling containers ---------------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner) : TWinControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

void TScrollingWinControl::SetAutoScroll(bool v) {
    if (v == FAutoScroll) return;
    FAutoScroll = v;
    UpdateScrollBars();
}

void TScrollingWinControl::CreateHandle() {
    TWinControl::CreateHandle();
    UpdateScrollBars();
}

void TScrollingWinControl::UpdateScrollBars() {
    if (!HandleAllocated()) return;
    RECT cr{};
    GetClientRect(FHandle, &cr);
    // The children's extent in unscrolled coordinates.
    int right = 0, bottom = 0;
    for (TControl* c : ControlList()) {
        if (!c->Visible()) continue;
        right = std::max(right, c->Left() + c->Width() + int(FScroll.x));
        bottom = std::max(bottom, c->Top() + c->Height() + int(FScroll.y));
    }
    FRange = FAutoScroll ? SIZE{right, bottom} : SIZE{0, 0};
    SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    si.nMax = std::max(int(FRange.cx) - 1, 0);
    si.nPage = UINT(cr.right - cr.left);
    si.nPos = int(FScroll.x);
    SetScrollInfo(FHandle, SB_HORZ, &si, TRUE);
    si.nMax = std::max(int(FRange.cy) - 1, 0);
    si.nPage = UINT(cr.bottom - cr.top);
    si.nPos = int(FScroll.y);
    SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
}

void TScrollingWinControl::ScrollBy(int dx, int dy) {
    if (!dx && !dy) return;
    FScroll.x += dx;
    FScroll.y += dy;
    DisableAlign();
    for (TControl* c : std::vector<TControl*>(ControlList())) c->SetBounds(c->Left() - dx, c->Top() - dy, c->Width(), c->Height());
    EnableAlign();
    if (HandleAllocated()) InvalidateRect(FHandle, nullptr, TRUE);
}

void TScrollingWinControl::Scroll(int bar, WPARAM code) {
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(FHandle, bar, &si);
    int pos = si.nPos;
    const int line = 8, page = std::max(int(si.nPage), 1);
    switch (LOWORD(code)) {
        case SB_LINEUP: pos -= line; break;
        case SB_LINEDOWN: pos += line; break;
        case SB_PAGEUP: pos -= page; break;
        case SB_PAGEDOWN: pos += page; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: pos = si.nTrackPos; break;
        case SB_TOP: pos = si.nMin; break;
        case SB_BOTTOM: pos = si.nMax; break;
        default: return;
    }
    pos = std::clamp(pos, 0, std::max(si.nMax - page + 1, 0));
    const int old = int(bar == SB_HORZ ? FScroll.x : FScroll.y);
    if (bar == SB_HORZ)
        ScrollBy(pos - old, 0);
    else
        ScrollBy(0, pos - old);
    SetScrollPos(FHandle, bar, pos, TRUE);
}

void TScrollingWinControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_HSCROLL:
            Scroll(SB_HORZ, msg.WParam);
            msg.Result = 0;
            return;
        case WM_VSCROLL:
            Scroll(SB_VERT, msg.WParam);
            msg.Result = 0;
            return;
        case WM_SIZE:
            TWinControl::WndProc(msg);
            UpdateScrollBars();
            return;
        default:
            TWinControl::WndProc(msg);
    }
}

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TFormBorderKind b) {
    if (b == FBorderStyle) return;
    FBorderStyle = b;
    RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& p) {
    TScrollingWinControl::CreateParams(p);
    if (FBorderStyle == bsSingleBorder) p.ExStyle |= WS_EX_CLIENTEDGE;
}

// ---- frames -----------------------------------------------------------------------------------

TCustomFrame::TCustomFrame(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
}

void TCustomFrame::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush().SetStyle(TBrushStyle::bsSolid);
    canvas->Brush().SetColor(Color());
    canvas->FillRect(ClientRect());
}

}  // namespace qs
