#pragma once
// What distinguishes one generated skin from another: its name, frame
// geometry, caption-button layout, palette and a few drawing choices. The
// element painters read only this, so a new skin is a new Theme value.
#include <string>
#include <vector>

#include "Raster.h"

namespace qs::gen {

enum class CaptionStyle {
    Boxed,    // small rounded squares with a border
    Tiles,    // flat full-height tiles, the close tile turns red when hot
    Circles,  // round buttons
};

struct CaptionButtonPlace {
    int action;       // 0 close, 1 maximise/restore, 2 minimise, 3 icon, other: custom
    int xcoord;       // distance of the left edge from the right window edge (Align 1)
    int visibility;
    int visibility1;
    const char* image;
};

struct Theme {
    std::string id;        // default, dark, rounded
    std::string skinName;  // the skin's display name
    std::string iniName;   // the description entry

    // Frame geometry: title height, side width, bottom height (one frame
    // each), the top strip's width, rows of the side strips' middle part,
    // outer corner radii, tiled (not stretched) middles, magenta keying.
    int titleH = 27, sideW = 5, bottomH = 5, topStripW = 290, sideMid = 8, bottomStripW = 290;
    int cornerTop = 0, cornerBottom = 0;
    bool tiled = false;
    bool shaped = false;
    int textureStep = 0;  // period of the tiled texture, 0 for none

    // Caption buttons: one frame's size, top offset, placements; the icon button.
    CaptionStyle captionStyle = CaptionStyle::Boxed;
    int capW = 18, capH = 18, capY = 5;
    std::vector<CaptionButtonPlace> captionButtons;
    int iconX = 8, iconY = 7;
    int textShift = 30, textShiftVert = 0, textRightClip = 80;
    int fontHeight = 17;

    // Palette (pixels, 0x00RRGGBB).
    Px face, text, hilight, light, shadow, dkShadow, disabledText;
    Px window, windowText;
    Px accent, accentDark, accentText;
    Px titleTop, titleBottom, titleTopI, titleBottomI, titleText, titleTextI;
    Px outline, outlineI, frameFill, frameFillI, frameInner, frameInnerI;
    Px menuBarTop, menuBarBottom, menuBarText;
    Px menu, menuText, menuSel, menuSelText, menuGutter, menuBorder;
    Px ctlBorder, ctlTop, ctlBottom;           // push-button-like controls at rest
    Px ctlHotBorder, ctlHotTop, ctlHotBottom;  // under the mouse
    Px ctlDownBorder, ctlDownTop, ctlDownBottom;
    Px ctlOffBorder, ctlOffTop, ctlOffBottom;  // disabled
    Px fieldBorder, field;                     // edits, combo fields, check boxes
    Px glyph, glyphI;                          // caption glyphs: active, inactive
    Px capTop, capBottom, capBorder;           // caption button at rest (Boxed)
    Px capHotTop, capHotBottom, capHotBorder;
    Px closeHot, closeDown;
    Px track, thumbTop, thumbBottom, thumbBorder;
    Px progressTop, progressBottom;

    int radius = 3;         // corner radius of push buttons and similar
    int checkSize = 13;     // check box and radio frame side
    bool chevrons = false;  // open-stroke arrows instead of filled triangles
    bool filledChecks = false;  // a checked box fills with the accent colour
    double rim = 0.45;          // strength of the light inner rim of raised faces
    bool helpButton = false;

    // Pixels per 96-dpi pixel: 2 for the theme that draws the @2x images.
    int scale = 1;

    std::vector<Px> sectionColours;  // [Colour0]...
    std::vector<Px> customColours;   // [Customcolors] Color0..9
};

const Theme& themeByName(const std::string& id);  // throws std::out_of_range
// The same theme at twice the size: the frame and caption buttons drawn from
// it are the skin's @2x images, drawn afresh rather than enlarged.
Theme doubledTheme(const Theme& t);
std::vector<std::string> themeNames();

}  // namespace qs::gen
