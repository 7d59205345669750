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
    const std::wstring report = std::wstring(tmp) + L"qs_test_viewer_startup.txt";
    DeleteFileW(report.c_str());
    std::wstring cmd = L"\"" + wexe + L"\" --first-frame \"" + report + L"\"" + (skinned ? L"" : L" --no-skin");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    std::map<std::string, double> out;
    if (!CreateProcessW(wexe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return out;
    exitWait = WaitForSingleObject(pi.hProcess, 45000);
    if (exitWait != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (FILE* in = _wfopen(report.c_str(), L"r")) {
        char line[256];
        while (std::fgets(line, sizeof(line), in)) {
            const std::string l = line;
            if (auto eq = l.find('='); eq != std::string::npos) out[l.substr(0, eq)] = std::atof(l.c_str() + eq + 1);
        }
        std::fclose(in);
    }
    return out;
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
