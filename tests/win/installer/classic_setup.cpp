// A sample installer in the classic wizard style, written the way such
// installers are: it knows nothing of the skin engine, paints its licence in
// the system's window colour, reads its switches from the raw command line
// (/S for silent, /D=folder last and unquoted, spaces and all) and writes
// real files. Used to see that a skin dresses it and changes nothing it does.
//
//   classic_setup [/S] [/D=C:\Some Folder]
//
// Exit code: 0 installed, 1 cancelled, 2 the files could not be written.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>
#include <shlobj.h>

#include <cwchar>
#include <string>
#include <vector>

#include "classic_setup.h"

namespace {

struct Component {
    const wchar_t* name;
    const wchar_t* description;
    const wchar_t* file;
    int kilobytes;
};

const Component kComponents[] = {
    {L"Core files (required)", L"The program itself.", L"core.dat", 48},
    {L"Documentation", L"The manual, as plain text.", L"docs\\manual.txt", 12},
    {L"Samples", L"Example files to start from.", L"samples\\sample1.txt", 6},
    {L"Read-me", L"What is new in this version.", L"readme.txt", 2},
};
constexpr int kComponentCount = int(sizeof kComponents / sizeof kComponents[0]);

const wchar_t kLicence[] =
    L"SAMPLE SUITE LICENSE AGREEMENT\r\n\r\n"
    L"1. You may install and use one copy of Sample Suite on any number of computers.\r\n"
    L"2. You may copy and give away Sample Suite as long as this agreement goes with it.\r\n"
    L"3. Sample Suite comes with no warranty of any kind, to the extent the law allows.\r\n"
    L"4. This agreement is governed by the law of the place where you install it.\r\n\r\n"
    L"By choosing to accept this agreement you agree to all of the terms above.\r\n";

struct Setup {
    std::wstring commandLine;
    std::wstring folder = L"C:\\Program Files\\Sample Suite";
    bool silent = false;
    bool chosen[kComponentCount] = {true, true, true, true};
    bool accepted = false;
    int step = 0;  // components written so far
    bool failed = false;
    bool finished = false;
    std::vector<std::wstring> written;
} g;

// The switches as installers of this kind read them: straight from the raw
// command line, /D= last and taken to its end without unquoting.
void readSwitches() {
    g.commandLine = ::GetCommandLineW();
    const wchar_t* p = g.commandLine.c_str();
    if (*p == L'"') {
        ++p;
        while (*p && *p != L'"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
    while (*p) {
        while (*p == L' ' || *p == L'\t') ++p;
        if (p[0] == L'/' && (p[1] == L'D' || p[1] == L'd') && p[2] == L'=') {
            g.folder = p + 3;
            break;
        }
        if (p[0] == L'/' && (p[1] == L'S' || p[1] == L's') && (p[2] == 0 || p[2] == L' ')) g.silent = true;
        while (*p && *p != L' ' && *p != L'\t') ++p;
    }
}

bool makeFolders(const std::wstring& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') {
            const std::wstring part = path.substr(0, i);
            if (!::CreateDirectoryW(part.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
        }
    }
    return true;
}

bool writeFile(const std::wstring& path, const std::wstring& text) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && !makeFolders(path.substr(0, slash))) return false;
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), bytes.data(), n, nullptr, nullptr);
    DWORD done = 0;
    const BOOL ok = ::WriteFile(f, bytes.data(), DWORD(bytes.size()), &done, nullptr);
    ::CloseHandle(f);
    return ok && done == bytes.size();
}

std::wstring folderPath(const wchar_t* file) {
    std::wstring d = g.folder;
    while (!d.empty() && (d.back() == L'\\' || d.back() == L' ')) d.pop_back();
    return d + L"\\" + file;
}

// Writes the next chosen component; false when there is none left.
bool installStep() {
    while (g.step < kComponentCount && !g.chosen[g.step]) ++g.step;
    if (g.step >= kComponentCount) return false;
    const Component& c = kComponents[g.step++];
    const std::wstring path = folderPath(c.file);
    if (writeFile(path, std::wstring(L"Sample Suite: ") + c.name + L"\r\n"))
        g.written.push_back(path);
    else
        g.failed = true;
    return true;
}

