// The gallery program.
//
//   gallery                          a launcher: open any page, switch skins
//   gallery --shot DIR [--skin FILE] [--progress]
//                                    every page unskinned and in every skin
//                                    (or only FILE), scripted states included,
//                                    as DIR\<page>-<skin>.bmp plus DIR\index.html;
//                                    --progress keeps one status line on stdout
//   gallery --watch DIR [--page ID]...
//                                    the skin an author keeps in DIR, read
//                                    again whenever a file there is saved;
//                                    what is wrong shows in the status bar,
//                                    beside the pages it concerns, and on
//                                    standard error. --page opens pages at once.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "ComCtrls.h"
#include "Forms.h"
#include "Gallery.h"
#include "Menus.h"
#include "SkinData.h"
#include "SkinFolderWatch.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "WindowCapture.h"

namespace qs::gallery {
namespace {

// The skin data lives with the launcher; a file name of "" means "off".
void useSkin(TSkinData* sd, const std::string& file) {
    if (file.empty()) {
        sd->SetActive(false);
    } else {
        sd->SetSkinFile(file);
        sd->SetActive(true);
    }
}

class TLauncher : public TForm {
public:
    explicit TLauncher(TComponent* owner) : TForm(owner) {
        SetCaption(L"Skin gallery");
        SetBorderStyle(bsSingle);
        SetBounds(600, 40, 260, 120 + 30 * int(pages().size() / 2 + 1));
        SD = new TSkinData(this);
        SD->SetName("SD");
        // What pages paint themselves in the system's colours (the painted
        // page, owner-drawn rows, the common controls' own parts) follows
        // the skin, as it does under skinrun.
        SD->SetProcessPalette(true);

        FSkins = new TComboBox(this);
        FSkins->SetParent(this);
        FSkins->SetBounds(8, 8, 242, 22);
        FSkins->SetStyle(csDropDownList);
        for (const std::string& s : skinNames()) FSkins->Items().Add(Utf8ToWide(s));
        FSkins->Items().Add(L"off");
        FSkins->SetItemIndex(0);
        FSkins->OnSelect = [this](TObject*) { SkinChosen(); };
        int i = 0;
        for (const Page& p : pages()) {
            auto* b = place<TButton>(8 + 124 * (i % 2), 40 + 30 * (i / 2), 118, 26, p.title.c_str());
            b->OnClick = [this, &p](TObject*) { Open(p); };
            FPageButtons[p.id] = b;
            ++i;
        }
        auto* box = place<TButton>(8 + 124 * (i % 2), 40 + 30 * (i / 2), 118, 26, L"message box");
        box->OnClick = [this](TObject*) {
            ::MessageBoxW(Handle(), L"A message box of the system, dressed in the program's skin.",
                          L"Gallery: message box", MB_OKCANCEL | MB_ICONINFORMATION);
        };
    }

    void SkinChosen() {
        const int i = FSkins->ItemIndex();
        const auto& names = skinNames();
        useSkin(SD, i >= 0 && size_t(i) < names.size() ? programFolder() + names[size_t(i)] + ".skn" : "");
    }

    void Open(const Page& p) {
        PageWindow w = p.open();
        if (w.form) {
            w.form->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
            w.form->Show();
            w.handle = w.form->Handle();
        }
        if (w.handle) FOpen.push_back({&p, w.handle});
        if (FWatch) MarkPages(FWatch->LastReport());
    }

    // Preview mode: the skin comes from `folder` and follows its saves; a
    // status bar and a list show what is wrong.
    void Watch(const std::string& folder) {
        SetCaption(L"Skin preview: " + Utf8ToWide(folder));
        FSkins->SetVisible(false);
        const int top = Height();
        SetBounds(Left(), Top(), 520, top + 190);
        FFindings = new TListBox(this);
        FFindings->SetParent(this);
        FFindings->SetBounds(8, top - 40, 496, 150);
        FStatus = new TStatusBar(this);
        FStatus->SetParent(this);
        FStatus->SetSimplePanel(true);
        FWatch = std::make_unique<TSkinFolderWatch>(SD, folder);
        FWatch->OnReport = [this](const FolderReport& r) { ShowReport(r); };
        FWatch->Reload();
    }

    TSkinFolderWatch* Watcher() const { return FWatch.get(); }

    // What the status bar says now.
    std::wstring StatusText() const { return FStatus ? FStatus->SimpleText() : std::wstring(); }

