#pragma once
// The skin of one top-level window: takes over its window procedure and its
// whole non-client area (borders, title, caption buttons, menu band), paints
// them from the active skin, clips the window to the skin's outline and gives
// everything back when detached.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ExtCtrlsTimer.h"
#include "FrameLayout.h"
#include "Graphics.h"
#include "Handles.h"
#include "LifeToken.h"
#include "Menus.h"
#include "Messages.h"
#include "NCObjects.h"
#include "DesktopStyles.h"
#include "core/Component.h"

namespace qs {

class TSkinData;
class TCustomForm;
class TControl;
class TDataSkinBorder;
class TWinSkinMenu;
class TSkinControl;
class TPopupMenu;
class TMenuItem;
class TSkinManage;

// Private messages of the engine.
inline constexpr UINT WM_SKIN_CHANGED = 0x3401;          // to a toolkit form's handler
inline constexpr UINT WM_SKIN_REPAINT_FRAME = 0x3502;    // paint the frame now
inline constexpr UINT WM_SKIN_ACTIVATE = 0x3503;         // posted after attaching
inline constexpr UINT WM_SKIN_BUTTON_ACTION = 0x3514;    // a caption button without a built-in action
inline constexpr UINT WM_SKIN_BUTTON_VISIBLE = 0x3515;   // caption-button visibility query
inline constexpr UINT WM_SKIN_REDRAW_MDI = 0x3516;       // redraw the MDI frame
inline constexpr UINT WM_SKIN_REBUILD_SCROLLBAR = 0x3517;  // wParam: control whose scroll-bar skin is remade
inline constexpr UINT WM_SKIN_MENUBAR_CLICK = 0x3518;    // lParam: screen point of a menu-bar click
inline constexpr UINT WM_SKIN_QUERY = 0x3523;            // "is this window skinned?"
inline constexpr UINT WM_SKIN_NOTIFY = 0xBC4E;           // sent after activation and skin changes
inline constexpr UINT WM_SKIN_PAINT_FRAME_DC = 0xBC4B;   // paint the frame into the DC in wParam
inline constexpr UINT WM_SKIN_PROBE = 0xBC4D;            // answered with the tag when asked with it
inline constexpr int kSystemMenuTag = 33333;             // Tag of the skinned window menu
inline constexpr LPARAM kSkinPaintTag = 0x41A2;
inline constexpr LPARAM kSkinActivateParam = 1000;

// FSkinState.
enum TSkinFormState : int {
    ssCreated = 0,
    ssSkinned = 1,
    ssReapplying = 3,
    ssDestroying = 4,
    ssResizing = 5,
    ssDestroyed = 6,
};

class TWinSkinForm : public TComponent {
    QS_DECLARE_CLASS(TWinSkinForm)
public:
    explicit TWinSkinForm(TComponent* owner);
    ~TWinSkinForm() override;

