// The skinned menu bar on a real window with the real mouse and keyboard:
// drawn in the band under the title with the system's menu bar gone, buttons
// that open their drop-downs under them (or only post their command), the
// keyboard walk between drop-downs and the mouse switching them, right-to-left
// menus.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Forms.h"
#include "SkinManage.h"
#include "SkinPopMenu.h"
#include "SkinMenu.h"
#include "SkinRecords.h"
#include "test_menus_util.h"

using namespace qs;
using namespace qs::test;

namespace {

std::vector<UINT>& commands() {
    static std::vector<UINT> c;
    return c;
}

LRESULT CALLBACK recordingProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && lParam == 0) commands().push_back(LOWORD(wParam));
    return ::DefWindowProcW(w, msg, wParam, lParam);
}

const wchar_t* recordingClass() {
    static const wchar_t* name = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = recordingProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"QsSkinMenuTest";
        ::RegisterClassW(&wc);
        return L"QsSkinMenuTest";
    }();
    return name;
}

bool darkPixel(uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300; }

class SkinMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        commands().clear();
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        sd->SetActive(true);
        mgr = SkinManager();
        ASSERT_TRUE(mgr && mgr->FActive);
    }
    void TearDown() override {
        if (wnd && ::IsWindow(wnd)) ::DestroyWindow(wnd);
        sd.reset();
        FreeSkinManager();
    }
    void append(HMENU m, const wchar_t* text, UINT id, HMENU sub = nullptr, UINT extraState = 0, bool rtl = false) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_ID | MIIM_STATE | (sub ? MIIM_SUBMENU : 0);
        mii.fType = MFT_STRING | (rtl ? MFT_RIGHTORDER : 0);
        mii.fState = extraState;
        mii.wID = id;
        mii.hSubMenu = sub;
        mii.dwTypeData = const_cast<wchar_t*>(text);
        ::InsertMenuItemW(m, UINT(::GetMenuItemCount(m)), TRUE, &mii);
    }
    // File (Open, Sub > Alpha Beta, Exit), Edit (Cut), an empty caption, Run
    // (a command of its own), Locked (disabled), Help (About).
    void build(bool rtl = false) {
        HMENU bar = ::CreateMenu();
        file = ::CreatePopupMenu();
        sub = ::CreatePopupMenu();
        edit = ::CreatePopupMenu();
        locked = ::CreatePopupMenu();
        help = ::CreatePopupMenu();
        append(sub, L"Alpha", 121, nullptr, 0, rtl);
        append(sub, L"Beta", 122, nullptr, 0, rtl);
        append(file, L"&Open", 110, nullptr, 0, rtl);
        append(file, L"&Sub", 120, sub, 0, rtl);
        append(file, L"E&xit", 111, nullptr, 0, rtl);
        append(edit, L"Cut", 130, nullptr, 0, rtl);
        append(locked, L"X", 160, nullptr, 0, rtl);
        append(help, L"About", 170, nullptr, 0, rtl);
        append(bar, L"&File", 100, file, 0, rtl);
        append(bar, L"&Edit", 101, edit, 0, rtl);
        append(bar, L"", 102, nullptr, 0, rtl);
        append(bar, L"&Run", 150, nullptr, 0, rtl);
        append(bar, L"&Locked", 103, locked, MFS_GRAYED, rtl);
        append(bar, L"&Help", 104, help, 0, rtl);
        wnd = makeWindow(400, 200, WS_OVERLAPPEDWINDOW, 0, L"Menu bar", recordingClass(), bar);
        ASSERT_TRUE(waitFor([&] { return ::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0) == 1; }));
        pumpMessages(80);
        fs = mgr->FindFormSkin(wnd);
        ASSERT_TRUE(fs && fs->FSkinMenu);
        ASSERT_EQ(fs->FSkinMenu->FButtons.size(), 6u);
    }
    RECT bounds(int i) { return fs->FSkinMenu->Button(i)->FBoundsRect; }
    POINT centre(int i) { return centreOf(wnd, bounds(i)); }
    // Clicks a button with a script guarding against a menu that stays open.
    void clickButton(int i, MenuScript& s) {
        clickAt(centre(i));
        ASSERT_TRUE(runScript(s));
    }
    bool opened(HMENU m) { return windowShowing(m) != nullptr; }

    std::unique_ptr<TSkinData> sd;
    TSkinManage* mgr = nullptr;
    HWND wnd = nullptr;
    TWinSkinForm* fs = nullptr;
    HMENU file = nullptr, sub = nullptr, edit = nullptr, locked = nullptr, help = nullptr;
};

}  // namespace

