// Every hostile skin through the skin data component, as a stored skin
// (SkinStream) and as a skin file (SkinFile), with a skinned window repainted
// from whatever each load left behind.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "HeapMeter.h"
#include "HostileFiles.h"
#include "HostileSkins.h"
#include "SkinReader.h"
#include "WindowCapture.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;
using namespace qs::hostile;

namespace {

// A load may take a second of this thread's time; time on the wall, which
// other processes share, only has to show that nothing hangs.
constexpr double kMaxSeconds = 1.0;
constexpr double kMaxWallSeconds = 10.0;

double threadSeconds() {
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto s = [](FILETIME f) { return double((uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime) * 1e-7; };
    return s(kernel) + s(user);
}
constexpr std::size_t kMaxExtraBytes = std::size_t(64) << 20;

int gNotices = 0;
std::string gChangedSize;  // the first load after which the default skin came back at another size
void countNotice(const char*) { ++gNotices; }

PROCESS_MEMORY_COUNTERS memoryCounters() {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &c, sizeof c);
    return c;
}

// What identifies the records of a loaded skin, to see that a refused load
// left the previous one as it was.
struct Fingerprint {
    std::string name;
    int32_t face = 0, border = 0;
    std::vector<int> sizes;
    std::vector<uint32_t> pixels;
    bool operator==(const Fingerprint&) const = default;
};

Fingerprint fingerprint(TSkinData& sd) {
    Fingerprint f;
    f.name = sd.SkinName;
    f.face = sd.ButtonFace;
    f.border = sd.BorderColour;
    for (std::size_t i = 0; i < kSkinSlotCount; ++i)
        if (TDataSkinObject* r = sd.Slot(TSkinSlot(i))) {
            f.sizes.insert(f.sizes.end(), {int(i), r->Frame, r->Bitmap.Width(), r->Bitmap.Height(), r->LeftWidth});
            if (!r->Bitmap.Empty()) f.pixels.push_back(r->Bitmap.View().at(r->Bitmap.Width() / 2, r->Bitmap.Height() / 2));
        }
    for (const auto& b : sd.CaptionButtons()) f.sizes.insert(f.sizes.end(), {b->Frame, b->Bitmap.Width(), b->Action});
    return f;
}

// What any loaded skin must hold for the painters: strips of at least one
// frame and bitmaps that are whole.
std::string unsoundness(TSkinData& sd) {
    auto whole = [](TBitmap& b) { return b.Empty() || (b.Width() > 0 && b.Height() > 0 && !b.View().empty()); };
    for (std::size_t i = 0; i < kSkinSlotCount; ++i)
        if (TDataSkinObject* r = sd.Slot(TSkinSlot(i))) {
            if (r->Frame < 1) return "slot " + std::to_string(i) + " has " + std::to_string(r->Frame) + " frames";
            if (!whole(r->Bitmap)) return "slot " + std::to_string(i) + " has a broken bitmap";
        }
    for (const auto& b : sd.CaptionButtons())
        if (b->Frame < 1) return "caption button " + b->Name + " has " + std::to_string(b->Frame) + " frames";
    if (sd.Buttons()->RadioButtonFrame < 1 || sd.Buttons()->CheckButtonFrame < 1) return "check strips without frames";
    if (!sd.ComboxArrow() || sd.ComboxArrow()->Frame < 1 || !sd.Toolbar() || sd.Toolbar()->Bitmap.Empty())
        return "derived records missing";
    return {};
}

class HostileWin : public ::testing::Test {
protected:
    void SetUp() override {
        setOlderSkinNotice(&countNotice);
        base = readWholeFile(QS_DEFAULT_SKIN);
        ASSERT_FALSE(base.empty());
        cases = makeHostileCases(base);
        ASSERT_GE(cases.size(), 200u);
        char dir[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, dir);
        file = std::string(dir) + "qs-hostile-" + std::to_string(::GetCurrentProcessId()) + ".skn";
    }
    void TearDown() override {
        ::DeleteFileA(file.c_str());
        setOlderSkinNotice(nullptr);
    }
    std::vector<uint8_t> base;
    std::vector<HostileCase> cases;
    std::string file;
};

TBytes streamValue(const std::vector<uint8_t>& archive) {
    TBytes v(4 + archive.size());
    const uint32_t n = uint32_t(archive.size());
    for (int i = 0; i < 4; ++i) v[std::size_t(i)] = uint8_t(n >> (8 * i));
    std::copy(archive.begin(), archive.end(), v.begin() + 4);
    return v;
}

TEST_F(HostileWin, EverySkinLoadsSoundlyOrLeavesThePreviousOne) {
    TSkinData sd(nullptr);
    ASSERT_TRUE(sd.SetSkinStreamValue(streamValue(base)));
    ASSERT_TRUE(sd.SkinLoaded());
    sd.CreateCaptionFont();
    sd.BuildAppIcon();

    HWND w = makeWindow(320, 200);
    ASSERT_NE(w, nullptr);
    auto form = skinWindow(w, sd);
    auto restore = [&] {
        sd.SetSkinStreamValue(streamValue(base));
        form->ReleaseCaptionButtons();
        form->SkinChanged();
    };
    restore();
    pumpMessages(20);
    // Taken with the window skinned: painting sets some records up (the icon
    // button takes the window's icon).
    const Fingerprint good = fingerprint(sd);
    const DWORD gdiBefore = gdiObjectCount();
    const SIZE_T setBefore = memoryCounters().WorkingSetSize;

    int loaded = 0, refused = 0, compared = 0;
    double slowest = 0;
    std::size_t largest = 0;
    std::string slowestName, largestName;
    for (std::size_t k = 0; k < cases.size(); ++k) {
        const HostileCase& c = cases[k];
        const std::vector<uint8_t> bytes = c.make();
        // Through the stored skin for every case, through a file for every
        // third one (the file path only adds the reading).
        for (int viaFile = 0; viaFile < (k % 3 == 0 ? 2 : 1); ++viaFile) {
            const std::string how = c.name + (viaFile ? " (SkinFile)" : " (SkinStream)");
            if (viaFile) {
                ASSERT_TRUE(writeWholeFile(file, bytes));
            }
            const TBytes value = viaFile ? TBytes{} : streamValue(bytes);
            // The window's look before the load, on a share of the cases
            // since a capture costs time.
            Image before;
            if (k % 3 == 0) {
                ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                before = captureWindow(w);
            }
            const SIZE client = clientSize(w);
            const std::size_t heapBefore = heapInUse();
            resetHeapPeak();
            const auto t0 = std::chrono::steady_clock::now();
            const double c0 = threadSeconds();
            if (viaFile)
                sd.SetSkinFile(file);
            else
                sd.SetSkinStreamValue(value);
            const double seconds = threadSeconds() - c0;
            const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            EXPECT_LT(wall, kMaxWallSeconds) << how;
            const std::size_t extra = heapPeak() - heapBefore;
            EXPECT_LT(seconds, kMaxSeconds) << how;
            EXPECT_LE(extra, kMaxExtraBytes) << how << ": " << (extra >> 20) << " MiB";
            if (seconds > slowest) slowest = seconds, slowestName = how;
            if (extra > largest) largest = extra, largestName = how;

            // Taken: loaded and now the stored skin. A refused file leaves the
            // previous skin loaded and stored; a refused stream leaves its
            // records but not loaded.
            const bool took = sd.SkinLoaded() && sd.SkinStreamValue() == streamValue(bytes);
            // A skin cut short is refused rather than shown with what it lost.
            if (c.name.rfind("truncated/", 0) == 0) {
                EXPECT_FALSE(took) << how << ": a truncated skin loaded";
            }
            if (took) {
                ++loaded;
                EXPECT_EQ(unsoundness(sd), "") << how;
                // Whatever loaded is painted: a skinned window takes it and
                // keeps answering.
                form->ReleaseCaptionButtons();
                form->SkinChanged();
                ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
                EXPECT_TRUE(::IsWindow(w)) << how;
                DWORD_PTR answer = 0;
                EXPECT_TRUE(::SendMessageTimeoutW(w, WM_NCHITTEST, 0, MAKELPARAM(100, 100), SMTO_ABORTIFHUNG, 2000, &answer))
                    << how;
                restore();
                const SIZE back = clientSize(w);
                if ((back.cx != client.cx || back.cy != client.cy) && !gChangedSize.size())
                    gChangedSize = how + ": client " + std::to_string(client.cx) + "x" + std::to_string(client.cy) +
                                   " -> " + std::to_string(back.cx) + "x" + std::to_string(back.cy);
            } else {
                ++refused;
                EXPECT_TRUE(fingerprint(sd) == good) << how << ": the previous skin changed";
                // The window keeps its look and its size.
                const SIZE after = clientSize(w);
                EXPECT_TRUE(after.cx == client.cx && after.cy == client.cy) << how;
                if (!before.empty()) {
                    ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                    EXPECT_EQ(countDifferences(before, captureWindow(w)), 0u) << how;
                    ++compared;
                }
                // The next case starts from a loaded skin again.
                if (!sd.SkinLoaded()) restore();
            }
        }
    }
    pumpMessages(20);
    const DWORD gdiAfter = gdiObjectCount();
    const SIZE_T setAfter = memoryCounters().WorkingSetSize;
    const PROCESS_MEMORY_COUNTERS m = memoryCounters();
    EXPECT_LE(gdiAfter, gdiBefore + 4) << "GDI objects " << gdiBefore << " -> " << gdiAfter;
    std::printf("hostile skins through TSkinData: %zu cases, %d loaded, %d refused (%d window looks compared); "
                "slowest %.3f s of CPU (%s); most heap %.1f MiB (%s); working set %.1f -> %.1f MiB, peak %.1f MiB; "
                "GDI objects %lu -> %lu; notices %d\n",
                cases.size(), loaded, refused, compared, slowest, slowestName.c_str(), double(largest) / (1 << 20),
                largestName.c_str(), double(setBefore) / (1 << 20), double(setAfter) / (1 << 20),
                double(m.PeakWorkingSetSize) / (1 << 20), gdiBefore, gdiAfter, gNotices);
    if (!gChangedSize.empty()) std::printf("note: %s\n", gChangedSize.c_str());
    form->Detach();
    ::DestroyWindow(w);
}

// Sparse file of the given size: Wine and the host file system keep it empty
// on disk, so a gigabyte costs nothing to make.
bool makeSparseFile(const std::string& path, int64_t size) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER to{};
    to.QuadPart = size;
    const bool ok = ::SetFilePointerEx(h, to, nullptr, FILE_BEGIN) && ::SetEndOfFile(h);
    ::CloseHandle(h);
    return ok;
}

