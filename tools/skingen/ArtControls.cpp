// Push buttons, check boxes, radio buttons, edit-like edges, combo parts,
// tool-bar buttons, group boxes and status-bar edges.
#include <algorithm>

#include "Art.h"

namespace qs::gen {

namespace {

struct Look {
    Px border, top, bottom;
};

Look lookOf(const Theme& t, State s) {
    switch (s) {
    case State::Pressed: return {t.ctlDownBorder, t.ctlDownTop, t.ctlDownBottom};
    case State::Disabled: return {t.ctlOffBorder, t.ctlOffTop, t.ctlOffBottom};
    case State::Hot: return {t.ctlHotBorder, t.ctlHotTop, t.ctlHotBottom};
    case State::Focused: return {t.accent, t.ctlTop, t.ctlBottom};
    case State::Normal: break;
    }
    return {t.ctlBorder, t.ctlTop, t.ctlBottom};
}

constexpr State kButtonOrder[] = {State::Normal, State::Pressed, State::Disabled, State::Hot, State::Focused};

}  // namespace

PixelImage controlFace(const Theme& t, int w, int h, State s, int radius) {
    PixelImage img(w, h, kMagenta);
    Raster r(img);
    r.setMatte(t.face);
    const Look k = lookOf(t, s);
    r.shape(sdRoundRect(0, 0, w, h, radius), k.border);
    r.setMatte(k.border);
    const double inner = std::max(0, radius - 1);
    r.shape(sdRoundRect(1, 1, w - 1, h - 1, inner), vgrad(1, h - 2, k.top, k.bottom));
    if (s != State::Pressed && s != State::Disabled && t.rim > 0)
        r.shape(sdRing(sdRoundRect(1.5, 1.5, w - 1.5, h - 1.5, inner), 0.5), rgb(255, 255, 255), t.rim);
    if (s == State::Pressed)  // a shadow along the top edge reads as pushed in
        r.shape(sdSubtract(sdRoundRect(1, 1, w - 1, 3, inner), sdRoundRect(1, 2, w - 1, h, inner)),
                darken(k.top, 0.12), 0.8);
    if (s == State::Focused)
        r.shape(sdRing(sdRoundRect(1.5, 1.5, w - 1.5, h - 1.5, inner), 0.5), t.accent, 0.45);
    return img;
}

PixelImage drawButtons(const Theme& t) {
    std::vector<PixelImage> frames;
    for (State s : kButtonOrder) frames.push_back(controlFace(t, kButtonW, kButtonH, s, t.radius));
    return hstack(frames);
}

PixelImage drawToolbarButtons(const Theme& t) {
    const int n = 22;
    std::vector<PixelImage> frames;
    for (State s : kButtonOrder) {
        if (s == State::Normal || s == State::Disabled) {
            // At rest a tool button is just the bar behind it: fully keyed out.
            frames.push_back(PixelImage(n, n, kMagenta));
        } else {
            frames.push_back(controlFace(t, n, n, s == State::Focused ? State::Pressed : s, t.radius));
        }
    }
    return hstack(frames);
}

// --- check boxes and radio buttons -------------------------------------------

PixelImage drawCheckBoxes(const Theme& t) {
    const int n = t.checkSize;
    const double rad = std::min(t.radius, n / 4);
    std::vector<PixelImage> frames;
    for (int f = 1; f <= 5; ++f) {
        const bool off = f == 3 || f == 4;
        const bool checked = f == 2 || f == 4;
        PixelImage img(n, n, kMagenta);
        Raster r(img);
        r.setMatte(t.face);
        Px border = off ? t.ctlOffBorder : t.fieldBorder;
        Px top = off ? mix(t.field, t.face, 0.6) : darken(t.field, 0.04), bottom = off ? top : t.field;
        if (t.filledChecks && checked && !off) border = t.accentDark, top = lighten(t.accent, 0.1), bottom = t.accent;
        r.shape(sdRoundRect(0, 0, n, n, rad), border);
        r.setMatte(border);
        r.shape(sdRoundRect(1, 1, n - 1, n - 1, std::max(0.0, rad - 1)), vgrad(1, n - 2, top, bottom));
        r.setMatte(bottom);
        const double c = n / 2.0;
        if (checked) {
            Px mark = off ? t.disabledText : (t.filledChecks ? t.accentText : t.accent);
            drawGlyph(r, Glyph::Check, c, c, n * 0.62, mark, std::max(1.6, n / 7.0));
        }
        if (f == 5) drawGlyph(r, Glyph::Mixed, c, c, n * 0.75, t.accent);
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

PixelImage drawRadioButtons(const Theme& t) {
    const int n = t.checkSize;
    const double c = n / 2.0;
    std::vector<PixelImage> frames;
    for (int f = 1; f <= 5; ++f) {
        const bool off = f == 3 || f == 4;
        const bool checked = f == 2 || f == 4;
        PixelImage img(n, n, kMagenta);
        Raster r(img);
        r.setMatte(t.face);
        Px border = off ? t.ctlOffBorder : (f == 5 ? t.accent : t.fieldBorder);
        Px fill = off ? mix(t.field, t.face, 0.6) : t.field;
        if (t.filledChecks && checked && !off) border = t.accentDark, fill = t.accent;
        r.shape(sdCircle(c, c, c - 0.2), border);
        r.setMatte(border);
        r.shape(sdCircle(c, c, c - 1.2), vgrad(1, n - 2, darken(fill, 0.04), fill));
        r.setMatte(fill);
        if (checked) {
            const Px dot = off ? t.disabledText : (t.filledChecks ? t.accentText : t.accent);
            drawGlyph(r, Glyph::Dot, c, c, n * 0.4, dot);
        }
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

// --- edit edges and combo parts -----------------------------------------------------

PixelImage drawSunkEdge(const Theme& t) {
    const int w = 20, h = kComboH;
    const double rad = std::min(t.radius, 4);
    std::vector<PixelImage> frames;
    for (int f = 1; f <= 4; ++f) {  // normal, pressed, disabled, hot or focused
        PixelImage img(w, h, kMagenta);
        Raster r(img);
        r.setMatte(t.face);
        const Px border = f == 3 ? t.ctlOffBorder : (f == 1 ? t.fieldBorder : t.accent);
        const Px fill = f == 3 ? mix(t.field, t.face, 0.6) : t.field;
        r.shape(sdRoundRect(0, 0, w, h, rad), border);
        r.setMatte(border);
        r.shape(sdRoundRect(1, 1, w - 1, h - 1, std::max(0.0, rad - 1)), fill);
        if (f != 3) r.hline(2, w - 2, 1, mix(fill, t.shadow, 0.25));  // inner shadow under the top edge
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

PixelImage drawComboButton(const Theme& t) {
    const int w = kComboButtonW, h = kComboH;
    const double rad = std::min(t.radius, 4);
    std::vector<PixelImage> frames;
    const State order[] = {State::Normal, State::Pressed, State::Disabled, State::Hot};
    for (State s : order) {
        PixelImage img(w, h, kMagenta);
        Raster r(img);
        r.setMatte(t.face);
        const Look k = lookOf(t, s);
        const Px edge = s == State::Disabled ? t.ctlOffBorder : (s == State::Normal ? t.fieldBorder : t.accent);
        r.shape(sdRoundRect4(-4, 0, w, h, 0, rad, rad, 0), edge);
        r.setMatte(edge);
        r.shape(sdRoundRect4(1, 1, w - 1, h - 1, 0, std::max(0.0, rad - 1), std::max(0.0, rad - 1), 0),
                vgrad(1, h - 2, k.top, k.bottom));
        r.vline(0, 1, h - 1, mix(edge, k.top, 0.35));
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

PixelImage drawExtraImages(const Theme& t) {
    const int n = 12;
    std::vector<PixelImage> frames;
    const Px colours[] = {t.text, t.text, t.disabledText, t.accentDark};
    const Glyph g = t.chevrons ? Glyph::ChevronDown : Glyph::ArrowDown;
    for (int f = 0; f < 4; ++f) {
        PixelImage img(n, n, kMagenta);
        Raster r(img);
        r.setMatte(t.ctlTop);
        const double shift = f == 1 ? 0.5 : 0;
        drawGlyph(r, g, 6 + shift, 6.5 + shift, t.chevrons ? 7 : 8, colours[f], 1.6);
        frames.push_back(std::move(img));
    }
    PixelImage grip(n, n, kMagenta);
    Raster r(grip);
    drawSizeGrip(r, {0, 0, n, n}, mix(t.face, t.dkShadow, 0.55), mix(t.face, t.hilight, 0.8));
    frames.push_back(std::move(grip));
    return hstack(frames);
}

// --- group boxes and status bars -------------------------------------------------------

PixelImage drawGroupEdge(const Theme& t) {
    const int n = 16;
    const double rad = std::min(t.radius + 1, 5);
    std::vector<PixelImage> frames;
    for (bool enabled : {true, false}) {
        PixelImage img(n, n, kMagenta);
        Raster r(img);
        r.setMatte(t.face);
        const Px line = enabled ? mix(t.face, t.shadow, 0.8) : mix(t.face, t.shadow, 0.45);
        r.shape(sdRing(sdRoundRect(0.5, 0.5, n - 0.5, n - 0.5, rad), 0.5), line);
        r.shape(sdRing(sdRoundRect(1.5, 1.5, n - 1.5, n - 1.5, rad - 1), 0.5), t.hilight, 0.5);
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

PixelImage drawGroupLabel(const Theme& t) {
    const int w = 24, h = 18;
    PixelImage img(w, h, kMagenta);
    Raster r(img);
    r.setMatte(t.face);
    const Px fill = mix(t.face, t.accent, 0.12);
    r.shape(sdRoundRect(0, 1, w, h - 1, (h - 2) / 2.0), mix(fill, t.accent, 0.3));
    r.setMatte(fill);
    r.shape(sdRoundRect(1, 2, w - 1, h - 2, (h - 4) / 2.0), fill);
    return img;
}

PixelImage drawStatusEdges(const Theme& t) {
    const int n = 12;
    std::vector<PixelImage> frames;
    const Px dark = mix(t.face, t.shadow, 0.7), light = mix(t.face, t.hilight, 0.8);
    for (int f = 1; f <= 3; ++f) {
        PixelImage img(n, n, t.face);  // copied opaque: no keyed pixels
        Raster r(img);
        if (f == 1) r.bevel({0, 0, n, n}, dark, light);
        if (f == 2) r.bevel({0, 0, n, n}, light, dark);
        if (f == 3) r.vline(n - 1, 2, n - 2, dark);
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

}  // namespace qs::gen
