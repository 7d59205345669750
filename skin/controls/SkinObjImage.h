#pragma once
// Glyph-property skin: paints nothing itself. For a control that takes a
// custom glyph strip through published properties ("CustomGlyphs",
// "TransparentColor", "UseCustomGlyphs"), it builds the strip from the skin's
// check-box (mode 1) or radio-button (mode 2) images and hands it over; the
// control keeps drawing itself. Restoring switches the control back to its
// own glyphs.
#include <memory>

#include "SkinControl.h"

namespace qs {

class TSkinObjImage : public TSkinControl {
    QS_DECLARE_CLASS(TSkinObjImage)
public:
    explicit TSkinObjImage(TComponent* owner) : TSkinControl(owner) {}

    int FMode = 0;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void Restore() override;
    void SkinChanged() override;

    // The strip for the current skin and mode; null when the skin has no
    // usable picture for it.
    std::unique_ptr<TBitmap> BuildGlyphs() const;
    void HandOver();
};

}  // namespace qs
