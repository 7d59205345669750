// List boxes, combo boxes and scroll-bar controls.
#include <windowsx.h>

#include <algorithm>

#include "PropertyHelpers.h"
#include "StdCtrlsEdit.h"

namespace qs {

const std::vector<std::string> kComboBoxStyleNames = {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                                                      "csOwnerDrawVariable"};
const std::vector<std::string> kListBoxStyleNames = {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable"};
const std::vector<std::string> kScrollBarKindNames = {"sbHorizontal", "sbVertical"};

namespace {
const TItemStrings::Messages kListBoxMessages{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
                                            LB_GETTEXT,   LB_GETTEXTLEN,   LB_GETCURSEL,    LB_SETCURSEL};
const TItemStrings::Messages kComboMessages{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
                                          CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_GETCURSEL,    CB_SETCURSEL};

TStringList itemsUtf8(const TItemStrings& items) {
    TStringList out;
    for (auto& s : items.All()) out.push_back(WideToUtf8(s));
    return out;
}
void assignUtf8(TItemStrings& items, const TStringList& v) {
    std::vector<std::wstring> w;
    for (auto& s : v) w.push_back(Utf8ToWide(s));
    items.Assign(w);
}
}  // namespace

// ---- TItemStrings ----

int TItemStrings::Count() const {
    if (HWND w = Wnd()) return std::max(0, int(SendMessageW(w, FMsg.count, 0, 0)));
    return int(FItems.size());
}

std::wstring TItemStrings::At(int i) const {
    if (i < 0 || i >= Count()) return {};
    if (HWND w = Wnd()) {
        LRESULT len = SendMessageW(w, FMsg.getTextLen, WPARAM(i), 0);
        if (len <= 0) return {};
        std::wstring s(size_t(len) + 1, L'\0');
        LRESULT got = SendMessageW(w, FMsg.getText, WPARAM(i), reinterpret_cast<LPARAM>(s.data()));
        s.resize(got > 0 ? size_t(got) : 0);
        return s;
    }
    return FItems[size_t(i)];
}

int TItemStrings::Add(const std::wstring& s) {
    if (HWND w = Wnd()) return int(SendMessageW(w, FMsg.add, 0, reinterpret_cast<LPARAM>(s.c_str())));
    FItems.push_back(s);
    return int(FItems.size()) - 1;
}

void TItemStrings::Insert(int i, const std::wstring& s) {
    i = std::clamp(i, 0, Count());
    if (HWND w = Wnd()) {
        SendMessageW(w, FMsg.insert, WPARAM(i), reinterpret_cast<LPARAM>(s.c_str()));
        return;
    }
    FItems.insert(FItems.begin() + i, s);
    if (FItemIndex >= i) ++FItemIndex;
}

void TItemStrings::Delete(int i) {
    if (i < 0 || i >= Count()) return;
    if (HWND w = Wnd()) {
        SendMessageW(w, FMsg.remove, WPARAM(i), 0);
        return;
    }
    FItems.erase(FItems.begin() + i);
    if (FItemIndex == i) FItemIndex = -1;
    else if (FItemIndex > i) --FItemIndex;
}

void TItemStrings::Clear() {
    if (HWND w = Wnd()) SendMessageW(w, FMsg.reset, 0, 0);
    FItems.clear();
    FItemIndex = -1;
}

int TItemStrings::IndexOf(const std::wstring& s) const {
    int n = Count();
    for (int i = 0; i < n; ++i)
        if (At(i) == s) return i;
    return -1;
}

std::vector<std::wstring> TItemStrings::All() const {
    if (!Wnd()) return FItems;
    std::vector<std::wstring> out;
    int n = Count();
    for (int i = 0; i < n; ++i) out.push_back(At(i));
    return out;
}

void TItemStrings::Assign(const std::vector<std::wstring>& items) {
    Clear();
    if (HWND w = Wnd()) {
        for (auto& s : items) SendMessageW(w, FMsg.add, 0, reinterpret_cast<LPARAM>(s.c_str()));
        return;
    }
    FItems = items;
}

int TItemStrings::ItemIndex() const {
    if (HWND w = Wnd()) return int(SendMessageW(w, FMsg.getCur, 0, 0));
    return FItemIndex;
}

void TItemStrings::SetItemIndex(int i) {
    if (i < -1 || i >= Count()) i = -1;
    if (HWND w = Wnd()) SendMessageW(w, FMsg.setCur, WPARAM(i), 0);
    FItemIndex = i;
}

void TItemStrings::SaveFromWindow() {
    if (!Wnd()) return;
    std::vector<std::wstring> items = All();
    int index = ItemIndex();
    FItems = std::move(items);
    FItemIndex = index;
}

void TItemStrings::LoadIntoWindow() {
    HWND w = Wnd();
    if (!w) return;
    SendMessageW(w, FMsg.reset, 0, 0);
    for (auto& s : FItems) SendMessageW(w, FMsg.add, 0, reinterpret_cast<LPARAM>(s.c_str()));
    // A sorting window may have put the selected item elsewhere: select it by
    // its text, the n-th of equal ones as before.
    if (FItemIndex >= 0 && size_t(FItemIndex) < FItems.size()) {
        const std::wstring& chosen = FItems[size_t(FItemIndex)];
        int nth = 0;
        for (int i = 0; i < FItemIndex; ++i)
            if (FItems[size_t(i)] == chosen) ++nth;
        int n = int(SendMessageW(w, FMsg.count, 0, 0));
        for (int i = 0; i < n; ++i)
            if (At(i) == chosen && nth-- == 0) {
                SendMessageW(w, FMsg.setCur, WPARAM(i), 0);
                break;
            }
    }
    // The window holds them now; a second copy would go stale.
    FItems.clear();
}

// ---- TCustomListBox ----

const TClassInfo& TCustomListBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomListBox>("TCustomListBox", &TWinControl::StaticClassInfo())
            .strings("Items", [](const TCustomListBox& l) { return itemsUtf8(l.Items()); },
                     [](TCustomListBox& l, const TStringList& v) { assignUtf8(l.Items(), v); })
            .integer("ItemIndex", [](const TCustomListBox& l) { return int64_t(l.ItemIndex()); },
                     [](TCustomListBox& l, int64_t v) { l.SetItemIndex(int(v)); })
            .enumeration("BorderStyle", kEditBorderStyleNames, [](const TCustomListBox& l) { return int(l.BorderStyle()); },
                         [](TCustomListBox& l, int v) { l.SetBorderStyle(TEditBorderStyle(v)); })
            .boolean("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted)
            .boolean("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight)
            .enumeration("Style", kListBoxStyleNames, [](const TCustomListBox& l) { return int(l.Style()); },
                         [](TCustomListBox& l, int v) { l.SetStyle(TListBoxStyle(v)); })
            .integer("ItemHeight", [](const TCustomListBox& l) { return int64_t(l.ItemHeight()); },
                     [](TCustomListBox& l, int64_t v) -> bool {
                         if (v < 0 || v > 255) return false;
                         l.SetItemHeight(int(v));
                         return true;
                     })
            .build();
    return info;
}

const TClassInfo& TListBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TListBox>("TListBox", &TCustomListBox::StaticClassInfo()).creatable().build();
    return info;
}

TCustomListBox::TCustomListBox(TComponent* owner) : TWinControl(owner), FItems(this, kListBoxMessages) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
    SetControlStyle(ControlStyle() & ~uint32_t(csSetCaption));
}

void TCustomListBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = L"LISTBOX";
    p.Caption.clear();
    p.Style |= LBS_NOTIFY | LBS_HASSTRINGS | WS_VSCROLL;
    if (FSorted) p.Style |= LBS_SORT;
    if (!FIntegralHeight) p.Style |= LBS_NOINTEGRALHEIGHT;
    if (FStyle == lbOwnerDrawFixed) p.Style |= LBS_OWNERDRAWFIXED;
    if (FStyle == lbOwnerDrawVariable) p.Style |= LBS_OWNERDRAWVARIABLE;
    if (FBorderStyle == ebsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandle() {
    TWinControl::CreateHandle();
    if (FItemHeight > 0) SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
    FItems.LoadIntoWindow();
    if (FTopIndex > 0) SendMessageW(FHandle, LB_SETTOPINDEX, WPARAM(FTopIndex), 0);
}

void TCustomListBox::DestroyWnd() {
    if (FHandle) {
        FTopIndex = TopIndex();
        FItems.SaveFromWindow();
    }
    TWinControl::DestroyWnd();
}

int TCustomListBox::TopIndex() const {
    return FHandle ? int(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0)) : FTopIndex;
}

void TCustomListBox::SetTopIndex(int i) {
    FTopIndex = std::max(i, 0);
    if (FHandle) SendMessageW(FHandle, LB_SETTOPINDEX, WPARAM(FTopIndex), 0);
}

void TCustomListBox::SetBorderStyle(TEditBorderStyle b) {
    if (ChangeField(FBorderStyle, b)) RecreateWnd();
}
void TCustomListBox::SetSorted(bool v) {
    if (ChangeField(FSorted, v)) RecreateWnd();
}
void TCustomListBox::SetIntegralHeight(bool v) {
    if (ChangeField(FIntegralHeight, v)) RecreateWnd();
}
void TCustomListBox::SetStyle(TListBoxStyle s) {
    if (ChangeField(FStyle, s)) RecreateWnd();
}

int TCustomListBox::ItemHeight() const {
    if (FHandle) return int(SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(int h) {
    FItemHeight = std::max(h, 0);
    if (FHandle && FItemHeight) {
        SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, FItemHeight);
        InvalidateRect(FHandle, nullptr, TRUE);
    }
}

int TCustomListBox::VisibleItemCount() const {
    int h = ItemHeight();
    if (h <= 0) return 0;
    RECT r = ClientRect();
    return (r.bottom - r.top) / h;
}

void TCustomListBox::WndProc(TMessage& msg) {
    if (msg.Msg == CN_COMMAND) {
        switch (HIWORD(msg.WParam)) {
            case LBN_SELCHANGE: Click(); break;
            case LBN_DBLCLK: DblClick(); break;
            default: break;
        }
        msg.Result = 0;
        return;
    }
    // The list reports clicks through LBN_SELCHANGE; a button-up must not click twice.
    if (msg.Msg == WM_LBUTTONUP) {
        DefaultHandler(msg);
        return;
    }
    TWinControl::WndProc(msg);
}

// ---- TCustomComboBox ----

const TClassInfo& TCustomComboBox::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TCustomComboBox>("TCustomComboBox", &TWinControl::StaticClassInfo())
            .strings("Items", [](const TCustomComboBox& c) { return itemsUtf8(c.Items()); },
                     [](TCustomComboBox& c, const TStringList& v) { assignUtf8(c.Items(), v); })
            .integer("ItemIndex", [](const TCustomComboBox& c) { return int64_t(c.ItemIndex()); },
                     [](TCustomComboBox& c, int64_t v) { c.SetItemIndex(int(v)); })
            .enumeration("Style", kComboBoxStyleNames, [](const TCustomComboBox& c) { return int(c.Style()); },
                         [](TCustomComboBox& c, int v) { c.SetStyle(TComboBoxStyle(v)); })
            .integer("DropDownCount", [](const TCustomComboBox& c) { return int64_t(c.DropDownCount()); },
                     [](TCustomComboBox& c, int64_t v) -> bool {
                         if (v < 1 || v > 100) return false;
                         c.SetDropDownCount(int(v));
                         return true;
                     })
            .boolean("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted)
            .integer("MaxLength", [](const TCustomComboBox& c) { return int64_t(c.MaxLength()); },
                     [](TCustomComboBox& c, int64_t v) -> bool {
                         if (v < 0 || v > 0x7FFFFFFF) return false;
                         c.SetMaxLength(int(v));
                         return true;
                     })
            .event<E>("OnChange", [](const TCustomComboBox& c) { return c.OnChange; },
                      [](TCustomComboBox& c, const E& f) { c.OnChange = f; })
            .event<E>("OnSelect", [](const TCustomComboBox& c) { return c.OnSelect; },
                      [](TCustomComboBox& c, const E& f) { c.OnSelect = f; })
            .event<E>("OnDropDown", [](const TCustomComboBox& c) { return c.OnDropDown; },
                      [](TCustomComboBox& c, const E& f) { c.OnDropDown = f; })
            .event<E>("OnCloseUp", [](const TCustomComboBox& c) { return c.OnCloseUp; },
                      [](TCustomComboBox& c, const E& f) { c.OnCloseUp = f; })
            .build();
    return info;
}

const TClassInfo& TComboBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TComboBox>("TComboBox", &TCustomComboBox::StaticClassInfo()).creatable().build();
    return info;
}

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner), FItems(this, kComboMessages) {
    SetBounds(0, 0, 145, 21);
    SetColor(clWindow);
    SetTabStop(true);
    SetControlStyle(ControlStyle() & ~uint32_t(csSetCaption));
}

