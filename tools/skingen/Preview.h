#pragma once
// A picture of a generated skin for judging it by eye: mock windows dressed
// the way the engine lays the pieces out (frame, caption buttons, menu bar,
// pop-up menu, common controls) plus every element strip, at 100 %.
#include <string>

#include "SkinBuilder.h"

namespace qs::gen {

struct Preview {
    PixelImage image;
    // Text drawn afterwards by ImageMagick (MVG), since we carry no font.
    std::string mvg;
};

Preview renderPreview(const GeneratedSkin& skin);

// Writes NAME-preview.bmp and, when /usr/bin/convert exists, NAME-preview.png
// with the text; returns the path of the picture written last, or "" on error.
std::string writePreview(const GeneratedSkin& skin, const std::string& dir);

}  // namespace qs::gen
