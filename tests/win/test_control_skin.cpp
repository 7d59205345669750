// The control-skin base on real windows: switching a skin off and on, the
// "skinned?" query, destruction and detaching, bare-window subclassing in
// both character sets, the exception guard, and the shared paint routines.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "Application.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "ImgList.h"
#include "test_control_skin_util.h"

using namespace qs;
using namespace qs::test;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

class ControlSkin : public ::testing::Test {
protected:
    void SetUp() override {
        sd = makeSkinData(plainSkin());
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(30, 30, 360, 220);
        form->Show();
        fs = std::make_unique<ClassifyingFormSkin>(form->Handle(), sd.get(), form.get());
        pumpMessages(30);
    }
    void TearDown() override {
        fs.reset();
        form.reset();
    }
    TPanel* panel(int left, const wchar_t* caption = L"Twin") {
        auto* p = new TPanel(form.get());
        p->SetParent(form.get());
        p->SetBounds(left, 20, 140, 90);
        p->SetCaption(caption);
        p->Handle();
        return p;
    }
    TProbeSkin* attach(TWinControl* c, bool changeColor = false) {
        auto* s = new TProbeSkin(c);
        s->Attach(fs->fs.get(), sd.get(), changeColor, &(*fs)->FCanvas);
        return s;
    }
    // What reached the control's own procedure; outlives the form, whose
    // controls keep calling the recording handler until they go.
    void recordOwn(TControl* c) {
        TWndMethod old = c->WindowProc();
        c->SetWindowProc([this, old](TMessage& m) {
            own.push_back(m.Msg);
            old(m);
        });
    }
    std::vector<UINT> own;
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    std::unique_ptr<ClassifyingFormSkin> fs;
};

void repaint(HWND h) {
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

TEST_F(ControlSkin, SwitchedOffPaintsAsItsUnskinnedTwinAndOnRepaintsAtOnce) {
    TPanel* skinned = panel(10);
    TPanel* twin = panel(180);
    recordOwn(skinned);
    TProbeSkin* s = attach(skinned);
    const HWND h = skinned->Handle();
    repaint(h);
    pumpMessages(30);
    EXPECT_EQ(countColour(captureWindow(h), RECT{0, 0, 140, 90}, kRed), 140u * 90u);

    SendMessageW(h, WM_SKIN_CONTROL_SWITCH, 0, 0);
    EXPECT_FALSE(s->FActive);
    repaint(h);
    repaint(twin->Handle());
    pumpMessages(30);
    const Image off = captureWindow(h), plain = captureWindow(twin->Handle());
    ASSERT_EQ(off.width, plain.width);
    EXPECT_EQ(countDifferences(off, plain), 0u);
    EXPECT_EQ(countColour(off, RECT{0, 0, 140, 90}, kRed), 0u);

    const int paintsBefore = s->paints;
    SendMessageW(h, WM_SKIN_CONTROL_SWITCH, 1, 0);
    // No message pumping: the switch itself repaints.
    EXPECT_GT(s->paints, paintsBefore);
    EXPECT_EQ(countColour(captureWindow(h), RECT{0, 0, 140, 90}, kRed), 140u * 90u);
    EXPECT_EQ(std::count(own.begin(), own.end(), WM_SKIN_CONTROL_SWITCH), 0);
    EXPECT_FALSE(own.empty());  // the control's own procedure did run for the paints
    // A negative wParam is "off" as well.
    SendMessageW(h, WM_SKIN_CONTROL_SWITCH, WPARAM(-3), 0);
    EXPECT_FALSE(s->FActive);
}

TEST_F(ControlSkin, QueryAnswersOneOnlyWhileSkinned) {
    TPanel* p = panel(10);
    const HWND h = p->Handle();
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 0);
    TProbeSkin* s = attach(p);
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 1);
    EXPECT_TRUE(HasControlSkin(fs->fs.get(), s));
    delete s;
    EXPECT_FALSE(HasControlSkin(fs->fs.get(), s));
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 0);
    // The control works on without its skin.
    p->SetCaption(L"after");
    wchar_t text[16] = {};
    GetWindowTextW(h, text, 16);
    EXPECT_STREQ(text, L"after");
}

