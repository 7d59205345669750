// Pop-up menus in the skin's look: the menu window shows the MenuBackground
// picture, its items are painted on pieces of it, the SkinControls gates
// decide which menu windows are skinned, and opening and closing many menus
// leaves nothing behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "Forms.h"
#include "ImgList.h"
#include "MenuPaint.h"
#include "SkinManage.h"
#include "SkinMenu.h"
#include "SkinPopMenu.h"
#include "test_menus_util.h"

using namespace qs;
using namespace qs::test;

namespace {

bool dark(uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300; }

class PopMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        sd->SetActive(true);
        mgr = SkinManager();
        ASSERT_TRUE(mgr);
        ASSERT_TRUE(mgr->FActive);
    }
    void TearDown() override {
        form.reset();
        if (wnd && ::IsWindow(wnd)) ::DestroyWindow(wnd);
        sd.reset();
        FreeSkinManager();
    }
    // A shown toolkit form, skinned by the manager, owning a pop-up menu.
    TPopupMenu* formWithPopup() {
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption(L"Menus");
        form->SetBounds(60, 60, 320, 220);
        auto* pm = new TPopupMenu(form.get());
        auto add = [pm](const wchar_t* caption) {
            auto* i = new TMenuItem(pm);
            i->SetCaption(caption);
            pm->Items()->Add(i);
            return i;
        };
        TMenuItem* open = add(L"&Open");
        open->SetShortCut(MakeShortCut('O', scCtrl));
        open->OnClick = [this](TObject*) { ++clicks; };
        add(L"-");
        add(L"Checked")->SetChecked(true);
        add(L"Disabled")->SetEnabled(false);
        form->Show();
        EXPECT_TRUE(waitFor([&] { return ::SendMessageW(form->Handle(), WM_SKIN_QUERY, 0, 0) == 1; }));
        pumpMessages(60);
        return pm;
    }

    std::unique_ptr<TSkinData> sd;
    TSkinManage* mgr = nullptr;
    std::unique_ptr<TForm> form;
    HWND wnd = nullptr;
    int clicks = 0;
};

// Window coordinates of item i of the menu shown in a menu window.
RECT itemRect(HWND menuWnd, int i) {
    RECT r{}, wr{};
    ::GetMenuItemRect(menuWnd, menuOf(menuWnd), UINT(i), &r);
    ::GetWindowRect(menuWnd, &wr);
    ::OffsetRect(&r, -wr.left, -wr.top);
    return r;
}

}  // namespace

TEST_F(PopMenuTest, ContextMenuShowsThePictureWithSkinnedItemsAndRunsTheChosenOne) {
    TPopupMenu* pm = formWithPopup();
    EXPECT_TRUE(pm->OwnerDraw());  // the form skin hooked its pop-up menu

    TDataSkinObject* bgElement = sd->MenuBackground();
    TDataSkinObject* itemElement = sd->MenuItem();
    ASSERT_TRUE(bgElement && itemElement);
    const int fw = itemElement->Bitmap.Width() / 5;
    const uint32_t selectedFill = itemElement->Bitmap.View().at(3 * fw + fw / 2, itemElement->Bitmap.Height() / 2) & 0xFFFFFF;
    const uint32_t menuColour = ::GetSysColor(COLOR_MENU);

    HWND menuWnd = nullptr;
    LRESULT query = 0;
    int ringMismatch = -1, ringTotal = 0, underItemMismatch = -1, textPixels = 0, selectedPixels = 0;
    int printMismatch = -1;
    bool systemLook = false;
    MenuScript script({
        [&] {
            auto ws = menuWindows();
            if (ws.empty()) return false;
            menuWnd = ws.front();
            query = ::SendMessageW(menuWnd, WM_SKIN_QUERY, 0, 0);
            return true;
        },
        [&] {
            TWinSkinPopMenu* p = TWinSkinPopMenu::FromWindow(menuWnd);
            if (!p || p->FBackground.Empty()) return true;
            const Image img = captureWindow(menuWnd);
            // The frame ring (3 pixels) is the picture.
            ringMismatch = 0;
            for (int y = 0; y < img.height; ++y)
                for (int x = 0; x < 3; ++x, ++ringTotal)
                    if (img.at(x, y) != (p->FBackground.View().at(x, y) & 0xFFFFFF)) ++ringMismatch;
            // Under the first item, left of its text: the picture, not a fill.
            const RECT r0 = itemRect(menuWnd, 0);
            underItemMismatch = 0;
            for (int y = r0.top + 2; y < r0.bottom - 2; ++y) {
                const int x = r0.left + 5;
                if (img.at(x, y) != (p->FBackground.View().at(x, y) & 0xFFFFFF)) ++underItemMismatch;
                if (img.at(x, y) == (menuColour & 0xFFFFFF)) systemLook = true;
            }
            for (int y = r0.top; y < r0.bottom; ++y)
                for (int x = r0.left; x < r0.right; ++x) textPixels += dark(img.at(x, y));
            // WM_PRINT (the system's menu animation) draws the same picture.
            TBitmap printed(img.width, img.height);
            ::SendMessageW(menuWnd, WM_PRINT, WPARAM(printed.Canvas()->Handle()), PRF_NONCLIENT | PRF_CLIENT);
            ::GdiFlush();
            printMismatch = 0;
            for (int y = 0; y < img.height; ++y)
                if ((printed.View().at(1, y) & 0xFFFFFF) != (p->FBackground.View().at(1, y) & 0xFFFFFF)) ++printMismatch;
            tapKey(VK_DOWN);  // selects "Open"
            return true;
        },
        [&] {
            const Image img = captureWindow(menuWnd);
            const RECT r0 = itemRect(menuWnd, 0);
            // Right of the caption, left of the shortcut: the selected frame.
            for (int x = r0.left + 60; x < r0.left + 70; ++x)
                selectedPixels += img.at(x, (r0.top + r0.bottom) / 2) == selectedFill;
            if (!selectedPixels) return false;  // not repainted yet
            if (const char* dir = std::getenv("QS_SHOTS")) saveBmp(img, std::wstring(dir, dir + std::strlen(dir)) + L"\\popmenu.bmp");
            tapKey(VK_RETURN);
            return true;
        },
        [&] { return menuWindows().empty(); },  // Enter closes it
    });
    pm->Popup(100, 100);
    ASSERT_TRUE(runScript(script));
    EXPECT_FALSE(script.timedOut());
    EXPECT_EQ(query, 1);
    EXPECT_EQ(ringMismatch, 0) << "of " << ringTotal;
    EXPECT_EQ(underItemMismatch, 0);
    EXPECT_FALSE(systemLook);
    EXPECT_GT(textPixels, 20);
    EXPECT_EQ(printMismatch, 0);
    EXPECT_GT(selectedPixels, 5);
    pumpMessages(60);
    EXPECT_EQ(clicks, 1);
    // The last menu window closed: the next menu is judged afresh.
    EXPECT_TRUE(mgr->FMenuSkins.empty());
    EXPECT_EQ(mgr->FMenuKind, mkContext);
}

