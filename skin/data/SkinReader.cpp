#include "SkinReader.h"

#include <algorithm>

#include "ArchiveNotice.h"
#include "Lzh.h"

namespace qs {

namespace {

OlderSkinNotice gNotice = nullptr;

uint32_t readU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// CR LF, a bare CR and a bare LF each end a line; a final line needs no end.
std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t j = i;
        while (j < text.size() && text[j] != '\r' && text[j] != '\n') ++j;
        lines.emplace_back(text.substr(i, j - i));
        if (j < text.size() && text[j++] == '\r' && j < text.size() && text[j] == '\n') ++j;
        i = j;
    }
    return lines;
}

}  // namespace

int skinExtraBlockSize(uint32_t version) {
    switch (version) {
    case kSkinVersion20000: return 0;
    case kSkinVersion30000: return 256;
    case kSkinVersion40000: return 80;
    default: return -1;
    }
}

void setOlderSkinNotice(OlderSkinNotice notice) { gNotice = notice; }
OlderSkinNotice olderSkinNotice() { return gNotice ? gNotice : &platformOlderSkinNotice; }

std::string skinLowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}

std::string LargeImageName(std::string_view entry) {
    const std::size_t dot = entry.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || entry.find('/') != std::string_view::npos) return {};
    const std::string_view stem = entry.substr(0, dot);
    if (stem.size() >= 3 && skinLowerCase(stem.substr(stem.size() - 3)) == "@2x") return {};
    return std::string(stem) + "@2x" + std::string(entry.substr(dot));
}

void TSkinReader::reset() {
    FNames.clear();
    FStored.clear();
    FCount = 0;
    FSizes.fill(0);
    FOffsets.fill(0);
    FData.clear();
    FHeader = {};
    FUnpacked = 0;
    FError.clear();
}

bool TSkinReader::fail(std::string why) {
    const std::string keep = std::move(why);
    reset();
    FError = keep;
    return false;
}

bool TSkinReader::Open(std::span<const uint8_t> archive) {
    reset();
    if (archive.size() > kSkinMaxFileBytes)
        return fail("archive of " + std::to_string(archive.size()) + " bytes is over the limit of " +
                    std::to_string(kSkinMaxFileBytes));
    std::vector<uint8_t> buf;
    std::string why;
    if (!lzhUnpack(archive, buf, &why)) return fail("archive " + why);
    FUnpacked = buf.size();

    const std::size_t size = buf.size();
    if (size >= 4 && skinExtraBlockSize(readU32(buf.data())) < 0) {
        const uint32_t version = readU32(buf.data());
        olderSkinNotice()(kOlderSkinMessage);
        return fail("unsupported archive version " + std::to_string(version));
    }
    if (size < 16) return fail("unpacked archive of " + std::to_string(size) + " bytes has no complete header");
    FHeader.Version = readU32(buf.data());
    FHeader.NameListLength = readU32(buf.data() + 4);
    FHeader.Reserved1 = readU32(buf.data() + 8);
    FHeader.Reserved2 = readU32(buf.data() + 12);

    std::size_t pos = 16 + std::size_t(skinExtraBlockSize(FHeader.Version));
    if (pos > size) return fail("version " + std::to_string(FHeader.Version) + " header block runs past the end");
    if (FHeader.NameListLength > size - pos)
        return fail("name list of " + std::to_string(FHeader.NameListLength) + " bytes runs past the end");

    std::string_view list(reinterpret_cast<const char*>(buf.data() + pos), FHeader.NameListLength);
    pos += FHeader.NameListLength;
    std::vector<std::string> stored = splitLines(list);
    if (stored.size() > kSkinMaxEntries)
        return fail("archive names " + std::to_string(stored.size()) + " entries, more than " +
                    std::to_string(kSkinMaxEntries));
    const std::size_t count = stored.size();
    if (count * 4 > size - pos) return fail("size table of " + std::to_string(count) + " entries runs past the end");

    uint64_t offset = 0;
    for (std::size_t k = 0; k < count; ++k) {
        FSizes[k] = readU32(buf.data() + pos + 4 * k);
        FOffsets[k] = offset;
        offset += FSizes[k];
    }
    pos += count * 4;

    FStored = std::move(stored);
    FNames.reserve(count);
    for (const std::string& n : FStored) FNames.push_back(skinLowerCase(n));
    FCount = count;
    // The entry data keeps the unpacked buffer itself: a copy would hold the
    // archive twice at the peak of the load.
    buf.erase(buf.begin(), buf.begin() + std::ptrdiff_t(pos));
    FData = std::move(buf);
    return true;
}

bool TSkinReader::entryPresent(std::size_t index) const {
    return index < FCount && FOffsets[index] + FSizes[index] <= FData.size();
}

std::span<const uint8_t> TSkinReader::entry(std::size_t index) const {
    if (!entryPresent(index)) return {};
    return std::span<const uint8_t>(FData).subspan(std::size_t(FOffsets[index]), FSizes[index]);
}

void TSkinReader::ExtractByName(std::string_view name, std::vector<uint8_t>& target) const {
    target.clear();
    const std::string wanted = skinLowerCase(name);
    const auto it = std::find(FNames.begin(), FNames.end(), wanted);
    if (it == FNames.end()) return;
    const auto bytes = entry(std::size_t(it - FNames.begin()));
    target.assign(bytes.begin(), bytes.end());
}

void TSkinReader::ExtractContaining(std::string_view fragment, std::vector<uint8_t>& target,
                                    std::string& name) const {
    target.clear();
    for (std::size_t k = 0; k < FCount; ++k) {
        if (FNames[k].find(fragment) == std::string::npos) continue;
        const auto bytes = entry(k);
        target.assign(bytes.begin(), bytes.end());
        name = FNames[k];
        return;
    }
}

}  // namespace qs
