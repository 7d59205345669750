// The skinned menu bar on a real window with the real mouse and keyboard:
// drawn in the band under the title with the system's menu bar gone, buttons
// that open their drop-downs under them (or only post their command), the
// keyboard walk between drop-downs and the mouse switching them, right-to-left
// menus; the program's own view of its menu, and the events a screen reader
// follows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

#include <oleacc.h>

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
int& menuLoops() {
    static int n = 0;
    return n;
}
std::vector<WPARAM>& initMenus() {
    static std::vector<WPARAM> v;
    return v;
}
int& popupNotices() {
    static int n = 0;
    return n;
}

LRESULT CALLBACK recordingProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && lParam == 0) commands().push_back(LOWORD(wParam));
    if (msg == WM_INITMENUPOPUP) ++popupNotices();
    if (msg == WM_ENTERMENULOOP) ++menuLoops();
    if (msg == WM_INITMENU) initMenus().push_back(wParam);
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
    void build(bool rtl = false, bool skinned = true) {
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
        if (!skinned) {
            pumpMessages(80);
            ASSERT_NE(::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0), 1);
            return;
        }
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
    // The program still finds its menu on its window.
    EXPECT_EQ(::GetMenu(wnd), fs->FSkinMenu->FMenu);
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

    // The menu is on the window, yet the system never tracks its own bar: not
    // for a click on the band beside the buttons, not for a letter no button has.
    const int loops = menuLoops();
    MenuScript s({[] { return false; }}, 300);
    clickAt(screenPoint(wnd, (bounds(5).right + band.right) / 2, (band.top + band.bottom) / 2));
    key(VK_MENU, false);
    tapKey('Q');
    key(VK_MENU, true);
    runScript(s);
    EXPECT_EQ(menuLoops(), loops);
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
    EXPECT_EQ(::GetMenu(w), mm->Handle());
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

namespace {

// Every item's type and state, depth first, as the program reads them.
std::vector<std::pair<UINT, UINT>> typesAndStates(HMENU m) {
    std::vector<std::pair<UINT, UINT>> out;
    for (int i = 0, n = ::GetMenuItemCount(m); i < n; ++i) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
        ::GetMenuItemInfoW(m, UINT(i), TRUE, &mii);
        out.emplace_back(mii.fType, mii.fState);
        if (mii.hSubMenu) {
            auto inner = typesAndStates(mii.hSubMenu);
            out.insert(out.end(), inner.begin(), inner.end());
        }
    }
    return out;
}

}  // namespace

