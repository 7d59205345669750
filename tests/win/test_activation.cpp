// The skin data component's side of skinning: its "loaded" step, the rules
// that keep windows and controls unskinned, the Skin3rd lookup, and the
// optional system functions.
#include <gtest/gtest.h>

#include "MessageRecorder.h"
#include "SkinManage.h"
#include "test_skinmanage_util.h"

using namespace qs;
using namespace qs::test;

namespace {

class ActivationTest : public ::testing::Test {
protected:
    void TearDown() override { FreeSkinManager(); }
};

TEST_F(ActivationTest, LoadedStepWithoutAUsableSkinSwitchesActiveOff) {
    TSkinData sd(nullptr);
    sd.BeginLoading();
    sd.SetActive(true);
    sd.SetStoredSkin({'n', 'o', 't', ' ', 'a', ' ', 's', 'k', 'i', 'n'});
    EXPECT_FALSE(sd.LoadSkin());
    sd.Loaded();
    EXPECT_FALSE(sd.Active());
    TSkinManage* m = SkinManager();
    ASSERT_TRUE(m);
    EXPECT_FALSE(m->FActive);
    EXPECT_EQ(m->FDefaultSkinData, &sd);
    EXPECT_TRUE(m->FHook);
}

TEST_F(ActivationTest, LoadedStepTrimsTheMenuMembersAndRequestsOnce) {
    auto withMain = loadCommittedSkin("default");
    withMain->BeginLoading();
    withMain->SetActive(true);
    withMain->Loaded();
    EXPECT_TRUE(inSet(withMain->SkinControls(), xcSystemMenu));
    EXPECT_FALSE(inSet(withMain->SkinControls(), xcMenuItem));
    TSkinManage* m = SkinManager();
    ASSERT_TRUE(m);
    // No window activated yet: the request took effect at once.
    EXPECT_TRUE(m->FActive);
    EXPECT_FALSE(m->FTimer->Enabled());

    auto noMain = loadCommittedSkin("default");
    noMain->SetSkinFormtype(sfDLL);
    noMain->SetSkinControls(noMain->SkinControls() & ~setBit(xcMainMenu));
    noMain->BeginLoading();
    noMain->Loaded();
    // Only the main-form kind trims; this one keeps what it was given.
    EXPECT_EQ(m->FSkinDatas.size(), 2u);
    EXPECT_EQ(m->FDefaultSkinData, withMain.get());

    auto plain = loadCommittedSkin("default");
    plain->SetSkinControls(plain->SkinControls() & ~setBit(xcMainMenu));
    plain->BeginLoading();
    plain->Loaded();
    EXPECT_FALSE(inSet(plain->SkinControls(), xcSystemMenu));
    EXPECT_EQ(m->FDefaultSkinData, withMain.get());

    // Once running, a change of Active is one deferred request.
    m->FState = 1;
    withMain->SetActive(false);
    EXPECT_EQ(m->FPendingAction, srDeactivate);
    EXPECT_TRUE(m->FTimer->Enabled());
    m->OnTimer();
    EXPECT_FALSE(m->FActive);
    withMain->SetActive(true);
    withMain->SetActive(true);
    EXPECT_EQ(m->FPendingAction, srActivate);
    m->OnTimer();
    EXPECT_TRUE(m->FActive);
    EXPECT_EQ(m->FPendingAction, srNone);
}

TEST_F(ActivationTest, FormSkinQuestionAndItsBuiltInExclusions) {
    TSkinData sd(nullptr);
    bool doSkin = true;
    sd.AskFormSkin(reinterpret_cast<HWND>(0x1234), "SysMonthCal32", doSkin);
    EXPECT_FALSE(doSkin);
    EXPECT_EQ(sd.FormHandle(), reinterpret_cast<HWND>(0x1234));
    doSkin = true;
    sd.AskFormSkin(nullptr, "TfrPreviewForm", doSkin);
    EXPECT_TRUE(doSkin);  // xcFastReport is not in the default set
    sd.SetSkinControls(sd.SkinControls() | setBit(xcFastReport));
    sd.AskFormSkin(nullptr, "TfrPreviewForm", doSkin);
    EXPECT_FALSE(doSkin);

    // With a handler it alone decides: a month calendar stays skinned.
    std::string asked;
    sd.OnFormSkin = [&](TObject*, const std::string& name, bool& skin) { asked = name; };
    doSkin = true;
    sd.AskFormSkin(nullptr, "SysMonthCal32", doSkin);
    EXPECT_TRUE(doSkin);
    EXPECT_EQ(asked, "SysMonthCal32");
    sd.OnFormSkin = [](TObject*, const std::string&, bool& skin) { skin = false; };
    sd.AskFormSkin(nullptr, "TForm1", doSkin);
    EXPECT_FALSE(doSkin);
}

TEST_F(ActivationTest, Skin3rdLinesMatchTheWholeClassInAnyCase) {
    TSkinData sd(nullptr);
    sd.SetSkin3rd({"TMyPanel=Panel", "TOther=nil", "tmypanel=button", "TLongKind=" + std::string(60, 'K')});
    EXPECT_EQ(sd.Skin3rdKind("TMyPanel"), "panel");
    EXPECT_EQ(sd.Skin3rdKind("tmypanel"), "panel");  // the first line wins
    EXPECT_EQ(sd.Skin3rdKind("TOTHER"), "nil");
    EXPECT_EQ(sd.Skin3rdKind("TMyPanelEx"), "");
    EXPECT_EQ(sd.Skin3rdKind("TMy"), "");
    EXPECT_EQ(sd.Skin3rdKind("TLongKind"), std::string(50, 'k'));
    // The built-in lines are there from the start.
    TSkinData fresh(nullptr);
    EXPECT_FALSE(fresh.Skin3rd().empty());
}

TEST_F(ActivationTest, OptionalSystemFunctions) {
    HWND w = ::CreateWindowExW(0, testWindowClass(), L"scroll", WS_OVERLAPPEDWINDOW | WS_VSCROLL, 60, 60, 300, 200,
                               nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(w);
    ::ShowWindow(w, SW_SHOW);
    pumpMessages(60);
    SCROLLBARINFO info{};
    ASSERT_TRUE(HasGetScrollBarInfo());
    EXPECT_TRUE(SafeGetScrollBarInfo(w, OBJID_VSCROLL, info));
    EXPECT_GT(info.rcScrollBar.bottom - info.rcScrollBar.top, 50);

    // Leave tracking: the window hears when the pointer goes.
    ASSERT_TRUE(HasTrackMouseEvent());
    cursorTo(screenPoint(w, 150, 100));
    MessageRecorder leaves(w, {WM_MOUSELEAVE});
    StartLeaveTracking(w);
    pumpMessages(100);
    EXPECT_EQ(leaves.count(WM_MOUSELEAVE), 0u);
    cursorTo(POINT{1200, 1000});
    EXPECT_TRUE(waitFor([&] { return leaves.count(WM_MOUSELEAVE) > 0; }, 1000));
    StartLeaveTracking(nullptr);  // nothing to track: no harm
    ::DestroyWindow(w);
}

}  // namespace
