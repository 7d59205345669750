#pragma once
// Up-down (spin) buttons: alone, inside an edit, or as a tab control's scroller.
#include "SkinControl.h"

namespace qs {

class TSkinUpDown : public TSkinControl {
    QS_DECLARE_CLASS(TSkinUpDown)
public:
    explicit TSkinUpDown(TComponent* owner);

    bool FInEdit = false;
    int FHorizontal = 0;  // 1 forces left/right arrows

    bool BeforeMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
};

// The plain arrow of an up-down without skin element: `direction` 0 up,
// 1 down, 2 left, 3 right, centred at (x, y) as described by the button.
void DrawUpDownArrow(HDC dc, int x, int y, int direction, COLORREF colour);

}  // namespace qs
