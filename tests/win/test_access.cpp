// What people who use high contrast, a screen reader or the keyboard alone
// get from a skinned program: the skin stepping aside for high contrast, the
// title bar's accessible object, focus that shows, controls that keep their
// accessible names and roles.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <initializer_list>
#include <map>
#include <set>
#include <vector>

#include "SkinManage.h"
#include "SkinRecords.h"
#include "test_gallery_util.h"

using namespace qs;
using namespace qs::test;

namespace {

void sendContrastChange(HWND wnd) {
    ::SendMessageW(wnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    gallery::pump(400);
}

// Wine refuses SPI_SETHIGHCONTRAST (error 1439), so the test switches what
// the engine reads through its seam and sends the change the system would
// broadcast. Each change reaches one window only: the other must follow.
TEST(HighContrast, SkinStepsAsideForEveryWindowAndComesBack) {
    auto& skin = GallerySkin::get();
    skin.use("dark");
    OpenPage a(page("buttons"));
    OpenPage b(page("checks"));  // `a` is inactive now: its title must stay so
    const Image skinnedA = captureWindow(a.w.handle), skinnedB = captureWindow(b.w.handle);
    skin.use("");
    const Image plainA = captureWindow(a.w.handle), plainB = captureWindow(b.w.handle);
    ASSERT_GT(countDifferences(plainA, skinnedA), 1000u);
    skin.use("dark");
    ASSERT_EQ(countDifferences(skinnedA, captureWindow(a.w.handle)), 0u) << "skinned again, not as first";

    // The program is not told: no skin-change event.
    int told = 0;
    skin.data()->OnSkinChanged = [&told](TObject*) { ++told; };
    const DWORD gdiBefore = gdiObjectCount();
    for (int round = 0; round < 3; ++round) {
        SetHighContrastOverride(1);
        sendContrastChange(a.w.handle);
        EXPECT_FALSE(skinned(a.w.handle));
        EXPECT_FALSE(skinned(b.w.handle));
        EXPECT_EQ(countDifferences(plainA, captureWindow(a.w.handle)), 0u) << "round " << round;
        EXPECT_EQ(countDifferences(plainB, captureWindow(b.w.handle)), 0u) << "round " << round;

        SetHighContrastOverride(0);
        sendContrastChange(b.w.handle);
        EXPECT_TRUE(skinned(a.w.handle) && skinned(b.w.handle));
        EXPECT_EQ(countDifferences(skinnedA, captureWindow(a.w.handle)), 0u) << "round " << round;
        EXPECT_EQ(countDifferences(skinnedB, captureWindow(b.w.handle)), 0u) << "round " << round;
    }
    EXPECT_LE(gdiObjectCount(), gdiBefore) << "GDI objects left behind by stepping aside";
    EXPECT_EQ(told, 0);
    skin.data()->OnSkinChanged = nullptr;
    SetHighContrastOverride(-1);
}

// Already on when the skin is switched on: no window gets skinned, and a
// window opened while it is on is skinned once it goes off.
TEST(HighContrast, OnBeforeSkinningKeepsNewWindowsPlain) {
    auto& skin = GallerySkin::get();
    skin.use("");
    SetHighContrastOverride(1);
    skin.use("default");
    OpenPage a(page("buttons"));
    gallery::pump(300);
    EXPECT_FALSE(skinned(a.w.handle));
    SetHighContrastOverride(0);
    sendContrastChange(a.w.handle);
    EXPECT_TRUE(skinned(a.w.handle));
    SetHighContrastOverride(-1);
}

// ---- the title bar's accessible object ----------------------------------------

struct ComScope {
    ComScope() { ::CoInitialize(nullptr); }
    ~ComScope() { ::CoUninitialize(); }
};

VARIANT childId(LONG id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

LONG stateOf(IAccessible* acc, LONG child) {
    VARIANT s;
    ::VariantInit(&s);
    return SUCCEEDED(acc->get_accState(childId(child), &s)) && s.vt == VT_I4 ? s.lVal : -1;
}

// The reported rectangle in window coordinates; empty when none.
RECT locationOf(IAccessible* acc, HWND wnd, LONG child) {
    LONG x = 0, y = 0, w = 0, h = 0;
    if (acc->accLocation(&x, &y, &w, &h, childId(child)) != S_OK) return RECT{};
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    return RECT{x - wr.left, y - wr.top, x - wr.left + w, y - wr.top + h};
}

// Share of the opaque pixels of some frame of a caption button's image found
// at `r` in the window picture (moved by up to a pixel either way).
double bestImageMatch(const Image& shot, RECT r, TDataSkinSysButton& rec) {
    PixelView art = rec.Bitmap.View();
    const int frames = rec.Frame > 0 ? rec.Frame : 1;
    const int fw = art.width / frames;
    double best = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            for (int f = 0; f < frames; ++f) {
                size_t opaque = 0, same = 0;
                for (int y = 0; y < art.height; ++y)
                    for (int x = 0; x < fw; ++x) {
                        const uint32_t px = art.at(f * fw + x, y) & 0xFFFFFF;
                        if (px == 0xFF00FF) continue;
                        const int sx = r.left + dx + x, sy = r.top + dy + y;
                        ++opaque;
                        if (sx >= 0 && sy >= 0 && sx < shot.width && sy < shot.height && (shot.at(sx, sy) & 0xFFFFFF) == px)
                            ++same;
                    }
                if (opaque) best = std::max(best, double(same) / double(opaque));
            }
    return best;
}

TEST(TitleBarObject, ListsTheCaptionButtonsWhereEverySkinDrawsThem) {
    ComScope com;
    auto& skin = GallerySkin::get();
    for (const std::string& name : gallery::skinNames()) {
        SCOPED_TRACE(name);
        skin.use(name);
        OpenPage p(page("frame"));
        HWND wnd = p.w.handle;
        ASSERT_TRUE(skinned(wnd));
        IAccessible* acc = nullptr;
        ASSERT_EQ(::AccessibleObjectFromWindow(wnd, DWORD(OBJID_TITLEBAR), __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&acc)),
                  S_OK);
        ASSERT_TRUE(acc);
        LONG count = 0;
        EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
        EXPECT_EQ(count, 5);
        const Image shot = captureWindow(wnd);
        struct Want {
            LONG child;
            std::initializer_list<int> actions;
        };
        for (const Want& want : {Want{2, {2, 23}}, Want{3, {1, 22}}, Want{5, {0}}}) {
            SCOPED_TRACE(want.child);
            VARIANT role;
            ::VariantInit(&role);
            EXPECT_EQ(acc->get_accRole(childId(want.child), &role), S_OK);
            EXPECT_EQ(role.lVal, LONG(ROLE_SYSTEM_PUSHBUTTON));
            EXPECT_EQ(stateOf(acc, want.child) & STATE_SYSTEM_INVISIBLE, 0);
            const RECT r = locationOf(acc, wnd, want.child);
            ASSERT_FALSE(::IsRectEmpty(&r));
            double match = 0;
            for (auto& rec : skin.data()->CaptionButtons())
                for (int a : want.actions)
                    if (rec->Action == a && !rec->Bitmap.Empty()) match = std::max(match, bestImageMatch(shot, r, *rec));
            EXPECT_GT(match, 0.9) << "the button's image is not where the object says";
            VARIANT hit;
            ::VariantInit(&hit);
            RECT wr{};
            ::GetWindowRect(wnd, &wr);
            EXPECT_EQ(acc->accHitTest(wr.left + (r.left + r.right) / 2, wr.top + (r.top + r.bottom) / 2, &hit), S_OK);
            EXPECT_EQ(hit.lVal, want.child);
        }
        // No help button and no IME button in these skins: said so.
        EXPECT_NE(stateOf(acc, 4) & STATE_SYSTEM_INVISIBLE, 0);

        // Pressed while the mouse holds it down.
        const RECT mr = locationOf(acc, wnd, 3);
        RECT wr{};
        ::GetWindowRect(wnd, &wr);
        const LPARAM at = MAKELPARAM(wr.left + (mr.left + mr.right) / 2, wr.top + (mr.top + mr.bottom) / 2);
        ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTMAXBUTTON, at);
        EXPECT_NE(stateOf(acc, 3) & STATE_SYSTEM_PRESSED, 0);
        ::SendMessageW(wnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(wr.left + 20, wr.top + 5));
        ::ReleaseCapture();
        gallery::pump(100);
        EXPECT_EQ(stateOf(acc, 3) & STATE_SYSTEM_PRESSED, 0);

        acc->Release();
        if (name != gallery::skinNames().front()) continue;

        // Without a maximise box the button is unavailable or not shown.
        // (The form skin reads the style bits when it attaches.)
        skin.use("");
        ::SetWindowLongPtrW(wnd, GWL_STYLE, ::GetWindowLongPtrW(wnd, GWL_STYLE) & ~LONG_PTR(WS_MAXIMIZEBOX));
        skin.use(name);
        ASSERT_EQ(::AccessibleObjectFromWindow(wnd, DWORD(OBJID_TITLEBAR), __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&acc)),
                  S_OK);
        EXPECT_NE(stateOf(acc, 3) & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE), 0);
        acc->Release();
    }
}