TEST_F(ControlSkin, SecondAttachDoesNothing) {
    TPanel* p = panel(10);
    TProbeSkin* s = attach(p);
    const size_t listed = (*fs)->FControls.size();
    s->Attach(fs->fs.get(), sd.get(), false, &(*fs)->FCanvas);
    EXPECT_EQ((*fs)->FControls.size(), listed);
    // Attached once: one skin in front of the control's procedure.
    s->before.clear();
    SendMessageW(p->Handle(), WM_USER + 7, 0, 0);
    EXPECT_EQ(std::count(s->before.begin(), s->before.end(), UINT(WM_USER + 7)), 1);
}

TEST_F(ControlSkin, DestroyedWindowLeavesStateSixWithTheColourBack) {
    TPanel* p = panel(10);
    p->SetColor(clYellow);
    TProbeSkin* s = attach(p, true);
    EXPECT_EQ(ColorToRGB(p->Color()), kFace);
    p->DestroyHandle();
    EXPECT_EQ(s->FState, scsDestroyed);
    EXPECT_FALSE(s->FActive);
    EXPECT_EQ(p->Color(), clYellow);
    EXPECT_EQ(s->restores, 1);
    const int paints = s->paints;
    s->PaintWindow(nullptr);
    EXPECT_EQ(s->paints, paints);
    // The next pass drops it; the control loses its skin for good.
    PurgeControlSkins(**fs);
    EXPECT_TRUE((*fs)->FControls.empty());
    EXPECT_TRUE(p->Components().empty());
}

TEST_F(ControlSkin, SwitchedOffSkinStillLearnsItsWindowIsGone) {
    TPanel* p = panel(10);
    TProbeSkin* s = attach(p);
    SendMessageW(p->Handle(), WM_SKIN_CONTROL_SWITCH, 0, 0);
    p->DestroyHandle();
    EXPECT_EQ(s->FState, scsDestroyed);
}

TEST_F(ControlSkin, FreeingGivesTheToolkitControlItsHandlerBack) {
    TPanel* p = panel(10);
    recordOwn(p);
    TProbeSkin* s = attach(p);
    SendMessageW(p->Handle(), WM_USER + 1, 0, 0);
    EXPECT_EQ(s->before.back(), UINT(WM_USER + 1));
    delete s;
    own.clear();
    SendMessageW(p->Handle(), WM_USER + 2, 0, 0);
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(own.back(), UINT(WM_USER + 2));
}

// ---- bare windows -------------------------------------------------------------------------

class BareSkin : public ControlSkin {
protected:
    HWND child(bool unicode, const char* cls = "EDIT") {
        HWND h = unicode ? CreateWindowExW(0, std::wstring(cls, cls + strlen(cls)).c_str(), L"", WS_CHILD | WS_VISIBLE | WS_BORDER,
                                           10, 10, 150, 24, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr)
                         : CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 150, 24,
                                           form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
        return h;
    }
    TProbeSkin* attachHandle(HWND h) {
        auto* s = new TProbeSkin(fs->fs.get());
        s->AttachHandle(h, sd.get(), fs->fs.get(), &(*fs)->FCanvas);
        return s;
    }
};

TEST_F(BareSkin, SubclassAnswersTheQueryAndFreeingPutsTheProcedureBack) {
    HWND h = child(true);
    ASSERT_TRUE(h);
    const LONG_PTR original = GetWindowLongPtrW(h, GWLP_WNDPROC);
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 0);
    TProbeSkin* s = attachHandle(h);
    EXPECT_TRUE(s->FUnicode);
    EXPECT_TRUE(s->FEnabled);
    EXPECT_NE(s->FObjectInstance, nullptr);
    EXPECT_EQ(TSkinControl::FromHandle(h), s);
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 1);
    delete s;
    EXPECT_EQ(GetWindowLongPtrW(h, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 0);
    EXPECT_EQ(TSkinControl::FromHandle(h), nullptr);
    DestroyWindow(h);
}

TEST_F(BareSkin, TextPassesUnchangedInBothCharacterSets) {
    HWND wide = child(true);
    HWND narrow = child(false);
    TProbeSkin* sw = attachHandle(wide);
    TProbeSkin* sn = attachHandle(narrow);
    EXPECT_TRUE(sw->FUnicode);
    EXPECT_FALSE(sn->FUnicode);
    const std::wstring text = L"\u4e2d\u6587 caf\u00e9";
    SetWindowTextW(wide, text.c_str());
    EXPECT_EQ(GetWindowTextWide(wide), text);
    // Typed characters travel in the window's own character set too.
    SetWindowTextW(wide, L"");
    SendMessageW(wide, WM_CHAR, 0x4E2D, 0);
    EXPECT_EQ(GetWindowTextWide(wide), L"\u4e2d");
    SetWindowTextA(narrow, "plain text");
    char buf[32] = {};
    GetWindowTextA(narrow, buf, 32);
    EXPECT_STREQ(buf, "plain text");
    EXPECT_GT(sw->before.size(), 0u);
    EXPECT_GT(sn->before.size(), 0u);
    DestroyWindow(wide);
    DestroyWindow(narrow);
}

