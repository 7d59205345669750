#pragma once
// Malformed skin archives made from a good one, for the load tests on every
// platform and as fuzz seeds. Each case is made on demand: a few of them
// unpack to many megabytes, and the tests measure memory one load at a time.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "ArchiveWriter.h"

namespace qs::hostile {

struct HostileCase {
    std::string name;   // group/what, unique
    std::function<std::vector<uint8_t>()> make;
};

// The cases made from `base`, a skin archive that opens (the default skin).
// Empty when `base` does not open. The list and every case's bytes are the
// same on every run and platform.
std::vector<HostileCase> makeHostileCases(std::span<const uint8_t> base);

// The entries of an archive, names as written; empty when it does not open.
std::vector<TSkinArchiveEntry> archiveEntries(std::span<const uint8_t> archive);

// An unpacked archive laid out from raw parts, with nothing checked: any
// names (joined by CR LF), any sizes, any version and name-list length.
struct RawArchive {
    uint32_t version = 20000;
    int64_t nameListLength = -1;  // -1: the real length
    std::string names;            // the name list as written
    std::vector<uint32_t> sizes;
    std::vector<uint8_t> data;
    std::vector<uint8_t> layout() const;
};
RawArchive rawFromEntries(const std::vector<TSkinArchiveEntry>& entries);

// Packs an unpacked archive with a quick (short-chain) encoder run.
std::vector<uint8_t> packQuick(std::span<const uint8_t> unpacked);

}  // namespace qs::hostile
