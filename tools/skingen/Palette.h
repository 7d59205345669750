#pragma once
// A theme grown from a few colours an author picks: the face of windows and
// controls, an accent for selections and emphasis, optionally the text. Every
// other colour of the theme is derived from them, so the art code draws a
// complete skin from three values.
#include <optional>
#include <string>

#include "Theme.h"

namespace qs::gen {

struct Palette {
    Px face = 0;
    Px accent = 0;
    std::optional<Px> text;  // none: near black on a light face, near white on a dark one
    bool rounded = false;    // round caption buttons and corners, shaped windows
};

// `name` becomes the skin's display name; the description entry is derived
// from it.
Theme paletteTheme(const std::string& name, const Palette& p);

// The text colours of a theme by role, so a caller that measures the drawn
// skin can move one that does not read.
enum class TextRole { Window, Button, Menu, Selection, MenuBar, Caption };
Px& textOf(Theme& t, TextRole role);

// Black or white, whichever reads better on `back`.
Px bestOnBack(Px back);

// Relative luminance, 0 (black) to 1 (white).
double luminanceOf(Px c);

}  // namespace qs::gen
