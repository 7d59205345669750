#pragma once
// What tests that start other programs share: paths in UTF-8 made wide for
// a command line, and waiting on another process while this thread's
// windows keep their messages flowing.
#include <windows.h>

#include <string>

#include "WindowCapture.h"

namespace qs::test {

inline std::wstring widen(const std::string& s) {
    std::wstring w(s.size() * 2 + 1, L'\0');
    w.resize(std::size_t(::MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, w.data(), int(w.size())) - 1));
    return w;
}

// True once `cond` holds; false after `ms` milliseconds without.
template <class F>
bool waitUntil(F cond, DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (!cond()) {
        if (::GetTickCount() - start > ms) return false;
        pumpMessages(50);
    }
    return true;
}

}  // namespace qs::test
