// Button, check-box and radio-button skins on real windows: pixels read back
// from the screen, the real pointer and keyboard. The skin is a committed one
// whose button strips are replaced by solid blocks, so every frame is a
// colour of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include "Buttons.h"
#include "ExtCtrls.h"
#include "SkinButton.h"
#include "SkinCheck.h"
#include "SkinCreate.h"
#include "SkinData.h"
#include "SkinRecords.h"
#include "SkinRoutines.h"
#include "StdCtrlsButtons.h"
#include "test_buttons_util.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

const COLORREF kFrame[5] = {RGB(10, 20, 30), RGB(200, 40, 40), RGB(120, 120, 60), RGB(40, 200, 40), RGB(40, 40, 200)};
COLORREF checkColour(int k) { return RGB(20 * k, 255 - 20 * k, 7 * k); }  // k from 1
COLORREF radioColour(int k) { return RGB(255 - 15 * k, 9 * k, 100 + 10 * k); }
const COLORREF kGlyph[4] = {RGB(200, 0, 0), RGB(0, 0, 210), RGB(220, 220, 0), RGB(0, 210, 210)};

void strip(TBitmap& b, int frames, int w, int h, COLORREF (*colour)(int)) {
    std::vector<COLORREF> c;
    for (int k = 1; k <= frames; ++k) c.push_back(colour(k));
    solidStrip(b, frames, w, h, c.data());
}

void makeGlyph(TBitmap& b, int frames) { glyphKeyed(b, frames, kGlyph); }

struct SkinnedButtons : ::testing::Test {
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    TDataSkinButton* e = nullptr;

    void SetUp() override {
        Application->Initialize();
        sd = loadCommittedSkin("default");
        e = sd->Buttons();
        ASSERT_NE(e, nullptr);
        solidStrip(e->Bitmap, 5, 20, 20, kFrame);
        e->Frame = 5;
        e->LeftWidth = e->TopHeight = e->RightWidth = e->BottomHeight = 0;
        e->Trans = 0;
        e->Tile = 0;
        e->HasNormalColour2 = e->HasMouseOverColour2 = e->HasPressedColour2 = false;
        strip(e->CheckBitmap, 4, 13, 13, checkColour);
        e->CheckButtonFrame = 4;
        strip(e->RadioBitmap, 4, 13, 13, radioColour);
        e->RadioButtonFrame = 4;
        sd->SetOptions(0);
        form = shownForm();
    }
    void TearDown() override { form.reset(); }

    COLORREF face() const { return ColorToRGB(TColor(sd->ButtonFace)); }
    template <class S>
    S* skin(TControl* c) {
        auto* s = new S(c);
        s->Attach(nullptr, sd.get(), false, nullptr);
        appPump(60);
        return s;
    }
    template <class C>
    C* add(int x, int y, int w, int h, const wchar_t* caption = L"") {
        auto* c = new C(form.get());
        c->SetParent(form.get());
        c->SetBounds(x, y, w, h);
        c->SetCaption(caption);
        return c;
    }
};

std::vector<std::pair<WPARAM, LPARAM>> g_commands;
LRESULT CALLBACK recordCommands(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND) g_commands.emplace_back(wp, lp);
    return DefWindowProcW(w, m, wp, lp);
}

COLORREF at(HWND h, int x, int y) { return captureClient(h).colorAt(x, y); }

}  // namespace

