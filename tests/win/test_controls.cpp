// Controls under a real window manager stand-in (Wine + Xvfb): the message
// path the skin engine hooks into, layout numbers, notifications.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "Application.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "MessageRecorder.h"
#include "StdCtrlsGroup.h"
#include "WindowCapture.h"

using namespace qs;
using qs::test::MessageRecorder;
using qs::test::pumpMessages;

namespace {

// A windowed control that logs every message its WindowProc chain hands to WndProc.
class TProbeWin : public TWinControl {
public:
    using TWinControl::TWinControl;
    std::vector<UINT> seen;
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        if (m.Msg == CN_CTLCOLORSTATIC) {
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
            return;
        }
        if (m.Msg == CN_COMMAND || m.Msg == CN_NOTIFY) {
            m.Result = 0x5A;
            return;
        }
        TWinControl::WndProc(m);
    }
    size_t count(UINT msg) const { return size_t(std::count(seen.begin(), seen.end(), msg)); }
};

// Windowless: paints itself red and counts what its parent feeds it.
class TRedBox : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    int paints = 0;
    POINT lastDown{-1, -1};
    std::vector<UINT> seen;
    void WndProc(TMessage& m) override {
        seen.push_back(m.Msg);
        TGraphicControl::WndProc(m);
    }

protected:
    void Paint() override {
        ++paints;
        Canvas()->Brush().SetColor(clRed);
        RECT r{0, 0, Width(), Height()};
        Canvas()->FillRect(r);
    }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        lastDown = POINT{x, y};
        TGraphicControl::MouseDown(b, s, x, y);
    }
};

struct FormFixture : ::testing::Test {
    std::unique_ptr<TForm> form;
    void SetUp() override {
        form = std::make_unique<TForm>(nullptr);
        form->SetBorderStyle(bsSingle);
        form->SetBounds(40, 40, 400, 300);
    }
    void TearDown() override { form.reset(); }
};

void CALLBACK endMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

RECT windowRectInParent(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

TEST_F(FormFixture, WindowProcReplacementSeesMessagesAndIsRestored) {
    auto* probe = new TProbeWin(form.get());
    probe->SetParent(form.get());
    probe->SetBounds(10, 10, 50, 20);
    HWND h = probe->Handle();
    ASSERT_TRUE(h);
    EXPECT_EQ(FindControl(h), probe);

    std::vector<UINT> hooked;
    TWndMethod saved = probe->WindowProc();
    probe->SetWindowProc([&](TMessage& m) {
        hooked.push_back(m.Msg);
        if (m.Msg == WM_USER + 7) {  // consumed by the replacement: never reaches the control
            m.Result = 77;
            return;
        }
        saved(m);
    });
    EXPECT_EQ(SendMessageW(h, WM_USER + 7, 0, 0), 77);
    EXPECT_EQ(probe->count(WM_USER + 7), 0u);
    probe->seen.clear();
    SendMessageW(h, WM_USER + 8, 0, 0);
    probe->SetEnabled(false);
    probe->SetCaption(L"abc");
    for (UINT m : {UINT(WM_USER + 8), CM_ENABLEDCHANGED, CM_TEXTCHANGED}) {
        EXPECT_NE(std::find(hooked.begin(), hooked.end(), m), hooked.end()) << std::hex << m;
        EXPECT_EQ(probe->count(m), 1u) << std::hex << m;
    }
    // The replacement sees things in the order the control does.
    auto at = [&](std::vector<UINT>& v, UINT m) { return std::find(v.begin(), v.end(), m) - v.begin(); };
    EXPECT_LT(at(hooked, WM_USER + 8), at(hooked, CM_ENABLEDCHANGED));
    EXPECT_LT(at(probe->seen, WM_USER + 8), at(probe->seen, CM_ENABLEDCHANGED));

    probe->SetWindowProc(saved);
    size_t before = hooked.size();
    EXPECT_EQ(SendMessageW(h, WM_USER + 7, 0, 0), 0);
    EXPECT_EQ(probe->count(WM_USER + 7), 1u);
    EXPECT_EQ(hooked.size(), before);
}

TEST_F(FormFixture, SubclassingTheWindowAndRemovingItKeepsTheControlWorking) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetAlign(alClient);
    auto* inner = new TProbeWin(form.get());
    inner->SetParent(panel);
    inner->SetAlign(alTop);
    inner->SetHeight(30);
    HWND h = panel->Handle();
    WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
    {
        MessageRecorder rec(h);
        form->SetClientSize(300, 200);  // the panel is resized under the subclass
        panel->SetCaption(L"sub");
        EXPECT_TRUE(rec.containsInOrder({WM_WINDOWPOSCHANGED, WM_SETTEXT})) << rec.describe();
        EXPECT_EQ(panel->Width(), 300);
        EXPECT_EQ(inner->Width(), 300 - 2);  // realigned inside the default raised bevel
        // A narrow-character subclass in front of ours: texts still arrive whole.
        SetWindowTextA(h, "narrow");
        EXPECT_EQ(panel->Caption(), L"narrow");
    }
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)), own);
    form->SetClientSize(320, 220);
    EXPECT_EQ(panel->Width(), 320);
    EXPECT_EQ(inner->Width(), 318);
    EXPECT_EQ(FindControl(h), panel);

    // Destroyed while subclassed: the subclass lets go at WM_NCDESTROY and the
    // control forgets the window.
    auto rec = std::make_unique<MessageRecorder>(h);
    panel->DestroyHandle();
    EXPECT_FALSE(panel->HandleAllocated());
    EXPECT_FALSE(inner->HandleAllocated());
    EXPECT_EQ(FindControl(h), nullptr);
    EXPECT_EQ(rec->count(WM_NCDESTROY), 1u);
    rec.reset();
    EXPECT_TRUE(panel->Handle());  // made again on demand
    EXPECT_TRUE(inner->HandleAllocated());
}

