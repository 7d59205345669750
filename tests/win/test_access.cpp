// What people who use high contrast, a screen reader or the keyboard alone
// get from a skinned program: the skin stepping aside for high contrast, the
// title bar's accessible object, focus that shows, controls that keep their
// accessible names and roles.
#include <gtest/gtest.h>
#include <windows.h>

#include "SkinManage.h"
#include "test_gallery_util.h"

using namespace qs;
using namespace qs::test;

namespace {

void sendContrastChange(HWND wnd) {
    ::SendMessageW(wnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    gallery::pump(400);
}

// Wine refuses SPI_SETHIGHCONTRAST (error 1439), so the test switches what
// the engine reads through its seam and sends the change the system would
// broadcast. Each change reaches one window only: the other must follow.
TEST(HighContrast, SkinStepsAsideForEveryWindowAndComesBack) {
    auto& skin = GallerySkin::get();
    skin.use("dark");
    OpenPage a(page("buttons"));
    OpenPage b(page("checks"));
    skin.use("");
    const Image plainA = captureWindow(a.w.handle), plainB = captureWindow(b.w.handle);
    skin.use("dark");
    ASSERT_TRUE(skinned(a.w.handle) && skinned(b.w.handle));
    const Image skinnedA = captureWindow(a.w.handle), skinnedB = captureWindow(b.w.handle);
    ASSERT_GT(countDifferences(plainA, skinnedA), 1000u);

    const DWORD gdiBefore = gdiObjectCount();
    for (int round = 0; round < 3; ++round) {
        SetHighContrastOverride(1);
        sendContrastChange(a.w.handle);
        EXPECT_FALSE(skinned(a.w.handle));
        EXPECT_FALSE(skinned(b.w.handle));
        EXPECT_EQ(countDifferences(plainA, captureWindow(a.w.handle)), 0u) << "round " << round;
        EXPECT_EQ(countDifferences(plainB, captureWindow(b.w.handle)), 0u) << "round " << round;

        SetHighContrastOverride(0);
        sendContrastChange(b.w.handle);
        EXPECT_TRUE(skinned(a.w.handle) && skinned(b.w.handle));
        EXPECT_EQ(countDifferences(skinnedA, captureWindow(a.w.handle)), 0u) << "round " << round;
        EXPECT_EQ(countDifferences(skinnedB, captureWindow(b.w.handle)), 0u) << "round " << round;
    }
    EXPECT_LE(gdiObjectCount(), gdiBefore) << "GDI objects left behind by stepping aside";
    SetHighContrastOverride(-1);
}

// Already on when the skin is switched on: no window gets skinned, and a
// window opened while it is on is skinned once it goes off.
TEST(HighContrast, OnBeforeSkinningKeepsNewWindowsPlain) {
    auto& skin = GallerySkin::get();
    skin.use("");
    SetHighContrastOverride(1);
    skin.use("default");
    OpenPage a(page("buttons"));
    gallery::pump(300);
    EXPECT_FALSE(skinned(a.w.handle));
    SetHighContrastOverride(0);
    sendContrastChange(a.w.handle);
    EXPECT_TRUE(skinned(a.w.handle));
    SetHighContrastOverride(-1);
}

}  // namespace
