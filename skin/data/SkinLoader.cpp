#include "SkinLoader.h"

#include <algorithm>
#include <memory>

#include "Bmp.h"
#include "Colour.h"
#include "QuickIni.h"
#include "SkinBuild.h"
#include "SkinData.h"
#include "SkinReader.h"

namespace qs {

namespace {

std::unique_ptr<TDataSkinObject> makeRecord(TSkinRecordKind kind, const std::string& name) {
    switch (kind) {
        case TSkinRecordKind::Border: return std::make_unique<TDataSkinBorder>(name);
        case TSkinRecordKind::Title: return std::make_unique<TDataSkinTitle>(name);
        case TSkinRecordKind::Button: return std::make_unique<TDataSkinButton>(name);
        case TSkinRecordKind::SysButton: return std::make_unique<TDataSkinSysButton>(name);
        case TSkinRecordKind::BoxLabel: return std::make_unique<TDataSkinBoxLabel>(name);
        default: return std::make_unique<TDataSkinObject>(name);
    }
}

// Copies the values a description gives into a record of the matching class.
void assignValues(TDataSkinObject& rec, const TElementValues& v) {
    static_cast<TSkinObjectFields&>(rec) = v.object;
    if (auto* t = dynamic_cast<TDataSkinTitle*>(&rec)) static_cast<TSkinTitleFields&>(*t) = v.title;
    if (auto* b = dynamic_cast<TDataSkinButton*>(&rec)) static_cast<TSkinButtonFields&>(*b) = v.button;
    if (auto* s = dynamic_cast<TDataSkinSysButton*>(&rec)) static_cast<TSkinSysButtonFields&>(*s) = v.sys;
    if (auto* g = dynamic_cast<TDataSkinBoxLabel*>(&rec)) static_cast<TSkinBoxLabelFields&>(*g) = v.box;
}

TMargins marginsOf(const TDataSkinObject& r) { return TMargins{r.LeftWidth, r.TopHeight, r.RightWidth, r.BottomHeight}; }

TStripSource stripOf(TDataSkinObject& r, bool transparent) {
    return TStripSource{r.Bitmap.View(), r.Frame, marginsOf(r), r.Tile == 1, transparent};
}

constexpr int kTabPaneMaxMargin = 4;
constexpr int kBuiltinTrackMargin = 3;

}  // namespace

HMODULE TSkinLoader::ResourceModule() {
    HMODULE m = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&TSkinLoader::ResourceModule), &m);
    return m;
}

bool TSkinLoader::LoadBuiltinBitmap(TBitmap& bmp, const wchar_t* name) {
    if (::FindResourceW(ResourceModule(), name, MAKEINTRESOURCEW(2) /* RT_BITMAP */) &&
        bmp.LoadFromResourceName(ResourceModule(), name))
        return true;
    bmp.Clear();
    return false;
}

bool TSkinLoader::Load(TSkinData& sd) {
    sd.FSkinLoaded = false;
    if (sd.IsDesigning()) return false;
    TSkinReader reader;
    if (!reader.Open(sd.FStored)) return false;
    Load(sd, reader);
    return true;
}

void TSkinLoader::Load(TSkinData& sd, const TSkinReader& reader) {
    sd.FSkinLoaded = false;
    std::vector<uint8_t> text;
    std::string name;
    reader.ExtractContaining(".ini", text, name);
    TQuickIni ini;
    ini.LoadFromBytes(text);
    const TSkinDescription d = ReadSkinDescription(ini);

    TSkinLoader loader(sd, reader);
    loader.Build(d);
    sd.FSkinLoaded = true;
}

void TSkinLoader::LoadImage(TBitmap& bmp, const std::string& entry) {
    if (entry.empty()) {
        bmp.Clear();
        return;
    }
    FReader.ExtractByName(entry, FScratch);
    if (FScratch.empty()) {
        bmp.Clear();
        return;
    }
    BmpResult r = ReadBmp(FScratch, FBudget.next());
    FBudget.spend(int64_t(r.image.width) * r.image.height);
    setBitmapPixels(bmp, r.image);
    // "name@2x.bmp" beside "name.bmp" is the same art drawn twice as large;
    // only its name is kept until a display asks for it.
    const std::string large = skinLowerCase(LargeImageName(entry));
    if (large.empty() || r.image.empty()) return;
    const auto& names = FReader.names();
    if (std::find(names.begin(), names.end(), large) != names.end()) FSD.FLarge[&bmp] = large;
}