TEST_F(FormFixture, NotificationsFromChildrenAreReflectedToThem) {
    auto* probe = new TProbeWin(form.get());
    probe->SetParent(form.get());
    HWND parent = form->Handle();
    HWND child = probe->Handle();
    probe->seen.clear();

    EXPECT_EQ(SendMessageW(parent, WM_COMMAND, MAKEWPARAM(12, BN_CLICKED), reinterpret_cast<LPARAM>(child)), 0x5A);
    NMHDR nm{child, 12, NM_DBLCLK};
    EXPECT_EQ(SendMessageW(parent, WM_NOTIFY, 12, reinterpret_cast<LPARAM>(&nm)), 0x5A);
    HDC dc = GetDC(child);
    EXPECT_EQ(SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child)),
              reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(child, dc);
    EXPECT_EQ(probe->count(0xBC00 + WM_COMMAND), 1u);
    EXPECT_EQ(probe->count(0xBC4E), 1u);
    EXPECT_EQ(probe->count(0xBC00 + WM_CTLCOLORSTATIC), 1u);
    // A menu command (no control handle) is not a child's business.
    SendMessageW(parent, WM_COMMAND, 0x4321, 0);
    EXPECT_EQ(probe->count(CN_COMMAND), 1u);

    // A real system control's notification takes the same road.
    auto* bar = new TStatusBar(form.get());
    bar->SetParent(form.get());
    bar->Panels()->Add()->SetStyle(psOwnerDraw);
    int drawn = 0;
    bar->OnDrawPanel = [&](TCustomStatusBar* b, TStatusPanel* p, const RECT& r) {
        EXPECT_EQ(b, bar);
        EXPECT_EQ(p, bar->Panels()->At(0));
        EXPECT_GT(r.right, r.left);
        ++drawn;
    };
    form->Show();
    RedrawWindow(bar->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(50);
    EXPECT_GE(drawn, 1);
}

