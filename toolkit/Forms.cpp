#include "Forms.h"

#include <algorithm>

#include "Application.h"
#include "Dpi.h"
#include "FormResource.h"
#include "StdCtrlsButtons.h"
#include "core/FormReader.h"
#include "core/FormText.h"

namespace qs {

const std::vector<std::string> kBorderStyleNames = {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow",
                                                    "bsSizeToolWin"};
const std::vector<std::string> kBorderIconNames = {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"};
const std::vector<std::string> kPositionNames = {"poDesigned",      "poDefault",        "poDefaultPosOnly",
                                                 "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
                                                 "poMainFormCenter", "poOwnerFormCenter"};
const std::vector<std::string> kFormStyleNames = {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"};
const std::vector<std::string> kWindowStateNames = {"wsNormal", "wsMinimized", "wsMaximized"};

namespace {

// The first showing, enabled button marked Default (or Cancel) on `root`,
// not looking into forms placed inside it: those answer for their own keys.
TButton* FindDialogButton(TWinControl* root, bool isDefault) {
    for (TControl* c : root->ControlList()) {
        if (auto* b = dynamic_cast<TButton*>(c)) {
            if ((isDefault ? b->Default() : b->Cancel()) && b->Showing() && b->Enabled() &&
                (!b->HandleAllocated() || IsWindowEnabled(b->Handle())))
                return b;
            continue;
        }
        auto* w = dynamic_cast<TWinControl*>(c);
        if (!w || dynamic_cast<TCustomForm*>(w) || !w->Showing() || !w->Enabled()) continue;
        if (TButton* b = FindDialogButton(w, isDefault)) return b;
    }
    return nullptr;
}

void BroadcastFocusChanged(TWinControl* root, TWinControl* focused) {
    root->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(focused));
    for (TControl* c : std::vector<TControl*>(root->ControlList())) {
        if (auto* w = dynamic_cast<TWinControl*>(c))
            BroadcastFocusChanged(w, focused);
        else
            c->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(focused));
    }
}
}  // namespace

TScreen* Screen = new TScreen();  // lives as long as the process

// ---- TScreen ----

void TScreen::RemoveForm(TCustomForm* f) {
    FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
    if (FActiveForm == f) SetActiveForm(nullptr);
}

void TScreen::SetActiveForm(TCustomForm* f) {
    if (FActiveForm == f) return;
    FActiveForm = f;
    if (OnActiveFormChange) OnActiveFormChange(nullptr);
}

TCustomForm* TScreen::FindForm(HWND wnd) const {
    if (!wnd) return nullptr;
    for (TCustomForm* f : FForms)
        if (f->HandleIfAllocated() == wnd) return f;
    return nullptr;
}

RECT TScreen::DesktopRect() const {
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (w <= 0 || h <= 0) return RECT{0, 0, Width(), Height()};
    return RECT{x, y, x + w, y + h};
}

// ---- class information ----

const TClassInfo& TCustomForm::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TCustomForm>("TCustomForm", &TWinControl::StaticClassInfo())
            .enumeration("BorderStyle", kBorderStyleNames, [](const TCustomForm& f) { return int(f.BorderStyle()); },
                         [](TCustomForm& f, int v) { f.SetBorderStyle(TFormBorderStyle(v)); })
            .set("BorderIcons", kBorderIconNames, [](const TCustomForm& f) { return uint64_t(f.BorderIcons()); },
                 [](TCustomForm& f, uint64_t v) { f.SetBorderIcons(TBorderIcons(v)); })
            .enumeration("Position", kPositionNames, [](const TCustomForm& f) { return int(f.Position()); },
                         [](TCustomForm& f, int v) { f.SetPosition(TPosition(v)); })
            .enumeration("FormStyle", kFormStyleNames, [](const TCustomForm& f) { return int(f.FormStyle()); },
                         [](TCustomForm& f, int v) { f.SetFormStyle(TFormStyle(v)); })
            .enumeration("WindowState", kWindowStateNames, [](const TCustomForm& f) { return int(f.WindowState()); },
                         [](TCustomForm& f, int v) { f.SetWindowState(TWindowState(v)); })
            // Republished: a definition's client size holds for the border
            // style and menu the definition ends up with, in whatever order
            // they are written.
            .integer("ClientWidth", [](const TCustomForm& f) { return int64_t(f.ClientWidth()); },
                     [](TCustomForm& f, int64_t v) {
                         if (f.IsLoading()) f.FPendingClientWidth = int(v);
                         f.SetClientWidth(int(v));
                     })
            .integer("ClientHeight", [](const TCustomForm& f) { return int64_t(f.ClientHeight()); },
                     [](TCustomForm& f, int64_t v) {
                         if (f.IsLoading()) f.FPendingClientHeight = int(v);
                         f.SetClientHeight(int(v));
                     })
            .boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview)
            // The creation handler always runs after every component's Loaded;
            // a definition asking for the other order is refused, not ignored.
            .boolean("OldCreateOrder", [](const TCustomForm&) { return false; },
                     [](TCustomForm&, bool v) { return !v; })
            // The resolution the figures are for (see Scaled).
            .integer("PixelsPerInch", [](const TCustomForm& f) { return int64_t(f.FPixelsPerInch); },
                     [](TCustomForm& f, int64_t v) -> bool {
                         if (v <= 0 || v > 10000) return false;
                         f.FPixelsPerInch = int(v);
                         return true;
                     })
            .integer("TextHeight", [](const TCustomForm& f) { return int64_t(f.FTextHeight); },
                     [](TCustomForm& f, int64_t v) { f.FTextHeight = int(v); })
            .boolean("Scaled", &TCustomForm::Scaled, &TCustomForm::SetScaled)
            .object("Menu", [](const TCustomForm& f) -> TObject* { return f.Menu(); },
                    [](TCustomForm& f, TObject* v) -> bool {
                        auto* m = dynamic_cast<TMainMenu*>(v);
                        if (v && !m) return false;
                        f.SetMenu(m);
                        return true;
                    })
            .event<E>("OnCreate", [](const TCustomForm& f) { return f.OnCreate; },
                      [](TCustomForm& f, const E& e) { f.OnCreate = e; })
            .event<E>("OnShow", [](const TCustomForm& f) { return f.OnShow; },
                      [](TCustomForm& f, const E& e) { f.OnShow = e; })
            .event<E>("OnHide", [](const TCustomForm& f) { return f.OnHide; },
                      [](TCustomForm& f, const E& e) { f.OnHide = e; })
            .event<E>("OnDestroy", [](const TCustomForm& f) { return f.OnDestroy; },
                      [](TCustomForm& f, const E& e) { f.OnDestroy = e; })
            .event<E>("OnActivate", [](const TCustomForm& f) { return f.OnActivate; },
                      [](TCustomForm& f, const E& e) { f.OnActivate = e; })
            .event<E>("OnDeactivate", [](const TCustomForm& f) { return f.OnDeactivate; },
                      [](TCustomForm& f, const E& e) { f.OnDeactivate = e; })
            .event<TCloseEvent>("OnClose", [](const TCustomForm& f) { return f.OnClose; },
                                [](TCustomForm& f, const TCloseEvent& e) { f.OnClose = e; })
            .event<TCloseQueryEvent>("OnCloseQuery", [](const TCustomForm& f) { return f.OnCloseQuery; },
                                     [](TCustomForm& f, const TCloseQueryEvent& e) { f.OnCloseQuery = e; })
            .build();
    return info;
}

