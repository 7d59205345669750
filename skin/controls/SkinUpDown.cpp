#include "SkinUpDown.h"

#include <commctrl.h>
#include <windowsx.h>

#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinEditGeometry.h"
#include "SkinRoutines.h"

namespace qs {

namespace {
RECT toRect(const PixelRect& p) { return RECT{p.left, p.top, p.right, p.bottom}; }

void line(HDC dc, int x0, int y, int x1, COLORREF c) {
    for (int x = x0; x <= x1; ++x) SetPixelV(dc, x, y, c);
}
}  // namespace

void DrawUpDownArrow(HDC dc, int x, int y, int direction, COLORREF c) {
    switch (direction) {
        case 0:  // rows 1, 3, 5, 7 wide, tip at (x, y)
            for (int i = 0; i < 4; ++i) line(dc, x - i, y + i, x + i, c);
            break;
        case 1:  // widest row at y, tip at y + 3
            for (int i = 0; i < 4; ++i) line(dc, x - (3 - i), y + i, x + (3 - i), c);
            break;
        case 2:  // outline: tip (x - 1, y), base from (x + 1, y - 2) to (x + 1, y + 2)
        case 3: {
            const int tip = direction == 2 ? x - 1 : x + 1;
            const int base = direction == 2 ? x + 1 : x - 1;
            const int step = direction == 2 ? 1 : -1;
            SetPixelV(dc, tip, y, c);
            SetPixelV(dc, tip + step, y - 1, c);
            SetPixelV(dc, tip + step, y + 1, c);
            for (int dy = -2; dy <= 2; ++dy) SetPixelV(dc, base, y + dy, c);
            break;
        }
        default:
            break;
    }
}

const TClassInfo& TSkinUpDown::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinUpDown>("TSkinUpDown", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinUpDown::TSkinUpDown(TComponent* owner) : TSkinControl(owner) {}

bool TSkinUpDown::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_PAINT:
            PaintMessage(msg);
            return false;
        case WM_ERASEBKGND:
            if (!FControl) {
                RECT r{};
                GetClientRect(FHandle, &r);
                FillColor(reinterpret_cast<HDC>(msg.WParam), r, TColor(0xFFFFFF));
            }
            msg.Result = 1;
            return false;
        // The control's own handling tells the program (a change, a click),
        // whose handler may free this skin.
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (!CallDefaultAlive(msg)) return false;
            FMouseState |= kMousePressed;
            PaintWindow(nullptr);
            return false;
        case WM_LBUTTONUP:
            FMouseState &= uint8_t(~kMousePressed);
            if (!CallDefaultAlive(msg)) return false;
            PaintWindow(nullptr);
            return false;
        case WM_MOUSEMOVE: {
            // Hover shows on the half under the cursor; the system tells us when it leaves.
            if (!CallDefaultAlive(msg)) return false;
            FMouseState |= kMouseHot;
            StartLeaveTracking(FHandle);
            PaintWindow(nullptr);
            return false;
        }
        case WM_MOUSELEAVE:
            if (!CallDefaultAlive(msg)) return false;
            FMouseState &= uint8_t(~(kMouseHot | kMousePressed));
            PaintWindow(nullptr);
            return false;
        default:
            return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinUpDown::Paint(HDC dc, const RECT& rect) {
    if (!dc || !FHandle) return;
    RECT r = rect;
    if (FInEdit) {
        RECT client{};
        GetClientRect(FHandle, &client);
        FillColor(dc, client, TColor(0xFFFFFF));
        RECT mine{}, parent{};
        GetWindowRect(FHandle, &mine);
        if (HWND p = GetParent(FHandle); p && GetWindowRect(p, &parent)) {
            PixelRect adj = upDownInEditRect(PixelRect{r.left, r.top, r.right, r.bottom}, mine.top - parent.top,
                                             parent.bottom - mine.bottom, parent.right - mine.right);
            r = toRect(adj);
        }
    }
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;

    TBitmap work(w, h);
    HDC wdc = work.Canvas()->Handle();
    if (!wdc) return;
    SetStretchBltMode(wdc, COLORONCOLOR);
    FillColor(wdc, RECT{0, 0, w, h}, FaceColor());
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(FHandle, &cursor);
    // The button rectangle is drawn from r's origin.
    cursor.x -= r.left;
    cursor.y -= r.top;
    FEnabled = IsWindowEnabled(FHandle) != FALSE;

    const bool horizontal = FHorizontal == 1 || (GetLong(FHandle, GWL_STYLE) & UDS_HORZ);
    const UpDownLayout l = upDownLayout(w, h, horizontal);
    TDataSkinBorder* e = FSkinData ? (horizontal ? FSkinData->UpDownHorz() : FSkinData->UpDownVert()) : nullptr;
    const bool hot = FMouseState & kMouseHot, pressed = FMouseState & kMousePressed;
    const int along = horizontal ? cursor.x : cursor.y;
    for (int second = 0; second < 2; ++second) {
        const RECT b = toRect(second ? l.second : l.first);
        const int state = upDownButtonState(FEnabled, second != 0, along, l.half, hot, pressed);
        if (e && !e->Bitmap.Empty()) {
            const int frame = upDownFrame(state, second != 0);
            DrawKeyedFrame(this, wdc, b, 8, frame, e->Bitmap);
            if (!e->Bitmap2.Empty()) DrawFrameCentred(wdc, b, e->Bitmap2, true, e->Frame > 0 ? e->Frame : 8, frame);
            continue;
        }
        const TColor fill = (state == udsPressed || state == udsHot)
                                ? TColor(FSkinData ? FSkinData->ButtonShadow : int32_t(clBtnShadow))
                                : FaceColor();
        FillColor(wdc, b, fill);
        UniqueBrush dark(CreateSolidBrush(ColorToRGB(TColor(FSkinData ? FSkinData->ButtonDkShadow : int32_t(cl3DDkShadow)))));
        FrameRect(wdc, &b, dark.get());
        int x = b.left + (b.right - b.left) / 2, y = b.top + (b.bottom - b.top) / 2;
        int dir = horizontal ? (second ? 3 : 2) : (second ? 1 : 0);
        if (!horizontal) y -= 2;
        COLORREF ink = ColorToRGB(TColor(FEnabled ? clBtnText : clGrayText));
        DrawUpDownArrow(wdc, x, y, dir, ink);
    }
    BitBlt(dc, r.left, r.top, w, h, wdc, 0, 0, SRCCOPY);
}

}  // namespace qs
