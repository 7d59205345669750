// A classic installer (a wizard that knows nothing of the engine) started
// under skinrun with the dark skin: every page comes up dressed, dark enough
// to read as the skin's, and the installer still does its job: its switches
// reach it as typed, it writes its files and ends with its own exit code.
#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <string>

#include "WindowCapture.h"
#include "test_process_util.h"
#include "installer/classic_setup.h"

using namespace qs::test;

namespace {

LRESULT sendTo(HWND w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR r = 0;
    return ::SendMessageTimeoutW(w, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &r) ? LRESULT(r) : -1;
}

// Share of the pixels whose grey level is above 170 of 255 (what reads as light).
double lightShare(const Image& img) {
    if (img.empty()) return 1.0;
    size_t light = 0;
    for (uint32_t p : img.pixels) {
        const double grey = 0.299 * ((p >> 16) & 0xFF) + 0.587 * ((p >> 8) & 0xFF) + 0.114 * (p & 0xFF);
        if (grey > 170) ++light;
    }
    return double(light) / double(img.pixels.size());
}

std::string readAll(const std::wstring& path) {
    std::string out;
    HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return out;
    char buf[4096];
    DWORD n = 0;
    while (::ReadFile(f, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    ::CloseHandle(f);
    return out;
}

// The wizard: a visible dialog with a wizard's Next button (its caption
// follows the page, as wizards' captions do).
HWND findWizard() {
    HWND found = nullptr;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w && !found;
         w = ::FindWindowExW(nullptr, w, L"#32770", nullptr))
        if (::IsWindowVisible(w) && ::GetDlgItem(w, 0x3024)) found = w;
    return found;
}

bool exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void removeTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd{};
    HANDLE h = ::FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                ::DeleteFileW(path.c_str());
        } while (::FindNextFileW(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryW(dir.c_str());
}

}  // namespace

TEST(ClassicInstaller, InstallsUnderSkinrunWithEveryPageDressed) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"qs setup test";
    const std::wstring folder = root + L"\\Sample Suite";
    removeTree(root);
    ASSERT_FALSE(findWizard()) << "a wizard from elsewhere is open";

    // The folder switch goes last, unquoted, with its spaces: the installer
    // reads it from its raw command line.
    const std::wstring skin = widen("Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/dark.skn");
    const std::wstring tail = L"/D=" + folder;
    std::wstring cmd = L"\"" + widen(QS_SKINRUN) + L"\" --skin \"" + skin + L"\" \"" + widen(QS_SETUP) + L"\" " + tail;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION runner{};
    ASSERT_TRUE(::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &runner));
    struct Closer {
        PROCESS_INFORMATION& p;
        ~Closer() {
            if (::WaitForSingleObject(p.hProcess, 0) != WAIT_OBJECT_0) ::TerminateProcess(p.hProcess, 9);
            ::CloseHandle(p.hProcess);
            ::CloseHandle(p.hThread);
        }
    } closer{runner};

    HWND sheet = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (sheet = findWizard()) != nullptr; }, 30000));
    EXPECT_TRUE(waitUntil([&] { return sendTo(sheet, 0x3523) == 1; }, 10000)) << "the wizard is not skinned";
    ::SetWindowPos(sheet, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE);

    const char* names[] = {"welcome", "licence", "components", "folder", "progress", "finish"};
    HWND next = ::GetDlgItem(sheet, 0x3024);  // the wizard's Next button
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(names[i]);
        HWND page = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            page = reinterpret_cast<HWND>(sendTo(sheet, PSM_GETCURRENTPAGEHWND));
            return page && sendTo(sheet, PSM_HWNDTOINDEX, WPARAM(page)) == i;
        }, 10000));
        if (i == 1) {
            // The page turns Next off as it shows (a posted request): until
            // the licence is accepted it stays off.
            EXPECT_TRUE(waitUntil([&] { return !::IsWindowEnabled(next); }, 3000)) << "Next before the licence is accepted";
            pumpMessages(300);
            EXPECT_FALSE(::IsWindowEnabled(next)) << "Next came on again before the licence was accepted";
            sendTo(::GetDlgItem(page, IDC_ACCEPT), BM_CLICK);
        }
        if (i == 4) {
            EXPECT_TRUE(waitUntil([&] { return ::IsWindowEnabled(next) != FALSE; }, 15000)) << "the install did not end";
        }
        pumpMessages(400);
        ::RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        pumpMessages(300);
        const Image shot = captureWindow(sheet);
        const double light = lightShare(shot);
        std::printf("page %s: %.1f %% light\n", names[i], light * 100);
        if (const char* dir = std::getenv("QS_SETUP_SHOTS")) saveBmp(shot, widen(dir) + L"\\setup-" + widen(names[i]) + L".bmp");
        EXPECT_LE(light, 0.25) << "page " << names[i] << " is " << light * 100 << " % light under the dark skin";
        ::PostMessageW(sheet, PSM_PRESSBUTTON, i == 5 ? PSBTN_FINISH : PSBTN_NEXT, 0);
    }

    ASSERT_EQ(::WaitForSingleObject(runner.hProcess, 20000), WAIT_OBJECT_0) << "the installer did not end";
    DWORD code = 99;
    ::GetExitCodeProcess(runner.hProcess, &code);
    EXPECT_EQ(code, 0u) << "the installer's own exit code, passed back by skinrun";
    for (const wchar_t* f : {L"core.dat", L"docs\\manual.txt", L"samples\\sample1.txt", L"readme.txt"})
        EXPECT_TRUE(exists(folder + L"\\" + f)) << "missing after install";
    const std::string log = readAll(folder + L"\\install.log");
    const std::string wantTail = " /D=" + std::string(folder.begin(), folder.end()) + "\r\n";
    const size_t line = log.find("command line: ");
    ASSERT_NE(line, std::string::npos) << log;
    const std::string commandLine = log.substr(line, log.find("\r\n", line) - line + 2);
    EXPECT_TRUE(commandLine.size() >= wantTail.size() &&
                commandLine.compare(commandLine.size() - wantTail.size(), wantTail.size(), wantTail) == 0)
        << "the raw command line changed on its way: " << commandLine;
    EXPECT_NE(log.find("result: installed"), std::string::npos) << log;
    removeTree(root);
}
