// The real viewer's form given hostile skin files through its skin data
// component: it keeps running, and every file it refuses leaves its look
// exactly as it was.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "HostileFiles.h"
#include "HostileSkins.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinReader.h"
#include "U_qv.h"
#include "WindowCapture.h"
#include "test_managed_util.h"

using namespace qs;
using namespace qs::test;
using namespace qs::hostile;

namespace {

bool answers(HWND w) { return answersHitTest(w, 200, 200); }
bool skinned(HWND w) { return answersSkinned(w); }
Image look(HWND w) { return freshLook(w, 60); }

TEST(ViewerFaults, HostileSkinFilesLeaveTheViewerRunningWithItsLook) {
    setOlderSkinNotice([](const char*) {});
    qv::RegisterViewerClasses();
    auto* form = new qv::TF_qv(Application);
    ASSERT_TRUE(form->SD);
    form->Show();
    pumpMessages(400);
    const HWND w = form->Handle();
    ASSERT_TRUE(skinned(w));
    const Image before = look(w);
    const TBytes stored = form->SD->SkinStreamValue();

    const std::vector<uint8_t> base = readWholeFile(std::string(QS_SOURCE_ROOT) + "/resources/skins/default.skn");
    ASSERT_FALSE(base.empty());
    std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
    bool tookTruncated = false, tookGarbage = false;
    for (const HostileCase& c : makeHostileCases(base)) {
        const bool truncated = c.name.rfind("truncated/at-", 0) == 0 && std::stoul(c.name.substr(13)) > 4000;
        const bool garbage = c.name.rfind("packed-garbage/", 0) == 0;
        if ((truncated && !tookTruncated) || (garbage && !tookGarbage) || c.name == "packed/empty" ||
            c.name == "packed/zero-stream-1MiB" || c.name == "unpacked-size/over-the-limit" ||
            c.name == "text/garbage" || c.name == "names/no-description") {
            files.emplace_back(c.name, c.make());
            tookTruncated |= truncated;
            tookGarbage |= garbage;
        }
    }
    const std::string text = "This is not a skin at all.\r\n";
    files.emplace_back("plain text", std::vector<uint8_t>(text.begin(), text.end()));
    ASSERT_GE(files.size(), 7u);

    char dir[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "qs-viewer-hostile-" + std::to_string(::GetCurrentProcessId()) + ".skn";
    const std::string ownPath = path + ".own.skn";
    ASSERT_TRUE(writeWholeFile(ownPath, std::vector<uint8_t>(stored.begin() + 4, stored.end())));
    int refused = 0;
    std::vector<std::string> taken;
    auto tryFile = [&](const std::string& what) {
        const Image prior = look(w);
        form->SD->SetSkinFile(path);
        pumpMessages(400);  // the manager applies a change after 250 ms
        EXPECT_TRUE(::IsWindow(w)) << what;
        EXPECT_TRUE(answers(w)) << what;
        EXPECT_TRUE(skinned(w)) << what;
        if (form->SD->SkinStreamValue() == stored) {
            ++refused;
            EXPECT_EQ(countDifferences(prior, look(w)), 0u) << what << ": refused, but the look changed";
        } else {
            // Taken as a skin: shown; the viewer's own skin brings its look back.
            taken.push_back(what);
            form->SD->SetSkinFile(ownPath);
            pumpMessages(400);
            EXPECT_TRUE(form->SD->SkinStreamValue() == stored) << what;
        }
    };
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(writeWholeFile(path, bytes));
        tryFile(name);
    }
    // A gigabyte, sparse on disk: refused from its size.
    {
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        LARGE_INTEGER to{};
        to.QuadPart = int64_t(1) << 30;
        EXPECT_TRUE(::SetFilePointerEx(h, to, nullptr, FILE_BEGIN) && ::SetEndOfFile(h));
        ::CloseHandle(h);
        tryFile("1 GiB file");
    }
    ::DeleteFileA(path.c_str());
    ::DeleteFileA(ownPath.c_str());
    // Truncations, garbage, empty and oversized files are all refused; what
    // is taken is a skin the reader could make sense of.
    std::string takenList;
    for (const auto& t : taken) takenList += t + "; ";
    for (const auto& t : taken) EXPECT_TRUE(t.rfind("truncated/", 0) != 0 && t != "1 GiB file") << t;
    std::printf("viewer: %zu hostile skin files, %d refused with the look unchanged, taken: %s\n", files.size() + 1,
                refused, takenList.c_str());
    EXPECT_EQ(countDifferences(before, look(w)), 0u);
    delete form;
    FreeSkinManager();
    setOlderSkinNotice(nullptr);
}

}  // namespace
