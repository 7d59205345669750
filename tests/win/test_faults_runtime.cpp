// What a running program does to skinned windows: a skin freed inside a loop
// of the system it called into, activation before the skin's own, menus
// changed, a control's window made again, one control's skin switched off.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "Buttons.h"
#include "ComCtrlsEdit.h"
#include "ComCtrlsTabs.h"
#include "ComCtrlsToolBar.h"
#include "ExtCtrls.h"
#include "MPlayer.h"
#include "Menus.h"
#include "SkinBars.h"
#include "SkinButton.h"
#include "SkinCheck.h"
#include "SkinCombo.h"
#include "SkinContainers.h"
#include "SkinDateTime.h"
#include "SkinEdit.h"
#include "SkinHeader.h"
#include "SkinListView.h"
#include "SkinMP.h"
#include "SkinMenu.h"
#include "SkinObjImage.h"
#include "SkinProgress.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"
#include "SkinTab.h"
#include "SkinTrackBar.h"
#include "SkinUpDown.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "test_managed_util.h"
#include "test_menus_util.h"

using namespace qs;
using namespace qs::test;

// Form skins, every control skin and the windows they make get pages of their
// own, taken away when they are freed: a write to a freed one faults here
// instead of passing unseen.
namespace {
constexpr std::size_t kGuardMagic = 0x6A5D3E71u;
struct GuardHeader {
    std::size_t magic, size;
    void *base, *spare;
};
bool guarded(std::size_t n) {
    static const std::size_t sizes[] = {
        sizeof(TWScrollbar),      sizeof(TWinSkinForm),      sizeof(TSkinToolbarH),   sizeof(TSkinRebarH),
        sizeof(TSkinButton),      sizeof(TSkinBitButton),    sizeof(TSkinMenuButton), sizeof(TSkinSpeedButton),
        sizeof(TSkinCheckBox),    sizeof(TSkinRadioButton),  sizeof(TSkinComBox),     sizeof(TSkinStatusBar),
        sizeof(TSkinGroupBox),    sizeof(TSkinBox),          sizeof(TSkinBoxH),       sizeof(TSkinSizer),
        sizeof(TSkinTabSheet),    sizeof(TArrowButton),      sizeof(TSkinDateTime),   sizeof(TSkinEdit),
        sizeof(TSkinHeader),      sizeof(TSkinListView),     sizeof(TWMediaPlayer),   sizeof(TSkinMP),
        sizeof(TSkinObjImage),    sizeof(TSkinProgress),     sizeof(TSkinScrollbar),  sizeof(TSkinScrollbarH),
        sizeof(TSkinScControl),   sizeof(TSkinTab),          sizeof(TSkinTabBtn),     sizeof(TSkinAdvPage),
        sizeof(TSkinTrackBar),    sizeof(TSkinUpDown)};
    for (std::size_t s : sizes)
        if (n == s) return true;
    return false;
}
LONG WINAPI reportFault(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "fault 0x%08lx at %p: freed memory touched\n", e->ExceptionRecord->ExceptionCode,
                 e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ::ExitProcess(3);
}
}  // namespace

