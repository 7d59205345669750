#include "PortableLoad.h"

#include <algorithm>

#include "Bmp.h"
#include "QuickIni.h"
#include "SkinBuild.h"
#include "SkinReader.h"

namespace qs::hostile {

namespace {

class Loader {
public:
    Loader(const EntrySource& extract, PortableSkin& skin) : FExtract(extract), FSkin(skin) {}

    PixelImage image(const std::string& entry) {
        if (entry.empty()) return {};
        FExtract(entry, FScratch);
        if (FScratch.empty()) return {};
        BmpResult r = ReadBmp(FScratch, FBudget.next());
        FBudget.spend(int64_t(r.image.width) * r.image.height);
        FSkin.pixels += int64_t(r.image.width) * r.image.height;
        return std::move(r.image);
    }

    PortableRecord record(TSkinSlot s, const TElementValues& v) {
        PortableRecord r;
        r.slot = s;
        r.name = v.object.Name;
        r.fields = v.object;
        r.frames = v.object.Frame;
        r.image = image(v.bitmap);
        return r;
    }

    PortableRecord* find(TSkinSlot s) {
        for (auto& r : FSkin.records)
            if (r.slot == s) return &r;
        return nullptr;
    }

    void build(const TSkinDescription& d) {
        FSkin.skinName = d.SkinName;
        for (TSkinSlot s : {TSkinSlot::BorderLeft, TSkinSlot::BorderRight, TSkinSlot::BorderTop, TSkinSlot::BorderBottom,
                            TSkinSlot::Buttons, TSkinSlot::Title})
            FSkin.records.push_back(record(s, d.slot(s)));
        buildCaptionButtons(d);
        const TElementValues& buttons = d.slot(TSkinSlot::Buttons);
        PixelImage check = image(buttons.checkBitmap), radio = image(buttons.radioBitmap);

        for (TSkinSlot s : kSkinElementSlots) {
            const TElementValues& v = d.slot(s);
            if (!v.present) continue;
            PortableRecord r = record(s, v);
            if (r.image.empty()) continue;
            if (!v.bitmap2.empty()) r.image2 = image(v.bitmap2);
            if (s == TSkinSlot::ComboButton) {
                r.image2 = r.image;
                mirrorPixels(r.image2.view());
            }
            if (s == TSkinSlot::TabPane) {
                r.fields.LeftWidth = std::min(r.fields.LeftWidth, 4);
                r.fields.TopHeight = std::min(r.fields.TopHeight, 4);
                r.fields.RightWidth = std::min(r.fields.RightWidth, 4);
                r.fields.BottomHeight = std::min(r.fields.BottomHeight, 4);
            }
            FSkin.records.push_back(std::move(r));
        }
        // The built-in groove stands in for a missing track section.
        for (TSkinSlot s : {TSkinSlot::Track, TSkinSlot::TrackVert})
            if (!find(s)) {
                PortableRecord r;
                r.slot = s;
                r.image = s == TSkinSlot::Track ? PixelImage(16, 4, 0x808080) : PixelImage(4, 16, 0x808080);
                r.fields.LeftWidth = r.fields.TopHeight = r.fields.RightWidth = r.fields.BottomHeight = 3;
                r.frames = 1;
                FSkin.records.push_back(std::move(r));
            }

        for (auto& r : FSkin.records) {
            if (d.slot(r.slot).frames > 0) r.frames = d.slot(r.slot).frames;
            if (r.slot == TSkinSlot::Headerbar && r.frames == 0) r.frames = 5;
            if (r.slot == TSkinSlot::Progress) r.frames = r.fields.Style != 0 ? 1 : 2;
        }
        FSkin.radioFrames = buttons.button.RadioButtonFrame;
        FSkin.checkFrames = buttons.button.CheckButtonFrame;
        if (FSkin.radioFrames == 0) FSkin.radioFrames = computedCheckFrames(radio.width, radio.height);
        if (FSkin.checkFrames == 0) FSkin.checkFrames = computedCheckFrames(check.width, check.height);
        for (auto& r : FSkin.records) r.frames = std::max(r.frames, 1);
        for (auto& r : FSkin.captionButtons) r.frames = std::max(r.frames, 1);
        FSkin.radioFrames = std::max(FSkin.radioFrames, 1);
        FSkin.checkFrames = std::max(FSkin.checkFrames, 1);

        buildCombo();
        const PortableRecord* top = find(TSkinSlot::BorderTop);
        const int32_t face = d.Colours.ButtonFace;
        FSkin.borderColour = borderColourOf(const_cast<PixelImage&>(top->image).view(), top->frames, face);
        FSkin.toolbar = toolbarGradient(face, FSkin.borderColour);
    }

private:
    void buildCaptionButtons(const TSkinDescription& d) {
        for (const TElementValues& v : d.CaptionButtons) {
            PortableRecord r = record(TSkinSlot::CaptionButtons, v);
            bool clear = false;
            r.frames = computedCaptionFrames(v.object.Frame, v.sys.Action, r.image.width, r.image.height, clear);
            if (clear) r.image = {};
            FSkin.captionButtons.push_back(std::move(r));
        }
        PixelImage source = image(d.MdiImage);
        for (int i = 0; i < 3; ++i) {
            PortableRecord r;
            r.slot = TSkinSlot::MdiControls;
            r.frames = 4;
            if (!source.empty()) {
                const TMdiButtonCut cut = mdiButtonCut(source.width, i);
                if (cut.width > 0) {
                    r.image = PixelImage(cut.width, source.height);
                    for (int y = 0; y < source.height; ++y)
                        for (int x = 0; x < cut.width; ++x) r.image.at(x, y) = source.at(cut.sourceLeft + x, y);
                }
            }
            FSkin.captionButtons.push_back(std::move(r));
        }
    }