const TClassInfo& TForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TForm>("TForm", &TCustomForm::StaticClassInfo()).creatable().build();
    return info;
}

// ---- TCustomForm ----

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetVisible(false);
    SetColor(clBtnFace);
    SetParentFont(false);
    SetBounds(0, 0, 320, 240);
    Screen->AddForm(this);
}

TCustomForm::~TCustomForm() {
    if (!FDestroyCalled) {
        FDestroyCalled = true;
        if (OnDestroy) try {
                OnDestroy(this);
            } catch (...) {
                ReportCurrentException();
            }
    }
    Screen->RemoveForm(this);
    // The window goes while this is still a form (its messages reach our WndProc).
    DestroyHandle();
}

void TCustomForm::ReadFormDefinition() {
    std::string text = LoadFormDefinition(ClassName().c_str());
    if (text.empty()) throw std::runtime_error("no form definition is linked in for " + ClassName());
    ReadFormDefinition(text);
}

void TCustomForm::ReadFormDefinition(std::string_view text) {
    // Idempotent; a program that skipped Application->Initialize still reads.
    static const bool registered = (RegisterControlClasses(), true);
    (void)registered;
    TFormObject tree = ParseFormText(text);
    // Font sizes in a scaled definition are points at its resolution, like
    // every other figure there; read at the screen's they would be scaled twice.
    int designDpi = 96;
    bool scaled = FScaled;
    for (const TFormProperty& p : tree.props) {
        const bool number = p.value.kind == TFormValue::TKind::Integer;
        if (lstrcmpiA(p.path.c_str(), "PixelsPerInch") == 0 && number && p.value.integer > 0 && p.value.integer <= 10000)
            designDpi = int(p.value.integer);
        if (lstrcmpiA(p.path.c_str(), "Scaled") == 0 && p.value.kind == TFormValue::TKind::Ident)
            scaled = lstrcmpiA(p.value.text.c_str(), "True") == 0;
    }
    {
        TFont::TSizeResolution points(scaled ? designDpi : 0);
        ReadForm(this, tree);
    }
    // A creation handler that fails leaves the program's half of the form
    // unmade: the error leaves the constructor, so the form is never shown
    // (CreateForm reports it and returns none).
    DoCreate();
    if (Visible()) VisibleChanged();
}