void* operator new(std::size_t n) {
    if (guarded(n)) {
        void* base = ::VirtualAlloc(nullptr, n + sizeof(GuardHeader), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!base) throw std::bad_alloc();
        return new (base) GuardHeader{kGuardMagic, n, base, nullptr} + 1;
    }
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (!p) return;
    // Guarded blocks start just after the header at the start of an allocation.
    const auto* h = static_cast<const GuardHeader*>(p) - 1;
    if ((reinterpret_cast<std::uintptr_t>(p) & 0xFFFF) == sizeof(GuardHeader) && h->magic == kGuardMagic &&
        h->base == h) {
        DWORD old = 0;
        ::VirtualProtect(h->base, h->size + sizeof(GuardHeader), PAGE_NOACCESS, &old);
        return;
    }
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

class RunTime : public ManagedSkinTest {
public:
    // For the timer procedures that act inside the loops.
    static inline TSkinData* gSkin = nullptr;
    static inline TSkinManage* gMgr = nullptr;
    static inline int gTicks = 0;
    static inline bool gSeen = false;

protected:
    void SetUp() override {
        ManagedSkinTest::SetUp();
        ::SetUnhandledExceptionFilter(&reportFault);
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(60, 60, 460, 320);
        gSkin = sd.get();
        gMgr = mgr;
        gTicks = 0;
    }
    void showSkinned() {
        form->Show();
        ASSERT_TRUE(waitFor([&] { return answersSkinned(form->Handle()); }));
        pumpMessages(80);
        fs = mgr->FindFormSkin(form->Handle());
        ASSERT_NE(fs, nullptr);
    }
    TMemo* addMemo() {
        auto* m = new TMemo(form.get());
        m->SetParent(form.get());
        m->SetBounds(10, 10, 200, 160);
        m->SetScrollBars(ssVertical);
        m->SetLines(std::vector<std::wstring>(80, L"line"));
        return m;
    }
    TWinSkinForm* fs = nullptr;
};

// ---- skins freed inside the system's loops ----------------------------------------

HWND gCover = nullptr;
struct CoverTimer : RunTime {
    // The skin is switched off while the arrow is held down; the manager
    // carries that out from its timer, inside the tracking loop.
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        if (++gTicks == 1) {
            gSkin->SetActive(false);
            return;
        }
        if (!::IsWindow(gCover)) gSeen = ::GetCapture() != nullptr;
        if (!::IsWindow(gCover) || gTicks > 150) {
            ::KillTimer(nullptr, id);
            ::ReleaseCapture();  // the button comes up: the loop ends
        }
    }
};

TEST_F(CoverTimer, ScrollCoverFreedInsideTheTrackingLoop) {
    TMemo* memo = addMemo();
    showSkinned();
    auto* skin = dynamic_cast<TSkinScrollbar*>(FindSkinByControl(fs, memo));
    ASSERT_TRUE(skin && (gCover = skin->FVertBar->HandleIfAllocated()));
    RECT cr{};
    ::GetClientRect(gCover, &cr);
    gSeen = false;
    ::SetTimer(nullptr, 0, 20, &tick);
    // A press on the page area below the thumb; the loop runs inside.
    ::SendMessageW(gCover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cr.right / 2, cr.bottom - cr.right - 4));
    EXPECT_TRUE(gSeen) << "the cover was not freed while the loop ran";
    // The next messages and paints reach a plain memo.
    ::SendMessageW(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(60);
    EXPECT_FALSE(answersSkinned(memo->Handle()));
}

struct DropDownTimer : RunTime {
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        if (!gSeen) {
            if (menuWindows().empty()) return;
            gSeen = true;
            gSkin->SetActive(false);
        } else if (gMgr->FFormSkins.empty() || ++gTicks > 150) {
            ::KillTimer(nullptr, id);
            ::EndMenu();
        }
    }
};

TMenuItem* item(TComponent* owner, const wchar_t* caption, TMenuItem* parent) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    parent->Add(i);
    return i;
}

TEST_F(DropDownTimer, FormSkinFreedWhileItsDropDownIsOpen) {
    auto* mm = new TMainMenu(form.get());
    item(mm, L"&Open", item(mm, L"&File", mm->Items()));
    form->SetMenu(mm);
    showSkinned();
    gSeen = false;
    ::SetTimer(nullptr, 0, 20, &tick);
    ::SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');  // the menu loop runs inside
    EXPECT_TRUE(gSeen);
    EXPECT_TRUE(mgr->FFormSkins.empty());
    ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    pumpMessages(60);
    EXPECT_EQ(::GetMenu(form->Handle()), mm->Handle()) << "the window did not get its menu back";
}

// ---- skins freed by the program inside the control's own handling -------------------