TEST_F(SkinMenuTest, BarIsDrawnInTheBandAndTheSystemBarIsGone) {
    build();
    EXPECT_EQ(::GetMenu(wnd), nullptr);
    EXPECT_EQ(clientSize(wnd).cx, 400);
    EXPECT_EQ(clientSize(wnd).cy, 200);
    EXPECT_GT(fs->FMenuHeight, 0);
    // Empty captions take no room: Run follows Edit directly.
    EXPECT_EQ(bounds(2).right - bounds(2).left, 0);
    EXPECT_EQ(bounds(3).left, bounds(1).right);
    EXPECT_EQ(bounds(0).left, fs->FLeftWidth + 6);  // the skin's MenuBar starts 6 in
    EXPECT_EQ(bounds(0).top, fs->FTitleHeight);

    const Image img = captureWindow(wnd);
    TWinSkinMenu& bar = *fs->FSkinMenu;
    // The band outside the buttons is the bar's picture; captions are drawn.
    const RECT band = bar.FBarRect;
    int mismatch = 0;
    for (int x = bounds(5).right + 2; x < band.right - 2; ++x)
        for (int y = band.top; y < band.bottom; ++y)
            mismatch += img.at(x, y) != (bar.FBackground.View().at(x - band.left, y - band.top) & 0xFFFFFF);
    EXPECT_EQ(mismatch, 0);
    int text = 0;
    for (int x = bounds(0).left; x < bounds(0).right; ++x)
        for (int y = bounds(0).top; y < bounds(0).bottom; ++y) text += darkPixel(img.at(x, y));
    EXPECT_GT(text, 15);
    // The bar element's picture differs from a plain fill of the face colour.
    EXPECT_TRUE(sd->MenuBar() && !sd->MenuBar()->Bitmap.Empty());
    if (const char* dir = std::getenv("QS_SHOTS")) saveBmp(img, std::wstring(dir, dir + std::strlen(dir)) + L"\\menubar.bmp");
}

TEST_F(SkinMenuTest, ClicksOpenDropDownsUnderTheButtonOrOnlyPostTheCommand) {
    build();
    RECT dropRect{};
    int underItem = -1, textPixels = 0;
    MenuScript s1({[&] {
        HWND w = windowShowing(file);
        if (!w) return false;
        ::GetWindowRect(w, &dropRect);
        // The items of this foreign menu are drawn by the skin too: Exit
        // (not selected) on the picture, with its caption.
        TWinSkinPopMenu* p = TWinSkinPopMenu::FromWindow(w);
        if (!p || p->FBackground.Empty()) return false;
        const Image img = captureWindow(w);
        RECT r{};
        ::GetMenuItemRect(w, file, 2, &r);
        ::OffsetRect(&r, -dropRect.left, -dropRect.top);
        underItem = 0;
        for (int y = r.top + 2; y < r.bottom - 2; ++y)
            underItem += img.at(r.left + 4, y) != (p->FBackground.View().at(r.left + 4, y) & 0xFFFFFF);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) textPixels += darkPixel(img.at(x, y));
        return true;
    }});
    clickButton(0, s1);
    EXPECT_FALSE(s1.timedOut());
    EXPECT_EQ(underItem, 0);
    EXPECT_GT(textPixels, 10);
    const POINT lowerLeft = screenPoint(wnd, bounds(0).left, bounds(0).bottom);
    EXPECT_EQ(dropRect.left, lowerLeft.x);
    EXPECT_EQ(dropRect.top, lowerLeft.y);
    pumpMessages(50);
    EXPECT_NE(std::find(commands().begin(), commands().end(), 100u), commands().end());

    // Run has no sub-items and Locked is disabled: commands, no drop-down.
    for (int i : {3, 4}) {
        commands().clear();
        int ticks = 0;
        bool sawMenu = false;
        MenuScript s({[&] {
            sawMenu = sawMenu || !menuWindows().empty();
            return ++ticks > 8;
        }});
        clickButton(i, s);
        pumpMessages(50);
        EXPECT_FALSE(sawMenu) << "button " << i;
        const UINT want = i == 3 ? 150u : 103u;
        EXPECT_NE(std::find(commands().begin(), commands().end(), want), commands().end()) << "button " << i;
    }
}