// ---- keyboard focus ---------------------------------------------------------------

std::wstring classOf(HWND wnd) {
    wchar_t cls[64] = {};
    ::GetClassNameW(wnd, cls, 64);
    return cls;
}

// Text boxes show focus by their caret and scroll bars by a blinking thumb:
// no still picture can be relied on to hold either. The system paints the
// inside of list views and date-time pickers; under Wine they show no focus
// until an item or a field is chosen, unskinned too.
bool focusNotInAStill(HWND wnd) {
    const std::wstring cls = classOf(wnd);
    for (const wchar_t* kind : {L"Edit", L"Memo", L"ScrollBar", L"ListView", L"DateTimePick"})
        if (cls.find(kind) != std::wstring::npos) return true;
    return false;
}

// Pixels that differ between two pictures of `top` where `wnd` is.
size_t changedAt(const Image& a, const Image& b, HWND top, HWND wnd) {
    RECT t{}, r{};
    ::GetWindowRect(top, &t);
    ::GetWindowRect(wnd, &r);
    const int x = r.left - t.left, y = r.top - t.top, w = r.right - r.left, h = r.bottom - r.top;
    return countDifferences(a.crop(x, y, w, h), b.crop(x, y, w, h), 16);
}

BOOL CALLBACK collectChild(HWND w, LPARAM p) {
    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
    return TRUE;
}

