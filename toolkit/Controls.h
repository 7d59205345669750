#pragma once
// Controls: TControl (bounds, alignment, colour, font, the replaceable message
// handler WindowProc), TWinControl (a window handle made on demand, child
// controls, tab order, notifications reflected back to the child that sent
// them), TGraphicControl (windowless, painted and fed mouse messages by its
// parent) and TCustomControl (windowed, painted through a canvas).
//
// Message path of a windowed control: the window's procedure (a shared static
// trampoline, or whatever procedure a subclasser put in front of it) finds the
// control through a window property, calls WindowProc (initially WndProc),
// and WndProc ends in DefaultHandler, which calls the procedure of the window
// class the control wraps.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Graphics.h"
#include "Menus.h"
#include "Messages.h"
#include "core/Component.h"

namespace qs {

class TWinControl;
class TCustomForm;
class TPopupMenu;
class TControl;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
// TBiDiMode (Menus.h) is shared by menus and controls.
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : uint32_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = uint32_t;

using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, wchar_t& key)>;
// `handled` set true keeps the control's pop-up menu from showing.
using TContextPopupEvent = std::function<void(TObject* sender, POINT pos, bool& handled)>;

enum TControlStyleFlag : uint32_t {
    csAcceptsControls = 1,    // children can be nested in it in a definition
    csCaptureMouse = 2,       // graphic control keeps the mouse while a button is down
    csClickEvents = 4,        // button-up over the control is a click
    csDoubleClicks = 8,       // double clicks reach it as such (else as a second press)
    csOpaque = 16,            // paints its whole area
    csSetCaption = 32,        // the Name becomes the Caption when none was set
    csCustomPaint = 64,       // a windowed control painted by the toolkit (Paint)
};

class TControl : public TComponent {
    QS_DECLARE_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // ---- messages ----
    // The replaceable message handler. A replacement saves the current one,
    // calls it for what it does not consume, and may later put it back.
    const TWndMethod& WindowProc() const { return FWindowProc; }
    void SetWindowProc(TWndMethod proc);
    // Sends a message through WindowProc and gives back its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& msg);
    // What runs when nobody handled a message: the window class's procedure
    // for a windowed control, nothing (result 0) for a graphic one.
    virtual void DefaultHandler(TMessage& msg);
    // A handler for one message number, called in place of DefaultHandler
    // (call DefaultHandler from the handler to keep the default too). An empty
    // function removes it.
    void SetMessageHandler(UINT msg, TWndMethod handler);

    // ---- parent and nesting ----
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    void SetParentComponent(TComponent* parent) override;
    TComponent* GetParentComponent() const override;
    bool HasParent() const { return FParent != nullptr; }

    // ---- bounds ----
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBoundsRect(const RECT& r) { SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top); }
    // The client area in the control's own coordinates.
    virtual RECT ClientRect() const;
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int v) { SetClientSize(v, ClientHeight()); }
    void SetClientHeight(int v) { SetClientSize(ClientWidth(), v); }
    virtual void SetClientSize(int width, int height);
    POINT ClientToScreen(POINT p) const;
    POINT ScreenToClient(POINT p) const;
    // The control's client origin in screen coordinates.
    virtual POINT ClientOrigin() const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign a);

    // ---- state ----
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible (and, at the top, a window that shows).
    virtual bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* f);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* m);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode m);
    bool IsRightToLeft() const { return FBiDiMode != TBiDiMode::bdLeftToRight; }
    uint32_t ControlStyle() const { return FControlStyle; }
    void SetControlStyle(uint32_t s) { FControlStyle = s; }

    // Caption and Text are the same string; a windowed control keeps it in
    // its window text once it has a window.
    virtual std::wstring GetText() const { return FText; }
    virtual void SetText(const std::wstring& text);
    std::wstring Caption() const { return GetText(); }
    void SetCaption(const std::wstring& text) { SetText(text); }
    // With csSetCaption, a control whose caption was its old name follows a rename.
    void SetName(const std::string& name) override;
    const std::wstring& Hint() const { return FHint; }
    void SetHint(const std::wstring& h) { FHint = h; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v) { FShowHint = v; }
    bool MouseInControl() const;

    // ---- painting ----
    virtual void Invalidate();
    void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    // Moves the control to the top (end) or bottom of its parent's list.
    void BringToFront();
    void SendToBack();

    // ---- events ----
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;

    virtual void Click();
    virtual void DblClick();

    // Multiplies position, size and (unless it follows the parent) font by
    // m/d: a form moving to another resolution. Controls with sizes of their
    // own (panels of a status bar, columns of a list) scale those too.
    virtual void ChangeScale(int m, int d);

    void Loaded() override;

