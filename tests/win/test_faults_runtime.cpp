// What a running program does to skinned windows while they are skinned:
// frees a skin inside a loop of the system that the skin called into,
// activates a window before its skin finished activating, changes its menus,
// recreates a control's window, and switches one control's skin off.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>

#include "ComCtrlsEdit.h"
#include "ComCtrlsTabs.h"
#include "Menus.h"
#include "SkinDateTime.h"
#include "SkinMenu.h"
#include "SkinRoutines.h"
#include "SkinScroll.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "test_managed_util.h"
#include "test_menus_util.h"

using namespace qs;
using namespace qs::test;

// ---- freed memory that faults on the next touch ------------------------------------
// Scroll-bar covers and form skins get pages of their own; freeing one takes
// its pages away, so a write to a freed one ends the program here instead of
// passing unnoticed.
namespace {
struct GuardHeader {
    std::size_t magic;
    void* base;
    std::size_t size;
    std::size_t spare;
};
constexpr std::size_t kGuardMagic = 0x6A5D3E71u;

void* guardedNew(std::size_t n) {
    void* base = ::VirtualAlloc(nullptr, n + sizeof(GuardHeader), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!base) throw std::bad_alloc();
    auto* h = static_cast<GuardHeader*>(base);
    *h = GuardHeader{kGuardMagic, base, n, 0};
    return h + 1;
}

bool guardedFree(void* p) {
    // Guarded blocks start just after the header at the start of an allocation.
    if ((reinterpret_cast<std::uintptr_t>(p) & 0xFFFF) != sizeof(GuardHeader)) return false;
    const auto* h = static_cast<const GuardHeader*>(p) - 1;
    if (h->magic != kGuardMagic || h->base != h) return false;
    DWORD old = 0;
    ::VirtualProtect(h->base, h->size + sizeof(GuardHeader), PAGE_NOACCESS, &old);
    return true;
}

LONG WINAPI reportFault(EXCEPTION_POINTERS* e) {
    std::fprintf(stderr, "fault 0x%08lx at %p: freed memory touched\n", e->ExceptionRecord->ExceptionCode,
                 e->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ::ExitProcess(3);
}
}  // namespace

void* operator new(std::size_t n) {
    if (n == sizeof(TWScrollbar) || n == sizeof(TWinSkinForm)) return guardedNew(n);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    if (p && !guardedFree(p)) std::free(p);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

std::vector<std::wstring> lines(int n) {
    std::vector<std::wstring> v;
    for (int i = 0; i < n; ++i) v.push_back(L"line " + std::to_wstring(i));
    return v;
}

class RunTime : public ManagedSkinTest {
protected:
    void SetUp() override {
        ManagedSkinTest::SetUp();
        ::SetUnhandledExceptionFilter(&reportFault);
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption(L"Run time");
        form->SetBounds(60, 60, 460, 320);
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
        m->SetLines(lines(80));
        return m;
    }
    TWinSkinForm* fs = nullptr;
};

// ---- a scroll-bar cover freed inside the system's tracking loop ----------------------

TSkinData* gSkin = nullptr;
TSkinManage* gMgr = nullptr;
HWND gCover = nullptr;
int gTicks = 0;
bool gFreedInLoop = false;
void CALLBACK unskinDuringTracking(HWND, UINT, UINT_PTR id, DWORD) {
    if (++gTicks == 1) {
        // The user switches the skin off while holding a scroll arrow down:
        // the manager carries it out from its timer, inside the loop.
        gSkin->SetActive(false);
        return;
    }
    if (!::IsWindow(gCover)) gFreedInLoop = ::GetCapture() != nullptr;
    if (!::IsWindow(gCover) || gTicks > 150) {
        ::KillTimer(nullptr, id);
        ::ReleaseCapture();  // the button comes up: the loop ends
    }
}

TEST_F(RunTime, ScrollCoverFreedInsideTheTrackingLoop) {
    TMemo* memo = addMemo();
    showSkinned();
    auto* skin = dynamic_cast<TSkinScrollbar*>(FindSkinByControl(fs, memo));
    ASSERT_NE(skin, nullptr);
    gCover = skin->FVertBar->HandleIfAllocated();
    ASSERT_TRUE(gCover && ::IsWindowVisible(gCover));
    RECT cr{};
    ::GetClientRect(gCover, &cr);
    gSkin = sd.get();
    gTicks = 0;
    gFreedInLoop = false;
    ::SetTimer(nullptr, 0, 20, &unskinDuringTracking);
    // A press on the page area below the thumb: the system's loop runs inside.
    ::SendMessageW(gCover, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cr.right / 2, cr.bottom - cr.right - 4));
    EXPECT_TRUE(gFreedInLoop) << "the cover was not freed while the loop ran";
    EXPECT_FALSE(::IsWindow(gCover));
    // The next messages and paints reach a plain memo.
    pumpMessages(100);
    ::SendMessageW(memo->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpMessages(60);
    EXPECT_FALSE(answersSkinned(memo->Handle()));
    EXPECT_TRUE(mgr->FFormSkins.empty());
}

// ---- a form skin freed while its menu bar's drop-down is open -----------------------

bool gDropDownSeen = false;
void CALLBACK unskinDuringDropDown(HWND, UINT, UINT_PTR id, DWORD) {
    if (!gDropDownSeen) {
        if (menuWindows().empty()) return;
        gDropDownSeen = true;
        gSkin->SetActive(false);
        return;
    }
    if (gMgr->FFormSkins.empty() || ++gTicks > 150) {
        ::KillTimer(nullptr, id);
        ::EndMenu();
    }
}

TEST_F(RunTime, FormSkinFreedWhileItsDropDownIsOpen) {
    auto* mm = new TMainMenu(form.get());
    auto* file = new TMenuItem(mm);
    file->SetCaption(L"&File");
    mm->Items()->Add(file);
    auto* open = new TMenuItem(mm);
    open->SetCaption(L"&Open");
    file->Add(open);
    form->SetMenu(mm);
    showSkinned();
    gSkin = sd.get();
    gMgr = mgr;
    gTicks = 0;
    gDropDownSeen = false;
    ::SetTimer(nullptr, 0, 20, &unskinDuringDropDown);
    // Opens the skinned bar's drop-down; the menu loop runs inside.
    ::SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
    EXPECT_TRUE(gDropDownSeen);
    EXPECT_TRUE(mgr->FFormSkins.empty());
    pumpMessages(100);
    ::RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
    EXPECT_FALSE(answersSkinned(form->Handle()));
    EXPECT_EQ(::GetMenu(form->Handle()), mm->Handle()) << "the window did not get its menu back";
}

// ---- one control's skin switched off and on -------------------------------------------

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

    ::SendMessageW(memo->Handle(), WM_SKIN_CONTROL_SWITCH, 0, 0);
    ::SendMessageW(picker->Handle(), WM_SKIN_CONTROL_SWITCH, WPARAM(-1), 0);
    pumpMessages(40);
    EXPECT_FALSE(::IsWindowVisible(cover)) << "the memo's cover stayed over its own bar";
    EXPECT_FALSE(::IsWindowVisible(arrow)) << "the picker's skinned arrow stayed over its own button";
    // Moved while off: nothing of the skin follows it.
    memo->SetBounds(20, 20, 200, 160);
    pumpMessages(40);
    EXPECT_FALSE(::IsWindowVisible(cover));

    ::SendMessageW(memo->Handle(), WM_SKIN_CONTROL_SWITCH, 1, 0);
    ::SendMessageW(picker->Handle(), WM_SKIN_CONTROL_SWITCH, 1, 0);
    pumpMessages(40);
    EXPECT_TRUE(::IsWindowVisible(cover));
    EXPECT_TRUE(::IsWindowVisible(arrow));
    SCROLLBARINFO sbi{};
    sbi.cbSize = sizeof sbi;
    ::GetScrollBarInfo(memo->Handle(), OBJID_VSCROLL, &sbi);
    RECT wr{};
    ::GetWindowRect(cover, &wr);
    EXPECT_TRUE(::EqualRect(&wr, &sbi.rcScrollBar)) << "the cover is back, but not over the moved bar";
}

// ---- a control that makes its window again -----------------------------------------------

TEST_F(RunTime, RecreatedTabControlIsSkinnedAgainAtOnce) {
    auto* pc = new TPageControl(form.get());
    pc->SetParent(form.get());
    pc->SetBounds(10, 10, 300, 200);
    TButton* buttons[2] = {};
    for (int i = 0; i < 2; ++i) {
        auto* sheet = new TTabSheet(form.get());
        sheet->SetCaption(i ? L"Two" : L"One");
        sheet->SetPageControl(pc);
        buttons[i] = new TButton(form.get());
        buttons[i]->SetParent(sheet);
        buttons[i]->SetBounds(10, 10, 80, 24);
    }
    showSkinned();
    ASSERT_TRUE(answersSkinned(pc->Handle()));
    pc->SetTabPosition(tpBottom);
    pumpMessages(60);
    EXPECT_TRUE(answersSkinned(pc->Handle())) << "the new tab control window is unskinned";
    EXPECT_TRUE(answersSkinned(buttons[0]->Handle())) << "the button on the shown sheet is unskinned";
    EXPECT_EQ(FindSkinByHandle(fs, pc->Handle()), FindSkinByControl(fs, pc));
    pc->SetStyle(tsButtons);
    pumpMessages(60);
    EXPECT_TRUE(answersSkinned(pc->Handle())) << "button-style tabs came back unskinned";
    // One live skin for the control: none left over from the old windows.
    int forPc = 0;
    for (TSkinControl* s : fs->FControls)
        if (s->FControl == pc) ++forPc;
    EXPECT_EQ(forPc, 1);
}

// ---- menus changed while skinned ----------------------------------------------------------

TMenuItem* item(TComponent* owner, const wchar_t* caption) {
    auto* i = new TMenuItem(owner);
    i->SetCaption(caption);
    return i;
}

bool gMenuShown = false;
void CALLBACK watchMenus(HWND, UINT, UINT_PTR, DWORD) {
    if (!menuWindows().empty()) {
        gMenuShown = true;
        ::EndMenu();
    }
}

TEST_F(RunTime, ToolkitMenuChangesReachTheSkinnedBar) {
    auto* mm = new TMainMenu(form.get());
    TMenuItem* file = item(mm, L"&File");
    TMenuItem* edit = item(mm, L"&Edit");
    TMenuItem* view = item(mm, L"&View");
    for (TMenuItem* top : {file, edit, view}) mm->Items()->Add(top);
    file->Add(item(mm, L"&Open"));
    edit->Add(item(mm, L"&Copy"));
    form->SetMenu(mm);
    showSkinned();
    ASSERT_TRUE(fs->FSkinMenu);
    TWinSkinMenu& bar = *fs->FSkinMenu;
    ASSERT_EQ(bar.FButtons.size(), 3u);

    // A pop-up menu made after the form was skinned gets the skin's painter
    // with the next skin change.
    auto* late = new TPopupMenu(form.get());
    TMenuItem* cut = item(late, L"Cu&t");
    late->Items()->Add(cut);
    fs->SkinChanged();
    EXPECT_TRUE(late->OwnerDraw());
    EXPECT_TRUE(bool(cut->OnDrawItem));

    file->SetCaption(L"&Archive");
    EXPECT_EQ(bar.Button(0)->FCaption, L"&Archive");
    view->Add(item(mm, L"&Zoom"));  // its first sub-item
    EXPECT_NE(bar.Button(2)->FSubMenu, nullptr);
    edit->SetEnabled(false);
    ASSERT_EQ(bar.FButtons.size(), 3u);
    EXPECT_FALSE(bar.Button(1)->FItemEnabled);
    // The disabled item does not open from the keyboard.
    gMenuShown = false;
    const UINT_PTR watch = ::SetTimer(nullptr, 0, 30, &watchMenus);
    ::PostMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'e');
    pumpMessages(400);
    ::KillTimer(nullptr, watch);
    EXPECT_FALSE(gMenuShown) << "a disabled top-level item opened its drop-down";
    edit->SetVisible(false);
    EXPECT_EQ(bar.FButtons.size(), 2u);

