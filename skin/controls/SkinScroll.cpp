// TWScrollbar: the cover window over one native scroll bar.
#include "SkinScroll.h"

#include <windowsx.h>

#include <algorithm>

#include "EngineAccess.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinRoutines.h"

namespace qs {

namespace {
RECT toRect(const PixelRect& p) { return RECT{p.left, p.top, p.right, p.bottom}; }
}  // namespace

const TClassInfo& TWScrollbar::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TWScrollbar>("TWScrollbar", &TCustomPanel::StaticClassInfo()).build();
    return info;
}

TWScrollbar::TWScrollbar(TComponent* owner) : TCustomPanel(owner) {
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    SetTabStop(false);
    SetBevelOuter(bvNone);
    // Until the first UpdatePosition places it, the cover shows nowhere.
    SetVisible(false);
}

TWScrollbar::~TWScrollbar() {
    // Hidden before its window goes: destroying a shown window erases what
    // it uncovers at once (see HideBar).
    HideWithoutErasing();
}

void TWScrollbar::HideWithoutErasing() {
    HWND h = HandleIfAllocated();
    if (!h || !(GetWindowLongPtrW(h, GWL_STYLE) & WS_VISIBLE)) return;
    // What the cover uncovers is repainted with the next paint, erasing
    // included: hiding it through ShowWindow erased the parent there and
    // then, about 4 ms a cover under Wine for a parent of 200 controls.
    SetWindowPos(h, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_DEFERERASE);
}

void TWScrollbar::CreateWnd() {
    TCustomPanel::CreateWnd();
    MarkHelperWindow(HandleIfAllocated());
}

void TWScrollbar::CreateParams(TCreateParams& p) {
    TCustomPanel::CreateParams(p);
    p.ExStyle = WS_EX_TOOLWINDOW;
    p.Style &= ~DWORD(WS_TABSTOP);
    p.Caption.clear();
}

void TWScrollbar::Attach(TSkinControl* ownerSkin, HWND target, int mode) {
    FOwnerSkin = ownerSkin;
    FTargetHandle = target;
    FMode = uint8_t(mode);
    FVertical = mode == kVertical ? 1 : 0;
}

void TWScrollbar::AttachToControl(TSkinControl* ownerSkin, TWinControl* control, int mode) {
    if (!control) return;
    Attach(ownerSkin, control->Handle(), mode);
    FScrollBarControl = control;
    SetColor(ownerSkin ? ownerSkin->FaceColor() : clBtnFace);
    // Compared without case, as the names are in definitions.
    if (mode == kControl) {
        std::string kind = prop::GetEnumPropName(control, "Kind");
        for (auto& ch : kind) ch = char(tolower(static_cast<unsigned char>(ch)));
        FVertical = kind == "sbhorizontal" ? 0 : 1;
    }
    SetParentWindow(mode == kControl ? FTargetHandle : GetParent(FTargetHandle));
    UpdatePosition(FTargetHandle);
}

void TWScrollbar::AttachToHandle(TSkinControl* ownerSkin, HWND handle, int mode) {
    if (!handle) return;
    Attach(ownerSkin, handle, mode);
    SetColor(ownerSkin ? ownerSkin->FaceColor() : clBtnFace);
    // A pop-up (a combo's drop-down list) lies outside its owner: its covers
    // are top-level windows placed in screen coordinates.
    if (!IsPopupWindow(handle)) SetParentWindow(GetParent(FTargetHandle));
    UpdatePosition(FTargetHandle);
}

void TWScrollbar::AttachToBarWindow(TSkinControl* ownerSkin, HWND bar) {
    if (!bar) return;
    Attach(ownerSkin, bar, kControl);
    SetColor(ownerSkin ? ownerSkin->FaceColor() : clBtnFace);
    FVertical = (GetWindowLongPtrW(bar, GWL_STYLE) & SBS_VERT) ? 1 : 0;
    // Inside the bar, not beside it: the program's window keeps exactly its
    // own children (its dialog ids, its accessible objects).
    SetParentWindow(FTargetHandle);
    UpdatePosition(FTargetHandle);
}