bool finishInstall() {
    std::wstring log = L"command line: " + g.commandLine + L"\r\nfolder: " + g.folder + L"\r\n";
    for (const auto& w : g.written) log += L"written: " + w + L"\r\n";
    log += g.failed ? L"result: failed\r\n" : L"result: installed\r\n";
    return writeFile(folderPath(L"install.log"), log) && !g.failed;
}

int spaceRequired() {
    int kb = 0;
    for (int i = 0; i < kComponentCount; ++i)
        if (g.chosen[i]) kb += kComponents[i].kilobytes;
    return kb;
}

void showSpace(HWND page) {
    wchar_t text[64];
    std::swprintf(text, 64, L"Space required: %d.0 KB", spaceRequired());
    ::SetDlgItemTextW(page, IDC_SPACE, text);
}

void setButtons(HWND page, DWORD flags) { ::PostMessageW(::GetParent(page), PSM_SETWIZBUTTONS, 0, LPARAM(flags)); }

INT_PTR CALLBACK welcomeProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_SETACTIVE) {
        setButtons(page, PSWIZB_NEXT);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK licenceProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            HWND text = ::GetDlgItem(page, IDC_LICENCE_TEXT);
            // As the classic installers do: the licence on the system's window colour.
            ::SendMessageW(text, EM_SETBKGNDCOLOR, 0, LPARAM(::GetSysColor(COLOR_WINDOW)));
            ::SetWindowTextW(text, kLicence);
            return TRUE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_ACCEPT || LOWORD(wParam) == IDC_DECLINE) {
                g.accepted = ::IsDlgButtonChecked(page, IDC_ACCEPT) == BST_CHECKED;
                setButtons(page, PSWIZB_BACK | (g.accepted ? PSWIZB_NEXT : 0));
            }
            return FALSE;
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == PSN_SETACTIVE) {
                setButtons(page, PSWIZB_BACK | (g.accepted ? PSWIZB_NEXT : 0));
                return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

INT_PTR CALLBACK componentsProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    HWND list = ::GetDlgItem(page, IDC_COMPONENTS);
    switch (msg) {
        case WM_INITDIALOG: {
            ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
            LVCOLUMNW col{};
            col.mask = LVCF_WIDTH;
            RECT r{};
            ::GetClientRect(list, &r);
            col.cx = r.right - ::GetSystemMetrics(SM_CXVSCROLL);
            ListView_InsertColumn(list, 0, &col);
            for (int i = 0; i < kComponentCount; ++i) {
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = i;
                item.pszText = const_cast<wchar_t*>(kComponents[i].name);
                ListView_InsertItem(list, &item);
                ListView_SetCheckState(list, i, g.chosen[i]);
            }
            showSpace(page);
            return TRUE;
        }
        case WM_NOTIFY: {
            auto* h = reinterpret_cast<NMHDR*>(lParam);
            if (h->code == PSN_SETACTIVE) {
                setButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
                return TRUE;
            }
            if (h->idFrom == IDC_COMPONENTS && h->code == LVN_ITEMCHANGED) {
                auto* lv = reinterpret_cast<NMLISTVIEW*>(lParam);
                if (lv->iItem >= 0 && lv->iItem < kComponentCount) {
                    // The core files cannot be left out.
                    const bool on = ListView_GetCheckState(list, lv->iItem) != 0;
                    if (lv->iItem == 0 && !on) ListView_SetCheckState(list, 0, TRUE);
                    g.chosen[lv->iItem] = lv->iItem == 0 || on;
                    if (lv->uNewState & LVIS_SELECTED)
                        ::SetDlgItemTextW(page, IDC_DESCRIPTION, kComponents[lv->iItem].description);
                    showSpace(page);
                }
            }
            return FALSE;
        }
    }
    return FALSE;
}

