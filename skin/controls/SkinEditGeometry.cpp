#include "SkinEditGeometry.h"

namespace qs {

ComboButtonLayout comboButtonLayout(int w, int h, int b, bool leftArrow) {
    if (leftArrow) return ComboButtonLayout{{b + 4, 2, w - 2, h - 2}, {0, 0, b + 2, h}, {2, 0, b + 2, h}};
    return ComboButtonLayout{{2, 2, w - b - 4, h - 2}, {w - b - 2, 0, w, h}, {w - b - 2, 0, w - 2, h}};
}

bool comboArrowAtLeft(bool leftScrollBar, int systemButtonLeft, int width) {
    if (systemButtonLeft < 0) return leftScrollBar;
    return systemButtonLeft < width / 2;
}

int comboButtonFrame(bool enabled, bool pressed, bool focused, bool hot) {
    if (!enabled) return 3;
    if (pressed) return 2;
    if (focused || hot) return 4;
    return 1;
}

PixelRect centredIn(const PixelRect& area, int w, int h) {
    int x = area.left + (area.width() - w) / 2;
    int y = area.top + (area.height() - h) / 2;
    return PixelRect{x, y, x + w, y + h};
}

UpDownLayout upDownLayout(int w, int h, bool horizontal) {
    if (horizontal) {
        int half = w / 2;
        return UpDownLayout{{0, 0, half, h}, {half, 0, w, h}, half};
    }
    int half = h / 2;
    return UpDownLayout{{0, 0, w, half}, {0, half, w, h}, half};
}

int upDownButtonState(bool enabled, bool second, int cursorAlong, int half, bool hot, bool pressed) {
    if (!enabled) return udsDisabled;
    bool over = second ? cursorAlong >= half : cursorAlong < half;
    if (!over) return udsNormal;
    if (pressed) return udsPressed;
    if (hot) return udsHot;
    return udsNormal;
}

PixelRect upDownInEditRect(const PixelRect& r, int topGap, int bottomGap, int rightGap) {
    PixelRect out = r;
    if (topGap < 3) out.top += 3 - topGap;
    if (bottomGap < 3) out.bottom -= 3 - bottomGap;
    if (rightGap < 3) out.right -= 3 - rightGap;
    return out;
}

PixelRect pickerArrowButton(int pickerWidth, int size, bool leftScrollBar) {
    int left = leftScrollBar ? 2 : pickerWidth - size - 4;
    return PixelRect{left, 0, left + size, size + 1};
}

}  // namespace qs