    TSkinData* SD = nullptr;

private:
    void ShowReport(const FolderReport& r) {
        // Skinning starts with the first skin the folder gives, which may
        // come only after the author has mended it. A first activation
        // dresses windows only as they are next activated; the ones already
        // open are dressed at once by asking again, as the manager carries
        // out only the last of its deferred requests.
        if (r.applied && !SD->Active()) {
            SD->SetActive(true);
            if (FOpenedUnskinned) {
                SD->SetActive(false);
                SD->SetActive(true);
            }
        }
        if (!SD->Active()) FOpenedUnskinned = true;
        std::wstring status;
        if (!r.applied)
            status = L"Kept the last good skin: " + Utf8ToWide(r.blocking.empty() ? std::string() : r.blocking[0]);
        else if (!r.lines.empty())
            status = L"Loaded, with findings: " + Utf8ToWide(r.lines[0]);
        else
            status = L"Loaded " + Utf8ToWide(FWatch->Folder()) + L": no findings";
        if (r.lines.size() > 1) status += L" (and " + std::to_wstring(r.lines.size() - 1) + L" more below)";
        FStatus->SetSimpleText(status);
        FFindings->Items().Clear();
        for (const std::string& l : r.lines) FFindings->Items().Add(Utf8ToWide(l));
        MarkPages(r);
    }

    // A page that shows an element with a finding says so on its button and,
    // while open, in its caption.
    void MarkPages(const FolderReport& r) {
        std::map<std::string, int> count;
        for (const std::string& l : r.lines) ++count[pageOfFinding(l)];
        for (const Page& p : pages()) {
            const int n = count.count(p.id) ? count[p.id] : 0;
            const std::wstring mark = n ? L" (" + std::to_wstring(n) + L"!)" : L"";
            if (auto it = FPageButtons.find(p.id); it != FPageButtons.end()) it->second->SetCaption(p.title + mark);
            for (const auto& [page, wnd] : FOpen)
                if (page == &p && ::IsWindow(wnd))
                    ::SetWindowTextW(wnd, (p.title + (n ? L" - " + std::to_wstring(n) + L" lint finding(s), see the preview"
                                                         : L""))
                                              .c_str());
        }
    }

