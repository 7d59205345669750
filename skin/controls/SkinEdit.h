#pragma once
// Edits: a flat border in place of the sunken edge, and the skin of a spin
// button living inside the edit.
#include "SkinControl.h"
#include "SkinForm.h"

namespace qs {

class TSkinUpDown;

// Message 0xBC4A with kSkinPaintTag in lParam asks a skinned control to
// paint itself into the DC in wParam; the tag is the answer.
inline constexpr UINT WM_SKIN_PAINT_CONTROL = CN_BASE + 0x4A;

class TSkinEdit : public TSkinControl {
    QS_DECLARE_CLASS(TSkinEdit)
public:
    explicit TSkinEdit(TComponent* owner);
    ~TSkinEdit() override;

    TSkinUpDown* FUpDown = nullptr;

    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    // The border drawn for WM_PRINTCLIENT.
    void PrintBorder(HDC dc, const RECT& r);

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    void FindSpinButton();
};

// The first child of `edit` that is a spin button, or null.
HWND FindSpinChild(HWND edit);

}  // namespace qs
