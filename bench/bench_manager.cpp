// What switching costs with ten skinned forms open: loading a new skin file,
// applying it to all of them, skinning switched off, and switched on again
// (attach plus activation). Medians of 20 rounds; prints tab-separated
// rows (metric, value, unit) for scripts/bench; not a test.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "BenchUtil.h"
#include "Forms.h"
#include "SkinData.h"
#include "SkinManage.h"

using namespace qs;
using namespace qs::bench;

namespace {

constexpr int kForms = 10, kRounds = 20;

}  // namespace

int main() {
    auto sd = std::make_unique<TSkinData>(nullptr);
    sd->BeginLoading();
    sd->SetSkinFile(skinPath("default"));
    sd->SetActive(true);
    sd->Loaded();
    TSkinManage* m = SkinManager();
    if (!m || !sd->SkinLoaded()) {
        std::fprintf(stderr, "bench_manager: no skin\n");
        return 1;
    }
    std::vector<std::unique_ptr<TForm>> forms;
    for (int i = 0; i < kForms; ++i) {
        auto f = std::make_unique<TForm>(nullptr);
        f->SetCaption(L"Form " + std::to_wstring(i));
        f->SetBounds(20 + 30 * i, 20 + 20 * i, 420, 300);
        f->Show();
        forms.push_back(std::move(f));
        drain();
    }
    if (m->FFormSkins.size() != size_t(kForms)) {
        std::fprintf(stderr, "bench_manager: %zu of %d forms skinned\n", m->FFormSkins.size(), kForms);
        return 1;
    }
    const char* names[] = {"dark", "rounded", "default"};
    std::vector<double> loads, applies;
    for (int i = 0; i < kRounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        sd->SetSkinFile(skinPath(names[i % 3]));
        const auto t1 = std::chrono::steady_clock::now();
        m->OnTimer();
        drain();
        const auto t2 = std::chrono::steady_clock::now();
        loads.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        applies.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    std::sort(loads.begin(), loads.end());
    std::sort(applies.begin(), applies.end());
    const double load = loads[loads.size() / 2], change = applies[applies.size() / 2];
    double off = 0, on = 0;
    {
        std::vector<double> offs, ons;
        for (int i = 0; i < kRounds; ++i) {
            auto t0 = std::chrono::steady_clock::now();
            sd->SetActive(false);
            m->OnTimer();
            drain();
            auto t1 = std::chrono::steady_clock::now();
            sd->SetActive(true);
            m->OnTimer();
            drain();
            auto t2 = std::chrono::steady_clock::now();
            offs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
            ons.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
        }
        std::sort(offs.begin(), offs.end());
        std::sort(ons.begin(), ons.end());
        off = offs[offs.size() / 2];
        on = ons[ons.size() / 2];
    }
    std::printf("skin_file_load\t%.2f\tms\n", load);
    std::printf("skin_change_applied_to_%d_forms\t%.2f\tms\n", kForms, change);
    std::printf("skinning_off_%d_forms\t%.2f\tms\n", kForms, off);
    std::printf("skinning_on_%d_forms\t%.2f\tms\n", kForms, on);
    forms.clear();
    sd.reset();
    FreeSkinManager();
    return 0;
}