protected:
    friend class TWinControl;
    void Notification(TComponent* c, TOperation op) override;
    virtual void Resize();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    // Changes that the control reacts to; each is also sent as a CM_ notification.
    virtual void FontChanged();
    virtual void ColorChanged() {}
    virtual void TextChanged() {}
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    // The parent's font or colour changed: take it when following the parent.
    void ParentFontChanged();
    void ParentColorChanged();
    // A right click or WM_CONTEXTMENU: OnContextPopup, then the pop-up menu.
    bool DoContextPopup(POINT screen);
    void RequestAlign();
    // The window was shown or hidden from outside (ShowWindow): take the new
    // state without showing or hiding anything ourselves.
    void SyncVisible(bool v);
    bool InDestruction() const { return IsDestroying(); }

    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    std::wstring FText;
    uint32_t FControlStyle = csClickEvents | csCaptureMouse | csDoubleClicks | csSetCaption;

private:
    void WMMouse(TMessage& msg);
    void CMMouseEnterLeave(TMessage& msg);
    void SetFontQuiet(const TFont& f);

    TWndMethod FWindowProc;
    std::vector<std::pair<UINT, TWndMethod>> FHandlers;
    TWinControl* FParent = nullptr;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = false;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FFontFromParent = false;  // a change made by following the parent, not the user
    TPopupMenu* FPopupMenu = nullptr;
    TBiDiMode FBiDiMode = TBiDiMode::bdLeftToRight;
    std::wstring FHint;
    bool FShowHint = false;
    bool FMouseDownHere = false;
};

// What a windowed control asks for when its window is made.
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    // The toolkit class name the window class is registered under ("TPanel").
    std::wstring WinClassName;
    // The system class this control wraps ("msctls_statusbar32"); empty for
    // a window of the toolkit's own.
    std::wstring SysClassName;
    UINT ClassStyle = CS_DBLCLKS;
    HCURSOR Cursor = nullptr;
    HBRUSH Background = nullptr;
    HICON Icon = nullptr;
};

class TWinControl : public TControl {
    QS_DECLARE_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // ---- window ----
    // The window handle, made (with the parents' windows) when first asked for.
    HWND Handle();
    HWND HandleIfAllocated() const { return FHandle; }
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    void DestroyHandle();
    // Destroys the window and makes it again with fresh create parameters;
    // the control hears CM_RECREATEWND first.
    void RecreateWnd();
    // A window that is not a toolkit control to live in (for a control that
    // has no Parent): its window is made as a child of that window.
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND parent);
    // The window procedure of the window class the control wraps.
    WNDPROC DefWndProc() const { return FDefWndProc; }

    void DefaultHandler(TMessage& msg) override;
    void WndProc(TMessage& msg) override;

    // ---- children ----
    int ControlCount() const { return int(FControls.size()); }
    TControl* Controls(int i) const { return FControls[size_t(i)]; }
    const std::vector<TControl*>& ControlList() const { return FControls; }
    void InsertControl(TControl* c);
    void RemoveControl(TControl* c);
    bool ContainsControl(const TControl* c) const;
    // The topmost visible child under a client point (windowless ones only, or all).
    TControl* ControlAtPos(POINT p, bool allowDisabled = false, bool allowWinControls = false) const;

    // Lays the aligned children out in the client area (less AdjustClientRect).
    void Realign();
    void DisableAlign() { ++FAlignLevel; }
    void EnableAlign();
    // The area aligned children share; a panel takes its bevels off.
    virtual void AdjustClientRect(RECT& r) const;

    // ---- tab order ----
    int TabOrder() const;
    void SetTabOrder(int order);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v) { FTabStop = v; }
    // Windowed children in tab order, each followed by its own (all levels).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    const std::vector<TWinControl*>& TabList() const { return FTabList; }

    // ---- focus ----
    bool Focused() const;
    virtual bool CanFocus() const;
    virtual void SetFocus();

    // Paints the windowless children (from `first` on, or all) into `dc`,
    // which has this control's client origin.
    void PaintControls(HDC dc, TControl* first = nullptr);

    std::wstring GetText() const override;
    void SetText(const std::wstring& text) override;
    void Invalidate() override;
    void SetBounds(int left, int top, int width, int height) override;
    RECT ClientRect() const override;
    POINT ClientOrigin() const override;
    bool Showing() const override;
    // Children first, with alignment held until this control has its new size.
    void ChangeScale(int m, int d) override;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void Loaded() override;

