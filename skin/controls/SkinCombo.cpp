#include "SkinCombo.h"

#include <windowsx.h>

#include "SkinData.h"
#include "SkinEditGeometry.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"
#include "WindowTable.h"

namespace qs {

namespace {
// A combo's edit -> the combo's skin.
TWindowTable& editTable() {
    static TWindowTable table;
    return table;
}
RECT toRect(const PixelRect& p) { return RECT{p.left, p.top, p.right, p.bottom}; }
}  // namespace

const TClassInfo& TSkinComBox::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinComBox>("TSkinComBox", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinComBox::TSkinComBox(TComponent* owner) : TSkinControl(owner) { FDroppedDown = false; }

TSkinComBox::~TSkinComBox() {
    UnsubclassEdit();
    FreeListScrollbar(false);
}

void TSkinComBox::Notification(TComponent* c, TOperation op) {
    TSkinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FListScrollbar) FListScrollbar = nullptr;
}

void TSkinComBox::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    if (FAttached) AfterAttach(true);
}

void TSkinComBox::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
    if (FAttached) AfterAttach(false);
}

void TSkinComBox::AfterAttach(bool fromControl) {
    FStyle = GetLong(FHandle, GWL_STYLE);
    FListScrollbar = nullptr;
    if ((FStyle & 3) != CBS_SIMPLE) {
        // The edit of a drop-down combo (a drop-down list has none). Unicode
        // windows are subclassed through the wide functions.
        HWND edit = GetWindow(FHandle, GW_CHILD);
        if (edit) {
            FEditHandle = edit;
            const bool unicode = IsWindowUnicode(edit) != FALSE;
            editTable().Set(edit, this);
            LONG_PTR proc = reinterpret_cast<LONG_PTR>(&EditProc);
            FEditOldProc = reinterpret_cast<WNDPROC>(unicode ? SetWindowLongPtrW(edit, GWLP_WNDPROC, proc)
                                                             : SetWindowLongPtrA(edit, GWLP_WNDPROC, proc));
            FEditInstance = reinterpret_cast<void*>(&EditProc);
        }
        FListHandle = nullptr;
        return;
    }
    FComboInfo.cbSize = sizeof(COMBOBOXINFO);
    if (!SafeGetComboBoxInfo(FHandle, FComboInfo)) return;
    FListHandle = FComboInfo.hwndList;
    if (!FListHandle) return;
    FStyle = GetLong(FListHandle, GWL_STYLE);
    if (fromControl && !(FStyle & WS_POPUP) && !IsPopupWindow(FListHandle) && (FStyle & WS_CHILD)) SkinList(FListHandle);
}

void TSkinComBox::SkinList(HWND list) {
    if (FListScrollbar || !list || TSkinControl::FromHandle(list)) return;
    auto* s = new TSkinScrollbarH(nullptr);
    s->FreeNotification(this);
    FListScrollbar = s;
    s->AttachHandle(list, FSkinData, FSkinForm, FCanvas);
}

void TSkinComBox::FreeListScrollbar(bool restore) {
    TSkinScrollbarH* s = FListScrollbar;
    FListScrollbar = nullptr;
    if (!s) return;
    // Freed, it takes itself off our notification list.
    if (restore && s->FState != scsDestroyed) s->Restore();
    delete s;
}

void TSkinComBox::UnsubclassEdit() {
    if (!FEditHandle) return;
    HWND edit = FEditHandle;
    FEditHandle = nullptr;
    FEditInstance = nullptr;
    if (!IsWindow(edit)) return;
    const bool unicode = IsWindowUnicode(edit) != FALSE;
    LONG_PTR current = unicode ? GetWindowLongPtrW(edit, GWLP_WNDPROC) : GetWindowLongPtrA(edit, GWLP_WNDPROC);
    if (current == reinterpret_cast<LONG_PTR>(&EditProc)) {
        if (unicode)
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditOldProc));
        else
            SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditOldProc));
        editTable().Remove(edit);
    } else {
        // Someone subclassed after us: stay in the chain as a pass-through.
        editTable().Remove(edit);
    }
}

