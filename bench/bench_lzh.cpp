// LZH throughput and compressed size on skin-like data. Prints tab-separated
// rows (metric, value, unit) for scripts/bench; not a test.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "Lzh.h"
#include "test_lzh_data.h"

using namespace qs;

namespace {

// Best of several timed rounds, each at least ~0.2 s, in MB/s of `bytes`.
template <class F>
double throughput(std::size_t bytes, F&& work) {
    double best = 0;
    for (int round = 0; round < 5; ++round) best = std::max(best, double(bytes) / bench::secondsPerCall(work) / 1e6);
    return best;
}

void row(const std::string& metric, double value, const char* unit) {
    std::printf("%s\t%.1f\t%s\n", metric.c_str(), value, unit);
}

void measure(const std::string& name, const std::vector<uint8_t>& data) {
    TLZH coder;
    const auto stream = coder.encode(data);
    std::vector<uint8_t> out;
    const double decode = throughput(data.size(), [&] { coder.decode(stream, out, data.size()); });
    if (out != data) {
        std::printf("%s\tdecode mismatch\t!\n", name.c_str());
        return;
    }
    const double encode = throughput(data.size(), [&] { (void)coder.encode(data); });
    // The reference parse tries every earlier position in the ring and keeps
    // the longest (nearest on ties): what an exhaustive match finder produces.
    const std::size_t full = coder.encode(data, 0).size();
    row(name + " input", double(data.size()) / 1024.0, "KiB");
    row(name + " decode", decode, "MB/s out");
    row(name + " encode", encode, "MB/s in");
    row(name + " packed", double(stream.size()) / 1024.0, "KiB");
    row(name + " packed vs exhaustive", 100.0 * double(stream.size()) / double(full) - 100.0, "%");
}

}  // namespace

int main() {
    std::vector<uint8_t> bitmaps, text;
    for (auto& [name, data] : testdata::skinLikeFiles())
        (name.ends_with(".ini") ? text : bitmaps).insert((name.ends_with(".ini") ? text : bitmaps).end(),
                                                          data.begin(), data.end());
    measure("lzh skin-like", testdata::skinLikeBlob());
    measure("lzh bitmaps", bitmaps);
    measure("lzh text", testdata::textLike(200000));
    return 0;
}
