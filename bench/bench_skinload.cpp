// Skin load time: how long a skin data component takes to turn a stored skin
// into its element records (unpacking, description, bitmaps, derived records).
// Runs under Wine on the Windows builds; prints tab-separated rows for
// scripts/bench:  metric<TAB>value<TAB>unit
//
//   bench_skinload [skin file]     (default: the project's default skin)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ArchiveWriter.h"
#include "Bmp.h"
#include "SkinData.h"
#include "SkinReader.h"

using namespace qs;

namespace {

constexpr int kWarmUp = 10;
constexpr int kRuns = 200;

bool readFile(std::string path, std::vector<uint8_t>& out) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;  // a Unix path seen from Wine
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30);
    if (ok) {
        out.resize(std::size_t(size.QuadPart));
        DWORD got = 0;
        ok = ReadFile(h, out.data(), DWORD(out.size()), &got, nullptr) && got == out.size();
    }
    CloseHandle(h);
    return ok;
}

// A stand-in of the default skin's shape, for trees that do not carry the
// default skin yet: the same frame and button geometry, every element present.
std::vector<uint8_t> standInSkin() {
    std::vector<TSkinArchiveEntry> e;
    auto image = [&](const char* name, int w, int h, uint32_t pixel) {
        PixelImage img(w, h, pixel);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if ((x + y) % 7 == 0) img.at(x, y) = pixel ^ 0x202020;
        e.push_back({name, WriteBmp24(img.view())});
    };
    image("FrameTop.bmp", 290, 54, 0x3A6EA5);
    image("FrameLeft.bmp", 20, 40, 0x3A6EA5);
    image("FrameRight.bmp", 20, 40, 0x3A6EA5);
    image("FrameBottom.bmp", 60, 20, 0x3A6EA5);
    for (const char* n : {"CloseButton.bmp", "MaxButton.bmp", "MinButton.bmp", "RestroreButton.bmp"})
        image(n, 108, 18, 0xD0D0D0);
    image("button.bmp", 100, 21, 0xE0E0E0);
    image("checkbox.bmp", 65, 13, 0xFFFFFF);
    image("radio.bmp", 65, 13, 0xFFFFFF);
    image("combo.bmp", 64, 21, 0xE0E0E0);
    image("sunkedge.bmp", 80, 21, 0xFFFFFF);
    image("combo-arrows.bmp", 40, 8, 0x000000);
    image("tabs.bmp", 150, 22, 0xE0E0E0);
    image("tabborder.bmp", 30, 30, 0xE0E0E0);
    image("header.bmp", 100, 20, 0xE0E0E0);
    image("menu.bmp", 20, 20, 0xE0E0E0);
    image("arrows.bmp", 368, 16, 0xE0E0E0);
    image("button-mdi.bmp", 180, 16, 0xE0E0E0);
    image("progress.bmp", 40, 16, 0xE0E0E0);
    const std::string ini =
        "[TitlebarSkin]\r\nSkinName=Stand-in\r\n[Personality]\r\nTop=FrameTop.bmp\r\nTopFrame=2\r\nLeft=FrameLeft.bmp\r\n"
        "LeftFrame=2\r\nRight=FrameRight.bmp\r\nRightFrame=2\r\nBottom=FrameBottom.bmp\r\nBottomFrame=2\r\n"
        "menuBar=menu.bmp\r\n[Fonts]\r\nFontHeight=17\r\n[Colours]\r\nButtonFace=224 224 224\r\n"
        "[Button0]\r\nAction=0\r\nButtonImage=CloseButton.bmp\r\n[Button1]\r\nAction=1\r\nButtonImage=MaxButton.bmp\r\n"
        "[Button2]\r\nAction=2\r\nButtonImage=MinButton.bmp\r\n[Button3]\r\nAction=-1\r\nVisibility=0\r\n"
        "ButtonImage=RestroreButton.bmp\r\n[Button4]\r\nAction=3\r\nButtonImage=CloseButton.bmp\r\n"
        "[MDICONTROLS]\r\nImage=button-mdi.bmp\r\n[Buttons]\r\nBitmap=button.bmp\r\nCheckButton=checkbox.bmp\r\n"
        "RadioButton=radio.bmp\r\n[ComboButton]\r\nImage=combo.bmp\r\n[SunkEdge]\r\nImage=sunkedge.bmp\r\n"
        "[ExtraImages]\r\nImage=combo-arrows.bmp\r\n[Tabs]\r\nImage=tabs.bmp\r\nBorder=tabborder.bmp\r\n"
        "[Headerbar]\r\nImage=header.bmp\r\n[MenuItem]\r\nImage=menu.bmp\r\n[Scrollbar]\r\nImage=arrows.bmp\r\n"
        "[Progress]\r\nBitmap=progress.bmp\r\n";
    e.push_back({"standin.ini", std::vector<uint8_t>(ini.begin(), ini.end())});
    return packSkinArchive(e);
}