// The program's handler, reached from inside a control's handling of a press,
// switches skinning off at once (every form unskinned there).
struct FreedByTheProgram : RunTime {
    int freed = 0;
    void unskinAll() {
        if (!freed++) gMgr->UnskinAllForms();
    }
    void press(HWND w, int x, int y) {
        ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        pumpMessages(30);
    }
    TSpeedButton* addSpeedButton() {
        auto* b = new TSpeedButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(20, 20, 60, 24);
        return b;
    }
};

TEST_F(FreedByTheProgram, UpDownPress) {
    auto* ud = new TUpDown(form.get());
    ud->SetParent(form.get());
    ud->SetBounds(20, 20, 17, 40);
    ud->OnChanging = [&](TObject*, bool&) { unskinAll(); };
    showSkinned();
    ASSERT_NE(dynamic_cast<TSkinUpDown*>(FindSkinByControl(fs, ud)), nullptr);
    press(ud->Handle(), 8, 5);
    EXPECT_EQ(freed, 1);
    EXPECT_FALSE(answersSkinned(ud->Handle()));
}

TEST_F(FreedByTheProgram, SpeedButtonPress) {
    TSpeedButton* b = addSpeedButton();
    b->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { unskinAll(); };
    showSkinned();
    ASSERT_NE(dynamic_cast<TSkinSpeedButton*>(FindSkinByControl(fs, b)), nullptr);
    press(form->Handle(), 30, 30);
    EXPECT_EQ(freed, 1);
}

// Freed from the click, which the control makes once it has the release: the
// skin's handling after the control's must not run.
TEST_F(FreedByTheProgram, SpeedButtonClick) {
    TSpeedButton* b = addSpeedButton();
    b->OnClick = [&](TObject*) { unskinAll(); };
    showSkinned();
    ASSERT_NE(dynamic_cast<TSkinSpeedButton*>(FindSkinByControl(fs, b)), nullptr);
    press(form->Handle(), 30, 30);
    EXPECT_EQ(freed, 1);
}

TEST_F(FreedByTheProgram, MediaPlayerPanelClick) {
    auto* mp = new TMediaPlayer(form.get());
    mp->SetParent(form.get());
    mp->SetBounds(20, 20, 253, 30);
    mp->OnButtonClick = [&](TObject*, TMPBtnType, bool&) { unskinAll(); };
    showSkinned();
    auto* skin = dynamic_cast<TSkinMP*>(FindSkinByControl(fs, mp));
    ASSERT_TRUE(skin && skin->FPlayer);
    press(skin->FPlayer->Handle(), 10, 10);
    EXPECT_EQ(freed, 1);
}

// ---- one control's skin switched off and on ------------------------------------------

TEST_F(RunTime, SwitchingOneControlOffTakesItsWindowsAlong) {
    TMemo* memo = addMemo();
    auto* picker = new TDateTimePicker(form.get());
    picker->SetParent(form.get());
    picker->SetBounds(230, 10, 150, 24);
    showSkinned();
    auto* scroll = dynamic_cast<TSkinScrollbar*>(FindSkinByControl(fs, memo));
    auto* dt = dynamic_cast<TSkinDateTime*>(FindSkinByControl(fs, picker));
    ASSERT_TRUE(scroll && dt && dt->FArrowButton);
    const HWND cover = scroll->FVertBar->HandleIfAllocated(), arrow = dt->FArrowButton->HandleIfAllocated();
    ASSERT_TRUE(::IsWindowVisible(cover) && ::IsWindowVisible(arrow));
    for (WPARAM on : {WPARAM(0), WPARAM(1)}) {
        ::SendMessageW(memo->Handle(), WM_SKIN_CONTROL_SWITCH, on, 0);
        ::SendMessageW(picker->Handle(), WM_SKIN_CONTROL_SWITCH, on, 0);
        pumpMessages(40);
        EXPECT_EQ(::IsWindowVisible(cover), BOOL(on)) << "the memo's cover, switched " << on;
        EXPECT_EQ(::IsWindowVisible(arrow), BOOL(on)) << "the picker's arrow, switched " << on;
    }
}

