// The shortcut file, read back through the shell, and the page fragment.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "QvConfig.h"
#include "QvShell.h"
#include "UrlRecorder.h"

namespace {
struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

std::wstring desktopDir() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path);
    return path;
}

std::wstring shortcutPath() { return desktopDir() + L"\\Qelvo\u7f51\u7edc\u7535\u89c6V1.24.lnk"; }
}  // namespace

TEST(QvShell, FragmentIsOneInlineFrameWithTheAttributesInOrder) {
    std::string f = qv::pageFragment();
    EXPECT_EQ(f, std::string("<iframe id=\"TV\" name=\"TV\" frameborder=\"0\" scrolling=\"no\" src=http://") +
                     QV_LIVE_HOST + "/live.asp width=\"820\" height=\"520\"></iframe>");
    EXPECT_EQ(qv::helpPageUrl(), std::string("http://") + QV_PORTAL_DOMAIN + "/help/tvcj.htm");
}

TEST(QvShell, ShortcutNameDecodesFromCodePage936) {
    wchar_t wide[64] = {};
    ASSERT_GT(MultiByteToWideChar(936, 0, qv::kShortcutName936, -1, wide, 64), 0);
    EXPECT_EQ(std::wstring(wide), L"Qelvo\u7f51\u7edc\u7535\u89c6V1.24.lnk");
}

TEST(QvShell, HelpPageGoesToTheRegisteredBrowserWithTheExactAddress) {
    qs::test::UrlRecorder browser;
    ASSERT_TRUE(browser.registered());
    qv::openHelpPage();
    EXPECT_EQ(browser.waitForUrl(), qv::helpPageUrl());
}

TEST(QvShell, ShortcutPointsAtTheProgramAndIsOverwritten) {
    ComScope com;
    ASSERT_FALSE(desktopDir().empty());
    CreateDirectoryW(desktopDir().c_str(), nullptr);
    DeleteFileW(shortcutPath().c_str());
    qv::createDesktopShortcut();
    ASSERT_NE(GetFileAttributesW(shortcutPath().c_str()), INVALID_FILE_ATTRIBUTES);
    // A second run overwrites the file in place.
    qv::createDesktopShortcut();

    IShellLinkA* link = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                               reinterpret_cast<void**>(&link)),
              S_OK);
    IPersistFile* file = nullptr;
    ASSERT_EQ(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)), S_OK);
    ASSERT_EQ(file->Load(shortcutPath().c_str(), STGM_READ), S_OK);
    char target[MAX_PATH] = {}, dir[MAX_PATH] = {}, exe[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(dir, MAX_PATH);
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    EXPECT_STRCASEEQ(target, exe);
    std::string expectedDir = exe;
    expectedDir.erase(expectedDir.find_last_of('\\') + 1);
    EXPECT_STRCASEEQ(dir, expectedDir.c_str());
    EXPECT_EQ(dir[strlen(dir) - 1], '\\');
    file->Release();
    link->Release();
    DeleteFileW(shortcutPath().c_str());
}
