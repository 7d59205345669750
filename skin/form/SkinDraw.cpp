#include "SkinDraw.h"

#include <algorithm>
#include <vector>

#include "Controls.h"
#include "NineSlice.h"
#include "RegionRuns.h"

namespace qs {

namespace {

bool inverted(const RECT& r) { return r.right < r.left || r.bottom < r.top; }
int width(const RECT& r) { return r.right - r.left; }
int height(const RECT& r) { return r.bottom - r.top; }

// The picture's memory DC (its canvas keeps the bitmap selected).
HDC sourceDC(TBitmap& bmp) { return bmp.Empty() ? nullptr : bmp.Canvas()->Handle(); }

SliceMargins toMargins(const RECT& m) { return SliceMargins{m.left, m.top, m.right, m.bottom}; }

// Copies the pieces from `src` into `dst` at (x, y); tiled pieces repeat.
void blitPieces(HDC dst, int x, int y, HDC src, const std::vector<SlicePiece>& pieces) {
    const int oldMode = ::SetStretchBltMode(dst, COLORONCOLOR);
    for (const SlicePiece& p : pieces) {
        if (p.tile) {
            const PixelRect dest{p.dst.left + x, p.dst.top + y, p.dst.right + x, p.dst.bottom + y};
            // Tiles overhang the piece on its right and bottom: clip them.
            SaveDCScope keep(dst);
            ::IntersectClipRect(dst, dest.left, dest.top, dest.right, dest.bottom);
            for (const PixelRect& t : TilePositions(dest, p.src.width(), p.src.height()))
                ::BitBlt(dst, t.left, t.top, t.width(), t.height(), src, p.src.left, p.src.top, SRCCOPY);
        } else if (p.src.width() == p.dst.width() && p.src.height() == p.dst.height()) {
            ::BitBlt(dst, p.dst.left + x, p.dst.top + y, p.dst.width(), p.dst.height(), src, p.src.left, p.src.top,
                     SRCCOPY);
        } else {
            ::StretchBlt(dst, p.dst.left + x, p.dst.top + y, p.dst.width(), p.dst.height(), src, p.src.left,
                         p.src.top, p.src.width(), p.src.height(), SRCCOPY);
        }
    }
    ::SetStretchBltMode(dst, oldMode);
}

// A temporary picture of w x h made from pieces of `bmp`.
std::unique_ptr<TBitmap> compose(TBitmap& bmp, int w, int h, const std::vector<SlicePiece>& pieces) {
    auto out = std::make_unique<TBitmap>(w, h);
    if (out->Empty()) return nullptr;
    HDC dst = out->Canvas()->Handle();
    blitPieces(dst, 0, 0, sourceDC(bmp), pieces);
    ::GdiFlush();
    return out;
}

// Draws a finished temporary picture: keyed or copied in one transfer.
void finish(HDC dc, const RECT& r, TBitmap& tmp, bool transparent) {
    if (transparent) {
        DrawTransparent(dc, r, tmp, kSkinKeyColour);
    } else {
        ::BitBlt(dc, r.left, r.top, tmp.Width(), tmp.Height(), sourceDC(tmp), 0, 0, SRCCOPY);
    }
}

// A 1-bit mask, 1 where the pixel is the key colour. Built from the pixels
// rather than by GDI's colour-to-monochrome conversion, so the result does
// not depend on the driver (the fourth byte of a pixel is ignored).
UniqueBitmap keyMask(const PixelView& v, int w, int h, COLORREF key, int x0 = 0, int y0 = 0) {
    const uint32_t keyPixel = ((key & 0xFF) << 16) | (key & 0xFF00) | ((key >> 16) & 0xFF);
    const int stride = ((w + 15) / 16) * 2;  // CreateBitmap rows are WORD aligned
    std::vector<uint8_t> bits(std::size_t(stride) * std::size_t(h), 0);
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = v.row(y0 + y) + x0;
        uint8_t* out = bits.data() + std::size_t(stride) * std::size_t(y);
        for (int x = 0; x < w; ++x)
            if ((row[x] & 0xFFFFFF) == keyPixel) out[x >> 3] |= uint8_t(0x80 >> (x & 7));
    }
    return UniqueBitmap(::CreateBitmap(w, h, 1, 1, bits.data()));
}

}  // namespace

