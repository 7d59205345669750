// The surfaces page: the common controls as a plain Win32 program makes
// them, without the toolkit: a tool bar in a rebar, a list view with its
// header, a tree view, a rich edit, a date-time picker, progress and track
// bars, an up-down, a status bar, a tool tip and a two-page property sheet.
// The engine meets them as it meets any other program's windows.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "Gallery.h"

namespace qs::gallery {

namespace {

constexpr int kPageOne = 210, kPageTwo = 211;

const wchar_t* surfaceClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"QsGallerySurfaces";
        ::RegisterClassW(&wc);
        return L"QsGallerySurfaces";
    }();
    return name;
}

HWND make(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h, int id = 0,
          DWORD exStyle = 0) {
    return ::CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(INT_PTR(id)), ::GetModuleHandleW(nullptr), nullptr);
}

struct Item {
    const wchar_t* text;
    BYTE state, style;
};

HWND toolbarIn(HWND rebar, const std::vector<Item>& items) {
    HWND tb = make(rebar, TOOLBARCLASSNAMEW, nullptr,
                   TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TRANSPARENT | CCS_NORESIZE | CCS_NODIVIDER |
                       CCS_NOPARENTALIGN,
                   0, 0, 300, 26);
    ::SendMessageW(tb, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    std::vector<TBBUTTON> buttons(items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        buttons[i].iBitmap = items[i].text ? I_IMAGENONE : 6;
        buttons[i].idCommand = items[i].text ? int(300 + i) : 0;
        buttons[i].fsState = items[i].state;
        buttons[i].fsStyle = BYTE(items[i].style | (items[i].text ? BTNS_AUTOSIZE | BTNS_SHOWTEXT : 0));
        buttons[i].iString = INT_PTR(items[i].text);
    }
    ::SendMessageW(tb, TB_ADDBUTTONSW, WPARAM(buttons.size()), LPARAM(buttons.data()));
    return tb;
}

// A band of `text` holding `bar`; a chevron band is narrower than its bar.
void addBand(HWND rebar, HWND bar, const wchar_t* text, int width, bool chevron) {
    SIZE ideal{};
    ::SendMessageW(bar, TB_GETMAXSIZE, 0, LPARAM(&ideal));
    REBARBANDINFOW band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_TEXT | RBBIM_IDEALSIZE;
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE | (chevron ? RBBS_USECHEVRON : 0);
    band.lpText = const_cast<wchar_t*>(text);
    band.hwndChild = bar;
    band.cxMinChild = chevron ? 60 : ideal.cx;
    band.cyMinChild = 26;
    band.cx = width;
    band.cxIdeal = ideal.cx;
    ::SendMessageW(rebar, RB_INSERTBANDW, WPARAM(-1), LPARAM(&band));
}

void addRebar(HWND parent) {
    HWND rebar = make(parent, REBARCLASSNAMEW, nullptr,
                      RBS_BANDBORDERS | RBS_VARHEIGHT | CCS_NODIVIDER | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0, 0, 0);
    HWND tools = toolbarIn(rebar, {{L"New", TBSTATE_ENABLED, BTNS_BUTTON},
                                   {L"Open", TBSTATE_ENABLED | TBSTATE_CHECKED, BTNS_CHECK},
                                   {nullptr, 0, BTNS_SEP},
                                   {L"Save", TBSTATE_ENABLED, BTNS_BUTTON},
                                   {L"Print", 0, BTNS_BUTTON}});
    addBand(rebar, tools, L"Tools", 330, false);
    std::vector<Item> more;
    for (const wchar_t* t : {L"Cut", L"Copy", L"Paste", L"Undo", L"Redo", L"Find", L"Replace"})
        more.push_back({t, TBSTATE_ENABLED, BTNS_BUTTON});
    addBand(rebar, toolbarIn(rebar, more), L"Edit", 200, true);
}

HWND addListView(HWND parent) {
    HWND lv = make(parent, WC_LISTVIEWW, nullptr, LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP, 10, 44, 250, 120, 0,
                   WS_EX_CLIENTEDGE);
    const wchar_t* columns[] = {L"Name", L"Size", L"Type"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.cx = i == 0 ? 100 : 70;
        c.pszText = const_cast<wchar_t*>(columns[i]);
        ::SendMessageW(lv, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&c));
    }
    for (int i = 0; i < 5; ++i) {
        std::wstring name = L"File " + std::to_wstring(i + 1), size = std::to_wstring(12 * (i + 1)) + L" KB";
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = name.data();
        ::SendMessageW(lv, LVM_INSERTITEMW, 0, LPARAM(&item));
        item.iSubItem = 1;
        item.pszText = size.data();
        ::SendMessageW(lv, LVM_SETITEMTEXTW, WPARAM(i), LPARAM(&item));
        item.iSubItem = 2;
        item.pszText = const_cast<wchar_t*>(L"Document");
        ::SendMessageW(lv, LVM_SETITEMTEXTW, WPARAM(i), LPARAM(&item));
    }
    LVITEMW sel{};
    sel.stateMask = sel.state = LVIS_SELECTED;
    ::SendMessageW(lv, LVM_SETITEMSTATE, 1, LPARAM(&sel));
    return lv;
}

