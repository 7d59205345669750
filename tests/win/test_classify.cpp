// Which skin each child gets: the opt-outs (DisableTag, Skin3rd), the
// user's event, the order of the class rows where two could match, a second
// pass, controls without a window, and bare windows of standard dialog boxes
// and message boxes. Decisions are recorded through the skin factory, so the
// rows of skin families that are built later are checked as well.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "Application.h"
#include "Classify.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "SkinContainers.h"
#include "ComCtrlsTabs.h"
#include "StdCtrlsEdit.h"
#include "StdCtrlsGroup.h"
#include "test_control_skin_util.h"

using namespace qs;
using namespace qs::test;

namespace {

// A control whose class chain is given by the test: the kind rows look at
// class names along the chain, so one control can belong to two kinds.
class TFakeControl : public TCustomControl {
public:
    TFakeControl(TComponent* owner, std::vector<std::string> chain) : TCustomControl(owner) {
        // Innermost (the control's own class) first.
        infos_.resize(chain.size());
        const TClassInfo* parent = &TCustomControl::StaticClassInfo();
        for (size_t i = chain.size(); i-- > 0;) {
            infos_[i].name = chain[i];
            infos_[i].parent = parent;
            parent = &infos_[i];
        }
        info_ = parent;
    }
    const TClassInfo& ClassInfo() const override { return *info_; }

private:
    std::vector<TClassInfo> infos_;
    const TClassInfo* info_;
};

// A control whose window cannot be made.
class TNoWindow : public TWinControl {
public:
    using TWinControl::TWinControl;

protected:
    void CreateParams(TCreateParams&) override { throw std::runtime_error("no window for this one"); }
};

// A panel class of its own (a "third-party" class name).
class TMyPanel : public TPanel {
    QS_DECLARE_CLASS(TMyPanel)
public:
    using TPanel::TPanel;
};
const TClassInfo& TMyPanel::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TMyPanel>("TMyPanel", &TPanel::StaticClassInfo()).build();
    return info;
}

SkinBuilder tabSkin() {
    SkinBuilder b = plainSkin();
    b.image("tabs.bmp", stripImage(8, 8, {0x101010, 0x202020, 0x303030, 0x404040, 0x505050}));
    b.image("border.bmp", stripImage(8, 8, {0x606060}));
    b.text("[Tabs]\nImage=tabs.bmp\nBorder=border.bmp");
    return b;
}

class Classify : public ::testing::Test {
protected:
    void SetUp() override {
        load(tabSkin());
        ASSERT_NE(sd->Tabs(), nullptr);
    }
    void load(SkinBuilder b) {
        fs.reset();
        form.reset();
        // Freed controls' addresses come back for new ones.
        log.entries.clear();
        sd = makeSkinData(std::move(b));
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(20, 20, 500, 400);
        form->Show();
        fs = std::make_unique<ClassifyingFormSkin>(form->Handle(), sd.get(), form.get());
    }
    void TearDown() override {
        fs.reset();
        form.reset();
    }
    template <class C, class... A>
    C* add(TWinControl* parent, A&&... args) {
        auto* c = new C(form.get(), std::forward<A>(args)...);
        c->SetParent(parent ? parent : form.get());
        return c;
    }
    void without(TSkinControlType x) { sd->SetSkinControls(sd->SkinControls() & ~setBit(x)); }
    void all() { SkinAllControls(**fs, form.get()); }

    DecisionLog log;
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    std::unique_ptr<ClassifyingFormSkin> fs;
};

using K = TSkinClass;

TEST_F(Classify, DisabledControlsStayUnskinnedAndGroupsPassTheTagOn) {
    auto* off = add<TPanel>(nullptr);
    off->SetTag(99);
    auto* group = add<TFakeControl>(nullptr, std::vector<std::string>{"TMyRadioGroup"});
    group->SetTag(99);
    auto* inGroup = add<TPanel>(group);
    auto* box = add<TFakeControl>(nullptr, std::vector<std::string>{"TPlainBox"});
    box->SetTag(99);
    auto* inBox = add<TPanel>(box);
    all();
    EXPECT_TRUE(log.For(off).empty());
    EXPECT_TRUE(log.For(group).empty());
    EXPECT_EQ(inGroup->Tag(), 99);
    EXPECT_TRUE(log.For(inGroup).empty());
    EXPECT_EQ(inBox->Tag(), 0);  // only radio and check groups pass the tag on
    EXPECT_EQ(log.For(inBox), std::vector<K>{K::Box});
}

