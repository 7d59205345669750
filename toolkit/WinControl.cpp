// TWinControl: the window handle, the trampoline window procedure, child
// controls, layout, tab order, reflection of control notifications.
#include "Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "Forms.h"
#include "WindowTable.h"

namespace qs {

void SetMouseControl(TControl* c);
TControl* MouseControl();

LRESULT CALLBACK ControlWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

namespace {
// The control whose window CreateWindowEx is making: the first message of the
// new window binds the two, before WM_NCCREATE.
thread_local TWinControl* t_creating = nullptr;

// Window -> control. Looked up on every message, so never a window property.
TWindowTable& controlTable() {
    static TWindowTable table;
    return table;
}

struct WindowClassEntry {
    std::wstring name;
    WNDPROC original;
};
std::vector<WindowClassEntry> g_windowClasses;

// Registers the toolkit class name once per process. A control wrapping a
// system class copies that class (keeping its extra bytes, which its procedure
// relies on) and keeps the system procedure as the default handler.
WNDPROC EnsureWindowClass(const TCreateParams& p) {
    for (auto& e : g_windowClasses)
        if (e.name == p.WinClassName) return e.original;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    WNDPROC original = DefWindowProcW;
    if (!p.SysClassName.empty()) {
        if (!GetClassInfoExW(nullptr, p.SysClassName.c_str(), &wc)) {
            INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
            InitCommonControlsEx(&icc);
            if (!GetClassInfoExW(nullptr, p.SysClassName.c_str(), &wc))
                throw std::runtime_error("window class not available: " + WideToUtf8(p.SysClassName));
        }
        original = wc.lpfnWndProc;
        wc.style &= ~UINT(CS_GLOBALCLASS);
    } else {
        wc.style = p.ClassStyle;
        wc.hCursor = p.Cursor ? p.Cursor : LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = p.Background;
        wc.hIcon = p.Icon;
    }
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ControlWindowProc;
    wc.hInstance = inst;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = p.WinClassName.c_str();
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw std::runtime_error("cannot register window class " + WideToUtf8(p.WinClassName));
    g_windowClasses.push_back({p.WinClassName, original});
    return original;
}

UINT NextControlId() {
    static UINT id = 0x100;
    if (++id > 0xFFF0) id = 0x101;
    return id;
}

bool IsGraphic(const TControl* c) { return dynamic_cast<const TWinControl*>(c) == nullptr; }
}  // namespace

TWinControl* FindControl(HWND wnd) {
    return static_cast<TWinControl*>(controlTable().Get(wnd));
}

// Every toolkit window's procedure. A subclasser may sit in front of it and
// call it through CallWindowProc; the control is found through the window table,
// never through the procedure address.
LRESULT CALLBACK ControlWindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* c = FindControl(wnd);
    if (!c) {
        c = t_creating;
        if (!c) return DefWindowProcW(wnd, msg, wParam, lParam);
        t_creating = nullptr;
        c->FHandle = wnd;
        controlTable().Set(wnd, c);
    }
    TMessage m{msg, wParam, lParam, 0};
    try {
        TWndMethod proc = c->WindowProc();
        proc(m);
    } catch (...) {
        ReportCurrentException();
    }
    if (msg == WM_NCDESTROY && FindControl(wnd) == c) c->WindowGone();
    return m.Result;
}

