// skinrun [--skin FILE] [--no-children] [--no-palette] [--other SKINRUN] PROGRAM [ARGS...]
//
// Starts PROGRAM suspended, loads the engine library (qskin.dll, next to this
// program) into it and lets it skin the program's user-interface thread, so
// an unmodified Win32 program comes up dressed in the skin. Without --skin,
// default.skn next to this program is used. Programs that PROGRAM starts are
// skinned the same way unless --no-children is given; those of the other
// bitness only when --other names the skinrun of that bitness. What the
// program paints in the system's colours takes the skin's colours too, unless
// --no-palette is given.
//
// The program's first thread is pointed at a few instructions of ours that
// load the library and switch skinning on, then jump to the program's own
// entry point: by then the system libraries are initialised, the loader lock
// is free, and no window exists yet, so even the first frame is skinned.
// Should that fail, the library is loaded from a thread of its own once the
// program has a window and told which thread to hook.
//
// A program of the other bitness is handed to the skinrun that --other names.
// The program's command line is passed on exactly as given.
//
// Exit code: the program's own exit code, or 120 and a message on stderr
// when the program could not be started or skinned.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Inject.h"

namespace {

constexpr int kFailed = 120;

std::wstring folderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

std::wstring ownFolder() {
    wchar_t path[MAX_PATH * 2] = {};
    ::GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    return folderOf(path);
}

std::wstring fullPath(const std::wstring& p) {
    wchar_t out[MAX_PATH * 2] = {};
    const DWORD n = ::GetFullPathNameW(p.c_str(), DWORD(std::size(out)), out, nullptr);
    return n && n < std::size(out) ? std::wstring(out) : p;
}

// Reads this program's own arguments from its raw command line by the C
// runtime's rules, and hands over the rest untouched: programs such as
// installers parse their raw command line themselves, and splitting and
// quoting it again would change what they see ("/D=C:\a  b", quotes
// inside an argument).
class TArguments {
public:
    explicit TArguments(const wchar_t* line) : FAt(line ? line : L"") {
        // The program's name: up to the closing quote, or the first blank.
        if (*FAt == L'"') {
            ++FAt;
            while (*FAt && *FAt != L'"') ++FAt;
            if (*FAt) ++FAt;
        }
        while (*FAt && *FAt != L' ' && *FAt != L'\t') ++FAt;
        skipBlanks();
    }
    bool atEnd() const { return *FAt == 0; }
    // What is left, exactly as given.
    const wchar_t* rest() const { return FAt; }
    std::wstring next() {
        std::wstring arg;
        bool quoted = false;
        while (*FAt && (quoted || (*FAt != L' ' && *FAt != L'\t'))) {
            std::size_t slashes = 0;
            while (FAt[slashes] == L'\\') ++slashes;
            if (FAt[slashes] == L'"') {
                arg.append(slashes / 2, L'\\');
                FAt += slashes;
                if (slashes % 2) {
                    arg += L'"';
                } else if (quoted && FAt[1] == L'"') {
                    arg += L'"';
                    ++FAt;
                } else {
                    quoted = !quoted;
                }
                ++FAt;
            } else if (slashes) {
                arg.append(slashes, L'\\');
                FAt += slashes;
            } else {
                arg += *FAt++;
            }
        }
        skipBlanks();
        return arg;
    }

private:
    void skipBlanks() {
        while (*FAt == L' ' || *FAt == L'\t') ++FAt;
    }
    const wchar_t* FAt;
};

int fail(const wchar_t* what, DWORD error = ::GetLastError()) {
    std::fwprintf(stderr, L"skinrun: %ls (error %lu)\n", what, static_cast<unsigned long>(error));
    return kFailed;
}

bool moduleLoaded(DWORD pid, const std::wstring& name, HMODULE* base) {
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32W me{};
    me.dwSize = sizeof me;
    bool found = false;
    for (BOOL ok = ::Module32FirstW(snap, &me); ok && !found; ok = ::Module32NextW(snap, &me))
        if (::lstrcmpiW(me.szModule, name.c_str()) == 0) {
            found = true;
            if (base) *base = me.hModule;
        }
    ::CloseHandle(snap);
    return found;
}

// Runs `start(param)` in a new thread of the process and waits (bounded).
bool runRemote(HANDLE process, LPTHREAD_START_ROUTINE start, LPVOID param, DWORD* exitCode) {
    HANDLE t = ::CreateRemoteThread(process, nullptr, 0, start, param, 0, nullptr);
    if (!t) return false;
    const bool done = ::WaitForSingleObject(t, 10000) == WAIT_OBJECT_0;
    if (done && exitCode) ::GetExitCodeThread(t, exitCode);
    ::CloseHandle(t);
    return done;
}

BOOL CALLBACK noteWindow(HWND, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

void usage() {
    std::fwprintf(stderr, L"usage: skinrun [--skin FILE] [--no-children] [--no-palette] [--other SKINRUN] PROGRAM [ARGS...]\n");
}

// skinrun --inject PID TID: prepares the suspended process PID, whose first
// thread is TID, like a program of its own; called by the library in a
// program of the other bitness that has just started this one's kind.
int injectInto(const wchar_t* pidText, const wchar_t* tidText) {
    const DWORD pid = DWORD(std::wcstoul(pidText, nullptr, 10)), tid = DWORD(std::wcstoul(tidText, nullptr, 10));
    HANDLE process = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    HANDLE thread = ::OpenThread(THREAD_GET_CONTEXT | THREAD_SET_CONTEXT | THREAD_QUERY_INFORMATION, FALSE, tid);
    std::wstring why = L"cannot open the process";
    const bool ok = process && thread && qs::run::redirectEntry(process, thread, ownFolder() + L"qskin.dll", "qskin_run_start", &why);
    if (thread) ::CloseHandle(thread);
    if (process) ::CloseHandle(process);
    return ok ? 0 : fail(why.c_str(), 0);
}

// The program is of the other bitness: the skinrun of that bitness, named by
// --other, runs it with the same skin and settings and the same command
// line, and its exit code is passed back.
int handOver(const std::wstring& other, const std::wstring& skin, bool noChildren, bool noPalette,
             const wchar_t* program) {
    wchar_t self[MAX_PATH * 2] = {};
    ::GetModuleFileNameW(nullptr, self, DWORD(std::size(self)));
    std::wstring line = L"\"" + other + L"\" --skin \"" + skin + L"\" --other \"" + self + L"\" ";
    if (noChildren) line += L"--no-children ";
    if (noPalette) line += L"--no-palette ";
    line += L"-- ";
    line += program;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(0);
    if (!::CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return fail((L"cannot start the other skinrun " + other).c_str());
    ::CloseHandle(pi.hThread);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = kFailed;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hProcess);
    return int(code);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 4 && std::wstring(argv[1]) == L"--inject") return injectInto(argv[2], argv[3]);
    std::wstring skin = ownFolder() + L"default.skn", other;
    bool noChildren = false, noPalette = false;
    TArguments args(::GetCommandLineW());
    while (!args.atEnd()) {
        // Looked at before it is taken: the first word that is not an option
        // starts the program's command line.
        TArguments peek = args;
        const std::wstring a = peek.next();
        if (a == L"--skin" && !peek.atEnd()) {
            skin = peek.next();
        } else if (a == L"--no-children") {
            noChildren = true;
            ::SetEnvironmentVariableW(L"QSKIN_RUN_CHILDREN", L"0");
        } else if (a == L"--no-palette") {
            noPalette = true;
            ::SetEnvironmentVariableW(L"QSKIN_RUN_PALETTE", L"0");
        } else if (a == L"--other" && !peek.atEnd()) {
            // The skinrun of the other bitness, for programs of that bitness.
            other = fullPath(peek.next());
            ::SetEnvironmentVariableW(L"QSKIN_RUN_OTHER", other.c_str());
        } else if (a == L"--help" || a == L"-h") {
            usage();
            return 0;
        } else if (a == L"--") {
            args = peek;
            break;
        } else {
            break;
        }
        args = peek;
    }
    if (args.atEnd()) {
        usage();
        return kFailed;
    }
    skin = fullPath(skin);
    if (::GetFileAttributesW(skin.c_str()) == INVALID_FILE_ATTRIBUTES) return fail((L"no skin file " + skin).c_str());
    const std::wstring dll = ownFolder() + L"qskin.dll";
    if (::GetFileAttributesW(dll.c_str()) == INVALID_FILE_ATTRIBUTES) return fail((L"no engine library " + dll).c_str());

    const std::wstring cmd = args.rest();

    // The child inherits it: which skin to load.
    ::SetEnvironmentVariableW(L"QSKIN_RUN_SKIN", skin.c_str());

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> line(cmd.begin(), cmd.end());
    line.push_back(0);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
        return fail((L"cannot start " + cmd).c_str());

    BOOL selfWow = FALSE, childWow = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &selfWow);
    ::IsWow64Process(pi.hProcess, &childWow);
    if (selfWow != childWow) {
        // It has not run a single instruction of its own yet.
        ::TerminateProcess(pi.hProcess, kFailed);
        ::WaitForSingleObject(pi.hProcess, 5000);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        if (other.empty())
            return fail(L"the program is of the other bitness: name the skinrun of its bitness with --other", 0);
        return handOver(other, skin, noChildren, noPalette, cmd.c_str());
    }