std::unique_ptr<TBitmap> BuildNineSlice(const RECT& target, TBitmap& bmp, const RECT& margins, bool vertical,
                                        bool tile, int frameCount, int frameIndex) {
    const int w = width(target), h = height(target);
    if (w <= 0 || h <= 0 || bmp.Empty()) return nullptr;
    const PixelRect frame = FrameInStrip(bmp.Width(), bmp.Height(), frameCount, frameIndex, vertical);
    return compose(bmp, w, h, NineSlicePieces(w, h, frame, toMargins(margins), tile));
}

void DrawNineSlice(HDC dc, const RECT& r, TBitmap& bmp, bool vertical, bool tile, bool transparent, int frameCount,
                   int frameIndex, const RECT& margins) {
    if (!dc || inverted(r)) return;
    auto tmp = BuildNineSlice(r, bmp, margins, vertical, tile, frameCount, frameIndex);
    if (tmp) finish(dc, r, *tmp, transparent);
}

void DrawThreeSliceTiled(TCanvas& canvas, const RECT& r, TBitmap& bmp, bool vertical, bool transparent,
                         int frameCount, int frameIndex, const RECT& margins) {
    const int w = width(r), h = height(r);
    if (inverted(r) || w <= 0 || h <= 0 || bmp.Empty()) return;
    const PixelRect frame = FrameInStrip(bmp.Width(), bmp.Height(), frameCount, frameIndex, vertical);
    auto tmp = compose(bmp, w, h, ThreeSliceTiledPieces(w, h, frame, margins.left, margins.right));
    if (tmp) finish(canvas.Handle(), r, *tmp, transparent);
}

void DrawThreeSliceStretched(HDC dc, const RECT& r, TBitmap& bmp, bool vertical, int frameCount, int frameIndex,
                             const RECT& margins) {
    const int w = width(r), h = height(r);
    if (!dc || inverted(r) || w <= 0 || h <= 0 || bmp.Empty()) return;
    const PixelRect frame = FrameInStrip(bmp.Width(), bmp.Height(), frameCount, frameIndex, vertical);
    blitPieces(dc, r.left, r.top, sourceDC(bmp),
               ThreeSliceStretchedPieces(w, h, frame, margins.left, margins.right));
}

void DrawFrame(HDC dc, const RECT& r, TBitmap& bmp, bool transparent, int frameCount, int frameIndex) {
    const int w = width(r), h = height(r);
    if (!dc || inverted(r) || w <= 0 || h <= 0 || bmp.Empty()) return;
    const PixelRect frame = FrameInStrip(bmp.Width(), bmp.Height(), frameCount, frameIndex, false);
    // A frame drawn at its own size (caption buttons on hover) goes straight
    // from the strip: no temporary picture to make, fill and free.
    if (transparent && frame.width() == w && frame.height() == h && frame.left >= 0 && frame.top >= 0 &&
        frame.right <= bmp.Width() && frame.bottom <= bmp.Height()) {
        const PixelView v = bmp.View();
        if (!v.empty()) {
            if (UniqueBitmap mask = keyMask(v, w, h, kSkinKeyColour, frame.left, frame.top)) {
                constexpr DWORD kKeepWhereKeyed = 0xCCAA0029;
                if (::MaskBlt(dc, r.left, r.top, w, h, sourceDC(bmp), frame.left, frame.top, mask.get(), 0, 0,
                              kKeepWhereKeyed))
                    return;
            }
        }
    }
    auto tmp = compose(bmp, w, h, {SlicePiece{frame, PixelRect{0, 0, w, h}}});
    if (tmp) finish(dc, r, *tmp, transparent);
}

void DrawFrameCentred(HDC dc, const RECT& r, TBitmap& bmp, bool transparent, int frameCount, int frameIndex) {
    if (!dc || inverted(r) || bmp.Empty()) return;
    const PixelRect frame = FrameInStrip(bmp.Width(), bmp.Height(), frameCount, frameIndex, false);
    const int fw = frame.width(), fh = frame.height();
    auto tmp = compose(bmp, fw, fh, {SlicePiece{frame, PixelRect{0, 0, fw, fh}}});
    if (!tmp) return;
    const PixelRect at = CentredRect(PixelRect{r.left, r.top, r.right, r.bottom}, fw, fh);
    finish(dc, RECT{at.left, at.top, at.right, at.bottom}, *tmp, transparent);
}

