// Forms and the application object: creation from a linked-in definition,
// placement, closing and freeing, message handlers, the message loop, and no
// GDI or USER object left behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Application.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "WindowCapture.h"
#include "core/FormText.h"

using namespace qs;
using qs::test::pumpMessages;

namespace {

std::vector<std::string> g_order;

// Components of the probe definition that say when they are loaded.
class TOrderPanel : public TPanel {
    QS_DECLARE_CLASS(TOrderPanel)
public:
    using TPanel::TPanel;
    void Loaded() override {
        g_order.push_back("loaded " + Name());
        TPanel::Loaded();
    }
};
class TOrderStatusBar : public TStatusBar {
    QS_DECLARE_CLASS(TOrderStatusBar)
public:
    using TStatusBar::TStatusBar;
    void Loaded() override {
        g_order.push_back("loaded " + Name());
        TStatusBar::Loaded();
    }
};

// The form class of tests/win/forms/TF_OrderProbe.form.
class TF_OrderProbe : public TForm {
    QS_DECLARE_CLASS(TF_OrderProbe)
public:
    explicit TF_OrderProbe(TComponent* owner, TCloseAction onClose = caFree) : TForm(owner), FAction(onClose) {
        DefineMethod("FormCreate", std::any(TNotifyEvent([this](TObject*) {
                         g_order.push_back("create");
                         handleAtCreate = Handle();  // the viewer registers its hot key here
                     })));
        DefineMethod("FormClose", std::any(TCloseEvent([this](TObject*, TCloseAction& a) { a = FAction; })));
        ReadFormDefinition();
    }
    void Loaded() override {
        g_order.push_back("loaded " + Name());
        TForm::Loaded();
    }
    HWND handleAtCreate = nullptr;
    TCloseAction FAction;
};

const TClassInfo& TOrderPanel::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TOrderPanel>("TOrderPanel", &TPanel::StaticClassInfo()).creatable().build();
    return info;
}
const TClassInfo& TOrderStatusBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TOrderStatusBar>("TOrderStatusBar", &TStatusBar::StaticClassInfo()).creatable().build();
    return info;
}
const TClassInfo& TF_OrderProbe::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TF_OrderProbe>("TF_OrderProbe", &TForm::StaticClassInfo()).build();
    return info;
}

struct Registered {
    Registered() {
        RegisterControlClasses();
        RegisterComponentClass(TOrderPanel::StaticClassInfo());
        RegisterComponentClass(TOrderStatusBar::StaticClassInfo());
    }
};
const Registered g_registered;

// Live GDI objects of the process. GetGuiResources is a stub under Wine
// (always 0), so there the handle table is probed: a 16-bit handle value
// names the live object at that slot, whatever its generation.
DWORD liveGdiObjects() {
    if (DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return n;
    DWORD n = 0;
    for (ULONG_PTR v = 1; v < 0x10000; ++v)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(v))) ++n;
    return n;
}

BOOL CALLBACK countWindow(HWND w, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(w, countWindow, count);
    return TRUE;
}
// Windows of this thread, children included (USER objects we can make).
DWORD liveWindows() {
    DWORD n = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&n));
    return n;
}

// Errors escaping handlers are collected here instead of being reported.
struct CollectErrors {
    std::vector<std::string> errors;
    TExceptionEvent saved;
    CollectErrors() {
        saved = Application->OnException;
        Application->OnException = [this](TObject*, std::exception_ptr e) {
            errors.push_back(TApplication::DescribeException(e));
        };
    }
    ~CollectErrors() { Application->OnException = saved; }
};

}  // namespace

