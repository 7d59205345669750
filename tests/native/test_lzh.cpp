#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Lzh.h"
#include "test_lzh_data.h"

using namespace qs;
using testdata::randomBytes;

namespace {

std::vector<uint8_t> bytesOf(const std::string& s) { return {s.begin(), s.end()}; }

std::vector<uint8_t> decodeAll(std::span<const uint8_t> stream, std::size_t size) {
    TLZH coder;
    std::vector<uint8_t> out;
    EXPECT_TRUE(coder.decode(stream, out, size));
    return out;
}

// A second, deliberately plain decoder written from the format's description:
// bit-at-a-time input, a real 4096-byte ring, node swaps done one field at a
// time, position tables from their run lengths. The fast decoder must agree
// with it on any input, which covers the rebuild and the table derivation.
class PlainDecoder {
public:
    explicit PlainDecoder(std::span<const uint8_t> in) : FIn(in) {
        auto runs = [](std::vector<int>& table, std::initializer_list<std::pair<int, int>> r) {
            for (auto [count, value] : r) table.insert(table.end(), count, value);
        };
        runs(FCode, {{32, 0}, {16, 1}, {16, 2}, {16, 3}});
        for (int v = 4; v <= 11; ++v) runs(FCode, {{8, v}});
        for (int v = 12; v <= 23; ++v) runs(FCode, {{4, v}});
        for (int v = 24; v <= 47; ++v) runs(FCode, {{2, v}});
        for (int v = 48; v <= 63; ++v) runs(FCode, {{1, v}});
        runs(FLen, {{32, 3}, {48, 4}, {64, 5}, {48, 6}, {48, 7}, {16, 8}});
    }

    std::vector<uint8_t> decode(std::size_t size) {
        startTree();
        std::vector<uint8_t> ring(4096, 0), out;
        std::fill(ring.begin(), ring.begin() + 4036, ' ');
        std::size_t r = 4036;
        auto put = [&](uint8_t b) {
            out.push_back(b);
            ring[r] = b;
            r = (r + 1) % 4096;
        };
        while (out.size() < size) {
            int node = FSon[kRoot];
            while (node < kLeaf) node = FSon[node + bit()];
            const int c = node - kLeaf;
            update(c);
            if (c < 256) {
                put(uint8_t(c));
                continue;
            }
            int i = 0;
            for (int k = 0; k < 8; ++k) i = i * 2 + bit();
            const int upper = FCode[i], extra = FLen[i] - 2;
            for (int k = 0; k < extra; ++k) i = i * 2 + bit();
            const int position = upper * 64 + (i % 64);
            const std::size_t from = (r + 4096 - position - 1) % 4096;
            for (int k = 0; k < c - 253; ++k) put(ring[(from + k) % 4096]);
        }
        out.resize(size);
        return out;
    }

    // Whether the last decode needed bits past the end of the input.
    bool ranOut() const { return FBit > FIn.size() * 8; }

private:
    static constexpr int kSymbols = 314, kLeaf = 627, kRoot = 626;

    int bit() {
        const std::size_t byte = FBit / 8;
        const int b = byte < FIn.size() ? (FIn[byte] >> (7 - FBit % 8)) & 1 : 0;
        ++FBit;
        return b;
    }

    void startTree() {
        FFreq.assign(kLeaf + 1, 0);
        FSon.assign(kLeaf, 0);
        FParent.assign(kLeaf + kSymbols, 0);
        for (int i = 0; i < kSymbols; ++i) FFreq[i] = 1, FSon[i] = kLeaf + i;
        for (int i = 0, j = kSymbols; j <= kRoot; i += 2, ++j) FFreq[j] = FFreq[i] + FFreq[i + 1], FSon[j] = i;
        FFreq[kLeaf] = 65535;
        linkParents();
    }

    void linkParents() {
        for (int i = 0; i < kLeaf; ++i) {
            FParent[FSon[i]] = i;
            if (FSon[i] < kLeaf) FParent[FSon[i] + 1] = i;
        }
        FParent[kRoot] = 0;
    }

