// Toolkit menus against the Win32 menus they stand for: the engine reads the
// Win32 side (GetMenuItemInfo, owner-draw messages) and expects to find the
// toolkit item behind every command.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ExtCtrlsTimer.h"
#include "FormReader.h"
#include "FormWriter.h"
#include "Menus.h"
#include "WindowCapture.h"

using namespace qs;

namespace {
std::wstring MenuText(HMENU h, UINT pos) {
    wchar_t buf[128] = {};
    GetMenuStringW(h, pos, buf, 128, MF_BYPOSITION);
    return buf;
}
MENUITEMINFOW Info(HMENU h, UINT pos) {
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
    GetMenuItemInfoW(h, pos, TRUE, &mii);
    return mii;
}
TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const wchar_t* caption) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    if (parent) parent->Add(i);
    return i;
}

// A plain window whose procedure hands menu messages to the toolkit.
LRESULT CALLBACK MenuAwareProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (HandleMenuMessage(m, wp, lp, r)) return r;
    return DefWindowProcW(w, m, wp, lp);
}
HWND MakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MenuAwareProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"qsMenuTestWindow";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"qsMenuTestWindow", L"menus", WS_OVERLAPPEDWINDOW, 20, 20, 300, 200, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}
}  // namespace

TEST(Menus, ItemsAreMirroredIntoTheWin32Menu) {
    TComponent form(nullptr);
    auto* pm = new TPopupMenu(&form);
    TMenuItem* open = NewItem(&form, pm->Items(), L"&Open");
    open->SetShortCut(MakeShortCut('S', scCtrl));
    NewItem(&form, pm->Items(), L"-");
    TMenuItem* hidden = NewItem(&form, pm->Items(), L"Hidden");
    hidden->SetVisible(false);
    TMenuItem* sub = NewItem(&form, pm->Items(), L"More");
    TMenuItem* inner = NewItem(&form, sub, L"Inner");
    inner->SetChecked(true);
    inner->SetEnabled(false);

    HMENU h = pm->Handle();
    ASSERT_TRUE(IsMenu(h));
    ASSERT_EQ(GetMenuItemCount(h), 3);  // the hidden item takes no place
    EXPECT_EQ(MenuText(h, 0), L"&Open\tCtrl+S");
    EXPECT_TRUE(Info(h, 1).fType & MFT_SEPARATOR);
    EXPECT_EQ(Info(h, 0).wID, open->Command());
    EXPECT_EQ(Info(h, 0).dwItemData, reinterpret_cast<ULONG_PTR>(open));
    EXPECT_EQ(Info(h, 2).hSubMenu, sub->Handle());
    EXPECT_EQ(MenuText(sub->Handle(), 0), L"Inner");
    UINT st = Info(sub->Handle(), 0).fState;
    EXPECT_TRUE(st & MFS_CHECKED);
    EXPECT_TRUE(st & MFS_DISABLED);

    // Changes reach the existing handles.
    open->SetCaption(L"&Read");
    hidden->SetVisible(true);
    EXPECT_EQ(GetMenuItemCount(h), 4);
    EXPECT_EQ(MenuText(h, 0), L"&Read\tCtrl+S");
    EXPECT_EQ(MenuText(h, 2), L"Hidden");
    inner->SetEnabled(true);
    EXPECT_FALSE(Info(sub->Handle(), 0).fState & MFS_DISABLED);

    // A sub-menu that loses its last child becomes a plain item.
    delete inner;
    EXPECT_EQ(Info(h, 3).hSubMenu, nullptr);
    EXPECT_EQ(pm->Handle(), h) << "the menu keeps its handle across rebuilds";

    // Owner-draw items keep their text for whoever reads it with GetMenuString.
    pm->SetOwnerDraw(true);
    EXPECT_TRUE(Info(h, 0).fType & MFT_OWNERDRAW);
    EXPECT_TRUE(Info(h, 1).fType & MFT_SEPARATOR);
    EXPECT_EQ(MenuText(h, 0), L"&Read");
}