double ms(LARGE_INTEGER a, LARGE_INTEGER b, LARGE_INTEGER f) { return double(b.QuadPart - a.QuadPart) * 1000.0 / double(f.QuadPart); }

struct Stats {
    double median, min, mean;
    double cpu;  // this thread's processor time per run: what contention for the machine does not inflate
};

double threadCpuMs() {
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    auto ms100ns = [](FILETIME t) { return double((uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0; };
    return ms100ns(kernel) + ms100ns(user);
}
Stats stats(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    double sum = 0;
    for (double x : v) sum += x;
    return Stats{v[v.size() / 2], v.front(), sum / double(v.size()), 0};
}

template <class F>
Stats timeIt(F&& f) {
    LARGE_INTEGER freq, a, b;
    QueryPerformanceFrequency(&freq);
    for (int i = 0; i < kWarmUp; ++i) f();
    std::vector<double> t;
    const double cpu0 = threadCpuMs();
    for (int i = 0; i < kRuns; ++i) {
        QueryPerformanceCounter(&a);
        f();
        QueryPerformanceCounter(&b);
        t.push_back(ms(a, b, freq));
    }
    Stats s = stats(std::move(t));
    s.cpu = (threadCpuMs() - cpu0) / kRuns;
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    setOlderSkinNotice([](const char*) {});
    std::string path = argc > 1 ? argv[1] : QS_DEFAULT_SKIN;
    std::vector<uint8_t> archive;
    std::string label = "default";
    if (!readFile(path, archive)) {
        std::printf("no skin at %s: measured a stand-in of the default skin's shape instead\n", path.c_str());
        archive = standInSkin();
        label = "standin";
    }

    TSkinData sd(nullptr);
    sd.SetStoredSkin(archive);
    if (!sd.LoadSkin()) {
        std::printf("the skin does not load\n");
        return 1;
    }
    std::printf("skin \"%s\": %zu bytes packed, %zu caption buttons\n", sd.SkinName.c_str(), archive.size(),
                sd.CaptionButtons().size());

    const Stats load = timeIt([&] { sd.LoadSkin(); });
    const Stats unpack = timeIt([&] {
        TSkinReader r;
        r.Open(archive);
    });
    const Stats fresh = timeIt([&] {
        TSkinData c(nullptr);
        c.SetStoredSkin(archive);
        c.LoadSkin();
    });
    std::printf("%s_load_median\t%.3f\tms\n", label.c_str(), load.median);
    std::printf("%s_load_min\t%.3f\tms\n", label.c_str(), load.min);
    std::printf("%s_load_mean\t%.3f\tms\n", label.c_str(), load.mean);
    // The target is judged on processor time: on a shared machine the wall
    // clock mostly measures the wait for a core.
    std::printf("%s_load_cpu_per_run\t%.3f\tms\t<=5\n", label.c_str(), load.cpu);
    std::printf("%s_unpack_median\t%.3f\tms\n", label.c_str(), unpack.median);
    std::printf("%s_new_component_and_load_median\t%.3f\tms\n", label.c_str(), fresh.median);
    std::printf("%s_new_component_and_load_cpu_per_run\t%.3f\tms\n", label.c_str(), fresh.cpu);
    std::printf("%d runs after %d warm-up runs each\n", kRuns, kWarmUp);
    return 0;
}