// Descendants of `top`, or only the enabled, visible tab stops among them.
std::vector<HWND> children(HWND top, bool tabStopsOnly = false) {
    std::vector<HWND> all, stops;
    ::EnumChildWindows(top, &collectChild, reinterpret_cast<LPARAM>(&all));
    for (HWND w : all)
        if ((::GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP) && ::IsWindowVisible(w) && ::IsWindowEnabled(w))
            stops.push_back(w);
    return tabStopsOnly ? stops : all;
}

// Handles what is queued, then paints what is left to paint.
void settleFocus(HWND top) {
    Application->ProcessMessages();
    ::RedrawWindow(top, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Application->ProcessMessages();
}

void pressTab(HWND top, HWND focus) {
    ::PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0x000F0001);
    ::PostMessageW(focus, WM_KEYUP, VK_TAB, LPARAM(0xC00F0001u));
    settleFocus(top);
}

// Tabs through every toolkit page of the gallery in every skin: each control
// the Tab key reaches must look different from the same control unfocused.
TEST(KeyboardFocus, EveryControlTheTabKeyReachesShowsItInEverySkin) {
    auto& skin = GallerySkin::get();
    for (const std::string& name : gallery::skinNames()) {
        skin.use(name);
        size_t checked = 0;
        for (const char* id : {"buttons", "checks", "edits", "lists", "tabs", "progress", "dialog"}) {
            SCOPED_TRACE(name + " / " + id);
            OpenPage p(page(id));
            HWND top = p.w.handle;
            ASSERT_TRUE(skinned(top));
            const Image plain = captureWindow(top);
            ::SetFocus(top);
            pressTab(top, top);
            // A plain dialog without the dialog manager's loop: its first tab stop.
            const std::vector<HWND> stops = children(top, true);
            if (!::IsChild(top, ::GetFocus()) && !stops.empty()) {
                ::SetFocus(stops.front());
                settleFocus(top);
            }
            std::set<HWND> seen;
            for (int step = 0; step < 40; ++step) {
                HWND focus = ::GetFocus();
                if (!focus || !::IsChild(top, focus)) break;
                if (!seen.insert(focus).second) {
                    // The toolkit leaves Tab to a memo and to a drop-down
                    // combo's edit (skinned or not): move on as a dialog would.
                    HWND next = nullptr;
                    for (HWND w : children(top, true))
                        if (!seen.count(w)) {
                            next = w;
                            break;
                        }
                    if (!next) break;
                    ::SetFocus(next);
                    settleFocus(top);
                    continue;
                }
                if (!focusNotInAStill(focus)) {
                    const Image now = captureWindow(top);
                    wchar_t text[64] = {};
                    ::GetWindowTextW(focus, text, 64);
                    EXPECT_GE(changedAt(plain, now, top, focus), 6u)
                        << "no visible focus on " << WideToUtf8(classOf(focus)) << " \"" << WideToUtf8(text) << "\"";
                    ++checked;
                }
                pressTab(top, focus);
            }
            EXPECT_GE(seen.size(), 2u) << "the Tab key reached almost nothing";
        }
        EXPECT_GE(checked, 15u) << name;
    }
}