INT_PTR CALLBACK folderProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            ::SetDlgItemTextW(page, IDC_FOLDER, g.folder.c_str());
            showSpace(page);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_BROWSE) {
                BROWSEINFOW bi{};
                bi.hwndOwner = page;
                bi.lpszTitle = L"Select the folder to install Sample Suite in:";
                bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
                if (PIDLIST_ABSOLUTE id = ::SHBrowseForFolderW(&bi)) {
                    wchar_t path[MAX_PATH] = {};
                    if (::SHGetPathFromIDListW(id, path)) ::SetDlgItemTextW(page, IDC_FOLDER, path);
                    ::CoTaskMemFree(id);
                }
            }
            return FALSE;
        case WM_NOTIFY: {
            auto* h = reinterpret_cast<NMHDR*>(lParam);
            if (h->code == PSN_SETACTIVE) {
                showSpace(page);
                setButtons(page, PSWIZB_BACK | PSWIZB_NEXT);
                return TRUE;
            }
            if (h->code == PSN_WIZNEXT) {
                wchar_t path[MAX_PATH] = {};
                ::GetDlgItemTextW(page, IDC_FOLDER, path, MAX_PATH);
                g.folder = path;
                return FALSE;
            }
            return FALSE;
        }
    }
    return FALSE;
}

constexpr UINT_PTR kInstallTimer = 1;

INT_PTR CALLBACK progressProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NOTIFY:
            if (reinterpret_cast<NMHDR*>(lParam)->code == PSN_SETACTIVE) {
                setButtons(page, 0);
                g.step = 0;
                g.written.clear();
                g.failed = false;
                ::SendDlgItemMessageW(page, IDC_PROGRESS, PBM_SETRANGE32, 0, kComponentCount);
                ::SendDlgItemMessageW(page, IDC_LOG, LB_RESETCONTENT, 0, 0);
                ::SetTimer(page, kInstallTimer, 150, nullptr);
                return TRUE;
            }
            return FALSE;
        case WM_TIMER:
            if (wParam != kInstallTimer) return FALSE;
            if (installStep()) {
                const std::wstring line = L"Extract: " + g.written.back();
                ::SendDlgItemMessageW(page, IDC_LOG, LB_ADDSTRING, 0, LPARAM(line.c_str()));
                ::SendDlgItemMessageW(page, IDC_PROGRESS, PBM_SETPOS, WPARAM(g.step), 0);
            } else {
                ::KillTimer(page, kInstallTimer);
                g.finished = finishInstall();
                ::SendDlgItemMessageW(page, IDC_PROGRESS, PBM_SETPOS, WPARAM(kComponentCount), 0);
                ::SetDlgItemTextW(page, IDC_STATUS, g.finished ? L"Completed" : L"Setup could not write its files.");
                ::SendDlgItemMessageW(page, IDC_LOG, LB_ADDSTRING, 0, LPARAM(g.finished ? L"Completed" : L"Failed"));
                setButtons(page, g.finished ? PSWIZB_NEXT : 0);
            }
            return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK finishProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_SETACTIVE) {
        setButtons(page, PSWIZB_FINISH);
        return TRUE;
    }
    return FALSE;
}

int runWizard(HINSTANCE instance) {
    struct PageDef {
        int id;
        DLGPROC proc;
    } defs[] = {{IDD_WELCOME, welcomeProc},   {IDD_LICENCE, licenceProc}, {IDD_COMPONENTS, componentsProc},
                {IDD_FOLDER, folderProc},     {IDD_PROGRESS, progressProc}, {IDD_FINISH, finishProc}};
    HPROPSHEETPAGE pages[6];
    for (int i = 0; i < 6; ++i) {
        PROPSHEETPAGEW p{};
        p.dwSize = sizeof p;
        p.hInstance = instance;
        p.pszTemplate = MAKEINTRESOURCEW(defs[i].id);
        p.pfnDlgProc = defs[i].proc;
        pages[i] = ::CreatePropertySheetPageW(&p);
        if (!pages[i]) return 2;
    }
    PROPSHEETHEADERW h{};
    h.dwSize = sizeof h;
    h.dwFlags = PSH_WIZARD | PSH_NOAPPLYNOW;
    h.hInstance = instance;
    h.pszCaption = L"Sample Suite Setup";
    h.nPages = 6;
    h.phpage = pages;
    const INT_PTR r = ::PropertySheetW(&h);
    if (g.finished) return 0;
    return r > 0 && g.failed ? 2 : 1;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    readSwitches();
    if (g.silent) {
        while (installStep()) {
        }
        return finishInstall() ? 0 : 2;
    }
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::LoadLibraryW(L"riched20.dll");
    ::CoInitialize(nullptr);
    const int code = runWizard(instance);
    ::CoUninitialize();
    return code;
}
