// Window regions from keyed borders, and dialogs widened for their caption.
#include <gtest/gtest.h>

#include "Forms.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Skinned {
    HWND wnd = nullptr;
    std::unique_ptr<TWinSkinForm> form;
    ~Skinned() {
        form.reset();
        if (wnd) ::DestroyWindow(wnd);
    }
};

}  // namespace

TEST(WinSkinFormRegion, KeyedBordersGiveARegionOfTheirOpaquePixels) {
    auto sd = loadCommittedSkin("rounded");
    ASSERT_TRUE(sd->SkinLoaded());
    ASSERT_EQ(sd->BorderTop()->Trans, 1);
    Skinned s;
    s.wnd = makeWindow(300, 180);
    s.form = skinWindow(s.wnd, *sd);
    ASSERT_TRUE(s.form->FHasRegion);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(s.wnd, rgn), COMPLEXREGION);

    // The composed frame shows magenta exactly where the region has holes.
    TBitmap& frame = s.form->FTitleBitmap;
    const SIZE ws = windowSize(s.wnd);
    ASSERT_EQ(s.form->FFrameKey.width, ws.cx);
    ASSERT_GE(frame.Width(), ws.cx);
    const int L = s.form->FLeftWidth, T = s.form->FTitleHeight, R = s.form->FRightWidth, B = s.form->FBottomHeight;
    int holes = 0, mismatches = 0;
    for (int y = 0; y < ws.cy; ++y)
        for (int x = 0; x < ws.cx; ++x) {
            const bool client = x >= L && x < ws.cx - R && y >= T && y < ws.cy - B;
            const bool keyed = !client && px(frame, x, y) == 0xFF00FF;
            const bool inside = ::PtInRegion(rgn, x, y) != FALSE;
            holes += keyed;
            mismatches += inside == keyed;
        }
    EXPECT_GT(holes, 8);  // rounded corners
    EXPECT_EQ(mismatches, 0);
    // The corner itself is cut away; the client area is inside.
    EXPECT_FALSE(::PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(::PtInRegion(rgn, ws.cx / 2, ws.cy / 2));

    // Same size: the region object stays; another size: a new one.
    HRGN first = s.form->FRegion;
    ::SetWindowPos(s.wnd, nullptr, 0, 0, ws.cx, ws.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ::SendMessageW(s.wnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 180));
    s.form->UpdateRegion();
    EXPECT_EQ(s.form->FRegion, first);
    ::SetWindowPos(s.wnd, nullptr, 0, 0, ws.cx + 40, ws.cy + 20, SWP_NOMOVE | SWP_NOZORDER);
    pumpMessages(30);
    EXPECT_NE(s.form->FRegion, first);
    RECT box{};
    ASSERT_EQ(::GetWindowRgn(s.wnd, rgn), COMPLEXREGION);
    ::GetRgnBox(rgn, &box);
    EXPECT_EQ(box.right, ws.cx + 40);
    EXPECT_EQ(box.bottom, ws.cy + 20);
    EXPECT_FALSE(::PtInRegion(rgn, ws.cx + 39, 0));  // the new top-right corner is rounded too
    // Resized with nothing asking for a repaint but the resize itself: the
    // window shows the frame composed for the new size, every opaque pixel.
    {
        const Image shown = captureWindow(s.wnd);
        TBitmap& now = s.form->FTitleBitmap;
        ASSERT_EQ(s.form->FFrameKey.width, ws.cx + 40);
        ASSERT_GE(now.Width(), ws.cx + 40);
        const int W = ws.cx + 40, H = ws.cy + 20;
        int compared = 0, wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const bool client = x >= L && x < W - R && y >= T && y < H - B;
                if (client || px(now, x, y) == 0xFF00FF) continue;
                ++compared;
                wrong += shown.at(x, y) != px(now, x, y);
            }
        EXPECT_GT(compared, 0);
        EXPECT_EQ(wrong, 0);
    }
    ::DeleteObject(rgn);

    // Detaching takes the region away.
    s.form->Detach();
    HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(s.wnd, probe), ERROR);
    ::DeleteObject(probe);
}

TEST(WinSkinFormRegion, UnkeyedSkinGivesTheWholeWindow) {
    auto sd = loadCommittedSkin("default");
    Skinned s;
    s.wnd = makeWindow(300, 180);
    s.form = skinWindow(s.wnd, *sd);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(s.wnd, rgn), SIMPLEREGION);
    RECT box{};
    ::GetRgnBox(rgn, &box);
    const SIZE ws = windowSize(s.wnd);
    EXPECT_EQ(box.right - box.left, ws.cx);
    EXPECT_EQ(box.bottom - box.top, ws.cy);
    ::DeleteObject(rgn);
}