TEST(FormDefinition, LinkedInDefinitionBuildsTheFormInOrderAndLaysItOut) {
    g_order.clear();
    auto form = std::make_unique<TF_OrderProbe>(nullptr);
    EXPECT_EQ(g_order, (std::vector<std::string>{"loaded F_probe", "loaded STB_main", "loaded Panel1", "loaded Panel2",
                                                 "loaded Inner", "create"}));
    ASSERT_NE(form->handleAtCreate, nullptr);
    EXPECT_EQ(form->Name(), "F_probe");
    EXPECT_EQ(form->Caption(), L"Probe \u7f51\u7edc");
    auto* bar = dynamic_cast<TStatusBar*>(form->FindComponent("STB_main"));
    auto* panel1 = dynamic_cast<TPanel*>(form->FindComponent("Panel1"));
    auto* panel2 = dynamic_cast<TPanel*>(form->FindComponent("Panel2"));
    auto* inner = dynamic_cast<TPanel*>(form->FindComponent("Inner"));
    ASSERT_TRUE(bar && panel1 && panel2 && inner);
    EXPECT_EQ(inner->Parent(), panel2);
    EXPECT_EQ(bar->Panels()->Count(), 2);
    EXPECT_EQ(bar->Font()->Name(), L"Tahoma");  // children take the form's font

    form->Show();
    pumpMessages(30);
    HWND h = form->Handle();
    RECT cr, wr;
    GetClientRect(h, &cr);
    GetWindowRect(h, &wr);
    // Client size was read before the border style; it holds for the final frame.
    EXPECT_EQ(cr.right, 852);
    EXPECT_EQ(cr.bottom, 573);
    LONG_PTR style = GetWindowLongPtrW(h, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    // Centred on the desktop.
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(wr.left, (sw - (wr.right - wr.left)) / 2);
    EXPECT_EQ(wr.top, (sh - (wr.bottom - wr.top)) / 2);
    // The viewer's layout: bar at the bottom, hidden left panel takes no room.
    EXPECT_EQ(bar->Top(), 548);
    EXPECT_EQ(bar->Height(), 25);
    EXPECT_EQ(panel2->Left(), 0);
    EXPECT_EQ(panel2->Width(), 852);
    EXPECT_EQ(panel2->Height(), 548);
    EXPECT_EQ(inner->Left(), 2);
    EXPECT_EQ(inner->Width(), 848);
    EXPECT_EQ(inner->Height(), 544);
    EXPECT_FALSE(IsWindowVisible(panel1->Handle()));
    std::vector<TWinControl*> tabs;
    form->GetTabOrderList(tabs);
    ASSERT_EQ(tabs.size(), 4u);
    EXPECT_EQ(tabs[1], panel1);
    EXPECT_EQ(tabs[2], panel2);
    EXPECT_EQ(tabs[3], inner);
    // Screen list and lookup by handle, as the skin manager uses them.
    EXPECT_EQ(Screen->FindForm(h), form.get());
    EXPECT_EQ(FindControl(h), form.get());
}

TEST(FormDefinition, BrokenDefinitionLeavesNoFormBehind) {
    int formsBefore = Screen->FormCount();
    const char* broken =
        "object F: TForm\n"
        "  Caption = 'x'\n"
        "  object P: TPanel\n"
        "    BevelOuter = bvSideways\n"
        "  end\n"
        "end\n";
    auto form = std::make_unique<TForm>(nullptr);
    int created = 0;
    form->OnCreate = [&](TObject*) { ++created; };
    try {
        form->ReadFormDefinition(broken);
        FAIL() << "no error";
    } catch (const EFormError& e) {
        EXPECT_EQ(e.Line(), 4);
    }
    EXPECT_EQ(created, 0);
    EXPECT_EQ(form->ComponentCount(), 0);
    EXPECT_FALSE(form->HandleAllocated());
    form.reset();
    EXPECT_EQ(Screen->FormCount(), formsBefore);
    // A class with no linked-in definition says so instead of making an empty form.
    TForm plain(nullptr);
    EXPECT_THROW(plain.ReadFormDefinition(), std::runtime_error);
}

TEST(FormDefinition, ClientSizeHoldsWhateverTheOrderOfSizeBorderAndMenu) {
    // Even when the width written equals what the first frame happened to give.
    TForm sized(nullptr);
    int coincidence = sized.ClientWidth();
    sized.ReadFormDefinition("object F: TForm\n  ClientWidth = " + std::to_string(coincidence) +
                             "\n  ClientHeight = 100\n  BorderStyle = bsToolWindow\n  Menu = M\n"
                             "  object M: TMainMenu\n    object I: TMenuItem\n      Caption = 'x'\n    end\n  end\nend\n");
    RECT cr;
    GetClientRect(sized.Handle(), &cr);
    EXPECT_EQ(cr.right, coincidence);
    EXPECT_EQ(cr.bottom, 100);
}

TEST(FormClose, CloseActionsFreeHideOrKeepTheForm) {
    auto* freed = new TForm(nullptr);
    const auto freedAddress = reinterpret_cast<uintptr_t>(static_cast<TCustomForm*>(freed));
    bool destroyed = false;
    freed->OnDestroy = [&](TObject*) { destroyed = true; };
    freed->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
    freed->Show();
    HWND h = freed->Handle();
    int count = Screen->FormCount();
    SendMessageW(h, WM_CLOSE, 0, 0);  // what the close box does
    EXPECT_FALSE(destroyed);          // not from inside its own message
    pumpMessages(50);
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(Screen->FormCount(), count - 1);
    EXPECT_NE(reinterpret_cast<uintptr_t>(Screen->ActiveForm()), freedAddress);  // no dangling active form

    TForm kept(nullptr);
    kept.Show();
    pumpMessages(20);
    EXPECT_EQ(Screen->ActiveForm(), &kept);
    EXPECT_TRUE(kept.Active());
    bool allow = false;
    kept.OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
    TCloseAction action = caNone;
    kept.OnClose = [&](TObject*, TCloseAction& a) { a = action; };
    kept.Close();
    EXPECT_TRUE(IsWindowVisible(kept.Handle()));  // refused by OnCloseQuery
    allow = true;
    kept.Close();
    EXPECT_TRUE(IsWindowVisible(kept.Handle()));  // caNone
    action = caHide;
    kept.Close();
    pumpMessages(20);
    EXPECT_FALSE(IsWindowVisible(kept.Handle()));
    EXPECT_FALSE(kept.Visible());
    // Shown and hidden behind the toolkit's back: Visible follows.
    ShowWindow(kept.Handle(), SW_SHOWNA);
    EXPECT_TRUE(kept.Visible());
    ShowWindow(kept.Handle(), SW_HIDE);
    EXPECT_FALSE(kept.Visible());
    EXPECT_TRUE(kept.HandleAllocated());
}

TEST(FormMessages, HotKeyReachesTheFormsMessageHandler) {
    TForm form(nullptr);
    std::vector<WPARAM> ids;
    form.SetMessageHandler(WM_HOTKEY, [&](TMessage& m) {
        ids.push_back(m.WParam);
        m.Result = 0;
    });
    form.Show();
    HWND h = form.Handle();
    ASSERT_TRUE(RegisterHotKey(h, 7, MOD_ALT, 'Z'));
    INPUT in[4] = {};
    for (auto& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_MENU;
    in[1].ki.wVk = 'Z';
    in[2].ki.wVk = 'Z';
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = VK_MENU;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, in, sizeof(INPUT));
    for (int i = 0; i < 20 && ids.empty(); ++i) pumpMessages(25);
    UnregisterHotKey(h, 7);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ids[0], 7u);
    // Removing the handler leaves the message to the default.
    form.SetMessageHandler(WM_HOTKEY, nullptr);
    SendMessageW(h, WM_HOTKEY, 9, 0);
    EXPECT_EQ(ids.size(), 1u);
}

