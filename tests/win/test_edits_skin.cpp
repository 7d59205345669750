// Combo-box, date-time picker, up-down and edit skins on real windows with
// the real mouse, each next to an unskinned twin.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "ComCtrlsEdit.h"
#include "SkinCombo.h"
#include "SkinDateTime.h"
#include "SkinEdit.h"
#include "SkinEditGeometry.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"
#include "SkinUpDown.h"
#include "StdCtrlsEdit.h"
#include "test_edits_util.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct EditSkinFixture : ::testing::Test {
    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;

    static void SetUpTestSuite() { Application->Initialize(); }
    void SetUp() override {
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        form = makeTestForm(560, 420);
    }
    void TearDown() override {
        sendMouse(MOUSEEVENTF_LEFTUP);
        form.reset();
        sd.reset();
    }
    template <class T>
    T* place(int x, int y, int w, int h) {
        return placeOn<T>(form.get(), x, y, w, h);
    }
    void repaint(HWND w) { RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN); }
};

TEST_F(EditSkinFixture, ComboButtonFromTheSkinHotOnHoverAndItsListBarSkinned) {
    TComboBox* combo = place<TComboBox>(20, 20, 180, 24);
    TComboBox* twin = place<TComboBox>(260, 20, 180, 24);
    for (auto* c : {combo, twin})
        for (int i = 0; i < 30; ++i) c->Items().Add(L"choice " + std::to_wstring(i));
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    auto* skin = new TSkinComBox(combo);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(60);
    repaint(combo->Handle());
    pumpMessages(40);
    HWND h = combo->Handle();
    // The committed skin's combo is a composite (style 2): hot-tracking uses
    // the system's button rectangle.
    ASSERT_EQ(sd->ComboButton()->Style, 2);
    COMBOBOXINFO ci{};
    ci.cbSize = sizeof(ci);
    ASSERT_TRUE(GetComboBoxInfo(h, &ci));
    EXPECT_TRUE(sameRect(skin->FButtonRect, ci.rcButton));
    PixelRect expected{ci.rcButton.left, ci.rcButton.top, ci.rcButton.right, ci.rcButton.bottom};
    Image normal = captureWindow(h);
    Image plain = captureWindow(twin->Handle());
    keepCapture(normal, L"combo_normal.bmp");
    Image btn = normal.crop(expected.left, 0, expected.width(), normal.height);
    Image twinBtn = plain.crop(expected.left, 0, expected.width(), plain.height);
    EXPECT_GT(countDifferences(btn, twinBtn, 8), size_t(btn.width * btn.height / 8));
    // Frame 1 of the composite, nine-sliced over the whole combo, is what shows
    // outside the edit.
    {
        TDataSkinBorder* e = sd->ComboButton();
        TBitmap ref(combo->Width(), combo->Height());
        HDC rdc = ref.Canvas()->Handle();
        HDC wdc = GetWindowDC(h);
        BitBlt(rdc, 0, 0, combo->Width(), combo->Height(), wdc, 0, 0, SRCCOPY);
        ReleaseDC(h, wdc);
        DrawSkinElement(skin, rdc, RECT{0, 0, combo->Width(), combo->Height()}, e->Frame, 1, e);
        EXPECT_LE(countDifferences(normal, captureFromBitmap(ref), 2), size_t(combo->Width()));
    }

    // Inside the combo but away from the button: not hot.
    mouseToScreen(clientPoint(h, expected.left - 6, combo->Height() / 2), 60);
    EXPECT_FALSE(skin->FMouseState & kMouseHot);
    mouseToScreen(clientPoint(h, (expected.left + expected.right) / 2, combo->Height() / 2), 80);
    EXPECT_TRUE(skin->FMouseState & kMouseHot);
    Image hot = captureWindow(h);
    keepCapture(hot, L"combo_hot.bmp");
    EXPECT_GT(countDifferences(hot.crop(expected.left, 0, expected.width(), hot.height), btn, 8), size_t(0));

    // Dropping the list skins its scroll bar; choosing an item works as on the twin.
    clickScreen(clientPoint(h, (expected.left + expected.right) / 2, combo->Height() / 2));
    pumpMessages(120);
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(skin->FDroppedDown);
    ASSERT_NE(skin->FListScrollbar, nullptr);
    HWND list = combo->ListHandle();
    TWScrollbar* listBar = skin->FListScrollbar->FVertBar.get();
    ASSERT_TRUE(listBar && listBar->HandleAllocated());
    EXPECT_TRUE(IsWindowVisible(listBar->HandleIfAllocated()));
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof(sbi);
    GetScrollBarInfo(list, OBJID_VSCROLL, &sbi);
    EXPECT_TRUE(sameRect(windowRect(listBar->HandleIfAllocated()), sbi.rcScrollBar));
    keepCapture(captureScreenRect(windowRect(list)), L"combo_list.bmp");
    const int itemH = int(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    clickScreen(clientPoint(list, 20, itemH * 3 + itemH / 2));
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_FALSE(skin->FDroppedDown);
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(changes, 1);
    // The list is closed: its cover went with it, and the button is not left pressed.
    EXPECT_FALSE(IsWindowVisible(listBar->HandleIfAllocated()));
    EXPECT_FALSE(skin->FMouseState & kMousePressed);
    // The twin, unskinned, does the same.
    HWND th = twin->Handle();
    clickScreen(clientPoint(th, (expected.left + expected.right) / 2, twin->Height() / 2));
    pumpMessages(120);
    ASSERT_TRUE(twin->DroppedDown());
    clickScreen(clientPoint(twin->ListHandle(), 20, itemH * 3 + itemH / 2));
    EXPECT_EQ(twin->ItemIndex(), 3);
    // Detaching gives the edit its own procedure back and drops the list skin.
    HWND edit = combo->EditHandle();
    skin->Restore();
    EXPECT_EQ(skin->FListScrollbar, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), LONG_PTR(GetClassLongPtrW(edit, GCLP_WNDPROC)));
}

