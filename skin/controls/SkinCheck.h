#pragma once
// Check-box and radio-button skins: the mark becomes a frame of the skin's
// check (radio) strip. On a toolkit control whose skin has the strip
// (FKind 1) the skin paints the whole control: background, mark, caption.
// Otherwise (bare windows, FKind 0) the control paints itself and only the
// mark is drawn over it after each paint.
#include <memory>
#include <string>

#include "SkinControl.h"

namespace qs {

// ---- frame rules, free of windows so tests can call them ----
// `bmState` is BM_GETSTATE's answer. `stateName` is the control's lower-case
// "State" member name (empty when not published); `checkedProp` its
// "Checked" (-1 not published, 0 false, 1 true). `checkState` follows the
// last BM_SETCHECK (0 none yet, else wParam + 1).
struct TCheckFrameInput {
    UINT bmState = 0;
    bool toolkitControl = false;
    std::string stateName;
    int checkedProp = -1;
    bool hasDataField = false;
    int checkState = 0;
    bool hasDataBinding = false;
    bool disabled = false;
    int frameCount = 4;
};
int CheckBoxFrame(const TCheckFrameInput& in);
// `checked` from BM_GETCHECK, or from the control's "Checked" when published.
int RadioButtonFrame(bool checked, bool disabled, int frameCount);

// What check boxes and radio buttons share: the message handling and the
// paint. The two differ only in their strip and frame rule (and a radio mark
// at the right keeps one pixel free).
class TSkinMarkButton : public TSkinControl {
    QS_DECLARE_CLASS(TSkinMarkButton)
public:
    ~TSkinMarkButton() override;

    bool FTransparent = false;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    // The strip frame the control's state shows now.
    virtual int CurrentFrame(int frameCount) const = 0;

protected:
    TSkinMarkButton(TComponent* owner, bool radio);
    // A BM_SETCHECK went through the control.
    virtual void CheckSet(WPARAM) {}

private:
    const bool FRadio;
    std::unique_ptr<TBitmap> FBuffer;
};

class TSkinCheckBox : public TSkinMarkButton {
    QS_DECLARE_CLASS(TSkinCheckBox)
public:
    explicit TSkinCheckBox(TComponent* owner);

    int FCheckState = 0;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    int CurrentFrame(int frameCount) const override;

protected:
    void CheckSet(WPARAM wParam) override { FCheckState = int(wParam) + 1; }
};

class TSkinRadioButton : public TSkinMarkButton {
    QS_DECLARE_CLASS(TSkinRadioButton)
public:
    explicit TSkinRadioButton(TComponent* owner);

    int CurrentFrame(int frameCount) const override;
};

}  // namespace qs
