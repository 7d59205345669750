// List views and the glyph-strip skin on real windows: a report view with
// many rows skinned with the default skin (header and both bars), scrolled
// with the real mouse through the covers; glyph strips handed to a check box.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <memory>
#include <string>

#include "ComCtrlsTabs.h"
#include "SkinHeader.h"
#include "SkinListView.h"
#include "SkinObjImage.h"
#include "test_tabs_util.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Registered {
    Registered() { Application->Initialize(); }
};
const Registered g_registered;

TListView* addReport(TForm& form, RECT bounds, int rows) {
    auto* lv = new TListView(&form);
    lv->SetParent(&form);
    lv->SetViewStyle(vsReport);
    lv->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    for (const wchar_t* c : {L"Name", L"Size", L"Kind"}) {
        TListColumn* col = lv->Columns()->Add();
        col->SetCaption(c);
        col->SetWidth(150);
    }
    lv->BeginUpdate();
    for (int i = 0; i < rows; ++i)
        lv->Items()->Add(L"Item " + std::to_wstring(i), {std::to_wstring(i * 10), L"file"});
    lv->EndUpdate();
    return lv;
}

// Press and release queued together: the press starts the system's own
// tracking loop, which must find the release waiting.
void queuedClick(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    SetCursorPos(p.x, p.y);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
    pumpApp(150);
}

}  // namespace

TEST(ListViewSkin, ReportViewGetsASkinnedHeaderAndBothBarsThatScroll) {
    auto sd = loadCommittedSkin("default");
    ASSERT_TRUE(sd->SkinLoaded());
    ASSERT_TRUE(sd->Headerbar() && !sd->Headerbar()->Bitmap.Empty());
    auto form = makeShownForm(460, 340);
    TListView* lv = addReport(*form, RECT{10, 10, 300, 220}, 200);
    TListView* twin = addReport(*form, RECT{10, 10, 300, 220}, 200);
    twin->SetLeft(320 + 400);  // off to the side: only its header picture is compared
    HWND header = lv->HeaderHandle();
    ASSERT_NE(header, nullptr);
    pumpApp(60);
    Image plainHeader = shotOf(header);

    auto* skin = new TSkinListView(lv);
    skin->AttachScrollbar(lv, sd.get(), nullptr, nullptr);
    pumpApp(100);
    ASSERT_NE(skin->FHeader, nullptr);
    EXPECT_EQ(skin->FHeader->FHandle, header);
    EXPECT_EQ(SendMessageW(header, 0x3523, 0, 0), 1);
    Image skinnedHeader = shotOf(header);
    EXPECT_GT(countDifferences(plainHeader, skinnedHeader, 8), size_t(plainHeader.width * plainHeader.height) / 4);
    // Both covers are up over the list view's own bars.
    ASSERT_TRUE(skin->FVertBar && skin->FHorzBar);
    HWND vcover = skin->FVertBar->HandleIfAllocated(), hcover = skin->FHorzBar->HandleIfAllocated();
    ASSERT_TRUE(vcover && IsWindowVisible(vcover));
    ASSERT_TRUE(hcover && IsWindowVisible(hcover));

    // The down arrow of the vertical cover scrolls the rows.
    const int top = lv->TopIndex();
    RECT v{};
    GetClientRect(vcover, &v);
    queuedClick(vcover, v.right / 2, v.bottom - 4);
    pumpApp(100);
    EXPECT_GT(lv->TopIndex(), top);
    // The right arrow of the horizontal cover scrolls the columns.
    const int before = GetScrollPos(lv->Handle(), SB_HORZ);
    RECT h{};
    GetClientRect(hcover, &h);
    queuedClick(hcover, h.right - 4, h.bottom / 2);
    pumpApp(100);
    EXPECT_GT(GetScrollPos(lv->Handle(), SB_HORZ), before);
    Image whole = shotOf(form->Handle());
    wchar_t dir[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"QS_SHOTS", dir, MAX_PATH)) saveBmp(whole, std::wstring(dir) + L"\\listview.bmp");
    // Freeing the list view takes the header skin with it.
    delete lv;
    pumpApp(40);
}

