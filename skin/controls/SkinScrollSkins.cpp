// The control skins that own scroll-bar covers: window scroll bars of toolkit
// controls and of bare windows, and scroll-bar controls.
#include <algorithm>
#include <cctype>

#include "AttachRepaint.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"

namespace qs {

namespace {
std::string lower(std::string s) {
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

void invalidate(const std::unique_ptr<TWScrollbar>& bar) {
    if (!bar) return;
    if (HWND h = bar->HandleIfAllocated()) InvalidateRect(h, nullptr, FALSE);
}

void setHot(const std::unique_ptr<TWScrollbar>& bar, WPARAM wParam) {
    if (!bar) return;
    int code = LOWORD(wParam);
    // The end of a scroll clears every highlight.
    bar->FHotPart = code == SB_ENDSCROLL ? spNone : code;
    invalidate(bar);
}

// Where the client area starts inside the window.
POINT clientOrigin(HWND wnd) {
    RECT wr{};
    GetWindowRect(wnd, &wr);
    POINT o{0, 0};
    ClientToScreen(wnd, &o);
    return POINT{o.x - wr.left, o.y - wr.top};
}

void fillSizeBox(const TSkinControl* skin, HDC dc, const std::unique_ptr<TWScrollbar>& vert,
                 const std::unique_ptr<TWScrollbar>& horz) {
    if (!dc || !vert || !horz || !vert->FShown || !horz->FShown) return;
    RECT box = ScrollSizeBox(vert->FBarRect, horz->FBarRect, clientOrigin(skin->FHandle));
    FillColor(dc, box, skin->FaceColor());
}

// A bar that clips its siblings cannot draw over the cover lying above it:
// its own paint leaves the cover as it was, and what changes the bar's look
// reaches its skin as messages of their own. Repainting the cover after
// every paint of such a bar painted each cover twice in a full repaint of
// its form (the cover comes first in the z-order).
bool barDrawsOverCover(HWND bar) { return bar && !(GetWindowLongPtrW(bar, GWL_STYLE) & WS_CLIPSIBLINGS); }

void redrawFrame(HWND wnd) {
    if (wnd && IsWindow(wnd)) RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
}
}  // namespace

// ---- TSkinScrollbar ----

const TClassInfo& TSkinScrollbar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinScrollbar>("TSkinScrollbar", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinScrollbar::TSkinScrollbar(TComponent* owner) : TSkinControl(owner) {}
TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool, TCanvas* canvas) {
    AttachScrollbar(dynamic_cast<TControl*>(Owner()), skinData, skinForm, canvas);
}

void TSkinScrollbar::AttachScrollbar(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached) return;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) return;
    FSkinData = skinData;
    FSkinForm = skinForm;
    FCanvas = canvas;
    FControl = control;
    FHandle = win->Handle();
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    FEnabled = control->Enabled();
    AddToSkinForm();

    FDrawBorder = lower(prop::GetEnumPropName(control, "BorderStyle")) != "bsnone";
    if (control->ClassName() == "TImageScrollBox" || FKind == 1) FDrawBorder = false;

    if (const TPropInfo* p = FindPropInfo(control, "FixedColor");
        p && (p->kind == TPropKind::Colour || p->kind == TPropKind::Integer)) {
        FOldColor = TColor(GetIntProp(control, "FixedColor"));
        FChangeColor = true;
        SetPropValue(control, "FixedColor", TPropValue(int64_t(FaceColor())));
    }

    FHorzBar = std::make_unique<TWScrollbar>(nullptr);
    FVertBar = std::make_unique<TWScrollbar>(nullptr);
    FHorzBar->AttachToControl(this, win, TWScrollbar::kHorizontal);
    FVertBar->AttachToControl(this, win, TWScrollbar::kVertical);
    for (auto* bar : {FHorzBar.get(), FVertBar.get()}) {
        bar->SetEnabled(control->Enabled());
        if (!control->Visible()) bar->HideBar();
    }
    HookControl(control);
    FAttached = true;
    FState = scsAttached;
    if (!TAttachRepaintDeferral::Active()) redrawFrame(FHandle);
}