LRESULT CALLBACK TSkinComBox::EditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* skin = static_cast<TSkinComBox*>(editTable().Get(wnd));
    const bool unicode = IsWindowUnicode(wnd) != FALSE;
    WNDPROC old = skin ? skin->FEditOldProc : nullptr;
    if (!old) {
        // Left in the chain after the skin went: the combo's edit procedure is
        // the class's own.
        WNDCLASSW wc{};
        if (GetClassInfoW(nullptr, L"Edit", &wc)) old = wc.lpfnWndProc;
    }
    LRESULT r = old ? (unicode ? CallWindowProcW(old, wnd, msg, wParam, lParam) : CallWindowProcA(old, wnd, msg, wParam, lParam))
                    : DefWindowProcW(wnd, msg, wParam, lParam);
    if (!skin || !skin->FActive) return r;
    try {
        switch (msg) {
            case WM_PAINT:
                skin->PaintWindow(nullptr);
                break;
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                skin->FMouseState |= kMousePressed;
                skin->Repaint();
                break;
            case WM_LBUTTONUP:
                skin->FMouseState &= uint8_t(~kMousePressed);
                skin->Repaint();
                break;
            case WM_NCDESTROY:
                editTable().Remove(wnd);
                if (skin->FEditHandle == wnd) {
                    skin->FEditHandle = nullptr;
                    skin->FEditInstance = nullptr;
                }
                break;
            default:
                break;
        }
    } catch (...) {
    }
    return r;
}

void TSkinComBox::Restore() {
    UnsubclassEdit();
    FreeListScrollbar(true);
    TSkinControl::Restore();
}

