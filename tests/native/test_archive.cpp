#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArchiveWriter.h"
#include "Lzh.h"
#include "SkinReader.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <thread>
#endif

using namespace qs;

namespace {

// Archives laid out by hand, byte by byte, so that the reader is not checked
// against our own writer.
struct Layout {
    uint32_t version = 20000;
    std::string extra;  // the block after the header; padded to the version's size
    std::string names;
    std::vector<uint32_t> sizes;
    std::string data;
    uint32_t reserved1 = 0, reserved2 = 0;
    int nameListLength = -1;  // overrides the stated length when >= 0

    std::vector<uint8_t> unpacked() const {
        std::vector<uint8_t> v;
        auto u32 = [&](uint32_t x) {
            for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
        };
        u32(version);
        u32(nameListLength >= 0 ? uint32_t(nameListLength) : uint32_t(names.size()));
        u32(reserved1);
        u32(reserved2);
        v.insert(v.end(), extra.begin(), extra.end());
        v.insert(v.end(), names.begin(), names.end());
        for (uint32_t s : sizes) u32(s);
        v.insert(v.end(), data.begin(), data.end());
        return v;
    }
    std::vector<uint8_t> packed() const { return lzhPack(unpacked()); }
};

std::string text(const std::vector<uint8_t>& v) { return {v.begin(), v.end()}; }

std::vector<const char*> gNotices;
void recordNotice(const char* message) { gNotices.push_back(message); }

class SkinArchive : public ::testing::Test {
protected:
    void SetUp() override {
        gNotices.clear();
        setOlderSkinNotice(&recordNotice);  // never a real dialog in a test run
    }
    void TearDown() override { setOlderSkinNotice(nullptr); }

    TSkinReader reader;
    std::vector<uint8_t> out{'o', 'l', 'd'};
};

Layout twoEntries() {
    Layout l;
    l.names = "Alpha.BMP\r\nskin.INI\r\n";
    l.sizes = {3, 5};
    l.data = "AAAiniii";
    return l;
}

}  // namespace

TEST_F(SkinArchive, EachVersionSkipsItsOwnExtraBlock) {
    // The extra blocks hold name-like text: reading them as names would show.
    for (auto [version, extra] : {std::pair{20000u, 0}, {30000u, 256}, {40000u, 80}}) {
        Layout l = twoEntries();
        l.version = version;
        l.reserved1 = 7;
        l.reserved2 = 0xDEADBEEF;
        for (int i = 0; l.extra.size() < std::size_t(extra); ++i) l.extra += "x" + std::to_string(i) + ".ini\r\n";
        l.extra.resize(std::size_t(extra));
        ASSERT_TRUE(reader.Open(l.packed())) << version << ": " << reader.lastError();
        EXPECT_EQ(reader.header().Version, version);
        EXPECT_EQ(reader.header().Reserved1, 7u);
        EXPECT_EQ(reader.header().Reserved2, 0xDEADBEEFu);
        EXPECT_EQ(reader.names(), (std::vector<std::string>{"alpha.bmp", "skin.ini"}));
        EXPECT_EQ(reader.storedNames(), (std::vector<std::string>{"Alpha.BMP", "skin.INI"}));
        reader.ExtractByName("alpha.bmp", out);
        EXPECT_EQ(text(out), "AAA");
        std::string name;
        reader.ExtractContaining(".ini", out, name);
        EXPECT_EQ(text(out), "iniii");
        EXPECT_EQ(name, "skin.ini");
        EXPECT_EQ(reader.unpackedSize(), l.unpacked().size());
    }
}

TEST_F(SkinArchive, LookupsFollowArchiveOrderAndCase) {
    Layout l;
    l.names = "FrameTop.bmp\r\nfirst.ini\r\nframetop.BMP\r\nsecond.ini\r\n";
    l.sizes = {1, 2, 3, 4};
    l.data = "abbcccdddd";
    ASSERT_TRUE(reader.Open(l.packed()));

    reader.ExtractByName("FRAMETOP.bmp", out);  // the first of two equal names
    EXPECT_EQ(text(out), "a");
    out = {'x'};
    reader.ExtractByName("frametop", out);  // whole names only
    EXPECT_TRUE(out.empty());

    std::string name = "unchanged";
    reader.ExtractContaining(".ini", out, name);  // not first in the list, first of its kind
    EXPECT_EQ(text(out), "bb");
    EXPECT_EQ(name, "first.ini");
    reader.ExtractContaining("d.i", out, name);
    EXPECT_EQ(name, "second.ini");

    name = "unchanged";
    out = {'x'};
    reader.ExtractContaining(".INI", out, name);  // the fragment is taken as given
    EXPECT_TRUE(out.empty());
    EXPECT_EQ(name, "unchanged");
}

