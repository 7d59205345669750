// Leak runs: GDI and USER objects and private bytes come back to where they
// were after many rounds of skinning on and off, switching skins, skinned
// windows made and destroyed, skinned menus opened and closed, and every
// control skin class attached and detached.
//
// Counts are taken after a warm-up round (the first rounds make objects that
// live as long as the program: fonts, cached brushes, heap arenas). The full
// counts run with QS_LONG=1 (and from scripts/soak); CI runs fewer rounds.
#include <windows.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "Application.h"
#include "Buttons.h"
#include "ClassifyAttach.h"
#include "ComCtrls.h"
#include "ComCtrlsEdit.h"
#include "ComCtrlsProgress.h"
#include "ComCtrlsTabs.h"
#include "ComCtrlsToolBar.h"
#include "ExtCtrls.h"
#include "ExtCtrlsTimer.h"
#include "Forms.h"
#include "Menus.h"
#include "MPlayer.h"
#include "SkinCreate.h"
#include "SkinManage.h"
#include "SkinPopMenu.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "StdCtrlsGroup.h"
#include "test_control_skin_util.h"
#include "test_menus_util.h"
#include "test_managed_util.h"

using namespace qs;
using namespace qs::test;

namespace {

bool longRun() {
    const char* v = std::getenv("QS_LONG");
    return v && *v && *v != '0';
}
// The full count with QS_LONG=1, the CI count otherwise (the whole file has
// to stay near half a minute per architecture under Wine).
int rounds(int full, int ci) { return longRun() ? full : ci; }

// Committed private memory: what the system reports, else the sum of the
// committed private regions (Wine may leave PrivateUsage at 0).
std::size_t privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX c{};
    c.cb = sizeof c;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof c) &&
        c.PrivateUsage)
        return c.PrivateUsage;
    std::size_t total = 0;
    MEMORY_BASIC_INFORMATION m{};
    for (const char* p = nullptr; ::VirtualQuery(p, &m, sizeof m) == sizeof m;) {
        if (m.State == MEM_COMMIT && m.Type == MEM_PRIVATE) total += m.RegionSize;
        const char* next = static_cast<const char*>(m.BaseAddress) + m.RegionSize;
        if (next <= p) break;
        p = next;
    }
    return total;
}

// Drains the queue without waiting: the runs do thousands of rounds.
void drain() {
    MSG msg;
    for (int i = 0; i < 10000 && ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Drains and naps until `cond` holds, for up to two seconds.
template <class F>
bool until(F cond) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        drain();
        if (cond()) return true;
        if (::GetTickCount() - start > 2000) return false;
        ::Sleep(1);
    }
}

// Allowed growth after the warm-up: a handle or two that a system cache may
// still hand out late, and heap pages kept by the allocator. A leak of one
// object per round, or of 1 KiB per round over the full counts, is above it.
constexpr long kHandleSlack = 2;
constexpr long kPrivateSlack = 1 << 20;

struct Counts {
    long gdi = 0, user = 0;
    long long priv = 0;
    static Counts now() {
        drain();
        return {long(gdiObjectCount()), long(userObjectCount()), (long long)privateBytes()};
    }
};

struct LeakRun {
    const char* what;
    int n;
    Counts before;
    std::chrono::steady_clock::time_point t0 = std::chrono::steady_clock::now();
    LeakRun(const char* w, int count) : what(w), n(count), before(Counts::now()) {}
    // Checks the counts against the baseline and reports the figures.
    void finish() {
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        const Counts after = Counts::now();
        EXPECT_LE(after.gdi, before.gdi + kHandleSlack) << what << ": GDI objects";
        EXPECT_LE(after.user, before.user + kHandleSlack) << what << ": USER objects";
        EXPECT_LE(after.priv, before.priv + kPrivateSlack) << what << ": private bytes";
        std::printf("%-34s %5d rounds in %6.2f s; GDI %ld -> %ld, USER %ld -> %ld, private %.2f -> %.2f MiB\n", what, n,
                    s, before.gdi, after.gdi, before.user, after.user, double(before.priv) / (1 << 20),
                    double(after.priv) / (1 << 20));
    }
};

bool skinned(HWND w) { return answersSkinned(w); }

std::string skinPath(const char* name) { return "Z:" + std::string(QS_SOURCE_ROOT) + "/resources/skins/" + name + ".skn"; }

// ---- with the skin manager ----------------------------------------------------------------

