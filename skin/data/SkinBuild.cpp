#include "SkinBuild.h"

#include <algorithm>

#include "Colour.h"
#include "ColourGradient.h"
#include "PixelOps.h"

namespace qs {

namespace {

PixelRect viewRect(const PixelView& v) { return PixelRect{0, 0, v.width, v.height}; }

bool isMagenta(uint32_t p) { return (p & 0xFFFFFF) == kMagentaPixel; }

// Copies `sr` of `src` onto `d` of `dst`, stretched by nearest pixel, writing
// only inside `clip`. Source positions outside the source view are skipped.
void copyStretched(const PixelView& dst, PixelRect d, const PixelView& src, PixelRect sr, PixelRect clip,
                   bool transparent) {
    if (d.empty() || sr.empty() || src.empty() || dst.empty()) return;
    const PixelRect out = d.intersect(clip).intersect(viewRect(dst));
    for (int y = out.top; y < out.bottom; ++y) {
        const int sy = sr.top + int(int64_t(y - d.top) * sr.height() / d.height());
        if (sy < 0 || sy >= src.height) continue;
        for (int x = out.left; x < out.right; ++x) {
            const int sx = sr.left + int(int64_t(x - d.left) * sr.width() / d.width());
            if (sx < 0 || sx >= src.width) continue;
            const uint32_t p = src.at(sx, sy);
            if (transparent && isMagenta(p)) continue;
            dst.at(x, y) = p;
        }
    }
}

// Repeats `sr` of `src` over `d` from its top-left corner.
void copyTiled(const PixelView& dst, PixelRect d, const PixelView& src, PixelRect sr, PixelRect clip,
               bool transparent) {
    if (d.empty() || sr.empty()) return;
    for (int y = d.top; y < d.bottom; y += sr.height())
        for (int x = d.left; x < d.right; x += sr.width()) {
            const PixelRect piece{x, y, x + sr.width(), y + sr.height()};
            copyStretched(dst, piece, src, sr, clip.intersect(d), transparent);
        }
}

}  // namespace

PixelRect stripFrameRect(int stripWidth, int stripHeight, int frameCount, int frame) {
    if (frameCount < 1) frameCount = 1;
    const int fw = stripWidth / frameCount;
    return PixelRect{fw * (frame - 1), 0, fw * frame, stripHeight};
}

void drawNineSlice(const PixelView& dst, PixelRect dest, const PixelView& src, int frameCount, int frame,
                   TMargins m, bool tile, bool transparent) {
    if (dest.empty() || src.empty()) return;
    const PixelRect f = stripFrameRect(src.width, src.height, frameCount, frame);
    const int W = dest.width(), H = dest.height();
    const int fw = f.width(), fh = f.height();
    int L = std::max(m.left, 0), R = std::max(m.right, 0), T = std::max(m.top, 0), B = std::max(m.bottom, 0);
    // In 64 bits: a skin may give margins near the int limit.
    if (int64_t(W) < int64_t(L) + R) L = R = 0;
    if (int64_t(H) < int64_t(T) + B) T = B = 0;
    const int ox = f.left, oy = f.top, x0 = dest.left, y0 = dest.top;
    auto piece = [&](int dl, int dt, int dr, int db, int sl, int st, int sr, int sb, bool tiled) {
        const PixelRect d{x0 + dl, y0 + dt, x0 + dr, y0 + db};
        const PixelRect s{ox + sl, oy + st, ox + sr, oy + sb};
        if (tiled)
            copyTiled(dst, d, src, s, dest, transparent);
        else
            copyStretched(dst, d, src, s, dest, transparent);
    };
    piece(0, 0, L, T, 0, 0, L, T, false);                                 // top-left
    piece(0, H - B, L, H, 0, fh - B, L, fh, false);                       // bottom-left
    piece(W - R, 0, W, T, fw - R, 0, fw, T, false);                       // top-right
    piece(0, T, L, H - B, 0, T, L, fh - B, false);                        // left edge
    piece(L, 0, W - R, T, L, 0, fw - R, T, false);                        // top edge
    piece(L, T, W - R, H - B, L, T, fw - R, fh - B, tile);                // centre
    piece(W - R, H - B, W, H, fw - R, fh - B, fw, fh, false);             // bottom-right
    piece(W - R, T, W, H - B, fw - R, T, fw, fh - B, false);              // right edge
    piece(L, H - B, W - R, H, L, fh - B, fw - R, fh, false);              // bottom edge
}

void drawFrameCentred(const PixelView& dst, PixelRect dest, const PixelView& src, int frameCount, int frame,
                      bool transparent) {
    if (dest.empty() || src.empty()) return;
    const PixelRect f = stripFrameRect(src.width, src.height, frameCount, frame);
    const int x = dest.left + (dest.width() - f.width()) / 2;
    const int y = dest.top + (dest.height() - f.height()) / 2;
    copyStretched(dst, PixelRect{x, y, x + f.width(), y + f.height()}, src, f, dest, transparent);
}

void fillRect(const PixelView& dst, PixelRect r, uint32_t pixel) {
    r = r.intersect(viewRect(dst));
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) dst.at(x, y) = pixel;
}

