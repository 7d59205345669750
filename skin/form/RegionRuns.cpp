#include "RegionRuns.h"

#include <algorithm>

namespace qs {

bool KeyRange::transparent(uint32_t pixel) const {
    const int r = int(pixel >> 16) & 0xFF, g = int(pixel >> 8) & 0xFF, b = int(pixel) & 0xFF;
    const int r0 = int(key) & 0xFF, g0 = int(key >> 8) & 0xFF, b0 = int(key >> 16) & 0xFF;
    auto inside = [](int v, int lo, int tol) { return v >= lo && v <= std::min(255, lo + std::max(tol, 0)); };
    return inside(r, r0, tolR) && inside(g, g0, tolG) && inside(b, b0, tolB);
}

std::size_t CollectOpaqueRuns(const PixelView& pic, const KeyRange& range, int dx, int dy,
                              const std::function<void(const RunBatch&)>& flush, std::size_t batchSize,
                              std::size_t growBy) {
    if (pic.empty()) return 0;
    if (batchSize == 0) batchSize = 1;
    if (growBy == 0) growBy = 1;
    // The key range as bounds per channel, worked out once: the test runs
    // for every pixel of a frame's borders on every resize step.
    const auto lo = [](uint32_t key, int shift) { return int(key >> shift) & 0xFF; };
    const auto hi = [](int low, int tol) { return std::min(255, low + std::max(tol, 0)); };
    const int r0 = lo(range.key, 0), g0 = lo(range.key, 8), b0 = lo(range.key, 16);
    const int r1 = hi(r0, range.tolR), g1 = hi(g0, range.tolG), b1 = hi(b0, range.tolB);
    const auto transparent = [&](uint32_t p) {
        const int r = int(p >> 16) & 0xFF, g = int(p >> 8) & 0xFF, b = int(p) & 0xFF;
        return r >= r0 && r <= r1 && g >= g0 && g <= g1 && b >= b0 && b <= b1;
    };
    RunBatch batch;
    batch.rects.reserve(std::min(growBy, batchSize));
    std::size_t total = 0;
    auto emit = [&] {
        if (batch.rects.empty()) return;
        flush(batch);
        batch.rects.clear();
        batch.bounds = {};
    };
    for (int y = 0; y < pic.height; ++y) {
        const uint32_t* row = pic.row(y);
        int x = 0;
        while (x < pic.width) {
            while (x < pic.width && transparent(row[x])) ++x;
            if (x >= pic.width) break;
            const int x0 = x;
            while (x < pic.width && !transparent(row[x])) ++x;
            const PixelRect r{x0 + dx, y + dy, x + dx, y + dy + 1};
            if (batch.rects.size() == batch.rects.capacity()) batch.rects.reserve(batch.rects.size() + growBy);
            if (batch.rects.empty()) {
                batch.bounds = r;
            } else {
                batch.bounds.left = std::min(batch.bounds.left, r.left);
                batch.bounds.top = std::min(batch.bounds.top, r.top);
                batch.bounds.right = std::max(batch.bounds.right, r.right);
                batch.bounds.bottom = std::max(batch.bounds.bottom, r.bottom);
            }
            batch.rects.push_back(r);
            ++total;
            if (batch.rects.size() >= batchSize) emit();
        }
    }
    emit();
    return total;
}

}  // namespace qs
