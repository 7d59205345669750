// The media-player skin: its overlay panel follows the player, paints the
// buttons from the skin, and passes the real mouse on to the player only for
// a press and release over the same cell.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "MPlayer.h"
#include "SkinForm.h"
#include "SkinMP.h"
#include "test_progress_util.h"
#include "test_skin_data_util.h"

using namespace qs;
using namespace qs::test;

namespace {

// Button frames 16 x 16: a face colour per state with a black right column,
// kept unstretched by the 2-pixel margins.
constexpr uint32_t kFaces[5] = {0xC0C0C0, 0x909090, 0xE0E0E0, 0xA0C0A0, 0xC0A0A0};
std::unique_ptr<TSkinData> buttonSkin() {
    PixelImage img(16 * 5, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < img.width; ++x) img.at(x, y) = x % 16 == 15 ? 0 : kFaces[x / 16];
    SkinBuilder b;
    b.text("[Buttons]\nBitmap=buttons.bmp\nLeftWidth=2\nTopHeight=2\nRightWidth=2\nBottomHeight=2");
    b.image("buttons.bmp", img);
    auto sd = std::make_unique<TSkinData>(nullptr);
    EXPECT_TRUE(loadArchive(*sd, b.archive()));
    return sd;
}
COLORREF ref(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

struct Fixture : ::testing::Test {
    std::unique_ptr<TSkinData> sd = buttonSkin();
    std::unique_ptr<TForm> form;
    TMediaPlayer* mp = nullptr;
    TSkinMP* skin = nullptr;
    std::vector<TMPBtnType> clicks;

    void SetUp() override {
        form = makeShownForm();
        mp = new TMediaPlayer(form.get());
        mp->SetParent(form.get());
        mp->SetBounds(20, 30, 253, 30);
        mp->OnButtonClick = [this](TObject*, TMPBtnType b, bool&) { clicks.push_back(b); };
        skin = new TSkinMP(mp);
        skin->Attach(nullptr, sd.get(), false, nullptr);
        pumpMessages(40);
    }
    void TearDown() override {
        mouseButton(false);
        form.reset();
    }
    HWND overlay() const { return skin->FPlayer ? skin->FPlayer->Handle() : nullptr; }
    Image shot() {
        skin->FPlayer->Invalidate();
        UpdateWindow(overlay());
        pumpMessages(20);
        Image img = captureClient(overlay());
        // QS_SHOTS=dir keeps every capture for a look.
        if (const char* dir = getenv("QS_SHOTS")) {
            static int n = 0;
            std::string path = std::string(dir) + "/mp" + std::to_string(n++) + ".bmp";
            saveBmp(img, std::wstring(path.begin(), path.end()));
        }
        return img;
    }
};

}  // namespace

TEST_F(Fixture, OverlayCoversThePlayerAndFollowsIt) {
    TWMediaPlayer* o = skin->FPlayer;
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Parent(), mp->Parent());
    EXPECT_EQ(o->Tag(), sd->DisableTag());
    const RECT ob = o->BoundsRect(), pb = mp->BoundsRect();
    EXPECT_TRUE(EqualRect(&ob, &pb));
    // The panel, not the player, is what the mouse meets.
    POINT centre{20 + 120, 30 + 15};
    ClientToScreen(form->Handle(), &centre);
    EXPECT_EQ(WindowFromPoint(centre), overlay());
    mp->SetBounds(40, 80, 180, 36);
    pumpMessages(20);
    EXPECT_EQ(o->Left(), 40);
    EXPECT_EQ(o->Top(), 80);
    EXPECT_EQ(o->Width(), 180);
    EXPECT_EQ(o->Height(), 36);
    RECT wr{};
    GetWindowRect(overlay(), &wr);
    RECT pr{};
    GetWindowRect(mp->Handle(), &pr);
    EXPECT_TRUE(EqualRect(&wr, &pr));
    mp->Hide();
    EXPECT_FALSE(IsWindowVisible(overlay()));
    mp->Show();
    EXPECT_TRUE(IsWindowVisible(overlay()));
}

TEST_F(Fixture, ButtonsPaintedFromTheSkinAndHidingWidensTheCells) {
    Image all = shot();
    EXPECT_EQ(skin->FPlayer->FButtonWidth, 28);
    EXPECT_EQ(skin->FPlayer->FVisibleCount, 9);
    // Each cell: frame 1 of the skin with its dark right column, a glyph inside.
    for (int cell = 0; cell < 9; ++cell) {
        EXPECT_EQ(all.colorAt(cell * 28 + 27, 15), RGB(0, 0, 0)) << cell;
        EXPECT_EQ(all.colorAt(cell * 28 + 3, 3), ref(kFaces[0])) << cell;
    }
    size_t glyph = 0;
    for (int y = 4; y < 26; ++y)
        for (int x = 4; x < 24; ++x) glyph += all.colorAt(x, y) != ref(kFaces[0]);
    EXPECT_GT(glyph, 10u);
    mp->SetVisibleButtons((1u << btPlay) | (1u << btStop) | (1u << btEject));
    Image three = shot();
    EXPECT_EQ(skin->FPlayer->FButtonWidth, 84);
    EXPECT_NE(three.colorAt(27, 15), RGB(0, 0, 0));
    EXPECT_EQ(three.colorAt(83, 15), RGB(0, 0, 0));
    EXPECT_EQ(three.colorAt(167, 15), RGB(0, 0, 0));
    EXPECT_EQ(three.colorAt(251, 15), RGB(0, 0, 0));
    // The unused rest at the right is the skin's face colour.
    EXPECT_EQ(three.colorAt(252, 15), ColorToRGB(TColor(sd->ButtonFace)));
    // No visible button: a plain face.
    mp->SetVisibleButtons(0);
    Image none = shot();
    EXPECT_EQ(countColour(none, RECT{0, 0, none.width, none.height}, ColorToRGB(TColor(sd->ButtonFace))),
              size_t(none.width) * size_t(none.height));
}