struct GlyphStrips : ::testing::Test {
    std::unique_ptr<TForm> form = makeShownForm(300, 200);
    TGlyphCheckBox* box = nullptr;
    void SetUp() override {
        box = new TGlyphCheckBox(form.get());
        box->SetParent(form.get());
        box->SetBounds(10, 10, 150, 20);
        box->SetCaption(L"Glyphs");
    }
    // Check strip of `frames` 13 x 13 frames, frame k in colours[k].
    static std::unique_ptr<TSkinData> skinWith(int frames) {
        const std::vector<uint32_t> colours = {0x0000FF, 0xFF0000, 0x00C000, 0x808000, 0x00FFFF};
        SkinBuilder b;
        b.text("[Buttons]\nBitmap=b.bmp\nCheckButton=c.bmp\nCheckButtonFrame=" + std::to_string(frames) +
               "\nRadioButton=r.bmp\nRadioButtonFrame=4");
        b.image("b.bmp", stripImage(10, 10, {0x808080}));
        b.image("c.bmp", stripImage(13, 13, std::vector<uint32_t>(colours.begin(), colours.begin() + frames)));
        b.image("r.bmp", stripImage(12, 12, {0x0000FF, 0xFF0000, 0x00C000, 0x808000}));
        return loadTestSkin(b);
    }
};

TEST_F(GlyphStrips, FourFrameCheckStripFillsSixCellsAndTheControlDrawsThem) {
    auto sd = skinWith(4);
    auto* skin = new TSkinObjImage(box);
    skin->FMode = 1;
    skin->Attach(nullptr, sd.get(), true, nullptr);
    ASSERT_TRUE(box->UseCustomGlyphs());
    TBitmap& strip = *box->CustomGlyphs();
    ASSERT_EQ(strip.Width(), 13 * 9);
    ASSERT_EQ(strip.Height(), 13);
    EXPECT_EQ(box->TransparentColor(), TColor(0xFF00FF));
    const uint32_t cells[9] = {0x0000FF, 0xFF0000, 0, 0x0000FF, 0xFF0000, 0, 0x00C000, 0x808000, 0};
    for (int c = 0; c < 9; ++c) EXPECT_EQ(pixelAt(strip, c * 13 + 6, 6), cells[c]) << c;
    box->SetChecked(true);
    Image img = shotOf(box->Handle());
    EXPECT_EQ(countColour(img, RECT{0, 0, 20, 20}, RGB(255, 0, 0)), 169u);
    // Restoring gives the control its own glyphs back.
    skin->Restore();
    EXPECT_FALSE(box->UseCustomGlyphs());
    img = shotOf(box->Handle());
    EXPECT_EQ(countColour(img, RECT{0, 0, 20, 20}, RGB(255, 0, 0)), 0u);
}

TEST_F(GlyphStrips, FiveFramesFillTheGrayedCellsAndRadioStripsHaveSixCells) {
    auto sd = skinWith(5);
    auto* skin = new TSkinObjImage(box);
    skin->FMode = 1;
    skin->Attach(nullptr, sd.get(), true, nullptr);
    for (int c : {2, 5, 8}) EXPECT_EQ(pixelAt(*box->CustomGlyphs(), c * 13 + 6, 6), 0x00FFFFu) << c;

    auto* radio = new TGlyphCheckBox(form.get());
    radio->SetParent(form.get());
    auto* rskin = new TSkinObjImage(radio);
    rskin->FMode = 2;
    rskin->Attach(nullptr, sd.get(), true, nullptr);
    ASSERT_EQ(radio->CustomGlyphs()->Width(), 12 * 6);
    const uint32_t cells[6] = {0x0000FF, 0xFF0000, 0x0000FF, 0xFF0000, 0x00C000, 0x808000};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(pixelAt(*radio->CustomGlyphs(), c * 12 + 6, 6), cells[c]) << c;
}

TEST_F(GlyphStrips, AStripWithoutFramesOrAControlWithoutThePropertiesIsLeftAlone) {
    auto sd = skinWith(4);
    sd->Buttons()->CheckButtonFrame = 0;
    auto* skin = new TSkinObjImage(box);
    skin->FMode = 1;
    skin->Attach(nullptr, sd.get(), true, nullptr);
    EXPECT_FALSE(box->UseCustomGlyphs());
    EXPECT_TRUE(box->CustomGlyphs()->Empty());
    // A list view publishes none of the glyph properties: nothing happens.
    auto sd2 = skinWith(4);
    TListView* lv = addReport(*form, RECT{10, 40, 200, 100}, 1);
    auto* other = new TSkinObjImage(lv);
    other->FMode = 1;
    other->Attach(nullptr, sd2.get(), true, nullptr);
    other->Restore();
    EXPECT_TRUE(other->FAttached);
}
