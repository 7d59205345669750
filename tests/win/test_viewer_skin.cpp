// The viewer's own window once the skin manager has activated it: its status
// bar is drawn by the status-bar skin (the skin's panel edges and text
// colour) and both panels take the skin's face colour.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "Application.h"
#include "SkinContainers.h"
#include "SkinDraw.h"
#include "SkinRoutines.h"
#include "U_qv.h"
#include "WinSkinForm.h"
#include "WindowCapture.h"

using namespace qs;
using namespace qv;

namespace {

TEST(ViewerSkin, StatusBarAndPanelsComeOutSkinned) {
    RegisterViewerClasses();
    auto* f = new TF_qv(Application);
    f->Show();
    test::pumpMessages(400);
    TWinSkinForm* fs = TWinSkinForm::FromWindow(f->Handle());
    ASSERT_NE(fs, nullptr) << "the window was not skinned";
    TSkinControl* bar = FindSkinByControl(fs, f->STB_main);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->ClassName(), "TSkinStatusBar");
    EXPECT_EQ(SendMessageW(f->STB_main->Handle(), WM_SKIN_QUERY, 0, 0), 1);
    for (TPanel* p : {f->Panel1, f->Panel2}) {
        TSkinControl* s = FindSkinByControl(fs, p);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->ClassName(), "TSkinBox");
        EXPECT_EQ(ColorToRGB(p->Color()), ColorToRGB(f->SD->ButtonFace));
    }

    // The first panel's frame is the skin's lowered edge, two pixels wider
    // than the part the bar reports, and the text is in the edge's colour.
    TDataSkinObject* edges = f->SD->StatusBarEdges();
    ASSERT_NE(edges, nullptr);
    ASSERT_FALSE(edges->Bitmap.Empty());
    HWND h = f->STB_main->Handle();
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    test::pumpMessages(30);
    const test::Image img = test::captureWindow(h);
    RECT r0{};
    ASSERT_TRUE(SendMessageW(h, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r0)));
    const int w = r0.right + 2 - r0.left, ht = r0.bottom - r0.top;
    auto frame = BuildNineSlice(RECT{0, 0, w, ht}, edges->Bitmap, edges->Margins(), false, edges->Tile == 1, 3, 1);
    ASSERT_TRUE(frame);
    PixelView v = frame->View();
    int same = 0;
    for (int y = 0; y < ht; ++y) {
        const uint32_t p = v.at(w - 1, y);  // 0x00RRGGBB
        same += img.colorAt(r0.left + w - 1, r0.top + y) == RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    EXPECT_EQ(same, ht);
    const COLORREF text = ColorToRGB(TColor(edges->NormalColour2));
    EXPECT_GT(test::countColour(img, RECT{r0.left, r0.top, r0.right, r0.bottom}, text), 0u);
    delete f;
}

}  // namespace
