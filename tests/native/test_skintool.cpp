#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ArchiveWriter.h"
#include "Lzh.h"
#include "SkinReader.h"
#include "SkinTool.h"
#include "test_lzh_data.h"

namespace fs = std::filesystem;
using namespace qs;

namespace {

class SkinTool : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() / (std::string("qs-skintool-") + info->name());
        fs::remove_all(root);
        fs::create_directories(root / "skin");
    }
    void TearDown() override { fs::remove_all(root); }

    int run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return skintool::run(args, out, err);
    }
    void write(const fs::path& p, const std::vector<uint8_t>& data) {
        std::ofstream f(p, std::ios::binary);
        f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    }
    void write(const fs::path& p, const std::string& s) { write(p, std::vector<uint8_t>(s.begin(), s.end())); }
    std::vector<uint8_t> read(const fs::path& p) {
        std::ifstream f(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    std::string path(const fs::path& p) { return p.string(); }
    TSkinReader openArchive(const fs::path& p) {
        TSkinReader r;
        EXPECT_TRUE(r.Open(read(p))) << r.lastError();
        return r;
    }
    void sampleSkin() {
        write(root / "skin" / "a.ini", "[Form]\r\nImage=B.bmp\r\n");
        write(root / "skin" / "B.bmp", testdata::bitmapLike(3000));
        write(root / "skin" / "C.bmp", testdata::randomBytes(700, 3));
    }

    fs::path root;
    std::ostringstream out, err;
};

}  // namespace

TEST_F(SkinTool, PackUnpackAndListAgree) {
    sampleSkin();
    write(root / "skin" / "notes.txt", "not part of the skin");
    ASSERT_EQ(run({"pack", path(root / "skin"), path(root / "x.skn")}), 0) << err.str();
    EXPECT_NE(err.str().find("skipping notes.txt"), std::string::npos) << err.str();

    TSkinReader r = openArchive(root / "x.skn");
    EXPECT_EQ(r.header().Version, 20000u);
    EXPECT_EQ(r.storedNames(), (std::vector<std::string>{"B.bmp", "C.bmp", "a.ini"}));  // file-name order

    ASSERT_EQ(run({"unpack", path(root / "x.skn"), path(root / "out")}), 0) << err.str();
    for (const char* f : {"a.ini", "B.bmp", "C.bmp"}) EXPECT_EQ(read(root / "out" / f), read(root / "skin" / f)) << f;
    EXPECT_FALSE(fs::exists(root / "out" / "notes.txt"));

    ASSERT_EQ(run({"list", path(root / "x.skn")}), 0) << err.str();
    const std::string listing = out.str();
    EXPECT_NE(listing.find("version        20000"), std::string::npos) << listing;
    EXPECT_NE(listing.find("entries        3"), std::string::npos) << listing;
    EXPECT_NE(listing.find("unpacked size  " + std::to_string(r.unpackedSize())), std::string::npos) << listing;
    EXPECT_NE(listing.find("3000  B.bmp"), std::string::npos) << listing;
}

TEST_F(SkinTool, OrderFileDecidesTheEntryOrder) {
    sampleSkin();
    write(root / "order.txt", "a.ini\r\n\r\nC.bmp\n");
    ASSERT_EQ(run({"pack", path(root / "skin"), path(root / "x.skn"), "--order", path(root / "order.txt")}), 0)
        << err.str();
    EXPECT_EQ(openArchive(root / "x.skn").storedNames(), (std::vector<std::string>{"a.ini", "C.bmp", "B.bmp"}));
    EXPECT_NE(err.str().find("B.bmp is not in the order file"), std::string::npos) << err.str();

    // unpack --order writes an order that packs back to the same archive.
    ASSERT_EQ(run({"unpack", path(root / "x.skn"), path(root / "out"), "--order", path(root / "o2")}), 0);
    ASSERT_EQ(run({"pack", path(root / "out"), path(root / "y.skn"), "--order", path(root / "o2")}), 0);
    EXPECT_EQ(read(root / "x.skn"), read(root / "y.skn"));

    write(root / "bad.txt", "a.ini\nmissing.bmp\n");
    EXPECT_EQ(run({"pack", path(root / "skin"), path(root / "z.skn"), "--order", path(root / "bad.txt")}), 1);
    EXPECT_NE(err.str().find("missing.bmp"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(root / "z.skn"));
}

TEST_F(SkinTool, RefusesBadInputWithAMessage) {
    write(root / "skin" / "B.bmp", "BM");
    EXPECT_EQ(run({"pack", path(root / "skin"), path(root / "x.skn")}), 1);  // no description
    EXPECT_NE(err.str().find("exactly one .ini"), std::string::npos) << err.str();
    write(root / "skin" / "one.ini", "");
    write(root / "skin" / "two.INI", "");
    EXPECT_EQ(run({"pack", path(root / "skin"), path(root / "x.skn")}), 1);
    EXPECT_FALSE(fs::exists(root / "x.skn"));

    EXPECT_EQ(run({"pack", path(root / "nowhere"), path(root / "x.skn")}), 1);
    EXPECT_EQ(run({"list", path(root / "skin" / "B.bmp")}), 1);
    EXPECT_NE(err.str().find("not a readable skin archive"), std::string::npos) << err.str();
    EXPECT_EQ(run({"lzh-decode", path(root / "nothing"), path(root / "o")}), 1);
    EXPECT_NE(err.str().find("cannot read"), std::string::npos) << err.str();

    EXPECT_EQ(run({}), 2);
    EXPECT_EQ(run({"pack", "only-one"}), 2);
    EXPECT_EQ(run({"frobnicate"}), 2);
    EXPECT_EQ(run({"pack", "a", "b", "--version", "12345"}), 2);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find("lzh-decode IN OUT"), std::string::npos);
}