TEST_F(SkinMenuTest, ChangesMadeThroughGetMenuShowOnTheBarAndItsDropDowns) {
    build();
    HMENU bar = ::GetMenu(wnd);
    ASSERT_EQ(bar, fs->FSkinMenu->FMenu);
    MENUBARINFO mbi{};
    mbi.cbSize = sizeof mbi;
    ASSERT_TRUE(::GetMenuBarInfo(wnd, OBJID_MENU, 0, &mbi));
    EXPECT_EQ(mbi.hMenu, bar);

    // Cut as the drop-down draws it, enabled and then greyed through GetMenu.
    auto cutPixels = [&] {
        std::vector<uint32_t> px;
        MenuScript s({[&] {
            HWND mw = windowShowing(edit);
            TWinSkinPopMenu* p = mw ? TWinSkinPopMenu::FromWindow(mw) : nullptr;
            if (!p || p->FBackground.Empty()) return false;
            pumpMessages(30);
            RECT r{}, wr{};
            ::GetMenuItemRect(mw, edit, 0, &r);
            ::GetWindowRect(mw, &wr);
            ::OffsetRect(&r, -wr.left, -wr.top);
            const Image img = captureWindow(mw);
            for (int y = r.top; y < r.bottom; ++y)
                for (int x = r.left; x < r.right; ++x) px.push_back(img.at(x, y));
            return true;
        }});
        clickButton(1, s);
        pumpMessages(30);
        return px;
    };
    // Ctrl+X, the accelerator of Cut, as the program's message loop hands it over.
    ACCEL ctrlX{FCONTROL | FVIRTKEY, 'X', 130};
    HACCEL table = ::CreateAcceleratorTableW(&ctrlX, 1);
    auto ctrlXRuns = [&] {
        key(VK_CONTROL, false);
        pumpMessages(20);
        commands().clear();
        const int notices = popupNotices();
        MSG msg{wnd, WM_KEYDOWN, 'X', 0x002D0001, 0, {}};
        ::TranslateAcceleratorW(wnd, table, &msg);
        key(VK_CONTROL, true);
        pumpMessages(20);
        // The item check sends WM_INITMENUPOPUP, with no menu window to come.
        EXPECT_GT(popupNotices(), notices);
        EXPECT_EQ(mgr->FMenuKind, mkContext);
        return std::count(commands().begin(), commands().end(), 130u) > 0;
    };
    EXPECT_TRUE(ctrlXRuns());
    const auto enabled = cutPixels();
    ASSERT_FALSE(enabled.empty());
    pumpMessages(int(::GetDoubleClickTime()) + 50);  // the next click is not a double click
    EXPECT_NE(::EnableMenuItem(::GetMenu(wnd), 130, MF_BYCOMMAND | MF_GRAYED), -1);
    EXPECT_NE(::CheckMenuItem(::GetMenu(wnd), 130, MF_BYCOMMAND | MF_CHECKED), DWORD(-1));
    const auto greyed = cutPixels();
    ASSERT_EQ(greyed.size(), enabled.size());
    EXPECT_NE(greyed, enabled);
    EXPECT_EQ(::GetMenuState(edit, 130, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED), UINT(MF_GRAYED | MF_CHECKED));
    // Greyed, its accelerator runs nothing, as under the system's bar.
    EXPECT_FALSE(ctrlXRuns());
    ::DestroyAcceleratorTable(table);

    // Renamed through the handle and only repainted: the band shows the new text.
    ::ModifyMenuW(bar, 5, MF_BYPOSITION | MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Info");
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(fs->FSkinMenu->Button(5)->FCaption, L"&Info");

    // A top-level item greyed and redrawn: the bar shows it disabled.
    ::EnableMenuItem(bar, 1, MF_BYPOSITION | MF_GRAYED);
    ::DrawMenuBar(wnd);
    pumpMessages(30);
    ASSERT_TRUE(fs->FSkinMenu);
    EXPECT_FALSE(fs->FSkinMenu->Button(1)->FItemEnabled);

    // SetMenu(NULL): the band goes, the client grows into it, and the menu,
    // destroyed afterwards, can never be opened from where its bar was.
    const int clientBefore = clientSize(wnd).cy;
    const int band = fs->FMenuHeight;
    const POINT fileAt = centre(0);
    ASSERT_TRUE(::SetMenu(wnd, nullptr));
    pumpMessages(30);
    EXPECT_EQ(::GetMenu(wnd), nullptr);
    EXPECT_EQ(fs->FSkinMenu, nullptr);
    EXPECT_EQ(fs->FMenuHeight, 0);
    EXPECT_EQ(clientSize(wnd).cy, clientBefore + band);
    ::DestroyMenu(bar);
    bool anyOpen = false;
    MenuScript s({[&] { anyOpen = anyOpen || !menuWindows().empty(); return false; }}, 400);
    clickAt(fileAt);
    runScript(s);
    EXPECT_FALSE(anyOpen);
}

TEST_F(SkinMenuTest, ScreenReadersFindTheBarWhereTheSkinDrawsIt) {
    build();
    IAccessible* acc = nullptr;
    ASSERT_EQ(::AccessibleObjectFromWindow(wnd, DWORD(OBJID_MENU), __uuidof(IAccessible), reinterpret_cast<void**>(&acc)),
              S_OK);
    ASSERT_TRUE(acc);
    long count = 0;
    EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 6);
    VARIANT edit{}, lockedItem{}, state{};
    edit.vt = lockedItem.vt = VT_I4;
    edit.lVal = 2;
    lockedItem.lVal = 5;
    BSTR name = nullptr;
    EXPECT_EQ(acc->get_accName(edit, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), L"Edit");
    ::SysFreeString(name);
    EXPECT_EQ(acc->get_accState(lockedItem, &state), S_OK);
    EXPECT_TRUE(state.lVal & STATE_SYSTEM_UNAVAILABLE);
    // Where the skin draws Edit, in screen coordinates, and found there.
    long x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(acc->accLocation(&x, &y, &w, &h, edit), S_OK);
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    EXPECT_EQ(x, wr.left + bounds(1).left);
    EXPECT_EQ(y, wr.top + bounds(1).top);
    EXPECT_EQ(w, bounds(1).right - bounds(1).left);
    EXPECT_EQ(h, bounds(1).bottom - bounds(1).top);
    VARIANT hit{};
    EXPECT_EQ(acc->accHitTest(x + w / 2, y + h / 2, &hit), S_OK);
    EXPECT_EQ(hit.vt, VT_I4);
    EXPECT_EQ(hit.lVal, 2);
    // Unskinned, the object no longer answers for a bar that is gone.
    sd->SetActive(false);
    mgr->OnTimer();
    ASSERT_TRUE(waitFor([&] { return ::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0) != 1; }));
    EXPECT_NE(acc->get_accChildCount(&count), S_OK);
    acc->Release();
}

