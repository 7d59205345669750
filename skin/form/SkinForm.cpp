#include "SkinForm.h"
#include "Dpi.h"

#include <algorithm>
#include <map>
#include <utility>

#include "ControlSide.h"
#include "Forms.h"
#include "SkinData.h"
#include "SkinManage.h"
#include "SkinRecords.h"
#include "WindowTable.h"

namespace qs {

namespace {

// Window -> its form skin.
TWindowTable& formTable() {
    static TWindowTable table;
    return table;
}
// SetWindowPos flag sets used throughout.
constexpr UINT kFrameChangedOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
constexpr UINT kResizeFrameChanged = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

std::string classNameOf(HWND wnd) {
    char buf[256] = {};
    ::GetClassNameA(wnd, buf, int(sizeof buf));
    return buf;
}

int rectW(const RECT& r) { return r.right - r.left; }
int rectH(const RECT& r) { return r.bottom - r.top; }

// How far activation widened a dialog for its caption and moved its children
// right, so unskinning can give the dialog its own layout back.
struct CaptionWidening {
    int width = 0;
    int shift = 0;
};
std::map<const TWinSkinForm*, CaptionWidening>& captionWidenings() {
    static std::map<const TWinSkinForm*, CaptionWidening> m;
    return m;
}

void moveChildren(HWND parent, int dx) {
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        RECT cr{};
        ::GetWindowRect(c, &cr);
        POINT p{cr.left, cr.top};
        ::ScreenToClient(parent, &p);
        ::SetWindowPos(c, nullptr, p.x + dx, p.y, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
    }
}

}  // namespace

const TClassInfo& TWinSkinForm::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TWinSkinForm>("TWinSkinForm", &TComponent::StaticClassInfo()).build();
    return info;
}

TWinSkinForm::TWinSkinForm(TComponent* owner) : TComponent(owner) {
    FDoubleClickTime = ::GetDoubleClickTime();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) FCaptionFont.AssignLogFont(ncm.lfCaptionFont);
}

TWinSkinForm::~TWinSkinForm() {
    if (FSubclassed && FHandle && ::IsWindow(FHandle)) Detach();
    Unsubclass();
    UnsubclassClient();
    ReleaseControlSkins();
    FreeSkinMenu();
    FSysMenu.reset();
    FTimer.reset();
    FButtons.clear();
    FHotObject = nullptr;
    if (TSkinManage* m = SkinManager()) m->ForgetFormSkin(this);
    captionWidenings().erase(this);
}

void TWinSkinForm::ReleaseControlSkins() {
    ControlSide().RestoreContentColours(*this);
    if (FControls.empty()) return;
    // Only control skins fill the list, and the first of them installs the release.
    if (ControlSkinRelease) ControlSkinRelease(*this);
    FControls.clear();
}

void TWinSkinForm::ReleaseCaptionButtons() {
    FHotObject = nullptr;
    FButtons.clear();
    FButtonCount = 0;
}

TWinSkinForm* TWinSkinForm::FromWindow(HWND wnd) {
    return static_cast<TWinSkinForm*>(formTable().Get(wnd));
}

// ---- attaching ----------------------------------------------------------------

void TWinSkinForm::AttachForm(TSkinData* skinData, TCustomForm* form) {
    FControl = form;
    if (form) FreeNotification(form);
    if (form && !FHandle) FHandle = form->Handle();
    if (skinData && skinData->OnBeforeSkinForm) skinData->OnBeforeSkinForm(form, FHandle, FName);
    if (skinData && inSet(skinData->SkinControls(), xcMenuItem) && form)
        SetPropValue(form, "AutoScroll", TPropValue(false));
    AttachWindow(skinData);
    if (!form || !skinData) return;
    if (FSkinFrame) {
        FOldWindowProc = form->WindowProc();
        form->SetWindowProc([this](TMessage& m) { FormWindowProc(m); });
        FHookedForm = true;
    }
    FOldColor = form->Color();
    form->SetColor(skinData->ButtonFace);
    // Owner-drawn items of the form's menus (main menus with xcMenuItem,
    // pop-up menus with xcPopupMenu).
    HookMenus(true);
}

