#pragma once
// Line-by-line gradients. Toolbars, headers and progress bars repaint them
// often, so the colour ramps are cached and only lines inside the clip box are
// drawn.
#include <array>
#include <cstdint>
#include <vector>

#include "Colour.h"
#include "PixelView.h"

namespace qs {

// One colour per line from `from` to `to` (plain colours, 0x00BBGGRR). Each
// channel steps with truncation toward zero, so a falling channel stops one
// unit short of its target (red 200 to 100 over 5 lines ends at 101).
std::vector<ColourNum> computeGradientRamp(int n, ColourNum from, ColourNum to);
// Entry `i` of that ramp, computed alone.
ColourNum gradientEntry(int64_t i, int64_t n, ColourNum from, ColourNum to);

// Longer gradients (far beyond any screen) are drawn without a cached ramp,
// so a runaway rectangle costs time for its visible lines only, not memory.
inline constexpr int64_t kMaxCachedRampLines = 1 << 16;

// The last 16 ramps, reused round-robin.
class TGradientCache {
public:
    static constexpr int SlotCount = 16;

    // A ramp is reused when it has the length, first and last colour asked
    // for. The reference stays valid until SlotCount further misses.
    const std::vector<ColourNum>& Ramp(int n, ColourNum from, ColourNum to);

    int NextSlot() const { return FNext; }
    int Misses() const { return FMisses; }
    void Clear();

private:
    struct Slot {
        std::vector<ColourNum> colours;
        ColourNum requestedTo = 0;
    };
    std::array<Slot, SlotCount> FSlots;
    int FNext = 0;
    int FMisses = 0;
};

// The cache the painting code shares; it lives as long as the program.
TGradientCache& gradientCache();

// Fills `r` of the view with a gradient from `from` to `to`, top to bottom
// when `vertical`, else left to right. Only lines inside `clip` (and inside
// the view) are written. System colours are resolved first.
void GradientFill(const PixelView& v, PixelRect r, ColourNum from, bool vertical, ColourNum to, PixelRect clip);
void GradientFill(const PixelView& v, PixelRect r, ColourNum from, bool vertical, ColourNum to);

// Which lines of a gradient over `r` fall inside `clip`: first and last line
// index (inclusive); empty when first > last. Shared by the pixel-view and the
// device-context fills.
struct GradientLines {
    int64_t count = 0;  // lines of the whole gradient
    int64_t first = 0;
    int64_t last = -1;
};
GradientLines gradientLines(PixelRect r, bool vertical, PixelRect clip);

}  // namespace qs