TEST_F(SkinMenuTest, KeyboardOpensAndWalksWithWrapAndKeepsArrowsInSubMenus) {
    build();
    std::vector<HMENU> seen;
    auto expectOpen = [&](HMENU m) {
        return [&, m] {
            if (!opened(m)) return false;
            seen.push_back(m);
            return true;
        };
    };
    // F10 opens the first; left on the first wraps to the last; right on the last wraps to the first.
    MenuScript s({expectOpen(file), [&] { tapKey(VK_LEFT); return true; }, expectOpen(help),
                  [&] { tapKey(VK_RIGHT); return true; }, expectOpen(file)});
    tapKey(VK_F10);
    ASSERT_TRUE(runScript(s));
    EXPECT_FALSE(s.timedOut());
    EXPECT_EQ(seen, (std::vector<HMENU>{file, help, file}));

    // Alt+E opens Edit.
    bool editOpen = false;
    MenuScript s2({[&] { return editOpen = opened(edit); }});
    key(VK_MENU, false);
    tapKey('E');
    key(VK_MENU, true);
    ASSERT_TRUE(runScript(s2));
    EXPECT_TRUE(editOpen);

    // Inside a nested sub-menu left closes it and the drop-down stays.
    bool nestedOpen = false, backInFile = false;
    MenuScript s3({expectOpen(file), [&] { tapKey(VK_DOWN); return true; },  // Open -> Sub
                   [&] { tapKey(VK_RIGHT); return true; },
                   [&] { return nestedOpen = opened(sub); }, [&] { tapKey(VK_LEFT); return true; },
                   [&] { return backInFile = !opened(sub) && opened(file) && !opened(help); }});
    tapKey(VK_F10);
    ASSERT_TRUE(runScript(s3));
    EXPECT_TRUE(nestedOpen);
    EXPECT_TRUE(backInFile);
}

TEST_F(SkinMenuTest, MouseOnAnotherButtonSwitchesTheDropDown) {
    build();
    bool fileOpen = false, editOpen = false, helpOpen = false;
    MenuScript s({[&] { return fileOpen = opened(file); }, [&] { mouseMoveTo(centre(1)); return true; },
                  [&] { return editOpen = opened(edit) && !opened(file); },
                  [&] { mouseMoveTo(centre(5)); return true; }, [&] { return helpOpen = opened(help); }});
    clickButton(0, s);
    EXPECT_TRUE(fileOpen);
    EXPECT_TRUE(editOpen);
    EXPECT_TRUE(helpOpen);

    // A menu-bar click sent as a message opens the button at that point.
    cursorTo(screenPoint(wnd, 2, 2));
    bool viaMessage = false;
    MenuScript s2({[&] { return viaMessage = opened(edit); }});
    const POINT p = centre(1);
    ::PostMessageW(wnd, WM_SKIN_MENUBAR_CLICK, 0, MAKELPARAM(p.x, p.y));
    ASSERT_TRUE(runScript(s2));
    EXPECT_TRUE(viaMessage);
}