TEST_F(FormFixture, StateChangesAreSentAsNotificationsAndFollowTheParent) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    auto* probe = new TProbeWin(form.get());
    probe->SetParent(panel);
    form->HandleNeeded();
    probe->seen.clear();

    probe->SetVisible(false);
    probe->SetVisible(true);
    probe->SetEnabled(false);
    probe->SetColor(clRed);
    SetWindowTextW(probe->Handle(), L"outside");  // text changed behind the toolkit's back
    EXPECT_EQ(probe->Caption(), L"outside");
    EXPECT_EQ(probe->count(CM_VISIBLECHANGED), 2u);
    EXPECT_EQ(probe->count(CM_ENABLEDCHANGED), 1u);
    EXPECT_FALSE(IsWindowEnabled(probe->HandleIfAllocated()));
    EXPECT_EQ(probe->count(CM_COLORCHANGED), 1u);
    EXPECT_EQ(probe->count(CM_TEXTCHANGED), 1u);
    probe->SetBiDiMode(TBiDiMode::bdRightToLeft);
    EXPECT_EQ(probe->count(CM_BIDIMODECHANGED), 1u);
    EXPECT_TRUE(GetWindowLongPtrW(probe->HandleIfAllocated(), GWL_EXSTYLE) & WS_EX_RTLREADING);
    EXPECT_EQ(GetEnumProp(probe, "BiDiMode"), "bdRightToLeft");

    // Font: the child follows its parent until it gets a font of its own.
    probe->seen.clear();
    form->Font()->SetHeight(-15);
    EXPECT_EQ(panel->Font()->Height(), -15);
    EXPECT_EQ(probe->Font()->Height(), -15);
    EXPECT_EQ(probe->count(CM_FONTCHANGED), 1u);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(probe->HandleIfAllocated(), WM_GETFONT, 0, 0)),
              probe->Font()->Handle());
    probe->Font()->SetName(L"Courier New");
    EXPECT_FALSE(probe->ParentFont());
    form->Font()->SetHeight(-20);
    EXPECT_EQ(panel->Font()->Height(), -20);
    EXPECT_EQ(probe->Font()->Height(), -15);

    // Focus: every control of the form hears which one has it.
    auto* other = new TProbeWin(form.get());
    other->SetParent(form.get());
    form->Show();
    probe->SetEnabled(true);
    probe->seen.clear();
    other->seen.clear();
    probe->SetFocus();
    EXPECT_EQ(form->ActiveControl(), probe);
    EXPECT_EQ(probe->count(CM_ENTER), 1u);
    EXPECT_EQ(probe->count(CM_FOCUSCHANGED), 1u);
    EXPECT_EQ(other->count(CM_FOCUSCHANGED), 1u);
}

TEST_F(FormFixture, WindowlessChildrenArePaintedAndFedMouseByTheirParent) {
    form->SetColor(clWhite);
    auto* box = new TRedBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(20, 30, 40, 25);
    int clicks = 0, enters = 0, leaves = 0;
    box->OnClick = [&](TObject* s) {
        EXPECT_EQ(s, box);
        ++clicks;
    };
    box->OnMouseEnter = [&](TObject*) { ++enters; };
    box->OnMouseLeave = [&](TObject*) { ++leaves; };
    form->Show();
    UpdateWindow(form->Handle());
    pumpMessages(50);
    auto img = qs::test::captureClient(form->Handle());
    ASSERT_FALSE(img.empty());
    EXPECT_GE(box->paints, 1);
    EXPECT_EQ(img.colorAt(20, 30), RGB(255, 0, 0));
    EXPECT_EQ(img.colorAt(59, 54), RGB(255, 0, 0));
    EXPECT_EQ(img.colorAt(60, 30), RGB(255, 255, 255));
    EXPECT_EQ(img.colorAt(19, 30), RGB(255, 255, 255));

    HWND h = form->Handle();
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(25, 35));
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(box->MouseInControl());
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    EXPECT_EQ(box->lastDown.x, 5);  // in the box's own coordinates
    EXPECT_EQ(box->lastDown.y, 5);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(26, 36));
    EXPECT_EQ(clicks, 1);
    // Released outside the box: no click.
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(clicks, 1);
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(200, 200));
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(box->MouseInControl());
    // Invisible or disabled: the parent keeps the mouse.
    box->SetEnabled(false);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(25, 35));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(25, 35));
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormFixture, PanelPaintsItsBevelsBorderAndColour) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 60, 40);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    panel->SetColor(clLime);
    form->Show();
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    auto img = qs::test::captureClient(panel->Handle());
    ASSERT_EQ(img.width, 60);
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    COLORREF lime = RGB(0, 255, 0);
    EXPECT_EQ(img.colorAt(0, 0), light);     // raised outer bevel: light top-left
    EXPECT_EQ(img.colorAt(59, 39), shadow);  // dark bottom-right
    EXPECT_EQ(img.colorAt(1, 1), lime);      // border in the panel colour
    EXPECT_EQ(img.colorAt(3, 3), shadow);    // lowered inner bevel: dark top-left
    EXPECT_EQ(img.colorAt(56, 36), light);
    EXPECT_EQ(img.colorAt(30, 20), lime);
    RECT r = panel->ClientRect();
    panel->AdjustClientRect(r);
    EXPECT_EQ(r.left, 4);
    EXPECT_EQ(r.right, 56);
}