const TClassInfo& TWinControl::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TWinControl>("TWinControl", &TControl::StaticClassInfo())
            .integer("TabOrder", [](const TWinControl& c) { return int64_t(c.TabOrder()); },
                     [](TWinControl& c, int64_t v) { c.SetTabOrder(int(v)); })
            .boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop)
            .event<TKeyEvent>("OnKeyDown", [](const TWinControl& c) { return c.OnKeyDown; },
                              [](TWinControl& c, const TKeyEvent& f) { c.OnKeyDown = f; })
            .event<TKeyEvent>("OnKeyUp", [](const TWinControl& c) { return c.OnKeyUp; },
                              [](TWinControl& c, const TKeyEvent& f) { c.OnKeyUp = f; })
            .event<TKeyPressEvent>("OnKeyPress", [](const TWinControl& c) { return c.OnKeyPress; },
                                   [](TWinControl& c, const TKeyPressEvent& f) { c.OnKeyPress = f; })
            .event<E>("OnEnter", [](const TWinControl& c) { return c.OnEnter; },
                      [](TWinControl& c, const E& f) { c.OnEnter = f; })
            .event<E>("OnExit", [](const TWinControl& c) { return c.OnExit; },
                      [](TWinControl& c, const E& f) { c.OnExit = f; })
            .build();
    return info;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    DestroyHandle();
    // Leave the parent while still a windowed control: it keeps us in its
    // tab list too, and ~TControl no longer knows we were one.
    if (Parent()) Parent()->RemoveControl(this);
    if (FBackgroundBrush) DeleteObject(FBackgroundBrush);
    // Children are freed by their owners; they only lose their parent here.
    while (!FControls.empty()) {
        TControl* c = FControls.back();
        FControls.pop_back();
        c->FParent = nullptr;
    }
    FTabList.clear();
    if (FMouseCapture) FMouseCapture = nullptr;
}

// ---- window ----

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (Parent()) Parent()->HandleNeeded();
    if (!FHandle) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.WinClassName = Utf8ToWide(ClassName());
    p.Caption = FText;
    p.X = FLeft;
    p.Y = FTop;
    p.Width = FWidth;
    p.Height = FHeight;
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (Parent()) {
        p.Style |= WS_CHILD;
        p.WndParent = Parent()->Handle();
    } else if (FParentWindow) {
        p.Style |= WS_CHILD;
        p.WndParent = FParentWindow;
    } else {
        p.Style |= WS_POPUP;
    }
    if (Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (FTabStop) p.Style |= WS_TABSTOP;
    p.ExStyle |= BiDiExStyle();
}

DWORD TWinControl::BiDiExStyle() const {
    switch (BiDiMode()) {
        case TBiDiMode::bdRightToLeft: return WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR;
        case TBiDiMode::bdRightToLeftNoAlign: return WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
        case TBiDiMode::bdRightToLeftReadingOnly: return WS_EX_RTLREADING;
        default: return 0;
    }
}

void TWinControl::SetParentWindow(HWND parent) {
    if (parent == FParentWindow) return;
    FParentWindow = parent;
    if (!FHandle || Parent()) return;
    // Child and top-level windows are made differently.
    RecreateWnd();
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    FDefWndProc = EnsureWindowClass(p);
    HMENU id = (p.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextControlId())) : nullptr;
    t_creating = this;
    HWND h = CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                             p.Height, p.WndParent, id, GetModuleHandleW(nullptr), nullptr);
    t_creating = nullptr;
    if (!h) throw std::runtime_error("cannot create the window of " + Name() + " (" + ClassName() + ")");
    if (!FHandle) {  // a window that sent no message while being made
        FHandle = h;
        controlTable().Set(h, this);
    }
}

void TWinControl::CreateHandle() {
    CreateWnd();
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), FALSE);
    // What the window made of our bounds (a status bar picks its own height).
    RECT r;
    GetWindowRect(FHandle, &r);
    if (HWND parent = GetParent(FHandle); parent && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    FLeft = r.left;
    FTop = r.top;
    FWidth = r.right - r.left;
    FHeight = r.bottom - r.top;
    for (TWinControl* c : std::vector<TWinControl*>(FTabList.begin(), FTabList.end()))
        if (!c->HandleAllocated()) c->CreateHandle();
    // Keep the window z-order in the order of the control list.
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle)
            SetWindowPos(w->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Realign();
}

void TWinControl::DestroyWnd() {
    if (FHandle) DestroyWindow(FHandle);
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    // Children first, each through its own DestroyWnd (a control hosting
    // something in its window lets go of it there), not as a side effect of
    // the parent window going.
    for (TControl* c : std::vector<TControl*>(FControls))
        if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
    // Text lives in the window while there is one; keep it for the next window.
    FText = GetText();
    DestroyWnd();
    if (FHandle) WindowGone();  // DestroyWindow refused (another thread's window)
}

