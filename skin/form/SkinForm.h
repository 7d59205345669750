#pragma once
// The skin of one top-level window: takes over its window procedure and its
// whole non-client area (borders, title, caption buttons, menu band), paints
// them from the active skin, clips the window to the skin's outline and gives
// everything back when detached.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "FrameLayout.h"
#include "Graphics.h"
#include "Handles.h"
#include "Messages.h"
#include "NCObjects.h"
#include "core/Component.h"

namespace qs {

class TSkinData;
class TCustomForm;
class TControl;
class TDataSkinBorder;

// Private messages of the engine.
inline constexpr UINT WM_SKIN_CHANGED = 0x3401;          // to a toolkit form's handler
inline constexpr UINT WM_SKIN_REPAINT_FRAME = 0x3502;    // paint the frame now
inline constexpr UINT WM_SKIN_ACTIVATE = 0x3503;         // posted after attaching
inline constexpr UINT WM_SKIN_BUTTON_ACTION = 0x3514;    // a caption button without a built-in action
inline constexpr UINT WM_SKIN_BUTTON_VISIBLE = 0x3515;   // caption-button visibility query
inline constexpr UINT WM_SKIN_REDRAW_MDI = 0x3516;       // redraw the MDI frame
inline constexpr UINT WM_SKIN_QUERY = 0x3523;            // "is this window skinned?"
inline constexpr UINT WM_SKIN_NOTIFY = 0xBC4E;           // sent after activation and skin changes
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
    TFont FCaptionFont;
    std::string FClassName;
    bool FMenuUpdate = false;
    bool FSkinFrame = false;
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
    int FButtonCount = 0;
    bool FTrackingMenu = false;
    bool FRightToLeft = false;
    bool FSizeable = false;
    bool FUnicode = false;
    bool FIsDialog = false;
    bool FIsChild = false;
    HWND FClientWnd = nullptr;
    HMENU FMenuHandle = nullptr;
    HMENU FSystemMenu = nullptr;
    TColor FOldColor = clBtnFace;
    LONG_PTR FStyle = 0;
    TNCObject* FHotObject = nullptr;
    bool FHasRegion = false;
    // The region last handed to SetWindowRgn; the system owns it from then on.
    HRGN FRegion = nullptr;
    TCustomForm* FControl = nullptr;
    HWND FHandle = nullptr;
    TSkinData* FSkinData = nullptr;
    std::vector<std::unique_ptr<TWinSysButton>> FButtons;
    TBitmap FIconBitmap;
    TBitmap FTitleBitmap;  // the composed frame, window-sized
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

    // ---- metrics and layout ----
    void UpdateFrameMetrics();
    void KeepClientSize(bool useCurrentClient);
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
    void UpdateRegion();
    void RemoveRegion();
    void SetCaptionStyle(bool on);
    void SetSysMenuStyle(bool remove);

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
    void Subclass();
    void Unsubclass();
    std::wstring WindowText() const;

private:
    static LRESULT CALLBACK StaticWindowProc(HWND, UINT, WPARAM, LPARAM);
    bool FHookedForm = false;
    TFont FTextFont;
};

}  // namespace qs
