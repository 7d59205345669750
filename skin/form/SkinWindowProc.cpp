// The skinned window's message stream: what every skinned window answers, what
// only frame skinning adds, and what needs a finished activation; the caption
// buttons under the mouse, the window commands and the MDI client of an MDI
// frame.
#include <windowsx.h>

#include <algorithm>

#include "Application.h"
#include "Forms.h"
#include "SkinData.h"
#include "ControlSide.h"
#include "MenuBarAccessible.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinMenu.h"
#include "SkinRecords.h"
#include "TitleBarAccess.h"
#include "WindowTable.h"

namespace qs {

// WM_NCACTIVATE's lParam that asks the default handling to change the
// caption's state without drawing it.
constexpr LPARAM kNoCaptionRepaint = -1;

// WM_DPICHANGED, which older headers lack.
constexpr UINT kDpiChangedMessage = 0x02E0;

namespace {

// MDI client window -> the frame's form skin.
TWindowTable& clientTable() {
    static TWindowTable table;
    return table;
}
constexpr UINT kFrameChangedOnly = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

bool isWindowCommand(UINT cmd) {
    switch (cmd) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE: return true;
        default: return false;
    }
}

POINT messagePoint(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// A skin data component may go while the program's procedure runs.
bool SkinDataAlive(TSkinData* sd) {
    TSkinManage* mgr = SkinManager();
    return sd && mgr && std::find(mgr->FSkinDatas.begin(), mgr->FSkinDatas.end(), sd) != mgr->FSkinDatas.end();
}

}  // namespace

void TWinSkinForm::SkinWindowProc(TMessage& m) {
    auto passOn = [&] { m.Result = CallDefault(m.Msg, m.WParam, m.LParam); };
    const bool bare = FControl == nullptr;

    // Stage 1: whatever the frame does.
    switch (m.Msg) {
        case WM_STYLECHANGING:
        case WM_STYLECHANGED:
            // Bits hidden from the system for one of its calls, and given
            // back after it: the program's style never changed.
            if (FStyleHiding > 0) {
                m.Result = 0;
                return;
            }
            break;
        case WM_NCPAINT:
            if (FSkinState == ssCreated) {
                m.Result = 0;  // nothing is painted before activation
                return;
            }
            break;
        case WM_NOTIFY:
            ControlSide().AnswerNotify(m, passOn);
            return;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            passOn();
            ControlSide().AnswerContentColour(m.Msg, m.WParam, m.LParam, m.Result);
            return;
        case WM_CTLCOLORBTN:
            passOn();
            if (bare) ::SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
            return;
        case WM_NCACTIVATE:
            if (FSkinState == ssCreated && FFormKind != 2) {
                // Between attaching and the activation message. Nothing is
                // painted yet: the program hears of the change, but the
                // system draws no caption of its own for it. The answer
                // allows the change: a refusal keeps the window looking
                // active after another one took the activation.
                if (FSkinFrame) FActive = (m.WParam & 0xFF) != 0;
                CallDefaultHiding(WS_SYSMENU, m.Msg, m.WParam, FSkinFrame ? kNoCaptionRepaint : m.LParam);
                m.Result = TRUE;
                return;
            }
            if (!FSkinFrame) return passOn();
            break;
        case WM_ERASEBKGND:
            passOn();
            if (bare && FSkinData && FSkinData->FaceBrush()) {
                RECT r{};
                ::GetClientRect(FHandle, &r);
                ::FillRect(reinterpret_cast<HDC>(m.WParam), &r, FSkinData->FaceBrush());
                m.Result = 1;
            }
            return;
        case WM_NCDESTROY: {
            FSkinState = ssDestroying;
            const WNDPROC old = FOldWndProc;
            const bool unicode = FUnicode;
            HWND wnd = FHandle;
            if (!FSkinFrame) {
                Detach();
            } else {
                FSysMenu.reset();
                if (FTimer) FTimer->SetEnabled(false);
                if (FHookedForm && FControl) {
                    FControl->SetWindowProc(FOldWindowProc);
                    FHookedForm = false;
                }
                Unsubclass();
                ReleaseControlSkins();
                FreeSkinMenu();
                UnsubclassClient();
                FButtons.clear();
                FHotObject = nullptr;
                FreeComposedFrame();
            }
            m.Result = unicode ? ::CallWindowProcW(old, wnd, m.Msg, m.WParam, m.LParam)
                               : ::CallWindowProcA(old, wnd, m.Msg, m.WParam, m.LParam);
            FSkinState = ssDestroyed;
            return;
        }
        case 0xAE:  // the system's themed caption paint: never over the skin
            m.Result = 0;
            return;
        case WM_INITMENUPOPUP:
            // An accelerator's check of its menu item sends this too, with no
            // menu window to follow that the kind could be meant for.
            if (TSkinManage* mgr = SkinManager(); mgr && (FInMenuLoop || FTrackingMenu))
                mgr->FMenuKind = reinterpret_cast<HMENU>(m.WParam) == FSystemMenu ? mkWindowMenu : mkDropDown;
            if (MenuLoopMessage(m)) return;
            return passOn();
        case WM_GETOBJECT:
            // The system's menu-bar object would report where the system lays
            // out its bar, not where the skin draws it.
            if (FSkinMenu && AnswerMenuBarObject(FHandle, m)) return;
            break;  // the title bar's object is the frame's (below)
        case WM_ENTERMENULOOP:
        case WM_EXITMENULOOP:
            FInMenuLoop = m.Msg == WM_ENTERMENULOOP;
            if (MenuLoopMessage(m)) return;
            return passOn();
        case WM_INITMENU:
        case WM_MENUSELECT:
            if (MenuLoopMessage(m)) return;
            return passOn();
        case WM_CTLCOLORSTATIC:
            passOn();
            if (ControlSide().AnswerContentColour(m.Msg, m.WParam, m.LParam, m.Result)) return;  // a read-only edit
            if (bare && FSkinData) {
                ::SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
                // Labels, message-box text and check-box captions go on the
                // skin's face: in the system's text colour they would vanish
                // on a dark one.
                ::SetTextColor(reinterpret_cast<HDC>(m.WParam), ColorToRGB(TColor(FSkinData->ButtonText)));
                m.Result = reinterpret_cast<LRESULT>(FSkinData->FaceBrush());
            }
            return;
        case WM_SKIN_CLASSIFY_LATE: {
            // A child dialog made after activation (a property page shown
            // for the first time) has its controls by now.
            HWND child = reinterpret_cast<HWND>(m.WParam);
            if (FSkinState != ssCreated && ::IsWindow(child) && ::IsChild(FHandle, child)) {
                ControlSide().ClassifyWindow(*this, child);
                ControlSide().ApplyContentColours(*this, true);
            }
            m.Result = 0;
            return;
        }
        case WM_SETTINGCHANGE:
            passOn();
            if (m.WParam == SPI_SETHIGHCONTRAST)
                if (TSkinManage* mgr = SkinManager()) mgr->ScheduleContrastCheck();
            return;
        case WM_PARENTNOTIFY:
            // A window made under this one after activation (an edit made
            // anew, a pane made on demand): its content colours follow once
            // its program has set it up.
            if (LOWORD(m.WParam) == WM_CREATE && FSkinState != ssCreated && !FContentLate) {
                FContentLate = true;
                ::PostMessageW(FHandle, WM_SKIN_CONTENT_LATE, 0, 0);
            }
            return passOn();
        case WM_ACTIVATE:
            // Content made where no notice reached us is taken in at the
            // window's next activation.
            if (LOWORD(m.WParam) != WA_INACTIVE && FSkinState != ssCreated && !FContentLate) {
                FContentLate = true;
                ::PostMessageW(FHandle, WM_SKIN_CONTENT_LATE, 0, 0);
            }
            break;
        case WM_SKIN_CONTENT_LATE:
            FContentLate = false;
            if (FSkinState != ssCreated) ControlSide().ApplyContentColours(*this, true);
            m.Result = 0;
            return;
        case WM_SKIN_ACTIVATE:
            Activate();
            m.Result = 0;
            return;
        case WM_SKIN_REBUILD_SCROLLBAR:
            ControlSide().RebuildScrollbarSkin(*this, reinterpret_cast<HWND>(m.WParam));
            m.Result = 0;
            return;
        case WM_SKIN_QUERY:
            m.Result = 1;
            ::PostMessageW(FHandle, WM_SKIN_NOTIFY, 0, kSkinPaintTag);
            return;
        default: break;
    }
    if (!FSkinFrame) return passOn();

    // Stage 2: frame skinning. Plain child windows keep their own frame.
    if (FIsChild && FFormKind != 2) return passOn();
    switch (m.Msg) {
        case WM_SIZE:
            // Handled once: the previous procedure sees every WM_SIZE once.
            WMSize(m);
            return;
        case WM_ACTIVATE:
        case WM_NCACTIVATE: FActive = (m.WParam & 0xFF) != 0; break;
        case WM_GETMINMAXINFO:
            passOn();
            ReadWindowState();
            SetCaptionStyle(FWindowState == wsMinimizedKind || (FFormKind == 2 && FWindowState == wsMaximizedKind));
            return;
        case WM_WINDOWPOSCHANGED: {
            ReadWindowState();
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam);
            const bool frameChanged = pos && (pos->flags & SWP_FRAMECHANGED);
            const TLifeToken::Watch life = FLife.Watching();
            passOn();
            // DrawMenuBar and SetMenu end in a frame change: a program that
            // changed its menu (ModifyMenu, EnableMenuItem, another menu)
            // and asked for the bar to be drawn again gets the skinned bar
            // drawn from the menu as it is now.
            if (frameChanged && life.Alive() && FSkinState == ssSkinned) MenuBarChanged();
            return;
        }
        case WM_COMMAND: WMCommand(m); return;
        case WM_SYSCOMMAND: WMSysCommand(m); return;
        case WM_SKIN_MENUBAR_CLICK: WMMenuBarClick(m); return;
        case CM_MENUCHANGED: WMMenuChanged(m); return;
        case kDpiChangedMessage:
            // The window's own procedure moves it to the suggested rectangle;
            // the frame and the control skins then follow it to the new
            // density as they follow a new skin.
            passOn();
            if (FSkinState != ssCreated && UpdateDpi()) SkinChanged();
            return;
        default: break;
    }

