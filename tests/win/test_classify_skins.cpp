// What the classification's choices look like on real windows, with the
// real skins: a stand-alone scroll bar covered by the skin's bar, a page
// control with button tabs drawn by the button painter, the form skin's
// answer to a tab's close request, check groups, and the group box composed
// off-screen without leaking.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cstring>

#include "Application.h"
#include "Classify.h"
#include "ComCtrls.h"
#include "ComCtrlsTabs.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "MessageRecorder.h"
#include "SkinContainers.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"
#include "SkinTab.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "StdCtrlsGroup.h"
#include "test_control_skin_util.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

void keepShot(const Image& img, const wchar_t* name) {
    if (const char* dir = std::getenv("QS_SHOTS")) saveBmp(img, std::wstring(dir, dir + std::strlen(dir)) + L"\\" + name);
}

class ClassifySkins : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Application->Initialize(); }
    void SetUp() override {
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(30, 30, 520, 360);
        form->Show();
        fs = std::make_unique<ClassifyingFormSkin>(form->Handle(), sd.get(), form.get());
        pumpMessages(20);
    }
    void TearDown() override {
        fs.reset();
        form.reset();
        sd.reset();
    }
    template <class C>
    C* place(int x, int y, int w, int h, TWinControl* parent = nullptr) {
        auto* c = new C(form.get());
        c->SetParent(parent ? parent : form.get());
        c->SetBounds(x, y, w, h);
        return c;
    }
    void all() {
        SkinAllControls(**fs, form.get());
        pumpMessages(60);
    }
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    std::unique_ptr<ClassifyingFormSkin> fs;
};

}  // namespace