// ---- controls in Active Accessibility ----------------------------------------------

struct Read {
    std::wstring name;
    LONG role = -1;
    LONG state = -1;
    bool operator==(const Read&) const = default;
};

Read readClient(HWND wnd, IAccessible** keep = nullptr) {
    Read r;
    IAccessible* acc = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(wnd, DWORD(OBJID_CLIENT), __uuidof(IAccessible), reinterpret_cast<void**>(&acc))) ||
        !acc)
        return r;
    BSTR name = nullptr;
    if (acc->get_accName(childId(CHILDID_SELF), &name) == S_OK && name) r.name = name;
    ::SysFreeString(name);
    VARIANT v;
    ::VariantInit(&v);
    if (SUCCEEDED(acc->get_accRole(childId(CHILDID_SELF), &v)) && v.vt == VT_I4) r.role = v.lVal;
    r.state = stateOf(acc, CHILDID_SELF);
    if (keep)
        *keep = acc;
    else
        acc->Release();
    return r;
}

// The program's controls read the same skinned as unskinned (name, role,
// state, which one has the focus); every window the engine adds reads as
// the control it imitates instead of an unnamed client area.
TEST(ControlObjects, ReadTheSameSkinnedAndTheEngineWindowsAreNamed) {
    ComScope com;
    auto& skin = GallerySkin::get();
    // Once a window was activated the manager skins open windows when the skin
    // is switched on; before, only those activated later.
    skin.use("dark");
    { OpenPage first(page("checks")); }
    for (const char* id : {"edits", "lists", "media"}) {
        SCOPED_TRACE(id);
        skin.use("");
        OpenPage p(page(id));
        HWND top = p.w.handle;
        const std::vector<HWND> own = children(top);
        ASSERT_FALSE(own.empty());
        const std::vector<HWND> stops = children(top, true);
        HWND focused = stops.empty() ? nullptr : stops.back();
        ::SetFocus(focused);
        gallery::pump(50);
        std::map<HWND, Read> plain;
        for (HWND w : own) plain[w] = readClient(w);
        if (focused) {
            EXPECT_NE(plain[focused].state & STATE_SYSTEM_FOCUSED, 0);
        }

        skin.use("dark");
        ASSERT_TRUE(skinned(top));
        ::SetFocus(focused);
        gallery::pump(50);
        for (HWND w : own) {
            const Read now = readClient(w);
            EXPECT_TRUE(now == plain[w]) << WideToUtf8(classOf(w)) << " \"" << WideToUtf8(plain[w].name) << "\"";
        }
        size_t added = 0;
        for (HWND w : children(top)) {
            if (plain.count(w)) continue;
            ++added;
            const Read r = readClient(w);
            EXPECT_TRUE(r.role != LONG(ROLE_SYSTEM_CLIENT) && r.role > 0)
                << "an engine window reads as a bare client: " << WideToUtf8(classOf(w));
            // A cover over a scroll-bar control has that control's name,
            // which may be none; everything else is named.
            if (r.role != LONG(ROLE_SYSTEM_SCROLLBAR)) {
                EXPECT_FALSE(r.name.empty()) << "an engine window without a name: " << WideToUtf8(classOf(w));
            }
        }
        EXPECT_GT(added, 0u) << "the page was expected to get windows of the engine";
    }
}

