// Control skins that fail: one whose painting throws every time, one whose
// message handler throws on every message. The control under either keeps
// its whole message flow: it gets its messages, real clicks and keys reach
// its handlers, its text changes, and it is destroyed cleanly.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>

#include "Application.h"
#include "SkinControl.h"
#include "SkinData.h"
#include "SkinRoutines.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "test_buttons_util.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

class TPaintFailsSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    int paints = 0;
    void Paint(HDC, const RECT&) override {
        ++paints;
        throw std::runtime_error("paint failed");
    }
};

class THandlerFailsSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    int seen = 0;
    bool BeforeMessage(TMessage&) override {
        ++seen;
        throw std::runtime_error("handler failed");
    }
};

// The skin that would have painted: pure red, to see that it did not.
class TAfterFailsSkin : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    int after = 0;
    void AfterMessage(TMessage&) override {
        ++after;
        throw std::bad_alloc();
    }
};

struct FailingSkins : ::testing::Test {
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    TButton* button = nullptr;
    TEdit* edit = nullptr;
    int clicks = 0;

    void SetUp() override {
        Application->Initialize();
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        form = shownForm(360, 200);
        button = new TButton(form.get());
        button->SetParent(form.get());
        button->SetBounds(20, 20, 140, 40);
        button->SetCaption(L"Press");
        button->OnClick = [this](TObject*) { ++clicks; };
        edit = new TEdit(form.get());
        edit->SetParent(form.get());
        edit->SetBounds(20, 90, 200, 24);
        appPump(60);
    }
    void TearDown() override { form.reset(); }

    // Everything a user and a program do with the button, with the skin on.
    void useTheButton(const char* which) {
        const HWND h = button->Handle();
        ::RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        appPump(40);
        clickClient(h, 70, 20);
        EXPECT_EQ(clicks, 1) << which << ": the real click";
        // Keyboard: focus, then space, through the application's loop.
        button->SetFocus();
        appPump(40);
        EXPECT_EQ(::GetFocus(), h) << which;
        pressKey(VK_SPACE);
        EXPECT_EQ(clicks, 2) << which << ": space on the focused button";
        // A program's messages.
        EXPECT_TRUE(::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Still here")));
        EXPECT_EQ(GetWindowTextWide(h), L"Still here") << which;
        EXPECT_EQ(::SendMessageW(h, WM_GETTEXTLENGTH, 0, 0), 10) << which;
        ::SendMessageW(h, BM_CLICK, 0, 0);
        appPump(20);
        EXPECT_EQ(clicks, 3) << which << ": BM_CLICK";
        // The rest of the window is untouched: the edit takes typing.
        edit->SetFocus();
        appPump(20);
        pressKey('Q');
        EXPECT_EQ(GetWindowTextWide(edit->Handle()), L"q") << which;
        DWORD_PTR r = 0;
        EXPECT_TRUE(::SendMessageTimeoutW(form->Handle(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &r)) << which;
    }
};

TEST_F(FailingSkins, PaintThatThrowsLeavesTheControlWorking) {
    auto* s = new TPaintFailsSkin(button);
    s->Attach(nullptr, sd.get(), false, nullptr);
    appPump(60);
    useTheButton("paint throws");
    EXPECT_GT(s->paints, 0) << "the failing paint was never reached";
    EXPECT_EQ(::SendMessageW(button->Handle(), WM_SKIN_QUERY, 0, 0), 1);
    delete s;
    // The button paints itself again once the skin is gone.
    EXPECT_EQ(::SendMessageW(button->Handle(), WM_SKIN_QUERY, 0, 0), 0);
    ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
    appPump(20);
    EXPECT_EQ(clicks, 4);
}

// A handler that throws before the control had a message used to swallow
// the message: presses and keys never reached the button.
TEST_F(FailingSkins, HandlerThatThrowsStillPassesEveryMessageOn) {
    auto* s = new THandlerFailsSkin(button);
    s->Attach(nullptr, sd.get(), false, nullptr);
    appPump(60);
    useTheButton("handler throws");
    EXPECT_GT(s->seen, 20);
    delete s;
}

TEST_F(FailingSkins, HandlerAfterTheControlThrowsWithoutDoublingMessages) {
    auto* s = new TAfterFailsSkin(button);
    s->Attach(nullptr, sd.get(), false, nullptr);
    appPump(60);
    useTheButton("after-handler throws");  // counts clicks exactly: none delivered twice
    EXPECT_GT(s->after, 20);
    delete s;
}

// The same on a bare window (skin attached by handle): destroying it while
// the handler throws on every message still destroys it and tells the skin.
TEST_F(FailingSkins, BareWindowWithAThrowingHandlerIsDestroyedCleanly) {
    HWND h = ::CreateWindowExW(0, L"BUTTON", L"bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 200, 20, 100, 30,
                               form->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(h, nullptr);
    auto* s = new THandlerFailsSkin(nullptr);
    s->AttachHandle(h, sd.get(), nullptr, nullptr);
    appPump(40);
    EXPECT_TRUE(::SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"renamed")));
    EXPECT_EQ(GetWindowTextWide(h), L"renamed");
    EXPECT_TRUE(::DestroyWindow(h));
    EXPECT_FALSE(::IsWindow(h));
    EXPECT_EQ(TSkinControl::FromHandle(h), nullptr);
    delete s;
}

}  // namespace
