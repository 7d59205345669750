#pragma once
// Text against what it is drawn on: every pair of a skin that the engine
// paints text with, and how well the two tell apart. Colours come from the
// description; backgrounds drawn from a bitmap are measured on the part of
// the frame that carries the text, row by row, and the worst row counts
// (a gradient is only as readable as its palest stretch under the text).
#include <functional>
#include <string>
#include <vector>

#include "Colour.h"
#include "PixelView.h"

namespace qs {
class TQuickIni;
}

namespace qs::skintool {

// The least contrast body text needs to read for people with low vision.
inline constexpr double kMinTextContrast = 4.5;

struct TextPair {
    std::string element;  // "[Buttons] NormalColour2 on button.bmp frame 1"
    ColourNum text = 0;   // plain colours (system colours resolved)
    ColourNum back = 0;
    double ratio = 21;
};

// An image entry by name, decoded; nullptr when the skin has none.
using ImageLookup = std::function<const PixelImage*(const std::string& entry)>;

std::vector<TextPair> textPairs(const TQuickIni& ini, const ImageLookup& image);

// "12 34 56", the way the description writes a colour.
std::string colourText(ColourNum c);

}  // namespace qs::skintool
