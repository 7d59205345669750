#pragma once
// The base of every control skin. A control skin sits in front of one child
// window: it lets the control's own procedure do its work and then paints the
// whole window (client and frame) from the active skin. It is attached either
// to a toolkit control (replacing the control's WindowProc) or to a bare
// window handle (replacing GWLP_WNDPROC); detaching always gives back exactly
// what it replaced.
#include <windows.h>

#include <string>

#include "Controls.h"
#include "Graphics.h"
#include "LifeToken.h"
#include "Messages.h"
#include "core/Component.h"

namespace qs {

class TSkinData;
class TWinSkinForm;
class TDataSkinObject;
class TImageList;

// Private messages every control skin understands.
inline constexpr UINT WM_SKIN_CONTROL_SWITCH = 0x3506;  // wParam > 0 on (repaints at once), <= 0 off
inline constexpr UINT WM_SKIN_REBUILD_SCROLL = 0x3517;  // to a form skin: wParam = the window

// FState values shared by all skins (subclasses add their own in between).
enum TSkinControlState : int {
    scsCreated = 0,
    scsAttached = 1,
    scsRestored = 2,   // a colour-only skin that has given its colour back
    scsDestroyed = 6,  // the window is gone; the form skin's next pass drops it
};

// FMouseState bits.
inline constexpr uint8_t kMouseHot = 1;
inline constexpr uint8_t kMousePressed = 2;

class TSkinControl : public TComponent {
    QS_DECLARE_CLASS(TSkinControl)
public:
    // The owner is the skinned toolkit control, or the form skin for a bare window.
    explicit TSkinControl(TComponent* owner);
    ~TSkinControl() override;

    // ---- fields (declaration order is the documented one) ----
    uint8_t FMouseState = 0;
    TCanvas* FCanvas = nullptr;  // the form skin's, not owned
    bool FEnabled = false;
    bool FFocused = false;
    std::wstring FCaption;
    // Non-null while this skin is installed as a bare window's procedure.
    void* FObjectInstance = nullptr;
    WNDPROC FOldWndProc = nullptr;
    bool FActive = true;
    bool FSwitchedOff = false;  // by 0x3506 (FActive also goes false with the window)
    bool FUnicode = false;
    TSkinData* FSkinData = nullptr;
    HWND FHandle = nullptr;
    TWndMethod FOldWindowProc;
    TControl* FControl = nullptr;
    RECT FWindowRect{};
    TControl* FGraphicControl = nullptr;
    bool FChangeColor = false;
    TColor FOldColor = clBtnFace;
    bool FAttached = false;
    int FState = scsCreated;
    TWinSkinForm* FSkinForm = nullptr;
    int FKind = 0;

    // ---- virtual operations ----
    // Attach to the owner, a toolkit control.
    virtual void Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas);
    // Attach to a bare window handle.
    virtual void AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas);
    // Undo what the skin changed on the control (the base gives the colour back).
    virtual void Restore();
    // True when the control's own procedure is to run (AfterMessage follows);
    // false when the skin handled the message completely.
    virtual bool BeforeMessage(TMessage& msg);
    virtual void AfterMessage(TMessage& msg);
    // Paints the whole window into `dc`, or into the window DC when null.
    virtual void PaintWindow(HDC dc);
    // Draws the control; `r` is the window rectangle moved to (0, 0).
    virtual void Paint(HDC dc, const RECT& r);
    virtual void SkinChanged();
    // Message 0x3506 switched the skin off or on (FActive says which). The
    // base gives the control its colour back or the skin's face again; skins
    // with windows of their own over the control (scroll-bar covers, the
    // picker's arrow) hide and show them.
    virtual void ActiveChanged();
    // What 0x3506 does: off leaves the control alone (as unskinned) until on.
    void Switch(bool on);
    // Scroll-bar skins (and the list-view skin) attach through here. The
    // base attaches like Attach, so a family that does not override it still
    // gets a working skin.
    virtual void AttachScrollbar(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas);
    // Skins of windowless controls (speed buttons) attach through here: the
    // control's WindowProc is hooked and repainting goes through its
    // Invalidate. FHandle is the parent's window.
    virtual void AttachGraphic(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas);

    // ---- message flow ----
    // The replacement message handler; no exception ever leaves it.
    void SkinWndProc(TMessage& msg);
    // Runs the replaced handler or window procedure.
    void CallDefault(TMessage& msg);
    // The same, for handlers that go on after it: false when the program's
    // handling freed this skin, which must then not be touched.
    [[nodiscard]] bool CallDefaultAlive(TMessage& msg);
    void Repaint();

    // ---- helpers for the subclasses ----
    // The parent's published Color, or `def`.
    TColor ParentColor(TColor def) const;
    void FillSkinColor(HDC dc, const RECT& r) const;
    void FillParentColor(HDC dc, const RECT& r) const;
    // The focus rectangle around FCaption laid out with `flags` in `r`.
    void DrawFocusText(HDC dc, UINT flags, const RECT& r) const;
    // A left-button press passed to the control's mouse-down handling.
    void ForwardMouseDown(const TMessage& msg);
    LONG_PTR GetLong(HWND handle, int index) const;
    // Standard WM_PAINT handling for a skin that paints everything itself.
    void PaintMessage(TMessage& msg);
    // Standard WM_ERASEBKGND handling: the parent's background under the control.
    void EraseMessage(TMessage& msg);
    // The skin colour ButtonFace (the system face colour without skin data).
    TColor FaceColor() const;
    // True while the form skin carries out a skin change, which ends with one
    // repaint of everything inside the form (client, background and frame):
    // a change handler then only takes the new skin, as a repaint of its own
    // would be painted over.
    bool RepaintFollowsChange() const;
    // The control whose right-to-left setting and properties apply.
    TControl* PropControl() const { return FGraphicControl ? FGraphicControl : FControl; }

    // The skin installed on a bare window handle, or null.
    static TSkinControl* FromHandle(HWND handle);

protected:
    void Notification(TComponent* c, TOperation op) override;
    // Installs SkinWndProc as the toolkit control's handler.
    void HookControl(TControl* control);
    void AddToSkinForm();

    TLifeToken FLife;  // watched across the control's own handling (it may run a modal loop)

private:
    void Subclass(HWND handle);
    void Unsubclass();
    static LRESULT CALLBACK SkinControlProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

}  // namespace qs
