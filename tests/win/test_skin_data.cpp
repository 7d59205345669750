// The skin data component: published properties, the stored skin in form
// definitions, loading and reloading, skin files, and GDI ownership.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "FormReader.h"
#include "FormWriter.h"
#include "WinSkinData.h"
#include "WindowCapture.h"
#include "test_skin_data_gdi.h"
#include "test_skin_data_util.h"

using namespace qs;
using namespace qs::test;

namespace {

class SkinDataTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { installQuietNotice(); }
};

// A small but complete skin: frame, caption buttons, child-window buttons,
// combo parts (so the composite is made) and a few plain elements.
SkinBuilder namedSkin(const std::string& name, uint32_t topColour = 0x3060C0) {
    SkinBuilder b;
    b.image("top.bmp", PixelImage(90, 54, topColour));
    b.image("side.bmp", PixelImage(20, 40, 0x405060));
    b.image("close.bmp", PixelImage(108, 18, 0xC04040));
    b.image("mdi.bmp", PixelImage(180, 16, 0x202020));
    b.image("sunk.bmp", stripImage(12, 12, {0x110000, 0x220000, 0x330000, 0x440000}));
    b.image("combo.bmp", stripImage(8, 21, {0x001100, 0x002200, 0x003300, 0x004400}));
    b.image("tabs.bmp", PixelImage(50, 20, 0x777777));
    b.text("[TitlebarSkin]\nSkinName=" + name);
    b.text("[Personality]\nTop=top.bmp\nTopFrame=2\nLeft=side.bmp\nLeftFrame=2\nRight=side.bmp\nRightFrame=2");
    b.text("Bottom=side.bmp\nBottomFrame=2\nmenuBar=tabs.bmp");
    b.text("[Colours]\nButtonFace=224 224 224");
    b.text("[Button0]\nAction=0\nButtonImage=close.bmp");
    b.text("[Button1]\nAction=3\nButtonImage=close.bmp");
    b.text("[MDICONTROLS]\nImage=mdi.bmp");
    b.text("[SunkEdge]\nImage=sunk.bmp\n[ComboButton]\nImage=combo.bmp");
    b.text("[Tabs]\nImage=tabs.bmp\nBorder=tabs.bmp");
    return b;
}

