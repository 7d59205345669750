#include "ProgressGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace qs {

ProgressSize progressWorkSize(int width, int height, bool vertical) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    return vertical ? ProgressSize{height, width} : ProgressSize{width, height};
}

int mulDivRound(int a, int b, int c) {
    if (c == 0) return -1;
    int64_t p = int64_t(a) * int64_t(b);
    int64_t q = p / c, r = p % c;
    // Round half away from zero.
    if (2 * std::llabs(r) >= std::llabs(int64_t(c))) q += ((p < 0) != (c < 0)) ? -1 : 1;
    if (q > INT32_MAX || q < INT32_MIN) return -1;
    return int(q);
}

int progressBarLength(int width, int position, int upper) {
    if (width <= 0 || position <= 0 || upper <= 0) return 0;
    return std::clamp(mulDivRound(width, position, upper), 0, width);
}

std::vector<PixelRect> progressChunkCells(int length, int chunkWidth, int chunkHeight, int top) {
    std::vector<PixelRect> cells;
    if (length <= 0 || chunkWidth <= 0 || chunkHeight <= 0) return cells;
    for (int x = 0; x < length; x += chunkWidth)
        cells.push_back(PixelRect{x, top, std::min(x + chunkWidth, length), top + chunkHeight});
    return cells;
}

ProgressPoint progressUpright(int workWidth, int x, int y) { return ProgressPoint{y, workWidth - 1 - x}; }

int mpVisibleCount(TMPButtonSet visible) {
    int n = 0;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (visible & (1u << i)) ++n;
    return n;
}

int mpButtonWidth(int clientWidth, TMPButtonSet visible) {
    int n = mpVisibleCount(visible);
    return n > 0 && clientWidth > 0 ? clientWidth / n : 0;
}

PixelRect mpButtonCell(TMPButtonSet visible, int buttonWidth, int height, int button) {
    if (button < 0 || button >= kMPButtonCount || !(visible & (1u << button))) return {};
    int left = 0;
    for (int i = 0; i < button; ++i)
        if (visible & (1u << i)) left += buttonWidth;
    return PixelRect{left, 0, left + buttonWidth, height};
}

int mpHitTest(TMPButtonSet visible, int buttonWidth, int x) {
    int sum = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        if (!(visible & (1u << i))) continue;
        if (x >= sum && x <= sum + buttonWidth) return i;
        sum += buttonWidth;
    }
    return kMPNoButton;
}

}  // namespace qs