    void rebuild() {
        std::vector<int> freq, son;
        for (int i = 0; i < kLeaf; ++i)
            if (FSon[i] >= kLeaf) freq.push_back((FFreq[i] + 1) / 2), son.push_back(FSon[i]);
        for (int i = 0; freq.size() < std::size_t(kLeaf); i += 2) {
            const int f = freq[i] + freq[i + 1];
            std::size_t at = freq.size();
            while (freq[at - 1] > f) --at;  // after every node of equal count
            freq.insert(freq.begin() + at, f);
            son.insert(son.begin() + at, i);
        }
        std::copy(freq.begin(), freq.end(), FFreq.begin());
        FSon = son;
        linkParents();
    }

    void update(int c) {
        if (FFreq[kRoot] == 0x8000) rebuild();
        int node = FParent[c + kLeaf];
        while (true) {
            ++FFreq[node];
            if (node != kRoot && FFreq[node] > FFreq[node + 1]) {
                int last = node + 1;
                while (FFreq[last + 1] < FFreq[node]) ++last;
                std::swap(FFreq[node], FFreq[last]);
                std::swap(FSon[node], FSon[last]);
                for (int n : {node, last}) {
                    FParent[FSon[n]] = n;
                    if (FSon[n] < kLeaf) FParent[FSon[n] + 1] = n;
                }
                node = last;
            }
            if (node == kRoot) break;
            node = FParent[node];
        }
    }

    std::span<const uint8_t> FIn;
    std::size_t FBit = 0;
    std::vector<int> FCode, FLen, FFreq, FSon, FParent;
};

}  // namespace

// With a fresh tree every path of zeros ends at symbol 't' and every path of
// ones at 's': the pairing puts symbols 116..313 eight levels deep and the
// leftmost eight-level path at node 116. Worked out by hand, not by our coder.
TEST(LzhDecode, FreshTreeGivesHandDerivedFirstSymbols) {
    EXPECT_EQ(decodeAll(std::vector<uint8_t>(4, 0), 1), bytesOf("t"));
    const std::vector<uint8_t> ones(4, 0xFF);
    EXPECT_EQ(decodeAll(ones, 1), bytesOf("s"));
}

TEST(LzhDecode, AgreesWithPlainDecoderOnArbitraryStreams) {
    // Random bits decode to a long mix of literals and matches of every length
    // and distance, through several tree rebuilds.
    // Asked for more than the bits hold, both decoders run out and ours says so.
    int fits = 0, short_ = 0;
    for (uint64_t seed : {1, 2, 3}) {
        const auto stream = randomBytes(150000, seed);
        for (std::size_t size : {500000, 4000000}) {
            PlainDecoder plain(stream);
            const auto expected = plain.decode(size);
            TLZH coder;
            std::vector<uint8_t> out;
            const bool ok = coder.decode(stream, out, size);
            if (plain.ranOut()) {
                EXPECT_FALSE(ok) << "seed " << seed << ", " << size << " bytes";
                ++short_;
            } else {
                ASSERT_TRUE(ok) << "seed " << seed << ", " << size << " bytes";
                ASSERT_EQ(out, expected) << "seed " << seed;
                ++fits;
            }
        }
    }
    EXPECT_EQ(fits, 3);
    EXPECT_EQ(short_, 3);
}

TEST(LzhDecode, MatchesReachingBackBeforeTheStartReadBlanks) {
    std::vector<uint8_t> stream;
    TLzhSymbolWriter w(stream);
    w.match(99, 10);    // 100 back from the start: inside the blank lead
    w.literal('x');
    w.match(4035, 4);   // 4036 back: far end of the blank lead
    w.literal('y');
    w.match(0, 7);      // overlaps itself: repeats the byte just written
    w.finish();
    EXPECT_EQ(decodeAll(stream, 23), bytesOf("          x    yyyyyyyy"));
}