protected:
    friend class TControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // After the window exists: fonts, texts, child windows.
    virtual void CreateHandle();
    virtual void DestroyWnd();
    // Paints the control itself (not its windowless children) into `dc`.
    virtual void PaintWindow(HDC dc);
    virtual void AlignControls(RECT& rect);
    void FontChanged() override;
    void ColorChanged() override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    // Key handling, the form's preview first; false when the key was eaten.
    bool DoKeyDown(TMessage& msg);
    bool DoKeyUp(TMessage& msg);
    bool DoKeyPress(TMessage& msg);
    // Called by the trampoline once the window is gone (WM_NCDESTROY).
    virtual void WindowGone();
    // The extended styles that carry BiDiMode.
    DWORD BiDiExStyle() const;
    // Updates the window's style bits without recreating it.
    void SetWindowStyleBits(DWORD mask, DWORD bits, bool ex = false);

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    HBRUSH FBackgroundBrush = nullptr;  // owned, for WM_ERASEBKGND and WM_CTLCOLOR*

private:
    bool ReflectToChild(TMessage& msg);
    void WMPaint(TMessage& msg);
    void WMEraseBkgnd(TMessage& msg);
    void WMMouseForChildren(TMessage& msg, bool& done);
    void WMSize();
    void UpdateBackgroundBrush();
    void InsertIntoTabList(TWinControl* c);
    void RemoveFromTabList(TWinControl* c);

    std::vector<TControl*> FControls;      // children, bottom to top
    std::vector<TWinControl*> FTabList;    // windowed children in tab order
    int FAlignLevel = 0;
    bool FAlignPending = false;
    bool FTabStop = false;
    int FPendingTabOrder = -1;             // set while loading, applied at Loaded
    TControl* FMouseCapture = nullptr;     // windowless child holding the mouse
    bool FRecreating = false;
    HWND FParentWindow = nullptr;
};

// Windowless: drawn by its parent in the parent's paint, on a canvas.
class TGraphicControl : public TControl {
    QS_DECLARE_CLASS(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return FCanvas.get(); }
    void WndProc(TMessage& msg) override;

protected:
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// Windowed and painted by the toolkit through Paint on a canvas.
class TCustomControl : public TWinControl {
    QS_DECLARE_CLASS(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return FCanvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;

private:
    std::unique_ptr<TCanvas> FCanvas;
};

// The toolkit control linked to a window, or null for a window the toolkit
// did not make.
TWinControl* FindControl(HWND wnd);
// The form a control sits on (the nearest form up the parent chain).
TCustomForm* GetParentForm(const TControl* c);
TShiftState KeyboardShiftState();
// From inside a catch block: hands the exception being handled to the
// application's error report. Window procedures call it so that no exception
// ever unwinds through a system frame.
void ReportCurrentException();
TShiftState MouseShiftState(WPARAM keys);

// Member names of the enumerations, as written in form definitions.
extern const std::vector<std::string> kAlignNames;
extern const std::vector<std::string> kBiDiModeNames;
extern const std::vector<std::string> kAlignmentNames;

}  // namespace qs
