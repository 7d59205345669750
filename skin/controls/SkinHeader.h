#pragma once
// Header skin: every item from the skin's Headerbar strip (frame 1 normal,
// frame 2 under the mouse), the room right of the last item as an empty
// normal item. The item under the mouse is followed with hot zones that leave
// out the three pixels each side of a divider, so sliding across a divider
// (where the column is resized) does not flicker between items.
#include <vector>

#include "SkinControl.h"

namespace qs {

class TSkinHeader : public TSkinControl {
    QS_DECLARE_CLASS(TSkinHeader)
public:
    explicit TSkinHeader(TComponent* owner) : TSkinControl(owner) {}
    ~TSkinHeader() override;

    std::vector<RECT> FItemRects;
    int FHotIndex = -1;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    void Restore() override;
};

}  // namespace qs