void TWinSkinForm::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == FControl) {
        FControl = nullptr;
        FHookedForm = false;
    }
}

void TWinSkinForm::AttachWindow(TSkinData* skinData) {
    if (FSubclassed || !FHandle || !skinData) return;
    TSkinManage* manager = SkinManager();
    if (manager) manager->FState = 1;
    FSkinData = skinData;
    FDpi = WindowDpi(FHandle);
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(250);
    FTimer->SetOnTimer([this](TObject*) { HoverTimer(); });
    FSkinFrame = inSet(skinData->SkinControls(), xcMainMenu);

    FStyle = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
    FAttachStyle = FStyle;
    const LONG_PTR exStyle = ::GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
    FRightToLeft = (exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    FIsChild = (FStyle & WS_CHILD) != 0;
    FClassName = classNameOf(FHandle);
    FOwnerWnd = ::GetWindow(FHandle, GW_OWNER);

    FStyleFlags = 0;
    if ((FStyle & WS_SYSMENU) || FSystemMenu) FStyleFlags |= sfSystemMenu;
    if (FStyle & WS_MINIMIZEBOX) FStyleFlags |= sfMinimizeBox;
    if (FStyle & WS_MAXIMIZEBOX) FStyleFlags |= sfMaximizeBox;

    ReadWindowState();
    FSizeable = (FStyle & WS_THICKFRAME) != 0;

    for (HWND c = ::GetWindow(FHandle, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (classNameOf(c) == "MDIClient") {
            FFormKind = 1;
            FClientWnd = c;
            if (manager) {
                manager->FMDIClient = c;
                manager->FMDIFrameForm = FControl;
            }
            break;
        }
    }
    if (exStyle & WS_EX_MDICHILD) {
        FFormKind = 2;
        if (inSet(skinData->Options(), xoMDIChildBorder)) FSkinFrame = false;
    }

    FBorderKind = bkSingle;
    if ((FStyle & WS_CAPTION) != WS_CAPTION)
        FBorderKind = bkNoCaption;
    else if (FStyle & WS_THICKFRAME)
        FBorderKind = bkSizeable;
    else if (FStyle & DS_MODALFRAME)
        FBorderKind = bkDialog;
    if (exStyle & WS_EX_DLGMODALFRAME) FBorderKind = bkDialog;

    // Windows 2000 draws the caption of some windows itself whatever the
    // style says; there the caption bit goes while the window is skinned.
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&vi);
#pragma GCC diagnostic pop
    if (vi.dwMajorVersion >= 5 && vi.dwMinorVersion == 0) {
        const bool nt = vi.dwPlatformId == VER_PLATFORM_WIN32_NT;
        if (((exStyle & WS_EX_APPWINDOW) && nt) || (!FOwnerWnd && FFormKind != 2)) FStyleFlags |= sfCaptionRemoved;
    }

    FUnicode = ::IsWindowUnicode(FHandle) != FALSE;
    if (FClassName == "#32770" || FClassName == "TMessageForm") {
        FBorderKind = bkDialog;
        FIsDialog = true;
    }
    if (::GetVersion() & 0x80000000u) skinData->SetSkinControls(skinData->SkinControls() & ~setBit(xcBitBtn));
    if (FFormKind == 1) {
        FMenuUpdate = skinData->MenuUpdate();
        SubclassClient();
    }

    Subclass();

    if (FSkinFrame) {
        FMenuHandle = ::GetMenu(FHandle);
        // Without a skinned menu bar a window menu keeps its band reserved
        // and painted plain.
        if (FMenuHandle && FFormKind != 2) {
            FMenuHeight = ::GetSystemMetrics(SM_CYMENU);
            CreateSkinMenu();
        }
        if (FWindowState != wsMinimizedKind) SetCaptionStyle(false);
        UpdateFrameMetrics();
        if (!FIsChild) FDesktopFrame = TakeDesktopFrame(FHandle);
    } else {
        FSkinState = ssSkinned;
    }
    if (FFormKind == 2) {
        const int need = ::GetSystemMetrics(SM_CYCAPTION) + ::GetSystemMetrics(SM_CXFRAME);
        if (need > FTitleHeight) FMenuHeight = need - FTitleHeight;
        if (FWindowState == wsMaximizedKind && manager && !manager->FMDIMaximized) manager->SetMDIMaximized(true);
    }
}

void TWinSkinForm::Subclass() {
    formTable().Set(FHandle, this);
    if (FUnicode)
        FOldWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWindowProc)));
    else
        FOldWndProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWindowProc)));
    FSubclassed = true;
}