TEST(LzhDecode, StopsAtFirstSymbolBoundaryAtOrAfterTheSize) {
    std::vector<uint8_t> stream;
    TLzhSymbolWriter w(stream);
    w.literal('a');
    w.match(0, 10);  // 11 bytes so far
    w.literal('b');
    w.finish();

    TLZH coder;
    std::vector<uint8_t> out;
    ASSERT_TRUE(coder.decode(stream, out, 3));  // ends inside the match: copied whole, kept to 3
    EXPECT_EQ(out, bytesOf("aaa"));
    EXPECT_EQ(coder.produced(), 11u);

    ASSERT_TRUE(coder.decode(stream, out, 11));  // exactly at a boundary: 'b' is never decoded
    EXPECT_EQ(out, bytesOf("aaaaaaaaaaa"));
    EXPECT_EQ(coder.produced(), 11u);

    ASSERT_TRUE(coder.decode(stream, out, 12));
    EXPECT_EQ(out, bytesOf("aaaaaaaaaaab"));
}

TEST(LzhDecode, StreamCutShortIsRefusedWhereverItIsCut) {
    const auto text = testdata::textLike(20000);
    const auto stream = TLZH().encode(text);
    ASSERT_GT(stream.size(), 100u);
    TLZH coder;
    std::vector<uint8_t> out;
    // The whole stream, and the whole stream with bytes after it, decode.
    ASSERT_TRUE(coder.decode(stream, out, text.size()));
    EXPECT_EQ(out, text);
    std::vector<uint8_t> longer(stream);
    longer.resize(stream.size() + 16, 0);
    ASSERT_TRUE(coder.decode(longer, out, text.size()));
    EXPECT_EQ(out, text);
    // Every cut, down to nothing, loses bits the last symbols need: the last
    // byte always carries at least one bit of the final symbol.
    for (std::size_t cut = 0; cut < stream.size(); cut += (cut + 8 >= stream.size() ? 1 : 37)) {
        out.assign(3, 7);
        EXPECT_FALSE(coder.decode(std::span(stream.data(), cut), out, text.size())) << "cut at " << cut;
        EXPECT_TRUE(out.empty()) << "cut at " << cut;
    }
    // Asking for less than the stream holds needs only a prefix of it.
    ASSERT_TRUE(coder.decode(std::span(stream.data(), stream.size() / 2), out, 100));
    EXPECT_TRUE(std::equal(out.begin(), out.end(), text.begin()));
}

TEST(LzhDecode, PaddingBitsOfTheLastByteAreNotInputRunningOut) {
    // One literal takes far fewer than eight bits of a fresh tree; the rest
    // of its byte is padding, and the stream ends exactly there.
    for (unsigned n : {1u, 2u, 3u, 7u, 8u, 9u}) {
        std::vector<uint8_t> stream;
        TLzhSymbolWriter w(stream);
        for (unsigned k = 0; k < n; ++k) w.literal(uint8_t('a' + k));
        w.finish();
        TLZH coder;
        std::vector<uint8_t> out;
        ASSERT_TRUE(coder.decode(stream, out, n)) << n << " literals in " << stream.size() << " bytes";
        EXPECT_EQ(out.size(), n);
        EXPECT_EQ(out.back(), uint8_t('a' + n - 1));
        // One byte more than the stream holds needs bits that are not there.
        EXPECT_FALSE(coder.decode(stream, out, n + 1)) << n;
    }
}

TEST(LzhDecode, RefusesSizesOverTheCap) {
    TLZH coder;
    std::vector<uint8_t> out{1, 2, 3};
    EXPECT_FALSE(coder.decode({}, out, kLzhMaxUnpacked + 1));
    EXPECT_TRUE(out.empty());
}

namespace {
struct Sample {
    const char* name;
    std::vector<uint8_t> data;
};

std::vector<Sample> roundTripSamples() {
    std::vector<Sample> s;
    s.push_back({"empty", {}});
    s.push_back({"one byte", {0x42}});
    s.push_back({"one blank", {' '}});
    for (std::size_t n : {4095, 4096, 4097, 65536}) {
        s.push_back({"random", randomBytes(n, n)});
        s.push_back({"text", testdata::textLike(n)});
    }
    s.push_back({"zeros run", std::vector<uint8_t>(70000, 0)});
    s.push_back({"blank run", std::vector<uint8_t>(9000, ' ')});
    std::vector<uint8_t> runs;
    testdata::Rng r(5);
    while (runs.size() < 50000) runs.insert(runs.end(), 1 + r.below(300), uint8_t(r.below(4)));
    s.push_back({"mixed runs", runs});
    s.push_back({"bitmap", testdata::bitmapLike(120000)});
    s.push_back({"skin files", testdata::skinLikeBlob()});
    return s;
}
}  // namespace

