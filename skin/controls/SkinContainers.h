#pragma once
// Skins of the container controls: status bars, group boxes, toolkit panels,
// child dialogs and tool bars of foreign windows, size grips and tab sheets.
#include "SkinControl.h"

namespace qs {

class TCustomStatusBar;

class TSkinStatusBar : public TSkinControl {
    QS_DECLARE_CLASS(TSkinStatusBar)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;

    // Panel frame of style 1 (lowered), 2 (raised) or 3 (flat) on `dc`.
    void DrawPanelFrame(HDC dc, const RECT& r, int style) const;
};

class TSkinGroupBox : public TSkinControl {
    QS_DECLARE_CLASS(TSkinGroupBox)
public:
    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    // Where the rounded frame starts for a caption font of this text height.
    static int FrameTop(int textHeight) { return textHeight / 2 - 1; }
};

// A panel keeps painting itself, only in the skin's face colour.
class TSkinBox : public TSkinControl {
    QS_DECLARE_CLASS(TSkinBox)
public:
    using TSkinControl::TSkinControl;
    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void Restore() override;
    void SkinChanged() override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void ActiveChanged() override;
    // The classification made the control (a tool bar) flat and gave it the
    // form skin's painters: both are taken back at restore.
    void KeepToolbar(const TWinSkinForm* painters, bool oldFlat) {
        FToolbar = painters;
        FOldFlat = oldFlat;
    }

private:
    // Gives the caption the current skin's text colour, or its own back when
    // the skin keeps the system's (the panel's children follow its font).
    void FollowSkinText();
    // What the skin changed on the control, given back (restore, switch-off).
    void GiveBack();
    // The form skin whose painters the bar has (the list clears FSkinForm
    // before restoring).
    const TWinSkinForm* FToolbar = nullptr;
    bool FOldFlat = false;
    // The caption colour given back at restore when the skin replaced the
    // system's default text colour (black would vanish on a dark face).
    TColor FOldFontColor = clWindowText;
    bool FOldParentFont = true;
    bool FFontColorChanged = false;
};

class TSkinBoxH : public TSkinControl {
    QS_DECLARE_CLASS(TSkinBoxH)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& msg) override;
};

class TSkinSizer : public TSkinControl {
    QS_DECLARE_CLASS(TSkinSizer)
public:
    using TSkinControl::TSkinControl;
    void Paint(HDC dc, const RECT& r) override;
};

class TSkinTabSheet : public TSkinControl {
    QS_DECLARE_CLASS(TSkinTabSheet)
public:
    using TSkinControl::TSkinControl;
    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
};

}  // namespace qs
