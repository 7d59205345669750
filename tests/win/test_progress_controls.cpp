// The toolkit's progress bar, track bar and media player on a real form:
// values reaching the system controls, orientation and tick styles, reading
// from a definition, and the media player's buttons under the real mouse.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "ComCtrlsProgress.h"
#include "MPlayer.h"
#include "core/FormReader.h"
#include "test_progress_util.h"

using namespace qs;
using namespace qs::test;

namespace {

LONG_PTR styleOf(HWND h) { return GetWindowLongPtrW(h, GWL_STYLE); }

}  // namespace

TEST(ProgressBar, RangeAndPositionReachTheWindowAndStayInRange) {
    auto form = makeShownForm();
    auto* pb = new TProgressBar(form.get());
    pb->SetParent(form.get());
    EXPECT_FALSE(pb->SetRange(10, 5));
    ASSERT_TRUE(pb->SetRange(20, 200));
    pb->SetPosition(50);
    HWND h = pb->Handle();
    EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 50);
    EXPECT_EQ(SendMessageW(h, PBM_GETRANGE, TRUE, 0), 20);
    EXPECT_EQ(SendMessageW(h, PBM_GETRANGE, FALSE, 0), 200);
    pb->SetPosition(500);
    EXPECT_EQ(pb->Position(), 200);
    pb->SetPosition(-3);
    EXPECT_EQ(pb->Position(), 20);
    pb->SetPosition(195);
    pb->StepIt();
    EXPECT_EQ(pb->Position(), 200);
    EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 200);
    // Narrowing the range pulls the position in.
    pb->SetRange(0, 80);
    EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 80);
}

TEST(ProgressBar, OrientationAndSmoothRemakeTheWindowKeepingValues) {
    auto form = makeShownForm();
    auto* pb = new TProgressBar(form.get());
    pb->SetParent(form.get());
    pb->SetBounds(10, 10, 120, 18);
    pb->SetPosition(40);
    EXPECT_EQ(styleOf(pb->Handle()) & (PBS_VERTICAL | PBS_SMOOTH), 0);
    pb->SetOrientation(pbVertical);
    pb->SetSmooth(true);
    HWND h = pb->Handle();
    EXPECT_EQ(styleOf(h) & (PBS_VERTICAL | PBS_SMOOTH), PBS_VERTICAL | PBS_SMOOTH);
    EXPECT_EQ(pb->Width(), 18);
    EXPECT_EQ(pb->Height(), 120);
    EXPECT_EQ(SendMessageW(h, PBM_GETPOS, 0, 0), 40);
}

TEST(ProgressBar, SystemPaintingFollowsOrientation) {
    auto form = makeShownForm();
    auto* horz = new TProgressBar(form.get());
    horz->SetParent(form.get());
    horz->SetBounds(10, 10, 200, 20);
    horz->SetSmooth(true);
    horz->SetPosition(50);
    auto* vert = new TProgressBar(form.get());
    vert->SetParent(form.get());
    vert->SetOrientation(pbVertical);
    vert->SetSmooth(true);
    vert->SetBounds(240, 10, 20, 200);
    vert->SetPosition(50);
    pumpMessages(80);
    COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
    Image h = captureWindow(horz->Handle());
    Image v = captureWindow(vert->Handle());
    // Filled on the left half only.
    EXPECT_GT(countColour(h, RECT{0, 0, 90, 20}, bar), 0u);
    EXPECT_EQ(countColour(h, RECT{110, 0, 200, 20}, bar), 0u);
    // Filled from the bottom.
    EXPECT_GT(countColour(v, RECT{0, 110, 20, 200}, bar), 0u);
    EXPECT_EQ(countColour(v, RECT{0, 0, 20, 90}, bar), 0u);
}

