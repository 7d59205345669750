#include "Palette.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace qs::gen {

namespace {

constexpr Px kWhite = rgb(255, 255, 255), kBlack = rgb(0, 0, 0);

double channel(int v) {
    const double c = v / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

double luminanceOf(Px c) { return 0.2126 * channel(pr(c)) + 0.7152 * channel(pg(c)) + 0.0722 * channel(pb(c)); }

Px bestOnBack(Px back) {
    const double l = luminanceOf(back);
    // White wins when (1.05) / (l + 0.05) > (l + 0.05) / 0.05.
    return (1.05 / (l + 0.05)) > ((l + 0.05) / 0.05) ? kWhite : kBlack;
}

Px& textOf(Theme& t, TextRole role) {
    switch (role) {
        case TextRole::Window: return t.windowText;
        case TextRole::Button: return t.text;
        case TextRole::Menu: return t.menuText;
        case TextRole::Selection: return t.menuSelText;
        case TextRole::MenuBar: return t.menuBarText;
        case TextRole::Caption: return t.titleText;
    }
    return t.text;
}

Theme paletteTheme(const std::string& name, const Palette& p) {
    // Geometry, caption layout and drawing choices come from the shipped skin
    // of the same shape; only the colours are new.
    Theme t = themeByName(p.rounded ? "rounded" : "default");
    t.id = name;
    t.skinName = name;
    std::string file;
    for (char ch : name)
        if (std::isalnum(static_cast<unsigned char>(ch))) file += char(std::tolower(static_cast<unsigned char>(ch)));
    t.iniName = (file.empty() ? std::string("skin") : file) + ".ini";

    const Px f = p.face, a = p.accent;
    const bool dark = luminanceOf(f) < 0.18;
    // "Up" is where raised and content surfaces go, "ink" where edges go.
    const Px up = kWhite, ink = kBlack;
    const Px x = p.text ? *p.text : (dark ? rgb(232, 232, 232) : rgb(24, 26, 30));
    const double raise = dark ? 0.08 : 0.6;

    t.face = f;
    t.text = x;
    t.hilight = mix(f, up, dark ? 0.3 : 0.85);
    t.light = mix(f, up, dark ? 0.18 : 0.5);
    t.shadow = dark ? mix(f, up, 0.35) : mix(f, ink, 0.35);
    t.dkShadow = mix(f, ink, 0.6);
    t.disabledText = mix(f, x, 0.45);
    t.window = dark ? mix(f, ink, 0.3) : mix(f, up, 0.85);
    t.windowText = x;
    t.accent = a;
    t.accentDark = mix(a, ink, 0.25);
    t.accentText = bestOnBack(a);

    t.titleTop = dark ? mix(f, ink, 0.3) : mix(f, up, 0.6);
    t.titleBottom = dark ? mix(f, ink, 0.3) : mix(mix(f, up, 0.2), a, 0.12);
    t.titleTopI = dark ? mix(f, ink, 0.1) : mix(f, up, 0.7);
    t.titleBottomI = dark ? mix(f, ink, 0.1) : mix(f, up, 0.3);
    t.titleText = x;
    t.titleTextI = mix(t.titleBottomI, x, 0.5);
    t.outline = dark ? a : mix(a, f, 0.3);
    t.outlineI = dark ? mix(f, up, 0.15) : mix(f, ink, 0.3);
    t.frameFill = t.titleBottom;
    t.frameFillI = t.titleBottomI;
    t.frameInner = mix(t.outline, f, 0.35);
    t.frameInnerI = mix(t.outlineI, f, 0.35);

    t.menuBarTop = dark ? mix(f, ink, 0.3) : mix(f, up, 0.8);
    t.menuBarBottom = dark ? mix(f, ink, 0.3) : mix(f, up, 0.5);
    t.menuBarText = x;
    t.menu = dark ? mix(f, ink, 0.15) : mix(f, up, 0.8);
    t.menuText = x;
    t.menuSel = dark ? a : mix(a, up, 0.7);
    t.menuSelText = bestOnBack(t.menuSel);
    t.menuGutter = mix(t.menu, f, 0.5);
    t.menuBorder = dark ? mix(f, up, 0.3) : mix(f, ink, 0.35);

    t.ctlBorder = dark ? mix(f, up, 0.25) : mix(f, ink, 0.35);
    t.ctlTop = mix(f, up, dark ? 0.1 : 0.9);
    t.ctlBottom = mix(f, up, dark ? 0.1 : 0.2);
    t.ctlHotBorder = a;
    t.ctlHotTop = mix(t.ctlTop, a, 0.05);
    t.ctlHotBottom = mix(t.ctlBottom, a, 0.18);
    t.ctlDownBorder = t.accentDark;
    t.ctlDownTop = mix(t.ctlBottom, a, 0.3);
    t.ctlDownBottom = mix(t.ctlBottom, a, 0.2);
    t.ctlOffBorder = mix(f, dark ? up : ink, 0.15);
    t.ctlOffTop = t.ctlOffBottom = mix(f, up, raise * 0.3);
    t.fieldBorder = dark ? mix(f, up, 0.3) : mix(f, ink, 0.4);
    t.field = t.window;
    t.glyph = x;
    t.glyphI = mix(f, x, 0.4);

    t.capTop = t.ctlTop;
    t.capBottom = t.ctlBottom;
    t.capBorder = t.ctlBorder;
    t.capHotTop = t.ctlHotTop;
    t.capHotBottom = t.ctlHotBottom;
    t.capHotBorder = a;
    t.track = dark ? mix(f, ink, 0.15) : mix(f, up, 0.4);
    t.thumbTop = t.ctlTop;
    t.thumbBottom = t.ctlBottom;
    t.thumbBorder = t.ctlBorder;
    t.progressTop = mix(a, up, 0.35);
    t.progressBottom = a;

    t.sectionColours = {x, a, t.titleBottom, t.outline, f, t.window, t.closeHot};
    t.customColours = {kWhite, t.titleTop, t.titleBottom, t.frameInner, t.outline, a, t.accentDark, f, t.shadow, x};
    return t;
}

}  // namespace qs::gen