TEST(ButtonSkinRules, FramePriorities) {
    EXPECT_EQ(PushButtonFrame(false, false, false, false), 1);
    EXPECT_EQ(PushButtonFrame(false, false, true, true), 4);  // hot beats focused
    EXPECT_EQ(PushButtonFrame(false, true, true, true), 2);
    EXPECT_EQ(PushButtonFrame(true, true, true, true), 3);
    EXPECT_EQ(PushButtonFrame(false, false, false, true), 5);
    EXPECT_EQ(MenuButtonFrame(false, false, false, true), 4);
    EXPECT_EQ(SpeedButtonFrame(false, true, false, false), 2);  // down outranks disabled
    EXPECT_EQ(SpeedButtonFrame(false, false, false, true), 3);
    EXPECT_FALSE(SpeedButtonDrawsElement(true, 1));
    EXPECT_TRUE(SpeedButtonDrawsElement(true, 4));
    EXPECT_EQ(GlyphFrameForButton(2, false), 3);
    EXPECT_EQ(GlyphFrameForButton(3, false), 2);
    EXPECT_EQ(GlyphFrameForButton(1, true), 4);
    EXPECT_EQ(ReplaceFirstBar(L"a||b||c"), L"a\r\nb||c");
    EXPECT_EQ(ReplaceFirstBar(L"abc"), L"abc");
    // A glyph count of 0 from a foreign control counts as one picture, not a division by zero.
    TBitmap g(32, 16);
    EXPECT_EQ(GlyphFrameSize(g, 0).cx, 32);
    EXPECT_EQ(GlyphFrameSize(g, 4).cx, 8);

    TCheckFrameInput in;
    in.bmState = BST_INDETERMINATE;
    EXPECT_EQ(CheckBoxFrame(in), 4);
    in.frameCount = 12;
    EXPECT_EQ(CheckBoxFrame(in), 9);
    in.disabled = true;
    EXPECT_EQ(CheckBoxFrame(in), 12);
    TCheckFrameInput bound;
    bound.bmState = BST_CHECKED;
    bound.hasDataBinding = true;
    EXPECT_EQ(CheckBoxFrame(bound), 1);
    bound.disabled = true;
    EXPECT_EQ(CheckBoxFrame(bound), 3);
    TCheckFrameInput named;
    named.toolkitControl = true;
    named.stateName = "cbunchecked";
    named.bmState = BST_CHECKED;  // the control's own state wins over the window's
    EXPECT_EQ(CheckBoxFrame(named), 1);
    named.stateName = "cbgrayed";
    EXPECT_EQ(CheckBoxFrame(named), 4);
    EXPECT_EQ(RadioButtonFrame(true, true, 8), 8);
    EXPECT_EQ(RadioButtonFrame(true, true, 4), 4);
    EXPECT_EQ(RadioButtonFrame(false, true, 8), 4);
    EXPECT_EQ(RadioButtonFrame(true, false, 8), 5);
}

TEST_F(SkinnedButtons, PushButtonStatesAndClicks) {
    auto* other = add<TButton>(200, 20, 80, 30, L"Other");
    auto* b = add<TButton>(20, 20, 100, 40);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    skin<TSkinButton>(b);
    HWND h = b->Handle();
    other->SetFocus();
    appPump(60);
    EXPECT_EQ(at(h, 10, 10), kFrame[0]);
    b->SetFocus();
    appPump(60);
    EXPECT_EQ(at(h, 10, 10), kFrame[4]);
    pointerTo(h, 50, 20);
    EXPECT_EQ(at(h, 10, 10), kFrame[3]);  // hot and focused: hot
    leftButton(true);
    EXPECT_EQ(at(h, 10, 10), kFrame[1]);
    // Off the button and released there: no click.
    pointerTo(form->Handle(), 250, 200);
    leftButton(false);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(at(h, 10, 10), kFrame[4]);
    clickClient(h, 50, 20);
    EXPECT_EQ(clicks, 1);
    pressKey(VK_SPACE);
    EXPECT_EQ(clicks, 2);
    // Disabled wins over hot and focus.
    pointerTo(h, 50, 20);
    b->SetEnabled(false);
    appPump(60);
    EXPECT_EQ(at(h, 10, 10), kFrame[2]);
    clickClient(h, 50, 20);
    EXPECT_EQ(clicks, 2);
}