TEST(Menus, CommandsAreUniqueFoundAndReused) {
    TComponent form(nullptr);
    auto* a = new TPopupMenu(&form);
    auto* b = new TMainMenu(&form);
    TMenuItem* a1 = NewItem(&form, a->Items(), L"a1");
    TMenuItem* b1 = NewItem(&form, b->Items(), L"b1");
    TMenuItem* b2 = NewItem(&form, b1, L"b2");
    EXPECT_NE(a1->Command(), b1->Command());
    EXPECT_NE(b1->Command(), b2->Command());
    EXPECT_GT(a1->Command(), 0u);
    EXPECT_LT(b2->Command(), 0xF000u);

    EXPECT_EQ(b->FindItem(b2->Command(), TFindItemKind::fkCommand), b2);
    EXPECT_EQ(a->FindItem(b2->Command(), TFindItemKind::fkCommand), nullptr) << "not in this menu";
    EXPECT_EQ(b->FindItem(reinterpret_cast<UINT_PTR>(b1->Handle()), TFindItemKind::fkHandle), b1);
    EXPECT_EQ(b1->GetParentMenu(), b);
    EXPECT_EQ(b2->GetParentMenu(), b);

    UINT freed = b2->Command();
    delete b2;
    EXPECT_EQ(TMenuItem::FromCommand(freed), nullptr);
    EXPECT_EQ(b->FindItem(freed, TFindItemKind::fkCommand), nullptr);
    TMenuItem* c = NewItem(&form, a->Items(), L"c");
    EXPECT_EQ(c->Command(), freed) << "freed commands are reused, the pool does not run dry";
}

TEST(Menus, ClickRulesAutoCheckAndRadioGroups) {
    TComponent form(nullptr);
    auto* pm = new TPopupMenu(&form);
    std::vector<std::string> log;
    TMenuItem* x = NewItem(&form, pm->Items(), L"x");
    x->OnClick = [&](TObject* s) { log.push_back(s == x ? "x" : "?"); };
    EXPECT_TRUE(pm->DispatchCommand(x->Command()));
    x->SetEnabled(false);
    EXPECT_TRUE(pm->DispatchCommand(x->Command()));  // found, but a disabled item does not run
    EXPECT_EQ(log, std::vector<std::string>{"x"});
    EXPECT_FALSE(pm->DispatchCommand(0xEFFF));

    TMenuItem* r1 = NewItem(&form, pm->Items(), L"r1");
    TMenuItem* r2 = NewItem(&form, pm->Items(), L"r2");
    TMenuItem* other = NewItem(&form, pm->Items(), L"other");
    for (auto* r : {r1, r2, other}) {
        r->SetRadioItem(true);
        r->SetAutoCheck(true);
    }
    other->SetGroupIndex(2);
    other->SetChecked(true);
    pm->DispatchCommand(r1->Command());
    EXPECT_TRUE(r1->Checked());
    r2->Click();
    EXPECT_TRUE(r2->Checked());
    EXPECT_FALSE(r1->Checked());
    EXPECT_TRUE(other->Checked()) << "another group is left alone";
    EXPECT_TRUE(Info(pm->Handle(), 2).fType & MFT_RADIOCHECK);
    EXPECT_FALSE(Info(pm->Handle(), 1).fState & MFS_CHECKED);
}

TEST(Menus, NestingAndCreationByClassName) {
    RegisterGraphicsClasses();
    for (const char* n : {"TTimer", "TPopupMenu", "TMainMenu", "TMenuItem", "TImageList"}) {
        const TClassInfo* ci = FindClass(n);
        ASSERT_TRUE(ci) << n;
        EXPECT_TRUE(bool(ci->create)) << n;
    }
    TComponent form(nullptr);
    // What a form reader does with PM_1 { N1 { N11 } N2 }.
    TComponent* pm = FindClass("TPopupMenu")->create(&form);
    TComponent* n1 = FindClass("TMenuItem")->create(&form);
    TComponent* n11 = FindClass("TMenuItem")->create(&form);
    TComponent* n2 = FindClass("TMenuItem")->create(&form);
    n1->SetParentComponent(pm);
    n11->SetParentComponent(n1);
    n2->SetParentComponent(pm);
    ASSERT_TRUE(SetPropValue(n2, "Caption", std::wstring(L"\u7a97\u53e3\u6062\u590d")));
    ASSERT_TRUE(SetPropValue(n2, "Checked", true));
    ASSERT_TRUE(SetPropValue(n2, "ShortCut", int64_t(MakeShortCut(VK_F5, scShift))));
    ASSERT_TRUE(SetPropValue(pm, "OwnerDraw", true));
    auto* menu = static_cast<TPopupMenu*>(pm);
    ASSERT_EQ(menu->Items()->Count(), 2);
    EXPECT_EQ(menu->Items()->Items(0), n1);
    EXPECT_EQ(static_cast<TMenuItem*>(n1)->Items(0), n11);
    EXPECT_EQ(n1->GetParentComponent(), pm);
    EXPECT_EQ(n11->GetParentComponent(), n1);
    EXPECT_EQ(GetWideStrProp(n2, "Caption"), L"\u7a97\u53e3\u6062\u590d");
    EXPECT_TRUE(GetBoolProp(n2, "Checked"));
    EXPECT_EQ(GetIntProp(n2, "Command"), int64_t(static_cast<TMenuItem*>(n2)->Command()));
    EXPECT_EQ(GetEnumProp(pm, "BiDiMode"), "bdLeftToRight");
    EXPECT_TRUE(HasProp(n2, "OnDrawItem"));
    EXPECT_TRUE(HasProp(n2, "OnMeasureItem"));
    // The form frees in reverse creation order: items before their menu.
}

