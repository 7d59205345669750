#pragma once
// Combo boxes: frame and drop-down button from the skin, the button hot under
// the mouse, the edit of a drop-down combo kept from painting over the frame,
// and skinned scroll bars on the list.
#include "SkinControl.h"

namespace qs {

class TSkinScrollbarH;

class TSkinComBox : public TSkinControl {
    QS_DECLARE_CLASS(TSkinComBox)
public:
    explicit TSkinComBox(TComponent* owner);
    ~TSkinComBox() override;

    LONG_PTR FStyle = 0;
    LONG_PTR FExStyle = 0;
    HWND FListHandle = nullptr;
    HWND FEditHandle = nullptr;
    void* FEditInstance = nullptr;
    WNDPROC FEditOldProc = nullptr;
    bool FDroppedDown = false;
    TSkinScrollbarH* FListScrollbar = nullptr;  // owned
    COMBOBOXINFO FComboInfo{};
    RECT FButtonRect{};

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    void Restore() override;
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;

protected:
    void Notification(TComponent* c, TOperation op) override;

private:
    void AfterAttach(bool fromControl);
    void SkinList(HWND list);
    void FreeListScrollbar(bool restore);
    void PaintFlat(HDC dc, const RECT& r, TDataSkinObject* button);
    void fillAroundEdit(HDC dc, const RECT& content) const;
    void UnsubclassEdit();
    static LRESULT CALLBACK EditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

}  // namespace qs
