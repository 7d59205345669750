// Toolkit faults that only show across files: headers that must be usable
// together, and the application object reached from static initialisers.
#include <gtest/gtest.h>

#include "Application.h"
#include "ComCtrlsEdit.h"
#include "MPlayer.h"

using namespace qs;

namespace {

// Runs while this file's statics are set up, in whatever order the linker
// placed the toolkit's own files.
struct EarlyUse {
    TApplication* app = nullptr;
    EarlyUse() {
        Application->Initialize();
        Application->SetTitle(L"set before main");
        app = Application;
    }
};
EarlyUse gEarly;

}  // namespace

TEST(ApplicationObject, StaticInitialisersReachTheOneApplication) {
    ASSERT_NE(gEarly.app, nullptr);
    EXPECT_EQ(gEarly.app, Application.get());
    EXPECT_EQ(Application->Title(), L"set before main");
    // Initialize from the static initialiser registered the control classes.
    EXPECT_NE(FindClass("TUpDown"), nullptr);
    EXPECT_NE(FindClass("TMediaPlayer"), nullptr);
}

TEST(ApplicationObject, AReplacementIsUsedAndAClearedOneIsNotRemade) {
    TApplication* saved = Application;
    {
        TApplication other(nullptr);
        Application = &other;
        EXPECT_EQ(Application.get(), &other);
    }
    // The replacement cleared itself on the way out; nothing new is made.
    EXPECT_EQ(Application.peek(), nullptr);
    EXPECT_EQ(Application.get(), nullptr);
    Application = saved;
    EXPECT_EQ(Application.get(), saved);
}

TEST(HeadersTogether, MediaPlayerAndUpDownButtonKindsStayApart) {
    // Both kinds named in one file: the player's plain names and the
    // up-down's scoped ones.
    TMPBtnType player = btNext;
    TUDBtnType upDown = TUDBtnType::btNext;
    EXPECT_EQ(kMPBtnTypeNames.at(player), "btNext");
    EXPECT_EQ(kMPBtnTypeNames.at(btPrev), "btPrev");
    EXPECT_NE(upDown, TUDBtnType::btPrev);
}