// A combo skinned by its handle hears of no toolkit mouse-leave: the pointer
// leaving it by the button still takes the button's hot look away.
TEST_F(EditSkinFixture, ComboSkinnedByHandleLosesItsHotButtonWhenThePointerLeaves) {
    HWND h = CreateWindowExW(0, L"COMBOBOX", nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 20, 180, 200,
                             form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(h);
    auto* skin = new TSkinComBox(nullptr);
    skin->AttachHandle(h, sd.get(), nullptr, nullptr);
    repaint(h);
    pumpMessages(60);
    const RECT b = skin->FButtonRect;
    ASSERT_LT(b.left, b.right);
    mouseToScreen(clientPoint(h, (b.left + b.right) / 2, (b.top + b.bottom) / 2), 80);
    ASSERT_TRUE(skin->FMouseState & kMouseHot);
    // Out to the right, over the form: the combo gets no further mouse move.
    mouseToScreen(clientPoint(form->Handle(), 400, 300), 120);
    EXPECT_FALSE(skin->FMouseState & kMouseHot);
    delete skin;
    DestroyWindow(h);
}

TEST_F(EditSkinFixture, RightToLeftComboDrawsItsButtonOverTheSystemsAndItOpensTheList) {
    TComboBox* combo = place<TComboBox>(20, 80, 180, 24);
    combo->SetStyle(csDropDownList);
    combo->SetBiDiMode(TBiDiMode::bdRightToLeftNoAlign);
    for (int i = 0; i < 5; ++i) combo->Items().Add(L"item " + std::to_wstring(i));
    auto* skin = new TSkinComBox(combo);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(60);
    repaint(combo->Handle());
    pumpMessages(40);
    HWND h = combo->Handle();
    ASSERT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
    COMBOBOXINFO ci{};
    ci.cbSize = sizeof(ci);
    ASSERT_TRUE(GetComboBoxInfo(h, &ci));
    const int w = combo->Width(), ht = combo->Height();
    // The mirrored composite (kept in the sunk-edge element) when the system's
    // button is at the left, as a right-to-left combo has it; the plain one
    // when the system keeps its button at the right.
    const bool left = comboArrowAtLeft(true, ci.rcButton.left, w);
    TDataSkinObject* e = left ? sd->SunkEdge() : static_cast<TDataSkinObject*>(sd->ComboButton());
    TDataSkinObject* other = left ? static_cast<TDataSkinObject*>(sd->ComboButton()) : sd->SunkEdge();
    Image shot = captureWindow(h);
    keepCapture(shot, L"combo_rtl.bmp");
    TBitmap ref(w, ht), wrong(w, ht);
    HDC wdc = GetWindowDC(h);
    for (auto* b : {&ref, &wrong}) BitBlt(b->Canvas()->Handle(), 0, 0, w, ht, wdc, 0, 0, SRCCOPY);
    ReleaseDC(h, wdc);
    // Focused: frame 4 of the strip.
    const int frame = GetFocus() == h ? 4 : 1;
    DrawSkinElement(skin, ref.Canvas()->Handle(), RECT{0, 0, w, ht}, e->Frame, frame, e);
    DrawSkinElement(skin, wrong.Canvas()->Handle(), RECT{0, 0, w, ht}, other->Frame, frame, other);
    Image btn = shot.crop(ci.rcButton.left, 0, ci.rcButton.right - ci.rcButton.left, ht);
    auto crop = [&](TBitmap& b) { return captureFromBitmap(b).crop(ci.rcButton.left, 0, ci.rcButton.right - ci.rcButton.left, ht); };
    EXPECT_LE(countDifferences(btn, crop(ref), 2), size_t(ht));
    EXPECT_GT(countDifferences(btn, crop(wrong), 8), size_t(ht));
    // The drawn button is the one that works.
    POINT p = clientPoint(h, (ci.rcButton.left + ci.rcButton.right) / 2, ht / 2);
    RECT wr = windowRect(h);
    p = POINT{wr.left + (ci.rcButton.left + ci.rcButton.right) / 2, wr.top + ht / 2};
    mouseToScreen(p);
    clickScreen(p);
    EXPECT_TRUE(combo->DroppedDown());
    combo->SetDroppedDown(false);
}

TEST_F(EditSkinFixture, PickerWithLeftScrollBarGetsItsButtonAtTwoAndTheButtonOpensTheCalendar) {
    TDateTimePicker* dtp = place<TDateTimePicker>(20, 140, 186, 24);
    dtp->SetBiDiMode(TBiDiMode::bdRightToLeftNoAlign);
    TDateTimePicker* plain = place<TDateTimePicker>(260, 140, 186, 24);
    auto* skin = new TSkinDateTime(dtp);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(80);
    ASSERT_NE(skin->FArrowButton, nullptr);
    EXPECT_EQ(skin->FArrowButton->Left(), 2);
    EXPECT_EQ(skin->FArrowButton->Top(), 0);
    EXPECT_EQ(skin->FArrowButton->Width(), GetSystemMetrics(SM_CXHSCROLL));
    EXPECT_EQ(skin->FArrowButton->Height(), GetSystemMetrics(SM_CXHSCROLL) + 1);
    EXPECT_EQ(GetParent(skin->FArrowButton->Handle()), dtp->Handle());
    keepCapture(captureScreenRect(windowRect(dtp->Handle())), L"picker.bmp");
    // The flat border: shadow outside, white inside.
    Image shot = captureWindow(dtp->Handle());
    EXPECT_EQ(shot.colorAt(40, 0), ColorToRGB(TColor(sd->ButtonShadow)));
    EXPECT_EQ(shot.colorAt(40, 1), RGB(255, 255, 255));
    bool dropped = false;
    dtp->OnDropDown = [&](TObject*) { dropped = true; };
    HWND btn = skin->FArrowButton->Handle();
    clickScreen(clientPoint(btn, 8, 8));
    pumpMessages(150);
    EXPECT_TRUE(dropped);
    EXPECT_TRUE(dtp->DroppedDown());
    // The skinned picker opens it exactly where the plain one does.
    SendMessageW(dtp->Handle(), DTM_CLOSEMONTHCAL, 0, 0);
    pumpMessages(60);
    RECT pickerCal = windowRect(reinterpret_cast<HWND>(SendMessageW(dtp->Handle(), DTM_GETMONTHCAL, 0, 0)));
    mouseToScreen(clientPoint(plain->Handle(), plain->ClientWidth() - 6, 8));
    clickScreen(clientPoint(plain->Handle(), plain->ClientWidth() - 6, 8));
    pumpMessages(150);
    ASSERT_TRUE(plain->DroppedDown());
    RECT plainCal = windowRect(reinterpret_cast<HWND>(SendMessageW(plain->Handle(), DTM_GETMONTHCAL, 0, 0)));
    EXPECT_EQ(pickerCal.top - windowRect(dtp->Handle()).top, plainCal.top - windowRect(plain->Handle()).top);
    SendMessageW(plain->Handle(), DTM_CLOSEMONTHCAL, 0, 0);
    // Detached, the picker's own button shows again.
    skin->Restore();
    EXPECT_EQ(skin->FArrowButton, nullptr);
}

TEST_F(EditSkinFixture, UpDownAloneDrawsTheSkinAndClicksLikeItsTwin) {
    TUpDown* ud = place<TUpDown>(20, 200, 17, 30);
    TUpDown* twin = place<TUpDown>(260, 200, 17, 30);
    auto* skin = new TSkinUpDown(ud);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(60);
    // A user's click: the pointer arrives over the arrow first.
    auto click = [](HWND w, int x, int y) {
        mouseToScreen(clientPoint(w, x, y), 40);
        clickScreen(clientPoint(w, x, y));
    };
    for (auto* u : {ud, twin}) click(u->Handle(), 8, 6);
    EXPECT_EQ(ud->Position(), 1);
    EXPECT_EQ(twin->Position(), 1);
    for (auto* u : {ud, twin}) click(u->Handle(), 8, 24);
    EXPECT_EQ(ud->Position(), 0);
    EXPECT_EQ(twin->Position(), 0);
    // Hovering the lower half: the upper button normal (frame 1), the lower hot (frame 8).
    mouseToScreen(clientPoint(ud->Handle(), 8, 22), 80);
    repaint(ud->Handle());
    Image shot = captureWindow(ud->Handle());
    keepCapture(shot, L"updown_hot.bmp");
    TDataSkinBorder* e = sd->UpDownVert();
    ASSERT_TRUE(e && !e->Bitmap.Empty());
    for (int second = 0; second < 2; ++second) {
        TBitmap ref(17, 15);
        HDC rdc = ref.Canvas()->Handle();
        FillColor(rdc, RECT{0, 0, 17, 15}, TColor(sd->ButtonFace));
        DrawKeyedFrame(skin, rdc, RECT{0, 0, 17, 15}, 8, second ? 8 : 1, e->Bitmap);
        if (!e->Bitmap2.Empty()) DrawFrameCentred(rdc, RECT{0, 0, 17, 15}, e->Bitmap2, true, e->Frame, second ? 8 : 1);
        EXPECT_LE(countDifferences(shot.crop(0, second * 15, 17, 15), captureFromBitmap(ref), 2), size_t(17))
            << (second ? "lower" : "upper");
    }
    EXPECT_GT(countDifferences(shot, captureWindow(twin->Handle()), 8), size_t(17 * 30 / 4));
}

TEST_F(EditSkinFixture, UpDownInsideAnEditIsFoundSkinnedAndClicks) {
    TEdit* edit = place<TEdit>(20, 260, 120, 24);
    edit->SetText(L"0");
    auto* ud = new TUpDown(form.get());
    ud->SetParentWindow(edit->Handle());
    ud->SetBounds(edit->ClientWidth() - 15, 0, 15, edit->ClientHeight());
    ud->HandleNeeded();
    auto* skin = new TSkinEdit(edit);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(60);
    repaint(edit->Handle());
    pumpMessages(40);
    ASSERT_NE(skin->FUpDown, nullptr);
    EXPECT_TRUE(skin->FUpDown->FInEdit);
    EXPECT_EQ(TSkinControl::FromHandle(ud->Handle()), skin->FUpDown);
    keepCapture(captureScreenRect(windowRect(edit->Handle())), L"edit_spin.bmp");
    mouseToScreen(clientPoint(ud->Handle(), 7, 4), 40);
    clickScreen(clientPoint(ud->Handle(), 7, 4));
    clickScreen(clientPoint(ud->Handle(), 7, 4));
    EXPECT_EQ(ud->Position(), 2);
    // The edit's flat border: one shadow line, then two white rings.
    Image shot = captureWindow(edit->Handle());
    EXPECT_EQ(shot.colorAt(30, 0), ColorToRGB(TColor(sd->ButtonShadow)));
    EXPECT_EQ(shot.colorAt(30, 1), RGB(255, 255, 255));
    EXPECT_EQ(shot.colorAt(30, 2), RGB(255, 255, 255));
}

TEST_F(EditSkinFixture, EditWithoutBorderGetsNoneAndPaintsIntoAGivenDC) {
    TEdit* flat = place<TEdit>(20, 320, 120, 22);
    flat->SetBorderStyle(ebsNone);
    flat->SetColor(clRed);
    flat->SetText(L"text");
    auto* skin = new TSkinEdit(flat);
    skin->Attach(nullptr, sd.get(), false, nullptr);
    pumpMessages(60);
    repaint(flat->Handle());
    Image shot = captureWindow(flat->Handle());
    EXPECT_EQ(shot.colorAt(60, 0), RGB(255, 0, 0));
    // The engine's paint-into request: answered with the tag, the text drawn.
    TBitmap target(120, 22);
    HDC dc = target.Canvas()->Handle();
    BitBlt(dc, 0, 0, 120, 22, nullptr, 0, 0, WHITENESS);
    LRESULT r = SendMessageW(flat->Handle(), WM_SKIN_PAINT_CONTROL, reinterpret_cast<WPARAM>(dc), kSkinPaintTag);
    EXPECT_EQ(r, kSkinPaintTag);
    Image drawn = captureFromBitmap(target);
    EXPECT_LT(countColour(drawn, RECT{0, 0, 120, 22}, RGB(255, 255, 255)), size_t(120 * 22));
    // Another tag is not ours to answer.
    EXPECT_EQ(SendMessageW(flat->Handle(), WM_SKIN_PAINT_CONTROL, reinterpret_cast<WPARAM>(dc), 5), 0);
}

}  // namespace

