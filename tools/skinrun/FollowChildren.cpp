// Programs started by a skinned program come up skinned too: the process
// creation functions the program's modules import are replaced by ours,
// which start the child suspended, point its first thread at the engine like
// the launcher does (or have the launcher of the other bitness do it), and
// let it run.
#include "FollowChildren.h"

#include <tlhelp32.h>

#include "Inject.h"

namespace qs::run {

namespace {

using CreateW = BOOL(WINAPI*)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                              LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
using CreateA = BOOL(WINAPI*)(LPCSTR, LPSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                              LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION);

CreateW gRealW = nullptr;
CreateA gRealA = nullptr;
HMODULE gSelf = nullptr;

// A child of the other bitness cannot load this library; the launcher of
// that bitness, when one was named, prepares it instead. Bounded: the child
// is resumed whatever happens.
void handOver(const PROCESS_INFORMATION* pi) {
    wchar_t other[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"QSKIN_RUN_OTHER", other, DWORD(std::size(other)));
    if (n == 0 || n >= std::size(other)) return;
    wchar_t line[MAX_PATH * 2 + 64];
    wsprintfW(line, L"\"%s\" --inject %lu %lu", other, pi->dwProcessId, pi->dwThreadId);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION helper{};
    if (!gRealW(nullptr, line, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &helper)) return;
    if (::WaitForSingleObject(helper.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(helper.hProcess, 1);
    ::CloseHandle(helper.hThread);
    ::CloseHandle(helper.hProcess);
}

void follow(const PROCESS_INFORMATION* pi, DWORD flags) {
    BOOL selfWow = FALSE, childWow = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &selfWow);
    ::IsWow64Process(pi->hProcess, &childWow);
    if (selfWow == childWow) {
        wchar_t path[MAX_PATH * 2] = {};
        const DWORD n = ::GetModuleFileNameW(gSelf, path, DWORD(std::size(path)));
        if (n && n < std::size(path)) redirectEntry(pi->hProcess, pi->hThread, path, "qskin_run_start", nullptr);
    } else {
        handOver(pi);
    }
    if (!(flags & CREATE_SUSPENDED)) ::ResumeThread(pi->hThread);
}

// Starts the child suspended through `start` (the real function with the
// caller's arguments and the given flags), then follows it; the caller sees
// the last error the real start left.
template <class Start>
BOOL startAndFollow(Start start, DWORD flags, LPPROCESS_INFORMATION pi) {
    if (!start(flags | CREATE_SUSPENDED)) return FALSE;
    const DWORD error = ::GetLastError();
    follow(pi, flags);
    ::SetLastError(error);
    return TRUE;
}

BOOL WINAPI followW(LPCWSTR app, LPWSTR cmd, LPSECURITY_ATTRIBUTES pa, LPSECURITY_ATTRIBUTES ta, BOOL inherit,
                    DWORD flags, LPVOID env, LPCWSTR dir, LPSTARTUPINFOW si, LPPROCESS_INFORMATION pi) {
    return startAndFollow([&](DWORD f) { return gRealW(app, cmd, pa, ta, inherit, f, env, dir, si, pi); }, flags, pi);
}

BOOL WINAPI followA(LPCSTR app, LPSTR cmd, LPSECURITY_ATTRIBUTES pa, LPSECURITY_ATTRIBUTES ta, BOOL inherit,
                    DWORD flags, LPVOID env, LPCSTR dir, LPSTARTUPINFOA si, LPPROCESS_INFORMATION pi) {
    return startAndFollow([&](DWORD f) { return gRealA(app, cmd, pa, ta, inherit, f, env, dir, si, pi); }, flags, pi);
}

void setSlot(ULONG_PTR* slot, ULONG_PTR value) {
    DWORD old = 0;
    if (!::VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return;
    *slot = value;
    ::VirtualProtect(slot, sizeof *slot, old, &old);
}

// Import slots of `module` holding one of the real functions get ours.
int patchModule(HMODULE module, const FARPROC (&real)[2], const FARPROC (&ours)[2]) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return 0;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return 0;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress || !dir.Size) return 0;
    int patched = 0;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (!imp->FirstThunk) continue;
        for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk); t->u1.Function; ++t)
            for (int k = 0; k < 2; ++k)
                if (real[k] && t->u1.Function == ULONG_PTR(real[k])) {
                    setSlot(reinterpret_cast<ULONG_PTR*>(&t->u1.Function), ULONG_PTR(ours[k]));
                    ++patched;
                }
    }
    return patched;
}

}  // namespace

int followChildProcesses(HMODULE self) {
    if (gRealW || gRealA) return 0;
    gSelf = self;
    HMODULE k32 = ::GetModuleHandleW(L"kernel32.dll");
    gRealW = reinterpret_cast<CreateW>(reinterpret_cast<void*>(::GetProcAddress(k32, "CreateProcessW")));
    gRealA = reinterpret_cast<CreateA>(reinterpret_cast<void*>(::GetProcAddress(k32, "CreateProcessA")));
    if (!gRealW || !gRealA) return 0;
    const FARPROC real[2] = {reinterpret_cast<FARPROC>(reinterpret_cast<void*>(gRealW)),
                             reinterpret_cast<FARPROC>(reinterpret_cast<void*>(gRealA))};
    const FARPROC ours[2] = {reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&followW)),
                             reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&followA))};
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0);
    if (snap == INVALID_HANDLE_VALUE) return 0;
    MODULEENTRY32W me{};
    me.dwSize = sizeof me;
    int patched = 0;
    for (BOOL ok = ::Module32FirstW(snap, &me); ok; ok = ::Module32NextW(snap, &me))
        if (me.hModule != self) patched += patchModule(me.hModule, real, ours);
    ::CloseHandle(snap);
    return patched;
}

}  // namespace qs::run
