// The engine built into a library of its own, as a program that loads the
// engine as a DLL has it: reports how many media-player glyphs a new player
// panel found.
#include "SkinMP.h"

extern "C" __declspec(dllexport) int qs_media_player_glyphs() {
    qs::TWMediaPlayer panel(nullptr);
    int found = 0;
    for (const auto& b : panel.FButtons)
        for (const auto& bmp : b.Bitmaps) found += bmp.Empty() ? 0 : 1;
    return found;
}