// Space makes the system's button set its pushed state, and the system paints
// its own pushed look with it; a skinned button shows its pressed frame.
TEST_F(SkinnedButtons, SetStateShowsThePressedFrameNotTheSystemsLook) {
    auto* b = add<TButton>(20, 20, 100, 40);
    skin<TSkinButton>(b);
    HWND h = b->Handle();
    pointerTo(form->Handle(), 300, 250);
    SendMessageW(h, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(at(h, 10, 10), kFrame[1]);
    EXPECT_TRUE(SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageW(h, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(at(h, 10, 10), kFrame[0]);
    EXPECT_FALSE(SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED);
}

TEST_F(SkinnedButtons, FocusRectangleUnlessSwitchedOff) {
    auto* b = add<TButton>(20, 20, 100, 40, L"Focus");
    skin<TSkinButton>(b);
    b->SetFocus();
    appPump(60);
    auto notFrame = [&] {
        Image img = captureClient(b->Handle());
        RECT all{0, 0, img.width, img.height};
        return size_t(img.width * img.height) - countColour(img, all, kFrame[4]);
    };
    size_t with = notFrame();
    sd->SetOptions(setBit(xoNoFocusRect));
    b->Invalidate();
    appPump(60);
    size_t without = notFrame();
    EXPECT_GT(with, without + 20);  // the dotted rectangle is gone, the caption stays
    EXPECT_GT(without, 0u);
}

TEST_F(SkinnedButtons, CaptionBreaksAtFirstDoubleBar) {
    auto* one = add<TButton>(20, 20, 120, 60, L"ab");
    auto* two = add<TButton>(160, 20, 120, 60, L"a||b");
    skin<TSkinButton>(one);
    skin<TSkinButton>(two);
    form->SetFocus();
    appPump(60);
    auto textBox = [&](TButton* b) {
        Image img = captureClient(b->Handle());
        RECT r{img.width, img.height, -1, -1};
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x)
                if (img.colorAt(x, y) != kFrame[0]) {
                    r.left = std::min<LONG>(r.left, x), r.right = std::max<LONG>(r.right, x + 1);
                    r.top = std::min<LONG>(r.top, y), r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        return r;
    };
    RECT a = textBox(one), b = textBox(two);
    ASSERT_GT(a.bottom, a.top);
    EXPECT_GT(b.bottom - b.top, (a.bottom - a.top) * 3 / 2);  // two lines
    EXPECT_LT(b.right - b.left, a.right - a.left);             // each narrower than "ab"
}

TEST_F(SkinnedButtons, BareButtonPostsCommandToItsParent) {
    // A toolkit button first, so the "TButton" window class exists.
    add<TButton>(300, 200, 60, 25);
    auto& commands = g_commands;
    commands.clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = recordCommands;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"QsButtonsDialog";
    RegisterClassW(&wc);
    HWND dlg = CreateWindowExW(0, L"QsButtonsDialog", L"Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, 500, 100, 300, 200,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 20, 20, 90, 30, dlg,
                              reinterpret_cast<HMENU>(1234), GetModuleHandleW(nullptr), nullptr);
    HWND tb = CreateWindowExW(0, L"TButton", L"T", WS_CHILD | WS_VISIBLE, 140, 20, 90, 30, dlg,
                              reinterpret_cast<HMENU>(77), GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(ok && tb);
    SetForegroundWindow(dlg);
    auto* s1 = new TSkinButton(nullptr);
    s1->AttachHandle(ok, sd.get(), nullptr, nullptr);
    auto* s2 = new TSkinButton(nullptr);
    s2->AttachHandle(tb, sd.get(), nullptr, nullptr);
    appPump(60);
    EXPECT_EQ(at(ok, 5, 5), kFrame[0]);
    // Pressed and released elsewhere: nothing.
    pointerTo(ok, 40, 15);
    leftButton(true);
    pointerTo(dlg, 150, 150);
    leftButton(false);
    EXPECT_TRUE(commands.empty());
    clickClient(ok, 40, 15);
    ASSERT_EQ(commands.size(), 1u);  // the button's own procedure never clicked as well
    EXPECT_EQ(commands[0].first, WPARAM(1234));
    EXPECT_EQ(commands[0].second, reinterpret_cast<LPARAM>(ok));
    clickClient(tb, 40, 15);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[1].first, WPARAM(0));
    delete s1;
    delete s2;
    // Unskinned again: the system button clicks by itself.
    clickClient(ok, 40, 15);
    EXPECT_EQ(commands.size(), 3u);
    DestroyWindow(dlg);
}

TEST_F(SkinnedButtons, ParentShowsThroughTransparentParts) {
    // Frames with a 3-pixel magenta rim, drawn keyed.
    TBitmap& bmp = e->Bitmap;
    HDC dc = bmp.Canvas()->Handle();
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    for (int k = 0; k < 5; ++k) {
        RECT r{20 * k, 0, 20 * k + 20, 20};
        FrameRect(dc, &r, magenta);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, magenta);
        InflateRect(&r, -1, -1);
        FrameRect(dc, &r, magenta);
    }
    DeleteObject(magenta);
    bmp.Dormant();
    e->Trans = 1;
    e->LeftWidth = e->TopHeight = e->RightWidth = e->BottomHeight = 4;
    form->SetColor(clYellow);
    auto* plain = add<TButton>(20, 20, 100, 40);
    auto* see = add<TButton>(140, 20, 100, 40);
    see->SetTag(5555);
    skin<TSkinButton>(plain);
    skin<TSkinButton>(see);
    form->SetFocus();
    appPump(80);
    EXPECT_EQ(at(plain->Handle(), 1, 1), face());
    EXPECT_EQ(at(see->Handle(), 1, 1), RGB(255, 255, 0));
    EXPECT_EQ(at(see->Handle(), 10, 10), kFrame[0]);
}

TEST_F(SkinnedButtons, BitButtonGlyphLayout) {
    TBitmap glyph;
    makeGlyph(glyph, 3);
    auto* b = add<TBitBtn>(20, 20, 100, 60);
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(3);
    skin<TSkinBitButton>(b);
    form->SetFocus();
    HWND h = b->Handle();
    auto glyphAt = [&](COLORREF c) {
        appPump(60);
        return boxOf(captureClient(h), c);
    };
    struct Case {
        int margin, spacing;
        TButtonLayout layout;
        LONG x, y;
    } cases[] = {
        {5, 4, blGlyphLeft, 5, 22},   {5, 4, blGlyphRight, 79, 22},  {5, 4, blGlyphTop, 42, 5},
        {5, 4, blGlyphBottom, 42, 39},
        // Without a caption there is no spacing: the glyph alone is centred.
        {-1, -1, blGlyphLeft, 42, 22}, {-1, 4, blGlyphLeft, 42, 22}, {-1, -1, blGlyphTop, 42, 22},
    };
    for (auto& c : cases) {
        b->SetMargin(c.margin);
        b->SetSpacing(c.spacing);
        b->SetLayout(c.layout);
        RECT r = glyphAt(kGlyph[0]);
        EXPECT_EQ(r.left, c.x + 2) << c.margin << "/" << c.spacing << "/" << c.layout;
        EXPECT_EQ(r.top, c.y + 2) << c.margin << "/" << c.spacing << "/" << c.layout;
        EXPECT_EQ(r.right - r.left, 12);
    }
    // With a caption and both automatic: three equal gaps around glyph and text.
    b->SetCaption(L"Caption");
    b->SetLayout(blGlyphLeft);
    b->SetMargin(-1);
    b->SetSpacing(-1);
    RECT g = glyphAt(kGlyph[0]);
    Image img = captureClient(h);
    RECT text{img.width, 0, -1, 0};
    for (int y = 0; y < img.height; ++y)
        for (int x = g.right + 2; x < img.width; ++x)
            if (img.colorAt(x, y) != kFrame[0]) text.left = std::min<LONG>(text.left, x), text.right = std::max<LONG>(text.right, x + 1);
    RECT measured{0, 0, 78, 60};
    {
        HDC dc = GetDC(h);
        HGDIOBJ old = SelectObject(dc, b->Font()->Handle());
        DrawTextW(dc, L"Caption", 7, &measured, DT_CALCRECT | DT_WORDBREAK);
        SelectObject(dc, old);
        ReleaseDC(h, dc);
    }
    const int margin = (100 - 16 - (measured.right - measured.left)) / 3;
    EXPECT_EQ(g.left - 2, margin);
    EXPECT_GE(text.left, g.right + 2 + margin);      // the ink starts after the spacing
    EXPECT_LE(text.left, g.right + 2 + margin + 2);
    EXPECT_LE(text.right, 100 - margin);
    // Pressed shows picture 3, disabled picture 2 in grey.
    pointerTo(h, 90, 50);
    leftButton(true);
    EXPECT_EQ(glyphAt(kGlyph[2]).right - glyphAt(kGlyph[2]).left, 12);
    pointerTo(form->Handle(), 300, 250);
    leftButton(false);
    b->SetEnabled(false);
    const int v = (0 + 0 + 210) / 3;
    RECT grey = glyphAt(RGB(v, v, v));
    EXPECT_EQ(grey.right - grey.left, 12);
    EXPECT_EQ(glyphAt(kGlyph[1]).right, 0);  // never in its own colours
}

TEST_F(SkinnedButtons, SpeedButtonDownFlatAndHot) {
    TBitmap glyph;
    makeGlyph(glyph, 4);
    auto* down = add<TSpeedButton>(20, 20, 40, 40);
    down->SetGlyph(&glyph);
    down->SetNumGlyphs(4);
    down->SetGroupIndex(1);
    down->SetDown(true);
    auto* flat = add<TSpeedButton>(80, 20, 40, 40);
    flat->SetFlat(true);
    flat->SetGlyph(&glyph);
    flat->SetNumGlyphs(4);
    for (auto* s : {down, flat}) {
        auto* k = new TSkinSpeedButton(s);
        k->AttachGraphic(s, sd.get(), nullptr, nullptr);
    }
    pointerTo(form->Handle(), 300, 250);
    appPump(80);
    HWND f = form->Handle();
    Image img = captureClient(f);
    EXPECT_EQ(img.colorAt(20 + 1, 20 + 1), kFrame[1]);  // down: frame 2
    RECT g = boxOf(img.crop(20, 20, 40, 40), kGlyph[3]);  // and glyph 4
    EXPECT_EQ(g.right - g.left, 12);
    EXPECT_EQ(img.colorAt(80 + 1, 20 + 1), face());  // flat, idle: background only
    EXPECT_EQ(boxOf(img.crop(80, 20, 40, 40), kGlyph[0]).right - boxOf(img.crop(80, 20, 40, 40), kGlyph[0]).left, 12);
    pointerTo(f, 100, 40);
    appPump(60);
    EXPECT_EQ(captureClient(f).colorAt(80 + 1, 20 + 1), kFrame[3]);  // hot
    leftButton(true);
    EXPECT_EQ(captureClient(f).colorAt(80 + 1, 20 + 1), kFrame[1]);
    leftButton(false);
    pointerTo(f, 300, 250);
    appPump(60);
    EXPECT_EQ(captureClient(f).colorAt(80 + 1, 20 + 1), face());
}

TEST_F(SkinnedButtons, MenuButtonArrow) {
    auto* m = add<TMenuButton>(20, 20, 100, 30, L"Menu");
    TSkinCreateArgs args;
    args.owner = m;
    TSkinControl* s = NewSkinControl(TSkinClass::BitButton, args);
    ASSERT_NE(dynamic_cast<TSkinMenuButton*>(s), nullptr);
    s->Attach(nullptr, sd.get(), false, nullptr);
    form->SetFocus();
    appPump(60);
    Image img = captureClient(m->Handle());
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    const int y = 30 / 2 + 2;
    EXPECT_EQ(img.colorAt(100 - 12, y), ink);      // the tip
    EXPECT_EQ(img.colorAt(100 - 15, y - 3), ink);  // top corners
    EXPECT_EQ(img.colorAt(100 - 9, y - 3), ink);
    EXPECT_EQ(img.colorAt(100 - 12, y + 2), kFrame[0]);
    EXPECT_EQ(img.colorAt(100 - 17, y - 3), kFrame[0]);
}

TEST_F(SkinnedButtons, CheckMarksAreStripFrames) {
    auto* c = add<TCheckBox>(20, 20, 120, 21, L"Check");
    auto* k = skin<TSkinCheckBox>(c);
    EXPECT_EQ(k->FKind, 1);
    form->SetFocus();
    HWND h = c->Handle();
    auto markIs = [&](COLORREF col) {
        appPump(60);
        Image img = captureClient(h);
        return countColour(img, RECT{0, 4, 13, 17}, col);
    };
    EXPECT_EQ(markIs(checkColour(1)), 169u);
    c->SetState(cbChecked);
    EXPECT_EQ(markIs(checkColour(2)), 169u);
    c->SetEnabled(false);
    EXPECT_EQ(markIs(checkColour(4)), 169u);
    c->SetState(cbUnchecked);
    EXPECT_EQ(markIs(checkColour(3)), 169u);
    c->SetState(cbGrayed);
    EXPECT_EQ(markIs(checkColour(4)), 169u);
    // A twelve-frame strip: one group of four per state.
    strip(e->CheckBitmap, 12, 13, 13, checkColour);
    e->CheckButtonFrame = 12;
    c->Invalidate();
    EXPECT_EQ(markIs(checkColour(12)), 169u);
    c->SetEnabled(true);
    EXPECT_EQ(markIs(checkColour(9)), 169u);
    c->SetState(cbChecked);
    EXPECT_EQ(markIs(checkColour(5)), 169u);
    c->SetEnabled(false);
    EXPECT_EQ(markIs(checkColour(8)), 169u);
    // A skin that gives no frame count: the whole strip is one picture, and nothing divides by zero.
    e->CheckButtonFrame = 0;
    c->Invalidate();
    EXPECT_GT(markIs(checkColour(1)), 0u);
    // The caption is drawn by the skin, beside the mark.
    Image img = captureClient(h);
    const size_t area = size_t(img.width - 15) * size_t(img.height);
    EXPECT_GT(area - countColour(img, RECT{15, 0, img.width, img.height}, face()), 10u);
}

TEST_F(SkinnedButtons, RadioMarksAreStripFrames) {
    auto* r = add<TRadioButton>(20, 20, 120, 21, L"Radio");
    auto* right = add<TRadioButton>(20, 60, 120, 21, L"Right");
    right->SetAlignment(taLeftJustify);
    skin<TSkinRadioButton>(r);
    skin<TSkinRadioButton>(right);
    form->SetFocus();
    auto markIs = [&](TRadioButton* b, int left, COLORREF col) {
        appPump(60);
        return countColour(captureClient(b->Handle()), RECT{left, 4, left + 13, 17}, col);
    };
    EXPECT_EQ(markIs(r, 0, radioColour(1)), 169u);
    r->SetChecked(true);
    EXPECT_EQ(markIs(r, 0, radioColour(2)), 169u);
    r->SetEnabled(false);
    EXPECT_EQ(markIs(r, 0, radioColour(4)), 169u);
    strip(e->RadioBitmap, 8, 13, 13, radioColour);
    e->RadioButtonFrame = 8;
    r->Invalidate();
    EXPECT_EQ(markIs(r, 0, radioColour(8)), 169u);
    r->SetEnabled(true);
    EXPECT_EQ(markIs(r, 0, radioColour(5)), 169u);
    // The mark on the right keeps the last column free.
    EXPECT_EQ(markIs(right, 120 - 14, radioColour(1)), 169u);
    EXPECT_EQ(countColour(captureClient(right->Handle()), RECT{119, 4, 120, 17}, radioColour(1)), 0u);
}

TEST_F(SkinnedButtons, ClicksToggleLikeTheUnskinnedTwin) {
    auto* plain = add<TCheckBox>(20, 20, 120, 21, L"Plain");
    auto* skinned = add<TCheckBox>(20, 50, 120, 21, L"Skinned");
    plain->SetAllowGrayed(true);
    skinned->SetAllowGrayed(true);
    skin<TSkinCheckBox>(skinned);
    TPanel* panels[2];
    TRadioButton* radios[2][3];
    for (int p = 0; p < 2; ++p) {
        panels[p] = add<TPanel>(160 + 110 * p, 20, 100, 100);
        for (int i = 0; i < 3; ++i) {
            radios[p][i] = new TRadioButton(form.get());
            radios[p][i]->SetParent(panels[p]);
            radios[p][i]->SetBounds(5, 5 + 30 * i, 90, 21);
            if (p == 1) skin<TSkinRadioButton>(radios[p][i]);
        }
    }
    appPump(60);
    std::vector<int> a, b;
    for (int i = 0; i < 4; ++i) {
        clickClient(plain->Handle(), 6, 10);
        clickClient(skinned->Handle(), 6, 10);
        a.push_back(plain->State());
        b.push_back(skinned->State());
    }
    pressKey(VK_SPACE);  // the focus is on the skinned one now
    b.push_back(skinned->State());
    plain->SetFocus();
    pressKey(VK_SPACE);
    a.push_back(plain->State());
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, (std::vector<int>{cbGrayed, cbChecked, cbUnchecked, cbGrayed, cbChecked}));
    for (int i : {2, 0, 1, 1}) {
        for (int p = 0; p < 2; ++p) clickClient(radios[p][i]->Handle(), 6, 10);
        int checked[2] = {0, 0};
        for (int p = 0; p < 2; ++p)
            for (int j = 0; j < 3; ++j) {
                checked[p] += radios[p][j]->Checked();
                EXPECT_EQ(radios[p][j]->Checked(), j == i);
            }
        EXPECT_EQ(checked[0], 1);
        EXPECT_EQ(checked[1], 1);
    }
    if (getenv("QS_SAVE_CAPTURES")) saveBmp(captureWindow(form->Handle()), L"buttons_twins.bmp");
    // The skinned marks follow: the checked radio shows frame 2.
    EXPECT_EQ(countColour(captureClient(radios[1][1]->Handle()), RECT{0, 4, 13, 17}, radioColour(2)), 169u);
}

TEST_F(SkinnedButtons, BareCheckBoxKeepsItsTextAndTakesTheMark) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"QsButtonsHost";
    RegisterClassW(&wc);
    HWND host = CreateWindowExW(0, L"QsButtonsHost", L"Host", WS_POPUP | WS_CAPTION | WS_VISIBLE, 500, 300, 300, 120,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND box = CreateWindowExW(0, L"BUTTON", L"Bare check", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 20, 20, 150, 21,
                               host, reinterpret_cast<HMENU>(5), GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(host);
    appPump(60);
    auto* s = new TSkinCheckBox(nullptr);
    s->AttachHandle(box, sd.get(), nullptr, nullptr);
    EXPECT_EQ(s->FKind, 0);
    appPump(80);
    Image img = captureClient(box);
    EXPECT_EQ(countColour(img, RECT{0, 4, 13, 17}, checkColour(1)), 169u);
    // The system's own caption is still there.
    EXPECT_GT(countColour(img, RECT{16, 0, 150, 21}, GetSysColor(COLOR_BTNTEXT)), 10u);
    clickClient(box, 6, 10);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    appPump(60);
    EXPECT_EQ(countColour(captureClient(box), RECT{0, 4, 13, 17}, checkColour(2)), 169u);
    delete s;
    DestroyWindow(host);
}

// Every kind in its states under each committed skin: the skin's own
// pictures replace the system look, and states look different from each
// other. QS_SAVE_CAPTURES=1 writes the page for a human to look at.
TEST(ButtonSkinGallery, CommittedSkinsDrawEveryKind) {
    Application->Initialize();
    for (const char* name : {"default", "dark", "rounded"}) {
        auto sd = loadCommittedSkin(name);
        ASSERT_NE(sd->Buttons(), nullptr) << name;
        auto form = shownForm(560, 260);
        TBitmap glyph;
        makeGlyph(glyph, 4);
        auto addButton = [&](int x, int y, bool enabled, bool skinned) {
            auto* b = new TButton(form.get());
            b->SetParent(form.get());
            b->SetBounds(x, y, 90, 28);
            b->SetCaption(enabled ? L"Push" : L"Off");
            b->SetEnabled(enabled);
            if (skinned) (new TSkinButton(b))->Attach(nullptr, sd.get(), false, nullptr);
            return b;
        };
        TButton* plain = addButton(10, 10, true, false);
        TButton* normal = addButton(110, 10, true, true);
        TButton* off = addButton(210, 10, false, true);
        auto* bit = new TBitBtn(form.get());
        bit->SetParent(form.get());
        bit->SetBounds(310, 10, 110, 40);
        bit->SetCaption(L"Glyph||two");
        bit->SetGlyph(&glyph);
        bit->SetNumGlyphs(4);
        (new TSkinBitButton(bit))->Attach(nullptr, sd.get(), false, nullptr);
        auto* menu = new TMenuButton(form.get());
        menu->SetParent(form.get());
        menu->SetBounds(430, 10, 110, 28);
        menu->SetCaption(L"Menu");
        (new TSkinMenuButton(menu))->Attach(nullptr, sd.get(), false, nullptr);
        for (int i = 0; i < 3; ++i) {
            auto* s = new TSpeedButton(form.get());
            s->SetParent(form.get());
            s->SetBounds(10 + 40 * i, 70, 34, 34);
            s->SetGlyph(&glyph);
            s->SetNumGlyphs(4);
            s->SetGroupIndex(i == 0 ? 1 : 0);
            s->SetDown(i == 0);
            s->SetFlat(i == 2);
            (new TSkinSpeedButton(s))->AttachGraphic(s, sd.get(), nullptr, nullptr);
        }
        const TCheckBoxState states[3] = {cbUnchecked, cbChecked, cbGrayed};
        for (int i = 0; i < 6; ++i) {
            auto* c = new TCheckBox(form.get());
            c->SetParent(form.get());
            c->SetBounds(140 + 130 * (i % 3), 70 + 30 * (i / 3), 120, 21);
            c->SetCaption(L"Check");
            c->SetState(states[i % 3]);
            c->SetEnabled(i < 3);
            (new TSkinCheckBox(c))->Attach(nullptr, sd.get(), false, nullptr);
        }
        auto* panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(10, 140, 540, 40);
        for (int i = 0; i < 4; ++i) {
            auto* r = new TRadioButton(form.get());
            r->SetParent(panel);
            r->SetBounds(5 + 130 * i, 10, 120, 21);
            r->SetCaption(i == 3 ? L"Off" : L"Radio");
            r->SetChecked(i == 1);
            r->SetEnabled(i != 3);
            (new TSkinRadioButton(r))->Attach(nullptr, sd.get(), false, nullptr);
        }
        form->SetFocus();
        appPump(120);
        Image a = captureClient(plain->Handle()), b = captureClient(normal->Handle()), c = captureClient(off->Handle());
        const size_t pixels = size_t(a.width) * size_t(a.height);
        EXPECT_GT(countDifferences(a, b, 8), pixels / 4) << name;  // the skin, not the system look
        EXPECT_GT(countDifferences(b, c, 8), pixels / 20) << name;  // disabled is its own frame
        if (getenv("QS_SAVE_CAPTURES"))
            saveBmp(captureWindow(form->Handle()), L"buttons_" + std::wstring(name, name + strlen(name)) + L".bmp");
    }
}

// The way a running program gets them: the form skin's activation classifies
// the children of a toolkit form and of a plain window with system buttons.
TEST_F(SkinnedButtons, ActivationAttachesEveryKind) {
    auto* b = add<TButton>(20, 20, 100, 30);
    auto* bit = add<TBitBtn>(140, 20, 100, 30);
    auto* menu = add<TMenuButton>(260, 20, 100, 30);
    auto* c = add<TCheckBox>(20, 70, 120, 21, L"Check");
    auto* r = add<TRadioButton>(160, 70, 120, 21, L"Radio");
    auto* s = add<TSpeedButton>(300, 70, 30, 30);
    auto fs = std::make_unique<TWinSkinForm>(nullptr);
    fs->FHandle = form->Handle();
    fs->FName = "TForm";
    fs->AttachForm(sd.get(), form.get());
    PostMessageW(form->Handle(), WM_SKIN_ACTIVATE, 0, kSkinActivateParam);
    appPump(100);
    for (TWinControl* w : std::initializer_list<TWinControl*>{b, bit, menu, c, r})
        EXPECT_EQ(SendMessageW(w->Handle(), WM_SKIN_QUERY, 0, 0), 1) << w->ClassName();
    EXPECT_NE(dynamic_cast<TSkinMenuButton*>(FindSkinByControl(fs.get(), menu)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinSpeedButton*>(FindSkinByControl(fs.get(), s)), nullptr);
    form->SetFocus();
    appPump(60);
    EXPECT_EQ(at(b->Handle(), 5, 5), kFrame[0]);
    EXPECT_EQ(at(bit->Handle(), 5, 5), kFrame[0]);
    EXPECT_EQ(countColour(captureClient(c->Handle()), RECT{0, 4, 13, 17}, checkColour(1)), 169u);
    EXPECT_EQ(countColour(captureClient(r->Handle()), RECT{0, 4, 13, 17}, radioColour(1)), 169u);
    EXPECT_EQ(captureClient(form->Handle()).colorAt(302, 72), kFrame[0]);
    fs.reset();

    SetCursorPos(5, 5);  // nothing of the host under the pointer: no hot frames
    HWND host = CreateWindowExW(0, L"QsButtonsHost2", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300, 320, 160,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!host) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"QsButtonsHost2";
        RegisterClassW(&wc);
        host = CreateWindowExW(0, L"QsButtonsHost2", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 500, 300, 320, 160,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    auto child = [&](const wchar_t* text, DWORD style, int y) {
        return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | style, 10, y, 150, 24, host, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    };
    HWND push = child(L"Push", BS_PUSHBUTTON, 10), check = child(L"Check", BS_AUTOCHECKBOX, 40),
         radio = child(L"Radio", BS_AUTORADIOBUTTON, 70), owner = child(L"Owner", BS_OWNERDRAW, 100);
    auto hs = skinWindow(host, *sd);
    appPump(100);
    EXPECT_TRUE(dynamic_cast<TSkinButton*>(FindSkinByHandle(hs.get(), push)));
    EXPECT_TRUE(dynamic_cast<TSkinCheckBox*>(FindSkinByHandle(hs.get(), check)));
    EXPECT_TRUE(dynamic_cast<TSkinRadioButton*>(FindSkinByHandle(hs.get(), radio)));
    EXPECT_EQ(FindSkinByHandle(hs.get(), owner), nullptr);
    EXPECT_EQ(at(push, 5, 5), kFrame[0]);
    EXPECT_EQ(countColour(captureClient(check), RECT{0, 5, 13, 18}, checkColour(1)), 169u);
    EXPECT_EQ(countColour(captureClient(radio), RECT{0, 5, 13, 18}, radioColour(1)), 169u);
    hs.reset();
    DestroyWindow(host);
}
