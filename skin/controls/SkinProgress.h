#pragma once
// Progress-bar skin: the trough and the bar from the skin's Progress element
// (or a chunked bar from ProgressChunk), composed off-screen and copied once.
// A vertical bar is composed lying down and turned, so it fills from the bottom.
#include <memory>

#include "SkinControl.h"

namespace qs {

class TSkinProgress : public TSkinControl {
    QS_DECLARE_CLASS(TSkinProgress)
public:
    explicit TSkinProgress(TComponent* owner) : TSkinControl(owner) {}

    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;

    // Whether the skin has what this bar's style needs; otherwise the control
    // paints itself.
    bool CanPaint() const;
    // The picture of the whole bar at width x height for the window's current
    // style, range and position; null when the skin cannot draw it.
    std::unique_ptr<TBitmap> Compose(int width, int height) const;
};

}  // namespace qs
