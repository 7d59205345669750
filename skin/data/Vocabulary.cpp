#include "Vocabulary.h"

#include <array>

#include "ColourText.h"
#include "QuickIni.h"

namespace qs::vocab {

namespace {

using namespace syscolour;
using K = ValueKind;
using F = Field;
constexpr int32_t kWhite = 0xFFFFFF;

// --- [Personality]: frame borders, caption text, menu bar -------------------

#define QS_BORDER_KEYS(side, first, second)                                  \
    {side, K::Image, F::Bitmap},                                             \
    {side "Frame", K::Integer, F::Frame, 1},                                 \
    {side "Stretch", K::Integer, F::Tile, 1, DefaultFrom::Literal, Fix::AboveOneIsOne}, \
    {side "Trans", K::Integer, F::Trans, 1},                                 \
    {side "TopHeight", K::Integer, first},                                   \
    {side "BotHeight", K::Integer, second}

constexpr KeyDef kBorderLeft[] = {QS_BORDER_KEYS("Left", F::TopHeight, F::BottomHeight)};
constexpr KeyDef kBorderRight[] = {QS_BORDER_KEYS("Right", F::TopHeight, F::BottomHeight)};
// Horizontal borders keep their fixed left length in "TopHeight", right in "BotHeight".
constexpr KeyDef kBorderTop[] = {QS_BORDER_KEYS("Top", F::LeftWidth, F::RightWidth)};
constexpr KeyDef kBorderBottom[] = {QS_BORDER_KEYS("Bottom", F::LeftWidth, F::RightWidth)};
#undef QS_BORDER_KEYS

constexpr KeyDef kTitle[] = {
    {"TextBack", K::Image, F::Bitmap},
    {"TextShift", K::Integer, F::LeftWidth},
    {"TextShiftVert", K::Integer, F::TopHeight},
    {"TextRightClip", K::Integer, F::RightWidth},
    {"TextAlignment", K::Integer, F::TextAlignment},
    {"Textbackground", K::Integer, F::Textbackground},
    {"TXTBackleft", K::Integer, F::TXTBackleft},
    {"TXTBackRight", K::Integer, F::TXTBackRight},
    {"ActiveText", K::ColourKeys, F::ActiveText},
    {"InActiveText", K::ColourKeys, F::InActiveText},
};
constexpr KeyDef kFonts[] = {{"FontHeight", K::Integer, F::FontHeight, 14}};

constexpr KeyDef kMenuBar[] = {
    {"menuBar", K::Image, F::Bitmap},
    {"TileMenu", K::Integer, F::Tile, 1, DefaultFrom::Literal, Fix::AboveOneIsOne},
    {"TileLeftMenu", K::Integer, F::LeftWidth, 1},
    {"TileRightMenu", K::Integer, F::RightWidth, 1},
};

// --- skin-wide values --------------------------------------------------------

constexpr KeyDef kSkinName[] = {{"SkinName", K::String, F::SkinName}};

constexpr KeyDef kColours[] = {
    {"WindowText", K::ColourText, F::WindowText, clWindowText},
    {"ButtonFace", K::ColourText, F::ButtonFace, clBtnFace},
    {"Scrollbar", K::ColourText, F::Scrollbar, clScrollBar},
    {"HilightText", K::ColourText, F::HilightText, clHighlightText},
    {"Hilight", K::ColourText, F::Hilight, clHighlight},
    {"Menubar", K::ColourText, F::Menubar, clBtnFace, DefaultFrom::SkinButtonFace},
    {"Menu", K::ColourText, F::Menu, clMenu},
    {"MenuText", K::ColourText, F::MenuText, clMenuText},
    {"ButtonText", K::ColourText, F::ButtonText, clBtnText},
    {"ButtonHilight", K::ColourText, F::ButtonHilight, clBtnHighlight},
    {"Buttonlight", K::ColourText, F::Buttonlight, clBtnHighlight},
    {"ButtonShadow", K::ColourText, F::ButtonShadow, clBtnShadow},
    {"ButtonDkShadow", K::ColourText, F::ButtonDkShadow, cl3DDkShadow},
    {"MenuBarText", K::ColourText, F::MenuBarText, clMenuText},
    {"TitleTextActive", K::ColourText, F::TitleTextActive, clCaptionText},
    {"TitleTextNoActive", K::ColourText, F::TitleTextNoActive, clInactiveCaptionText},
    {"Window", K::ColourText, F::Window, clWindow, DefaultFrom::NearSkinButtonFace},
};

constexpr KeyDef kColourSection[] = {{"color", K::ColourText, F::SectionColour, clWindowText}};

#define QS_CUSTOM(n) {"Color" #n, K::ColourText, F::CustomColor, kWhite, DefaultFrom::Literal, Fix::None, n}
constexpr KeyDef kCustomColors[] = {QS_CUSTOM(0), QS_CUSTOM(1), QS_CUSTOM(2), QS_CUSTOM(3), QS_CUSTOM(4),
                                    QS_CUSTOM(5), QS_CUSTOM(6), QS_CUSTOM(7), QS_CUSTOM(8), QS_CUSTOM(9)};
#undef QS_CUSTOM

// --- caption buttons ----------------------------------------------------------

constexpr KeyDef kCaptionButton[] = {
    {"Action", K::Integer, F::Action},
    {"Align", K::Integer, F::Align},
    {"Xcoord", K::Integer, F::Xcoord},
    {"Ycoord", K::Integer, F::Ycoord},
    {"Visibility", K::Integer, F::Visibility},
    {"Visibility1", K::Integer, F::Visibility1, 0, DefaultFrom::MinusOneIfActionIs},
    {"CombineOp", K::Integer, F::CombineOp, -1},
    {"frame", K::Integer, F::Frame},
    {"ButtonImage", K::Image, F::Bitmap},
};
constexpr KeyDef kMdiControls[] = {{"Image", K::Image, F::Bitmap}};

// --- control elements ---------------------------------------------------------

#define QS_MARGINS                                       \
    {"LeftWidth", K::Integer, F::LeftWidth},             \
    {"RightWidth", K::Integer, F::RightWidth},           \
    {"TopHeight", K::Integer, F::TopHeight},             \
    {"BottomHeight", K::Integer, F::BottomHeight}
#define QS_STATE_COLOURS                                                          \
    {"NormalColour", K::Integer, F::NormalColour, -1},                            \
    {"MouseOverColour", K::Integer, F::MouseOverColour, -1},                      \
    {"PressedColour", K::Integer, F::PressedColour, -1},                          \
    {"NormalColour2", K::ColourText, F::NormalColour2, clBtnText, DefaultFrom::SkinButtonText},         \
    {"MouseOverColour2", K::ColourText, F::MouseOverColour2, clBtnText, DefaultFrom::SkinButtonText},   \
    {"PressedColour2", K::ColourText, F::PressedColour2, clBtnText, DefaultFrom::SkinButtonText}
#define QS_TRANS_TILE                                    \
    {"Trans", K::Integer, F::Trans},                     \
    {"Tile", K::Integer, F::Tile, 0, DefaultFrom::Literal, Fix::AboveOneIsZero}

constexpr KeyDef kButtons[] = {
    {"Bitmap", K::Image, F::Bitmap},
    QS_MARGINS,
    QS_TRANS_TILE,
    {"CheckButton", K::Image, F::CheckBitmap},
    {"RadioButton", K::Image, F::RadioBitmap},
    {"RadioButtonFrame", K::Integer, F::RadioButtonFrame},
    {"CheckButtonFrame", K::Integer, F::CheckButtonFrame},
    QS_STATE_COLOURS,
};

constexpr KeyDef kProgress[] = {
    {"Bitmap", K::Image, F::Bitmap},
    {"Style", K::Integer, F::Style},
    QS_MARGINS,
    {"Trans", K::Integer, F::Trans},
    {"Tile", K::Integer, F::Tile, 0, DefaultFrom::Literal, Fix::AboveOneIsOne},
};

#define QS_ELEMENT_HEAD {"Image", K::Image, F::Bitmap}, {"Style", K::Integer, F::Style}, QS_MARGINS

constexpr KeyDef kPlain[] = {QS_ELEMENT_HEAD, {"Frame", K::Integer, F::Frame}, QS_TRANS_TILE, QS_STATE_COLOURS};
constexpr KeyDef kThumb[] = {QS_ELEMENT_HEAD, {"FrameCount", K::Integer, F::Frame, 3}, QS_TRANS_TILE,
                             QS_STATE_COLOURS};
constexpr KeyDef kGroupBox[] = {QS_ELEMENT_HEAD,
                                QS_TRANS_TILE,
                                QS_STATE_COLOURS,
                                {"BackgroundAlignment", K::Integer, F::BackgroundAlignment},
                                {"BackgroundLeftShift", K::Integer, F::BackgroundLeftShift},
                                {"BackgroundRightShift", K::Integer, F::BackgroundRightShift}};
#define QS_TWO_IMAGE(name, second) \
    constexpr KeyDef name[] = {QS_ELEMENT_HEAD, QS_TRANS_TILE, QS_STATE_COLOURS, {second, K::Image, F::Bitmap2}};
QS_TWO_IMAGE(kTabs, "Border")
QS_TWO_IMAGE(kUpDown, "GlyphImage")
// No skin names this key: the combo button's second image is made by the loader.
QS_TWO_IMAGE(kComboButton, "****")
#undef QS_TWO_IMAGE
#undef QS_ELEMENT_HEAD
#undef QS_TRANS_TILE
#undef QS_STATE_COLOURS
#undef QS_MARGINS

using S = Slot;
using R = Record;
constexpr Match X = Match::Exact;

constexpr ElementDef kElements[] = {
    {S::Skin, "TitlebarSkin", X, R::None, "", 0, kSkinName},
    {S::BorderLeft, "Personality", X, R::Border, "", 0, kBorderLeft},
    {S::BorderRight, "Personality", X, R::Border, "", 0, kBorderRight},
    {S::BorderTop, "Personality", X, R::Border, "", 0, kBorderTop},
    {S::BorderBottom, "Personality", X, R::Border, "", 0, kBorderBottom},
    {S::Colours, "Colours", X, R::None, "", 0, kColours},
    {S::ColourSections, "", Match::ColourSections, R::None, "", 0, kColourSection},
    {S::CustomColors, "Customcolors", X, R::None, "", 0, kCustomColors},
    {S::CaptionButtons, "", Match::CaptionButtons, R::SysButton, "", 0, kCaptionButton},
    {S::MdiControls, "MDICONTROLS", X, R::SysButton, "Image", 4, kMdiControls},
    {S::Buttons, "Buttons", X, R::Button, "", 5, kButtons},
    {S::Title, "Personality", X, R::Title, "", 2, kTitle},
    {S::Title, "Fonts", X, R::Title, "", 2, kFonts},
    {S::Progress, "Progress", X, R::Border, "Bitmap", 0, kProgress},
    {S::ProgressChunk, "Progress.Chunk", X, R::Object, "Image", 0, kPlain},
    {S::MenuBar, "Personality", X, R::Object, "menuBar", 2, kMenuBar},
    {S::GroupBoxEdge, "GroupBoxEdge", X, R::Object, "Image", 2, kPlain},
    {S::GroupBox, "GroupBox", X, R::BoxLabel, "Image", 1, kGroupBox},
    {S::Tabs, "Tabs", X, R::Border, "Image", 5, kTabs},
    {S::StatusBarEdges, "StatusBarEdges", X, R::Object, "Image", 3, kPlain},
    {S::TabPane, "Tab.Pane", X, R::Object, "Image", 1, kPlain},
    {S::ToolBars, "ToolBars", X, R::Object, "Image", 5, kPlain},
    {S::ComboButton, "ComboButton", X, R::Border, "Image", 4, kComboButton},
    {S::SunkEdge, "SunkEdge", X, R::Object, "Image", 4, kPlain},
    {S::ExtraImages, "ExtraImages", X, R::Object, "Image", 5, kPlain},
    {S::Headerbar, "Headerbar", X, R::Object, "Image", 0, kPlain},
    {S::MenuItem, "MenuItem", X, R::Object, "Image", 5, kPlain},
    {S::MenuBackground, "MenuBackground", X, R::Object, "Image", 1, kPlain},
    {S::Scrollbar, "Scrollbar", X, R::Object, "Image", 23, kPlain},
    {S::HorzScroll, "HorzScroll", X, R::Object, "Image", 4, kPlain},
    {S::VertScroll, "VertScroll", X, R::Object, "Image", 4, kPlain},
    {S::HorzScrollThumb, "HorzScrollThumb", X, R::Object, "Image", 0, kThumb},
    {S::VertScrollThumb, "VertScrollThumb", X, R::Object, "Image", 0, kThumb},
    {S::TrackbarThumbHorz, "Trackbar.ThumbHorz", X, R::Object, "Image", 5, kPlain},
    {S::TrackbarThumbVert, "Trackbar.ThumbVert", X, R::Object, "Image", 5, kPlain},
    {S::TrackbarThumbLeft, "Trackbar.ThumbLeft", X, R::Object, "Image", 5, kPlain},
    {S::TrackbarThumbRight, "Trackbar.ThumbRight", X, R::Object, "Image", 5, kPlain},
    {S::TrackbarThumbUp, "Trackbar.ThumbUp", X, R::Object, "Image", 5, kPlain},
    {S::TrackbarThumbDown, "Trackbar.ThumbDown", X, R::Object, "Image", 5, kPlain},
    {S::UpDownHorz, "UpDown.Horz", X, R::Border, "Image", 8, kUpDown},
    {S::UpDownVert, "UpDown.Vert", X, R::Border, "Image", 8, kUpDown},
    {S::Track, "Track", X, R::Object, "Image", 0, kPlain},
    {S::TrackVert, "TRACKVERT", X, R::Object, "Image", 0, kPlain},
};

std::string upperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return r;
}

}  // namespace