bool TWScrollbar::ReadBar(TScrollBarState& out) const {
    if (!FTargetHandle || !IsWindow(FTargetHandle)) return false;
    if (FMode == kControl) {
        RECT wr{};
        if (!GetWindowRect(FTargetHandle, &wr)) return false;
        if (HWND parent = GetParent(FTargetHandle)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&wr), 2);
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        if (!GetScrollInfo(FTargetHandle, SB_CTL, &si)) return false;
        const int length = FVertical ? wr.bottom - wr.top : wr.right - wr.left;
        ScrollThumb t = controlThumbGeometry(length, FArrowSize, ScrollRange{si.nMin, si.nMax, int(si.nPage), si.nPos});
        out.bar = wr;
        out.thumbTop = t.start;
        out.thumbBottom = t.end;
        out.invisible = !(GetWindowLongPtrW(FTargetHandle, GWL_STYLE) & WS_VISIBLE);
        out.unavailable = !IsWindowEnabled(FTargetHandle) || si.nMax <= si.nMin;
        return true;
    }
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    if (!SafeGetScrollBarInfo(FTargetHandle, FMode == kVertical ? OBJID_VSCROLL : OBJID_HSCROLL, sbi)) return false;
    out.bar = sbi.rcScrollBar;
    out.thumbTop = sbi.xyThumbTop;
    out.thumbBottom = sbi.xyThumbBottom;
    out.invisible = (sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE) != 0;
    // A bar of a disabled window looks disabled, whatever its own flags say.
    out.unavailable = (sbi.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) != 0 || !IsWindowEnabled(FTargetHandle);
    return true;
}

void TWScrollbar::HideBar() {
    HideWithoutErasing();
    // The window is hidden already; this brings Visible in step.
    SetVisible(false);
    FShown = false;
}

