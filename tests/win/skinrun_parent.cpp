// A program that starts another by one of the ways skinrun must follow:
//   skinrun_parent late COMMAND   through a library it loads only now
//   skinrun_parent shell FILE     through ShellExecuteEx of a shell library it loads only now
//   skinrun_parent winexec COMMAND  through WinExec, which takes the narrow-character path
//   skinrun_parent env COMMAND    with an environment of its own, without skinrun's settings
// Exit code 0 when the child was started.
//   skinrun_parent show [ANYTHING]  shows a window titled with its raw command
//                                   line; exit code 42 once it is closed
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::wstring ownFolder() {
    wchar_t path[MAX_PATH * 2] = {};
    ::GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L"\\/") + 1);
}

// This program's environment without the variables whose names start with
// QSKIN_: what a program building its children's environment from a list
// of its own would pass.
std::vector<wchar_t> environmentWithoutOurs() {
    std::vector<wchar_t> out;
    wchar_t* block = ::GetEnvironmentStringsW();
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1)
        if (_wcsnicmp(p, L"QSKIN_", 6) != 0) out.insert(out.end(), p, p + wcslen(p) + 1);
    ::FreeEnvironmentStringsW(block);
    out.push_back(0);
    if (out.size() == 1) out.push_back(0);
    return out;
}

LRESULT CALLBACK showProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) ::PostQuitMessage(42);
    return ::DefWindowProcW(w, msg, wParam, lParam);
}

int showCommandLine() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &showProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QsCommandLine";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassW(&wc);
    HWND w = ::CreateWindowExW(0, wc.lpszClassName, ::GetCommandLineW(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 400,
                               200, nullptr, nullptr, wc.hInstance, nullptr);
    if (!w) return 1;
    MSG m;
    while (::GetMessageW(&m, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
    return int(m.wParam);
}

}  // namespace


int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == L"show") return showCommandLine();
    if (argc < 3) return 2;
    const std::wstring mode = argv[1];
    std::wstring cmd = argv[2];
    if (mode == L"late") {
        HMODULE late = ::LoadLibraryW((ownFolder() + L"skinrun_late.dll").c_str());
        using Start = BOOL (*)(wchar_t*);
        auto start = late ? reinterpret_cast<Start>(reinterpret_cast<void*>(::GetProcAddress(late, "start_child"))) : nullptr;
        return start && start(cmd.data()) ? 0 : 1;
    }
    if (mode == L"shell") {
        HMODULE shell = ::LoadLibraryW(L"shell32.dll");
        using Execute = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);
        auto execute = shell ? reinterpret_cast<Execute>(reinterpret_cast<void*>(::GetProcAddress(shell, "ShellExecuteExW")))
                             : nullptr;
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.lpFile = cmd.c_str();
        info.nShow = SW_SHOWNORMAL;
        return execute && execute(&info) ? 0 : 1;
    }
    if (mode == L"winexec") {
        char narrow[MAX_PATH * 2] = {};
        ::WideCharToMultiByte(CP_ACP, 0, cmd.c_str(), -1, narrow, int(sizeof narrow), nullptr, nullptr);
        return ::WinExec(narrow, SW_SHOWNORMAL) > 31 ? 0 : 1;
    }
    if (mode == L"env") {
        std::vector<wchar_t> env = environmentWithoutOurs();
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, env.data(),
                              nullptr, &si, &pi))
            return 1;
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        return 0;
    }
    return 2;
}