    // Stage 3: once activated, and not for a maximised MDI child (the MDI
    // frame shows its buttons then).
    if (FSkinState == ssCreated || (FFormKind == 2 && FWindowState == wsMaximizedKind)) return passOn();
    switch (m.Msg) {
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
            if (!MenuItemMessage(m)) passOn();
            return;
        case WM_WINDOWPOSCHANGING: return passOn();
        case WM_NCCALCSIZE: WMNCCalcSize(m); return;
        case WM_NCHITTEST: WMNCHitTest(m); return;
        case WM_NCPAINT:
            if (FSkinData && FSkinData->FPaintNonClient) {
                if (FBorderKind == bkNoCaption) {
                    m.Result = CallDefaultHiding(WS_SYSMENU, m.Msg, m.WParam, m.LParam);
                    return;
                }
                PaintFrame();
            }
            m.Result = 0;
            return;
        case WM_NCACTIVATE: WMNCActivate(m); return;
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONUP:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDOWN: WMNCMouse(m); return;
        case WM_GETOBJECT:
            if (!AnswerTitleBarObject(*this, m)) passOn();
            return;
        case WM_SKIN_REPAINT_FRAME:
            PaintFrame();
            m.Result = 0;
            return;
        case WM_SETTEXT: {
            // The default handling draws the system caption with the new
            // text straight onto the frame; without the caption bit for the
            // length of the call it stores the text and draws nothing, so
            // the skinned title never flashes.
            const LONG_PTR style = ::GetWindowLongPtrW(FHandle, GWL_STYLE);
            const bool strip = FBorderKind != bkNoCaption && (style & WS_CAPTION) == WS_CAPTION;
            const TLifeToken::Watch life = FLife.Watching();
            m.Result = CallDefaultHiding(strip ? WS_CAPTION | WS_SYSMENU : WS_SYSMENU, m.Msg, m.WParam, m.LParam);
            if (life.Alive() && FBorderKind != bkNoCaption) PaintFrame();
            return;
        }
        case WM_SETICON:
        case WM_NCRBUTTONUP:
        case WM_CONTEXTMENU: m.Result = CallDefaultHiding(WS_SYSMENU, m.Msg, m.WParam, m.LParam); return;
        default: return passOn();
    }
}

