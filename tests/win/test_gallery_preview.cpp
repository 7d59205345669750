// The author's loop: a skin read straight from a folder follows the saves
// made there, and a save that breaks it leaves the last good skin on screen.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "Bmp.h"
#include "SkinFolderWatch.h"
#include "SkinReader.h"
#include "SkinRecords.h"
#include "test_gallery_util.h"

using namespace qs;
using namespace qs::test;
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

void writeText(const fs::path& p, const std::string& s) {
    writeFile(p, std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(s.data()), s.size()));
}

void replaceAfter(std::string& s, const std::string& after, const std::string& from, const std::string& to) {
    const auto at = s.find(from, s.find(after));
    ASSERT_NE(at, std::string::npos) << from;
    s.replace(at, from.size(), to);
}

// Pumps until the window's picture differs from `before`: the milliseconds
// that took, or -1 when it did not change within `limitMs`.
int msUntilChanged(HWND wnd, const Image& before, DWORD limitMs) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < limitMs) {
        gallery::pump(20);
        if (countDifferences(captureWindow(wnd), before) > 0) return int(::GetTickCount() - start);
    }
    return -1;
}

}  // namespace

TEST(GalleryPreview, SavesShowWithinASecondAndABrokenSaveKeepsTheLastGoodSkin) {
    GallerySkin::get().use("default");
    const fs::path dir = fs::temp_directory_path() / "qs_preview_test";
    fs::remove_all(dir);
    fs::create_directories(dir);
    TSkinReader archive;
    ASSERT_TRUE(archive.Open(readFile(std::string(QS_SKINS_DIR) + "default.skn")));
    for (std::size_t k = 0; k < archive.count(); ++k) writeFile(dir / archive.storedNames()[k], archive.entry(k));
    const fs::path iniPath = dir / "qelvolight.ini";
    ASSERT_TRUE(fs::exists(iniPath));
    const std::vector<uint8_t> iniBytes = readFile(iniPath);
    const std::string ini(iniBytes.begin(), iniBytes.end());

    TSkinData* sd = GallerySkin::get().data();
    gallery::TSkinFolderWatch watch(sd, dir.string());
    watch.Reload();
    ASSERT_TRUE(watch.LastReport().applied);
    EXPECT_TRUE(watch.LastReport().lines.empty()) << watch.LastReport().lines[0];
    gallery::pump(700);
    OpenPage page(test::page("buttons"));
    const Image before = captureWindow(page.w.handle);

    // A bitmap saved: the push buttons' picture, inverted.
    const std::vector<uint8_t> originalButton = readFile(dir / "button.bmp");
    BmpResult button = ReadBmp(originalButton);
    ASSERT_FALSE(button.image.empty());
    for (uint32_t& px : button.image.pixels)
        if (px != 0xFF00FF) px = ~px & 0xFFFFFF;
    const std::vector<uint8_t> invertedButton = WriteBmp24(button.image.view());
    writeFile(dir / "button.bmp", invertedButton);
    const int bitmapMs = msUntilChanged(page.w.handle, before, 3000);
    ASSERT_GE(bitmapMs, 0) << "the page did not change after the bitmap was saved";
    EXPECT_LT(bitmapMs, 1000);
    gallery::pump(300);
    const Image inverted = captureWindow(page.w.handle);

    // A broken description: the top border's frame count is no number.
    std::string broken = ini;
    replaceAfter(broken, "[Personality]", "TopFrame=2", "TopFrame=two");
    writeText(iniPath, broken);
    gallery::pump(1200);
    EXPECT_FALSE(watch.LastReport().applied);
    ASSERT_EQ(watch.LastReport().blocking.size(), 1u);
    EXPECT_EQ(watch.LastReport().blocking[0], "qelvolight.ini: [Personality] TopFrame=two is not a number; the default is used");
    EXPECT_EQ(sd->BorderTop()->Frame, 2);
    EXPECT_EQ(countDifferences(captureWindow(page.w.handle), inverted), 0u) << "the last good skin left the screen";

    // Mended, with red button captions: that shows.
    std::string mended = ini;
    replaceAfter(mended, "[Buttons]", "NormalColour2=32 36 42", "NormalColour2=255 0 0");
    writeText(iniPath, mended);
    const int mendedMs = msUntilChanged(page.w.handle, inverted, 3000);
    ASSERT_GE(mendedMs, 0) << "the mended description did not show";
    EXPECT_LT(mendedMs, 1000);
    EXPECT_TRUE(watch.LastReport().applied);
    EXPECT_TRUE(watch.LastReport().blocking.empty());

    // The bitmap saved back and forth: files of the very same size, so only
    // their write times tell the saves apart.
    for (const std::vector<uint8_t>* bytes : {&originalButton, &invertedButton}) {
        gallery::pump(300);
        const Image shown = captureWindow(page.w.handle);
        writeFile(dir / "button.bmp", *bytes);
        const int againMs = msUntilChanged(page.w.handle, shown, 3000);
        ASSERT_GE(againMs, 0) << "a save of the same size went unseen";
        EXPECT_LT(againMs, 1000);
    }
    fs::remove_all(dir);
}