TEST_F(SkinArchive, NameListLineEnds) {
    struct Case {
        const char* names;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},  // every kind of line end; none after the last
        {"a\n\nb\r\r\nc", {"a", "", "b", "", "c"}},  // empty lines count as entries
        {"\r\n", {""}},
        {"", {}},
    };
    for (const auto& c : cases) {
        Layout l;
        l.names = c.names;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            l.sizes.push_back(2);
            l.data += std::string(2, char('0' + i));
        }
        ASSERT_TRUE(reader.Open(l.packed())) << reader.lastError();
        EXPECT_EQ(reader.names(), c.expected);
        if (!c.expected.empty()) {  // the size table follows the list exactly
            reader.ExtractByName(c.expected.back(), out);
            EXPECT_EQ(text(out), std::string(2, char('0' + c.expected.size() - 1)));
        }
    }
}

TEST_F(SkinArchive, OlderVersionShowsTheNoticeOnceAndFails) {
    for (uint32_t version : {0u, 10000u, 19999u, 50000u}) {
        gNotices.clear();
        Layout l = twoEntries();
        l.version = version;
        EXPECT_FALSE(reader.Open(l.packed()));
        ASSERT_EQ(gNotices.size(), 1u);
        EXPECT_STREQ(gNotices[0], "This is Older Skin File\rPlease update to new version !");
    }
    // Other failures are not about the version and show nothing.
    gNotices.clear();
    EXPECT_FALSE(reader.Open(std::vector<uint8_t>{1, 2}));
    EXPECT_TRUE(gNotices.empty());
}

TEST_F(SkinArchive, DirectoryPastTheEndFailsCleanly) {
    {
        Layout l = twoEntries();
        l.nameListLength = 1000;  // more than the whole buffer
        EXPECT_FALSE(reader.Open(l.packed()));
        EXPECT_NE(reader.lastError().find("name list"), std::string::npos) << reader.lastError();
    }
    {
        Layout l;
        l.names = "a\r\nb\r\nc\r\n";
        l.sizes = {0, 0};  // only two of three sizes present
        EXPECT_FALSE(reader.Open(l.packed()));
        EXPECT_NE(reader.lastError().find("size table"), std::string::npos) << reader.lastError();
    }
    {
        Layout l;
        l.version = 30000;
        l.extra = std::string(100, '\0');  // the 256-byte block is cut short
        EXPECT_FALSE(reader.Open(l.packed()));
    }
    for (std::size_t n : {0, 3, 15}) {  // no complete header
        std::vector<uint8_t> u(n, 0);
        if (n >= 4) u[0] = 0x20, u[1] = 0x4E;  // 20000
        EXPECT_FALSE(reader.Open(lzhPack(u))) << n;
    }
}

TEST_F(SkinArchive, EntryCountLimit) {
    Layout l;
    for (int i = 0; i < 1001; ++i) l.names += "e" + std::to_string(i) + "\r\n", l.sizes.push_back(1), l.data += 'z';
    ASSERT_TRUE(reader.Open(l.packed())) << reader.lastError();
    EXPECT_EQ(reader.count(), 1001u);
    reader.ExtractByName("e1000", out);
    EXPECT_EQ(text(out), "z");

    l.names += "e1001\r\n";
    l.sizes.push_back(1);
    l.data += 'z';
    EXPECT_FALSE(reader.Open(l.packed()));
    EXPECT_EQ(reader.count(), 0u);  // nothing left over from the archive before
    reader.ExtractByName("e0", out);
    EXPECT_TRUE(out.empty());
}

TEST_F(SkinArchive, EntriesRunningPastTheDataReadAsAbsent) {
    Layout l;
    l.names = "one\r\ntwo\r\nthree\r\nfour\r\n";
    l.sizes = {2, 3, 0xFFFFFFFF, 0xFFFFFFFF};  // 32-bit sums would wrap around to "fit"
    l.data = "11222";
    ASSERT_TRUE(reader.Open(l.packed())) << reader.lastError();
    reader.ExtractByName("two", out);
    EXPECT_EQ(text(out), "222");
    EXPECT_FALSE(reader.entryPresent(2));
    out = {'x'};
    reader.ExtractByName("three", out);
    EXPECT_TRUE(out.empty());
    reader.ExtractByName("four", out);
    EXPECT_TRUE(out.empty());

    l.sizes = {2, 4, 0, 0};  // one byte short
    ASSERT_TRUE(reader.Open(l.packed()));
    reader.ExtractByName("one", out);
    EXPECT_EQ(text(out), "11");
    reader.ExtractByName("two", out);
    EXPECT_TRUE(out.empty());
}

