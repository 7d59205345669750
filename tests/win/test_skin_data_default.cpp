// The project's default skin, loaded as the viewer loads it: the frame
// metrics, caption buttons, check and radio strips, fonts and colours that
// the frame and control painters rely on.
#include <gtest/gtest.h>

#include "Application.h"
#include "QuickIni.h"
#include "WinSkinData.h"
#include "test_skin_data_util.h"

using namespace qs;
using namespace qs::test;

namespace {

class DefaultSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        installQuietNotice();
        archive = new std::vector<uint8_t>(readTestFile(QS_DEFAULT_SKIN));
    }
    static void TearDownTestSuite() { delete archive; }
    void SetUp() override {
        ASSERT_FALSE(archive->empty()) << "cannot read " << QS_DEFAULT_SKIN;
        ASSERT_TRUE(loadArchive(sd, *archive));
        ASSERT_TRUE(sd.SkinLoaded());
    }
    static std::vector<uint8_t>* archive;
    TSkinData sd{nullptr};
};
std::vector<uint8_t>* DefaultSkin::archive = nullptr;

TEST_F(DefaultSkin, FrameMetrics) {
    TDataSkinBorder& top = *sd.BorderTop();
    ASSERT_EQ(top.Bitmap.Width(), 290);
    ASSERT_EQ(top.Bitmap.Height(), 54);
    EXPECT_EQ(top.Frame, 2);
    EXPECT_EQ(top.Bitmap.Height() / top.Frame, 27);  // title height
    for (TDataSkinBorder* side : {sd.BorderLeft(), sd.BorderRight()}) {
        EXPECT_EQ(side->Bitmap.Width(), 10) << side->Name;
        EXPECT_EQ(side->Frame, 2) << side->Name;
        EXPECT_EQ(side->Bitmap.Width() / side->Frame, 5) << side->Name;
    }
    EXPECT_EQ(sd.BorderBottom()->Bitmap.Height(), 10);
    EXPECT_EQ(sd.BorderBottom()->Bitmap.Height() / sd.BorderBottom()->Frame, 5);
}

TEST_F(DefaultSkin, CaptionButtonsAndTheirFrames) {
    const auto& cb = sd.CaptionButtons();
    ASSERT_EQ(cb.size(), 5u + 3u);
    for (int i = 0; i < 4; ++i) {
        const TDataSkinSysButton& b = *cb[std::size_t(i)];
        EXPECT_EQ(b.Name, "BUTTON" + std::to_string(i));
        EXPECT_EQ(b.Bitmap.Width(), 108) << b.Name;
        EXPECT_EQ(b.Bitmap.Height(), 18) << b.Name;
        EXPECT_EQ(b.Frame, 6) << b.Name;
        EXPECT_EQ(b.FrameWidth(), 18) << b.Name;
    }
    const TDataSkinSysButton& icon = *cb[4];
    EXPECT_EQ(icon.Name, "BUTTON4");
    EXPECT_EQ(icon.Action, 3);
    EXPECT_TRUE(icon.Bitmap.Empty());
    // The child-window buttons cut from [MDICONTROLS].
    for (int i = 0; i < 3; ++i) {
        const TDataSkinSysButton& child = *cb[5 + std::size_t(i)];
        EXPECT_EQ(child.Action, 7 + i);
        EXPECT_FALSE(child.Bitmap.Empty());
        EXPECT_EQ(child.Xcoord, (child.Bitmap.Width() / 4 + 4) * (3 - i));
    }
}

TEST_F(DefaultSkin, CheckRadioFontAndColours) {
    const TDataSkinButton& buttons = *sd.Buttons();
    EXPECT_EQ(buttons.CheckBitmap.Width(), 65);
    EXPECT_EQ(buttons.CheckBitmap.Height(), 13);
    EXPECT_EQ(buttons.CheckButtonFrame, 5);
    EXPECT_EQ(buttons.RadioBitmap.Width(), 65);
    EXPECT_EQ(buttons.RadioButtonFrame, 5);
    EXPECT_EQ(sd.Title()->FontHeight, 17);
    EXPECT_EQ(sd.ButtonFace, 0xE0E0E0);  // RGB(224, 224, 224)
    EXPECT_EQ(sd.ColourSections.size(), 7u);
    EXPECT_FALSE(sd.SkinName.empty());

    // The frame colour is the top strip's pixel at (290 / 3, 27 / 3), read
    // here straight from the archive entry.
    TSkinReader reader;
    ASSERT_TRUE(reader.Open(*archive));
    std::vector<uint8_t> entry;
    reader.ExtractByName("FrameTop.bmp", entry);
    BmpResult top = ReadBmp(entry);
    ASSERT_TRUE(top);
    EXPECT_EQ(uint32_t(sd.BorderColour), pixelToColour(top.image.at(96, 9) & 0xFFFFFF));
    EXPECT_NE(sd.BorderColour, sd.ButtonFace);
}

TEST_F(DefaultSkin, EveryElementIsPresentAndTheDerivedRecordsAreBuilt) {
    for (std::size_t i = 0; i < kSkinSlotCount; ++i) {
        const TSkinSlot s = TSkinSlot(i);
        if (s == TSkinSlot::Skin || s == TSkinSlot::Colours || s == TSkinSlot::ColourSections ||
            s == TSkinSlot::CustomColors || s == TSkinSlot::CaptionButtons || s == TSkinSlot::MdiControls)
            continue;
        TDataSkinObject* rec = sd.Slot(s);
        ASSERT_NE(rec, nullptr) << "slot " << i;
        EXPECT_GE(rec->Frame, 1) << rec->Name;
        if (s != TSkinSlot::Title) {
            EXPECT_FALSE(rec->Bitmap.Empty()) << rec->Name;
        }
    }
    EXPECT_EQ(sd.ComboButton()->Style, 2);
    EXPECT_EQ(sd.ComboButton()->Bitmap.Width(), 50 * sd.SunkEdge()->Frame);
    EXPECT_EQ(sd.ComboxArrow()->Bitmap.Width(), 17 * sd.SunkEdge()->Frame);
    EXPECT_EQ(sd.Toolbar()->Bitmap.Height(), 40);
    EXPECT_NE(sd.FaceBrush(), nullptr);
}

TEST_F(DefaultSkin, ADensityTooLargeToMakeFallsBackOnceToTheUnscaledArtAndIsReported) {
    int reports = 0;
    const TExceptionEvent saved = Application->OnException;
    Application->OnException = [&](TObject*, std::exception_ptr) { ++reports; };
    // 64 times the size each way: past any budget and any 32-bit heap.
    TSkinData* huge = nullptr;
    EXPECT_NO_THROW(huge = sd.ForDpi(96 * 64));
    EXPECT_EQ(huge, &sd);
    // Asked again on the next paint: neither tried nor reported again.
    EXPECT_EQ(sd.ForDpi(96 * 64), &sd);
    Application->OnException = saved;
    EXPECT_EQ(reports, 1);
    // Densities that fit are still made.
    TSkinData* two = sd.ForDpi(192);
    ASSERT_NE(two, &sd);
    EXPECT_EQ(two->BorderTop()->Bitmap.Height(), 2 * sd.BorderTop()->Bitmap.Height());
}

}  // namespace