TEST_F(ClassifySkins, StandAloneScrollBarIsCoveredByTheSkinsBar) {
    const int h = GetSystemMetrics(SM_CYHSCROLL);
    auto* bar = place<TScrollBar>(10, 10, 300, h);
    auto* twin = place<TScrollBar>(10, 60, 300, h);  // stays in the system's look
    twin->SetTag(sd->DisableTag());
    for (TScrollBar* b : {bar, twin}) {
        ASSERT_TRUE(b->SetParams(30, 0, 100));
        ASSERT_TRUE(b->SetPageSize(10));
    }
    all();
    EXPECT_EQ(SendMessageW(bar->Handle(), WM_SKIN_QUERY, 0, 0), 1);
    EXPECT_NE(SendMessageW(twin->Handle(), WM_SKIN_QUERY, 0, 0), 1);
    auto* skin = dynamic_cast<TSkinScControl*>(FindSkinByControl(fs->fs.get(), bar));
    ASSERT_TRUE(skin);
    ASSERT_TRUE(skin->FBar && IsWindowVisible(skin->FBar->Handle()));
    HWND cover = skin->FBar->Handle();
    RedrawWindow(cover, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(20);
    const Image img = captureWindow(cover);
    const Image system = captureWindow(twin->Handle());
    ASSERT_EQ(img.width, 300);

    // The first arrow is the skin's frame 1, keyed over the face colour.
    TDataSkinObject* strip = sd->Scrollbar();
    ASSERT_TRUE(strip && !strip->Bitmap.Empty());
    const int a = skin->FBar->FArrowSize;
    TBitmap want(a, img.height);
    FillColor(want.Canvas()->Handle(), RECT{0, 0, a, img.height}, TColor(sd->ButtonFace));
    DrawKeyedFrame(skin, want.Canvas()->Handle(), RECT{0, 0, a, img.height}, 23, 1, strip->Bitmap);
    want.Dormant();
    int arrowMismatch = 0, differsFromSystem = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < a; ++x) arrowMismatch += img.at(x, y) != (want.View().at(x, y) & 0xFFFFFF);
    for (int y = 0; y < img.height && y < system.height; ++y)
        for (int x = 0; x < img.width; ++x) differsFromSystem += img.at(x, y) != system.at(x, y);
    EXPECT_EQ(arrowMismatch, 0);
    EXPECT_GT(differsFromSystem, img.width * img.height / 4);

    // A vertical bar: the up arrow (frame 9) on top, and a disabled one draws no thumb.
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    auto* vbar = place<TScrollBar>(400, 10, w, 200);
    vbar->SetKind(sbVertical);
    vbar->SetBounds(400, 10, w, 200);  // a change of kind turns the bar round
    ASSERT_TRUE(vbar->SetParams(0, 0, 100));
    all();
    auto* vskin = dynamic_cast<TSkinScControl*>(FindSkinByControl(fs->fs.get(), vbar));
    ASSERT_TRUE(vskin && vskin->FBar);
    EXPECT_EQ(vskin->FBar->FVertical, 1);
    RedrawWindow(vskin->FBar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(20);
    const Image vimg = captureWindow(vskin->FBar->Handle());
    keepShot(vimg, L"classify_vertical_scrollbar.bmp");
    keepShot(img, L"classify_horizontal_scrollbar.bmp");
    const int va = vskin->FBar->FArrowSize;
    TBitmap up(vimg.width, va);
    FillColor(up.Canvas()->Handle(), RECT{0, 0, vimg.width, va}, TColor(sd->ButtonFace));
    DrawKeyedFrame(vskin, up.Canvas()->Handle(), RECT{0, 0, vimg.width, va}, 23, 9, strip->Bitmap);
    up.Dormant();
    int upMismatch = 0;
    for (int y = 0; y < va; ++y)
        for (int x = 0; x < vimg.width; ++x) upMismatch += vimg.at(x, y) != (up.View().at(x, y) & 0xFFFFFF);
    EXPECT_EQ(upMismatch, 0);

    // Unskinned, the covers go and the system's bar shows again where they were.
    FreeControlSkins(**fs);
    EXPECT_FALSE(IsWindow(cover));
    pumpMessages(40);
    EXPECT_EQ(countDifferences(captureWindow(bar->Handle()), captureWindow(twin->Handle()), 0), size_t(0));
}

// A foreign dialog's scroll-bar window without a tab stop is a scroll bar like
// any other: it gets the skin's bar over it, not the flat face of a size grip,
// which only the size-box styles make.
TEST_F(ClassifySkins, ForeignScrollBarWindowsGetTheBarAndOnlySizeBoxesTheGrip) {
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    const int w = GetSystemMetrics(SM_CXVSCROLL);
    HWND bar = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 20, 20, w, 200,
                               form->Handle(), nullptr, inst, nullptr);
    HWND grip = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 300, 200, 20, 20,
                                form->Handle(), nullptr, inst, nullptr);
    ASSERT_TRUE(bar && grip);
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 100, 10, 0, 0};
    SetScrollInfo(bar, SB_CTL, &si, TRUE);
    ClassifyWindow(**fs, bar);
    ClassifyWindow(**fs, grip);
    pumpMessages(60);
    TSkinControl* gripSkin = FindSkinByHandle(fs->fs.get(), grip);
    ASSERT_TRUE(gripSkin);
    EXPECT_EQ(gripSkin->ClassName(), "TSkinSizer");
    auto* skin = dynamic_cast<TSkinScControl*>(FindSkinByHandle(fs->fs.get(), bar));
    ASSERT_TRUE(skin && skin->FBar);
    ASSERT_TRUE(IsWindowVisible(skin->FBar->Handle()));
    EXPECT_EQ(skin->FBar->FVertical, 1);

    // The up arrow is the skin's frame 9, as on the toolkit's own bars.
    HWND cover = skin->FBar->Handle();
    RedrawWindow(cover, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(20);
    const Image img = captureWindow(cover);
    keepShot(img, L"classify_foreign_scrollbar.bmp");
    ASSERT_EQ(img.height, 200);
    TDataSkinObject* strip = sd->Scrollbar();
    ASSERT_TRUE(strip && !strip->Bitmap.Empty());
    const int a = skin->FBar->FArrowSize;
    TBitmap up(img.width, a);
    FillColor(up.Canvas()->Handle(), RECT{0, 0, img.width, a}, TColor(sd->ButtonFace));
    DrawKeyedFrame(skin, up.Canvas()->Handle(), RECT{0, 0, img.width, a}, 23, 9, strip->Bitmap);
    up.Dormant();
    int mismatch = 0;
    for (int y = 0; y < a; ++y)
        for (int x = 0; x < img.width; ++x) mismatch += img.at(x, y) != (up.View().at(x, y) & 0xFFFFFF);
    EXPECT_EQ(mismatch, 0);

    // The program moving the thumb moves the skin's thumb.
    const int thumbBefore = skin->FBar->FThumbStart;
    SetScrollPos(bar, SB_CTL, 80, TRUE);
    pumpMessages(40);
    EXPECT_GT(skin->FBar->FThumbStart, thumbBefore);
    FreeControlSkins(**fs);
    EXPECT_FALSE(IsWindow(cover));
}

// ---- the form skin's answer to a tab's close request -----------------------------------------

