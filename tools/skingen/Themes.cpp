// The three skins we ship: a light default, a dark one and a rounded one.
// Settings are rows with one column per skin, so the skins can be compared
// side by side and a new setting is one line.
#include <stdexcept>

#include "Theme.h"

namespace qs::gen {

namespace {

constexpr int kSkinCount = 3;  // default, dark, rounded

template <class T>
struct Row {
    T Theme::*field;
    T value[kSkinCount];
};

// What is not a single value: names, caption-button layout, colour lists.
struct SkinIdentity {
    const char* id;
    const char* skinName;
    const char* iniName;
    CaptionStyle captionStyle;
    double rim;
    std::vector<CaptionButtonPlace> captionButtons;
    std::vector<Px> sectionColours;
    std::vector<Px> customColours;
};

const SkinIdentity kIdentities[kSkinCount] = {
    {"default", "Qelvo Light", "qelvolight.ini", CaptionStyle::Boxed, 0.45,
     {
         {0, 25, 0, 0, "CloseButton.bmp"},
         {1, 49, 6, 2, "MaxButton.bmp"},
         {1, 49, 6, 1, "RestroreButton.bmp"},
         {2, 73, 6, 0, "MinButton.bmp"},
     },
     {rgb(0, 0, 0), rgb(44, 112, 200), rgb(206, 220, 240), rgb(100, 124, 160), rgb(224, 224, 224),
      rgb(255, 255, 255), rgb(212, 64, 52)},
     {rgb(255, 255, 255), rgb(238, 243, 250), rgb(206, 220, 240), rgb(148, 168, 198), rgb(100, 124, 160),
      rgb(44, 112, 200), rgb(28, 82, 160), rgb(224, 224, 224), rgb(150, 150, 150), rgb(32, 36, 42)}},
    {"dark", "Qelvo Night", "qelvonight.ini", CaptionStyle::Tiles, 0,
     {
         {0, 41, 0, 0, "CloseButton.bmp"},
         {1, 81, 6, 2, "MaxButton.bmp"},
         {1, 81, 6, 1, "RestroreButton.bmp"},
         {2, 121, 6, 0, "MinButton.bmp"},
         // Shown only to windows that answer the visibility query for it.
         {40, 161, 1001, 0, "HelpButton.bmp"},
     },
     {rgb(232, 232, 232), rgb(242, 166, 48), rgb(30, 31, 35), rgb(46, 48, 54), rgb(60, 63, 70), rgb(32, 33, 37),
      rgb(210, 56, 44)},
     {rgb(255, 255, 255), rgb(242, 166, 48), rgb(196, 124, 20), rgb(30, 31, 35), rgb(46, 48, 54), rgb(60, 63, 70),
      rgb(88, 92, 100), rgb(112, 115, 122), rgb(222, 224, 228), rgb(210, 56, 44)}},
    {"rounded", "Qelvo Pebble", "qelvopebble.ini", CaptionStyle::Circles, 0.6,
     {
         {0, 30, 0, 0, "CloseButton.bmp"},
         {1, 52, 6, 2, "MaxButton.bmp"},
         {1, 52, 6, 1, "RestroreButton.bmp"},
         {2, 74, 6, 0, "MinButton.bmp"},
         {40, 96, 1001, 0, "HelpButton.bmp"},
     },
     {rgb(50, 44, 38), rgb(92, 148, 112), rgb(232, 224, 210), rgb(160, 144, 120), rgb(238, 233, 224),
      rgb(255, 253, 249), rgb(222, 106, 88)},
     {rgb(255, 255, 255), rgb(251, 248, 241), rgb(232, 224, 210), rgb(198, 186, 166), rgb(160, 144, 120),
      rgb(92, 148, 112), rgb(64, 114, 82), rgb(238, 233, 224), rgb(176, 166, 150), rgb(60, 52, 44)}},
};

const Row<int> kNumbers[] = {
    // The light skin's frame is the geometry the viewer's layout was measured
    // with: 27-pixel title, 5-pixel sides and bottom, 18 x 18 caption buttons.
    {&Theme::titleH, {27, 32, 30}},
    {&Theme::sideW, {5, 4, 8}},
    {&Theme::bottomH, {5, 4, 8}},
    {&Theme::topStripW, {290, 300, 296}},
    {&Theme::sideMid, {8, 8, 8}},
    {&Theme::bottomStripW, {290, 300, 296}},
    // Pebble's rounded outer corners are keyed out with magenta, so windows get
    // a shaped region; its middles tile a fine grain.
    {&Theme::cornerTop, {0, 0, 10}},
    {&Theme::cornerBottom, {0, 0, 6}},
    {&Theme::textureStep, {0, 0, 4}},
    {&Theme::capW, {18, 40, 16}},
    {&Theme::capH, {18, 30, 16}},
    {&Theme::capY, {5, 1, 7}},
    {&Theme::iconX, {8, 10, 14}},
    {&Theme::iconY, {7, 8, 7}},
    {&Theme::textShift, {30, 34, 36}},
    {&Theme::textShiftVert, {0, 1, 0}},
    {&Theme::textRightClip, {80, 170, 104}},
    {&Theme::fontHeight, {17, 16, 16}},
    {&Theme::radius, {3, 1, 8}},
    {&Theme::checkSize, {13, 13, 16}},
};

const Row<bool> kFlags[] = {
    {&Theme::tiled, {false, false, true}},
    {&Theme::shaped, {false, false, true}},
    {&Theme::helpButton, {false, true, true}},
    {&Theme::chevrons, {false, true, false}},
    {&Theme::filledChecks, {false, true, false}},
};

const Row<Px> kColours[] = {
    {&Theme::face, {rgb(224, 224, 224), rgb(46, 48, 54), rgb(238, 233, 224)}},
    {&Theme::text, {rgb(32, 36, 42), rgb(222, 224, 228), rgb(60, 52, 44)}},
    {&Theme::hilight, {rgb(255, 255, 255), rgb(92, 96, 106), rgb(255, 253, 248)}},
    {&Theme::light, {rgb(240, 240, 240), rgb(70, 73, 80), rgb(246, 242, 235)}},
    // Night's ButtonShadow is also the colour of disabled menu text: it has to
    // read on the dark menu, so it is a mid grey rather than a near black.
    {&Theme::shadow, {rgb(150, 150, 150), rgb(108, 112, 120), rgb(176, 166, 150)}},
    {&Theme::dkShadow, {rgb(90, 90, 90), rgb(8, 8, 10), rgb(110, 100, 88)}},
    {&Theme::disabledText, {rgb(150, 150, 150), rgb(112, 115, 122), rgb(170, 160, 146)}},
    {&Theme::window, {rgb(255, 255, 255), rgb(32, 33, 37), rgb(255, 253, 249)}},
    {&Theme::windowText, {rgb(20, 20, 20), rgb(232, 232, 232), rgb(50, 44, 38)}},
    {&Theme::accent, {rgb(44, 112, 200), rgb(242, 166, 48), rgb(92, 148, 112)}},
    {&Theme::accentDark, {rgb(28, 82, 160), rgb(196, 124, 20), rgb(64, 114, 82)}},
    {&Theme::accentText, {rgb(255, 255, 255), rgb(30, 24, 10), rgb(255, 255, 255)}},
    {&Theme::titleTop, {rgb(238, 243, 250), rgb(30, 31, 35), rgb(251, 248, 241)}},
    {&Theme::titleBottom, {rgb(206, 220, 240), rgb(30, 31, 35), rgb(232, 224, 210)}},
    {&Theme::titleTopI, {rgb(244, 244, 244), rgb(42, 44, 49), rgb(247, 245, 241)}},
    {&Theme::titleBottomI, {rgb(226, 226, 226), rgb(42, 44, 49), rgb(235, 231, 225)}},
    {&Theme::titleText, {rgb(22, 40, 68), rgb(238, 238, 238), rgb(70, 58, 46)}},
    {&Theme::titleTextI, {rgb(130, 130, 130), rgb(128, 130, 136), rgb(160, 152, 140)}},
    {&Theme::outline, {rgb(100, 124, 160), rgb(242, 166, 48), rgb(160, 144, 120)}},
    {&Theme::outlineI, {rgb(160, 160, 160), rgb(70, 72, 78), rgb(190, 182, 170)}},
    {&Theme::frameFill, {rgb(206, 220, 240), rgb(30, 31, 35), rgb(232, 224, 210)}},
    {&Theme::frameFillI, {rgb(226, 226, 226), rgb(42, 44, 49), rgb(235, 231, 225)}},
    {&Theme::frameInner, {rgb(148, 168, 198), rgb(18, 19, 22), rgb(198, 186, 166)}},
    {&Theme::frameInnerI, {rgb(180, 180, 180), rgb(30, 31, 35), rgb(212, 206, 196)}},
    {&Theme::menuBarTop, {rgb(248, 249, 252), rgb(30, 31, 35), rgb(244, 239, 230)}},
    {&Theme::menuBarBottom, {rgb(232, 236, 242), rgb(30, 31, 35), rgb(236, 230, 220)}},
    {&Theme::menuBarText, {rgb(20, 28, 40), rgb(220, 222, 226), rgb(60, 52, 44)}},
    {&Theme::menu, {rgb(250, 250, 250), rgb(38, 40, 45), rgb(252, 249, 244)}},
    {&Theme::menuText, {rgb(20, 20, 20), rgb(222, 224, 228), rgb(60, 52, 44)}},
    {&Theme::menuSel, {rgb(198, 220, 248), rgb(242, 166, 48), rgb(206, 228, 210)}},
    {&Theme::menuSelText, {rgb(0, 0, 0), rgb(30, 24, 10), rgb(30, 50, 36)}},
    {&Theme::menuGutter, {rgb(237, 240, 245), rgb(38, 40, 45), rgb(243, 238, 229)}},
    {&Theme::menuBorder, {rgb(140, 150, 165), rgb(84, 87, 95), rgb(176, 164, 146)}},
    {&Theme::ctlBorder, {rgb(140, 148, 160), rgb(80, 84, 92), rgb(176, 162, 140)}},
    {&Theme::ctlTop, {rgb(255, 255, 255), rgb(60, 63, 70), rgb(255, 252, 246)}},
    {&Theme::ctlBottom, {rgb(228, 230, 234), rgb(60, 63, 70), rgb(236, 228, 214)}},
    {&Theme::ctlHotBorder, {rgb(70, 130, 210), rgb(242, 166, 48), rgb(92, 148, 112)}},
    {&Theme::ctlHotTop, {rgb(250, 252, 255), rgb(72, 76, 84), rgb(255, 255, 252)}},
    {&Theme::ctlHotBottom, {rgb(214, 229, 250), rgb(72, 76, 84), rgb(222, 237, 225)}},
    {&Theme::ctlDownBorder, {rgb(40, 96, 176), rgb(196, 124, 20), rgb(64, 114, 82)}},
    {&Theme::ctlDownTop, {rgb(188, 207, 234), rgb(38, 40, 45), rgb(204, 223, 207)}},
    {&Theme::ctlDownBottom, {rgb(212, 226, 244), rgb(38, 40, 45), rgb(222, 236, 224)}},
    {&Theme::ctlOffBorder, {rgb(188, 188, 188), rgb(60, 62, 68), rgb(212, 204, 192)}},
    {&Theme::ctlOffTop, {rgb(236, 236, 236), rgb(50, 52, 58), rgb(240, 236, 230)}},
    {&Theme::ctlOffBottom, {rgb(236, 236, 236), rgb(50, 52, 58), rgb(240, 236, 230)}},
    {&Theme::fieldBorder, {rgb(128, 138, 154), rgb(88, 92, 100), rgb(180, 166, 146)}},
    {&Theme::field, {rgb(255, 255, 255), rgb(32, 33, 37), rgb(255, 253, 249)}},
    {&Theme::glyph, {rgb(40, 56, 82), rgb(220, 222, 226), rgb(70, 58, 46)}},
    {&Theme::glyphI, {rgb(150, 150, 150), rgb(104, 106, 112), rgb(176, 168, 156)}},
    // Night's caption tiles rest on the title colour; Pebble's caption buttons
    // are dressed like its push buttons.
    {&Theme::capTop, {rgb(250, 252, 255), rgb(30, 31, 35), rgb(255, 252, 246)}},
    {&Theme::capBottom, {rgb(220, 229, 242), rgb(30, 31, 35), rgb(236, 228, 214)}},
    {&Theme::capBorder, {rgb(128, 148, 180), rgb(30, 31, 35), rgb(176, 162, 140)}},
    {&Theme::capHotTop, {rgb(255, 255, 255), rgb(60, 62, 68), rgb(255, 255, 252)}},
    {&Theme::capHotBottom, {rgb(200, 220, 248), rgb(60, 62, 68), rgb(222, 237, 225)}},
    {&Theme::capHotBorder, {rgb(60, 120, 200), rgb(60, 62, 68), rgb(92, 148, 112)}},
    {&Theme::closeHot, {rgb(212, 64, 52), rgb(210, 56, 44), rgb(222, 106, 88)}},
    {&Theme::closeDown, {rgb(168, 40, 30), rgb(160, 36, 28), rgb(186, 72, 56)}},
    {&Theme::track, {rgb(236, 236, 236), rgb(38, 40, 45), rgb(236, 230, 220)}},
    {&Theme::thumbTop, {rgb(252, 252, 252), rgb(86, 90, 98), rgb(252, 249, 242)}},
    {&Theme::thumbBottom, {rgb(222, 226, 232), rgb(86, 90, 98), rgb(228, 218, 202)}},
    {&Theme::thumbBorder, {rgb(140, 148, 160), rgb(86, 90, 98), rgb(176, 162, 140)}},
    {&Theme::progressTop, {rgb(112, 182, 250), rgb(250, 186, 84), rgb(152, 202, 164)}},
    {&Theme::progressBottom, {rgb(40, 120, 210), rgb(226, 146, 30), rgb(92, 148, 112)}},
};

template <class T, size_t N>
void applyRows(Theme& t, const Row<T> (&rows)[N], int skin) {
    for (const Row<T>& r : rows) t.*r.field = r.value[skin];
}

Theme makeTheme(int skin) {
    const SkinIdentity& s = kIdentities[skin];
    Theme t;
    t.id = s.id;
    t.skinName = s.skinName;
    t.iniName = s.iniName;
    t.captionStyle = s.captionStyle;
    t.rim = s.rim;
    t.captionButtons = s.captionButtons;
    t.sectionColours = s.sectionColours;
    t.customColours = s.customColours;
    applyRows(t, kNumbers, skin);
    applyRows(t, kFlags, skin);
    applyRows(t, kColours, skin);
    return t;
}

}  // namespace

Theme doubledTheme(const Theme& t) {
    Theme d = t;
    d.scale = 2 * t.scale;
    for (int* v : {&d.titleH, &d.sideW, &d.bottomH, &d.topStripW, &d.sideMid, &d.bottomStripW, &d.cornerTop,
                   &d.cornerBottom, &d.textureStep, &d.capW, &d.capH, &d.capY, &d.iconX, &d.iconY, &d.radius})
        *v *= 2;
    return d;
}

std::vector<std::string> themeNames() {
    std::vector<std::string> names;
    for (const SkinIdentity& s : kIdentities) names.push_back(s.id);
    return names;
}

const Theme& themeByName(const std::string& id) {
    static const Theme themes[] = {makeTheme(0), makeTheme(1), makeTheme(2)};
    for (const Theme& t : themes)
        if (t.id == id) return t;
    throw std::out_of_range("no skin named \"" + id + "\" (known: default, dark, rounded)");
}

}  // namespace qs::gen