// Files larger than any skin can be are refused from their size, before a
// byte is read: a gigabyte used to be read whole first. Files just within the
// limit still load when they are skins with bytes after them.
TEST_F(HostileWin, OversizedSkinFileIsRefusedBeforeReading) {
    TSkinData sd(nullptr);
    ASSERT_TRUE(sd.SetSkinStreamValue(streamValue(base)));
    ASSERT_TRUE(sd.SkinLoaded());
    const Fingerprint good = fingerprint(sd);

    for (int64_t size : {int64_t(1) << 30, int64_t(kSkinMaxFileBytes) + 1}) {
        ASSERT_TRUE(makeSparseFile(file, size)) << size;
        const std::size_t heapBefore = heapInUse();
        resetHeapPeak();
        const auto t0 = std::chrono::steady_clock::now();
        sd.SetSkinFile(file);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const std::size_t extra = heapPeak() - heapBefore;
        EXPECT_TRUE(sd.SkinLoaded()) << size;
        EXPECT_TRUE(fingerprint(sd) == good) << size << ": the previous skin changed";
        EXPECT_LT(extra, std::size_t(1) << 20) << size << ": " << extra << " bytes taken";
        EXPECT_LT(wall, 0.5) << size;
        std::printf("skin file of %lld bytes refused in %.3f s with %zu bytes of heap taken\n", (long long)size, wall,
                    extra);
    }

    // The good skin followed by zeros up to the limit is read and loads: the
    // limit does not cut into what a skin can be.
    std::vector<uint8_t> padded = base;
    padded.resize(kSkinMaxFileBytes, 0);
    ASSERT_TRUE(writeWholeFile(file, padded));
    sd.SetSkinStreamValue(streamValue(std::vector<uint8_t>(base.begin(), base.begin() + 64)));
    ASSERT_FALSE(sd.SkinLoaded());
    sd.SetSkinFile(file);
    EXPECT_TRUE(sd.SkinLoaded());
    EXPECT_TRUE(fingerprint(sd) == good);
}

}  // namespace
