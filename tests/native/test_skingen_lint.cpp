// skintool lint on deliberately broken skins: the generated default skin is
// clean, so each fault put into it must come back as exactly one problem.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

#include "ArchiveWriter.h"
#include "Bmp.h"
#include "Lint.h"
#include "QuickIni.h"
#include "SkinReader.h"
#include "SkinTool.h"
#include "SkinBuilder.h"

using namespace qs;

namespace {

using Mutation = std::function<void(std::string& ini, std::vector<TSkinArchiveEntry>& entries)>;

std::vector<std::string> problemsAfter(const Mutation& change) {
    const gen::GeneratedSkin skin = gen::generateSkin("default");
    std::vector<TSkinArchiveEntry> entries = skin.entries();
    std::string ini = skin.ini.text();
    change(ini, entries);
    for (auto& e : entries)
        if (e.Name == skin.iniName) e.Data.assign(ini.begin(), ini.end());
    std::vector<std::string> out;
    for (const auto& f : skintool::lintSkinArchive(packSkinArchive(entries)))
        if (f.problem) out.push_back(f.text);
    return out;
}

void replaceOnce(std::string& s, const std::string& from, const std::string& to) {
    const auto at = s.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    s.replace(at, from.size(), to);
}

std::vector<uint8_t> bmp(int w, int h, uint32_t fill) {
    PixelImage img(w, h, fill);
    return WriteBmp24(img.view());
}

void setEntry(std::vector<TSkinArchiveEntry>& entries, const std::string& name, std::vector<uint8_t> data) {
    for (auto& e : entries)
        if (e.Name == name) {
            e.Data = std::move(data);
            return;
        }
    FAIL() << "no entry " << name;
}

struct Case {
    const char* what;
    Mutation change;
    const char* expected;  // a piece of the one problem reported
};

}  // namespace

