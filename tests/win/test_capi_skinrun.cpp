// skinrun on a program that knows nothing of the engine: Wine's notepad comes
// up skinned (it answers the skinned-window query, its frame shows the skin's
// pixels) and still works (typed text arrives, its menu opens).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "WindowCapture.h"
#include "test_process_util.h"
#include "test_winskinform_util.h"

#include <commctrl.h>
#include <tlhelp32.h>

using namespace qs;
using namespace qs::test;

namespace {

LRESULT query(HWND w) {
    DWORD_PTR r = 0;
    return ::SendMessageTimeoutW(w, 0x3523, 0, 0, SMTO_ABORTIFHUNG, 2000, &r) ? LRESULT(r) : -1;
}

std::wstring textOf(HWND w) {
    wchar_t buf[256] = {};
    DWORD_PTR n = 0;
    ::SendMessageTimeoutW(w, WM_GETTEXT, 255, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &n);
    return buf;
}

void typeKey(WORD vk, bool withAlt = false, bool withCtrl = false) {
    INPUT in[6]{};
    int n = 0;
    auto key = [&](WORD k, bool up) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = k;
        in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++n;
    };
    if (withAlt) key(VK_MENU, false);
    if (withCtrl) key(VK_CONTROL, false);
    key(vk, false);
    key(vk, true);
    if (withCtrl) key(VK_CONTROL, true);
    if (withAlt) key(VK_MENU, true);
    ::SendInput(UINT(n), in, sizeof(INPUT));
    pumpMessages(60);
}

HWND visibleMenuOf(DWORD thread) {
    HWND found = nullptr;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32768", nullptr); w && !found;
         w = ::FindWindowExW(nullptr, w, L"#32768", nullptr))
        if (::IsWindowVisible(w) && ::GetWindowThreadProcessId(w, nullptr) == thread) found = w;
    return found;
}

bool moduleLoaded(DWORD pid, const wchar_t* name) {
    HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snap == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32W me{};
    me.dwSize = sizeof me;
    bool found = false;
    for (BOOL ok = ::Module32FirstW(snap, &me); ok && !found; ok = ::Module32NextW(snap, &me))
        found = ::lstrcmpiW(me.szModule, name) == 0;
    ::CloseHandle(snap);
    return found;
}

double millisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now{}, freq{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&freq);
    return double(now.QuadPart - start.QuadPart) * 1000.0 / double(freq.QuadPart);
}

void killWindowProcess(HWND w) {
    DWORD pid = 0;
    if (!w || !::GetWindowThreadProcessId(w, &pid)) return;
    if (HANDLE p = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        ::TerminateProcess(p, 0);
        ::WaitForSingleObject(p, 5000);
        ::CloseHandle(p);
    }
}