TEST_F(FormFixture, KeysGoThroughTheFormFirstAndTabMovesTheFocus) {
    auto* a = new TProbeWin(form.get());
    a->SetParent(form.get());
    a->SetTabStop(true);
    auto* b = new TProbeWin(form.get());
    b->SetParent(form.get());
    b->SetTabStop(true);
    auto* skipped = new TProbeWin(form.get());  // no tab stop
    skipped->SetParent(form.get());
    form->Show();
    a->SetFocus();
    ASSERT_TRUE(a->Focused());

    MSG tab{a->Handle(), WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
    EXPECT_TRUE(Application->PreprocessMessage(tab));
    EXPECT_TRUE(b->Focused());
    tab.hwnd = b->Handle();
    EXPECT_TRUE(Application->PreprocessMessage(tab));
    EXPECT_TRUE(a->Focused());  // wraps past the control without a tab stop
    EXPECT_EQ(form->ActiveControl(), a);

    // With KeyPreview the form sees a key first and can eat it.
    std::vector<std::string> order;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        order.push_back("form");
        if (key == 'X') key = 0;
    };
    a->OnKeyDown = [&](TObject*, WORD&, TShiftState) { order.push_back("control"); };
    SendMessageW(a->Handle(), WM_KEYDOWN, 'Y', 0);
    form->SetKeyPreview(true);
    SendMessageW(a->Handle(), WM_KEYDOWN, 'Y', 0);
    SendMessageW(a->Handle(), WM_KEYDOWN, 'X', 0);
    EXPECT_EQ(order, (std::vector<std::string>{"control", "form", "control", "form"}));
}

TEST_F(FormFixture, ContextMenuRequestReachesTheControlInClientCoordinates) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 100, 50);
    form->Show();
    POINT got{-1, -1};
    int asked = 0;
    panel->OnContextPopup = [&](TObject*, POINT p, bool& handled) {
        got = p;
        handled = true;
        ++asked;
    };
    POINT screen = panel->ClientToScreen(POINT{7, 9});
    SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()), MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(got.x, 7);
    EXPECT_EQ(got.y, 9);
}

TEST_F(FormFixture, RightClickPopsUpTheControlsMenu) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 100, 50);
    auto* box = new TRedBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(150, 10, 40, 40);
    auto* menu = new TPopupMenu(form.get());
    auto* item = new TMenuItem(form.get());
    item->SetCaption(L"Item");
    menu->Items()->Add(item);
    panel->SetPopupMenu(menu);
    box->SetPopupMenu(menu);
    std::vector<TComponent*> shownFor;
    menu->OnPopup = [&](TObject*) {
        shownFor.push_back(menu->PopupComponent());
        // Closes the menu from inside its modal loop.
        SetTimer(nullptr, 0, 30, endMenuSoon);
    };
    form->Show();
    POINT screen = panel->ClientToScreen(POINT{5, 5});
    SendMessageW(panel->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(panel->Handle()), MAKELPARAM(screen.x, screen.y));
    // A windowless control gets it from the right-button release its parent passes on.
    SendMessageW(form->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(160, 20));
    SendMessageW(form->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(160, 20));
    ASSERT_EQ(shownFor.size(), 2u);
    EXPECT_EQ(shownFor[0], panel);
    EXPECT_EQ(shownFor[1], box);
    // Freeing the menu leaves no dangling reference in the controls.
    delete menu;
    EXPECT_EQ(panel->PopupMenu(), nullptr);
    EXPECT_EQ(box->PopupMenu(), nullptr);
}

