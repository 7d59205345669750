// skingen: draws our skins (bitmaps plus description) and the built-in
// bitmaps, and optionally packs a skin archive and renders a preview.
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>

#include "ArchiveWriter.h"
#include "Builtin.h"
#include "Preview.h"
#include "SkinBuilder.h"
#include "Theme.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: skingen NAME OUTDIR [--archive FILE] [--preview DIR]\n"
                 "       skingen builtin OUTDIR\n"
                 "NAME is one of: default, dark, rounded. OUTDIR receives the bitmaps, the\n"
                 "description and order.txt (entry names in archive order, for skintool pack).\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string name = argv[1], dir = argv[2];
    if (name == "builtin") {
        const std::string err = qs::gen::writeBuiltinFolder(dir);
        if (!err.empty()) {
            std::fprintf(stderr, "skingen: %s\n", err.c_str());
            return 1;
        }
        return 0;
    }
    std::string archive;
    std::string preview;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--archive" && i + 1 < argc)
            archive = argv[++i];
        else if (a == "--preview" && i + 1 < argc)
            preview = argv[++i];
        else
            return usage();
    }
    try {
        const qs::gen::GeneratedSkin skin = qs::gen::generateSkin(name);
        std::string err = qs::gen::writeSkinFolder(skin, dir);
        if (err.empty() && !archive.empty()) {
            const auto bytes = qs::packSkinArchive(skin.entries());
            std::ofstream f(archive, std::ios::binary);
            f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            if (!f) err = "cannot write " + archive;
        }
        if (err.empty() && !preview.empty()) {
            // Kept out of OUTDIR: a preview .bmp there would be packed as an entry.
            const std::string path = qs::gen::writePreview(skin, preview);
            if (path.empty())
                err = "cannot write the preview into " + preview;
            else
                std::printf("%s\n", path.c_str());
        }
        if (!err.empty()) {
            std::fprintf(stderr, "skingen: %s\n", err.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "skingen: %s\n", e.what());
        return 2;
    }
    return 0;
}
