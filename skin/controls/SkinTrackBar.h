#pragma once
// Track-bar skin: the channel and the thumb are drawn from the skin through
// the control's custom-draw notifications; tick marks and everything else
// stay the control's own.
#include "SkinControl.h"

namespace qs {

class TSkinTrackBar : public TSkinControl {
    QS_DECLARE_CLASS(TSkinTrackBar)
public:
    explicit TSkinTrackBar(TComponent* owner) : TSkinControl(owner) {}

    bool BeforeMessage(TMessage& msg) override;
    void SkinChanged() override;

    // The answer to one custom-draw notification of the track bar.
    LRESULT CustomDraw(NMCUSTOMDRAW& cd);
    void DrawThumb(HDC dc);
    void DrawChannel(HDC dc);
};

}  // namespace qs
