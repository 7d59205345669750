#pragma once
// The opaque pixels of a picture as horizontal runs, handed out in batches:
// the window-region builder turns each batch into one region and unites the
// batches, instead of combining one region per run.
#include <cstdint>
#include <functional>
#include <vector>

#include "PixelView.h"

namespace qs {

// Which pixels count as transparent: every channel within [key, key + tolerance]
// (capped at 255). The key is a colour number, 0x00BBGGRR.
struct KeyRange {
    uint32_t key = 0xFF00FF;
    int tolB = 0;
    int tolG = 0;
    int tolR = 0;
    bool transparent(uint32_t pixel) const;  // pixel as 0x00RRGGBB
};

// One batch of one-pixel-high rectangles and their bounding box.
struct RunBatch {
    std::vector<PixelRect> rects;
    PixelRect bounds;
};

// Walks the picture row by row; every maximal run of pixels that are not
// transparent becomes (x0 + dx, y + dy, x1 + dx, y + dy + 1). A batch is
// handed to `flush` whenever it holds `batchSize` rectangles, and the rest at
// the end (an empty remainder is not handed out). The collecting buffer grows
// in steps of `growBy`. Returns the number of rectangles.
std::size_t CollectOpaqueRuns(const PixelView& pic, const KeyRange& range, int dx, int dy,
                              const std::function<void(const RunBatch&)>& flush, std::size_t batchSize = 2000,
                              std::size_t growBy = 500);

}  // namespace qs