    std::wstring why;
    // QSKIN_RUN_LATE=1 takes the late route on purpose, to compare the two.
    wchar_t late[4] = {};
    const bool forceLate = ::GetEnvironmentVariableW(L"QSKIN_RUN_LATE", late, 4) && late[0] == L'1';
    bool early = !forceLate && qs::run::redirectEntry(pi.hProcess, pi.hThread, dll, "qskin_run_start", &why);
    if (!early && !forceLate) std::fwprintf(stderr, L"skinrun: %ls; loading the engine late\n", why.c_str());
    ::ResumeThread(pi.hThread);

    // Until the library is in, or the program's first thread has made its
    // first window: then it is running its own code, and a library that is
    // still missing (never redirected, or its load failed in the program) is
    // loaded from a thread of its own. Bounded, so a program without windows
    // is never held up.
    HMODULE base = nullptr;
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 10000;) {
        if (early && moduleLoaded(pi.dwProcessId, L"qskin.dll", &base)) break;
        if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        bool hasWindow = false;
        ::EnumThreadWindows(pi.dwThreadId, &noteWindow, reinterpret_cast<LPARAM>(&hasWindow));
        if (hasWindow) {
            if (early && !moduleLoaded(pi.dwProcessId, L"qskin.dll", &base)) {
                std::fwprintf(stderr, L"skinrun: the engine did not load at the program's start; loading it late\n");
                early = false;
            }
            break;
        }
        ::Sleep(early ? 5 : 20);
    }
    if (!early && ::WaitForSingleObject(pi.hProcess, 0) != WAIT_OBJECT_0) {
        // The library's path in the program's memory, for LoadLibraryW.
        const std::size_t bytes = (dll.size() + 1) * sizeof(wchar_t);
        void* remote = ::VirtualAllocEx(pi.hProcess, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        void* loadLibrary = reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW"));
        DWORD loaded = 0;
        if (!remote || !::WriteProcessMemory(pi.hProcess, remote, dll.c_str(), bytes, nullptr) ||
            !runRemote(pi.hProcess, reinterpret_cast<LPTHREAD_START_ROUTINE>(loadLibrary), remote, &loaded) ||
            !moduleLoaded(pi.dwProcessId, L"qskin.dll", &base)) {
            std::fwprintf(stderr, L"skinrun: the engine could not be loaded into the program; it runs unskinned\n");
        }
    }
    if (base && !early) {
        // The attach routine's address in the program: same offset from the
        // library's base as here.
        HMODULE local = ::LoadLibraryExW(dll.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
        auto* attach = local ? reinterpret_cast<BYTE*>(::GetProcAddress(local, "qskin_run_attach")) : nullptr;
        if (attach) {
            auto* remoteAttach = reinterpret_cast<BYTE*>(base) + (attach - reinterpret_cast<BYTE*>(local));
            DWORD rc = 1;
            runRemote(pi.hProcess, reinterpret_cast<LPTHREAD_START_ROUTINE>(remoteAttach),
                      reinterpret_cast<LPVOID>(UINT_PTR(pi.dwThreadId)), &rc);
            if (rc != 0) std::fwprintf(stderr, L"skinrun: could not hook the program's thread\n");
        }
        if (local) ::FreeLibrary(local);
    }
    ::CloseHandle(pi.hThread);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    ::CloseHandle(pi.hProcess);
    return int(code);
}
