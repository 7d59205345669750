// No GDI object, menu or window left behind by fonts, bitmaps with canvases,
// image lists, menus and timers made, used and freed 200 times each.
#include <gtest/gtest.h>

#include "ExtCtrlsTimer.h"
#include "ImgList.h"
#include "Menus.h"
#include "WindowCapture.h"

using namespace qs;

namespace {
// Wine 8 answers GetGuiResources with 0, so under Wine the live objects are
// counted by probing the handle tables: a handle whose high word is 0 names
// whatever object sits at that index. Windows gives real numbers directly.
DWORD LiveGdiObjects() {
    if (DWORD n = test::gdiObjectCount()) return n;
    DWORD n = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++n;
    return n;
}
BOOL CALLBACK CountWindow(HWND, LPARAM n) {
    ++*reinterpret_cast<DWORD*>(n);
    return TRUE;
}
DWORD LiveUserObjects() {
    if (DWORD n = test::userObjectCount()) return n;
    DWORD n = 0;
    // Menus: user handles sit at even indices (the odd neighbour names the
    // same one); IsMenu answers only for this process's menus.
    for (ULONG_PTR i = 2; i < 0x10000; i += 2)
        if (IsMenu(reinterpret_cast<HMENU>(i))) ++n;
    // Windows are shared with every other process of the Wine session (tests
    // run in parallel): count this thread's own, top-level and message-only.
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&n));
    for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) ++n;
    return n;
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    LRESULT r = 0;
    if (HandleMenuMessage(m, wp, lp, r)) return r;
    return DefWindowProcW(w, m, wp, lp);
}

void UseFonts(int n) {
    for (int i = 0; i < n; ++i) {
        TFont f;
        f.SetHeight(-10 - i % 7);
        f.Handle();
        f.SetStyle(fsBold);
        f.Handle();
        TFont g(f);
        g.AssignLogFont(MenuLogFont());
        g.Handle();
    }
}

void UseBitmaps(int n) {
    for (int i = 0; i < n; ++i) {
        TBitmap b(32, 24);
        TCanvas& c = *b.Canvas();
        c.Font().SetHeight(-12);
        c.Brush().SetColor(clBtnFace);
        c.FillRect(RECT{0, 0, 32, 24});
        c.Pen().SetWidth(2);
        c.Rectangle(1, 1, 20, 20);
        c.Brush().SetStyle(TBrushStyle::bsCross);
        c.Ellipse(2, 2, 10, 10);
        c.TextOutAt(0, 0, L"Ab");
        c.Font().SetStyle(fsItalic);  // changed while selected
        c.TextWidth(L"x");
        TBitmap copy(b);
        copy.SetMonochrome(true);
        copy.SetTransparent(true);
        c.Draw(0, 0, copy);
        copy.SetMonochrome(false);
        copy.SetSize(40, 10);
        c.StretchDraw(RECT{0, 0, 8, 8}, copy);
        c.CopyRect(RECT{0, 0, 4, 4}, *copy.Canvas(), RECT{0, 0, 4, 4});
        HBITMAP h = b.Handle();  // out of the canvas, back in at the next draw
        (void)h;
        c.SetPixelAt(0, 0, clRed);
        TBitmap loaded;
        loaded.LoadFromResourceID(nullptr, 32760 /* OBM_CHECK */);
        HDC dc = CreateCompatibleDC(nullptr);
        {
            TCanvas borrowed(dc);
            borrowed.Font().SetHeight(-20);
            borrowed.TextWidth(L"x");
            borrowed.Brush().SetColor(clRed);
            borrowed.FillRect(RECT{0, 0, 1, 1});
        }
        DeleteDC(dc);
    }
}

void UseImageLists(int n) {
    TBitmap glyph(32, 16);
    glyph.Canvas()->Brush().SetColor(clFuchsia);
    glyph.Canvas()->FillRect(RECT{0, 0, 16, 16});
    TBitmap mask(32, 16);
    mask.SetMonochrome(true);
    TBitmap out(16, 16);
    for (int i = 0; i < n; ++i) {
        TImageList il;
        il.AddMasked(glyph, clFuchsia);
        il.Add(glyph, &mask);
        il.Draw(*out.Canvas(), 0, 0, 1, true);
        il.Draw(*out.Canvas(), 0, 0, 0, false);
        TBitmap copy;
        il.GetBitmap(0, copy);
        il.SetWidth(8);
    }
}

