// The skin at another display density: a copy of the component whose
// records carry every length multiplied by dpi / 96 and every image enlarged
// band by band (PixelScale), or taken from the skin's own twice-as-large
// image at 175 % and above. Painting reads a copy exactly as it reads the
// loaded component, so the frame and control painters need no scale of
// their own.
#include <algorithm>
#include <new>
#include <stdexcept>
#include <string>

#include "Bmp.h"
#include "Controls.h"  // ReportCurrentException
#include "SkinBuild.h"
#include "PixelScale.h"
#include "SkinData.h"
#include "SkinReader.h"

namespace qs {

namespace {

// From 175 % on, a skin's own @2x image is the better source.
constexpr int kLargeImageFromDpi = 168;

// What one density copy may decode and make, in pixels: four times what a
// load may decode, enough for a real skin (a tenth of the load budget) at
// 400 % with its large images. Past it the copy is not made.
constexpr int64_t kScaledPixelBudget = 4 * kSkinPixelBudget;

// A length beyond any screen, scaled or not.
constexpr int kMaxScaledLength = 32767;

void reportUnscaled(int dpi) {
    try {
        throw std::runtime_error("the skin is too large to draw at " + std::to_string(dpi) +
                                 " dpi; it is drawn at 96 dpi instead");
    } catch (...) {
        ReportCurrentException();
    }
}

int systemDpi() {
    HDC dc = ::GetDC(nullptr);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc) ::ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : kBaseDpi;
}

std::unique_ptr<TDataSkinObject> cloneRecord(const TDataSkinObject& r) {
    std::unique_ptr<TDataSkinObject> c;
    if (auto* t = dynamic_cast<const TDataSkinTitle*>(&r)) {
        auto n = std::make_unique<TDataSkinTitle>(r.Name);
        static_cast<TSkinTitleFields&>(*n) = *t;
        c = std::move(n);
    } else if (auto* b = dynamic_cast<const TDataSkinButton*>(&r)) {
        auto n = std::make_unique<TDataSkinButton>(r.Name);
        static_cast<TSkinButtonFields&>(*n) = *b;
        c = std::move(n);
    } else if (auto* s = dynamic_cast<const TDataSkinSysButton*>(&r)) {
        auto n = std::make_unique<TDataSkinSysButton>(r.Name);
        static_cast<TSkinSysButtonFields&>(*n) = *s;
        c = std::move(n);
    } else if (auto* l = dynamic_cast<const TDataSkinBoxLabel*>(&r)) {
        auto n = std::make_unique<TDataSkinBoxLabel>(r.Name);
        static_cast<TSkinBoxLabelFields&>(*n) = *l;
        c = std::move(n);
    } else if (dynamic_cast<const TDataSkinBorder*>(&r)) {
        c = std::make_unique<TDataSkinBorder>(r.Name);
    } else {
        c = std::make_unique<TDataSkinObject>(r.Name);
    }
    static_cast<TSkinObjectFields&>(*c) = r;
    return c;
}

// The @2x partner of `small` from an open archive: empty unless it is
// exactly twice the size (one of another size is not the same art). No
// pixel memory is taken for one that is larger or past `maxPixels`.
PixelImage readLarge(const TSkinReader& reader, const std::string& entry, const TBitmap& small, int64_t maxPixels) {
    const int64_t exact = 4 * int64_t(small.Width()) * small.Height();
    if (exact <= 0 || exact > maxPixels) return {};
    std::vector<uint8_t> bytes;
    reader.ExtractByName(entry, bytes);
    if (bytes.empty()) return {};
    BmpResult r = ReadBmp(bytes, exact);
    if (r.image.width != 2 * small.Width() || r.image.height != 2 * small.Height()) return {};
    return std::move(r.image);
}

struct Scaler {
    const TSkinData& base;
    int dpi;
    const TSkinReader* reader;  // open on the stored skin when large images are wanted
    const std::unordered_map<const TBitmap*, std::string>& largeNames;

    mutable int64_t budgetLeft = kScaledPixelBudget;

    int len(int v) const { return std::clamp(ScaleLength(v, dpi), -kMaxScaledLength, kMaxScaledLength); }

    void spend(int64_t pixels) const {
        if (pixels > budgetLeft) throw std::bad_alloc();
        budgetLeft -= pixels;
    }

