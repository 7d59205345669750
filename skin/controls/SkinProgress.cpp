#include "SkinProgress.h"

#include <commctrl.h>

#include <algorithm>

#include "PixelOps.h"
#include "ProgressGeometry.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinRoutines.h"

namespace qs {

const TClassInfo& TSkinProgress::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinProgress>("TSkinProgress", &TSkinControl::StaticClassInfo()).build();
    return info;
}

namespace {
bool hasImage(const TDataSkinObject* e) { return e && !e->Bitmap.Empty(); }

// A nine-sliced frame of the element at w x h, keyed on magenta, onto `dc` at (x, y).
void drawKeyed(HDC dc, int x, int y, int w, int h, TDataSkinObject& e, bool tile, int frames, int frame) {
    if (w <= 0 || h <= 0) return;
    auto piece = BuildNineSlice(RECT{0, 0, w, h}, e.Bitmap, e.Margins(), false, tile, frames, frame);
    if (piece) DrawTransparent(dc, RECT{x, y, x + w, y + h}, *piece, kSkinKeyColour);
}
}  // namespace

bool TSkinProgress::CanPaint() const {
    if (!FSkinData || !hasImage(FSkinData->Progress())) return false;
    // A chunked bar without its chunk picture is left to the control rather
    // than painted as an empty trough that never fills.
    if (FSkinData->Progress()->Style == 1) return hasImage(FSkinData->ProgressChunk());
    return true;
}

bool TSkinProgress::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_PAINT:
            if (!CanPaint()) return true;
            PaintMessage(msg);
            msg.Result = 0;
            return false;
        case WM_ERASEBKGND:
            msg.Result = 1;
            return false;
        default:
            return TSkinControl::BeforeMessage(msg);
    }
}

std::unique_ptr<TBitmap> TSkinProgress::Compose(int width, int height) const {
    if (!CanPaint() || !FHandle || width <= 0 || height <= 0) return nullptr;
    TDataSkinBorder& bar = *FSkinData->Progress();
    const bool vertical = (GetLong(FHandle, GWL_STYLE) & PBS_VERTICAL) != 0;
    const ProgressSize work = progressWorkSize(width, height, vertical);
    const int pos = int(SendMessageW(FHandle, PBM_GETPOS, 0, 0));
    const int upper = int(SendMessageW(FHandle, PBM_GETRANGE, FALSE, 0));
    const int length = progressBarLength(work.width, pos, upper);

    auto out = std::make_unique<TBitmap>(work.width, work.height);
    HDC dc = out->Canvas()->Handle();
    const RECT all{0, 0, work.width, work.height};
    FillColor(dc, all, FaceColor());
    if (bar.Style != 1) {
        // Frame 1 the trough, frame 2 the bar.
        drawKeyed(dc, 0, 0, work.width, work.height, bar, bar.Tile == 1, 2, 1);
        drawKeyed(dc, 0, 0, length, work.height, bar, bar.Tile == 1, 2, 2);
    } else {
        TDataSkinObject& chunk = *FSkinData->ProgressChunk();
        drawKeyed(dc, 0, 0, work.width, work.height, bar, false, 1, 1);
        if (length > 0) {
            const int cw = chunk.Bitmap.Width(), ch = chunk.Bitmap.Height();
            if (chunk.Tile == 1) {
                // Copies of the chunk side by side, the last one cut at the bar's end.
                TBitmap row(length, ch);
                HDC rdc = row.Canvas()->Handle();
                HDC src = chunk.Bitmap.Canvas()->Handle();
                for (const PixelRect& c : progressChunkCells(length, cw, ch, 0))
                    BitBlt(rdc, c.left, 0, c.width(), ch, src, 0, 0, SRCCOPY);
                chunk.Bitmap.Dormant();
                const int y = (work.height - ch) / 2;
                DrawTransparent(dc, RECT{chunk.LeftWidth + 2, y, chunk.LeftWidth + 2 + length, y + ch}, row,
                                kSkinKeyColour);
            } else {
                // One chunk picture stretched over the filled part, inset 2 pixels.
                drawKeyed(dc, 2, 2, length, work.height - 4, chunk, false, 1, 1);
            }
        }
    }
    if (!vertical) return out;
    PixelImage img = out->ToPixels();
    RotateLeft(img);
    auto upright = std::make_unique<TBitmap>();
    upright->LoadFromPixels(img);
    return upright;
}

void TSkinProgress::Paint(HDC dc, const RECT& r) {
    auto pic = Compose(r.right - r.left, r.bottom - r.top);
    if (!pic) return;
    BitBlt(dc, r.left, r.top, pic->Width(), pic->Height(), pic->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace qs