void UseMenus(int n, HWND wnd) {
    for (int i = 0; i < n; ++i) {
        TComponent form(nullptr);
        auto* images = new TImageList(&form);
        TBitmap g(16, 16);
        images->AddMasked(g, clFuchsia);
        auto* pm = new TPopupMenu(&form);
        pm->SetImages(images);
        pm->SetOwnerDraw(true);
        TMenuItem* a = new TMenuItem(&form);
        a->SetCaption(L"&Alpha");
        a->SetImageIndex(0);
        a->SetChecked(true);
        pm->Items()->Add(a);
        TMenuItem* sub = new TMenuItem(&form);
        sub->SetCaption(L"Sub");
        pm->Items()->Add(sub);
        TMenuItem* inner = new TMenuItem(&form);
        inner->SetCaption(L"-");
        sub->Add(inner);
        pm->Handle();
        // Measured and drawn as the system would ask.
        MEASUREITEMSTRUCT mis{ODT_MENU, 0, a->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(a)};
        LRESULT r;
        HandleMenuMessage(WM_MEASUREITEM, 0, LPARAM(&mis), r);
        TBitmap surface(80, 20);
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = a->Command();
        dis.itemData = reinterpret_cast<ULONG_PTR>(a);
        dis.itemState = ODS_SELECTED;
        dis.hDC = surface.Canvas()->Handle();
        dis.rcItem = RECT{0, 0, 80, 20};
        HandleMenuMessage(WM_DRAWITEM, 0, LPARAM(&dis), r);
        dis.itemID = inner->Command();
        dis.itemData = reinterpret_cast<ULONG_PTR>(inner);
        HandleMenuMessage(WM_DRAWITEM, 0, LPARAM(&dis), r);

        auto* mm = new TMainMenu(&form);
        TMenuItem* file = new TMenuItem(&form);
        file->SetCaption(L"&File");
        mm->Items()->Add(file);
        TMenuItem* quit = new TMenuItem(&form);
        quit->SetCaption(L"&Quit");
        file->Add(quit);
        mm->AttachTo(wnd);
        file->SetCaption(L"&Archive");
        mm->Detach();
        if (i % 2) delete images;  // freed before the menu that shows it
    }
}

void UseTimers(int n) {
    for (int i = 0; i < n; ++i) {
        TTimer t;
        t.SetInterval(5 + i % 3);
        t.SetOnTimer([](TObject*) {});
        t.SetInterval(7);
    }
}
}  // namespace

TEST(Leaks, CountersSeeWhatTheyCount) {
    // The counters must move, or the test below proves nothing.
    DWORD g = LiveGdiObjects();
    HBRUSH b = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(LiveGdiObjects(), g + 1);
    DeleteObject(b);
    EXPECT_EQ(LiveGdiObjects(), g);
    DWORD u = LiveUserObjects();
    HMENU m = CreatePopupMenu();
    EXPECT_EQ(LiveUserObjects(), u + 1);
    DestroyMenu(m);
    EXPECT_EQ(LiveUserObjects(), u);
    HWND w = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr, nullptr, nullptr);
    EXPECT_EQ(LiveUserObjects(), u + 1);
    DestroyWindow(w);
    EXPECT_EQ(LiveUserObjects(), u);
}

TEST(Leaks, TwoHundredOfEachLeaveNothingBehind) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"qsLeakWindow";
    RegisterClassW(&wc);
    HWND wnd = CreateWindowExW(0, L"qsLeakWindow", L"leaks", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(wnd);
    // Once first: system caches (screen DC, stock objects, class data) settle.
    UseFonts(1);
    UseBitmaps(1);
    UseImageLists(1);
    UseMenus(1, wnd);
    UseTimers(1);
    test::pumpMessages(20);

    struct Step {
        const char* name;
        std::function<void()> run;
    } steps[] = {
        {"fonts", [] { UseFonts(200); }},
        {"bitmaps and canvases", [] { UseBitmaps(200); }},
        {"image lists", [] { UseImageLists(200); }},
        {"menus", [wnd] { UseMenus(200, wnd); }},
        {"timers", [] { UseTimers(200); }},
    };
    for (auto& s : steps) {
        DWORD g0 = LiveGdiObjects(), u0 = LiveUserObjects();
        s.run();
        test::pumpMessages(10);
        EXPECT_EQ(LiveGdiObjects(), g0) << s.name << ": GDI objects";
        EXPECT_EQ(LiveUserObjects(), u0) << s.name << ": menus and windows";
    }
    DestroyWindow(wnd);
}
