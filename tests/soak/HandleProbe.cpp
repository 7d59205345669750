// Loaded into a running program by qs_probe_inject, this library counts the
// program's GDI and USER objects from inside it, once a second, and appends
// "seconds gdi user" lines to C:\qs-handle-probe.txt. Wine's GetGuiResources
// answers 0, and GDI handles can only be probed from their own process.
#include <windows.h>

#include <cstdio>

namespace {

DWORD gPid = 0;

DWORD gdiObjects() {
    DWORD n = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}

BOOL CALLBACK countChild(HWND, LPARAM n) {
    ++*reinterpret_cast<DWORD*>(n);
    return TRUE;
}
BOOL CALLBACK countTop(HWND w, LPARAM n) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (pid != gPid) return TRUE;
    ++*reinterpret_cast<DWORD*>(n);
    ::EnumChildWindows(w, &countChild, n);
    return TRUE;
}

// Windows of this process (top-level, children, message-only) and its menus.
DWORD userObjects() {
    DWORD n = 0;
    ::EnumWindows(&countTop, reinterpret_cast<LPARAM>(&n));
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(w, &pid);
        if (pid == gPid) ++n;
    }
    for (ULONG_PTR i = 2; i < 0x10000; i += 2)
        if (::IsMenu(reinterpret_cast<HMENU>(i))) ++n;
    return n;
}

DWORD WINAPI probe(void*) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD gdi = gdiObjects(), user = userObjects();
        if (FILE* f = std::fopen("C:\\qs-handle-probe.txt", "a")) {
            std::fprintf(f, "%lu %lu %lu\n", (unsigned long)((::GetTickCount() - start) / 1000), (unsigned long)gdi,
                         (unsigned long)user);
            std::fclose(f);
        }
        ::Sleep(1000);
    }
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        gPid = ::GetCurrentProcessId();
        if (HANDLE t = ::CreateThread(nullptr, 0, &probe, nullptr, 0, nullptr)) ::CloseHandle(t);
    }
    return TRUE;
}