TEST_F(SkinMenuTest, EveryItemKeepsItsOwnTypeAndStateWhileSkinnedAndAfter) {
    build();
    HMENU bar = ::GetMenu(wnd);
    ASSERT_TRUE(bar);
    // One item the program draws itself, one radio item.
    ::ModifyMenuW(edit, 130, MF_BYCOMMAND | MF_OWNERDRAW, 130, reinterpret_cast<LPCWSTR>(UINT_PTR(7)));
    MENUITEMINFOW radio{};
    radio.cbSize = sizeof radio;
    radio.fMask = MIIM_FTYPE;
    radio.fType = MFT_STRING | MFT_RADIOCHECK;
    ::SetMenuItemInfoW(file, 110, FALSE, &radio);
    const auto before = typesAndStates(bar);

    // File and its nested sub-menu, then Edit.
    bool ownerDrawnWhileShown = false;
    MenuScript s({[&] { return opened(file); },
                  [&] {
                      ownerDrawnWhileShown = (::GetMenuState(file, 111, MF_BYCOMMAND) & MF_OWNERDRAW) != 0;
                      tapKey(VK_DOWN);
                      return true;
                  },
                  [&] { tapKey(VK_RIGHT); return true; }, [&] { return opened(sub); },
                  [&] { tapKey(VK_ESCAPE); return true; }, [&] { return !opened(sub); },
                  [&] { tapKey(VK_UP); return true; }, [&] { tapKey(VK_RIGHT); return true; },
                  [&] { return opened(edit); }});
    clickButton(0, s);
    EXPECT_FALSE(s.timedOut());
    EXPECT_TRUE(ownerDrawnWhileShown);  // the skin draws the items it shows
    pumpMessages(30);
    EXPECT_EQ(typesAndStates(bar), before);

    sd->SetActive(false);
    mgr->OnTimer();
    ASSERT_TRUE(waitFor([&] { return ::SendMessageW(wnd, WM_SKIN_QUERY, 0, 0) != 1; }));
    EXPECT_EQ(::GetMenu(wnd), bar);
    EXPECT_EQ(typesAndStates(bar), before);
}

namespace {

struct TWinEventRecord {
    DWORD event;
    std::string cls;
    LONG object;
    LONG child;
    bool operator==(const TWinEventRecord&) const = default;
};

std::vector<TWinEventRecord>& winEvents() {
    static std::vector<TWinEventRecord> v;
    return v;
}

void CALLBACK recordWinEvent(HWINEVENTHOOK, DWORD event, HWND w, LONG object, LONG child, DWORD, DWORD) {
    switch (event) {
        case EVENT_SYSTEM_MENUSTART:
        case EVENT_SYSTEM_MENUEND:
        case EVENT_SYSTEM_MENUPOPUPSTART:
        case EVENT_SYSTEM_MENUPOPUPEND:
        case EVENT_OBJECT_FOCUS: break;
        default: return;
    }
    // A pop-up's end may come as its window goes: it is named by the class
    // its window had when it started.
    static std::map<HWND, std::string> seen;
    char cls[32] = {};
    if (w && ::GetClassNameA(w, cls, sizeof cls)) seen[w] = cls;
    winEvents().push_back({event, w && seen.count(w) ? seen[w] : std::string(), object, child});
}

std::string describe(const std::vector<TWinEventRecord>& v) {
    std::string out;
    for (const auto& e : v)
        out += std::to_string(e.event) + ":" + e.cls + ":" + std::to_string(e.object) + ":" + std::to_string(e.child) + " ";
    return out;
}

// Alt, Right, Down, Down, Escape, Escape on the focused window, one key per
// tick, with the menu events of the process recorded meanwhile.
std::vector<TWinEventRecord> walkWithKeys() {
    winEvents().clear();
    // In context: each event is recorded when raised, while its window is there.
    HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_MIN, EVENT_MAX, ::GetModuleHandleW(nullptr), &recordWinEvent,
                                           ::GetCurrentProcessId(), 0, WINEVENT_INCONTEXT);
    auto press = [](WORD vk) {
        return [vk] {
            tapKey(vk);
            return true;
        };
    };
    auto idle = [n = 0]() mutable { return ++n > 3; };
    MenuScript s({press(VK_MENU), idle, press(VK_RIGHT), idle, press(VK_DOWN), idle, press(VK_DOWN), idle,
                  press(VK_ESCAPE), idle, press(VK_ESCAPE), idle});
    runScript(s);
    pumpMessages(60);
    ::UnhookWinEvent(hook);
    return winEvents();
}

}  // namespace