    void buildCombo() {
        PortableRecord* sunk = find(TSkinSlot::SunkEdge);
        PortableRecord* combo = find(TSkinSlot::ComboButton);
        PortableRecord* extra = find(TSkinSlot::ExtraImages);
        auto strip = [](PortableRecord& r, bool transparent) {
            return TStripSource{r.image.view(), r.frames,
                                TMargins{r.fields.LeftWidth, r.fields.TopHeight, r.fields.RightWidth, r.fields.BottomHeight},
                                r.fields.Tile == 1, transparent};
        };
        // A scroll arrow of 16 pixels, as on a default desktop.
        const int buttonWidth = 16 + 2;
        if (sunk && combo) {
            TStripSource glyphs;
            if (extra) glyphs = strip(*extra, true);
            FSkin.combo = buildComboComposite(strip(*sunk, sunk->fields.Trans == 1), strip(*combo, true),
                                              extra ? &glyphs : nullptr, sunk->frames, buttonWidth);
            FSkin.pixels += int64_t(FSkin.combo.width) * FSkin.combo.height;
            combo->fields.Style = 2;
            FSkin.comboArrow = comboArrowStrip(FSkin.combo.view(), sunk->frames);
        } else if (combo) {
            FSkin.comboArrow = combo->image;
            replaceMagentaWith(FSkin.comboArrow.view(), 0xC0C0C0);
        }
    }

    const EntrySource& FExtract;
    PortableSkin& FSkin;
    std::vector<uint8_t> FScratch;
    TSkinPixelBudget FBudget;
};

}  // namespace

PortableSkin portableLoad(std::span<const uint8_t> archive) {
    TSkinReader reader;
    if (!reader.Open(archive)) {
        PortableSkin skin;
        skin.error = reader.lastError();
        return skin;
    }
    std::vector<uint8_t> text;
    std::string name;
    reader.ExtractContaining(".ini", text, name);
    return portableBuild(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                         [&](std::string_view entry, std::vector<uint8_t>& target) { reader.ExtractByName(entry, target); });
}

PortableSkin portableBuild(std::string_view description, const EntrySource& extract) {
    PortableSkin skin;
    skin.opened = true;
    TQuickIni ini;
    ini.LoadFromText(description);
    const TSkinDescription d = ReadSkinDescription(ini);
    Loader(extract, skin).build(d);
    return skin;
}

}  // namespace qs::hostile