TEST(FormMessages, ErrorsInHandlersGoToTheApplicationReport) {
    CollectErrors collect;
    TForm form(nullptr);
    form.SetMessageHandler(WM_USER + 3, [](TMessage&) { throw std::runtime_error("handler failed"); });
    form.Show();
    EXPECT_EQ(SendMessageW(form.Handle(), WM_USER + 3, 0, 0), 0);
    ASSERT_EQ(collect.errors.size(), 1u);
    EXPECT_EQ(collect.errors[0], "handler failed");
    // The window still works afterwards.
    form.SetCaption(L"alive");
    EXPECT_EQ(form.Caption(), L"alive");
}

TEST(FormMenu, MainMenuGoesOnTheWindowAndItsCommandsReachTheItems) {
    TForm form(nullptr);
    form.SetBorderStyle(bsSizeable);
    form.SetClientSize(300, 200);
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption(L"&File");
    menu->Items()->Add(file);
    auto* open = new TMenuItem(&form);
    open->SetCaption(L"&Open");
    file->Add(open);
    int clicks = 0;
    open->OnClick = [&](TObject*) { ++clicks; };
    form.SetMenu(menu);
    form.Show();
    HWND h = form.Handle();
    EXPECT_EQ(GetMenu(h), menu->Handle());
    RECT cr;
    GetClientRect(h, &cr);
    EXPECT_EQ(cr.bottom, 200);  // the menu bar came out of the frame, not the client area
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
    EXPECT_EQ(clicks, 1);
    // The window gives the menu back when it goes; the items still own it.
    form.RecreateWnd();
    EXPECT_NE(form.HandleIfAllocated(), h);
    EXPECT_EQ(GetMenu(form.HandleIfAllocated()), menu->Handle());
    EXPECT_TRUE(IsWindowVisible(form.HandleIfAllocated()));  // still showing after being made again
    EXPECT_TRUE(IsMenu(menu->Handle()));
    delete menu;
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(GetMenu(form.HandleIfAllocated()), nullptr);
}