TEST_F(Classify, Skin3rdNilKeepsAClassUnskinnedInAnyLetterCase) {
    auto* a = add<TMyPanel>(nullptr);
    all();
    EXPECT_EQ(log.For(a), std::vector<K>{K::Box});  // the class chain's panel row

    for (const char* line : {"TMYPANEL=NIL", "tmypanel=nil", "TMyPanel=Nil"}) {
        load(tabSkin());
        sd->SetSkin3rd({"TOther=panel", line});
        auto* p = add<TMyPanel>(nullptr);
        all();
        EXPECT_TRUE(log.For(p).empty()) << line;
    }
}

TEST_F(Classify, UnknownKindOrClosedGateSkipsTheChain) {
    sd->SetSkin3rd({"TMyPanel=nosuchkind"});
    auto* a = add<TMyPanel>(nullptr);
    all();
    EXPECT_TRUE(log.For(a).empty());

    load(tabSkin());
    sd->SetSkin3rd({"tmypanel=CheckBox"});
    without(xcCheckBox);  // the panel row would still match, but the mapping decided
    auto* b = add<TMyPanel>(nullptr);
    all();
    EXPECT_TRUE(log.For(b).empty());

    load(tabSkin());
    sd->SetSkin3rd({"TMyPanel=checkbox"});
    auto* c = add<TMyPanel>(nullptr);
    all();
    EXPECT_EQ(log.For(c), std::vector<K>{K::CheckBox});
}

TEST_F(Classify, Skin3rdPanelKindMakesATransparentColouredBox) {
    sd->SetSkin3rd({"TMyPanel=Panel"});
    auto* p = add<TMyPanel>(nullptr);
    all();
    ASSERT_EQ(log.For(p), std::vector<K>{K::Box});
    EXPECT_TRUE(log.Find(p)->skin->FChangeColor);
    EXPECT_EQ(Skin3rdKind({"x=1", "TMyPanel=Container=more"}, "TMYPANEL"), "container=more");
    EXPECT_EQ(Skin3rdKind({"TMyPanelX=nil"}, "TMyPanel"), "");
    // Shorter and empty lines, a line without its '=', and the first of two lines wins.
    EXPECT_EQ(Skin3rdKind({"", "TMy=x", "TMyPanel", "tmypanel=Edit", "TMyPanel=nil"}, "TMyPanel"), "edit");
    EXPECT_EQ(Skin3rdKind({"TMyPanel=" + std::string(60, 'K')}, "TMyPanel"), std::string(50, 'k'));
}

TEST_F(Classify, PanelFromTheEventStillGetsItsChildrenClassified) {
    auto* p = add<TPanel>(nullptr);
    auto* bar = add<TStatusBar>(p);
    TSkinControl* made = nullptr;
    int calls = 0;
    sd->OnSkinControl = [&](TComponent* sender, TSkinData*, TControl* f, TControl* control, const std::string& cls,
                            TComponent*& skinned) {
        ++calls;
        EXPECT_EQ(sender, fs->fs.get());
        EXPECT_EQ(f, form.get());
        if (control == p) {
            EXPECT_EQ(cls, "TPANEL");
            made = new TSkinBox(p);
            skinned = made;
        }
    };
    all();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(HasControlSkin(fs->fs.get(), made));
    EXPECT_TRUE(made->FAttached);
    EXPECT_TRUE(log.For(p).empty());  // the event's skin, not the chain's
    EXPECT_EQ(log.For(bar), std::vector<K>{K::StatusBar});
    EXPECT_GE(calls, 2);
}

TEST_F(Classify, SecondPassAttachesNothingTwice) {
    add<TPanel>(nullptr);
    auto* g = add<TGroupBox>(nullptr);
    add<TStatusBar>(g);
    add<TScrollBar>(nullptr);
    all();
    const size_t decided = log.entries.size(), listed = (*fs)->FControls.size();
    EXPECT_EQ(decided, 4u);
    EXPECT_EQ(listed, decided);
    all();
    EXPECT_EQ(log.entries.size(), decided);
    EXPECT_EQ((*fs)->FControls.size(), listed);
}

