// The painted page: what a program draws itself in the system's colours,
// an owner-drawn list box and a control of the gallery's own class. Neither
// is a class the engine knows; both should still follow the skin, because
// every colour they use is asked of the system at paint time.
#include <windows.h>

#include <iterator>
#include <string>

#include "Gallery.h"

namespace qs::gallery {

namespace {

constexpr int kRowsShown = 3;
const wchar_t* const kRows[] = {L"Plain row", L"Selected row", L"Another row"};

RECT stripOf(const RECT& client) { return RECT{client.left, client.top, client.right, client.top + kPaintedStrip}; }

void paintPainted(HWND wnd, HDC dc) {
    RECT client{};
    ::GetClientRect(wnd, &client);
    const bool on = ::IsWindowEnabled(wnd);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_WINDOW));
    const RECT strip = stripOf(client);
    ::FillRect(dc, &strip, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT line{strip.left, strip.bottom - 1, strip.right, strip.bottom};
    ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNSHADOW));
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    RECT text = strip;
    text.left += 4;
    ::SetTextColor(dc, ::GetSysColor(on ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    ::DrawTextW(dc, L"Custom control", -1, &text, DT_SINGLELINE | DT_VCENTER);
    for (int i = 0; i < kRowsShown; ++i) {
        RECT row = paintedRow(client, i);
        const bool selected = i == 1;
        if (selected) ::FillRect(dc, &row, ::GetSysColorBrush(on ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        ::SetTextColor(dc, ::GetSysColor(!on ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        row.left += 4;
        ::DrawTextW(dc, kRows[i], -1, &row, DT_SINGLELINE | DT_VCENTER);
    }
    ::SelectObject(dc, oldFont);
}

LRESULT CALLBACK paintedProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(wnd, &ps);
            paintPainted(wnd, dc);
            ::EndPaint(wnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND: return 1;  // WM_PAINT covers every pixel
        case WM_ENABLE: ::InvalidateRect(wnd, nullptr, FALSE); return 0;
        default: return ::DefWindowProcW(wnd, msg, wParam, lParam);
    }
}

// The owner-drawn rows of the list boxes, drawn the way most programs draw
// them: the selection in the highlight colours, everything else on the
// window colour.
void drawListItem(const DRAWITEMSTRUCT& d) {
    if (d.itemID == UINT(-1)) return;
    const bool selected = d.itemState & ODS_SELECTED, disabled = d.itemState & ODS_DISABLED;
    RECT r = d.rcItem;
    ::FillRect(d.hDC, &r, ::GetSysColorBrush(selected && !disabled ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    wchar_t text[64] = {};
    if (::SendMessageW(d.hwndItem, LB_GETTEXTLEN, d.itemID, 0) < LRESULT(std::size(text)))
        ::SendMessageW(d.hwndItem, LB_GETTEXT, d.itemID, LPARAM(text));
    ::SetBkMode(d.hDC, TRANSPARENT);
    ::SetTextColor(d.hDC, ::GetSysColor(disabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    r.left += 4;
    ::DrawTextW(d.hDC, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (d.itemState & ODS_FOCUS) ::DrawFocusRect(d.hDC, &d.rcItem);
}

LRESULT CALLBACK pageProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType != ODT_LISTBOX) break;
            m->itemHeight = kPaintedItem;
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (d->CtlType != ODT_LISTBOX) break;
            drawListItem(*d);
            return TRUE;
        }
        default: break;
    }
    return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

const wchar_t* registered(const wchar_t* name, WNDPROC proc, int background) {
    WNDCLASSW wc{};
    if (::GetClassInfoW(::GetModuleHandleW(nullptr), name, &wc)) return name;
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background ? reinterpret_cast<HBRUSH>(INT_PTR(background + 1)) : nullptr;
    wc.lpszClassName = name;
    ::RegisterClassW(&wc);
    return name;
}

HWND make(HWND parent, const wchar_t* cls, DWORD style, int x, int y, int w, int h, DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, cls, nullptr, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

const wchar_t* const kPaintedControlClass = L"QsGallerySysColours";

RECT paintedRow(const RECT& client, int row) {
    const int top = client.top + kPaintedStrip + 6 + row * kPaintedItem;
    return RECT{client.left + 4, top, client.right - 4, top + kPaintedItem};
}

PageWindow paintedPage() {
    registered(kPaintedControlClass, paintedProc, 0);
    HWND main = ::CreateWindowExW(0, registered(L"QsGalleryPainted", pageProc, COLOR_BTNFACE),
                                  L"Gallery: painted in system colours",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 20, 20,
                                  420, 290, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!main) return {};
    for (int col = 0; col < 2; ++col) {
        const int x = 12 + 200 * col;
        HWND list = make(main, L"ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP,
                         x, 12, 184, 110, WS_EX_CLIENTEDGE);
        ::SendMessageW(list, WM_SETFONT, WPARAM(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        for (int i = 1; i <= 8; ++i)
            ::SendMessageW(list, LB_ADDSTRING, 0, LPARAM((L"Owner-drawn item " + std::to_wstring(i)).c_str()));
        ::SendMessageW(list, LB_SETCURSEL, 1, 0);
        HWND custom = make(main, kPaintedControlClass, 0, x, 132, 184, 110, WS_EX_CLIENTEDGE);
        if (col == 1) {
            ::EnableWindow(list, FALSE);
            ::EnableWindow(custom, FALSE);
        }
    }
    ::ShowWindow(main, SW_SHOWNOACTIVATE);
    return {nullptr, main, {}};
}

}  // namespace qs::gallery
