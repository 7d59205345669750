// Scroll bars, tabs, headers, progress bars, track bars and up-down buttons.
#include <algorithm>

#include "Art.h"

namespace qs::gen {

namespace {

constexpr State kArrowOrder[] = {State::Normal, State::Pressed, State::Disabled, State::Hot};

Glyph arrowGlyph(const Theme& t, int dir) {  // 0 left, 1 right, 2 up, 3 down
    static constexpr Glyph filled[] = {Glyph::ArrowLeft, Glyph::ArrowRight, Glyph::ArrowUp, Glyph::ArrowDown};
    static constexpr Glyph open[] = {Glyph::ChevronLeft, Glyph::ChevronRight, Glyph::ChevronUp,
                                     Glyph::ChevronDown};
    return t.chevrons ? open[dir] : filled[dir];
}

Px glyphColour(const Theme& t, State s) {
    if (s == State::Disabled) return t.disabledText;
    if (s == State::Hot || s == State::Pressed) return t.accentDark;
    return t.text;
}

// An arrow button of a scroll bar or an up-down control.
PixelImage arrowButton(const Theme& t, int w, int h, State s, int dir, double glyph) {
    PixelImage img;
    if (t.rim > 0) {
        img = controlFace(t, w, h, s, std::min(t.radius, 3));
    } else {
        // Flat skins: the arrow sits on the track; only hot and pressed light up.
        img = PixelImage(w, h, t.track);
        Raster r(img);
        if (s == State::Hot) r.fill({0, 0, w, h}, lighten(t.track, 0.12));
        if (s == State::Pressed) r.fill({0, 0, w, h}, t.ctlDownTop);
    }
    Raster r(img);
    r.setMatte(lookColour(t, s));
    const double shift = s == State::Pressed ? 0.5 : 0;
    drawGlyph(r, arrowGlyph(t, dir), w / 2.0 + shift, h / 2.0 + shift, glyph, glyphColour(t, s), 1.7);
    return img;
}

}  // namespace

Px lookColour(const Theme& t, State s) {
    switch (s) {
    case State::Pressed: return t.ctlDownTop;
    case State::Disabled: return t.ctlOffTop;
    case State::Hot: return t.ctlHotTop;
    default: return t.ctlTop;
    }
}

// --- scroll bars ------------------------------------------------------------------

PixelImage drawScrollParts(const Theme& t) {
    const int n = kScrollSize;
    std::vector<PixelImage> frames;
    for (int dir : {0, 1, 2, 3})
        for (State s : kArrowOrder) frames.push_back(arrowButton(t, n, n, s, dir, t.chevrons ? 7 : 8));
    // Thumb grips: horizontal thumb (upright lines), then vertical thumb.
    for (bool horizontal : {true, false})
        for (State s : {State::Normal, State::Pressed, State::Hot}) {
            PixelImage img(n, n, kMagenta);
            Raster r(img);
            const Px base = s == State::Pressed ? t.accentDark : (s == State::Hot ? t.accent : t.thumbBorder);
            drawGrip(r, n / 2.0 - 1, n / 2.0 - 1, horizontal, 7, mix(base, t.thumbBottom, 0.2),
                     mix(t.thumbTop, t.hilight, 0.5));
            frames.push_back(std::move(img));
        }
    frames.push_back(PixelImage(n, n, t.face));  // the corner between two bars
    return hstack(frames);
}

PixelImage drawScrollTrack(const Theme& t, bool vertical) {
    const int along = 8, across = kScrollSize;
    std::vector<PixelImage> frames;
    const Px fills[] = {t.track, darken(t.track, 0.1), mix(t.track, t.face, 0.5), lighten(t.track, 0.05)};
    for (Px fill : fills) {
        PixelImage img(along, across, fill);
        Raster r(img);
        r.hline(0, along, 0, mix(fill, t.shadow, 0.25));  // edge toward the content
        // Turned and mirrored, the edge faces left: a vertical bar's content.
        frames.push_back(vertical ? mirrored(turnedRight(std::move(img))) : std::move(img));
    }
    return hstack(frames);
}

PixelImage drawScrollThumb(const Theme& t, bool vertical) {
    const int along = 24, across = kScrollSize;
    std::vector<PixelImage> frames;
    for (State s : {State::Normal, State::Pressed, State::Hot}) {
        PixelImage img(along, across, kMagenta);
        Raster r(img);
        r.setMatte(t.track);
        const double inset = t.rim > 0 ? 1 : 3;
        const double rad = std::min<double>(t.radius + 1, (across - 2 * inset) / 2.0);
        Px border = t.thumbBorder, top = t.thumbTop, bottom = t.thumbBottom;
        if (s == State::Pressed) border = t.accentDark, top = darken(t.thumbTop, 0.1), bottom = darken(t.thumbBottom, 0.1);
        if (s == State::Hot) border = t.accent, top = lighten(t.thumbTop, 0.1), bottom = lighten(t.thumbBottom, 0.1);
        r.shape(sdRoundRect(0.5, inset, along - 0.5, across - inset, rad), border);
        r.setMatte(border);
        r.shape(sdRoundRect(1.5, inset + 1, along - 1.5, across - inset - 1, std::max(0.0, rad - 1)),
                vgrad(int(inset) + 1, across - int(inset) - 2, top, bottom));
        frames.push_back(vertical ? turnedRight(std::move(img)) : std::move(img));
    }
    return hstack(frames);
}

// --- tabs and headers ---------------------------------------------------------------

PixelImage drawTabs(const Theme& t) {
    const int w = 24, h = 22;
    const double rad = std::min(t.radius + 1, 6);
    std::vector<PixelImage> frames;
    // normal, selected, disabled, hot, selected with focus
    for (int f = 1; f <= 5; ++f) {
        const bool sel = f == 2 || f == 5;
        PixelImage img(w, h, kMagenta);
        Raster r(img);
        r.setMatte(t.face);
        const Px border = f == 3 ? t.ctlOffBorder : (f == 4 ? t.ctlHotBorder : t.ctlBorder);
        Px top = sel ? lighten(t.face, 0.35) : t.ctlTop, bottom = sel ? t.face : t.ctlBottom;
        if (f == 3) top = bottom = t.ctlOffTop;
        if (f == 4) top = t.ctlHotTop, bottom = t.ctlHotBottom;
        // The tab control already gives unselected tabs a lower rectangle.
        r.shape(sdRoundRect4(0, 0, w, h + 4, rad, rad, 0, 0), border);
        r.setMatte(border);
        r.shape(sdRoundRect4(1, 1, w - 1, h + 4, rad - 1, rad - 1, 0, 0), vgrad(1, h - 1, top, bottom));
        if (sel) {
            r.shape(sdRoundRect4(1, 1, w - 1, 3.5, rad - 1, rad - 1, 0, 0), t.accent);
            if (f == 5) r.shape(sdRing(sdRoundRect4(3.5, 5.5, w - 3.5, h - 2.5, 2, 2, 2, 2), 0.5), t.accent, 0.5);
        } else {
            r.hline(0, w, h - 1, border);  // unselected tabs stand on the pane's edge
        }
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

namespace {
PixelImage pane(const Theme& t) {
    const int n = 24;
    PixelImage img(n, n, t.face);
    Raster r(img);
    r.frame({0, 0, n, n}, t.ctlBorder);
    r.hline(1, n - 1, 1, mix(t.face, t.hilight, 0.6));
    r.vline(1, 1, n - 1, mix(t.face, t.hilight, 0.6));
    return img;
}
}  // namespace

PixelImage drawTabBorder(const Theme& t) { return pane(t); }
PixelImage drawTabPane(const Theme& t) { return pane(t); }

PixelImage drawHeader(const Theme& t) {
    const int w = 20, h = 20;
    std::vector<PixelImage> frames;
    // normal, hot, pressed, disabled, sorted
    for (int f = 1; f <= 5; ++f) {
        PixelImage img(w, h);
        Raster r(img);
        Px top = lighten(t.ctlTop, 0.2), bottom = t.ctlBottom;
        if (f == 2) top = t.ctlHotTop, bottom = t.ctlHotBottom;
        if (f == 3) top = t.ctlDownTop, bottom = t.ctlDownBottom;
        if (f == 4) top = bottom = t.ctlOffTop;
        r.gradientV({0, 0, w, h}, top, bottom);
        r.hline(0, w, h - 1, t.ctlBorder);
        r.vline(w - 1, 3, h - 3, mix(bottom, t.ctlBorder, 0.7));
        r.vline(w - 2, 3, h - 3, mix(bottom, t.hilight, 0.5));
        if (f == 5) r.fill({0, h - 3, w, h - 1}, t.accent);
        if (f == 2) r.fill({0, h - 2, w, h - 1}, t.accent);
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

// --- progress and track bars ------------------------------------------------------------

PixelImage drawProgress(const Theme& t) {
    const int w = 20, h = 14;
    const double rad = std::min(t.radius + 1, h / 2);
    PixelImage trough(w, h, kMagenta), bar(w, h, kMagenta);
    {
        Raster r(trough);
        r.setMatte(t.face);
        r.shape(sdRoundRect(0, 0, w, h, rad), t.fieldBorder);
        r.setMatte(t.fieldBorder);
        r.shape(sdRoundRect(1, 1, w - 1, h - 1, rad - 1), vgrad(1, h - 2, darken(t.field, 0.06), t.field));
    }
    {
        Raster r(bar);
        r.setMatte(t.field);
        r.shape(sdRoundRect(0, 0, w, h, rad), t.accentDark);
        r.setMatte(t.accentDark);
        r.shape(sdRoundRect(1, 1, w - 1, h - 1, rad - 1), vgrad(1, h - 2, t.progressTop, t.progressBottom));
        r.shape(sdRoundRect(2, 2, w - 2, h / 2.0, rad - 2), rgb(255, 255, 255), 0.25);
    }
    return hstack({trough, bar});
}

PixelImage drawProgressChunk(const Theme& t) {
    const int w = 10, h = 10;
    PixelImage img(w, h, t.field);
    Raster r(img);
    r.gradientV({0, 0, w - 2, h}, t.progressTop, t.progressBottom);
    return img;
}

PixelImage drawTrack(const Theme& t, bool vertical) {
    const int along = 16, across = 6;
    PixelImage img(along, across, kMagenta);
    Raster r(img);
    r.setMatte(t.face);
    r.shape(sdRoundRect(0, 0, along, across, 2.5), t.fieldBorder);
    r.setMatte(t.fieldBorder);
    r.shape(sdRoundRect(1, 1, along - 1, across - 1, 1.5), darken(t.field, 0.08));
    return vertical ? turnedRight(std::move(img)) : img;
}

PixelImage drawTrackThumb(const Theme& t, ThumbKind k) {
    // Drawn upright (pointing down for the pointed kinds), then turned.
    const int w = 11, h = 19;
    std::vector<PixelImage> frames;
    for (int f = 1; f <= 5; ++f) {  // normal, normal, disabled, hot, pressed
        const State s = f == 3 ? State::Disabled : (f == 4 ? State::Hot : (f == 5 ? State::Pressed : State::Normal));
        PixelImage img(w, h, kMagenta);
        Raster r(img);
        r.setMatte(t.face);
        Px border = s == State::Disabled ? t.ctlOffBorder : t.thumbBorder;
        if (s == State::Hot || s == State::Pressed) border = t.accentDark;
        Px top = s == State::Hot ? lighten(t.thumbTop, 0.12) : t.thumbTop;
        Px bottom = s == State::Pressed ? darken(t.thumbBottom, 0.12) : t.thumbBottom;
        if (s == State::Disabled) top = bottom = t.ctlOffTop;
        Sdf outer, inner;
        if (k == ThumbKind::Horz || k == ThumbKind::Vert) {
            outer = sdRoundRect(0, 0, w, h, 3);
            inner = sdRoundRect(1, 1, w - 1, h - 1, 2);
        } else {
            outer = sdPolygon({0, 0, w, 0, w, h - 6.0, w / 2.0, h, 0, h - 6.0});
            inner = sdPolygon({1, 1, w - 1.0, 1, w - 1.0, h - 6.4, w / 2.0, h - 1.4, 1, h - 6.4});
        }
        r.shape(outer, border);
        r.setMatte(border);
        r.shape(inner, hgrad(1, w - 2, top, bottom));
        if (s != State::Disabled) r.vline(w / 2, 5, 11, mix(top, t.accent, 0.6));
        switch (k) {
        case ThumbKind::Horz:
        case ThumbKind::Down: break;
        case ThumbKind::Up: img = flipped(std::move(img)); break;
        case ThumbKind::Vert:
        case ThumbKind::Left: img = turnedRight(std::move(img)); break;
        case ThumbKind::Right: img = mirrored(turnedRight(std::move(img))); break;
        }
        frames.push_back(std::move(img));
    }
    return hstack(frames);
}

// --- up-down buttons ---------------------------------------------------------------------

PixelImage drawUpDown(const Theme& t, bool horizontal) {
    const int w = horizontal ? 11 : 17, h = horizontal ? 17 : 11;
    std::vector<PixelImage> frames;
    for (int button = 0; button < 2; ++button)
        for (State s : kArrowOrder) frames.push_back(controlFace(t, w, h, s, std::min(t.radius, 2)));
    return hstack(frames);
}

PixelImage drawUpDownGlyphs(const Theme& t, bool horizontal) {
    const int n = 7;
    std::vector<PixelImage> frames;
    for (int button = 0; button < 2; ++button)
        for (State s : kArrowOrder) {
            PixelImage img(n, n, kMagenta);
            Raster r(img);
            r.setMatte(lookColour(t, s));
            const int dir = horizontal ? button : 2 + button;  // left, right / up, down
            drawGlyph(r, arrowGlyph(t, dir), n / 2.0, n / 2.0, t.chevrons ? 6 : 7, glyphColour(t, s), 1.4);
            frames.push_back(std::move(img));
        }
    return hstack(frames);
}

}  // namespace qs::gen
