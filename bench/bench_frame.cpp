// The skinned frame of an 852 x 573 window against the system painting the
// same window's frame, in one run; one caption button's hover repaint; a
// window with transparent borders resized step by step; the region of a
// whole composed frame; the GDI objects a skinned window holds. Prints
// tab-separated rows (metric, value, unit, target, peer) for scripts/bench;
// not a test. With "--save DIR" it also writes the captured windows there;
// with "resize" it measures only the resize rows.
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
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinRecords.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

using namespace qs;
using namespace qs::bench;

namespace {

constexpr int kWidth = 852, kHeight = 573;

// The project's skin with what a frame paints besides its pictures.
std::unique_ptr<TSkinData> frameSkin(const char* name) {
    auto sd = loadSkin(name);
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
    return secondsPerCall(work) * 1e6;
}

// Median per-call time of nine rounds, in microseconds.
template <class F>
double medianMicroseconds(F&& work) {
    std::vector<double> v;
    for (int i = 0; i < 9; ++i) v.push_back(roundMicroseconds(work));
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void save(HWND w, const std::string& dir, const char* name) {
    if (dir.empty()) return;
    const std::string path = dir + "/" + name + ".bmp";
    test::saveBmp(test::captureWindow(w), std::wstring(path.begin(), path.end()));
}

// Resizing a sizeable window with transparent borders: each step is a new
// size, its region and a frame painted at once. The same steps on a window
// the skin leaves alone are the peer: what the system's own moving costs.
struct ResizeFigures {
    double skinned = 0, plain = 0;
    int misses = 0;
};

ResizeFigures measureResize() {
    ResizeFigures out;
    auto rsd = frameSkin("rounded");
    HWND w = makeWindow(L"Resized");
    HWND p = makeWindow(L"Resized plainly");
    auto f = std::make_unique<TWinSkinForm>(nullptr);
    f->FHandle = w;
    f->AttachWindow(rsd.get());
    ::SendMessageW(w, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    test::pumpMessages(30);
    auto steps = [](HWND wnd, int& step, auto&& check) {
        return roundMicroseconds([&] {
            const int dw = (step % 40) * 6, dh = (step % 40) * 4;
            ++step;
            ::SetWindowPos(wnd, nullptr, 0, 0, 600 + dw, 420 + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_NOCHILDREN);
            ::GdiFlush();
            check(600 + dw);
        });
    };
    std::vector<double> rates, plainRates;
    int step = 0, plainStep = 0;
    // A warm-up round each, then rounds of the two alternate.
    for (int round = 0; round < 10; ++round) {
        const double us = steps(w, step, [&](int width) {
            if (f->FRegionWidth != width || f->FFrameKey.width != width) ++out.misses;
        });
        const double plainUs = steps(p, plainStep, [](int) {});
        if (round == 0) continue;
        rates.push_back(1e6 / us);
        plainRates.push_back(1e6 / plainUs);
    }
    out.skinned = median(rates);
    out.plain = median(plainRates);
    f->Detach();
    f.reset();
    ::DestroyWindow(w);
    ::DestroyWindow(p);
    return out;
}

void printResize(const ResizeFigures& r) {
    std::printf("resize 600x420.., rounded skin: repaints incl. region\t%.0f\t/s\t>=200\n", r.skinned);
    std::printf("resize 600x420.., the same steps on an unskinned window\t%.0f\t/s\n", r.plain);
    if (r.misses) std::printf("note: %d resize steps ended without their region or frame\n", r.misses);
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir;
    bool resizeOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--save" && i + 1 < argc) dir = argv[++i];
        if (std::string(argv[i]) == "resize") resizeOnly = true;
    }
    if (resizeOnly) {
        printResize(measureResize());
        return 0;
    }

    auto sd = frameSkin("default");
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
    // The same window at 192 dpi (as on a second monitor): the skin made for
    // that density, twice the frame's thickness, the same window size.
    HWND dense = makeWindow(L"Skinned frame at 192 dpi");
    auto denseForm = std::make_unique<TWinSkinForm>(nullptr);
    denseForm->FHandle = dense;
    denseForm->AttachWindow(sd.get());
    ::SendMessageW(dense, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    denseForm->FDpi = 192;
    denseForm->UpdateFrameMetrics();
    ::SetWindowPos(dense, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    test::pumpMessages(50);

    // Rounds of the two alternate, so a busy machine slows both alike; the
    // median round of each counts. The skinned side is the real message: a
    // repeated WM_NCPAINT finds its composed frame and copies it.
    std::vector<double> kept, composed, system, hover, composedDense;
    TWinSysButton* button = nullptr;
    for (auto& b : form->FButtons)
        if (b->FVisible && b->FData && !b->IsIconButton() && b->FData->Action >= 0 &&
            b->FBoundsRect.right > b->FBoundsRect.left)
            button = b.get();
    for (int round = 0; round < 9; ++round) {
        kept.push_back(roundMicroseconds([&] {
            ::SendMessageW(skinned, WM_NCPAINT, 1, 0);
            ::GdiFlush();
        }));
        system.push_back(roundMicroseconds([&] {
            ::SendMessageW(plain, WM_NCPAINT, 1, 0);
            ::GdiFlush();
        }));
        composed.push_back(roundMicroseconds([&] {
            form->InvalidateFrame();
            form->PaintFrame();
        }));
        composedDense.push_back(roundMicroseconds([&] {
            denseForm->InvalidateFrame();
            denseForm->PaintFrame();
        }));
        // One state change each: hot, then normal again.
        if (button)
            hover.push_back(roundMicroseconds([&] {
                                button->MouseEnter();
                                button->MouseLeave();
                                ::GdiFlush();
                            }) / 2);
    }
    const double skin = median(kept), sys = median(system), full = median(composed), hot = median(hover);
    const bool keptValid = form->FFrameValid;
    const double dense192 = median(composedDense);
    const int denseTitle = denseForm->FTitleHeight;
    denseForm->Detach();
    denseForm.reset();
    ::DestroyWindow(dense);

    // The region of a whole composed frame, keyed on the skin's colour.
    form->PaintFrame();
    const double region = medianMicroseconds([&] {
        PixelView frame = form->FTitleBitmap.View();
        frame.width = std::min(frame.width, kWidth);
        frame.height = std::min(frame.height, kHeight);
        UniqueRegion r = BitmapToRegion(frame, 0, 0, 1, 1, 1, kSkinKeyColour);
    });

    // GDI objects: the skinned window against itself before skinning, and
    // after the skin let go.
    long gdiSkinned = -1, gdiLeft = -1;
    {
        HWND w = makeWindow(L"Counted");
        const long before = liveGdiObjects();
        auto f = std::make_unique<TWinSkinForm>(nullptr);
        f->FHandle = w;
        f->AttachWindow(sd.get());
        ::SendMessageW(w, WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
        test::pumpMessages(30);
        ::SendMessageW(w, WM_NCACTIVATE, FALSE, 0);
        ::SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
        for (auto& b : f->FButtons)
            if (b->FVisible && b->FData && b->FData->Action >= 0) {
                b->MouseEnter();
                b->MouseLeave();
            }
        ::SetWindowPos(w, nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
        test::pumpMessages(30);
        gdiSkinned = liveGdiObjects() - before;
        f->Detach();
        f.reset();
        test::pumpMessages(30);
        gdiLeft = liveGdiObjects() - before;
        ::DestroyWindow(w);
    }

    const ResizeFigures resize = measureResize();
    save(plain, dir, "frame-system");
    ::DestroyWindow(plain);
    save(skinned, dir, "frame-skinned");
    ::SendMessageW(skinned, WM_NCACTIVATE, FALSE, 0);
    save(skinned, dir, "frame-skinned-inactive");
    for (const char* other : {"dark", "rounded"}) {
        if (dir.empty()) break;
        auto osd = frameSkin(other);
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

    std::printf("frame paint 852x573, repeated WM_NCPAINT vs system's\t%.1f\tus\t<=1.0\t%.1f\n", skin, sys);
    std::printf("frame paint 852x573, composed afresh vs system's\t%.1f\tus\t\t%.1f\n", full, sys);
    std::printf("frame paint 852x573 at 192 dpi (title %d), composed afresh vs at 96 dpi\t%.1f\tus\t<=2.5\t%.1f\n",
                denseTitle, dense192, full);
    if (button)
        std::printf("hover: one caption button state change vs full composed paint\t%.1f\tus\t<=0.10\t%.1f\n", hot, full);
    else
        std::printf("note: the default skin has no caption button with an action to hover\n");
    printResize(resize);
    std::printf("BitmapToRegion of the composed 852x573 frame\t%.3f\tms\t<=2\n", region / 1000);
    std::printf("GDI objects held by a skinned window\t%ld\tobjects\t<=8\n", gdiSkinned);
    std::printf("GDI objects left after unskinning\t%ld\tobjects\t<=0\n", gdiLeft);
    if (!keptValid) std::printf("note: the composed frame was not kept between paints\n");
    return 0;
}