void TWinControl::WindowGone() {
    if (FHandle && FindControl(FHandle) == this) controlTable().Remove(FHandle);
    FHandle = nullptr;
    if (MouseControl() == this) SetMouseControl(nullptr);
    for (TControl* c : FControls)
        if (auto* w = dynamic_cast<TWinControl*>(c); w && w->FHandle && !IsWindow(w->FHandle)) w->WindowGone();
}

void TWinControl::RecreateWnd() {
    if (!FHandle || FRecreating) return;
    FRecreating = true;
    Perform(CM_RECREATEWND);
    bool wasFocused = Focused();
    DestroyHandle();
    try {
        HandleNeeded();
    } catch (...) {
        FRecreating = false;
        throw;
    }
    FRecreating = false;
    if (wasFocused && FHandle) ::SetFocus(FHandle);
}

void TWinControl::SetWindowStyleBits(DWORD mask, DWORD bits, bool ex) {
    if (!FHandle) return;
    int index = ex ? GWL_EXSTYLE : GWL_STYLE;
    LONG_PTR s = GetWindowLongPtrW(FHandle, index);
    LONG_PTR n = (s & ~LONG_PTR(mask)) | LONG_PTR(bits & mask);
    if (n == s) return;
    SetWindowLongPtrW(FHandle, index, n);
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// ---- message handling ----

void TWinControl::DefaultHandler(TMessage& msg) {
    if (msg.Msg >= CM_BASE && msg.Msg < CN_BASE + 0x400) {
        // Toolkit notifications never reach a system procedure. Colour
        // requests reflected from the parent get our colours.
        msg.Result = 0;
        if (msg.Msg >= CN_CTLCOLORMSGBOX && msg.Msg <= CN_CTLCOLORSTATIC) {
            HDC dc = reinterpret_cast<HDC>(msg.WParam);
            SetTextColor(dc, ColorToRGB(Font()->Color()));
            SetBkColor(dc, ColorToRGB(Color()));
            UpdateBackgroundBrush();
            msg.Result = reinterpret_cast<LRESULT>(FBackgroundBrush);
        }
        return;
    }
    if (FHandle)
        msg.Result = CallWindowProcW(FDefWndProc ? FDefWndProc : DefWindowProcW, FHandle, msg.Msg, msg.WParam, msg.LParam);
    else
        msg.Result = 0;
}

void TWinControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_COMMAND: case WM_NOTIFY: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_DELETEITEM:
        case WM_COMPAREITEM: case WM_HSCROLL: case WM_VSCROLL: case WM_CHARTOITEM: case WM_VKEYTOITEM:
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
            if (ReflectToChild(msg)) return;
            // Commands and owner-drawn items of toolkit menus.
            if (msg.Msg == WM_COMMAND || msg.Msg == WM_DRAWITEM || msg.Msg == WM_MEASUREITEM)
                if (HandleMenuMessage(msg.Msg, msg.WParam, msg.LParam, msg.Result)) return;
            break;
        case WM_INITMENUPOPUP:
        case WM_MENUCHAR:
            if (HandleMenuMessage(msg.Msg, msg.WParam, msg.LParam, msg.Result)) return;
            break;
        case WM_PAINT:
        case WM_PRINTCLIENT:
            WMPaint(msg);
            return;
        case WM_ERASEBKGND:
            if (ControlStyle() & csOpaque) {  // Paint covers everything
                msg.Result = 1;
                return;
            }
            if (FDefWndProc == DefWindowProcW || !FDefWndProc) {
                WMEraseBkgnd(msg);
                return;
            }
            break;
        case WM_GETFONT:
            // A window of our own class has nobody else to remember its font.
            if (FDefWndProc == DefWindowProcW) {
                TControl::WndProc(msg);
                if (!msg.Result) msg.Result = reinterpret_cast<LRESULT>(Font()->Handle());
                return;
            }
            break;
        case WM_MOUSEMOVE: case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK: {
            bool done = false;
            WMMouseForChildren(msg, done);
            if (done) return;
            break;
        }
        case WM_MOUSELEAVE: {
            TControl* m = MouseControl();
            if (m == this || (m && m->Parent() == this && IsGraphic(m))) SetMouseControl(nullptr);
            break;
        }
        case WM_CAPTURECHANGED:
            FMouseCapture = nullptr;
            break;
        case WM_WINDOWPOSCHANGED: {
            TControl::WndProc(msg);
            WMSize();
            return;
        }
        case WM_SETTEXT: {
            TControl::WndProc(msg);
            // Whoever set the text (us or SetWindowText from outside), the
            // control reacts and hears of it.
            TextChanged();
            Perform(CM_TEXTCHANGED);
            return;
        }
        case WM_SETFOCUS: {
            TControl::WndProc(msg);
            if (TCustomForm* f = GetParentForm(this); f && f != this) f->FocusControlChanged(this);
            return;
        }
        case WM_KEYDOWN: case WM_SYSKEYDOWN:
            if (!DoKeyDown(msg)) return;
            break;
        case WM_KEYUP: case WM_SYSKEYUP:
            if (!DoKeyUp(msg)) return;
            break;
        case WM_CHAR:
            if (!DoKeyPress(msg)) return;
            break;
        case CN_KEYDOWN: case CN_SYSKEYDOWN: {
            // A dialog key the control does not want goes to its form.
            WORD key = WORD(msg.WParam);
            bool dialogKey = key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_CANCEL ||
                             (key >= VK_PRIOR && key <= VK_DOWN);
            if (dialogKey && FHandle) {
                LRESULT code = SendMessageW(FHandle, WM_GETDLGCODE, msg.WParam, 0);
                bool wants = (code & DLGC_WANTALLKEYS) || (key == VK_TAB && (code & DLGC_WANTTAB)) ||
                             (key >= VK_PRIOR && key <= VK_DOWN && (code & DLGC_WANTARROWS));
                if (!wants)
                    if (TCustomForm* f = GetParentForm(this)) {
                        msg.Result = f->Perform(CM_DIALOGKEY, msg.WParam, msg.LParam);
                        if (msg.Result) return;
                    }
            }
            break;
        }
        case CM_BIDIMODECHANGED:
            SetWindowStyleBits(WS_EX_RTLREADING | WS_EX_RIGHT | WS_EX_LEFTSCROLLBAR, BiDiExStyle(), true);
            break;
        case CN_SYSCHAR:
            if (TCustomForm* f = GetParentForm(this)) {
                msg.Result = f->Perform(CM_DIALOGCHAR, msg.WParam, msg.LParam);
                if (msg.Result) return;
            }
            break;
        default:
            break;
    }
    TControl::WndProc(msg);
}