TEST(Menus, ParentFreesChildrenAndMenuFreesAll) {
    TComponent form(nullptr);
    auto* pm = new TPopupMenu(&form);
    TMenuItem* p = NewItem(&form, pm->Items(), L"p");
    TMenuItem* c = NewItem(&form, p, L"c");
    UINT cc = c->Command();
    HMENU sub = p->Handle();
    HMENU top = pm->Handle();
    delete p;  // takes c along; both leave the form's component list
    EXPECT_EQ(TMenuItem::FromCommand(cc), nullptr);
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(GetMenuItemCount(top), 0);
    delete pm;
    EXPECT_FALSE(IsMenu(top));
}

TEST(Menus, ShortCutsAndAccelerators) {
    EXPECT_EQ(ShortCutToText(MakeShortCut('S', scCtrl)), L"Ctrl+S");
    EXPECT_EQ(ShortCutToText(MakeShortCut(VK_F5, scShift | scCtrl)), L"Shift+Ctrl+F5");
    EXPECT_EQ(ShortCutToText(MakeShortCut(VK_DELETE, 0)), L"Del");
    EXPECT_EQ(ShortCutToText(scNone), L"");
    for (TShortCut sc : {MakeShortCut('A', scAlt), MakeShortCut(VK_F12, scCtrl | scAlt), MakeShortCut(VK_RETURN, 0)})
        EXPECT_EQ(TextToShortCut(ShortCutToText(sc)), sc);
    EXPECT_EQ(TextToShortCut(L"Ctrl+Nonsense"), scNone);
    EXPECT_EQ(StripHotkey(L"&File && Edit"), L"File & Edit");
    EXPECT_EQ(GetHotkey(L"Save &as"), L'A');
    EXPECT_EQ(GetHotkey(L"R&&D"), 0);
    EXPECT_EQ(GetHotkey(L"trailing&"), 0);

    TComponent form(nullptr);
    auto* mm = new TMainMenu(&form);
    TMenuItem* file = NewItem(&form, mm->Items(), L"&File");
    TMenuItem* save = NewItem(&form, file, L"&Save");
    save->SetShortCut(MakeShortCut('S', scCtrl));
    int saved = 0;
    save->OnClick = [&](TObject*) { ++saved; };
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    BYTE before[256];
    memcpy(before, keys, sizeof keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    EXPECT_TRUE(mm->IsShortCut('S'));
    EXPECT_FALSE(mm->IsShortCut('Q'));
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_FALSE(mm->IsShortCut('S')) << "Ctrl is no longer down";
    SetKeyboardState(before);
    EXPECT_EQ(saved, 1);
}

TEST(Menus, OwnerDrawMessagesReachItemHandlers) {
    TComponent form(nullptr);
    auto* pm = new TPopupMenu(&form);
    pm->SetOwnerDraw(true);
    TMenuItem* a = NewItem(&form, pm->Items(), L"&Alpha");
    TMenuItem* plain = NewItem(&form, pm->Items(), L"Plain");
    int measured = 0, drawn = 0;
    bool sawSelected = false;
    a->OnMeasureItem = [&](TObject* s, TCanvas* c, int& w, int& h) {
        ++measured;
        EXPECT_EQ(s, a);
        EXPECT_GT(w, c->TextWidth(L"Alpha")) << "called with the default size";
        w += 100;
        h = 30;
    };
    a->OnDrawItem = [&](TObject* s, TCanvas* c, RECT r, bool selected) {
        ++drawn;
        sawSelected = selected;
        c->Brush().SetColor(RGB(10, 200, 30));
        c->FillRect(r);
    };

    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = a->Command();
    LRESULT r = 0;
    // A foreign menu's item that happens to carry the same number is not ours.
    EXPECT_FALSE(HandleMenuMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), r));
    mis.itemData = reinterpret_cast<ULONG_PTR>(a);
    ASSERT_TRUE(HandleMenuMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), r));
    EXPECT_EQ(measured, 1);
    EXPECT_EQ(mis.itemHeight, 30u);
    EXPECT_GT(mis.itemWidth, 100u);

    TBitmap surface(60, 40);
    HDC dc = surface.Canvas()->Handle();
    HGDIOBJ font0 = GetCurrentObject(dc, OBJ_FONT);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = a->Command();
    dis.itemData = reinterpret_cast<ULONG_PTR>(a);
    dis.itemState = ODS_SELECTED;
    dis.hDC = dc;
    dis.rcItem = RECT{0, 0, 60, 20};
    ASSERT_TRUE(HandleMenuMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), r));
    EXPECT_EQ(drawn, 1);
    EXPECT_TRUE(sawSelected);
    EXPECT_EQ(surface.Canvas()->Pixel(30, 10), RGB(10, 200, 30));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font0) << "the menu's DC gets its own objects back";

    // Without a handler the default look: selected items on the highlight colour.
    dis.itemID = plain->Command();
    dis.itemData = reinterpret_cast<ULONG_PTR>(plain);
    dis.rcItem = RECT{0, 20, 60, 40};
    ASSERT_TRUE(HandleMenuMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), r));
    EXPECT_EQ(surface.Canvas()->Pixel(1, 21), GetSysColor(COLOR_HIGHLIGHT));

    // Not ours: other controls' owner-draw and unknown commands pass through.
    dis.CtlType = ODT_BUTTON;
    EXPECT_FALSE(HandleMenuMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), r));
    mis.itemID = 0xEFF0;
    EXPECT_FALSE(HandleMenuMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), r));

    // The accelerator of an owner-drawn item, found for the system.
    ASSERT_TRUE(HandleMenuMessage(WM_MENUCHAR, MAKEWPARAM(L'a', MF_POPUP), reinterpret_cast<LPARAM>(pm->Handle()), r));
    EXPECT_EQ(r, MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_FALSE(HandleMenuMessage(WM_MENUCHAR, MAKEWPARAM(L'z', MF_POPUP), reinterpret_cast<LPARAM>(pm->Handle()), r));
}

