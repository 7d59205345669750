#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include "HeapMeter.h"
#include "HostileSkins.h"
#include "PortableLoad.h"
#include "NineSlice.h"
#include "QuickIni.h"
#include "SkinBuild.h"
#include "Bmp.h"
#include "Lzh.h"
#include <functional>
#include "SkinReader.h"

using namespace qs;
using namespace qs::hostile;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// A load may take a second of this thread's time; the sanitizers slow
// everything down several times. Time on the wall, which other processes
// share, only has to show that nothing hangs.
constexpr double kMaxSeconds = kSanitized ? 6.0 : 1.0;
constexpr double kMaxWallSeconds = 10.0;

double threadSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
    auto s = [](FILETIME f) { return double((uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime) * 1e-7; };
    return s(kernel) + s(user);
#else
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
#endif
}
constexpr std::size_t kMaxExtraBytes = std::size_t(64) << 20;

std::vector<uint8_t> defaultSkin() {
    std::ifstream f(QS_DEFAULT_SKIN, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

int gNotices = 0;
void countNotice(const char*) { ++gNotices; }

struct Measured {
    PortableSkin skin;
    double seconds = 0;      // this thread's time
    double wallSeconds = 0;
    std::size_t extra = 0;  // highest heap use above what was held before
};

Measured measure(const std::vector<uint8_t>& bytes) {
    Measured m;
    const std::size_t before = heapInUse();
    resetHeapPeak();
    const auto t0 = std::chrono::steady_clock::now();
    const double c0 = threadSeconds();
    m.skin = portableLoad(bytes);
    m.seconds = threadSeconds() - c0;
    m.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    m.extra = heapPeak() - before;
    return m;
}

// What a loaded skin must hold whatever its bytes were: strips of at least
// one frame, images of sane sizes, the derived images made.
std::string unsoundness(const PortableSkin& s) {
    auto image = [](const PixelImage& i) {
        return i.width >= 0 && i.height >= 0 && std::size_t(i.width) * std::size_t(i.height) == i.pixels.size();
    };
    for (const auto& r : s.records) {
        if (r.frames < 1) return "record " + r.name + " has " + std::to_string(r.frames) + " frames";
        if (!image(r.image) || !image(r.image2)) return "record " + r.name + " has a malformed image";
    }
    for (const auto& r : s.captionButtons)
        if (r.frames < 1) return "caption button " + r.name + " has " + std::to_string(r.frames) + " frames";
    if (s.radioFrames < 1 || s.checkFrames < 1) return "check or radio strip without frames";
    if (s.toolbar.width != 10 || s.toolbar.height != 40) return "no toolbar gradient";
    return {};
}

class HostileNative : public ::testing::Test {
protected:
    void SetUp() override {
        setOlderSkinNotice(&countNotice);
        base = defaultSkin();
        ASSERT_FALSE(base.empty()) << QS_DEFAULT_SKIN;
    }
    void TearDown() override { setOlderSkinNotice(nullptr); }
    std::vector<uint8_t> base;
};

TEST_F(HostileNative, CorpusIsLargeAndNamedUniquely) {
    const auto cases = makeHostileCases(base);
    EXPECT_GE(cases.size(), 200u);
    std::set<std::string> names;
    for (const auto& c : cases) EXPECT_TRUE(names.insert(c.name).second) << "twice: " << c.name;
    // The same bytes on every run: the corpus doubles as fuzz seeds.
    EXPECT_EQ(cases[60].make(), makeHostileCases(base)[60].make());
}

// Every hostile skin either loads into sound records or is refused with a
// reason, within the time and memory a user can afford.
TEST_F(HostileNative, EveryCaseLoadsSoundlyOrIsRefused) {
    const auto cases = makeHostileCases(base);
    ASSERT_FALSE(cases.empty());
    int opened = 0, refused = 0, cut = 0;
    double slowest = 0;
    std::string slowestName, largestName;
    std::size_t largest = 0;
    // QS_HOSTILE_ONLY=<name> runs one case, for looking into it.
    const char* only = std::getenv("QS_HOSTILE_ONLY");
    for (const auto& c : cases) {
        if (only && c.name != only) continue;
        const std::vector<uint8_t> bytes = c.make();
        Measured m;
        try {
            m = measure(bytes);
        } catch (const std::exception& e) {
            ADD_FAILURE() << c.name << ": load threw " << e.what();
            continue;
        }
        // A skin cut short has lost pictures or descriptions past the cut: it
        // is refused rather than shown half there.
        const bool truncated = c.name.rfind("truncated/", 0) == 0;
        if (truncated) {
            ++cut;
            EXPECT_FALSE(m.skin.opened) << c.name << ": a truncated skin opened";
        }
        if (m.skin.opened) {
            ++opened;
            EXPECT_EQ(unsoundness(m.skin), "") << c.name;
        } else {
            ++refused;
            EXPECT_FALSE(m.skin.error.empty()) << c.name << ": refused without a reason";
        }
        EXPECT_LT(m.seconds, kMaxSeconds) << c.name;
        EXPECT_LT(m.wallSeconds, kMaxWallSeconds) << c.name;
        EXPECT_LE(m.extra, kMaxExtraBytes) << c.name << ": " << (m.extra >> 20) << " MiB";
        if (m.seconds > slowest) slowest = m.seconds, slowestName = c.name;
        if (m.extra > largest) largest = m.extra, largestName = c.name;
    }
    if (!only) {
        EXPECT_GE(cut, 40) << "truncation cases";
    }
    std::printf("hostile skins: %zu cases, %d opened, %d refused (%d truncated, all refused); slowest %.3f s of CPU (%s); most memory %.1f MiB (%s)\n",
                cases.size(), opened, refused, cut, slowest, slowestName.c_str(), double(largest) / (1 << 20),
                largestName.c_str());
}

}  // namespace

namespace {

std::size_t peakOf(const std::function<void()>& f) {
    const std::size_t before = heapInUse();
    resetHeapPeak();
    f();
    return heapPeak() - before;
}

}  // namespace

// Each of these held several times the memory of its input before: the whole
// unpacked archive twice, a BMP's claimed size in pixels before its data was
// looked at, a string per one-letter line, and a bitmap per caption-button
// section however many there were.
TEST(HostileMemory, ArchiveIsHeldOnceWhileOpen) {
    std::vector<TSkinArchiveEntry> e{{"a.ini", {'x'}}, {"big.bin", std::vector<uint8_t>(8 << 20, 7)}};
    const std::vector<uint8_t> packed = packQuick(layoutSkinArchive(e));
    TSkinReader reader;
    const std::size_t peak = peakOf([&] { ASSERT_TRUE(reader.Open(packed)); });
    EXPECT_LT(peak, std::size_t(10) << 20) << (peak >> 20) << " MiB";
    EXPECT_EQ(reader.entry(1).size(), std::size_t(8) << 20);
    EXPECT_EQ(reader.entry(1)[12345], 7);
}

TEST(HostileMemory, ImageLargerThanTheCallerAllowsTakesNoPixelMemory) {
    const auto cases = makeHostileCases(defaultSkin());
    std::vector<uint8_t> bomb;
    for (const auto& c : cases)
        if (c.name == "bmp/FrameTop.bmp/rle8-bomb") bomb = archiveEntries(c.make())[0].Data;
    ASSERT_FALSE(bomb.empty());
    BmpResult r;
    const std::size_t peak = peakOf([&] { r = ReadBmp(bomb, kSkinImagePixels); });
    EXPECT_EQ(r.error, BmpError::TooLarge);
    EXPECT_EQ(r.info.width, 5792);
    EXPECT_LT(peak, std::size_t(1) << 20);
    // Within the limit the same file still reads.
    EXPECT_TRUE(ReadBmp(bomb));
}

TEST(HostileMemory, DescriptionKeepsABoundedNumberOfLines) {
    std::string text = "[Colours]\r\nButtonFace=1 2 3\r\n";
    for (int i = 0; i < (2 << 20); ++i) text += "a\n";
    text += "[Late]\r\nk=v\r\n";
    TQuickIni ini;
    const std::size_t peak = peakOf([&] { ini.LoadFromText(text); });
    EXPECT_EQ(ini.Lines().size(), kIniMaxLines);
    EXPECT_EQ(ini.ReadString("Colours", "ButtonFace", ""), "1 2 3");
    EXPECT_FALSE(ini.SectionExists("Late"));
    EXPECT_LT(peak, std::size_t(40) << 20) << (peak >> 20) << " MiB";
}

TEST(HostileMemory, CaptionButtonSectionsAreCapped) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "[Button" + std::to_string(i) + "]\r\nAction=" + std::to_string(i) + "\r\n";
    TQuickIni ini;
    ini.LoadFromText(text);
    const TSkinDescription d = ReadSkinDescription(ini);
    ASSERT_EQ(d.CaptionButtons.size(), kMaxCaptionButtons);
    EXPECT_EQ(d.CaptionButtons.front().sys.Action, 0);
    EXPECT_EQ(d.CaptionButtons.back().sys.Action, int(kMaxCaptionButtons) - 1);
}