void TSkinScrollbar::UpdateBars() {
    if (FHorzBar) FHorzBar->UpdatePosition(FHandle);
    if (FVertBar) FVertBar->UpdatePosition(FHandle);
}

void TSkinScrollbar::DrawBorder(HDC dc) {
    if (!dc || !FHandle) return;
    RECT wr{}, cr{};
    GetWindowRect(FHandle, &wr);
    GetClientRect(FHandle, &cr);
    RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    // Without a frame the border would be drawn over the content.
    POINT o = clientOrigin(FHandle);
    if (o.x <= 0 || o.y <= 0) return;
    UniqueBrush shadow(CreateSolidBrush(ColorToRGB(TColor(FSkinData ? FSkinData->ButtonShadow : int32_t(clBtnShadow)))));
    UniqueBrush face(CreateSolidBrush(ColorToRGB(FaceColor())));
    FrameRect(dc, &r, shadow.get());
    InflateRect(&r, -1, -1);
    FrameRect(dc, &r, face.get());
}

bool TSkinScrollbar::BeforeMessage(TMessage& msg) {
    if (msg.Msg == WM_NCPAINT && FDrawBorder) {
        if (!CallDefaultAlive(msg)) return false;
        WindowDCScope dc(FHandle);
        if (dc) DrawBorder(dc.get());
        return false;
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinScrollbar::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED:
            UpdateBars();
            break;
        case WM_HSCROLL:
            setHot(FHorzBar, msg.WParam);
            break;
        case WM_VSCROLL:
            setHot(FVertBar, msg.WParam);
            break;
        case WM_MOUSEWHEEL:
            if (FHorzBar && FHorzBar->FShown) invalidate(FHorzBar);
            if (FVertBar && FVertBar->FShown) invalidate(FVertBar);
            break;
        case CM_VISIBLECHANGED:
            if (msg.WParam) {
                UpdateBars();
            } else {
                if (FHorzBar) FHorzBar->HideBar();
                if (FVertBar) FVertBar->HideBar();
            }
            break;
        case CM_ENABLEDCHANGED:
            for (auto* bar : {FHorzBar.get(), FVertBar.get()})
                if (bar && FControl) {
                    bar->SetEnabled(FControl->Enabled());
                    if (HWND h = bar->HandleIfAllocated()) InvalidateRect(h, nullptr, FALSE);
                }
            TSkinControl::AfterMessage(msg);
            break;
        case CM_RECREATEWND:
            if (FSkinForm && FSkinForm->FHandle)
                PostMessageW(FSkinForm->FHandle, WM_SKIN_REBUILD_SCROLL, reinterpret_cast<WPARAM>(FHandle), 0);
            break;
        case WM_SKIN_PAINT_FRAME_DC:
            if (msg.LParam == kSkinPaintTag) {
                if (msg.WParam) DrawBorder(reinterpret_cast<HDC>(msg.WParam));
                msg.Result = kSkinPaintTag;
            }
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinScrollbar::Paint(HDC dc, const RECT&) {
    const LONG_PTR style = FHandle ? GetWindowLongPtrW(FHandle, GWL_STYLE) : 0;
    auto refresh = [&](const std::unique_ptr<TWScrollbar>& bar, LONG_PTR bit) {
        if (!bar) return;
        if (bar->FShown && (style & bit))
            invalidate(bar);
        else if ((style & bit) || bar->FShown)  // appeared, or gone since it was placed
            bar->UpdatePosition(FHandle);
    };
    refresh(FVertBar, WS_VSCROLL);
    refresh(FHorzBar, WS_HSCROLL);
    fillSizeBox(this, dc, FVertBar, FHorzBar);
}

void TSkinScrollbar::SkinChanged() {
    if (FControl && FindPropInfo(FControl, "FixedColor")) {
        SetPropValue(FControl, "FixedColor", TPropValue(int64_t(FaceColor())));
        FChangeColor = true;
    }
    invalidate(FHorzBar);
    invalidate(FVertBar);
    if (RepaintFollowsChange()) return;
    redrawFrame(FHandle);
    Repaint();
}

void TSkinScrollbar::ActiveChanged() {
    if (FActive) {
        UpdateBars();
    } else {
        if (FHorzBar) FHorzBar->HideBar();
        if (FVertBar) FVertBar->HideBar();
    }
    // The border is the skin's only while it is on.
    redrawFrame(FHandle);
}

void TSkinScrollbar::Restore() {
    // FChangeColor here stands for FixedColor, not the control's Color.
    if (FChangeColor) {
        if (FControl && !FControl->IsDestroying()) SetPropValue(FControl, "FixedColor", TPropValue(int64_t(FOldColor)));
        FChangeColor = false;
    }
    TSkinControl::Restore();
    if (FState != scsDestroyed) {
        FHorzBar.reset();
        FVertBar.reset();
        redrawFrame(FHandle);
    } else {
        // The control is gone; its covers must not stay on screen until we are freed.
        if (FHorzBar) FHorzBar->HideBar();
        if (FVertBar) FVertBar->HideBar();
    }
}

// ---- TSkinScrollbarH ----

const TClassInfo& TSkinScrollbarH::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinScrollbarH>("TSkinScrollbarH", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinScrollbarH::TSkinScrollbarH(TComponent* owner) : TSkinControl(owner) {}
TSkinScrollbarH::~TSkinScrollbarH() = default;

void TSkinScrollbarH::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached || !handle) return;
    FControl = nullptr;
    FSkinData = skinData;
    FHorzBar = std::make_unique<TWScrollbar>(nullptr);
    FVertBar = std::make_unique<TWScrollbar>(nullptr);
    FHorzBar->AttachToHandle(this, handle, TWScrollbar::kHorizontal);
    FVertBar->AttachToHandle(this, handle, TWScrollbar::kVertical);
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
}

void TSkinScrollbarH::UpdateBars() {
    if (FHorzBar) FHorzBar->UpdatePosition(FHandle);
    if (FVertBar) FVertBar->UpdatePosition(FHandle);
}

void TSkinScrollbarH::AfterMessage(TMessage& msg) {
    if (FHandle && !IsWindowVisible(FHandle)) {
        if (FVertBar && FVertBar->FShown) FVertBar->HideBar();
        if (FHorzBar && FHorzBar->FShown) FHorzBar->HideBar();
    }
    switch (msg.Msg) {
        case WM_SIZE:
        case WM_NCPAINT:
        case WM_SHOWWINDOW:
        case WM_WINDOWPOSCHANGED:
            UpdateBars();
            if (msg.Msg != WM_WINDOWPOSCHANGED && msg.Msg != WM_SHOWWINDOW) Repaint();
            break;
        case WM_HSCROLL:
            setHot(FHorzBar, msg.WParam);
            break;
        case WM_VSCROLL:
            setHot(FVertBar, msg.WParam);
            break;
        case WM_MOUSEWHEEL:
            invalidate(FHorzBar);
            invalidate(FVertBar);
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinScrollbarH::Paint(HDC dc, const RECT&) {
    for (auto* bar : {&FHorzBar, &FVertBar})
        if (*bar && (*bar)->FShown) invalidate(*bar);
    fillSizeBox(this, dc, FVertBar, FHorzBar);
}

void TSkinScrollbarH::ActiveChanged() {
    if (FActive) {
        UpdateBars();
    } else {
        if (FHorzBar) FHorzBar->HideBar();
        if (FVertBar) FVertBar->HideBar();
    }
}

void TSkinScrollbarH::Restore() {
    TSkinControl::Restore();
    if (FState != scsDestroyed) {
        FHorzBar.reset();
        FVertBar.reset();
    } else {
        if (FHorzBar) FHorzBar->HideBar();
        if (FVertBar) FVertBar->HideBar();
    }
}

// ---- TSkinScControl ----

const TClassInfo& TSkinScControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinScControl>("TSkinScControl", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinScControl::TSkinScControl(TComponent* owner) : TSkinControl(owner) {}
TSkinScControl::~TSkinScControl() = default;

void TSkinScControl::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool, TCanvas* canvas) {
    AttachScrollBarControl(dynamic_cast<TControl*>(Owner()), skinData, skinForm, canvas);
}

void TSkinScControl::AttachScrollBarControl(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm,
                                            TCanvas* canvas) {
    if (FAttached) return;
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!win) return;
    FSkinData = skinData;
    FSkinForm = skinForm;
    FCanvas = canvas;
    FControl = control;
    FHandle = win->Handle();
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    FEnabled = control->Enabled();
    AddToSkinForm();
    FBar = std::make_unique<TWScrollbar>(nullptr);
    FBar->SetShowHint(control->ShowHint());
    FBar->SetHint(control->Hint());
    FBar->AttachToControl(this, win, TWScrollbar::kControl);
    if (!control->Visible()) FBar->HideBar();
    HookControl(control);
    FAttached = true;
    FState = scsAttached;
}

void TSkinScControl::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached || !handle) return;
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
    if (!FAttached) return;
    FEnabled = IsWindowEnabled(handle) != FALSE;
    FBar = std::make_unique<TWScrollbar>(nullptr);
    FBar->AttachToBarWindow(this, handle);
}