void TWinSkinForm::Unsubclass() {
    if (!FSubclassed) return;
    if (FHandle && ::IsWindow(FHandle)) {
        if (FUnicode)
            ::SetWindowLongPtrW(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProc));
        else
            ::SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProc));
    }
    if (FromWindow(FHandle) == this) formTable().Remove(FHandle);
    FSubclassed = false;
}

void TWinSkinForm::ReadWindowState() {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (!::GetWindowPlacement(FHandle, &wp)) return;
    if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE)
        FWindowState = wsMinimizedKind;
    else if (wp.showCmd == SW_SHOWMAXIMIZED)
        FWindowState = wsMaximizedKind;
    else
        FWindowState = wsNormalKind;
    // A hidden window reports its last placement; trust the style bits too.
    if (::IsIconic(FHandle)) FWindowState = wsMinimizedKind;
    else if (::IsZoomed(FHandle)) FWindowState = wsMaximizedKind;
}

void TWinSkinForm::UpdateFrameMetrics() {
    if (!FSkinData || !FSkinData->SkinLoaded()) return;
    InvalidateFrame();
    BorderStripSizes s;
    auto take = [](TDataSkinBorder* b, int& size, int& frames, bool vertical) {
        if (!b) return;
        size = vertical ? b->Bitmap.Height() : b->Bitmap.Width();
        frames = b->Frame;
    };
    TSkinData* art = Art();
    take(art->BorderLeft(), s.leftWidth, s.leftFrames, false);
    take(art->BorderRight(), s.rightWidth, s.rightFrames, false);
    take(art->BorderTop(), s.topHeight, s.topFrames, true);
    take(art->BorderBottom(), s.bottomHeight, s.bottomFrames, true);
    const FrameMetrics m = ComputeFrameMetrics(s, FBorderKind);
    FLeftWidth = m.left;
    FTitleHeight = m.title;
    FRightWidth = m.right;
    FBottomHeight = m.bottom;
    if (FBorderKind == bkNoCaption) FMenuHeight = 0;

    FHotObject = nullptr;
    FButtons.clear();
    const auto& records = art->CaptionButtons();
    FButtonCount = int(records.size());
    for (const auto& rec : records) {
        auto b = std::make_unique<TWinSysButton>();
        b->FData = rec.get();
        b->FForm = this;
        b->FEnabled = true;
        if (b->IsIconButton()) {
            LoadIconBitmap();
            if (rec->Bitmap.Empty()) rec->Bitmap.Assign(FIconBitmap);
            if (FSkinData->AppIcon().Empty()) FSkinData->AppIcon().Assign(FIconBitmap);
            rec->Frame = 1;
        }
        FButtons.push_back(std::move(b));
    }
}

