// The toolkit's buttons, check boxes and radio buttons, unskinned, under
// Wine + Xvfb with the real pointer and keyboard.
#include <gtest/gtest.h>
#include <windows.h>

#include "Application.h"
#include "Buttons.h"
#include "StdCtrlsButtons.h"
#include "ExtCtrls.h"
#include "test_buttons_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Buttons : ::testing::Test {
    std::unique_ptr<TForm> form;
    void SetUp() override {
        Application->Initialize();
        form = shownForm();
    }
    void TearDown() override { form.reset(); }
};

}  // namespace

TEST(ButtonLayout, MarginAndSpacingRules) {
    const SIZE client{100, 30}, glyph{16, 16}, text{40, 13};
    // Both automatic: three equal gaps.
    TGlyphLayout a = CalcGlyphLayout(client, glyph, text, blGlyphLeft, -1, -1);
    EXPECT_EQ(a.Margin, 14);
    EXPECT_EQ(a.Spacing, 14);
    EXPECT_EQ(a.GlyphPos.x, 14);
    EXPECT_EQ(a.TextPos.x, 14 + 16 + 14);
    EXPECT_EQ(a.GlyphPos.y, 7);
    EXPECT_EQ(a.TextPos.y, 9);
    // Spacing given: the pair is centred; a tool button sits one pixel further in.
    EXPECT_EQ(CalcGlyphLayout(client, glyph, text, blGlyphLeft, -1, 4).Margin, 20);
    EXPECT_EQ(CalcGlyphLayout(client, glyph, text, blGlyphLeft, -1, 4, false, true).Margin, 21);
    // Centre wins over a given margin.
    EXPECT_EQ(CalcGlyphLayout(client, glyph, text, blGlyphLeft, 3, 4, true).GlyphPos.x, 20);
    // Margin given, spacing automatic: the text is centred in what is left.
    TGlyphLayout m = CalcGlyphLayout(client, glyph, text, blGlyphLeft, 5, -1);
    EXPECT_EQ(m.GlyphPos.x, 5);
    EXPECT_EQ(m.Spacing, (100 - 21 - 40) / 2);
    // From the right, the top and the bottom.
    TGlyphLayout r = CalcGlyphLayout(client, glyph, text, blGlyphRight, 5, 4);
    EXPECT_EQ(r.GlyphPos.x, 100 - 5 - 16);
    EXPECT_EQ(r.TextPos.x, 100 - 5 - 16 - 4 - 40);
    EXPECT_EQ(r.TextFlags, UINT(DT_WORDBREAK | DT_RIGHT));
    TGlyphLayout t = CalcGlyphLayout(SIZE{60, 80}, glyph, text, blGlyphTop, 5, 4);
    EXPECT_EQ(t.GlyphPos.y, 5);
    EXPECT_EQ(t.TextPos.y, 5 + 16 + 4);
    EXPECT_EQ(t.GlyphPos.x, (60 - 16 + 1) / 2);
    TGlyphLayout b = CalcGlyphLayout(SIZE{60, 80}, glyph, text, blGlyphBottom, 5, 4);
    EXPECT_EQ(b.GlyphPos.y, 80 - 5 - 16);
    EXPECT_EQ(b.TextPos.y, 80 - 5 - 16 - 4 - 13);
    // No caption: no spacing, the glyph alone is centred.
    TGlyphLayout g = CalcGlyphLayout(client, glyph, SIZE{0, 0}, blGlyphLeft, -1, 4);
    EXPECT_EQ(g.Spacing, 0);
    EXPECT_EQ(g.GlyphPos.x, 42);
}