// ---- hit testing and the caption buttons --------------------------------------------

POINT TWinSkinForm::WindowToFrame(POINT screen) const {
    POINT p = screen;
    ::ScreenToClient(FHandle, &p);
    if (!(FFormKind == 2 && FWindowState == wsMinimizedKind)) {
        p.x += FLeftWidth;
        p.y += FTitleHeight + FMenuHeight;
    }
    return p;
}

TWinSysButton* TWinSkinForm::FindObjectAt(POINT p) {
    for (auto& b : FButtons)
        if (b->FVisible && b->FData && b->FData->Action >= 0 && ::PtInRect(&b->FBoundsRect, p)) return b.get();
    return nullptr;
}

void TWinSkinForm::WMNCHitTest(TMessage& m) {
    m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
    // The system answers for caption buttons of its own, which the skin
    // never shows: where they would be is title, as without the window menu.
    switch (m.Result) {
        case HTSYSMENU:
        case HTMINBUTTON:
        case HTMAXBUTTON:
        case HTCLOSE:
        case HTHELP: m.Result = HTCAPTION; break;
        default: break;
    }
    // The system places its menu row by its own frame, which is not the
    // skin's: where the band is, is decided here.
    const bool systemMenuRow = m.Result == HTMENU && FSkinMenu;
    if (m.Result != HTNOWHERE && m.Result != HTCAPTION && !systemMenuRow) return;
    if (systemMenuRow) m.Result = HTNOWHERE;
    const POINT p = WindowToFrame(messagePoint(m.LParam));
    if (p.y > 3) m.Result = HTCAPTION;
    if (p.y > FTitleHeight && FMenuHeight > 0) m.Result = HTMENU;
}

