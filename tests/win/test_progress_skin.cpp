// Progress-bar and track-bar skins on real windows: pixels read back from the
// window, the thumb dragged with the real mouse, focus across a skin change.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "Application.h"
#include "ComCtrlsProgress.h"
#include "Classify.h"
#include "MPlayer.h"
#include "SkinForm.h"
#include "SkinMP.h"
#include "SkinProgress.h"
#include "SkinRoutines.h"
#include "SkinTrackBar.h"
#include "test_progress_util.h"
#include "test_skin_data_util.h"

using namespace qs;
using namespace qs::test;

namespace {

constexpr uint32_t kBlue = 0x0000FF, kRed = 0xFF0000, kGreen = 0x00C000, kMagenta = 0xFF00FF;
const COLORREF kTroughRef = RGB(0, 0, 255), kBarRef = RGB(255, 0, 0), kChunkRef = RGB(0, 0xC0, 0);

std::unique_ptr<TSkinData> loadSkin(const SkinBuilder& b) {
    auto sd = std::make_unique<TSkinData>(nullptr);
    EXPECT_TRUE(loadArchive(*sd, b.archive()));
    return sd;
}

// Trough blue, bar red: two plain 10 x 10 frames.
std::unique_ptr<TSkinData> barSkin() {
    SkinBuilder b;
    b.text("[Progress]\nBitmap=bar.bmp\nStyle=0");
    b.image("bar.bmp", stripImage(10, 10, {kBlue, kRed}));
    return loadSkin(b);
}

// Chunks 6 wide: five green columns and a magenta gap.
std::unique_ptr<TSkinData> chunkSkin(bool withChunk = true) {
    SkinBuilder b;
    b.text("[Progress]\nBitmap=trough.bmp\nStyle=1");
    b.image("trough.bmp", stripImage(10, 10, {kBlue}));
    if (withChunk) {
        b.text("[Progress.Chunk]\nImage=chunk.bmp\nTile=1");
        PixelImage chunk(6, 8, kGreen);
        for (int y = 0; y < 8; ++y) chunk.at(5, y) = kMagenta;
        b.image("chunk.bmp", chunk);
    }
    return loadSkin(b);
}

// Runs of `c` along row y: (start, length) pairs.
std::vector<std::pair<int, int>> runs(const Image& img, int y, COLORREF c) {
    std::vector<std::pair<int, int>> out;
    for (int x = 0; x < img.width; ++x) {
        if (img.colorAt(x, y) != c) continue;
        if (!out.empty() && out.back().first + out.back().second == x)
            ++out.back().second;
        else
            out.push_back({x, 1});
    }
    return out;
}
int countInColumn(const Image& img, int x, COLORREF c) {
    int n = 0;
    for (int y = 0; y < img.height; ++y) n += img.colorAt(x, y) == c;
    return n;
}

struct SkinnedBar {
    TProgressBar* bar;
    TSkinProgress* skin;
};
// Style changes remake the window, so they all come before the skin.
SkinnedBar addBar(TForm& form, TSkinData& sd, RECT bounds, bool vertical = false, bool smooth = false) {
    auto* pb = new TProgressBar(&form);
    pb->SetParent(&form);
    if (vertical) pb->SetOrientation(pbVertical);
    pb->SetSmooth(smooth);
    pb->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    auto* skin = new TSkinProgress(pb);
    skin->Attach(nullptr, &sd, false, nullptr);
    return {pb, skin};
}

Image shot(TWinControl* c) {
    c->Invalidate();
    UpdateWindow(c->Handle());
    pumpMessages(30);
    Image img = captureWindow(c->Handle());
    // QS_SHOTS=dir keeps every capture for a look.
    if (const char* dir = getenv("QS_SHOTS")) {
        static int n = 0;
        std::string path = std::string(dir) + "/shot" + std::to_string(n++) + ".bmp";
        saveBmp(img, std::wstring(path.begin(), path.end()));
    }
    return img;
}

}  // namespace

