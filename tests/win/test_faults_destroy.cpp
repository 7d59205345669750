// Skinned windows destroyed while the engine is busy with them: inside their
// own WM_PAINT and WM_NCPAINT, and from a timer while one of their skinned
// menus is being tracked. Nothing of the skin may outlive the window: the
// manager lists no skin for it, the handle (or a window that reuses it) does
// not answer the skin query, and the program carries on.
#include <windows.h>

#include <gtest/gtest.h>

#include "Forms.h"
#include "Menus.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinPopMenu.h"
#include "SkinReader.h"
#include "test_menus_util.h"
#include "test_managed_util.h"

using namespace qs;
using namespace qs::test;

namespace {

// A form that destroys its own window from inside the toolkit's handling of
// a chosen message, with the skin's procedure still on the stack above it.
class TDoomedForm : public TForm {
public:
    using TForm::TForm;
    UINT killOn = 0;       // the message to die in; 0: none
    bool killAny = false;  // die in whatever message comes next
    int killed = 0;
    void WndProc(TMessage& m) override {
        if ((killOn && m.Msg == killOn) || killAny) {
            killOn = 0;
            killAny = false;
            ++killed;
            ::DestroyWindow(Handle());
        }
        TForm::WndProc(m);
    }
};

HWND gNcTarget = nullptr;
TDoomedForm* gNcForm = nullptr;
int gNcDepth = 0, gNcHookKills = 0;
HHOOK gCall = nullptr, gRet = nullptr;

// While the form is inside WM_NCPAINT, the next message its toolkit handler
// sees destroys it; if the skin's frame paint sends it nothing, the hook
// destroys it at the start of the frame paint instead.
LRESULT CALLBACK callHook(int code, WPARAM wp, LPARAM lp) {
    const auto* c = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code >= 0 && c->hwnd == gNcTarget && c->message == WM_NCPAINT && gNcForm) {
        ++gNcDepth;
        gNcForm->killAny = true;
    }
    return ::CallNextHookEx(gCall, code, wp, lp);
}
LRESULT CALLBACK retHook(int code, WPARAM wp, LPARAM lp) {
    const auto* c = reinterpret_cast<const CWPRETSTRUCT*>(lp);
    if (code >= 0 && c->hwnd == gNcTarget && c->message == WM_NCPAINT && gNcForm && gNcDepth > 0) {
        --gNcDepth;
        if (gNcForm->killAny && ::IsWindow(gNcTarget)) {
            gNcForm->killAny = false;
            ++gNcHookKills;
            ::DestroyWindow(gNcTarget);
        }
    }
    return ::CallNextHookEx(gRet, code, wp, lp);
}

bool skinQuery(HWND w) { return ::IsWindow(w) && ::SendMessageW(w, WM_SKIN_QUERY, 0, 0) == 1; }

class DestroyedMidWay : public ManagedSkinTest {
protected:
    std::unique_ptr<TDoomedForm> shown(const wchar_t* caption) {
        auto f = std::make_unique<TDoomedForm>(nullptr);
        f->SetCaption(caption);
        f->SetBounds(80, 80, 320, 220);
        f->Show();
        EXPECT_TRUE(waitFor([&] { return skinQuery(f->Handle()); }));
        pumpMessages(60);
        return f;
    }
    // Nothing of the skin is left for a destroyed window.
    void expectGone(HWND h, const char* what) {
        pumpMessages(60);
        EXPECT_FALSE(::IsWindow(h)) << what;
        // A form skin whose window went while it was busy stays listed, marked
        // destroyed, until the manager's next safe point: freeing it at once
        // would pull it from under the paint or menu code still running.
        for (TWinSkinForm* fs : mgr->FFormSkins)
            if (fs->FHandle == h) {
                EXPECT_EQ(fs->FSkinState, ssDestroyed) << what << ": a live form skin still has it";
            }
        EXPECT_EQ(::SendMessageW(h, WM_SKIN_QUERY, 0, 0), 0) << what;
        // The next window the manager skins is such a point.
        auto next = std::make_unique<TForm>(nullptr);
        next->SetBounds(120, 120, 200, 120);
        next->Show();
        EXPECT_TRUE(waitFor([&] { return skinQuery(next->Handle()); })) << what;
        for (TWinSkinForm* fs : mgr->FFormSkins) EXPECT_NE(fs->FHandle, h) << what << ": still listed after a purge";
        EXPECT_EQ(mgr->FindFormSkin(h), nullptr) << what;
        next.reset();
        // Windows made now may get the handle back: none of them is skinned.
        std::vector<HWND> fresh;
        int reused = 0;
        for (int i = 0; i < 40; ++i) {
            HWND w = ::CreateWindowExW(0, L"STATIC", L"fresh", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, nullptr, nullptr);
            if (!w) continue;
            if (w == h) ++reused;
            EXPECT_FALSE(skinQuery(w)) << what << ": a new window answers as skinned";
            fresh.push_back(w);
        }
        for (HWND w : fresh) ::DestroyWindow(w);
        if (reused) std::printf("%s: the handle came back %d time(s), unskinned\n", what, reused);
    }
};

TEST_F(DestroyedMidWay, InsideItsOwnPaint) {
    auto f = shown(L"Dies in WM_PAINT");
    const HWND h = f->Handle();
    f->killOn = WM_PAINT;
    ::InvalidateRect(h, nullptr, TRUE);
    ::UpdateWindow(h);
    pumpMessages(60);
    EXPECT_EQ(f->killed, 1);
    expectGone(h, "WM_PAINT");
    f.reset();
    // The engine carries on: another form is skinned and paints.
    auto g = shown(L"After");
    EXPECT_TRUE(skinQuery(g->Handle()));
}