bool TSkinScControl::BeforeMessage(TMessage& msg) {
    if (!TSkinControl::BeforeMessage(msg)) return false;
    // A shown cover hides the whole control, so the system's own drawing of
    // the bar underneath is never seen; under Wine it costs some 80 server
    // requests a paint. The update is validated; the cover repaints when
    // the bar may have drawn over it.
    if (msg.Msg == WM_PAINT && !msg.WParam && FBar && FBar->FShown && FHandle) {
        PAINTSTRUCT ps{};
        if (BeginPaint(FHandle, &ps)) EndPaint(FHandle, &ps);
        if (barDrawsOverCover(FHandle)) invalidate(FBar);
        msg.Result = 0;
        return false;
    }
    return true;
}

void TSkinScControl::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_WINDOWPOSCHANGED:
            if (FBar) FBar->UpdatePosition(FHandle);
            break;
        case WM_NCPAINT:
            if (auto* win = dynamic_cast<TWinControl*>(FControl)) FHandle = win->HandleIfAllocated();
            if (FBar) FBar->UpdatePosition(FHandle, barDrawsOverCover(FHandle));
            break;
        case SBM_SETSCROLLINFO:
        case SBM_SETPOS:
        case SBM_SETRANGE:
        case CN_HSCROLL:
        case CN_VSCROLL:
            invalidate(FBar);
            break;
        case CM_VISIBLECHANGED:
            if (!FBar) break;
            if (msg.WParam)
                FBar->UpdatePosition(FHandle);
            else
                FBar->HideBar();
            break;
        case CM_ENABLEDCHANGED:
        case WM_ENABLE:
            invalidate(FBar);
            TSkinControl::AfterMessage(msg);
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinScControl::Paint(HDC, const RECT&) { invalidate(FBar); }

void TSkinScControl::ActiveChanged() {
    if (!FBar) return;
    if (FActive)
        FBar->UpdatePosition(FHandle);
    else
        FBar->HideBar();
}

void TSkinScControl::Restore() {
    TSkinControl::Restore();
    if (FState != scsDestroyed)
        FBar.reset();
    else if (FBar)
        FBar->HideBar();
}

}  // namespace qs
