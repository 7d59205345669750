// The viewer's start-up switches: with skinning off the window comes up with
// the system's frame while the skin data is still loaded; the first-frame
// report of the real program names a frame of the kind asked for and the
// memory it holds, and the program closes by itself.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "Application.h"
#include "U_qv.h"
#include "ViewerReport.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

using namespace qs;
using namespace qv;

namespace {

std::map<std::string, double> runViewer(bool skinned, DWORD& exitWait) {
    std::string exe = QV_EXE;
    if (!exe.empty() && exe[0] == '/') exe = "Z:" + exe;
    const std::wstring wexe(exe.begin(), exe.end());
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    return RunViewerReport(wexe, skinned, std::wstring(tmp) + L"qs_test_viewer_startup.txt", 45000, &exitWait);
}

TEST(ViewerStartup, SkinningOffLeavesTheWindowAloneWithTheSkinLoaded) {
    RegisterViewerClasses();
    ViewerOptions().skinningOff = true;
    auto* f = new TF_qv(Application);
    f->Show();
    test::pumpMessages(400);
    EXPECT_EQ(TWinSkinForm::FromWindow(f->Handle()), nullptr);
    EXPECT_NE(SendMessageW(f->Handle(), WM_SKIN_QUERY, 0, 0), 1);
    EXPECT_NE(SendMessageW(f->STB_main->Handle(), WM_SKIN_QUERY, 0, 0), 1);
    ASSERT_NE(f->SD, nullptr);
    EXPECT_TRUE(f->SD->SkinLoaded());
    EXPECT_FALSE(f->SD->Active());
    delete f;
    ViewerOptions().skinningOff = false;
}

TEST(ViewerStartup, FirstFrameReportOfBothKindsAndTheProgramEnds) {
    for (bool skinned : {true, false}) {
        SCOPED_TRACE(skinned ? "skinned" : "skinning off");
        DWORD wait = WAIT_FAILED;
        auto r = runViewer(skinned, wait);
        EXPECT_EQ(wait, WAIT_OBJECT_0) << "the viewer did not close by itself";
        ASSERT_FALSE(r.empty()) << "no report";
        EXPECT_GT(r["first_frame_ms"], 0.0);
        EXPECT_LT(r["first_frame_ms"], 30000.0);
        EXPECT_EQ(r["skinned"], skinned ? 1.0 : 0.0);
        EXPECT_EQ(r["skin_loaded"], 1.0);
        EXPECT_GT(r["private_committed"], 1024.0 * 1024.0);
    }
}

}  // namespace
