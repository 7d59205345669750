#include "SkinDescription.h"

#include "ColourText.h"
#include "QuickIni.h"
#include "Vocabulary.h"

namespace qs {

namespace {

using vocab::Field;

#define QS_SLOT_SAME(n) static_assert(uint8_t(vocab::Slot::n) == uint8_t(TSkinSlot::n), "slot order: " #n);
QS_SKIN_SLOTS(QS_SLOT_SAME)
#undef QS_SLOT_SAME
static_assert(uint8_t(vocab::Record::BoxLabel) == uint8_t(TSkinRecordKind::BoxLabel));
static_assert(uint8_t(vocab::Record::SysButton) == uint8_t(TSkinRecordKind::SysButton));

// Where an integer or colour value of an element goes; null for fields that
// are not numbers of an element record.
int32_t* numberField(TElementValues& v, Field f) {
    TSkinObjectFields& o = v.object;
    switch (f) {
        case Field::LeftWidth: return &o.LeftWidth;
        case Field::TopHeight: return &o.TopHeight;
        case Field::RightWidth: return &o.RightWidth;
        case Field::BottomHeight: return &o.BottomHeight;
        case Field::Trans: return &o.Trans;
        case Field::Tile: return &o.Tile;
        case Field::Frame: return &o.Frame;
        case Field::Style: return &o.Style;
        case Field::NormalColour: return &o.NormalColour;
        case Field::MouseOverColour: return &o.MouseOverColour;
        case Field::PressedColour: return &o.PressedColour;
        case Field::NormalColour2: return &o.NormalColour2;
        case Field::MouseOverColour2: return &o.MouseOverColour2;
        case Field::PressedColour2: return &o.PressedColour2;
        case Field::TextAlignment: return &v.title.TextAlignment;
        case Field::Textbackground: return &v.title.Textbackground;
        case Field::FontHeight: return &v.title.FontHeight;
        case Field::TXTBackleft: return &v.title.TXTBackleft;
        case Field::TXTBackRight: return &v.title.TXTBackRight;
        case Field::ActiveText: return &v.title.ActiveText;
        case Field::InActiveText: return &v.title.InActiveText;
        case Field::RadioButtonFrame: return &v.button.RadioButtonFrame;
        case Field::CheckButtonFrame: return &v.button.CheckButtonFrame;
        case Field::Action: return &v.sys.Action;
        case Field::Align: return &v.sys.Align;
        case Field::Xcoord: return &v.sys.Xcoord;
        case Field::Ycoord: return &v.sys.Ycoord;
        case Field::CombineOp: return &v.sys.CombineOp;
        case Field::Visibility: return &v.sys.Visibility;
        case Field::Visibility1: return &v.sys.Visibility1;
        case Field::BackgroundAlignment: return &v.box.BackgroundAlignment;
        case Field::BackgroundLeftShift: return &v.box.BackgroundLeftShift;
        case Field::BackgroundRightShift: return &v.box.BackgroundRightShift;
        default: return nullptr;
    }
}

std::string* imageField(TElementValues& v, Field f) {
    switch (f) {
        case Field::Bitmap: return &v.bitmap;
        case Field::Bitmap2: return &v.bitmap2;
        case Field::CheckBitmap: return &v.checkBitmap;
        case Field::RadioBitmap: return &v.radioBitmap;
        default: return nullptr;
    }
}

bool* givenFlag(TElementValues& v, Field f) {
    switch (f) {
        case Field::NormalColour2: return &v.button.HasNormalColour2;
        case Field::MouseOverColour2: return &v.button.HasMouseOverColour2;
        case Field::PressedColour2: return &v.button.HasPressedColour2;
        default: return nullptr;
    }
}

int32_t* colourTableField(TSkinColourTable& t, Field f) {
    switch (f) {
        case Field::WindowText: return &t.WindowText;
        case Field::ButtonFace: return &t.ButtonFace;
        case Field::Scrollbar: return &t.Scrollbar;
        case Field::HilightText: return &t.HilightText;
        case Field::Hilight: return &t.Hilight;
        case Field::Menubar: return &t.Menubar;
        case Field::Menu: return &t.Menu;
        case Field::MenuText: return &t.MenuText;
        case Field::ButtonText: return &t.ButtonText;
        case Field::ButtonHilight: return &t.ButtonHilight;
        case Field::Buttonlight: return &t.Buttonlight;
        case Field::ButtonShadow: return &t.ButtonShadow;
        case Field::ButtonDkShadow: return &t.ButtonDkShadow;
        case Field::MenuBarText: return &t.MenuBarText;
        case Field::TitleTextActive: return &t.TitleTextActive;
        case Field::TitleTextNoActive: return &t.TitleTextNoActive;
        case Field::Window: return &t.Window;
        default: return nullptr;
    }
}

// Reads every key of one section into an element, in table order (the order
// matters for caption buttons: Visibility1's default depends on Action).
void readKeys(const TQuickIni& ini, std::string_view section, std::span<const vocab::KeyDef> keys,
              vocab::ReadContext& ctx, TElementValues& v) {
    for (const vocab::KeyDef& key : keys) {
        switch (key.kind) {
            case vocab::ValueKind::Image:
                if (std::string* s = imageField(v, key.field)) *s = vocab::readText(ini, section, key);
                break;
            case vocab::ValueKind::String: break;
            case vocab::ValueKind::Integer:
                if (int32_t* p = numberField(v, key.field)) *p = vocab::readInteger(ini, section, key, ctx);
                if (key.field == Field::Action) ctx.action = v.sys.Action;
                break;
            case vocab::ValueKind::ColourText:
                if (int32_t* p = numberField(v, key.field)) *p = vocab::readColour(ini, section, key, ctx);
                if (bool* given = givenFlag(v, key.field)) *given = !ini.ReadString(section, key.name, "").empty();
                break;
            case vocab::ValueKind::ColourKeys:
                if (int32_t* p = numberField(v, key.field)) vocab::readColourKeys(ini, section, key, *p);
                break;
        }
    }
}

const char* permanentName(vocab::Slot s) {
    switch (s) {
        case vocab::Slot::BorderLeft: return "Left";
        case vocab::Slot::BorderRight: return "Right";
        case vocab::Slot::BorderTop: return "Top";
        case vocab::Slot::BorderBottom: return "Bottom";
        case vocab::Slot::Title: return "Title";
        case vocab::Slot::Buttons: return "Buttons";
        default: return nullptr;
    }
}

std::string upperAscii(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return r;
}

}  // namespace

TSkinDescription ReadSkinDescription(const TQuickIni& ini) {
    TSkinDescription d;
    vocab::ReadContext ctx;
    for (const vocab::ElementDef& e : vocab::elements()) {
        switch (e.slot) {
            case vocab::Slot::Skin:
                for (const vocab::KeyDef& key : e.keys)
                    if (key.field == Field::SkinName) d.SkinName = vocab::readText(ini, e.section, key);
                continue;
            case vocab::Slot::Colours:
                for (const vocab::KeyDef& key : e.keys) {
                    int32_t* p = colourTableField(d.Colours, key.field);
                    if (!p) continue;
                    *p = vocab::readColour(ini, e.section, key, ctx);
                    if (key.field == Field::ButtonFace) ctx.buttonFace = *p;
                    if (key.field == Field::ButtonText) ctx.buttonText = *p;
                }
                continue;
            case vocab::Slot::ColourSections:
                for (const std::string& section : vocab::sectionsMatching(ini, e.match))
                    for (const vocab::KeyDef& key : e.keys) d.ColourSections.push_back(vocab::readColour(ini, section, key, ctx));
                continue;
            case vocab::Slot::CustomColors:
                for (const vocab::KeyDef& key : e.keys)
                    if (key.index < d.CustomColors.size()) d.CustomColors[key.index] = vocab::readColour(ini, e.section, key, ctx);
                continue;
            case vocab::Slot::CaptionButtons:
                for (const std::string& section : vocab::sectionsMatching(ini, e.match)) {
                    if (d.CaptionButtons.size() == kMaxCaptionButtons) break;
                    TElementValues v;
                    v.present = true;
                    v.kind = TSkinRecordKind::SysButton;
                    v.object.Name = upperAscii(section);
                    ctx.action = 0;
                    readKeys(ini, section, e.keys, ctx, v);
                    d.CaptionButtons.push_back(std::move(v));
                }
                ctx.action = 0;
                continue;
            case vocab::Slot::MdiControls:
                for (const vocab::KeyDef& key : e.keys)
                    if (key.field == Field::Bitmap) d.MdiImage = vocab::readText(ini, e.section, key);
                continue;
            default: break;
        }

        TElementValues& v = d.Slots[std::size_t(e.slot)];
        if (!e.requiredKey.empty() && ini.ReadString(e.section, e.requiredKey, "").empty()) {
            v = TElementValues{};  // absent: the slot stays empty
            continue;
        }
        // The title is read from two sections into one record; everything else
        // starts fresh.
        if (!v.present) {
            v = TElementValues{};
            v.present = true;
            v.kind = TSkinRecordKind(e.record);
            const char* fixed = permanentName(e.slot);
            v.object.Name = fixed ? std::string(fixed) : std::string(e.section);
        }
        v.frames = e.frames;
        readKeys(ini, e.section, e.keys, ctx, v);
    }
    return d;
}

}  // namespace qs
