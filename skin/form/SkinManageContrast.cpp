// High contrast: while the user has it on, the skin gets out of the way of
// every window of the thread at once (the system draws them, as unskinned)
// and comes back when it goes off. Nothing is sent to the program: it only
// sees the setting change the system itself broadcasts.
#include <algorithm>

#include "Forms.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinPalette.h"

namespace qs {

namespace {

int gContrastOverride = -1;  // -1 follows the system
UINT_PTR gContrastTimer = 0;

void CALLBACK contrastTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    if (id == gContrastTimer) gContrastTimer = 0;
    if (TSkinManage* m = SkinManager()) m->HighContrastChanged();
}

BOOL CALLBACK collectThreadWindow(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

}  // namespace

void SetHighContrastOverride(int state) { gContrastOverride = state < 0 ? -1 : state != 0; }

bool HighContrastOn() {
    if (gContrastOverride >= 0) return gContrastOverride != 0;
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON);
}

void TSkinManage::ScheduleContrastCheck() {
    // A form skin hears of the change inside its own window procedure; the
    // step aside frees that very skin, so it runs once the message returned.
    if (!gContrastTimer) gContrastTimer = ::SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &contrastTimerProc);
}

LRESULT CALLBACK TSkinManage::ContrastWatchProc(int code, WPARAM wParam, LPARAM lParam) {
    TSkinManage* m = SkinManager();
    if (m && code == HC_ACTION) {
        const auto* cw = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (cw && cw->message == WM_SETTINGCHANGE && cw->wParam == SPI_SETHIGHCONTRAST) {
            try {
                m->HighContrastChanged();
            } catch (...) {
                // The next hook is called whatever failed here.
            }
        }
    }
    return ::CallNextHookEx(m ? m->FContrastHook : nullptr, code, wParam, lParam);
}

void TSkinManage::WatchContrast(bool on) {
    // Only while stepped aside: no skinned window is there to hear the
    // setting go off, so the thread's sent messages are watched instead.
    if (on && !FContrastHook)
        FContrastHook = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &ContrastWatchProc, nullptr,
                                            FThreadId ? FThreadId : ::GetCurrentThreadId());
    if (!on && FContrastHook) {
        ::UnhookWindowsHookEx(FContrastHook);
        FContrastHook = nullptr;
    }
}

void TSkinManage::HighContrastChanged() {
    if (FState == 4) return;
    const bool on = HighContrastOn();
    if (on == FHighContrast) return;
    FHighContrast = on;
    if (on) {
        // The user's contrast colours, not the skin's, for everything the
        // process paints: withdrawn before the windows are given back, as
        // when skinning goes off.
        for (TSkinData* sd : FSkinDatas) SyncSkinPalette(*sd, false);
        PurgeFormSkins();
        FSteppedAside.clear();
        while (!FFormSkins.empty()) {
            TWinSkinForm* fs = FFormSkins.front();
            if (fs->FHandle) FSteppedAside.push_back(fs->FHandle);
            RemoveAndFree(fs, true);
        }
        WatchContrast(true);
        return;
    }
    WatchContrast(false);
    if (!FActive) return;
    // What was skinned comes back, and so does what was opened meanwhile,
    // unless the skin dresses one form only.
    std::vector<HWND> windows = std::move(FSteppedAside);
    FSteppedAside.clear();
    const bool ownFormsOnly = std::all_of(FSkinDatas.begin(), FSkinDatas.end(),
                                          [](TSkinData* sd) { return sd->SkinFormtype() == sfOnlyThisForm; });
    if (!ownFormsOnly) {
        if (Screen)
            for (TCustomForm* f : Screen->FormList())
                if (HWND w = f->HandleIfAllocated()) windows.push_back(w);
        ::EnumThreadWindows(FThreadId ? FThreadId : ::GetCurrentThreadId(), &collectThreadWindow,
                            reinterpret_cast<LPARAM>(&windows));
    }
    for (TSkinData* sd : FSkinDatas)
        if (sd->Active()) SyncSkinPalette(*sd, true);
    FBulkSkinning = true;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        HWND w = windows[i];
        if (std::find(windows.begin(), windows.begin() + std::ptrdiff_t(i), w) != windows.begin() + std::ptrdiff_t(i))
            continue;
        if (::IsWindow(w) && ::IsWindowVisible(w)) SkinWindow(w);
    }
    FBulkSkinning = false;
}

}  // namespace qs