class SkinRunTest : public ::testing::Test {
protected:
    // Starts skinrun with the committed default skin on `program`; `late`
    // makes it take the route that loads the engine once a window exists.
    void launch(const std::wstring& program, bool late = false, const char* skinName = "default") {
        const std::wstring skin =
            widen("Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/" + skinName + ".skn");
        std::wstring cmd = L"\"" + widen(QS_SKINRUN) + L"\" --skin \"" + skin + L"\" " + program;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        ::SetEnvironmentVariableW(L"QSKIN_RUN_LATE", late ? L"1" : nullptr);
        ::QueryPerformanceCounter(&started);
        const BOOL ok = ::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &runner);
        ::SetEnvironmentVariableW(L"QSKIN_RUN_LATE", nullptr);
        ASSERT_TRUE(ok);
    }
    void TearDown() override {
        killWindowProcess(notepad);
        finishRunner();
    }
    void finishRunner() {
        if (runner.hProcess) {
            if (::WaitForSingleObject(runner.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(runner.hProcess, 1);
            ::CloseHandle(runner.hProcess);
            ::CloseHandle(runner.hThread);
        }
        runner = {};
    }
    PROCESS_INFORMATION runner{};
    LARGE_INTEGER started{};
    HWND notepad = nullptr;
};

// Polls without pumping, so the moments are seen as they happen: when the
// program's main window first exists and first shows.
struct FirstSight {
    HWND window = nullptr;
    bool engineBeforeWindow = false;
    LRESULT answerWhenShown = -1;
    double shownMs = 0, skinnedMs = 0;
};

FirstSight watchFirstWindow(const wchar_t* cls, LARGE_INTEGER started) {
    FirstSight f;
    const DWORD t0 = ::GetTickCount();
    while (!f.window && ::GetTickCount() - t0 < 20000) {
        if ((f.window = ::FindWindowW(cls, nullptr)) == nullptr) ::Sleep(1);
    }
    if (!f.window) return f;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(f.window, &pid);
    f.engineBeforeWindow = moduleLoaded(pid, L"qskin.dll");
    while (!::IsWindowVisible(f.window) && ::GetTickCount() - t0 < 20000) ::Sleep(1);
    f.shownMs = millisecondsSince(started);
    f.answerWhenShown = query(f.window);
    while (query(f.window) != 1 && ::GetTickCount() - t0 < 20000) ::Sleep(5);
    f.skinnedMs = millisecondsSince(started);
    return f;
}

// The engine is in the program before its first window, so the window is
// skinned from the moment it shows; the late route, kept for systems where
// the entry cannot be redirected, shows the window unskinned first.
TEST_F(SkinRunTest, NotepadsFirstFrameIsAlreadySkinned) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    launch(L"notepad.exe");
    FirstSight early = watchFirstWindow(L"Notepad", started);
    notepad = early.window;
    ASSERT_TRUE(notepad);
    EXPECT_TRUE(early.engineBeforeWindow) << "the engine was loaded after the first window was made";
    EXPECT_EQ(early.answerWhenShown, 1) << "the window showed unskinned";
    std::printf("early: shown %.0f ms, skinned %.0f ms after launch\n", early.shownMs, early.skinnedMs);
    killWindowProcess(notepad);
    ASSERT_TRUE(waitUntil([] { return ::FindWindowW(L"Notepad", nullptr) == nullptr; }, 5000));
    finishRunner();

    launch(L"notepad.exe", true);
    FirstSight late = watchFirstWindow(L"Notepad", started);
    notepad = late.window;
    ASSERT_TRUE(notepad);
    EXPECT_EQ(query(notepad), 1) << "the late route did not skin notepad";
    std::printf("late: shown %.0f ms, skinned %.0f ms after launch (answer when shown: %d)\n", late.shownMs,
                late.skinnedMs, int(late.answerWhenShown));
}

TEST_F(SkinRunTest, NotepadComesUpSkinnedAndKeepsWorking) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    launch(L"notepad.exe");

    ASSERT_TRUE(waitUntil([&] { return (notepad = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }, 20000));
    EXPECT_TRUE(waitUntil([&] { return query(notepad) == 1; }, 10000)) << "notepad is not skinned";

    // The frame's top-left pixels are the skin's left strip, active or not.
    auto sd = loadCommittedSkin("default");
    ASSERT_TRUE(sd->SkinLoaded());
    TDataSkinBorder* e = sd->BorderLeft();
    const int frames = std::max(e->Frame, 1), fw = e->Bitmap.Width() / frames;
    pumpMessages(300);
    const Image img = captureWindow(notepad);
    ASSERT_FALSE(img.empty());
    int matching = 0, compared = 0;
    for (int frame = 0; frame < std::min(frames, 2); ++frame) {
        int m = 0, c = 0;
        for (int x = 0; x < fw && x < img.width; ++x) {
            const uint32_t want = px(e->Bitmap, frame * fw + x, 0);
            if (want == 0xFF00FF) continue;
            ++c;
            if ((img.at(x, 0) & 0xFFFFFF) == want) ++m;
        }
        if (c && m * c > matching * std::max(compared, 1)) matching = m, compared = c;
    }
    ASSERT_GT(compared, 0);
    EXPECT_EQ(matching, compared) << "the frame corner is not the skin's";

    // Typing reaches the edit control.
    ::SetForegroundWindow(notepad);
    pumpMessages(200);
    HWND edit = ::FindWindowExW(notepad, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(edit);
    for (WORD vk : {WORD('Q'), WORD('S'), WORD('K')}) typeKey(vk);
    EXPECT_TRUE(waitUntil([&] { return textOf(edit).find(L"qsk") != std::wstring::npos; }, 3000))
        << "typed text did not arrive: \"" << std::string(textOf(edit).begin(), textOf(edit).end()) << "\"";

    // A click on "File" in the menu bar (just above the client area, at its
    // left) opens the menu; Escape closes it again.
    const DWORD thread = ::GetWindowThreadProcessId(notepad, nullptr);
    POINT at{12, -8};
    ::ClientToScreen(notepad, &at);
    ::SetCursorPos(at.x, at.y);
    pumpMessages(60);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(2, click, sizeof(INPUT));
    EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(thread) != nullptr; }, 3000)) << "the File menu did not open";
    if (const char* dir = std::getenv("QS_SAVE_CAPTURES")) {
        const Image screen = captureWindow(::GetDesktopWindow());
        saveBmp(screen, widen(std::string(dir) + "/skinrun-notepad-menu.bmp"));
    }
    typeKey(VK_ESCAPE);
    typeKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(thread) == nullptr; }, 3000));
    EXPECT_EQ(query(notepad), 1);
}