std::string hexOf(const TBytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (uint8_t v : bytes) {
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

TBytes streamValue(const std::vector<uint8_t>& archive) {
    TBytes v(4 + archive.size());
    const uint32_t n = uint32_t(archive.size());
    for (int i = 0; i < 4; ++i) v[std::size_t(i)] = uint8_t(n >> (8 * i));
    std::copy(archive.begin(), archive.end(), v.begin() + 4);
    return v;
}

std::string formWithStream(const TBytes& value) {
    return "object SD: TSkinData\r\n  Active = True\r\n  SkinStream = {" + hexOf(value) + "}\r\nend\r\n";
}

TEST_F(SkinDataTest, PublishedPropertiesStartAtTheirDefaults) {
    TSkinData sd(nullptr);
    EXPECT_FALSE(GetBoolProp(&sd, "Active", true));
    EXPECT_EQ(GetIntProp(&sd, "DisableTag"), 99);
    auto controls = std::get<TSetValue>(*GetPropValue(&sd, "SkinControls"));
    EXPECT_EQ(controls.members.size(), 20u);
    EXPECT_TRUE(controls.has("xcMainMenu"));
    EXPECT_TRUE(controls.has("xcSystemMenu"));
    EXPECT_FALSE(controls.has("xcMenuItem"));
    EXPECT_FALSE(controls.has("xcFastReport"));
    EXPECT_EQ(std::get<TSetValue>(*GetPropValue(&sd, "Options")), (TSetValue{{"xoPreview", "xoToolbarBK"}}));
    EXPECT_EQ(GetEnumProp(&sd, "SkinFormtype"), "sfMainform");
    EXPECT_TRUE(GetBoolProp(&sd, "MenuUpdate"));
    EXPECT_FALSE(GetBoolProp(&sd, "MenuMerge", true));
    EXPECT_EQ(GetStrProp(&sd, "Version"), "4.50.01.03");
    EXPECT_EQ(GetStrProp(&sd, "SkinStore"), "(none)");
    EXPECT_FALSE(sd.SkinLoaded());
    EXPECT_EQ(sd.SkinStreamValue(), TBytes(4, 0));

    const auto lines = std::get<TStringList>(*GetPropValue(&sd, "Skin3rd"));
    ASSERT_EQ(lines.size(), 117u);
    EXPECT_EQ(lines.front(), "TCategoryButtons=scrollbar");
    EXPECT_EQ(lines[47], "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(lines[48], "TDBCheckboxEh=Checkbox");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "TLMDFontSizeCombobox=combobox"), 2);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "TWWDBCombobox=Combobox"), 2);
    EXPECT_EQ(lines.back(), "TOVCDBNUMERICFIELD=Edit");
    for (const std::string& l : lines) EXPECT_NE(l.find('='), std::string::npos) << l;

    EXPECT_TRUE(SetPropValue(&sd, "Skin3rd", TStringList{"TMyGrid=scrollbar"}));
    EXPECT_EQ(sd.Skin3rd(), TStringList{"TMyGrid=scrollbar"});

    // The records that live as long as the component.
    EXPECT_EQ(sd.BorderLeft()->Name, "Left");
    EXPECT_EQ(sd.BorderBottom()->Name, "Bottom");
    EXPECT_EQ(sd.Title()->Name, "Title");
    EXPECT_EQ(sd.Buttons()->Name, "Buttons");
    EXPECT_EQ(sd.Tabs(), nullptr);
    EXPECT_GT(sd.MaximizedSize().cx, 0);
    // Restore, maximise, minimise and close from the built-in glyph strip.
    EXPECT_EQ(sd.MenuImages().Count(), 4);
    EXPECT_EQ(sd.MenuImages().Width(), 16);
}

TEST_F(SkinDataTest, VersionAndSkinStoreIgnoreWrites) {
    TSkinData sd(nullptr);
    ASSERT_TRUE(loadArchive(sd, namedSkin("A").archive()));
    EXPECT_TRUE(SetPropValue(&sd, "Version", std::string("1.0")));
    EXPECT_EQ(GetStrProp(&sd, "Version"), "4.50.01.03");
    EXPECT_TRUE(SetPropValue(&sd, "SkinStore", std::string("(Good)")));
    EXPECT_EQ(GetStrProp(&sd, "SkinStore"), "(none)");  // run time, skin stored or not

    sd.SetDesigning(true);
    EXPECT_EQ(GetStrProp(&sd, "SkinStore"), "(Good)");
    sd.SetStoredSkin({});
    EXPECT_EQ(GetStrProp(&sd, "SkinStore"), "(none)");
}

TEST_F(SkinDataTest, ZeroLengthSkinStreamLoadsNothing) {
    // Made by class name, as a form definition makes it.
    std::unique_ptr<TComponent> made(CreateComponentFromText(formWithStream(TBytes(4, 0))));
    auto* sd = dynamic_cast<TSkinData*>(made.get());
    ASSERT_NE(sd, nullptr);
    EXPECT_EQ(sd->Name(), "SD");
    EXPECT_FALSE(sd->SkinLoaded());
    EXPECT_TRUE(sd->StoredSkin().empty());
    // Stored true, but the "loaded" step switches it off: nothing to show.
    EXPECT_FALSE(sd->Active());
    EXPECT_EQ(sd->SkinName, "");
}

TEST_F(SkinDataTest, SkinStreamIsLoadedWhileTheFormIsReadUnlessDesigning) {
    const std::vector<uint8_t> archive = namedSkin("Streamed").archive();
    TSkinData sd(nullptr);
    ReadForm(&sd, formWithStream(streamValue(archive)));
    EXPECT_TRUE(sd.SkinLoaded());
    EXPECT_EQ(sd.SkinName, "Streamed");
    EXPECT_EQ(sd.StoredSkin(), archive);
    // The "loaded" step made the caption font and the icon bitmap.
    EXPECT_EQ(sd.AppIcon().Width(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_TRUE(sd.AppIcon().Transparent());
    EXPECT_EQ(sd.AppIcon().TransparentColor(), clFuchsia);
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
    EXPECT_EQ(sd.CaptionFont().Name(), std::wstring(ncm.lfCaptionFont.lfFaceName));

    TSkinData designed(nullptr);
    designed.SetDesigning(true);
    ReadForm(&designed, formWithStream(streamValue(archive)));
    EXPECT_FALSE(designed.SkinLoaded());
    EXPECT_EQ(designed.StoredSkin(), archive);
    EXPECT_EQ(GetStrProp(&designed, "SkinStore"), "(Good)");
}

TEST_F(SkinDataTest, SkinStreamIsWrittenAsLengthAndBytesAndReadBack) {
    TSkinData empty(nullptr);
    EXPECT_EQ(WriteForm(&empty).find("SkinStream"), std::string::npos);

    TSkinData sd(nullptr);
    sd.SetName("SD");
    ASSERT_TRUE(loadArchive(sd, namedSkin("Round trip").archive()));
    const TBytes value = std::get<TBytes>(*GetPropValue(&sd, "SkinStream"));
    EXPECT_EQ(value, streamValue(sd.StoredSkin()));
    const std::string text = WriteForm(&sd);
    EXPECT_NE(text.find("SkinStream"), std::string::npos);

    TSkinData again(nullptr);
    ReadForm(&again, text);
    EXPECT_EQ(again.StoredSkin(), sd.StoredSkin());
    EXPECT_EQ(again.SkinName, "Round trip");
}

TEST_F(SkinDataTest, SkinStreamWhoseLengthRunsPastItsEndIsRefused) {
    TSkinData sd(nullptr);
    TBytes value = streamValue(namedSkin("Cut").archive());
    value.resize(value.size() - 1);
    EXPECT_FALSE(SetPropValue(&sd, "SkinStream", value));
    EXPECT_FALSE(SetPropValue(&sd, "SkinStream", TBytes{1, 0}));
    EXPECT_THROW(ReadForm(&sd, formWithStream(value)), EFormError);
    EXPECT_TRUE(sd.StoredSkin().empty());
    EXPECT_FALSE(sd.SkinLoaded());
}

TEST_F(SkinDataTest, UnsupportedArchiveLeavesThePreviousRecordsAndIsNotLoaded) {
    TSkinData sd(nullptr);
    ASSERT_TRUE(loadArchive(sd, namedSkin("First").archive()));
    TDataSkinBorder* tabs = sd.Tabs();
    ASSERT_NE(tabs, nullptr);
    const std::size_t buttons = sd.CaptionButtons().size();
    const TDataSkinSysButton* close = sd.CaptionButtons().front().get();

    const int notices = olderSkinNotices();
    EXPECT_FALSE(loadArchive(sd, namedSkin("Second").archiveOfVersion(12345)));
    EXPECT_EQ(olderSkinNotices(), notices + 1);
    EXPECT_FALSE(sd.SkinLoaded());
    EXPECT_EQ(sd.SkinName, "First");
    EXPECT_EQ(sd.Tabs(), tabs);
    EXPECT_EQ(sd.Tabs()->Bitmap.Width(), 50);
    EXPECT_EQ(sd.CaptionButtons().size(), buttons);
    EXPECT_EQ(sd.CaptionButtons().front().get(), close);
    EXPECT_EQ(sd.BorderTop()->Bitmap.Height(), 54);

    // Bytes that are no archive at all fail the same way, without a message.
    EXPECT_FALSE(loadArchive(sd, {1, 2, 3}));
    EXPECT_EQ(olderSkinNotices(), notices + 1);
    EXPECT_EQ(sd.SkinName, "First");

    // An archive without a description loads: defaults and no elements.
    SkinBuilder bare = namedSkin("Bare");
    bare.withDescription = false;
    EXPECT_TRUE(loadArchive(sd, bare.archive()));
    EXPECT_TRUE(sd.SkinLoaded());
    EXPECT_EQ(sd.SkinName, "");
    EXPECT_EQ(sd.Tabs(), nullptr);
    EXPECT_TRUE(sd.BorderTop()->Bitmap.Empty());
}

std::wstring tempPath(const wchar_t* name) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    return std::wstring(dir) + name + std::to_wstring(GetCurrentProcessId()) + L".skn";
}

TEST_F(SkinDataTest, SkinFileAtRunTimeReplacesTheSkinAndAMissingOneChangesNothing) {
    const std::vector<uint8_t> second = namedSkin("From file", 0x00FF00).archive();
    const std::wstring path = tempPath(L"qs_skinfile_");
    {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, second.data(), DWORD(second.size()), &written, nullptr);
        CloseHandle(h);
        ASSERT_EQ(written, second.size());
    }
    const std::string utf8 = WideToUtf8(path);

    TSkinData sd(nullptr);
    ASSERT_TRUE(loadArchive(sd, namedSkin("Stored").archive()));
    EXPECT_TRUE(SetPropValue(&sd, "SkinFile", utf8));
    EXPECT_EQ(sd.SkinFile(), utf8);
    EXPECT_TRUE(sd.SkinLoaded());
    EXPECT_EQ(sd.SkinName, "From file");
    EXPECT_EQ(sd.StoredSkin(), second);
    EXPECT_EQ(sd.BorderColour, 0x00FF00);

    const std::string missing = utf8 + ".gone";
    EXPECT_TRUE(SetPropValue(&sd, "SkinFile", missing));
    EXPECT_EQ(sd.SkinFile(), missing);
    EXPECT_TRUE(sd.SkinLoaded());
    EXPECT_EQ(sd.SkinName, "From file");
    EXPECT_EQ(sd.StoredSkin(), second);

    // At design time a file is only named: the stored skin is dropped.
    sd.SetDesigning(true);
    sd.SetSkinFile(utf8);
    EXPECT_TRUE(sd.StoredSkin().empty());
    EXPECT_FALSE(sd.SkinLoaded());
    DeleteFileW(path.c_str());
}

TEST_F(SkinDataTest, EventsAreSetByName) {
    TSkinData sd(nullptr);
    std::string asked;
    TFormSkinEvent handler = [&](TObject*, const std::string& name, bool& doSkin) {
        asked = name;
        doSkin = false;
    };
    EXPECT_TRUE(SetPropValue(&sd, "OnFormSkin", std::any(handler)));
    bool doSkin = true;
    ASSERT_TRUE(sd.OnFormSkin);
    sd.OnFormSkin(&sd, "#32770", doSkin);
    EXPECT_EQ(asked, "#32770");
    EXPECT_FALSE(doSkin);
    EXPECT_TRUE(SetPropValue(&sd, "OnSkinChanged", std::any(TNotifyEvent([](TObject*) {}))));
    EXPECT_TRUE(sd.OnSkinChanged);
    EXPECT_FALSE(SetPropValue(&sd, "OnSkinChanged", std::any(handler)));  // wrong signature
}

// Both counts: the system's (real on Windows, always 0 under Wine) and the
// one of the calls our code makes, which sees a leak under Wine too.
struct GdiCounts {
    DWORD system = gdiObjectCount();
    std::size_t tracked = GdiTracker::live();
    bool operator==(const GdiCounts&) const = default;
};
void PrintTo(const GdiCounts& c, std::ostream* os) { *os << "system " << c.system << ", tracked " << c.tracked; }

TEST_F(SkinDataTest, NoGdiObjectLeaksOverManyLoadsAndComponents) {
    ASSERT_TRUE(GdiTracker::install());
    const std::vector<uint8_t> a = namedSkin("A").archive();
    const std::vector<uint8_t> b = namedSkin("B", 0x808080).archive();
    {
        TSkinData warm(nullptr);  // first use of fonts, stock objects and the like
        loadArchive(warm, a);
        warm.Loaded();
    }
    const GdiCounts before;
    {
        TSkinData sd(nullptr);
        ASSERT_TRUE(loadArchive(sd, a));
        sd.Loaded();
        EXPECT_GT(GdiTracker::live(), before.tracked + 10);  // the count sees the skin's bitmaps
    }
    EXPECT_EQ(GdiCounts{}, before);

    for (int i = 0; i < 500; ++i) {
        TSkinData sd(nullptr);
        ASSERT_TRUE(loadArchive(sd, i % 2 ? a : b));
        sd.Loaded();
    }
    EXPECT_EQ(GdiCounts{}, before);

    TSkinData sd(nullptr);
    ASSERT_TRUE(loadArchive(sd, a));
    const GdiCounts loaded;
    for (int i = 0; i < 500; ++i) ASSERT_TRUE(loadArchive(sd, i % 2 ? a : b));
    ASSERT_TRUE(loadArchive(sd, a));
    EXPECT_EQ(GdiCounts{}, loaded);
}

}  // namespace
