#include "FrameLayout.h"

#include <algorithm>

namespace qs {

FrameMetrics ComputeFrameMetrics(const BorderStripSizes& s, TBorderKind kind) {
    if (kind == bkNoCaption) return {};
    auto part = [](int size, int frames) { return size > 0 ? size / std::max(frames, 1) : 0; };
    return FrameMetrics{part(s.leftWidth, s.leftFrames), part(s.topHeight, s.topFrames),
                        part(s.rightWidth, s.rightFrames), part(s.bottomHeight, s.bottomFrames)};
}

PixelRect ClientFromWindow(const PixelRect& w, const FrameMetrics& m, int menuHeight) {
    PixelRect c{w.left + m.left, w.top + m.title + menuHeight, w.right - m.right, w.bottom - m.bottom};
    // A window smaller than its frame gets an empty client area at the
    // frame's inner corner rather than an inverted rectangle.
    if (c.right < c.left) c.right = c.left;
    if (c.bottom < c.top) c.bottom = c.top;
    return c;
}

bool VisibilityCondition(int32_t v, bool second, const CaptionState& s, const VisibilityQuery& query,
                         int32_t action, bool firstResult) {
    const bool maxBox = (s.styleFlags & sfMaximizeBox) != 0;
    const bool minBox = (s.styleFlags & sfMinimizeBox) != 0;
    const bool sysMenu = (s.styleFlags & sfSystemMenu) != 0;
    switch (v) {
        case 0: return true;
        case 1: return s.windowState == wsMaximizedKind;
        case 2: return s.windowState != wsMaximizedKind;
        case 3: return s.active;
        case 4: return !s.active;
        case 6:
        case 8: return (maxBox || minBox) && (second || sysMenu);
        case 7: return !maxBox;
        case 9: return !minBox;
        case 100: return second ? firstResult : (s.mdiMaximizedChildActive && s.hasSkinMenu);
        case 200: return s.borderKind == bkDialog && !s.isDialog;
        default: break;
    }
    if (second) return v >= 201 && v <= 2000;
    if (v >= 201 && v <= 999) return true;
    if (v >= 1000 && v <= 2000) return query && query(v, action) > 0;
    return false;
}

ButtonVisibility EvaluateButtonVisibility(const CaptionButtonRule& rule, const CaptionState& s,
                                          const VisibilityQuery& query) {
    ButtonVisibility r;
    const bool first = VisibilityCondition(rule.visibility, false, s, query, rule.action, false);
    const bool second = VisibilityCondition(rule.visibility1, true, s, query, rule.action, first);
    r.visible = first && second;
    const bool sysMenu = (s.styleFlags & sfSystemMenu) != 0;
    switch (rule.action) {
        case 0:
            if (!sysMenu) r.visible = false;
            break;
        case 1:
            r.enabledChanged = true;
            r.enabled = (s.styleFlags & sfMaximizeBox) && sysMenu;
            break;
        case 2:
            r.enabledChanged = true;
            r.enabled = (s.styleFlags & sfMinimizeBox) && sysMenu;
            break;
        case 3:
        case 11:
        case 12:
            if (s.borderKind == bkDialog) r.visible = false;
            break;
        default: break;
    }
    return r;
}

PixelRect LayoutButton(const ButtonPlacement& b, const ButtonLayoutContext& c, const PixelRect& previous) {
    int left = 0, top = b.ycoord;
    switch (b.align) {
        case 0: left = b.xcoord; break;
        case 1: left = c.windowWidth - b.xcoord; break;
        case 2:
        case 8: left = c.rightAnchor - b.width - b.xcoord; break;
        case 3:
        case 9: left = c.leftAnchor + b.xcoord; break;
        case 100:
            left = c.windowWidth - b.xcoord - c.rightBorder - c.menuBarLeftWidth;
            top = c.titleHeight + (c.menuHeight - b.height) / 2;
            break;
        default: return previous;
    }
    return PixelRect{left, top, left + b.width, top + b.height};
}

int TitleButtonFrame(bool active, bool enabled, int frames) {
    return (active && enabled) || frames < 4 ? 1 : 4;
}

int StateButtonFrame(int state, bool enabled, int frames, int32_t visibility) {
    int f = state;
    if (!enabled) f = frames > 3 ? 4 : 1;
    if (visibility == 100 && f == 3) f = 4;
    return f;
}

PixelRect CaptionTextRect(int windowWidth, int titleHeight, int textShift, int textShiftVert, int textRightClip,
                          int iconRight, int buttonsLeft) {
    constexpr int kGap = 2;  // air between the text and a neighbouring button
    int left = textShift;
    if (iconRight >= 0) left = std::max(left, iconRight + kGap);
    // TextRightClip reserves room for a full row of caption buttons; a window
    // showing fewer (an MDI child without the help button) would lose its
    // whole title to it, so the buttons that do show bound the text instead.
    int right = buttonsLeft >= 0 ? buttonsLeft - kGap : windowWidth - textRightClip;
    if (right < left) right = left;
    return PixelRect{left, textShiftVert, right, titleHeight + textShiftVert};
}

}  // namespace qs
