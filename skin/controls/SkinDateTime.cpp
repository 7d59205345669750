#include "SkinDateTime.h"

#include <commctrl.h>
#include <windowsx.h>

#include "EngineAccess.h"
#include "SkinData.h"
#include "SkinEditGeometry.h"
#include "SkinRoutines.h"

namespace qs {

// ---- TArrowButton ----

const TClassInfo& TArrowButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TArrowButton>("TArrowButton", &TCustomControl::StaticClassInfo()).build();
    return info;
}

TArrowButton::TArrowButton(TComponent* owner) : TCustomControl(owner) {
    FButtonSize = GetSystemMetrics(SM_CXHSCROLL);
    SetTabStop(false);
    SetControlStyle(ControlStyle() | csOpaque);
}

void TArrowButton::CreateWnd() {
    TCustomControl::CreateWnd();
    MarkHelperWindow(HandleIfAllocated());
}

void TArrowButton::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style &= ~DWORD(WS_TABSTOP);
    p.Caption.clear();
}

namespace {
int widthOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return r.right - r.left;
}
}  // namespace

void TArrowButton::AttachToPicker(TSkinDateTime* skin, HWND pickerHandle, TWinControl* picker) {
    if (!pickerHandle) return;
    FDateTimeSkin = skin;
    FPicker = picker;
    FPickerHandle = pickerHandle;
    const bool left = (GetWindowLongPtrW(FPickerHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    PixelRect r = pickerArrowButton(widthOf(FPickerHandle), FButtonSize, left);
    SetBounds(r.left, r.top, r.width(), r.height());
    SetParentWindow(FPickerHandle);
    // The picker must not paint over the button.
    LONG_PTR style = GetWindowLongPtrW(FPickerHandle, GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN)) SetWindowLongPtrW(FPickerHandle, GWL_STYLE, style | WS_CLIPCHILDREN);
    HandleNeeded();
}

void TArrowButton::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_GETOBJECT:
            if (AnswerAccessibleObject(FHandle, OBJID_CLIENT, PickerArrowAccess(), msg)) return;
            break;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            TCustomControl::WndProc(msg);
            if (FPickerHandle && IsWindowEnabled(FPickerHandle)) {
                if (msg.Msg == CM_MOUSEENTER)
                    FHot |= 1;
                else
                    FHot &= uint8_t(~1u);
                Invalidate();
            }
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            TCustomControl::WndProc(msg);
            if (!FPickerHandle) return;
            // Our button in the picker's client coordinates.
            POINT p{GET_X_LPARAM(msg.LParam) + Left(), GET_Y_LPARAM(msg.LParam) + Top()};
            RECT client{};
            GetClientRect(FPickerHandle, &client);
            // The picker opens its calendar for a click on its own button, which
            // may lie elsewhere (a left-scroll-bar picker that keeps it at the
            // right): aim at the picker's button then.
            RECT native{client.right - GetSystemMetrics(SM_CXVSCROLL), client.top, client.right, client.bottom};
            DATETIMEPICKERINFO info{};
            info.cbSize = sizeof(info);
            if (SendMessageW(FPickerHandle, DTM_GETDATETIMEPICKERINFO, 0, reinterpret_cast<LPARAM>(&info)) &&
                info.rcButton.right > info.rcButton.left)
                native = info.rcButton;
            if (!PtInRect(&native, p)) p = POINT{(native.left + native.right) / 2, (native.top + native.bottom) / 2};
            LPARAM lp = MAKELPARAM(WORD(SHORT(p.x)), WORD(SHORT(p.y)));
            PostMessageW(FPickerHandle, WM_LBUTTONDOWN, msg.WParam, lp);
            PostMessageW(FPickerHandle, WM_LBUTTONUP, msg.WParam & ~WPARAM(MK_LBUTTON), lp);
            Invalidate();
            return;
        }
        case WM_LBUTTONUP:
            TCustomControl::WndProc(msg);
            if (FPickerHandle) ::SetFocus(FPickerHandle);
            return;
        default:
            TCustomControl::WndProc(msg);
            return;
    }
}

void TArrowButton::Paint() { PaintTo(Canvas()->Handle()); }