TEST(WinSkinFormDialog, CaptionWiderThanTheClientGrowsTheDialogAndCentresItsChildren) {
    auto sd = loadCommittedSkin("default");
    Skinned s;
    const wchar_t* caption = L"A dialog whose caption is a good deal wider than its client area";
    s.wnd = makeWindow(120, 80, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, WS_EX_DLGMODALFRAME, caption,
                       L"#32770");
    ASSERT_TRUE(s.wnd);
    HWND a = ::CreateWindowExW(0, L"STATIC", L"a", WS_CHILD | WS_VISIBLE, 10, 10, 30, 12, s.wnd, nullptr, nullptr, nullptr);
    HWND b = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 60, 50, 50, 20, s.wnd, nullptr, nullptr, nullptr);
    s.form = skinWindow(s.wnd, *sd);
    EXPECT_TRUE(s.form->FIsDialog);
    EXPECT_EQ(s.form->FBorderKind, bkDialog);

    // The caption's width in the caption text font, measured here.
    TFont f = s.form->CaptionTextFont();
    HDC dc = ::GetDC(s.wnd);
    HGDIOBJ old = ::SelectObject(dc, f.Handle());
    SIZE text{};
    ::GetTextExtentPoint32W(dc, caption, int(wcslen(caption)), &text);
    ::SelectObject(dc, old);
    ::ReleaseDC(s.wnd, dc);
    EXPECT_EQ(s.form->FCaptionWidth, text.cx);

    const int needed = sd->Title()->TextShift() + text.cx + sd->Title()->TextRightClip();
    const int plain = 120 + 5 + 5;
    ASSERT_GT(needed, plain);
    EXPECT_EQ(windowSize(s.wnd).cx, needed);
    EXPECT_EQ(clientSize(s.wnd).cy, 80);
    const int shift = (needed - plain) / 2;
    RECT ra{}, rb{};
    ::GetWindowRect(a, &ra);
    ::GetWindowRect(b, &rb);
    POINT pa{ra.left, ra.top}, pb{rb.left, rb.top};
    ::ScreenToClient(s.wnd, &pa);
    ::ScreenToClient(s.wnd, &pb);
    EXPECT_EQ(pa.x, 10 + shift);
    EXPECT_EQ(pa.y, 10);
    EXPECT_EQ(pb.x, 60 + shift);
    EXPECT_EQ(pb.y, 50);
}

TEST(WinSkinFormDialog, ShortCaptionKeepsTheDialogsWidth) {
    auto sd = loadCommittedSkin("default");
    Skinned s;
    s.wnd = makeWindow(300, 80, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, L"Hi", L"#32770");
    HWND a = ::CreateWindowExW(0, L"STATIC", L"a", WS_CHILD | WS_VISIBLE, 10, 10, 30, 12, s.wnd, nullptr, nullptr, nullptr);
    s.form = skinWindow(s.wnd, *sd);
    EXPECT_EQ(windowSize(s.wnd).cx, 310);
    RECT ra{};
    ::GetWindowRect(a, &ra);
    POINT pa{ra.left, ra.top};
    ::ScreenToClient(s.wnd, &pa);
    EXPECT_EQ(pa.x, 10);
}

TEST(WinSkinFormToolkit, AToolkitFormIsHookedRecolouredAndGivenBack) {
    auto sd = loadCommittedSkin("default");
    int before = 0, after = 0;
    std::string beforeName;
    sd->OnBeforeSkinForm = [&](TObject*, HWND, const std::string& name) { ++before, beforeName = name; };
    sd->OnAfterSkinForm = [&](TObject*, HWND, const std::string&) { ++after; };
    TForm form(nullptr);
    form.SetColor(clWindow);
    form.SetClientSize(390, 200);
    form.SetText(L"Toolkit form");
    form.Show();
    pumpMessages(30);
    auto skinForm = std::make_unique<TWinSkinForm>(nullptr);
    skinForm->FHandle = form.Handle();
    skinForm->FName = "TForm";
    skinForm->AttachForm(sd.get(), &form);
    ::PostMessageW(form.Handle(), WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    pumpMessages(60);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(beforeName, "TForm");
    EXPECT_EQ(after, 1);
    EXPECT_EQ(form.Color(), TColor(sd->ButtonFace));
    EXPECT_EQ(form.ClientWidth(), 390);
    EXPECT_EQ(form.ClientHeight(), 200);
    EXPECT_EQ(windowSize(form.Handle()).cx, 400);

    // A new caption reaches the skinned title.
    const Image old = captureWindow(form.Handle());
    form.SetText(L"Renamed toolkit form");
    pumpMessages(30);
    const Image renamed = captureWindow(form.Handle());
    EXPECT_GT(countDifferences(old.crop(30, 0, 290, 27), renamed.crop(30, 0, 290, 27)), 20u);
    // The skin-changed message travels through the form's handler.
    form.Perform(WM_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(after, 2);

    skinForm->Detach();
    pumpMessages(30);
    EXPECT_EQ(form.Color(), clWindow);
    form.Perform(WM_SKIN_CHANGED, 0, 0);  // no longer hooked
    EXPECT_EQ(after, 2);
    EXPECT_EQ(form.ClientWidth(), 390);
    EXPECT_EQ(form.ClientHeight(), 200);
    skinForm.reset();
}