TEST_F(SkinMenuTest, KeyboardWalkRaisesTheMenuEventsOfTheSystemsOwnBar) {
    // Unskinned first: the same window and menu under the system's own bar.
    sd->SetActive(false);
    mgr->OnTimer();
    build(false, false);
    popupNotices() = menuLoops() = 0;
    initMenus().clear();
    const auto plain = walkWithKeys();
    EXPECT_GT(popupNotices(), 0);  // the walk did open the system's drop-downs
    const int plainLoops = menuLoops();
    const std::vector<WPARAM> plainInits = initMenus();
    const WPARAM plainBar = reinterpret_cast<WPARAM>(::GetMenu(wnd));
    ::DestroyWindow(wnd);
    wnd = nullptr;
    sd->SetActive(true);
    mgr->OnTimer();
    build();
    menuLoops() = 0;
    initMenus().clear();
    const auto skinned = walkWithKeys();
    // The program hears of one menu loop over its bar's menu, as unskinned,
    // however many drop-downs the walk opened.
    EXPECT_EQ(menuLoops(), plainLoops);
    EXPECT_EQ(plainInits, std::vector<WPARAM>{plainBar});
    EXPECT_EQ(initMenus(), std::vector<WPARAM>{reinterpret_cast<WPARAM>(::GetMenu(wnd))});
    SCOPED_TRACE("plain: " + describe(plain) + "\nskinned: " + describe(skinned));

    // Alt opens File with Open selected, Right moves to Edit with Cut
    // selected (its only item: Down stays there), Escape closes it.
    const std::vector<TWinEventRecord> expected{
        {EVENT_SYSTEM_MENUSTART, "QsSkinMenuTest", OBJID_MENU, CHILDID_SELF},
        {EVENT_OBJECT_FOCUS, "QsSkinMenuTest", OBJID_MENU, 1},
        {EVENT_SYSTEM_MENUPOPUPSTART, "#32768", OBJID_CLIENT, CHILDID_SELF},
        {EVENT_OBJECT_FOCUS, "#32768", OBJID_CLIENT, 1},
        {EVENT_SYSTEM_MENUPOPUPEND, "#32768", OBJID_CLIENT, CHILDID_SELF},
        {EVENT_OBJECT_FOCUS, "QsSkinMenuTest", OBJID_MENU, 2},
        {EVENT_SYSTEM_MENUPOPUPSTART, "#32768", OBJID_CLIENT, CHILDID_SELF},
        {EVENT_OBJECT_FOCUS, "#32768", OBJID_CLIENT, 1},
        {EVENT_SYSTEM_MENUPOPUPEND, "#32768", OBJID_CLIENT, CHILDID_SELF},
        {EVENT_SYSTEM_MENUEND, "QsSkinMenuTest", OBJID_MENU, CHILDID_SELF}};
    EXPECT_EQ(skinned, expected);
    // Each kind the system's own menus raise here comes the same way.
    auto ofKind = [](const std::vector<TWinEventRecord>& v, DWORD kind) {
        std::vector<TWinEventRecord> out;
        for (const auto& e : v)
            if (e.event == kind) out.push_back(e);
        return out;
    };
    for (DWORD kind : std::vector<DWORD>{EVENT_SYSTEM_MENUSTART, EVENT_SYSTEM_MENUEND, EVENT_SYSTEM_MENUPOPUPSTART,
                                         EVENT_SYSTEM_MENUPOPUPEND, EVENT_OBJECT_FOCUS}) {
        if (!ofKind(plain, kind).empty()) {
            EXPECT_EQ(ofKind(skinned, kind), ofKind(plain, kind)) << kind;
        }
    }
}