// The share of a child window's client pixels in one colour, read from its
// top-level window's capture (another process's child gives no DC here).
double shareOf(HWND w, COLORREF c) {
    HWND top = ::GetAncestor(w, GA_ROOT);
    const Image img = captureWindow(top);
    RECT wr{}, cr{};
    ::GetWindowRect(top, &wr);
    ::GetClientRect(w, &cr);
    ::MapWindowPoints(w, HWND_DESKTOP, reinterpret_cast<POINT*>(&cr), 2);
    ::OffsetRect(&cr, -wr.left, -wr.top);
    size_t n = 0, all = 0;
    for (int y = std::max(0, int(cr.top)); y < std::min(img.height, int(cr.bottom)); ++y)
        for (int x = std::max(0, int(cr.left)); x < std::min(img.width, int(cr.right)); ++x, ++all)
            n += img.colorAt(x, y) == c;
    return all ? double(n) / double(all) : 0;
}

// Notepad makes its edit anew when word wrap changes: the new one is in the
// skin's content colours as the first was, not in the system's white.
TEST_F(SkinRunTest, NotepadsRemadeEditKeepsTheDarkSkinsColours) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    auto sd = loadCommittedSkin("dark");
    ASSERT_TRUE(sd->SkinLoaded());
    launch(L"notepad.exe", false, "dark");
    ASSERT_TRUE(waitUntil([&] { return (notepad = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }, 20000));
    ASSERT_TRUE(waitUntil([&] { return query(notepad) == 1; }, 10000));
    pumpMessages(300);
    HWND edit = ::FindWindowExW(notepad, nullptr, L"Edit", nullptr);
    ASSERT_TRUE(edit);
    EXPECT_GT(shareOf(edit, sd->ContentBack()), 0.9);
    const char* dir = std::getenv("QS_SAVE_CAPTURES");
    if (dir) saveBmp(captureWindow(notepad), widen(std::string(dir) + "/skinrun-notepad-dark.bmp"));
    // Format > Wrap long lines, twice.
    constexpr WPARAM kWrapCommand = 0x119;
    for (int i = 0; i < 2; ++i) {
        ::PostMessageW(notepad, WM_COMMAND, kWrapCommand, 0);
        HWND remade = nullptr;
        ASSERT_TRUE(waitUntil(
            [&] {
                remade = ::FindWindowExW(notepad, nullptr, L"Edit", nullptr);
                return remade && remade != edit;
            },
            3000))
            << "notepad did not make its edit anew";
        edit = remade;
        pumpMessages(200);
        EXPECT_GT(shareOf(edit, sd->ContentBack()), 0.9) << "toggle " << i;
        if (dir) saveBmp(captureWindow(notepad), widen(std::string(dir) + "/skinrun-notepad-dark-wrap" + std::to_string(i) + ".bmp"));
    }
}

}  // namespace

