#include "SkinManage.h"
#include "SkinModules.h"

#include <algorithm>
#include <cctype>

#include "ControlSide.h"
#include "DesktopStyles.h"
#include "Forms.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinPalette.h"

// Named by the link options of the form library, so that every program that
// links it also gets the manager (the skin data component only knows the
// manager through its factory).
extern "C" {
int qs_skin_manage_linked = 0;
}

namespace qs {

namespace {

const HINSTANCE gProgramInstance = ::GetModuleHandleW(nullptr);
DWORD gSystemVersion = 0;
bool gEveryModule = false;

std::string classNameOf(HWND wnd) {
    char buf[256] = {};
    ::GetClassNameA(wnd, buf, int(sizeof buf));
    return buf;
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

BOOL CALLBACK collectWindow(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

TSkinManageBase* createManager() { return new TSkinManage(); }

struct FactoryRegistrar {
    FactoryRegistrar() { SetSkinManageFactory(&createManager); }
} gFactoryRegistrar;

}  // namespace

TSkinManage* SkinManager() { return static_cast<TSkinManage*>(SkinManagerBase()); }
HINSTANCE SkinProgramInstance() { return gProgramInstance; }
DWORD SkinSystemVersion() { return gSystemVersion; }
void SetSkinWindowsOfEveryModule(bool every) { gEveryModule = every; }
bool SkinWindowsOfEveryModule() { return gEveryModule; }

TSkinManage::TSkinManage() {
    FTimer = std::make_unique<TTimer>(nullptr);
    FTimer->SetEnabled(false);
    FTimer->SetInterval(100);
    FTimer->SetOnTimer([this](TObject*) { OnTimer(); });
}

TSkinManage::~TSkinManage() {
    FState = 4;
    FActive = false;
    FTimer.reset();
    if (!FFormSkins.empty()) UnskinAllForms();
    FreeMenuSkins();
    FSkinDatas.clear();
    FPendingSkinData = FDefaultSkinData = nullptr;
    if (FHook) ::UnhookWindowsHookEx(FHook);
    FHook = nullptr;
    WatchContrast(false);
}

// ---- hook -------------------------------------------------------------------------

void TSkinManage::InstallHook() {
    gSystemVersion = ::GetVersion();
    // One hook per manager: a second main-form component must not chain the
    // same procedure twice.
    if (FHook) return;
    FThreadId = ::GetCurrentThreadId();
    FHook = ::SetWindowsHookExA(WH_CBT, &CBTProc, nullptr, FThreadId);
    // High contrast already on at start: the skin stays aside from the first window.
    HighContrastChanged();
}

// In SkinWindowProc.cpp: true when a child's menu key went to our menu bar.
bool RedirectChildKeyMenu(WPARAM command, LPARAM key);

LRESULT CALLBACK TSkinManage::CBTProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* m = SkinManager();
    if (m && code >= 0) {
        try {
            if (code == HCBT_SYSCOMMAND && RedirectChildKeyMenu(wParam, lParam)) return 1;
            m->HandleCBT(code, wParam, lParam);
        } catch (...) {
            // The next hook is always called, whatever failed here.
        }
    }
    return ::CallNextHookEx(m ? m->FHook : nullptr, code, wParam, lParam);
}

void TSkinManage::HandleCBT(int code, WPARAM wParam, LPARAM lParam) {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    switch (code) {
        case HCBT_CREATEWND: {
            const auto* cw = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
            const LONG style = cw && cw->lpcs ? cw->lpcs->style : LONG(::GetWindowLongPtrW(wnd, GWL_STYLE));
            const DWORD exStyle =
                cw && cw->lpcs ? cw->lpcs->dwExStyle : DWORD(::GetWindowLongPtrW(wnd, GWL_EXSTYLE));
            const std::string cls = classNameOf(wnd);
            if (cls == "ScrollBar" && (style & SBS_SIZEGRIP)) {
                // A size grip made after activation: its parent's form skin
                // classifies it like the children it found at activation.
                HWND parent = cw && cw->lpcs ? cw->lpcs->hwndParent : ::GetParent(wnd);
                if (TWinSkinForm* fs = FindFormSkin(parent)) ControlSide().ClassifyWindow(*fs, wnd);
                break;
            }
            if ((style & WS_CHILD) && cls == "#32770") {
                HWND parent = cw && cw->lpcs ? cw->lpcs->hwndParent : ::GetParent(wnd);
                HWND root = parent ? ::GetAncestor(parent, GA_ROOT) : nullptr;
                if (TWinSkinForm* fs = FindFormSkin(root))
                    if (fs->FSkinState != ssCreated) ::PostMessageW(root, WM_SKIN_CLASSIFY_LATE, WPARAM(wnd), 0);
                break;
            }
            if (!(style & WS_CHILD) && cls == "SysMonthCal32") {
                // A picker's drop-down calendar: the colours the skin gave
                // the picker show only without visual styles. It goes when
                // the drop-down closes, so nothing is given back.
                HWND picker = cw && cw->lpcs ? cw->lpcs->hwndParent : ::GetParent(wnd);
                if (picker && ControlSide().HasContentColours(picker)) MakeWithoutVisualStyles(wnd);
                break;
            }
            if (!(style & WS_CHILD) && cls == "#32768") SkinPopupMenu(wnd);
            if (exStyle & WS_EX_MDICHILD) SkinWindow(wnd);
            break;
        }
        case HCBT_DESTROYWND: UnskinPopupMenu(wnd); break;
        case HCBT_ACTIVATE:
            if (FState == 0) FState = 1;
            SkinWindow(wnd);
            break;
        default: break;
    }
}

// ---- requests ---------------------------------------------------------------------

void TSkinManage::RequestAction(int action, unsigned interval) {
    FPendingAction = action;
    if (FTimer) FTimer->SetInterval(interval);
    if (FState != 0) {
        if (FTimer) FTimer->SetEnabled(true);
    } else {
        // Nothing has been activated yet: the hook skins windows as they come.
        FActive = action == srActivate;
        if (FPendingSkinData) SyncSkinPalette(*FPendingSkinData, FActive);
    }
}

void TSkinManage::ReleaseCaptionButtons() {
    for (TWinSkinForm* fs : FFormSkins)
        if (fs->FSkinData == FPendingSkinData) fs->ReleaseCaptionButtons();
}

void TSkinManage::UnregisterSkinData(TSkinData* skinData) {
    TSkinManageBase::UnregisterSkinData(skinData);
    if (FPendingSkinData == skinData) {
        FPendingSkinData = nullptr;
        if (FTimer) FTimer->SetEnabled(false);
    }
    // Form skins painting from a component that is going away would read
    // freed records: they give their windows back now.
    for (std::size_t i = FFormSkins.size(); i-- > 0;) {
        if (i >= FFormSkins.size()) continue;
        TWinSkinForm* fs = FFormSkins[i];
        if (fs->FSkinData == skinData) RemoveAndFree(fs, FState != 4);
    }
}

void TSkinManage::RemoveAndFree(TWinSkinForm* fs, bool repaint) {
    auto it = std::find(FFormSkins.begin(), FFormSkins.end(), fs);
    if (it != FFormSkins.end()) FFormSkins.erase(it);
    HWND wnd = fs->FHandle;
    const bool alive = fs->FSkinState != ssDestroyed && wnd && ::IsWindow(wnd);
    if (alive) fs->Detach();
    delete fs;
    if (alive && repaint)
        ::RedrawWindow(wnd, nullptr, nullptr,
                       RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void TSkinManage::OnTimer() {
    if (FTimer) FTimer->SetEnabled(false);
    TSkinData* sd = FPendingSkinData;
    if (!sd) return;
    const int action = FPendingAction;
    FPendingAction = srNone;
    // The colours first, so that the windows dressed now paint once, in them.
    // A skin loaded while skinning is off brings no colours. Going off, the
    // system's colours come back before the windows do: what is given back
    // reads its colours as it is restored (a form's brush, a rich edit's
    // background), and not every control reads them again when told.
    if (action == srActivate || (action == srSkinChanged && FActive && sd->Active())) SyncSkinPalette(*sd, true);
    if (action == srDeactivate) SyncSkinPalette(*sd, false);
    if (sd->SkinFormtype() == sfOnlyThisForm) {
        switch (action) {
            case srActivate: {
                FActive = true;
                FBulkSkinning = true;
                if (Screen) {
                    const auto forms = Screen->FormList();
                    for (auto it = forms.rbegin(); it != forms.rend(); ++it)
                        if (*it == sd->Owner()) {
                            SkinVisibleForm(*it);
                            break;
                        }
                }
                FBulkSkinning = false;
                break;
            }
            case srDeactivate:
                FActive = false;
                PurgeFormSkins();
                for (std::size_t i = FFormSkins.size(); i-- > 0;)
                    if (FFormSkins[i]->FSkinData == sd) {
                        RemoveAndFree(FFormSkins[i], true);
                        break;
                    }
                break;
            case srSkinChanged:
                PurgeFormSkins();
                for (TWinSkinForm* fs : FFormSkins)
                    if (fs->FSkinData == sd) {
                        fs->ReleaseCaptionButtons();
                        fs->UpdateFrameMetrics();
                        fs->FMetricsFresh = true;
                        fs->SkinChanged();
                        break;
                    }
                break;
            default: break;
        }
    } else {
        switch (action) {
            case srActivate: {
                FActive = true;
                FBulkSkinning = true;
                PurgeFormSkins();
                if (Screen) {
                    const auto forms = Screen->FormList();
                    for (auto it = forms.rbegin(); it != forms.rend(); ++it) SkinVisibleForm(*it);
                }
                // Windows that are not toolkit forms (standard dialogs, the
                // program's own plain windows) were unskinned with the rest:
                // they come back too instead of waiting for their next
                // activation.
                std::vector<HWND> others;
                ::EnumThreadWindows(FThreadId ? FThreadId : ::GetCurrentThreadId(), &collectWindow,
                                    reinterpret_cast<LPARAM>(&others));
                for (HWND w : others)
                    if (::IsWindowVisible(w) && !FindToolkitForm(w)) SkinWindow(w);
                FBulkSkinning = false;
                break;
            }
            case srDeactivate:
                FActive = false;
                PurgeFormSkins();
                while (!FFormSkins.empty()) RemoveAndFree(FFormSkins.front(), true);
                break;
            case srSkinChanged: {
                PurgeFormSkins();
                const auto skins = FFormSkins;
                for (TWinSkinForm* fs : skins)
                    if (fs->FSkinData == sd) {
                        fs->ReleaseCaptionButtons();
                        fs->UpdateFrameMetrics();
                        fs->FMetricsFresh = true;
                    }
                for (TWinSkinForm* fs : skins)
                    if (fs->FSkinData == sd && FindFormSkinPtr(fs)) fs->SkinChanged();
                break;
            }
            default: break;
        }
    }
    if (sd->OnSkinChanged) sd->OnSkinChanged(sd);
    FPendingSkinData = nullptr;
}

bool TSkinManage::FindFormSkinPtr(const TWinSkinForm* fs) const {
    return std::find(FFormSkins.begin(), FFormSkins.end(), fs) != FFormSkins.end();
}

// ---- form skins -------------------------------------------------------------------

bool TSkinManage::SkinWindow(HWND wnd) {
    if (!FActive || !wnd || !::IsWindow(wnd)) return false;
    if (FHighContrast || HighContrastOn()) {
        ScheduleContrastCheck();
        return false;
    }
    PurgeFormSkins();
    if (::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0) == 1 || FindFormSkin(wnd)) return false;
    TCustomForm* form = FindToolkitForm(wnd);
    const LONG_PTR style = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(wnd, GWL_EXSTYLE);
    const bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
    if (!FBulkSkinning && (style & WS_CHILD) && !mdiChild) {
        HWND parent = ::GetParent(wnd);
        if (lower(classNameOf(parent)) != "mdiclient") return false;
    }
    const std::string cls = classNameOf(wnd);
    // Of other modules' windows only those with a title bar: their
    // captionless pop-ups (drop-down calendars, lists) are parts of controls.
    const bool everyModule = gEveryModule && (style & WS_CAPTION) == WS_CAPTION;
    if (!form && !everyModule &&
        reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(wnd, GWLP_HINSTANCE)) != gProgramInstance && cls != "#32770")
        return false;
    RECT r{};
    ::GetWindowRect(wnd, &r);
    if ((r.right - r.left) * (r.bottom - r.top) == 0 && !mdiChild) return false;
    if (form && form->Tag() == 99) return false;
    if (cls.find("TcxPopupEditPopupWindow") != std::string::npos ||
        cls.find("TTERenderWindow") != std::string::npos || cls == "TApplication")
        return false;
    if (!AcceptWindow(wnd, cls)) return false;
    TSkinData* skin = SkinDataFor(wnd);
    if (!skin || !skin->SkinLoaded()) return false;
    // A form that opts out with its skin's DisableTag stays unskinned too.
    if (form && form->Tag() == skin->DisableTag()) return false;

    auto* fs = new TWinSkinForm(form);
    fs->FHandle = wnd;
    // Skinned in a sweep rather than on its activation: it shows active only
    // when it is, or every window skinned again would draw an active title.
    if (FBulkSkinning && !mdiChild) fs->FActive = ::GetActiveWindow() == wnd;
    fs->FName = cls;
    if (form)
        fs->AttachForm(skin, form);
    else
        fs->AttachWindow(skin);
    FFormSkins.push_back(fs);
    ::PostMessageW(wnd, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    return true;
}

void TSkinManage::SkinVisibleForm(TCustomForm* form) {
    if (!form) return;
    HWND wnd = form->HandleIfAllocated();
    if (!wnd || !::IsWindowVisible(wnd)) return;
    if (::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD) return;
    SkinWindow(wnd);
}

bool TSkinManage::AcceptWindow(HWND wnd, const std::string& className) {
    bool accept = true;
    if (!FDefaultSkinData) return accept;
    if (!inSet(FDefaultSkinData->Options(), xoPreview) && lower(className).find("preview") != std::string::npos)
        accept = false;
    if (className == "#32770" && (::GetWindowLongPtrW(wnd, GWL_STYLE) & 0x200)) accept = false;
    FDefaultSkinData->AskFormSkin(wnd, className, accept);
    return accept;
}

TSkinData* TSkinManage::SkinDataFor(HWND wnd) {
    TSkinData* found = nullptr;
    for (TSkinData* sd : FSkinDatas) {
        if (sd->SkinFormtype() != sfOnlyThisForm) continue;
        auto* owner = dynamic_cast<TCustomForm*>(sd->Owner());
        if (owner && owner->HandleIfAllocated() == wnd) found = sd;
    }
    if (found) return found;
    const std::string cls = lower(classNameOf(wnd));
    if (cls == "tmessageform" || cls == "#32770")
        for (TSkinData* sd : FSkinDatas)
            if (sd->SkinFormtype() == sfDialog) found = sd;
    if (found) return found;
    for (TSkinData* sd : FSkinDatas)
        if (sd->SkinFormtype() == sfMainform) found = sd;
    if (found) return found;
    return FSkinDatas.empty() ? nullptr : FSkinDatas.front();
}

TWinSkinForm* TSkinManage::FindFormSkin(HWND wnd) const {
    for (TWinSkinForm* fs : FFormSkins)
        if (fs->FHandle == wnd) return fs;
    return nullptr;
}

void TSkinManage::RemoveFormSkin(HWND wnd) {
    if (FState == 4) return;
    auto it = std::find_if(FFormSkins.begin(), FFormSkins.end(), [wnd](TWinSkinForm* fs) { return fs->FHandle == wnd; });
    if (it != FFormSkins.end()) FFormSkins.erase(it);
}

void TSkinManage::ForgetFormSkin(TWinSkinForm* fs) {
    if (FState == 4) return;
    auto it = std::find(FFormSkins.begin(), FFormSkins.end(), fs);
    if (it != FFormSkins.end()) FFormSkins.erase(it);
}

void TSkinManage::PurgeFormSkins() {
    if (FState == 4) return;
    for (std::size_t i = FFormSkins.size(); i-- > 0;) {
        if (i >= FFormSkins.size()) continue;
        TWinSkinForm* fs = FFormSkins[i];
        if (fs->FSkinState == ssDestroyed) {
            FFormSkins.erase(FFormSkins.begin() + std::ptrdiff_t(i));
            delete fs;
        }
    }
}

void TSkinManage::UnskinAllForms() {
    FActive = false;
    while (!FFormSkins.empty()) {
        TWinSkinForm* fs = FFormSkins.back();
        FFormSkins.pop_back();
        if (fs->FSkinState != ssDestroyed && fs->FHandle && ::IsWindow(fs->FHandle)) fs->Detach();
        delete fs;
    }
}

void TSkinManage::SetMDIMaximized(bool value) {
    if (value == FMDIMaximized) return;
    FMDIMaximized = value;
    if (FDefaultSkinData && inSet(FDefaultSkinData->Options(), xoMDIChildBorder)) return;
    for (TWinSkinForm* fs : FFormSkins)
        if (fs->IsMDIChild()) fs->SetMDIChildMaximized(value);
}

TCustomForm* TSkinManage::FindToolkitForm(HWND wnd) {
    if (!wnd) return nullptr;
    if (Screen)
        if (TCustomForm* f = Screen->FindForm(wnd)) return f;
    return dynamic_cast<TCustomForm*>(FindControl(wnd));
}

}  // namespace qs
