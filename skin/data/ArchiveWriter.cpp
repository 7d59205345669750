#include "ArchiveWriter.h"

#include <algorithm>
#include <set>

#include "Lzh.h"

namespace qs {

namespace {
void putU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
}  // namespace

std::string skinArchiveProblem(std::span<const TSkinArchiveEntry> entries, uint32_t version) {
    if (skinExtraBlockSize(version) < 0) return "version " + std::to_string(version) + " cannot be written";
    if (entries.size() > kSkinMaxEntries)
        return std::to_string(entries.size()) + " entries, more than the " + std::to_string(kSkinMaxEntries) +
               " an archive can hold";
    std::set<std::string> seen;
    for (const auto& e : entries) {
        if (e.Name.empty()) return "an entry has an empty name";
        if (e.Name.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
            return "entry name \"" + e.Name + "\" contains a line break or NUL";
        if (!seen.insert(skinLowerCase(e.Name)).second)
            return "entry name \"" + e.Name + "\" occurs twice (names are compared ignoring case)";
        if (e.Data.size() > 0xFFFFFFFFu) return "entry \"" + e.Name + "\" is larger than 4 GiB";
    }
    return {};
}

std::vector<uint8_t> layoutSkinArchive(std::span<const TSkinArchiveEntry> entries, uint32_t version) {
    std::string names;
    for (const auto& e : entries) names += e.Name + "\r\n";
    std::vector<uint8_t> out;
    putU32(out, version);
    putU32(out, uint32_t(names.size()));
    putU32(out, 0);
    putU32(out, 0);
    out.resize(out.size() + std::size_t(std::max(0, skinExtraBlockSize(version))), 0);
    out.insert(out.end(), names.begin(), names.end());
    for (const auto& e : entries) putU32(out, uint32_t(e.Data.size()));
    for (const auto& e : entries) out.insert(out.end(), e.Data.begin(), e.Data.end());
    return out;
}

std::vector<uint8_t> packSkinArchive(std::span<const TSkinArchiveEntry> entries, uint32_t version) {
    return lzhPack(layoutSkinArchive(entries, version));
}

}  // namespace qs
