#pragma once
// Colour values written in a skin description.
#include <string_view>

#include "Colour.h"

namespace qs {

class TQuickIni;

// Colour text: up to three decimal numbers (red, green, blue) separated by any
// non-digit characters; each contributes its low 8 bits. A final number counts
// only as blue after two others, so "10 20" is RGB(10, 0, 0) and "10" black.
// An empty (or blank) text gives `def`.
ColourNum ParseColour(std::string_view text, ColourNum def);

// ParseColour over a description value.
ColourNum ReadColour(const TQuickIni& ini, std::string_view section, std::string_view key, ColourNum def);

// Colour by keys prefix+"R", prefix+"G", prefix+"B": sets `target` (each part
// modulo 256) only when all three are present and not negative; returns
// whether it did.
bool ReadColourKeys(const TQuickIni& ini, std::string_view section, std::string_view prefix, ColourNum& target);

}  // namespace qs