std::span<const ElementDef> elements() { return kElements; }

std::vector<const ElementDef*> elementsFor(Slot slot) {
    std::vector<const ElementDef*> r;
    for (const ElementDef& e : kElements)
        if (e.slot == slot) r.push_back(&e);
    return r;
}

bool isColourSection(std::string_view name) {
    const std::string u = upperAscii(name);
    return u.starts_with("COLOUR") && u != "COLOURS";
}

bool isCaptionButtonSection(std::string_view name) {
    const std::string u = upperAscii(name);
    return u.starts_with("BUTTON") && u != "BUTTON" && u != "BUTTONS" && u != "BUTTON.RADIO" &&
           u != "BUTTON.CHECKBOX";
}

std::vector<std::string> sectionsMatching(const TQuickIni& ini, Match match) {
    std::vector<std::string> names, kept;
    ini.ReadSections(names);
    for (std::string& n : names) {
        if (match == Match::ColourSections) {
            if (!isColourSection(n)) continue;
        } else if (match == Match::CaptionButtons) {
            if (!isCaptionButtonSection(n)) continue;
            if (ini.ReadInteger(n, "Action", 0) == -1 && ini.ReadInteger(n, "Visibility", -1) != 0) continue;
        }
        kept.push_back(std::move(n));
    }
    return kept;
}