void TCustomForm::DoCreate() {
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::Loaded() {
    // The definition's figures become the window's: before the rest of
    // loading, so the layout and the creation handler see the final ones.
    if (FScaled && !Parent()) ScaleToDpi(NewWindowDpi());
    TWinControl::Loaded();
    if (FPendingClientWidth >= 0 || FPendingClientHeight >= 0) {
        // Applied now that the border style and menu are known.
        int w = FPendingClientWidth >= 0 ? FPendingClientWidth : ClientWidth();
        int h = FPendingClientHeight >= 0 ? FPendingClientHeight : ClientHeight();
        FPendingClientWidth = FPendingClientHeight = -1;
        SetClientSize(w, h);
    }
}

// ---- window ----

DWORD TCustomForm::WindowStyle() const {
    DWORD s = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (FBorderStyle) {
        case bsNone: s |= WS_POPUP; break;
        case bsSingle: case bsToolWindow: s |= WS_CAPTION; break;
        case bsSizeable: case bsSizeToolWin: s |= WS_CAPTION | WS_THICKFRAME; break;
        case bsDialog: s |= WS_POPUP | WS_CAPTION; break;
    }
    if (FBorderStyle != bsNone && (FBorderIcons & biSystemMenu)) {
        s |= WS_SYSMENU;
        if (FBorderStyle == bsSingle || FBorderStyle == bsSizeable) {
            if (FBorderIcons & biMinimize) s |= WS_MINIMIZEBOX;
            if (FBorderIcons & biMaximize) s |= WS_MAXIMIZEBOX;
        }
    }
    return s;
}

DWORD TCustomForm::WindowExStyle() const {
    DWORD x = 0;
    if (FBorderStyle == bsDialog) x |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) x |= WS_EX_TOOLWINDOW;
    // The help button shows only where there is no minimise or maximise box.
    if ((FBorderIcons & biHelp) && (FBorderIcons & biSystemMenu) &&
        (FBorderStyle == bsDialog || !(FBorderIcons & (biMinimize | biMaximize))))
        x |= WS_EX_CONTEXTHELP;
    if (FFormStyle == fsStayOnTop) x |= WS_EX_TOPMOST;
    return x;
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    if (Parent()) return;  // a form placed inside another control is a plain child window
    p.Style = WindowStyle();
    // Made again while showing (RecreateWnd): it stays on screen.
    if (Visible() && FShownOnce) p.Style |= WS_VISIBLE;
    p.ExStyle = WindowExStyle();
    p.WndParent = nullptr;
    if (FModal) {
        if (TCustomForm* a = Screen->ActiveForm(); a && a != this) p.WndParent = a->HandleIfAllocated();
    }
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) p.X = p.Y = int(CW_USEDEFAULT);
    if (FFormStyle == fsMDIChild) {
        TCustomForm* frame = MDIFrame();
        if (!frame) throw std::runtime_error("an MDI child form needs a main form of style fsMDIForm");
        frame->HandleNeeded();
        p.WndParent = frame->ClientHandle();
        p.Style = (p.Style & ~DWORD(WS_POPUP)) | WS_CHILD | WS_CLIPSIBLINGS;
        p.ExStyle |= WS_EX_MDICHILD;
        p.Style |= WS_VISIBLE;  // an MDI child shows as it is made
    }
}