TEST_F(Classify, ControlWithoutAWindowIsSkipped) {
    auto* broken = new TNoWindow(form.get());
    try {
        broken->SetParent(form.get());
    } catch (...) {
    }
    auto* fine = add<TStatusBar>(nullptr);
    EXPECT_NO_THROW(ClassifyControl(**fs, broken, form.get()));
    EXPECT_NO_THROW(all());
    EXPECT_TRUE(log.For(broken).empty());
    EXPECT_EQ(log.For(fine), std::vector<K>{K::StatusBar});
}

TEST_F(Classify, RowOrderDecidesBetweenTwoMatchingKinds) {
    // A tab sheet that is also a check box: the sheet row comes first, and
    // only while its gate is open.
    auto* both = add<TFakeControl>(nullptr, std::vector<std::string>{"TOddSheet", "TTabSheet", "TCustomCheckBox"});
    all();
    EXPECT_EQ(log.For(both), std::vector<K>{K::TabSheet});
    load(tabSkin());
    without(xcTab);
    auto* both2 = add<TFakeControl>(nullptr, std::vector<std::string>{"TOddSheet", "TTabSheet", "TCustomCheckBox"});
    all();
    EXPECT_EQ(log.For(both2), std::vector<K>{K::CheckBox});

    // A radio group is a group box too: its own row colours it and skins its buttons.
    load(tabSkin());
    auto* rg = add<TFakeControl>(nullptr, std::vector<std::string>{"TRadioGroup", "TCustomRadioGroup", "TCustomGroupBox"});
    auto* button = add<TPanel>(rg);
    all();
    EXPECT_EQ(log.For(rg), std::vector<K>{K::GroupBox});
    EXPECT_TRUE(log.Find(rg)->skin->FChangeColor);
    EXPECT_EQ(log.For(button), std::vector<K>{K::RadioButton});
    load(tabSkin());
    without(xcRadioButton);
    auto* rg2 = add<TFakeControl>(nullptr, std::vector<std::string>{"TRadioGroup", "TCustomRadioGroup", "TCustomGroupBox"});
    auto* child = add<TPanel>(rg2);
    all();
    EXPECT_EQ(log.For(rg2), std::vector<K>{K::GroupBox});
    EXPECT_FALSE(log.Find(rg2)->skin->FChangeColor);
    EXPECT_EQ(log.For(child), std::vector<K>{K::Box});  // the group-box row skins the children by their own rows

    // A bit button is a button, but without xcBitBtn its row ends the chain.
    load(tabSkin());
    auto* bit = add<TFakeControl>(nullptr, std::vector<std::string>{"TBitBtn", "TButton"});
    auto* plainButton = add<TFakeControl>(nullptr, std::vector<std::string>{"TButton"});
    all();
    EXPECT_EQ(log.For(bit), std::vector<K>{K::BitButton});
    EXPECT_EQ(log.For(plainButton), std::vector<K>{K::Button});
    load(tabSkin());
    without(xcBitBtn);
    auto* bit2 = add<TFakeControl>(nullptr, std::vector<std::string>{"TBitBtn", "TButton"});
    all();
    EXPECT_TRUE(log.For(bit2).empty());
}

TEST_F(Classify, TabStyleChoosesThePainterAndOnlyPlainTabControlsGetKindTwo) {
    auto* pages = add<TPageControl>(nullptr);
    auto* buttonPages = add<TPageControl>(nullptr);
    buttonPages->SetStyle(tsButtons);
    auto* tabs = add<TTabControl>(nullptr);
    auto* flatTabs = add<TTabControl>(nullptr);
    flatTabs->SetStyle(tsFlatButtons);
    // A page-control class that publishes no style has plain tabs.
    auto* bare = add<TFakeControl>(nullptr, std::vector<std::string>{"TMyPages", "TCustomTabControl"});
    all();
    ASSERT_EQ(log.For(pages), std::vector<K>{K::Tab});
    EXPECT_EQ(log.Find(pages)->skin->FKind, 0);
    EXPECT_EQ(log.For(buttonPages), std::vector<K>{K::TabBtn});
    ASSERT_EQ(log.For(tabs), std::vector<K>{K::Tab});
    EXPECT_EQ(log.Find(tabs)->skin->FKind, 2);
    EXPECT_EQ(log.For(flatTabs), std::vector<K>{K::TabBtn});
    EXPECT_EQ(log.For(bare), std::vector<K>{K::Tab});
    // Without a Tabs element no tab painter at all.
    load(plainSkin());
    auto* pages2 = add<TPageControl>(nullptr);
    all();
    EXPECT_TRUE(log.For(pages2).empty());
}

