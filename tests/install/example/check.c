/* Run by the package test: a plain window of a program built against the
   installed package comes up skinned with the skin named on the command line. */
#include <windows.h>
#include <stdio.h>
#include <qskin/qskin.h>

int main(int argc, char **argv) {
    wchar_t path[MAX_PATH];
    HWND w;
    MSG msg;
    DWORD start;
    int loaded, enabled, skinned;
    if (argc < 2) return 2;
    MultiByteToWideChar(CP_UTF8, 0, argv[1], -1, path, MAX_PATH);
    loaded = qskin_load_file(path);
    enabled = qskin_enable();
    {
        WNDCLASSW wc = {0, DefWindowProcW, 0, 0, GetModuleHandleW(NULL), NULL, NULL, (HBRUSH)(COLOR_WINDOW + 1),
                        NULL, L"PackageCheck"};
        RegisterClassW(&wc);
    }
    w = CreateWindowW(L"PackageCheck", L"Package check", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200, NULL, NULL,
                      GetModuleHandleW(NULL), NULL);
    if (!w) printf("no window: error %lu\n", (unsigned long)GetLastError());
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    for (start = GetTickCount(); GetTickCount() - start < 500;) {
        while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(10);
    }
    skinned = qskin_is_skinned(w);
    printf("qskin %s: load %d, enable %d, skinned %d\n", qskin_version(), loaded, enabled, skinned);
    DestroyWindow(w);
    qskin_shutdown();
    return loaded == QSKIN_OK && enabled == QSKIN_OK && skinned == 1 ? 0 : 1;
}
