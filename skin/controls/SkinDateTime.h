#pragma once
// Date-time pickers: a flat border and an arrow button of the skin's drawn
// over the picker's own drop-down button.
#include "SkinControl.h"

namespace qs {

class TSkinDateTime;

class TArrowButton : public TCustomControl {
    QS_DECLARE_CLASS(TArrowButton)
public:
    explicit TArrowButton(TComponent* owner);

    int FButtonSize = 0;
    TWinControl* FPicker = nullptr;
    TSkinDateTime* FDateTimeSkin = nullptr;
    HWND FPickerHandle = nullptr;
    uint8_t FHot = 0;  // bit 0: the mouse is over the button

    // `picker` is the toolkit control when there is one (a bare picker has none).
    void AttachToPicker(TSkinDateTime* skin, HWND pickerHandle, TWinControl* picker = nullptr);
    void WndProc(TMessage& msg) override;
    // Paints into any DC whose origin is the button's top-left.
    void PaintTo(HDC dc);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
};

class TSkinDateTime : public TSkinControl {
    QS_DECLARE_CLASS(TSkinDateTime)
public:
    explicit TSkinDateTime(TComponent* owner);
    ~TSkinDateTime() override;

    TArrowButton* FArrowButton = nullptr;  // owned

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    void ActiveChanged() override;
    void Restore() override;
};

}  // namespace qs