TEST_F(FormFixture, AlignLayoutOfTheViewerWindow) {
    form->SetClientSize(852, 573);
    auto* bar = new TStatusBar(form.get());
    bar->SetParent(form.get());
    bar->SetHeight(25);
    bar->Panels()->Add()->SetWidth(810);
    bar->Panels()->Add()->SetWidth(40);
    auto* left = new TPanel(form.get());
    left->SetParent(form.get());
    left->SetAlign(alLeft);
    left->SetWidth(97);
    left->SetVisible(false);
    auto* client = new TPanel(form.get());
    client->SetParent(form.get());
    client->SetAlign(alClient);
    client->SetBevelInner(bvRaised);
    client->SetBevelOuter(bvLowered);
    auto* inside = new TPanel(form.get());
    inside->SetParent(client);
    inside->SetAlign(alClient);
    form->Show();
    pumpMessages(20);

    RECT cr;
    GetClientRect(form->Handle(), &cr);
    EXPECT_EQ(cr.right, 852);
    EXPECT_EQ(cr.bottom, 573);
    EXPECT_EQ(bar->Align(), alBottom);  // a status bar docks at the bottom by itself
    RECT b = windowRectInParent(bar->Handle());
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.top, 548);
    EXPECT_EQ(b.right, 852);
    EXPECT_EQ(b.bottom, 573);
    RECT c = windowRectInParent(client->Handle());
    EXPECT_EQ(c.left, 0);  // the invisible left panel takes no room
    EXPECT_EQ(c.top, 0);
    EXPECT_EQ(c.right, 852);
    EXPECT_EQ(c.bottom, 548);
    EXPECT_EQ(inside->BoundsRect().left, 2);  // inside both bevels
    EXPECT_EQ(inside->Width(), 852 - 4);
    EXPECT_EQ(inside->Height(), 548 - 4);
    int parts[4] = {};
    ASSERT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(parts[0], 810);
    EXPECT_EQ(parts[1], -1);

    left->SetVisible(true);
    EXPECT_EQ(left->BoundsRect().left, 0);
    EXPECT_EQ(left->Height(), 548);
    EXPECT_EQ(client->Left(), 97);
    EXPECT_EQ(client->Width(), 852 - 97);
    // Two top-docked controls stack in the order of their positions; a
    // right-docked one takes its strip from what is left.
    form->DisableAlign();
    auto* top2 = new TPanel(form.get());
    top2->SetBounds(0, 100, 10, 20);
    top2->SetAlign(alTop);
    top2->SetParent(form.get());
    auto* top1 = new TPanel(form.get());
    top1->SetBounds(0, 5, 10, 30);
    top1->SetAlign(alTop);
    top1->SetParent(form.get());
    auto* right = new TPanel(form.get());
    right->SetWidth(50);
    right->SetAlign(alRight);
    right->SetParent(form.get());
    form->EnableAlign();
    EXPECT_EQ(top1->Top(), 0);
    EXPECT_EQ(top2->Top(), 30);
    EXPECT_EQ(left->Top(), 50);
    EXPECT_EQ(left->Height(), 548 - 50);
    EXPECT_EQ(right->Left(), 852 - 50);
    EXPECT_EQ(client->Width(), 852 - 97 - 50);
    EXPECT_EQ(client->Top(), 50);
}

TEST_F(FormFixture, TabOrderListCoversEveryLevelAndHandlesAreRecreated) {
    auto* p1 = new TPanel(form.get());
    p1->SetParent(form.get());
    auto* p2 = new TPanel(form.get());
    p2->SetParent(form.get());
    auto* inner = new TProbeWin(form.get());
    inner->SetParent(p2);
    p2->SetTabOrder(0);
    EXPECT_THROW(p2->SetParent(p2), std::invalid_argument);
    auto* deeper = new TPanel(form.get());
    deeper->SetParent(p2);
    EXPECT_THROW(p2->SetParent(deeper), std::invalid_argument);
    EXPECT_EQ(p2->Parent(), form.get());
    delete deeper;
    std::vector<TWinControl*> list;
    form->GetTabOrderList(list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], p2);
    EXPECT_EQ(list[1], inner);
    EXPECT_EQ(list[2], p1);
    EXPECT_EQ(p1->TabOrder(), 1);
    // A windowed control freed while its parent lives leaves every list.
    auto* gone = new TProbeWin(form.get());
    gone->SetParent(p1);
    HWND goneWnd = gone->Handle();
    delete gone;
    EXPECT_FALSE(IsWindow(goneWnd));
    EXPECT_EQ(p1->ControlCount(), 0);
    EXPECT_TRUE(p1->TabList().empty());

    HWND old = p2->Handle();
    HWND oldInner = inner->Handle();
    p2->SetCaption(L"kept");
    inner->seen.clear();
    inner->RecreateWnd();
    EXPECT_EQ(inner->count(CM_RECREATEWND), 1u);
    EXPECT_FALSE(IsWindow(oldInner));
    oldInner = inner->Handle();
    p2->RecreateWnd();
    EXPECT_NE(p2->HandleIfAllocated(), nullptr);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(IsWindow(oldInner));
    EXPECT_TRUE(inner->HandleAllocated());
    EXPECT_EQ(FindControl(p2->HandleIfAllocated()), p2);
    EXPECT_EQ(GetParent(inner->HandleIfAllocated()), p2->HandleIfAllocated());
    EXPECT_EQ(p2->Caption(), L"kept");
}

