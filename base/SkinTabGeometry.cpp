#include "SkinTabGeometry.h"

namespace qs {

TTabOrientation tabOrientationFromStyle(uint32_t style) {
    const bool bottom = (style & 0x2) != 0, vertical = (style & 0x80) != 0;
    if (bottom && vertical) return toRight;
    if (bottom) return toBottom;
    if (vertical) return toLeft;
    return toTop;
}

PixelRect tabPaneRect(const PixelRect& display, TTabOrientation o) {
    PixelRect p{display.left - 4, display.top - 4, display.right + 4, display.bottom + 4};
    switch (o) {
        case toTop: p.top += 1; break;
        case toBottom: p.bottom -= 1; break;
        case toLeft: p.left += 1; break;
        case toRight: p.right -= 1; break;
    }
    return p;
}

PixelRect tabStripRect(const PixelRect& w, const PixelRect& p, TTabOrientation o) {
    switch (o) {
        case toTop: return {w.left, w.top, w.right, p.top};
        case toBottom: return {w.left, p.bottom, w.right, w.bottom};
        case toLeft: return {w.left, w.top, p.left, w.bottom};
        case toRight: return {p.right, w.top, w.right, w.bottom};
    }
    return {};
}

PixelSize tabBufferSize(const PixelRect& s, TTabOrientation o) {
    if (o == toLeft || o == toRight) return {s.height(), s.width()};
    return {s.width(), s.height()};
}

PixelRect tabToBuffer(const PixelRect& r, TTabOrientation o, const PixelRect& strip, const PixelRect& pane,
                      int windowRight) {
    const int w = tabBufferSize(strip, o).width;
    switch (o) {
        case toTop: return {r.left, r.top + 1, r.right, r.bottom + 1};
        case toBottom: return {r.left, r.top - (pane.bottom + 1), r.right, r.bottom - (pane.bottom + 1)};
        case toLeft: return {w - r.bottom, r.left, w - r.top, r.right};
        case toRight: return {r.top - 1, windowRight - r.right, r.bottom - 1, windowRight - r.left};
    }
    return {};
}

PixelRect bufferToWindow(const PixelRect& b, TTabOrientation o, const PixelRect& s) {
    const PixelSize size = tabBufferSize(s, o);
    PixelRect r;
    switch (o) {
        case toTop:
        case toBottom: r = b; break;
        // A quarter turn counter-clockwise: buffer (x, y) lands at (y, W - 1 - x).
        case toLeft: r = {b.top, size.width - b.right, b.bottom, size.width - b.left}; break;
        // Clockwise: buffer (x, y) lands at (H - 1 - y, x).
        case toRight: r = {size.height - b.bottom, b.left, size.height - b.top, b.right}; break;
    }
    return {r.left + s.left, r.top + s.top, r.right + s.left, r.bottom + s.top};
}

PixelRect tabCloseBox(const PixelRect& t) { return {t.right - 8, t.top + 2, t.right - 2, t.top + 8}; }

PixelRect tabPaneMargins(int tabsStyle, const PixelRect& paneMargins) {
    if (tabsStyle != 0) return paneMargins;
    return {4, 5, 4, 4};
}

std::vector<PixelRect> tabSetLayout(const std::vector<int>& widths, int first, int startMargin, int endMargin,
                                    int width, int height, bool scrollerVisible) {
    std::vector<PixelRect> out(widths.size());
    if (first < 0) first = 0;
    int x = startMargin;
    const int limit = width - endMargin;
    const int extra = scrollerVisible ? 21 : 9;
    for (size_t i = size_t(first); i < widths.size(); ++i) {
        const int w = widths[i];
        if (limit < x + w + extra) continue;
        out[i] = {x, 0, x + w + 9, height};
        x += w + 9;
    }
    return out;
}

PixelRect headerHotZone(const PixelRect& item) { return {item.left + 3, item.top, item.right - 3, item.bottom}; }

int headerHotAfterMove(const std::vector<PixelRect>& zones, int x, int y, int current) {
    for (size_t i = 0; i < zones.size(); ++i) {
        const PixelRect& z = zones[i];
        if (x >= z.left && x < z.right && y >= z.top && y < z.bottom && int(i) != current) current = int(i);
    }
    return current;
}

int glyphCellCount(int mode) { return mode == 1 ? 9 : mode == 2 ? 6 : 0; }

int glyphCellSource(int mode, int cell, int skinFrames) {
    if (mode == 1) {
        switch (cell) {
            case 0: case 3: return 0;
            case 1: case 4: return 1;
            case 6: return 2;
            case 7: return 3;
            case 2: case 5: case 8: return skinFrames == 5 ? 4 : -1;
            default: return -1;
        }
    }
    if (mode == 2) {
        switch (cell) {
            case 0: case 2: return 0;
            case 1: case 3: return 1;
            case 4: return 2;
            case 5: return 3;
            default: return -1;
        }
    }
    return -1;
}

}  // namespace qs