// A scroll-bar cover reads as the bar it covers, parts included, and pressing
// its "Page down" scrolls the list as the bar would.
TEST(ControlObjects, ScrollBarCoverWorksAsTheBarItCovers) {
    ComScope com;
    auto& skin = GallerySkin::get();
    skin.use("default");
    OpenPage p(page("lists"));
    HWND list = nullptr;
    for (HWND w : children(p.w.handle))
        if (classOf(w) == L"TListBox" && ::IsWindowEnabled(w) && (::GetWindowLongPtrW(w, GWL_STYLE) & WS_VSCROLL)) list = w;
    ASSERT_TRUE(list) << "the lists page has no list box with a vertical bar";
    HWND cover = nullptr;
    RECT lr{}, cr{};
    ::GetWindowRect(list, &lr);
    for (HWND w : children(p.w.handle))
        if (classOf(w) == L"TWScrollbar" && ::IsWindowVisible(w) && ::GetWindowRect(w, &cr) && cr.left >= lr.left &&
            cr.right <= lr.right && cr.top >= lr.top && cr.bottom <= lr.bottom && cr.bottom - cr.top > cr.right - cr.left)
            cover = w;
    ASSERT_TRUE(cover) << "no vertical cover over the list box";
    ::GetWindowRect(cover, &cr);
    IAccessible* acc = nullptr;
    const Read self = readClient(cover, &acc);
    ASSERT_TRUE(acc);
    EXPECT_EQ(self.role, LONG(ROLE_SYSTEM_SCROLLBAR));
    EXPECT_EQ(self.name, L"Vertical");
    LONG count = 0;
    acc->get_accChildCount(&count);
    EXPECT_EQ(count, 5);
    LONG x = 0, y = 0, w = 0, h = 0;
    ASSERT_EQ(acc->accLocation(&x, &y, &w, &h, childId(5)), S_OK);
    EXPECT_EQ(y + h, cr.bottom);
    EXPECT_EQ(x, cr.left);
    const int before = ::GetScrollPos(list, SB_VERT);
    EXPECT_EQ(acc->accDoDefaultAction(childId(4)), S_OK);
    gallery::pump(100);
    EXPECT_GT(::GetScrollPos(list, SB_VERT), before);
    acc->Release();
}

}  // namespace
