// Up-down buttons, date-time pickers and tree views.
#include "ComCtrlsEdit.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "PropertyHelpers.h"

namespace qs {

const std::vector<std::string> kUDOrientationNames = {"udHorizontal", "udVertical"};
const std::vector<std::string> kUDAlignButtonNames = {"udLeft", "udRight"};
const std::vector<std::string> kDateTimeKindNames = {"dtkDate", "dtkTime"};
const std::vector<std::string> kDTDateFormatNames = {"dfShort", "dfLong"};

namespace {
// These classes are not among those the toolkit registers up front.
void ensureClasses() {
    static bool done = [] {
        INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_UPDOWN_CLASS | ICC_DATE_CLASSES | ICC_TREEVIEW_CLASSES};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)done;
}
}  // namespace

// ---- TCustomUpDown ----

const TClassInfo& TCustomUpDown::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomUpDown>("TCustomUpDown", &TWinControl::StaticClassInfo())
            .integer("Min", [](const TCustomUpDown& u) { return int64_t(u.Min()); },
                     [](TCustomUpDown& u, int64_t v) { u.SetMin(int(v)); })
            .integer("Max", [](const TCustomUpDown& u) { return int64_t(u.Max()); },
                     [](TCustomUpDown& u, int64_t v) { u.SetMax(int(v)); })
            .integer("Position", [](const TCustomUpDown& u) { return int64_t(u.Position()); },
                     [](TCustomUpDown& u, int64_t v) { u.SetPosition(int(v)); })
            .integer("Increment", [](const TCustomUpDown& u) { return int64_t(u.Increment()); },
                     [](TCustomUpDown& u, int64_t v) { u.SetIncrement(int(v)); })
            .enumeration("Orientation", kUDOrientationNames, [](const TCustomUpDown& u) { return int(u.Orientation()); },
                         [](TCustomUpDown& u, int v) { u.SetOrientation(TUDOrientation(v)); })
            .enumeration("AlignButton", kUDAlignButtonNames, [](const TCustomUpDown& u) { return int(u.AlignButton()); },
                         [](TCustomUpDown& u, int v) { u.SetAlignButton(TUDAlignButton(v)); })
            .boolean("Wrap", &TCustomUpDown::Wrap, &TCustomUpDown::SetWrap)
            .boolean("ArrowKeys", &TCustomUpDown::ArrowKeys, &TCustomUpDown::SetArrowKeys)
            .boolean("Thousands", &TCustomUpDown::Thousands, &TCustomUpDown::SetThousands)
            .object("Associate", [](const TCustomUpDown& u) -> TObject* { return u.Associate(); },
                    [](TCustomUpDown& u, TObject* o) -> bool {
                        auto* w = dynamic_cast<TWinControl*>(o);
                        if (o && !w) return false;
                        u.SetAssociate(w);
                        return true;
                    },
                    &TWinControl::StaticClassInfo())
            .event<TUDClickEvent>("OnClick", [](const TCustomUpDown& u) { return u.OnClick; },
                                  [](TCustomUpDown& u, const TUDClickEvent& f) { u.OnClick = f; })
            .event<TUDChangingEvent>("OnChanging", [](const TCustomUpDown& u) { return u.OnChanging; },
                                     [](TCustomUpDown& u, const TUDChangingEvent& f) { u.OnChanging = f; })
            .build();
    return info;
}

const TClassInfo& TUpDown::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TUpDown>("TUpDown", &TCustomUpDown::StaticClassInfo()).creatable().build();
    return info;
}

TCustomUpDown::TCustomUpDown(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, GetSystemMetrics(SM_CXVSCROLL), 25);
    SetControlStyle(ControlStyle() & ~uint32_t(csSetCaption));
}

void TCustomUpDown::CreateParams(TCreateParams& p) {
    ensureClasses();
    TWinControl::CreateParams(p);
    p.SysClassName = UPDOWN_CLASSW;
    p.Caption.clear();
    if (FOrientation == udHorizontal) p.Style |= UDS_HORZ;
    if (FWrap) p.Style |= UDS_WRAP;
    if (FArrowKeys) p.Style |= UDS_ARROWKEYS;
    if (!FThousands) p.Style |= UDS_NOTHOUSANDS;
    if (FAssociate) p.Style |= UDS_SETBUDDYINT | (FAlignButton == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT);
}

