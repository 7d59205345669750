// A skin read from an author's folder rather than from a packed archive.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "SkinReader.h"

namespace fs = std::filesystem;

namespace qs {

namespace {

// Names are UTF-8 throughout the engine; the system's own code page must not
// decide how a path is spelled.
fs::path utf8Path(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())); }

std::string utf8Name(const fs::path& p) {
    const std::u8string u = p.u8string();
    return std::string(u.begin(), u.end());
}

}  // namespace

bool TSkinReader::OpenFolder(const std::string& folder) {
    reset();
    const fs::path dir = utf8Path(folder);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) return fail(folder + " is not a folder");
    std::vector<std::string> files, descriptions;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        if (!it->is_regular_file(fileEc)) continue;
        const std::string name = utf8Name(it->path().filename());
        const std::string ext = skinLowerCase(utf8Name(it->path().extension()));
        if (ext != ".bmp" && ext != ".ini") continue;
        files.push_back(name);
        if (ext == ".ini") descriptions.push_back(name);
    }
    if (ec) return fail("cannot list " + folder + ": " + ec.message());
    if (descriptions.empty()) return fail(folder + " holds no .ini description");
    if (descriptions.size() > 1) {
        std::sort(descriptions.begin(), descriptions.end());
        std::string list;
        for (const std::string& d : descriptions) list += (list.empty() ? "" : ", ") + d;
        return fail(folder + " holds " + std::to_string(descriptions.size()) + " descriptions (" + list +
                    "); a skin has one");
    }
    if (files.size() > kSkinMaxEntries)
        return fail(folder + " holds " + std::to_string(files.size()) + " skin files, more than " +
                    std::to_string(kSkinMaxEntries));
    std::sort(files.begin(), files.end());

    std::vector<uint8_t> data;
    for (std::size_t k = 0; k < files.size(); ++k) {
        std::ifstream in(dir / utf8Path(files[k]), std::ios::binary);
        if (!in.is_open()) return fail("cannot open " + files[k]);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (in.bad()) return fail("cannot read " + files[k]);
        if (data.size() + bytes.size() > kLzhMaxUnpacked)
            return fail("the files of " + folder + " come to more than " + std::to_string(kLzhMaxUnpacked) +
                        " bytes, over what a skin may hold");
        FSizes[k] = uint32_t(bytes.size());
        FOffsets[k] = data.size();
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    FStored = std::move(files);
    for (const std::string& n : FStored) FNames.push_back(skinLowerCase(n));
    FCount = FStored.size();
    FHeader.Version = kSkinVersion20000;
    FUnpacked = data.size();
    FData = std::move(data);
    return true;
}

}  // namespace qs
