#include "HeapMeter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> gInUse{0};
std::atomic<std::size_t> gPeak{0};

// Each block carries its size in front, kept at the strictest alignment new
// must give.
constexpr std::size_t kHeader = alignof(std::max_align_t) > 16 ? alignof(std::max_align_t) : 16;

void* take(std::size_t n) {
    if (n > std::size_t(-1) - kHeader) return nullptr;
    void* p = std::malloc(n + kHeader);
    if (!p) return nullptr;
    *static_cast<std::size_t*>(p) = n;
    const std::size_t now = gInUse.fetch_add(n) + n;
    std::size_t peak = gPeak.load();
    while (now > peak && !gPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(p) + kHeader;
}

void give(void* q) {
    if (!q) return;
    void* p = static_cast<char*>(q) - kHeader;
    gInUse.fetch_sub(*static_cast<std::size_t*>(p));
    std::free(p);
}

}  // namespace

void* operator new(std::size_t n) {
    if (void* p = take(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    if (void* p = take(n)) return p;
    throw std::bad_alloc();
}
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return take(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return take(n); }
void operator delete(void* p) noexcept { give(p); }
void operator delete[](void* p) noexcept { give(p); }
void operator delete(void* p, std::size_t) noexcept { give(p); }
void operator delete[](void* p, std::size_t) noexcept { give(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { give(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { give(p); }

namespace qs::hostile {

std::size_t heapInUse() { return gInUse.load(); }
std::size_t heapPeak() { return gPeak.load(); }
void resetHeapPeak() { gPeak.store(gInUse.load()); }

}  // namespace qs::hostile