namespace {

TEST_F(EditSkinFixture, SkinningAndDetachingLeavesNoGdiObjectsOrWindowsBehind) {
    TMemo* memo = place<TMemo>(20, 20, 200, 120);
    memo->SetScrollBars(ssBoth);
    memo->SetLines(std::vector<std::wstring>(60, L"a rather long line of text that needs the horizontal bar"));
    TComboBox* combo = place<TComboBox>(260, 20, 160, 24);
    TDateTimePicker* dtp = place<TDateTimePicker>(260, 80, 186, 24);
    pumpMessages(60);
    auto round = [&] {
        auto* ms = new TSkinScrollbar(memo);
        ms->AttachScrollbar(memo, sd.get(), nullptr, nullptr);
        auto* cs = new TSkinComBox(combo);
        cs->Attach(nullptr, sd.get(), false, nullptr);
        auto* ds = new TSkinDateTime(dtp);
        ds->Attach(nullptr, sd.get(), false, nullptr);
        for (HWND w : {memo->Handle(), combo->Handle(), dtp->Handle()}) repaint(w);
        pumpMessages(30);
        for (TSkinControl* s : std::initializer_list<TSkinControl*>{ms, cs, ds}) {
            s->Restore();
            delete s;
        }
        pumpMessages(30);
    };
    round();  // caches warm up
    const DWORD gdi = gdiObjectCount(), user = userObjectCount();
    for (int i = 0; i < 5; ++i) round();
    EXPECT_LE(gdiObjectCount(), gdi + 2);
    EXPECT_LE(userObjectCount(), user + 2);
    // Detached, the memo paints its own bars again and answers as before.
    EXPECT_EQ(memo->WindowProc() != nullptr, true);
    memo->SetText(L"x");
    EXPECT_EQ(memo->GetText(), L"x");
}

}  // namespace