bool TWinControl::ReflectToChild(TMessage& msg) {
    HWND child = nullptr;
    switch (msg.Msg) {
        case WM_COMMAND:
            child = reinterpret_cast<HWND>(msg.LParam);
            break;
        case WM_NOTIFY:
            if (msg.LParam) child = reinterpret_cast<NMHDR*>(msg.LParam)->hwndFrom;
            break;
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
            if (d && d->CtlType != ODT_MENU) child = d->hwndItem;
            break;
        }
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(msg.LParam);
            if (m && m->CtlType != ODT_MENU && FHandle) child = GetDlgItem(FHandle, int(m->CtlID));
            break;
        }
        case WM_DELETEITEM:
            if (msg.LParam) child = reinterpret_cast<DELETEITEMSTRUCT*>(msg.LParam)->hwndItem;
            break;
        case WM_COMPAREITEM:
            if (msg.LParam) child = reinterpret_cast<COMPAREITEMSTRUCT*>(msg.LParam)->hwndItem;
            break;
        default:  // scroll, colour and list-key messages carry the child in lParam
            child = reinterpret_cast<HWND>(msg.LParam);
            break;
    }
    if (!child || child == FHandle) return false;
    TWinControl* c = FindControl(child);
    if (!c) return false;
    msg.Result = c->Perform(CN_BASE + msg.Msg, msg.WParam, msg.LParam);
    return true;
}