TEST(TrackBar, StylesFollowOrientationAndTicks) {
    auto form = makeShownForm();
    auto* tb = new TTrackBar(form.get());
    tb->SetParent(form.get());
    EXPECT_EQ(styleOf(tb->Handle()) & (TBS_VERT | TBS_AUTOTICKS | TBS_NOTICKS | TBS_BOTH), TBS_AUTOTICKS);
    tb->SetRange(0, 20);
    tb->SetPosition(7);
    tb->SetOrientation(trVertical);
    tb->SetTickMarks(tmBoth);
    EXPECT_EQ(styleOf(tb->Handle()) & (TBS_VERT | TBS_BOTH), TBS_VERT | TBS_BOTH);
    EXPECT_EQ(tb->Width(), 45);
    tb->SetTickStyle(tsNone);
    EXPECT_TRUE(styleOf(tb->Handle()) & TBS_NOTICKS);
    EXPECT_EQ(SendMessageW(tb->Handle(), TBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(SendMessageW(tb->Handle(), TBM_GETRANGEMAX, 0, 0), 20);
}

TEST(TrackBar, UserMovesReachOnChange) {
    auto form = makeShownForm();
    auto* tb = new TTrackBar(form.get());
    tb->SetParent(form.get());
    tb->SetBounds(10, 10, 200, 40);
    tb->SetRange(0, 10);
    std::vector<int> seen;
    tb->OnChange = [&](TObject*) { seen.push_back(tb->Position()); };
    SendMessageW(tb->Handle(), WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(tb->Handle(), WM_KEYUP, VK_RIGHT, 0);
    SendMessageW(tb->Handle(), WM_KEYDOWN, VK_END, 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 1);
    EXPECT_EQ(tb->Position(), 10);
    EXPECT_EQ(seen.back(), 10);
}

TEST(ProgressControls, ReadFromADefinition) {
    initToolkit();
    TForm form(nullptr);
    ReadForm(&form, R"(object F: TForm
  object PB: TProgressBar
    Max = 200
    Min = 20
    Position = 50
    Orientation = pbVertical
  end
  object TB: TTrackBar
    Min = 5
    Max = 30
    Position = 12
    TickStyle = tsNone
  end
  object MP: TMediaPlayer
    VisibleButtons = [btPlay, btStop, btEject]
    EnabledButtons = [btPlay]
    ColoredButtons = []
  end
end
)");
    auto* pb = dynamic_cast<TProgressBar*>(form.FindComponent("PB"));
    auto* tb = dynamic_cast<TTrackBar*>(form.FindComponent("TB"));
    auto* mp = dynamic_cast<TMediaPlayer*>(form.FindComponent("MP"));
    ASSERT_TRUE(pb && tb && mp);
    EXPECT_EQ(pb->Min(), 20);
    EXPECT_EQ(pb->Max(), 200);
    EXPECT_EQ(pb->Position(), 50);
    EXPECT_EQ(pb->Orientation(), pbVertical);
    EXPECT_EQ(tb->Min(), 5);
    EXPECT_EQ(tb->Position(), 12);
    EXPECT_EQ(tb->TickStyle(), tsNone);
    EXPECT_EQ(mp->VisibleButtons(), (1u << btPlay) | (1u << btStop) | (1u << btEject));
    EXPECT_EQ(mp->EnabledButtons(), 1u << btPlay);
    EXPECT_EQ(mp->ColoredButtons(), 0u);
    // The sets read back by name, in button order.
    auto v = GetPropValue(mp, "VisibleButtons");
    ASSERT_TRUE(v && std::holds_alternative<TSetValue>(*v));
    EXPECT_EQ(std::get<TSetValue>(*v).members, (std::vector<std::string>{"btPlay", "btStop", "btEject"}));
    EXPECT_FALSE(SetPropValue(mp, "VisibleButtons", TSetValue{{"btPlay", "btRewind"}}));
    EXPECT_EQ(mp->VisibleButtons(), (1u << btPlay) | (1u << btStop) | (1u << btEject));
}

struct MediaPlayerMouse : ::testing::Test {
    std::unique_ptr<TForm> form;
    TMediaPlayer* mp = nullptr;
    std::vector<TMPBtnType> clicks;
    void SetUp() override {
        form = makeShownForm();
        mp = new TMediaPlayer(form.get());
        mp->SetParent(form.get());
        mp->SetBounds(20, 30, 253, 30);
        mp->OnButtonClick = [this](TObject*, TMPBtnType b, bool&) { clicks.push_back(b); };
        mp->Handle();
        pumpMessages(40);
    }
    void TearDown() override {
        mouseButton(false);
        form.reset();
    }
};

TEST_F(MediaPlayerMouse, OneClickPerButtonOnlyWhenReleasedOverTheSameButton) {
    HWND h = mp->Handle();
    ASSERT_EQ(mp->ButtonWidth(), 28);
    clickAt(h, 14, 15);
    clickAt(h, 8 * 28 + 5, 15);
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btPlay, btEject}));
    // Pressed on Play, released over Stop: nothing.
    clicks.clear();
    mouseTo(h, 10, 15);
    mouseButton(true);
    EXPECT_EQ(mp->PressedButton(), btPlay);
    mouseTo(h, 2 * 28 + 10, 15);
    mouseButton(false);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(mp->PressedButton(), kMPNoButton);
    // The border column between Play and Pause is Play's.
    clickAt(h, 28, 15);
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btPlay}));
    // A disabled button does not click.
    clicks.clear();
    mp->SetEnabledButtons(kMPAllButtons & ~(1u << btStop));
    clickAt(h, 2 * 28 + 10, 15);
    EXPECT_TRUE(clicks.empty());
}

TEST_F(MediaPlayerMouse, HidingButtonsWidensTheOthers) {
    HWND h = mp->Handle();
    Image before = captureClient(h);
    mp->SetVisibleButtons((1u << btPlay) | (1u << btStop) | (1u << btEject));
    pumpMessages(60);
    Image after = captureClient(h);
    // QS_SHOTS=dir keeps the captures for a look.
    if (const char* dir = getenv("QS_SHOTS")) {
        std::string d(dir);
        saveBmp(before, std::wstring(d.begin(), d.end()) + L"/player9.bmp");
        saveBmp(after, std::wstring(d.begin(), d.end()) + L"/player3.bmp");
    }
    EXPECT_EQ(mp->ButtonWidth(), 84);
    // The dark outer edge of the first cell moved from column 27 to 83.
    COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    EXPECT_EQ(before.colorAt(27, 15), dark);
    EXPECT_NE(after.colorAt(27, 15), dark);
    EXPECT_EQ(after.colorAt(83, 15), dark);
    // The widened Stop cell takes the click that Next had before.
    clickAt(h, 100, 15);
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btStop}));
}
