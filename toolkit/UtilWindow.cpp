#include "UtilWindow.h"

#include "Controls.h"

namespace qs {

namespace {
const wchar_t kClassName[] = L"QsUtilWindow";

HINSTANCE ModuleInstance() {
    HMODULE m = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCWSTR>(&ModuleInstance), &m);
    return m;
}
}  // namespace

TUtilWindow::TUtilWindow(Handler handler, bool messageOnly) : FHandler(std::move(handler)) {
    HINSTANCE inst = ModuleInstance();
    WNDCLASSEXW wc{};
    if (!::GetClassInfoExW(inst, kClassName, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TUtilWindow::Proc;
        wc.hInstance = inst;
        wc.lpszClassName = kClassName;
        ::RegisterClassExW(&wc);
    }
    FHandle = ::CreateWindowExW(messageOnly ? 0 : WS_EX_TOOLWINDOW, kClassName, L"", messageOnly ? 0 : WS_POPUP, 0, 0,
                                0, 0, messageOnly ? HWND_MESSAGE : nullptr, nullptr, inst, this);
}

TUtilWindow::~TUtilWindow() {
    if (FHandle) {
        ::SetWindowLongPtrW(FHandle, GWLP_USERDATA, 0);
        ::DestroyWindow(FHandle);
    }
}

LRESULT CALLBACK TUtilWindow::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        ::SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* self = reinterpret_cast<TUtilWindow*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (self && self->FHandler) {
        LRESULT result = 0;
        // Timer ticks and menu commands run program code from here: what it
        // throws is reported, never unwound through the system's dispatch.
        try {
            if (self->FHandler(msg, wParam, lParam, result)) return result;
        } catch (...) {
            ReportCurrentException();
            return 0;
        }
    }
    return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

}  // namespace qs
