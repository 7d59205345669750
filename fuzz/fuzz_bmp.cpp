// Fuzzes the BMP reader: arbitrary bytes either read as a consistent image or
// as no image, and an image that reads survives a write and a second read.
//
// Built a second time with QS_FUZZ_SEED_WRITER, it writes the seed corpus:
// one small file of every header, depth, row order and compression.
#include <cstdint>
#include <cstdio>
#include <string>

#include "Bmp.h"
#include "PixelOps.h"

using namespace qs;

namespace {
[[maybe_unused]] void check(bool ok) {
    if (!ok) __builtin_trap();
}
}  // namespace

#ifndef QS_FUZZ_SEED_WRITER

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const BmpResult r = ReadBmp({data, size});
    if (!r) {
        check(r.image.empty());
        return 0;
    }
    const PixelImage& img = r.image;
    check(img.width == r.info.width && img.height == r.info.height);
    check(img.pixels.size() == size_t(img.width) * size_t(img.height));
    for (uint32_t p : img.pixels) check(p <= 0xFFFFFF);

    if (img.pixels.size() <= (1u << 16)) {
        PixelImage copy = img;
        const BmpResult back = ReadBmp(WriteBmp24(copy.view()));
        check(bool(back) && back.image.pixels == img.pixels);
        RotateLeft(copy);
        RotateRight(copy);
        MirrorBitmap(copy.view());
        FlipBitmap(copy.view());
        MirrorBitmap(copy.view());
        FlipBitmap(copy.view());
        check(copy.pixels == img.pixels);
    }
    return 0;
}

#else

#include "test_bmp_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-dir\n", argv[0]);
        return 2;
    }
    int written = 0;
    for (const auto& [name, fmt] : testbmp::everyFormat()) {
        const auto bytes = testbmp::encode(testbmp::sample(7, 5, fmt, uint32_t(written + 3)), fmt);
        const std::string path = std::string(argv[1]) + "/" + name + ".bmp";
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return 1;
        const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        if (std::fclose(f) != 0 || !ok) return 1;
        ++written;
    }
    return written > 0 ? 0 : 1;
}

#endif
