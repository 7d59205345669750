#include "InlineHook.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstring>
#include <initializer_list>
#include <vector>

namespace qs::hook {

namespace {

#ifdef _WIN64
constexpr bool k64 = true;
#else
constexpr bool k64 = false;
#endif

// The jump written over the function's start: jmp rel32.
constexpr std::size_t kJumpSize = 5;
// The block near the function: the moved instructions and the jump back
// at its start, on 64-bit the far jump to the replacement at kGatewayAt.
constexpr std::size_t kBlockSize = 64;
constexpr std::size_t kGatewayAt = 40;
// jmp [rip+0], followed by the 8-byte address to go to.
constexpr uint8_t kFarJump[6] = {0xFF, 0x25, 0, 0, 0, 0};

// Length of a ModRM operand (ModRM byte, SIB, displacement) at `m`; 0 when
// it addresses relative to the instruction pointer, which would point
// elsewhere once moved.
std::size_t operandLength(const uint8_t* m) {
    const int mod = m[0] >> 6, rm = m[0] & 7;
    std::size_t n = 1;
    if (mod == 3) return n;
    if (rm == 4) {
        const int base = m[1] & 7;
        ++n;
        if (mod == 0 && base == 5) n += 4;
    } else if (mod == 0 && rm == 5) {
        if (k64) return 0;
        n += 4;
    }
    if (mod == 1) n += 1;
    if (mod == 2) n += 4;
    return n;
}

// A jump to `to` written at `at`, for running at `runsAt`.
void putJump(uint8_t* at, const void* to, const uint8_t* runsAt) {
    const auto rel = int32_t(intptr_t(to) - intptr_t(runsAt + kJumpSize));
    at[0] = 0xE9;
    std::memcpy(at + 1, &rel, 4);
}

bool reachable(const void* from, const void* to) {
    const intptr_t d = intptr_t(to) - intptr_t(from);
    return d > -intptr_t(0x7FFF0000) && d < intptr_t(0x7FFF0000);
}

// Memory for the copy (writable until it is filled, then only executable)
// within a rel32 jump of `code` (anywhere will do on
// 32-bit): free regions below the function first, then above.
uint8_t* allocateNear(uint8_t* code) {
    if (!k64) return static_cast<uint8_t*>(
        ::VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    SYSTEM_INFO si{};
    ::GetSystemInfo(&si);
    const uintptr_t grain = si.dwAllocationGranularity ? si.dwAllocationGranularity : 0x10000;
    for (int direction : {-1, 1}) {
        uintptr_t at = uintptr_t(code);
        for (int regions = 0; regions < 4096; ++regions) {
            MEMORY_BASIC_INFORMATION mbi{};
            if (!::VirtualQuery(reinterpret_cast<void*>(at), &mbi, sizeof mbi)) break;
            const uintptr_t base = uintptr_t(mbi.BaseAddress), end = base + mbi.RegionSize;
            if (mbi.State == MEM_FREE) {
                const uintptr_t candidate = direction < 0 ? (end - grain) & ~(grain - 1) : (base + grain - 1) & ~(grain - 1);
                if (candidate >= base && candidate + grain <= end &&
                    reachable(code, reinterpret_cast<void*>(candidate))) {
                    if (void* p = ::VirtualAlloc(reinterpret_cast<void*>(candidate), kBlockSize,
                                                 MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
                        return static_cast<uint8_t*>(p);
                }
            }
            if (direction < 0) {
                if (base < grain) break;
                at = base - 1;
            } else {
                at = end;
            }
            if (!reachable(code, reinterpret_cast<void*>(at))) break;
        }
    }
    return nullptr;
}

// Makes the pages under [at, at + size) writable and gives each its own
// protection back afterwards; the bytes may straddle two pages.
class TWritableCode {
public:
    TWritableCode(uint8_t* at, std::size_t size) {
        SYSTEM_INFO si{};
        ::GetSystemInfo(&si);
        const uintptr_t page = si.dwPageSize ? si.dwPageSize : 0x1000;
        const uintptr_t first = uintptr_t(at) & ~(page - 1), last = (uintptr_t(at) + size - 1) & ~(page - 1);
        for (uintptr_t p = first; p <= last && FCount < 2; p += page) {
            DWORD old = 0;
            if (!::VirtualProtect(reinterpret_cast<void*>(p), page, PAGE_EXECUTE_READWRITE, &old)) return;
            FPages[FCount] = p;
            FOld[FCount++] = old;
        }
        FPageSize = page;
        FOk = uintptr_t(FCount) == (last - first) / page + 1;
    }
    ~TWritableCode() {
        for (int i = 0; i < FCount; ++i) {
            DWORD ignored = 0;
            ::VirtualProtect(reinterpret_cast<void*>(FPages[i]), FPageSize, FOld[i], &ignored);
        }
    }
    TWritableCode(const TWritableCode&) = delete;
    TWritableCode& operator=(const TWritableCode&) = delete;
    bool ok() const { return FOk; }

private:
    uintptr_t FPages[2] = {};
    DWORD FOld[2] = {};
    uintptr_t FPageSize = 0x1000;
    int FCount = 0;
    bool FOk = false;
};

// Every other thread of the process, held while code changes under it. A
// thread stopped inside the bytes being replaced is moved to the same
// instruction in the copy, which runs the same instructions at the same
// offsets. The handles are gathered before any thread stops, so nothing
// here allocates while another thread may hold the heap's lock.
class THeldThreads {
public:
    THeldThreads() {
        HANDLE snap = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        if (snap == INVALID_HANDLE_VALUE) return;
        const DWORD pid = ::GetCurrentProcessId(), self = ::GetCurrentThreadId();
        THREADENTRY32 te{};
        te.dwSize = sizeof te;
        for (BOOL ok = ::Thread32First(snap, &te); ok; ok = ::Thread32Next(snap, &te)) {
            if (te.th32OwnerProcessID != pid || te.th32ThreadID == self) continue;
            if (HANDLE t = ::OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_SET_CONTEXT, FALSE,
                                        te.th32ThreadID))
                FThreads.push_back(t);
        }
        ::CloseHandle(snap);
        FSuspended.assign(FThreads.size(), false);
        for (std::size_t i = 0; i < FThreads.size(); ++i) FSuspended[i] = ::SuspendThread(FThreads[i]) != DWORD(-1);
    }
    ~THeldThreads() {
        for (std::size_t i = 0; i < FThreads.size(); ++i) {
            if (FSuspended[i]) ::ResumeThread(FThreads[i]);
            ::CloseHandle(FThreads[i]);
        }
    }
    THeldThreads(const THeldThreads&) = delete;
    THeldThreads& operator=(const THeldThreads&) = delete;

    void moveOutOf(const uint8_t* code, std::size_t size, const uint8_t* copy) {
        for (std::size_t i = 0; i < FThreads.size(); ++i) {
            if (!FSuspended[i]) continue;
            // Waits until the thread has really stopped.
            alignas(16) CONTEXT c{};
            c.ContextFlags = CONTEXT_CONTROL;
            if (!::GetThreadContext(FThreads[i], &c)) continue;
#ifdef _WIN64
            auto& ip = c.Rip;
#else
            auto& ip = c.Eip;
#endif
            // At the first byte it takes the jump, which is a call like any other.
            if (ip > uintptr_t(code) && ip < uintptr_t(code) + size) {
                ip = uintptr_t(copy) + (ip - uintptr_t(code));
                ::SetThreadContext(FThreads[i], &c);
            }
        }
    }

private:
    std::vector<HANDLE> FThreads;
    std::vector<bool> FSuspended;
};

// One hook at a time: two could share a page whose protection each restores.
SRWLOCK gHooking = SRWLOCK_INIT;

}  // namespace

std::size_t movableInstructionLength(const uint8_t* p) {
    std::size_t n = 0;
    bool wide = false;
    if (k64 && (p[0] & 0xF0) == 0x40) {
        wide = (p[0] & 0x08) != 0;
        ++n;
    }
    const uint8_t op = p[n++];
    if (op >= 0x50 && op <= 0x5F) return n;  // push, pop
    if (!k64 && op >= 0x40 && op <= 0x4F) return n;  // inc, dec
    if (op == 0x90) return n;
    if (op == 0x6A) return n + 1;  // push imm8
    if (op == 0x68) return n + 4;  // push imm32
    if (op >= 0xB8 && op <= 0xBF) return n + (wide ? 8 : 4);  // mov reg, imm
    std::size_t imm = 0;
    switch (op) {
        // add, or, and, sub, xor, cmp, test, mov, lea between a register and
        // a register or memory operand
        case 0x01: case 0x03: case 0x09: case 0x0B: case 0x21: case 0x23: case 0x29: case 0x2B:
        case 0x31: case 0x33: case 0x39: case 0x3B: case 0x85: case 0x88: case 0x89: case 0x8A:
        case 0x8B: case 0x8D:
            break;
        case 0x83: case 0xC6: imm = 1; break;
        case 0x81: case 0xC7: imm = 4; break;
        case 0x0F:
            if (p[n] != 0x1F) return 0;  // only the long no-op
            ++n;
            break;
        default: return 0;
    }
    const std::size_t operand = operandLength(p + n);
    return operand ? n + operand + imm : 0;
}

bool hookFunction(void* target, void* replacement, void** original) {
    auto* code = static_cast<uint8_t*>(target);
    if (!code || !replacement || !original) return false;
    std::size_t moved = 0;
    while (moved < kJumpSize) {
        const std::size_t n = movableInstructionLength(code + moved);
        if (!n) return false;
        moved += n;
    }
    ::AcquireSRWLockExclusive(&gHooking);
    uint8_t* block = allocateNear(code);
    if (!block) {
        ::ReleaseSRWLockExclusive(&gHooking);
        return false;
    }

    // The original's way in: its first instructions, then on to the rest.
    std::memcpy(block, code, moved);
    uint8_t* back = block + moved;
    if (k64) {
        std::memcpy(back, kFarJump, sizeof kFarJump);
        const auto rest = uintptr_t(code + moved);
        std::memcpy(back + sizeof kFarJump, &rest, sizeof rest);
    } else {
        putJump(back, code + moved, back);
    }
    // On 64-bit the replacement may lie beyond a rel32 jump: go through a
    // far jump in the block, which is near.
    const void* jumpTo = replacement;
    if (k64) {
        uint8_t* gateway = block + kGatewayAt;
        std::memcpy(gateway, kFarJump, sizeof kFarJump);
        const auto to = uintptr_t(replacement);
        std::memcpy(gateway + sizeof kFarJump, &to, sizeof to);
        jumpTo = gateway;
    }
    DWORD was = 0;
    if (!::VirtualProtect(block, kBlockSize, PAGE_EXECUTE_READ, &was)) {
        ::VirtualFree(block, 0, MEM_RELEASE);
        ::ReleaseSRWLockExclusive(&gHooking);
        return false;
    }
    ::FlushInstructionCache(::GetCurrentProcess(), block, kBlockSize);

    uint8_t patch[16];
    std::memcpy(patch, code, moved);
    putJump(patch, jumpTo, code);
    for (std::size_t i = kJumpSize; i < moved; ++i) patch[i] = 0xCC;

    bool done = false;
    {
        TWritableCode writable(code, moved);
        if (writable.ok()) {
            // Published before the jump exists: the first call through the
            // jump already finds it.
            ::InterlockedExchangePointer(original, block);
            THeldThreads held;
            held.moveOutOf(code, moved, block);
            // Bytes that lie in one aligned 8-byte word change in one step,
            // for any thread that could not be held.
            const uintptr_t word = uintptr_t(code) & ~uintptr_t(7);
            if (uintptr_t(code) + moved <= word + 8) {
                auto* at = reinterpret_cast<volatile LONG64*>(word);
                for (LONG64 now = *at;;) {
                    LONG64 next = now;
                    std::memcpy(reinterpret_cast<uint8_t*>(&next) + (uintptr_t(code) - word), patch, moved);
                    const LONG64 seen = ::InterlockedCompareExchange64(at, next, now);
                    if (seen == now) break;
                    now = seen;
                }
            } else {
                std::memcpy(code, patch, moved);
            }
            ::FlushInstructionCache(::GetCurrentProcess(), code, moved);
            done = true;
        }
    }
    if (!done) {
        // Never reachable: no jump was written.
        ::VirtualFree(block, 0, MEM_RELEASE);
    }
    ::ReleaseSRWLockExclusive(&gHooking);
    return done;
}

}  // namespace qs::hook