TEST_F(Classify, ScrollBarControlsGetTheCoverAndScrollBoxesTheirWindowBars) {
    auto* bar = add<TScrollBar>(nullptr);
    bar->SetBounds(10, 10, 200, 17);
    auto* quiet = add<TScrollBox>(nullptr);  // nothing to scroll: no bars
    quiet->SetBounds(10, 40, 100, 100);
    auto* busy = add<TScrollBox>(nullptr);
    busy->SetBounds(150, 40, 100, 100);
    auto* distant = add<TPanel>(busy);
    distant->SetBounds(10, 400, 50, 50);
    busy->HandleNeeded();
    busy->UpdateScrollBars();
    ASSERT_TRUE(GetWindowLongW(busy->Handle(), GWL_STYLE) & WS_VSCROLL);
    all();
    EXPECT_EQ(log.For(bar), std::vector<K>{K::ScControl});
    EXPECT_TRUE(log.For(quiet).empty());
    EXPECT_EQ(log.For(busy), std::vector<K>{K::Scrollbar});
    // The gate closes the row for both.
    load(tabSkin());
    without(xcScrollbar);
    auto* bar2 = add<TScrollBar>(nullptr);
    all();
    EXPECT_TRUE(log.For(bar2).empty());
}

TEST_F(Classify, ToolkitContainersGetTheirSkins) {
    auto* bar = add<TStatusBar>(nullptr);
    auto* group = add<TGroupBox>(nullptr);
    auto* inner = add<TPanel>(group);
    auto* scroll = add<TScrollBar>(nullptr);
    auto* frame = add<TFrame>(nullptr);
    auto* onFrame = new TStatusBar(frame);  // owned by the frame, as a frame's controls are
    onFrame->SetParent(frame);
    all();
    EXPECT_EQ(log.For(bar), std::vector<K>{K::StatusBar});
    EXPECT_EQ(log.For(group), std::vector<K>{K::GroupBox});
    EXPECT_EQ(log.For(inner), std::vector<K>{K::Box});
    // The group's children are skinned before the group.
    ASSERT_EQ(log.entries.size() >= 2, true);
    size_t iInner = 0, iGroup = 0;
    for (size_t i = 0; i < log.entries.size(); ++i) {
        if (log.entries[i].owner == inner) iInner = i;
        if (log.entries[i].owner == group) iGroup = i;
    }
    EXPECT_LT(iInner, iGroup);
    EXPECT_EQ(log.For(scroll), std::vector<K>{K::ScControl});
    EXPECT_TRUE(log.For(frame).empty());
    EXPECT_EQ(log.For(onFrame), std::vector<K>{K::StatusBar});
}