TEST(FormMDI, FrameMakesAClientWindowAndChildrenLiveInIt) {
    TForm frame(nullptr);
    frame.SetFormStyle(fsMDIForm);
    frame.SetClientSize(500, 400);
    auto* bar = new TStatusBar(&frame);
    bar->SetParent(&frame);
    bar->SetHeight(25);
    frame.Show();
    HWND client = frame.ClientHandle();
    ASSERT_NE(client, nullptr);
    wchar_t cls[32] = {};
    GetClassNameW(client, cls, 32);
    EXPECT_EQ(_wcsicmp(cls, L"MDIClient"), 0);
    RECT r;
    GetWindowRect(client, &r);
    MapWindowPoints(HWND_DESKTOP, frame.Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 400 - 25);  // what the status bar left
    EXPECT_EQ(r.right, 500);

    auto* child = new TForm(&frame);
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(L"child");
    child->SetBounds(10, 10, 200, 150);
    child->Show();
    ASSERT_TRUE(child->HandleAllocated());
    EXPECT_EQ(GetParent(child->Handle()), client);
    EXPECT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)), child->Handle());
    ASSERT_EQ(frame.MDIChildren().size(), 1u);
    EXPECT_EQ(frame.MDIChildren()[0], child);
    child->Close();  // an MDI child minimises by default
    EXPECT_TRUE(IsIconic(child->Handle()));
    delete child;
    EXPECT_TRUE(frame.MDIChildren().empty());
    EXPECT_TRUE(IsWindow(client));
}

TEST(FormMessages, DefaultErrorReportWritesToStandardErrorInsteadOfADialog) {
    // No OnException: the default report runs. With a standard error stream
    // (as under any test runner) it must write there and not block on a box.
    TExceptionEvent saved = Application->OnException;
    Application->OnException = nullptr;
    HANDLE rd = nullptr, wr = nullptr;
    ASSERT_TRUE(CreatePipe(&rd, &wr, nullptr, 0));
    HANDLE oldErr = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_ERROR_HANDLE, wr);
    {
        TForm form(nullptr);
        form.SetMessageHandler(WM_USER + 4, [](TMessage&) { throw std::runtime_error("report me"); });
        SendMessageW(form.Handle(), WM_USER + 4, 0, 0);
    }
    SetStdHandle(STD_ERROR_HANDLE, oldErr);
    Application->OnException = saved;
    CloseHandle(wr);
    char buf[128] = {};
    DWORD n = 0;
    ReadFile(rd, buf, sizeof(buf), &n, nullptr);
    CloseHandle(rd);
    EXPECT_EQ(std::string(buf, n), "error: report me\n");
}

