// Fuzzes a whole skin load from the packed archive on: unpacking, the
// directory, the description, every image and the derived records, on plain
// pixel images in place of the platform's bitmaps.
//
// Built a second time with QS_FUZZ_SEED_WRITER, it writes the seed corpus:
// the default skin and the hostile-skin corpus cases of up to 32 KiB.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSeeds.h"
#include "HostileSkins.h"
#include "PortableLoad.h"
#include "SkinBuild.h"
#include "SkinReader.h"

using namespace qs;
using namespace qs::hostile;

#ifndef QS_FUZZ_SEED_WRITER

namespace {
void check(bool ok) {
    if (!ok) __builtin_trap();
}
void quiet(const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    setOlderSkinNotice(&quiet);
    const PortableSkin s = portableLoad(std::span<const uint8_t>(data, size));
    if (!s.opened) {
        check(!s.error.empty());
        return 0;
    }
    for (const auto& r : s.records) check(r.frames >= 1);
    for (const auto& r : s.captionButtons) check(r.frames >= 1);
    check(s.pixels <= 2 * kSkinPixelBudget + (int64_t(1) << 16));
    return 0;
}

#else

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::vector<uint8_t> base = fuzz::readWholeFile(QS_DEFAULT_SKIN);
    auto save = [&](const std::string& name, const std::vector<uint8_t>& bytes) { fuzz::saveSeed(dir, name, bytes); };
    save("default", base);
    for (const auto& c : makeHostileCases(base)) {
        const std::vector<uint8_t> bytes = c.make();
        if (bytes.size() <= 32768) save(c.name, bytes);
    }
    return 0;
}

#endif