void TWinControl::WMPaint(TMessage& msg) {
    bool hasGraphic = std::any_of(FControls.begin(), FControls.end(), [](TControl* c) { return IsGraphic(c) && c->Visible(); });
    HDC given = reinterpret_cast<HDC>(msg.WParam);
    if (given) {
        PaintWindow(given);
        PaintControls(given);
        msg.Result = 0;
        return;
    }
    if (!hasGraphic && !(ControlStyle() & csCustomPaint)) {
        TControl::WndProc(msg);  // handlers, then the class's own painting
        return;
    }
    PaintScope ps(FHandle);
    PaintWindow(ps.get());
    PaintControls(ps.get());
    msg.Result = 0;
}

void TWinControl::PaintWindow(HDC dc) {
    // A wrapped system control paints itself into the DC we give it.
    if (FDefWndProc && FDefWndProc != DefWindowProcW) {
        TMessage m{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
        DefaultHandler(m);
    }
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto it = FControls.begin();
    if (first) it = std::find(FControls.begin(), FControls.end(), first);
    for (; it != FControls.end(); ++it) {
        TControl* c = *it;
        if (!IsGraphic(c) || !c->Visible()) continue;
        RECT r = c->BoundsRect();
        if (!RectVisible(dc, &r)) continue;
        SaveDCScope saved(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::UpdateBackgroundBrush() {
    if (FBackgroundBrush) return;
    FBackgroundBrush = CreateSolidBrush(ColorToRGB(Color()));
}

void TWinControl::WMEraseBkgnd(TMessage& msg) {
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    RECT r;
    GetClientRect(FHandle, &r);
    UpdateBackgroundBrush();
    FillRect(dc, &r, FBackgroundBrush);
    msg.Result = 1;
}

void TWinControl::ColorChanged() {
    if (FBackgroundBrush) {
        DeleteObject(FBackgroundBrush);
        FBackgroundBrush = nullptr;
    }
    // No invalidation here: both callers invalidate right after, and under
    // Wine each one is a server round trip.
    for (TControl* c : std::vector<TControl*>(FControls)) c->ParentColorChanged();
}

void TWinControl::FontChanged() {
    if (FHandle) {
        // A change of colour only keeps the font: handing a standard control
        // its own font again makes it measure and place itself anew (a combo
        // box resizes its list), which costs milliseconds per panel of
        // controls under Wine.
        const auto font = reinterpret_cast<WPARAM>(Font()->Handle());
        if (SendMessageW(FHandle, WM_GETFONT, 0, 0) != LRESULT(font)) SendMessageW(FHandle, WM_SETFONT, font, FALSE);
        InvalidateRect(FHandle, nullptr, TRUE);
    }
    for (TControl* c : std::vector<TControl*>(FControls)) c->ParentFontChanged();
}

void TWinControl::WMMouseForChildren(TMessage& msg, bool& done) {
    POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    TControl* target = FMouseCapture;
    if (!target) target = ControlAtPos(p);
    if (msg.Msg == WM_MOUSEMOVE) {
        SetMouseControl(target ? target : this);
        if (FHandle) {
            TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
            TrackMouseEvent(&t);
        }
    }
    if (!target) return;
    bool down = msg.Msg == WM_LBUTTONDOWN || msg.Msg == WM_RBUTTONDOWN || msg.Msg == WM_MBUTTONDOWN ||
                msg.Msg == WM_LBUTTONDBLCLK || msg.Msg == WM_RBUTTONDBLCLK || msg.Msg == WM_MBUTTONDBLCLK;
    bool up = msg.Msg == WM_LBUTTONUP || msg.Msg == WM_RBUTTONUP || msg.Msg == WM_MBUTTONUP;
    if (down && (target->ControlStyle() & csCaptureMouse) && FHandle) {
        FMouseCapture = target;
        SetCapture(FHandle);
    }
    LPARAM local = MAKELPARAM(WORD(SHORT(p.x - target->Left())), WORD(SHORT(p.y - target->Top())));
    msg.Result = target->Perform(msg.Msg, msg.WParam, local);
    if (up && FMouseCapture && !(msg.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        FMouseCapture = nullptr;
        if (GetCapture() == FHandle) ReleaseCapture();
    }
    done = true;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (!allowWinControls && !IsGraphic(c)) continue;
        if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
        RECT r = c->BoundsRect();
        if (PtInRect(&r, p)) return c;
    }
    return nullptr;
}

// ---- keys ----

bool TWinControl::DoKeyDown(TMessage& msg) {
    WORD key = WORD(msg.WParam);
    TShiftState shift = KeyboardShiftState();
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->OnKeyDown) {
        form->OnKeyDown(form, key, shift);
        if (key == 0) return false;
    }
    if (OnKeyDown) OnKeyDown(this, key, shift);
    msg.WParam = key;
    return key != 0;
}

bool TWinControl::DoKeyUp(TMessage& msg) {
    WORD key = WORD(msg.WParam);
    TShiftState shift = KeyboardShiftState();
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->OnKeyUp) {
        form->OnKeyUp(form, key, shift);
        if (key == 0) return false;
    }
    if (OnKeyUp) OnKeyUp(this, key, shift);
    msg.WParam = key;
    return key != 0;
}

bool TWinControl::DoKeyPress(TMessage& msg) {
    wchar_t ch = wchar_t(msg.WParam);
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && form->OnKeyPress) {
        form->OnKeyPress(form, ch);
        if (ch == 0) return false;
    }
    if (OnKeyPress) OnKeyPress(this, ch);
    msg.WParam = ch;
    return ch != 0;
}

// ---- text, bounds, state ----

std::wstring TWinControl::GetText() const {
    if (!FHandle) return FText;
    int n = GetWindowTextLengthW(FHandle);
    std::wstring s(size_t(n) + 1, L'\0');
    n = GetWindowTextW(FHandle, s.data(), n + 1);
    s.resize(size_t(std::max(n, 0)));
    return s;
}

void TWinControl::SetText(const std::wstring& text) {
    if (!FHandle) {
        TControl::SetText(text);
        return;
    }
    if (text == GetText()) return;
    FText = text;
    SetWindowTextW(FHandle, text.c_str());  // WM_SETTEXT does the rest
}

void TWinControl::Invalidate() {
    // A window that is not shown (its parent's redraw held, say) gathers no
    // update region: asking costs a server round trip for nothing.
    if (FHandle && IsWindowVisible(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!FHandle) {
        TControl::SetBounds(left, top, width, height);
        return;
    }
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // WM_WINDOWPOSCHANGED brought the new numbers in (WMSize).
}

void TWinControl::WMSize() {
    if (!FHandle) return;
    RECT r;
    GetWindowRect(FHandle, &r);
    if (HWND parent = GetParent(FHandle); parent && (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    int w = r.right - r.left, h = r.bottom - r.top;
    if (IsIconic(FHandle)) return;  // a minimised window keeps its restored bounds
    bool moved = r.left != FLeft || r.top != FTop;
    bool sized = w != FWidth || h != FHeight;
    if (!moved && !sized) return;
    FLeft = r.left;
    FTop = r.top;
    FWidth = w;
    FHeight = h;
    if (sized) {
        Realign();
        Resize();
    }
    RequestAlign();
}

RECT TWinControl::ClientRect() const {
    if (!FHandle) return TControl::ClientRect();
    RECT r;
    GetClientRect(FHandle, &r);
    return r;
}

POINT TWinControl::ClientOrigin() const {
    if (!FHandle) return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(FHandle, &p);
    return p;
}

bool TWinControl::Showing() const {
    if (FHandle) return IsWindowVisible(FHandle) != FALSE;
    return TControl::Showing();
}

void TWinControl::VisibleChanged() {
    TControl::VisibleChanged();
    if (FHandle) ShowWindow(FHandle, Visible() ? SW_SHOWNA : SW_HIDE);
}

void TWinControl::EnabledChanged() {
    if (FHandle) EnableWindow(FHandle, Enabled());
    TControl::EnabledChanged();
}

}  // namespace qs