void TArrowButton::PaintTo(HDC dc) {
    if (!dc) return;
    RECT r{0, 0, Width(), Height()};
    TSkinData* sd = FDateTimeSkin ? FDateTimeSkin->FSkinData : nullptr;
    FillColor(dc, r, FDateTimeSkin ? FDateTimeSkin->FaceColor() : clBtnFace);
    TDataSkinObject* e = sd ? sd->ComboxArrow() : nullptr;
    if (!e || e->Bitmap.Empty()) {
        // No element: the system's own drop-down arrow, so the button is never blank.
        UINT state = DFCS_SCROLLCOMBOBOX | ((FHot & 1) ? DFCS_HOT : 0);
        if (FPickerHandle && !IsWindowEnabled(FPickerHandle)) state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &r, DFC_SCROLL, state);
        return;
    }
    const int frames = e->Frame > 0 ? e->Frame : 1;
    int frame = (FHot & 1) ? 4 : 1;
    // A disabled picker shows the strip's disabled button, as the combo does.
    if (FPickerHandle && !IsWindowEnabled(FPickerHandle) && frames >= 3) frame = 3;
    DrawKeyedFrame(FDateTimeSkin, dc, r, frames, frame, e->Bitmap);
}

// ---- TSkinDateTime ----

const TClassInfo& TSkinDateTime::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinDateTime>("TSkinDateTime", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinDateTime::TSkinDateTime(TComponent* owner) : TSkinControl(owner) {}

TSkinDateTime::~TSkinDateTime() {
    delete FArrowButton;
    FArrowButton = nullptr;
}

void TSkinDateTime::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    auto* picker = dynamic_cast<TWinControl*>(FControl);
    if (!FAttached || !picker) return;
    FArrowButton = new TArrowButton(nullptr);
    FArrowButton->AttachToPicker(this, picker->Handle(), picker);
}

void TSkinDateTime::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
    if (!FAttached || !FHandle || FArrowButton) return;
    FArrowButton = new TArrowButton(nullptr);
    FArrowButton->AttachToPicker(this, FHandle);
}

void TSkinDateTime::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_NCPAINT:
            // The system redrew its sunken edge: put the flat one back.
            PaintWindow(nullptr);
            break;
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED:
            if (FArrowButton && FArrowButton->FPickerHandle) {
                const bool left = (GetLong(FHandle, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
                PixelRect r = pickerArrowButton(widthOf(FHandle), FArrowButton->FButtonSize, left);
                FArrowButton->SetBounds(r.left, r.top, r.width(), r.height());
            }
            TSkinControl::AfterMessage(msg);
            break;
        case CM_ENABLEDCHANGED:
            if (FArrowButton) FArrowButton->Invalidate();
            TSkinControl::AfterMessage(msg);
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinDateTime::Paint(HDC dc, const RECT& r) {
    if (!dc || !FHandle) return;
    RECT cr{};
    GetClientRect(FHandle, &cr);
    if (cr.right >= r.right - r.left || cr.bottom >= r.bottom - r.top) return;
    UniqueBrush shadow(CreateSolidBrush(ColorToRGB(TColor(FSkinData ? FSkinData->ButtonShadow : int32_t(clBtnShadow)))));
    UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    RECT f = r;
    FrameRect(dc, &f, shadow.get());
    InflateRect(&f, -1, -1);
    FrameRect(dc, &f, white.get());
}

void TSkinDateTime::ActiveChanged() {
    // Switched off, the picker shows its own button and its own edge.
    if (FArrowButton) FArrowButton->SetVisible(FActive);
    if (!FActive && FHandle && IsWindow(FHandle))
        RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void TSkinDateTime::Restore() {
    TSkinControl::Restore();
    // Detached, the picker shows its own button again.
    if (FState != scsDestroyed) {
        delete FArrowButton;
        FArrowButton = nullptr;
        if (FHandle && IsWindow(FHandle))
            RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
    } else if (!FControl) {
        // A bare picker is gone and its button's window with it: the button
        // object goes now, not whenever the form skin frees this skin.
        delete FArrowButton;
        FArrowButton = nullptr;
    }
}

}  // namespace qs