TEST(SkinProgress, BarLengthIsPositionOverTheUpperLimit) {
    auto sd = barSkin();
    auto form = makeShownForm();
    auto [pb, skin] = addBar(*form, *sd, RECT{10, 10, 100, 16});
    pb->SetRange(0, 200);
    pb->SetPosition(50);
    Image img = shot(pb);
    EXPECT_EQ(runs(img, 8, kBarRef), (std::vector<std::pair<int, int>>{{0, 25}}));
    EXPECT_EQ(runs(img, 8, kTroughRef), (std::vector<std::pair<int, int>>{{25, 75}}));
    // A lower limit of 20 leaves the length alone: only the upper limit counts.
    pb->SetRange(20, 200);
    pb->SetPosition(50);
    img = shot(pb);
    EXPECT_EQ(runs(img, 8, kBarRef), (std::vector<std::pair<int, int>>{{0, 25}}));
    // The whole window is the skin's: no pixel of the system's own bar.
    EXPECT_EQ(countColour(img, RECT{0, 0, 100, 16}, GetSysColor(COLOR_HIGHLIGHT)), 0u);
}

TEST(SkinProgress, PositionZeroOrUpperLimitZeroShowsTheTroughOnly) {
    auto sd = barSkin();
    auto form = makeShownForm();
    auto [pb, skin] = addBar(*form, *sd, RECT{10, 10, 100, 16});
    pb->SetRange(0, 200);
    pb->SetPosition(0);
    Image img = shot(pb);
    EXPECT_EQ(countColour(img, RECT{0, 0, 100, 16}, kBarRef), 0u);
    EXPECT_EQ(countColour(img, RECT{0, 0, 100, 16}, kTroughRef), 1600u);
    pb->SetRange(-50, 0);
    pb->SetPosition(-10);
    img = shot(pb);
    EXPECT_EQ(countColour(img, RECT{0, 0, 100, 16}, kBarRef), 0u);
    EXPECT_EQ(countColour(img, RECT{0, 0, 100, 16}, kTroughRef), 1600u);
}

TEST(SkinProgress, VerticalBarFillsFromTheBottom) {
    auto sd = barSkin();
    auto form = makeShownForm();
    auto [pb, skin] = addBar(*form, *sd, RECT{10, 10, 16, 100}, true);
    pb->SetRange(0, 200);
    pb->SetPosition(50);
    Image img = shot(pb);
    ASSERT_EQ(img.width, 16);
    ASSERT_EQ(img.height, 100);
    EXPECT_EQ(countInColumn(img, 8, kBarRef), 25);
    EXPECT_EQ(img.colorAt(8, 99), kBarRef);
    EXPECT_EQ(img.colorAt(8, 75), kBarRef);
    EXPECT_EQ(img.colorAt(8, 74), kTroughRef);
    EXPECT_EQ(img.colorAt(8, 0), kTroughRef);
}

TEST(SkinProgress, ChunkStyleTilesChunksAndCutsTheLast) {
    auto sd = chunkSkin();
    auto form = makeShownForm();
    // 20 of 100 on a 100 pixel bar: a bar of 20 pixels.
    auto [pb, skin] = addBar(*form, *sd, RECT{10, 10, 100, 16});
    pb->SetPosition(20);
    Image img = shot(pb);
    // Four chunks behind the two-pixel inset; the magenta gaps show the trough;
    // the last chunk keeps 2 of its 6 columns. Rows 4..11 hold the 8-pixel chunk.
    EXPECT_EQ(runs(img, 6, kChunkRef), (std::vector<std::pair<int, int>>{{2, 5}, {8, 5}, {14, 5}, {20, 2}}));
    EXPECT_EQ(countInColumn(img, 3, kChunkRef), 8);
    EXPECT_EQ(img.colorAt(3, 3), kTroughRef);
    EXPECT_EQ(img.colorAt(3, 12), kTroughRef);
    EXPECT_EQ(img.colorAt(7, 6), kTroughRef);
    // Chunks sit inside the bar wherever the control is placed on its parent.
    pb->SetTop(150);
    img = shot(pb);
    EXPECT_EQ(runs(img, 6, kChunkRef).size(), 4u);
}