TEST(SkintoolLint, EachFaultIsReportedOnce) {
    ASSERT_TRUE(problemsAfter([](std::string&, auto&) {}).empty());
    const Case cases[] = {
        {"missing section", [](std::string& i, auto&) { replaceOnce(i, "[Tabs]", "[Tabz]"); },
         "missing section [Tabs]"},
        {"missing image", [](std::string& i, auto&) { replaceOnce(i, "Image=header.bmp", "Image=gone.bmp"); },
         "[Headerbar] Image=gone.bmp: no such entry"},
        {"capital extension", [](std::string& i, auto&) { replaceOnce(i, "Image=tabs.bmp", "Image=tabs.BMP"); },
         "[Tabs] Image=tabs.BMP is not a \".bmp\" reference"},
        {"other format",
         [](std::string& i, auto&) { replaceOnce(i, "Image=progress-chunk.bmp", "Image=chunk.png"); },
         "[Progress.Chunk] Image=chunk.png is not a \".bmp\" reference"},
        {"frames do not divide", [](std::string&, auto& e) { setEntry(e, "arrows.bmp", bmp(50, 17, 0x808080)); },
         "[Scrollbar] Image: the image is 50 pixels wide, which 23 frames do not divide"},
        {"stacked frames do not divide",
         [](std::string&, auto& e) {
             setEntry(e, "FrameTop.bmp", bmp(290, 55, 0xF0F0F0));  // pale: the caption still reads
             // Its large partner no longer matches; that is a fault of its own.
             std::erase_if(e, [](const TSkinArchiveEntry& x) { return x.Name == "FrameTop@2x.bmp"; });
         },
         "[Personality] Top: the image is 55 pixels high, which 2 frames do not divide"},
        {"caption button without image",
         [](std::string& i, auto&) { replaceOnce(i, "ButtonImage=MinButton.bmp\r\n", ""); },
         "[Button3] ButtonImage is missing"},
        {"child-window buttons", [](std::string&, auto& e) { setEntry(e, "button-mdi.bmp", bmp(100, 16, 0x808080)); },
         "not a multiple of 12"},
        {"margins wider than a frame",
         [](std::string& i, auto&) { replaceOnce(i, "Bitmap=button.bmp\r\nLeftWidth=4", "Bitmap=button.bmp\r\nLeftWidth=40"); },
         "[Buttons] Bitmap: left and right margins (40 + 4)"},
        {"margins at the integer limit",
         [](std::string& i, auto&) {
             replaceOnce(i, "Bitmap=button.bmp\r\nLeftWidth=4", "Bitmap=button.bmp\r\nLeftWidth=2147483647");
         },
         "[Buttons] Bitmap: left and right margins (2147483647 + 4)"},
        {"not a number", [](std::string& i, auto&) { replaceOnce(i, "TopFrame=2", "TopFrame=two"); },
         "[Personality] TopFrame=two is not a number"},
        {"magenta shown opaque",
         [](std::string&, auto& e) { setEntry(e, "statusbar.bmp", bmp(36, 12, 0xFF00FF)); },
         "[StatusBarEdges] Image: the image has magenta pixels but is drawn opaque"},
        {"required key", [](std::string& i, auto&) { replaceOnce(i, "Bitmap=progress.bmp\r\n", ""); },
         "[Progress] Bitmap is missing: the element is left out"},
        {"zero frames",
         [](std::string& i, auto&) { replaceOnce(i, "Image=track.bmp\r\nFrame=1", "Image=track.bmp\r\nFrame=0"); },
         "[Track] Image: frame count 0"},
        {"partial colour keys", [](std::string& i, auto&) { replaceOnce(i, "ActiveTextB=", "ActiveTextX="); },
         "[Personality] ActiveTextR/G/B: only 2 of the three"},
        {"colour without numbers", [](std::string& i, auto&) { replaceOnce(i, "Color3=", "Color3=grey\r\nOldColor3="); },
         "[Customcolors] Color3=grey"},
        {"large image not twice the size",
         [](std::string&, auto& e) { setEntry(e, "CloseButton@2x.bmp", bmp(200, 36, 0x808080)); },
         "entry CloseButton@2x.bmp is 200 x 36, not twice closebutton.bmp"},
        // Text under 4.5:1, on a flat colour and on the part of an image
        // the text sits on; the finding names both colours.
        {"text at 2:1", [](std::string& i, auto&) { replaceOnce(i, "ButtonText=32 36 42", "ButtonText=160 160 160"); },
         "[Colours] ButtonText on ButtonFace: text 160 160 160 on 224 224 224 has a contrast of 1.98:1"},
        {"pale text on a button image",
         [](std::string& i, auto&) { replaceOnce(i, "NormalColour2=32 36 42", "NormalColour2=190 190 190"); },
         "[Buttons] NormalColour2 on button.bmp frame 1: text 190 190 190 on "},
        {"pale caption on the title gradient",
         [](std::string& i, auto&) { replaceOnce(i, "ActiveTextR=22\r\nActiveTextG=40\r\nActiveTextB=68",
                                                 "ActiveTextR=120\r\nActiveTextG=140\r\nActiveTextB=170"); },
         "[Personality] caption text (ActiveText, or [Colours] TitleTextActive) on FrameTop.bmp frame 1"},
        {"unreadable bitmap",
         [](std::string&, auto& e) { setEntry(e, "radio.bmp", {'B', 'M', 1, 2, 3}); },
         "[Buttons] RadioButton=radio.bmp: not a readable BMP"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto problems = problemsAfter(c.change);
        ASSERT_EQ(problems.size(), 1u) << (problems.empty() ? "none" : problems[0] + " ... " + problems.back());
        EXPECT_NE(problems[0].find(c.expected), std::string::npos) << problems[0];
    }
}

TEST(SkintoolLint, WhatTheLoaderTakesCareOfIsNoProblem) {
    // The icon button shows the window's icon: it needs no image.
    EXPECT_TRUE(problemsAfter([](std::string& i, auto&) { replaceOnce(i, "ButtonImage=IconButton.bmp\r\n", ""); })
                    .empty());
    // Tab.Pane margins above 4 are cut by the loader: a note, not a problem.
    const gen::GeneratedSkin skin = gen::generateSkin("default");
    std::string ini = skin.ini.text();
    replaceOnce(ini, "Image=dialog.bmp\r\nFrame=1\r\nLeftWidth=4", "Image=dialog.bmp\r\nFrame=1\r\nLeftWidth=6");
    auto entries = skin.entries();
    for (auto& e : entries)
        if (e.Name == skin.iniName) e.Data.assign(ini.begin(), ini.end());
    const auto findings = skintool::lintSkinArchive(packSkinArchive(entries));
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_FALSE(findings[0].problem);
    EXPECT_NE(findings[0].text.find("[Tab.Pane] margins above 4 are cut to 4"), std::string::npos);
    // A second entry that looks like a description is never read.
    const auto twice = problemsAfter([](std::string&, auto& e) { e.push_back({"old.ini", {'[', 'x', ']'}}); });
    ASSERT_EQ(twice.size(), 1u);
    EXPECT_NE(twice[0].find("old.ini also looks like a description"), std::string::npos);
}

TEST(SkintoolLint, ArchivesThatAreNoSkin) {
    const std::vector<uint8_t> junk = {1, 2, 3, 4, 5, 6, 7, 8};
    auto f = skintool::lintSkinArchive(junk);
    ASSERT_EQ(f.size(), 1u);
    EXPECT_NE(f[0].text.find("not a readable skin archive"), std::string::npos);

    std::vector<TSkinArchiveEntry> noIni = {{"a.bmp", bmp(4, 4, 0)}};
    f = skintool::lintSkinArchive(packSkinArchive(noIni));
    ASSERT_EQ(f.size(), 1u);
    EXPECT_NE(f[0].text.find("no description entry"), std::string::npos);

    // A description without sections: every section is missing, every entry unused.
    const std::string text = "; nothing here\r\n";
    std::vector<TSkinArchiveEntry> empty = {{"skin.ini", {text.begin(), text.end()}}, {"a.bmp", bmp(4, 4, 0)}};
    f = skintool::lintSkinArchive(packSkinArchive(empty));
    std::size_t problems = 0, notes = 0;
    for (const auto& x : f) (x.problem ? problems : notes)++;
    EXPECT_GT(problems, 30u);
    EXPECT_EQ(notes, 1u);
}

TEST(SkintoolLint, CommandExitCodes) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "qs_lint_test";
    fs::create_directories(dir);
    const gen::GeneratedSkin skin = gen::generateSkin("default");
    auto entries = skin.entries();
    const auto good = packSkinArchive(entries);
    setEntry(entries, "arrows.bmp", bmp(50, 17, 0));
    const auto bad = packSkinArchive(entries);
    auto write = [&](const char* name, const std::vector<uint8_t>& bytes) {
        std::ofstream o(dir / name, std::ios::binary);
        o.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return (dir / name).string();
    };
    const std::string goodPath = write("good.skn", good), badPath = write("bad.skn", bad);
    std::ostringstream out, err;
    EXPECT_EQ(skintool::lint({"lint", goodPath}, out, err), 0);
    EXPECT_NE(out.str().find("no problems"), std::string::npos);
    out.str("");
    EXPECT_EQ(skintool::lint({"lint", goodPath, badPath}, out, err), 1);
    EXPECT_NE(out.str().find("bad.skn: 1 problem"), std::string::npos) << out.str();
    EXPECT_EQ(skintool::lint({"lint", (dir / "absent.skn").string()}, out, err), 1);
    EXPECT_EQ(skintool::lint({"lint"}, out, err), 2);
    fs::remove_all(dir);
}