// A narrow subclass in front of a Unicode window, as a narrow program would put there.
WNDPROC g_narrowPrevious = nullptr;
LRESULT CALLBACK narrowPassThrough(HWND h, UINT m, WPARAM w, LPARAM l) {
    return CallWindowProcA(g_narrowPrevious, h, m, w, l);
}

TEST_F(BareSkin, NarrowProcedureInFrontOfAUnicodeWindowMakesTheSkinNarrow) {
    HWND wide = child(true);
    g_narrowPrevious = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(wide, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&narrowPassThrough)));
    TProbeSkin* s = attachHandle(wide);
    EXPECT_EQ(s->FUnicode, IsWindowUnicode(wide) != FALSE);
    // Text the narrow procedure's code page can carry.
    const std::wstring text = L"caf\u00e9 cr\u00e8me";
    SetWindowTextW(wide, text.c_str());
    EXPECT_EQ(GetWindowTextWide(wide), text);
    SetWindowTextW(wide, L"");
    SendMessageW(wide, WM_CHAR, 0x00E9, 0);
    EXPECT_EQ(GetWindowTextWide(wide), L"\u00e9");
    delete s;
    EXPECT_EQ(GetWindowLongPtrA(wide, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&narrowPassThrough));
    SetWindowLongPtrA(wide, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_narrowPrevious));
    DestroyWindow(wide);
}

TEST_F(BareSkin, DestroyedWindowIsNotTouchedAgain) {
    HWND h = child(true);
    TProbeSkin* s = attachHandle(h);
    DestroyWindow(h);
    EXPECT_EQ(s->FState, scsDestroyed);
    EXPECT_EQ(s->FObjectInstance, nullptr);  // nothing left to put back on a handle that may be reused
    PurgeControlSkins(**fs);
    EXPECT_TRUE((*fs)->FControls.empty());
}

TEST_F(BareSkin, FailingPaintNeverBreaksTheMessageFlow) {
    HWND h = child(true);
    TProbeSkin* s = attachHandle(h);
    s->throwInPaint = true;
    repaint(h);
    pumpMessages(20);
    EXPECT_GT(s->paints, 0);
    EXPECT_TRUE(SendMessageW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still works")));
    EXPECT_EQ(GetWindowTextWide(h), L"still works");
    EXPECT_EQ(SendMessageW(h, WM_SKIN_QUERY, 0, 0), 1);
    DestroyWindow(h);
}

// ---- shared routines ----------------------------------------------------------------------

TEST(SkinRoutines, FocusRectangleOfAWideCaptionStaysInsideTheRectangle) {
    TBitmap bmp(120, 40);
    HDC dc = bmp.Canvas()->Handle();
    RECT all{0, 0, 120, 40};
    FillColor(dc, all, clWhite);
    TProbeSkin skin(nullptr);
    skin.FCaption = L"a caption far wider than the rectangle it is drawn in";
    const RECT r{20, 10, 80, 30};
    skin.DrawFocusText(dc, DT_LEFT | DT_SINGLELINE, r);
    bmp.Dormant();
    PixelView v = bmp.View();
    int inside = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            if ((v.at(x, y) & 0xFFFFFF) == 0xFFFFFF) continue;
            (x >= r.left && x < r.right && y >= r.top && y < r.bottom ? inside : outside)++;
        }
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
}

TEST(SkinRoutines, IconTextPlacesTextAsIfNoIconWhenIndexIsMinusOneOrIconTooWide) {
    TImageList images;
    images.SetSize(16, 16);
    TBitmap red(16, 16);
    FillColor(red.Canvas()->Handle(), RECT{0, 0, 16, 16}, clRed);
    red.Dormant();
    ASSERT_EQ(images.Add(red), 0);
    auto draw = [&](int width, int index, TImageList* list) {
        TBitmap bmp(width, 24);
        TCanvas& c = *bmp.Canvas();
        c.Brush().SetColor(clWhite);
        c.FillRect(RECT{0, 0, width, 24});
        c.Font().SetColor(clBlack);
        TProbeSkin skin(nullptr);
        skin.FEnabled = true;
        DrawIconText(&skin, c, RECT{0, 0, width, 24}, 0, L"Text", index, list);
        c.ReleaseSelections();
        bmp.Dormant();
        return bmp.ToPixels();
    };
    auto reds = [](const PixelImage& img) {
        int n = 0;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) n += (img.at(x, y) & 0xFFFFFF) == 0xFF0000;
        return n;
    };
    const PixelImage none = draw(100, -1, nullptr);
    const PixelImage minusOne = draw(100, -1, &images);
    EXPECT_EQ(minusOne.pixels, none.pixels);
    EXPECT_EQ(reds(draw(100, 0, &images)), 16 * 16);
    EXPECT_EQ(reds(draw(14, 0, &images)), 0);  // wider than the rectangle: no icon
}