void DrawTransparent(HDC dc, const RECT& r, TBitmap& bmp, COLORREF key) {
    if (!dc || inverted(r) || bmp.Empty()) return;
    const int w = std::min(width(r), bmp.Width()), h = std::min(height(r), bmp.Height());
    if (w <= 0 || h <= 0) return;
    const PixelView v = bmp.View();
    HDC src = sourceDC(bmp);
    if (v.empty()) {  // a monochrome picture has no key to look for
        ::BitBlt(dc, r.left, r.top, w, h, src, 0, 0, SRCCOPY);
        return;
    }
    UniqueBitmap mask = keyMask(v, w, h, key);
    if (!mask) return;
    // Where the mask is 1 (key colour) the destination stays; elsewhere the
    // picture is copied.
    constexpr DWORD kKeepWhereKeyed = 0xCCAA0029;
    if (!::MaskBlt(dc, r.left, r.top, w, h, src, 0, 0, mask.get(), 0, 0, kKeepWhereKeyed)) {
        // Without MaskBlt: the picture with its keyed pixels made black,
        // ANDed into a destination whose unkeyed pixels were made black.
        UniqueDC maskDC(::CreateCompatibleDC(dc));
        SelectObjectScope selMask(maskDC.get(), mask.get());
        const COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
        const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
        ::BitBlt(dc, r.left, r.top, w, h, src, 0, 0, SRCINVERT);
        ::BitBlt(dc, r.left, r.top, w, h, maskDC.get(), 0, 0, SRCAND);
        ::BitBlt(dc, r.left, r.top, w, h, src, 0, 0, SRCINVERT);
        ::SetBkColor(dc, oldBk);
        ::SetTextColor(dc, oldText);
    }
}

void TileBitmapDC(HDC dc, const RECT& dest, TBitmap& bmp, const RECT& src) {
    const int sw = width(src), sh = height(src);
    if (!dc || inverted(dest) || sw <= 0 || sh <= 0 || bmp.Empty()) return;
    auto tile = compose(bmp, sw, sh, {SlicePiece{PixelRect{src.left, src.top, src.right, src.bottom},
                                                 PixelRect{0, 0, sw, sh}}});
    if (!tile) return;
    HDC t = sourceDC(*tile);
    for (const PixelRect& p : TilePositions(PixelRect{dest.left, dest.top, dest.right, dest.bottom}, sw, sh))
        ::BitBlt(dc, p.left, p.top, sw, sh, t, 0, 0, SRCCOPY);
}

void TileBitmap(TCanvas& canvas, const RECT& dest, TBitmap& bmp, const RECT& src) {
    TileBitmapDC(canvas.Handle(), dest, bmp, src);
}

bool NineSliceToPixels(const PixelView& dst, const RECT& target, TBitmap& bmp, const RECT& margins, bool vertical,
                       bool tile, int frameCount, int frameIndex) {
    const int w = width(target), h = height(target);
    if (w <= 0 || h <= 0 || bmp.Empty() || dst.empty()) return false;
    const PixelView src = bmp.View();
    if (src.empty()) return false;
    const PixelRect frame = FrameInStrip(bmp.Width(), bmp.Height(), frameCount, frameIndex, vertical);
    const std::vector<SlicePiece> pieces = NineSlicePieces(w, h, frame, toMargins(margins), tile);
    // A strip without middle columns or rows leaves a gap, which the
    // temporary picture of the device-context route fills with black.
    int64_t area = 0;
    for (const SlicePiece& p : pieces) area += int64_t(p.dst.width()) * p.dst.height();
    if (area != int64_t(w) * h) return false;
    return CopyPieces(dst, target.left, target.top, src, pieces);
}

