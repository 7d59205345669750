// Non-client objects: the hot/pressed state machine shared by caption and
// menu-bar buttons, and a caption button repainting itself on the window.
#include <gtest/gtest.h>

#include <string>

#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

// Records each paint as "<name><state>".
struct Probe : TNCObject {
    std::string name;
    std::string* log;
    Probe(TWinSkinForm* f, std::string n, std::string* l) : name(std::move(n)), log(l) { FForm = f; }
    void Paint() override { *log += name + std::to_string(FState) + " "; }
};

}  // namespace

TEST(NCObjects, HotPressedAndLeaveTransitions) {
    TWinSkinForm form(nullptr);
    std::string log;
    Probe a(&form, "a", &log), b(&form, "b", &log);

    a.MouseEnter();
    EXPECT_EQ(form.FHotObject, &a);
    EXPECT_EQ(log, "a3 ");
    a.MouseEnter();  // already hot: no repaint
    EXPECT_EQ(log, "a3 ");

    // Pressing another object puts the hot one back to normal first.
    log.clear();
    b.MouseDown();
    EXPECT_EQ(log, "a1 b2 ");
    EXPECT_EQ(form.FHotObject, &b);
    EXPECT_EQ(a.FState, ncsNormal);

    log.clear();
    b.MouseUp();
    EXPECT_EQ(log, "b3 ");
    EXPECT_EQ(form.FHotObject, &b);  // releasing keeps it hot
    b.MouseEnter();                   // pressed/hot and entered again: unchanged
    EXPECT_EQ(log, "b3 ");

    log.clear();
    b.MouseLeave();
    EXPECT_EQ(log, "b1 ");
    EXPECT_EQ(form.FHotObject, nullptr);

    // Entering one while another is hot.
    log.clear();
    a.MouseEnter();
    b.MouseEnter();
    EXPECT_EQ(log, "a3 a1 b3 ");
    EXPECT_EQ(form.FHotObject, &b);
}

TEST(NCObjects, InvisibleObjectsIgnoreStateChanges) {
    TWinSkinForm form(nullptr);
    std::string log;
    Probe a(&form, "a", &log), hidden(&form, "h", &log);
    hidden.FVisible = false;
    a.MouseEnter();
    log.clear();
    hidden.MouseEnter();  // the hot one still leaves, the hidden one does not take over
    EXPECT_EQ(log, "a1 ");
    EXPECT_EQ(form.FHotObject, nullptr);
    hidden.MouseDown();
    hidden.MouseUp();
    hidden.MouseLeave();
    EXPECT_EQ(log, "a1 ");
    EXPECT_EQ(hidden.FState, ncsNone);
}

TEST(NCObjects, CaptionButtonPaintsItsStateFrameOnTheWindow) {
    auto sd = loadCommittedSkin("default");
    ASSERT_TRUE(sd->SkinLoaded());
    HWND wnd = makeWindow(390, 200);
    auto form = skinWindow(wnd, *sd);
    TWinSysButton* close = buttonWithAction(*form, 0);
    TWinSysButton* maximize = buttonWithAction(*form, 1, 2);
    ASSERT_TRUE(close && maximize);
    TDataSkinSysButton& d = *close->FData;
    ASSERT_EQ(d.Frame, 6);
    const int fw = d.Bitmap.Width() / d.Frame;
    // The first opaque pixel where frames f and 1 differ.
    auto probe = [&](int f, int& x, int& y) {
        for (y = 0; y < d.Bitmap.Height(); ++y)
            for (x = 0; x < fw; ++x) {
                const uint32_t p = px(d.Bitmap, (f - 1) * fw + x, y);
                if (p != 0xFF00FF && p != px(d.Bitmap, x, y)) return p;
            }
        return uint32_t(0xFFFFFFFF);
    };
    for (int f : {2, 3}) {
        int x = 0, y = 0;
        const uint32_t want = probe(f, x, y);
        ASSERT_NE(want, 0xFFFFFFFFu);
        if (f == 2) close->MouseDown();
        if (f == 3) close->MouseUp();
        const Image img = captureWindow(wnd);
        EXPECT_EQ(img.at(close->FBoundsRect.left + x, close->FBoundsRect.top + y), want) << "frame " << f;
    }
    close->MouseLeave();
    // A disabled button shows frame 4 whatever its state (here hot, 3).
    maximize->FEnabled = false;
    maximize->MouseEnter();
    TDataSkinSysButton& m = *maximize->FData;
    const int mw = m.Bitmap.Width() / m.Frame;
    bool found = false;
    const Image img = captureWindow(wnd);
    for (int y = 0; y < m.Bitmap.Height() && !found; ++y)
        for (int x = 0; x < mw && !found; ++x) {
            const uint32_t p4 = px(m.Bitmap, 3 * mw + x, y), p3 = px(m.Bitmap, 2 * mw + x, y);
            if (p4 == 0xFF00FF || p4 == p3) continue;
            found = true;
            EXPECT_EQ(img.at(maximize->FBoundsRect.left + x, maximize->FBoundsRect.top + y), p4);
        }
    EXPECT_TRUE(found) << "frames 3 and 4 of the skin should differ";
    form.reset();
    ::DestroyWindow(wnd);
}