    // Another menu set on the form.
    auto* other = new TMainMenu(form.get());
    TMenuItem* tools = item(other, L"&Tools");
    other->Items()->Add(tools);
    tools->Add(item(other, L"&Options"));
    form->SetMenu(other);
    pumpMessages(40);
    ASSERT_TRUE(fs->FSkinMenu);
    ASSERT_EQ(fs->FSkinMenu->FButtons.size(), 1u);
    EXPECT_EQ(fs->FSkinMenu->Button(0)->FCaption, L"&Tools");
    EXPECT_EQ(::GetMenu(form->Handle()), nullptr) << "the system's bar came back beside the skinned one";

}

TEST_F(RunTime, BareWindowMenuChangesReachTheSkinnedBar) {
    HMENU menu = ::CreateMenu(), sub = ::CreatePopupMenu();
    ::AppendMenuW(sub, MF_STRING, 101, L"&Open");
    ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), L"&File");
    ::AppendMenuW(menu, MF_STRING, 102, L"&Help");
    HWND w = makeWindow(300, 200, WS_OVERLAPPEDWINDOW, 0, L"Bare menus", nullptr, menu);
    ASSERT_TRUE(waitFor([&] { return answersSkinned(w); }));
    pumpMessages(60);
    TWinSkinForm* bare = mgr->FindFormSkin(w);
    ASSERT_TRUE(bare && bare->FSkinMenu);
    ASSERT_EQ(bare->FSkinMenu->FButtons.size(), 2u);

    ::EnableMenuItem(menu, 0, MF_BYPOSITION | MF_GRAYED);
    ::ModifyMenuW(menu, 1, MF_BYPOSITION | MF_STRING, 102, L"&About");
    ::DrawMenuBar(w);
    EXPECT_FALSE(bare->FSkinMenu->Button(0)->FItemEnabled);
    EXPECT_EQ(bare->FSkinMenu->Button(1)->FCaption, L"&About");

    HMENU other = ::CreateMenu();
    ::AppendMenuW(other, MF_STRING, 201, L"&One");
    ::AppendMenuW(other, MF_STRING, 202, L"&Two");
    ::AppendMenuW(other, MF_STRING, 203, L"T&hree");
    ::SetMenu(w, other);
    pumpMessages(40);
    ASSERT_TRUE(bare->FSkinMenu);
    EXPECT_EQ(bare->FSkinMenu->FButtons.size(), 3u);
    EXPECT_EQ(::GetMenu(w), nullptr);
    ::DestroyWindow(w);
    ::DestroyMenu(menu);
    ::DestroyMenu(other);
    pumpMessages(40);
}

// ---- deactivation before the skin's activation ran --------------------------------------

TEST(NcActivate, BeforeActivationTheAnswerAllowsTheChange) {
    auto skin = loadCommittedSkin("default");
    ASSERT_TRUE(skin->SkinLoaded());
    HWND w = makeWindow(200, 120);
    TWinSkinForm f(nullptr);
    f.FHandle = w;
    f.AttachWindow(skin.get());  // the activation message is not run
    ASSERT_EQ(f.FSkinState, ssCreated);
    // A refusal would keep the window's caption active after another took
    // the activation.
    EXPECT_NE(::SendMessageW(w, WM_NCACTIVATE, FALSE, 0), 0);
    EXPECT_NE(::SendMessageW(w, WM_NCACTIVATE, TRUE, 0), 0);
    f.Detach();
    ::DestroyWindow(w);
}

}  // namespace
