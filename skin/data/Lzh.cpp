#include "Lzh.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "LzhTree.h"

namespace qs {

using namespace lzh;

namespace {

// MSB-first bit reader over a byte span; bytes past the end read as zero.
// Keeps up to 64 bits left-aligned in `buf`; bits below `cnt` may already hold
// the following input bytes, which later refills OR in again unchanged.
class BitReader {
public:
    BitReader(const uint8_t* p, const uint8_t* end) : FBegin(p), FP(p), FEnd(end) {}

    unsigned bit() {
        if (FCnt == 0) refill();
        const unsigned b = unsigned(FBuf >> 63);
        FBuf <<= 1;
        --FCnt;
        return b;
    }

    unsigned byte() {
        if (FCnt < 8) refill();
        const unsigned b = unsigned(FBuf >> 56);
        FBuf <<= 8;
        FCnt -= 8;
        return b;
    }

    std::size_t consumed() const { return std::size_t(FP - FBegin); }

private:
    void refill() {
        if (FEnd - FP >= 8) {
            uint64_t v = 0;
            for (int i = 0; i < 8; ++i) v = (v << 8) | FP[i];
            FBuf |= v >> FCnt;
            const unsigned take = (63 - FCnt) >> 3;
            FP += take;
            FCnt += take * 8;
        } else {
            while (FCnt <= 56) {
                const uint64_t b = FP < FEnd ? *FP++ : 0;
                FBuf |= b << (56 - FCnt);
                FCnt += 8;
            }
        }
    }

    const uint8_t* FBegin;
    const uint8_t* FP;
    const uint8_t* FEnd;
    uint64_t FBuf = 0;
    unsigned FCnt = 0;
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
    FProduced = FConsumed = 0;
    if (unpacked > kLzhMaxUnpacked) return false;
    if (unpacked == 0) return true;

    acquireTables();
    struct Release {
        TLZH* self;
        ~Release() { self->releaseTables(); }
    } release{this};
    AdaptiveTree& t = *FTree;

    // The output doubles as the ring: a 4096-byte lead holding what the ring
    // holds before the first byte (60 unused slots, then 4036 blanks) puts every
    // match source at a plain negative offset, with no wrap-around. A final
    // match may run up to 59 bytes past the requested size.
    const std::size_t lead = kRing;
    out.resize(lead + unpacked + kLookAhead);
    uint8_t* const base = out.data();
    std::memset(base, 0, kLookAhead);
    std::memset(base + kLookAhead, ' ', kBlankLead);
    uint8_t* dst = base + lead;
    uint8_t* const stop = dst + unpacked;

    BitReader bits(in.data(), in.data() + in.size());
    while (dst < stop) {
        unsigned c = t.son[kRoot];
        do c = t.son[c + bits.bit()];
        while (c < kNodes);
        c -= kNodes;
        t.update(c);

        if (c < 256) {
            *dst++ = uint8_t(c);
            continue;
        }
        unsigned i = bits.byte();
        const unsigned upper = unsigned(kPositions.dCode[i]) << 6;
        for (unsigned extra = kPositions.dLen[i] - 2u; extra; --extra) i = (i << 1) | bits.bit();
        const std::size_t distance = (upper | (i & 0x3F)) + 1;
        const unsigned length = c - 256 + kThreshold + 1;
        const uint8_t* src = dst - distance;
        if (distance >= length) {
            std::memcpy(dst, src, length);
        } else {
            for (unsigned k = 0; k < length; ++k) dst[k] = src[k];
        }
        dst += length;
    }

    FProduced = std::size_t(dst - (base + lead));
    FConsumed = std::min(bits.consumed(), in.size());
    out.erase(out.begin(), out.begin() + lead);
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
    coder.decode(packed.subspan(4), out, size);
    return true;
}

}  // namespace qs