    // ---- state (read by the message handlers, the manager and tests) ----
    TWndMethod FOldWindowProc;
    WNDPROC FOldWndProc = nullptr;
    bool FSubclassed = false;  // stands for the routing thunk: set while our procedure is installed
    WNDPROC FOldClientProc = nullptr;  // the MDI client's procedure before ours
    bool FClientSubclassed = false;
    TFont FCaptionFont;
    std::unique_ptr<TTimer> FTimer;  // hover check, enabled while the window is active
    std::string FClassName;
    bool FMenuUpdate = false;
    bool FSkinFrame = false;
    // Set by the manager when it has just measured the frame for a changed
    // skin; the SkinChanged that follows takes those metrics as they are.
    bool FMetricsFresh = false;
    RECT FClientRect{};
    DWORD FLastMenuClick = 0;
    UINT FDoubleClickTime = 0;
    int FCaptionWidth = 0;
    HWND FOwnerWnd = nullptr;
    HICON FIcon = nullptr;      // the window's (not owned)
    UniqueIcon FSmallIcon;      // FIcon at the small-icon size, owned
    int FIconSize = 0;
    std::wstring FCaptionText;
    int FLeftWidth = 0, FTitleHeight = 0, FRightWidth = 0, FBottomHeight = 0;
    RECT FWindowRect{};
    RECT FNonClientSize{};
    int FMenuHeight = 0;
    // The system frame measured at activation had the window's menu row in it.
    bool FMenuInSystemFrame = false;
    int FButtonCount = 0;
    bool FTrackingMenu = false;
    bool FInMenuLoop = false;  // between WM_ENTERMENULOOP and WM_EXITMENULOOP
    bool FRightToLeft = false;
    bool FSizeable = false;
    bool FUnicode = false;
    bool FIsDialog = false;
    bool FIsChild = false;
    std::unique_ptr<TPopupMenu> FSysMenu;  // owner-drawn copy of the window menu
    HWND FClientWnd = nullptr;
    HMENU FMenuHandle = nullptr;
    HMENU FSystemMenu = nullptr;
    HMENU FTrackedMenu = nullptr;
    TColor FOldColor = clBtnFace;
    LONG_PTR FStyle = 0;
    TNCObject* FHotObject = nullptr;
    bool FHasRegion = false;
    // The region last handed to SetWindowRgn; the system owns it from then on.
    HRGN FRegion = nullptr;
    TCustomForm* FControl = nullptr;
    HWND FHandle = nullptr;
    TCanvas FWindowCanvas;  // bound to the window DC while painting on it
    TCanvas FCanvas;        // handed to the control skins
    TSkinData* FSkinData = nullptr;
    // The window's density and the skin made for it: every length and
    // image of the frame, the menu bar and the control skins comes from
    // Art(), which is FSkinData itself at 96 dots per inch.
    int FDpi = 96;
    TSkinData* Art() const;
    // Reads the window's density again; true when it changed.
    bool UpdateDpi();
    TWinSkinMenu* FSkinMenu = nullptr;  // the skinned menu bar, owned; null when none
    std::vector<std::unique_ptr<TWinSysButton>> FButtons;
    TBitmap FIconBitmap;
    // The composed frame: the window's part at the top-left of a bitmap of
    // the window's size, or, once the window was resized, of its sides
    // rounded up by ComposedSide.
    TBitmap FTitleBitmap;
    static constexpr int ComposedSide(int side) {
        return side <= 0 || side > 0x7FFFFF00 ? side : (side + 63) / 64 * 64;
    }
    // What the composed frame was drawn from. While it still matches, a
    // frame paint is one copy; anything outside it (skin records, icon,
    // metrics) clears FFrameValid through InvalidateFrame.
    struct FrameKey {
        int width = 0, height = 0;
        bool active = false;
        const TSkinData* skin = nullptr;
        int windowState = 0, borderKind = 0, styleFlags = 0;
        int left = 0, title = 0, right = 0, bottom = 0, menu = 0;
        std::wstring caption;
        std::vector<int> buttons;  // visible/enabled bits and bounds of each caption button
        bool operator==(const FrameKey&) const = default;
    };
    FrameKey FFrameKey;
    bool FFrameValid = false;
    // The composed bitmap holds the backgrounds of the caption buttons.
    bool FButtonBacksSaved = false;
    bool ButtonCells(int& x0, int& y0, int& cellW, int& cellH) const;
    void InvalidateFrame() { FFrameValid = false; }
    // Lets the composed bitmaps go (the window is no longer skinned).
    void FreeComposedFrame();
    // A caption button redrawn alone over its saved background; false when
    // there is no composed frame to take the background from.
    bool PaintCaptionButton(TWinSysButton& b, HDC dc, int frame);
    FrameKey CurrentFrameKey(int width, int height);
    bool ComposeFrame(int width, int height);
    void PaintMenuArea(HDC dc, int width);
    void SaveButtonBacks(HDC composed);
    // Control skins of the children. A skin of a toolkit control belongs to
    // that control; one of a bare child window belongs to this form skin.
    std::vector<TSkinControl*> FControls;
    int FWidth = 0, FHeight = 0;
    int FRegionWidth = 0, FRegionHeight = 0;
    bool FActive = true;
    uint8_t FFormKind = 0;  // 0 plain, 1 MDI frame, 2 MDI child
    TBorderKind FBorderKind = bkSingle;
    uint8_t FStyleFlags = 0;
    TWindowStateKind FWindowState = wsNormalKind;
    int FSkinState = ssCreated;
    std::string FName;
    // Anchors of Align 2/8 and 3/9: the inner ends of the title.
    int FLeftAnchor = 0, FRightAnchor = 0;
    // What attaching found, so that detaching gives back exactly that.
    LONG_PTR FAttachStyle = 0;

