// Fuzzes skin archive reading the way a skin load drives it: open, find the
// description, extract every entry by name. The same bytes are also read as a
// raw LZH file, and whatever they decode to must survive our own encoder.
//
// Built a second time with QS_FUZZ_SEED_WRITER, it writes the seed corpus
// instead: small archives of every version, one with a broken size table, and
// raw LZH files.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ArchiveWriter.h"
#include "FuzzSeeds.h"
#include "Lzh.h"
#include "SkinReader.h"

using namespace qs;

#ifndef QS_FUZZ_SEED_WRITER

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void fuzzArchive(std::span<const uint8_t> bytes) {
    TSkinReader reader;
    if (!reader.Open(bytes)) {
        check(reader.count() == 0 && !reader.lastError().empty());
        return;
    }
    check(reader.count() <= kSkinMaxEntries);
    check(reader.names().size() == reader.count());
    std::vector<uint8_t> target;
    for (std::size_t k = 0; k < reader.count(); ++k) {
        reader.ExtractByName(reader.storedNames()[k], target);
        // The first entry of that name answers; it is either whole or absent.
        std::size_t first = 0;
        while (reader.names()[first] != reader.names()[k]) ++first;
        if (reader.entryPresent(first))
            check(target.size() == reader.entrySize(first));
        else
            check(target.empty());
    }
    std::string name = "?";
    reader.ExtractContaining(".ini", target, name);
    check(name == "?" || name.find(".ini") != std::string::npos);
}

void fuzzRaw(std::span<const uint8_t> bytes) {
    std::vector<uint8_t> data;
    if (!lzhUnpack(bytes, data)) return;
    check(bytes.size() >= 4);
    if (data.size() > 16384) return;  // keep iterations fast
    std::vector<uint8_t> back;
    check(lzhUnpack(lzhPack(data), back));
    check(back == data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    fuzzArchive(bytes);
    fuzzRaw(bytes);
    return 0;
}

#else

namespace {
std::vector<uint8_t> tinyBmp(uint8_t shade) {
    std::vector<uint8_t> v = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 4, 0, 0, 0,
                              1, 0, 0, 0, 1, 0, 24, 0};
    v.resize(54, 0);
    for (int i = 0; i < 4; ++i) v.insert(v.end(), {shade, 0, 0xFF});
    return v;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const std::string ini = "[Form]\r\nImage=FrameTop.bmp\r\nMargin=4,4\r\n";
    std::vector<TSkinArchiveEntry> entries{{"FrameTop.bmp", tinyBmp(10)},
                                           {"skin.ini", {ini.begin(), ini.end()}},
                                           {"Button.BMP", tinyBmp(200)}};
    for (uint32_t version : {20000u, 30000u, 40000u})
        fuzz::saveSeed(dir, "archive-" + std::to_string(version), packSkinArchive(entries, version));
    {
        auto unpacked = layoutSkinArchive(entries, 20000);
        unpacked[0] = 0x10;  // an unknown version
        fuzz::saveSeed(dir, "archive-old", lzhPack(unpacked));
        auto broken = layoutSkinArchive(entries, 20000);
        broken[16 + 36 + 4] = 0xFF;  // the second size runs past the end
        fuzz::saveSeed(dir, "archive-broken-size", lzhPack(broken));
    }
    fuzz::saveSeed(dir, "archive-empty", packSkinArchive({}, 20000));
    fuzz::saveSeed(dir, "raw-text", lzhPack(std::vector<uint8_t>(ini.begin(), ini.end())));
    fuzz::saveSeed(dir, "raw-blanks", lzhPack(std::vector<uint8_t>(300, ' ')));
    return 0;
}

#endif
