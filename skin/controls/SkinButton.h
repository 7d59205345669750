#pragma once
// Button skins: push buttons, bit buttons, drop-down (menu) buttons and
// windowless speed buttons drawn entirely from the skin's Buttons strip.
//
// Strip frames of push-button-like skins: 1 normal, 2 pressed, 3 disabled,
// 4 hot, 5 focused. Glyph pictures: 1 up, 2 disabled, 3 pressed, 4 down.
#include <memory>
#include <string>

#include "SkinControl.h"

namespace qs {

class TDataSkinButton;

// ---- state rules, free of windows so tests can call them ----
// Disabled wins, then pressed, then hot, then focused.
int PushButtonFrame(bool disabled, bool pressed, bool hot, bool focused);
// A menu button shows its hot frame for focus too and has no focused frame.
int MenuButtonFrame(bool disabled, bool pressed, bool hot, bool focused);
// Down counts as pressed; a disabled button that is down still shows down.
int SpeedButtonFrame(bool enabled, bool down, bool pressed, bool hot);
// A flat speed button draws the strip only pressed, down or hot.
bool SpeedButtonDrawsElement(bool flat, int frame);
// The glyph picture for a button frame.
int GlyphFrameForButton(int buttonFrame, bool down);
// The caption colour for a frame: the element's state colour when it has
// one, else `fontColour`.
TColor ButtonCaptionColour(const TDataSkinButton* element, int frame, TColor fontColour);
// The first "||" becomes a line break; later ones stay.
std::wstring ReplaceFirstBar(std::wstring caption);

class TSkinButton : public TSkinControl {
    QS_DECLARE_CLASS(TSkinButton)
public:
    explicit TSkinButton(TComponent* owner);
    ~TSkinButton() override;

    // Composed here at the window's size, then copied in one transfer.
    std::unique_ptr<TBitmap> FBuffer;
    // The parent's picture shows under the button instead of the face colour.
    bool FTransparent = false;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;

    // The frame the current state shows (1 to 5).
    virtual int StateFrame() const;
    // The caption in `r`: align 1 centred, 0 left; first "||" a line break.
    void DrawButtonCaption(HDC dc, const RECT& r, UINT align);

protected:
    // The Buttons element when it has a picture, else null.
    TDataSkinButton* Element() const;
    // Focus, enabled and caption taken fresh from the window and control.
    void RefreshState();
    // Sizes FBuffer, lays background and frame `frame` in it; null without an element.
    HDC PrepareBuffer(const RECT& r, int frame);
    // Selects the control's font (or the window's) into `dc` and sets the
    // caption colour of `frame`; gives back the font selected before.
    HGDIOBJ SelectCaptionFont(HDC dc, int frame);
    // What a release over the button does: the control's Click, or
    // WM_COMMAND to the parent of a bare window.
    void ClickButton();
    bool IsDisabled() const;
};

class TSkinBitButton : public TSkinButton {
    QS_DECLARE_CLASS(TSkinBitButton)
public:
    using TSkinButton::TSkinButton;
    // A published picture property drawn instead of the glyph ("PngImage").
    std::string FGraphicProp;

    void Paint(HDC dc, const RECT& r) override;
    void PaintGraphicProp(HDC dc, const RECT& r);
};

class TSkinMenuButton : public TSkinButton {
    QS_DECLARE_CLASS(TSkinMenuButton)
public:
    using TSkinButton::TSkinButton;
    int StateFrame() const override;
    void Paint(HDC dc, const RECT& r) override;
};

class TSkinSpeedButton : public TSkinBitButton {
    QS_DECLARE_CLASS(TSkinSpeedButton)
public:
    explicit TSkinSpeedButton(TComponent* owner);
    ~TSkinSpeedButton() override;

    // Set while a paint runs: the parent's paint under a transparent button
    // paints the button again, which must not recurse.
    bool FPainting = false;

    void AttachGraphic(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void PaintWindow(HDC dc) override;
    // Draws the button into `dc` at `r` (the button's own coordinates).
    void DrawSpeedButton(HDC dc, const RECT& r);

private:
    void Unhook();
};

}  // namespace qs