TEST_F(DestroyedMidWay, InsideItsFramePaint) {
    auto f = shown(L"Dies in WM_NCPAINT");
    const HWND h = f->Handle();
    gNcTarget = h;
    gNcForm = f.get();
    gNcHookKills = gNcDepth = 0;
    gCall = ::SetWindowsHookExW(WH_CALLWNDPROC, &callHook, nullptr, ::GetCurrentThreadId());
    gRet = ::SetWindowsHookExW(WH_CALLWNDPROCRET, &retHook, nullptr, ::GetCurrentThreadId());
    ::RedrawWindow(h, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages(60);
    ::UnhookWindowsHookEx(gCall);
    ::UnhookWindowsHookEx(gRet);
    std::printf("frame paint: destroyed %s\n", f->killed ? "by a message the frame paint sent the form"
                                                         : "as the frame paint returned");
    EXPECT_EQ(f->killed + gNcHookKills, 1);
    gNcForm = nullptr;
    expectGone(h, "WM_NCPAINT");
    f.reset();
    auto g = shown(L"After");
    EXPECT_TRUE(skinQuery(g->Handle()));
}

// ---- while a skinned menu is tracked ----

HWND gDoomed = nullptr;
HWND gMenuSeen = nullptr;
bool gMenuWasSkinned = false;
void CALLBACK destroyDuringMenu(HWND, UINT, UINT_PTR id, DWORD) {
    const auto ws = menuWindows();
    if (ws.empty()) return;
    gMenuSeen = ws.front();
    gMenuWasSkinned = TWinSkinPopMenu::FromWindow(ws.front()) != nullptr;
    ::KillTimer(nullptr, id);
    ::DestroyWindow(gDoomed);
}

class DestroyedDuringMenu : public DestroyedMidWay {
protected:
    std::unique_ptr<TDoomedForm> formWithMenus() {
        auto f = std::make_unique<TDoomedForm>(nullptr);
        f->SetCaption(L"Menus");
        f->SetBounds(80, 80, 320, 220);
        auto* mm = new TMainMenu(f.get());
        auto* top = new TMenuItem(mm);
        top->SetCaption(L"&File");
        mm->Items()->Add(top);
        for (const wchar_t* c : {L"&Open", L"&Save"}) {
            auto* i = new TMenuItem(mm);
            i->SetCaption(c);
            top->Add(i);
        }
        f->SetMenu(mm);
        popup = new TPopupMenu(f.get());
        for (const wchar_t* c : {L"&Cut", L"&Copy"}) {
            auto* i = new TMenuItem(popup);
            i->SetCaption(c);
            popup->Items()->Add(i);
        }
        f->Show();
        EXPECT_TRUE(waitFor([&] { return skinQuery(f->Handle()); }));
        pumpMessages(60);
        return f;
    }
    // Safety: whatever happens, no menu stays open past a few seconds.
    static void CALLBACK safety(HWND, UINT, UINT_PTR, DWORD) {
        if (!menuWindows().empty()) ::EndMenu();
    }
    // Destroys the form once its menu shows; the returned safety timer ends a
    // menu loop that the destruction leaves running.
    UINT_PTR armDestruction(HWND h) {
        gDoomed = h;
        gMenuSeen = nullptr;
        ::SetTimer(nullptr, 0, 20, &destroyDuringMenu);
        return ::SetTimer(nullptr, 0, 3000, &safety);
    }
    TPopupMenu* popup = nullptr;
};

TEST_F(DestroyedDuringMenu, PopupMenuOwnerDestroyedWhileTracked) {
    auto f = formWithMenus();
    const HWND h = f->Handle();
    const UINT_PTR guard = armDestruction(h);
    popup->Popup(140, 140);  // returns when the menu loop ends
    pumpMessages(100);
    ::KillTimer(nullptr, guard);
    ASSERT_NE(gMenuSeen, nullptr) << "the menu never opened";
    EXPECT_TRUE(gMenuWasSkinned);
    EXPECT_TRUE(menuWindows().empty());
    EXPECT_EQ(TWinSkinPopMenu::FromWindow(gMenuSeen), nullptr);
    EXPECT_TRUE(mgr->FMenuSkins.empty()) << mgr->FMenuSkins.size() << " menu skins left";
    expectGone(h, "pop-up menu");
    f.reset();
    auto g = formWithMenus();
    EXPECT_TRUE(skinQuery(g->Handle()));
}

TEST_F(DestroyedDuringMenu, MenuBarDropDownOwnerDestroyedWhileTracked) {
    auto f = formWithMenus();
    const HWND h = f->Handle();
    const UINT_PTR guard = armDestruction(h);
    ::PostMessageW(h, WM_SYSCOMMAND, SC_KEYMENU, 'f');
    waitFor([&] { return gMenuSeen && menuWindows().empty(); }, 4000);
    pumpMessages(100);
    ::KillTimer(nullptr, guard);
    ASSERT_NE(gMenuSeen, nullptr) << "the drop-down never opened";
    EXPECT_TRUE(menuWindows().empty());
    EXPECT_EQ(TWinSkinPopMenu::FromWindow(gMenuSeen), nullptr);
    EXPECT_TRUE(mgr->FMenuSkins.empty()) << mgr->FMenuSkins.size() << " menu skins left";
    expectGone(h, "menu bar");
    f.reset();
    auto g = formWithMenus();
    EXPECT_TRUE(skinQuery(g->Handle()));
}

}  // namespace