TCustomForm* TCustomForm::MDIFrame() const {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main != this && main->FormStyle() == fsMDIForm) return main;
    for (TCustomForm* f : Screen->FormList())
        if (f != this && f->FormStyle() == fsMDIForm) return f;
    return nullptr;
}

std::vector<TCustomForm*> TCustomForm::MDIChildren() const {
    std::vector<TCustomForm*> v;
    if (!FClientHandle) return v;
    for (TCustomForm* f : Screen->FormList())
        if (f->HandleIfAllocated() && GetParent(f->HandleIfAllocated()) == FClientHandle) v.push_back(f);
    return v;
}

void TCustomForm::DefaultHandler(TMessage& msg) {
    bool toolkit = msg.Msg >= CM_BASE && msg.Msg < CN_BASE + 0x400;
    if (FHandle && !toolkit) {
        // MDI windows need their own default procedures (menus, maximise, activation).
        if (FClientHandle) {
            msg.Result = DefFrameProcW(FHandle, FClientHandle, msg.Msg, msg.WParam, msg.LParam);
            return;
        }
        if (FFormStyle == fsMDIChild && (GetWindowLongPtrW(FHandle, GWL_EXSTYLE) & WS_EX_MDICHILD)) {
            msg.Result = DefMDIChildProcW(FHandle, msg.Msg, msg.WParam, msg.LParam);
            return;
        }
    }
    TWinControl::DefaultHandler(msg);
}

void TCustomForm::AlignControls(RECT& rect) {
    TWinControl::AlignControls(rect);
    // The MDI client takes what the aligned controls left.
    if (FClientHandle)
        MoveWindow(FClientHandle, rect.left, rect.top, std::max(0L, rect.right - rect.left),
                   std::max(0L, rect.bottom - rect.top), TRUE);
}

void TCustomForm::CreateHandle() {
    const bool scale = FScaled && !Parent();
    // A form built in code was given design figures up to now.
    if (scale) ScaleToDpi(NewWindowDpi());
    TWinControl::CreateHandle();
    // Made on a monitor of another resolution than the system's.
    if (scale) {
        if (int dpi = WindowDpi(FHandle); dpi != FPixelsPerInch) ScaleToDpi(dpi);
    }
    if (FFormStyle == fsMDIForm && !Parent() && !FClientHandle) {
        CLIENTCREATESTRUCT ccs{nullptr, 0xFF00};
        FClientHandle = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                        WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0,
                                        FHandle, nullptr, GetModuleHandleW(nullptr), &ccs);
        if (!FClientHandle) throw std::runtime_error("cannot create the MDI client window of " + Name());
        Realign();
    }
    UpdateMenu();
    HICON icon = FIcon ? FIcon : (Application ? Application->Icon() : nullptr);
    if (icon) {
        SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

void TCustomForm::WindowGone() {
    FActive = false;
    FClientHandle = nullptr;  // went with its parent
    TWinControl::WindowGone();
}

RECT TCustomForm::ClientRect() const {
    if (FHandle || Parent()) return TWinControl::ClientRect();
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WindowStyle(), FMenu != nullptr, WindowExStyle());
    return RECT{0, 0, std::max(0L, LONG(Width()) - (frame.right - frame.left)),
                std::max(0L, LONG(Height()) - (frame.bottom - frame.top))};
}

