#include "QvShell.h"

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include <stdexcept>

#include "QvConfig.h"

namespace qv {

const char kShortcutName936[] = "Qelvo" "\xCD\xF8\xC2\xE7\xB5\xE7\xCA\xD3" "V1.24.lnk";

std::string channelPageUrl() { return std::string("http://") + QV_LIVE_HOST + "/live.asp"; }

std::string pageFragment() {
    return "<iframe id=\"TV\" name=\"TV\" frameborder=\"0\" scrolling=\"no\" src=" + channelPageUrl() +
           " width=\"820\" height=\"520\"></iframe>";
}

std::string helpPageUrl() { return std::string("http://") + QV_PORTAL_DOMAIN + "/help/tvcj.htm"; }

void openHelpPage() { ShellExecuteA(nullptr, "open", helpPageUrl().c_str(), "", "", SW_SHOW); }

void openChannelPage() { ShellExecuteA(nullptr, "open", channelPageUrl().c_str(), "", "", SW_SHOW); }

namespace {
template <class T>
struct ComPtr {
    T* p = nullptr;
    ~ComPtr() {
        if (p) p->Release();
    }
};
}  // namespace

void createDesktopShortcut() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);

    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link.p))))
        throw std::runtime_error("cannot create the shell link object");
    if (FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file.p))))
        throw std::runtime_error("the shell link object has no IPersistFile");

    link.p->SetPath(exe);
    std::string dir = exe;
    dir.erase(dir.find_last_of('\\') + 1);  // keeps the trailing backslash
    link.p->SetWorkingDirectory(dir.c_str());

    char desktop[MAX_PATH + 1] = {};
    LPITEMIDLIST pidl = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &pidl)) && pidl) {
        SHGetPathFromIDListA(pidl, desktop);
        CoTaskMemFree(pidl);
    }
    std::string path = std::string(desktop) + "\\" + kShortcutName936;
    wchar_t wide[MAX_PATH * 2] = {};
    MultiByteToWideChar(936, 0, path.c_str(), -1, wide, MAX_PATH * 2);
    file.p->Save(wide, FALSE);
}

}  // namespace qv