TEST(Menus, PostedCommandsReachOnClickThroughTheWindow) {
    HWND w = MakeWindow();
    ASSERT_TRUE(w);
    TComponent form(nullptr);
    auto* mm = new TMainMenu(&form);
    TMenuItem* file = NewItem(&form, mm->Items(), L"&File");
    TMenuItem* quit = NewItem(&form, file, L"&Quit");
    int clicks = 0;
    quit->OnClick = [&](TObject*) { ++clicks; };
    mm->AttachTo(w);
    EXPECT_EQ(GetMenu(w), mm->Handle());
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(quit->Command(), 0), 0);
    // A control notification with the same number is not a menu command.
    PostMessageW(w, WM_COMMAND, MAKEWPARAM(quit->Command(), BN_CLICKED), LPARAM(w));
    test::pumpMessages(50);
    EXPECT_EQ(clicks, 1);

    file->SetCaption(L"&Archive");
    wchar_t buf[32] = {};
    GetMenuStringW(GetMenu(w), 0, buf, 32, MF_BYPOSITION);
    EXPECT_STREQ(buf, L"&Archive");

    // Owner-draw reaches the drop-downs; the bar itself stays system-drawn.
    mm->SetOwnerDraw(true);
    EXPECT_FALSE(Info(mm->Handle(), 0).fType & MFT_OWNERDRAW);
    EXPECT_TRUE(Info(file->Handle(), 0).fType & MFT_OWNERDRAW);

    HMENU h = mm->Handle();
    mm->Detach();
    EXPECT_EQ(GetMenu(w), nullptr);
    DestroyWindow(w);
    EXPECT_TRUE(IsMenu(h)) << "a detached menu outlives the window";
}

namespace {
// Chooses the second item of the open pop-up menu with the keyboard.
int g_ticks = 0;
void CALLBACK ChooseSecond(HWND, UINT, UINT_PTR id, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (!menu || !IsWindowVisible(menu)) {
        if (++g_ticks > 40) EndMenu();  // never hang the run
        return;
    }
    KillTimer(nullptr, id);
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
}
}  // namespace