void TCustomForm::SetClientSize(int width, int height) {
    if (IsLoading()) {
        // The border style may still change while reading.
        if (width != ClientWidth()) FPendingClientWidth = width;
        if (height != ClientHeight()) FPendingClientHeight = height;
    }
    TWinControl::SetClientSize(width, height);
}

bool TCustomForm::Showing() const { return FHandle && IsWindowVisible(FHandle); }

void TCustomForm::SetBorderStyle(TFormBorderStyle s) {
    if (s == FBorderStyle) return;
    int cw = ClientWidth(), ch = ClientHeight();
    FBorderStyle = s;
    SetWindowStyleBits(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                       WindowStyle());
    SetWindowStyleBits(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP, WindowExStyle(),
                       true);
    // Keep the client area: that is what the layout was made for.
    if (!IsLoading()) SetClientSize(cw, ch);
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == FBorderIcons) return;
    FBorderIcons = icons;
    SetWindowStyleBits(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WindowStyle());
    SetWindowStyleBits(WS_EX_CONTEXTHELP, WindowExStyle(), true);
}

void TCustomForm::SetFormStyle(TFormStyle s) {
    if (s == FFormStyle) return;
    bool mdiChange = s == fsMDIChild || s == fsMDIForm || FFormStyle == fsMDIChild || FFormStyle == fsMDIForm;
    FFormStyle = s;
    if (mdiChange) {
        // Frame and child windows are made differently: make the window again.
        if (FHandle) RecreateWnd();
        return;
    }
    if (FHandle)
        SetWindowPos(FHandle, s == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
    if (FHandle) {
        if (IsIconic(FHandle)) return wsMinimized;
        if (IsZoomed(FHandle)) return wsMaximized;
        if (IsWindowVisible(FHandle)) return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState s) {
    FWindowState = s;
    if (FHandle && IsWindowVisible(FHandle)) ApplyWindowState();
}

void TCustomForm::ApplyWindowState() {
    ShowWindow(FHandle, FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                        : FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                                                      : SW_SHOWNORMAL);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    if (menu == FMenu) return;
    if (FMenu) {
        RemoveFreeNotification(FMenu);
        if (FMenu->WindowHandle() == FHandle && FHandle) FMenu->Detach();
    }
    int cw = ClientWidth(), ch = ClientHeight();
    FMenu = menu;
    if (menu) FreeNotification(menu);
    UpdateMenu();
    if (!IsLoading()) SetClientSize(cw, ch);
}

void TCustomForm::UpdateMenu() {
    if (!FHandle || Parent()) return;
    HMENU before = ::GetMenu(FHandle);
    if (FMenu)
        FMenu->AttachTo(FHandle);
    else
        ::SetMenu(FHandle, nullptr);
    if (::GetMenu(FHandle) != before) Perform(CM_MENUCHANGED);
}

void TCustomForm::SetIcon(HICON icon) {
    FIcon = icon;
    if (FHandle) {
        SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
}

void TCustomForm::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op != TOperation::opRemove) return;
    if (c == FMenu) FMenu = nullptr;  // the menu detaches itself as it goes
    if (c == FActiveControl) FActiveControl = nullptr;
}

// ---- showing ----

void TCustomForm::ApplyPosition() {
    FPositioned = true;
    if (FFormStyle == fsMDIChild) return;  // the MDI client places its children
    RECT area = Screen->DesktopRect();
    const TCustomForm* over = nullptr;
    switch (FPosition) {
        case poScreenCenter:
        case poDesktopCenter:
            break;
        case poMainFormCenter:
            if (Application && Application->MainForm() != this) over = Application->MainForm();
            break;
        case poOwnerFormCenter:
            over = dynamic_cast<TCustomForm*>(Owner());
            break;
        default:
            return;
    }
    if (over && over->HandleIfAllocated()) GetWindowRect(over->HandleIfAllocated(), &area);
    int x = area.left + (area.right - area.left - Width()) / 2;
    int y = area.top + (area.bottom - area.top - Height()) / 2;
    SetBounds(x, y, Width(), Height());
}

void TCustomForm::VisibleChanged() {
    TControl::VisibleChanged();
    if (IsLoading() || Parent()) {
        if (Parent()) TWinControl::VisibleChanged();
        return;
    }
    if (Visible()) {
        HandleNeeded();
        if (!FPositioned) ApplyPosition();
        DoShow();
        if (!Visible()) return;  // OnShow hid it again
        ApplyWindowState();
        FShownOnce = true;
        if (FFormStyle == fsStayOnTop)
            SetWindowPos(FHandle, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else if (FHandle) {
        ShowWindow(FHandle, SW_HIDE);
        if (OnHide) OnHide(this);
    }
}

void TCustomForm::Show() {
    SetVisible(true);
    if (FHandle) SetForegroundWindow(FHandle);
}

void TCustomForm::Hide() { SetVisible(false); }

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::Close() {
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = FFormStyle == fsMDIChild ? caMinimize : caHide;
    DoClose(action);
    if (action == caNone) return;
    bool isMain = Application && Application->MainForm() == this;
    if (isMain) Application->Terminate();
    switch (action) {
        case caHide: Hide(); break;
        case caMinimize: SetWindowState(wsMinimized); break;
        case caFree: Release(); break;
        default: break;
    }
}

void TCustomForm::Release() {
    if (FReleased) return;
    FReleased = true;
    // Freed from the message loop, never from inside one of our own handlers.
    if (PostMessageW(Handle(), CM_RELEASE, 0, 0)) return;
    FReleased = false;
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || FModal) throw std::runtime_error("cannot make a visible window modal");
    FModal = true;
    FModalResult = mrNone;
    // Every other form waits for this one.
    std::vector<HWND> disabled;
    for (TCustomForm* f : Screen->FormList())
        if (f != this && f->HandleIfAllocated() && IsWindowEnabled(f->HandleIfAllocated())) {
            EnableWindow(f->HandleIfAllocated(), FALSE);
            disabled.push_back(f->HandleIfAllocated());
        }
    auto restore = [&] {
        for (HWND h : disabled)
            if (IsWindow(h)) EnableWindow(h, TRUE);
    };
    try {
        Show();
        MSG m;
        bool quit = false;
        while (!quit) {
            while (FModalResult == mrNone) {
                BOOL r = GetMessageW(&m, nullptr, 0, 0);
                if (r == 0 || r == -1) {
                    PostQuitMessage(int(m.wParam));  // the outer loop must see it too
                    FModalResult = mrCancel;
                    quit = true;
                    break;
                }
                if (!Application || !Application->PreprocessMessage(m)) {
                    TranslateMessage(&m);
                    DispatchMessageW(&m);
                }
            }
            if (quit) break;
            TCloseAction action = caHide;
            if (!CloseQuery()) {
                FModalResult = mrNone;
                continue;
            }
            DoClose(action);
            if (action == caNone) {
                FModalResult = mrNone;
                continue;
            }
            break;
        }
    } catch (...) {
        restore();
        FModal = false;
        throw;
    }
    restore();
    FModal = false;
    Hide();
    return FModalResult;
}

std::vector<TCustomForm*> TCustomForm::OwnedForms() const {
    std::vector<TCustomForm*> v;
    for (TComponent* c : Components())
        if (auto* f = dynamic_cast<TCustomForm*>(c)) v.push_back(f);
    return v;
}

// ---- focus ----

void TCustomForm::FocusControlChanged(TWinControl* c) {
    if (c == FActiveControl) return;
    TWinControl* old = FActiveControl;
    FActiveControl = c;
    if (c && c->Owner() != this) FreeNotification(c);
    if (old) {
        old->Perform(CM_EXIT);
        if (old->OnExit) old->OnExit(old);
    }
    if (c) {
        c->Perform(CM_ENTER);
        if (c->OnEnter) c->OnEnter(c);
    }
    BroadcastFocusChanged(this, c);
}

void TCustomForm::SetActiveControl(TWinControl* c) {
    if (c && (c == this || !ContainsControl(c))) return;
    if (c && FHandle && FActive && c->CanFocus()) {
        c->SetFocus();
        return;
    }
    FActiveControl = c;
    if (c && c->Owner() != this) FreeNotification(c);
}

void TCustomForm::SelectNext(TWinControl* current, bool forward) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    std::vector<TWinControl*> stops;
    for (TWinControl* w : list)
        if (w->TabStop() && w->CanFocus()) stops.push_back(w);
    if (stops.empty()) return;
    auto it = std::find(stops.begin(), stops.end(), current);
    size_t i;
    if (it == stops.end())
        i = forward ? 0 : stops.size() - 1;
    else {
        size_t at = size_t(it - stops.begin());
        i = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    stops[i]->SetFocus();
}

// ---- messages ----

void TCustomForm::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_CLOSE:
            Close();
            msg.Result = 0;
            return;
        case WM_SHOWWINDOW:
            // ShowWindow from outside (lParam 0): Visible follows the window.
            if (msg.LParam == 0 && !Parent()) {
                TWinControl::WndProc(msg);
                SyncVisible(msg.WParam != 0);
                return;
            }
            break;
        case WM_SIZE:
            if (FClientHandle) {
                // The default frame procedure stretches the MDI client over
                // the whole client area; the aligned controls come first.
                TWinControl::WndProc(msg);
                Realign();
                return;
            }
            break;
        case WM_DESTROY:
            // The menu's handles belong to its items, not to the window.
            if (FMenu && FMenu->WindowHandle() == FHandle) FMenu->Detach();
            break;
        case WM_DPICHANGED:
            // The window moved to a monitor of another resolution (only
            // programs that declare themselves aware are told).
            if (FScaled && !Parent() && msg.LParam) {
                ScaleToDpi(HIWORD(msg.WParam), reinterpret_cast<const RECT*>(msg.LParam));
                msg.Result = 0;
                return;
            }
            break;
        case CM_RELEASE:
            delete this;  // posted by Release(); nothing of this object is touched after
            return;
        case WM_ACTIVATE: {
            bool active = LOWORD(msg.WParam) != WA_INACTIVE;
            TWinControl::WndProc(msg);
            if (FDestroyCalled) {  // going away: no events, and never the active form again
                FActive = false;
                return;
            }
            FActive = active;
            if (active) {
                Screen->SetActiveForm(this);
                if (FActiveControl && FActiveControl->HandleAllocated() && FActiveControl->CanFocus())
                    ::SetFocus(FActiveControl->HandleIfAllocated());
                if (OnActivate) OnActivate(this);
            } else if (OnDeactivate) {
                OnDeactivate(this);
            }
            return;
        }
        case CM_DIALOGKEY:
            if (msg.WParam == VK_TAB && !(KeyboardShiftState() & (ssCtrl | ssAlt))) {
                SelectNext(FActiveControl, !(KeyboardShiftState() & ssShift));
                msg.Result = 1;
                return;
            }
            if ((msg.WParam == VK_RETURN || msg.WParam == VK_ESCAPE) && !(KeyboardShiftState() & (ssCtrl | ssAlt))) {
                // A focused button has already taken Enter itself; what reaches
                // the form goes to the default or the cancel button.
                if (TButton* b = FindDialogButton(this, msg.WParam == VK_RETURN)) {
                    b->Click();
                    msg.Result = 1;
                    return;
                }
            }
            break;
        default:
            break;
    }
    TWinControl::WndProc(msg);
}

}  // namespace qs
