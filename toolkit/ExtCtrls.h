#pragma once
// Panels: a windowed container with bevels and a caption.
#include "Controls.h"

namespace qs {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
extern const std::vector<std::string> kBevelCutNames;

class TCustomPanel : public TCustomControl {
    QS_DECLARE_CLASS(TCustomPanel)
public:
    explicit TCustomPanel(TComponent* owner);

    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut b);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut b);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int w);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int w);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

    // The client area less the border and both bevels: where aligned children go.
    void AdjustClientRect(RECT& r) const override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void TextChanged() override { Invalidate(); }

private:
    void Changed();
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
    QS_DECLARE_CLASS(TPanel)
public:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

}  // namespace qs
