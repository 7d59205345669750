// The encoder side of Lzh.h: greedy LZSS with hash-chain match finding, fed
// through the same adaptive Huffman tree the decoder keeps.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>

#include "Lzh.h"
#include "LzhTree.h"

namespace qs {

using namespace lzh;

namespace {

std::unique_ptr<AdaptiveTree> newTree() {
    try {
        auto t = std::make_unique<AdaptiveTree>();
        t->start();
        return t;
    } catch (const std::bad_alloc&) {
        throw ElzhException(kLzhNoMemory);
    }
}

inline uint64_t load64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Length of the common prefix of a and b, at most `limit`. Both must have
// eight readable bytes past `limit`.
inline unsigned commonLength(const uint8_t* a, const uint8_t* b, unsigned limit) {
    unsigned n = 0;
    while (n < limit) {
        const uint64_t diff = load64(a + n) ^ load64(b + n);
        if (diff) {
            if constexpr (std::endian::native == std::endian::little)
                n += unsigned(std::countr_zero(diff)) >> 3;
            else
                n += unsigned(std::countl_zero(diff)) >> 3;
            return std::min(n, limit);
        }
        n += 8;
    }
    return limit;
}

constexpr unsigned kHashBits = 15;
inline unsigned hash3(const uint8_t* p) {
    const uint32_t v = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
    return (v * 2654435761u) >> (32 - kHashBits);
}

}  // namespace

TLzhSymbolWriter::TLzhSymbolWriter(std::vector<uint8_t>& out) : FOut(out), FTree(newTree()) {}
TLzhSymbolWriter::~TLzhSymbolWriter() = default;

void TLzhSymbolWriter::bits(uint32_t value, unsigned count) {
    // count <= 32 and at most 7 bits pending: the accumulator never overflows.
    FAcc = (FAcc << count) | value;
    FCount += count;
    while (FCount >= 8) {
        FCount -= 8;
        FOut.push_back(uint8_t(FAcc >> FCount));
    }
}

void TLzhSymbolWriter::symbol(unsigned c) {
    AdaptiveTree& t = *FTree;
    // Walk leaf to root; a node's side is the low bit of its index. Collected
    // leaf-first into the low end, so the root's bit ends up most significant.
    uint64_t code = 0;
    unsigned depth = 0;
    for (unsigned k = t.prnt[c + kNodes]; k != kRoot; k = t.prnt[k]) {
        code |= uint64_t(k & 1) << depth;
        ++depth;
    }
    // A tree whose counts stay under 2^15 is far shallower than 64 levels.
    if (depth > 32) {
        bits(uint32_t(code >> 32), depth - 32);
        depth = 32;
    }
    bits(uint32_t(code & 0xFFFFFFFFu), depth);
    t.update(c);
}

void TLzhSymbolWriter::literal(uint8_t byte) { symbol(byte); }

void TLzhSymbolWriter::match(unsigned position, unsigned length) {
    symbol(256 + length - kThreshold - 1);
    const unsigned upper = (position >> 6) & 0x3F;
    bits(kPositions.pCode[upper] >> (8 - kPositions.pLen[upper]), kPositions.pLen[upper]);
    bits(position & 0x3F, 6);
}

void TLzhSymbolWriter::finish() {
    if (FCount) FOut.push_back(uint8_t(FAcc << (8 - FCount)));
    FCount = 0;
}

std::vector<uint8_t> TLZH::encode(std::span<const uint8_t> in, unsigned chainLimit) {
    std::vector<uint8_t> out;
    if (in.empty()) return out;
    // Positions are kept as 32-bit signed numbers; the format's size field is
    // 32 bits anyway and our decoder stops at 64 MiB.
    if (in.size() > std::size_t(INT32_MAX) - kBlankLead - 1024) throw std::length_error("LZH : input too large");
    out.reserve(in.size() / 4 + 64);

    // History and input in one line: the ring's initial blanks, the input, and
    // slack so that hashing and 8-byte comparisons may read past the end.
    const std::size_t lead = kBlankLead;
    const std::size_t end = lead + in.size();
    std::vector<uint8_t> buf(end + kLookAhead + 16, 0);
    std::memset(buf.data(), ' ', lead);
    std::memcpy(buf.data() + lead, in.data(), in.size());
    const uint8_t* const text = buf.data();

    std::vector<int32_t> head(std::size_t(1) << kHashBits, -1);
    std::vector<int32_t> prev(kRing, -1);
    auto insert = [&](std::size_t pos) {
        const unsigned h = hash3(text + pos);
        prev[pos & (kRing - 1)] = head[h];
        head[h] = int32_t(pos);
    };
    for (std::size_t p = 0; p < lead; ++p) insert(p);

    const unsigned tries = chainLimit ? chainLimit : ~0u;
    TLzhSymbolWriter writer(out);
    std::size_t cur = lead;
    while (cur < end) {
        const unsigned limit = unsigned(std::min<std::size_t>(kLookAhead, end - cur));
        unsigned best = 0;
        std::size_t bestDistance = 0;
        if (limit > kThreshold) {
            const uint8_t* const here = text + cur;
            int32_t cand = head[hash3(here)];
            for (unsigned n = 0; cand >= 0 && n < tries; ++n) {
                const std::size_t distance = cur - std::size_t(cand);
                if (distance > kRing) break;
                const uint8_t* there = text + cand;
                // Nearest first: only a strictly longer match replaces the best,
                // so ties go to the cheaper, shorter distance.
                if (there[best] == here[best]) {
                    const unsigned len = commonLength(there, here, limit);
                    if (len > best) {
                        best = len;
                        bestDistance = distance;
                        if (len == limit) break;
                    }
                }
                const int32_t next = prev[std::size_t(cand) & (kRing - 1)];
                if (next >= cand) break;
                cand = next;
            }
        }
        if (best > kThreshold) {
            writer.match(unsigned(bestDistance - 1), best);
        } else {
            best = 1;
            writer.literal(text[cur]);
        }
        for (unsigned k = 0; k < best; ++k) insert(cur + k);
        cur += best;
    }
    writer.finish();
    return out;
}

}  // namespace qs
