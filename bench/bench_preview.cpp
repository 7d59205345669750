// How long an author waits between saving a bitmap in a previewed skin
// folder and seeing it on screen: from the write to the first changed pixel
// of an open gallery page, a save every round, the picture flipping between
// the original and an inverted one.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "Application.h"
#include "BenchUtil.h"
#include "Bmp.h"
#include "Forms.h"
#include "Gallery.h"
#include "SkinData.h"
#include "SkinFolderWatch.h"
#include "SkinReader.h"
#include "WindowCapture.h"

using namespace qs;
namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, std::span<const uint8_t> bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

int main() {
    Application->Initialize();
    auto* host = Application->CreateForm<TForm>();
    auto* sd = new TSkinData(host);
    const fs::path dir = fs::temp_directory_path() / "qs_bench_preview";
    fs::remove_all(dir);
    fs::create_directories(dir);
    TSkinReader archive;
    if (!archive.Open(readFile(bench::skinPath("default")))) {
        std::fprintf(stderr, "bench_preview: no skin\n");
        return 1;
    }
    for (std::size_t k = 0; k < archive.count(); ++k) writeFile(dir / archive.storedNames()[k], archive.entry(k));
    const std::vector<uint8_t> original = readFile(dir / "button.bmp");
    BmpResult inverted = ReadBmp(original);
    for (uint32_t& px : inverted.image.pixels)
        if (px != 0xFF00FF) px = ~px & 0xFFFFFF;
    const std::vector<uint8_t> invertedFile = WriteBmp24(inverted.image.view());

    int rc = 0;
    {
        gallery::TSkinFolderWatch watch(sd, dir.string());
        watch.Reload();
        sd->SetActive(true);
        gallery::pump(800);
        const gallery::Page* buttons = nullptr;
        for (const auto& p : gallery::pages())
            if (p.id == "buttons") buttons = &p;
        gallery::PageWindow w = buttons->open();
        w.form->Show();
        w.handle = w.form->Handle();
        ::SetForegroundWindow(w.handle);
        gallery::pump(400);
        ::SetFocus(nullptr);
        gallery::pump(200);

        constexpr int kRounds = 10;
        std::vector<double> delays;
        for (int i = 0; i < kRounds; ++i) {
            const test::Image before = test::captureWindow(w.handle);
            const DWORD start = ::GetTickCount();
            writeFile(dir / "button.bmp", i % 2 == 0 ? std::span<const uint8_t>(invertedFile) : original);
            int ms = -1;
            while (::GetTickCount() - start < 5000) {
                gallery::pump(10);
                if (test::countDifferences(test::captureWindow(w.handle), before) > 0) {
                    ms = int(::GetTickCount() - start);
                    break;
                }
            }
            if (ms < 0) {
                std::fprintf(stderr, "bench_preview: round %d never showed\n", i);
                rc = 1;
                break;
            }
            delays.push_back(ms);
            gallery::pump(300);  // let the page settle before the next save
        }
        if (!delays.empty()) {
            std::printf("preview_save_to_screen_median\t%.0f\tms\t<=1000\n", bench::median(delays));
            std::printf("preview_save_to_screen_worst\t%.0f\tms\t<=1000\n", *std::max_element(delays.begin(), delays.end()));
            std::printf("preview: %zu saves of button.bmp with the buttons page open; polled every 100 ms, read once "
                        "a save holds still for one poll\n",
                        delays.size());
        }
        gallery::closePage(w);
        gallery::pump(100);
    }
    fs::remove_all(dir);
    return rc;
}