// Frame counts of 0 or below, wherever a skin can give one, come out as at
// least one frame, and the pure routines that cut strips take them too.
TEST(HostileFrames, ZeroAndNegativeCountsBecomeOne) {
    const auto cases = makeHostileCases(defaultSkin());
    for (const char* name : {"frames/every-frame-key-0", "frames/every-frame-key--1", "frames/every-frame-key--2147483648"}) {
        const auto it = std::find_if(cases.begin(), cases.end(), [&](const HostileCase& c) { return c.name == name; });
        ASSERT_NE(it, cases.end()) << name;
        const PortableSkin s = portableLoad(it->make());
        ASSERT_TRUE(s.opened) << name;
        for (const auto& r : s.records) EXPECT_GE(r.frames, 1) << name << " " << r.name;
        for (const auto& r : s.captionButtons) EXPECT_GE(r.frames, 1) << name << " " << r.name;
        EXPECT_GE(s.radioFrames, 1);
        EXPECT_GE(s.checkFrames, 1);
    }
    EXPECT_EQ(stripFrameRect(30, 10, 0, 1), (PixelRect{0, 0, 30, 10}));
    EXPECT_EQ(borderColourOf(PixelImage(9, 9, 0x123456).view(), 0, 77), 77);
    EXPECT_TRUE(comboArrowStrip(PixelImage(50, 21).view(), 0).empty());
    EXPECT_TRUE(buildComboComposite({}, {}, nullptr, 0, 18).empty());
}

