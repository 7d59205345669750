// Tab and page controls, the tab set and their skins on real windows: pixels
// read back per tab orientation, tabs chosen with the real mouse and with
// Ctrl+Tab (skinned and not), the tab window's own arrows, close boxes.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <climits>
#include <memory>
#include <string>

#include "ComCtrlsTabs.h"
#include "SkinCreate.h"
#include "SkinObjImage.h"
#include "SkinTab.h"
#include "StdCtrlsEdit.h"
#include "core/FormReader.h"
#include "test_tabs_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Registered {
    Registered() { Application->Initialize(); }
};
const Registered g_registered;

TPageControl* addPages(TForm& form, int count, RECT bounds, TTabPosition pos = tpTop) {
    auto* pc = new TPageControl(&form);
    pc->SetParent(&form);
    pc->SetTabPosition(pos);
    pc->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    for (int i = 0; i < count; ++i) pc->AddPage(L"Page " + std::to_wstring(i + 1));
    return pc;
}

void saveShot(const Image& img, const std::wstring& name) {
    wchar_t dir[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"QS_SHOTS", dir, MAX_PATH)) saveBmp(img, std::wstring(dir) + L"\\" + name + L".bmp");
}

RECT centreBox(const RECT& r, int half) {
    const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    return RECT{x - half, y - half, x + half, y + half};
}

}  // namespace

TEST(TabControls, ReadFromADefinition) {
    TForm form(nullptr);
    ReadForm(&form, R"(object F: TForm
  object PC: TPageControl
    Width = 300
    Height = 200
    TabPosition = tpBottom
    ActivePage = Second
    object First: TTabSheet
      Caption = 'One'
    end
    object Second: TTabSheet
      Caption = 'Two'
    end
    object Hidden: TTabSheet
      Caption = 'Three'
      TabVisible = False
    end
  end
  object TC: TTabControl
    Tabs = ('Alpha' 'Beta' 'Gamma')
    TabIndex = 2
    Style = tsButtons
  end
  object TS: TTabSet
    Tabs = ('A' 'B')
    TabIndex = 1
    StartMargin = 8
  end
  object HC: THeaderControl
    Sections = <
      item
        Text = 'Name'
        Width = 120
      end
      item
        Text = 'Size'
        Alignment = taRightJustify
      end>
  end
  object LV: TListView
    ViewStyle = vsReport
    Columns = <
      item
        Caption = 'Col'
        Width = 90
      end>
  end
  object GC: TGlyphCheckBox
    Checked = True
  end
end
)");
    auto* pc = dynamic_cast<TPageControl*>(form.FindComponent("PC"));
    auto* tc = dynamic_cast<TTabControl*>(form.FindComponent("TC"));
    auto* ts = dynamic_cast<TTabSet*>(form.FindComponent("TS"));
    auto* hc = dynamic_cast<THeaderControl*>(form.FindComponent("HC"));
    auto* lv = dynamic_cast<TListView*>(form.FindComponent("LV"));
    auto* gc = dynamic_cast<TGlyphCheckBox*>(form.FindComponent("GC"));
    ASSERT_TRUE(pc && tc && ts && hc && lv && gc);
    ASSERT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->ActivePage(), form.FindComponent("Second"));
    EXPECT_EQ(pc->TabPosition(), tpBottom);
    // The hidden sheet has no tab; the window shows the other two.
    EXPECT_EQ(pc->Pages(2)->TabIndex(), -1);
    EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(pc->TabIndex(), 1);
    EXPECT_TRUE(pc->Pages(1)->Visible());
    EXPECT_FALSE(pc->Pages(0)->Visible());
    EXPECT_EQ(tc->Tabs().size(), 3u);
    EXPECT_EQ(tc->TabIndex(), 2);
    EXPECT_TRUE(GetWindowLongPtrW(tc->Handle(), GWL_STYLE) & TCS_BUTTONS);
    EXPECT_EQ(ts->TabIndex(), 1);
    EXPECT_EQ(ts->StartMargin(), 8);
    EXPECT_EQ(ts->Scroller(), ts->Components().front());
    ASSERT_EQ(hc->Sections()->Count(), 2);
    EXPECT_EQ(SendMessageW(hc->Handle(), HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(hc->Sections()->At(0)->Width(), 120);
    EXPECT_EQ(lv->ViewStyle(), vsReport);
    EXPECT_NE(lv->HeaderHandle(), nullptr);
    EXPECT_EQ(lv->Columns()->At(0)->Width(), 90);
    EXPECT_TRUE(gc->Checked());
    // A tab index past the end is refused and changes nothing.
    EXPECT_FALSE(SetPropValue(tc, "TabIndex", TPropValue(int64_t(7))));
    EXPECT_EQ(tc->TabIndex(), 2);
}

TEST(TabControls, FreeingTheActivePageShowsAnotherAndTheTabsFollow) {
    auto form = makeShownForm();
    TPageControl* pc = addPages(*form, 3, RECT{10, 10, 300, 200});
    pc->SetActivePageIndex(1);
    delete pc->Pages(1);
    ASSERT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    ASSERT_NE(pc->ActivePage(), nullptr);
    EXPECT_TRUE(pc->ActivePage()->Visible());
    EXPECT_EQ(pc->TabIndex(), pc->ActivePage()->TabIndex());
    // Freeing the control first leaves sheets that can still be freed.
    TTabSheet* survivor = pc->Pages(0);
    delete pc;
    EXPECT_EQ(survivor->PageControl(), nullptr);
    delete survivor;
}

// Mouse and Ctrl+Tab choose pages the same way with and without the skin.
class PageChoice : public ::testing::TestWithParam<bool> {};

TEST_P(PageChoice, MouseAndCtrlTabMoveBetweenPages) {
    const bool skinned = GetParam();
    auto sd = tabSkin();
    auto form = makeShownForm(420, 300);
    TPageControl* pc = addPages(*form, 3, RECT{10, 10, 360, 220});
    auto* edit = new TEdit(form.get());
    edit->SetParent(pc->Pages(0));
    edit->SetBounds(10, 10, 100, 22);
    if (skinned) (new TSkinTab(pc))->Attach(nullptr, sd.get(), false, nullptr);
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    pumpApp(60);

    RECT t2 = pc->TabRect(2);
    clickAt(pc->Handle(), (t2.left + t2.right) / 2, (t2.top + t2.bottom) / 2);
    pumpApp(60);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_TRUE(pc->Pages(2)->Visible());
    EXPECT_FALSE(pc->Pages(0)->Visible());
    EXPECT_EQ(changes, 1);

    // From a control on a page: Ctrl+Tab wraps to the first page.
    pc->SetActivePageIndex(0);
    edit->SetFocus();
    pumpApp(40);
    ASSERT_EQ(GetFocus(), edit->Handle());
    ctrlTab();
    EXPECT_EQ(pc->ActivePageIndex(), 1);
    ctrlTab(true);
    ctrlTab(true);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 4);
    // A listener can keep the page.
    pc->OnChanging = [](TObject*, bool& allow) { allow = false; };
    ctrlTab();
    EXPECT_EQ(pc->ActivePageIndex(), 2);
}

