#pragma once
// The adaptive Huffman tree and position tables shared by the LZH decoder and
// encoder. Both sides must evolve the tree identically symbol by symbol, so the
// update and rebuild rules here are the format: changing a comparison or the
// order of a shift changes every stream after the first rebuild.
#include <array>
#include <cstdint>
#include <cstring>

namespace qs::lzh {

inline constexpr unsigned kRing = 4096;                        // ring buffer size
inline constexpr unsigned kLookAhead = 60;                     // longest match
inline constexpr unsigned kThreshold = 2;                      // matches are longer than this
inline constexpr unsigned kBlankLead = kRing - kLookAhead;     // blanks before the first byte
inline constexpr unsigned kSymbols = 256 - kThreshold + kLookAhead;  // 314
inline constexpr unsigned kNodes = kSymbols * 2 - 1;           // 627; also the leaf tag offset
inline constexpr unsigned kRoot = kNodes - 1;                  // 626
inline constexpr unsigned kMaxFreq = 0x8000;

// Position coding: the upper six bits of a match position are sent as a
// variable-length prefix (3 to 8 bits), the lower six verbatim. The decoder
// reads a whole byte first, so it needs the byte -> (upper bits, length) view;
// the encoder needs the inverse. Both are derived from the run lengths below.
struct PositionTables {
    uint8_t dCode[256];  // first byte -> upper six bits of the position
    uint8_t dLen[256];   // first byte -> total bits of the position code minus 6
    uint8_t pCode[64];   // upper six bits -> prefix, left-aligned in a byte
    uint8_t pLen[64];    // upper six bits -> prefix length in bits
};

constexpr PositionTables makePositionTables() {
    PositionTables t{};
    // Groups of (codes in the group, bytes per code, code length).
    constexpr unsigned groups[][3] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    unsigned byte = 0, code = 0;
    for (const auto& g : groups) {
        for (unsigned c = 0; c < g[0]; ++c, ++code) {
            t.pCode[code] = uint8_t(byte);
            t.pLen[code] = uint8_t(g[2]);
            for (unsigned k = 0; k < g[1]; ++k, ++byte) {
                t.dCode[byte] = uint8_t(code);
                t.dLen[byte] = uint8_t(g[2]);
            }
        }
    }
    return t;
}
inline constexpr PositionTables kPositions = makePositionTables();
static_assert(kPositions.dCode[255] == 63 && kPositions.pCode[63] == 0xFF && kPositions.pCode[12] == 0x90);

// Nodes are kept in ascending frequency order (sibling property), siblings
// adjacent with the left one at an even index. son[] holds the left child of
// an internal node, or kNodes + symbol for a leaf; prnt[] maps a node (or
// kNodes + symbol) to the index of its parent.
struct AdaptiveTree {
    uint16_t freq[kNodes + 1];
    uint16_t prnt[kNodes + kSymbols];
    uint16_t son[kNodes];

    void start() {
        for (unsigned i = 0; i < kSymbols; ++i) {
            freq[i] = 1;
            son[i] = uint16_t(i + kNodes);
            prnt[i + kNodes] = uint16_t(i);
        }
        for (unsigned i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) {
            freq[j] = uint16_t(freq[i] + freq[i + 1]);
            son[j] = uint16_t(i);
            prnt[i] = prnt[i + 1] = uint16_t(j);
        }
        freq[kNodes] = 0xFFFF;  // stops the upward search for a swap partner
        prnt[kRoot] = 0;
    }

    // Halves the leaf counts (rounding up) and rebuilds the internal nodes by
    // pairing in order, each new node inserted after all nodes of equal count.
    void rebuild() {
        unsigned j = 0;
        for (unsigned i = 0; i < kNodes; ++i) {
            if (son[i] >= kNodes) {
                freq[j] = uint16_t((freq[i] + 1u) / 2u);
                son[j] = son[i];
                ++j;
            }
        }
        for (unsigned i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
            const unsigned f = unsigned(freq[i]) + freq[i + 1];
            freq[j] = uint16_t(f);
            unsigned k = j - 1;
            while (f < freq[k]) --k;
            ++k;
            std::memmove(&freq[k + 1], &freq[k], (j - k) * sizeof freq[0]);
            freq[k] = uint16_t(f);
            std::memmove(&son[k + 1], &son[k], (j - k) * sizeof son[0]);
            son[k] = uint16_t(i);
        }
        for (unsigned i = 0; i < kNodes; ++i) {
            const unsigned k = son[i];
            prnt[k] = uint16_t(i);
            if (k < kNodes) prnt[k + 1] = uint16_t(i);
        }
    }

    // Counts one more occurrence of symbol c, keeping the frequency order by
    // swapping a node that outgrew its right neighbour with the last node of
    // the run it overtook.
    void update(unsigned c) {
        if (freq[kRoot] == kMaxFreq) rebuild();
        c = prnt[c + kNodes];
        do {
            const unsigned k = ++freq[c];
            unsigned l = c + 1;
            if (k > freq[l]) {
                while (k > freq[++l]) {}
                --l;
                freq[c] = freq[l];
                freq[l] = uint16_t(k);

                const unsigned i = son[c];
                prnt[i] = uint16_t(l);
                if (i < kNodes) prnt[i + 1] = uint16_t(l);

                const unsigned j = son[l];
                son[l] = uint16_t(i);
                prnt[j] = uint16_t(c);
                if (j < kNodes) prnt[j + 1] = uint16_t(c);
                son[c] = uint16_t(j);

                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }
};

}  // namespace qs::lzh