namespace {

HWND visibleDialogOf(DWORD thread) {
    HWND found = nullptr;
    for (HWND w = ::FindWindowExW(nullptr, nullptr, L"#32770", nullptr); w && !found;
         w = ::FindWindowExW(nullptr, w, L"#32770", nullptr))
        if (::IsWindowVisible(w) && ::GetWindowThreadProcessId(w, nullptr) == thread) found = w;
    return found;
}

struct ChildCensus {
    std::vector<std::pair<std::wstring, LRESULT>> seen;  // class and answer of each visible child
    std::vector<HWND> windows;
    int skinned(const wchar_t* cls) const {
        int n = 0;
        for (const auto& [c, a] : seen) n += c == cls && a == 1;
        return n;
    }
    int count(const wchar_t* cls) const {
        int n = 0;
        for (const auto& [c, a] : seen) n += c == cls;
        return n;
    }
};

BOOL CALLBACK noteChild(HWND w, LPARAM census) {
    if (!::IsWindowVisible(w)) return TRUE;
    wchar_t cls[64] = {};
    ::GetClassNameW(w, cls, 64);
    reinterpret_cast<ChildCensus*>(census)->seen.emplace_back(cls, query(w));
    reinterpret_cast<ChildCensus*>(census)->windows.push_back(w);
    return TRUE;
}

}  // namespace

// The file-open dialog is a dialog box of the program's thread made by the
// system's dialog library: the frame and the standard controls on it are
// dressed by the bare-window rules.
TEST_F(SkinRunTest, NotepadsFileOpenDialogIsSkinned) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    launch(L"notepad.exe");
    ASSERT_TRUE(waitUntil([&] { return (notepad = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }, 20000));
    ASSERT_TRUE(waitUntil([&] { return query(notepad) == 1; }, 10000));
    const DWORD thread = ::GetWindowThreadProcessId(notepad, nullptr);
    ::SetForegroundWindow(notepad);
    pumpMessages(200);
    typeKey('O', false, true);
    HWND dialog = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (dialog = visibleDialogOf(thread)) != nullptr; }, 10000))
        << "Ctrl+O did not open the file dialog";
    EXPECT_TRUE(waitUntil([&] { return query(dialog) == 1; }, 3000)) << "the dialog's frame is not skinned";
    pumpMessages(300);
    ChildCensus census;
    ::EnumChildWindows(dialog, &noteChild, reinterpret_cast<LPARAM>(&census));
    for (const auto& [c, a] : census.seen)
        std::printf("  %ls: %d\n", c.c_str(), int(a));
    // Open and Cancel at least, and the file-name box.
    EXPECT_GE(census.skinned(L"Button"), 2);
    EXPECT_EQ(census.skinned(L"Button"), census.count(L"Button"));
    EXPECT_GE(census.skinned(L"ComboBox") + census.skinned(L"Edit"), 1);
    if (const char* dir = std::getenv("QS_SAVE_CAPTURES")) saveBmp(captureWindow(dialog), widen(std::string(dir) + "/skinrun-open.bmp"));
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(waitUntil([&] { return visibleDialogOf(thread) == nullptr; }, 5000));
    EXPECT_EQ(query(notepad), 1);
}

// Alt+F opens the File menu of the taken-over menu bar from the keyboard, as
// it does unskinned; F10 and then Enter does the same.
TEST_F(SkinRunTest, NotepadsMenuOpensFromTheKeyboard) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    launch(L"notepad.exe");
    ASSERT_TRUE(waitUntil([&] { return (notepad = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }, 20000));
    ASSERT_TRUE(waitUntil([&] { return query(notepad) == 1; }, 10000));
    const DWORD thread = ::GetWindowThreadProcessId(notepad, nullptr);
    ::SetForegroundWindow(notepad);
    pumpMessages(200);
    typeKey('F', true);
    EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(thread) != nullptr; }, 3000)) << "Alt+F did not open the menu";
    typeKey(VK_ESCAPE);
    typeKey(VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(thread) == nullptr; }, 3000));
}

// A program the skinned program starts comes up skinned the same way (here
// the command interpreter starts notepad), unless told not to.
TEST_F(SkinRunTest, ProgramsTheProgramStartsAreSkinnedToo) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    launch(L"cmd.exe /c notepad.exe");
    FirstSight child = watchFirstWindow(L"Notepad", started);
    notepad = child.window;
    ASSERT_TRUE(notepad);
    EXPECT_TRUE(child.engineBeforeWindow);
    EXPECT_EQ(child.answerWhenShown, 1);
    EXPECT_EQ(query(notepad), 1);
    killWindowProcess(notepad);
    ASSERT_TRUE(waitUntil([] { return ::FindWindowW(L"Notepad", nullptr) == nullptr; }, 5000));
    finishRunner();

    launch(L"--no-children cmd.exe /c notepad.exe");
    ASSERT_TRUE(waitUntil([&] { return (notepad = ::FindWindowW(L"Notepad", nullptr)) != nullptr; }, 20000));
    pumpMessages(500);
    EXPECT_EQ(query(notepad), 0);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(notepad, &pid);
    EXPECT_FALSE(moduleLoaded(pid, L"qskin.dll"));
}

