#include "SkinFolderWatch.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "ExtCtrlsTimer.h"
#include "Lint.h"
#include "SkinData.h"
#include "SkinReader.h"

namespace fs = std::filesystem;

namespace qs::gallery {

namespace {

fs::path utf8Path(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())); }

// A finding that does not name a bitmap is about the description: say which
// file that is.
std::string withFile(const std::string& text, const std::string& description) {
    if (text.find(".bmp") != std::string::npos || description.empty()) return text;
    return description + ": " + text;
}

}  // namespace

TSkinFolderWatch::TSkinFolderWatch(TSkinData* sd, std::string folder, unsigned pollMs)
    : FSD(sd), FFolder(std::move(folder)) {
    FSeen = Take();
    FTimer = new TTimer(nullptr);
    FTimer->SetInterval(pollMs);
    FTimer->SetOnTimer([this](TObject*) { Poll(); });
    FTimer->Loaded();
}

TSkinFolderWatch::~TSkinFolderWatch() { delete FTimer; }

TSkinFolderWatch::Snapshot TSkinFolderWatch::Take() const {
    Snapshot s;
    std::error_code ec;
    for (fs::directory_iterator it(utf8Path(FFolder), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string ext = skinLowerCase(it->path().extension().string());
        if (ext != ".bmp" && ext != ".ini") continue;
        // Asked afresh, not from the listing: what a listing carries can be
        // older than the last write.
        WIN32_FILE_ATTRIBUTE_DATA a{};
        FileState st;
        if (::GetFileAttributesExW(it->path().c_str(), GetFileExInfoStandard, &a)) {
            st.size = (uintmax_t(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
            st.time = int64_t((uint64_t(a.ftLastWriteTime.dwHighDateTime) << 32) | a.ftLastWriteTime.dwLowDateTime);
        }
        s[it->path().filename().string()] = st;
    }
    return s;
}

void TSkinFolderWatch::Poll() {
    Snapshot now = Take();
    if (now != FSeen) {
        FSeen = std::move(now);
        FPending = true;
        return;
    }
    if (FPending) {
        FPending = false;
        Reload();
    }
}

void TSkinFolderWatch::Reload() {
    FReport = {};
    TSkinReader reader;
    if (!reader.OpenFolder(FFolder)) {
        FReport.lines.push_back(reader.lastError());
        FReport.blocking = FReport.lines;
    } else {
        std::string description;
        for (const std::string& n : reader.storedNames())
            if (skinLowerCase(n).ends_with(".ini")) description = n;
        std::set<std::string> problems;
        for (const skintool::LintFinding& f : skintool::lintSkin(reader)) {
            if (!f.problem) continue;
            const std::string line = withFile(f.text, description);
            problems.insert(line);
            FReport.lines.push_back(line);
            if (FHasGood && !f.readability && !FGoodProblems.count(line)) FReport.blocking.push_back(line);
        }
        if (FReport.blocking.empty()) {
            std::string why;
            if (FSD->LoadSkinFolder(FFolder, &why)) {
                FReport.applied = true;
                FHasGood = true;
                FGoodProblems = std::move(problems);
                ++FReloads;
            } else {
                FReport.lines.push_back(why);
                FReport.blocking.push_back(why);
            }
        }
    }
    if (!FReport.applied)
        std::fprintf(stderr, "gallery: %s: the last good skin stays on screen\n", FFolder.c_str());
    for (const std::string& l : FReport.lines) std::fprintf(stderr, "gallery: %s\n", l.c_str());
    std::fflush(stderr);
    if (OnReport) OnReport(FReport);
}

std::string pageOfFinding(const std::string& line) {
    const auto open = line.find('['), close = line.find(']', open == std::string::npos ? 0 : open);
    if (open == std::string::npos || close == std::string::npos) return {};
    const std::string section = skinLowerCase(line.substr(open + 1, close - open - 1));
    const std::string rest = line.substr(close);
    static const std::pair<const char*, const char*> prefixes[] = {
        {"tab", "tabs"},          {"headerbar", "header"},     {"progress", "progress"},
        {"track", "progress"},    {"scroll", "lists"},         {"horzscroll", "lists"},
        {"vertscroll", "lists"},  {"sunkedge", "edits"},       {"combo", "edits"},
        {"extraimages", "edits"}, {"updown", "edits"},         {"statusbar", "containers"},
        {"groupbox", "containers"}, {"toolbars", "containers"}, {"mdicontrols", "mdi"},
    };
    if (section == "buttons")
        return rest.find("CheckButton") != std::string::npos || rest.find("RadioButton") != std::string::npos
                   ? "checks"
                   : "buttons";
    for (auto [prefix, page] : prefixes)
        if (section.starts_with(prefix)) return page;
    // The frame, caption buttons, menus and colours all show on the frame page.
    return "frame";
}

}  // namespace qs::gallery