INSTANTIATE_TEST_SUITE_P(SkinnedOrNot, PageChoice, ::testing::Values(false, true));

TEST(SkinTab, SelectedTabIsFrameTwoOthersFrameOneOnEverySide) {
    auto sd = tabSkin();
    auto form = makeShownForm(460, 320);
    const TTabPosition positions[4] = {tpTop, tpBottom, tpLeft, tpRight};
    const wchar_t* names[4] = {L"tabs_top", L"tabs_bottom", L"tabs_left", L"tabs_right"};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        TPageControl* pc = addPages(*form, 3, RECT{10, 10, 400, 260}, positions[k]);
        pc->SetActivePageIndex(1);
        auto* skin = new TSkinTab(pc);
        skin->Attach(nullptr, sd.get(), false, nullptr);
        EXPECT_EQ(skin->FOrientation, k);
        Image img = shotOf(pc->Handle());
        saveShot(img, names[k]);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            RECT t = pc->TabRect(i);
            ASSERT_GT(area(t), 100);
            // Inset by two: right-hand tabs are placed a pixel higher.
            RECT in = t;
            InflateRect(&in, -2, -2);
            const size_t sel = countColour(img, in, ref(kTabSelected));
            const size_t normal = countColour(img, in, ref(kTabNormal));
            if (i == 1) {
                EXPECT_GT(sel, size_t(area(in)) / 2);
                EXPECT_EQ(normal, 0u);
            } else {
                EXPECT_GT(normal, size_t(area(in)) / 2);
                EXPECT_EQ(sel, 0u);
            }
            // The caption is there, running along the tab: sideways on the
            // left and right, across on top and bottom.
            RECT text = boundsOf(img, in, GetSysColor(COLOR_BTNTEXT));
            ASSERT_GT(area(text), 0);
            const bool sideways = k >= 2;
            const int along = sideways ? text.bottom - text.top : text.right - text.left;
            const int across = sideways ? text.right - text.left : text.bottom - text.top;
            EXPECT_GE(along, 20);  // the whole caption, not an ellipsis
            EXPECT_LT(across, along);
        }
        // The pane's border picture around the page.
        RECT d = pc->DisplayRect();
        EXPECT_EQ(img.colorAt(d.left - 2, (d.top + d.bottom) / 2), ref(kPane));
        EXPECT_EQ(img.colorAt((d.left + d.right) / 2, d.bottom + 1), ref(kPane));
        delete pc;
    }
}