TEST_F(SkinArchive, ImplausibleUnpackedSizesAreRefusedBeforeDecoding) {
    // A 64 MiB + 1 claim, and a claim larger than the stream could expand to.
    for (std::vector<uint8_t> a : {std::vector<uint8_t>{0x01, 0x00, 0x00, 0x04, 0x00},
                                   std::vector<uint8_t>{0x00, 0x00, 0x01, 0x00, 0xAB, 0xCD}}) {
        EXPECT_FALSE(reader.Open(a));
        EXPECT_NE(reader.lastError().find("unpacked size"), std::string::npos) << reader.lastError();
        EXPECT_EQ(reader.unpackedSize(), 0u);
    }
}

TEST_F(SkinArchive, WriterLayoutIsReadBack) {
    std::vector<TSkinArchiveEntry> entries{{"Frame.bmp", {'B', 'M', 1, 2}}, {"x.ini", {'[', ']'}}, {"empty", {}}};
    for (uint32_t version : {20000u, 30000u, 40000u}) {
        const auto unpacked = layoutSkinArchive(entries, version);
        const std::size_t namesAt = 16 + std::size_t(skinExtraBlockSize(version));
        EXPECT_EQ(std::string(unpacked.begin() + namesAt, unpacked.begin() + namesAt + 11), "Frame.bmp\r\n");
        ASSERT_TRUE(reader.Open(packSkinArchive(entries, version)));
        EXPECT_EQ(reader.count(), 3u);
        reader.ExtractByName("frame.BMP", out);
        EXPECT_EQ(out, entries[0].Data);
        EXPECT_TRUE(reader.entryPresent(2));
        EXPECT_EQ(reader.dataSize(), 6u);  // data ends exactly at the end of the archive
    }
    EXPECT_NE(skinArchiveProblem(std::vector<TSkinArchiveEntry>{{"A.bmp", {}}, {"a.BMP", {}}}), "");
    EXPECT_NE(skinArchiveProblem(std::vector<TSkinArchiveEntry>{{"two\nlines", {}}}), "");
    EXPECT_NE(skinArchiveProblem(std::vector<TSkinArchiveEntry>(1002, {"n", {}})), "");
}

#ifdef _WIN32
namespace {
struct SeenBox {
    std::atomic<bool> found{false};
    bool giveUp = false;  // last look: take whatever text is there
    std::string body;
};

BOOL CALLBACK appendChildText(HWND h, LPARAM p) {
    char buf[256] = {};
    const int n = GetWindowTextA(h, buf, sizeof buf);
    if (n > 0) reinterpret_cast<std::string*>(p)->append(buf, std::size_t(n)).push_back('|');
    return TRUE;
}

// Reads the texts of the box's controls (text, button) and closes it once the
// message is there: found while still being built, a box may show nothing yet.
BOOL CALLBACK closeMessageBox(HWND h, LPARAM p) {
    char cls[32] = {};
    GetClassNameA(h, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(h)) return TRUE;
    auto* seen = reinterpret_cast<SeenBox*>(p);
    std::string texts;
    EnumChildWindows(h, appendChildText, reinterpret_cast<LPARAM>(&texts));
    if (texts.find("Please update") == std::string::npos && !seen->giveUp) return TRUE;
    seen->body = texts;
    seen->found = true;
    PostMessageA(h, WM_COMMAND, IDOK, 0);
    return FALSE;
}
}  // namespace

// The real notice: a modal message box on this thread, found and dismissed by
// a helper thread so the run never waits for a person.
TEST(SkinArchiveNotice, IsAMessageBoxWithTheTwoSentences) {
    setOlderSkinNotice(nullptr);
    SeenBox seen;
    const DWORD thread = GetCurrentThreadId();
    std::thread closer([&] {
        for (int i = 0; i < 400 && !seen.found; ++i) {
            Sleep(25);
            seen.giveUp = i == 399;
            EnumThreadWindows(thread, closeMessageBox, reinterpret_cast<LPARAM>(&seen));
        }
        // Never found: a modal loop also ends on WM_QUIT, so the run goes on
        // and the assertions below report the failure.
        if (!seen.found) PostThreadMessageA(thread, WM_QUIT, 0, 0);
    });
    Layout l = twoEntries();
    l.version = 12345;
    TSkinReader reader;
    EXPECT_FALSE(reader.Open(l.packed()));  // returns only once the box is closed
    closer.join();
    ASSERT_TRUE(seen.found);
    EXPECT_NE(seen.body.find("This is Older Skin File"), std::string::npos) << seen.body;
    EXPECT_NE(seen.body.find("Please update to new version !"), std::string::npos) << seen.body;
}
#endif