int TCustomComboBox::WindowHeightFor(int height) const {
    if (FStyle == csSimple) return height;
    // Room for the dropped list; the combo keeps its own closed height.
    int item = 16;
    if (FHandle) item = std::max(1, int(SendMessageW(FHandle, CB_GETITEMHEIGHT, 0, 0)));
    return height + item * FDropDownCount + 2;
}

void TCustomComboBox::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = L"COMBOBOX";
    p.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | CBS_HASSTRINGS;
    switch (FStyle) {
        case csDropDown: p.Style |= CBS_DROPDOWN; break;
        case csSimple: p.Style |= CBS_SIMPLE | CBS_NOINTEGRALHEIGHT; break;
        case csDropDownList: p.Style |= CBS_DROPDOWNLIST; break;
        case csOwnerDrawFixed: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
        case csOwnerDrawVariable: p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
    }
    if (FSorted) p.Style |= CBS_SORT;
    p.Height = WindowHeightFor(p.Height);
    // The text goes in after the items, so that a matching item is not selected by it.
    p.Caption.clear();
}

void TCustomComboBox::CreateHandle() {
    std::wstring text = FText;
    TWinControl::CreateHandle();
    if (FMaxLength) SendMessageW(FHandle, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
    FItems.LoadIntoWindow();
    if (FItems.ItemIndex() < 0 && !text.empty() && FStyle != csDropDownList) SetWindowTextW(FHandle, text.c_str());
}

void TCustomComboBox::DestroyWnd() {
    if (FHandle) FItems.SaveFromWindow();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
    if (!FHandle || FStyle == csSimple) {
        TWinControl::SetBounds(left, top, width, height);
        return;
    }
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    SetWindowPos(FHandle, nullptr, left, top, width, WindowHeightFor(height), SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetItemIndex(int i) {
    FItems.SetItemIndex(i);
}

void TCustomComboBox::SetStyle(TComboBoxStyle s) {
    if (ChangeField(FStyle, s)) RecreateWnd();
}

void TCustomComboBox::SetDropDownCount(int n) {
    FDropDownCount = std::max(n, 1);
    if (FHandle && FStyle != csSimple)
        SetWindowPos(FHandle, nullptr, 0, 0, FWidth, WindowHeightFor(FHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCustomComboBox::SetSorted(bool v) {
    if (ChangeField(FSorted, v)) RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int v) {
    FMaxLength = std::max(v, 0);
    if (FHandle) SendMessageW(FHandle, CB_LIMITTEXT, WPARAM(FMaxLength), 0);
}

bool TCustomComboBox::DroppedDown() const {
    return FHandle && SendMessageW(FHandle, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool v) {
    if (FHandle) SendMessageW(FHandle, CB_SHOWDROPDOWN, v, 0);
}

HWND TCustomComboBox::EditHandle() const {
    if (!FHandle) return nullptr;
    COMBOBOXINFO ci{};
    ci.cbSize = sizeof(ci);
    return GetComboBoxInfo(FHandle, &ci) ? ci.hwndItem : nullptr;
}

HWND TCustomComboBox::ListHandle() const {
    if (!FHandle) return nullptr;
    COMBOBOXINFO ci{};
    ci.cbSize = sizeof(ci);
    return GetComboBoxInfo(FHandle, &ci) ? ci.hwndList : nullptr;
}

void TCustomComboBox::WndProc(TMessage& msg) {
    if (msg.Msg == CN_COMMAND) {
        switch (HIWORD(msg.WParam)) {
            case CBN_SELCHANGE:
                if (OnSelect) OnSelect(this);
                if (OnChange) OnChange(this);
                break;
            case CBN_EDITCHANGE:
                if (OnChange) OnChange(this);
                break;
            case CBN_DROPDOWN:
                if (OnDropDown) OnDropDown(this);
                break;
            case CBN_CLOSEUP:
                if (OnCloseUp) OnCloseUp(this);
                break;
            default: break;
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

// ---- TScrollBar ----

const TClassInfo& TScrollBar::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TScrollBar>("TScrollBar", &TWinControl::StaticClassInfo())
            .creatable()
            .enumeration("Kind", kScrollBarKindNames, [](const TScrollBar& s) { return int(s.Kind()); },
                         [](TScrollBar& s, int v) { s.SetKind(TScrollBarKind(v)); })
            .integer("Min", [](const TScrollBar& s) { return int64_t(s.Min()); },
                     [](TScrollBar& s, int64_t v) { return s.SetMin(int(v)); })
            .integer("Max", [](const TScrollBar& s) { return int64_t(s.Max()); },
                     [](TScrollBar& s, int64_t v) { return s.SetMax(int(v)); })
            .integer("Position", [](const TScrollBar& s) { return int64_t(s.Position()); },
                     [](TScrollBar& s, int64_t v) { s.SetPosition(int(v)); })
            .integer("PageSize", [](const TScrollBar& s) { return int64_t(s.PageSize()); },
                     [](TScrollBar& s, int64_t v) { return s.SetPageSize(int(v)); })
            .integer("SmallChange", [](const TScrollBar& s) { return int64_t(s.SmallChange()); },
                     [](TScrollBar& s, int64_t v) { s.SetSmallChange(int(v)); })
            .integer("LargeChange", [](const TScrollBar& s) { return int64_t(s.LargeChange()); },
                     [](TScrollBar& s, int64_t v) { s.SetLargeChange(int(v)); })
            .event<E>("OnChange", [](const TScrollBar& s) { return s.OnChange; },
                      [](TScrollBar& s, const E& f) { s.OnChange = f; })
            .event<TScrollEvent>("OnScroll", [](const TScrollBar& s) { return s.OnScroll; },
                                 [](TScrollBar& s, const TScrollEvent& f) { s.OnScroll = f; })
            .build();
    return info;
}

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
    SetControlStyle(ControlStyle() & ~uint32_t(csSetCaption));
}

void TScrollBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = L"SCROLLBAR";
    p.Caption.clear();
    p.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateHandle() {
    TWinControl::CreateHandle();
    PushInfo();
}

void TScrollBar::PushInfo() {
    if (!FHandle) return;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = FMin;
    si.nMax = FMax;
    si.nPage = UINT(FPageSize);
    si.nPos = FPosition;
    SetScrollInfo(FHandle, SB_CTL, &si, TRUE);
}

void TScrollBar::SetKind(TScrollBarKind k) {
    if (k == FKind) return;
    FKind = k;
    // A bar turned on its side keeps its length along the new axis.
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

int TScrollBar::MaxPosition() const {
    return FPageSize > 0 ? std::max(FMin, FMax - FPageSize + 1) : FMax;
}

bool TScrollBar::SetParams(int position, int min, int max) {
    if (max < min) return false;
    if (FPageSize > max - min + 1) return false;
    bool changed = position != FPosition;
    FMin = min;
    FMax = max;
    FPosition = std::clamp(position, FMin, MaxPosition());
    changed = changed || FPosition != position;
    PushInfo();
    if (changed && OnChange && !IsLoading()) OnChange(this);
    return true;
}

bool TScrollBar::SetPageSize(int v) {
    if (v < 0 || v > FMax - FMin + 1) return false;
    FPageSize = v;
    FPosition = std::clamp(FPosition, FMin, MaxPosition());
    PushInfo();
    return true;
}

void TScrollBar::SetPosition(int v) {
    v = std::clamp(v, FMin, MaxPosition());
    if (v == FPosition) return;
    FPosition = v;
    PushInfo();
    if (OnChange && !IsLoading()) OnChange(this);
}

void TScrollBar::Scroll(TScrollCode code, int position) {
    if (OnScroll) OnScroll(this, code, position);
    SetPosition(position);
}

void TScrollBar::WndProc(TMessage& msg) {
    if (msg.Msg == CN_HSCROLL || msg.Msg == CN_VSCROLL) {
        int code = LOWORD(msg.WParam);
        int pos = FPosition;
        switch (code) {
            case SB_LINEUP: pos -= FSmallChange; break;
            case SB_LINEDOWN: pos += FSmallChange; break;
            case SB_PAGEUP: pos -= FLargeChange; break;
            case SB_PAGEDOWN: pos += FLargeChange; break;
            case SB_THUMBPOSITION:
            case SB_THUMBTRACK: {
                // The 16-bit position in the message is cut off; the track position is not.
                SCROLLINFO si{};
                si.cbSize = sizeof(si);
                si.fMask = SIF_TRACKPOS;
                GetScrollInfo(FHandle, SB_CTL, &si);
                pos = si.nTrackPos;
                break;
            }
            case SB_TOP: pos = FMin; break;
            case SB_BOTTOM: pos = FMax; break;
            default: break;
        }
        if (code <= SB_ENDSCROLL) Scroll(TScrollCode(code), std::clamp(pos, FMin, MaxPosition()));
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

}  // namespace qs