TEST(SkinTab, ArrowsOfATooNarrowStripAreSkinnedLeftVisibleAndScroll) {
    auto sd = tabSkin();
    auto form = makeShownForm(420, 300);
    auto* tc = new TTabControl(form.get());
    tc->SetParent(form.get());
    tc->SetBounds(10, 10, 240, 120);
    std::vector<std::wstring> tabs;
    for (int i = 0; i < 12; ++i) tabs.push_back(L"Tab number " + std::to_wstring(i));
    tc->SetTabs(tabs);
    auto* skin = new TSkinTab(tc);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpApp(60);
    Image img = shotOf(tc->Handle());
    HWND arrows = FindWindowExW(tc->Handle(), nullptr, UPDOWN_CLASSW, nullptr);
    ASSERT_NE(arrows, nullptr);
    ASSERT_TRUE(IsWindowVisible(arrows));
    EXPECT_NE(skin->FUpDown, nullptr);
    EXPECT_EQ(SendMessageW(arrows, 0x3523, 0, 0), 1);
    saveShot(img, L"tabs_scroller");
    RECT ar{};
    GetWindowRect(arrows, &ar);
    MapWindowPoints(HWND_DESKTOP, tc->Handle(), reinterpret_cast<POINT*>(&ar), 2);
    // The strip went around the arrows.
    EXPECT_EQ(countColour(img, ar, ref(kTabNormal)) + countColour(img, ar, ref(kTabSelected)), 0u);
    EXPECT_GT(countColour(img, RECT{0, 0, ar.left, ar.bottom}, ref(kTabNormal)), 0u);

    const int before = tc->IndexOfTabAt(5, 10);
    EXPECT_EQ(before, 0);
    // The right-hand arrow pages one tab on.
    clickAt(arrows, (ar.right - ar.left) * 3 / 4, (ar.bottom - ar.top) / 2);
    pumpApp(60);
    EXPECT_EQ(tc->IndexOfTabAt(5, 10), 1);
    img = shotOf(tc->Handle());
    RECT first = tc->TabRect(1);
    InflateRect(&first, -2, -2);
    EXPECT_GT(countColour(img, first, ref(kTabNormal)), size_t(area(first)) / 2);
    // A click on a tab still chooses it.
    RECT t2 = tc->TabRect(2);
    clickAt(tc->Handle(), t2.left + 6, (t2.top + t2.bottom) / 2);
    EXPECT_EQ(tc->TabIndex(), 2);
}

struct CloseBoxes : ::testing::Test {
    std::unique_ptr<TSkinData> sd = tabSkin();
    std::unique_ptr<TForm> form = makeShownForm(420, 300);
    TPageControl* pc = nullptr;
    TSkinTab* skin = nullptr;
    std::vector<std::pair<WPARAM, LPARAM>> asked;
    LRESULT answer = 0;

