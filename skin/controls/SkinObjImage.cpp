#include "SkinObjImage.h"

#include "SkinData.h"
#include "SkinRoutines.h"
#include "SkinTabGeometry.h"

namespace qs {

const TClassInfo& TSkinObjImage::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinObjImage>("TSkinObjImage", &TSkinControl::StaticClassInfo()).build();
    return info;
}

void TSkinObjImage::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool, TCanvas* canvas) {
    if (FAttached) return;
    FSkinData = skinData;
    FSkinForm = skinForm;
    FCanvas = canvas;
    FControl = dynamic_cast<TControl*>(Owner());
    if (auto* win = dynamic_cast<TWinControl*>(FControl)) FHandle = win->Handle();
    AddToSkinForm();
    HandOver();
    FAttached = true;
    FState = scsAttached;
}

void TSkinObjImage::SkinChanged() { HandOver(); }

void TSkinObjImage::Restore() {
    if (FControl) prop::SetPropFromString(FControl, "UseCustomGlyphs", "false");
}

std::unique_ptr<TBitmap> TSkinObjImage::BuildGlyphs() const {
    TDataSkinButton* buttons = FSkinData ? FSkinData->Buttons() : nullptr;
    if (!buttons || (FMode != 1 && FMode != 2)) return nullptr;
    TBitmap& src = FMode == 1 ? buttons->CheckBitmap : buttons->RadioBitmap;
    const int frames = FMode == 1 ? buttons->CheckButtonFrame : buttons->RadioButtonFrame;
    // A frame count of 0 (or more frames than pixels) gives no cell width.
    if (src.Empty() || frames <= 0 || src.Width() / frames <= 0) return nullptr;
    const int w = src.Width() / frames, h = src.Height();
    const int cells = glyphCellCount(FMode);
    auto strip = std::make_unique<TBitmap>(w * cells, h);
    HDC d = strip->Canvas()->Handle();
    HDC s = src.Canvas()->Handle();
    for (int c = 0; c < cells; ++c) {
        const int f = glyphCellSource(FMode, c, frames);
        if (f < 0 || f >= frames) continue;
        BitBlt(d, c * w, 0, w, h, s, f * w, 0, SRCCOPY);
    }
    src.Dormant();
    strip->Dormant();
    return strip;
}

void TSkinObjImage::HandOver() {
    if (!FControl) return;
    auto strip = BuildGlyphs();
    if (!strip) return;
    auto* target = dynamic_cast<TBitmap*>(GetObjectProp(FControl, "CustomGlyphs"));
    if (!target) return;
    target->Assign(*strip);
    SetPropValue(FControl, "transparentcolor", TPropValue(int64_t(0xFF00FF)));
    // Off and on again: the control takes the new strip.
    prop::SetPropFromString(FControl, "UseCustomGlyphs", "false");
    prop::SetPropFromString(FControl, "UseCustomGlyphs", "true");
}

}  // namespace qs
