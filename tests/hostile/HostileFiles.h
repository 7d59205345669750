#pragma once
// Whole-file reading and writing for the Windows tests that hand hostile
// skins to the engine through files. Unix paths are taken as Wine's Z: drive.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace qs::hostile {

// Empty when the file is missing, empty, unreadable or 1 GiB or more.
inline std::vector<uint8_t> readWholeFile(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    std::vector<uint8_t> out;
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30)) {
        out.resize(std::size_t(size.QuadPart));
        DWORD got = 0;
        if (!::ReadFile(h, out.data(), DWORD(out.size()), &got, nullptr) || got != out.size()) out.clear();
    }
    ::CloseHandle(h);
    return out;
}

inline bool writeWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    const bool ok =
        bytes.empty() || (::WriteFile(h, bytes.data(), DWORD(bytes.size()), &put, nullptr) && put == bytes.size());
    ::CloseHandle(h);
    return ok;
}

}  // namespace qs::hostile