TEST_F(Buttons, PushButtonClicksOnReleaseInsideAndOnKeys) {
    auto* b = new TButton(form.get());
    b->SetParent(form.get());
    b->SetBounds(20, 20, 90, 30);
    b->SetCaption(L"Press");
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    appPump(50);
    HWND h = b->Handle();
    // Pressed, dragged off and released outside: no click.
    pointerTo(h, 40, 15);
    leftButton(true);
    pointerTo(h, 200, 15);
    leftButton(false);
    EXPECT_EQ(clicks, 0);
    // Released inside: exactly one.
    clickClient(h, 40, 15);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b->Focused());
    pressKey(VK_SPACE);
    EXPECT_EQ(clicks, 2);
    pressKey(VK_RETURN);
    EXPECT_EQ(clicks, 3);
    // A disabled button takes neither.
    b->SetEnabled(false);
    clickClient(h, 40, 15);
    EXPECT_EQ(clicks, 3);
    // The modal result goes to the form.
    b->SetEnabled(true);
    b->SetModalResult(mrOk);
    b->Click();
    EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(Buttons, CheckBoxWalksItsStates) {
    auto* c = new TCheckBox(form.get());
    c->SetParent(form.get());
    c->SetBounds(20, 20, 120, 20);
    c->SetCaption(L"Option");
    int clicks = 0;
    c->OnClick = [&](TObject*) { ++clicks; };
    HWND h = c->Handle();
    appPump(40);
    clickClient(h, 6, 10);
    EXPECT_EQ(c->State(), cbChecked);
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_CHECKED);
    clickClient(h, 6, 10);
    EXPECT_EQ(c->State(), cbUnchecked);
    c->SetAllowGrayed(true);
    pressKey(VK_SPACE);
    EXPECT_EQ(c->State(), cbGrayed);
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    pressKey(VK_SPACE);
    EXPECT_EQ(c->State(), cbChecked);
    pressKey(VK_SPACE);
    EXPECT_EQ(c->State(), cbUnchecked);
    EXPECT_EQ(clicks, 5);
    // Set from code: the mark follows, no click event.
    c->SetState(cbGrayed);
    EXPECT_EQ(SendMessageW(h, BM_GETCHECK, 0, 0), BST_INDETERMINATE);
    EXPECT_EQ(clicks, 5);
    // And by name, as a form definition sets it.
    ASSERT_TRUE(SetPropValue(c, "State", std::string("cbChecked")));
    EXPECT_TRUE(c->Checked());
    EXPECT_EQ(GetEnumProp(c, "State"), "cbChecked");
    EXPECT_FALSE(SetPropValue(c, "Alignment", std::string("taCenter")));
}

