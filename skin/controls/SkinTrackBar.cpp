#include "SkinTrackBar.h"

#include <commctrl.h>

#include <algorithm>

#include "SkinData.h"
#include "SkinRoutines.h"

namespace qs {

const TClassInfo& TSkinTrackBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinTrackBar>("TSkinTrackBar", &TSkinControl::StaticClassInfo()).build();
    return info;
}

namespace {
bool hasImage(const TDataSkinObject* e) { return e && !e->Bitmap.Empty(); }

void stretch(HDC dc, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh) {
    // A negative size would mirror the piece instead of leaving it out.
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    StretchBlt(dc, x, y, w, h, src, sx, sy, sw, sh, SRCCOPY);
}
}  // namespace

bool TSkinTrackBar::BeforeMessage(TMessage& msg) {
    if ((msg.Msg == WM_NOTIFY || msg.Msg == CN_NOTIFY) && msg.LParam) {
        auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
        if (hdr->code != UINT(NM_CUSTOMDRAW)) return true;
        msg.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(msg.LParam));
        return false;
    }
    // The control fills its background with the brush its parent answers;
    // a toolkit parent hands the request back as this message, and the
    // control's own colour would leave a white box on the skin's face.
    if (msg.Msg == CN_CTLCOLORSTATIC && FSkinData && msg.WParam) {
        HDC dc = reinterpret_cast<HDC>(msg.WParam);
        SetBkColor(dc, ColorToRGB(FaceColor()));
        msg.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
        return false;
    }
    return TSkinControl::BeforeMessage(msg);
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& cd) {
    if (cd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (cd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    switch (cd.dwItemSpec) {
        case TBCD_THUMB:
            DrawThumb(cd.hdc);
            return CDRF_SKIPDEFAULT;
        case TBCD_CHANNEL:
            DrawChannel(cd.hdc);
            return CDRF_SKIPDEFAULT;
        default:  // tick marks keep the control's own drawing
            return CDRF_DODEFAULT;
    }
}

void TSkinTrackBar::DrawThumb(HDC dc) {
    if (!FHandle || !IsWindow(FHandle) || !dc) return;
    RECT r{};
    SendMessageW(FHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    const bool vertical = (GetLong(FHandle, GWL_STYLE) & TBS_VERT) != 0;
    TDataSkinObject* thumb = nullptr;
    if (FSkinData) {
        if (vertical && hasImage(FSkinData->TrackbarThumbVert()))
            thumb = FSkinData->TrackbarThumbVert();
        else if (hasImage(FSkinData->TrackbarThumbHorz()))
            thumb = FSkinData->TrackbarThumbHorz();
    }
    if (thumb) {
        // Frame 2 of the five in every state.
        DrawKeyedFrame(this, dc, r, 5, 2, thumb->Bitmap);
        return;
    }
    TCanvas canvas(dc);
    canvas.Pen().SetColor(FSkinData ? TColor(FSkinData->ButtonShadow) : clBtnShadow);
    canvas.Rectangle(r);
    canvas.ReleaseSelections();
}

void TSkinTrackBar::DrawChannel(HDC dc) {
    if (!FHandle || !FSkinData || !dc) return;
    RECT r{};
    SendMessageW(FHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
    const bool vertical = (GetLong(FHandle, GWL_STYLE) & TBS_VERT) != 0;
    if (vertical) {
        TDataSkinObject* e = FSkinData->TrackVert();
        if (!hasImage(e)) return;
        // Some versions of the control hand the channel of a vertical bar back
        // transposed (long side across); others give it as it lies.
        if (r.right - r.left > r.bottom - r.top) r = RECT{r.top, r.left, r.bottom, r.right};
        TBitmap& b = e->Bitmap;
        const int rw = r.right - r.left, rh = r.bottom - r.top, bw = b.Width(), bh = b.Height();
        const int x = r.left + (bw < rw ? (rw - bw) / 2 : 0);
        const int top = std::max(0, e->TopHeight), bottom = std::max(0, e->BottomHeight);
        HDC src = b.Canvas()->Handle();
        stretch(dc, x, r.top, bw, top, src, 0, 0, bw, top);
        stretch(dc, x, r.top + top, bw, rh - top - bottom, src, 0, top, bw, bh - top - bottom);
        stretch(dc, x, r.bottom - bottom, bw, bottom, src, 0, bh - bottom, bw, bottom);
        b.Dormant();
        return;
    }
    TDataSkinObject* e = FSkinData->Track();
    if (!hasImage(e)) return;
    TBitmap& b = e->Bitmap;
    const int rw = r.right - r.left, rh = r.bottom - r.top, bw = b.Width(), bh = b.Height();
    const int y = r.top + (bh < rh ? (rh - bh) / 2 : 0);
    const int left = std::max(0, e->LeftWidth), right = std::max(0, e->RightWidth);
    HDC src = b.Canvas()->Handle();
    stretch(dc, r.left, y, left, bh, src, 0, 0, left, bh);
    stretch(dc, r.left + left, y, rw - left - right, bh, src, left, 0, bw - left - right, bh);
    stretch(dc, r.right - right, y, right, bh, src, bw - right, 0, right, bh);
    b.Dormant();
}

void TSkinTrackBar::SkinChanged() {
    // Redrawn in place: moving the focus to force a redraw would fire the
    // controls' enter and exit events and could bring an inactive window to
    // the front, and the focus stays wherever it was.
    if (FHandle && IsWindow(FHandle) && !RepaintFollowsChange())
        RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

}  // namespace qs
