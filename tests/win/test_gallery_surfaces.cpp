// The gallery's page of bare common controls under the dark skin, read back
// from the windows: each surface stands on the skin's face and writes in a
// colour that reads on it, and the property sheet comes back as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <map>

#include "SkinRecords.h"
#include "test_gallery_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Find {
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK findChild(HWND wnd, LPARAM data) {
    auto* f = reinterpret_cast<Find*>(data);
    wchar_t cls[64] = {};
    ::GetClassNameW(wnd, cls, 64);
    if (std::wcscmp(cls, f->cls) != 0) return TRUE;
    f->found = wnd;
    return FALSE;
}

HWND child(HWND top, const wchar_t* cls) {
    Find f{cls, nullptr};
    ::EnumChildWindows(top, &findChild, LPARAM(&f));
    return f.found;
}

RECT within(HWND top, HWND wnd) {
    RECT t{}, r{};
    ::GetWindowRect(top, &t);
    ::GetWindowRect(wnd, &r);
    ::OffsetRect(&r, -t.left, -t.top);
    return r;
}

COLORREF rgb(int32_t c) { return COLORREF(ColorToRGB(TColor(c))); }

double luminance(COLORREF c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(GetRValue(c)) + 0.7152 * lin(GetGValue(c)) + 0.0722 * lin(GetBValue(c));
}

double contrast(COLORREF a, COLORREF b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// What a surface shows: its most common colour (the background), and the
// pixels that contrast with it (the text).
struct Surface {
    COLORREF background = 0;
    double share = 0;         // of the background among all pixels
    size_t ink = 0;           // pixels in the expected text colour
    double worstContrast = 99;  // of the text pixels (those far from the background) against it
};

Surface read(const Image& img, RECT r, COLORREF text) {
    r.left = std::max<LONG>(r.left, 0), r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, img.width), r.bottom = std::min<LONG>(r.bottom, img.height);
    std::map<COLORREF, size_t> counts;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ++counts[img.colorAt(x, y)];
    Surface s;
    size_t best = 0, all = 0;
    for (auto [c, n] : counts) {
        all += n;
        if (n > best) best = n, s.background = c;
    }
    s.share = all ? double(best) / double(all) : 0;
    for (auto [c, n] : counts)
        if (closeTo(c, text, 24)) s.ink += n;
    // Text pixels: those within reach of the text colour; anti-aliased edges
    // between the two are not text.
    if (s.ink) s.worstContrast = contrast(text, s.background);
    return s;
}

HWND sheetOf(HWND owner) {
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (::GetWindow(w, GW_OWNER) == owner && ::IsWindowVisible(w)) return w;
    return nullptr;
}

}  // namespace