void TWinSkinForm::WMNCMouse(TMessage& m) {
    const POINT screen = messagePoint(m.LParam);
    const POINT p = WindowToFrame(screen);
    TWinSysButton* button = FindObjectAt(p);
    TMenuBtn* menuButton = button ? nullptr : MenuButtonAt(p);
    TNCObject* obj = button ? static_cast<TNCObject*>(button) : menuButton;

    switch (m.Msg) {
        case WM_NCMOUSEMOVE:
            // An inactive window's buttons stay as they are, and the move
            // goes nowhere else either.
            if (!FActive) {
                m.Result = 0;
                return;
            }
            if (obj) {
                obj->MouseEnter();
                m.Result = 0;
                return;
            }
            if (FHotObject) FHotObject->MouseLeave();
            FHotObject = nullptr;
            m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
            return;

        case WM_NCLBUTTONDOWN:
            if (obj) {
                if (!FActive) ::SetForegroundWindow(FHandle);
                obj->MouseDown();
                m.Result = 0;
                // The bar may have been rebuilt while the drop-down was open.
                if (menuButton && OpenMenuButton(menuButton) && FSkinMenu && FSkinMenu->IndexOf(menuButton) >= 0)
                    FHotObject = menuButton;
                return;
            }
            // A maximised window is not dragged by its title.
            if (FWindowState == wsMaximizedKind && FActive && m.WParam == HTCAPTION) {
                m.Result = 0;
                return;
            }
            m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
            return;

        case WM_NCLBUTTONUP:
            if (obj) {
                if (button && button == FHotObject) {
                    button->MouseUp();
                    DoButtonAction(button, screen);
                }
                m.Result = 0;
                return;
            }
            m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
            return;

        case WM_NCLBUTTONDBLCLK:
            if (button && button->IsIconButton()) {
                if (FTimer) FTimer->SetEnabled(false);
                ::PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
                m.Result = 0;
                return;
            }
            if (obj) {
                m.Result = 0;
                return;
            }
            // Only the title toggles; borders keep the system's meaning.
            if (m.WParam == HTCAPTION) {
                if (FWindowState != wsNormalKind) {
                    RestoreWindow();
                    m.Result = 0;
                    return;
                }
                if (FStyleFlags & sfMaximizeBox) {
                    ToggleMaximize();
                    m.Result = 0;
                    return;
                }
            }
            m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
            return;

        case WM_NCRBUTTONDOWN:
            if (m.WParam == HTCAPTION && FFormKind != 2) {
                ShowSystemMenu(screen);
                m.Result = 0;
                return;
            }
            m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
            return;
        default: m.Result = CallDefault(m.Msg, m.WParam, m.LParam); return;
    }
}

void TWinSkinForm::HoverTimer() {
    if (FTrackingMenu || !FHotObject || !FHandle) return;
    POINT cursor{};
    if (!::GetCursorPos(&cursor)) return;
    const POINT p = WindowToFrame(cursor);
    if (!::PtInRect(&FHotObject->FBoundsRect, p)) {
        TNCObject* hot = FHotObject;
        hot->MouseLeave();
        FHotObject = nullptr;
    }
}

