// Window frame, caption buttons and menus.
#include <algorithm>
#include <cmath>

#include "Art.h"

namespace qs::gen {

namespace {

// A faint diagonal grain; its period divides the tiled lengths so tiling
// shows no seam.
Px grain(const Theme& t, Px c, int x, int y) {
    if (t.textureStep <= 0) return c;
    return ((x + y) % t.textureStep == 0) ? lighten(c, 0.06) : c;
}

}  // namespace

PixelImage drawWindowFrame(const Theme& t, bool active, int w, int h) {
    PixelImage img(w, h, kMagenta);
    Raster r(img);
    const Px outline = active ? t.outline : t.outlineI;
    const Px top = active ? t.titleTop : t.titleTopI, bottom = active ? t.titleBottom : t.titleBottomI;
    const Px fill = active ? t.frameFill : t.frameFillI;
    // Cut corners blend toward a dark shade of the outline: it reads as the
    // window's edge on light and dark desktops alike.
    r.setMatte(darken(outline, 0.25));
    const double ct = t.cornerTop, cb = t.cornerBottom;
    r.shape(sdRoundRect4(0, 0, w, h, ct, ct, cb, cb), outline);
    const Brush body = [&](int x, int y) {
        const Px c = y < t.titleH ? mix(top, bottom, double(y) / std::max(1, t.titleH - 1)) : fill;
        return grain(t, c, x, y);
    };
    r.setMatte(outline);
    const double o = t.scale;  // the outline is one 96-dpi pixel wide
    r.shape(sdRoundRect4(o, o, w - o, h - o, std::max(0.0, ct - o), std::max(0.0, ct - o), std::max(0.0, cb - o),
                         std::max(0.0, cb - o)),
            body);
    // A soft highlight just inside the top edge.
    const Sdf inner = sdRoundRect4(1, 1, w - 1, h - 1, ct, ct, 0, 0);
    for (int x = 1; x < w - 1; ++x)
        if (inner(x + 0.5, 1.5) < -0.5) r.blend(x, 1, rgb(255, 255, 255), active ? 0.45 : 0.3);
    // The line around the client area (and under the title).
    const Px inl = active ? t.frameInner : t.frameInnerI;
    for (int i = 1; i <= t.scale; ++i) r.frame({t.sideW - i, t.titleH - i, w - t.sideW + i, h - t.bottomH + i}, inl);
    r.fill({t.sideW, t.titleH, w - t.sideW, h - t.bottomH}, kMagenta);
    return img;
}

FramePieces drawFrame(const Theme& t) {
    const int W = t.topStripW + 2 * t.sideW, H = t.titleH + t.sideMid + t.bottomH;
    FramePieces p;
    std::vector<PixelImage> left, right, top, bottom;
    for (bool active : {true, false}) {
        const PixelImage m = drawWindowFrame(t, active, W, H);
        left.push_back(crop(m, {0, 0, t.sideW, H}));
        right.push_back(crop(m, {W - t.sideW, 0, W, H}));
        top.push_back(crop(m, {t.sideW, 0, W - t.sideW, t.titleH}));
        const int bx = t.sideW + (t.topStripW - t.bottomStripW) / 2;
        bottom.push_back(crop(m, {bx, H - t.bottomH, bx + t.bottomStripW, H}));
    }
    p.left = hstack(left);
    p.right = hstack(right);
    p.top = vstack(top);
    p.bottom = vstack(bottom);
    // The part of a rounded corner that reaches past the side border stays
    // unstretched; rounded up to the grain period so tiling starts in phase.
    if (t.cornerTop > 0) {
        int fixed = std::max(0, t.cornerTop - t.sideW + 2);
        if (t.textureStep > 0) fixed = (fixed + t.textureStep - 1) / t.textureStep * t.textureStep;
        p.topLeftFixed = p.topRightFixed = fixed;
    }
    return p;
}

// --- caption buttons ------------------------------------------------------------

namespace {

// The colour a round caption button wears for its action.
Px circleColour(const Theme& t, Glyph g) {
    switch (g) {
    case Glyph::Close: return t.closeHot;
    case Glyph::Minimize: return rgb(226, 178, 84);
    case Glyph::Help: return rgb(118, 146, 186);
    default: return t.accent;
    }
}

// frame: 1 normal, 2 pressed, 3 hot, 4 inactive or disabled.
PixelImage captionFrame(const Theme& t, Glyph g, int frame, int w, int h, Px matte, double glyphScale) {
    PixelImage img(w, h, kMagenta);
    Raster r(img);
    r.setMatte(matte);
    const bool close = g == Glyph::Close;
    const double cx = w / 2.0, cy = h / 2.0;
    const double gs = std::min(w, h) * glyphScale;
    const double stroke = std::clamp(gs / 5.5, 1.2 * t.scale, 1.7 * t.scale);
    Px glyph = frame == 4 ? t.glyphI : t.glyph;
    switch (t.captionStyle) {
    case CaptionStyle::Boxed: {
        Px b = t.capBorder, c0 = t.capTop, c1 = t.capBottom;
        if (frame == 3) b = t.capHotBorder, c0 = t.capHotTop, c1 = t.capHotBottom;
        if (frame == 2) b = t.accentDark, c0 = t.ctlDownTop, c1 = t.ctlDownBottom;
        if (frame == 4) b = t.outlineI, c0 = lighten(t.titleTopI, 0.4), c1 = t.titleBottomI;
        if (close && (frame == 2 || frame == 3)) {
            b = darken(t.closeHot, 0.25);
            c0 = frame == 3 ? lighten(t.closeHot, 0.15) : t.closeDown;
            c1 = frame == 3 ? t.closeHot : darken(t.closeDown, 0.1);
            glyph = rgb(255, 255, 255);
        }
        r.shape(sdRoundRect(0, 0, w, h, t.radius), b);
        r.setMatte(b);
        r.shape(sdRoundRect(1, 1, w - 1, h - 1, std::max(0, t.radius - 1)), vgrad(1, h - 2, c0, c1));
        // A light inner rim keeps the face from looking flat.
        r.shape(sdRing(sdRoundRect(1.5, 1.5, w - 1.5, h - 1.5, std::max(0, t.radius - 1)), 0.5),
                rgb(255, 255, 255), frame == 2 ? 0.1 : 0.45);
        break;
    }
    case CaptionStyle::Tiles: {
        if (frame == 2 || frame == 3) {
            Px c = frame == 3 ? lighten(t.titleTop, 0.14) : darken(t.titleTop, 0.25);
            if (close) {
                c = frame == 3 ? t.closeHot : t.closeDown;
                glyph = rgb(255, 255, 255);
            }
            r.fill({0, 0, w, h}, c);
        }
        break;
    }
    case CaptionStyle::Circles: {
        const double rad = std::min(w, h) / 2.0 - 0.5;
        Px c = circleColour(t, g);
        if (frame == 2) c = darken(c, 0.2);
        if (frame == 3) c = lighten(c, 0.15);
        if (frame == 4) c = mix(t.titleBottomI, t.outlineI, 0.35);
        r.shape(sdCircle(cx, cy, rad), darken(c, 0.25));
        r.setMatte(darken(c, 0.25));
        r.shape(sdCircle(cx, cy, rad - 1), vgrad(1, h - 2, lighten(c, 0.25), c));
        glyph = frame == 4 ? mix(c, t.titleBottomI, 0.5) : darken(c, 0.6);
        if (frame == 1) glyph = mix(glyph, c, 0.35);  // quiet until pointed at
        r.setMatte(c);
        break;
    }
    }
    const double shift = frame == 2 ? 0.5 : 0;
    drawGlyph(r, g, cx + shift, cy + shift, gs, glyph, stroke);
    return img;
}

Px titleMatte(const Theme& t, int y, int h) {
    const double mid = (y + h / 2.0) / std::max(1, t.titleH - 1);
    return mix(t.titleTop, t.titleBottom, mid);
}

}  // namespace

PixelImage drawCaptionButton(const Theme& t, Glyph g) {
    const Px matte = titleMatte(t, t.capY, t.capH);
    const double scale = t.captionStyle == CaptionStyle::Circles ? 0.42 : 0.45;
    std::vector<PixelImage> frames;
    for (int f : {1, 2, 3, 4, 3, 2}) frames.push_back(captionFrame(t, g, f, t.capW, t.capH, matte, scale));
    return hstack(frames);
}

PixelImage drawIconButton(const Theme& t) {
    // A small window: what the icon button shows when a window has no icon.
    PixelImage img(16, 16, kMagenta);
    Raster r(img);
    r.setMatte(titleMatte(t, t.iconY, 16));
    r.shape(sdRoundRect(1, 2, 15, 14, 2), t.accentDark);
    r.setMatte(t.accentDark);
    r.shape(sdRoundRect(2, 3, 14, 13, 1), t.window);
    r.fill({2, 3, 14, 6}, t.accent);
    return img;
}

PixelImage drawTextBack(const Theme& t) {
    // The title's own gradient, so caption text backed by it sits seamlessly.
    PixelImage img(16, t.titleH, kMagenta);
    Raster r(img);
    r.gradientV({0, 0, 16, t.titleH}, t.titleTop, t.titleBottom);
    return img;
}

PixelImage drawMdiControls(const Theme& t, int a) {
    const Px matte = mix(t.menuBarTop, t.menuBarBottom, 0.5);
    std::vector<PixelImage> frames;
    for (Glyph g : {Glyph::Minimize, Glyph::Restore, Glyph::Close})
        for (int f : {1, 2, 3, 3}) {
            Theme small = t;
            small.radius = std::min(t.radius, 2);
            frames.push_back(captionFrame(small, g, f, a, a, matte, 0.5));
        }
    return hstack(frames);
}

// --- menus ----------------------------------------------------------------------

PixelImage drawMenuBar(const Theme& t) {
    const int w = 32, h = 20;
    std::vector<PixelImage> frames;
    for (bool active : {true, false}) {
        PixelImage f(w, h);
        Raster r(f);
        Px a = t.menuBarTop, b = t.menuBarBottom;
        if (!active) a = mix(a, t.face, 0.6), b = mix(b, t.face, 0.6);
        r.gradientV({0, 0, w, h}, a, b);
        r.hline(0, w, h - 1, mix(b, t.shadow, 0.5));
        frames.push_back(std::move(f));
    }
    return vstack(frames);
}

PixelImage drawMenuItem(const Theme& t) {
    const int w = 24, h = 20;
    std::vector<PixelImage> frames;
    for (int f = 1; f <= 5; ++f) {
        PixelImage img(w, h, kMagenta);
        Raster r(img);
        r.setMatte(t.menu);
        const int rad = std::min(t.radius, 3);
        if (f == 2) {
            // Separator: the band is cut from the bottom of the frame.
            r.hline(2, w - 2, h - 5, mix(t.menu, t.shadow, 0.7));
            r.hline(2, w - 2, h - 4, mix(t.menu, t.hilight, 0.7));
        } else if (f == 3) {
            r.shape(sdRoundRect(1, 1, w - 1, h - 1, rad), mix(t.menu, t.shadow, 0.2));
        } else if (f >= 4) {
            const Px sel = f == 4 ? t.menuSel : lighten(t.menuSel, 0.3);
            r.shape(sdRoundRect(1, 1, w - 1, h - 1, rad), darken(sel, 0.18));
            r.setMatte(darken(sel, 0.18));
            r.shape(sdRoundRect(2, 2, w - 2, h - 2, std::max(0, rad - 1)), vgrad(2, h - 3, lighten(sel, 0.12), sel));
        }
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

PixelImage drawMenuBackground(const Theme& t) {
    const int w = 48, h = 48;
    PixelImage img(w, h, t.menu);
    Raster r(img);
    r.fill({3, 3, kMenuGutter - 1, h - 3}, t.menuGutter);
    if (t.menuGutter != t.menu) r.vline(kMenuGutter - 1, 3, h - 3, mix(t.menuGutter, t.shadow, 0.35));
    r.frame({0, 0, w, h}, t.menuBorder);
    r.frame({1, 1, w - 1, h - 1}, mix(t.menu, t.hilight, 0.5));
    return img;
}

}  // namespace qs::gen
