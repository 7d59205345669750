#include "ImgList.h"

#include <algorithm>

namespace qs {

const TClassInfo& TImageList::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TImageList>("TImageList", &TComponent::StaticClassInfo())
            .creatable()
            .integer("Width", [](const TImageList& l) { return int64_t(l.Width()); },
                     [](TImageList& l, int64_t v) { l.SetWidth(int(v)); })
            .integer("Height", [](const TImageList& l) { return int64_t(l.Height()); },
                     [](TImageList& l, int64_t v) { l.SetHeight(int(v)); })
            .integer("Count", [](const TImageList& l) { return int64_t(l.Count()); }, nullptr)
            .build();
    return info;
}

TImageList::TImageList(TComponent* owner) : TComponent(owner) {}
TImageList::~TImageList() = default;

void TImageList::Changed() {
    if (OnChange) OnChange(this);
}

void TImageList::SetSize(int w, int h) {
    w = std::max(w, 1);
    h = std::max(h, 1);
    if (w == FWidth && h == FHeight) return;
    FWidth = w;
    FHeight = h;
    FHandle.reset();
    Changed();
}
void TImageList::SetWidth(int w) { SetSize(w, FHeight); }
void TImageList::SetHeight(int h) { SetSize(FWidth, h); }

HIMAGELIST TImageList::Handle() {
    if (!FHandle) FHandle.reset(::ImageList_Create(FWidth, FHeight, ILC_COLOR32 | ILC_MASK, 4, 4));
    return FHandle.get();
}

int TImageList::Count() const { return FHandle ? ::ImageList_GetImageCount(FHandle.get()) : 0; }

int TImageList::Add(TBitmap& image, TBitmap* mask) {
    if (image.Empty() || !Handle()) return -1;
    int first = Count();
    // ImageList_Add selects the pictures into DCs of its own: take them out of
    // their canvases first (Handle does).
    HBITMAP m = mask && !mask->Empty() ? mask->Handle() : nullptr;
    int r = ::ImageList_Add(FHandle.get(), image.Handle(), m);
    if (r < 0) return -1;
    Changed();
    return first;
}

int TImageList::AddMasked(TBitmap& image, TColor transparent) {
    if (image.Empty() || !Handle()) return -1;
    // ImageList_AddMasked blackens the masked pixels of the bitmap it is
    // given; it gets a copy so the caller's picture is not damaged.
    TBitmap copy(image);
    if (copy.Monochrome()) copy.SetMonochrome(false);
    int first = Count();
    int r = ::ImageList_AddMasked(FHandle.get(), copy.Handle(), ColorToRGB(transparent));
    if (r < 0) return -1;
    Changed();
    return first;
}

bool TImageList::Delete(int index) {
    if (!FHandle || index < 0 || index >= Count()) return false;
    bool ok = ::ImageList_Remove(FHandle.get(), index);
    if (ok) Changed();
    return ok;
}

void TImageList::Clear() {
    if (FHandle && Count() > 0) {
        ::ImageList_RemoveAll(FHandle.get());
        Changed();
    }
}

bool TImageList::GetBitmap(int index, TBitmap& out, TColor background) {
    if (!FHandle || index < 0 || index >= Count()) return false;
    out.SetMonochrome(false);
    out.SetSize(FWidth, FHeight);
    TCanvas& c = *out.Canvas();
    c.Brush().SetColor(background);
    c.FillRect(RECT{0, 0, FWidth, FHeight});
    return ::ImageList_Draw(FHandle.get(), index, c.Handle(), 0, 0, ILD_TRANSPARENT);
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (!FHandle || index < 0 || index >= Count()) return;
    HDC dc = canvas.Handle();
    if (!dc) return;
    if (enabled) {
        ::ImageList_Draw(FHandle.get(), index, dc, x, y, ILD_TRANSPARENT);
        return;
    }
    // Disabled: the picture in light greys, its masked-out pixels left alone.
    const uint32_t key = 0xFF00FF;
    TBitmap work;
    if (!GetBitmap(index, work, TColor(pixelToColour(key)))) return;
    PixelView v = work.View();
    for (int py = 0; py < v.height; ++py)
        for (int px = 0; px < v.width; ++px) {
            uint32_t& p = v.at(px, py);
            if ((p & 0xFFFFFF) == key) continue;
            uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            uint32_t grey = 128 + (r * 30 + g * 59 + b * 11) / 200;
            p = (grey << 16) | (grey << 8) | grey;
        }
    work.SetTransparent(true);
    work.SetTransparentColor(TColor(pixelToColour(key)));
    canvas.Draw(x, y, work);
}

}  // namespace qs