TEST_F(Buttons, RadioButtonsKeepOneCheckedPerParent) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 200, 100);
    TRadioButton* r[3];
    for (int i = 0; i < 3; ++i) {
        r[i] = new TRadioButton(form.get());
        r[i]->SetParent(panel);
        r[i]->SetBounds(10, 10 + 25 * i, 120, 20);
        r[i]->SetCaption(L"Choice");
    }
    auto* outside = new TRadioButton(form.get());
    outside->SetParent(form.get());
    outside->SetBounds(230, 20, 120, 20);
    outside->SetChecked(true);
    int changes = 0;
    for (auto* x : r) x->OnClick = [&](TObject*) { ++changes; };
    appPump(40);
    clickClient(r[1]->Handle(), 6, 10);
    EXPECT_TRUE(r[1]->Checked());
    EXPECT_FALSE(r[0]->Checked());
    EXPECT_TRUE(outside->Checked());  // another parent, another group
    clickClient(r[0]->Handle(), 6, 10);
    EXPECT_TRUE(r[0]->Checked());
    EXPECT_FALSE(r[1]->Checked());
    EXPECT_EQ(SendMessageW(r[1]->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    // Arrows walk the group, wrapping, and check where they land.
    pressKey(VK_DOWN);
    EXPECT_TRUE(r[1]->Checked());
    EXPECT_TRUE(r[1]->Focused());
    pressKey(VK_UP);
    pressKey(VK_UP);
    EXPECT_TRUE(r[2]->Checked());
    EXPECT_FALSE(r[0]->Checked() || r[1]->Checked());
    EXPECT_GE(changes, 5);
}

TEST_F(Buttons, SpeedButtonsClickAndGroup) {
    TSpeedButton* s[2];
    for (int i = 0; i < 2; ++i) {
        s[i] = new TSpeedButton(form.get());
        s[i]->SetParent(form.get());
        s[i]->SetBounds(20 + 40 * i, 20, 30, 30);
    }
    int clicks = 0;
    s[0]->OnClick = [&](TObject*) { ++clicks; };
    appPump(40);
    HWND f = form->Handle();
    // Press, leave, release outside: nothing.
    pointerTo(f, 30, 30);
    leftButton(true);
    EXPECT_TRUE(s[0]->Pressed());
    pointerTo(f, 300, 200);
    EXPECT_FALSE(s[0]->Pressed());
    leftButton(false);
    EXPECT_EQ(clicks, 0);
    clickClient(f, 30, 30);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(s[0]->Down());  // no group: never stays down
    s[0]->SetDown(true);
    EXPECT_FALSE(s[0]->Down());
    // A group: one down at a time, the last one stays down.
    s[0]->SetGroupIndex(1);
    s[1]->SetGroupIndex(1);
    clickClient(f, 30, 30);
    EXPECT_TRUE(s[0]->Down());
    clickClient(f, 70, 30);
    EXPECT_TRUE(s[1]->Down());
    EXPECT_FALSE(s[0]->Down());
    clickClient(f, 70, 30);
    EXPECT_TRUE(s[1]->Down());
    s[0]->SetAllowAllUp(true);
    s[1]->SetAllowAllUp(true);
    clickClient(f, 70, 30);
    EXPECT_FALSE(s[1]->Down());
}

TEST_F(Buttons, BitButtonGlyphPlacesAndGreys) {
    const COLORREF colours[2] = {RGB(200, 0, 0), RGB(0, 0, 210)};
    TBitmap glyph;
    glyphKeyed(glyph, 2, colours);
    auto* b = new TBitBtn(form.get());
    b->SetParent(form.get());
    b->SetBounds(20, 20, 100, 60);
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(2);
    b->SetMargin(5);
    appPump(60);
    HWND h = b->Handle();
    struct Case {
        TButtonLayout layout;
        LONG x, y;
    } cases[] = {{blGlyphLeft, 5, 22}, {blGlyphRight, 100 - 5 - 16, 22}, {blGlyphTop, 42, 5}, {blGlyphBottom, 42, 60 - 5 - 16}};
    for (auto& c : cases) {
        b->SetLayout(c.layout);
        appPump(60);
        RECT box = boxOf(captureClient(h), colours[0]);
        EXPECT_EQ(box.left, c.x + 2) << c.layout;
        EXPECT_EQ(box.top, c.y + 2) << c.layout;
        EXPECT_EQ(box.right - box.left, 12) << c.layout;
    }
    // With a caption the glyph keeps its margin and the text sits beside it.
    b->SetLayout(blGlyphLeft);
    b->SetCaption(L"Go");
    appPump(60);
    Image img = captureClient(h);
    EXPECT_EQ(boxOf(img, colours[0]).left, 5 + 2);
    RECT dark = boxOf(img, GetSysColor(COLOR_BTNTEXT));
    EXPECT_GE(dark.left, 5 + 16);
    // Disabled: picture 2, in grey.
    b->SetEnabled(false);
    appPump(60);
    img = captureClient(h);
    EXPECT_EQ(boxOf(img, colours[0]).right, 0);
    const int g = (0 + 0 + 210) / 3;
    RECT grey = boxOf(img, RGB(g, g, g));
    EXPECT_EQ(grey.left, 7);
    EXPECT_EQ(grey.right - grey.left, 12);
    if (getenv("QS_SAVE_CAPTURES")) {
        // The other kinds beside it, unskinned, for a human to look at.
        auto* m = new TMenuButton(form.get());
        m->SetParent(form.get());
        m->SetBounds(140, 20, 100, 30);
        m->SetCaption(L"Menu");
        auto* s = new TSpeedButton(form.get());
        s->SetParent(form.get());
        s->SetBounds(260, 20, 40, 40);
        s->SetGlyph(&glyph);
        s->SetNumGlyphs(2);
        s->SetGroupIndex(1);
        s->SetDown(true);
        auto* c = new TCheckBox(form.get());
        c->SetParent(form.get());
        c->SetBounds(20, 100, 120, 20);
        c->SetCaption(L"Grayed");
        c->SetState(cbGrayed);
        auto* r = new TRadioButton(form.get());
        r->SetParent(form.get());
        r->SetBounds(160, 100, 120, 20);
        r->SetCaption(L"Radio");
        r->SetChecked(true);
        appPump(80);
        saveBmp(captureWindow(form->Handle()), L"toolkit_buttons.bmp");
    }
}

TEST(ButtonClasses, RegisteredAndPublishedByName) {
    Application->Initialize();
    for (const char* name : {"TButton", "TBitBtn", "TMenuButton", "TSpeedButton", "TCheckBox", "TRadioButton"}) {
        const TClassInfo* c = FindClass(name);
        ASSERT_NE(c, nullptr) << name;
        ASSERT_TRUE(c->create) << name;
        std::unique_ptr<TComponent> made(c->create(nullptr));
        EXPECT_EQ(made->ClassName(), name);
    }
    TBitBtn b(nullptr);
    EXPECT_TRUE(SetPropValue(&b, "Layout", std::string("blGlyphTop")));
    EXPECT_EQ(b.Layout(), blGlyphTop);
    EXPECT_TRUE(SetPropValue(&b, "Kind", std::string("bkCancel")));
    EXPECT_EQ(b.Caption(), L"Cancel");
    EXPECT_EQ(b.ModalResult(), mrCancel);
    EXPECT_TRUE(b.Cancel());
    EXPECT_EQ(GetIntProp(&b, "Margin", 0), -1);
    EXPECT_FALSE(SetPropValue(&b, "NumGlyphs", int64_t(5)));
    EXPECT_TRUE(b.InheritsFrom(TButton::StaticClassInfo()));
    TSpeedButton s(nullptr);
    EXPECT_TRUE(s.InheritsFrom(TGraphicControl::StaticClassInfo()));
    EXPECT_EQ(GetObjectProp(&s, "Glyph"), s.Glyph());
    TCheckBox cb(nullptr);
    EXPECT_TRUE(cb.InheritsFrom(TButtonControl::StaticClassInfo()));
}