int32_t defaultOf(const KeyDef& key, const ReadContext& ctx) {
    switch (key.from) {
        case DefaultFrom::SkinButtonText: return ctx.buttonText;
        case DefaultFrom::SkinButtonFace: return ctx.buttonFace;
        case DefaultFrom::NearSkinButtonFace: return DeriveWindowColour(ctx.buttonFace);
        case DefaultFrom::MinusOneIfActionIs: return ctx.action == -1 ? -1 : key.def;
        case DefaultFrom::Literal: break;
    }
    return key.def;
}

int32_t readInteger(const TQuickIni& ini, std::string_view section, const KeyDef& key, const ReadContext& ctx) {
    int32_t v = ini.ReadInteger(section, key.name, defaultOf(key, ctx));
    if (v > 1 && key.fix == Fix::AboveOneIsOne) v = 1;
    if (v > 1 && key.fix == Fix::AboveOneIsZero) v = 0;
    return v;
}

ColourNum readColour(const TQuickIni& ini, std::string_view section, const KeyDef& key, const ReadContext& ctx) {
    return ReadColour(ini, section, key.name, defaultOf(key, ctx));
}

bool readColourKeys(const TQuickIni& ini, std::string_view section, const KeyDef& key, ColourNum& target) {
    return ReadColourKeys(ini, section, key.name, target);
}

std::string readText(const TQuickIni& ini, std::string_view section, const KeyDef& key) {
    std::string v = ini.ReadString(section, key.name, "");
    return key.kind == ValueKind::Image ? imageReference(v) : v;
}

}  // namespace qs::vocab
