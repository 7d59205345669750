#include <windows.h>
#include <qskin/qskin.h>

static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(w, m, wp, lp);
}
int WINAPI WinMain(HINSTANCE inst, HINSTANCE prev, LPSTR cmd, int show) {
    WNDCLASSW wc = {0, proc, 0, 0, inst, NULL, LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_WINDOW + 1), NULL, L"Hello"};
    MSG msg;
    RegisterClassW(&wc);
    if (qskin_load_file(L"default.skn") == QSKIN_OK) qskin_enable();
    ShowWindow(CreateWindowW(L"Hello", L"Skinned", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300, NULL, NULL, inst, NULL), show);
    while (GetMessageW(&msg, NULL, 0, 0) > 0) { TranslateMessage(&msg); DispatchMessageW(&msg); }
    qskin_shutdown();
    return 0;
}
