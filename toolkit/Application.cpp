#include "Application.h"

#include <commctrl.h>

#include <cstdio>
#include <stdexcept>

#include "ComCtrls.h"
#include "ExtCtrls.h"

namespace qs {

namespace {

LRESULT CALLBACK AppWindowProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcW(wnd, msg, w, l); }

std::wstring ModuleBaseName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path);
    size_t slash = s.find_last_of(L"\\/");
    if (slash != std::wstring::npos) s.erase(0, slash + 1);
    size_t dot = s.find_last_of(L'.');
    if (dot != std::wstring::npos) s.erase(dot);
    return s;
}
}  // namespace

namespace {
// Plain data with constant initial values: set before any static initialiser
// runs, whatever the order of files.
TApplication* gApplication = nullptr;
bool gApplicationMade = false;
}  // namespace

TApplicationRef Application;

// Never freed: forms may outlive main until the process ends, and static
// destruction order across files is not ours to choose.
TApplication* TApplicationRef::get() const {
    if (!gApplicationMade) {
        gApplicationMade = true;
        gApplication = new TApplication(nullptr);
    }
    return gApplication;
}

TApplication* TApplicationRef::peek() const { return gApplication; }

TApplicationRef& TApplicationRef::operator=(TApplication* app) {
    gApplicationMade = true;
    gApplication = app;
    return *this;
}

void ReportCurrentException() {
    std::exception_ptr e = std::current_exception();
    if (!e) return;
    // A report may be modal and pump messages; whatever fails while it is up
    // (a timer, a paint) would open another over it, until the stack runs
    // out. One report at a time on a thread: the others go to the debugger.
    static thread_local bool reporting = false;
    if (reporting) {
        std::string line = "error while a report was open: " + TApplication::DescribeException(e) + "\n";
        ::OutputDebugStringA(line.c_str());
        return;
    }
    if (TApplication* app = Application.get()) {
        reporting = true;
        try {
            app->HandleException(app, e);
        } catch (...) {
            // A failing report must not unwind into the system.
        }
        reporting = false;
    }
}

const TClassInfo& TApplication::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TApplication>("TApplication", &TComponent::StaticClassInfo()).build();
    return info;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
    HINSTANCE inst = GetModuleHandleW(nullptr);
    FIcon = LoadIconW(inst, L"MAINICON");
    if (!FIcon) FIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    FTitle = ModuleBaseName();
}

TApplication::~TApplication() {
    DestroyComponents();
    if (FHandle) DestroyWindow(FHandle);
    if (FOwnsIcon && FIcon) DestroyIcon(FIcon);
    if (Application.peek() == this) Application = nullptr;
}

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    RegisterControlClasses();
}

HWND TApplication::Handle() {
    if (FHandle) return FHandle;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = inst;
    wc.lpszClassName = L"TApplication";
    wc.hIcon = FIcon;
    RegisterClassExW(&wc);
    // A message-only window: it takes part in no activation and no skinning.
    FHandle = CreateWindowExW(0, L"TApplication", FTitle.c_str(), 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, inst, nullptr);
    return FHandle;
}

void TApplication::SetTitle(const std::wstring& t) {
    FTitle = t;
    if (FHandle) SetWindowTextW(FHandle, t.c_str());
}

void TApplication::SetIcon(HICON icon) {
    if (FOwnsIcon && FIcon && FIcon != icon) DestroyIcon(FIcon);
    FOwnsIcon = false;
    FIcon = icon;
}

void TApplication::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == FMainForm) FMainForm = nullptr;
}

// ---- message loop ----

bool TApplication::PreprocessMessage(MSG& m) {
    if (m.message < WM_KEYFIRST || m.message > WM_KEYLAST) return false;
    TWinControl* target = FindControl(m.hwnd);
    if (!target) return false;
    if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) {
        // Menu shortcuts of the form go before the control sees the key.
        TCustomForm* form = GetParentForm(target);
        if (form && form->Menu()) try {
                if (form->Menu()->IsShortCut(WORD(m.wParam))) return true;
            } catch (...) {
                ReportCurrentException();
                return true;
            }
    }
    UINT cn = 0;
    switch (m.message) {
        case WM_KEYDOWN: cn = CN_KEYDOWN; break;
        case WM_SYSKEYDOWN: cn = CN_SYSKEYDOWN; break;
        case WM_SYSCHAR: cn = CN_SYSCHAR; break;
        default: return false;
    }
    try {
        return target->Perform(cn, m.wParam, m.lParam) != 0;
    } catch (...) {
        ReportCurrentException();
        return true;
    }
}

bool TApplication::HandleMessage() {
    MSG m;
    if (!PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) return false;
    if (m.message == WM_QUIT) {
        FTerminated = true;
        FQuitPosted = false;
        return true;
    }
    if (!PreprocessMessage(m)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return true;
}

void TApplication::ProcessMessages() {
    while (HandleMessage()) {
    }
}

void TApplication::Run() {
    FTerminated = false;
    FQuitPosted = false;
    if (!FMainForm) {  // nothing could ever end the loop
        FTerminated = true;
        DestroyComponents();
        return;
    }
    if (FShowMainForm) {
        try {
            FMainForm->Show();
        } catch (...) {
            ReportCurrentException();
        }
    }
    // Ends with the WM_QUIT that Terminate posts, so none is left behind.
    MSG m;
    for (;;) {
        BOOL r = GetMessageW(&m, nullptr, 0, 0);
        if (r == 0 || r == -1) break;
        if (!PreprocessMessage(m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        // The main form gone by any road (freed, or its window destroyed).
        if (!FMainForm || !FMainForm->HandleAllocated()) Terminate();
    }
    FTerminated = true;
    FQuitPosted = false;
    // Forms go now, while the program can still run their handlers.
    DestroyComponents();
}

void TApplication::Terminate() {
    if (!FQuitPosted) PostQuitMessage(0);
    FQuitPosted = true;
}

// ---- errors ----

std::string TApplication::DescribeException(std::exception_ptr error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
    return {};
}

void TApplication::HandleException(TObject* sender, std::exception_ptr error) {
    if (OnException) {
        OnException(sender, error);
        return;
    }
    ShowException(error);
}

void TApplication::ShowException(std::exception_ptr error) {
    std::string text = DescribeException(error);
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    bool haveStream = err && err != INVALID_HANDLE_VALUE && GetFileType(err) != FILE_TYPE_UNKNOWN;
    if (haveStream) {
        std::string line = "error: " + text + "\n";
        DWORD written = 0;
        WriteFile(err, line.data(), DWORD(line.size()), &written, nullptr);
        return;
    }
    // Nobody to read a stream: a person is looking at the screen.
    std::wstring wide = Utf8ToWide(text);
    HWND owner = FMainForm ? FMainForm->HandleIfAllocated() : nullptr;
    MessageBoxW(owner, wide.c_str(), FTitle.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

// ---- class registry ----

void RegisterControlClasses() {
    RegisterGraphicsClasses();
    RegisterComponentClass(TForm::StaticClassInfo());
    RegisterComponentClass(TPanel::StaticClassInfo());
    RegisterComponentClass(TStatusBar::StaticClassInfo());
    RegisterGroupControlClasses();
    RegisterButtonControlClasses();
    RegisterEditControlClasses();
    RegisterTabControlClasses();
    RegisterProgressControlClasses();
}

}  // namespace qs
