// The skin manager on real windows: which windows it skins and with which
// skin data, switching skinning off and on against a never-skinned twin,
// switching skins at run time, MDI frames, and what many switches leave
// behind.
#include <gtest/gtest.h>

#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsGroup.h"
#include "SkinManage.h"
#include "test_skinmanage_util.h"

using namespace qs;
using namespace qs::test;

namespace {

std::string skinPath(const char* name) { return "Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn"; }

bool skinned(HWND w) { return ::SendMessageW(w, WM_SKIN_QUERY, 0, 0) == 1; }

class SkinManageTest : public ::testing::Test {
protected:
    void SetUp() override {
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        sd->OnSkinChanged = [this](TObject*) { ++skinChanges; };
        sd->SetActive(true);  // made in code: runs the "loaded" step
        mgr = SkinManager();
        ASSERT_TRUE(mgr);
        ASSERT_TRUE(mgr->FActive);
        ASSERT_TRUE(mgr->FHook);
    }
    void TearDown() override {
        forms.clear();
        for (HWND w : windows)
            if (::IsWindow(w)) ::DestroyWindow(w);
        dialogSd.reset();
        sd.reset();
        FreeSkinManager();
    }
    TForm* showForm(int x, int y, const wchar_t* caption = L"Form", intptr_t tag = 0) {
        auto f = std::make_unique<TForm>(nullptr);
        f->SetTag(tag);
        f->SetCaption(caption);
        f->SetBounds(x, y, 300, 200);
        f->Show();
        ::SetForegroundWindow(f->Handle());
        pumpMessages(120);
        forms.push_back(std::move(f));
        return forms.back().get();
    }
    // Lets the manager's deferred request run.
    void settle() {
        waitFor([&] { return !mgr->FTimer->Enabled(); }, 2000);
        pumpMessages(120);
    }
    std::unique_ptr<TSkinData> sd, dialogSd;
    TSkinManage* mgr = nullptr;
    std::vector<std::unique_ptr<TForm>> forms;
    std::vector<HWND> windows;
    int skinChanges = 0;
};

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// Handles this thread's pending messages, without waiting.
void drain() {
    MSG msg;
    for (int i = 0; i < 1000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// The first visible pixel of a side strip's frame in its top row, with its
// column: what the window's top-left corner shows there.
std::pair<int, uint32_t> leftStripPixel(TSkinData& s, bool active) {
    TDataSkinBorder* e = s.BorderLeft();
    const int frames = std::max(e->Frame, 1), fw = e->Bitmap.Width() / frames;
    const int off = active || frames == 1 ? 0 : fw;
    for (int x = 0; x < fw; ++x)
        if (px(e->Bitmap, off + x, 0) != 0xFF00FF) return {x, px(e->Bitmap, off + x, 0)};
    return {-1, 0};
}

// A dialog box from an in-memory template (class "#32770").
HWND makeDialog(HINSTANCE inst) {
    alignas(4) static const WORD tpl[] = {
        LOWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME), HIWORD(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
        0, 0,  // extended style
        0,     // no controls
        40, 40, 160, 80,  // x, y, cx, cy (dialog units)
        0, 0,             // no menu, default class
        'D', 'l', 'g', 0,
    };
    HWND d = ::CreateDialogIndirectParamW(inst, reinterpret_cast<LPCDLGTEMPLATEW>(tpl), nullptr, &quietDialog, 0);
    if (d) ::ShowWindow(d, SW_SHOW);
    pumpMessages(80);
    return d;
}

TEST_F(SkinManageTest, FormsAreSkinnedWhenActivatedExceptTagNinetyNine) {
    TForm* a = showForm(40, 40, L"Skinned");
    TForm* b = showForm(400, 40, L"Opted out", 99);
    EXPECT_TRUE(skinned(a->Handle()));
    EXPECT_FALSE(skinned(b->Handle()));
    EXPECT_TRUE(mgr->FindFormSkin(a->Handle()));
    EXPECT_FALSE(mgr->FindFormSkin(b->Handle()));
    EXPECT_EQ(mgr->FState, 1);
    // A second attempt finds it skinned.
    EXPECT_FALSE(mgr->SkinWindow(a->Handle()));
    EXPECT_EQ(mgr->FFormSkins.size(), 1u);
}

TEST_F(SkinManageTest, ToolkitFormAnswersTheFramePaintRequests) {
    TForm* a = showForm(40, 40, L"Requests");
    TWinSkinForm* fs = mgr->FindFormSkin(a->Handle());
    ASSERT_TRUE(fs);
    EXPECT_EQ(a->Perform(WM_SKIN_PROBE, 0, kSkinPaintTag), kSkinPaintTag);
    EXPECT_EQ(a->Perform(WM_SKIN_PROBE, 0, 0), 1);

    // The frame painted into a given DC: the same pixels as on the window.
    const Image shown = captureWindow(a->Handle());
    TBitmap bmp(shown.width, shown.height);
    HDC dc = bmp.Canvas()->Handle();
    EXPECT_EQ(a->Perform(WM_SKIN_PAINT_FRAME_DC, WPARAM(dc), kSkinPaintTag), kSkinPaintTag);
    ::GdiFlush();
    int same = 0, total = 0;
    for (int x = 0; x < shown.width; ++x, ++total)
        if ((bmp.View().at(x, 3) & 0xFFFFFF) == shown.at(x, 3)) ++same;
    EXPECT_EQ(same, total);

    // A new caption repaints the title at once.
    const Image before = captureWindow(a->Handle());
    a->SetCaption(L"A much longer caption than before");
    pumpMessages(50);
    EXPECT_GT(countDifferences(before, captureWindow(a->Handle())), 50u);
}

TEST_F(SkinManageTest, SkinOfOneFormComesAndGoesWithThatFormOnly) {
    TForm* other = showForm(400, 40, L"Main skin");
    auto own = std::make_unique<TForm>(nullptr);
    own->SetCaption(L"Own skin");
    own->SetBounds(40, 300, 300, 200);
    auto* local = loadCommittedSkin("dark").release();
    own->InsertComponent(local);
    local->SetSkinFormtype(sfOnlyThisForm);
    local->BeginLoading();
    local->SetActive(true);
    local->Loaded();  // skins its form at once
    pumpMessages(80);
    HWND ow = own->Handle();
    ASSERT_TRUE(mgr->FindFormSkin(ow));
    EXPECT_EQ(mgr->FindFormSkin(ow)->FSkinData, local);
    EXPECT_EQ(mgr->SkinDataFor(ow), local);
    own->Show();
    pumpMessages(80);

    local->SetActive(false);
    mgr->OnTimer();
    EXPECT_FALSE(skinned(ow));
    EXPECT_TRUE(skinned(other->Handle()));
    local->SetActive(true);
    mgr->OnTimer();
    pumpMessages(80);
    ASSERT_TRUE(skinned(ow));
    EXPECT_EQ(mgr->FindFormSkin(ow)->FSkinData, local);
    own.reset();
    pumpMessages(30);
}

TEST_F(SkinManageTest, ZeroSizeAndForeignWindowsAreLeftAlone) {
    const HINSTANCE own = ::GetModuleHandleW(nullptr), foreign = ::GetModuleHandleW(L"user32.dll");
    HWND empty = ::CreateWindowExW(0, testWindowClass(), L"empty", WS_POPUP, 50, 50, 0, 0, nullptr, nullptr, own,
                                   nullptr);
    windows.push_back(empty);
    EXPECT_FALSE(mgr->SkinWindow(empty));
    ::SetWindowPos(empty, nullptr, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(mgr->SkinWindow(empty));

    // A system class window made for another module: not ours to dress.
    HWND other = ::CreateWindowExW(0, L"Static", L"foreign", WS_OVERLAPPEDWINDOW, 300, 50, 200, 120, nullptr, nullptr,
                                   foreign, nullptr);
    windows.push_back(other);
    ASSERT_EQ(reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(other, GWLP_HINSTANCE)), foreign);
    EXPECT_FALSE(mgr->SkinWindow(other));
    // ... unless it is a standard dialog.
    HWND dlg = makeDialog(foreign);
    windows.push_back(dlg);
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(skinned(dlg) || mgr->SkinWindow(dlg));
    EXPECT_TRUE(mgr->FindFormSkin(dlg));
}

TEST_F(SkinManageTest, DialogsTakeTheDialogSkinWhenThereIsOne) {
    HWND plain = makeWindow(200, 100);
    windows.push_back(plain);
    HWND dlg = makeDialog(::GetModuleHandleW(nullptr));
    windows.push_back(dlg);
    EXPECT_EQ(mgr->SkinDataFor(dlg), sd.get());

    dialogSd = loadCommittedSkin("dark");
    dialogSd->SetSkinFormtype(sfDialog);
    dialogSd->Loaded();
    EXPECT_EQ(mgr->SkinDataFor(dlg), dialogSd.get());
    EXPECT_EQ(mgr->SkinDataFor(plain), sd.get());
    EXPECT_EQ(mgr->FDefaultSkinData, sd.get());

    HWND dlg2 = makeDialog(::GetModuleHandleW(nullptr));
    windows.push_back(dlg2);
    ASSERT_TRUE(skinned(dlg2));
    ASSERT_TRUE(mgr->FindFormSkin(dlg2));
    EXPECT_EQ(mgr->FindFormSkin(dlg2)->FSkinData, dialogSd.get());
    EXPECT_EQ(mgr->FindFormSkin(dlg2)->FTitleHeight,
              dialogSd->BorderTop()->Bitmap.Height() / std::max(dialogSd->BorderTop()->Frame, 1));

    // Gone again: back to the main skin, and its form skins gave their windows back.
    dialogSd.reset();
    EXPECT_EQ(mgr->SkinDataFor(dlg), sd.get());
    EXPECT_FALSE(skinned(dlg2));
}

// Runs inside the message box's own loop: reads how the box was skinned,
// then closes it.
struct BoxProbe {
    static inline TSkinManage* mgr = nullptr;
    static inline TSkinData* used = nullptr;
    static inline int ticks = 0;
    static inline LRESULT query = -1;
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = ::FindWindowW(L"#32770", L"Skin test box");
        if (box && ::SendMessageW(box, WM_SKIN_QUERY, 0, 0) == 1) {
            query = 1;
            if (TWinSkinForm* fs = mgr->FindFormSkin(box)) used = fs->FSkinData;
        }
        if (box && (query == 1 || ++ticks > 40)) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
};

TEST_F(SkinManageTest, MessageBoxTakesTheDialogSkin) {
    dialogSd = loadCommittedSkin("dark");
    dialogSd->SetSkinFormtype(sfDialog);
    dialogSd->Loaded();
    TForm* owner = showForm(40, 40, L"Owner");
    BoxProbe::mgr = mgr;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, &BoxProbe::tick);
    ::MessageBoxW(owner->Handle(), L"Skinned?", L"Skin test box", MB_OK);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(BoxProbe::query, 1);
    EXPECT_EQ(BoxProbe::used, dialogSd.get());
    EXPECT_EQ(mgr->FindFormSkin(owner->Handle())->FSkinData, sd.get());
}

TEST_F(SkinManageTest, SwitchingOffLooksLikeANeverSkinnedTwinAndOnSkinsAgain) {
    TForm* a = showForm(40, 40, L"Twin");
    TForm* twin = showForm(40, 330, L"Twin", 99);
    TForm* active = showForm(700, 40, L"Elsewhere", 99);
    HWND aw = a->Handle(), tw = twin->Handle();
    ASSERT_TRUE(skinned(aw));
    HWND dlg = makeDialog(::GetModuleHandleW(nullptr));
    windows.push_back(dlg);
    ::SetWindowPos(dlg, nullptr, 700, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetForegroundWindow(active->Handle());
    pumpMessages(80);
    ASSERT_TRUE(skinned(dlg));
    const SIZE clientBefore = clientSize(tw);
    EXPECT_GT(countDifferences(captureWindow(aw), captureWindow(tw)), 1000u);
    const LONG_PTR twinProc = ::GetWindowLongPtrW(tw, GWLP_WNDPROC);

    skinChanges = 0;
    sd->SetActive(false);
    sd->SetActive(false);
    settle();
    EXPECT_EQ(skinChanges, 1);
    EXPECT_FALSE(skinned(aw));
    EXPECT_FALSE(skinned(dlg));
    EXPECT_TRUE(mgr->FFormSkins.empty());
    EXPECT_EQ(::GetWindowLongPtrW(aw, GWLP_WNDPROC), twinProc);
    EXPECT_EQ(::GetWindowLongPtrW(aw, GWL_STYLE), ::GetWindowLongPtrW(tw, GWL_STYLE));
    EXPECT_EQ(clientSize(aw).cx, clientBefore.cx);
    EXPECT_EQ(clientSize(aw).cy, clientBefore.cy);
    HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(aw, rgn), ERROR);
    ::DeleteObject(rgn);
    const Image off = captureWindow(aw), plain = captureWindow(tw);
    ASSERT_EQ(off.width, plain.width);
    ASSERT_EQ(off.height, plain.height);
    EXPECT_EQ(countDifferences(off, plain, 2), 0u);

    // Nothing new is skinned while off.
    TForm* late = showForm(400, 330, L"Late");
    EXPECT_FALSE(skinned(late->Handle()));

    skinChanges = 0;
    sd->SetActive(true);
    sd->SetActive(true);
    settle();
    EXPECT_EQ(skinChanges, 1);
    EXPECT_TRUE(skinned(aw));
    EXPECT_TRUE(skinned(late->Handle()));
    EXPECT_FALSE(skinned(tw));
    // Not a toolkit form, skinned again all the same.
    EXPECT_TRUE(skinned(dlg));
}

TEST_F(SkinManageTest, NewSkinFileIsMeasuredAndPaintedOnEveryWindow) {
    TForm* a = showForm(40, 40, L"One");
    TForm* b = showForm(400, 40, L"Two");
    auto dark = loadCommittedSkin("dark");
    const int darkTitle = dark->BorderTop()->Bitmap.Height() / std::max(dark->BorderTop()->Frame, 1);
    ASSERT_NE(darkTitle, mgr->FindFormSkin(a->Handle())->FTitleHeight);

    skinChanges = 0;
    sd->SetSkinFile(skinPath("dark"));
    settle();
    EXPECT_EQ(skinChanges, 1);
    for (TForm* f : {a, b}) {
        TWinSkinForm* fs = mgr->FindFormSkin(f->Handle());
        ASSERT_TRUE(fs);
        EXPECT_EQ(fs->FTitleHeight, darkTitle);
        EXPECT_FALSE(fs->FButtons.empty());
        const Image img = captureWindow(f->Handle());
        const auto [x, colour] = leftStripPixel(*dark, fs->FActive);
        ASSERT_GE(x, 0);
        EXPECT_EQ(img.at(x, 0), colour);
        // The client moved inside the window: none of the old frame is left in it.
        const RECT client{fs->FLeftWidth, fs->FTitleHeight + fs->FMenuHeight, img.width - fs->FRightWidth,
                          img.height - fs->FBottomHeight};
        const size_t area = size_t(client.right - client.left) * size_t(client.bottom - client.top);
        EXPECT_EQ(countColour(img, client, COLORREF(sd->ButtonFace)), area);
    }

    // A file that is no skin changes nothing.
    const std::string junk = "Z:" + std::string(QS_SOURCE_ROOT) + "/README.md";
    sd->SetSkinFile(junk);
    EXPECT_TRUE(sd->SkinLoaded());
    EXPECT_FALSE(mgr->FTimer->Enabled());
    EXPECT_EQ(mgr->FindFormSkin(a->Handle())->FTitleHeight, darkTitle);
}

// The control skins leave their repaint to the form's one repaint after a
// skin change: what is on screen afterwards must be what a full repaint of
// the form draws, with no control left in the old skin.
TEST_F(SkinManageTest, SkinChangeLeavesEveryControlPaintedInTheNewSkin) {
    TForm* f = showForm(40, 40, L"Controls");
    auto place = [f](TControl* c, TWinControl* parent, int x, int y, int w, int h) {
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        return c;
    };
    auto* panel = static_cast<TPanel*>(place(new TPanel(f), f, 8, 8, 130, 70));
    place(new TCheckBox(f), panel, 6, 6, 110, 20);
    place(new TGroupBox(f), f, 146, 8, 130, 70);
    auto* button = static_cast<TButton*>(place(new TButton(f), f, 8, 90, 90, 26));
    place(new TCheckBox(f), f, 110, 92, 120, 20);
    // The controls came after the form was skinned: a new activation classifies them.
    sd->SetActive(false);
    settle();
    sd->SetActive(true);
    settle();
    TWinSkinForm* fs = mgr->FindFormSkin(f->Handle());
    ASSERT_TRUE(fs);
    ASSERT_GE(fs->FControls.size(), 4u);
    const Image before = captureWindow(f->Handle());

    sd->SetSkinFile(skinPath("dark"));
    settle();
    const Image changed = captureWindow(f->Handle());
    ::RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(60);
    const Image repainted = captureWindow(f->Handle());
    ASSERT_EQ(changed.width, repainted.width);
    EXPECT_EQ(countDifferences(changed, repainted), 0u);
    // And the change did show, inside the controls too.
    RECT inside{}, outer{};
    ::GetWindowRect(button->Handle(), &inside);
    ::GetWindowRect(f->Handle(), &outer);
    ::OffsetRect(&inside, -outer.left, -outer.top);
    EXPECT_NE(changed.at(inside.left + 20, inside.top + 13), before.at(inside.left + 20, inside.top + 13));
}

TEST_F(SkinManageTest, MDIFrameAndChildren) {
    auto frame = std::make_unique<TForm>(nullptr);
    frame->SetFormStyle(fsMDIForm);
    frame->SetCaption(L"Frame");
    auto* menu = new TMainMenu(frame.get());
    auto* item = new TMenuItem(frame.get());
    item->SetCaption(L"&Window");
    menu->Items()->Add(item);
    frame->SetMenu(menu);
    frame->SetBounds(40, 40, 600, 420);
    frame->Show();
    pumpMessages(150);
    HWND fw = frame->Handle();
    ASSERT_TRUE(skinned(fw));
    TWinSkinForm* fs = mgr->FindFormSkin(fw);
    ASSERT_TRUE(fs);
    EXPECT_TRUE(fs->IsMDIFrame());
    EXPECT_EQ(mgr->FMDIClient, frame->ClientHandle());
    EXPECT_TRUE(fs->FClientSubclassed);

    auto child = std::make_unique<TForm>(frame.get());
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(L"Child");
    child->SetBounds(10, 10, 240, 160);
    child->Show();
    pumpMessages(150);
    HWND cw = child->Handle();
    EXPECT_TRUE(skinned(cw));
    TWinSkinForm* cs = mgr->FindFormSkin(cw);
    ASSERT_TRUE(cs);
    EXPECT_TRUE(cs->IsMDIChild());

    // Scroll bars of the client are the skin's business unless asked for.
    const LONG_PTR s = ::GetWindowLongPtrW(frame->ClientHandle(), GWL_STYLE);
    ::SetWindowLongPtrW(frame->ClientHandle(), GWL_STYLE, s | WS_VSCROLL);
    ::SetWindowPos(frame->ClientHandle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    EXPECT_FALSE(::GetWindowLongPtrW(frame->ClientHandle(), GWL_STYLE) & WS_VSCROLL);

    // Maximise through the caption button, then cascade back.
    TWinSysButton* max = nullptr;
    for (auto& b : cs->FButtons)
        if (b->FData && b->FData->Action == 1 && b->FVisible) max = b.get();
    ASSERT_TRUE(max);
    cs->DoButtonAction(max, POINT{0, 0});
    EXPECT_TRUE(waitFor([&] { return ::IsZoomed(cw) != FALSE; }));
    EXPECT_TRUE(mgr->FMDIMaximized);
    // The child's buttons show at the end of the frame's menu bar and act on it.
    ::RedrawWindow(fw, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(60);
    TWinSysButton* inBar = nullptr;
    for (auto& b : fs->FButtons)
        if (b->FData && b->FData->Visibility == 100 && b->FVisible && (b->FData->Action == 8 || b->FData->Action == 61))
            inBar = b.get();
    ASSERT_TRUE(inBar);
    EXPECT_GE(inBar->FBoundsRect.top, fs->FTitleHeight);
    EXPECT_TRUE(matchButtonFrame(fw, *inBar, 1).all());
    fs->DoButtonAction(inBar, POINT{0, 0});
    EXPECT_TRUE(waitFor([&] { return !::IsZoomed(cw); }));
    cs->DoButtonAction(max, POINT{0, 0});
    EXPECT_TRUE(waitFor([&] { return ::IsZoomed(cw) != FALSE; }));
    ::SendMessageW(frame->ClientHandle(), WM_MDICASCADE, 0, 0);
    pumpMessages(80);
    EXPECT_FALSE(mgr->FMDIMaximized);

    // Unskinning gives the client its procedure back.
    const LONG_PTR clientProc = ::GetWindowLongPtrW(frame->ClientHandle(), GWLP_WNDPROC);
    EXPECT_NE(reinterpret_cast<WNDPROC>(clientProc), fs->FOldClientProc);
    const WNDPROC original = fs->FOldClientProc;
    mgr->UnskinAllForms();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(frame->ClientHandle(), GWLP_WNDPROC)), original);
    EXPECT_FALSE(skinned(fw));
    EXPECT_FALSE(skinned(cw));
    child.reset();
    frame.reset();
}

TEST_F(SkinManageTest, ManySwitchesLeaveNoHandlesOrProceduresBehind) {
    auto holder = std::make_unique<TForm>(nullptr);
    holder->SetCaption(L"Busy");
    holder->SetBounds(40, 40, 300, 200);
    auto* button = new TButton(holder.get());
    button->SetParent(holder.get());
    button->SetBounds(10, 10, 100, 28);
    button->SetCaption(L"Button");
    holder->Show();
    ::SetForegroundWindow(holder->Handle());
    pumpMessages(150);
    forms.push_back(std::move(holder));
    TForm* a = forms.back().get();
    HWND aw = a->Handle();
    // The children come and go with the frame.
    const bool buttonSkinned = skinned(button->Handle());
    EXPECT_TRUE(buttonSkinned);
    TWinSkinForm* fs = mgr->FindFormSkin(aw);
    ASSERT_TRUE(fs);
    const WNDPROC original = fs->FOldWndProc;
    const LONG_PTR skinProc = ::GetWindowLongPtrW(aw, GWLP_WNDPROC);
    const char* names[] = {"dark", "rounded", "default"};
    auto cycle = [&](int n) {
        for (int i = 0; i < n; ++i) {
            sd->SetSkinFile(skinPath(names[i % 3]));
            mgr->OnTimer();
            drain();
        }
        for (int i = 0; i < n; ++i) {
            sd->SetActive(false);
            mgr->OnTimer();
            drain();
            sd->SetActive(true);
            mgr->OnTimer();
            drain();
        }
        pumpMessages(30);
    };
    cycle(3);  // warm-up: caches and fonts that stay
    const DWORD gdi = gdiObjectCount(), user = userObjectCount();
    cycle(200);
    EXPECT_LE(gdiObjectCount(), gdi + 5);
    EXPECT_LE(userObjectCount(), user + 5);
    ASSERT_TRUE(skinned(aw));
    EXPECT_EQ(::GetWindowLongPtrW(aw, GWLP_WNDPROC), skinProc);
    EXPECT_EQ(mgr->FindFormSkin(aw)->FOldWndProc, original);
    EXPECT_EQ(mgr->FFormSkins.size(), 1u);
    EXPECT_EQ(skinned(button->Handle()), buttonSkinned);
    sd->SetActive(false);
    mgr->OnTimer();
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(aw, GWLP_WNDPROC)), original);
    EXPECT_FALSE(skinned(button->Handle()));
}

}  // namespace