TEST(Menus, PopupRunsTheChosenItemsOnClick) {
    TComponent form(nullptr);
    auto* pm = new TPopupMenu(&form);
    pm->SetOwnerDraw(true);
    TMenuItem* first = NewItem(&form, pm->Items(), L"First");
    TMenuItem* second = NewItem(&form, pm->Items(), L"Second");
    std::vector<std::string> log;
    int measured = 0, drawn = 0;
    pm->OnPopup = [&](TObject*) { log.push_back("popup"); };
    first->OnClick = [&](TObject*) { log.push_back("first"); };
    second->OnClick = [&](TObject*) { log.push_back("second"); };
    for (auto* i : {first, second}) {
        i->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ++measured; };
        i->OnDrawItem = [&](TObject*, TCanvas*, RECT, bool) { ++drawn; };
    }
    g_ticks = 0;
    UINT_PTR t = SetTimer(nullptr, 0, 50, ChooseSecond);
    pm->Popup(100, 100);
    KillTimer(nullptr, t);
    EXPECT_EQ(log, (std::vector<std::string>{"popup", "second"}));
    EXPECT_EQ(pm->PopupPoint().x, 100);
    EXPECT_GE(measured, 2);
    EXPECT_GE(drawn, 2);
}

TEST(Menus, ReadFromAFormDefinition) {
    RegisterGraphicsClasses();
    TComponent form(nullptr);
    std::vector<std::string> log;
    form.DefineMethod("N2Click", std::any(TNotifyEvent([&](TObject*) { log.push_back("N2"); })));
    form.DefineMethod("T_1Timer", std::any(TNotifyEvent([&](TObject*) { log.push_back("tick"); })));
    ReadForm(&form, R"(object F: TComponent
  object IL: TImageList
    Width = 20
    Height = 18
  end
  object T_1: TTimer
    Interval = 10
    OnTimer = T_1Timer
  end
  object PM_1: TPopupMenu
    Images = IL
    OwnerDraw = True
    object N1: TMenuItem
      Caption = '窗口置顶'
      ShortCut = 16468
    end
    object N2: TMenuItem
      Caption = '窗口恢复'
      Checked = True
      OnClick = N2Click
      object N21: TMenuItem
        Caption = '-'
      end
    end
  end
end
)");
    auto* pm = static_cast<TPopupMenu*>(form.FindComponent("PM_1"));
    auto* il = static_cast<TImageList*>(form.FindComponent("IL"));
    auto* n2 = static_cast<TMenuItem*>(form.FindComponent("N2"));
    ASSERT_TRUE(pm && il && n2);
    EXPECT_EQ(pm->Images(), il);
    EXPECT_EQ(il->Width(), 20);
    ASSERT_EQ(pm->Items()->Count(), 2);
    EXPECT_EQ(pm->Items()->Items(0)->Caption(), L"\u7a97\u53e3\u7f6e\u9876");
    EXPECT_EQ(pm->Items()->Items(0)->ShortCut(), MakeShortCut('T', scCtrl));
    EXPECT_EQ(n2->Items(0)->Caption(), L"-");
    EXPECT_TRUE(pm->DispatchCommand(n2->Command()));
    EXPECT_TRUE(static_cast<TTimer*>(form.FindComponent("T_1"))->Running()) << "started once loaded";
    DWORD end = GetTickCount() + 200;
    while (int(end - GetTickCount()) > 0 && log.size() < 2) test::pumpMessages(10);
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "N2");
    EXPECT_EQ(log[1], "tick");

    // Written back and read again: the same tree and values.
    std::string text = WriteForm(&form);
    TComponent again(nullptr);
    again.DefineMethod("N2Click", std::any(TNotifyEvent([](TObject*) {})));
    again.DefineMethod("T_1Timer", std::any(TNotifyEvent([](TObject*) {})));
    ReadForm(&again, text);
    auto* pm2 = static_cast<TPopupMenu*>(again.FindComponent("PM_1"));
    ASSERT_TRUE(pm2) << text;
    ASSERT_EQ(pm2->Items()->Count(), 2) << text;
    EXPECT_EQ(pm2->Items()->Items(1)->Caption(), L"\u7a97\u53e3\u6062\u590d");
    EXPECT_TRUE(pm2->Items()->Items(1)->Checked());
    EXPECT_EQ(pm2->Items()->Items(1)->Items(0)->Caption(), L"-");
    EXPECT_EQ(pm2->Images(), again.FindComponent("IL"));
    EXPECT_TRUE(pm2->OwnerDraw());
    EXPECT_EQ(static_cast<TImageList*>(again.FindComponent("IL"))->Height(), 18);
    EXPECT_EQ(static_cast<TTimer*>(again.FindComponent("T_1"))->Interval(), 10u);
    EXPECT_EQ(text.find("Command"), std::string::npos) << "read-only values are not written";

    delete il;  // the menu hears of it
    EXPECT_EQ(pm->Images(), nullptr);
}
