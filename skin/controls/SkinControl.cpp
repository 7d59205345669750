#include "SkinControl.h"

#include <algorithm>

#include "AttachRepaint.h"
#include "ContentColours.h"
#include "SkinRoutines.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "WindowTable.h"

namespace qs {

namespace {
// Window -> its skin, and the procedure the skin replaced, so the one static
// procedure below finds both. The second outlives the first: a skin that
// could not take itself out of the chain leaves the pass-through behind
// until the window goes.
TWindowTable& skinTable() {
    static TWindowTable table;
    return table;
}
TWindowTable& oldProcTable() {
    static TWindowTable table;
    return table;
}

// MouseDown is protected; a pointer to it taken through a derived class
// reaches it on any control.
struct MouseDownAccess : TControl {
    using TControl::MouseDown;
};

// The messages SkinWndProc is handling on this thread, innermost first, each
// marked once it has been passed on to the control: a skin that throws
// before passing a message on must not cost the control that message.
struct PassedOn {
    const TMessage* msg;
    bool passed;
    PassedOn* outer;
};
thread_local PassedOn* tHandling = nullptr;

LONG_PTR setWndProc(HWND wnd, bool unicode, LONG_PTR proc) {
    return unicode ? SetWindowLongPtrW(wnd, GWLP_WNDPROC, proc) : SetWindowLongPtrA(wnd, GWLP_WNDPROC, proc);
}
}  // namespace

const TClassInfo& TSkinControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinControl>("TSkinControl", &TComponent::StaticClassInfo()).build();
    return info;
}

TSkinControl::TSkinControl(TComponent* owner) : TComponent(owner) { InstallControlSkinRelease(); }

TSkinControl::~TSkinControl() {
    // A control that is itself being freed has nothing left to give back to.
    const bool controlGone = !FControl || FControl->IsDestroying();
    if (FOldWindowProc) {
        TControl* hooked = FGraphicControl ? FGraphicControl : FControl;
        if (hooked && !controlGone) hooked->SetWindowProc(FOldWindowProc);
        FOldWindowProc = nullptr;
    }
    if (FObjectInstance) Unsubclass();
    if (FSkinForm) RemoveControlSkin(FSkinForm, this);
    FSkinForm = nullptr;
}

void TSkinControl::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
}

// ---- attaching ------------------------------------------------------------------

void TSkinControl::AddToSkinForm() {
    if (FSkinForm) AddControlSkin(FSkinForm, this);
}

void TSkinControl::HookControl(TControl* control) {
    FOldWindowProc = control->WindowProc();
    control->SetWindowProc([this](TMessage& m) { SkinWndProc(m); });
}

void TSkinControl::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    if (FAttached) return;
    FChangeColor = changeColor;
    FSkinData = skinData;
    FSkinForm = skinForm;
    FCanvas = canvas;
    FControl = dynamic_cast<TControl*>(Owner());
    auto* win = dynamic_cast<TWinControl*>(FControl);
    if (!win) return;
    FHandle = win->Handle();
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    HookControl(win);
    AddToSkinForm();
    if (FChangeColor) {
        FOldColor = win->Color();
        win->SetColor(FaceColor());
    }
    if (!TAttachRepaintDeferral::Active()) win->Invalidate();
    FAttached = true;
    FState = scsAttached;
}

void TSkinControl::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached || !handle) return;
    FSkinData = skinData;
    FCanvas = canvas;
    FSkinForm = skinForm;
    FHandle = handle;
    FEnabled = true;
    FKind = 0;
    AddToSkinForm();
    FUnicode = IsWindowUnicode(handle) != FALSE;
    FCaption = GetWindowTextWide(handle);
    Subclass(handle);
    if (!TAttachRepaintDeferral::Active()) InvalidateRect(handle, nullptr, TRUE);
    FAttached = true;
    FState = scsAttached;
}

void TSkinControl::AttachScrollbar(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (control && control != Owner()) control->InsertComponent(this);
    Attach(skinForm, skinData, false, canvas);
}

void TSkinControl::AttachGraphic(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached || !control) return;
    FSkinData = skinData;
    FSkinForm = skinForm;
    FCanvas = canvas;
    FControl = control;
    FGraphicControl = control;
    FEnabled = control->Enabled();
    if (TWinControl* p = control->Parent()) FHandle = p->HandleIfAllocated();
    HookControl(control);
    AddToSkinForm();
    if (!TAttachRepaintDeferral::Active()) control->Invalidate();
    FAttached = true;
    FState = scsAttached;
}

