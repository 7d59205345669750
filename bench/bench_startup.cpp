// Start-up and memory of the viewer, skinned against the same viewer with
// skinning off: the time from program entry to the main window's first
// frame, and the private bytes once it has settled. Both runs hold the skin
// data (the form definition carries it), so the memory ratio is what skinning
// adds, without the data itself. Runs go in pairs, one of each kind, the
// order swapped from pair to pair, after a warm-up pair; the delay is the
// median of the pairs' differences, so a machine that is busier for a while
// slows both runs of a pair instead of one side. Prints tab-separated rows
// (metric, value, unit, target, peer) for scripts/bench; not a test. With
// QS_PAIRS set in the environment it prints each pair as well.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "ViewerReport.h"

namespace {

constexpr int kPairs = 16;

std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

// The value below which a share q of the sorted values lies (nearest rank).
double quantile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, size_t(q * double(v.size() - 1) + 0.5));
    return v[i];
}

int main() {
    const std::wstring exe = widen(qs::bench::winePath(QV_EXE));
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring report = std::wstring(tmp) + L"qs_bench_startup.txt";
    std::vector<double> frame[2], committed[2], usage[2], delay;
    int failed = 0;
    // Pair 0 warms up: the first start reads everything from disk.
    for (int pair = 0; pair <= kPairs; ++pair) {
        double ms[2] = {-1, -1};
        for (int k = 0; k < 2; ++k) {
            const bool skinned = (k == 0) == (pair % 2 == 0);
            auto r = qv::RunViewerReport(exe, skinned, report, 60000);
            if (r.empty() || r["first_frame_ms"] < 0 || r["skin_loaded"] != 1) {
                ++failed;
                continue;
            }
            if (pair == 0) continue;
            ms[skinned] = r["first_frame_ms"];
            frame[skinned].push_back(ms[skinned]);
            committed[skinned].push_back(r["private_committed"] / 1024.0);
            usage[skinned].push_back(r["private_usage"] / 1024.0);
        }
        if (ms[0] >= 0 && ms[1] >= 0) delay.push_back(ms[1] - ms[0]);
        if (getenv("QS_PAIRS")) std::printf("pair %d: skinned %.1f plain %.1f\n", pair, ms[1], ms[0]);
    }
    if (failed) std::printf("note: %d viewer runs did not report a first frame with the skin data loaded\n", failed);
    if (delay.empty()) {
        std::printf("note: no complete pair of viewer runs\n");
        return 1;
    }
    using qs::bench::median;
    std::printf("viewer first frame from entry, skinned\t%.1f\tms\n", median(frame[1]));
    std::printf("viewer first frame from entry, skinning off\t%.1f\tms\n", median(frame[0]));
    std::printf("viewer first skinned frame, later than with skinning off (median of pairs)\t%.1f\tms\t<=20\n",
                median(delay));
    std::printf("viewer private bytes (committed private pages), skinned vs skinning off\t%.0f\tKiB\t<=1.3\t%.0f\n",
                median(committed[1]), median(committed[0]));
    if (!usage[1].empty() && median(usage[0]) > 0)
        std::printf("note: the system's private-usage figure: %.0f KiB skinned, %.0f KiB skinning off\n",
                    median(usage[1]), median(usage[0]));
    std::printf("note: start-up delay over %zu pairs: middle half %.1f to %.1f ms, all %.1f to %.1f ms\n", delay.size(),
                quantile(delay, 0.25), quantile(delay, 0.75), quantile(delay, 0), quantile(delay, 1));
    // Runs that something else on the machine held up are slower, never
    // faster: the fastest quarter of each kind shows the delay undisturbed.
    std::printf("note: fastest quarter of the runs: %.1f ms skinned, %.1f ms skinning off (%.1f ms apart)\n",
                quantile(frame[1], 0.25), quantile(frame[0], 0.25), quantile(frame[1], 0.25) - quantile(frame[0], 0.25));
    return 0;
}