void TWinSkinForm::Activate() {
    FSystemMenu = ::GetSystemMenu(FHandle, FALSE);
    LoadIconBitmap();
    ::GetClientRect(FHandle, &FClientRect);
    RECT wr{};
    ::GetWindowRect(FHandle, &wr);
    FNonClientSize = RECT{0, 0, rectW(wr) - rectW(FClientRect), rectH(wr) - rectH(FClientRect)};
    FMenuInSystemFrame = ::GetMenu(FHandle) && !FIsChild;

    if (FControl)
        ControlSide().SkinAllControls(*this, FControl);
    else
        ControlSide().SkinChildWindows(*this, FHandle);
    ControlSide().ApplyContentColours(*this, false);

    if (FSkinState == ssCreated && FSkinFrame) {
        ReadWindowState();
        if (FFormKind == 2) {
            if (FWindowState == wsMaximizedKind) {
                if (FClientWnd) ::PostMessageW(FClientWnd, WM_SKIN_REDRAW_MDI, WPARAM(FHandle), 0);
            } else if (FWindowState == wsMinimizedKind) {
                SetCaptionStyle(true);
            } else {
                FSkinState = ssResizing;
                KeepClientSize(false);
                FSkinState = ssSkinned;
                UpdateRegion();
            }
        } else if (!FIsChild && FBorderKind != bkNoCaption && FWindowState != wsMinimizedKind) {
            FSkinState = ssResizing;
            KeepClientSize(false);
            FSkinState = ssSkinned;
            // The frame changed width under a client already on screen: the
            // bits the system moved with it still hold the system frame's edge.
            ::RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            if (FWindowState == wsMaximizedKind)
                ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
            else
                UpdateRegion();
        }
    }
    ::SendMessageW(FHandle, WM_SKIN_NOTIFY, 0, kSkinPaintTag);
    if (FSkinData && FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FControl, FHandle, FName);
    FSkinState = ssSkinned;
    if (FTimer) FTimer->SetEnabled(true);
    // A window without a caption keeps the system frame: nothing to repaint.
    if (FSkinFrame && FBorderKind != bkNoCaption) PaintFrame();
}

void TWinSkinForm::KeepClientSize(bool useCurrentClient) {
    if (FWindowState == wsMaximizedKind) {
        ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
        return;
    }
    RECT wr{};
    ::GetWindowRect(FHandle, &wr);
    if (FIsDialog || FSkinState == ssReapplying) ::GetClientRect(FHandle, &FClientRect);
    int width = rectW(FClientRect) + FLeftWidth + FRightWidth;
    int clientHeight = rectH(FClientRect);
    if (useCurrentClient) {
        ::GetClientRect(FHandle, &FClientRect);
        width = rectW(FClientRect) + FLeftWidth + FRightWidth;
        clientHeight = rectH(FClientRect);
    } else if (FControl) {
        width = FControl->ClientWidth() + FLeftWidth + FRightWidth;
        // The system's client area already leaves out the menu row it drew.
        clientHeight = FFormKind == 2 || FMenuInSystemFrame ? FControl->ClientHeight()
                                                             : FControl->ClientHeight() - FMenuHeight;
    }
    const int height = clientHeight + FTitleHeight + FBottomHeight + FMenuHeight;

    if (FIsDialog && !useCurrentClient) {
        FCaptionText = WindowText();
        FCaptionWidth = MeasureCaption(FCaptionText);
        const TDataSkinTitle* t = FSkinData ? Art()->Title() : nullptr;
        const int needed =
            CaptionNeededWidth(t ? t->TextShift() : 0, FCaptionWidth, t ? t->TextRightClip() : 0);
        if (needed > width) {
            const int shift = (needed - width) / 2;
            moveChildren(FHandle, shift);
            CaptionWidening& w = captionWidenings()[this];
            w.width += needed - width;
            w.shift += shift;
            width = needed;
        }
    }
    ::SetWindowPos(FHandle, nullptr, 0, 0, width, height, kResizeFrameChanged);
    // A window the system kept from growing (a frame drawn for a high
    // density around a client that fills the screen) changed only its client
    // area; a toolkit form lays out on changes of its window's size, so it is
    // told here.
    if (FControl) {
        RECT now{};
        ::GetWindowRect(FHandle, &now);
        if (rectW(now) != width || rectH(now) != height) FControl->Realign();
    }
}

bool TWinSkinForm::FrameFitsMetrics() const {
    if (!FHandle || FWindowState != wsNormalKind || FBorderKind == bkNoCaption) return false;
    RECT wr{}, cr{};
    if (!::GetWindowRect(FHandle, &wr) || !::GetClientRect(FHandle, &cr)) return false;
    POINT o{0, 0};
    if (!::ClientToScreen(FHandle, &o)) return false;
    return o.x - wr.left == FLeftWidth && o.y - wr.top == FTitleHeight + FMenuHeight &&
           wr.right - (o.x + cr.right) == FRightWidth && wr.bottom - (o.y + cr.bottom) == FBottomHeight;
}

