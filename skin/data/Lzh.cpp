#include "Lzh.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

#include "LzhTree.h"

namespace qs {

using namespace lzh;

namespace {

// MSB-first bit reader over a byte span. Bytes past the end read as zero so
// that the symbol walk never needs a bounds check, and are counted: once a
// taken bit was one of them, the stream was cut short (exhausted()).
// Keeps up to 64 bits left-aligned in `buf`; bits below `cnt` may already hold
// the following input bytes, which later refills OR in again unchanged.
class BitReader {
public:
    BitReader(const uint8_t* p, const uint8_t* end) : FP(p), FEnd(end) {}

    // At least 32 bits ready to take with peek()/skip().
    void ensure32() {
        if (FCnt < 32) refill();
    }
    uint64_t peek() const { return FBuf; }
    void skip(unsigned n) {
        FBuf <<= n;
        FCnt -= n;
    }

    unsigned bit() {
        if (FCnt == 0) refill();
        const unsigned b = unsigned(FBuf >> 63);
        FBuf <<= 1;
        --FCnt;
        return b;
    }

    // True once more bits were taken than the input holds. The encoder pads
    // only the last byte, so a sound stream never gets here.
    bool exhausted() const { return FPast * 8 > FCnt; }

private:
    void refill() {
        if (FEnd - FP >= 8) {
            uint64_t v;
            std::memcpy(&v, FP, 8);
            if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
            FBuf |= v >> FCnt;
            const unsigned take = (63 - FCnt) >> 3;
            FP += take;
            FCnt += take * 8;
        } else {
            while (FCnt <= 56) {
                uint64_t b = 0;
                if (FP < FEnd)
                    b = *FP++;
                else
                    ++FPast;
                FBuf |= b << (56 - FCnt);
                FCnt += 8;
            }
        }
    }

    const uint8_t* FP;
    const uint8_t* FEnd;
    uint64_t FBuf = 0;
    unsigned FCnt = 0;
    std::size_t FPast = 0;  // zero bytes supplied past the end
};

}  // namespace

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

void TLZH::acquireTables() {
    try {
        FTree = std::make_unique<AdaptiveTree>();
    } catch (const std::bad_alloc&) {
        throw ElzhException(kLzhNoMemory);
    }
    FTree->start();
}

void TLZH::releaseTables() { FTree.reset(); }

bool TLZH::decode(std::span<const uint8_t> in, std::vector<uint8_t>& out, std::size_t unpacked) {
    out.clear();
    FProduced = 0;
    if (unpacked > kLzhMaxUnpacked) return false;
    if (unpacked == 0) return true;

    acquireTables();
    struct Release {
        TLZH* self;
        ~Release() { self->releaseTables(); }
    } release{this};
    AdaptiveTree& t = *FTree;

    // Output goes straight into `out`, which also serves as the ring: a match
    // reaches at most 4096 bytes back, so only matches in the first 4096 bytes
    // can reach before the start, into what the ring holds initially (60
    // never-written slots, read as zeros, then 4036 blanks). A final match may
    // run up to 59 bytes past the requested size, a chunked copy 7 more.
    out.resize(unpacked + kLookAhead + 8);
    uint8_t* const begin = out.data();
    uint8_t* dst = begin;
    uint8_t* const stop = begin + unpacked;

    BitReader bits(in.data(), in.data() + in.size());
    while (dst < stop) {
        // Symbol: one bit per level from the root. Counts stay below 2^15, which
        // keeps the tree far shallower than 32 levels; the bit-wise loop after
        // is only there so that no input can read past the buffered bits.
        bits.ensure32();
        uint64_t window = bits.peek();
        unsigned c = t.son[kRoot], depth = 0;
        do {
            c = t.son[c + unsigned(window >> 63)];
            window <<= 1;
            ++depth;
        } while (c < kNodes && depth < 32);
        bits.skip(depth);
        while (c < kNodes) c = t.son[c + bits.bit()];
        c -= kNodes;
        if (bits.exhausted()) break;
        t.update(c);

        if (c < 256) {
            *dst++ = uint8_t(c);
            continue;
        }
        // Position: a byte that fixes the upper six bits and how many more bits
        // follow; the last six bits read are the lower six.
        bits.ensure32();
        const unsigned first = unsigned(bits.peek() >> 56);
        const unsigned width = 8 + kPositions.dLen[first] - 2;
        const unsigned code = unsigned(bits.peek() >> (64 - width));
        bits.skip(width);
        if (bits.exhausted()) break;
        const std::size_t distance = ((unsigned(kPositions.dCode[first]) << 6) | (code & 0x3F)) + 1;
        const unsigned length = c - 256 + kThreshold + 1;
        const std::size_t done = std::size_t(dst - begin);
        if (distance > done) {
            for (unsigned k = 0; k < length; ++k) {
                const std::ptrdiff_t from = std::ptrdiff_t(done + k) - std::ptrdiff_t(distance);
                dst[k] = from >= 0 ? begin[from] : (from < -std::ptrdiff_t(kBlankLead) ? 0 : uint8_t(' '));
            }
        } else if (distance >= 8) {
            // Eight at a time, overlapping or not: each chunk reads only bytes
            // already written. May write up to 7 bytes of slack past the match.
            const uint8_t* src = dst - distance;
            for (unsigned k = 0; k < length; k += 8) std::memcpy(dst + k, src + k, 8);
        } else if (distance == 1) {
            std::memset(dst, dst[-1], length);
        } else {
            const uint8_t* src = dst - distance;
            for (unsigned k = 0; k < length; ++k) dst[k] = src[k];
        }
        dst += length;
    }

    if (dst < stop) {
        // The input ran out before the size it claims: whatever followed is
        // lost, and decoding zeros in its place would hand back made-up data.
        out.clear();
        FProduced = 0;
        return false;
    }
    FProduced = std::size_t(dst - begin);
    out.resize(unpacked);
    return true;
}

std::vector<uint8_t> lzhPack(std::span<const uint8_t> data, unsigned chainLimit) {
    TLZH coder;
    std::vector<uint8_t> stream = coder.encode(data, chainLimit);
    std::vector<uint8_t> packed(4 + stream.size());
    const uint32_t size = uint32_t(data.size());
    for (int i = 0; i < 4; ++i) packed[i] = uint8_t(size >> (8 * i));
    std::copy(stream.begin(), stream.end(), packed.begin() + 4);
    return packed;
}

bool lzhUnpack(std::span<const uint8_t> packed, std::vector<uint8_t>& out, std::string* why) {
    out.clear();
    auto fail = [&](std::string text) {
        if (why) *why = std::move(text);
        return false;
    };
    if (packed.size() < 4) return fail("shorter than its 4-byte size field");
    const std::size_t size = std::size_t(packed[0]) | std::size_t(packed[1]) << 8 | std::size_t(packed[2]) << 16 |
                             std::size_t(packed[3]) << 24;
    const std::size_t stream = packed.size() - 4;
    if (size > kLzhMaxUnpacked)
        return fail("unpacked size " + std::to_string(size) + " is over the limit of " +
                    std::to_string(kLzhMaxUnpacked) + " bytes");
    if (size > lzhMaxExpansion(stream))
        return fail("unpacked size " + std::to_string(size) + " is more than " + std::to_string(stream) +
                    " bytes of compressed data can hold");
    TLZH coder;
    if (!coder.decode(packed.subspan(4), out, size))
        return fail("compressed data of " + std::to_string(stream) + " bytes ends before the " +
                    std::to_string(size) + " bytes it claims are unpacked");
    return true;
}

}  // namespace qs
