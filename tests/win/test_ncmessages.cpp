// The skinned frame under the real mouse and keyboard: caption buttons that
// light up, press and act; double clicks on the title and the icon; the
// skinned window menu; hit testing; and what reaches the window's own
// procedure.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "MessageRecorder.h"
#include "test_skinmanage_util.h"

using namespace qs;
using namespace qs::test;

namespace {

class NCMessagesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { skin = loadCommittedSkin("default").release(); }
    static void TearDownTestSuite() {
        delete skin;
        skin = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(skin && skin->SkinLoaded()); }
    void TearDown() override {
        recorder.reset();
        form.reset();
        for (HWND w : {wnd, other})
            if (w && ::IsWindow(w)) ::DestroyWindow(w);
        cursorTo(POINT{1200, 1000});
    }
    // A 400-pixel-wide skinned window; optionally recorded behind the skin.
    void open(DWORD style = WS_OVERLAPPEDWINDOW, bool record = false) {
        wnd = makeWindow(390, 240, style);
        ASSERT_TRUE(wnd);
        if (record) recorder = std::make_unique<MessageRecorder>(wnd);
        form = skinWindow(wnd, *skin);
        ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        pumpMessages(60);
    }
    TWinSysButton* visibleButton(int action) {
        for (auto& b : form->FButtons)
            if (b->FData && b->FData->Action == action && b->FVisible) return b.get();
        return nullptr;
    }
    static TSkinData* skin;
    HWND wnd = nullptr, other = nullptr;
    std::unique_ptr<TWinSkinForm> form;
    std::unique_ptr<MessageRecorder> recorder;
};
TSkinData* NCMessagesTest::skin = nullptr;

// Watches for menu windows from another thread and closes each with Escape.
struct MenuWatcher {
    std::atomic<int> seen{0};
    RECT first{};
    std::atomic<bool> stop{false};
    std::thread thread;
    explicit MenuWatcher(DWORD ms) {
        thread = std::thread([this, ms] {
            HWND last = nullptr;
            const DWORD start = ::GetTickCount();
            while (!stop && ::GetTickCount() - start < ms) {
                HWND m = findMenuWindow();
                if (m && m != last) {
                    if (seen++ == 0) ::GetWindowRect(m, &first);
                    last = m;
                    ::Sleep(60);
                    key(VK_ESCAPE, false);
                    key(VK_ESCAPE, true);
                } else if (!m) {
                    last = nullptr;
                }
                ::Sleep(20);
            }
        });
    }
    ~MenuWatcher() {
        stop = true;
        thread.join();
    }
};

TEST_F(NCMessagesTest, CaptionButtonLightsUpPressesAndClosesOnlyWhenReleasedOnIt) {
    open();
    TWinSysButton* close = visibleButton(0);
    ASSERT_TRUE(close);
    ASSERT_TRUE(framesDiffer(*close, 1, 3) && framesDiffer(*close, 2, 3));
    EXPECT_FALSE(matchButtonFrame(wnd, *close, 3).all());

    cursorTo(centreOf(wnd, close->FBoundsRect));
    EXPECT_EQ(close->FState, ncsHot);
    EXPECT_TRUE(matchButtonFrame(wnd, *close, 3).all());

    leftDown();
    EXPECT_EQ(close->FState, ncsPressed);
    EXPECT_TRUE(matchButtonFrame(wnd, *close, 2).all());

    // Away and released outside: nothing happens.
    cursorTo(screenPoint(wnd, 150, 14));
    EXPECT_EQ(close->FState, ncsNormal);
    leftUp();
    pumpMessages(100);
    ASSERT_TRUE(::IsWindow(wnd));

    clickAt(centreOf(wnd, close->FBoundsRect));
    EXPECT_TRUE(waitFor([&] { return !::IsWindow(wnd); }, 1500));
}

TEST_F(NCMessagesTest, MinimizeAndMaximizeButtonsChangeTheWindowState) {
    open();
    TWinSysButton* max = visibleButton(1);
    ASSERT_TRUE(max);
    clickAt(centreOf(wnd, max->FBoundsRect));
    ASSERT_TRUE(waitFor([&] { return ::IsZoomed(wnd) != FALSE; }));
    EXPECT_EQ(form->FWindowState, wsMaximizedKind);
    pumpMessages(100);
    // The same action restores from the maximised frame.
    TWinSysButton* restore = visibleButton(1);
    ASSERT_TRUE(restore);
    clickAt(centreOf(wnd, restore->FBoundsRect));
    ASSERT_TRUE(waitFor([&] { return !::IsZoomed(wnd); }));

    pumpMessages(100);
    TWinSysButton* min = visibleButton(2);
    ASSERT_TRUE(min);
    clickAt(centreOf(wnd, min->FBoundsRect));
    EXPECT_TRUE(waitFor([&] { return ::IsIconic(wnd) != FALSE; }));
}