TEST(SkinProgress, WithoutTheNeededPicturesTheControlPaintsItself) {
    auto form = makeShownForm();
    COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
    auto none = std::make_unique<TSkinData>(nullptr);  // no skin loaded at all
    auto noChunk = chunkSkin(false);
    for (TSkinData* sd : {none.get(), noChunk.get()}) {
        auto [pb, skin] = addBar(*form, *sd, RECT{10, 10, 100, 16}, false, true);
        pb->SetPosition(50);
        Image img = shot(pb);
        EXPECT_GT(countColour(img, RECT{0, 0, 45, 16}, bar), 0u);
        EXPECT_EQ(countColour(img, RECT{0, 0, 100, 16}, kTroughRef), 0u);
        delete pb;
    }
}

TEST(SkinProgress, SwitchedOffPaintsAsUnskinnedAndBackOnAtOnce) {
    auto sd = barSkin();
    auto form = makeShownForm();
    auto [pb, skin] = addBar(*form, *sd, RECT{10, 10, 100, 16}, false, true);
    pb->SetPosition(50);
    SendMessageW(pb->Handle(), 0x3506, 0, 0);
    Image off = shot(pb);
    EXPECT_EQ(countColour(off, RECT{0, 0, 100, 16}, kTroughRef), 0u);
    SendMessageW(pb->Handle(), 0x3506, 1, 0);
    Image on = captureWindow(pb->Handle());
    EXPECT_EQ(runs(on, 8, kBarRef), (std::vector<std::pair<int, int>>{{0, 50}}));
}

// ---- track bars ----

