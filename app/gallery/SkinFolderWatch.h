#pragma once
// Keeps a skin data component on the skin an author is editing in a folder:
// it looks at the folder a few times a second, and once a save has settled
// it reads the description and bitmaps again and the open windows redraw. A
// save that breaks the skin (a bitmap that does not read, a value that is no
// number, a section gone) leaves the last good skin on screen; what is wrong
// is reported, naming the file and the key or element.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace qs {
class TSkinData;
class TTimer;
}  // namespace qs

namespace qs::gallery {

struct FolderReport {
    bool applied = false;            // the save was taken; false: the last good skin stays
    std::vector<std::string> lines;  // what is wrong now, one finding a line (may be empty)
    // Findings that stopped the save from being taken (a subset of lines).
    std::vector<std::string> blocking;
};

class TSkinFolderWatch {
public:
    // Starts watching; call Reload() for the first load.
    TSkinFolderWatch(TSkinData* sd, std::string folder, unsigned pollMs = 100);
    ~TSkinFolderWatch();
    TSkinFolderWatch(const TSkinFolderWatch&) = delete;
    TSkinFolderWatch& operator=(const TSkinFolderWatch&) = delete;

    // Reads the folder now. The first load takes what is there, problems and
    // all (there is nothing better to show); later ones are taken unless they
    // bring a problem the skin on screen does not have. Problems of
    // readability alone never stop a save.
    void Reload();
    // One look at the folder: a change seen now is read at the next look that
    // finds the folder still (a save in progress is never read half-written).
    void Poll();

    const FolderReport& LastReport() const { return FReport; }
    int Reloads() const { return FReloads; }
    const std::string& Folder() const { return FFolder; }

    std::function<void(const FolderReport&)> OnReport;

private:
    struct FileState {
        uintmax_t size = 0;
        int64_t time = 0;
        bool operator==(const FileState&) const = default;
    };
    using Snapshot = std::map<std::string, FileState>;
    Snapshot Take() const;

    TSkinData* FSD;
    std::string FFolder;
    TTimer* FTimer = nullptr;
    Snapshot FSeen;
    bool FPending = false;
    bool FHasGood = false;
    std::set<std::string> FGoodProblems;  // what the skin on screen already had
    FolderReport FReport;
    int FReloads = 0;
};

// The gallery page that shows the element a finding concerns ("tabs" for
// "[Tabs] ..."); empty when no page is about it in particular.
std::string pageOfFinding(const std::string& line);

}  // namespace qs::gallery
