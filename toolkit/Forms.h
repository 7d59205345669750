#pragma once
// Forms: top-level windows made from a form definition, and the screen's list
// of open forms.
#include <string_view>

#include "Controls.h"

namespace qs {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint32_t;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT, mrRetry = IDRETRY,
                       mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TCustomForm : public TWinControl {
    QS_DECLARE_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the definition linked into the program for this form's class
    // (found by class name), then runs OnCreate. A form class defines its
    // handlers (DefineMethod) before calling it, usually in its constructor.
    // A broken or missing definition, or a failing OnCreate, throws; the
    // form is then unusable.
    void ReadFormDefinition();
    // The same from definition text.
    void ReadFormDefinition(std::string_view text);

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle s);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition p) { FPosition = p; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle s);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState s);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool v) { FKeyPreview = v; }
    // The main menu, or null. Its menu handle goes on the window.
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* menu);
    HICON Icon() const { return FIcon; }
    // Not owned: the caller keeps the icon alive while the form shows it.
    void SetIcon(HICON icon);

    // Resolution scaling. A form's figures (bounds of the form and its
    // controls, font heights) are for PixelsPerInch, 96 unless a definition
    // says otherwise. A Scaled form is brought to the resolution its window
    // gets: at the end of reading its definition, when its window is made
    // (a form built in code: what was set before that is taken as design
    // figures), and on WM_DPICHANGED. From then on PixelsPerInch is that
    // resolution and figures are device pixels. Not Scaled: figures are
    // pixels as written, at any resolution.
    bool Scaled() const { return FScaled; }
    void SetScaled(bool v) { FScaled = v; }
    int PixelsPerInch() const { return FPixelsPerInch; }
    // Rescales to `dpi` now (a Scaled form or not); `window`, if given, is
    // the new window rectangle (the one WM_DPICHANGED suggests), else the
    // client area is scaled and a form without a window also moves.
    void ScaleToDpi(int dpi, const RECT* window = nullptr);

    // The MDI client window of an fsMDIForm (where its MDI children live);
    // null for other forms or before the window exists.
    HWND ClientHandle() const { return FClientHandle; }
    // The MDI children of this frame, in creation order.
    std::vector<TCustomForm*> MDIChildren() const;

    bool Active() const { return FActive; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* c);
    // Moves the focus to the next (or previous) tab stop after `current`.
    void SelectNext(TWinControl* current, bool forward);

    // Forms owned by this one (their Owner is this form).
    std::vector<TCustomForm*> OwnedForms() const;

    void Show();
    void Hide();
    // Asks OnCloseQuery and OnClose; the close action decides what happens.
    void Close();
    // Frees the form once the messages it is handling now are done.
    void Release();
    // Shows the form and runs a message loop until ModalResult is set or the
    // form is closed; other forms are disabled meanwhile.
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult r) { FModalResult = r; }
    bool IsModal() const { return FModal; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

    RECT ClientRect() const override;
    void SetClientSize(int width, int height) override;
    bool Showing() const override;
    void WndProc(TMessage& msg) override;
    void DefaultHandler(TMessage& msg) override;
    void Loaded() override;
    void ChangeScale(int m, int d) override;

    // Called by a control of this form when it receives the focus.
    void FocusControlChanged(TWinControl* c);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void VisibleChanged() override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoClose(TCloseAction& action);
    virtual bool CloseQuery();
    void WindowGone() override;
    void AlignControls(RECT& rect) override;

private:
    TCustomForm* MDIFrame() const;
    void ApplyPosition();
    void ApplyWindowState();
    void UpdateMenu();
    DWORD WindowStyle() const;
    DWORD WindowExStyle() const;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    TMainMenu* FMenu = nullptr;
    HICON FIcon = nullptr;
    bool FActive = false;
    TWinControl* FActiveControl = nullptr;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    bool FPositioned = false;
    bool FShownOnce = false;
    bool FReleased = false;
    bool FDestroyCalled = false;
    int FPendingClientWidth = -1, FPendingClientHeight = -1;
    HWND FClientHandle = nullptr;  // MDI client, a child of this window
    int FPixelsPerInch = 96;
    int FTextHeight = 13;
    bool FScaled = true;

protected:
    void Notification(TComponent* c, TOperation op) override;
};

class TForm : public TCustomForm {
    QS_DECLARE_CLASS(TForm)
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// The open forms of the program, in creation order, and the active one.
class TScreen {
public:
    int FormCount() const { return int(FForms.size()); }
    TCustomForm* Forms(int i) const { return FForms[size_t(i)]; }
    const std::vector<TCustomForm*>& FormList() const { return FForms; }
    TCustomForm* ActiveForm() const { return FActiveForm; }
    TCustomForm* FindForm(HWND wnd) const;
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }
    RECT DesktopRect() const;

    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* f) { FForms.push_back(f); }
    void RemoveForm(TCustomForm* f);
    void SetActiveForm(TCustomForm* f);
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
};

extern TScreen* Screen;

extern const std::vector<std::string> kBorderStyleNames;
extern const std::vector<std::string> kBorderIconNames;
extern const std::vector<std::string> kPositionNames;
extern const std::vector<std::string> kFormStyleNames;
extern const std::vector<std::string> kWindowStateNames;

}  // namespace qs
