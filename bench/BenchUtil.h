#pragma once
// What the benchmarks share: timing rounds, medians, paths as Wine sees them,
// skins from the project's resources and draining the message queue.
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#endif
#if defined(_WIN32) && defined(QS_SOURCE_ROOT)
#include <fstream>
#include <iterator>
#include <memory>

#include "SkinData.h"
#endif

namespace qs::bench {

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Calls `work` until at least `seconds` have passed; the seconds per call.
template <class F>
double secondsPerCall(F&& work, double seconds = 0.2) {
    using clock = std::chrono::steady_clock;
    int reps = 0;
    const auto start = clock::now();
    double elapsed = 0;
    do {
        work();
        ++reps;
        elapsed = std::chrono::duration<double>(clock::now() - start).count();
    } while (elapsed < seconds);
    return elapsed / reps;
}

// A Unix path as a Windows program under Wine reaches it.
inline std::string winePath(std::string path) { return !path.empty() && path[0] == '/' ? "Z:" + path : path; }

#ifdef QS_SOURCE_ROOT
inline std::string skinPath(const char* name) {
    return winePath(std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn");
}
#endif

#ifdef _WIN32
#ifdef QS_SOURCE_ROOT
// One of the project's skins, loaded from its stored bytes.
inline std::unique_ptr<TSkinData> loadSkin(const char* name) {
    std::ifstream in(skinPath(name), std::ios::binary);
    auto sd = std::make_unique<TSkinData>(nullptr);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sd->SetStoredSkin(std::move(bytes));
    sd->LoadSkin();
    return sd;
}
#endif

// Live GDI objects of the process. Wine answers GetGuiResources with 0, so
// there the handle table is probed: a 16-bit value names the live object in
// that slot whatever its generation.
inline long liveGdiObjects() {
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS)) return long(n);
    long n = 0;
    for (ULONG_PTR v = 1; v < 0x10000; ++v)
        if (::GetObjectType(reinterpret_cast<HGDIOBJ>(v))) ++n;
    return n;
}

inline void drain() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
#endif

}  // namespace qs::bench