bool KeyedFrameToPixels(const PixelView& dst, int x, int y, int w, int h, TBitmap& strip, int frameCount,
                        int frameIndex) {
    if (w <= 0 || h <= 0 || strip.Empty() || dst.empty()) return false;
    const PixelRect fr = FrameInStrip(strip.Width(), strip.Height(), frameCount, frameIndex, false);
    if (fr.width() != w || fr.height() != h || fr.left < 0 || fr.top < 0 || fr.right > strip.Width() ||
        fr.bottom > strip.Height())
        return false;
    if (x < 0 || y < 0 || int64_t(x) + w > dst.width || int64_t(y) + h > dst.height) return false;
    const PixelView src = strip.View();
    if (src.empty()) return false;
    constexpr uint32_t keyPixel = colourToPixel(kSkinKeyColour);
    for (int row = 0; row < h; ++row) {
        const uint32_t* pic = src.row(fr.top + row) + fr.left;
        uint32_t* out = dst.row(y + row) + x;
        for (int col = 0; col < w; ++col)
            if ((pic[col] & 0xFFFFFF) != keyPixel) out[col] = pic[col];
    }
    return true;
}

UniqueRegion BitmapToRegion(TBitmap& bmp, int dx, int dy, int tolB, int tolG, int tolR, COLORREF key) {
    return BitmapToRegion(bmp.View(), dx, dy, tolB, tolG, tolR, key);
}

UniqueRegion BitmapToRegion(const PixelView& v, int dx, int dy, int tolB, int tolG, int tolR, COLORREF key) {
    UniqueRegion result(::CreateRectRgn(0, 0, 0, 0));
    if (!result || v.empty()) return result;
    const KeyRange range{uint32_t(key), tolB, tolG, tolR};
    std::vector<uint8_t> buffer;
    std::vector<RECT> merged;
    CollectOpaqueRuns(v, range, dx, dy, [&](const RunBatch& batch) {
        // A frame's rows mostly repeat the row above: such a row only makes
        // the rectangles above it taller, which keeps the region small.
        merged.clear();
        std::size_t prevBegin = 0, prevEnd = 0;
        for (std::size_t i = 0; i < batch.rects.size();) {
            std::size_t j = i;
            while (j < batch.rects.size() && batch.rects[j].top == batch.rects[i].top) ++j;
            bool same = prevEnd - prevBegin == j - i && prevEnd > prevBegin && merged[prevBegin].bottom == batch.rects[i].top;
            for (std::size_t k = 0; same && k < j - i; ++k)
                same = merged[prevBegin + k].left == batch.rects[i + k].left &&
                       merged[prevBegin + k].right == batch.rects[i + k].right;
            if (same) {
                for (std::size_t k = prevBegin; k < prevEnd; ++k) merged[k].bottom = batch.rects[i].bottom;
            } else {
                prevBegin = merged.size();
                for (std::size_t k = i; k < j; ++k) {
                    const PixelRect& p = batch.rects[k];
                    merged.push_back(RECT{p.left, p.top, p.right, p.bottom});
                }
                prevEnd = merged.size();
            }
            i = j;
        }
        const std::size_t bytes = sizeof(RGNDATAHEADER) + merged.size() * sizeof(RECT);
        buffer.assign(bytes, 0);
        auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
        data->rdh.dwSize = sizeof(RGNDATAHEADER);
        data->rdh.iType = RDH_RECTANGLES;
        data->rdh.nCount = DWORD(merged.size());
        data->rdh.nRgnSize = DWORD(merged.size() * sizeof(RECT));
        data->rdh.rcBound = RECT{batch.bounds.left, batch.bounds.top, batch.bounds.right, batch.bounds.bottom};
        std::copy(merged.begin(), merged.end(), reinterpret_cast<RECT*>(data->Buffer));
        UniqueRegion part(::ExtCreateRegion(nullptr, DWORD(bytes), data));
        if (part) ::CombineRgn(result.get(), result.get(), part.get(), RGN_OR);
    });
    return result;
}

void PaintParentBackground(TControl* control, HDC dc) {
    if (!control || !dc) return;
    TWinControl* parent = control->Parent();
    if (!parent) return;
    RECT r = control->ClientRect();
    SaveDCScope keep(dc);
    POINT old{};
    ::OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), &old);
    ::OffsetRect(&r, control->Left(), control->Top());
    ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    try {
        parent->Perform(WM_ERASEBKGND, WPARAM(dc), 0);
        parent->Perform(WM_PAINT, WPARAM(dc), 0);
    } catch (...) {
        // A parent that fails while painting at design time must not take
        // the designer down with it; at run time the error goes on.
        if (!control->IsDesigning()) throw;
    }
}

}  // namespace qs