TEST_F(SkinMenuTest, RightToLeftMenusStartAtTheRightWithArrowsSwapped) {
    build(true);
    const RECT band = fs->FSkinMenu->FBarRect;
    EXPECT_GT(bounds(0).left, bounds(1).left);
    EXPECT_GT(bounds(0).right, (band.left + band.right) / 2);
    EXPECT_EQ(bounds(3).right, bounds(1).left);  // the empty one still takes no room
    std::vector<HMENU> seen;
    MenuScript s({[&] { if (!opened(file)) return false; seen.push_back(file); return true; },
                  [&] { tapKey(VK_LEFT); return true; },  // leftwards is onwards
                  [&] { if (!opened(edit)) return false; seen.push_back(edit); return true; }});
    tapKey(VK_F10);
    ASSERT_TRUE(runScript(s));
    EXPECT_EQ(seen, (std::vector<HMENU>{file, edit}));
}

TEST_F(SkinMenuTest, ToolkitMainMenuKeepsTheClientSizeAndItsDropDownItemsAreSkinned) {
    TForm form(nullptr);
    form.SetCaption(L"Toolkit menu");
    form.SetBounds(80, 80, 360, 240);
    auto* mm = new TMainMenu(&form);
    auto* fileItem = new TMenuItem(mm);
    fileItem->SetCaption(L"&File");
    mm->Items()->Add(fileItem);
    int newClicks = 0;
    for (const wchar_t* c : {L"&New", L"-", L"&Quit"}) {
        auto* i = new TMenuItem(mm);
        i->SetCaption(c);
        fileItem->Add(i);
        if (std::wstring(c) == L"&New") i->OnClick = [&](TObject*) { ++newClicks; };
    }
    auto* view = new TMenuItem(mm);
    view->SetCaption(L"&View");
    mm->Items()->Add(view);
    form.SetMenu(mm);
    form.SetClientHeight(200);
    form.SetClientWidth(300);
    form.Show();
    pumpMessages(30);
    HWND w = form.Handle();
    ASSERT_TRUE(waitFor([&] { return ::SendMessageW(w, WM_SKIN_QUERY, 0, 0) == 1; }));
    pumpMessages(80);
    EXPECT_EQ(::GetMenu(w), nullptr);
    TWinSkinForm* f = mgr->FindFormSkin(w);
    ASSERT_TRUE(f && f->FSkinMenu);
    ASSERT_EQ(f->FSkinMenu->FButtons.size(), 2u);
    EXPECT_EQ(f->FSkinMenu->Button(0)->FItem, fileItem);
    EXPECT_EQ(f->FSkinMenu->Button(1)->FSubMenu, nullptr);  // View has no items
    // The client area keeps the size the form had with the system's menu bar.
    RECT c{};
    ::GetClientRect(w, &c);
    EXPECT_EQ(c.right, 300);
    EXPECT_EQ(c.bottom, 200);

    // The drop-down shows the picture under its items; New runs from it.
    int underItem = -1;
    MenuScript s({[&] {
                      HWND mw = windowShowing(fileItem->Handle());
                      if (!mw) return false;
                      TWinSkinPopMenu* p = TWinSkinPopMenu::FromWindow(mw);
                      if (!p || p->FBackground.Empty()) return false;
                      const Image img = captureWindow(mw);
                      if (const char* dir = std::getenv("QS_SHOTS"))
                          saveBmp(img, std::wstring(dir, dir + std::strlen(dir)) + L"\\toolkit_drop.bmp");
                      RECT r{}, wr{};
                      // Quit: not selected (opening selects New).
                      ::GetMenuItemRect(mw, fileItem->Handle(), 2, &r);
                      ::GetWindowRect(mw, &wr);
                      ::OffsetRect(&r, -wr.left, -wr.top);
                      underItem = 0;
                      for (int y = r.top + 2; y < r.bottom - 2; ++y)
                          underItem += img.at(r.left + 4, y) != (p->FBackground.View().at(r.left + 4, y) & 0xFFFFFF);
                      return true;
                  },
                  [&] { tapKey(VK_RETURN); return true; },  // the first item is selected on opening
                  [&] { return menuWindows().empty(); }});
    clickAt(centreOf(w, f->FSkinMenu->Button(0)->FBoundsRect));
    ASSERT_TRUE(runScript(s));
    EXPECT_EQ(underItem, 0);
    pumpMessages(50);
    EXPECT_EQ(newClicks, 1);
}
