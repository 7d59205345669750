// A classic installer for skinrun's tests: a wizard of welcome, licence,
// components, folder, progress and finish pages, built the way such
// installers are (the licence's rich edit takes the system's window colour
// as its background, the progress page works from a timer). It writes
// DIR\installed.txt; exit code 0 once finished and written.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <richedit.h>

#include <string>

namespace {

std::wstring gFolder;
bool gWritten = false;

constexpr int kLicence = 101, kFolder = 102, kProgress = 103, kAccept = 104;
constexpr UINT_PTR kStepTimer = 1;

void setButtons(HWND page, DWORD buttons) { ::PostMessageW(::GetParent(page), PSM_SETWIZBUTTONS, 0, LPARAM(buttons)); }

bool install() {
    ::CreateDirectoryW(gFolder.c_str(), nullptr);
    HANDLE f = ::CreateFileW((gFolder + L"\\installed.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    const bool ok = ::WriteFile(f, "installed\r\n", 11, &n, nullptr) && n == 11;
    ::CloseHandle(f);
    return ok;
}

INT_PTR CALLBACK pageProc(HWND page, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            const auto id = reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam;
            ::SetWindowLongPtrW(page, DWLP_USER, id);
            if (id == 202) {
                HWND text = ::GetDlgItem(page, kLicence);
                ::SendMessageW(text, EM_SETBKGNDCOLOR, 0, LPARAM(::GetSysColor(COLOR_WINDOW)));
                std::wstring licence;
                for (int i = 1; i <= 30; ++i)
                    licence += std::to_wstring(i) + L". The licensee may use the program as the licence allows.\r\n";
                ::SetWindowTextW(text, licence.c_str());
                ::CheckDlgButton(page, kAccept, BST_CHECKED);
            }
            if (id == 204) ::SetDlgItemTextW(page, kFolder, gFolder.c_str());
            if (id == 203) for (int c = 106; c <= 108; ++c) ::CheckDlgButton(page, c, BST_CHECKED);
            return TRUE;
        }
        case WM_TIMER: {
            HWND bar = ::GetDlgItem(page, kProgress);
            const LRESULT at = ::SendMessageW(bar, PBM_DELTAPOS, 10, 0) + 10;
            if (at >= 100) {
                ::KillTimer(page, kStepTimer);
                gWritten = install();
                setButtons(page, PSWIZB_NEXT);
            }
            return TRUE;
        }
        case WM_NOTIFY: {
            const auto* n = reinterpret_cast<const NMHDR*>(lParam);
            const LONG_PTR id = ::GetWindowLongPtrW(page, DWLP_USER);
            if (n->code == PSN_SETACTIVE) {
                setButtons(page, id == 201 ? PSWIZB_NEXT : id == 205 ? 0 : id == 206 ? PSWIZB_FINISH
                                                                                      : PSWIZB_BACK | PSWIZB_NEXT);
                if (id == 205) ::SetTimer(page, kStepTimer, 100, nullptr);
            } else if (n->code == PSN_WIZNEXT && id == 204) {
                wchar_t folder[MAX_PATH] = {};
                ::GetDlgItemTextW(page, kFolder, folder, MAX_PATH);
                gFolder = folder;
            }
            return FALSE;
        }
        default: return FALSE;
    }
    (void)wParam;
}

}  // namespace

int runInstaller(const wchar_t* folder) {
    gFolder = folder;
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&icc);
    ::LoadLibraryW(L"riched20.dll");
    PROPSHEETPAGEW pages[6] = {};
    HPROPSHEETPAGE handles[6] = {};
    for (int i = 0; i < 6; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].hInstance = ::GetModuleHandleW(nullptr);
        pages[i].pszTemplate = MAKEINTRESOURCEW(201 + i);
        pages[i].pfnDlgProc = &pageProc;
        pages[i].lParam = 201 + i;
        handles[i] = ::CreatePropertySheetPageW(&pages[i]);
    }
    PROPSHEETHEADERW sheet{};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_WIZARD;
    sheet.hInstance = ::GetModuleHandleW(nullptr);
    sheet.pszCaption = L"Sample Setup";
    sheet.nPages = 6;
    sheet.phpage = handles;
    const INT_PTR done = ::PropertySheetW(&sheet);
    return done > 0 && gWritten ? 0 : 1;
}
