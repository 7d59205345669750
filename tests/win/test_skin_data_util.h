#pragma once
// Skins made inside a test: a description text plus BMP entries, packed as a
// real archive, and the helpers to load them into a skin data component.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ArchiveWriter.h"
#include "Bmp.h"
#include "Lzh.h"
#include "SkinData.h"
#include "SkinReader.h"

namespace qs::test {

// Frames side by side, frame k filled with colours[k - 1] (0x00RRGGBB).
inline PixelImage stripImage(int frameWidth, int height, const std::vector<uint32_t>& colours) {
    PixelImage img(frameWidth * int(colours.size()), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < img.width; ++x) img.at(x, y) = colours[std::size_t(x / frameWidth)];
    return img;
}

struct SkinBuilder {
    std::string ini;
    std::vector<TSkinArchiveEntry> entries;
    bool withDescription = true;

    SkinBuilder& text(const std::string& lines) {
        ini += lines;
        ini += "\r\n";
        return *this;
    }
    SkinBuilder& image(const std::string& name, PixelImage img) {
        entries.push_back({name, WriteBmp24(img.view())});
        return *this;
    }
    std::vector<TSkinArchiveEntry> all() const {
        std::vector<TSkinArchiveEntry> e = entries;
        if (withDescription) e.push_back({"skin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
        return e;
    }
    std::vector<uint8_t> archive() const { return packSkinArchive(all()); }
    // An archive of a version the reader refuses.
    std::vector<uint8_t> archiveOfVersion(uint32_t version) const { return lzhPack(layoutSkinArchive(all(), version)); }
};

// Loads an archive into the component; returns what the load said.
inline bool loadArchive(TSkinData& sd, std::vector<uint8_t> archive) {
    sd.SetStoredSkin(std::move(archive));
    return sd.LoadSkin();
}

// A file of the source tree (a Unix path, seen from Wine through drive Z:).
inline std::vector<uint8_t> readTestFile(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::vector<uint8_t> out;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30)) {
        out.resize(std::size_t(size.QuadPart));
        DWORD got = 0;
        if (!ReadFile(h, out.data(), DWORD(out.size()), &got, nullptr) || got != out.size()) out.clear();
    }
    CloseHandle(h);
    return out;
}

inline uint32_t pixelAt(TBitmap& bmp, int x, int y) { return bmp.View().at(x, y) & 0xFFFFFF; }

// The archive code shows a modal message for archives it cannot read; a test
// run must never wait for it, so the tests count the messages instead.
inline int& olderSkinNotices() {
    static int n = 0;
    return n;
}
inline void installQuietNotice() {
    setOlderSkinNotice([](const char*) { ++olderSkinNotices(); });
}

}  // namespace qs::test
