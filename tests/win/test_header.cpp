// Header controls and their skin on real windows with the real mouse: hot
// tracking item by item, the divider zone, leaving, the room after the last
// item, and column resizing by drag as without the skin.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <memory>

#include "ComCtrlsTabs.h"
#include "SkinHeader.h"
#include "test_tabs_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Registered {
    Registered() { Application->Initialize(); }
};
const Registered g_registered;

THeaderControl* addHeader(TForm& form, int top) {
    auto* h = new THeaderControl(&form);
    h->SetParent(&form);
    h->SetAlign(alNone);
    h->SetBounds(10, top, 360, 22);
    for (const wchar_t* t : {L"Name", L"Size", L"Kind"}) {
        THeaderSection* s = h->Sections()->Add();
        s->SetText(t);
        s->SetWidth(80);
    }
    return h;
}

// Share of the item's inner area in `colour`.
double share(const Image& img, RECT item, uint32_t colour) {
    InflateRect(&item, -2, -2);
    return double(countColour(img, item, ref(colour))) / area(item);
}

RECT itemRect(THeaderControl* h, int i) {
    RECT r{};
    SendMessageW(h->Handle(), HDM_GETITEMRECT, WPARAM(i), LPARAM(&r));
    return r;
}

}  // namespace

struct HeaderSkin : ::testing::Test {
    std::unique_ptr<TSkinData> sd = tabSkin();
    std::unique_ptr<TForm> form = makeShownForm(420, 200);
    THeaderControl* header = nullptr;
    TSkinHeader* skin = nullptr;
    void SetUp() override {
        mouseTo(form->Handle(), 300, 150);
        header = addHeader(*form, 10);
        skin = new TSkinHeader(header);
        skin->Attach(nullptr, sd.get(), false, nullptr);
        pumpApp(60);
    }
    void TearDown() override { mouseButton(false); }
    Image shot() {
        pumpApp(60);
        return captureWindow(header->Handle());
    }
};

TEST_F(HeaderSkin, ItemsAreFrameOneAndTheRoomAfterThemAnEmptyItem) {
    Image img = shotOf(header->Handle());
    for (int i = 0; i < 3; ++i) EXPECT_GT(share(img, itemRect(header, i), kHeadNormal), 0.5) << i;
    // Right of the last item (x 240..360): frame 1 with no text at all.
    EXPECT_EQ(countColour(img, RECT{242, 2, 358, 20}, ref(kHeadNormal)), size_t(116 * 18));
    // The captions are drawn.
    EXPECT_GT(countColour(img, itemRect(header, 0), GetSysColor(COLOR_BTNTEXT)), 10u);
}

TEST_F(HeaderSkin, ItemUnderTheMouseIsFrameTwoTheDividerZoneKeepsItAndLeavingClearsIt) {
    mouseTo(header->Handle(), 120, 10);
    Image img = shot();
    EXPECT_EQ(skin->FHotIndex, 1);
    EXPECT_GT(share(img, itemRect(header, 1), kHeadHot), 0.5);
    EXPECT_GT(share(img, itemRect(header, 0), kHeadNormal), 0.5);
    // Within three pixels of the divider between items 0 and 1.
    mouseTo(header->Handle(), 79, 10);
    EXPECT_EQ(skin->FHotIndex, 1);
    mouseTo(header->Handle(), 82, 10);
    EXPECT_EQ(skin->FHotIndex, 1);
    mouseTo(header->Handle(), 40, 10);
    img = shot();
    EXPECT_EQ(skin->FHotIndex, 0);
    EXPECT_GT(share(img, itemRect(header, 0), kHeadHot), 0.5);
    EXPECT_GT(share(img, itemRect(header, 1), kHeadNormal), 0.5);
    // Off the header: nothing is hot any more.
    mouseTo(form->Handle(), 200, 150);
    pumpApp(100);
    img = shot();
    EXPECT_EQ(skin->FHotIndex, -1);
    for (int i = 0; i < 3; ++i) EXPECT_GT(share(img, itemRect(header, i), kHeadNormal), 0.5) << i;
}

TEST_F(HeaderSkin, DraggingADividerResizesTheColumnAsWithoutTheSkin) {
    THeaderControl* plain = addHeader(*form, 60);
    int resized = 0;
    header->OnSectionResize = [&](THeaderControl*, THeaderSection*) { ++resized; };
    pumpApp(40);
    for (THeaderControl* h : {plain, header}) {
        mouseTo(h->Handle(), 80, 10);
        mouseButton(true);
        for (int x = 85; x <= 130; x += 5) mouseTo(h->Handle(), x, 10);
        mouseButton(false);
        pumpApp(60);
    }
    const int want = plain->Sections()->At(0)->Width();
    EXPECT_GT(want, 110);
    EXPECT_EQ(header->Sections()->At(0)->Width(), want);
    EXPECT_EQ(itemRect(header, 1).left, want);
    EXPECT_GE(resized, 1);
    // The skin follows the new layout.
    Image img = shot();
    EXPECT_GT(share(img, itemRect(header, 1), kHeadNormal) + share(img, itemRect(header, 1), kHeadHot), 0.5);
}

TEST(HeaderSkinPlain, WithoutAHeaderPictureTheHeaderPaintsItself) {
    SkinBuilder b;
    b.text("[Tabs]\nImage=tabs.bmp");
    b.image("tabs.bmp", stripImage(20, 20, {kTabNormal}));
    auto sd = loadTestSkin(b);
    auto form = makeShownForm(420, 200);
    THeaderControl* h = addHeader(*form, 10);
    Image before = shotOf(h->Handle());
    (new TSkinHeader(h))->Attach(nullptr, sd.get(), false, nullptr);
    Image after = shotOf(h->Handle());
    // Nothing painted over the system's own header, nothing left unpainted.
    EXPECT_EQ(countDifferences(before, after), 0u);
}