    void SetUp() override {
        form->SetMessageHandler(WM_SKIN_TAB_CLOSE, [this](TMessage& m) {
            asked.push_back({m.WParam, m.LParam});
            m.Result = answer;
        });
        pc = addPages(*form, 3, RECT{10, 10, 360, 220});
        pc->SetTag(kTabCloseBoxTag);
        skin = new TSkinTab(pc);
        skin->Attach(nullptr, sd.get(), false, nullptr);
        shotOf(pc->Handle());
    }
    POINT boxCentre(int i) const {
        const RECT& r = skin->FCloseRects[size_t(i)];
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

TEST_F(CloseBoxes, EachTabShowsABoxInsideItsOwnRectangle) {
    ASSERT_TRUE(skin->FCloseButtons);
    ASSERT_EQ(skin->FCloseRects.size(), 3u);
    // The cross is drawn in its tab's text colour (the system's button text
    // would vanish on a dark tab).
    constexpr COLORREF kNormalText = RGB(255, 255, 255), kSelectedText = RGB(255, 255, 0);
    sd->Tabs()->NormalColour2 = int32_t(kNormalText);
    sd->Tabs()->MouseOverColour2 = int32_t(kSelectedText);
    Image img = shotOf(pc->Handle());
    saveShot(img, L"tabs_close");
    for (int i = 0; i < 3; ++i) {
        RECT box = skin->FCloseRects[size_t(i)];
        RECT tab = pc->TabRect(i);
        RECT both{};
        EXPECT_TRUE(IntersectRect(&both, &box, &tab) && EqualRect(&both, &box)) << i;
        EXPECT_GE(countColour(img, box, i == 0 ? kSelectedText : kNormalText), 12u) << i;
        EXPECT_EQ(countColour(img, box, GetSysColor(COLOR_BTNTEXT)), 0u) << i;
    }
    // Without the Tag, or on a tab control that has no pages to free: no boxes.
    auto* plain = new TTabControl(form.get());
    plain->SetParent(form.get());
    plain->SetTag(kTabCloseBoxTag);
    plain->SetBounds(10, 230, 200, 60);
    plain->SetTabs({L"a", L"b"});
    auto* other = new TSkinTab(plain);
    other->Attach(nullptr, sd.get(), false, nullptr);
    EXPECT_FALSE(other->FCloseButtons);
}

TEST_F(CloseBoxes, AClickAsksTheFormAndAZeroAnswerFreesThePage) {
    TTabSheet* second = pc->Pages(1);
    second->SetName("Second");
    POINT p = boxCentre(1);
    clickAt(pc->Handle(), p.x, p.y);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].first, WPARAM(pc->Handle()));
    EXPECT_EQ(asked[0].second, 1);
    EXPECT_EQ(pc->PageCount(), 2);
    EXPECT_EQ(form->FindComponent("Second"), nullptr);
    EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
}

TEST_F(CloseBoxes, ANonZeroAnswerKeepsThePageAndAClickBesideTheBoxSelects) {
    answer = 1;
    POINT p = boxCentre(2);
    clickAt(pc->Handle(), p.x, p.y);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].second, 2);
    EXPECT_EQ(pc->PageCount(), 3);
    // The click on the box did not choose the tab either.
    EXPECT_EQ(pc->ActivePageIndex(), 0);
    RECT t = pc->TabRect(2);
    clickAt(pc->Handle(), t.left + 5, (t.top + t.bottom) / 2);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
}

TEST(SkinTabBtn, ButtonTabsFromTheButtonsStripAndThePageAreaLeftAlone) {
    auto sd = tabSkin();
    auto form = makeShownForm(420, 300);
    auto* tc = new TTabControl(form.get());
    tc->SetParent(form.get());
    tc->SetStyle(tsButtons);
    tc->SetBounds(10, 10, 300, 150);
    tc->SetTabs({L"One", L"Two", L"Three"});
    tc->SetTabIndex(0);
    auto* skin = new TSkinTabBtn(tc);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    Image img = shotOf(tc->Handle());
    saveShot(img, L"tabs_buttons");
    for (int i = 0; i < 3; ++i) {
        RECT t = tc->TabRect(i);
        OffsetRect(&t, 0, 1);
        InflateRect(&t, -2, -2);
        const uint32_t want = i == 0 ? kBtnDown : kBtnNormal;
        EXPECT_GT(countColour(img, t, ref(want)), size_t(area(t)) / 2) << i;
    }
    // Below the buttons the control keeps its own look.
    RECT d = tc->DisplayRect();
    RECT inner = centreBox(d, 10);
    EXPECT_EQ(countColour(img, inner, ref(kBtnNormal)) + countColour(img, inner, ref(kBtnDown)), 0u);
    // Choosing another tab moves the pressed frame.
    RECT t2 = tc->TabRect(2);
    clickAt(tc->Handle(), (t2.left + t2.right) / 2, (t2.top + t2.bottom) / 2);
    img = shotOf(tc->Handle());
    OffsetRect(&t2, 0, 1);
    InflateRect(&t2, -2, -2);
    EXPECT_GT(countColour(img, t2, ref(kBtnDown)), size_t(area(t2)) / 2);
}