void TSkinControl::Subclass(HWND handle) {
    skinTable().Set(handle, this);
    const LONG_PTR current =
        FUnicode ? GetWindowLongPtrW(handle, GWLP_WNDPROC) : GetWindowLongPtrA(handle, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(&SkinControlProc)) {
        // An earlier skin's pass-through is still first in the chain: take
        // its place. Installing again would record ourselves as the procedure
        // to call next, and every message would recurse until the stack ran out.
        FOldWndProc = reinterpret_cast<WNDPROC>(oldProcTable().Get(handle));
    } else {
        const LONG_PTR old = setWndProc(handle, FUnicode, reinterpret_cast<LONG_PTR>(&SkinControlProc));
        FOldWndProc = reinterpret_cast<WNDPROC>(old);
        oldProcTable().Set(handle, reinterpret_cast<void*>(old));
    }
    FObjectInstance = reinterpret_cast<void*>(&SkinControlProc);
}

void TSkinControl::Unsubclass() {
    FObjectInstance = nullptr;
    if (!FHandle || !IsWindow(FHandle)) return;
    const LONG_PTR current = FUnicode ? GetWindowLongPtrW(FHandle, GWLP_WNDPROC) : GetWindowLongPtrA(FHandle, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(&SkinControlProc)) {
        setWndProc(FHandle, FUnicode, reinterpret_cast<LONG_PTR>(FOldWndProc));
        skinTable().Remove(FHandle);
        oldProcTable().Remove(FHandle);
    } else {
        // Someone subclassed the window after us: cutting ourselves out would
        // cut them out too. Stay in the chain as a plain pass-through.
        if (FromHandle(FHandle) == this) skinTable().Remove(FHandle);
    }
}

TSkinControl* TSkinControl::FromHandle(HWND handle) {
    return static_cast<TSkinControl*>(skinTable().Get(handle));
}

LRESULT CALLBACK TSkinControl::SkinControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TSkinControl* skin = FromHandle(wnd);
    if (!skin) {
        auto old = reinterpret_cast<WNDPROC>(oldProcTable().Get(wnd));
        const bool unicode = IsWindowUnicode(wnd) != FALSE;
        if (msg == WM_NCDESTROY) {
            skinTable().Remove(wnd);
            oldProcTable().Remove(wnd);
        }
        if (!old) return unicode ? DefWindowProcW(wnd, msg, wParam, lParam) : DefWindowProcA(wnd, msg, wParam, lParam);
        return unicode ? CallWindowProcW(old, wnd, msg, wParam, lParam) : CallWindowProcA(old, wnd, msg, wParam, lParam);
    }
    TMessage m{msg, wParam, lParam, 0};
    skin->SkinWndProc(m);
    if (msg == WM_NCDESTROY && FromHandle(wnd) == skin) {
        // The handle may be reused for another window: nothing may be put
        // back on it later.
        skinTable().Remove(wnd);
        oldProcTable().Remove(wnd);
        skin->FObjectInstance = nullptr;
    }
    return m.Result;
}

// ---- message flow -----------------------------------------------------------------

void TSkinControl::SkinWndProc(TMessage& msg) {
    PassedOn frame{&msg, false, tHandling};
    tHandling = &frame;
    struct Pop {
        PassedOn* outer;
        ~Pop() { tHandling = outer; }
    } pop{frame.outer};
    // The control's own handling may run a loop that dispatches messages
    // (a click that opens a dialog, a drag, a menu); whatever runs there
    // may free this skin (a deactivation from the manager's timer).
    const TLifeToken::Watch life = FLife.Watching();
    try {
        if (msg.Msg == WM_SKIN_CONTROL_SWITCH) {
            frame.passed = true;  // ours alone: the control never has it
            Switch(LONG_PTR(msg.WParam) > 0);
            return;
        }
        if (!FActive) {
            CallDefault(msg);
            // Switched off or not, a skin must know that its window is gone.
            if (msg.Msg == WM_NCDESTROY && life.Alive()) {
                FState = scsDestroyed;
                Restore();
            }
            return;
        }
        // A parent answers for its content children before any skin of its
        // own could paint the request over with its face colours.
        if (IsContentColourRequest(msg.Msg, msg.LParam)) {
            CallDefault(msg);
            if (life.Alive()) AnswerContentColour(msg.Msg, msg.WParam, msg.LParam, msg.Result);
            return;
        }
        if (IsContentNotify(msg.Msg, msg.LParam)) {
            if (!ContentNotifyBefore(msg.LParam, msg.Result)) {
                CallDefault(msg);
                if (life.Alive()) ContentNotifyAfter(msg.LParam, msg.Result);
            }
            return;
        }
        if (BeforeMessage(msg)) {
            CallDefault(msg);
            if (life.Alive()) AfterMessage(msg);
        }
    } catch (...) {
        // A failing paint must never break the control's message flow, nor a
        // handler that failed before the control had the message.
        if (!frame.passed && life.Alive()) {
            try {
                CallDefault(msg);
            } catch (...) {
            }
        }
    }
}