void addTreeView(HWND parent) {
    HWND tv = make(parent, WC_TREEVIEWW, nullptr, TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                   270, 44, 150, 120, 0, WS_EX_CLIENTEDGE);
    auto add = [tv](HTREEITEM parentItem, const wchar_t* text) {
        TVINSERTSTRUCTW ins{};
        ins.hParent = parentItem;
        ins.hInsertAfter = TVI_LAST;
        ins.item.mask = TVIF_TEXT;
        ins.item.pszText = const_cast<wchar_t*>(text);
        return reinterpret_cast<HTREEITEM>(::SendMessageW(tv, TVM_INSERTITEMW, 0, LPARAM(&ins)));
    };
    HTREEITEM root = add(TVI_ROOT, L"Root");
    add(root, L"Leaf one");
    HTREEITEM branch = add(root, L"Branch");
    add(branch, L"Leaf two");
    ::SendMessageW(tv, TVM_EXPAND, TVE_EXPAND, LPARAM(root));
    ::SendMessageW(tv, TVM_SELECTITEM, TVGN_CARET, LPARAM(branch));
}

void addRichEdit(HWND parent) {
    static HMODULE lib = ::LoadLibraryW(L"riched20.dll");
    if (!lib) return;
    make(parent, RICHEDIT_CLASSW, L"A rich edit\r\nwith two lines", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 430, 44,
         170, 120, 0, WS_EX_CLIENTEDGE);
}

HWND addPicker(HWND parent) {
    HWND dtp = make(parent, DATETIMEPICK_CLASSW, nullptr, DTS_SHORTDATEFORMAT | WS_TABSTOP, 10, 176, 170, 24);
    SYSTEMTIME t{2026, 3, 0, 14, 9, 30, 0, 0};
    ::SendMessageW(dtp, DTM_SETSYSTEMTIME, GDT_VALID, LPARAM(&t));
    return dtp;
}

void addBars(HWND parent) {
    HWND progress = make(parent, PROGRESS_CLASSW, nullptr, 0, 196, 178, 150, 18);
    ::SendMessageW(progress, PBM_SETPOS, 60, 0);
    HWND track = make(parent, TRACKBAR_CLASSW, nullptr, TBS_AUTOTICKS, 356, 172, 150, 30);
    ::SendMessageW(track, TBM_SETPOS, TRUE, 3);
    HWND buddy = make(parent, L"EDIT", L"5", ES_NUMBER, 520, 176, 50, 22, 0, WS_EX_CLIENTEDGE);
    HWND ud = make(parent, UPDOWN_CLASSW, nullptr, UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 0, 0);
    ::SendMessageW(ud, UDM_SETBUDDY, WPARAM(buddy), 0);
    ::SendMessageW(ud, UDM_SETRANGE32, 0, 10);
    ::SendMessageW(ud, UDM_SETPOS32, 0, 5);
}

void addStatusBar(HWND parent) {
    HWND sb = make(parent, STATUSCLASSNAMEW, nullptr, SBARS_SIZEGRIP, 0, 0, 0, 0);
    const int edges[] = {200, 380, -1};
    ::SendMessageW(sb, SB_SETPARTS, 3, LPARAM(edges));
    ::SendMessageW(sb, SB_SETTEXTW, 0, LPARAM(L"Ready"));
    ::SendMessageW(sb, SB_SETTEXTW, 1, LPARAM(L"5 items"));
    ::SendMessageW(sb, SB_SETTEXTW, 2, LPARAM(L"Bare controls"));
}

HWND addToolTip(HWND owner, HWND tool) {
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                                 0, 0, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = owner;
    ti.uId = UINT_PTR(tool);
    ti.lpszText = const_cast<wchar_t*>(L"A tool tip");
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, LPARAM(&ti));
    return tip;
}

INT_PTR CALLBACK pageProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

HWND addPropertySheet(HWND owner) {
    PROPSHEETPAGEW pages[2] = {};
    const int ids[2] = {kPageOne, kPageTwo};
    const wchar_t* titles[2] = {L"General", L"Details"};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof(PROPSHEETPAGEW);
        pages[i].dwFlags = PSP_USETITLE;
        pages[i].hInstance = ::GetModuleHandleW(nullptr);
        pages[i].pszTemplate = MAKEINTRESOURCEW(ids[i]);
        pages[i].pszTitle = titles[i];
        pages[i].pfnDlgProc = &pageProc;
    }
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof(h);
    h.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_NOAPPLYNOW;
    h.hwndParent = owner;
    h.hInstance = ::GetModuleHandleW(nullptr);
    h.pszCaption = L"Gallery: property sheet";
    h.nPages = 2;
    h.ppsp = pages;
    HWND sheet = reinterpret_cast<HWND>(::PropertySheetW(&h));
    if (sheet) ::SetWindowPos(sheet, nullptr, 680, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return sheet;
}

}  // namespace

PageWindow surfacesPage() {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_DATE_CLASSES |
                                              ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                              ICC_UPDOWN_CLASS | ICC_TAB_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND main = ::CreateWindowExW(0, surfaceClass(), L"Gallery: bare common controls",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 20, 20,
                                  630, 300, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (!main) return {};
    addRebar(main);
    HWND list = addListView(main);
    addTreeView(main);
    addRichEdit(main);
    HWND picker = addPicker(main);
    addBars(main);
    addStatusBar(main);
    HWND tip = addToolTip(main, list);
    ::ShowWindow(main, SW_SHOWNOACTIVATE);
    addPropertySheet(main);
    // The calendar dropped from the picker and the tip shown over the list.
    auto script = [picker, tip, list, main] {
        RECT r{};
        ::GetClientRect(picker, &r);
        const LPARAM at = MAKELPARAM(r.right - 6, r.bottom / 2);
        ::PostMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageW(picker, WM_LBUTTONUP, 0, at);
        pump(200);
        RECT lr{};
        ::GetWindowRect(list, &lr);
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof(ti);
        ti.hwnd = main;
        ti.uId = UINT_PTR(list);
        ::SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(lr.left + 40, lr.bottom - 30));
        ::SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, LPARAM(&ti));
    };
    return {nullptr, main, script};
}

}  // namespace qs::gallery
