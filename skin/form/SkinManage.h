#pragma once
// The process-wide skin manager: watches window creation, activation and
// destruction on the user-interface thread (a WH_CBT hook), gives every
// top-level window that qualifies a form skin and every menu window a menu
// skin, carries out the activation, deactivation and skin-change requests of
// the skin data components from a timer, and frees the skins again.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ExtCtrlsTimer.h"
#include "Graphics.h"
#include "SkinDataManager.h"

namespace qs {

class TWinSkinForm;
class TWinSkinPopMenu;
class TCustomForm;
class TSkinData;

// Kind of menu being opened, which decides the SkinControls member that
// gates its skin.
enum TMenuKind : int { mkContext = 0, mkDropDown = 1, mkWindowMenu = 2 };

class TSkinManage : public TSkinManageBase {
public:
    TSkinManage();
    ~TSkinManage() override;
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // ---- fields (FSkinDatas, FActive, FState, FPendingSkinData and
    // FDefaultSkinData come from the base) ----
    std::unique_ptr<TTimer> FTimer;            // deferred requests; disabled when idle
    HHOOK FHook = nullptr;                     // WH_CBT of the creating thread
    std::vector<TWinSkinForm*> FFormSkins;     // owned, in creation order
    std::vector<TWinSkinPopMenu*> FMenuSkins;  // owned, in creation order
    bool FBulkSkinning = false;                // one sweep over all forms is running
    int FMenuKind = mkContext;
    bool FMenuBarPopup = false;                // a menu is opened from a skinned menu bar
    bool FMDIMaximized = false;                // an MDI child shows maximised
    HWND FMDIClient = nullptr;                 // the skinned MDI frame's client window
    TCustomForm* FMDIFrameForm = nullptr;      // its toolkit form (may be null)
    int FPendingAction = srNone;
    DWORD FThreadId = 0;                       // the thread the hook watches
    // High contrast is on: every form skin stepped aside and nothing new is
    // skinned until it goes off; the windows that were skinned come back then.
    bool FHighContrast = false;
    std::vector<HWND> FSteppedAside;
    HHOOK FContrastHook = nullptr;             // only while stepped aside

    // ---- requests and registration ----
    void InstallHook() override;
    void RequestAction(int action, unsigned interval) override;
    void ReleaseCaptionButtons() override;
    void UnregisterSkinData(TSkinData* skinData) override;
    // Carries out the pending request (the timer's event).
    void OnTimer();

    // ---- form skins ----
    // Gives a top-level window a form skin when it qualifies; true when one
    // was made.
    bool SkinWindow(HWND wnd) override;
    // SkinWindow for a toolkit form that is visible and not a child window.
    void SkinVisibleForm(TCustomForm* form);
    bool AcceptWindow(HWND wnd, const std::string& className);
    // The skin data component that skins this window, or null.
    TSkinData* SkinDataFor(HWND wnd);
    TWinSkinForm* FindFormSkin(HWND wnd) const;
    // Forgets (does not free) the form skin of this window.
    void RemoveFormSkin(HWND wnd);
    // The same by object: a form skin's destructor uses it, so a window
    // handle the system reused never makes it forget another one.
    void ForgetFormSkin(TWinSkinForm* formSkin);
    // Frees the form skins whose window was destroyed.
    void PurgeFormSkins();
    // Unskins and frees every form skin; nothing new gets skinned after.
    void UnskinAllForms();
    void SetMDIMaximized(bool value);
    // The toolkit form with this window: the screen's list first, then the
    // control linked to the window.
    static TCustomForm* FindToolkitForm(HWND wnd);

    // ---- menu skins (SkinManageMenus.cpp) ----
    void SkinPopupMenu(HWND wnd);
    void UnskinPopupMenu(HWND wnd);
    bool HasPopupSkin(HWND wnd) const;
    // The newest menu skin without a menu handle gets this one.
    void AssociateMenu(HMENU menu);
    // The background of the menu skin showing this menu, or null.
    TBitmap* PopupBackground(HMENU menu) const;
    void MarkMenuBarPopups();
    // Detaches and frees every menu skin (the manager going away).
    void FreeMenuSkins();

    // ---- high contrast (SkinManageContrast.cpp) ----
    // Reads the setting again: steps aside for every window or comes back.
    void HighContrastChanged();
    // The same once the current message returned.
    void ScheduleContrastCheck();

    // The hook procedure's work for one notification; exposed for tests.
    void HandleCBT(int code, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK CBTProc(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ContrastWatchProc(int code, WPARAM wParam, LPARAM lParam);
    void WatchContrast(bool on);
    void RemoveAndFree(TWinSkinForm* fs, bool repaint);
    bool FindFormSkinPtr(const TWinSkinForm* fs) const;
};

// The manager, or null when there is none yet.
TSkinManage* SkinManager();

// Whether high contrast is on. Wine refuses to switch it, so tests set what
// the engine reads instead: 1 on, 0 off, -1 the system's setting again.
bool HighContrastOn();
void SetHighContrastOverride(int state);

// The program's own module (windows of other modules are skinned only when
// they are standard dialogs).
HINSTANCE SkinProgramInstance();
// The system version recorded by InstallHook (GetVersion); read by the menu skins.
DWORD SkinSystemVersion();

}  // namespace qs
