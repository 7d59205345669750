#pragma once
// The media player: a strip of up to nine transport buttons that the control
// draws itself. It plays nothing; it reports which button was clicked, and its
// published sets say which buttons show, which respond and which are drawn in
// colour.
#include "Controls.h"
#include "ProgressGeometry.h"

namespace qs {

extern const std::vector<std::string> kMPBtnTypeNames;

// (the player, the button clicked, set false to skip what the button does by
// default; the toolkit's player has no default action of its own)
using TMPBtnClickEvent = std::function<void(TObject* sender, TMPBtnType button, bool& doDefault)>;

class TMediaPlayer : public TCustomControl {
    QS_DECLARE_CLASS(TMediaPlayer)
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    TMPButtonSet VisibleButtons() const { return FVisible; }
    void SetVisibleButtons(TMPButtonSet s);
    TMPButtonSet EnabledButtons() const { return FEnabledButtons; }
    void SetEnabledButtons(TMPButtonSet s);
    TMPButtonSet ColoredButtons() const { return FColored; }
    void SetColoredButtons(TMPButtonSet s);

    // Width of every visible button's cell; the cells fill the client width
    // left to right, the remainder stays empty at the right.
    int ButtonWidth() const { return mpButtonWidth(ClientWidth(), FVisible); }
    // The visible button at client x (a border between two cells belongs to
    // the left one); kMPNoButton when none.
    int ButtonAt(int x) const { return mpHitTest(FVisible, ButtonWidth(), x); }
    // The button held down by the mouse, kMPNoButton when none.
    int PressedButton() const { return FPressed; }

    // Raised once per click: press and release over the same enabled button.
    TMPBtnClickEvent OnButtonClick;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    virtual void ButtonClick(TMPBtnType button);

private:
    TMPButtonSet FVisible = kMPAllButtons;
    TMPButtonSet FEnabledButtons = kMPAllButtons;
    TMPButtonSet FColored = kMPAllButtons;
    int FPressed = kMPNoButton;
};

// A transport glyph (play triangle, pause bars ...) centred in `cell`.
void DrawMPGlyph(HDC dc, const RECT& cell, TMPBtnType button, COLORREF colour);

}  // namespace qs
