#include "SkinHeader.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinTab.h"
#include "SkinTabGeometry.h"

namespace qs {

const TClassInfo& TSkinHeader::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinHeader>("TSkinHeader", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinHeader::~TSkinHeader() { FItemRects.clear(); }

void TSkinHeader::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    FHotIndex = -1;
}

void TSkinHeader::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
    FHotIndex = -1;
}

namespace {
bool hasHeaderImage(const TSkinData* sd) { return sd && sd->Headerbar() && !sd->Headerbar()->Bitmap.Empty(); }

std::unique_ptr<TBitmap> renderItem(TDataSkinObject& e, int w, int h, int frame) {
    return BuildNineSlice(RECT{0, 0, w, h}, e.Bitmap, e.Margins(), false, e.Tile == 1, e.Frame > 0 ? e.Frame : 5,
                          frame);
}
}  // namespace

bool TSkinHeader::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_PAINT:
            // Without a picture the header paints itself rather than stay blank.
            if (!hasHeaderImage(FSkinData)) return true;
            PaintMessage(msg);
            msg.Result = 0;
            return false;
        case WM_ERASEBKGND:
            if (!hasHeaderImage(FSkinData)) return true;
            msg.Result = 1;
            return false;
        default:
            return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinHeader::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_MOUSEMOVE: {
            std::vector<PixelRect> zones;
            for (auto& z : FItemRects) zones.push_back({z.left, z.top, z.right, z.bottom});
            const int hot = headerHotAfterMove(zones, GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam), FHotIndex);
            if (hot != FHotIndex) {
                FHotIndex = hot;
                Repaint();
            }
            TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
            TrackMouseEvent(&t);
            break;
        }
        case WM_MOUSELEAVE:
            FHotIndex = -1;
            Repaint();
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinHeader::Paint(HDC dc, const RECT& r) {
    if (!hasHeaderImage(FSkinData)) return;
    TDataSkinObject& bar = *FSkinData->Headerbar();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    TBitmap buffer(w, h);
    HDC b = buffer.Canvas()->Handle();
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(b, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(b, TRANSPARENT);
    FEnabled = true;
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, HDM_GETIMAGELIST, 0, 0));
    const int n = std::max(0, int(SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0)));
    FItemRects.assign(size_t(n), RECT{});
    int maxRight = 0;
    for (int i = 0; i < n; ++i) {
        RECT ir{};
        if (!SendMessageW(FHandle, HDM_GETITEMRECT, WPARAM(i), LPARAM(&ir))) continue;
        wchar_t text[201] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE;
        item.pszText = text;
        item.cchTextMax = 201;
        SendMessageW(FHandle, HDM_GETITEMW, WPARAM(i), LPARAM(&item));
        const int iw = ir.right - ir.left, ih = ir.bottom - ir.top;
        if (iw > 0 && ih > 0)
            if (auto pic = renderItem(bar, iw, ih, i == FHotIndex ? 2 : 1)) {
                HDC p = pic->Canvas()->Handle();
                if (text[0]) {
                    const UINT align = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT    ? DT_RIGHT
                                       : (item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER ? DT_CENTER
                                                                                    : 0;
                    const int image = (item.fmt & (HDF_IMAGE | HDF_OWNERDRAW)) ? item.iImage : -1;
                    HGDIOBJ old = SelectObject(p, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
                    // The element's own text colours: the system's would vanish on a dark header.
                    const int32_t colour = i == FHotIndex ? bar.MouseOverColour2 : bar.NormalColour2;
                    DrawIconTextDC(this, p, RECT{0, 0, iw, ih}, align, text, image, images,
                                   ColorToRGB(TColor(colour)));
                    SelectObject(p, old);
                }
                BitBlt(b, ir.left - r.left, ir.top - r.top, iw, ih, p, 0, 0, SRCCOPY);
                pic->Dormant();
            }
        const PixelRect z = headerHotZone({ir.left, ir.top, ir.right, ir.bottom});
        FItemRects[size_t(i)] = RECT{z.left, z.top, z.right, z.bottom};
        maxRight = std::max(maxRight, int(ir.right));
    }
    if (maxRight < r.right)
        if (auto rest = renderItem(bar, r.right - maxRight, h, 1)) {
            BitBlt(b, maxRight - r.left, 0, r.right - maxRight, h, rest->Canvas()->Handle(), 0, 0, SRCCOPY);
            rest->Dormant();
        }
    SelectObject(b, oldFont);
    BitBlt(dc, r.left, r.top, w, h, b, 0, 0, SRCCOPY);
    buffer.Dormant();
}

// A list view's header is a window inside the list: the repaint of the form
// that gives the list back does not reach it, and it would keep the skin's
// picture until something covers it.
void TSkinHeader::Restore() {
    TSkinControl::Restore();
    if (FHandle && IsWindow(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

}  // namespace qs