    template <class C>
    C* place(int x, int y, int w, int h, const wchar_t* caption) {
        auto* c = new C(this);
        c->SetParent(this);
        c->SetBounds(x, y, w, h);
        c->SetCaption(caption);
        return c;
    }
    TComboBox* FSkins = nullptr;
    std::map<std::string, TButton*> FPageButtons;
    std::vector<std::pair<const Page*, HWND>> FOpen;
    std::unique_ptr<TSkinFolderWatch> FWatch;
    TListBox* FFindings = nullptr;
    TStatusBar* FStatus = nullptr;
    bool FOpenedUnskinned = false;  // the folder held no skin when the preview opened
};

// Every visible top-level window of this thread, so a dropped-down list or a
// page's own pop-ups are in the picture too.
BOOL CALLBACK unionVisible(HWND wnd, LPARAM out) {
    if (!::IsWindowVisible(wnd)) return TRUE;
    auto* r = reinterpret_cast<RECT*>(out);
    RECT w;
    ::GetWindowRect(wnd, &w);
    ::UnionRect(r, r, &w);
    return TRUE;
}

test::Image captureScreenOf(HWND main) {
    RECT r;
    ::GetWindowRect(main, &r);
    ::EnumThreadWindows(::GetCurrentThreadId(), &unionVisible, LPARAM(&r));
    const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    RECT screen{0, 0, sw, sh};
    ::IntersectRect(&r, &r, &screen);
    test::Image all = test::captureWindow(::GetDesktopWindow());
    if (all.empty()) return test::captureWindow(main);
    return all.crop(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// One status line rewritten in place. The caller decides whether stdout is a
// terminal: the C runtime cannot tell under every host.
class Progress {
public:
    Progress(bool on, size_t total) : FOn(on), FTotal(total) {}
    void step(const std::string& page, const std::string& skin) {
        if (!FOn) return;
        char line[160];
        std::snprintf(line, sizeof line, "[%zu/%zu] %s (%s)", ++FDone, FTotal, page.c_str(), skin.c_str());
        const size_t n = std::strlen(line);
        // Blanks over the tail of a longer line before it.
        std::printf("\r%s%*s", line, int(FWidth > n ? FWidth - n : 0), "");
        FWidth = n;
        std::fflush(stdout);
    }
    void done() {
        if (!FOn || !FWidth) return;
        std::printf("\n");
        std::fflush(stdout);
    }

private:
    bool FOn;
    size_t FTotal, FDone = 0, FWidth = 0;
};

struct Shot {
    std::string page, skin;
    std::wstring title;
    bool saved;
};

int runShots(TLauncher* launcher, const std::wstring& dir, const std::string& onlySkin, bool progress) {
    std::vector<std::pair<std::string, std::string>> skins{{"off", ""}};
    if (!onlySkin.empty()) {
        std::string name = onlySkin.substr(onlySkin.find_last_of("\\/") + 1);
        name = name.substr(0, name.find('.'));
        skins.push_back({name, onlySkin});
    } else {
        for (const std::string& s : skinNames()) skins.push_back({s, programFolder() + s + ".skn"});
    }
    ::CreateDirectoryW(dir.c_str(), nullptr);
    std::vector<Shot> shots;
    int failures = 0;
    Progress status(progress, skins.size() * (pages().size() + 1));
    auto save = [&](const test::Image& img, const std::string& page, const std::string& skin, const std::wstring& title) {
        const std::wstring path = dir + L"\\" + Utf8ToWide(page + "-" + skin) + L".bmp";
        const bool ok = !img.empty() && test::saveBmp(img, path);
        if (!ok) ++failures;
        shots.push_back({page, skin, title, ok});
    };
    for (const auto& [skinName, file] : skins) {
        useSkin(launcher->SD, file);
        pump(600);
        if (!file.empty() && !launcher->SD->Active()) {
            std::fprintf(stderr, "gallery: the skin %s did not load\n", file.c_str());
            ++failures;
            continue;
        }
        const std::string shown = file.empty() ? "unskinned" : launcher->SD->SkinName;
        for (const Page& p : pages()) {
            status.step(p.id, shown);
            PageWindow w = p.open();
            if (w.form) {
                w.form->Show();
                w.handle = w.form->Handle();
            }
            if (!w.handle) {
                ++failures;
                continue;
            }
            ::SetForegroundWindow(w.handle);
            pump(400);
            if (w.script) {
                w.script();
                pump(300);
            }
            save(captureScreenOf(w.handle), p.id, skinName, p.title);
            ::SetCursorPos(0, ::GetSystemMetrics(SM_CYSCREEN) - 1);
            closePage(w);
            pump(100);
        }
        status.step("msgbox", shown);
        showMessageBoxFor(nullptr, [&](HWND box) {
            pump(400);
            save(test::captureWindow(box), "msgbox", skinName, L"a message box");
        });
        pump(100);
    }

    status.done();
    // The index page names PNG files: scripts/shots converts the BMPs.
    std::string html = "<!doctype html>\n<html><head><meta charset=\"utf-8\"><title>Skin gallery</title>\n"
                       "<style>body{font-family:sans-serif}td{vertical-align:top;padding:6px}</style></head><body>\n"
                       "<h1>Skin gallery</h1>\n<table>\n<tr><th>Window</th>";
    for (const auto& s : skins) html += "<th>" + s.first + "</th>";
    html += "</tr>\n";
    for (size_t i = 0; i < shots.size() / skins.size(); ++i) {
        html += "<tr><td>" + WideToUtf8(shots[i].title) + "</td>";
        for (size_t k = 0; k < skins.size(); ++k) {
            const size_t at = k * (shots.size() / skins.size()) + i;
            if (at < shots.size() && shots[at].saved) {
                const std::string png = shots[at].page + "-" + shots[at].skin + ".png";
                html += "<td><a href=\"" + png + "\"><img src=\"" + png + "\"></a></td>";
            } else {
                html += "<td>(not captured)</td>";
            }
        }
        html += "</tr>\n";
    }
    html += "</table></body></html>\n";
    FILE* f = _wfopen((dir + L"\\index.html").c_str(), L"wb");
    if (!f) return 1;
    std::fwrite(html.data(), 1, html.size(), f);
    std::fclose(f);
    std::fprintf(stderr, "gallery: %zu pictures, %d failures\n", shots.size(), failures);
    return failures == 0 ? 0 : 1;
}

}  // namespace
}  // namespace qs::gallery

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace qs;
    Application->Initialize();
    auto* launcher = Application->CreateForm<gallery::TLauncher>();
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv ? argv + 1 : nullptr, argv ? argv + argc : nullptr);
    if (argv) ::LocalFree(argv);
    std::wstring shotDir;
    std::string skinFile, watchDir;
    std::vector<std::string> openPages;
    bool progress = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--shot" && i + 1 < args.size()) {
            shotDir = args[++i];
        } else if (args[i] == L"--skin" && i + 1 < args.size()) {
            skinFile = WideToUtf8(args[++i]);
        } else if (args[i] == L"--watch" && i + 1 < args.size()) {
            watchDir = WideToUtf8(args[++i]);
        } else if (args[i] == L"--page" && i + 1 < args.size()) {
            openPages.push_back(WideToUtf8(args[++i]));
        } else if (args[i] == L"--progress") {
            progress = true;
        } else {
            std::fprintf(stderr, "usage: gallery [--shot DIR [--skin FILE] [--progress]]\n"
                                 "       gallery --watch DIR [--page ID]...\n");
            return 2;
        }
    }
    if (!shotDir.empty()) return gallery::runShots(launcher, shotDir, skinFile, progress);
    if (!watchDir.empty()) {
        launcher->Watch(watchDir);
        launcher->Show();
        for (const std::string& id : openPages) {
            const gallery::Page* page = nullptr;
            for (const auto& p : gallery::pages())
                if (p.id == id) page = &p;
            if (!page) {
                std::fprintf(stderr, "gallery: no page %s\n", id.c_str());
                return 2;
            }
            launcher->Open(*page);
        }
        Application->Run();
        return 0;
    }
    if (!skinFile.empty()) {
        launcher->SD->SetSkinFile(skinFile);
    } else {
        launcher->SD->SetSkinFile(gallery::programFolder() + "default.skn");
    }
    launcher->SD->SetActive(true);
    Application->Run();
    return 0;
}
