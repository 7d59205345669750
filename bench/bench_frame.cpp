// One full skinned frame paint of an 852 x 573 window against the system
// painting the same window's frame, in one run. Prints tab-separated rows
// (metric, value, unit) for scripts/bench; not a test.
// With "--save DIR" it also writes the captured windows there as BMPs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "SkinData.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

using namespace qs;

namespace {

constexpr int kWidth = 852, kHeight = 573;

std::unique_ptr<TSkinData> loadSkin(const char* name) {
    std::string path = std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn";
    if (path[0] == '/') path = "Z:" + path;
    std::ifstream in(path, std::ios::binary);
    auto sd = std::make_unique<TSkinData>(nullptr);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    sd->SetStoredSkin(std::move(bytes));
    sd->LoadSkin();
    sd->CreateCaptionFont();
    sd->BuildAppIcon();
    return sd;
}

HWND makeWindow(const wchar_t* text) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QsBenchFrame";
        ::RegisterClassW(&wc);
        registered = true;
    }
    HWND w = ::CreateWindowExW(0, L"QsBenchFrame", text, WS_OVERLAPPEDWINDOW, 20, 20, kWidth, kHeight, nullptr,
                               nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(w, SW_SHOW);
    ::SetForegroundWindow(w);
    test::pumpMessages(50);
    return w;
}

// Per-call time of one round of at least ~0.2 s, in microseconds.
template <class F>
double roundMicroseconds(F&& work) {
    using clock = std::chrono::steady_clock;
    int reps = 0;
    const auto start = clock::now();
    double seconds = 0;
    do {
        work();
        ++reps;
        seconds = std::chrono::duration<double>(clock::now() - start).count();
    } while (seconds < 0.2);
    return seconds * 1e6 / reps;
}

void save(HWND w, const std::string& dir, const char* name) {
    if (dir.empty()) return;
    const std::string path = dir + "/" + name + ".bmp";
    test::saveBmp(test::captureWindow(w), std::wstring(path.begin(), path.end()));
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--save") dir = argv[i + 1];

    auto sd = loadSkin("default");
    if (!sd->SkinLoaded()) {
        std::printf("bench_frame: the default skin did not load\n");
        return 1;
    }

    // The skinned window: the frame made 852 x 573 after skinning; the
    // plain one keeps the system's frame at the same size.
    HWND skinned = makeWindow(L"Skinned frame");
    auto form = std::make_unique<TWinSkinForm>(nullptr);
    form->FHandle = skinned;
    form->AttachWindow(sd.get());
    ::SendMessageW(skinned, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    ::SetWindowPos(skinned, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    HWND plain = makeWindow(L"System frame");
    test::pumpMessages(50);

    // Rounds of the two alternate, so a busy machine slows both alike; the
    // best round of each counts.
    double skin = 1e30, system = 1e30;
    for (int round = 0; round < 7; ++round) {
        skin = std::min(skin, roundMicroseconds([&] { form->PaintFrame(); }));
        system = std::min(system, roundMicroseconds([&] {
                              ::SendMessageW(plain, WM_NCPAINT, 1, 0);
                              ::GdiFlush();
                          }));
    }
    save(plain, dir, "frame-system");
    ::DestroyWindow(plain);
    save(skinned, dir, "frame-skinned");
    ::SendMessageW(skinned, WM_NCACTIVATE, FALSE, 0);
    save(skinned, dir, "frame-skinned-inactive");
    for (const char* other : {"dark", "rounded"}) {
        if (dir.empty()) break;
        auto osd = loadSkin(other);
        if (form) form->Detach();
        form = std::make_unique<TWinSkinForm>(nullptr);
        form->FHandle = skinned;
        form->AttachWindow(osd.get());
        ::SendMessageW(skinned, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
        test::pumpMessages(50);
        save(skinned, dir, (std::string("frame-") + other).c_str());
        form->Detach();
        form.reset();
    }
    form.reset();
    ::DestroyWindow(skinned);

    std::printf("frame paint skinned 852x573\t%.1f\tus\n", skin);
    std::printf("frame paint system 852x573\t%.1f\tus\n", system);
    std::printf("frame paint skinned/system\t%.2f\tx\n", system > 0 ? skin / system : 0.0);
    return 0;
}