TEST(LzhRoundTrip, EncodeThenDecodeGivesTheInputBack) {
    for (const auto& s : roundTripSamples()) {
        for (unsigned chain : {TLZH::kDefaultChainLimit, 0u, 1u}) {
            const auto packed = lzhPack(s.data, chain);
            std::vector<uint8_t> back;
            std::string why;
            ASSERT_TRUE(lzhUnpack(packed, back, &why)) << s.name << ": " << why;
            ASSERT_EQ(back, s.data) << s.name << " (" << s.data.size() << " bytes, chain " << chain << ")";
            // And the plain decoder reads what we write.
            if (chain == TLZH::kDefaultChainLimit && s.data.size() <= 70000) {
                ASSERT_EQ(PlainDecoder(std::span(packed).subspan(4)).decode(s.data.size()), s.data) << s.name;
            }
        }
    }
}

TEST(LzhEncode, CompressesWhatRepeats) {
    EXPECT_LT(lzhPack(std::vector<uint8_t>(65536, 0)).size(), 1500u);
    const auto skin = testdata::skinLikeBlob();
    EXPECT_LT(lzhPack(skin).size(), skin.size() / 4);
    // Random data costs a little more than itself, never much more.
    const auto noise = randomBytes(65536, 9);
    EXPECT_LT(lzhPack(noise).size(), noise.size() * 115 / 100);
}

TEST(LzhEncode, BoundedSearchStaysWithinTwoPercentOfExhaustive) {
    const auto skin = testdata::skinLikeBlob();
    const std::size_t fast = TLZH().encode(skin).size();
    const std::size_t full = TLZH().encode(skin, 0).size();
    EXPECT_LE(fast, full + full / 50) << fast << " vs " << full;
}

TEST(LzhRaw, RejectsSizesTheStreamCannotHold) {
    std::vector<uint8_t> out;
    std::string why;
    EXPECT_FALSE(lzhUnpack(std::vector<uint8_t>{1, 0, 0}, out, &why));
    EXPECT_NE(why.find("size field"), std::string::npos);

    // 64 MiB + 1 claimed by a header alone.
    std::vector<uint8_t> huge{0x01, 0x00, 0x00, 0x04};
    huge.resize(4 + 2'000'000, 0);
    EXPECT_FALSE(lzhUnpack(huge, out, &why));
    EXPECT_NE(why.find("limit"), std::string::npos) << why;

    // Ten bytes of stream can hold 48 * 10 + 60 bytes at the very most.
    std::vector<uint8_t> small{0, 0, 0, 0};
    small.resize(14, 0);
    const unsigned most = 48 * 10 + 60;
    small[0] = uint8_t(most);
    small[1] = uint8_t(most >> 8);
    // At the bound the size passes the plausibility check, and ten zero bytes
    // then run out long before 540 bytes are decoded.
    out.assign(3, 7);
    EXPECT_FALSE(lzhUnpack(small, out, &why));
    EXPECT_NE(why.find("ends before"), std::string::npos) << why;
    EXPECT_TRUE(out.empty());
    small[0] += 1;
    EXPECT_FALSE(lzhUnpack(small, out, &why));
    EXPECT_NE(why.find("can hold"), std::string::npos) << why;
    EXPECT_TRUE(out.empty());

    // A packed file cut short is refused with the reason.
    const auto text = testdata::textLike(5000);
    auto packed = lzhPack(text);
    packed.pop_back();
    EXPECT_FALSE(lzhUnpack(packed, out, &why));
    EXPECT_NE(why.find("ends before"), std::string::npos) << why;
}