void TSkinComBox::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            break;
        case WM_MOUSEMOVE: {
            // Asked here only: every other message, handled or not, would pay for it.
            const bool enabled = IsWindowEnabled(FHandle) != FALSE;
            POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
            const bool inButton = PtInRect(&FButtonRect, p) != FALSE;
            if (FMouseState & kMouseHot) {
                if (!inButton && enabled) {
                    FMouseState &= uint8_t(~kMouseHot);
                    Repaint();
                }
            } else if (inButton && enabled) {
                FMouseState |= kMouseHot;
                Repaint();
                // Only toolkit controls are told when the pointer leaves;
                // a combo skinned by its handle asks the system.
                StartLeaveTracking(FHandle);
            }
            break;
        }
        case WM_DRAWITEM:
        case WM_NCPAINT:
            Repaint();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            FMouseState |= kMousePressed;
            Repaint();
            break;
        case WM_LBUTTONUP:
            FMouseState &= uint8_t(~kMousePressed);
            Repaint();
            break;
        case CM_MOUSELEAVE:
        case WM_MOUSELEAVE:
            if (FMouseState & kMouseHot) {
                FMouseState &= uint8_t(~kMouseHot);
                Repaint();
            }
            break;
        case CN_COMMAND:
            if (HIWORD(msg.WParam) == CBN_DROPDOWN) {
                FDroppedDown = true;
                // The drop-down list is a pop-up of its own: skin its bars once it exists.
                if ((GetLong(FHandle, GWL_STYLE) & 3) != CBS_SIMPLE) {
                    COMBOBOXINFO ci{};
                    ci.cbSize = sizeof(ci);
                    if (SafeGetComboBoxInfo(FHandle, ci) && ci.hwndList) SkinList(ci.hwndList);
                }
            } else if (HIWORD(msg.WParam) == CBN_CLOSEUP) {
                FDroppedDown = false;
                // The button-up that ends a drop-down goes to the list, not to us.
                FMouseState &= uint8_t(~kMousePressed);
                Repaint();
            }
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinComBox::Paint(HDC dc, const RECT& rect) {
    if (!dc || !FSkinData) return;
    TDataSkinBorder* button = FSkinData->ComboButton();
    if (!button || button->Bitmap.Empty()) return;
    FStyle = GetLong(FHandle, GWL_STYLE);
    FExStyle = GetLong(FHandle, GWL_EXSTYLE);
    FComboInfo.cbSize = sizeof(COMBOBOXINFO);
    int systemButtonLeft = -1;
    if (SafeGetComboBoxInfo(FHandle, FComboInfo)) {
        FButtonRect = FComboInfo.rcButton;
        if (FComboInfo.stateButton & STATE_SYSTEM_INVISIBLE) return;
        systemButtonLeft = FComboInfo.rcButton.left;
    }
    if (button->Style == 1) {
        PaintFlat(dc, rect, button);
        return;
    }
    const RECT r{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    FFocused = GetFocus() == FHandle || (FEditHandle && GetFocus() == FEditHandle);
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    const int frame = comboButtonFrame(FEnabled, FMouseState & kMousePressed, FFocused, FMouseState & kMouseHot);
    const int b = GetSystemMetrics(SM_CXHSCROLL);
    const bool left = comboArrowAtLeft((FExStyle & WS_EX_LEFTSCROLLBAR) != 0, systemButtonLeft, r.right);
    TDataSkinObject* sunk = FSkinData->SunkEdge();

    if (button->Style == 2) {
        // A composite of edge, button and glyph: its margins keep the button
        // at its own width, its magenta middle lets the content show.
        TDataSkinObject* e = left && sunk && !sunk->Bitmap.Empty() ? sunk : button;
        DrawSkinElement(this, dc, r, e->Frame > 0 ? e->Frame : 1, frame, e);
        return;
    }
    const ComboButtonLayout l = comboButtonLayout(r.right, r.bottom, b, left);
    TBitmap& strip = left && !button->Bitmap2.Empty() ? button->Bitmap2 : button->Bitmap;
    {
        SaveDCScope saved(dc);
        ExcludeClipRect(dc, l.content.left, l.content.top, l.content.right, l.content.bottom);
        if (sunk && !sunk->Bitmap.Empty()) DrawSkinElement(this, dc, r, sunk->Frame > 0 ? sunk->Frame : 1, frame, sunk);
        DrawKeyedFrame(this, dc, toRect(l.button), button->Frame > 0 ? button->Frame : 1, frame, strip);
    }
    FButtonRect = toRect(l.button);
    TDataSkinObject* glyph = FSkinData->ExtraImages();
    if (glyph && !glyph->Bitmap.Empty() && glyph->Frame > 0) {
        const int w = glyph->Bitmap.Width() / glyph->Frame, h = glyph->Bitmap.Height();
        DrawKeyedFrame(this, dc, toRect(centredIn(l.glyphArea, w, h)), glyph->Frame, frame, glyph->Bitmap);
    }
}

void TSkinComBox::PaintFlat(HDC dc, const RECT& rect, TDataSkinObject* button) {
    const int systemButtonLeft = FComboInfo.cbSize && FComboInfo.rcButton.right > FComboInfo.rcButton.left
                                     ? int(FComboInfo.rcButton.left)
                                     : -1;
    FFocused = GetFocus() == FHandle || (FEditHandle && GetFocus() == FEditHandle);
    FEnabled = IsWindowEnabled(FHandle) != FALSE;
    const int frame = comboButtonFrame(FEnabled, FMouseState & kMousePressed, FFocused, FMouseState & kMouseHot);
    const int frames = button->Frame > 0 ? button->Frame : 1;
    const int w = button->Bitmap.Width() / frames, h = button->Bitmap.Height();
    const int t = GetSystemMetrics(SM_CYVTHUMB);
    const bool left =
        comboArrowAtLeft((FExStyle & WS_EX_LEFTSCROLLBAR) != 0, systemButtonLeft, rect.right - rect.left);
    RECT r{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    if (current) FrameRect(dc, &inner, current);
    InflateRect(&inner, -1, -1);
    RECT zone = inner;
    if (left)
        zone.right = zone.left + t;
    else
        zone.left = zone.right - t;
    if (current) FillRect(dc, &zone, current);
    RECT btn = inner;
    if (left)
        btn.right = btn.left + w;
    else
        btn.left = btn.right - w;
    if (h < t) btn.bottom = btn.top + h;
    UniqueBrush shadow(CreateSolidBrush(ColorToRGB(TColor(FSkinData->ButtonShadow))));
    FrameRect(dc, &r, shadow.get());
    FButtonRect = btn;
    DrawKeyedFrame(this, dc, btn, frames, frame, button->Bitmap);
}

}  // namespace qs
