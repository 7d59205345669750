// Tool bars on real windows: the custom-draw events reached through the
// parent's notification, the skin's painters hooked by the classification
// and seen in pixels, and buttons clicked with the real mouse.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "ComCtrlsToolBar.h"
#include "Menus.h"
#include "test_control_skin_util.h"
#include "test_menus_util.h"
#include "test_progress_util.h"

using namespace qs;
using namespace qs::test;

namespace {

const COLORREF kNormal = RGB(0x11, 0, 0), kPressed = RGB(0x22, 0, 0), kHot = RGB(0x44, 0, 0);

// Five 10 x 10 frames of one colour each: normal, pressed, -, hot, -.
std::unique_ptr<TSkinData> buttonSkin() {
    SkinBuilder b = plainSkin();
    b.image("buttons.bmp", stripImage(10, 10, {0x110000, 0x220000, 0x330000, 0x440000, 0x550000}));
    b.text("[Buttons]\nBitmap=buttons.bmp");
    return makeSkinData(std::move(b));
}

Image shot(TWinControl* c) {
    RedrawWindow(c->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpMessages(30);
    Image img = captureWindow(c->Handle());
    if (const char* dir = getenv("QS_SHOTS")) {
        static int n = 0;
        std::string path = std::string(dir) + "/toolbar" + std::to_string(n++) + ".bmp";
        saveBmp(img, std::wstring(path.begin(), path.end()));
    }
    return img;
}

size_t inButton(const Image& img, TToolButton* b, COLORREF c) { return countColour(img, b->BoundsRect(), c); }

// A form holding a bar of three buttons with no caption or image, so a
// button's face is all frame.
struct Bar {
    std::unique_ptr<TForm> form = makeShownForm();
    TToolBar* bar = nullptr;
    Bar() {
        bar = new TToolBar(form.get());
        bar->SetParent(form.get());
        bar->SetButtonSize(40, 30);
        bar->SetBounds(0, 0, form->ClientWidth(), 40);
        for (int i = 0; i < 3; ++i) bar->AddButton();
        pumpMessages(30);
    }
    POINT centre(int i) const {
        RECT r = bar->Button(i)->BoundsRect();
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

}  // namespace

TEST(ToolBar, ClassificationMakesItFlatAndHooksOnlyUnassignedPainters) {
    auto sd = buttonSkin();
    Bar t;
    auto* own = new TToolBar(t.form.get());
    own->SetParent(t.form.get());
    int ownCalls = 0;
    own->OnCustomDrawButton = [&](TObject*, HDC, const RECT&, UINT, TColor&, bool&) { ++ownCalls; };
    ASSERT_FALSE(t.bar->Flat());
    ClassifyingFormSkin fs(t.form->Handle(), sd.get(), t.form.get());
    SkinAllControls(*fs, t.form.get());
    EXPECT_TRUE(t.bar->Flat());
    EXPECT_TRUE(GetWindowLongW(t.bar->Handle(), GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_TRUE(bool(t.bar->OnCustomDraw));
    EXPECT_TRUE(bool(t.bar->OnCustomDrawButton));
    // The program's own handler stays and is the one called.
    own->AddButton(L"x");
    ASSERT_TRUE(bool(own->OnCustomDrawButton));
    shot(own);
    EXPECT_GT(ownCalls, 0);
}

TEST(ToolBar, SkinnedButtonsShowTheSkinFramesAndClickWithTheMouse) {
    auto sd = buttonSkin();
    Bar t;
    int clicks[3] = {};
    for (int i = 0; i < 3; ++i) t.bar->Button(i)->OnClick = [&clicks, i](TObject*) { ++clicks[i]; };
    ClassifyingFormSkin fs(t.form->Handle(), sd.get(), t.form.get());
    SkinAllControls(*fs, t.form.get());
    TToolButton *b0 = t.bar->Button(0), *b1 = t.bar->Button(1);

    // Nothing hot: no button frame anywhere.
    mouseTo(t.form->Handle(), 300, 250);
    Image img = shot(t.bar);
    EXPECT_EQ(inButton(img, b0, kHot) + inButton(img, b0, kPressed) + inButton(img, b0, kNormal), 0u);

    POINT c = t.centre(1);
    mouseTo(t.bar->Handle(), c.x, c.y);
    img = shot(t.bar);
    RECT r = b1->BoundsRect();
    // The hot frame fills the button less a one-pixel edge.
    const size_t inner = size_t(r.right - r.left - 2) * size_t(r.bottom - r.top - 2);
    EXPECT_EQ(inButton(img, b1, kHot), inner);
    EXPECT_EQ(inButton(img, b0, kHot), 0u);

    mouseButton(true);
    img = shot(t.bar);
    EXPECT_EQ(inButton(img, b1, kPressed), inner);
    EXPECT_EQ(clicks[1], 0);  // a click is a release
    mouseButton(false);
    EXPECT_EQ(clicks[0], 0);
    EXPECT_EQ(clicks[1], 1);
    EXPECT_EQ(clicks[2], 0);

    // A disabled button is drawn by the system and raises nothing.
    t.bar->Button(2)->SetEnabled(false);
    c = t.centre(2);
    clickAt(t.bar->Handle(), c.x, c.y);
    EXPECT_EQ(clicks[2], 0);
    img = shot(t.bar);
    EXPECT_EQ(inButton(img, t.bar->Button(2), kHot) + inButton(img, t.bar->Button(2), kPressed), 0u);
    mouseTo(t.form->Handle(), 300, 250);
}

// The painters point at the form skin that hooked them: once it is freed,
// a repaint of the bar must not reach it, and a new skin brings its own.
TEST(ToolBar, UnskinTakesThePaintersOffAndReskinHooksFreshOnes) {
    auto first = buttonSkin();
    SkinBuilder b = plainSkin();
    b.image("buttons.bmp", stripImage(10, 10, {0x110000, 0x220000, 0x330000, 0x660000, 0x550000}));
    b.text("[Buttons]\nBitmap=buttons.bmp");
    auto second = makeSkinData(std::move(b));
    const COLORREF kSecondHot = RGB(0x66, 0, 0);
    Bar t;
    POINT c = t.centre(1);
    auto fs = std::make_unique<ClassifyingFormSkin>(t.form->Handle(), first.get(), t.form.get());
    SkinAllControls(**fs, t.form.get());
    ASSERT_TRUE(bool(t.bar->OnCustomDrawButton));
    fs.reset();  // unskinned: the form skin is gone
    EXPECT_FALSE(bool(t.bar->OnCustomDraw));
    EXPECT_FALSE(bool(t.bar->OnCustomDrawButton));
    EXPECT_FALSE(t.bar->Flat());
    mouseTo(t.bar->Handle(), c.x, c.y);
    Image img = shot(t.bar);  // the system's look, and nothing reaches the freed form skin
    EXPECT_EQ(inButton(img, t.bar->Button(1), kHot), 0u);

    ClassifyingFormSkin again(t.form->Handle(), second.get(), t.form.get());
    SkinAllControls(*again, t.form.get());
    EXPECT_TRUE(t.bar->Flat());
    mouseTo(t.bar->Handle(), c.x + 1, c.y);
    img = shot(t.bar);
    RECT r = t.bar->Button(1)->BoundsRect();
    EXPECT_EQ(inButton(img, t.bar->Button(1), kSecondHot), size_t(r.right - r.left - 2) * size_t(r.bottom - r.top - 2));
    mouseTo(t.form->Handle(), 300, 250);
}

TEST(ToolBar, HandlersThatTakeOverTheDrawingAreObeyed) {
    Bar t;
    t.bar->SetFlat(true);
    const COLORREF kBack = RGB(0, 0x80, 0), kFace = RGB(0, 0, 0xC0);
    bool takeBackground = false;
    TObject* buttonSender = nullptr;
    t.bar->OnCustomDraw = [&](TObject*, HDC dc, const RECT& r, bool& def) {
        FillColor(dc, r, TColor(kBack));
        if (takeBackground) def = false;
    };
    t.bar->OnCustomDrawButton = [&](TObject* sender, HDC dc, const RECT& r, UINT, TColor&, bool& def) {
        buttonSender = sender;
        FillColor(dc, r, TColor(kFace));
        def = false;
    };
    Image img = shot(t.bar);
    RECT r0 = t.bar->Button(0)->BoundsRect();
    EXPECT_EQ(inButton(img, t.bar->Button(0), kFace), size_t(r0.right - r0.left) * size_t(r0.bottom - r0.top));
    EXPECT_EQ(buttonSender, t.bar->Button(2));
    // Right of the last button only the background event painted.
    RECT rest{t.bar->Button(2)->BoundsRect().right + 2, 2, t.bar->Width() - 2, t.bar->Height() - 2};
    ASSERT_LT(rest.left, rest.right);
    EXPECT_EQ(countColour(img, rest, kBack), size_t(rest.right - rest.left) * size_t(rest.bottom - rest.top));
    // Taking the whole bar skips the buttons.
    takeBackground = true;
    img = shot(t.bar);
    EXPECT_EQ(inButton(img, t.bar->Button(0), kFace), 0u);
    EXPECT_EQ(inButton(img, t.bar->Button(0), kBack), size_t(r0.right - r0.left) * size_t(r0.bottom - r0.top));
}

TEST(ToolBar, ButtonsOutliveTheWindowAndLeaveTheBarWhenFreed) {
    Bar t;
    t.bar->Button(1)->SetCaption(L"Open");
    auto* sep = new TToolButton(t.form.get());
    sep->SetStyle(tbsSeparator);
    sep->SetToolBar(t.bar);
    HWND before = t.bar->Handle();
    t.bar->SetList(true);  // a new window
    ASSERT_NE(t.bar->Handle(), before);
    ASSERT_EQ(SendMessageW(t.bar->Handle(), TB_BUTTONCOUNT, 0, 0), 4);
    wchar_t text[32] = {};
    SendMessageW(t.bar->Handle(), TB_GETBUTTONTEXTW, WPARAM(t.bar->Button(1)->CommandId()), LPARAM(text));
    EXPECT_STREQ(text, L"Open");
    // Freeing a button takes it off the window; the others keep their commands.
    int clicks = 0;
    t.bar->Button(2)->OnClick = [&](TObject*) { ++clicks; };
    delete t.bar->Button(1);
    EXPECT_EQ(t.bar->ButtonCount(), 3);
    EXPECT_EQ(SendMessageW(t.bar->Handle(), TB_BUTTONCOUNT, 0, 0), 3);
    SendMessageW(t.form->Handle(), WM_COMMAND, MAKEWPARAM(t.bar->Button(1)->CommandId(), BN_CLICKED),
                 LPARAM(t.bar->Handle()));
    EXPECT_EQ(clicks, 1);
    // A button owned by the form outlives its bar, detached.
    delete t.bar;
    EXPECT_EQ(sep->ToolBar(), nullptr);
    RECT gone = sep->BoundsRect();
    EXPECT_TRUE(IsRectEmpty(&gone));
}

namespace {
bool checkedInWindow(const TToolBar* bar, const TToolButton* b) {
    return SendMessageW(bar->HandleIfAllocated(), TB_ISBUTTONCHECKED, WPARAM(b->CommandId()), 0) != 0;
}
}  // namespace

TEST(ToolBar, CheckButtonsStayDownAndGroupedOnesActAsRadio) {
    Bar t;
    TToolButton *single = t.bar->Button(0), *a = t.bar->Button(1), *b = t.bar->Button(2);
    single->SetStyle(tbsCheck);
    a->SetStyle(tbsCheck);
    a->SetGrouped(true);
    b->SetStyle(tbsCheck);
    b->SetGrouped(true);
    int clicks = 0;
    single->OnClick = [&](TObject*) { ++clicks; };
    auto click = [&](int i) {
        POINT c = t.centre(i);
        clickAt(t.bar->Handle(), c.x, c.y);
    };

    click(0);
    EXPECT_TRUE(single->Down());
    EXPECT_TRUE(checkedInWindow(t.bar, single));
    EXPECT_EQ(clicks, 1);
    click(0);
    EXPECT_FALSE(single->Down());
    EXPECT_FALSE(checkedInWindow(t.bar, single));
    EXPECT_EQ(clicks, 2);

    click(1);
    EXPECT_TRUE(a->Down());
    click(2);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_FALSE(checkedInWindow(t.bar, a));
    click(2);  // the down one of a group stays down
    EXPECT_TRUE(b->Down());
    mouseTo(t.form->Handle(), 300, 250);
    shot(t.bar);
    EXPECT_FALSE(single->Down());  // not of the group

    // From code the group rule holds too, and the state survives a new window.
    a->SetDown(true);
    EXPECT_FALSE(b->Down());
    EXPECT_FALSE(checkedInWindow(t.bar, b));
    t.bar->SetList(true);
    EXPECT_TRUE(checkedInWindow(t.bar, a));
    EXPECT_FALSE(checkedInWindow(t.bar, b));
    mouseTo(t.form->Handle(), 300, 250);
}

TEST(ToolBar, DropDownArrowOpensTheButtonsMenuAndTheMainPartClicks) {
    Bar t;
    TToolButton* drop = t.bar->Button(1);
    auto* menu = new TPopupMenu(t.form.get());
    int chosen = 0, clicks = 0;
    auto* item = new TMenuItem(menu);
    item->SetCaption(L"First");
    item->OnClick = [&](TObject*) { ++chosen; };
    menu->Items()->Add(item);
    drop->SetStyle(tbsDropDown);
    drop->SetDropdownMenu(menu);
    drop->OnClick = [&](TObject*) { ++clicks; };
    pumpMessages(30);
    const RECT r = drop->BoundsRect();
    ASSERT_GT(r.right - r.left, 40);  // the arrow part is added to the button
    shot(t.bar);

    RECT shown{};
    MenuScript script({
        [&] {
            HWND w = windowShowing(menu->Handle());
            if (w) GetWindowRect(w, &shown);
            return w != nullptr;
        },
        [&] {
            tapKey(VK_DOWN);
            tapKey(VK_RETURN);
            return true;
        },
        // The keys are still queued: the menu must see them before the script ends it.
        [&] { return menuWindows().empty(); },
    });
    clickAt(t.bar->Handle(), r.right - 4, (r.top + r.bottom) / 2);
    EXPECT_TRUE(runScript(script));
    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(chosen, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(menu->PopupComponent(), drop);
    // Under the button, from its left edge.
    POINT below{r.left, r.bottom};
    ClientToScreen(t.bar->Handle(), &below);
    EXPECT_LE(std::abs(shown.left - below.x), 2);
    EXPECT_LE(std::abs(shown.top - below.y), 2);

    clickAt(t.bar->Handle(), r.left + 8, (r.top + r.bottom) / 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(menuWindows().empty());
    delete menu;
    EXPECT_EQ(drop->DropdownMenu(), nullptr);
    mouseTo(t.form->Handle(), 300, 250);
}

TEST(ToolBar, HintsComeFromTheButtonsWhileShowHintIsOn) {
    Bar t;
    t.bar->Button(0)->SetHint(L"Open a file");
    HWND tip = HWND(SendMessageW(t.bar->Handle(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    auto ask = [&](TToolButton* b) {
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = tip;
        info.hdr.idFrom = UINT_PTR(b->CommandId());
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(t.bar->Handle(), WM_NOTIFY, info.hdr.idFrom, LPARAM(&info));
        return std::wstring(info.lpszText ? info.lpszText : info.szText);
    };
    EXPECT_EQ(ask(t.bar->Button(0)), L"");  // ShowHint off
    t.bar->SetShowHint(true);
    EXPECT_EQ(ask(t.bar->Button(0)), L"Open a file");
    EXPECT_EQ(ask(t.bar->Button(1)), L"");

    // Resting the real pointer on the button brings the tip up.
    mouseTo(t.form->Handle(), 300, 250);
    POINT c = t.centre(0);
    mouseTo(t.bar->Handle(), c.x, c.y);
    mouseTo(t.bar->Handle(), c.x + 1, c.y);
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(tip) != FALSE; }, 4000));
    if (const char* dir = getenv("QS_SHOTS")) saveBmp(captureWindow(tip), std::wstring(dir, dir + strlen(dir)) + L"/tooltip.bmp");
    mouseTo(t.form->Handle(), 300, 250);
}

TEST(ToolBar, WrapableButtonsTakeFurtherRowsAndAutoSizeFollowsThem) {
    Bar t;
    t.bar->SetAlign(alNone);
    t.bar->SetWrapable(true);
    t.bar->SetAutoSize(true);
    const int oneRow = t.bar->Height();
    EXPECT_EQ(t.bar->RowCount(), 1);
    EXPECT_GE(oneRow, 30);
    // Room for two 40-pixel buttons: the third goes below the first.
    t.bar->SetBounds(0, 0, 100, oneRow);
    pumpMessages(30);
    EXPECT_EQ(t.bar->RowCount(), 2);
    RECT first = t.bar->Button(0)->BoundsRect(), third = t.bar->Button(2)->BoundsRect();
    EXPECT_EQ(third.left, first.left);
    EXPECT_GE(third.top, first.bottom);
    EXPECT_GE(t.bar->Height(), int(third.bottom));
    EXPECT_LE(t.bar->Height(), int(third.bottom) + 6);
    int clicks = 0;
    t.bar->Button(2)->OnClick = [&](TObject*) { ++clicks; };
    POINT c = t.centre(2);
    clickAt(t.bar->Handle(), c.x, c.y);
    EXPECT_EQ(clicks, 1);
    shot(t.bar);
    // Wide again: one row and the first height.
    t.bar->SetBounds(0, 0, 300, t.bar->Height());
    pumpMessages(30);
    EXPECT_EQ(t.bar->RowCount(), 1);
    EXPECT_EQ(t.bar->Height(), oneRow);
    mouseTo(t.form->Handle(), 300, 250);
}
