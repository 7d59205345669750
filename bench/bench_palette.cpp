// The process palette switched on or off while a skinned window of 200
// standard controls is shown: the table swapped, every window told and
// repainted. Measured round by round against a full repaint of the same
// window, interleaved, so both see the same machine; the median of the
// paired ratios and their spread are printed.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "qskin/qskin.h"

namespace {

using namespace qs::bench;

constexpr int kControls = 200;

template <class F>
double millisecondsOf(F&& work) {
    const auto t0 = std::chrono::steady_clock::now();
    work();
    drain();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

HWND buildWindow() {
    HWND top = ::CreateWindowExW(0, L"#32770", L"palette", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 1000, 700, nullptr,
                                 nullptr, nullptr, nullptr);
    const wchar_t* classes[] = {L"Button", L"Edit", L"Static", L"ListBox", L"Button", L"ComboBox", L"Edit", L"Button"};
    const DWORD styles[] = {BS_PUSHBUTTON, WS_BORDER, SS_LEFT, WS_BORDER | WS_VSCROLL, BS_AUTOCHECKBOX,
                            CBS_DROPDOWNLIST, WS_BORDER | ES_MULTILINE, BS_GROUPBOX};
    for (int i = 0; i < kControls; ++i) {
        const int k = i % 8, x = 5 + (i % 10) * 98, y = 5 + (i / 10) * 33;
        ::CreateWindowExW(0, classes[k], L"item", WS_CHILD | WS_VISIBLE | styles[k], x, y, 92, k == 5 ? 120 : 28, top,
                          reinterpret_cast<HMENU>(INT_PTR(100 + i)), nullptr, nullptr);
    }
    return top;
}

}  // namespace

int main() {
    HWND w = buildWindow();
    drain();
    const std::string path = skinPath("dark");
    const std::wstring skin(path.begin(), path.end());
    if (qskin_load_file(skin.c_str()) != QSKIN_OK || qskin_enable() != QSKIN_OK) {
        std::printf("note: the dark skin could not be loaded; no figures\n");
        return 0;
    }
    drain();
    const UINT all = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW;
    std::vector<double> switches, repaints, ratios;
    for (int round = 0; round < 12; ++round) {
        const double s = millisecondsOf([] { qskin_set_process_palette(1); });
        const double r = millisecondsOf([&] { ::RedrawWindow(w, nullptr, nullptr, all); });
        const double s2 = millisecondsOf([] { qskin_set_process_palette(0); });
        if (round < 2) continue;  // warming up
        switches.push_back((s + s2) / 2);
        repaints.push_back(r);
        ratios.push_back((s + s2) / 2 / r);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("note: palette on or off with its repaint takes %.2f ms, a full repaint %.2f ms (medians of 10 rounds); "
                "paired ratios from %.2f to %.2f\n",
                median(switches), median(repaints), ratios.front(), ratios.back());
    std::printf("palette on or off vs a full repaint, skinned window of %d controls\t%.3f\tratio\n", kControls,
                median(ratios));
    qskin_shutdown();
    ::DestroyWindow(w);
    return 0;
}