namespace {
int g_bareCloseRequests = 0;
LRESULT CALLBACK countingProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SKIN_TAB_CLOSE) {
        ++g_bareCloseRequests;
        return 7;
    }
    return DefWindowProcW(w, msg, wp, lp);
}
}  // namespace

TEST(TabCloseAnswer, OnlyATabOfThisFormWithThatIndexMayLoseItsPageAndTheProgramMayRefuse) {
    Application->Initialize();
    auto sd = loadCommittedSkin("default");
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(30, 30, 420, 300);
    auto* pc = new TPageControl(form.get());
    pc->SetParent(form.get());
    pc->SetBounds(10, 10, 300, 200);
    for (int i = 0; i < 3; ++i) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetPageControl(pc);
        sheet->SetCaption(L"Page " + std::to_wstring(i));
    }
    form->Show();
    auto fs = std::make_unique<TWinSkinForm>(nullptr);
    fs->AttachForm(sd.get(), form.get());
    pumpMessages(40);
    HWND f = form->Handle(), tabs = pc->Handle();
    ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);

    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 2), 0);
    // Past the last tab, before the first, no window, or a window elsewhere: refused.
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 3), 1);
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(tabs), -1), 1);
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, 0, 0), 1);
    TForm other(nullptr);
    auto* otherPages = new TPageControl(&other);
    otherPages->SetParent(&other);
    auto* otherSheet = new TTabSheet(&other);
    otherSheet->SetPageControl(otherPages);
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(otherPages->Handle()), 0), 1);
    // The program's own handler sees valid requests only, and may refuse.
    std::vector<LPARAM> seen;
    form->SetMessageHandler(WM_SKIN_TAB_CLOSE, [&](TMessage& m) {
        seen.push_back(m.LParam);
        m.Result = m.LParam == 1 ? 1 : 0;
    });
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 1), 1);
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 0), 0);
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 9), 1);
    EXPECT_EQ(seen, (std::vector<LPARAM>{1, 0}));
    fs.reset();
    // Unskinned, the request goes to the program as any message does.
    EXPECT_EQ(SendMessageW(f, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 9), 0);
    EXPECT_EQ(seen.back(), 9);
}

TEST(TabCloseAnswer, BareWindowsProgramNeverSeesTheRequest) {
    auto sd = loadCommittedSkin("default");
    WNDCLASSW wc{};
    wc.lpfnWndProc = countingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QsTabCloseProbe";
    RegisterClassW(&wc);
    HWND w = makeWindow(300, 200, WS_OVERLAPPEDWINDOW, 0, L"Bare", L"QsTabCloseProbe");
    ASSERT_TRUE(w);
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100, w, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"One");
    SendMessageW(tabs, TCM_INSERTITEMW, 0, LPARAM(&item));
    // Unskinned, the window's own procedure answers.
    EXPECT_EQ(SendMessageW(w, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 0), 7);
    ASSERT_EQ(g_bareCloseRequests, 1);
    {
        auto fs = skinWindow(w, *sd);
        EXPECT_EQ(SendMessageW(w, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 0), 0);
        EXPECT_EQ(SendMessageW(w, WM_SKIN_TAB_CLOSE, WPARAM(tabs), 1), 1);
        EXPECT_EQ(g_bareCloseRequests, 1);
    }
    DestroyWindow(w);
}