    // `from` at this density into `to`: the skin's large image when it has
    // one and the density asks for it, else `from` enlarged. Margins are
    // those of one frame at 96 dpi.
    void image(const TBitmap& from, TBitmap& to, int frames, bool vertical, int l, int t, int r, int b) const {
        to.Clear();
        if (from.Empty()) return;
        PixelImage src;
        if (reader) {
            auto it = largeNames.find(&from);
            if (it != largeNames.end()) src = readLarge(*reader, it->second, from, budgetLeft);
            spend(int64_t(src.width) * src.height);
        }
        int den = kBaseDpi;
        if (!src.empty()) {
            den = 2 * kBaseDpi;
            l *= 2, t *= 2, r *= 2, b *= 2;
        } else {
            src = const_cast<TBitmap&>(from).ToPixels();
        }
        spend(ScaledStripPixels(src.width, src.height, frames, vertical, l, t, r, b, dpi, den));
        PixelImage scaled = ScaleStrip(src.view(), frames, vertical, l, t, r, b, dpi, den);
        if (scaled.empty()) throw std::bad_alloc();  // sides past an int
        setBitmapPixels(to, scaled);
    }

    void margins(TDataSkinObject& c) const {
        c.LeftWidth = len(c.LeftWidth);
        c.TopHeight = len(c.TopHeight);
        c.RightWidth = len(c.RightWidth);
        c.BottomHeight = len(c.BottomHeight);
    }

    std::unique_ptr<TDataSkinObject> record(const TDataSkinObject& r, TSkinSlot slot) const {
        auto c = cloneRecord(r);
        // The combo pieces were cut at the system's scroll-bar width, which
        // already follows the density: taken as they are.
        if (slot == TSkinSlot::ComboButton || slot == TSkinSlot::SunkEdge) {
            c->Bitmap.Assign(r.Bitmap);
            if (auto* b = dynamic_cast<const TDataSkinBorder*>(&r)) static_cast<TDataSkinBorder&>(*c).Bitmap2.Assign(b->Bitmap2);
            return c;
        }
        const bool vertical = slot == TSkinSlot::BorderTop || slot == TSkinSlot::BorderBottom;
        const int frames = std::max(r.Frame, 1);
        if (auto* t = dynamic_cast<TDataSkinTitle*>(c.get())) {
            // The title's margins place its text; its image stretches between
            // the text-back ends.
            image(r.Bitmap, c->Bitmap, 1, false, t->TXTBackleft, 0, t->TXTBackRight, 0);
            margins(*c);
            if (t->FontHeight > 0) t->FontHeight = len(t->FontHeight);
            t->TXTBackleft = len(t->TXTBackleft);
            t->TXTBackRight = len(t->TXTBackRight);
            return c;
        }
        image(r.Bitmap, c->Bitmap, frames, vertical, r.LeftWidth, r.TopHeight, r.RightWidth, r.BottomHeight);
        if (auto* b = dynamic_cast<TDataSkinButton*>(c.get())) {
            const auto& src = static_cast<const TDataSkinButton&>(r);
            image(src.CheckBitmap, b->CheckBitmap, std::max(src.CheckButtonFrame, 1), false, 0, 0, 0, 0);
            image(src.RadioBitmap, b->RadioBitmap, std::max(src.RadioButtonFrame, 1), false, 0, 0, 0, 0);
        }
        if (auto* b = dynamic_cast<TDataSkinBorder*>(c.get())) {
            const auto& src = static_cast<const TDataSkinBorder&>(r);
            // A second image the size of the first shares its cut; any other
            // is scaled frame by frame without margins.
            const bool same = src.Bitmap2.Width() == r.Bitmap.Width() && src.Bitmap2.Height() == r.Bitmap.Height();
            if (same)
                image(src.Bitmap2, b->Bitmap2, frames, vertical, r.LeftWidth, r.TopHeight, r.RightWidth, r.BottomHeight);
            else
                image(src.Bitmap2, b->Bitmap2, frames, false, 0, 0, 0, 0);
        }
        if (auto* s = dynamic_cast<TDataSkinSysButton*>(c.get())) {
            s->Xcoord = len(s->Xcoord);
            s->Ycoord = len(s->Ycoord);
        }
        if (auto* l = dynamic_cast<TDataSkinBoxLabel*>(c.get())) {
            l->BackgroundLeftShift = len(l->BackgroundLeftShift);
            l->BackgroundRightShift = len(l->BackgroundRightShift);
        }
        margins(*c);
        return c;
    }
};

}  // namespace