TEST_F(RunTime, ASwitchedOffControlIsLeftAloneUntilSwitchedOn) {
    auto* pc = new TPageControl(form.get());
    pc->SetParent(form.get());
    pc->SetBounds(10, 60, 300, 200);
    auto* sheet = new TTabSheet(form.get());
    sheet->SetCaption(L"One");
    sheet->SetPageControl(pc);
    auto* bar = new TToolBar(form.get());
    bar->SetParent(form.get());
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(320, 60, 100, 100);
    const TColor panelOwn = panel->Color();
    showSkinned();
    ASSERT_EQ(prop::GetEnumPropName(bar, "Flat"), "True");
    ASSERT_NE(panel->Color(), panelOwn);
    for (TWinControl* c : {static_cast<TWinControl*>(pc), static_cast<TWinControl*>(bar), static_cast<TWinControl*>(panel)})
        ::SendMessageW(c->Handle(), WM_SKIN_CONTROL_SWITCH, 0, 0);
    pumpMessages(40);
    EXPECT_EQ(prop::GetEnumPropName(bar, "Flat"), "False");
    EXPECT_FALSE(bar->OnCustomDraw) << "the skin's painter stayed on the switched-off bar";
    EXPECT_EQ(panel->Color(), panelOwn);
    // Its window made again: still off.
    pc->SetTabPosition(tpBottom);
    pumpMessages(60);
    EXPECT_FALSE(answersSkinned(pc->Handle())) << "the new window came back skinned";
    // The next skin: not for the switched-off panel until it is switched on.
    sd->SetSkinFile("Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/dark.skn");
    pumpMessages(200);
    EXPECT_EQ(panel->Color(), panelOwn);
    ::SendMessageW(panel->Handle(), WM_SKIN_CONTROL_SWITCH, 1, 0);
    EXPECT_EQ(panel->Color(), TColor(sd->ButtonFace));
}

// ---- a control that makes its window again ---------------------------------------------

TEST_F(RunTime, RecreatedTabControlIsSkinnedAgainAtOnce) {
    auto* pc = new TPageControl(form.get());
    pc->SetParent(form.get());
    pc->SetBounds(10, 10, 300, 200);
    auto* sheet = new TTabSheet(form.get());
    sheet->SetCaption(L"One");
    sheet->SetPageControl(pc);
    auto* button = new TButton(form.get());
    button->SetParent(sheet);
    button->SetBounds(10, 10, 80, 24);
    showSkinned();
    ASSERT_TRUE(answersSkinned(pc->Handle()));
    pc->SetTabPosition(tpBottom);
    pumpMessages(60);
    EXPECT_TRUE(answersSkinned(pc->Handle())) << "the new tab control window is unskinned";
    EXPECT_TRUE(answersSkinned(button->Handle())) << "the button on its sheet is unskinned";
    pc->SetStyle(tsButtons);
    pumpMessages(60);
    EXPECT_TRUE(answersSkinned(pc->Handle())) << "button-style tabs came back unskinned";
    int skins = 0;  // none left over from the old windows
    for (TSkinControl* s : fs->FControls) skins += s->FControl == pc;
    EXPECT_EQ(skins, 1);
}

// ---- menus changed while skinned ----------------------------------------------------------

void CALLBACK watchMenus(HWND, UINT, UINT_PTR, DWORD) {
    if (!menuWindows().empty() && ::EndMenu()) RunTime::gSeen = true;
}

