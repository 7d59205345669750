// Switching skinning on and off: the skin data component's "loaded" step,
// its Active switch and skin changes, handed to the process's skin manager;
// the rules that keep windows and controls unskinned; and the optional
// system functions the control skins use.
#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "Forms.h"
#include "SkinData.h"
#include "SkinDataManager.h"
#include "SkinPalette.h"

namespace qs {

namespace {

TSkinManageBase* gManager = nullptr;
TSkinManageFactory gFactory = nullptr;
bool gFreeAtExit = false;

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// user32's optional functions, looked up by name once.
struct OptionalUser32 {
    using GetScrollBarInfoFn = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
    using TrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
    using GetComboBoxInfoFn = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
    using DisableGhostingFn = void(WINAPI*)();

    HMODULE lib = nullptr;
    GetScrollBarInfoFn getScrollBarInfo = nullptr;
    TrackMouseEventFn trackMouseEvent = nullptr;
    GetComboBoxInfoFn getComboBoxInfo = nullptr;
    DisableGhostingFn disableGhosting = nullptr;

    OptionalUser32() {
        lib = ::LoadLibraryW(L"user32.dll");
        if (!lib) return;
        auto find = [this](const char* name) { return reinterpret_cast<void*>(::GetProcAddress(lib, name)); };
        getScrollBarInfo = reinterpret_cast<GetScrollBarInfoFn>(find("GetScrollBarInfo"));
        trackMouseEvent = reinterpret_cast<TrackMouseEventFn>(find("TrackMouseEvent"));
        getComboBoxInfo = reinterpret_cast<GetComboBoxInfoFn>(find("GetComboBoxInfo"));
        disableGhosting = reinterpret_cast<DisableGhostingFn>(find("DisableProcessWindowsGhosting"));
    }
    ~OptionalUser32() {
        if (lib) ::FreeLibrary(lib);
    }
    OptionalUser32(const OptionalUser32&) = delete;
    OptionalUser32& operator=(const OptionalUser32&) = delete;

