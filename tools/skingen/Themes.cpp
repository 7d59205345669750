// The three skins we ship: a light default, a dark one and a rounded one.
#include <stdexcept>

#include "Theme.h"

namespace qs::gen {

namespace {

Theme lightTheme() {
    Theme t;
    t.id = "default";
    t.skinName = "Qelvo Light";
    t.iniName = "qelvolight.ini";
    // Geometry the viewer's layout was measured with: 27-pixel title,
    // 5-pixel sides and bottom, 18 x 18 caption buttons.
    t.titleH = 27, t.sideW = 5, t.bottomH = 5, t.topStripW = 290, t.sideMid = 8, t.bottomStripW = 290;
    t.captionStyle = CaptionStyle::Boxed;
    t.capW = 18, t.capH = 18, t.capY = 5;
    t.captionButtons = {
        {0, 25, 0, 0, "CloseButton.bmp"},
        {1, 49, 6, 2, "MaxButton.bmp"},
        {1, 49, 6, 1, "RestroreButton.bmp"},
        {2, 73, 6, 0, "MinButton.bmp"},
    };
    t.iconX = 8, t.iconY = 7;
    t.textShift = 30, t.textShiftVert = 0, t.textRightClip = 80, t.fontHeight = 17;

    t.face = rgb(224, 224, 224), t.text = rgb(32, 36, 42), t.hilight = rgb(255, 255, 255);
    t.light = rgb(240, 240, 240), t.shadow = rgb(150, 150, 150), t.dkShadow = rgb(90, 90, 90);
    t.disabledText = rgb(150, 150, 150), t.window = rgb(255, 255, 255), t.windowText = rgb(20, 20, 20);
    t.accent = rgb(44, 112, 200), t.accentDark = rgb(28, 82, 160), t.accentText = rgb(255, 255, 255);
    t.titleTop = rgb(238, 243, 250), t.titleBottom = rgb(206, 220, 240);
    t.titleTopI = rgb(244, 244, 244), t.titleBottomI = rgb(226, 226, 226);
    t.titleText = rgb(22, 40, 68), t.titleTextI = rgb(130, 130, 130);
    t.outline = rgb(100, 124, 160), t.outlineI = rgb(160, 160, 160);
    t.frameFill = rgb(206, 220, 240), t.frameFillI = rgb(226, 226, 226);
    t.frameInner = rgb(148, 168, 198), t.frameInnerI = rgb(180, 180, 180);
    t.menuBarTop = rgb(248, 249, 252), t.menuBarBottom = rgb(232, 236, 242), t.menuBarText = rgb(20, 28, 40);
    t.menu = rgb(250, 250, 250), t.menuText = rgb(20, 20, 20), t.menuSel = rgb(198, 220, 248);
    t.menuSelText = rgb(0, 0, 0), t.menuGutter = rgb(237, 240, 245), t.menuBorder = rgb(140, 150, 165);
    t.ctlBorder = rgb(140, 148, 160), t.ctlTop = rgb(255, 255, 255), t.ctlBottom = rgb(228, 230, 234);
    t.ctlHotBorder = rgb(70, 130, 210), t.ctlHotTop = rgb(250, 252, 255), t.ctlHotBottom = rgb(214, 229, 250);
    t.ctlDownBorder = rgb(40, 96, 176), t.ctlDownTop = rgb(188, 207, 234), t.ctlDownBottom = rgb(212, 226, 244);
    t.ctlOffBorder = rgb(188, 188, 188), t.ctlOffTop = rgb(236, 236, 236), t.ctlOffBottom = rgb(236, 236, 236);
    t.fieldBorder = rgb(128, 138, 154), t.field = rgb(255, 255, 255);
    t.glyph = rgb(40, 56, 82), t.glyphI = rgb(150, 150, 150);
    t.capTop = rgb(250, 252, 255), t.capBottom = rgb(220, 229, 242), t.capBorder = rgb(128, 148, 180);
    t.capHotTop = rgb(255, 255, 255), t.capHotBottom = rgb(200, 220, 248), t.capHotBorder = rgb(60, 120, 200);
    t.closeHot = rgb(212, 64, 52), t.closeDown = rgb(168, 40, 30);
    t.track = rgb(236, 236, 236), t.thumbTop = rgb(252, 252, 252), t.thumbBottom = rgb(222, 226, 232);
    t.thumbBorder = rgb(140, 148, 160);
    t.progressTop = rgb(112, 182, 250), t.progressBottom = rgb(40, 120, 210);
    t.radius = 3, t.checkSize = 13, t.rim = 0.45;
    t.sectionColours = {rgb(0, 0, 0),      rgb(44, 112, 200), rgb(206, 220, 240), rgb(100, 124, 160),
                        rgb(224, 224, 224), rgb(255, 255, 255), rgb(212, 64, 52)};
    t.customColours = {rgb(255, 255, 255), rgb(238, 243, 250), rgb(206, 220, 240), rgb(148, 168, 198),
                       rgb(100, 124, 160), rgb(44, 112, 200),  rgb(28, 82, 160),   rgb(224, 224, 224),
                       rgb(150, 150, 150), rgb(32, 36, 42)};
    return t;
}

Theme darkTheme() {
    Theme t;
    t.id = "dark";
    t.skinName = "Qelvo Night";
    t.iniName = "qelvonight.ini";
    t.titleH = 32, t.sideW = 4, t.bottomH = 4, t.topStripW = 300, t.sideMid = 8, t.bottomStripW = 300;
    t.captionStyle = CaptionStyle::Tiles;
    t.capW = 40, t.capH = 30, t.capY = 1;
    t.captionButtons = {
        {0, 41, 0, 0, "CloseButton.bmp"},
        {1, 81, 6, 2, "MaxButton.bmp"},
        {1, 81, 6, 1, "RestroreButton.bmp"},
        {2, 121, 6, 0, "MinButton.bmp"},
        // Shown only to windows that answer the visibility query for it.
        {40, 161, 1001, 0, "HelpButton.bmp"},
    };
    t.helpButton = true;
    t.iconX = 10, t.iconY = 8;
    t.textShift = 34, t.textShiftVert = 1, t.textRightClip = 170, t.fontHeight = 16;

    t.face = rgb(46, 48, 54), t.text = rgb(222, 224, 228), t.hilight = rgb(92, 96, 106);
    // ButtonShadow is also the colour of disabled menu text: it has to read on
    // the dark menu, so it is a mid grey rather than a near black.
    t.light = rgb(70, 73, 80), t.shadow = rgb(108, 112, 120), t.dkShadow = rgb(8, 8, 10);
    t.disabledText = rgb(112, 115, 122), t.window = rgb(32, 33, 37), t.windowText = rgb(232, 232, 232);
    t.accent = rgb(242, 166, 48), t.accentDark = rgb(196, 124, 20), t.accentText = rgb(30, 24, 10);
    t.titleTop = rgb(30, 31, 35), t.titleBottom = rgb(30, 31, 35);
    t.titleTopI = rgb(42, 44, 49), t.titleBottomI = rgb(42, 44, 49);
    t.titleText = rgb(238, 238, 238), t.titleTextI = rgb(128, 130, 136);
    t.outline = rgb(242, 166, 48), t.outlineI = rgb(70, 72, 78);
    t.frameFill = rgb(30, 31, 35), t.frameFillI = rgb(42, 44, 49);
    t.frameInner = rgb(18, 19, 22), t.frameInnerI = rgb(30, 31, 35);
    t.menuBarTop = rgb(30, 31, 35), t.menuBarBottom = rgb(30, 31, 35), t.menuBarText = rgb(220, 222, 226);
    t.menu = rgb(38, 40, 45), t.menuText = rgb(222, 224, 228), t.menuSel = rgb(242, 166, 48);
    t.menuSelText = rgb(30, 24, 10), t.menuGutter = rgb(38, 40, 45), t.menuBorder = rgb(84, 87, 95);
    t.ctlBorder = rgb(80, 84, 92), t.ctlTop = rgb(60, 63, 70), t.ctlBottom = rgb(60, 63, 70);
    t.ctlHotBorder = rgb(242, 166, 48), t.ctlHotTop = rgb(72, 76, 84), t.ctlHotBottom = rgb(72, 76, 84);
    t.ctlDownBorder = rgb(196, 124, 20), t.ctlDownTop = rgb(38, 40, 45), t.ctlDownBottom = rgb(38, 40, 45);
    t.ctlOffBorder = rgb(60, 62, 68), t.ctlOffTop = rgb(50, 52, 58), t.ctlOffBottom = rgb(50, 52, 58);
    t.fieldBorder = rgb(88, 92, 100), t.field = rgb(32, 33, 37);
    t.glyph = rgb(220, 222, 226), t.glyphI = rgb(104, 106, 112);
    t.capTop = t.capBottom = t.capBorder = t.titleTop;
    t.capHotTop = t.capHotBottom = rgb(60, 62, 68), t.capHotBorder = rgb(60, 62, 68);
    t.closeHot = rgb(210, 56, 44), t.closeDown = rgb(160, 36, 28);
    t.track = rgb(38, 40, 45), t.thumbTop = rgb(86, 90, 98), t.thumbBottom = rgb(86, 90, 98);
    t.thumbBorder = rgb(86, 90, 98);
    t.progressTop = rgb(250, 186, 84), t.progressBottom = rgb(226, 146, 30);
    t.radius = 1, t.checkSize = 13, t.rim = 0, t.chevrons = true, t.filledChecks = true;
    t.sectionColours = {rgb(232, 232, 232), rgb(242, 166, 48), rgb(30, 31, 35), rgb(46, 48, 54),
                        rgb(60, 63, 70),    rgb(32, 33, 37),   rgb(210, 56, 44)};
    t.customColours = {rgb(255, 255, 255), rgb(242, 166, 48), rgb(196, 124, 20), rgb(30, 31, 35),
                       rgb(46, 48, 54),    rgb(60, 63, 70),   rgb(88, 92, 100),  rgb(112, 115, 122),
                       rgb(222, 224, 228), rgb(210, 56, 44)};
    return t;
}

Theme roundedTheme() {
    Theme t;
    t.id = "rounded";
    t.skinName = "Qelvo Pebble";
    t.iniName = "qelvopebble.ini";
    // Rounded outer corners are keyed out with magenta, so windows get a
    // shaped region; the middles tile a fine grain.
    t.titleH = 30, t.sideW = 8, t.bottomH = 8, t.topStripW = 296, t.sideMid = 8, t.bottomStripW = 296;
    t.cornerTop = 10, t.cornerBottom = 6, t.tiled = true, t.shaped = true, t.textureStep = 4;
    t.captionStyle = CaptionStyle::Circles;
    t.capW = 16, t.capH = 16, t.capY = 7;
    t.captionButtons = {
        {0, 30, 0, 0, "CloseButton.bmp"},
        {1, 52, 6, 2, "MaxButton.bmp"},
        {1, 52, 6, 1, "RestroreButton.bmp"},
        {2, 74, 6, 0, "MinButton.bmp"},
        {40, 96, 1001, 0, "HelpButton.bmp"},
    };
    t.helpButton = true;
    t.iconX = 14, t.iconY = 7;
    t.textShift = 36, t.textShiftVert = 0, t.textRightClip = 104, t.fontHeight = 16;

    t.face = rgb(238, 233, 224), t.text = rgb(60, 52, 44), t.hilight = rgb(255, 253, 248);
    t.light = rgb(246, 242, 235), t.shadow = rgb(176, 166, 150), t.dkShadow = rgb(110, 100, 88);
    t.disabledText = rgb(170, 160, 146), t.window = rgb(255, 253, 249), t.windowText = rgb(50, 44, 38);
    t.accent = rgb(92, 148, 112), t.accentDark = rgb(64, 114, 82), t.accentText = rgb(255, 255, 255);
    t.titleTop = rgb(251, 248, 241), t.titleBottom = rgb(232, 224, 210);
    t.titleTopI = rgb(247, 245, 241), t.titleBottomI = rgb(235, 231, 225);
    t.titleText = rgb(70, 58, 46), t.titleTextI = rgb(160, 152, 140);
    t.outline = rgb(160, 144, 120), t.outlineI = rgb(190, 182, 170);
    t.frameFill = rgb(232, 224, 210), t.frameFillI = rgb(235, 231, 225);
    t.frameInner = rgb(198, 186, 166), t.frameInnerI = rgb(212, 206, 196);
    t.menuBarTop = rgb(244, 239, 230), t.menuBarBottom = rgb(236, 230, 220), t.menuBarText = rgb(60, 52, 44);
    t.menu = rgb(252, 249, 244), t.menuText = rgb(60, 52, 44), t.menuSel = rgb(206, 228, 210);
    t.menuSelText = rgb(30, 50, 36), t.menuGutter = rgb(243, 238, 229), t.menuBorder = rgb(176, 164, 146);
    t.ctlBorder = rgb(176, 162, 140), t.ctlTop = rgb(255, 252, 246), t.ctlBottom = rgb(236, 228, 214);
    t.ctlHotBorder = rgb(92, 148, 112), t.ctlHotTop = rgb(255, 255, 252), t.ctlHotBottom = rgb(222, 237, 225);
    t.ctlDownBorder = rgb(64, 114, 82), t.ctlDownTop = rgb(204, 223, 207), t.ctlDownBottom = rgb(222, 236, 224);
    t.ctlOffBorder = rgb(212, 204, 192), t.ctlOffTop = rgb(240, 236, 230), t.ctlOffBottom = rgb(240, 236, 230);
    t.fieldBorder = rgb(180, 166, 146), t.field = rgb(255, 253, 249);
    t.glyph = rgb(70, 58, 46), t.glyphI = rgb(176, 168, 156);
    t.capTop = t.ctlTop, t.capBottom = t.ctlBottom, t.capBorder = t.ctlBorder;
    t.capHotTop = t.ctlHotTop, t.capHotBottom = t.ctlHotBottom, t.capHotBorder = t.ctlHotBorder;
    t.closeHot = rgb(222, 106, 88), t.closeDown = rgb(186, 72, 56);
    t.track = rgb(236, 230, 220), t.thumbTop = rgb(252, 249, 242), t.thumbBottom = rgb(228, 218, 202);
    t.thumbBorder = rgb(176, 162, 140);
    t.progressTop = rgb(152, 202, 164), t.progressBottom = rgb(92, 148, 112);
    t.radius = 8, t.checkSize = 16, t.rim = 0.6;
    t.sectionColours = {rgb(50, 44, 38),    rgb(92, 148, 112), rgb(232, 224, 210), rgb(160, 144, 120),
                        rgb(238, 233, 224), rgb(255, 253, 249), rgb(222, 106, 88)};
    t.customColours = {rgb(255, 255, 255), rgb(251, 248, 241), rgb(232, 224, 210), rgb(198, 186, 166),
                       rgb(160, 144, 120), rgb(92, 148, 112),  rgb(64, 114, 82),   rgb(238, 233, 224),
                       rgb(176, 166, 150), rgb(60, 52, 44)};
    return t;
}

}  // namespace

std::vector<std::string> themeNames() { return {"default", "dark", "rounded"}; }

const Theme& themeByName(const std::string& id) {
    static const Theme themes[] = {lightTheme(), darkTheme(), roundedTheme()};
    for (const Theme& t : themes)
        if (t.id == id) return t;
    throw std::out_of_range("no skin named \"" + id + "\" (known: default, dark, rounded)");
}

}  // namespace qs::gen