TEST_F(PopMenuTest, GatesContextMenusOffKeepBarDropDownsSkinned) {
    sd->SetSkinControls(sd->SkinControls() & ~setBit(xcPopupMenu));
    HMENU bar = ::CreateMenu();
    HMENU drop = ::CreatePopupMenu();
    ::AppendMenuW(drop, MF_STRING, 101, L"One");
    ::AppendMenuW(drop, MF_STRING, 102, L"Two");
    ::AppendMenuW(bar, MF_POPUP, UINT_PTR(drop), L"&File");
    wnd = makeWindow(300, 160, WS_OVERLAPPEDWINDOW, 0, L"Gates", nullptr, bar);
    ASSERT_TRUE(waitFor([&] { return ::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0) == 1; }));
    TWinSkinForm* fs = mgr->FindFormSkin(wnd);
    ASSERT_TRUE(fs && fs->FSkinMenu);

    // A context menu: not skinned.
    HMENU ctx = ::CreatePopupMenu();
    ::AppendMenuW(ctx, MF_STRING, 201, L"Context");
    bool contextSkinned = true;
    LRESULT contextQuery = 1;
    MenuScript s1({[&] {
        auto ws = menuWindows();
        if (ws.empty()) return false;
        contextSkinned = TWinSkinPopMenu::FromWindow(ws.front()) != nullptr;
        contextQuery = ::SendMessageW(ws.front(), WM_SKIN_QUERY, 0, 0);
        return true;
    }});
    ::TrackPopupMenu(ctx, TPM_RIGHTBUTTON, 120, 120, 0, wnd, nullptr);
    ASSERT_TRUE(runScript(s1));
    EXPECT_FALSE(contextSkinned);
    EXPECT_NE(contextQuery, 1);
    EXPECT_EQ(mgr->FMenuKind, mkContext);

    // The bar's drop-down: skinned (xcMainMenu).
    bool dropSkinned = false;
    int kindWhileOpen = -1;
    MenuScript s2({[&] {
        HWND w = windowShowing(drop);
        if (!w) return false;
        dropSkinned = TWinSkinPopMenu::FromWindow(w) != nullptr && ::SendMessageW(w, WM_SKIN_QUERY, 0, 0) == 1;
        kindWhileOpen = mgr->FMenuKind;
        return true;
    }});
    fs->OpenMenuButton(fs->FSkinMenu->Button(0));
    ASSERT_TRUE(runScript(s2));
    EXPECT_TRUE(dropSkinned);
    EXPECT_EQ(kindWhileOpen, mkDropDown);
    EXPECT_EQ(mgr->FMenuKind, mkContext);
    EXPECT_TRUE(mgr->FMenuSkins.empty());
    ::DestroyMenu(ctx);
}

