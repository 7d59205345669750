// Menus that belong to controls on a skinned form, opened with the real
// mouse: a right click on a control of a frame, on a control whose menu is
// owned by nobody, a menu button's drop-down and the drop-down of a control
// that shows a menu bar of its own. Each menu window must show the skin's
// background under its items (the items are drawn by the skin), and
// unskinning the form must give every menu the system's look back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Buttons.h"
#include "Classify.h"
#include "ComCtrlsToolBar.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "SkinManage.h"
#include "SkinPopMenu.h"
#include "StdCtrlsGroup.h"
#include "test_menus_util.h"

using namespace qs;
using namespace qs::test;

namespace {

// A control that shows the top-level items of a main menu as a bar; a click
// opens the first item's drop-down under it.
class TStripMenuBar : public TCustomControl {
    QS_DECLARE_CLASS(TStripMenuBar)
public:
    using TCustomControl::TCustomControl;
    TMainMenu* FMenu = nullptr;
    void WndProc(TMessage& m) override {
        LRESULT r = 0;
        if (HandleMenuMessage(m.Msg, m.WParam, m.LParam, r)) {
            m.Result = r;
            return;
        }
        if (m.Msg == WM_LBUTTONDOWN && FMenu && FMenu->Items()->Count()) {
            RECT wr{};
            ::GetWindowRect(Handle(), &wr);
            const UINT cmd = UINT(::TrackPopupMenu(FMenu->Items()->Items(0)->Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                   wr.left, wr.bottom, 0, Handle(), nullptr));
            if (cmd) FMenu->DispatchCommand(cmd);
            m.Result = 0;
            return;
        }
        TCustomControl::WndProc(m);
    }
};
// The menu-bar kind the classification knows, as a base class name.
const TClassInfo& menuBarBase() {
    static const TClassInfo info{"TCustomMenuBar", &TCustomControl::StaticClassInfo(), {}, {}};
    return info;
}
const TClassInfo& TStripMenuBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TStripMenuBar>("TStripMenuBar", &menuBarBase())
            .object("Menu", [](const TStripMenuBar& b) -> TObject* { return b.FMenu; },
                    [](TStripMenuBar& b, TObject* v) -> bool {
                        b.FMenu = dynamic_cast<TMainMenu*>(v);
                        return true;
                    })
            .build();
    return info;
}

// A tool bar that publishes a menu, as tool bars acting as menu bars do.
class TMenuToolBar : public TToolBar {
    QS_DECLARE_CLASS(TMenuToolBar)
public:
    using TToolBar::TToolBar;
    TMenu* FMenu = nullptr;
};
const TClassInfo& TMenuToolBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TMenuToolBar>("TMenuToolBar", &TToolBar::StaticClassInfo())
            .object("Menu", [](const TMenuToolBar& b) -> TObject* { return b.FMenu; },
                    [](TMenuToolBar& b, TObject* v) -> bool {
                        b.FMenu = dynamic_cast<TMenu*>(v);
                        return true;
                    })
            .build();
    return info;
}

bool darkPixel(uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 300; }

template <class M>
M* menuWith(TComponent* owner, std::initializer_list<const wchar_t*> captions) {
    auto* m = new M(owner);
    for (const wchar_t* c : captions) {
        auto* i = new TMenuItem(m);
        i->SetCaption(c);
        m->Items()->Add(i);
    }
    return m;
}

// What the first menu window that opens shows.
struct MenuLook {
    bool opened = false;
    bool skinned = false;   // a menu skin has the window
    int items = 0;
    int underItems = -1;    // item pixels left of the caption that differ from the skin's picture
    int textPixels = 0;
};