void TSkinLoader::Build(const TSkinDescription& d) {
    FSD.FLarge.clear();
    FSD.SkinName = d.SkinName;

    for (TSkinSlot s : {TSkinSlot::BorderLeft, TSkinSlot::BorderRight, TSkinSlot::BorderTop, TSkinSlot::BorderBottom}) {
        TDataSkinObject& rec = *FSD.Slot(s);
        rec.Reset();
        assignValues(rec, d.slot(s));
        LoadImage(rec.Bitmap, d.slot(s).bitmap);
    }

    static_cast<TSkinColourTable&>(FSD) = d.Colours;
    FSD.ColourSections = d.ColourSections;
    FSD.CustomColors = d.CustomColors;

    BuildCaptionButtons(d);

    TDataSkinButton& buttons = *FSD.Buttons();
    buttons.Reset();
    assignValues(buttons, d.slot(TSkinSlot::Buttons));
    LoadImage(buttons.Bitmap, d.slot(TSkinSlot::Buttons).bitmap);
    LoadImage(buttons.CheckBitmap, d.slot(TSkinSlot::Buttons).checkBitmap);
    LoadImage(buttons.RadioBitmap, d.slot(TSkinSlot::Buttons).radioBitmap);

    TDataSkinTitle& title = *FSD.Title();
    title.Reset();
    assignValues(title, d.slot(TSkinSlot::Title));
    title.BottomHeight = 0;
    LoadImage(title.Bitmap, d.slot(TSkinSlot::Title).bitmap);

    BuildElements(d);
    BuildBuiltinTracks();
    SetFrameCounts(d);
    BuildComboComposite();
    BuildComboxArrow();
    // The toolbar gradient ends in the frame colour of this skin, so that
    // colour is taken before the gradient is drawn (not left over from the
    // skin loaded before).
    FSD.BorderColour = borderColourOf(FSD.BorderTop()->Bitmap.View(), FSD.BorderTop()->Frame, FSD.ButtonFace);
    BuildToolbar();
    FSD.FFaceBrush.reset(::CreateSolidBrush(ColorToRGB(FSD.ButtonFace)));
    FSD.FContentBack = COLORREF(resolveColour(FSD.Window));
    FSD.FContentText = COLORREF(ContentTextColour(FSD.Window, FSD.WindowText, FSD.ButtonText));
    FSD.FWindowBrush.reset(::CreateSolidBrush(FSD.FContentBack));
}

void TSkinLoader::BuildCaptionButtons(const TSkinDescription& d) {
    auto& list = FSD.FCaptionButtons;
    list.clear();
    for (const TElementValues& v : d.CaptionButtons) {
        auto rec = std::make_unique<TDataSkinSysButton>(v.object.Name);
        assignValues(*rec, v);
        LoadImage(rec->Bitmap, v.bitmap);
        bool clearImage = false;
        rec->Frame = computedCaptionFrames(v.object.Frame, rec->Action, rec->Bitmap.Width(), rec->Bitmap.Height(),
                                           clearImage);
        if (clearImage) {
            rec->Bitmap.Clear();
            FSD.FLarge.erase(&rec->Bitmap);
        }
        list.push_back(std::move(rec));
    }

    // The buttons of a maximised child window, shown in the frame's menu bar.
    const std::size_t first = list.size();
    for (int action : {7, 8, 9}) {
        auto rec = std::make_unique<TDataSkinSysButton>("MDICONTROLS");
        rec->Action = action;
        rec->Align = 100;
        rec->Visibility = 100;
        rec->Visibility1 = 100;
        rec->Frame = 4;
        list.push_back(std::move(rec));
    }
    TBitmap source;
    LoadImage(source, d.MdiImage);
    FSD.FLarge.erase(&source);
    if (source.Empty()) return;
    const PixelView src = source.View();
    for (int i = 0; i < 3; ++i) {
        const TMdiButtonCut cut = mdiButtonCut(src.width, i);
        TDataSkinSysButton& rec = *list[first + std::size_t(i)];
        rec.Xcoord = cut.xcoord;
        if (cut.width <= 0) continue;
        PixelImage img(cut.width, src.height);
        for (int y = 0; y < src.height; ++y)
            for (int x = 0; x < cut.width; ++x) img.at(x, y) = src.at(cut.sourceLeft + x, y);
        setBitmapPixels(rec.Bitmap, img);
    }
}

void TSkinLoader::BuildElements(const TSkinDescription& d) {
    for (TSkinSlot s : kSkinElementSlots) {
        auto& slot = FSD.FSlots[std::size_t(s)];
        slot.reset();
        const TElementValues& v = d.slot(s);
        if (!v.present) continue;
        auto rec = makeRecord(v.kind, v.object.Name);
        assignValues(*rec, v);
        LoadImage(rec->Bitmap, v.bitmap);
        // An element whose image cannot be had is left out, so its painter
        // falls back to the plain look instead of drawing nothing.
        if (rec->Bitmap.Empty()) continue;
        if (auto* b = dynamic_cast<TDataSkinBorder*>(rec.get())) {
            if (!v.bitmap2.empty()) LoadImage(b->Bitmap2, v.bitmap2);
            if (s == TSkinSlot::ComboButton) {
                PixelImage mirrored = b->Bitmap.ToPixels();
                mirrorPixels(mirrored.view());
                setBitmapPixels(b->Bitmap2, mirrored);
            }
        }
        if (s == TSkinSlot::TabPane) {
            rec->LeftWidth = std::min(rec->LeftWidth, kTabPaneMaxMargin);
            rec->TopHeight = std::min(rec->TopHeight, kTabPaneMaxMargin);
            rec->RightWidth = std::min(rec->RightWidth, kTabPaneMaxMargin);
            rec->BottomHeight = std::min(rec->BottomHeight, kTabPaneMaxMargin);
        }
        slot = std::move(rec);
    }
}