class ManagedLeaks : public ManagedSkinTest {
protected:
    // A shown form with a menu bar, a pop-up menu and a few controls.
    void showForm() {
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption(L"Leaks");
        form->SetBounds(60, 60, 360, 240);
        auto* mm = new TMainMenu(form.get());
        for (const wchar_t* c : {L"&File", L"&Edit"}) {
            auto* top = new TMenuItem(mm);
            top->SetCaption(c);
            mm->Items()->Add(top);
            auto* item = new TMenuItem(mm);
            item->SetCaption(L"Item");
            top->Add(item);
        }
        form->SetMenu(mm);
        popup = new TPopupMenu(form.get());
        for (const wchar_t* c : {L"&Open", L"-", L"Close"}) {
            auto* i = new TMenuItem(popup);
            i->SetCaption(c);
            popup->Items()->Add(i);
        }
        auto* b = new TButton(form.get());
        b->SetParent(form.get());
        b->SetBounds(10, 10, 90, 28);
        b->SetCaption(L"Button");
        auto* e = new TEdit(form.get());
        e->SetParent(form.get());
        e->SetBounds(10, 50, 150, 24);
        auto* c = new TCheckBox(form.get());
        c->SetParent(form.get());
        c->SetBounds(10, 84, 150, 24);
        c->SetCaption(L"Check");
        form->Show();
        ASSERT_TRUE(waitFor([&] { return skinned(form->Handle()); }));
        pumpMessages(60);
    }

    TPopupMenu* popup = nullptr;
};

