#pragma once
// A skin description read into plain values, one entry per element slot, by
// walking the vocabulary table. No bitmaps and no platform here: the Windows
// side turns these values into element records and loads the images they name.
//
// This header deliberately includes neither Colour.h nor the toolkit's
// Graphics.h (the two declare the same colour constants with different types),
// so that both the description reader and the record builder can use it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qs {

class TQuickIni;

// The value fields of every element record, grouped by the record class that
// adds them. The record classes inherit these, so a value read here lands in
// the record under the same name.
struct TSkinObjectFields {
    int32_t LeftWidth = 0;
    int32_t TopHeight = 0;
    int32_t RightWidth = 0;
    int32_t BottomHeight = 0;
    int32_t Trans = 0;
    int32_t Tile = 0;
    std::string Name;
    int32_t Frame = 0;
    int32_t Style = 0;
    int32_t NormalColour = -1;
    int32_t MouseOverColour = -1;
    int32_t PressedColour = -1;
    // Colour numbers; the button-text system colour until a skin says otherwise.
    int32_t NormalColour2 = int32_t(0xFF000012u);
    int32_t MouseOverColour2 = int32_t(0xFF000012u);
    int32_t PressedColour2 = int32_t(0xFF000012u);
};

// "Not given" for a caption text colour: the skin's title colours apply.
inline constexpr int32_t kNoTitleColour = 0x1FFFFFFF;

struct TSkinTitleFields {
    int32_t TextAlignment = 0;
    int32_t Textbackground = 0;
    int32_t FontHeight = 14;
    int32_t TXTBackleft = 0;
    int32_t TXTBackRight = 0;
    int32_t ActiveText = kNoTitleColour;
    int32_t InActiveText = kNoTitleColour;
};

