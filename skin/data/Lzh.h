#pragma once
// LZH compression of skin archives: LZSS over a 4096-byte ring with an
// adaptive Huffman code for literals and match lengths. Portable code.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qs {

namespace lzh {
struct AdaptiveTree;
}

// Raised only when the coder's tables cannot be allocated.
class ElzhException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr char kLzhNoMemory[] = "LZH : Cannot get memory for dictionary tables";

// The largest unpacked size we agree to produce. Skins are a few hundred KiB;
// a load holds the unpacked archive while it decodes images from it, and the
// whole load has to stay within a few tens of MiB whatever a file claims.
inline constexpr std::size_t kLzhMaxUnpacked = std::size_t(16) << 20;

// The most bytes a stream of `streamBytes` bytes can expand to. Every symbol
// costs at least one bit and a match at least ten (one for the symbol, nine
// for the position) for at most 60 bytes; anything claiming more than that is
// not a stream of this format.
constexpr std::size_t lzhMaxExpansion(std::size_t streamBytes) { return streamBytes * 48 + 60; }

class TLZH {
public:
    TLZH();
    ~TLZH();
    TLZH(const TLZH&) = delete;
    TLZH& operator=(const TLZH&) = delete;

    // Decodes `in` until at least `unpacked` bytes have been produced and leaves
    // exactly `unpacked` bytes in `out`. Returns false (and leaves `out` empty)
    // when `unpacked` exceeds kLzhMaxUnpacked or when `in` ends before the last
    // symbol needed is complete (zero bits padding the last byte are fine); the
    // caller checks plausibility against the input size first.
    bool decode(std::span<const uint8_t> in, std::vector<uint8_t>& out, std::size_t unpacked);

    // Encodes `in` as a bit stream (without the size field). chainLimit bounds
    // the match candidates tried per position; 0 tries every one in the ring.
    std::vector<uint8_t> encode(std::span<const uint8_t> in, unsigned chainLimit = kDefaultChainLimit);

    // What the last decode's symbols produced: at least the requested size, more
    // when the final match ran past it.
    std::size_t produced() const { return FProduced; }

    static constexpr unsigned kDefaultChainLimit = 256;

private:
    void acquireTables();
    void releaseTables();

    std::unique_ptr<lzh::AdaptiveTree> FTree;
    std::size_t FProduced = 0;
};

// Writes the symbols of a stream one by one: the encoder's back end, also handy
// for building streams with particular matches in tests.
class TLzhSymbolWriter {
public:
    explicit TLzhSymbolWriter(std::vector<uint8_t>& out);
    ~TLzhSymbolWriter();
    void literal(uint8_t byte);
    // position: how far back the match starts, minus one (0..4095); length 3..60.
    void match(unsigned position, unsigned length);
    // Pads the last byte with zero bits. Nothing may be written afterwards.
    void finish();

private:
    void symbol(unsigned c);
    void bits(uint32_t value, unsigned count);

    std::vector<uint8_t>& FOut;
    std::unique_ptr<lzh::AdaptiveTree> FTree;
    uint64_t FAcc = 0;
    unsigned FCount = 0;
};

// The raw file format: unpacked size as 4 bytes little-endian, then the stream.
std::vector<uint8_t> lzhPack(std::span<const uint8_t> data, unsigned chainLimit = TLZH::kDefaultChainLimit);
// Unpacks the raw format, refusing sizes over the cap or beyond what the stream
// can hold. On failure `out` is empty and `why` (if given) says what was wrong.
bool lzhUnpack(std::span<const uint8_t> packed, std::vector<uint8_t>& out, std::string* why = nullptr);

}  // namespace qs