void TSkinControl::CallDefault(TMessage& msg) {
    for (PassedOn* f = tHandling; f; f = f->outer)
        if (f->msg == &msg) {
            f->passed = true;
            break;
        }
    if (FOldWindowProc) {
        // A copy: this skin (and the handler it holds) may be freed while
        // the handler runs.
        const TWndMethod previous = FOldWindowProc;
        previous(msg);
        return;
    }
    if (!FOldWndProc) {
        msg.Result = FHandle ? (FUnicode ? DefWindowProcW(FHandle, msg.Msg, msg.WParam, msg.LParam)
                                         : DefWindowProcA(FHandle, msg.Msg, msg.WParam, msg.LParam))
                             : 0;
        return;
    }
    // The same character set the procedure was installed with.
    msg.Result = FUnicode ? CallWindowProcW(FOldWndProc, FHandle, msg.Msg, msg.WParam, msg.LParam)
                          : CallWindowProcA(FOldWndProc, FHandle, msg.Msg, msg.WParam, msg.LParam);
}

bool TSkinControl::CallDefaultAlive(TMessage& msg) {
    const TLifeToken::Watch life = FLife.Watching();
    CallDefault(msg);
    return life.Alive();
}

bool TSkinControl::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_NCDESTROY:
            CallDefault(msg);
            FActive = false;
            FState = scsDestroyed;
            Restore();
            return false;
        case WM_SKIN_QUERY:
            msg.Result = 1;
            return false;
        default:
            return true;
    }
}

void TSkinControl::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SETTEXT:
        case CM_ENABLEDCHANGED:
            Repaint();
            break;
        case WM_PAINT:
            PaintWindow(reinterpret_cast<HDC>(msg.WParam));
            break;
        case CM_RECREATEWND:
            // The window this skin sits on is about to go and a new one to
            // come: the form skin skins the new one once it is there.
            if (FControl && !FGraphicControl && FSkinForm && FSkinForm->FHandle)
                PostMessageW(FSkinForm->FHandle, WM_SKIN_REBUILD_SCROLL, reinterpret_cast<WPARAM>(FHandle), 0);
            break;
        default:
            break;
    }
}

void TSkinControl::PaintWindow(HDC dc) {
    try {
        if (FState == scsDestroyed || !FHandle) return;
        RECT wr{};
        if (!GetWindowRect(FHandle, &wr)) return;
        FWindowRect = wr;
        const RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
        if (dc) {
            Paint(dc, r);
            return;
        }
        WindowDCScope wdc(FHandle);
        if (wdc) Paint(wdc.get(), r);
    } catch (...) {
    }
}

void TSkinControl::Paint(HDC, const RECT&) {}

void TSkinControl::Repaint() {
    if (FGraphicControl) {
        FGraphicControl->Invalidate();
        return;
    }
    if (!FHandle) return;
    InvalidateRect(FHandle, nullptr, TRUE);
    UpdateWindow(FHandle);
}

void TSkinControl::Restore() {
    if (FChangeColor && FControl && !FControl->IsDestroying()) FControl->SetColor(FOldColor);
}

void TSkinControl::Switch(bool on) {
    const bool changed = on != FActive;
    FActive = on;
    FSwitchedOff = !on;
    if (changed && FState == scsAttached) ActiveChanged();
    if (FActive) Repaint();
}

void TSkinControl::ActiveChanged() {
    // Switched off, the control has its own colour back; switched on, the
    // skin's face as it is now (the skin may have changed meanwhile).
    if (!FChangeColor || !FControl || FControl->IsDestroying()) return;
    FControl->SetColor(FActive ? FaceColor() : FOldColor);
}