TEST(FormModal, ShowModalDisablesOthersUntilItHasAResult) {
    TForm owner(nullptr);
    owner.Show();
    TForm dialog(nullptr);
    dialog.SetBorderStyle(bsDialog);
    bool ownerDisabledMeanwhile = false;
    dialog.OnShow = [&](TObject*) {
        ownerDisabledMeanwhile = !IsWindowEnabled(owner.Handle());
        PostMessageW(dialog.Handle(), WM_USER + 1, 0, 0);
    };
    dialog.SetMessageHandler(WM_USER + 1, [&](TMessage&) { dialog.SetModalResult(mrOk); });
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_TRUE(ownerDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog.Handle()));
}

TEST(ApplicationRun, ClosingTheMainFormEndsTheLoopAndFreesTheForms) {
    TApplication* saved = Application;
    TApplication app(nullptr);
    Application = &app;
    CollectErrors collect;
    g_order.clear();
    TF_OrderProbe* main = nullptr;
    app.CreateForm(&main);
    auto* second = app.CreateForm<TForm>();
    EXPECT_EQ(app.MainForm(), main);
    bool secondFreed = false;
    second->OnDestroy = [&](TObject*) { secondFreed = true; };
    HWND h = main->Handle();
    main->OnShow = [&](TObject*) { PostMessageW(h, WM_CLOSE, 0, 0); };
    app.Run();  // returns only once the main form is closed
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(app.MainForm(), nullptr);
    EXPECT_TRUE(secondFreed);
    EXPECT_EQ(app.ComponentCount(), 0);
    EXPECT_TRUE(collect.errors.empty());
    Application = saved;
    pumpMessages(10);  // the quit message is consumed by Run; nothing is left for later tests
}

TEST(Resources, TwoHundredFormsWithPanelsAndStatusBarsLeaveNothingBehind) {
    auto makeOne = [] {
        auto* f = new TForm(nullptr);
        f->SetClientSize(300, 200);
        auto* bar = new TStatusBar(f);
        bar->SetParent(f);
        bar->Panels()->Add()->SetText(L"text");
        bar->Font()->SetHeight(-13);  // a font of its own
        auto* p = new TPanel(f);
        p->SetParent(f);
        p->SetAlign(alTop);  // the form's own background shows below it
        p->SetCaption(L"panel");
        p->SetColor(clRed);
        f->Show();
        // Painted now, with every child: canvases, fonts and brushes in use.
        RedrawWindow(f->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        EXPECT_GE(liveWindows(), 3u);  // form, panel, status bar
        return f;
    };
    delete makeOne();  // classes registered and system caches warmed first
    pumpMessages(20);
    DWORD gdi = liveGdiObjects();
    DWORD windows = liveWindows();
    DWORD user = qs::test::userObjectCount();
    ASSERT_GT(gdi, 0u);  // the probe sees objects, so "no more" means something
    for (int i = 0; i < 200; ++i) {
        TForm* f = makeOne();
        if (i % 2) {
            f->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
            f->Close();
            pumpMessages(0);
        } else {
            delete f;
        }
    }
    pumpMessages(50);
    EXPECT_LE(liveGdiObjects(), gdi);
    EXPECT_LE(liveWindows(), windows);
    // GetGuiResources reads 0 under Wine; there the window count above is
    // what holds USER objects to account. On Windows this counts menus and
    // icons as well.
    EXPECT_LE(qs::test::userObjectCount(), user);
}