void TWinSkinForm::SetCaptionStyle(bool on) {
    if (!(FStyleFlags & sfCaptionRemoved) || !FHandle) return;
    LONG_PTR s = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
    // Back on, the caption gets the bits it had when the skin came.
    s = on ? (s | (FAttachStyle & WS_CAPTION)) : (s & ~LONG_PTR(WS_CAPTION));
    ::SetWindowLongPtrW(FHandle, GWL_STYLE, s);
    FStyle = s;
}

void TWinSkinForm::SetSysMenuStyle(bool remove) {
    if ((FStyleFlags & sfCaptionRemoved) || !FHandle) return;
    LONG_PTR s = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
    LONG_PTR want = s;
    if (remove)
        want &= ~LONG_PTR(WS_SYSMENU);
    else if (FAttachStyle & WS_SYSMENU)  // only what the window had before
        want |= WS_SYSMENU;
    if (want != s) ::SetWindowLongPtrW(FHandle, GWL_STYLE, want);
    FStyle = want;
}

void TWinSkinForm::SetStyleQuietly(LONG_PTR style) {
    ++FStyleHiding;
    ::SetWindowLongPtrW(FHandle, GWL_STYLE, style);
    --FStyleHiding;
}

LONG_PTR TWinSkinForm::HideStyle(LONG_PTR bits) {
    if (!FHandle) return 0;
    const LONG_PTR s = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
    const LONG_PTR hide = s & bits;
    if (hide) SetStyleQuietly(s & ~hide);
    return hide;
}

LRESULT TWinSkinForm::CallDefaultHiding(LONG_PTR bits, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND wnd = FHandle;
    const LONG_PTR hidden = HideStyle(bits);
    const TLifeToken::Watch life = FLife.Watching();
    const LRESULT r = CallDefault(msg, wParam, lParam);
    if (hidden && ::IsWindow(wnd)) {
        // Unskinned meanwhile, the window still gets its bits back.
        const LONG_PTR now = ::GetWindowLongPtrW(wnd, GWL_STYLE) | hidden;
        if (life.Alive())
            SetStyleQuietly(now);
        else
            ::SetWindowLongPtrW(wnd, GWL_STYLE, now);
    }
    return r;
}

TSkinData* TWinSkinForm::Art() const { return FSkinData ? FSkinData->ForDpi(FDpi) : nullptr; }

bool TWinSkinForm::UpdateDpi() {
    const int dpi = WindowDpi(FHandle);
    if (dpi == FDpi) return false;
    FDpi = dpi;
    return true;
}

void TWinSkinForm::SkinChanged() {
    const bool dpiChanged = UpdateDpi();
    // Measuring again would rebuild the caption buttons the manager has just built.
    const bool metricsFresh = std::exchange(FMetricsFresh, false) && !dpiChanged;
    // Each step below (every control's new look, the frame's new size, the
    // height nudge, the region) would repaint the form and its children on
    // its own; painting is held until the one repaint at the end.
    struct HoldPainting {
        HWND wnd;
        explicit HoldPainting(HWND w)
            : wnd(w && (::GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) && !::IsIconic(w) ? w : nullptr) {
            if (wnd) ::SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
        }
        ~HoldPainting() {
            if (wnd && ::IsWindow(wnd)) ::SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
        }
    };
    {
        HoldPainting hold(FHandle);
        if (FControl && FSkinData) {
            FControl->SetColor(FSkinData->ButtonFace);
            // Forms the form owns (docked or embedded ones) take the new face too.
            for (TComponent* c : FControl->Components())
                if (auto* f = dynamic_cast<TCustomForm*>(c)) f->SetColor(FSkinData->ButtonFace);
        }
        // Menus the program made after the form was skinned get the painter now.
        HookMenus(true);
        // Set before the control skins change: they leave their repaint to the one below.
        FSkinState = ssReapplying;
        ControlSide().ControlSkinsChanged(*this);
        ControlSide().ContentColoursChanged(*this);
        if (FSkinFrame) {
            if (!metricsFresh) UpdateFrameMetrics();
            // Skins of one family share their frame sizes: then the client
            // keeps its place and size, so its layout stands, and resizing
            // the window (twice, for the layout) would only make the system
            // rebuild it.
            if (!FrameFitsMetrics()) {
                if (FBorderKind != bkNoCaption && !FIsChild) KeepClientSize(true);
                if (FControl) {
                    FControl->SetHeight(FControl->Height() + 1);
                    FControl->SetHeight(FControl->Height() - 1);
                }
            }
            UpdateRegion();
        }
        ::SendMessageW(FHandle, WM_SKIN_NOTIFY, 0, kSkinPaintTag);
        if (FSkinData && FSkinData->OnAfterSkinForm) FSkinData->OnAfterSkinForm(FControl, FHandle, FName);
        FSkinState = ssSkinned;
    }
    // The client moved inside the window when the frame changed size: what
    // the system kept of it may hold old frame pixels, so all of it repaints.
    ::RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
}