// skintool new: a skin from a palette is as complete as the skins we ship,
// packs, lints clean (every text pair 4.5:1 or more), and says so when it
// had to move the author's text colour.
struct PaletteCase {
    const char* name;
    std::vector<std::string> options;
    bool movesText;
};

class SkintoolNew : public testing::TestWithParam<PaletteCase> {};

TEST_P(SkintoolNew, PacksAndLintsCleanWithReadableText) {
    namespace fs = std::filesystem;
    const PaletteCase& c = GetParam();
    const fs::path dir = fs::temp_directory_path() / ("qs_new_" + std::string(c.name));
    fs::remove_all(dir);
    std::vector<std::string> args{"new", dir.string()};
    args.insert(args.end(), c.options.begin(), c.options.end());
    std::ostringstream out, err;
    ASSERT_EQ(skintool::run(args, out, err), 0) << err.str();
    EXPECT_EQ(err.str().find("note: text #") != std::string::npos, c.movesText) << err.str();

    const bool rounded = std::find(args.begin(), args.end(), "--rounded") != args.end();
    for (const std::string& entry : gen::generateSkin(rounded ? "rounded" : "default").order())
        if (entry.find(".ini") == std::string::npos) {
            EXPECT_TRUE(fs::exists(dir / entry)) << entry;
        }

    const fs::path archive = dir.string() + ".skn";
    ASSERT_EQ(skintool::run({"pack", dir.string(), archive.string(), "--order", (dir / "order.txt").string()}, out, err),
              0)
        << err.str();
    std::vector<uint8_t> bytes;
    {
        // Closed before the archive is removed: Windows keeps an open file.
        std::ifstream in(archive, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(bytes));
    std::vector<uint8_t> text;
    std::string iniName;
    reader.ExtractContaining(".ini", text, iniName);
    TQuickIni ini;
    ini.LoadFromBytes(text);
    for (const char* key : {"Window", "WindowText", "ButtonFace", "ButtonText", "Hilight", "HilightText"})
        EXPECT_FALSE(ini.ReadString("Colours", key, "").empty()) << key;
    for (const auto& f : skintool::lintSkinArchive(bytes)) EXPECT_FALSE(f.problem) << f.text;
    fs::remove_all(dir);
    fs::remove(archive);
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, SkintoolNew,
    testing::Values(PaletteCase{"light", {"--face", "#F0F0F0", "--accent", "#2C70C8"}, false},
                    PaletteCase{"dark", {"--face", "#2E3036", "--accent", "#F2A630"}, false},
                    // The author's text is a shade darker than the face: it has to move.
                    PaletteCase{"midgrey", {"--face", "#808080", "--accent", "#3060C0", "--text", "#606060"}, true},
                    PaletteCase{"saturated", {"--face", "#1E90FF", "--accent", "#FFD700", "--rounded"}, false},
                    PaletteCase{"nearblackaccent", {"--face", "#E8E8E8", "--accent", "#101010"}, false}),
    [](const testing::TestParamInfo<PaletteCase>& i) { return std::string(i.param.name); });