// The same file in the build tree of the other bitness, next to this one;
// empty when that tree is not completely built (scripts/test builds it while
// this tree's tests run) or its programs cannot run here.
std::wstring inOtherTree(std::wstring path) {
#ifndef _WIN64
    BOOL wow = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &wow);
    if (!wow) return L"";
    const wchar_t *mine = L"win-i686", *theirs = L"win-x86_64";
#else
    const wchar_t *mine = L"win-x86_64", *theirs = L"win-i686";
#endif
    const auto at = path.find(mine);
    if (at == std::wstring::npos) return L"";
    path.replace(at, wcslen(mine), theirs);
    const std::wstring built = path.substr(0, at + wcslen(theirs)) + L"/.qs-built";
    if (::GetFileAttributesW(built.c_str()) == INVALID_FILE_ATTRIBUTES) return L"";
    return ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : path;
}

// A 32-bit test on a 64-bit system runs Wine's 32-bit winecfg and regedit,
// which only start the 64-bit programs: the 64-bit skinrun (of the build tree
// next to this one) takes those over. "" when not needed, "-" when missing.
std::wstring otherLauncher() {
#ifndef _WIN64
    BOOL wow = FALSE;
    ::IsWow64Process(::GetCurrentProcess(), &wow);
    if (!wow) return L"";
    const std::wstring path = inOtherTree(widen(QS_SKINRUN));
    if (path.empty()) return L"-";
    return L"--other \"" + path + L"\" ";
#else
    return L"";
#endif
}

// winecfg is a property sheet: a dialog box with a tab control and buttons,
// dressed by the bare-window rules.
TEST_F(SkinRunTest, WinecfgComesUpSkinned) {
    const std::wstring other = otherLauncher();
    if (other == L"-") GTEST_SKIP() << "the 32-bit winecfg of a 64-bit system only starts the 64-bit one, for which "
                                      "the 64-bit skinrun is needed and was not built";
    ASSERT_FALSE(::FindWindowW(L"#32770", L"Wine configuration")) << "a winecfg from elsewhere is open";
    launch(other + L"winecfg.exe");
    HWND sheet = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (sheet = ::FindWindowW(L"#32770", L"Wine configuration")) != nullptr; }, 20000));
    notepad = sheet;  // closed by the fixture
    EXPECT_TRUE(waitUntil([&] { return query(sheet) == 1; }, 10000));
    pumpMessages(500);
    ChildCensus census;
    ::EnumChildWindows(sheet, &noteChild, reinterpret_cast<LPARAM>(&census));
    // The sheet's own controls; the page inside it is a dialog of its own
    // whose controls are not dressed (see the docs).
    int buttons = 0, skinnedButtons = 0, tabs = 0;
    for (std::size_t i = 0; i < census.seen.size(); ++i) {
        if (::GetParent(census.windows[i]) != sheet) continue;
        buttons += census.seen[i].first == L"Button";
        skinnedButtons += census.seen[i].first == L"Button" && census.seen[i].second == 1;
        tabs += census.seen[i].first == L"SysTabControl32" && census.seen[i].second == 1;
    }
    EXPECT_EQ(tabs, 1);
    EXPECT_GE(buttons, 3);  // OK, Cancel, Apply
    EXPECT_EQ(skinnedButtons, buttons);
}