TEST_F(SkinTool, RawLzhFilesRoundTrip) {
    for (const auto& data : {std::vector<uint8_t>{}, std::vector<uint8_t>{7}, testdata::skinLikeBlob()}) {
        write(root / "in", data);
        ASSERT_EQ(run({"lzh-encode", path(root / "in"), path(root / "in.lzh")}), 0) << err.str();
        const auto packed = read(root / "in.lzh");
        ASSERT_GE(packed.size(), 4u);
        EXPECT_EQ(packed[0] | packed[1] << 8 | packed[2] << 16 | uint32_t(packed[3]) << 24, data.size());
        ASSERT_EQ(run({"lzh-decode", path(root / "in.lzh"), path(root / "back")}), 0) << err.str();
        EXPECT_EQ(read(root / "back"), data);
    }
    write(root / "liar.lzh", std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x00, 1, 2, 3});
    EXPECT_EQ(run({"lzh-decode", path(root / "liar.lzh"), path(root / "back2")}), 1);
    EXPECT_NE(err.str().find("unpacked size 16777215"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(root / "back2"));
}

TEST_F(SkinTool, UnpackWritesOnlyPlainNamesInsideTheFolder) {
    // Names a packer would refuse, written by hand: a path, a repeat, an entry
    // past the end.
    std::string names = "../evil.bmp\r\nok.ini\r\nOK.INI\r\nshort.bmp\r\n";
    std::vector<uint8_t> u;
    auto u32 = [&](uint32_t x) {
        for (int i = 0; i < 4; ++i) u.push_back(uint8_t(x >> (8 * i)));
    };
    u32(20000);
    u32(uint32_t(names.size()));
    u32(0);
    u32(0);
    u.insert(u.end(), names.begin(), names.end());
    for (uint32_t s : {1u, 2u, 2u, 50u}) u32(s);
    for (char c : std::string("eiiIIss")) u.push_back(uint8_t(c));
    write(root / "odd.skn", lzhPack(u));

    EXPECT_EQ(run({"unpack", path(root / "odd.skn"), path(root / "out")}), 1);
    EXPECT_FALSE(fs::exists(root / "evil.bmp"));
    EXPECT_EQ(read(root / "out" / "ok.ini"), (std::vector<uint8_t>{'i', 'i'}));
    EXPECT_FALSE(fs::exists(root / "out" / "short.bmp"));
    EXPECT_NE(err.str().find("past the end"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("repeats an earlier name"), std::string::npos) << err.str();
}

// An author's folder read as it stands reads as the archive pack makes of it.
TEST_F(SkinTool, AFolderReadsAsItsPackedArchive) {
    sampleSkin();
    write(root / "skin" / "notes.txt", "not part of the skin");
    ASSERT_EQ(run({"pack", path(root / "skin"), path(root / "x.skn")}), 0) << err.str();
    const TSkinReader packed = openArchive(root / "x.skn");
    TSkinReader folder;
    ASSERT_TRUE(folder.OpenFolder(path(root / "skin"))) << folder.lastError();
    ASSERT_EQ(folder.storedNames(), packed.storedNames());
    for (std::size_t k = 0; k < packed.count(); ++k) {
        const auto a = folder.entry(k), b = packed.entry(k);
        EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << packed.storedNames()[k];
    }
    std::vector<uint8_t> got;
    folder.ExtractByName("b.BMP", got);
    EXPECT_EQ(got, read(root / "skin" / "B.bmp"));

    write(root / "skin" / "b.ini", "[Other]\r\n");
    EXPECT_FALSE(folder.OpenFolder(path(root / "skin")));
    EXPECT_NE(folder.lastError().find("2 descriptions (a.ini, b.ini)"), std::string::npos) << folder.lastError();
    EXPECT_EQ(folder.count(), 0u);
    fs::remove(root / "skin" / "a.ini");
    fs::remove(root / "skin" / "b.ini");
    EXPECT_FALSE(folder.OpenFolder(path(root / "skin")));
    EXPECT_NE(folder.lastError().find("holds no .ini description"), std::string::npos) << folder.lastError();
}