void TWinSkinForm::WMNCActivate(TMessage& m) {
    FActive = m.WParam != 0;
    if (FTimer) FTimer->SetEnabled(FActive);
    if (FFormKind == 1 && FClientWnd) ::SendMessageW(FClientWnd, WM_NCACTIVATE, m.WParam, 0);
    m.Result = 1;
    const TLifeToken::Watch life = FLife.Watching();
    if (FFormKind == 2) {
        CallDefault(m.Msg, m.WParam, m.LParam);
    } else {
        // The program hears of its activation change as it would unskinned
        // (tool windows keep their caption lit, pop-ups close). Its default
        // handling would paint the system's caption straight onto the frame:
        // -1 in lParam is the documented "update the state, draw nothing";
        // the window menu bit stays hidden for the call all the same.
        TSkinData* sd = FSkinData;
        const bool painting = sd && sd->FPaintNonClient;
        if (painting) sd->FPaintNonClient = false;
        const LRESULT answer = CallDefaultHiding(WS_SYSMENU, m.Msg, m.WParam, kNoCaptionRepaint);
        if (painting && (life.Alive() || SkinDataAlive(sd))) sd->FPaintNonClient = true;
        if (!life.Alive()) return;
        // A refused deactivation is the program's to give, as unskinned.
        if (!m.WParam) m.Result = answer;
    }
    if (!life.Alive()) return;
    if (!(FFormKind == 2 && FWindowState == wsMaximizedKind)) PaintFrame();
}

// ---- window commands --------------------------------------------------------------

void TWinSkinForm::DoButtonAction(TWinSysButton* button, POINT screen) {
    if (!button || !button->FData) return;
    const int action = button->FData->Action;
    auto toActiveChild = [this](UINT cmd) {
        if (FFormKind != 1 || !FClientWnd) return;
        HWND child = reinterpret_cast<HWND>(::SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, 0));
        if (child) ::SendMessageW(child, WM_SYSCOMMAND, cmd, 0);
    };
    switch (action) {
        case 0: {
            bool hasClose = (::GetVersion() & 0x80000000u) || LOBYTE(LOWORD(::GetVersion())) < 5;
            if (!hasClose) {
                HMENU sys = FSystemMenu ? FSystemMenu : ::GetSystemMenu(FHandle, FALSE);
                MENUITEMINFOW mii{};
                mii.cbSize = sizeof(mii);
                mii.fMask = MIIM_STATE;
                hasClose = sys && ::GetMenuItemInfoW(sys, SC_CLOSE, FALSE, &mii);
            }
            if (hasClose) {
                if (FTimer) FTimer->SetEnabled(false);
                ::PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            break;
        }
        case 1:
        case 22:
            if (button->FEnabled) ToggleMaximize();
            break;
        case 2:
        case 23:
            if (button->FEnabled) ToggleMinimize();
            break;
        case 3:
        case 11:
        case 12: ShowSystemMenu(POINT{screen.x + 1, screen.y + 1}); break;
        case 7:
        case 60: toActiveChild(SC_MINIMIZE); break;
        case 8:
        case 61: toActiveChild(SC_RESTORE); break;
        case 9:
        case 62: toActiveChild(SC_CLOSE); break;
        default: ::PostMessageW(FHandle, WM_SKIN_BUTTON_ACTION, WPARAM(action), 0); break;
    }
}

