#include "InlineHook.h"

#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace qs::run {

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

// Executable memory within a rel32 jump of `code` (anywhere will do on
// 32-bit): free regions below the function first, then above.
uint8_t* allocateNear(uint8_t* code) {
    if (!k64) return static_cast<uint8_t*>(
        ::VirtualAlloc(nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
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
                                                 MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE))
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

void* hookFunction(void* target, void* replacement) {
    auto* code = static_cast<uint8_t*>(target);
    if (!code || !replacement) return nullptr;
    std::size_t moved = 0;
    while (moved < kJumpSize) {
        const std::size_t n = movableInstructionLength(code + moved);
        if (!n) return nullptr;
        moved += n;
    }
    uint8_t* block = allocateNear(code);
    if (!block) return nullptr;

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
    ::FlushInstructionCache(::GetCurrentProcess(), block, kBlockSize);

    uint8_t patch[16];
    std::memcpy(patch, code, sizeof patch);
    putJump(patch, jumpTo, code);
    for (std::size_t i = kJumpSize; i < moved; ++i) patch[i] = 0xCC;
    DWORD old = 0;
    if (!::VirtualProtect(code, moved, PAGE_EXECUTE_READWRITE, &old)) {
        ::VirtualFree(block, 0, MEM_RELEASE);
        return nullptr;
    }
    // Another thread may be about to run these bytes: when they fit in one
    // aligned 8-byte word they change in one step.
    if (moved <= 8 && uintptr_t(code) % 8 == 0) {
        LONG64 word = 0;
        std::memcpy(&word, patch, 8);
        ::InterlockedExchange64(reinterpret_cast<volatile LONG64*>(code), word);
    } else {
        std::memcpy(code, patch, moved);
    }
    ::VirtualProtect(code, moved, old, &old);
    ::FlushInstructionCache(::GetCurrentProcess(), code, moved);
    return block;
}

}  // namespace qs::run
