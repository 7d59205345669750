// A library loaded after its program started, which starts a program: its
// import table was not there when skinrun's engine arrived.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL start_child(wchar_t* cmd) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(nullptr, cmd, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return FALSE;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return TRUE;
}
