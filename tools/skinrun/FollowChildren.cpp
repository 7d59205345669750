// Programs started by a skinned program come up skinned too. Every way a
// program starts another (CreateProcess A or W from any module, loaded at
// start or later, WinExec, ShellExecute(Ex), the shell's own launches)
// meets in one function of the system's base library,
// CreateProcessInternalW: that function is hooked in place. Ours
// starts the child suspended, points its first thread at the engine like the
// launcher does (or has the launcher of the other bitness do it), and lets
// it run.
#include "FollowChildren.h"

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "InlineHook.h"
#include "Inject.h"

namespace qs::run {

namespace {

using CreateInternalW = BOOL(WINAPI*)(HANDLE, LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                      DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION, PHANDLE);

CreateInternalW gOriginal = nullptr;
HMODULE gSelf = nullptr;
const wchar_t* gWhere = nullptr;

// The variables that carry skinrun's settings into a child.
constexpr const wchar_t* kOurVariables[] = {L"QSKIN_RUN_SKIN", L"QSKIN_RUN_OTHER", L"QSKIN_RUN_CHILDREN",
                                            L"QSKIN_RUN_PALETTE"};

BOOL startOriginal(LPCWSTR app, LPWSTR cmd, DWORD flags, LPVOID env, LPSTARTUPINFOW si, LPPROCESS_INFORMATION pi) {
    return gOriginal(nullptr, app, cmd, nullptr, nullptr, FALSE, flags, env, nullptr, si, pi, nullptr);
}

// A child of the other bitness cannot load this library; the launcher of
// that bitness, when one was named, prepares it instead. Bounded: the child
// is resumed whatever happens. Started past the hook, so the helper itself
// is not followed.
void handOver(const PROCESS_INFORMATION* pi) {
    wchar_t other[MAX_PATH * 2] = {};
    const DWORD n = ::GetEnvironmentVariableW(L"QSKIN_RUN_OTHER", other, DWORD(std::size(other)));
    if (n == 0 || n >= std::size(other)) return;
    wchar_t line[MAX_PATH * 2 + 64];
    wsprintfW(line, L"\"%s\" --inject %lu %lu", other, pi->dwProcessId, pi->dwThreadId);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION helper{};
    if (!startOriginal(nullptr, line, CREATE_NO_WINDOW, nullptr, &si, &helper)) return;
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

template <class Char>
bool namesSkin(const Char* entry) {
    for (const wchar_t* name = L"QSKIN_RUN_SKIN="; *name; ++name, ++entry)
        if (!*entry || std::towupper(wint_t(*entry)) != wint_t(*name)) return false;
    return true;
}

// A caller that hands the child an environment of its own would leave our
// settings behind, and the child would load the engine without a skin: the
// block is copied with ours added where it lacks them. Empty when nothing
// needs adding.
template <class Char>
std::vector<Char> withOurVariables(const Char* env) {
    std::size_t length = 0;  // up to, not including, the final terminator
    for (const Char* p = env; *p;) {
        if (namesSkin(p)) return {};
        std::size_t n = 0;
        while (p[n]) ++n;
        p += n + 1;
        length += n + 1;
    }
    std::vector<Char> out(env, env + length);
    for (const wchar_t* name : kOurVariables) {
        wchar_t value[MAX_PATH * 2] = {};
        const DWORD n = ::GetEnvironmentVariableW(name, value, DWORD(std::size(value)));
        if (n == 0 || n >= std::size(value)) continue;
        const std::wstring entry = std::wstring(name) + L"=" + value;
        if constexpr (sizeof(Char) == sizeof(wchar_t)) {
            out.insert(out.end(), entry.begin(), entry.end());
        } else {
            const int bytes =
                ::WideCharToMultiByte(CP_ACP, 0, entry.c_str(), int(entry.size()), nullptr, 0, nullptr, nullptr);
            std::string narrow(std::size_t(std::max(bytes, 0)), '\0');
            ::WideCharToMultiByte(CP_ACP, 0, entry.c_str(), int(entry.size()), narrow.data(), bytes, nullptr, nullptr);
            out.insert(out.end(), narrow.begin(), narrow.end());
        }
        out.push_back(0);
    }
    out.push_back(0);
    // An empty block is a single terminator pair.
    if (out.size() == 1) out.push_back(0);
    return out;
}

BOOL WINAPI followInternalW(HANDLE token, LPCWSTR app, LPWSTR cmd, LPSECURITY_ATTRIBUTES pa,
                            LPSECURITY_ATTRIBUTES ta, BOOL inherit, DWORD flags, LPVOID env, LPCWSTR dir,
                            LPSTARTUPINFOW si, LPPROCESS_INFORMATION pi, PHANDLE newToken) {
    const DWORD error = ::GetLastError();
    std::vector<wchar_t> wideEnv;
    std::vector<char> narrowEnv;
    if (env && (flags & CREATE_UNICODE_ENVIRONMENT)) {
        wideEnv = withOurVariables(static_cast<const wchar_t*>(env));
        if (!wideEnv.empty()) env = wideEnv.data();
    } else if (env) {
        narrowEnv = withOurVariables(static_cast<const char*>(env));
        if (!narrowEnv.empty()) env = narrowEnv.data();
    }
    ::SetLastError(error);
    if (!gOriginal(token, app, cmd, pa, ta, inherit, flags | CREATE_SUSPENDED, env, dir, si, pi, newToken))
        return FALSE;
    const DWORD lastError = ::GetLastError();
    follow(pi, flags);
    ::SetLastError(lastError);
    return TRUE;
}

}  // namespace

const wchar_t* followChildProcesses(HMODULE self) {
    if (gOriginal) return gWhere;
    gSelf = self;
    // The base library holds the common function; older systems have it in
    // kernel32 only.
    for (const wchar_t* module : {L"kernelbase.dll", L"kernel32.dll"}) {
        HMODULE m = ::GetModuleHandleW(module);
        void* target = m ? reinterpret_cast<void*>(::GetProcAddress(m, "CreateProcessInternalW")) : nullptr;
        if (!target) continue;
        // The hook outlives any FreeLibrary of ours: the library stays.
        HMODULE pinned = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                             reinterpret_cast<LPCWSTR>(&followInternalW), &pinned);
        if (hook::hookFunction(target, reinterpret_cast<void*>(&followInternalW), reinterpret_cast<void**>(&gOriginal))) {
            gWhere = module;
            return gWhere;
        }
    }
    return nullptr;
}

}  // namespace qs::run