void TCustomUpDown::CreateHandle() {
    TWinControl::CreateHandle();
    SendMessageW(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
    SendMessageW(FHandle, UDM_SETPOS32, 0, LPARAM(FPosition));
    UDACCEL accel{0, UINT(std::max(FIncrement, 1))};
    SendMessageW(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    if (FAssociate) SendMessageW(FHandle, UDM_SETBUDDY, reinterpret_cast<WPARAM>(FAssociate->Handle()), 0);
}

void TCustomUpDown::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FAssociate) {
        FAssociate = nullptr;
        if (FHandle) SendMessageW(FHandle, UDM_SETBUDDY, 0, 0);
    }
}

void TCustomUpDown::SetMin(int v) {
    FMin = v;
    if (FHandle) SendMessageW(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}
void TCustomUpDown::SetMax(int v) {
    FMax = v;
    if (FHandle) SendMessageW(FHandle, UDM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
}

int TCustomUpDown::Position() const {
    // The flag only says the buddy's text was no number (or there is no
    // buddy); the value given back is the control's position either way.
    if (FHandle) {
        BOOL failed = FALSE;
        return int(SendMessageW(FHandle, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    }
    return FPosition;
}

void TCustomUpDown::SetPosition(int v) {
    int lo = std::min(FMin, FMax), hi = std::max(FMin, FMax);
    FPosition = std::clamp(v, lo, hi);
    if (FHandle) SendMessageW(FHandle, UDM_SETPOS32, 0, LPARAM(FPosition));
}

void TCustomUpDown::SetIncrement(int v) {
    FIncrement = std::max(v, 1);
    if (FHandle) {
        UDACCEL accel{0, UINT(FIncrement)};
        SendMessageW(FHandle, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    }
}

void TCustomUpDown::SetOrientation(TUDOrientation o) {
    if (o == FOrientation) return;
    FOrientation = o;
    if (!IsLoading()) SetBounds(Left(), Top(), Height(), Width());
    RecreateKeepingPosition();
}
// The style bits are fixed at creation: a new window, keeping the position
// the user may have moved in the old one.
void TCustomUpDown::RecreateKeepingPosition() {
    FPosition = Position();
    RecreateWnd();
}
void TCustomUpDown::SetAlignButton(TUDAlignButton a) {
    if (ChangeField(FAlignButton, a)) RecreateKeepingPosition();
}
void TCustomUpDown::SetWrap(bool v) {
    if (ChangeField(FWrap, v)) RecreateKeepingPosition();
}
void TCustomUpDown::SetArrowKeys(bool v) {
    if (ChangeField(FArrowKeys, v)) RecreateKeepingPosition();
}
void TCustomUpDown::SetThousands(bool v) {
    if (ChangeField(FThousands, v)) RecreateKeepingPosition();
}

void TCustomUpDown::SetAssociate(TWinControl* c) {
    if (c != this && LinkComponent<TWinControl>(this, FAssociate, c)) RecreateKeepingPosition();
}

void TCustomUpDown::WndProc(TMessage& msg) {
    if (msg.Msg == CN_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
        if (hdr && hdr->code == UINT(UDN_DELTAPOS)) {
            bool allow = true;
            if (OnChanging) OnChanging(this, allow);
            msg.Result = allow ? 0 : 1;
            return;
        }
        msg.Result = 0;
        return;
    }
    if (msg.Msg == CN_VSCROLL || msg.Msg == CN_HSCROLL) {
        if (LOWORD(msg.WParam) == SB_THUMBPOSITION) {
            int old = FPosition;
            FPosition = Position();
            if (OnClick && FPosition != old) OnClick(this, FPosition > old ? TUDBtnType::btNext : TUDBtnType::btPrev);
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

// ---- TDateTimePicker ----

const TClassInfo& TDateTimePicker::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TDateTimePicker>("TDateTimePicker", &TWinControl::StaticClassInfo())
            .creatable()
            .string("Date", &TDateTimePicker::DateText, &TDateTimePicker::SetDateText)
            .string("Time", &TDateTimePicker::TimeText, &TDateTimePicker::SetTimeText)
            .enumeration("Kind", kDateTimeKindNames, [](const TDateTimePicker& d) { return int(d.Kind()); },
                         [](TDateTimePicker& d, int v) { d.SetKind(TDateTimeKind(v)); })
            .enumeration("DateFormat", kDTDateFormatNames, [](const TDateTimePicker& d) { return int(d.DateFormat()); },
                         [](TDateTimePicker& d, int v) { d.SetDateFormat(TDTDateFormat(v)); })
            .boolean("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox)
            .boolean("Checked", &TDateTimePicker::Checked, &TDateTimePicker::SetChecked)
            .event<E>("OnChange", [](const TDateTimePicker& d) { return d.OnChange; },
                      [](TDateTimePicker& d, const E& f) { d.OnChange = f; })
            .event<E>("OnDropDown", [](const TDateTimePicker& d) { return d.OnDropDown; },
                      [](TDateTimePicker& d, const E& f) { d.OnDropDown = f; })
            .event<E>("OnCloseUp", [](const TDateTimePicker& d) { return d.OnCloseUp; },
                      [](TDateTimePicker& d, const E& f) { d.OnCloseUp = f; })
            .build();
    return info;
}

TDateTimePicker::TDateTimePicker(TComponent* owner) : TWinControl(owner) {
    GetLocalTime(&FDateTime);
    FDateTime.wMilliseconds = 0;
    SetBounds(0, 0, 186, 21);
    SetColor(clWindow);
    SetTabStop(true);
    SetControlStyle(ControlStyle() & ~uint32_t(csSetCaption));
}

void TDateTimePicker::CreateParams(TCreateParams& p) {
    ensureClasses();
    TWinControl::CreateParams(p);
    p.SysClassName = DATETIMEPICK_CLASSW;
    p.Caption.clear();
    if (FKind == dtkTime) p.Style |= DTS_TIMEFORMAT;
    else p.Style |= FDateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
    if (FShowCheckbox) p.Style |= DTS_SHOWNONE;
    p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDateTimePicker::CreateHandle() {
    TWinControl::CreateHandle();
    SYSTEMTIME t = FDateTime;
    SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    if (FShowCheckbox && !FChecked) SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_NONE, 0);
}

void TDateTimePicker::DestroyWnd() {
    if (FHandle) FDateTime = DateTime();
    TWinControl::DestroyWnd();
}

SYSTEMTIME TDateTimePicker::DateTime() const {
    if (FHandle) {
        SYSTEMTIME t{};
        if (SendMessageW(FHandle, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&t)) == GDT_VALID) return t;
    }
    return FDateTime;
}

void TDateTimePicker::SetDateTime(const SYSTEMTIME& t) {
    FDateTime = t;
    if (FHandle) {
        SYSTEMTIME copy = t;
        SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&copy));
    }
}

std::string TDateTimePicker::DateText() const {
    SYSTEMTIME t = DateTime();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u", t.wYear, t.wMonth, t.wDay);
    return buf;
}

bool TDateTimePicker::SetDateText(const std::string& s) {
    unsigned y = 0, m = 0, d = 0;
    char tail = 0;
    if (std::sscanf(s.c_str(), "%4u-%2u-%2u%c", &y, &m, &d, &tail) != 3) return false;
    static const int days[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1601 || y > 9999 || m < 1 || m > 12 || d < 1 || int(d) > days[m - 1]) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (m == 2 && d == 29 && !leap) return false;
    SYSTEMTIME t = DateTime();
    t.wYear = WORD(y);
    t.wMonth = WORD(m);
    t.wDay = WORD(d);
    // The weekday follows from the date; the control checks it.
    FILETIME ft;
    t.wDayOfWeek = 0;
    if (SystemTimeToFileTime(&t, &ft)) FileTimeToSystemTime(&ft, &t);
    SetDateTime(t);
    return true;
}

std::string TDateTimePicker::TimeText() const {
    SYSTEMTIME t = DateTime();
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", t.wHour, t.wMinute, t.wSecond);
    return buf;
}

bool TDateTimePicker::SetTimeText(const std::string& s) {
    unsigned h = 0, m = 0, sec = 0;
    char tail = 0;
    if (std::sscanf(s.c_str(), "%2u:%2u:%2u%c", &h, &m, &sec, &tail) != 3) return false;
    if (h > 23 || m > 59 || sec > 59) return false;
    SYSTEMTIME t = DateTime();
    t.wHour = WORD(h);
    t.wMinute = WORD(m);
    t.wSecond = WORD(sec);
    t.wMilliseconds = 0;
    SetDateTime(t);
    return true;
}

void TDateTimePicker::SetKind(TDateTimeKind k) {
    if (ChangeField(FKind, k)) RecreateWnd();
}
void TDateTimePicker::SetDateFormat(TDTDateFormat f) {
    if (ChangeField(FDateFormat, f)) RecreateWnd();
}
void TDateTimePicker::SetShowCheckbox(bool v) {
    if (ChangeField(FShowCheckbox, v)) RecreateWnd();
}

// Kept here and followed through the change notifications: not every system
// answers DTM_GETSYSTEMTIME with GDT_NONE for an unchecked box.
bool TDateTimePicker::Checked() const { return !FShowCheckbox || FChecked; }

void TDateTimePicker::SetChecked(bool v) {
    FChecked = v;
    if (!FHandle || !FShowCheckbox) return;
    if (v) {
        SYSTEMTIME t = FDateTime;
        SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&t));
    } else {
        FDateTime = DateTime();
        SendMessageW(FHandle, DTM_SETSYSTEMTIME, GDT_NONE, 0);
    }
}

bool TDateTimePicker::DroppedDown() const {
    if (!FHandle) return false;
    // Some systems keep the calendar window between drop-downs, hidden.
    HWND cal = reinterpret_cast<HWND>(SendMessageW(FHandle, DTM_GETMONTHCAL, 0, 0));
    return cal && IsWindowVisible(cal);
}

void TDateTimePicker::WndProc(TMessage& msg) {
    if (msg.Msg == CN_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
        if (hdr) {
            if (hdr->code == UINT(DTN_DATETIMECHANGE)) {
                if (FShowCheckbox) FChecked = reinterpret_cast<NMDATETIMECHANGE*>(msg.LParam)->dwFlags == GDT_VALID;
                if (OnChange) OnChange(this);
            } else if (hdr->code == UINT(DTN_DROPDOWN)) {
                if (OnDropDown) OnDropDown(this);
            } else if (hdr->code == UINT(DTN_CLOSEUP)) {
                if (OnCloseUp) OnCloseUp(this);
            }
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

// ---- TCustomTreeView ----

const TClassInfo& TCustomTreeView::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TCustomTreeView>("TCustomTreeView", &TWinControl::StaticClassInfo())
            .strings("Items", &TCustomTreeView::ItemsText, &TCustomTreeView::SetItemsText)
            .enumeration("BorderStyle", kEditBorderStyleNames, [](const TCustomTreeView& t) { return int(t.BorderStyle()); },
                         [](TCustomTreeView& t, int v) { t.SetBorderStyle(TEditBorderStyle(v)); })
            .boolean("ShowLines", &TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines)
            .boolean("ShowRoot", &TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot)
            .boolean("ShowButtons", &TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons)
            .boolean("ReadOnly", &TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly)
            .boolean("HideSelection", &TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection)
            .event<E>("OnChange", [](const TCustomTreeView& t) { return t.OnChange; },
                      [](TCustomTreeView& t, const E& f) { t.OnChange = f; })
            .build();
    return info;
}

const TClassInfo& TTreeView::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TTreeView>("TTreeView", &TCustomTreeView::StaticClassInfo()).creatable().build();
    return info;
}

TCustomTreeView::TCustomTreeView(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 121, 97);
    SetColor(clWindow);
    SetTabStop(true);
    SetControlStyle(ControlStyle() & ~uint32_t(csSetCaption));
}

void TCustomTreeView::CreateParams(TCreateParams& p) {
    ensureClasses();
    TWinControl::CreateParams(p);
    p.SysClassName = WC_TREEVIEWW;
    p.Caption.clear();
    if (FShowLines) p.Style |= TVS_HASLINES;
    if (FShowRoot) p.Style |= TVS_LINESATROOT;
    if (FShowButtons) p.Style |= TVS_HASBUTTONS;
    if (!FReadOnly) p.Style |= TVS_EDITLABELS;
    if (!FHideSelection) p.Style |= TVS_SHOWSELALWAYS;
    if (FBorderStyle == ebsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::InsertIntoWindow(size_t i) {
    Node& n = FNodes[i];
    TVINSERTSTRUCTW ins{};
    ins.hParent = n.parent >= 0 ? static_cast<HTREEITEM>(FNodes[size_t(n.parent)].item) : TVI_ROOT;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = n.text.data();
    n.item = reinterpret_cast<void*>(SendMessageW(FHandle, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
}

void TCustomTreeView::CreateHandle() {
    TWinControl::CreateHandle();
    for (size_t i = 0; i < FNodes.size(); ++i) InsertIntoWindow(i);
    for (auto& n : FNodes)
        if (n.expanded && n.item) SendMessageW(FHandle, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(n.item));
    if (FSelected >= 0 && size_t(FSelected) < FNodes.size())
        SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FNodes[size_t(FSelected)].item));
}

void TCustomTreeView::DestroyWnd() {
    if (FHandle) {
        FSelected = Selected();
        for (auto& n : FNodes) {
            n.expanded = n.item && (SendMessageW(FHandle, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(n.item),
                                                 TVIS_EXPANDED) & TVIS_EXPANDED);
            n.item = nullptr;
        }
    }
    TWinControl::DestroyWnd();
}

int TCustomTreeView::AddNode(int parent, const std::wstring& text) {
    if (parent < -1 || parent >= int(FNodes.size())) parent = -1;
    FNodes.push_back(Node{text, parent, false, nullptr});
    if (FHandle) InsertIntoWindow(FNodes.size() - 1);
    return int(FNodes.size()) - 1;
}

void TCustomTreeView::ClearNodes() {
    if (FHandle) SendMessageW(FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    FNodes.clear();
    FSelected = -1;
}

std::wstring TCustomTreeView::NodeText(int i) const {
    if (i < 0 || i >= int(FNodes.size())) return {};
    return FNodes[size_t(i)].text;
}

int TCustomTreeView::NodeParent(int i) const {
    if (i < 0 || i >= int(FNodes.size())) return -1;
    return FNodes[size_t(i)].parent;
}

void TCustomTreeView::Expand(int i, bool expand) {
    if (i < 0 || i >= int(FNodes.size())) return;
    FNodes[size_t(i)].expanded = expand;
    if (FHandle && FNodes[size_t(i)].item)
        SendMessageW(FHandle, TVM_EXPAND, expand ? TVE_EXPAND : TVE_COLLAPSE,
                     reinterpret_cast<LPARAM>(FNodes[size_t(i)].item));
}

int TCustomTreeView::Selected() const {
    if (!FHandle) return FSelected;
    auto item = reinterpret_cast<void*>(SendMessageW(FHandle, TVM_GETNEXTITEM, TVGN_CARET, 0));
    if (!item) return -1;
    for (size_t i = 0; i < FNodes.size(); ++i)
        if (FNodes[i].item == item) return int(i);
    return -1;
}

void TCustomTreeView::SetSelected(int i) {
    if (i < -1 || i >= int(FNodes.size())) i = -1;
    FSelected = i;
    if (FHandle)
        SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, i < 0 ? 0 : reinterpret_cast<LPARAM>(FNodes[size_t(i)].item));
}

TStringList TCustomTreeView::ItemsText() const {
    TStringList out;
    for (auto& n : FNodes) {
        int depth = 0;
        for (int p = n.parent; p >= 0; p = FNodes[size_t(p)].parent) ++depth;
        out.push_back(std::string(size_t(depth), ' ') + WideToUtf8(n.text));
    }
    return out;
}

bool TCustomTreeView::SetItemsText(const TStringList& lines) {
    // Check the whole outline before touching the nodes.
    std::vector<std::pair<int, std::wstring>> parsed;
    int lastDepth = -1;
    for (auto& line : lines) {
        size_t depth = line.find_first_not_of(' ');
        if (depth == std::string::npos) depth = line.size();
        if (int(depth) > lastDepth + 1) return false;
        parsed.emplace_back(int(depth), Utf8ToWide(line.substr(depth)));
        lastDepth = int(depth);
    }
    ClearNodes();
    std::vector<int> stack;  // index of the last node at each depth
    for (auto& [depth, text] : parsed) {
        stack.resize(size_t(depth));
        int parent = depth > 0 ? stack.back() : -1;
        stack.push_back(AddNode(parent, text));
    }
    return true;
}

void TCustomTreeView::SetStyle(bool& field, bool v) {
    if (ChangeField(field, v)) RecreateWnd();
}
void TCustomTreeView::SetShowLines(bool v) { SetStyle(FShowLines, v); }
void TCustomTreeView::SetShowRoot(bool v) { SetStyle(FShowRoot, v); }
void TCustomTreeView::SetShowButtons(bool v) { SetStyle(FShowButtons, v); }
void TCustomTreeView::SetReadOnly(bool v) { SetStyle(FReadOnly, v); }
void TCustomTreeView::SetHideSelection(bool v) { SetStyle(FHideSelection, v); }
void TCustomTreeView::SetBorderStyle(TEditBorderStyle b) {
    if (ChangeField(FBorderStyle, b)) RecreateWnd();
}

void TCustomTreeView::WndProc(TMessage& msg) {
    if (msg.Msg == CN_NOTIFY) {
        auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
        if (hdr && (hdr->code == UINT(TVN_SELCHANGEDW) || hdr->code == UINT(TVN_SELCHANGEDA)) && OnChange) OnChange(this);
        if (hdr && (hdr->code == UINT(TVN_ENDLABELEDITW))) {
            // Accept the new label and keep our copy in step.
            auto* info = reinterpret_cast<NMTVDISPINFOW*>(msg.LParam);
            if (info->item.pszText) {
                for (auto& n : FNodes)
                    if (n.item == info->item.hItem) n.text = info->item.pszText;
                msg.Result = 1;
                return;
            }
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

}  // namespace qs
