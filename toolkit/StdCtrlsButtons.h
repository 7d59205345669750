#pragma once
// Push buttons, check boxes and radio buttons: wrapped system BUTTON windows.
// Clicks arrive as the parent's WM_COMMAND reflected back (CN_COMMAND), so a
// click by mouse, by Space or by BM_CLICK from outside all end in Click().
#include "Controls.h"

namespace qs {

class TButtonControl : public TWinControl {
    QS_DECLARE_CLASS(TButtonControl)
public:
    explicit TButtonControl(TComponent* owner);
    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    // BN_CLICKED came back from the window.
    virtual void ButtonClicked() { Click(); }
};

class TButton : public TButtonControl {
    QS_DECLARE_CLASS(TButton)
public:
    explicit TButton(TComponent* owner);

    // Default shows the button as the form's default one; Cancel marks the
    // button Escape stands for. Both are read by whoever routes those keys.
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    // Non-zero: a click sets it as the modal result of the button's form.
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int v) { FModalResult = v; }

    void Click() override;
    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
extern const std::vector<std::string> kCheckBoxStateNames;

class TCustomCheckBox : public TButtonControl {
    QS_DECLARE_CLASS(TCustomCheckBox)
public:
    explicit TCustomCheckBox(TComponent* owner);

    TCheckBoxState State() const { return FState; }
    // Programmatic changes run no OnClick; only the user's toggles do.
    void SetState(TCheckBoxState s);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    // With AllowGrayed a click walks unchecked -> grayed -> checked -> unchecked.
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    // taLeftJustify puts the caption left of the box.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void ButtonClicked() override;
    // The state the next click gives.
    TCheckBoxState NextState() const;

private:
    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
    QS_DECLARE_CLASS(TCheckBox)
public:
    explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};

class TRadioButton : public TButtonControl {
    QS_DECLARE_CLASS(TRadioButton)
public:
    explicit TRadioButton(TComponent* owner);

    bool Checked() const { return FChecked; }
    // Checking one clears every other radio button of the same parent.
    void SetChecked(bool v);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment a);

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void ButtonClicked() override;

private:
    // The radio button the arrow keys move to from here, or null.
    TRadioButton* Neighbour(bool forward) const;
    bool FChecked = false;
    TAlignment FAlignment = taRightJustify;
};

}  // namespace qs