TEST_F(Fixture, DisabledAndPressedCellsUseTheirFrames) {
    mp->SetEnabledButtons(kMPAllButtons & ~(1u << btStop));
    Image img = shot();
    EXPECT_EQ(img.colorAt(2 * 28 + 3, 3), ref(kFaces[2]));
    EXPECT_EQ(img.colorAt(1 * 28 + 3, 3), ref(kFaces[0]));
    mouseTo(overlay(), 28 + 10, 15);
    mouseButton(true);
    Image held = captureClient(overlay());
    EXPECT_EQ(held.colorAt(28 + 3, 3), ref(kFaces[1]));
    EXPECT_EQ(held.colorAt(3, 3), ref(kFaces[0]));
    mouseButton(false);
    Image after = captureClient(overlay());
    EXPECT_EQ(after.colorAt(28 + 3, 3), ref(kFaces[0]));
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btPause}));
}

TEST_F(Fixture, ClicksReachThePlayerOnlyWhenReleasedOverTheSameCell) {
    clickAt(overlay(), 8 * 28 + 10, 15);
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btEject}));
    clicks.clear();
    // Pressed on Play, released over Stop.
    mouseTo(overlay(), 10, 15);
    mouseButton(true);
    mouseTo(overlay(), 2 * 28 + 10, 15);
    mouseButton(false);
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(mp->PressedButton(), btPlay);  // the player never heard the release
    // Released outside the panel: nothing either, and the panel lets go.
    mouseTo(overlay(), 2 * 28 + 10, 15);
    mouseButton(true);
    mouseTo(overlay(), 2 * 28 + 10, 200);
    mouseButton(false);
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(skin->FPlayer->FMouseDown);
    EXPECT_EQ(GetCapture(), nullptr);
    // Exactly on the border between Play and Pause: Play's.
    clickAt(overlay(), 28, 15);
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btPlay}));
    EXPECT_EQ(skin->FPlayer->HitTest(28), btPlay);
    EXPECT_EQ(skin->FPlayer->HitTest(29), btPause);
    // A quick second click is a second click, not a lost double click.
    clicks.clear();
    clickAt(overlay(), 3 * 28 + 10, 15);
    clickAt(overlay(), 3 * 28 + 10, 15);
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btNext, btNext}));
}

TEST_F(Fixture, RestoreFreesTheOverlay) {
    HWND o = overlay();
    ASSERT_TRUE(IsWindow(o));
    skin->Restore();
    EXPECT_EQ(skin->FPlayer, nullptr);
    EXPECT_FALSE(IsWindow(o));
    // The player is reachable and clickable directly again.
    clickAt(mp->Handle(), 10, 15);
    EXPECT_EQ(clicks, (std::vector<TMPBtnType>{btPlay}));
}

TEST(MediaPlayerSkin, OverlayOwnedByTheFormSkinOutlivesAFreedPlayer) {
    auto sd = buttonSkin();
    auto form = makeShownForm();
    TWinSkinForm formSkin(nullptr);
    auto* mp = new TMediaPlayer(form.get());
    mp->SetParent(form.get());
    mp->SetBounds(20, 30, 253, 30);
    auto* skin = new TSkinMP(mp);
    skin->Attach(&formSkin, sd.get(), false, nullptr);
    TWMediaPlayer* o = skin->FPlayer;
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->Owner(), &formSkin);
    delete mp;  // frees its skin too
    EXPECT_EQ(o->FPlayer, nullptr);
    EXPECT_EQ(o->FSkinMP, nullptr);
    EXPECT_FALSE(IsWindowVisible(o->Handle()));
    // Painting and clicking what is left touch nothing that is gone.
    o->Show();
    o->Repaint();
    SendMessageW(o->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(o->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    pumpMessages(20);
}

TEST(MediaPlayerSkin, AttachAndRestoreLeakNoGdiObjects) {
    auto sd = buttonSkin();
    auto form = makeShownForm();
    auto* mp = new TMediaPlayer(form.get());
    mp->SetParent(form.get());
    mp->SetBounds(20, 30, 253, 30);
    auto cycle = [&] {
        auto* skin = new TSkinMP(mp);
        skin->Attach(nullptr, sd.get(), false, nullptr);
        skin->FPlayer->Repaint();
        skin->Restore();
        delete skin;
    };
    cycle();
    const DWORD before = gdiObjectCount();
    for (int i = 0; i < 20; ++i) cycle();
    EXPECT_LE(gdiObjectCount(), before + 2);
}