// Runs `open` (which makes a menu appear through real input) and looks at
// the menu window; the script closes the menu afterwards.
MenuLook openAndLook(const std::function<void()>& open, const wchar_t* shot = nullptr) {
    MenuLook look;
    HWND menuWnd = nullptr;
    MenuScript script({[&] {
                           auto ws = menuWindows();
                           if (ws.empty()) return false;
                           menuWnd = ws.front();
                           look.opened = true;
                           return true;
                       },
                       [&] { return true; },  // one tick for the first paint
                       [&] {
                           TWinSkinPopMenu* p = TWinSkinPopMenu::FromWindow(menuWnd);
                           look.skinned = p && ::SendMessageW(menuWnd, WM_SKIN_QUERY, 0, 0) == 1;
                           const Image img = captureWindow(menuWnd);
                           if (const char* dir = std::getenv("QS_SHOTS"); dir && shot)
                               saveBmp(img, std::wstring(dir, dir + std::strlen(dir)) + L"\\" + shot);
                           HMENU m = menuOf(menuWnd);
                           look.items = ::GetMenuItemCount(m);
                           RECT wr{};
                           ::GetWindowRect(menuWnd, &wr);
                           look.underItems = 0;
                           for (int i = 0; i < look.items; ++i) {
                               RECT r{};
                               ::GetMenuItemRect(menuWnd, m, UINT(i), &r);
                               ::OffsetRect(&r, -wr.left, -wr.top);
                               for (int y = r.top + 2; y < r.bottom - 2; ++y) {
                                   const uint32_t want =
                                       p && !p->FBackground.Empty() ? p->FBackground.View().at(r.left + 4, y) & 0xFFFFFF : 0x1000000;
                                   look.underItems += img.at(r.left + 4, y) != want;
                               }
                               for (int y = r.top; y < r.bottom; ++y)
                                   for (int x = r.left; x < r.right; ++x) look.textPixels += darkPixel(img.at(x, y));
                           }
                           return true;
                       }});
    open();
    runScript(script);
    pumpMessages(60);
    return look;
}

void rightClickAt(POINT screen) {
    cursorTo(screen);
    mouseEvent(MOUSEEVENTF_RIGHTDOWN);
    mouseEvent(MOUSEEVENTF_RIGHTUP);
}
void leftClickAt(POINT screen) {
    cursorTo(screen);
    mouseEvent(MOUSEEVENTF_LEFTDOWN);
    mouseEvent(MOUSEEVENTF_LEFTUP);
}
POINT centreOf(TWinControl* c) {
    RECT r{};
    ::GetWindowRect(c->Handle(), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool painterSet(TMenu* m, int fromDepth, int depth = 1, TMenuItem* parent = nullptr) {
    if (!parent) parent = m->Items();
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (depth >= fromDepth && !item->OnDrawItem) return false;
        if (!painterSet(m, fromDepth, depth + 1, item)) return false;
    }
    return true;
}
bool anyPainter(TMenuItem* parent) {
    for (int i = 0; i < parent->Count(); ++i)
        if (parent->Items(i)->OnDrawItem || parent->Items(i)->OnMeasureItem || anyPainter(parent->Items(i))) return true;
    return false;
}

class ControlMenus : public ::testing::Test {
protected:
    void SetUp() override {
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        ASSERT_TRUE(inSet(sd->SkinControls(), xcPopupMenu));
        sd->SetActive(true);
        mgr = SkinManager();
        ASSERT_TRUE(mgr && mgr->FActive);
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption(L"Control menus");
        form->SetBounds(40, 40, 460, 320);
    }
    void TearDown() override {
        form.reset();
        sd.reset();
        FreeSkinManager();
    }
    TWinSkinForm* show() {
        form->Show();
        EXPECT_TRUE(waitFor([&] { return ::SendMessageW(form->Handle(), WM_SKIN_QUERY, 0, 0) == 1; }, 4000));
        ::SetForegroundWindow(form->Handle());
        pumpMessages(120);
        return mgr->FindFormSkin(form->Handle());
    }
    void unskin() {
        sd->SetActive(false);
        mgr->OnTimer();
        EXPECT_TRUE(waitFor([&] { return ::SendMessageW(form->Handle(), WM_SKIN_QUERY, 0, 0) != 1; }));
        pumpMessages(60);
    }
    template <class C>
    C* place(TWinControl* parent, TComponent* owner, int x, int y, int w, int h) {
        auto* c = new C(owner);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        return c;
    }

    std::unique_ptr<TSkinData> sd;
    TSkinManage* mgr = nullptr;
    std::unique_ptr<TForm> form;
};

}  // namespace

