#pragma once
// What the skin data component needs of the process's skin manager. The
// manager itself lives with the form skins (it creates them); the component
// only registers itself, asks for requests and reads a few shared flags, so
// it talks to the manager through this base and never links the window code.
#include <windows.h>

#include <vector>

namespace qs {

class TSkinData;

// Requests a skin data component hands the manager (carried out by its
// timer once a window has been activated).
enum TSkinRequest : int { srNone = 0, srActivate = 1, srDeactivate = 2, srSkinChanged = 3 };

class TSkinManageBase {
public:
    virtual ~TSkinManageBase() = default;

    std::vector<TSkinData*> FSkinDatas;       // registered, in registration order (not owned)
    bool FActive = false;                     // new windows get skinned
    int FState = 0;                           // 0 nothing activated yet, 1 running, 4 being destroyed
    TSkinData* FPendingSkinData = nullptr;    // whose request is pending
    TSkinData* FDefaultSkinData = nullptr;    // first registered sfMainform component

    virtual void InstallHook() = 0;
    virtual void RegisterSkinData(TSkinData* skinData);
    virtual void UnregisterSkinData(TSkinData* skinData);
    virtual void RequestAction(int action, unsigned interval) = 0;
    virtual bool SkinWindow(HWND wnd) = 0;
    // Every form skin using FPendingSkinData lets go of its caption buttons
    // (they point into element records about to be replaced).
    virtual void ReleaseCaptionButtons() = 0;
};

// The one manager of the process, or null before the first component has
// finished loading (or when no window code is linked in).
TSkinManageBase* SkinManagerBase();
// Creates the manager through the registered factory when there is none yet.
TSkinManageBase* EnsureSkinManager();
// Frees the manager (also done when the program ends).
void FreeSkinManager();

using TSkinManageFactory = TSkinManageBase* (*)();
// Set once by the window code when it is linked into the program.
void SetSkinManageFactory(TSkinManageFactory factory);

}  // namespace qs