// A skin without a button picture still shows button tabs: raised, the chosen
// one sunk, with their texts in the skin's text colour.
TEST(SkinTabBtn, WithoutAButtonPictureTheTabsAreStillDrawn) {
    SkinBuilder b;
    b.text("[Tabs]\nImage=tabs.bmp");
    b.image("tabs.bmp", stripImage(20, 20, {kTabNormal, kTabSelected, kTabOther, kTabOther, kTabOther}));
    auto sd = loadTestSkin(b);
    ASSERT_TRUE(!sd->Buttons() || sd->Buttons()->Bitmap.Empty());
    constexpr COLORREF kText = RGB(200, 0, 90);
    sd->ButtonText = int32_t(kText);
    auto form = makeShownForm(420, 300);
    auto* tc = new TTabControl(form.get());
    tc->SetParent(form.get());
    tc->SetStyle(tsButtons);
    tc->SetBounds(10, 10, 300, 150);
    tc->SetTabs({L"MMMM", L"WWWW"});
    tc->SetTabIndex(0);
    auto* skin = new TSkinTabBtn(tc);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    Image img = shotOf(tc->Handle());
    saveShot(img, L"tabs_buttons_no_picture");
    for (int i = 0; i < 2; ++i) {
        RECT t = tc->TabRect(i);
        OffsetRect(&t, 0, 1);
        EXPECT_GT(countColour(img, t, kText), 10u) << i;
        EXPECT_GT(countColour(img, t, GetSysColor(COLOR_BTNSHADOW)), size_t(t.right - t.left)) << i;
    }
}

TEST(SkinTab31, TabSetDrawsTheFlippedStripAndSkipsTabsThatDoNotFit) {
    // Top half and bottom half of each frame differ, so the flip shows.
    SkinBuilder b;
    b.text("[Tabs]\nImage=tabs.bmp");
    PixelImage strip = stripImage(20, 20, {kTabNormal, kTabSelected, kTabOther, kTabOther, kTabOther});
    for (int y = 10; y < 20; ++y)
        for (int x = 0; x < 100; ++x) strip.at(x, y) = x < 20 ? 0x000080 : x < 40 ? 0x800000 : kTabOther;
    b.image("tabs.bmp", strip);
    auto sd = loadTestSkin(b);
    auto form = makeShownForm(420, 200);
    auto* ts = new TTabSet(form.get());
    ts->SetParent(form.get());
    ts->SetBounds(10, 10, 300, 22);
    ts->SetTabs({L"Alpha", L"Beta", L"Gamma"});
    ts->SetTabIndex(1);
    int changes = 0;
    ts->OnChange = [&](TObject*) { ++changes; };
    auto* skin = new TSkinTab31(ts);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    EXPECT_EQ(skin->FScroller, ts->Scroller());
    Image img = shotOf(ts->Handle());
    saveShot(img, L"tabset");
    RECT t0 = ts->TabRect(0), t1 = ts->TabRect(1);
    ASSERT_GT(area(t0), 0);
    // Upside down: the dark half is on top now.
    EXPECT_EQ(img.colorAt(t0.left + 2, 2), RGB(0, 0, 0x80));
    EXPECT_EQ(img.colorAt(t0.left + 2, 19), ref(kTabNormal));
    EXPECT_EQ(img.colorAt(t1.left + 2, 2), RGB(0x80, 0, 0));
    EXPECT_EQ(img.colorAt(t1.left + 2, 19), ref(kTabSelected));
    clickAt(ts->Handle(), t0.left + 4, 10);
    EXPECT_EQ(ts->TabIndex(), 0);
    EXPECT_EQ(changes, 1);
    img = shotOf(ts->Handle());
    EXPECT_EQ(img.colorAt(t0.left + 2, 19), ref(kTabSelected));
    // The click gave it the keyboard focus, which shows on the selected tab
    // and goes with the focus.
    ASSERT_EQ(::GetFocus(), ts->Handle());
    ::SetFocus(form->Handle());
    pumpApp(40);
    EXPECT_GT(countDifferences(img, shotOf(ts->Handle())), 8u);

    // Too narrow for all: the scroller shows, and the skin leaves room for it.
    ts->SetWidth(110);
    pumpApp(40);
    ASSERT_TRUE(IsWindowVisible(ts->Scroller()->Handle()));
    img = shotOf(ts->Handle());
    const int limit = 110 - ts->EndMargin() - 12;
    EXPECT_EQ(countColour(img, RECT{limit, 0, 110, 22}, ref(kTabNormal)), 0u);
}