TEST_F(RunTime, ToolkitMenuChangesReachTheSkinnedBar) {
    auto* mm = new TMainMenu(form.get());
    TMenuItem* file = item(mm, L"&File", mm->Items());
    TMenuItem* edit = item(mm, L"&Edit", mm->Items());
    TMenuItem* view = item(mm, L"&View", mm->Items());
    item(mm, L"&Open", file);
    item(mm, L"&Copy", edit);
    form->SetMenu(mm);
    showSkinned();
    ASSERT_TRUE(fs->FSkinMenu && fs->FSkinMenu->FButtons.size() == 3);
    TWinSkinMenu& bar = *fs->FSkinMenu;

    // A pop-up menu made after the form was skinned is hooked at the next skin change.
    auto* late = new TPopupMenu(form.get());
    TMenuItem* cut = item(late, L"Cu&t", late->Items());
    fs->SkinChanged();
    EXPECT_TRUE(late->OwnerDraw() && cut->OnDrawItem);

    file->SetCaption(L"&Archive");
    EXPECT_EQ(bar.Button(0)->FCaption, L"&Archive");
    item(mm, L"&Zoom", view);  // its first sub-item
    EXPECT_NE(bar.Button(2)->FSubMenu, nullptr);
    edit->SetEnabled(false);
    EXPECT_FALSE(bar.Button(1)->FItemEnabled);
    gSeen = false;
    const UINT_PTR watch = ::SetTimer(nullptr, 0, 30, &watchMenus);
    ::PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'e');
    pumpMessages(400);
    ::KillTimer(nullptr, watch);
    EXPECT_FALSE(gSeen) << "a disabled top-level item opened its drop-down";
    edit->SetVisible(false);
    EXPECT_EQ(bar.FButtons.size(), 2u);

    auto* other = new TMainMenu(form.get());
    item(other, L"&Options", item(other, L"&Tools", other->Items()));
    form->SetMenu(other);
    ASSERT_TRUE(fs->FSkinMenu && fs->FSkinMenu->FButtons.size() == 1);
    EXPECT_EQ(fs->FSkinMenu->Button(0)->FCaption, L"&Tools");
    EXPECT_EQ(::GetMenu(form->Handle()), other->Handle()) << "the program's menu is not on its window";
}

TEST_F(RunTime, BareWindowMenuChangesReachTheSkinnedBar) {
    HMENU menu = ::CreateMenu(), sub = ::CreatePopupMenu(), other = ::CreateMenu();
    ::AppendMenuW(sub, MF_STRING, 101, L"&Open");
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&File");
    ::AppendMenuW(menu, MF_STRING, 102, L"&Help");
    for (UINT id : {201u, 202u, 203u}) ::AppendMenuW(other, MF_STRING, id, L"&Item");
    HWND w = makeWindow(300, 200, WS_OVERLAPPEDWINDOW, 0, L"Bare menus", nullptr, menu);
    ASSERT_TRUE(waitFor([&] { return answersSkinned(w); }));
    pumpMessages(60);
    TWinSkinForm* bare = mgr->FindFormSkin(w);
    ASSERT_TRUE(bare && bare->FSkinMenu && bare->FSkinMenu->FButtons.size() == 2);

    ::EnableMenuItem(menu, 0, MF_BYPOSITION | MF_GRAYED);
    ::ModifyMenuW(menu, 1, MF_BYPOSITION | MF_STRING, 102, L"&About");
    ::DrawMenuBar(w);
    EXPECT_FALSE(bare->FSkinMenu->Button(0)->FItemEnabled);
    EXPECT_EQ(bare->FSkinMenu->Button(1)->FCaption, L"&About");
    ::SetMenu(w, other);
    ASSERT_TRUE(bare->FSkinMenu);
    EXPECT_EQ(bare->FSkinMenu->FButtons.size(), 3u);
    EXPECT_EQ(::GetMenu(w), other);
    ::DestroyWindow(w);
    ::DestroyMenu(menu);
    ::DestroyMenu(other);
}

// ---- deactivation before the skin's activation ran --------------------------------------

TEST(NcActivate, BeforeActivationTheAnswerAllowsTheChange) {
    auto skin = loadCommittedSkin("default");
    HWND w = makeWindow(200, 120);
    TWinSkinForm f(nullptr);
    f.FHandle = w;
    f.AttachWindow(skin.get());  // the activation message is not run
    ASSERT_EQ(f.FSkinState, ssCreated);
    // A refusal keeps the caption active after another window took the activation.
    EXPECT_NE(::SendMessageW(w, WM_NCACTIVATE, FALSE, 0), 0);
    EXPECT_NE(::SendMessageW(w, WM_NCACTIVATE, TRUE, 0), 0);
    f.Detach();
    ::DestroyWindow(w);
}

}  // namespace