    // ---- attaching ----
    void AttachForm(TSkinData* skinData, TCustomForm* form);
    void AttachWindow(TSkinData* skinData);
    // The activation steps (also reached through WM_SKIN_ACTIVATE).
    void Activate();
    void Detach();
    void SkinChanged();
    // Frees the control skins (restoring the controls first unless their
    // window is gone). ControlSkinRelease, when set, replaces the release.
    void ReleaseControlSkins();
    static inline void (*ControlSkinRelease)(TWinSkinForm& form) = nullptr;
    // Drops the caption buttons (their records are about to be replaced).
    void ReleaseCaptionButtons();

    // ---- metrics and layout ----
    void UpdateFrameMetrics();
    void KeepClientSize(bool useCurrentClient);
    // The window's frame already has the current metrics (normal state).
    bool FrameFitsMetrics() const;
    void ReadWindowState();
    CaptionState CaptionStateNow() const;
    // Visibility of caption button i (also sets FVisible / FEnabled).
    bool ButtonVisible(TWinSysButton& b);
    void LayoutButtons();

    // ---- painting ----
    void PaintFrame(HDC dc = nullptr);
    void PaintBorderPiece(int kind, const RECT& r, HDC dc);
    void PaintTitle(HDC dc, const RECT& titleRect);
    void PaintCaptionText(HDC dc);
    void LoadIconBitmap();
    void DrawIconButton(HDC dc, const RECT& r);
    // The caption text font: the skin's caption font at the Title FontHeight.
    TFont CaptionTextFont() const;
    TFont& TextFont();  // the same, kept between paints
    int MeasureCaption(const std::wstring& text);

    // ---- region and styles ----
    // `redraw` false when the caller's own change repaints the whole window anyway.
    void UpdateRegion(bool redraw = true);
    void RemoveRegion();
    void SetCaptionStyle(bool on);
    void SetSysMenuStyle(bool remove);
    // The previous procedure with style bits the system must not see for
    // the length of the call: with the window menu bit it would answer hit
    // tests for, and draw, caption buttons of its own. The program reads its
    // style back whole before and after, and hears nothing of the change.
    LRESULT CallDefaultHiding(LONG_PTR bits, UINT msg, WPARAM wParam, LPARAM lParam);

    // ---- caption buttons, window commands, window menu ----
    // The first visible caption button with an action that holds the point
    // (window coordinates).
    TWinSysButton* FindObjectAt(POINT p);
    // A screen point in window coordinates (frame included).
    POINT WindowToFrame(POINT screen) const;
    void DoButtonAction(TWinSysButton* button, POINT screen);
    void ToggleMaximize();
    void ToggleMinimize();
    void RestoreWindow();
    // Pops the skinned window menu up at a screen point; the second click of
    // a double click on the icon closes the window instead.
    void ShowSystemMenu(POINT screen);
    void BuildSystemMenu();
    // The hover check of the timer.
    void HoverTimer();
    // The maximised MDI child presentation on or off (the manager asks).
    void SetMDIChildMaximized(bool maximized);
    bool IsMDIChild() const { return FFormKind == 2; }
    bool IsMDIFrame() const { return FFormKind == 1; }

