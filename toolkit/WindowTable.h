#pragma once
// A pointer kept per window handle, inside this process.
//
// Window properties would do the same job, but under Wine every GetProp,
// SetProp and RemoveProp is a round trip to the server: several microseconds
// each, and the toolkit and the skins look their objects up on every message.
// A table here costs a hash lookup. It also keeps two copies of the library in
// one process (a program and a DLL) from finding each other's objects.
//
// Entries are removed by their owners when the window goes (WM_NCDESTROY);
// messages reach a window only on its own thread, but tables are shared by
// every thread of the process, so access is guarded.
#include <windows.h>

#include <unordered_map>

namespace qs {

class TWindowTable {
public:
    TWindowTable() = default;
    TWindowTable(const TWindowTable&) = delete;
    TWindowTable& operator=(const TWindowTable&) = delete;

    void* Get(HWND wnd) const {
        if (!wnd) return nullptr;
        AcquireSRWLockShared(&FLock);
        const auto it = FMap.find(wnd);
        void* value = it == FMap.end() ? nullptr : it->second;
        ReleaseSRWLockShared(&FLock);
        return value;
    }
    // A null value removes the entry.
    void Set(HWND wnd, void* value) {
        if (!wnd) return;
        AcquireSRWLockExclusive(&FLock);
        if (value)
            FMap[wnd] = value;
        else
            FMap.erase(wnd);
        ReleaseSRWLockExclusive(&FLock);
    }
    void Remove(HWND wnd) { Set(wnd, nullptr); }
    size_t Count() const {
        AcquireSRWLockShared(&FLock);
        const size_t n = FMap.size();
        ReleaseSRWLockShared(&FLock);
        return n;
    }

private:
    mutable SRWLOCK FLock = SRWLOCK_INIT;
    std::unordered_map<HWND, void*> FMap;
};

}  // namespace qs
