#pragma once
// Lays out and packs skin archives, for the tools that make skins and for
// tests. The program itself only reads archives.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "SkinReader.h"

namespace qs {

struct TSkinArchiveEntry {
    std::string Name;
    std::vector<uint8_t> Data;
};

// Why a set of entries cannot be written, or empty when it can: names must be
// non-empty, free of line breaks and NULs, distinct ignoring ASCII case, at most
// kSkinMaxEntries of them, and every size must fit in 32 bits.
std::string skinArchiveProblem(std::span<const TSkinArchiveEntry> entries, uint32_t version = kSkinVersion20000);

// The unpacked archive: header, the version's extra block (zeros), names each
// ended by CR LF, sizes, data. Entries must pass skinArchiveProblem().
std::vector<uint8_t> layoutSkinArchive(std::span<const TSkinArchiveEntry> entries,
                                       uint32_t version = kSkinVersion20000);

// A skin file: the layout above behind its size and LZH-packed.
std::vector<uint8_t> packSkinArchive(std::span<const TSkinArchiveEntry> entries,
                                     uint32_t version = kSkinVersion20000);

}  // namespace qs