TEST_F(ClassifySkins, ButtonStylePageControlsGetTheButtonPainterAndCheckGroupsTheirSkins) {
    auto* pages = place<TPageControl>(10, 10, 300, 150);
    pages->SetStyle(tsButtons);
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(L"Sheet " + std::to_wstring(i));
    }
    auto* tabs = place<TTabControl>(10, 170, 300, 60);
    tabs->SetTabs({L"a", L"b"});
    auto* group = place<TCheckGroup>(320, 10, 180, 120);
    group->SetCaption(L"Options");
    group->SetItems({"First", "Second"});
    all();
    EXPECT_TRUE(dynamic_cast<TSkinTabBtn*>(FindSkinByControl(fs->fs.get(), pages)));
    auto* plain = dynamic_cast<TSkinTab*>(FindSkinByControl(fs->fs.get(), tabs));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->FKind, 2);
    EXPECT_EQ(SendMessageW(pages->Handle(), WM_SKIN_QUERY, 0, 0), 1);
    auto* frame = dynamic_cast<TSkinGroupBox*>(FindSkinByControl(fs->fs.get(), group));
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->FKind, 1);
    ASSERT_EQ(group->ButtonCount(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(SendMessageW(static_cast<TWinControl*>(group->Button(i))->Handle(), WM_SKIN_QUERY, 0, 0), 1) << i;
    const Image img = captureWindow(group->Handle());
    keepShot(img, L"classify_check_group.bmp");
    // Inside the frame below the boxes: the skin's face colour.
    EXPECT_EQ(img.colorAt(90, 112), ColorToRGB(TColor(sd->ButtonFace)));
}

// A skinned panel writes in the skin's text colour and its children follow
// it; a colour is no new font, so the standard controls inside are not handed
// their font again (a combo box would measure and place itself anew), while a
// real font change still reaches them.
TEST_F(ClassifySkins, PanelTextColourReachesItsChildrenWithoutHandingThemTheirFontAgain) {
    auto* panel = place<TPanel>(10, 10, 300, 120);
    auto* combo = place<TComboBox>(10, 10, 150, 24, panel);
    auto* edit = place<TEdit>(10, 50, 150, 24, panel);
    pumpMessages(20);
    const TColor before = panel->Font()->Color();
    RECT comboRect{};
    GetWindowRect(combo->Handle(), &comboRect);
    MessageRecorder comboFonts(combo->Handle(), {WM_SETFONT}), editFonts(edit->Handle(), {WM_SETFONT});
    all();
    ASSERT_TRUE(FindSkinByControl(fs->fs.get(), panel));
    ASSERT_NE(panel->Font()->Color(), before) << "the skin keeps the system's text colour: nothing to follow";
    for (TWinControl* c : {static_cast<TWinControl*>(combo), static_cast<TWinControl*>(edit)}) {
        EXPECT_EQ(c->Font()->Color(), panel->Font()->Color()) << c->ClassName();
        EXPECT_EQ(HFONT(SendMessageW(c->Handle(), WM_GETFONT, 0, 0)), c->Font()->Handle()) << c->ClassName();
    }
    EXPECT_EQ(comboFonts.count(WM_SETFONT), 0u);
    EXPECT_EQ(editFonts.count(WM_SETFONT), 0u);
    RECT after{};
    GetWindowRect(combo->Handle(), &after);
    EXPECT_TRUE(EqualRect(&after, &comboRect));

    panel->Font()->SetSize(panel->Font()->Size() + 4);
    EXPECT_EQ(comboFonts.count(WM_SETFONT), 1u);
    EXPECT_EQ(editFonts.count(WM_SETFONT), 1u);
    EXPECT_EQ(HFONT(SendMessageW(combo->Handle(), WM_GETFONT, 0, 0)), combo->Font()->Handle());
    GetWindowRect(combo->Handle(), &after);
    EXPECT_GT(after.bottom - after.top, comboRect.bottom - comboRect.top);
}

// Skinning a whole form repaints it once instead of control by control: what
// shows on screen afterwards is what a full repaint shows, frames included
// (a memo's skinned border is drawn in its non-client area).
TEST_F(ClassifySkins, SkinnedFormShowsWhatAFullRepaintShows) {
    auto* panel = place<TPanel>(10, 10, 200, 100);
    place<TCheckBox>(10, 10, 150, 20, panel)->SetCaption(L"Inside");
    place<TButton>(220, 10, 100, 28)->SetCaption(L"Button");
    place<TEdit>(220, 50, 120, 24);
    auto* memo = place<TMemo>(10, 120, 200, 120);
    memo->SetScrollBars(ssVertical);
    memo->SetLines(std::vector<std::wstring>(40, L"line"));
    auto* list = place<TListBox>(220, 120, 150, 120);
    for (int i = 0; i < 30; ++i) list->Items().Add(L"item");
    auto* bar = place<TStatusBar>(0, 0, 100, 20);
    bar->Panels()->Add()->SetWidth(100);
    pumpMessages(60);
    const Image plain = captureWindow(form->Handle());
    MessageRecorder memoFrame(memo->Handle(), {WM_NCPAINT});
    all();
    ASSERT_TRUE(FindSkinByControl(fs->fs.get(), memo));
    EXPECT_GE(memoFrame.count(WM_NCPAINT), 1u);
    const Image skinned = captureWindow(form->Handle());
    EXPECT_GT(countDifferences(plain, skinned, 8), size_t(2000));
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(60);
    const Image fresh = captureWindow(form->Handle());
    keepShot(skinned, L"classify_form_once.bmp");
    // A caret may blink in between.
    EXPECT_LE(countDifferences(skinned, fresh, 8), size_t(40));
}
