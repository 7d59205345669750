#pragma once
// The element painters: each draws one skin bitmap (a strip of frames in the
// order the engine picks them) from a Theme.
#include "Glyphs.h"
#include "Theme.h"

namespace qs::gen {

// States of push-button-like strips, in frame order.
enum class State { Normal, Pressed, Disabled, Hot, Focused };

// --- window frame --------------------------------------------------------------

struct FramePieces {
    PixelImage left, right;  // two frames side by side (active, inactive)
    PixelImage top, bottom;  // two frames stacked
    int topLeftFixed = 0, topRightFixed = 0;  // fixed ends of the top strip
};
FramePieces drawFrame(const Theme& t);
// The whole frame of a window of the given size, as the pieces above are cut
// from it (magenta client area).
PixelImage drawWindowFrame(const Theme& t, bool active, int w, int h);

// Caption buttons: 6 frames (normal, pressed, hot, inactive/disabled, hot
// again, pressed again).
PixelImage drawCaptionButton(const Theme& t, Glyph g);
PixelImage drawIconButton(const Theme& t);
PixelImage drawTextBack(const Theme& t);
// Buttons of a maximised child window: three buttons (minimise, restore,
// close) of four frames each, every frame `a` wide.
PixelImage drawMdiControls(const Theme& t, int a);

// --- menus ---------------------------------------------------------------------

PixelImage drawMenuBar(const Theme& t);         // 2 frames stacked
PixelImage drawMenuItem(const Theme& t);        // 5 frames
PixelImage drawMenuBackground(const Theme& t);  // 1 frame
inline constexpr int kMenuGutter = 24;          // left margin of the menu background

// --- controls --------------------------------------------------------------------

// The face colour of a control in a state (what glyphs on it sit on).
Px lookColour(const Theme& t, State s);
// One push-button-like face of the given size and state.
PixelImage controlFace(const Theme& t, int w, int h, State s, int radius);
PixelImage drawButtons(const Theme& t);        // 5 frames
PixelImage drawCheckBoxes(const Theme& t);     // 5 frames
PixelImage drawRadioButtons(const Theme& t);   // 5 frames
PixelImage drawToolbarButtons(const Theme& t); // 5 frames
PixelImage drawSunkEdge(const Theme& t);       // 4 frames
PixelImage drawComboButton(const Theme& t);    // 4 frames
PixelImage drawExtraImages(const Theme& t);    // 4 arrow glyphs and a size grip
PixelImage drawScrollParts(const Theme& t);    // 23 frames
PixelImage drawScrollTrack(const Theme& t, bool vertical);  // 4 frames
PixelImage drawScrollThumb(const Theme& t, bool vertical);  // 3 frames
PixelImage drawTabs(const Theme& t);           // 5 frames
PixelImage drawTabBorder(const Theme& t);      // pane behind tabs
PixelImage drawTabPane(const Theme& t);
PixelImage drawHeader(const Theme& t);         // 5 frames
PixelImage drawProgress(const Theme& t);       // trough and bar
PixelImage drawProgressChunk(const Theme& t);
PixelImage drawTrack(const Theme& t, bool vertical);
enum class ThumbKind { Horz, Vert, Left, Right, Up, Down };
PixelImage drawTrackThumb(const Theme& t, ThumbKind k);  // 5 frames
PixelImage drawUpDown(const Theme& t, bool horizontal);        // 8 frames
PixelImage drawUpDownGlyphs(const Theme& t, bool horizontal);  // 8 frames
PixelImage drawGroupEdge(const Theme& t);      // 2 frames
PixelImage drawGroupLabel(const Theme& t);
PixelImage drawStatusEdges(const Theme& t);    // 3 frames: lowered, raised, flat

// Sizes the description needs to match the art.
inline constexpr int kButtonW = 32, kButtonH = 24;
inline constexpr int kScrollSize = 17;
inline constexpr int kComboButtonW = 18, kComboH = 21;

}  // namespace qs::gen