TEST_F(ControlMenus, RightClickMenusOfFramesAndLooseControlsAreSkinnedUntilTheFormIsUnskinned) {
    auto* frame = place<TFrame>(form.get(), form.get(), 10, 10, 200, 140);
    // Owned by the frame: reached through the frame's own components.
    auto* onFrame = place<TPanel>(frame, frame, 10, 10, 120, 50);
    TPopupMenu* frameMenu = menuWith<TPopupMenu>(frame, {L"Frame first", L"Frame second"});
    onFrame->SetPopupMenu(frameMenu);
    // Owned by nobody and used by a control of the form.
    auto loose = std::unique_ptr<TPopupMenu>(menuWith<TPopupMenu>(nullptr, {L"Loose first", L"Loose second", L"Third"}));
    auto* onForm = place<TPanel>(form.get(), form.get(), 230, 10, 180, 60);
    onForm->SetPopupMenu(loose.get());
    // Opted out by its tag.
    TPopupMenu* optedOut = menuWith<TPopupMenu>(frame, {L"Plain"});
    optedOut->SetTag(sd->DisableTag());
    auto* onFrame2 = place<TPanel>(frame, frame, 10, 70, 120, 50);
    onFrame2->SetPopupMenu(optedOut);
    // Freed while the form is skinned.
    auto* gone = menuWith<TPopupMenu>(nullptr, {L"Gone"});
    auto* onForm2 = place<TPanel>(form.get(), form.get(), 230, 90, 180, 40);
    onForm2->SetPopupMenu(gone);

    TWinSkinForm* fs = show();
    ASSERT_TRUE(fs);
    EXPECT_TRUE(frameMenu->OwnerDraw());
    EXPECT_TRUE(loose->OwnerDraw());
    EXPECT_TRUE(painterSet(frameMenu, 1));
    EXPECT_TRUE(painterSet(loose.get(), 1));
    EXPECT_FALSE(optedOut->OwnerDraw());
    EXPECT_FALSE(anyPainter(optedOut->Items()));
    auto hooked = HookedControlMenus(*fs);
    EXPECT_NE(std::find(hooked.begin(), hooked.end(), gone), hooked.end());
    delete gone;
    hooked = HookedControlMenus(*fs);
    EXPECT_EQ(std::find(hooked.begin(), hooked.end(), gone), hooked.end());

    const MenuLook a = openAndLook([&] { rightClickAt(centreOf(onFrame)); }, L"control_menu_frame.bmp");
    ASSERT_TRUE(a.opened);
    EXPECT_TRUE(a.skinned);
    EXPECT_EQ(a.items, 2);
    EXPECT_EQ(a.underItems, 0);
    EXPECT_GT(a.textPixels, 20);
    const MenuLook b = openAndLook([&] { rightClickAt(centreOf(onForm)); });
    ASSERT_TRUE(b.opened);
    EXPECT_TRUE(b.skinned);
    EXPECT_EQ(b.items, 3);
    EXPECT_EQ(b.underItems, 0);
    // The opted-out menu's window is skinned by the manager, but its items
    // are the system's: they do not show the picture.
    const MenuLook c = openAndLook([&] { rightClickAt(centreOf(onFrame2)); });
    ASSERT_TRUE(c.opened);
    EXPECT_GT(c.underItems, 0);

    unskin();
    EXPECT_FALSE(frameMenu->OwnerDraw());
    EXPECT_FALSE(loose->OwnerDraw());
    EXPECT_FALSE(anyPainter(frameMenu->Items()));
    EXPECT_FALSE(anyPainter(loose->Items()));
    EXPECT_TRUE(HookedControlMenus(*fs).empty());
    const MenuLook d = openAndLook([&] { rightClickAt(centreOf(onForm)); });
    ASSERT_TRUE(d.opened);
    EXPECT_FALSE(d.skinned);
    EXPECT_EQ(d.items, 3);
    EXPECT_GT(d.textPixels, 20);
}