TEST_F(Classify, CheckGroupsSkinTheirBoxesAndPassTheDisableTagOnLikeRadioGroups) {
    Application->Initialize();  // the groups make their buttons through the class registry
    auto* checks = add<TCheckGroup>(nullptr);
    checks->SetItems({"One", "Two", "Three"});
    checks->SetChecked(1, true);
    auto* radios = add<TRadioGroup>(nullptr);
    radios->SetItems({"A", "B"});
    auto* offChecks = add<TCheckGroup>(nullptr);
    offChecks->SetItems({"X", "Y"});
    offChecks->SetTag(sd->DisableTag());
    auto* offRadios = add<TRadioGroup>(nullptr);
    offRadios->SetItems({"P", "Q"});
    offRadios->SetTag(sd->DisableTag());
    ASSERT_EQ(checks->ButtonCount(), 3);
    const auto second = GetPropValue(checks->Button(1), "Checked");
    ASSERT_TRUE(second && std::holds_alternative<bool>(*second));
    EXPECT_TRUE(std::get<bool>(*second));
    all();
    // A check group is a group box: its boxes first, by their own row, then the frame.
    EXPECT_EQ(log.For(checks), std::vector<K>{K::GroupBox});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(log.For(checks->Button(i)), std::vector<K>{K::CheckBox}) << i;
    EXPECT_EQ(log.For(radios), std::vector<K>{K::GroupBox});
    EXPECT_EQ(log.For(radios->Button(0)), std::vector<K>{K::RadioButton});
    for (TCustomGroupBox* g : std::initializer_list<TCustomGroupBox*>{offChecks, offRadios}) {
        EXPECT_TRUE(log.For(g).empty());
        for (TControl* c : g->ControlList()) {
            EXPECT_EQ(c->Tag(), sd->DisableTag());
            EXPECT_TRUE(log.For(c).empty());
        }
    }
    // A user's click on a box reaches the group's state and event.
    int clicked = -1;
    checks->OnItemClick = [&](TObject*, int i) { clicked = i; };
    SendMessageW(static_cast<TWinControl*>(checks->Button(2))->Handle(), BM_CLICK, 0, 0);
    pumpMessages(20);
    EXPECT_EQ(clicked, 2);
    EXPECT_TRUE(checks->Checked(2));
    EXPECT_TRUE(checks->Checked(1));
    // Items that keep their text keep their state.
    checks->SetItems({"Two", "Four"});
    EXPECT_TRUE(checks->Checked(0));
    EXPECT_FALSE(checks->Checked(1));
    EXPECT_EQ(checks->ButtonCount(), 2);
}

TEST_F(Classify, AMenuSharedByTwoFormSkinsKeepsTheOtherOnesPainterWhenOneUnskins) {
    TPopupMenu shared(nullptr);
    for (const wchar_t* c : {L"One", L"Two"}) {
        auto* i = new TMenuItem(&shared);
        i->SetCaption(c);
        shared.Items()->Add(i);
    }
    ClassifyingFormSkin other(form->Handle(), sd.get());
    ASSERT_TRUE(HookControlMenu(**fs, &shared));
    ASSERT_TRUE(HookControlMenu(*other, &shared));
    EXPECT_TRUE(shared.OwnerDraw());
    (*fs)->HookMenus(false);
    EXPECT_TRUE(shared.OwnerDraw());
    EXPECT_TRUE(shared.Items()->Items(0)->OnDrawItem);
    EXPECT_TRUE(HookedControlMenus(**fs).empty());
    other->HookMenus(false);
    EXPECT_FALSE(shared.OwnerDraw());
    EXPECT_FALSE(shared.Items()->Items(0)->OnDrawItem);
    EXPECT_FALSE(shared.Items()->Items(1)->OnMeasureItem);
    // A form skin that goes without unskinning (its window destroyed) gives
    // the menu back too.
    {
        ClassifyingFormSkin gone(form->Handle(), sd.get());
        ASSERT_TRUE(HookControlMenu(*gone, &shared));
        EXPECT_TRUE(shared.OwnerDraw());
    }
    EXPECT_FALSE(shared.OwnerDraw());
    EXPECT_FALSE(shared.Items()->Items(0)->OnDrawItem);
    // A menu opted out by its tag is left alone.
    shared.SetTag(sd->DisableTag());
    EXPECT_FALSE(HookControlMenu(**fs, &shared));
    EXPECT_FALSE(shared.OwnerDraw());
}

TEST_F(Classify, ActivationOfAFormSkinClassifiesItsChildren) {
    auto* bar = add<TStatusBar>(nullptr);
    fs->fs->Activate();
    EXPECT_EQ(log.For(bar), std::vector<K>{K::StatusBar});
    EXPECT_EQ(SendMessageW(bar->Handle(), WM_SKIN_QUERY, 0, 0), 1);
}

// ---- tool-bar painters ----------------------------------------------------------------------

