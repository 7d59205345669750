// Fuzzes the description-to-records step: the input is a description text,
// then (after the first NUL byte, if any) a BMP that the description can
// name as "fuzz.bmp"; every other name finds the images of the default skin.
// All element values, image decoding, frame rules and derived images run on
// plain pixel images in place of the platform's bitmaps.
//
// Built a second time with QS_FUZZ_SEED_WRITER, it writes the seed corpus:
// the default description with one of its bitmaps, and the description cases
// of the hostile-skin corpus that are small enough to mutate quickly.
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
#include "SkinDescription.h"
#include "SkinReader.h"

using namespace qs;
using namespace qs::hostile;

namespace {

std::vector<TSkinArchiveEntry> defaultEntries() {
    return archiveEntries(fuzz::readWholeFile(QS_DEFAULT_SKIN));
}

}  // namespace

#ifndef QS_FUZZ_SEED_WRITER

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<TSkinArchiveEntry> entries = defaultEntries();
    const std::string_view all(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = all.find('\0');
    const std::string_view text = all.substr(0, nul);
    const std::string_view bmp = nul == std::string_view::npos ? std::string_view() : all.substr(nul + 1);
    const PortableSkin s = portableBuild(text, [&](std::string_view name, std::vector<uint8_t>& target) {
        target.clear();
        if (skinLowerCase(name) == "fuzz.bmp") {
            target.assign(bmp.begin(), bmp.end());
            return;
        }
        for (const auto& e : entries)
            if (skinLowerCase(e.Name) == skinLowerCase(name)) {
                target = e.Data;
                return;
            }
    });
    for (const auto& r : s.records) check(r.frames >= 1);
    for (const auto& r : s.captionButtons) check(r.frames >= 1);
    check(s.radioFrames >= 1 && s.checkFrames >= 1);
    check(s.captionButtons.size() <= kMaxCaptionButtons + 3);
    check(s.toolbar.width == 10 && s.toolbar.height == 40);
    return 0;
}

#else

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const auto entries = defaultEntries();
    std::vector<uint8_t> ini, top;
    for (const auto& e : entries) {
        if (skinLowerCase(e.Name).find(".ini") != std::string::npos) ini = e.Data;
        if (skinLowerCase(e.Name) == "frametop.bmp") top = e.Data;
    }
    if (ini.empty()) return 1;
    fuzz::saveSeed(dir, "default", ini);
    std::vector<uint8_t> withBmp = ini;
    const std::string pointTop = "\r\n[Personality]\r\nTop=fuzz.bmp\r\n";
    withBmp.insert(withBmp.begin(), pointTop.begin(), pointTop.end());
    withBmp.push_back(0);
    withBmp.insert(withBmp.end(), top.begin(), top.end());
    fuzz::saveSeed(dir, "default-fuzz-bmp", withBmp);

    const std::vector<uint8_t> base = fuzz::readWholeFile(QS_DEFAULT_SKIN);
    for (const auto& c : makeHostileCases(base)) {
        const std::string& n = c.name;
        if (n.rfind("frames/", 0) != 0 && n.rfind("margins/", 0) != 0 && n.rfind("values/", 0) != 0 &&
            n.rfind("names/reference", 0) != 0)
            continue;
        for (const auto& e : archiveEntries(c.make()))
            if (skinLowerCase(e.Name).find(".ini") != std::string::npos && e.Data.size() < 65536) {
                fuzz::saveSeed(dir, n, e.Data);
                break;
            }
    }
    return 0;
}

#endif