// regedit: skinned from its first frame, its menu reachable from the keyboard.
TEST_F(SkinRunTest, RegeditComesUpSkinned) {
    const std::wstring other = otherLauncher();
    if (other == L"-") GTEST_SKIP() << "the 32-bit regedit of a 64-bit system only starts the 64-bit one, for which "
                                      "the 64-bit skinrun is needed and was not built";
    ASSERT_FALSE(::FindWindowW(L"RegEdit_RegEdit", nullptr)) << "a regedit from elsewhere is open";
    launch(other + L"regedit.exe");
    FirstSight first = watchFirstWindow(L"RegEdit_RegEdit", started);
    notepad = first.window;  // closed by the fixture
    ASSERT_TRUE(notepad);
    // A 32-bit test cannot list a 64-bit program's modules.
    if (other.empty()) {
        EXPECT_TRUE(first.engineBeforeWindow);
    }
    EXPECT_EQ(first.answerWhenShown, 1);
    // Alt+R opens its Registry menu from the tree view that has the focus.
    const DWORD thread = ::GetWindowThreadProcessId(notepad, nullptr);
    ::SetForegroundWindow(notepad);
    pumpMessages(300);
    typeKey('R', true);
    EXPECT_TRUE(waitUntil([&] { return visibleMenuOf(thread) != nullptr; }, 3000));
    typeKey(VK_ESCAPE);
    typeKey(VK_ESCAPE);
}

namespace {

// The helper programs are built next to this test.
std::wstring besideTest(const wchar_t* name) {
    wchar_t path[MAX_PATH * 2] = {};
    ::GetModuleFileNameW(nullptr, path, DWORD(std::size(path)));
    std::wstring p = path;
    return p.substr(0, p.find_last_of(L"\\/") + 1) + name;
}

// The centre of a list-view item's icon, on the screen; the list may be
// another process's, so the rectangle travels through its memory.
bool itemIconCentre(HWND list, int item, POINT* at) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(list, &pid);
    HANDLE p = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!p) return false;
    bool ok = false;
    if (void* remote = ::VirtualAllocEx(p, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        RECT r{LVIR_ICON, 0, 0, 0};
        DWORD_PTR answer = 0;
        ok = ::WriteProcessMemory(p, remote, &r, sizeof r, nullptr) &&
             ::SendMessageTimeoutW(list, LVM_GETITEMRECT, WPARAM(item), reinterpret_cast<LPARAM>(remote),
                                   SMTO_ABORTIFHUNG, 2000, &answer) &&
             answer && ::ReadProcessMemory(p, remote, &r, sizeof r, nullptr);
        ::VirtualFreeEx(p, remote, 0, MEM_RELEASE);
        *at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ok = ok && ::ClientToScreen(list, at);
    }
    ::CloseHandle(p);
    return ok;
}

struct OtherDialog {
    DWORD exceptPid;
    HWND found;
};

BOOL CALLBACK findOtherDialog(HWND w, LPARAM state) {
    auto* s = reinterpret_cast<OtherDialog*>(state);
    wchar_t cls[16] = {};
    DWORD pid = 0;
    ::GetWindowThreadProcessId(w, &pid);
    if (::IsWindowVisible(w) && ::GetClassNameW(w, cls, 16) && ::lstrcmpW(cls, L"#32770") == 0 && pid != s->exceptPid &&
        pid != ::GetCurrentProcessId()) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// Every way a program starts another meets in the one hooked function: a
// child started by a library the program loads only after start-up, through
// ShellExecuteEx of a shell library loaded after start-up, or with an
// environment of the caller's own without skinrun's settings, comes up
// skinned from its first frame.
TEST_F(SkinRunTest, ChildrenOfEveryStartingPathAreSkinned) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    const std::wstring parent = besideTest(L"skinrun_parent.exe");
    for (const wchar_t* path : {L"late", L"shell", L"winexec", L"env"}) {
        SCOPED_TRACE(::testing::Message() << "started " << std::string(path, path + wcslen(path)));
        launch(L"\"" + parent + L"\" " + path + L" notepad.exe");
        FirstSight child = watchFirstWindow(L"Notepad", started);
        notepad = child.window;
        ASSERT_TRUE(notepad) << "no child came up";
        EXPECT_TRUE(child.engineBeforeWindow);
        EXPECT_EQ(child.answerWhenShown, 1) << "the child showed unskinned";
        EXPECT_EQ(query(notepad), 1);
        killWindowProcess(notepad);
        ASSERT_TRUE(waitUntil([] { return ::FindWindowW(L"Notepad", nullptr) == nullptr; }, 5000));
        finishRunner();
    }
}