TEST_F(ManagedLeaks, SkinOnAndOff) {
    showForm();
    const HWND w = form->Handle();
    // The manager applies a switch from its own queue: each round waits for
    // the window to answer as unskinned, then as skinned again.
    int missed = 0;
    auto once = [&] {
        sd->SetActive(false);
        if (!until([&] { return !skinned(w); })) ++missed;
        sd->SetActive(true);
        if (!until([&] { return skinned(w); })) ++missed;
        ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    // The frame cache and the system's brush and font caches fill over the
    // first rounds and then stay. A switch waits for the manager's 250 ms
    // delay each way, so CI does only a few rounds.
    for (int i = 0; i < 4; ++i) once();
    LeakRun run("skin on/off", rounds(1000, 10));
    for (int i = 0; i < run.n; ++i) once();
    EXPECT_TRUE(waitFor([&] { return skinned(w); }));
    EXPECT_EQ(missed, 0) << "switches that did not happen within 2 s";
    run.finish();
}

TEST_F(ManagedLeaks, SkinSwitches) {
    showForm();
    const HWND w = form->Handle();
    const std::string paths[] = {skinPath("dark"), skinPath("rounded"), skinPath("default")};
    int k = 0, missed = 0;
    // Each switch is applied from the manager's queue after 250 ms: wait for
    // its timer to go idle, so every round really repaints in the new skin.
    auto once = [&] {
        sd->SetSkinFile(paths[k++ % 3]);
        if (!until([&] { return !mgr->FTimer || !mgr->FTimer->Enabled(); })) ++missed;
        ::RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    for (int i = 0; i < 6; ++i) once();
    LeakRun run("skin switches", rounds(500, 10));
    for (int i = 0; i < run.n; ++i) once();
    EXPECT_EQ(missed, 0) << "switches not applied within 2 s";
    EXPECT_TRUE(sd->SkinLoaded());
    EXPECT_TRUE(skinned(w));
    run.finish();
}

TEST_F(ManagedLeaks, SkinnedWindowsMadeAndDestroyed) {
    int seen = 0;
    auto once = [&](bool check) {
        auto f = std::make_unique<TForm>(nullptr);
        f->SetCaption(L"Short-lived");
        f->SetBounds(80, 80, 240, 160);
        auto* b = new TButton(f.get());
        b->SetParent(f.get());
        b->SetBounds(10, 10, 80, 26);
        f->Show();
        drain();
        if (check && waitFor([&] { return skinned(f->Handle()); }, 2000)) ++seen;
        f.reset();
        drain();
    };
    for (int i = 0; i < 10; ++i) once(false);
    LeakRun run("skinned windows", rounds(5000, 100));
    for (int i = 0; i < run.n; ++i) once(i % 25 == 0);
    EXPECT_EQ(seen, (run.n + 24) / 25) << "windows the manager skinned, of those asked";
    EXPECT_TRUE(mgr->FFormSkins.empty()) << mgr->FFormSkins.size() << " form skins still listed";
    run.finish();
}

// Closes whatever menu is open, from inside the menu's own loop; each menu
// counted once.
int gOpened = 0, gSkinnedMenus = 0;
bool gClosing = false;
void CALLBACK closeOpenMenu(HWND, UINT, UINT_PTR, DWORD) {
    const auto ws = menuWindows();
    if (ws.empty() || gClosing) return;
    gClosing = true;
    ++gOpened;
    if (TWinSkinPopMenu::FromWindow(ws.front())) ++gSkinnedMenus;
    ::EndMenu();
}

TEST_F(ManagedLeaks, MenusOpenedAndClosed) {
    showForm();
    gOpened = gSkinnedMenus = 0;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 1, &closeOpenMenu);
    ASSERT_NE(timer, 0u);
    const HWND w = form->Handle();
    auto once = [&](int i) {
        gClosing = false;
        if (i % 2 == 0) {
            popup->Popup(120, 120);
        } else {
            // A drop-down of the menu bar, as Alt+F opens it; its loop runs
            // inside the dispatch of the posted command.
            ::PostMessageW(w, WM_SYSCOMMAND, SC_KEYMENU, 'f');
            drain();
        }
        drain();
    };
    for (int i = 0; i < 6; ++i) once(i);
    const int warm = gOpened;
    LeakRun run("menus", rounds(1000, 100));
    for (int i = 0; i < run.n; ++i) once(i);
    ::KillTimer(nullptr, timer);
    EXPECT_GE(gOpened - warm, run.n * 9 / 10) << "menus seen open";
    EXPECT_GE(gSkinnedMenus, (gOpened - warm) * 9 / 10) << "of them skinned";
    EXPECT_TRUE(menuWindows().empty());
    EXPECT_TRUE(mgr->FMenuSkins.empty());
    run.finish();
}

// ---- every control skin class ---------------------------------------------------------------

// Where each skin class is tried: a toolkit control of the kind the
// classification gives it to, attached the way it attaches it. A class not
// listed here (a new one) is still tried, on a bare panel window.
struct Host {
    TControl* control = nullptr;
    TSkinAttachMode mode = TSkinAttachMode::Control;
    bool changeColor = false;
    int imageKind = 0;
    int pageMode = 0;
    HWND bare = nullptr;  // attach by handle instead
};

class ControlSkinLeaks : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        sd = loadCommittedSkin("default");
        ASSERT_TRUE(sd->SkinLoaded());
        form = std::make_unique<TForm>(nullptr);
        form->SetCaption(L"Control skins");
        form->SetBounds(40, 40, 640, 480);
        form->Show();
        pumpMessages(40);
        fs = std::make_unique<ClassifyingFormSkin>(form->Handle(), sd.get(), form.get());
    }
    void TearDown() override {
        fs.reset();
        form.reset();
    }
    template <class C>
    C* add(TWinControl* parent, int x, int y, int w, int h, const wchar_t* caption = L"") {
        auto* c = new C(form.get());
        c->SetParent(parent ? parent : form.get());
        c->SetBounds(x, y, w, h);
        c->SetCaption(caption);
        return c;
    }
    Host hostFor(TSkinClass k) {
        Host h;
        const auto ctl = [&](TControl* c, TSkinAttachMode m = TSkinAttachMode::Control) {
            h.control = c;
            h.mode = m;
        };
        switch (k) {
            case TSkinClass::Button: ctl(add<TButton>(nullptr, 10, 10, 90, 28, L"Button")); break;
            case TSkinClass::BitButton: ctl(add<TBitBtn>(nullptr, 10, 10, 90, 28, L"Bit")); break;
            case TSkinClass::MenuButton: ctl(add<TMenuButton>(nullptr, 10, 10, 90, 28, L"Menu")); break;
            case TSkinClass::SpeedButton:
                ctl(add<TSpeedButton>(nullptr, 10, 10, 60, 28, L"Speed"), TSkinAttachMode::Graphic);
                break;
            case TSkinClass::CheckBox: ctl(add<TCheckBox>(nullptr, 10, 10, 120, 24, L"Check")); break;
            case TSkinClass::RadioButton: ctl(add<TRadioButton>(nullptr, 10, 10, 120, 24, L"Radio")); break;
            case TSkinClass::Scrollbar: {
                auto* m = add<TMemo>(nullptr, 10, 10, 200, 120);
                m->SetScrollBars(ssBoth);
                ctl(m, TSkinAttachMode::Scrollbar);
                break;
            }
            case TSkinClass::ScControl: ctl(add<TScrollBox>(nullptr, 10, 10, 200, 120), TSkinAttachMode::Scrollbar); break;
            case TSkinClass::DateTime: ctl(add<TDateTimePicker>(nullptr, 10, 10, 160, 24)); break;
            case TSkinClass::Edit: ctl(add<TEdit>(nullptr, 10, 10, 160, 24, L"text")); break;
            case TSkinClass::ComBox: ctl(add<TComboBox>(nullptr, 10, 10, 160, 24)); break;
            case TSkinClass::UpDown: ctl(add<TUpDown>(nullptr, 10, 10, 20, 30)); break;
            case TSkinClass::Tab:
            case TSkinClass::AdvPage: {
                auto* pc = add<TPageControl>(nullptr, 10, 10, 300, 200);
                auto* sheet = new TTabSheet(form.get());
                sheet->SetPageControl(pc);
                sheet->SetCaption(L"Sheet");
                ctl(pc);
                if (k == TSkinClass::AdvPage) h.pageMode = 4;
                break;
            }
            case TSkinClass::TabBtn: ctl(add<TTabControl>(nullptr, 10, 10, 300, 200)); break;
            case TSkinClass::Tab31: ctl(add<TTabSet>(nullptr, 10, 10, 300, 24)); break;
            case TSkinClass::Header: ctl(add<THeaderControl>(nullptr, 10, 10, 300, 24)); break;
            case TSkinClass::ListView: ctl(add<TListView>(nullptr, 10, 10, 300, 200), TSkinAttachMode::Scrollbar); break;
            case TSkinClass::ObjImage:
                ctl(add<TCheckBox>(nullptr, 10, 10, 120, 24, L"Image"));
                h.changeColor = true;
                h.imageKind = 1;
                break;
            case TSkinClass::Progress: ctl(add<TProgressBar>(nullptr, 10, 10, 200, 20)); break;
            case TSkinClass::TrackBar: ctl(add<TTrackBar>(nullptr, 10, 10, 200, 40)); break;
            case TSkinClass::MP: ctl(add<TMediaPlayer>(nullptr, 10, 10, 250, 30)); break;
            case TSkinClass::StatusBar: ctl(add<TStatusBar>(nullptr, 0, 400, 600, 22)); break;
            case TSkinClass::GroupBox: ctl(add<TGroupBox>(nullptr, 10, 10, 200, 120, L"Group")); break;
            case TSkinClass::Box:
                ctl(add<TPanel>(nullptr, 10, 10, 200, 120, L"Panel"));
                h.changeColor = true;
                break;
            case TSkinClass::BoxH: h.bare = add<TToolBar>(nullptr, 0, 0, 600, 30)->Handle(); break;
            case TSkinClass::Sizer: h.bare = add<TScrollBar>(nullptr, 10, 10, 200, 20)->Handle(); break;
            case TSkinClass::TabSheet: {
                auto* pc = add<TPageControl>(nullptr, 10, 10, 300, 200);
                auto* sheet = new TTabSheet(form.get());
                sheet->SetPageControl(pc);
                sheet->SetCaption(L"Sheet");
                ctl(sheet);
                break;
            }
            default: h.bare = add<TPanel>(nullptr, 10, 10, 200, 120, L"Bare")->Handle(); break;
        }
        return h;
    }

    std::unique_ptr<TSkinData> sd;
    std::unique_ptr<TForm> form;
    std::unique_ptr<ClassifyingFormSkin> fs;
};