TEST_F(NCMessagesTest, InactiveWindowIgnoresMovesOverItsButtons) {
    open(WS_OVERLAPPEDWINDOW, true);
    TWinSysButton* close = visibleButton(0);
    ASSERT_TRUE(close);
    other = makeWindow(200, 120);  // at the same place: move it clear, then it is the active one
    ::SetWindowPos(other, nullptr, 700, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetForegroundWindow(other);
    pumpMessages(100);
    ASSERT_FALSE(form->FActive);
    recorder->clear();

    cursorTo(centreOf(wnd, close->FBoundsRect));
    cursorTo(screenPoint(wnd, close->FBoundsRect.left + 3, close->FBoundsRect.top + 3));
    EXPECT_NE(close->FState, ncsHot);
    EXPECT_FALSE(matchButtonFrame(wnd, *close, 3).all());
    EXPECT_EQ(recorder->count(WM_NCMOUSEMOVE), 0u) << recorder->describe();
}

TEST_F(NCMessagesTest, HoverTimerTakesTheLightOffWhenThePointerLeavesTheWindow) {
    open();
    TWinSysButton* close = visibleButton(0);
    ASSERT_TRUE(close);
    cursorTo(centreOf(wnd, close->FBoundsRect));
    ASSERT_EQ(form->FHotObject, close);
    ::SetCursorPos(1200, 1000);  // far outside: no non-client move arrives
    EXPECT_TRUE(waitFor([&] { return form->FHotObject == nullptr && close->FState == ncsNormal; }, 1500));
    EXPECT_FALSE(matchButtonFrame(wnd, *close, 3).all());
}

TEST_F(NCMessagesTest, DoubleClickOnTheTitleTogglesOrPassesOnAndOnTheIconCloses) {
    open();
    doubleClickAt(screenPoint(wnd, 160, 14));
    ASSERT_TRUE(waitFor([&] { return ::IsZoomed(wnd) != FALSE; }));
    pumpMessages(150);
    doubleClickAt(screenPoint(wnd, 160, 14));
    ASSERT_TRUE(waitFor([&] { return !::IsZoomed(wnd); }));
    pumpMessages(150);

    TWinSysButton* icon = nullptr;
    for (auto& b : form->FButtons)
        if (b->IsIconButton() && b->FVisible) icon = b.get();
    ASSERT_TRUE(icon);
    MenuWatcher watcher(2500);  // the first click of the pair opens the window menu
    doubleClickAt(centreOf(wnd, icon->FBoundsRect));
    EXPECT_TRUE(waitFor([&] { return !::IsWindow(wnd); }, 2000));
}

TEST_F(NCMessagesTest, DoubleClickWithoutMaximizeBoxReachesThePreviousProcedure) {
    open(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, true);
    recorder->clear();
    doubleClickAt(screenPoint(wnd, 160, 14));
    pumpMessages(150);
    EXPECT_FALSE(::IsZoomed(wnd));
    EXPECT_GE(recorder->count(WM_NCLBUTTONDBLCLK), 1u) << recorder->describe();
}

TEST_F(NCMessagesTest, DraggingTheTitleOfAMaximizedWindowDoesNothing) {
    open();
    ::ShowWindow(wnd, SW_MAXIMIZE);
    pumpMessages(150);
    ASSERT_TRUE(::IsZoomed(wnd));
    RECT before{};
    ::GetWindowRect(wnd, &before);
    cursorTo(screenPoint(wnd, 300, 14));
    leftDown();
    cursorTo(screenPoint(wnd, 360, 80));
    cursorTo(screenPoint(wnd, 420, 140));
    leftUp();
    pumpMessages(150);
    RECT after{};
    ::GetWindowRect(wnd, &after);
    EXPECT_TRUE(::IsZoomed(wnd));
    EXPECT_TRUE(::EqualRect(&before, &after));
}

TEST_F(NCMessagesTest, AltSpaceOpensTheSkinnedWindowMenuAtTheClientOrigin) {
    open(WS_OVERLAPPEDWINDOW, true);
    ::SetForegroundWindow(wnd);
    pumpMessages(50);
    recorder->clear();
    {
        MenuWatcher watcher(2000);
        key(VK_MENU, false);
        key(VK_SPACE, false);
        key(VK_SPACE, true);
        key(VK_MENU, true);
        waitFor([&] { return watcher.seen > 0; }, 1500);
        pumpMessages(600);  // a second menu would show up in this time
        EXPECT_EQ(watcher.seen.load(), 1);
        POINT origin{0, 0};
        ::ClientToScreen(wnd, &origin);
        EXPECT_EQ(watcher.first.left, origin.x);
        EXPECT_EQ(watcher.first.top, origin.y);
    }
    ASSERT_TRUE(form->FSysMenu);
    EXPECT_EQ(form->FSysMenu->Tag(), kSystemMenuTag);
    EXPECT_TRUE(form->FSysMenu->OwnerDraw());
    EXPECT_EQ(form->FSysMenu->Items()->Count(), ::GetMenuItemCount(::GetSystemMenu(wnd, FALSE)));
    // The window's own procedure never saw a request for the system's menu.
    for (const auto& m : recorder->messages()) {
        if (m.msg == WM_SYSCOMMAND) {
            EXPECT_NE(m.wParam & 0xFFF0, WPARAM(SC_KEYMENU));
        }
    }
}

TEST_F(NCMessagesTest, RightClickOnTheTitleOpensTheWindowMenuThere) {
    open();
    const POINT at = screenPoint(wnd, 170, 12);
    MenuWatcher watcher(2000);
    cursorTo(at);
    mouseEvent(MOUSEEVENTF_RIGHTDOWN);
    waitFor([&] { return watcher.seen > 0; }, 1500);
    mouseEvent(MOUSEEVENTF_RIGHTUP);
    EXPECT_EQ(watcher.seen.load(), 1);
    EXPECT_EQ(watcher.first.left, at.x);
    EXPECT_EQ(watcher.first.top, at.y);
    // In the client area the window keeps its own right click.
    const int before = watcher.seen;
    cursorTo(screenPoint(wnd, 170, 120));
    mouseEvent(MOUSEEVENTF_RIGHTDOWN);
    mouseEvent(MOUSEEVENTF_RIGHTUP);
    pumpMessages(200);
    EXPECT_EQ(watcher.seen.load(), before);
}

TEST_F(NCMessagesTest, WindowMenuCopyFollowsTheWindowState) {
    open();
    form->BuildSystemMenu();
    ASSERT_TRUE(form->FSysMenu);
    auto item = [&](UINT cmd) -> TMenuItem* {
        for (int i = 0; i < form->FSysMenu->Items()->Count(); ++i)
            if (UINT(form->FSysMenu->Items()->Items(i)->Tag()) == cmd) return form->FSysMenu->Items()->Items(i);
        return nullptr;
    };
    ASSERT_TRUE(item(SC_CLOSE) && item(SC_RESTORE) && item(SC_MAXIMIZE));
    EXPECT_EQ(item(SC_CLOSE)->ImageIndex(), 3);
    EXPECT_FALSE(item(SC_RESTORE)->Enabled());
    EXPECT_TRUE(item(SC_MAXIMIZE)->Enabled());
    item(SC_MAXIMIZE)->Click();
    EXPECT_TRUE(waitFor([&] { return ::IsZoomed(wnd) != FALSE; }));
    form->BuildSystemMenu();
    EXPECT_TRUE(item(SC_RESTORE)->Enabled());
    EXPECT_FALSE(item(SC_MAXIMIZE)->Enabled());
    EXPECT_FALSE(item(SC_MOVE)->Enabled());
}

TEST_F(NCMessagesTest, NonClientPaintBeforeActivationPaintsNothing) {
    wnd = makeWindow(390, 240);
    {
        WindowDCScope dc(wnd);
        UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
        RECT all{0, 0, 4000, 4000};
        ::FillRect(dc.get(), &all, brush.get());
    }
    form = std::make_unique<TWinSkinForm>(nullptr);
    form->FHandle = wnd;
    form->AttachWindow(skin);  // no activation message yet
    EXPECT_EQ(::SendMessageW(wnd, WM_NCPAINT, 1, 0), 0);
    const Image img = captureWindow(wnd);
    EXPECT_EQ(img.colorAt(2, 2), RGB(1, 2, 3));
    EXPECT_EQ(img.colorAt(img.width / 2, 10), RGB(1, 2, 3));
}

TEST_F(NCMessagesTest, HitTestAndWhatThePreviousProcedureSees) {
    open(WS_OVERLAPPEDWINDOW, true);
    auto hit = [&](int x, int y) {
        const POINT p = screenPoint(wnd, x, y);
        return ::SendMessageW(wnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    };
    EXPECT_EQ(hit(160, 14), HTCAPTION);
    TWinSysButton* close = visibleButton(0);
    ASSERT_TRUE(close);
    EXPECT_EQ(hit(close->FBoundsRect.left + 2, close->FBoundsRect.top + 2), HTCAPTION);
    EXPECT_EQ(hit(160, 100), HTCLIENT);

    // One WM_SIZE per change of size reaches the window's own procedure.
    recorder->clear();
    RECT r{};
    ::GetWindowRect(wnd, &r);
    ::SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left + 30, r.bottom - r.top + 20, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages(50);
    EXPECT_EQ(recorder->count(WM_SIZE), 1u);

    // F10 without a skinned menu bar opens nothing and stays with the skin.
    recorder->clear();
    EXPECT_EQ(::SendMessageW(wnd, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
    EXPECT_EQ(recorder->count(WM_SYSCOMMAND), 0u);
    EXPECT_FALSE(findMenuWindow());

    // A caption button without a built-in action hands its action to the window.
    TDataSkinSysButton custom("Custom");
    custom.Action = 42;
    TWinSysButton b;
    b.FForm = form.get();
    b.FData = &custom;
    recorder->clear();
    form->DoButtonAction(&b, POINT{0, 0});
    pumpMessages(30);
    bool seen = false;
    for (const auto& m : recorder->messages())
        if (m.msg == WM_SKIN_BUTTON_ACTION && m.wParam == 42) seen = true;
    EXPECT_TRUE(seen) << recorder->describe();
}

}  // namespace