    static OptionalUser32& get() {
        static OptionalUser32 u;
        return u;
    }
};

}  // namespace

// ---- the manager as the component sees it ----------------------------------------

void TSkinManageBase::RegisterSkinData(TSkinData* skinData) {
    if (!skinData) return;
    if (std::find(FSkinDatas.begin(), FSkinDatas.end(), skinData) == FSkinDatas.end())
        FSkinDatas.push_back(skinData);
    if (!FDefaultSkinData && skinData->SkinFormtype() == sfMainform) FDefaultSkinData = skinData;
}

void TSkinManageBase::UnregisterSkinData(TSkinData* skinData) {
    FSkinDatas.erase(std::remove(FSkinDatas.begin(), FSkinDatas.end(), skinData), FSkinDatas.end());
    if (FDefaultSkinData == skinData) FDefaultSkinData = nullptr;
    if (FPendingSkinData == skinData) FPendingSkinData = nullptr;
}

TSkinManageBase* SkinManagerBase() { return gManager; }

void SetSkinManageFactory(TSkinManageFactory factory) { gFactory = factory; }

TSkinManageBase* EnsureSkinManager() {
    if (gManager || !gFactory) return gManager;
    gManager = gFactory();
    // Registered after everything the manager made at construction (its
    // timer's shared window), so it goes before those at the end.
    if (!gFreeAtExit) {
        gFreeAtExit = true;
        std::atexit(&FreeSkinManager);
    }
    return gManager;
}

void FreeSkinManager() {
    // Stays reachable while it unskins, so form skins can still find it.
    delete gManager;
    gManager = nullptr;
}

// ---- the component ---------------------------------------------------------------

void TSkinData::Loaded() {
    TComponent::Loaded();
    if (IsDesigning()) return;
    if (!HasGetScrollBarInfo()) FSkinControls &= ~setBit(xcScrollbar);
    TSkinManageBase* m = EnsureSkinManager();
    if (m) m->RegisterSkinData(this);
    CreateCaptionFont();
    if (FSkinFormtype != sfMainform) {
        if (m) {
            m->FActive = true;
            ++m->FState;
            auto* form = dynamic_cast<TCustomForm*>(Owner());
            if (form && FActive) m->SkinWindow(form->Handle());
        }
        BuildAppIcon();
        return;
    }
    if (m) m->InstallHook();
    if (FActive) {
        if (!FSkinLoaded)
            FActive = false;
        else if (m) {
            m->RequestAction(srActivate, 250);
            // Before any window exists the request takes effect at once,
            // without the manager's timer.
            if (m->FActive) SyncSkinPalette(*this, true);
        }
    }
    if (inSet(FSkinControls, xcMainMenu))
        FSkinControls &= ~setBit(xcMenuItem);
    else
        FSkinControls &= ~setBit(xcSystemMenu);
    BuildAppIcon();
}

void TSkinData::SetActive(bool v) {
    if (v == FActive) return;
    FActive = v;
    if (IsDesigning() || IsLoading()) return;
    TSkinManageBase* m = SkinManagerBase();
    const bool registered = m && std::find(m->FSkinDatas.begin(), m->FSkinDatas.end(), this) != m->FSkinDatas.end();
    if (!registered) {
        // Made in code rather than read from a definition: the "loaded"
        // step never ran, and it is what acts on the value.
        Loaded();
        return;
    }
    switch (FSkinFormtype) {
        case sfOnlyThisForm:
            m->FPendingSkinData = this;
            if (v && !FSkinLoaded) return;
            m->RequestAction(v ? srActivate : srDeactivate, 250);
            return;
        case sfDialog:
        case sfDLL: return;
        case sfMainform:
            if (v) {
                if (!FSkinLoaded) return;
                m->FPendingSkinData = this;
                m->RequestAction(srActivate, 250);
                m->FState = 1;
            } else {
                m->FPendingSkinData = this;
                m->RequestAction(srDeactivate, 250);
            }
            return;
    }
}

void TSkinData::ApplyChangedSkin() {
    if (IsDesigning() || IsLoading()) return;
    TSkinManageBase* m = SkinManagerBase();
    if (!m) {
        Loaded();
        m = SkinManagerBase();
        if (!m) return;
    }
    m->FPendingSkinData = this;
    m->ReleaseCaptionButtons();
    if (m->FState == 1) m->RequestAction(srSkinChanged, 250);
}

void TSkinData::AskFormSkin(HWND wnd, const std::string& className, bool& doSkin) {
    FFormHandle = wnd;
    if (OnFormSkin) {
        OnFormSkin(this, className, doSkin);
        return;
    }
    if (className == "SysMonthCal32")
        doSkin = false;
    else if (inSet(FSkinControls, xcFastReport) && className.rfind("Tfr", 0) == 0)
        doSkin = false;
}

std::string TSkinData::Skin3rdKind(const std::string& className) const {
    const std::string prefix = lower(className) + "=";
    for (const std::string& line : FSkin3rd) {
        const std::string l = lower(line);
        if (l.rfind(prefix, 0) != 0) continue;
        return l.substr(l.find('=') + 1, 50);
    }
    return {};
}

// ---- optional system functions ---------------------------------------------------

bool HasGetScrollBarInfo() { return OptionalUser32::get().getScrollBarInfo != nullptr; }
bool HasTrackMouseEvent() { return OptionalUser32::get().trackMouseEvent != nullptr; }

bool SafeGetScrollBarInfo(HWND wnd, LONG bar, SCROLLBARINFO& info) {
    auto fn = OptionalUser32::get().getScrollBarInfo;
    if (!fn) return false;
    info.cbSize = sizeof(info);
    return fn(wnd, bar, &info) != FALSE;
}

void StartLeaveTracking(HWND wnd) {
    auto fn = OptionalUser32::get().trackMouseEvent;
    if (!fn || !wnd) return;
    TRACKMOUSEEVENT t{};
    t.cbSize = sizeof(t);
    t.dwFlags = TME_LEAVE;
    t.hwndTrack = wnd;
    fn(&t);
}

bool SafeGetComboBoxInfo(HWND wnd, COMBOBOXINFO& info) {
    auto fn = OptionalUser32::get().getComboBoxInfo;
    if (!fn) return false;
    info.cbSize = sizeof(info);
    return fn(wnd, &info) != FALSE;
}

}  // namespace qs