int computedCheckFrames(int width, int height) {
    const int unit = height < 16 ? 13 : 16;
    return std::max(width / unit, 4);
}

int computedCaptionFrames(int frameKey, int action, int width, int height, bool& clearImage) {
    clearImage = false;
    if (frameKey != 0) return frameKey;
    int frames = 6;
    if (width > 0 && height > 0) {
        // width / height <= 3.8, in integers
        frames = int64_t(width) * 5 <= int64_t(height) * 19 ? 3 : 6;
        if (action < 0) frames = 6;
    }
    clearImage = action == 3 || action == 11;
    return frames;
}

TMdiButtonCut mdiButtonCut(int imageWidth, int index) {
    const int a = imageWidth / 12;
    return TMdiButtonCut{a * 4 * index, a * 4, (a + 4) * (3 - index)};
}

PixelImage buildComboComposite(const TStripSource& sunkEdge, const TStripSource& button, const TStripSource* glyphs,
                               int cells, int buttonWidth) {
    if (cells < 1) return {};
    PixelImage strip(kComboCellWidth * cells, kComboCellHeight, kMagentaPixel);
    const PixelView v = strip.view();
    for (int k = 1; k <= cells; ++k) {
        const PixelRect cell{kComboCellWidth * (k - 1), 0, kComboCellWidth * k, kComboCellHeight};
        drawNineSlice(v, cell, sunkEdge.view, sunkEdge.frames, k, sunkEdge.margins, sunkEdge.tile,
                      sunkEdge.transparent);
        const PixelRect area{cell.right - buttonWidth, 0, cell.right, kComboCellHeight};
        drawNineSlice(v, area, button.view, button.frames, k, button.margins, button.tile, true);
        if (glyphs && !glyphs->view.empty()) drawFrameCentred(v, area, glyphs->view, glyphs->frames, k, true);
        fillRect(v, PixelRect{cell.left + 2, 2, cell.left + 49 - buttonWidth, 18}, kMagentaPixel);
    }
    return strip;
}

PixelImage comboArrowStrip(const PixelView& composite, int cells) {
    if (cells < 1 || composite.empty()) return {};
    PixelImage strip(kComboArrowSize * cells, kComboArrowSize, kMagentaPixel);
    const PixelView v = strip.view();
    const int w = composite.width / cells;
    for (int k = 1; k <= cells; ++k) {
        const PixelRect from{k * w - 19, 2, k * w - 2, 19};
        const PixelRect to{kComboArrowSize * (k - 1), 0, kComboArrowSize * k, kComboArrowSize};
        copyStretched(v, to, composite, from, to, false);
    }
    return strip;
}

int32_t borderColourOf(const PixelView& top, int frames, int32_t fallback) {
    if (top.empty() || frames < 1) return fallback;
    const int frameHeight = top.height / frames;
    if (frameHeight <= 0) return fallback;
    return int32_t(pixelToColour(top.at(top.width / 3, frameHeight / 3) & 0xFFFFFF));
}

int32_t toolbarTopColour(int32_t buttonFace) { return MixColours(buttonFace, rgbColour(255, 255, 255), 150); }

int32_t toolbarBottomColour(int32_t borderColour) {
    const int s = ColourSaturation(borderColour);
    if (s > 110) return MixColours(borderColour, rgbColour(255, 255, 255), (5625 - 25 * s) / 140 + 50);
    return MixColours(rgbColour(128, 128, 128), borderColour, 150);
}

PixelImage toolbarGradient(int32_t buttonFace, int32_t borderColour) {
    PixelImage img(kToolbarWidth, kToolbarHeight);
    GradientFill(img.view(), PixelRect{0, 0, kToolbarWidth, kToolbarHeight}, toolbarTopColour(buttonFace), true,
                 toolbarBottomColour(borderColour));
    return img;
}

void replaceMagentaWith(const PixelView& v, int32_t colour) { ReplaceMagenta(v, resolveColour(colour)); }

void mirrorPixels(const PixelView& v) {
    MirrorBitmap(v);
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) v.at(x, y) &= 0xFFFFFF;
}

}  // namespace qs
