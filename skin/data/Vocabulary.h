#pragma once
// Every section and key of a skin description that the loader reads, as one
// table: which element slot it fills, the kind of value, its default and how
// an out-of-range value is corrected. The loader walks this table in order
// (the order matters: the colour table comes before any element, because
// element colours default to the skin's ButtonText colour, and ButtonFace
// comes before Menubar, which defaults to it).
//
// Colour defaults that are system colours stay symbolic (0xFF0000nn) here and
// in the records; they are resolved only when drawn.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Colour.h"

namespace qs {
class TQuickIni;
}

namespace qs::vocab {

enum class ValueKind : uint8_t {
    String,      // trimmed text; empty means absent
    Integer,     // decimal, $hex or 0x hex
    Image,       // image reference: bare .bmp entry name, or no image
    ColourText,  // "r g b"
    ColourKeys,  // the key is a prefix; three integer keys prefix+R, +G, +B
};

// Correction applied to an integer after reading it.
enum class Fix : uint8_t {
    None,
    AboveOneIsOne,   // tiling flags of borders, menu bar and progress bar
    AboveOneIsZero,  // tiling flags of the other elements
};

// Where a default comes from when it is not the literal in the table.
enum class DefaultFrom : uint8_t {
    Literal,
    SkinButtonText,      // the ButtonText colour of the skin being loaded
    SkinButtonFace,      // the ButtonFace colour of the skin being loaded
    NearSkinButtonFace,  // DeriveWindowColour of the skin's ButtonFace
    MinusOneIfActionIs,  // -1 when the section's Action is -1, else the literal
};

// What a value becomes.
enum class Field : uint8_t {
    // every element record
    LeftWidth, TopHeight, RightWidth, BottomHeight, Bitmap, Trans, Tile, Frame, Style,
    NormalColour, MouseOverColour, PressedColour, NormalColour2, MouseOverColour2, PressedColour2,
    // two-image elements
    Bitmap2,
    // caption text
    TextAlignment, Textbackground, FontHeight, TXTBackleft, TXTBackRight, ActiveText, InActiveText,
    // push, check and radio buttons
    CheckBitmap, RadioBitmap, RadioButtonFrame, CheckButtonFrame,
    // caption buttons
    Action, Align, Xcoord, Ycoord, CombineOp, Visibility, Visibility1,
    // group box label
    BackgroundAlignment, BackgroundLeftShift, BackgroundRightShift,
    // skin-wide values
    SkinName,
    WindowText, ButtonFace, Scrollbar, HilightText, Hilight, Menubar, Menu, MenuText, ButtonText,
    ButtonHilight, Buttonlight, ButtonShadow, ButtonDkShadow, MenuBarText, TitleTextActive, TitleTextNoActive, Window,
    SectionColour,  // the one colour of a COLOUR section
    CustomColor,    // KeyDef::index names which of the ten
};

// The element slot (or skin-wide table) that a section fills.
enum class Slot : uint8_t {
    Skin,  // SkinName
    BorderLeft, BorderRight, BorderTop, BorderBottom,
    Colours, ColourSections, CustomColors,
    CaptionButtons, MdiControls,
    Buttons, Title,
    Progress, ProgressChunk, MenuBar, GroupBoxEdge, GroupBox, Tabs, StatusBarEdges, TabPane, ToolBars,
    ComboButton, SunkEdge, ExtraImages, Headerbar, MenuItem, MenuBackground,
    Scrollbar, HorzScroll, VertScroll, HorzScrollThumb, VertScrollThumb,
    TrackbarThumbHorz, TrackbarThumbVert, TrackbarThumbLeft, TrackbarThumbRight, TrackbarThumbUp, TrackbarThumbDown,
    UpDownHorz, UpDownVert, Track, TrackVert,
};

// The record class a slot holds.
enum class Record : uint8_t { None, Object, Border, Title, Button, SysButton, BoxLabel };

// How the section of an element is found.
enum class Match : uint8_t {
    Exact,           // by name, case-blind
    ColourSections,  // every section named COLOUR... except COLOURS, in text order
    CaptionButtons,  // every caption-button section, in text order
};

struct KeyDef {
    std::string_view name;
    ValueKind kind;
    Field field;
    int32_t def = 0;
    DefaultFrom from = DefaultFrom::Literal;
    Fix fix = Fix::None;
    uint8_t index = 0;  // CustomColor number
};

struct ElementDef {
    Slot slot;
    std::string_view section;  // empty for the pattern matches
    Match match;
    Record record;
    // The record is created only when this key has a value; empty when the
    // record always exists (frame borders, title, buttons, skin-wide tables).
    std::string_view requiredKey;
    // Frame count the loader gives the record after all sections are read;
    // 0 when it keeps the count it read or follows a rule of its own.
    int16_t frames;
    std::span<const KeyDef> keys;
};

// The whole vocabulary, in the order the loader reads it.
std::span<const ElementDef> elements();
// The entries for one slot (the title has two: caption keys and the font).
std::vector<const ElementDef*> elementsFor(Slot slot);

// Section-name rules for the pattern matches.
bool isColourSection(std::string_view name);
bool isCaptionButtonSection(std::string_view name);
// The sections of a description that `match` selects, in text order; a
// caption-button section whose Action is -1 and whose Visibility (default -1)
// is not 0 is left out.
std::vector<std::string> sectionsMatching(const TQuickIni& ini, Match match);

// Values the defaults of some keys depend on.
struct ReadContext {
    ColourNum buttonText = syscolour::clBtnText;
    ColourNum buttonFace = syscolour::clBtnFace;
    int32_t action = 0;  // the Action of the caption-button section being read
};

int32_t defaultOf(const KeyDef& key, const ReadContext& ctx);

// Reads one key by its table entry. Integer: default and correction applied.
int32_t readInteger(const TQuickIni& ini, std::string_view section, const KeyDef& key, const ReadContext& ctx);
// ColourText: the colour or its default. ColourKeys: `target` set only when
// all three keys are given (returns whether it was).
ColourNum readColour(const TQuickIni& ini, std::string_view section, const KeyDef& key, const ReadContext& ctx);
bool readColourKeys(const TQuickIni& ini, std::string_view section, const KeyDef& key, ColourNum& target);
// Image: the entry name, or empty for no image. String: the value or "".
std::string readText(const TQuickIni& ini, std::string_view section, const KeyDef& key);

}  // namespace qs::vocab
