// Faults with the skin manager running: windows of another user-interface
// thread, and hostile skin files given to a running program.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Forms.h"
#include "HostileFiles.h"
#include "HostileSkins.h"
#include "SkinManage.h"
#include "test_managed_util.h"

using namespace qs;
using namespace qs::test;
using namespace qs::hostile;

namespace {

bool skinned(HWND w) { return answersSkinned(w); }
bool answers(HWND w) { return answersHitTest(w, 100, 100); }

std::string defaultSkinPath() { return "Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/default.skn"; }

class FaultsWithManager : public ManagedSkinTest {
protected:
    void SetUp() override {
        ManagedSkinTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(mgr->FActive);
    }
    TForm* showForm(const wchar_t* caption) {
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption(caption);
        form->SetBounds(60, 60, 320, 220);
        form->Show();
        ::SetForegroundWindow(form->Handle());
        pumpMessages(150);
        return form.get();
    }
    void settle() {
        waitFor([&] { return !mgr->FTimer->Enabled(); }, 2000);
        pumpMessages(150);
    }
    Image look() { return freshLook(form->Handle()); }
};

// A second thread with windows of its own: the manager's hook watches only
// the thread that installed it, so these stay plain and do all they did.
struct SecondThread {
    std::atomic<HWND> window{nullptr}, button{nullptr};
    std::atomic<int> commands{0};
    std::atomic<bool> stop{false};
    std::atomic<DWORD> id{0};
    WNDPROC original = nullptr;

    static LRESULT CALLBACK proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<SecondThread*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
        if (m == WM_COMMAND && self) ++self->commands;
        return ::DefWindowProcW(w, m, wp, lp);
    }
    void run() {
        id = ::GetCurrentThreadId();
        WNDCLASSW wc{};
        wc.lpfnWndProc = proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = L"QsSecondThreadWindow";
        ::RegisterClassW(&wc);
        original = proc;
        HWND w = ::CreateWindowExW(0, wc.lpszClassName, L"Second thread", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 420, 60, 300,
                                   200, nullptr, nullptr, wc.hInstance, nullptr);
        ::SetWindowLongPtrW(w, GWLP_USERDATA, LONG_PTR(this));
        button = ::CreateWindowExW(0, L"BUTTON", L"Press", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 100, 30, w,
                                   HMENU(101), wc.hInstance, nullptr);
        window = w;
        MSG msg;
        while (!stop) {
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        ::DestroyWindow(w);
    }
};

TEST_F(FaultsWithManager, WindowsOfASecondThreadStayPlainAndWorking) {
    TForm* mine = showForm(L"First thread");
    ASSERT_TRUE(waitFor([&] { return skinned(mine->Handle()); }));

    SecondThread other;
    std::thread t([&] { other.run(); });
    ASSERT_TRUE(waitFor([&] { return other.window.load() != nullptr; }, 3000));
    HWND w = other.window;
    ::SetForegroundWindow(w);
    pumpMessages(200);

    EXPECT_FALSE(skinned(w));
    EXPECT_EQ(mgr->FindFormSkin(w), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(w, GWLP_WNDPROC)), other.original) << "subclassed";
    for (TWinSkinForm* f : mgr->FFormSkins) EXPECT_NE(f->FHandle, w);
    EXPECT_NE(mgr->FThreadId, other.id.load());

    // It works: its button reports to it, its text changes, it moves.
    DWORD_PTR r = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(other.button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, &r));
    EXPECT_TRUE(waitFor([&] { return other.commands.load() == 1; }));
    EXPECT_TRUE(::SendMessageTimeoutW(w, WM_SETTEXT, 0, LPARAM(L"Renamed"), SMTO_ABORTIFHUNG, 2000, &r));
    wchar_t text[32] = {};
    ::GetWindowTextW(w, text, 32);
    EXPECT_STREQ(text, L"Renamed");
    EXPECT_TRUE(::SetWindowPos(w, nullptr, 400, 80, 320, 240, SWP_NOZORDER));
    RECT rc{};
    ::GetWindowRect(w, &rc);
    EXPECT_EQ(rc.right - rc.left, 320);

    // Switching skins on the first thread leaves the other alone.
    sd->SetSkinFile(defaultSkinPath());
    settle();
    EXPECT_FALSE(skinned(w));
    EXPECT_TRUE(skinned(mine->Handle()));

    other.stop = true;
    t.join();
}

// A running program given hostile skin files: one that does not open leaves
// every window exactly as it looked; one that opens is shown and the windows
// keep working, and the good skin given again brings back the first look.
TEST_F(FaultsWithManager, HostileSkinFilesLeaveTheProgramRunning) {
    const std::vector<uint8_t> base = readWholeFile(defaultSkinPath());
    ASSERT_FALSE(base.empty());
    const auto cases = makeHostileCases(base);
    showForm(L"Viewer");
    ASSERT_TRUE(waitFor([&] { return skinned(form->Handle()); }));
    settle();
    const Image first = look();

    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    const std::string file = std::string(dir) + "qs-faults-" + std::to_string(::GetCurrentProcessId()) + ".skn";
    int refused = 0, shown = 0;
    for (const char* name : {"truncated/at-100", "version/0", "unpacked-size/max", "sizes/all-2GiB",
                             "entry-count/1002", "frames/every-frame-key-0", "margins/all-2147483647",
                             "bitmaps/all-1x1", "bitmaps/every-image-one-large", "size/100000-caption-buttons",
                             "bmp/FrameTop.bmp/rle8-bomb", "names/no-description"}) {
        const auto it = std::find_if(cases.begin(), cases.end(), [&](const HostileCase& c) { return c.name == name; });
        ASSERT_NE(it, cases.end()) << name;
        ASSERT_TRUE(writeWholeFile(file, it->make()));
        const std::vector<uint8_t> storedBefore = sd->StoredSkin();
        sd->SetSkinFile(file);
        settle();
        ASSERT_TRUE(::IsWindow(form->Handle())) << name;
        EXPECT_TRUE(skinned(form->Handle())) << name;
        if (sd->StoredSkin() == storedBefore) {
            ++refused;
            EXPECT_TRUE(sd->SkinLoaded()) << name;
            EXPECT_EQ(countDifferences(first, look()), 0u) << name;
        } else {
            ++shown;
            // The window still answers and can be resized with this skin.
            const SIZE size = windowSize(form->Handle());
            EXPECT_TRUE(::SetWindowPos(form->Handle(), nullptr, 0, 0, size.cx + 20, size.cy + 20, SWP_NOMOVE | SWP_NOZORDER))
                << name;
            pumpMessages(40);
            EXPECT_TRUE(answers(form->Handle())) << name;
            EXPECT_TRUE(::SetWindowPos(form->Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER)) << name;
            sd->SetSkinFile(defaultSkinPath());
            settle();
            EXPECT_EQ(countDifferences(first, look()), 0u) << name << ": the good skin again";
        }
    }
    ::DeleteFileA(file.c_str());
    EXPECT_GE(refused, 4);
    EXPECT_GE(shown, 4);
}

}  // namespace
