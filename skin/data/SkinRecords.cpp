#include "SkinRecords.h"

namespace qs {

RECT TDataSkinObject::FrameRect(int k) const {
    const int w = FrameWidth();
    return RECT{w * (k - 1), 0, w * k, Bitmap.Height()};
}

void TDataSkinObject::Reset() {
    std::string name = std::move(Name);
    static_cast<TSkinObjectFields&>(*this) = TSkinObjectFields{};
    Name = std::move(name);
    Bitmap.Clear();
}

void TDataSkinBorder::Reset() {
    TDataSkinObject::Reset();
    Bitmap2.Clear();
}

void TDataSkinTitle::Reset() {
    TDataSkinObject::Reset();
    static_cast<TSkinTitleFields&>(*this) = TSkinTitleFields{};
}

void TDataSkinButton::Reset() {
    TDataSkinObject::Reset();
    static_cast<TSkinButtonFields&>(*this) = TSkinButtonFields{};
    CheckBitmap.Clear();
    RadioBitmap.Clear();
}

void TDataSkinSysButton::Reset() {
    TDataSkinObject::Reset();
    static_cast<TSkinSysButtonFields&>(*this) = TSkinSysButtonFields{};
}

void TDataSkinBoxLabel::Reset() {
    TDataSkinObject::Reset();
    static_cast<TSkinBoxLabelFields&>(*this) = TSkinBoxLabelFields{};
}

void setBitmapPixels(TBitmap& bmp, const PixelImage& img) {
    if (img.empty())
        bmp.Clear();
    else
        bmp.LoadFromPixels(img);
}

}  // namespace qs