PixelImage TSkinData::LargeImage(const TBitmap& bmp) const {
    const TSkinData& owner = FBase ? *FBase : *this;
    auto it = owner.FLarge.find(&bmp);
    TSkinReader reader;
    if (it == owner.FLarge.end() || !owner.OpenSource(reader)) return {};
    return readLarge(reader, it->second, bmp, kScaledPixelBudget);
}

TSkinData* TSkinData::ForDpi(int dpi) {
    if (FBase) return FBase->ForDpi(dpi);
    if (dpi <= 0 || dpi == FDpi) return this;
    for (auto& [d, copy] : FScaled)
        if (d == dpi) return copy.get();
    // Asked on every paint: a density that failed once is not tried again.
    if (std::find(FUnscaledDpis.begin(), FUnscaledDpis.end(), dpi) != FUnscaledDpis.end()) return this;
    try {
        auto copy = std::make_unique<TSkinData>(nullptr);
        copy->BuildScaled(*this, dpi);
        FScaled.emplace_back(dpi, std::move(copy));
        return FScaled.back().second.get();
    } catch (const std::bad_alloc&) {
        FUnscaledDpis.push_back(dpi);
        reportUnscaled(dpi);
        return this;
    }
}

void TSkinData::BuildScaled(TSkinData& base, int dpi) {
    FBase = &base;
    FDpi = dpi;
    static_cast<TSkinColourTable&>(*this) = base;
    SkinName = base.SkinName;
    BorderColour = base.BorderColour;
    ColourSections = base.ColourSections;
    CustomColors = base.CustomColors;
    FSkinLoaded = base.FSkinLoaded;
    FFaceBrush.reset(::CreateSolidBrush(ColorToRGB(ButtonFace)));
    FContentBack = base.FContentBack;
    FContentText = base.FContentText;
    FWindowBrush.reset(base.FWindowBrush ? ::CreateSolidBrush(FContentBack) : nullptr);
    FAppIcon.Assign(base.FAppIcon);
    // The system's caption font is made for the system's density.
    FCaptionFont.Assign(base.FCaptionFont);
    const int sys = systemDpi();
    if (sys != dpi && base.FCaptionFont.Height() != 0)
        FCaptionFont.SetHeight(::MulDiv(base.FCaptionFont.Height(), dpi, sys));

    TSkinReader reader;
    const bool large = dpi >= kLargeImageFromDpi && !base.FLarge.empty() && base.OpenSource(reader);
    const Scaler sc{base, dpi, large ? &reader : nullptr, base.FLarge};
    for (std::size_t i = 0; i < kSkinSlotCount; ++i) {
        const auto& from = base.FSlots[i];
        FSlots[i] = from ? sc.record(*from, TSkinSlot(i)) : nullptr;
    }
    FCaptionButtons.clear();
    for (const auto& b : base.FCaptionButtons) {
        auto c = sc.record(*b, TSkinSlot::CaptionButtons);
        FCaptionButtons.emplace_back(static_cast<TDataSkinSysButton*>(c.release()));
    }
    // Cut from the combo pieces, which stay as they are.
    FComboxArrow.reset();
    if (base.FComboxArrow) {
        FComboxArrow = cloneRecord(*base.FComboxArrow);
        FComboxArrow->Bitmap.Assign(base.FComboxArrow->Bitmap);
    }
    FToolbar = base.FToolbar ? sc.record(*base.FToolbar, TSkinSlot::ToolBars) : nullptr;
}

void TSkinData::RescaleCopies() {
    // Another skin may fit where the last did not.
    FUnscaledDpis.clear();
    for (auto& [dpi, copy] : FScaled) {
        // Painters hold the copy: one that cannot follow the new skin at its
        // density keeps its place with the new skin's art at 96 dpi.
        try {
            copy->BuildScaled(*this, dpi);
        } catch (const std::bad_alloc&) {
            reportUnscaled(dpi);
            try {
                copy->BuildScaled(*this, kBaseDpi);
            } catch (const std::bad_alloc&) {
                copy->FSkinLoaded = false;
            }
        }
    }
}

}  // namespace qs