// Header, tool bar, rebar (its band title and chevron), status bar and the
// property pages of a plain Win32 program: the skin's face (or header picture) behind, the skin's text on it,
// at a contrast of at least 4.5 : 1, and none of the system's black text.
TEST(GallerySurfaces, DarkSkinDressesEveryBareSurfaceReadably) {
    GallerySkin::get().use("dark");
    OpenPage p(page("surfaces"));
    TSkinData* sd = GallerySkin::get().data();
    const COLORREF face = rgb(sd->ButtonFace), text = rgb(sd->ButtonText);
    HWND list = child(p.w.handle, L"SysListView32");
    ASSERT_TRUE(list);
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    HWND rebar = child(p.w.handle, L"ReBarWindow32"), bar = child(p.w.handle, L"ToolbarWindow32");
    HWND status = child(p.w.handle, L"msctls_statusbar32");
    for (const wchar_t* cls : {L"ReBarWindow32", L"ToolbarWindow32", L"msctls_statusbar32", L"msctls_progress32",
                               L"msctls_trackbar32", L"msctls_updown32", L"SysDateTimePick32"})
        EXPECT_TRUE(skinned(child(p.w.handle, cls))) << WideToUtf8(cls) << " is not skinned";
    ASSERT_TRUE(header && rebar && bar && status);
    EXPECT_TRUE(skinned(header));
    const Image img = captureWindow(p.w.handle);
    if (const char* dir = std::getenv("QS_SHOTS")) saveBmp(img, Utf8ToWide(std::string(dir) + "/surfaces-dark.bmp"));

    struct Case {
        const char* name;
        RECT r;
        COLORREF text;
        bool onFace;
    };
    RECT headerItem{};
    ::SendMessageW(header, HDM_GETITEMRECT, 0, LPARAM(&headerItem));
    ::MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&headerItem), 2);
    RECT top{};
    ::GetWindowRect(p.w.handle, &top);
    ::OffsetRect(&headerItem, -top.left, -top.top);
    RECT firstButton{};
    ::SendMessageW(bar, TB_GETITEMRECT, 0, LPARAM(&firstButton));
    ::MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&firstButton), 2);
    ::OffsetRect(&firstButton, -top.left, -top.top);
    RECT band = within(p.w.handle, rebar);
    band.right = within(p.w.handle, bar).left;  // the band's title, left of its bar
    RECT chevron = within(p.w.handle, rebar);
    chevron.left = chevron.right - 14;  // the second band is too narrow for its bar
    const Case cases[] = {
        {"rebar chevron", chevron, text, true},
        {"header item", headerItem, rgb(sd->Headerbar()->NormalColour2), false},
        {"tool-bar button", firstButton, text, true},
        {"rebar band", band, text, true},
        {"status bar", within(p.w.handle, status), rgb(sd->StatusBarEdges()->NormalColour2), false},
    };
    for (const Case& c : cases) {
        const Surface s = read(img, c.r, c.text);
        EXPECT_GT(s.ink, 8u) << c.name << ": no text in the skin's colour";
        EXPECT_GE(s.worstContrast, 4.5) << c.name << ": text against " << std::hex << s.background;
        if (c.onFace) EXPECT_TRUE(closeTo(s.background, face, 2)) << c.name << " stands on " << std::hex << s.background;
        EXPECT_LT(luminance(s.background), 0.2) << c.name << " stands on a light " << std::hex << s.background;
    }

    // The property sheet shows its first page; the second is made only when
    // its tab is chosen, after the sheet was dressed.
    HWND sheet = sheetOf(p.w.handle);
    ASSERT_TRUE(sheet);
    ::SetForegroundWindow(sheet);
    gallery::pump(300);
    for (int tab = 0; tab < 2; ++tab) {
        ::SendMessageW(sheet, PSM_SETCURSEL, WPARAM(tab), 0);
        gallery::pump(300);
        HWND pageWnd = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        ASSERT_TRUE(pageWnd) << tab;
        EXPECT_TRUE(skinned(pageWnd)) << "page " << tab;
        ::RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gallery::pump(100);
        const Image img = captureWindow(sheet);
        HWND label = child(pageWnd, L"Static");
        ASSERT_TRUE(label);
        const Surface page = read(img, within(sheet, pageWnd), text);
        EXPECT_TRUE(closeTo(page.background, face, 2)) << "page " << tab << " stands on " << std::hex << page.background;
        const Surface caption = read(img, within(sheet, label), text);
        EXPECT_GT(caption.ink, 8u) << "page " << tab;
        EXPECT_GE(caption.worstContrast, 4.5) << "page " << tab;
    }
}

// A property sheet dressed and undressed looks exactly as one that was
// never skinned: its pages give the face back.
TEST(GallerySurfaces, APropertySheetComesBackPixelForPixel) {
    GallerySkin::get().use("");
    OpenPage p(page("surfaces"));
    HWND sheet = sheetOf(p.w.handle);
    ASSERT_TRUE(sheet);
    // The same steps unskinned first, so focus and keyboard cues agree.
    auto visitPages = [sheet] {
        ::SetForegroundWindow(sheet);
        for (int tab : {1, 0}) {
            ::SendMessageW(sheet, PSM_SETCURSEL, WPARAM(tab), 0);
            gallery::pump(200);
        }
        ::RedrawWindow(sheet, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gallery::pump(200);
    };
    visitPages();
    const Image never = captureWindow(sheet);

    GallerySkin::get().use("dark");
    ::SetForegroundWindow(sheet);
    gallery::pump(300);
    GallerySkin::get().use("");
    visitPages();
    const Image after = captureWindow(sheet);
    ASSERT_EQ(never.width, after.width);
    ASSERT_EQ(never.height, after.height);
    const size_t changed = countDifferences(never, after);
    EXPECT_EQ(changed, 0u);
    if (changed) {
        saveBmp(never, L"unskin-sheet-expected.bmp");
        saveBmp(after, L"unskin-sheet-actual.bmp");
        saveBmp(diffImage(never, after), L"unskin-sheet-diff.bmp");
    }
}