// A page control that takes its tab pictures through two properties.
class TPicturePages : public TPageControl {
    QS_DECLARE_CLASS(TPicturePages)
public:
    explicit TPicturePages(TComponent* owner) : TPageControl(owner) {}
    TBitmap Normal, Active;
};
const TClassInfo& TPicturePages::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPicturePages>("TPicturePages", &TPageControl::StaticClassInfo())
            .object("TabBackGround", [](const TPicturePages& p) -> TObject* { return const_cast<TBitmap*>(&p.Normal); },
                    [](TPicturePages& p, TObject* o) {
                        if (auto* b = dynamic_cast<TBitmap*>(o)) p.Normal = *b; else p.Normal.Clear();
                    })
            .object("TabBackGroundActive",
                    [](const TPicturePages& p) -> TObject* { return const_cast<TBitmap*>(&p.Active); },
                    [](TPicturePages& p, TObject* o) {
                        if (auto* b = dynamic_cast<TBitmap*>(o)) p.Active = *b; else p.Active.Clear();
                    })
            .build();
    return info;
}

TEST(SkinAdvPage, TabPicturesAreRenderedFromTheSkinAndClearedOnRestore) {
    auto sd = tabSkin();
    auto form = makeShownForm();
    auto* pp = new TPicturePages(form.get());
    pp->SetParent(form.get());
    pp->SetBounds(10, 10, 200, 120);
    pp->SetColor(clAqua);
    auto* skin = new TSkinAdvPage(pp);
    skin->FMode = 4;
    skin->Attach(nullptr, sd.get(), true, nullptr);
    ASSERT_EQ(pp->Normal.Width(), 100);
    ASSERT_EQ(pp->Normal.Height(), 21);
    EXPECT_EQ(pixelAt(pp->Normal, 50, 10), kTabNormal);
    EXPECT_EQ(pixelAt(pp->Active, 50, 10), kTabSelected);
    EXPECT_EQ(pp->Color(), TColor(sd->ButtonFace));
    skin->Restore();
    EXPECT_TRUE(pp->Normal.Empty());
    EXPECT_TRUE(pp->Active.Empty());
    // Unskinned, the control has its own colour again.
    EXPECT_EQ(pp->Color(), clAqua);
    // Another mode leaves the control alone.
    auto* other = new TPicturePages(form.get());
    other->SetParent(form.get());
    auto* skin2 = new TSkinAdvPage(other);
    skin2->Attach(nullptr, sd.get(), true, nullptr);
    EXPECT_TRUE(other->Normal.Empty());
}

TEST(TabSkinFactory, EveryClassOfTheFamilyIsMadeWithItsMode) {
    TComponent owner(nullptr);
    TSkinCreateArgs args;
    args.owner = &owner;
    args.imageKind = 2;
    args.pageMode = 4;
    const std::pair<TSkinClass, const char*> made[] = {
        {TSkinClass::Tab, "TSkinTab"},         {TSkinClass::TabBtn, "TSkinTabBtn"},
        {TSkinClass::Tab31, "TSkinTab31"},     {TSkinClass::AdvPage, "TSkinAdvPage"},
        {TSkinClass::Header, "TSkinHeader"},   {TSkinClass::ListView, "TSkinListView"},
        {TSkinClass::ObjImage, "TSkinObjImage"}};
    for (auto& [kind, name] : made) {
        TSkinControl* s = NewSkinControl(kind, args);
        ASSERT_NE(s, nullptr) << name;
        EXPECT_EQ(s->ClassName(), name);
        if (auto* o = dynamic_cast<TSkinObjImage*>(s)) {
            EXPECT_EQ(o->FMode, 2);
        }
        if (auto* a = dynamic_cast<TSkinAdvPage*>(s)) {
            EXPECT_EQ(a->FMode, 4);
        }
    }
}