// The control panel is a window of the shell's library, not of control.exe,
// and it starts each applet as a program of its own (the shell runs the
// applet through rundll32): both come up skinned.
TEST_F(SkinRunTest, ControlPanelAndItsAppletsAreSkinned) {
    ASSERT_FALSE(::FindWindowW(L"Shell_Control_WndClass", nullptr)) << "a control panel from elsewhere is open";
    launch(L"control.exe");
    HWND panel = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (panel = ::FindWindowW(L"Shell_Control_WndClass", nullptr)) != nullptr; }, 20000));
    notepad = panel;  // closed by the fixture
    EXPECT_TRUE(waitUntil([&] { return query(panel) == 1; }, 10000)) << "the control panel is not skinned";
    HWND list = ::FindWindowExW(panel, nullptr, L"SysListView32", nullptr);
    ASSERT_TRUE(list);
    POINT at{};
    ASSERT_TRUE(waitUntil([&] { return itemIconCentre(list, 0, &at); }, 5000)) << "the panel lists no applet";
    ::SetForegroundWindow(panel);
    pumpMessages(200);
    ::SetCursorPos(at.x, at.y);
    INPUT clicks[4]{};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
    ::SendInput(4, clicks, sizeof(INPUT));
    DWORD panelPid = 0;
    ::GetWindowThreadProcessId(panel, &panelPid);
    OtherDialog applet{panelPid, nullptr};
    ASSERT_TRUE(waitUntil([&] {
        applet.found = nullptr;
        ::EnumWindows(&findOtherDialog, reinterpret_cast<LPARAM>(&applet));
        return applet.found != nullptr;
        // The applet is a new 64-bit or 32-bit process in a prefix that may
        // never have started it, on a machine that may be compiling: its
        // first start has taken more than 20 s there.
    }, 60000)) << "double-clicking the first applet opened no window in another process";
    EXPECT_TRUE(waitUntil([&] { return query(applet.found) == 1; }, 5000)) << "the applet is not skinned";
    killWindowProcess(applet.found);
}

// Installers read their raw command line themselves: what the program gets
// is exactly what followed skinrun's own options, quotes and double blanks
// included. A program of the other bitness is handed to the skinrun of that
// bitness, comes up skinned the same way, and its exit code comes back.
TEST_F(SkinRunTest, TheCommandLineArrivesAsGivenInEitherBitness) {
    const std::wstring tail = L" show /D=C:\\x /S \"quoted\" /DIR=\"C:\\a b\"  two";
    const std::wstring mine = besideTest(L"skinrun_parent.exe"), theirs = inOtherTree(mine);
    const std::wstring otherRun = inOtherTree(widen(QS_SKINRUN));
    std::vector<std::pair<std::wstring, std::wstring>> programs = {{mine, L""}};
    if (!theirs.empty() && !otherRun.empty()) programs.push_back({theirs, L"--other \"" + otherRun + L"\" "});
    for (const auto& [program, options] : programs) {
        SCOPED_TRACE(::testing::Message() << (options.empty() ? "same bitness" : "other bitness"));
        ASSERT_FALSE(::FindWindowW(L"QsCommandLine", nullptr)) << "a window from elsewhere is open";
        const std::wstring line = L"\"" + program + L"\"" + tail;
        launch(options + line);
        HWND shown = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (shown = ::FindWindowW(L"QsCommandLine", nullptr)) != nullptr; }, 20000));
        notepad = shown;  // closed by the fixture should this fail
        EXPECT_TRUE(waitUntil([&] { return query(shown) == 1; }, 10000)) << "the program is not skinned";
        wchar_t title[512] = {};
        ::GetWindowTextW(shown, title, int(std::size(title)));
        EXPECT_EQ(std::wstring(title), line);
        ::PostMessageW(shown, WM_CLOSE, 0, 0);
        ASSERT_EQ(::WaitForSingleObject(runner.hProcess, 10000), WAIT_OBJECT_0);
        DWORD code = 0;
        ::GetExitCodeProcess(runner.hProcess, &code);
        EXPECT_EQ(code, 42u) << "the program's exit code did not come back";
        notepad = nullptr;
        finishRunner();
    }
    if (programs.size() == 1)
        GTEST_SKIP() << "the build tree of the other bitness is missing: only the same bitness was tried";
}
