#pragma once
// Reads a skin archive: one LZH-packed block holding a directory of named
// entries (the description text and the bitmaps). Portable code.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Lzh.h"

namespace qs {

inline constexpr uint32_t kSkinVersion20000 = 20000;
inline constexpr uint32_t kSkinVersion30000 = 30000;
inline constexpr uint32_t kSkinVersion40000 = 40000;
inline constexpr std::size_t kSkinMaxEntries = 1001;
// The largest skin file we read. The coder spends little more than nine bits
// on a byte at worst, so whatever unpacks within kLzhMaxUnpacked packs into
// well under twice that; anything longer cannot open, and reading it whole
// first would cost its full size in memory.
inline constexpr std::size_t kSkinMaxFileBytes = 4 + 2 * kLzhMaxUnpacked;
inline constexpr char kOlderSkinMessage[] = "This is Older Skin File\rPlease update to new version !";

// Bytes skipped between the header and the name list, or -1 for a version we
// do not read.
int skinExtraBlockSize(uint32_t version);

// Shown (modally, on Windows) when an archive has a version we cannot read.
// Natively the default does nothing; tests install their own so that nothing
// ever waits for a click. nullptr restores the default.
using OlderSkinNotice = void (*)(const char* message);
void setOlderSkinNotice(OlderSkinNotice notice);
OlderSkinNotice olderSkinNotice();

struct TSkinArchiveHeader {
    uint32_t Version = 0;
    uint32_t NameListLength = 0;
    uint32_t Reserved1 = 0;
    uint32_t Reserved2 = 0;
};

class TSkinReader {
public:
    // Unpacks the archive and reads its directory. False on an unsupported
    // version (after the notice) and on any archive that does not hold
    // together; lastError() then says why.
    bool Open(std::span<const uint8_t> archive);

    // Reads a skin straight from a folder, the way an author keeps it: its
    // one .ini description and its .bmp files are the entries, in file-name
    // order; other files are not part of the skin. False, with the file and
    // the reason in lastError(), when the folder holds no description or
    // several, a file cannot be read, or the whole is over the size an
    // archive may unpack to.
    bool OpenFolder(const std::string& folder);

    // Copies the first entry whose name equals `name` ignoring ASCII case into
    // `target`; leaves `target` empty when there is none.
    void ExtractByName(std::string_view name, std::vector<uint8_t>& target) const;

    // Copies the first entry whose lower-case name contains `fragment` (taken
    // as given) into `target` and sets `name` to it; leaves `target` empty and
    // `name` unchanged when there is none.
    void ExtractContaining(std::string_view fragment, std::vector<uint8_t>& target, std::string& name) const;

    const TSkinArchiveHeader& header() const { return FHeader; }
    std::size_t count() const { return FCount; }
    const std::vector<std::string>& names() const { return FNames; }        // lower case
    const std::vector<std::string>& storedNames() const { return FStored; } // as written
    uint32_t entrySize(std::size_t index) const { return index < FCount ? FSizes[index] : 0; }
    // An entry whose stated size runs past the end of the data reads as absent.
    bool entryPresent(std::size_t index) const;
    std::span<const uint8_t> entry(std::size_t index) const;
    std::size_t unpackedSize() const { return FUnpacked; }
    std::size_t dataSize() const { return FData.size(); }
    const std::string& lastError() const { return FError; }

private:
    bool fail(std::string why);
    void reset();

    std::vector<std::string> FNames;
    std::vector<std::string> FStored;
    std::size_t FCount = 0;
    std::array<uint32_t, kSkinMaxEntries> FSizes{};
    std::array<uint64_t, kSkinMaxEntries> FOffsets{};
    std::vector<uint8_t> FData;
    TSkinArchiveHeader FHeader;
    std::size_t FUnpacked = 0;
    std::string FError;
};

// ASCII-only lower case, as archive names are compared.
std::string skinLowerCase(std::string_view s);

// The entry that holds the twice-as-large picture of `entry`: "name@2x.bmp"
// for "name.bmp" (any extension, kept as written). Empty for a name without
// an extension or one that is itself such an entry.
std::string LargeImageName(std::string_view entry);

}  // namespace qs