void TSkinControl::SkinChanged() {
    if (FChangeColor && FControl && !FControl->IsDestroying()) FControl->SetColor(FaceColor());
    if (!RepaintFollowsChange()) Repaint();
}

bool TSkinControl::RepaintFollowsChange() const {
    if (!FSkinForm || FSkinForm->FSkinState != ssReapplying || !FHandle || !FSkinForm->FHandle) return false;
    // The form's repaint reaches only the windows inside it (not a pop-up
    // list, for one). Parents of our own windows are known in-process.
    int depth = 0;
    for (HWND w = FHandle; w && depth < 64; w = GetAncestor(w, GA_PARENT), ++depth)
        if (w == FSkinForm->FHandle) return true;
    return false;
}

// ---- helpers ------------------------------------------------------------------------

TColor TSkinControl::FaceColor() const { return FSkinData ? TColor(FSkinData->ButtonFace) : clBtnFace; }

TColor TSkinControl::ParentColor(TColor def) const {
    const TControl* c = FGraphicControl ? FGraphicControl : FControl;
    if (!c || !c->Parent()) return def;
    const TPropInfo* p = FindPropInfo(c->Parent(), "Color");
    if (!p || (p->kind != TPropKind::Colour && p->kind != TPropKind::Integer)) return def;
    return TColor(GetIntProp(c->Parent(), "Color", def));
}

void TSkinControl::FillSkinColor(HDC dc, const RECT& r) const { FillColor(dc, r, FaceColor()); }

void TSkinControl::FillParentColor(HDC dc, const RECT& r) const { FillColor(dc, r, ParentColor(FaceColor())); }

void TSkinControl::DrawFocusText(HDC dc, UINT flags, const RECT& r) const {
    RECT t = r;
    DrawTextW(dc, FCaption.c_str(), int(FCaption.size()), &t, flags | DT_CALCRECT | DT_NOCLIP);
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    const int tw = t.right - t.left, th = t.bottom - t.top;
    if (flags & DT_CENTER)
        OffsetRect(&t, (rw - tw) / 2, (rh - th) / 2 - 1);
    else if (flags & DT_RIGHT)
        OffsetRect(&t, rw - tw, 0);
    InflateRect(&t, 2, 1);
    t.top = std::max(t.top, r.top);
    t.bottom = std::min(t.bottom, r.bottom);
    t.right = std::min(t.right, r.right);
    t.left = std::max(t.left, r.left);
    DrawFocusRect(dc, &t);
}

void TSkinControl::ForwardMouseDown(const TMessage& msg) {
    TControl* c = FGraphicControl ? FGraphicControl : FControl;
    if (!c) return;
    POINT p{short(LOWORD(msg.LParam)), short(HIWORD(msg.LParam))};
    // 16-bit message coordinates cannot hold positions in a control this large.
    if (c->Width() > 32768 || c->Height() > 32768) {
        GetCursorPos(&p);
        p = c->ScreenToClient(p);
    }
    auto down = &MouseDownAccess::MouseDown;
    (c->*down)(mbLeft, MouseShiftState(msg.WParam), int(p.x), int(p.y));
}

LONG_PTR TSkinControl::GetLong(HWND handle, int index) const {
    return FUnicode ? GetWindowLongPtrW(handle, index) : GetWindowLongPtrA(handle, index);
}

void TSkinControl::PaintMessage(TMessage& msg) {
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    PAINTSTRUCT ps{};
    const bool began = dc == nullptr;
    if (began) dc = BeginPaint(FHandle, &ps);
    try {
        RECT wr{};
        if (dc && GetWindowRect(FHandle, &wr)) {
            FWindowRect = wr;
            Paint(dc, RECT{0, 0, wr.right - wr.left, wr.bottom - wr.top});
        }
    } catch (...) {
        if (began) EndPaint(FHandle, &ps);
        throw;
    }
    if (began) EndPaint(FHandle, &ps);
    msg.Result = 0;
}

void TSkinControl::EraseMessage(TMessage& msg) {
    HDC dc = reinterpret_cast<HDC>(msg.WParam);
    if (dc) {
        if (FControl && !FGraphicControl) {
            PaintParentBackground(FControl, dc);
        } else {
            RECT r{};
            GetClientRect(FHandle, &r);
            FillParentColor(dc, r);
        }
    }
    msg.Result = 1;
}

}  // namespace qs
