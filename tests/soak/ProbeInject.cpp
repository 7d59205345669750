// qs_probe_inject TITLE DLL: loads DLL into the process that owns the
// top-level window called TITLE (a thread of its own runs LoadLibraryW there).
// Exit 0 when the library loaded.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qs_probe_inject TITLE DLL\n");
        return 2;
    }
    HWND w = ::FindWindowW(nullptr, argv[1]);
    if (!w) {
        std::fprintf(stderr, "qs_probe_inject: no window called %ls\n", argv[1]);
        return 1;
    }
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    HANDLE p = ::OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid);
    if (!p) {
        std::fprintf(stderr, "qs_probe_inject: cannot open process %lu\n", (unsigned long)pid);
        return 1;
    }
    const std::wstring dll = argv[2];
    const SIZE_T bytes = (dll.size() + 1) * sizeof(wchar_t);
    void* remote = ::VirtualAllocEx(p, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    int rc = 1;
    if (remote && ::WriteProcessMemory(p, remote, dll.c_str(), bytes, nullptr)) {
        // kernel32 sits at the same address in every process of one architecture.
        auto* load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
            reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
        if (HANDLE t = ::CreateRemoteThread(p, nullptr, 0, load, remote, 0, nullptr)) {
            ::WaitForSingleObject(t, 10000);
            DWORD code = 0;
            ::GetExitCodeThread(t, &code);
            rc = code ? 0 : 1;
            ::CloseHandle(t);
        }
    }
    if (rc) std::fprintf(stderr, "qs_probe_inject: the library did not load\n");
    if (remote) ::VirtualFreeEx(p, remote, 0, MEM_RELEASE);
    ::CloseHandle(p);
    return rc;
}
