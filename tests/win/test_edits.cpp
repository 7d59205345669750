// The edit-family toolkit controls: what they keep while they have no window
// and across RecreateWnd, ranges that refuse nonsense, notifications, and
// reading them from a form definition.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ComCtrlsEdit.h"
#include "StdCtrlsEdit.h"
#include "test_edits_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct EditControls : ::testing::Test {
    std::unique_ptr<TForm> form;
    static void SetUpTestSuite() { Application->Initialize(); }
    void SetUp() override { form = makeTestForm(); }
    void TearDown() override {
        sendMouse(MOUSEEVENTF_LEFTUP);
        form.reset();
    }
    template <class T>
    T* place(int x, int y, int w, int h) {
        return placeOn<T>(form.get(), x, y, w, h);
    }
};

TEST_F(EditControls, MemoLinesSurviveRecreationAndEndWithoutAPhantomLine) {
    auto* memo = new TMemo(form.get());
    memo->SetLines({L"alpha", L"", L"gamma"});
    EXPECT_EQ(memo->Lines().size(), 3u);
    memo->SetParent(form.get());
    memo->SetBounds(10, 10, 200, 120);
    EXPECT_EQ(memo->LineCount(), 3);
    // A style that needs a new window keeps the text.
    memo->SetScrollBars(ssBoth);
    EXPECT_TRUE(GetWindowLongPtrW(memo->Handle(), GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(memo->Lines(), (std::vector<std::wstring>{L"alpha", L"", L"gamma"}));
    // Text ending in a line break has no empty last line.
    memo->SetText(L"one\r\ntwo\r\n");
    EXPECT_EQ(memo->Lines(), (std::vector<std::wstring>{L"one", L"two"}));
    memo->AddLine(L"three");
    EXPECT_EQ(memo->Lines(), (std::vector<std::wstring>{L"one", L"two", L"three"}));
}

TEST_F(EditControls, EditReportsChangesAndKeepsItsSettingsAcrossRecreation) {
    auto* edit = place<TEdit>(10, 10, 120, 22);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetText(L"hello");
    EXPECT_EQ(changes, 1);
    edit->SetMaxLength(4);
    edit->SetPasswordChar(L'*');  // needs a new window
    EXPECT_EQ(edit->GetText(), L"hello");
    EXPECT_EQ(SendMessageW(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), L'*');
    // The limit still holds in the new window: typing cannot grow past it.
    edit->SetText(L"");
    edit->SetFocus();
    pumpMessages(30);
    for (wchar_t ch : std::wstring(L"abcdef")) SendMessageW(edit->Handle(), WM_CHAR, ch, 0);
    EXPECT_EQ(edit->GetText(), L"abcd");
    edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(edit->GetText(), L"ABCD");
    edit->SetSel(1, 2);
    EXPECT_EQ(edit->SelText(), L"BC");
    EXPECT_EQ(edit->BorderStyle(), ebsSingle);
    EXPECT_TRUE(GetWindowLongPtrW(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    edit->SetBorderStyle(ebsNone);
    EXPECT_FALSE(GetWindowLongPtrW(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(edit->GetText(), L"ABCD");
}

TEST_F(EditControls, ListBoxItemsAndSelectionSurviveRecreationAndClicksSelect) {
    auto* list = new TListBox(form.get());
    list->Items().Add(L"pear");
    list->Items().Add(L"apple");
    list->Items().Insert(0, L"fig");
    list->SetItemIndex(2);
    list->Items().Delete(0);  // the selection moves with its item
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetParent(form.get());
    list->SetBounds(10, 10, 150, 120);
    EXPECT_EQ(list->Items().Count(), 2);
    EXPECT_EQ(list->ItemIndex(), 1);
    list->SetSorted(true);  // a new window, sorted
    EXPECT_EQ(list->Items().All(), (std::vector<std::wstring>{L"apple", L"pear"}));
    EXPECT_EQ(list->Items().At(list->ItemIndex()), L"apple");
    EXPECT_EQ(list->Items().At(7), L"");
    list->SetItemIndex(9);  // out of range: nothing selected
    EXPECT_EQ(list->ItemIndex(), -1);
    int clicks = 0;
    list->OnClick = [&](TObject*) { ++clicks; };
    const int ih = list->ItemHeight();
    clickScreen(clientPoint(list->Handle(), 20, ih + ih / 2));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(EditControls, ComboStylesKeepTheirItemsAndTheClosedHeight) {
    for (TComboBoxStyle style : {csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable}) {
        auto* combo = place<TComboBox>(10, 10, 150, style == csSimple ? 120 : 24);
        combo->Items().Assign({L"red", L"green", L"blue"});
        combo->SetStyle(style);
        combo->SetItemIndex(1);
        HWND h = combo->Handle();
        EXPECT_EQ(combo->Items().Count(), 3) << style;
        EXPECT_EQ(combo->ItemIndex(), 1) << style;
        if (style != csSimple) {
            // The window is its closed height; the list gets the room below.
            EXPECT_LT(combo->Height(), 40) << style;
            EXPECT_EQ(combo->ListHandle() != nullptr, true);
        }
        EXPECT_EQ(combo->EditHandle() != nullptr, style == csDropDown || style == csSimple) << style;
        (void)h;
        delete combo;
    }
}

TEST_F(EditControls, ComboDropDownPicksWithTheMouse) {
    auto* combo = place<TComboBox>(10, 10, 150, 24);
    combo->SetStyle(csDropDownList);
    for (int i = 0; i < 20; ++i) combo->Items().Add(L"n" + std::to_wstring(i));
    int selects = 0, drops = 0, closes = 0;
    combo->OnSelect = [&](TObject*) { ++selects; };
    combo->OnDropDown = [&](TObject*) { ++drops; };
    combo->OnCloseUp = [&](TObject*) { ++closes; };
    mouseToScreen(clientPoint(combo->Handle(), 140, 10));
    clickScreen(clientPoint(combo->Handle(), 140, 10));
    ASSERT_TRUE(combo->DroppedDown());
    HWND list = combo->ListHandle();
    const int ih = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    clickScreen(clientPoint(list, 10, 2 * ih + ih / 2));
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), L"n2");
    EXPECT_EQ(selects, 1);
    EXPECT_EQ(drops, 1);
    EXPECT_EQ(closes, 1);
}

TEST_F(EditControls, ScrollBarRangeRefusesNonsenseAndArrowsStepBySmallChange) {
    auto* bar = place<TScrollBar>(10, 10, 200, GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_FALSE(bar->SetParams(0, 10, 5));
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    ASSERT_TRUE(bar->SetParams(50, 0, 100));
    ASSERT_TRUE(bar->SetPageSize(20));
    EXPECT_FALSE(bar->SetPageSize(200));
    // With a page the last position is Max - Page + 1, as the system has it.
    bar->SetPosition(1000);
    EXPECT_EQ(bar->Position(), 81);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 81);
    bar->SetSmallChange(3);
    bar->SetPosition(10);
    int changes = 0;
    std::vector<TScrollCode> codes;
    bar->OnChange = [&](TObject*) { ++changes; };
    bar->OnScroll = [&](TObject*, TScrollCode c, int&) { codes.push_back(c); };
    const int a = GetSystemMetrics(SM_CXHSCROLL);
    clickScreen(clientPoint(bar->Handle(), 200 - a / 2, 5));
    EXPECT_EQ(bar->Position(), 13);
    EXPECT_EQ(changes, 1);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), scLineDown);
    EXPECT_EQ(codes.back(), scEndScroll);
    // Turning it on its side keeps the length along the new axis.
    bar->SetKind(sbVertical);
    EXPECT_EQ(bar->Height(), 200);
    EXPECT_TRUE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBS_VERT);
    EXPECT_EQ(bar->Position(), 13);
}

TEST_F(EditControls, UpDownMovesItsBuddysNumberAndCanBeRefused) {
    auto* edit = place<TEdit>(10, 10, 80, 22);
    auto* ud = place<TUpDown>(90, 10, 17, 22);
    ud->SetAssociate(edit);
    ud->SetMax(3);
    ud->SetPosition(2);
    EXPECT_EQ(edit->GetText(), L"2");
    // Right of the edit, on its edge.
    EXPECT_LE(std::abs(windowRect(ud->Handle()).left - windowRect(edit->Handle()).right), 2);
    int clicks = 0;
    bool allow = true;
    TUDBtnType lastButton = TUDBtnType::btPrev;
    ud->OnClick = [&](TObject*, TUDBtnType b) {
        ++clicks;
        lastButton = b;
    };
    ud->OnChanging = [&](TObject*, bool& a) { a = allow; };
    auto up = [&] {
        POINT p = clientPoint(ud->Handle(), 8, 4);
        mouseToScreen(p, 40);
        clickScreen(p);
    };
    up();
    EXPECT_EQ(ud->Position(), 3);
    EXPECT_EQ(edit->GetText(), L"3");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(lastButton, TUDBtnType::btNext);
    up();  // at the top of the range
    EXPECT_EQ(ud->Position(), 3);
    ud->SetPosition(1);
    allow = false;
    up();
    EXPECT_EQ(ud->Position(), 1);
    // The buddy freed first: the up-down lets go of it.
    delete edit;
    EXPECT_EQ(ud->Associate(), nullptr);
    ud->SetPosition(2);
    EXPECT_EQ(ud->Position(), 2);
}

TEST_F(EditControls, DateTimePickerTextsAreCheckedAndSurviveRecreation) {
    auto* dtp = place<TDateTimePicker>(10, 10, 186, 24);
    EXPECT_TRUE(dtp->SetDateText("2024-02-29"));
    EXPECT_FALSE(dtp->SetDateText("2023-02-29"));
    EXPECT_FALSE(dtp->SetDateText("2024-13-01"));
    EXPECT_FALSE(dtp->SetDateText("2024-01-01x"));
    EXPECT_TRUE(dtp->SetTimeText("23:59:58"));
    EXPECT_FALSE(dtp->SetTimeText("24:00:00"));
    EXPECT_EQ(dtp->DateText(), "2024-02-29");
    dtp->SetKind(dtkTime);  // a new window
    EXPECT_EQ(dtp->DateText(), "2024-02-29");
    EXPECT_EQ(dtp->TimeText(), "23:59:58");
    EXPECT_TRUE(GetWindowLongPtrW(dtp->Handle(), GWL_STYLE) & DTS_TIMEFORMAT);
    dtp->SetShowCheckbox(true);
    dtp->SetChecked(false);
    EXPECT_FALSE(dtp->Checked());
    dtp->SetChecked(true);
    EXPECT_EQ(dtp->DateText(), "2024-02-29");
}

TEST_F(EditControls, TreeViewOutlineIsCheckedAndKeptAcrossRecreation) {
    auto* tree = place<TTreeView>(10, 10, 200, 150);
    EXPECT_FALSE(tree->SetItemsText({"root", "   too deep"}));
    EXPECT_EQ(tree->NodeCount(), 0);
    ASSERT_TRUE(tree->SetItemsText({"root", " child", "  leaf", " second", "other"}));
    EXPECT_EQ(tree->NodeParent(2), 1);
    EXPECT_EQ(tree->NodeParent(3), 0);
    EXPECT_EQ(tree->NodeParent(4), -1);
    tree->Expand(0);
    tree->SetSelected(3);
    int changes = 0;
    tree->OnChange = [&](TObject*) { ++changes; };
    tree->SetShowLines(false);  // a new window
    EXPECT_EQ(tree->Selected(), 3);
    EXPECT_EQ(tree->ItemsText(), (TStringList{"root", " child", "  leaf", " second", "other"}));
    EXPECT_EQ(SendMessageW(tree->Handle(), TVM_GETCOUNT, 0, 0), 5);
    tree->SetSelected(4);
    EXPECT_GE(changes, 1);
}

TEST_F(EditControls, ControlsComeFromAFormDefinitionWithWhatTheSkinsRead) {
    TForm f(nullptr);
    f.ReadFormDefinition(
        "object F: TForm\n"
        "  object M: TMemo\n    Left = 8\n    Top = 8\n    ScrollBars = ssVertical\n    BorderStyle = bsNone\n"
        "    Lines = ( 'a' 'b' )\n  end\n"
        "  object C: TComboBox\n    Left = 8\n    Top = 120\n    Style = csDropDownList\n"
        "    Items = ( 'x' 'y' )\n    ItemIndex = 1\n  end\n"
        "  object S: TScrollBar\n    Kind = sbVertical\n    Max = 50\n    PageSize = 10\n    Position = 45\n  end\n"
        "  object U: TUpDown\n    Associate = E\n    Max = 9\n  end\n"
        "  object E: TEdit\n    Text = '4'\n  end\n"
        "  object D: TDateTimePicker\n    Date = '2001-02-03'\n    Kind = dtkDate\n  end\n"
        "  object T: TTreeView\n    Items = ( 'r' ' c' )\n  end\n"
        "  object R: TRichEdit\n    Lines = ( 'rich' )\n  end\n"
        "  object L: TListBox\n    Items = ( 'p' 'q' )\n  end\n"
        "end\n");
    auto* memo = dynamic_cast<TMemo*>(f.FindComponent("M"));
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(GetEnumProp(memo, "BorderStyle"), "bsNone");
    EXPECT_EQ(memo->Lines(), (std::vector<std::wstring>{L"a", L"b"}));
    auto* combo = dynamic_cast<TComboBox*>(f.FindComponent("C"));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->ItemIndex(), 1);
    auto* bar = dynamic_cast<TScrollBar*>(f.FindComponent("S"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetEnumProp(bar, "Kind"), "sbVertical");
    EXPECT_EQ(bar->Position(), 41);  // the page keeps it from the end
    auto* ud = dynamic_cast<TUpDown*>(f.FindComponent("U"));
    ASSERT_NE(ud, nullptr);
    EXPECT_EQ(ud->Associate(), f.FindComponent("E"));
    EXPECT_EQ(GetStrProp(f.FindComponent("D"), "Date"), "2001-02-03");
    auto* tree = dynamic_cast<TTreeView*>(f.FindComponent("T"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->NodeParent(1), 0);
    EXPECT_TRUE(f.FindComponent("R")->InheritsFrom(TCustomMemo::StaticClassInfo()));
    EXPECT_TRUE(f.FindComponent("L")->InheritsFrom(TCustomListBox::StaticClassInfo()));
    // The rich edit is a real one, with the text given.
    auto* rich = dynamic_cast<TRichEdit*>(f.FindComponent("R"));
    EXPECT_EQ(rich->Lines(), (std::vector<std::wstring>{L"rich"}));
}

}  // namespace