TEST_F(ControlSkinLeaks, EveryClassAttachedAndDetached) {
    const int n = rounds(1000, 30);
    int classes = 0;
    const auto t0 = std::chrono::steady_clock::now();
    // Every class the creation enum names: a new class is covered as soon as
    // it has a name.
    for (int i = 0; SkinClassName(TSkinClass(i))[0]; ++i) {
        const TSkinClass k = TSkinClass(i);
        const std::string name = SkinClassName(k);
        // QS_LEAK_CLASS=<name> runs one class, for looking into it.
        if (const char* only = std::getenv("QS_LEAK_CLASS"); only && name != only) continue;
        const Host h = hostFor(k);
        const HWND shown = h.bare ? h.bare : (dynamic_cast<TWinControl*>(h.control)
                                                  ? dynamic_cast<TWinControl*>(h.control)->Handle()
                                                  : form->Handle());
        int made = 0;
        auto once = [&] {
            TSkinControl* s = h.bare ? MakeWindowSkin(**fs, k, h.bare)
                                     : MakeSkin(**fs, k, h.control, h.mode, h.changeColor, 0, h.imageKind, "Glyph",
                                                h.pageMode);
            if (!s) return;
            ++made;
            ::RedrawWindow(shown, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            // The way a form skin lets its control skins go: with any skins
            // they made for their parts (a tab set's arrows).
            FreeControlSkins(**fs);
            drain();
        };
        for (int r = 0; r < 3; ++r) once();
        LeakRun run(name.c_str(), n);
        for (int r = 0; r < n; ++r) once();
        EXPECT_EQ(made, n + 3) << name << ": attached";
        EXPECT_TRUE((*fs)->FControls.empty()) << name;
        // The window answers as unskinned and still works.
        EXPECT_EQ(::SendMessageW(shown, WM_SKIN_QUERY, 0, 0), 0) << name;
        EXPECT_TRUE(::IsWindow(shown)) << name;
        run.finish();
        ++classes;
    }
    if (!std::getenv("QS_LEAK_CLASS")) {
        EXPECT_GE(classes, 28);
    }
    std::printf("%d control skin classes, %d rounds each, in %.1f s\n", classes, n,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
}

}  // namespace