TEST_F(PopMenuTest, CheckedItemWithoutImageGetsASixteenPixelGlyphBox) {
    TDataSkinObject* e = sd->MenuItem();
    ASSERT_TRUE(e);
    const int lw = e->LeftWidth;
    // Runs of columns holding dark pixels (mark, caption), left to right.
    auto runs = [&](const TMenuItemView& v) {
        TBitmap b(180, 20);
        const RECT r{0, 0, 180, 20};
        DrawMenuItemView(sd.get(), v, b.Canvas()->Handle(), r, false);
        ::GdiFlush();
        std::vector<std::pair<int, int>> out;
        int blank = 99;
        for (int x = 0; x < 180; ++x) {
            bool any = false;
            for (int y = 0; y < 20; ++y) any = any || dark(b.View().at(x, y) & 0xFFFFFF);
            if (!any) {
                ++blank;
                continue;
            }
            if (blank >= 2 || out.empty()) out.push_back({x, x});
            out.back().second = x;
            blank = 0;
        }
        return out;
    };
    TImageList narrow(nullptr);
    narrow.SetSize(8, 8);
    TMenuItemView plain;
    plain.caption = L"Caption";
    plain.images = &narrow;  // an 8-pixel image list, no image for this item
    TMenuItemView checked = plain;
    checked.checked = true;
    checked.images = nullptr;  // no image list at all

    const auto p = runs(plain);
    const auto c = runs(checked);
    ASSERT_GE(p.size(), 1u);
    ASSERT_GE(c.size(), 2u);
    // Unchecked, 8-pixel image list: the caption follows an 8-pixel box.
    EXPECT_GE(p[0].first, 1 + lw + 8 + 3);
    EXPECT_LT(p[0].first, 1 + lw + 16 + 3);
    // Checked without an image: the mark inside a 16-pixel box, the caption after it.
    EXPECT_GE(c[0].first, 1 + lw);
    EXPECT_LT(c[0].second, 1 + lw + 16);
    EXPECT_GE(c[1].first, 1 + lw + 16 + 3);
}

TEST_F(PopMenuTest, SeparatorTakesTheBottomBandOrTheWholeStripWhenTaller) {
    TDataSkinObject* e = sd->MenuItem();
    ASSERT_TRUE(e);
    const int fw = e->Bitmap.Width() / 5, bh = e->Bitmap.Height();
    // Rows of frame 2 that are not transparent (the separator line).
    std::vector<int> lineRows;
    for (int y = 0; y < bh; ++y)
        for (int x = 0; x < fw; ++x)
            if ((e->Bitmap.View().at(fw + x, y) & 0xFFFFFF) != 0xFF00FF) {
                lineRows.push_back(y);
                break;
            }
    ASSERT_FALSE(lineRows.empty());
    auto rowsDrawn = [&](int h) {
        TBitmap b(100, h);
        const RECT r{0, 0, 100, h};
        UniqueBrush green(::CreateSolidBrush(RGB(0, 200, 0)));
        ::FillRect(b.Canvas()->Handle(), &r, green.get());
        DrawMenuSeparator(sd.get(), b.Canvas()->Handle(), r);
        ::GdiFlush();
        std::vector<int> rows;
        for (int y = 0; y < h; ++y)
            if ((b.View().at(50, y) & 0xFFFFFF) != 0x00C800) rows.push_back(y);
        return rows;
    };
    // A short item shows the bottom of the strip.
    const int shortH = 8;
    std::vector<int> wantShort;
    for (int y : lineRows)
        if (y >= bh - shortH) wantShort.push_back(y - (bh - shortH));
    EXPECT_EQ(rowsDrawn(shortH), wantShort);
    // Taller than the strip: all of it, at the item's bottom.
    const int tallH = bh + 10;
    std::vector<int> wantTall;
    for (int y : lineRows) wantTall.push_back(y + 10);
    EXPECT_EQ(rowsDrawn(tallH), wantTall);
}

TEST_F(PopMenuTest, FiveHundredMenusLeaveNoSkinNoSubclassAndNoGdiObject) {
    TPopupMenu* pm = formWithPopup();
    int seenSkinned = 0, opened = 0;
    HWND lastMenu = nullptr;
    auto once = [&] {
        MenuScript s({[&] {
            auto ws = menuWindows();
            if (ws.empty()) return false;
            ++opened;
            lastMenu = ws.front();
            if (TWinSkinPopMenu::FromWindow(ws.front())) ++seenSkinned;
            return true;
        }});
        pm->Popup(100, 100);
        runScript(s);
    };
    for (int i = 0; i < 5; ++i) once();  // warm-up: fonts, caches
    const DWORD gdiBefore = gdiObjectCount();
    seenSkinned = opened = 0;
    for (int i = 0; i < 500; ++i) once();
    pumpMessages(50);
    EXPECT_EQ(opened, 500);
    EXPECT_EQ(seenSkinned, 500);
    EXPECT_TRUE(mgr->FMenuSkins.empty());
    EXPECT_EQ(TWinSkinPopMenu::FromWindow(lastMenu), nullptr);
    EXPECT_LE(gdiObjectCount(), gdiBefore + 2);
}