TEST(ParentWindow, AControlCanLiveInAWindowTheToolkitDidNotMake) {
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(host);
    {
        TPanel panel(nullptr);
        panel.SetParentWindow(host);
        panel.SetBounds(5, 6, 50, 40);
        HWND h = panel.Handle();
        EXPECT_EQ(GetParent(h), host);
        EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD);
        EXPECT_EQ(panel.Left(), 5);
        EXPECT_EQ(panel.Top(), 6);
        POINT o = panel.ClientOrigin();
        RECT hr;
        GetWindowRect(host, &hr);
        EXPECT_EQ(o.x, hr.left + 5);
    }
    EXPECT_EQ(GetWindow(host, GW_CHILD), nullptr);  // the panel's window went with it
    DestroyWindow(host);
}

TEST(StatusBar, PanelsSimpleTextHeightAndDoubleClick) {
    TForm form(nullptr);
    form.SetBorderStyle(bsSizeable);
    auto* bar = new TStatusBar(&form);
    bar->SetParent(&form);
    auto* p0 = bar->Panels()->Add();
    p0->SetText(L"\u53cc\u51fb\u72b6\u6001\u680f");
    p0->SetWidth(120);
    auto* p1 = bar->Panels()->Add();
    p1->SetText(L"V1.24");
    p1->SetAlignment(taRightJustify);
    p1->SetBevel(pbRaised);
    HWND h = bar->Handle();
    wchar_t text[64] = {};
    LRESULT r0 = SendMessageW(h, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), p0->Text());
    EXPECT_EQ(HIWORD(r0) & (SBT_POPOUT | SBT_NOBORDERS), 0);
    LRESULT r1 = SendMessageW(h, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"\t\tV1.24");  // right-aligned text
    EXPECT_EQ(HIWORD(r1) & SBT_POPOUT, SBT_POPOUT);
    EXPECT_TRUE(GetWindowLongPtrW(h, GWL_STYLE) & SBARS_SIZEGRIP);  // a sizeable form gets the grip

    p0->SetText(L"changed");
    SendMessageW(h, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::wstring(text), L"changed");
    bar->SetSimplePanel(true);
    bar->SetSimpleText(L"simple");
    EXPECT_TRUE(SendMessageW(h, SB_ISSIMPLE, 0, 0));
    text[0] = 0;
    SendMessageW(h, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));  // simple mode reads as part 0
    EXPECT_EQ(std::wstring(text), L"simple");

    // The height follows a bigger font, and never drops below its text.
    int small = bar->Height();
    bar->Font()->SetHeight(-30);
    EXPECT_GE(bar->Height(), 30);
    EXPECT_GT(bar->Height(), small);
    bar->SetHeight(5);
    EXPECT_EQ(bar->Height(), bar->MinimumHeight());

    int dbl = 0;
    bar->OnDblClick = [&](TObject* s) {
        EXPECT_EQ(s, bar);
        ++dbl;
    };
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    SendMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 5));
    EXPECT_EQ(dbl, 1);

    // Reading back by name, the way the skin engine does.
    EXPECT_TRUE(GetBoolProp(bar, "SimplePanel"));
    EXPECT_EQ(GetWideStrProp(bar, "SimpleText"), L"simple");
    auto* panels = dynamic_cast<TCollection*>(GetObjectProp(bar, "Panels"));
    ASSERT_NE(panels, nullptr);
    EXPECT_EQ(GetEnumProp(panels->Item(1), "Alignment"), "taRightJustify");
    EXPECT_EQ(GetEnumProp(panels->Item(1), "Bevel"), "pbRaised");
    EXPECT_EQ(GetIntProp(panels->Item(0), "Width"), 120);
}

// A stored column count outside 1..16 is refused (the definition is damaged)
// and leaves the group as it was; radio and check groups share the rule.
TEST(Groups, StoredColumnsOutsideOneToSixteenAreRefused) {
    TRadioGroup radios(nullptr);
    TCheckGroup checks(nullptr);
    for (TObject* g : {static_cast<TObject*>(&radios), static_cast<TObject*>(&checks)}) {
        EXPECT_TRUE(SetPropValue(g, "Columns", TPropValue(int64_t(3))));
        EXPECT_FALSE(SetPropValue(g, "Columns", TPropValue(int64_t(0))));
        EXPECT_FALSE(SetPropValue(g, "Columns", TPropValue(int64_t(17))));
        EXPECT_TRUE(SetPropValue(g, "Columns", TPropValue(int64_t(16))));
        EXPECT_FALSE(SetPropValue(g, "Columns", TPropValue(int64_t(-5))));
        const auto now = GetPropValue(g, "Columns");
        ASSERT_TRUE(now && std::holds_alternative<int64_t>(*now));
        EXPECT_EQ(std::get<int64_t>(*now), 16);
    }
}