namespace {

constexpr uint32_t kThumbFrames[5] = {0x202020, 0xFFFF00, 0x00FFFF, 0x800080, 0x808000};

std::unique_ptr<TSkinData> thumbSkin(bool withTrack) {
    SkinBuilder b;
    b.text("[Trackbar.ThumbHorz]\nImage=thumb.bmp");
    b.image("thumb.bmp", stripImage(11, 21, std::vector<uint32_t>(std::begin(kThumbFrames), std::end(kThumbFrames))));
    if (withTrack) {
        b.text("[Track]\nImage=track.bmp\nLeftWidth=0\nRightWidth=0");
        b.image("track.bmp", stripImage(20, 4, {0x3080FF}));
        b.text("[TRACKVERT]\nImage=trackv.bmp\nTopHeight=0\nBottomHeight=0");
        b.image("trackv.bmp", stripImage(4, 20, {0xFF8000}));
    }
    return loadSkin(b);
}

TTrackBar* addTrack(TForm& form, RECT bounds, bool vertical = false) {
    auto* tb = new TTrackBar(&form);
    tb->SetParent(&form);
    if (vertical) tb->SetOrientation(trVertical);
    tb->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    tb->SetRange(0, 100);
    tb->SetFrequency(10);
    return tb;
}
TSkinTrackBar* skinTrack(TTrackBar* tb, TSkinData& sd) {
    auto* s = new TSkinTrackBar(tb);
    s->Attach(nullptr, &sd, false, nullptr);
    tb->Invalidate();
    pumpMessages(30);
    return s;
}
RECT thumbRect(TTrackBar* tb) {
    RECT r{};
    SendMessageW(tb->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r;
}
COLORREF ref(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }
size_t area(const RECT& r) { return size_t(r.right - r.left) * size_t(r.bottom - r.top); }

// Drags the thumb by `dx` pixels with the real mouse; the position afterwards.
int dragThumb(TTrackBar* tb, int dx) {
    RECT t = thumbRect(tb);
    int x = (t.left + t.right) / 2, y = (t.top + t.bottom) / 2;
    mouseTo(tb->Handle(), x, y);
    mouseButton(true);
    for (int step = 1; step <= 4; ++step) mouseTo(tb->Handle(), x + dx * step / 4, y);
    mouseButton(false);
    return tb->Position();
}

}  // namespace

TEST(SkinTrackBar, ThumbShowsFrameTwoInEveryState) {
    auto sd = thumbSkin(true);
    auto form = makeShownForm();
    TTrackBar* tb = addTrack(*form, RECT{10, 10, 240, 45});
    tb->SetPosition(30);
    skinTrack(tb, *sd);
    RECT t = thumbRect(tb);
    ASSERT_GT(area(t), 20u);
    Image img = shot(tb);
    EXPECT_EQ(countColour(img, t, ref(kThumbFrames[1])), area(t));
    // Held down by the mouse, and with the focus: still frame 2, never another.
    mouseTo(tb->Handle(), (t.left + t.right) / 2, (t.top + t.bottom) / 2);
    mouseButton(true);
    Image held = captureWindow(tb->Handle());
    mouseButton(false);
    EXPECT_EQ(countColour(held, thumbRect(tb), ref(kThumbFrames[1])), area(thumbRect(tb)));
    const RECT all{0, 0, held.width, held.height};
    for (int f : {0, 2, 3, 4}) {
        EXPECT_EQ(countColour(held, all, ref(kThumbFrames[f])), 0u) << "frame " << f + 1;
        EXPECT_EQ(countColour(img, all, ref(kThumbFrames[f])), 0u) << "frame " << f + 1;
    }
}

TEST(SkinTrackBar, DraggingTheThumbMovesAsUnskinned) {
    auto sd = thumbSkin(true);
    auto form = makeShownForm(560, 300);
    TTrackBar* plain = addTrack(*form, RECT{10, 10, 240, 45});
    TTrackBar* skinned = addTrack(*form, RECT{270, 10, 240, 45});
    skinTrack(skinned, *sd);
    pumpMessages(30);
    int moved = dragThumb(plain, 80);
    EXPECT_GT(moved, 20);
    EXPECT_EQ(dragThumb(skinned, 80), moved);
    // The skinned thumb is drawn where the control now has it.
    Image img = shot(skinned);
    EXPECT_EQ(countColour(img, thumbRect(skinned), ref(kThumbFrames[1])), area(thumbRect(skinned)));
}

TEST(SkinTrackBar, WithoutThumbElementsAPlainOutlinedThumb) {
    auto none = std::make_unique<TSkinData>(nullptr);
    auto form = makeShownForm();
    TTrackBar* tb = addTrack(*form, RECT{10, 10, 240, 45});
    tb->SetPosition(50);
    skinTrack(tb, *none);
    RECT t = thumbRect(tb);
    Image img = shot(tb);
    COLORREF shadow = ColorToRGB(clBtnShadow);
    // The outline in the shadow colour, the inside the canvas's white brush.
    const int w = t.right - t.left, h = t.bottom - t.top;
    EXPECT_EQ(countColour(img, RECT{t.left, t.top, t.right, t.top + 1}, shadow), size_t(w));
    EXPECT_EQ(countColour(img, RECT{t.left, t.bottom - 1, t.right, t.bottom}, shadow), size_t(w));
    EXPECT_EQ(countColour(img, RECT{t.left, t.top, t.left + 1, t.bottom}, shadow), size_t(h));
    EXPECT_EQ(countColour(img, RECT{t.left + 1, t.top + 1, t.right - 1, t.bottom - 1}, RGB(255, 255, 255)),
              size_t(w - 2) * size_t(h - 2));
}

TEST(SkinTrackBar, ChannelFromTheSkinBothWays) {
    auto sd = thumbSkin(true);
    auto form = makeShownForm();
    TTrackBar* horz = addTrack(*form, RECT{10, 10, 240, 45});
    TTrackBar* vert = addTrack(*form, RECT{300, 10, 45, 240}, true);
    horz->SetPosition(100);  // thumb at the right end, out of the channel's way
    vert->SetPosition(100);
    skinTrack(horz, *sd);
    skinTrack(vert, *sd);
    RECT c{};
    SendMessageW(horz->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    Image h = shot(horz);
    // The 4-pixel track, centred on the channel, along most of its length.
    EXPECT_GE(countColour(h, RECT{c.left, 0, c.left + 60, h.height}, RGB(0x30, 0x80, 0xFF)), 4u * 60u);
    RECT cv{};
    SendMessageW(vert->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&cv));
    Image v = shot(vert);
    // Whichever way the control reports the channel of a vertical bar, the
    // track runs down its long side.
    const int top = std::min(cv.top, cv.left);
    EXPECT_GE(countColour(v, RECT{0, top, v.width, top + 60}, RGB(255, 128, 0)), 4u * 60u);
    EXPECT_EQ(countColour(v, RECT{0, 0, v.width, v.height}, RGB(0x30, 0x80, 0xFF)), 0u);
    EXPECT_EQ(countColour(h, RECT{0, 0, h.width, h.height}, RGB(255, 128, 0)), 0u);
}

TEST(SkinTrackBar, TickMarksKeepTheControlsOwnDrawing) {
    auto sd = thumbSkin(true);
    auto form = makeShownForm(560, 300);
    TTrackBar* plain = addTrack(*form, RECT{10, 10, 240, 45});
    TTrackBar* skinned = addTrack(*form, RECT{270, 10, 240, 45});
    skinTrack(skinned, *sd);
    Image a = shot(plain), b = shot(skinned);
    RECT t = thumbRect(plain);
    // Below the thumb: where the ticks are.
    Image ta = a.crop(0, t.bottom + 1, a.width, a.height - t.bottom - 1);
    Image tb = b.crop(0, t.bottom + 1, b.width, b.height - t.bottom - 1);
    // The skinned bar stands on the skin's face; the ticks on it are the
    // control's own, at the same places in the same colour.
    const COLORREF face = ColorToRGB(TColor(sd->ButtonFace));
    EXPECT_EQ(tb.colorAt(0, 0), face);
    size_t marks = 0, moved = 0;
    for (int y = 0; y < ta.height; ++y)
        for (int x = 0; x < ta.width; ++x) {
            const bool tickA = ta.colorAt(x, y) != ta.colorAt(0, 0), tickB = tb.colorAt(x, y) != face;
            marks += tickA;
            moved += tickA != tickB || (tickA && ta.colorAt(x, y) != tb.colorAt(x, y));
        }
    EXPECT_EQ(moved, 0u);
    // ... and there are ticks there to compare.
    EXPECT_GT(marks, 10u);
}

TEST(SkinTrackBar, FocusStaysWhereItWasAcrossASkinChange) {
    auto sd = thumbSkin(true);
    auto form = makeShownForm();
    TTrackBar* tb = addTrack(*form, RECT{10, 10, 240, 45});
    TTrackBar* other = addTrack(*form, RECT{10, 100, 240, 45});
    TSkinTrackBar* skin = skinTrack(tb, *sd);
    other->SetFocus();
    ASSERT_EQ(GetFocus(), other->Handle());
    int enters = 0;
    tb->OnEnter = [&](TObject*) { ++enters; };
    skin->SkinChanged();
    EXPECT_EQ(GetFocus(), other->Handle());
    EXPECT_EQ(enters, 0);
    tb->SetFocus();
    skin->SkinChanged();
    EXPECT_EQ(GetFocus(), tb->Handle());
    // Still drawn from the skin after the change.
    Image img = shot(tb);
    EXPECT_EQ(countColour(img, thumbRect(tb), ref(kThumbFrames[1])), area(thumbRect(tb)));
}

// ---- through the form skin's classification ----

TEST(ProgressFamily, FormSkinGivesEachControlItsSkinAndTakesThemBack) {
    SkinBuilder b;
    b.text("[Progress]\nBitmap=bar.bmp\nStyle=0");
    b.image("bar.bmp", stripImage(10, 10, {kBlue, kRed}));
    b.text("[Trackbar.ThumbHorz]\nImage=thumb.bmp");
    b.image("thumb.bmp", stripImage(11, 21, std::vector<uint32_t>(std::begin(kThumbFrames), std::end(kThumbFrames))));
    b.text("[Buttons]\nBitmap=buttons.bmp");
    b.image("buttons.bmp", stripImage(16, 16, {0xC0C0C0, 0x909090, 0xE0E0E0, 0xC0C0C0, 0xC0C0C0}));
    auto sd = loadSkin(b);
    auto form = makeShownForm();
    auto* pb = new TProgressBar(form.get());
    pb->SetParent(form.get());
    pb->SetBounds(10, 10, 100, 16);
    pb->SetPosition(30);
    TTrackBar* tb = addTrack(*form, RECT{10, 40, 240, 45});
    auto* mp = new TMediaPlayer(form.get());
    mp->SetParent(form.get());
    mp->SetBounds(10, 100, 253, 30);
    {
        TWinSkinForm fs(nullptr);
        fs.FSkinData = sd.get();
        SkinAllControls(fs, form.get());
        EXPECT_TRUE(dynamic_cast<TSkinProgress*>(FindSkinByControl(&fs, pb)));
        EXPECT_TRUE(dynamic_cast<TSkinTrackBar*>(FindSkinByControl(&fs, tb)));
        auto* mps = dynamic_cast<TSkinMP*>(FindSkinByControl(&fs, mp));
        ASSERT_TRUE(mps && mps->FPlayer);
        EXPECT_EQ(mps->FPlayer->Owner(), &fs);
        // The overlay itself is never classified: its tag keeps it out.
        SkinAllControls(fs, form.get());
        EXPECT_EQ(FindSkinByControl(&fs, mps->FPlayer), nullptr);
        Image img = shot(pb);
        EXPECT_EQ(runs(img, 8, kBarRef), (std::vector<std::pair<int, int>>{{0, 30}}));
        Image t = shot(tb);
        EXPECT_EQ(countColour(t, thumbRect(tb), ref(kThumbFrames[1])), area(thumbRect(tb)));
    }
    // Unskinned again: the system's bar and thumb, no overlay over the player.
    Image img = shot(pb);
    EXPECT_EQ(countColour(img, RECT{0, 0, img.width, img.height}, kBarRef), 0u);
    Image t = shot(tb);
    EXPECT_EQ(countColour(t, thumbRect(tb), ref(kThumbFrames[1])), 0u);
    POINT centre{10 + 120, 100 + 15};
    ClientToScreen(form->Handle(), &centre);
    EXPECT_EQ(WindowFromPoint(centre), mp->Handle());
}

TEST(SkinTrackBar, BuiltInGroovesWhenTheSkinHasNone) {
    auto sd = thumbSkin(false);
    ASSERT_TRUE(sd->Track() && !sd->Track()->Bitmap.Empty());
    auto form = makeShownForm(560, 300);
    TTrackBar* plain = addTrack(*form, RECT{10, 10, 240, 45});
    TTrackBar* skinned = addTrack(*form, RECT{270, 10, 240, 45});
    plain->SetPosition(100);
    skinned->SetPosition(100);
    skinTrack(skinned, *sd);
    RECT c{};
    SendMessageW(skinned->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
    TBitmap& groove = sd->Track()->Bitmap;
    // The middle column of the built-in picture, stretched along the channel.
    const int gy = c.top + std::max(0, (int(c.bottom - c.top) - groove.Height()) / 2);
    Image a = shot(plain), b = shot(skinned);
    int same = 0;
    for (int y = 0; y < groove.Height(); ++y)
        same += b.colorAt(c.left + 40, gy + y) == ref(pixelAt(groove, groove.Width() / 2, y));
    EXPECT_EQ(same, groove.Height());
    // ... and that is not what the control draws by itself there.
    const RECT band{c.left + 20, gy, c.left + 100, gy + groove.Height()};
    EXPECT_GT(countDifferences(a.crop(band.left, band.top, 80, groove.Height()),
                               b.crop(band.left, band.top, 80, groove.Height())),
              0u);
}