// Windows cap a window at 32767 pixels, so the control too large for 16-bit
// coordinates is a windowless one.
class TWideGraphic : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    POINT down{-1, -1};

protected:
    void MouseDown(TMouseButton, TShiftState, int x, int y) override { down = POINT{x, y}; }
};

TEST_F(ControlSkin, MouseDownOnAHugeControlReportsTheCursorNotTheTruncatedMessage) {
    TPanel* p = panel(10);
    auto* wide = new TWideGraphic(form.get());
    wide->SetParent(p);
    wide->SetBounds(-200, 0, 40000, 60);
    ASSERT_EQ(wide->Width(), 40000);
    auto* s = new TProbeSkin(wide);
    s->AttachGraphic(wide, sd.get(), fs->fs.get(), &(*fs)->FCanvas);
    EXPECT_EQ(s->FGraphicControl, wide);
    EXPECT_EQ(s->FHandle, p->Handle());
    const POINT origin = p->ClientOrigin();
    ASSERT_TRUE(SetCursorPos(origin.x + 37, origin.y + 21));
    POINT cur{};
    GetCursorPos(&cur);
    const POINT expected = wide->ScreenToClient(cur);
    ASSERT_EQ(expected.x, cur.x - origin.x + 200);
    s->ForwardMouseDown(TMessage{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6), 0});
    EXPECT_EQ(wide->down.x, expected.x);
    EXPECT_EQ(wide->down.y, expected.y);

    // An ordinary control takes the message's point, signed.
    wide->SetBounds(0, 0, 50, 50);
    s->ForwardMouseDown(TMessage{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, -9), 0});
    EXPECT_EQ(wide->down.x, 7);
    EXPECT_EQ(wide->down.y, -9);
}

TEST(SkinRoutines, PropertiesByNameGiveNeutralValuesWhenMissing) {
    TPanel p(nullptr);
    p.SetTag(42);
    EXPECT_EQ(prop::GetIntProp(&p, "Tag"), 42);
    EXPECT_EQ(prop::GetIntProp(&p, "NoSuchProperty"), -1);
    EXPECT_EQ(prop::GetIntProp(&p, "Caption"), -1);  // not an integer
    EXPECT_EQ(prop::GetIntProp(nullptr, "Tag"), -1);
    EXPECT_EQ(prop::GetEnumPropName(&p, "Alignment"), "taCenter");
    EXPECT_EQ(prop::GetEnumPropName(&p, "Visible"), "True");
    EXPECT_EQ(prop::GetEnumPropName(&p, "Missing"), "");
    EXPECT_TRUE(prop::SetPropFromString(&p, "Alignment", "taRightJustify"));
    EXPECT_EQ(p.Alignment(), taRightJustify);
    EXPECT_TRUE(prop::SetPropFromString(&p, "Visible", "False"));
    EXPECT_FALSE(p.Visible());
    EXPECT_TRUE(prop::SetPropFromString(&p, "Tag", "17"));
    EXPECT_EQ(p.Tag(), 17);
    EXPECT_FALSE(prop::SetPropFromString(&p, "Tag", "17x"));  // left alone
    EXPECT_EQ(p.Tag(), 17);
    EXPECT_TRUE(prop::SetPropFromString(&p, "Caption", "\xe4\xb8\xad"));
    EXPECT_EQ(prop::GetWideTextProp(&p, "Caption"), L"\u4e2d");
    EXPECT_EQ(prop::GetWideTextProp(&p, "Name"), L"");
    EXPECT_EQ(prop::GetObjectPropOf(&p, "Font", TFont::StaticClassInfo()), p.Font());
    EXPECT_EQ(prop::GetObjectPropOf(&p, "Font", TBitmap::StaticClassInfo()), nullptr);
}

}  // namespace
