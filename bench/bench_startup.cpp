// Start-up and memory of the viewer, skinned against the same viewer with
// skinning off: the time from program entry to the main window's first
// frame, and the private bytes once it has settled. Both runs hold the skin
// data (the form definition carries it), so the memory ratio is what skinning
// adds, without the data itself. Runs alternate; medians of each side.
// Prints tab-separated rows (metric, value, unit, target, peer) for
// scripts/bench; not a test.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "BenchUtil.h"

namespace {

constexpr int kRuns = 9;

std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// One run of the viewer; the report's key=value lines, empty when it failed.
std::map<std::string, double> runViewer(const std::wstring& exe, bool skinned, const std::wstring& report) {
    DeleteFileW(report.c_str());
    std::wstring cmd = L"\"" + exe + L"\" --first-frame \"" + report + L"\"" + (skinned ? L"" : L" --no-skin");
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::map<std::string, double> out;
    FILE* in = _wfopen(report.c_str(), L"r");
    if (!in) return out;
    char line[256];
    while (std::fgets(line, sizeof(line), in)) {
        const std::string l = line;
        if (auto eq = l.find('='); eq != std::string::npos) out[l.substr(0, eq)] = std::atof(l.c_str() + eq + 1);
    }
    std::fclose(in);
    return out;
}

}  // namespace

int main() {
    const std::wstring exe = widen(qs::bench::winePath(QV_EXE));
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring report = std::wstring(tmp) + L"qs_bench_startup.txt";
    std::vector<double> frame[2], committed[2], usage[2];
    int failed = 0;
    for (int i = 0; i < 2 * kRuns + 2; ++i) {
        const bool skinned = i % 2 == 0;
        auto r = runViewer(exe, skinned, report);
        if (r.empty() || r["first_frame_ms"] < 0 || r["skin_loaded"] != 1) {
            ++failed;
            continue;
        }
        if (i < 2) continue;  // one warm-up run of each: the first start reads everything from disk
        frame[skinned].push_back(r["first_frame_ms"]);
        committed[skinned].push_back(r["private_committed"] / 1024.0);
        usage[skinned].push_back(r["private_usage"] / 1024.0);
    }
    if (failed) std::printf("note: %d viewer runs did not report a first frame with the skin data loaded\n", failed);
    if (frame[0].empty() || frame[1].empty()) {
        std::printf("note: no complete pair of viewer runs\n");
        return 1;
    }
    using qs::bench::median;
    const double on = median(frame[1]), off = median(frame[0]);
    std::printf("viewer first frame from entry, skinned\t%.1f\tms\n", on);
    std::printf("viewer first frame from entry, skinning off\t%.1f\tms\n", off);
    std::printf("viewer first skinned frame, later than with skinning off\t%.1f\tms\t<=20\n", on - off);
    std::printf("viewer private bytes (committed private pages), skinned vs skinning off\t%.0f\tKiB\t<=1.3\t%.0f\n",
                median(committed[1]), median(committed[0]));
    if (!usage[1].empty() && median(usage[0]) > 0)
        std::printf("note: the system's private-usage figure: %.0f KiB skinned, %.0f KiB skinning off\n",
                    median(usage[1]), median(usage[0]));
    std::printf("note: start-up and memory are medians of %zu runs a side, alternating\n", frame[1].size());
    return 0;
}