void TSkinLoader::BuildBuiltinTracks() {
    const std::pair<TSkinSlot, const wchar_t*> tracks[] = {{TSkinSlot::Track, L"TRACK"},
                                                           {TSkinSlot::TrackVert, L"TRACKVERT"}};
    for (const auto& [s, resource] : tracks) {
        auto& slot = FSD.FSlots[std::size_t(s)];
        if (slot) continue;
        auto rec = std::make_unique<TDataSkinObject>(s == TSkinSlot::Track ? "Track" : "TRACKVERT");
        LoadBuiltinBitmap(rec->Bitmap, resource);
        rec->LeftWidth = rec->TopHeight = rec->RightWidth = rec->BottomHeight = kBuiltinTrackMargin;
        rec->Tile = 0;
        rec->Frame = 1;
        slot = std::move(rec);
    }
}

void TSkinLoader::SetFrameCounts(const TSkinDescription& d) {
    for (std::size_t i = 0; i < kSkinSlotCount; ++i) {
        TDataSkinObject* rec = FSD.FSlots[i].get();
        if (!rec) continue;
        const TSkinSlot s = TSkinSlot(i);
        if (d.slot(s).frames > 0) rec->Frame = d.slot(s).frames;
        if (s == TSkinSlot::Headerbar && rec->Frame == 0) rec->Frame = 5;
        if (s == TSkinSlot::Progress) rec->Frame = rec->Style != 0 ? 1 : 2;
    }
    TDataSkinButton& b = *FSD.Buttons();
    if (b.RadioButtonFrame == 0) b.RadioButtonFrame = computedCheckFrames(b.RadioBitmap.Width(), b.RadioBitmap.Height());
    if (b.CheckButtonFrame == 0) b.CheckButtonFrame = computedCheckFrames(b.CheckBitmap.Width(), b.CheckBitmap.Height());

    // A strip has at least one frame: a count of 0 or below (which a skin can
    // give for the borders, the progress chunk, the tracks and caption
    // buttons) would make every painter divide by it.
    for (auto& slot : FSD.FSlots)
        if (slot && slot->Frame < 1) slot->Frame = 1;
    for (auto& rec : FSD.FCaptionButtons)
        if (rec->Frame < 1) rec->Frame = 1;
    if (b.RadioButtonFrame < 1) b.RadioButtonFrame = 1;
    if (b.CheckButtonFrame < 1) b.CheckButtonFrame = 1;
}

void TSkinLoader::BuildComboComposite() {
    TDataSkinObject* sunk = FSD.SunkEdge();
    TDataSkinBorder* combo = FSD.ComboButton();
    if (!sunk || !combo) return;
    const int buttonWidth = ::GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int cells = sunk->Frame;
    TDataSkinObject* extra = FSD.ExtraImages();
    TStripSource glyphs;
    if (extra) glyphs = stripOf(*extra, true);
    PixelImage strip = buildComboComposite(stripOf(*sunk, sunk->Trans == 1), stripOf(*combo, true),
                                           extra ? &glyphs : nullptr, cells, buttonWidth);

    // The composites replace the loaded images: their large partners no
    // longer match.
    FSD.FLarge.erase(&combo->Bitmap);
    FSD.FLarge.erase(&sunk->Bitmap);
    combo->Style = 2;
    combo->TopHeight = sunk->TopHeight;
    combo->BottomHeight = sunk->BottomHeight;
    combo->LeftWidth = 2;
    combo->RightWidth = buttonWidth + 2;
    setBitmapPixels(combo->Bitmap, strip);

    mirrorPixels(strip.view());
    setBitmapPixels(sunk->Bitmap, strip);
    sunk->LeftWidth = buttonWidth + 2;
    sunk->RightWidth = 2;
}

void TSkinLoader::BuildComboxArrow() {
    auto& arrow = FSD.FComboxArrow;
    if (!arrow) arrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    arrow->Reset();
    TDataSkinObject* sunk = FSD.SunkEdge();
    TDataSkinBorder* combo = FSD.ComboButton();
    if (!sunk && combo) {
        PixelImage img = combo->Bitmap.ToPixels();
        replaceMagentaWith(img.view(), FSD.ButtonFace);
        setBitmapPixels(arrow->Bitmap, img);
        arrow->Frame = combo->Frame;
    } else if (sunk && combo && combo->Style == 2) {
        setBitmapPixels(arrow->Bitmap, comboArrowStrip(combo->Bitmap.View(), sunk->Frame));
        arrow->Frame = sunk->Frame;
    } else {
        // Nothing to cut it from: an empty arrow rather than the previous skin's.
        arrow->Frame = 1;
    }
}

void TSkinLoader::BuildToolbar() {
    auto& bar = FSD.FToolbar;
    if (!bar) bar = std::make_unique<TDataSkinObject>("Toolbar");
    bar->Reset();
    setBitmapPixels(bar->Bitmap, toolbarGradient(FSD.ButtonFace, FSD.BorderColour));
    bar->Frame = 1;
}

}  // namespace qs
