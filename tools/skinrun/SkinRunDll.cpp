// The engine loaded into a program that was not built with it. The launcher
// names the skin in the program's environment and loads this library on the
// program's first thread just before the program's own entry point, then
// calls qskin_run_start there: skinning is on before the first window exists.
// Programs it starts get the library the same way. When the library had to
// be loaded late, from a thread of its own, skinning must still start on the
// user-interface thread: qskin_run_attach hooks that thread so that its next
// message or window switches skinning on.
#include <windows.h>

#include <string>

#include "FollowChildren.h"
#include "SkinModules.h"
#include "qskin/qskin.h"

namespace {

HINSTANCE gModule = nullptr;
HHOOK gCbtHook = nullptr;
HHOOK gMsgHook = nullptr;
DWORD gUiThread = 0;
volatile LONG gStarted = 0;

void startSkinning() {
    if (::InterlockedExchange(&gStarted, 1) != 0) return;
    if (gCbtHook) ::UnhookWindowsHookEx(gCbtHook);
    if (gMsgHook) ::UnhookWindowsHookEx(gMsgHook);
    gCbtHook = gMsgHook = nullptr;
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"QSKIN_RUN_SKIN", path, DWORD(std::size(path)));
    if (n == 0 || n >= std::size(path)) return;
    // Every window of the program is foreign to it alike, whichever of its
    // libraries made it.
    qs::SetSkinWindowsOfEveryModule(true);
    // What the program paints in system colours follows the skin too,
    // unless skinrun was told --no-palette.
    wchar_t palette[4] = {};
    if (!(::GetEnvironmentVariableW(L"QSKIN_RUN_PALETTE", palette, 4) && palette[0] == L'0'))
        qskin_set_process_palette(1);
    const int loaded = qskin_load_file(path);
    const int enabled = loaded == QSKIN_OK ? qskin_enable() : loaded;
    // Seen by a debugger (or Wine's debug channel) only.
    char note[160];
    wsprintfA(note, "qskin: skinning thread %lu: load %d, enable %d\n", ::GetCurrentThreadId(), loaded, enabled);
    ::OutputDebugStringA(note);
}

LRESULT CALLBACK bootCbt(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK self = gCbtHook;
    // Activation is the moment the manager skins a window: be running by then.
    if (code == HCBT_ACTIVATE || code == HCBT_CREATEWND) startSkinning();
    return ::CallNextHookEx(self, code, wParam, lParam);
}

LRESULT CALLBACK bootMsg(int code, WPARAM wParam, LPARAM lParam) {
    HHOOK self = gMsgHook;
    if (code >= 0) startSkinning();
    return ::CallNextHookEx(self, code, wParam, lParam);
}

void followChildren() {
    wchar_t flag[4] = {};
    if (::GetEnvironmentVariableW(L"QSKIN_RUN_CHILDREN", flag, 4) && flag[0] == L'0') return;
    const wchar_t* where = qs::run::followChildProcesses(gModule);
    // Seen by a debugger (or Wine's debug channel) only.
    wchar_t note[160];
    wsprintfW(note, L"qskin: following child programs: %s\n", where ? where : L"no hook (children run unskinned)");
    ::OutputDebugStringW(note);
}

bool hookThread(DWORD thread) {
    if (gStarted || ((gCbtHook || gMsgHook) && gUiThread == thread)) return true;
    if (gCbtHook) ::UnhookWindowsHookEx(gCbtHook);
    if (gMsgHook) ::UnhookWindowsHookEx(gMsgHook);
    gUiThread = thread;
    gCbtHook = ::SetWindowsHookExW(WH_CBT, &bootCbt, gModule, thread);
    gMsgHook = ::SetWindowsHookExW(WH_GETMESSAGE, &bootMsg, gModule, thread);
    return gCbtHook || gMsgHook;
}

}  // namespace

extern "C" {

// Called on the program's first thread before its entry point, outside the
// loader lock: that thread is the one that will make the windows.
__declspec(dllexport) void WINAPI qskin_run_start(void) {
    followChildren();
    startSkinning();
}

// Called by the launcher in a thread of its own inside the program, when
// the library could not be loaded on the user-interface thread itself:
// hooks that thread and wakes it so that a program already waiting for
// messages starts too. Returns 0 on success.
__declspec(dllexport) DWORD WINAPI qskin_run_attach(LPVOID uiThread) {
    const DWORD thread = DWORD(reinterpret_cast<UINT_PTR>(uiThread));
    followChildren();
    if (!hookThread(thread)) return 1;
    ::PostThreadMessageW(thread, WM_NULL, 0, 0);
    return 0;
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE inst, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        gModule = inst;
        ::DisableThreadLibraryCalls(inst);
    }
    return TRUE;
}
