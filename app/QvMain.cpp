// Program entry: the application object, the main form, the message loop.
#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "SkinForm.h"
#include "U_qv.h"

namespace {

LARGE_INTEGER gEntry{};
HHOOK gHook = nullptr;
double gFirstFrameMs = -1;

double msSinceEntry() {
    LARGE_INTEGER now{}, freq{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return double(now.QuadPart - gEntry.QuadPart) * 1000.0 / double(freq.QuadPart);
}

// Committed pages private to the process, as a walk of the address space sees them.
SIZE_T privateCommitted() {
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION mbi{};
    const char* p = nullptr;
    while (VirtualQuery(p, &mbi, sizeof(mbi)) == sizeof(mbi)) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
        const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
        if (next <= p) break;
        p = next;
    }
    return total;
}

// What the system counts as the process's private bytes; 0 when it cannot tell.
SIZE_T privateUsage() {
    using Query = BOOL(WINAPI*)(HANDLE, PPROCESS_MEMORY_COUNTERS, DWORD);
    FARPROC proc = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "K32GetProcessMemoryInfo");
    if (!proc) return 0;
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(proc));
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    if (!query(GetCurrentProcess(), reinterpret_cast<PPROCESS_MEMORY_COUNTERS>(&pmc), sizeof(pmc))) return 0;
    return pmc.PrivateUsage;
}

void CALLBACK reportAndClose(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (gHook) UnhookWindowsHookEx(gHook);
    gHook = nullptr;
    const qv::TViewerOptions& o = qv::ViewerOptions();
    if (FILE* f = _wfopen(o.firstFrameReport.c_str(), L"w")) {
        std::fprintf(f, "first_frame_ms=%.3f\nskinned=%d\nprivate_committed=%lu\nprivate_usage=%lu\nskin_loaded=%d\n",
                     gFirstFrameMs, o.skinningOff ? 0 : 1, static_cast<unsigned long>(privateCommitted()),
                     static_cast<unsigned long>(privateUsage()),
                     qv::F_qv && qv::F_qv->SD && qv::F_qv->SD->SkinLoaded() ? 1 : 0);
        std::fclose(f);
    }
    if (qv::F_qv) PostMessageW(qv::F_qv->Handle(), WM_CLOSE, 0, 0);
}

// The first non-client paint of the main window that shows the frame the
// run asked for: the skin's, or the system's with skinning off. A skinned
// window's paints before its activation draw nothing: the frame is up once
// the form skin has composed it (and so copied it to the window).
LRESULT CALLBACK afterSentMessage(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && gFirstFrameMs < 0) {
        const auto* c = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        const qs::TWinSkinForm* skin = nullptr;
        if (c->message == WM_NCPAINT && qv::F_qv && c->hwnd == qv::F_qv->HandleIfAllocated() &&
            (qv::ViewerOptions().skinningOff ||
             ((skin = qs::TWinSkinForm::FromWindow(c->hwnd)) && skin->FFrameValid))) {
            gFirstFrameMs = msSinceEntry();
            // The memory is read once the window has settled.
            SetTimer(nullptr, 0, 1000, reportAndClose);
        }
    }
    return CallNextHookEx(gHook, code, wParam, lParam);
}

void readCommandLine() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return;
    qv::TViewerOptions& o = qv::ViewerOptions();
    for (int i = 1; i < argc; ++i) {
        const std::wstring a = argv[i];
        if (a == L"--no-skin")
            o.skinningOff = true;
        else if (a == L"--first-frame" && i + 1 < argc)
            o.firstFrameReport = argv[++i];
    }
    LocalFree(argv);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace qs;
    QueryPerformanceCounter(&gEntry);
    readCommandLine();
    if (!qv::ViewerOptions().firstFrameReport.empty()) {
        gHook = SetWindowsHookExW(WH_CALLWNDPROCRET, afterSentMessage, nullptr, GetCurrentThreadId());
        // A run that never shows its frame still ends, and says so.
        SetTimer(nullptr, 0, 30000, reportAndClose);
    }
    qv::RegisterViewerClasses();
    Application->Initialize();
    Application->CreateForm(&qv::F_qv);
    Application->Run();
    return 0;
}