    // ---- the menu bar (completed with the menu-bar unit) ----
    void CreateSkinMenu();
    void FreeSkinMenu();
    // Paints the menu band; false when there is no skinned bar to do it.
    bool PaintMenuBand(HDC dc, const RECT& band);
    TMenuBtn* MenuButtonAt(POINT p);
    TMenuBtn* FirstMenuButton();
    TMenuBtn* FindAccelButton(wchar_t ch);
    // False when this form skin was freed while the drop-down was open:
    // the caller then touches nothing of it.
    bool OpenMenuButton(TMenuBtn* button);
    void WMMenuBarClick(TMessage& msg);
    // WM_MEASUREITEM / WM_DRAWITEM of menu items; false leaves the message
    // to the previous procedure.
    bool MenuItemMessage(TMessage& msg);
    // WM_INITMENU, WM_ENTERMENULOOP, WM_EXITMENULOOP, WM_INITMENUPOPUP and
    // WM_MENUSELECT while the bar's drop-downs are tracked; false leaves the
    // message to the previous procedure.
    bool MenuLoopMessage(TMessage& msg);
    void RebuildMenuBar();
    void RebuildMergedMenuBar();
    // The program changed the menu the bar shows (items, states, captions,
    // or another menu on the window): the bar follows, at once or, while
    // one of its drop-downs is open, once it closed.
    void MenuBarChanged();
    void HookMenus(bool on);
    void MeasureSystemMenuItem(TMenuItem* item, TCanvas& canvas, int& width, int& height);
    void DrawSystemMenuItem(TMenuItem* item, TCanvas& canvas, const RECT& r, bool selected);

    // ---- messages ----
    // The replacement window procedure; what it does not consume goes to
    // the procedure it replaced.
    virtual void SkinWindowProc(TMessage& msg);
    // The toolkit form's handler while hooked.
    virtual void FormWindowProc(TMessage& msg);
    LRESULT CallDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    static TWinSkinForm* FromWindow(HWND wnd);

protected:
    // A toolkit form that goes first leaves nothing behind to give back to.
    void Notification(TComponent* c, TOperation op) override;
    void WMNCCalcSize(TMessage& msg);
    void WMSize(TMessage& msg);
    void WMNCHitTest(TMessage& msg);
    void WMNCActivate(TMessage& msg);
    void WMNCMouse(TMessage& msg);
    void WMSysCommand(TMessage& msg);
    void WMCommand(TMessage& msg);
    void WMMenuChanged(TMessage& msg);
    void FormDialogChar(TMessage& msg);
    void FormSetText(TMessage& msg);
    // The MDI client's replacement procedure.
    void ClientWindowProc(TMessage& msg);
    LRESULT CallClientDefault(UINT msg, WPARAM wParam, LPARAM lParam);
    void SubclassClient();
    void UnsubclassClient();
    void Subclass();
    void Unsubclass();
    std::wstring WindowText() const;

private:
    static LRESULT CALLBACK StaticWindowProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK StaticClientProc(HWND, UINT, WPARAM, LPARAM);
    bool FHookedForm = false;
    TFont FTextFont;
    int FStyleHiding = 0;       // our own style changes are under way: the program is not told
    bool FContentLate = false;  // WM_SKIN_CONTENT_LATE is posted and not yet handled
    LONG_PTR HideStyle(LONG_PTR bits);
    void SetStyleQuietly(LONG_PTR style);
    bool FMenuStale = false;    // the menu changed while a drop-down was open
    bool FMenuRefresh = false;  // MenuBarChanged is running
    TLifeToken FLife;
    TDesktopFrame FDesktopFrame;  // what composition drew of the frame, taken while the skin paints it
};

}  // namespace qs