void TWScrollbar::UpdatePosition(HWND target, bool repaintInPlace) {
    if (target) FTargetHandle = target;
    if (FMode != kControl && FTargetHandle && IsWindow(FTargetHandle)) {
        // A window's bar without its style bit is not there. Asking the
        // system would say so too, at the price of a server round trip (it
        // looks up the capture), for each bar of each list and memo attached.
        const LONG_PTR style = GetWindowLongPtrW(FTargetHandle, GWL_STYLE);
        if (!(style & WS_VISIBLE) || !(style & (FVertical ? WS_VSCROLL : WS_HSCROLL))) {
            HideBar();
            return;
        }
    }
    TScrollBarState st;
    FShown = ReadBar(st);
    if (!FShown) return;
    const bool targetVisible = (GetWindowLongPtrW(FTargetHandle, GWL_STYLE) & WS_VISIBLE) != 0;
    if (!targetVisible || st.invisible) {
        HideBar();
        return;
    }
    const int w = st.bar.right - st.bar.left, h = st.bar.bottom - st.bar.top;
    if (w <= 0 || h <= 0) {
        HideBar();
        return;
    }
    POINT topLeft{st.bar.left, st.bar.top};
    if (FMode != kControl) {
        FScreenPos = topLeft;
        POINT client = topLeft;
        ::ScreenToClient(FTargetHandle, &client);
        FBarRect = RECT{client.x, client.y, client.x + w, client.y + h};
        if (HWND parent = ParentWindow()) ::ScreenToClient(parent, &topLeft);
    } else {
        FBarRect = RECT{0, 0, w, h};
        POINT screen = topLeft;
        if (HWND parent = GetParent(FTargetHandle)) ::ClientToScreen(parent, &screen);
        FScreenPos = screen;
        // A scroll-bar control's cover is its child, over all of it.
        topLeft = POINT{0, 0};
    }
    FLength = FVertical ? h : w;
    // A cover that comes out of hiding is painted whole by its showing.
    const bool wasShown = Visible() && HandleAllocated();
    HWND self = Handle();
    FShown = true;
    // Directly above the target: after whatever lies just above it.
    HWND prev = FMode == kControl ? self : GetWindow(FTargetHandle, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW;
    HWND after = prev ? prev : HWND_TOP;
    if (prev == self) {
        flags |= SWP_NOZORDER;
        after = nullptr;
    } else if (!prev && (GetWindowLongPtrW(FTargetHandle, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        after = HWND_TOPMOST;  // HWND_TOP would leave a top-level cover under a topmost list
    }
    // One placement, and the cover's own repaint left to the next paint
    // cycle: moving it again with a repaint costs milliseconds per cover
    // under a parent with many children. Its erasing waits for that paint
    // too (it erases nothing, but asking costs four server round trips).
    SetWindowPos(self, after, topLeft.x, topLeft.y, w, h, flags | SWP_NOCOPYBITS | SWP_DEFERERASE);
    if (wasShown) {
        // The thumb may have moved in a bar that stayed where it was.
        if (repaintInPlace) InvalidateRect(self, nullptr, FALSE);
    } else {
        // Shown by SWP_SHOWWINDOW already: only Visible is brought in step.
        SyncVisible(true);
    }
}

TScrollPart TWScrollbar::HitTest(POINT p) const {
    const int c = FVertical ? p.y : p.x;
    return scrollHitTest(c, FArrowSize, FLength, ScrollThumb{FThumbStart, FThumbEnd});
}

void TWScrollbar::InvalidateBar() {
    if (HWND h = HandleIfAllocated()) InvalidateRect(h, nullptr, FALSE);
}

void TWScrollbar::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_GETOBJECT:
            if (AnswerAccessibleObject(FHandle, OBJID_CLIENT, ScrollCoverAccess(), msg)) return;
            break;
        case WM_MOUSEMOVE: {
            TCustomPanel::WndProc(msg);
            POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
            int part = HitTest(p);
            if (part != FHotPart) {
                FHotPart = part;
                InvalidateBar();
            }
            if (HWND h = HandleIfAllocated()) StartLeaveTracking(h);
            return;
        }
        case WM_MOUSELEAVE:
            TCustomPanel::WndProc(msg);
            if (!FPressed) {
                FHotPart = spNone;
                InvalidateBar();
            }
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            MouseDown(msg);
            return;
        case WM_LBUTTONUP:
            MouseUp(msg);
            return;
        case WM_ERASEBKGND:
            msg.Result = 1;
            return;
        case WM_MOUSEACTIVATE:
            // A top-level cover taking the activation would close a drop-down it covers.
            msg.Result = MA_NOACTIVATE;
            return;
        default:
            TCustomPanel::WndProc(msg);
            return;
    }
}

void TWScrollbar::MouseDown(TMessage& msg) {
    TMessage def{WM_LBUTTONDOWN, msg.WParam, msg.LParam, 0};
    TCustomPanel::WndProc(def);
    GetCursorPos(&FDownPos);
    TScrollBarState st;
    if (ReadBar(st)) FDownThumb = st.thumbTop;
    POINT client{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    FHotPart = HitTest(client);
    POINT forward = client;
    if (FMode != kControl) {
        forward.x += FScreenPos.x;
        forward.y += FScreenPos.y;
    }
    FPressed = true;
    InvalidateBar();
    ReleaseCapture();
    // The system's tracking loop runs inside this call until the button is
    // released. It dispatches timer messages: the manager may unskin the
    // control meanwhile and free this cover with its skin.
    HWND target = FTargetHandle;
    const LPARAM point = MAKELPARAM(WORD(SHORT(forward.x)), WORD(SHORT(forward.y)));
    const TLifeToken::Watch life = FLife.Watching();
    if (FMode == kControl)
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point);
    else
        SendMessageW(target, WM_NCLBUTTONDOWN, FMode == kVertical ? HTVSCROLL : HTHSCROLL, point);
    msg.Result = 0;
    if (!life.Alive()) return;
    FPressed = false;
    ReleaseCapture();
    InvalidateBar();
    msg.Result = 0;
}

void TWScrollbar::MouseUp(TMessage& msg) {
    TCustomPanel::WndProc(msg);
    POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    if (FMode != kControl) {
        p.x += FScreenPos.x;
        p.y += FScreenPos.y;
    }
    FPressed = false;
    ReleaseCapture();
    const LPARAM point = MAKELPARAM(WORD(SHORT(p.x)), WORD(SHORT(p.y)));
    if (FMode == kControl) {
        PostMessageW(FTargetHandle, WM_LBUTTONUP, MK_LBUTTON, point);
        InvalidateBar();
    } else {
        PostMessageW(FTargetHandle, WM_NCLBUTTONUP, FMode == kVertical ? HTVSCROLL : HTHSCROLL, point);
    }
    msg.Result = 0;
}

void TWScrollbar::Paint() { PaintTo(Canvas()->Handle()); }

void TWScrollbar::PaintTo(HDC target) {
    HWND self = HandleIfAllocated();
    if (!target || !self || !FOwnerSkin) return;
    TSkinData* sd = FOwnerSkin->FSkinData;
    TDataSkinObject* strip = sd ? sd->Scrollbar() : nullptr;
    if (!strip || strip->Bitmap.Empty()) return;
    TScrollBarState st;
    if (!ReadBar(st) || st.invisible) return;
    const bool enabled = !st.unavailable;
    const int w = st.bar.right - st.bar.left, h = st.bar.bottom - st.bar.top;
    RECT cr{};
    GetClientRect(self, &cr);
    if (w <= 0 || h <= 0 || w > cr.right || h > cr.bottom) return;
    const bool vertical = FVertical != 0;
    FLength = vertical ? h : w;

    ScrollThumb thumb{st.thumbTop, st.thumbBottom};
    if (FPressed && FHotPart == spThumb && FMode != kControl) {
        POINT c{};
        GetCursorPos(&c);
        const int travel = vertical ? c.y - FDownPos.y : c.x - FDownPos.x;
        thumb = trackThumb(FDownThumb, travel, FArrowSize, FLength, st.thumbBottom - st.thumbTop);
    }
    FThumbStart = thumb.start;
    FThumbEnd = thumb.end;

    ScrollPaintInput in;
    in.width = w;
    in.height = h;
    in.vertical = vertical;
    in.arrowSize = FArrowSize;
    in.stripHeight = strip->Bitmap.Height();
    in.enabled = enabled;
    in.pressed = FPressed;
    in.hotPart = FHotPart;
    in.thumb = thumb;
    const ScrollPaintLayout l = scrollPaintLayout(in);

    // The work bitmap covers the whole cover window: what the bar does not
    // take shows the face colour, not what was there before.
    TBitmap work(cr.right, cr.bottom);
    HDC dc = work.Canvas()->Handle();
    if (!dc) return;
    SetStretchBltMode(dc, COLORONCOLOR);
    FillColor(dc, cr, FOwnerSkin->FaceColor());

    TDataSkinObject* track = vertical ? sd->VertScroll() : sd->HorzScroll();
    if (track && !track->Bitmap.Empty() && !l.track.empty())
        DrawNineSlice(dc, toRect(l.track), track->Bitmap, false, track->Tile != 0, track->Trans != 0,
                      kScrollTrackFrames, l.trackFrame, track->Margins());
    if (track && !track->Bitmap.Empty() && l.drawPressedPage)
        DrawNineSlice(dc, toRect(l.pressedPage), track->Bitmap, false, track->Tile != 0, track->Trans != 0,
                      kScrollTrackFrames, l.pressedPageFrame, track->Margins());
    DrawKeyedFrame(FOwnerSkin, dc, toRect(l.firstArrow), kScrollStripFrames, l.firstFrame, strip->Bitmap);
    DrawKeyedFrame(FOwnerSkin, dc, toRect(l.secondArrow), kScrollStripFrames, l.secondFrame, strip->Bitmap);
    if (l.drawThumb) {
        TDataSkinObject* body = vertical ? sd->VertScrollThumb() : sd->HorzScrollThumb();
        if (body && !body->Bitmap.Empty())
            DrawNineSlice(dc, toRect(l.thumb), body->Bitmap, false, false, body->Trans != 0, body->Frame,
                          l.thumbFrame, body->Margins());
        if (l.drawGrip) DrawKeyedFrame(FOwnerSkin, dc, toRect(l.grip), kScrollStripFrames, l.gripFrame, strip->Bitmap);
    }
    BitBlt(target, 0, 0, cr.right, cr.bottom, dc, 0, 0, SRCCOPY);
}

RECT ScrollSizeBox(const RECT& v, const RECT& h, POINT o) {
    return RECT{v.left + o.x, h.top + o.y, v.right + o.x, h.bottom + o.y};
}

}  // namespace qs