void TWinSkinForm::ToggleMaximize() {
    if (FWindowState == wsMaximizedKind) return RestoreWindow();
    if (FFormKind == 2)
        if (TSkinManage* mgr = SkinManager()) mgr->SetMDIMaximized(true);
    FWindowState = wsMaximizedKind;
    ::PostMessageW(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    FHotObject = nullptr;
}

void TWinSkinForm::ToggleMinimize() {
    if (FWindowState == wsMinimizedKind) return RestoreWindow();
    FWindowState = wsMinimizedKind;
    SetSysMenuStyle(false);
    ::PostMessageW(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TWinSkinForm::RestoreWindow() {
    FWindowState = wsNormalKind;
    ::PostMessageW(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TWinSkinForm::WMCommand(TMessage& m) {
    const UINT cmd = LOWORD(m.WParam);
    if (isWindowCommand(cmd)) {
        ::PostMessageW(FHandle, WM_SYSCOMMAND, cmd, 0);
        m.Result = 0;
        return;
    }
    m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
}

void TWinSkinForm::WMSysCommand(TMessage& m) {
    const UINT cmd = UINT(m.WParam) & 0xFFF0;
    // The menu stays on the window: the system would track its own bar
    // over the skinned one. The skinned bar answers the menu key and the
    // band's clicks itself.
    if (FSkinMenu && cmd == SC_MOUSEMENU && (m.WParam & 0x000F) != HTSYSMENU) {
        m.Result = 0;
        return;
    }
    if (FSkinMenu && cmd == SC_KEYMENU && (FTrackingMenu || (::GetCapture() && wchar_t(m.LParam) != L' '))) {
        m.Result = 0;
        return;
    }
    if (!FTrackingMenu && cmd == SC_KEYMENU) {
        const auto ch = wchar_t(m.LParam);
        if (ch != L' ' && ch != L'-' && !::GetCapture()) {
            TMenuBtn* b = ch == 0 ? FirstMenuButton() : FindAccelButton(ch);
            if (ch == 0 || b || FSkinMenu) {
                m.Result = 1;
                if (b) OpenMenuButton(b);
                return;
            }
        } else if (ch == L' ') {
            // The skinned window menu replaces the system's: showing both
            // would put a second menu up after the first closes.
            POINT origin{0, 0};
            ::ClientToScreen(FHandle, &origin);
            ShowSystemMenu(origin);
            m.Result = 0;
            return;
        }
    }
    TSkinManage* mgr = SkinManager();
    switch (cmd) {
        case SC_MINIMIZE:
            FWindowState = wsMinimizedKind;
            if (FFormKind == 2) SetCaptionStyle(true);
            break;
        case SC_MAXIMIZE: FWindowState = wsMaximizedKind; break;
        case SC_RESTORE:
            FWindowState = wsNormalKind;
            if (FFormKind == 2) {
                SetCaptionStyle(false);
                if (mgr && mgr->FMDIMaximized) mgr->SetMDIMaximized(false);
            }
            break;
        default: break;
    }
    // The keyboard's way into the menus finds the system's window menu
    // when the window menu bit is there and the bar is ours.
    if (cmd == SC_KEYMENU || cmd == SC_MOUSEMENU)
        m.Result = CallDefaultHiding(WS_SYSMENU, m.Msg, m.WParam, m.LParam);
    else
        m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
}

void TWinSkinForm::WMMenuChanged(TMessage& m) {
    TSkinData* sd = FSkinData;
    if (sd) sd->FPaintNonClient = false;
    const TLifeToken::Watch life = FLife.Watching();
    m.Result = CallDefault(m.Msg, m.WParam, m.LParam);
    if (!life.Alive()) {
        // Painting comes back on for every other window of the skin, if the
        // skin is still there.
        if (SkinDataAlive(sd)) sd->FPaintNonClient = true;
        return;
    }
    if (sd) sd->FPaintNonClient = true;
    MenuBarChanged();
}

void TWinSkinForm::SetMDIChildMaximized(bool maximized) {
    if (FFormKind != 2 || !FHandle || !::IsWindow(FHandle)) return;
    if (maximized) {
        RemoveRegion();
        SetCaptionStyle(true);
    } else {
        ReadWindowState();
        SetCaptionStyle(false);
        if (FWindowState == wsNormalKind) UpdateRegion();
    }
    ::SetWindowPos(FHandle, nullptr, 0, 0, 0, 0, kFrameChangedOnly);
}

// ---- the MDI client -----------------------------------------------------------------

void TWinSkinForm::SubclassClient() {
    if (FClientSubclassed || !FClientWnd) return;
    clientTable().Set(FClientWnd, this);
    FOldClientProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(FClientWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticClientProc)));
    FClientSubclassed = true;
}

void TWinSkinForm::UnsubclassClient() {
    if (!FClientSubclassed) return;
    if (FClientWnd && ::IsWindow(FClientWnd)) {
        ::SetWindowLongPtrW(FClientWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldClientProc));
    }
    if (clientTable().Get(FClientWnd) == this) clientTable().Remove(FClientWnd);
    FClientSubclassed = false;
    if (TSkinManage* mgr = SkinManager())
        if (mgr->FMDIClient == FClientWnd) {
            mgr->FMDIClient = nullptr;
            mgr->FMDIFrameForm = nullptr;
        }
}

LRESULT TWinSkinForm::CallClientDefault(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!FOldClientProc) return ::DefWindowProcW(FClientWnd, msg, wParam, lParam);
    return ::CallWindowProcW(FOldClientProc, FClientWnd, msg, wParam, lParam);
}

LRESULT CALLBACK TWinSkinForm::StaticClientProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TWinSkinForm*>(clientTable().Get(wnd));
    if (!self) return ::DefWindowProcW(wnd, msg, wParam, lParam);
    TMessage m{msg, wParam, lParam, 0};
    try {
        self->ClientWindowProc(m);
    } catch (...) {
        m.Result = self->CallClientDefault(msg, wParam, lParam);
    }
    return m.Result;
}

