#pragma once
// Skinned scroll bars. A native scroll bar cannot be repainted reliably from
// outside, so each visible bar is covered by a window of ours, TWScrollbar,
// placed exactly over it (just above the control in the z-order). The cover
// paints the bar from the skin and hands every button press to the native
// bar underneath: the system's own tracking loop does the scrolling, the
// repeating and the thumb dragging, so the skin keeps no timers.
#include <memory>

#include "ExtCtrls.h"
#include "SkinControl.h"
#include "SkinScrollGeometry.h"

namespace qs {

// What the cover knows of the bar under it.
struct TScrollBarState {
    RECT bar{};          // screen coordinates (modes 0 and 1) or the parent's (mode 2)
    int thumbTop = 0;    // pixels from the bar's start
    int thumbBottom = 0;
    bool invisible = false;
    bool unavailable = false;
};

class TWScrollbar : public TCustomPanel {
    QS_DECLARE_CLASS(TWScrollbar)
public:
    enum : uint8_t { kHorizontal = 0, kVertical = 1, kControl = 2 };

    explicit TWScrollbar(TComponent* owner);
    ~TWScrollbar() override;

    int FLength = 0;
    int FThumbStart = 0, FThumbEnd = 0;
    POINT FScreenPos{};
    POINT FDownPos{};
    int FDownThumb = 0;
    bool FPressed = false;
    int FVertical = 0;
    int FHotPart = spNone;
    int FArrowSize = 0;
    HWND FTargetHandle = nullptr;
    TControl* FScrollBarControl = nullptr;
    TSkinControl* FOwnerSkin = nullptr;
    uint8_t FMode = kHorizontal;
    RECT FBarRect{};  // in the target's client coordinates
    bool FShown = false;

    // Modes 0 and 1 on a toolkit control, mode 2 on a scroll-bar control.
    void AttachToControl(TSkinControl* ownerSkin, TWinControl* control, int mode);
    // Modes 0 and 1 on a bare window.
    void AttachToHandle(TSkinControl* ownerSkin, HWND handle, int mode);
    // Mode 2 on a bare scroll-bar window (a foreign dialog's).
    void AttachToBarWindow(TSkinControl* ownerSkin, HWND bar);
    // Re-reads the native bar and moves, shows or hides the cover; a cover
    // that stays where it was repaints only with `repaintInPlace`.
    void UpdatePosition(HWND target, bool repaintInPlace = true);
    void HideBar();
    TScrollPart HitTest(POINT p) const;
    // The native bar now; false when the system cannot tell.
    bool ReadBar(TScrollBarState& out) const;
    // Paints into any DC whose origin is the cover's top-left (for tests and WM_PRINTCLIENT).
    void PaintTo(HDC dc);

    void WndProc(TMessage& msg) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;

private:
    TLifeToken FLife;  // the press runs the system's tracking loop, which may free the cover
    void Attach(TSkinControl* ownerSkin, HWND target, int mode);
    void HideWithoutErasing();
    void MouseDown(TMessage& msg);
    void MouseUp(TMessage& msg);
    void InvalidateBar();
};

// Memos, list boxes, tree views, rich edits, grids: two covers and a flat border.
class TSkinScrollbar : public TSkinControl {
    QS_DECLARE_CLASS(TSkinScrollbar)
public:
    explicit TSkinScrollbar(TComponent* owner);
    ~TSkinScrollbar() override;

    std::unique_ptr<TWScrollbar> FHorzBar;
    std::unique_ptr<TWScrollbar> FVertBar;
    bool FDrawBorder = false;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void AttachScrollbar(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    void UpdateBars();
    void DrawBorder(HDC dc);
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    void SkinChanged() override;
    void ActiveChanged() override;
    void Restore() override;
};

// The same for a bare window handle (the drop-down list of a combo box).
class TSkinScrollbarH : public TSkinControl {
    QS_DECLARE_CLASS(TSkinScrollbarH)
public:
    explicit TSkinScrollbarH(TComponent* owner);
    ~TSkinScrollbarH() override;

    std::unique_ptr<TWScrollbar> FHorzBar;
    std::unique_ptr<TWScrollbar> FVertBar;

    void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    void UpdateBars();
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    void ActiveChanged() override;
    void Restore() override;
};

// A scroll-bar control: one cover over the whole control.
class TSkinScControl : public TSkinControl {
    QS_DECLARE_CLASS(TSkinScControl)
public:
    explicit TSkinScControl(TComponent* owner);
    ~TSkinScControl() override;

    std::unique_ptr<TWScrollbar> FBar;

    void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) override;
    void AttachScrollBarControl(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas);
    void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& msg) override;
    void AfterMessage(TMessage& msg) override;
    void Paint(HDC dc, const RECT& r) override;
    void ActiveChanged() override;
    void Restore() override;
};

// The size box between two shown bars (rectangles in the control's client
// coordinates) in window coordinates, the client area starting at `clientOrigin`.
RECT ScrollSizeBox(const RECT& vertBar, const RECT& horzBar, POINT clientOrigin);

}  // namespace qs