TEST_F(ControlMenus, MenuButtonDropDownsAndMenuBarControlsShowSkinnedMenus) {
    auto* button = place<TMenuButton>(form.get(), form.get(), 10, 200, 120, 28);
    button->SetCaption(L"Menu");
    TPopupMenu* drop = menuWith<TPopupMenu>(button, {L"Drop first", L"Drop second"});
    button->SetDropDownMenu(drop);
    auto* bar = place<TStripMenuBar>(form.get(), form.get(), 150, 200, 200, 24);
    TMainMenu* barMenu = menuWith<TMainMenu>(bar, {L"&File"});
    for (const wchar_t* c : {L"New", L"Open", L"Close"}) {
        auto* i = new TMenuItem(barMenu);
        i->SetCaption(c);
        barMenu->Items()->Items(0)->Add(i);
    }
    bar->FMenu = barMenu;
    auto* tools = place<TMenuToolBar>(form.get(), form.get(), 10, 10, 300, 30);
    tools->FMenu = menuWith<TPopupMenu>(tools, {L"Tool first"});
    TPopupMenu* toolDrop = menuWith<TPopupMenu>(tools, {L"Tool drop"});
    tools->AddButton(L"Drop")->SetDropdownMenu(toolDrop);

    TWinSkinForm* fs = show();
    ASSERT_TRUE(fs);
    ASSERT_TRUE(fs->FSkinFrame);
    EXPECT_TRUE(drop->OwnerDraw());
    EXPECT_TRUE(painterSet(drop, 1));
    // The bar draws its own items; the skin draws the drop-downs.
    EXPECT_TRUE(barMenu->OwnerDraw());
    EXPECT_FALSE(barMenu->Items()->Items(0)->OnDrawItem);
    EXPECT_TRUE(painterSet(barMenu, 2));
    EXPECT_TRUE(tools->FMenu->OwnerDraw());
    EXPECT_TRUE(painterSet(tools->FMenu, 1));
    EXPECT_TRUE(toolDrop->OwnerDraw());
    EXPECT_TRUE(painterSet(toolDrop, 1));
    // The menu bar control itself gets no skin of its own; the tool bar does.
    EXPECT_NE(::SendMessageW(bar->Handle(), WM_SKIN_QUERY, 0, 0), 1);

    const MenuLook a = openAndLook([&] { leftClickAt(centreOf(button)); }, L"control_menu_button.bmp");
    ASSERT_TRUE(a.opened);
    EXPECT_TRUE(a.skinned);
    EXPECT_EQ(a.items, 2);
    EXPECT_EQ(a.underItems, 0);
    EXPECT_GT(a.textPixels, 20);
    const MenuLook b = openAndLook([&] { leftClickAt(centreOf(bar)); }, L"control_menu_bar.bmp");
    ASSERT_TRUE(b.opened);
    EXPECT_TRUE(b.skinned);
    EXPECT_EQ(b.items, 3);
    EXPECT_EQ(b.underItems, 0);

    unskin();
    EXPECT_FALSE(drop->OwnerDraw());
    EXPECT_FALSE(barMenu->OwnerDraw());
    EXPECT_FALSE(tools->FMenu->OwnerDraw());
    EXPECT_FALSE(toolDrop->OwnerDraw());
    EXPECT_FALSE(anyPainter(barMenu->Items()));
    const MenuLook c = openAndLook([&] { leftClickAt(centreOf(button)); });
    ASSERT_TRUE(c.opened);
    EXPECT_FALSE(c.skinned);
}
