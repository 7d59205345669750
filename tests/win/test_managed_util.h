#pragma once
// The whole engine running over the committed default skin, for the fault and
// leak tests; and the skin query asked so that a hung or dead window cannot
// stall the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "Forms.h"
#include "SkinManage.h"
#include "SkinReader.h"
#include "test_skinmanage_util.h"

namespace qs::test {

inline bool answersSkinned(HWND w) {
    DWORD_PTR r = 0;
    return ::SendMessageTimeoutW(w, WM_SKIN_QUERY, 0, 0, SMTO_ABORTIFHUNG, 2000, &r) && r == 1;
}

// Whether the window still takes a hit test at the point (x, y) of the screen.
inline bool answersHitTest(HWND w, int x, int y) {
    DWORD_PTR r = 0;
    return ::SendMessageTimeoutW(w, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &r) != 0;
}

// The window repainted whole, frame and children included, then captured.
inline Image freshLook(HWND w, int pumpMs = 40) {
    ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages(pumpMs);
    return captureWindow(w);
}

// Skin data loaded and active, the manager running; `form` goes before them.
class ManagedSkinTest : public ::testing::Test {
protected:
    void SetUp() override {
        setOlderSkinNotice([](const char*) {});
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        sd->SetActive(true);
        mgr = SkinManager();
        ASSERT_TRUE(mgr);
    }
    void TearDown() override {
        form.reset();
        sd.reset();
        FreeSkinManager();
        setOlderSkinNotice(nullptr);
    }
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    TSkinManage* mgr = nullptr;
};

}  // namespace qs::test
