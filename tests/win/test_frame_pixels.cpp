// The composed frame's pixel routes against the device-context routes they
// stand in for: border pieces of the project's skins and keyed caption
// buttons must come out the same, pixel for pixel, wherever the pixel route
// takes them.
#include <gtest/gtest.h>

#include "NineSlice.h"
#include "SkinDraw.h"
#include "SkinRecords.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

constexpr uint32_t kUntouched = 0x123456;

TDataSkinBorder* border(TSkinData& sd, int kind) {
    switch (kind) {
        case 1: return sd.BorderLeft();
        case 2: return sd.BorderRight();
        case 3: return sd.BorderTop();
        default: return sd.BorderBottom();
    }
}

// Differences between the w x h picture at (x, y) of `a` and the whole of `b`.
int differences(const PixelView& a, int x, int y, const PixelView& b) {
    int n = 0;
    for (int row = 0; row < b.height; ++row)
        for (int col = 0; col < b.width; ++col) n += (a.at(x + col, y + row) & 0xFFFFFF) != (b.at(col, row) & 0xFFFFFF);
    return n;
}

}  // namespace

TEST(FramePixels, BorderPiecesMatchTheDeviceContextRouteInEverySkin) {
    int pixelRoutes = 0, roundedRoutes = 0;
    for (const char* name : {"default", "dark", "rounded"}) {
        auto sd = loadCommittedSkin(name);
        ASSERT_TRUE(sd->SkinLoaded()) << name;
        for (int kind = 1; kind <= 4; ++kind) {
            TDataSkinBorder* e = border(*sd, kind);
            if (!e || e->Bitmap.Empty()) continue;
            const bool vertical = kind == 3 || kind == 4;
            const int frames = std::max(e->Frame, 1);
            const PixelRect f1 = FrameInStrip(e->Bitmap.Width(), e->Bitmap.Height(), frames, 1, vertical);
            // Lengths around the strip's own (tiles cut short, margins that no
            // longer fit) and the long ones of a real window.
            const int own = vertical ? f1.width() : f1.height();
            for (int length : {1, 2, own - 1, own, own + 1, 2 * own + 3, 301, 684}) {
                if (length <= 0) continue;
                const int w = vertical ? length : f1.width(), h = vertical ? f1.height() : length;
                for (int frame = 1; frame <= std::min(frames, 2); ++frame) {
                    const RECT target{0, 0, w, h};
                    auto made = BuildNineSlice(target, e->Bitmap, e->Margins(), vertical, e->Tile != 1, frames, frame);
                    ASSERT_TRUE(made);
                    // Into a larger picture, away from its corner: nothing
                    // outside the piece may change.
                    PixelImage out(w + 7, h + 5, kUntouched);
                    if (!NineSliceToPixels(out.view(), RECT{4, 3, 4 + w, 3 + h}, e->Bitmap, e->Margins(), vertical,
                                           e->Tile != 1, frames, frame)) {
                        EXPECT_EQ(differences(out.view(), 0, 0, PixelImage(w + 7, h + 5, kUntouched).view()), 0)
                            << "a refused piece was written";
                        continue;
                    }
                    ++pixelRoutes;
                    if (std::string(name) == "rounded") ++roundedRoutes;
                    EXPECT_EQ(differences(out.view(), 4, 3, made->View()), 0)
                        << name << " kind " << kind << " " << w << "x" << h << " frame " << frame;
                    int outside = 0;
                    for (int y = 0; y < out.height; ++y)
                        for (int x = 0; x < out.width; ++x)
                            if (x < 4 || y < 3 || x >= 4 + w || y >= 3 + h) outside += out.at(x, y) != kUntouched;
                    EXPECT_EQ(outside, 0) << name << " kind " << kind;
                }
            }
        }
    }
    // The rounded skin tiles every border: all of its pieces take the pixel route.
    EXPECT_GT(roundedRoutes, 40);
    RecordProperty("pixel_routes", pixelRoutes);
}

TEST(FramePixels, KeyedCaptionButtonsMatchTheDeviceContextRoute) {
    auto sd = loadCommittedSkin("rounded");
    ASSERT_TRUE(sd->SkinLoaded());
    HWND wnd = makeWindow(420, 260);
    auto form = skinWindow(wnd, *sd);
    int compared = 0;
    for (auto& b : form->FButtons) {
        if (!b->FData || b->FData->Bitmap.Empty() || b->IsIconButton()) continue;
        TBitmap& strip = b->FData->Bitmap;
        const int frames = std::max(b->FData->Frame, 1);
        const PixelRect f1 = FrameInStrip(strip.Width(), strip.Height(), frames, 1, false);
        for (int frame = 1; frame <= frames; ++frame) {
            // A background of distinct pixels, drawn over both ways.
            TBitmap viaDC(f1.width() + 6, f1.height() + 6), viaPixels(f1.width() + 6, f1.height() + 6);
            for (TBitmap* t : {&viaDC, &viaPixels}) {
                const PixelView v = t->View();
                for (int y = 0; y < v.height; ++y)
                    for (int x = 0; x < v.width; ++x) v.at(x, y) = uint32_t(x * 7 + y * 1000);
            }
            const RECT r{3, 2, 3 + f1.width(), 2 + f1.height()};
            DrawFrame(viaDC.Canvas()->Handle(), r, strip, true, frames, frame);
            ASSERT_TRUE(KeyedFrameToPixels(viaPixels.View(), r.left, r.top, f1.width(), f1.height(), strip, frames, frame));
            EXPECT_EQ(differences(viaDC.View(), 0, 0, viaPixels.View()), 0) << "frame " << frame;
            ++compared;
        }
        // Not at its own size, or not inside the picture: refused.
        TBitmap small(f1.width(), f1.height());
        EXPECT_FALSE(KeyedFrameToPixels(small.View(), 0, 0, f1.width() + 1, f1.height(), strip, frames, 1));
        EXPECT_FALSE(KeyedFrameToPixels(small.View(), 1, 0, f1.width(), f1.height(), strip, frames, 1));
    }
    EXPECT_GT(compared, 0) << "the rounded skin has caption buttons";
    form.reset();
    ::DestroyWindow(wnd);
}
