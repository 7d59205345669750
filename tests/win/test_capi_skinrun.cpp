// skinrun on a program that knows nothing of the engine: Wine's notepad comes
// up skinned (it answers the skinned-window query, its frame shows the skin's
// pixels) and still works (typed text arrives, its menu opens).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "WindowCapture.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

std::wstring widen(const std::string& s) {
    std::wstring w(s.size() * 2 + 1, L'\0');
    w.resize(std::size_t(::MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), int(w.size())) - 1));
    return w;
}

template <class F>
bool waitUntil(F cond, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!cond()) {
        if (::GetTickCount() - start > ms) return false;
        pumpMessages(50);
    }
    return true;
}

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

void typeKey(WORD vk, bool withAlt = false) {
    INPUT in[4]{};
    int n = 0;
    auto key = [&](WORD k, bool up) {
        in[n].type = INPUT_KEYBOARD;
        in[n].ki.wVk = k;
        in[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++n;
    };
    if (withAlt) key(VK_MENU, false);
    key(vk, false);
    key(vk, true);
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

class SkinRunTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (notepad) {
            DWORD pid = 0;
            ::GetWindowThreadProcessId(notepad, &pid);
            if (HANDLE p = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                ::TerminateProcess(p, 0);
                ::WaitForSingleObject(p, 5000);
                ::CloseHandle(p);
            }
        }
        if (runner.hProcess) {
            if (::WaitForSingleObject(runner.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(runner.hProcess, 1);
            ::CloseHandle(runner.hProcess);
            ::CloseHandle(runner.hThread);
        }
    }
    PROCESS_INFORMATION runner{};
    HWND notepad = nullptr;
};

TEST_F(SkinRunTest, NotepadComesUpSkinnedAndKeepsWorking) {
    ASSERT_FALSE(::FindWindowW(L"Notepad", nullptr)) << "a notepad from elsewhere is open";
    const std::wstring skin = widen("Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/default.skn");
    std::wstring cmd = L"\"" + widen(QS_SKINRUN) + L"\" --skin \"" + skin + L"\" notepad.exe";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    ASSERT_TRUE(::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &runner));

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

}  // namespace