struct TSkinButtonFields {
    int32_t RadioButtonFrame = 0;
    int32_t CheckButtonFrame = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

struct TSkinSysButtonFields {
    int32_t Action = 0;
    int32_t Align = 0;
    int32_t Xcoord = 0;
    int32_t Ycoord = 0;
    int32_t CombineOp = -1;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

struct TSkinBoxLabelFields {
    int32_t BackgroundLeftShift = 0;
    int32_t BackgroundRightShift = 0;
    int32_t BackgroundAlignment = 0;
};

// Element slots of the skin data component, in the order a load fills them.
// The names and their order are those of the vocabulary's slots (checked at
// compile time where both are visible).
#define QS_SKIN_SLOTS(X)                                                                                   \
    X(Skin) X(BorderLeft) X(BorderRight) X(BorderTop) X(BorderBottom) X(Colours) X(ColourSections)       \
    X(CustomColors) X(CaptionButtons) X(MdiControls) X(Buttons) X(Title) X(Progress) X(ProgressChunk)    \
    X(MenuBar) X(GroupBoxEdge) X(GroupBox) X(Tabs) X(StatusBarEdges) X(TabPane) X(ToolBars)              \
    X(ComboButton) X(SunkEdge) X(ExtraImages) X(Headerbar) X(MenuItem) X(MenuBackground) X(Scrollbar)    \
    X(HorzScroll) X(VertScroll) X(HorzScrollThumb) X(VertScrollThumb) X(TrackbarThumbHorz)               \
    X(TrackbarThumbVert) X(TrackbarThumbLeft) X(TrackbarThumbRight) X(TrackbarThumbUp)                   \
    X(TrackbarThumbDown) X(UpDownHorz) X(UpDownVert) X(Track) X(TrackVert)

enum class TSkinSlot : uint8_t {
#define QS_SLOT_ENUM(n) n,
    QS_SKIN_SLOTS(QS_SLOT_ENUM)
#undef QS_SLOT_ENUM
        Count
};
inline constexpr std::size_t kSkinSlotCount = std::size_t(TSkinSlot::Count);

// The slots whose records a load builds from their own section, in load order.
inline constexpr TSkinSlot kSkinElementSlots[] = {
    TSkinSlot::Progress,          TSkinSlot::ProgressChunk,     TSkinSlot::MenuBar,
    TSkinSlot::GroupBoxEdge,      TSkinSlot::GroupBox,          TSkinSlot::Tabs,
    TSkinSlot::StatusBarEdges,    TSkinSlot::TabPane,           TSkinSlot::ToolBars,
    TSkinSlot::ComboButton,       TSkinSlot::SunkEdge,          TSkinSlot::ExtraImages,
    TSkinSlot::Headerbar,         TSkinSlot::MenuItem,          TSkinSlot::MenuBackground,
    TSkinSlot::Scrollbar,         TSkinSlot::HorzScroll,        TSkinSlot::VertScroll,
    TSkinSlot::HorzScrollThumb,   TSkinSlot::VertScrollThumb,   TSkinSlot::TrackbarThumbHorz,
    TSkinSlot::TrackbarThumbVert, TSkinSlot::TrackbarThumbLeft, TSkinSlot::TrackbarThumbRight,
    TSkinSlot::TrackbarThumbUp,   TSkinSlot::TrackbarThumbDown, TSkinSlot::UpDownHorz,
    TSkinSlot::UpDownVert,        TSkinSlot::Track,             TSkinSlot::TrackVert,
};

// The record class a slot holds.
enum class TSkinRecordKind : uint8_t { None, Object, Border, Title, Button, SysButton, BoxLabel };

// One element record as the description gives it.
struct TElementValues {
    bool present = false;  // the slot gets a record (its required key has a value)
    TSkinRecordKind kind = TSkinRecordKind::None;
    TSkinObjectFields object;
    TSkinTitleFields title;
    TSkinButtonFields button;
    TSkinSysButtonFields sys;
    TSkinBoxLabelFields box;
    // Archive entry names of the images; empty means no image.
    std::string bitmap, bitmap2, checkBitmap, radioBitmap;
    // Frame count the slot gets after loading; 0 when it keeps what was read
    // or follows a rule of its own.
    int frames = 0;
};

// The [Colours] table. Colour numbers: 0x00BBGGRR, or 0xFF0000nn for a system
// colour (kept symbolic until drawn).
struct TSkinColourTable {
    int32_t WindowText = int32_t(0xFF000008u);
    int32_t TitleTextActive = int32_t(0xFF000009u);
    int32_t TitleTextNoActive = int32_t(0xFF000013u);
    int32_t ButtonFace = int32_t(0xFF00000Fu);
    int32_t ButtonText = int32_t(0xFF000012u);
    int32_t ButtonHilight = int32_t(0xFF000014u);
    int32_t Buttonlight = int32_t(0xFF000014u);
    int32_t ButtonShadow = int32_t(0xFF000010u);
    int32_t ButtonDkShadow = int32_t(0xFF000015u);
    int32_t HilightText = int32_t(0xFF00000Eu);
    int32_t Hilight = int32_t(0xFF00000Du);
    int32_t Menubar = int32_t(0xFF00000Fu);
    int32_t MenuBarText = int32_t(0xFF000007u);
    int32_t MenuText = int32_t(0xFF000007u);
    int32_t Menu = int32_t(0xFF000004u);
    int32_t Scrollbar = int32_t(0xFF000000u);
    // Background of content areas (edits, lists, trees); a skin that does not
    // give it gets one derived from ButtonFace (DeriveWindowColour).
    int32_t Window = int32_t(0xFF000005u);
};

struct TSkinDescription {
    std::string SkinName;
    TSkinColourTable Colours;
    std::vector<int32_t> ColourSections;  // one per COLOUR section, in text order
    std::array<int32_t, 10> CustomColors{};
    // Caption-button sections in text order (frame rule not applied yet), at
    // most kMaxCaptionButtons of them.
    std::vector<TElementValues> CaptionButtons;
    // Entry name of the [MDICONTROLS] image, empty when there is none.
    std::string MdiImage;
    // Every other slot, indexed by TSkinSlot (the pattern slots stay unused).
    std::array<TElementValues, kSkinSlotCount> Slots;

    TElementValues& slot(TSkinSlot s) { return Slots[std::size_t(s)]; }
    const TElementValues& slot(TSkinSlot s) const { return Slots[std::size_t(s)]; }
};

// More caption buttons than any title bar could show; the sections after
// these are not read (each would cost the load an image and a bitmap).
inline constexpr std::size_t kMaxCaptionButtons = 64;

// Reads everything the loader asks of a description, in the loader's order
// (the colour table before any element, so element colours default to the
// skin's ButtonText). Absent sections and keys give defaults and absent slots.
TSkinDescription ReadSkinDescription(const TQuickIni& ini);

}  // namespace qs
