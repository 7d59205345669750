#pragma once
// What the seed writers of the fuzz targets share: reading the default skin
// and writing one seed file, failing the build step loudly when it cannot.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qs::fuzz {

inline std::vector<uint8_t> readWholeFile(const char* path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

// Folder parts of corpus case names become dashes: one flat seed folder.
inline void saveSeed(const std::string& dir, std::string name, const std::vector<uint8_t>& bytes) {
    for (char& ch : name)
        if (ch == '/') ch = '-';
    const std::string path = dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        std::exit(1);
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !ok) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

}  // namespace qs::fuzz