// Margins near the int limit, as a skin may give them, are too large for any
// target: they used to overflow when summed and survive the fitting.
TEST(HostileMargins, LimitMarginsAreDropped) {
    const int big = 2147483647;
    const SliceMargins m = FitMargins(100, 100, PixelRect{0, 0, 30, 30}, SliceMargins{big, big, big, big});
    EXPECT_EQ(m.left, 0);
    EXPECT_EQ(m.right, 0);
    EXPECT_EQ(m.top, 0);
    EXPECT_EQ(m.bottom, 0);
    for (const SlicePiece& p : NineSlicePieces(100, 100, PixelRect{0, 0, 30, 30}, SliceMargins{big, 1, big, 1}, false))
        EXPECT_TRUE(p.src.left >= 0 && p.src.right <= 30 && p.dst.left >= 0 && p.dst.right <= 100);

    PixelImage dst(40, 40, 1), src(30, 30, 0x00FF00);
    drawNineSlice(dst.view(), PixelRect{0, 0, 40, 40}, src.view(), 1, 1, TMargins{big, big, big, big}, true, false);
    EXPECT_EQ(dst.at(20, 20), 0x00FF00u);
    EXPECT_EQ(dst.at(0, 0), 0x00FF00u);
}

// An archive longer than any skin can pack into is refused before unpacking;
// the same skin with bytes after it, within the limit, still opens.
TEST(HostileMemory, ArchiveOverTheFileLimitIsRefusedUnread) {
    std::vector<uint8_t> bytes = defaultSkin();
    ASSERT_FALSE(bytes.empty());
    bytes.resize(kSkinMaxFileBytes, 0);
    TSkinReader reader;
    EXPECT_TRUE(reader.Open(bytes)) << reader.lastError();
    bytes.push_back(0);
    const std::size_t peak = peakOf([&] { EXPECT_FALSE(reader.Open(bytes)); });
    EXPECT_NE(reader.lastError().find("over the limit"), std::string::npos) << reader.lastError();
    EXPECT_LT(peak, std::size_t(1) << 16);
}