void TWinSkinForm::ClientWindowProc(TMessage& m) {
    auto previous = [&] { m.Result = CallClientDefault(m.Msg, m.WParam, m.LParam); };
    TSkinManage* mgr = SkinManager();
    switch (m.Msg) {
        case WM_NCDESTROY:
            previous();
            UnsubclassClient();
            return;
        case WM_NCCALCSIZE:
            if (FSkinFrame && FSkinData && !inSet(FSkinData->Options(), xoMDIScrollbar)) {
                const LONG_PTR s = ::GetWindowLongPtrW(FClientWnd, GWL_STYLE);
                if (s & (WS_HSCROLL | WS_VSCROLL))
                    ::SetWindowLongPtrW(FClientWnd, GWL_STYLE, s & ~LONG_PTR(WS_HSCROLL | WS_VSCROLL));
            }
            return previous();
        case WM_MDICREATE:
            if (FSkinData) FSkinData->SetMenuUpdate(false);
            return previous();
        case WM_MDIDESTROY: {
            previous();
            if (!FSkinFrame) return;
            BOOL maximized = FALSE;
            HWND active = reinterpret_cast<HWND>(
                ::SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
            if (mgr) mgr->SetMDIMaximized(active && maximized);
            if (!active && FSkinMenu) {
                if (FSkinData) FSkinData->SetMenuUpdate(FMenuUpdate);
                RebuildMenuBar();
            }
            return;
        }
        case WM_MDITILE:
        case WM_MDICASCADE:
            if (FSkinFrame && mgr && mgr->FMDIMaximized) mgr->SetMDIMaximized(false);
            return previous();
        case WM_MDISETMENU:
            previous();
            if (FSkinFrame && m.WParam && FSkinMenu) RebuildMergedMenuBar();
            return;
        case WM_SKIN_REDRAW_MDI:
            ::RedrawWindow(FHandle, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
            m.Result = 0;
            return;
        default: return previous();
    }
}

// ---- the menu key from a child control ----------------------------------------------

// Alt+letter typed while a child control has the focus is a system command of
// that child: its default handling looks for the top window's menu and would
// track the system's bar of it, under the skinned one. The manager's hook sees
// the command first; when the letter belongs to our bar, the command goes to
// the top window instead, whose handler opens the menu; the child's is
// cancelled whenever the top window has a skinned bar.
bool RedirectChildKeyMenu(WPARAM command, LPARAM key) {
    if ((command & 0xFFF0) != SC_KEYMENU) return false;
    const auto ch = wchar_t(key);
    if (ch == L' ' || ch == L'-') return false;
    HWND focus = ::GetFocus();
    HWND root = focus ? ::GetAncestor(focus, GA_ROOT) : nullptr;
    if (!root || root == focus) return false;
    TSkinManage* mgr = SkinManager();
    TWinSkinForm* fs = mgr ? mgr->FindFormSkin(root) : nullptr;
    if (!fs || !fs->FSkinFrame) return false;
    const bool skinnedBar = fs->FSkinMenu != nullptr;
    if (fs->FTrackingMenu || ::GetCapture()) return skinnedBar;
    if (!(ch == 0 ? fs->FirstMenuButton() : fs->FindAccelButton(ch))) return skinnedBar;
    ::PostMessageW(root, WM_SYSCOMMAND, SC_KEYMENU, LPARAM(ch));
    return true;
}

}  // namespace qs