void TWinSkinForm::Detach() {
    if (!FSubclassed) return;
    const bool destroying = FSkinState == ssDestroying || FSkinState == ssDestroyed || !::IsWindow(FHandle);
    FSysMenu.reset();
    if (FTimer) FTimer->SetEnabled(false);
    if (FHookedForm && FControl) {
        FControl->SetWindowProc(FOldWindowProc);
        FHookedForm = false;
    }
    Unsubclass();
    ReleaseControlSkins();
    HookMenus(false);
    if (FControl && !destroying) FControl->SetColor(FOldColor);
    if (!FSkinFrame || destroying) {
        UnsubclassClient();
        FreeSkinMenu();
        // The children were drawn with the skin's face: let them repaint.
        if (!destroying) ::RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        FButtons.clear();
        FHotObject = nullptr;
        FreeComposedFrame();
        return;
    }
    SetSysMenuStyle(false);
    GiveDesktopFrameBack(FHandle, FDesktopFrame);
    SetCaptionStyle(true);
    // The menu stayed on the window: the system frame gets a menu row only
    // where the program set or took off its menu while skinned.
    const bool menuNow = !FIsChild && ::GetMenu(FHandle);
    const int menuRow = (int(menuNow) - int(FMenuInSystemFrame)) * ::GetSystemMetrics(SM_CYMENU);
    FreeSkinMenu();
    UnsubclassClient();
    const bool resize = FSkinState != ssCreated && !(FIsChild && FFormKind != 2) && FBorderKind != bkNoCaption &&
                        FWindowState == wsNormalKind;
    CaptionWidening widened;
    if (auto it = captionWidenings().find(this); it != captionWidenings().end()) {
        widened = it->second;
        captionWidenings().erase(it);
    }
    if (resize) {
        RECT wr{};
        ::GetWindowRect(FHandle, &wr);
        // A dialog widened for its caption gets its own width and layout back.
        if (widened.shift) moveChildren(FHandle, -widened.shift);
        const int w = rectW(wr) + FNonClientSize.right - (FLeftWidth + FRightWidth) - widened.width;
        const int h = rectH(wr) + FNonClientSize.bottom + menuRow - (FTitleHeight + FBottomHeight + FMenuHeight);
        ::SetWindowPos(FHandle, nullptr, 0, 0, w, h, kResizeFrameChanged);
    } else {
        ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
    }
    FRegion = nullptr;
    FHasRegion = false;
    ::SetWindowRgn(FHandle, nullptr, TRUE);
    FButtons.clear();
    FHotObject = nullptr;
    FreeComposedFrame();
    FSkinState = ssCreated;
}

std::wstring TWinSkinForm::WindowText() const {
    if (!FHandle) return {};
    const int n = ::GetWindowTextLengthW(FHandle);
    std::wstring s(std::size_t(std::max(n, 0)) + 1, L'\0');
    const int got = ::GetWindowTextW(FHandle, s.data(), int(s.size()));
    s.resize(std::size_t(std::max(got, 0)));
    return s;
}

}  // namespace qs