TEST_F(Classify, ToolbarButtonPainterPicksTheFrameFromTheItemState) {
    SkinBuilder b = plainSkin();
    b.image("buttons.bmp", stripImage(10, 10, {0x110000, 0x220000, 0x330000, 0x440000, 0x550000}));
    b.text("[Buttons]\nBitmap=buttons.bmp\nNormalColour2=1 2 3\nMouseOverColour2=4 5 6\nPressedColour2=7 8 9");
    load(b);
    auto paint = [&](UINT state, TColor& font) {
        TBitmap bmp(30, 20);
        FillColor(bmp.Canvas()->Handle(), RECT{0, 0, 30, 20}, clWhite);
        const bool drawn = PaintToolbarButton(**fs, bmp.Canvas()->Handle(), RECT{0, 0, 30, 20}, state, font);
        bmp.Dormant();
        return std::make_pair(drawn, bmp.View().at(15, 10) & 0xFFFFFF);
    };
    TColor font = clNone;
    EXPECT_EQ(paint(CDIS_SELECTED | CDIS_HOT, font), std::make_pair(true, 0x220000u));
    EXPECT_EQ(ColorToRGB(font), RGB(7, 8, 9));
    EXPECT_EQ(paint(CDIS_HOT, font), std::make_pair(true, 0x440000u));
    EXPECT_EQ(ColorToRGB(font), RGB(4, 5, 6));
    EXPECT_EQ(paint(CDIS_DEFAULT, font), std::make_pair(true, 0x110000u));
    EXPECT_EQ(ColorToRGB(font), RGB(1, 2, 3));
    EXPECT_EQ(paint(CDIS_DEFAULT | CDIS_DISABLED, font).first, false);
    EXPECT_EQ(paint(0, font), std::make_pair(false, 0xFFFFFFu));
    // The button's bounds less one pixel on every side.
    TBitmap edge(30, 20);
    FillColor(edge.Canvas()->Handle(), RECT{0, 0, 30, 20}, clWhite);
    PaintToolbarButton(**fs, edge.Canvas()->Handle(), RECT{0, 0, 30, 20}, CDIS_HOT, font);
    edge.Dormant();
    EXPECT_EQ(edge.View().at(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(edge.View().at(1, 1) & 0xFFFFFF, 0x440000u);
    // Only while the form skin is skinned.
    (*fs)->FSkinState = 3;
    EXPECT_FALSE(paint(CDIS_HOT, font).first);
}

TEST_F(Classify, ToolbarBackgroundFollowsTheOption) {
    load(plainSkin());
    ASSERT_NE(sd->Toolbar(), nullptr);
    ASSERT_FALSE(sd->Toolbar()->Bitmap.Empty());
    auto paint = [&] {
        TBitmap bmp(40, 40);
        FillColor(bmp.Canvas()->Handle(), RECT{0, 0, 40, 40}, clFuchsia);
        PaintToolbarBackground(**fs, bmp.Canvas()->Handle(), RECT{0, 0, 40, 40});
        bmp.Dormant();
        return bmp.View().at(20, 20) & 0xFFFFFF;
    };
    sd->SetOptions(sd->Options() | setBit(xoToolbarBK));
    EXPECT_EQ(paint(), 0xFF00FFu);  // the system's own background stays
    sd->SetOptions(sd->Options() & ~setBit(xoToolbarBK));
    EXPECT_NE(paint(), 0xFF00FFu);
}

// ---- bare windows -------------------------------------------------------------------------

HWND makeButton(HWND parent, DWORD style) {
    return CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE | style, 0, 0, 60, 20, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

std::vector<K> decidedFor(const DecisionLog& log, HWND h) {
    std::vector<K> out;
    for (auto& e : log.entries)
        if (e.skin && e.skin->FHandle == h) out.push_back(e.kind);
    return out;
}

TEST_F(Classify, ButtonWindowsByStyleAndOwnerDrawnOnesFallThrough) {
    HWND p = form->Handle();
    HWND push = makeButton(p, BS_PUSHBUTTON), def = makeButton(p, BS_DEFPUSHBUTTON);
    HWND check = makeButton(p, BS_AUTOCHECKBOX), three = makeButton(p, BS_AUTO3STATE);
    HWND radio = makeButton(p, BS_AUTORADIOBUTTON), radio2 = makeButton(p, BS_RADIOBUTTON);
    HWND group = makeButton(p, BS_GROUPBOX), owner = makeButton(p, BS_OWNERDRAW);
    for (HWND h : {push, def, check, three, radio, radio2, group, owner}) ClassifyWindow(**fs, h);
    EXPECT_EQ(decidedFor(log, push), std::vector<K>{K::Button});
    EXPECT_EQ(decidedFor(log, def), std::vector<K>{K::Button});
    EXPECT_EQ(decidedFor(log, check), std::vector<K>{K::CheckBox});
    EXPECT_EQ(decidedFor(log, three), std::vector<K>{K::CheckBox});
    EXPECT_EQ(decidedFor(log, radio), std::vector<K>{K::RadioButton});
    EXPECT_EQ(decidedFor(log, radio2), std::vector<K>{K::RadioButton});
    EXPECT_TRUE(decidedFor(log, group).empty());
    EXPECT_TRUE(decidedFor(log, owner).empty());
    // Once skinned, a window is not classified again.
    const size_t n = log.entries.size();
    ClassifyWindow(**fs, push);
    EXPECT_EQ(log.entries.size(), n);
    // A closed gate leaves the button alone and tries nothing further.
    without(xcButton);
    HWND push2 = makeButton(p, BS_PUSHBUTTON);
    ClassifyWindow(**fs, push2);
    EXPECT_TRUE(decidedFor(log, push2).empty());
}

INT_PTR CALLBACK probeDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST_F(Classify, StandardDialogFromATemplateHasItsControlsClassified) {
    HWND dlg = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(101), nullptr, probeDialogProc, 0);
    ASSERT_TRUE(dlg);
    {
        ClassifyingFormSkin dfs(dlg, sd.get());
        SkinChildWindows(*dfs, dlg);
        auto item = [dlg](int id) { return GetDlgItem(dlg, id); };
        EXPECT_EQ(decidedFor(log, item(IDOK)), std::vector<K>{K::Button});
        EXPECT_EQ(decidedFor(log, item(IDCANCEL)), std::vector<K>{K::Button});
        EXPECT_EQ(decidedFor(log, item(1001)), std::vector<K>{K::CheckBox});
        EXPECT_EQ(decidedFor(log, item(1002)), std::vector<K>{K::RadioButton});
        EXPECT_EQ(decidedFor(log, item(1003)), std::vector<K>{K::Edit});
        EXPECT_TRUE(decidedFor(log, item(1004)).empty());  // group box button
        EXPECT_EQ(decidedFor(log, item(1005)), std::vector<K>{K::ComBox});
        EXPECT_TRUE(decidedFor(log, item(1006)).empty());  // owner-drawn
        EXPECT_TRUE(decidedFor(log, item(1007)).empty());  // static text
        EXPECT_TRUE(decidedFor(log, item(1008)).empty());  // simple combo box
        for (auto& e : log.entries) EXPECT_EQ(e.owner, dfs.fs.get());  // bare windows belong to the form skin
    }
    DestroyWindow(dlg);
}

struct MessageBoxProbe {
    TSkinData* data = nullptr;
    DecisionLog* log = nullptr;
    std::vector<std::wstring> buttons;
    bool seen = false;
};
MessageBoxProbe* g_probe = nullptr;

BOOL CALLBACK findBox(HWND w, LPARAM out) {
    wchar_t cls[16] = {};
    GetClassNameW(w, cls, 16);
    if (std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK classifyMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (!box || !g_probe || g_probe->seen) return;
    g_probe->seen = true;
    KillTimer(nullptr, id);
    {
        ClassifyingFormSkin bfs(box, g_probe->data);
        SkinChildWindows(*bfs, box);
        for (auto& e : g_probe->log->entries)
            if (e.kind == K::Button && e.skin) g_probe->buttons.push_back(GetWindowTextWide(e.skin->FHandle));
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

void CALLBACK closeMessageBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findBox, reinterpret_cast<LPARAM>(&box));
    if (box) PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    KillTimer(nullptr, id);
}

TEST_F(Classify, MessageBoxButtonsAreClassified) {
    MessageBoxProbe probe;
    probe.data = sd.get();
    probe.log = &log;
    g_probe = &probe;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, classifyMessageBox);
    // A safety net: the box closes itself even if the probe never runs.
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, closeMessageBox);
    MessageBoxW(nullptr, L"Classified?", L"Probe", MB_OKCANCEL);
    KillTimer(nullptr, timer);
    KillTimer(nullptr, guard);
    g_probe = nullptr;
    ASSERT_TRUE(probe.seen);
    EXPECT_EQ(probe.buttons.size(), 2u);
    for (auto& text : probe.buttons) EXPECT_FALSE(text.empty());
}

}  // namespace
