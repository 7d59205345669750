// What the gallery's pages showed wrong, read back from the windows
// themselves: caption inks on the dark skin, titles that fit drawn whole,
// track bars on the skin's face, the disabled picker arrow, the gap between a
// check mark and its caption.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "SkinRecords.h"
#include "SkinRoutines.h"
#include "test_gallery_util.h"

using namespace qs;
using namespace qs::test;

namespace {

struct Find {
    const wchar_t* cls;
    const wchar_t* text;
    int skip;
    bool anyState;
    HWND found;
};

BOOL CALLBACK findChild(HWND wnd, LPARAM data) {
    auto* f = reinterpret_cast<Find*>(data);
    wchar_t cls[64] = {}, text[128] = {};
    ::GetClassNameW(wnd, cls, 64);
    ::GetWindowTextW(wnd, text, 128);
    if ((f->cls && std::wcscmp(cls, f->cls) != 0) || (f->text && std::wcscmp(text, f->text) != 0)) return TRUE;
    if (!f->anyState && !::IsWindowEnabled(wnd)) return TRUE;
    if (f->skip-- > 0) return TRUE;
    f->found = wnd;
    return FALSE;
}

// The `skip`+1-th descendant of `top` with this class and text (null: any),
// among the enabled ones unless `anyState`.
HWND child(HWND top, const wchar_t* cls, const wchar_t* text, int skip = 0, bool anyState = false) {
    Find f{cls, text, skip, anyState, nullptr};
    ::EnumChildWindows(top, &findChild, LPARAM(&f));
    return f.found;
}

// A child's window rectangle in the coordinates of captureWindow(top).
RECT within(HWND top, HWND wnd) {
    RECT t{}, r{};
    ::GetWindowRect(top, &t);
    ::GetWindowRect(wnd, &r);
    ::OffsetRect(&r, -t.left, -t.top);
    return r;
}

bool closeTo(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

struct Ink {
    size_t skinText = 0;  // pixels in (about) the skin's text colour
    size_t black = 0;     // pixels in the system's default text colour
};

Ink inkIn(const Image& img, RECT r, COLORREF text) {
    Ink ink;
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, img.width);
    r.bottom = std::min<LONG>(r.bottom, img.height);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = img.colorAt(x, y);
            ink.skinText += closeTo(c, text, 24);
            ink.black += closeTo(c, RGB(0, 0, 0), 12);
        }
    return ink;
}

COLORREF skinColour(int32_t c) { return COLORREF(ColorToRGB(TColor(c))); }

// The page open in `skin` with its scripted states, for as long as it lives.
struct ScriptedPage : OpenPage {
    ScriptedPage(const std::string& id, const char* skin) : OpenPage((GallerySkin::get().use(skin), page(id))) {
        if (w.script) w.script();
        gallery::pump(300);
        picture = captureWindow(w.handle);
    }
    Image picture;
};

}  // namespace

// On a dark face every caption must be written in the skin's light text:
// toolkit buttons (the focused one too), toolkit check boxes and radio
// buttons, and the labels and check boxes of a plain dialog box.
TEST(GalleryPaint, DarkSkinCaptionsUseTheSkinsTextColour) {
    {
        ScriptedPage p("buttons", "dark");
        const COLORREF text = skinColour(GallerySkin::get().data()->ButtonText);
        for (const wchar_t* caption : {L"Button", L"Default button"}) {
            HWND b = child(p.w.handle, L"TButton", caption);
            ASSERT_TRUE(b) << WideToUtf8(caption);
            RECT r = within(p.w.handle, b);
            ::InflateRect(&r, -8, -6);  // inside the element's border
            const Ink ink = inkIn(p.picture, r, text);
            EXPECT_GT(ink.skinText, 10u) << WideToUtf8(caption);
            EXPECT_EQ(ink.black, 0u) << WideToUtf8(caption) << " has black text on the dark face";
        }
        // The script focused the default button: that is the case that went black.
        EXPECT_EQ(::GetFocus(), child(p.w.handle, L"TButton", L"Default button"));
    }
    {
        ScriptedPage p("checks", "dark");
        const COLORREF text = skinColour(GallerySkin::get().data()->ButtonText);
        const TDataSkinButton* e = GallerySkin::get().data()->Buttons();
        ASSERT_TRUE(e && !e->CheckBitmap.Empty());
        const int markWidth = e->CheckBitmap.Width() / std::max(1, e->CheckButtonFrame);
        for (auto [cls, caption] : {std::pair{L"TCheckBox", L"Checked"}, std::pair{L"TCheckBox", L"Unchecked"},
                                    std::pair{L"TRadioButton", L"Radio on"}}) {
            HWND c = child(p.w.handle, cls, caption);
            ASSERT_TRUE(c) << WideToUtf8(caption);
            RECT r = within(p.w.handle, c);
            r.left += markWidth + 2;
            const Ink ink = inkIn(p.picture, r, text);
            EXPECT_GT(ink.skinText, 10u) << WideToUtf8(caption);
            EXPECT_EQ(ink.black, 0u) << WideToUtf8(caption) << " has black text on the dark face";
        }
    }
    {
        ScriptedPage p("dialog", "dark");
        const COLORREF text = skinColour(GallerySkin::get().data()->ButtonText);
        for (auto [cls, caption] : {std::pair{L"Static", L"Name:"}, std::pair{L"Button", L"Remember me"},
                                    std::pair{L"Button", L"Small"}}) {
            HWND c = child(p.w.handle, cls, caption);
            ASSERT_TRUE(c) << WideToUtf8(caption);
            RECT r = within(p.w.handle, c);
            if (std::wcscmp(cls, L"Button") == 0) r.left += 16;  // past the mark
            const Ink ink = inkIn(p.picture, r, text);
            EXPECT_GT(ink.skinText, 10u) << WideToUtf8(caption);
            EXPECT_EQ(ink.black, 0u) << WideToUtf8(caption) << " has black text on the dark face";
        }
    }
}

TEST(GalleryPaint, DarkSkinMessageBoxTextUsesTheSkinsTextColour) {
    GallerySkin::get().use("dark");
    const COLORREF text = skinColour(GallerySkin::get().data()->ButtonText);
    Ink ink;
    bool found = false;
    gallery::showMessageBoxFor(nullptr, [&](HWND box) {
        gallery::pump(400);
        const Image img = captureWindow(box);
        HWND label = child(box, L"Static", L"A message box of the system, dressed in the program's skin.");
        found = label != nullptr;
        if (label) ink = inkIn(img, within(box, label), text);
    });
    ASSERT_TRUE(found);
    EXPECT_GT(ink.skinText, 20u);
    EXPECT_EQ(ink.black, 0u);
    GallerySkin::get().use("");
}

// The dark skin keeps a right clip meant for four caption buttons; an MDI
// child of 220 pixels with three still has room for its title, which must be
// drawn whole rather than as dots.
TEST(GalleryPaint, AnMdiChildTitleThatFitsIsDrawnWhole) {
    ScriptedPage p("mdi", "dark");
    HWND active = child(p.w.handle, nullptr, L"Child 2");
    ASSERT_TRUE(active);
    const COLORREF ink = skinColour(GallerySkin::get().data()->TitleTextActive);
    const RECT r = within(p.w.handle, active);
    // The title band: the first 24 rows, from the window's left edge to the
    // middle (where the caption buttons begin).
    int first = -1, last = -1;
    for (int y = r.top + 2; y < r.top + 24; ++y)
        for (int x = r.left; x < (r.left + r.right) / 2 + 20; ++x)
            if (closeTo(p.picture.colorAt(x, y), ink, 30)) {
                if (x > r.left + 24) {  // past the icon
                    first = first < 0 ? x : std::min(first, x);
                    last = std::max(last, x);
                }
            }
    HDC dc = ::GetDC(nullptr);
    SIZE dots{}, whole{};
    ::GetTextExtentPoint32W(dc, L"...", 3, &dots);
    ::GetTextExtentPoint32W(dc, L"Child 2", 7, &whole);
    ::ReleaseDC(nullptr, dc);
    ASSERT_GE(first, 0) << "no title text at all";
    EXPECT_GT(last - first + 1, dots.cx * 2) << "the title is drawn as dots";
    EXPECT_GE(last - first + 1, whole.cx * 2 / 3);
}

// The shared icon-and-text painter of headers: a text with room to spare is
// drawn exactly as the plain text, never shortened.
TEST(GalleryPaint, IconTextThatFitsIsNotShortened) {
    const int w = 200, h = 24;
    HDC screen = ::GetDC(nullptr);
    HDC a = ::CreateCompatibleDC(screen), b = ::CreateCompatibleDC(screen);
    HBITMAP ba = ::CreateCompatibleBitmap(screen, w, h), bb = ::CreateCompatibleBitmap(screen, w, h);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oa = ::SelectObject(a, ba), ob = ::SelectObject(b, bb);
    const RECT all{0, 0, w, h};
    ::FillRect(a, &all, HBRUSH(::GetStockObject(WHITE_BRUSH)));
    ::FillRect(b, &all, HBRUSH(::GetStockObject(WHITE_BRUSH)));
    const std::wstring text = L"Name of a column";
    {
        TCanvas canvas(a);
        DrawIconText(nullptr, canvas, all, 0, text, -1, nullptr);
        canvas.ReleaseSelections();
    }
    // The same text where the painter puts a left-aligned one: 3 pixels in,
    // centred, with the same canvas defaults and no ellipsis flag.
    {
        TCanvas canvas(b);
        canvas.Font().SetStyle(0);
        RECT m{0, 0, 0, 0};
        canvas.DrawTextRect(text, m, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
        const int th = m.bottom - m.top;
        RECT t{3, (h - th) / 2, 3 + (m.right - m.left), (h - th) / 2 + th};
        SetBkMode(canvas.Handle(), TRANSPARENT);
        canvas.Brush().SetStyle(TBrushStyle::bsClear);
        canvas.DrawTextRect(text, t, DT_SINGLELINE | DT_EXPANDTABS);
        canvas.ReleaseSelections();
    }
    Image ia, ib;
    ia.width = ib.width = w;
    ia.height = ib.height = h;
    ia.pixels.resize(size_t(w) * h);
    ib.pixels.resize(size_t(w) * h);
    size_t inked = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const COLORREF ca = ::GetPixel(a, x, y), cb = ::GetPixel(b, x, y);
            ia.pixels[size_t(y) * w + x] = ca;
            ib.pixels[size_t(y) * w + x] = cb;
            inked += ca != RGB(255, 255, 255);
        }
    ::SelectObject(a, oa);
    ::SelectObject(b, ob);
    ::DeleteObject(ba);
    ::DeleteObject(bb);
    ::DeleteDC(a);
    ::DeleteDC(b);
    EXPECT_GT(inked, 50u);
    EXPECT_EQ(countDifferences(ia, ib), 0u);
}

// A track bar shows the skin's face around its channel and thumb, not the
// white of its own colour.
TEST(GalleryPaint, TrackBarsStandOnTheSkinsFace) {
    ScriptedPage p("progress", "dark");
    const COLORREF face = skinColour(GallerySkin::get().data()->ButtonFace);
    for (int i = 0; i < 4; ++i) {
        HWND t = child(p.w.handle, L"TTrackBar", nullptr, i, true);
        ASSERT_TRUE(t) << i;
        const RECT r = within(p.w.handle, t);
        // Corners of the control lie outside channel, thumb and ticks.
        for (POINT at : {POINT{r.left + 1, r.top + 1}, POINT{r.right - 2, r.top + 1}})
            EXPECT_TRUE(closeTo(p.picture.colorAt(at.x, at.y), face, 2))
                << "track bar " << i << " at " << at.x << "," << at.y << ": " << std::hex
                << p.picture.colorAt(at.x, at.y);
    }
}

// The date and time pickers' drop-down button: the disabled picker shows the
// skin's disabled button, so it differs from the enabled one's.
TEST(GalleryPaint, ADisabledPickerArrowLooksDisabled) {
    ScriptedPage p("edits", "dark");
    HWND enabled = child(p.w.handle, L"TArrowButton", nullptr, 0, true);
    HWND disabled = child(p.w.handle, L"TArrowButton", nullptr, 1, true);
    ASSERT_TRUE(enabled && disabled);
    if (::IsWindowEnabled(::GetParent(enabled)) == FALSE) std::swap(enabled, disabled);
    ASSERT_TRUE(::IsWindowEnabled(::GetParent(enabled)));
    ASSERT_FALSE(::IsWindowEnabled(::GetParent(disabled)));
    const Image a = captureWindow(enabled), b = captureWindow(disabled);
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    EXPECT_GT(countDifferences(a, b, 8), size_t(a.width * a.height / 20));
}

// Between a check mark and its caption the skin leaves two columns of the
// face, in every skin.
TEST(GalleryPaint, CheckBoxCaptionsKeepTheirGapFromTheMark) {
    for (const char* skin : {"default", "dark", "rounded"}) {
        GallerySkin::get().use(skin);
        OpenPage p(page("checks"));
        const Image img = captureWindow(p.w.handle);
        const TDataSkinButton* e = GallerySkin::get().data()->Buttons();
        ASSERT_TRUE(e && !e->CheckBitmap.Empty()) << skin;
        const int markWidth = e->CheckBitmap.Width() / std::max(1, e->CheckButtonFrame);
        const COLORREF face = skinColour(GallerySkin::get().data()->ButtonFace);
        const COLORREF text = skinColour(GallerySkin::get().data()->ButtonText);
        HWND c = child(p.w.handle, L"TCheckBox", L"Unchecked");
        ASSERT_TRUE(c) << skin;
        const RECT r = within(p.w.handle, c);
        for (int x = r.left + markWidth; x < r.left + markWidth + 2; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                EXPECT_TRUE(closeTo(img.colorAt(x, y), face, 0)) << skin << ": column " << x - r.left << " row "
                                                               << y - r.top << " is not the face";
        RECT caption = r;
        caption.left += markWidth + 2;
        EXPECT_GT(inkIn(img, caption, text).skinText, 10u) << skin << ": no caption after the gap";
    }
    GallerySkin::get().use("");
}

// Under the dark skin no content area of any page stays white: edits, memos,
// lists, combo fields, list views, trees and rich edits all take the skin's
// content background.
namespace {
BOOL CALLBACK collectContent(HWND wnd, LPARAM data) {
    static const wchar_t* const kContent[] = {L"TEdit", L"TMemo", L"TListBox", L"TComboBox", L"TListView",
                                              L"TTreeView", L"TRichEdit", L"Edit", L"ListBox", L"ComboBox",
                                              L"SysListView32", L"SysTreeView32", L"RichEdit20W"};
    wchar_t cls[64] = {};
    ::GetClassNameW(wnd, cls, 64);
    for (const wchar_t* c : kContent)
        if (std::wcscmp(cls, c) == 0 && ::IsWindowVisible(wnd)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(wnd);
    return TRUE;
}
}  // namespace

TEST(GalleryPaint, DarkSkinContentAreasAreNotWhite) {
    size_t checked = 0;
    for (const auto& pg : gallery::pages()) {
        ScriptedPage p(pg.id, "dark");
        std::vector<HWND> found;
        ::EnumChildWindows(p.w.handle, collectContent, LPARAM(&found));
        for (HWND wnd : found) {
            RECT c{}, t{};
            ::GetClientRect(wnd, &c);
            ::MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
            ::GetWindowRect(p.w.handle, &t);
            ::OffsetRect(&c, -t.left, -t.top);
            // The edit skin's border keeps its white inner ring on every skin.
            ::InflateRect(&c, -1, -1);
            size_t white = 0, all = 0;
            for (int y = std::max<LONG>(c.top, 0); y < std::min<LONG>(c.bottom, p.picture.height); ++y)
                for (int x = std::max<LONG>(c.left, 0); x < std::min<LONG>(c.right, p.picture.width); ++x) {
                    const COLORREF px = p.picture.colorAt(x, y);
                    white += GetRValue(px) >= 245 && GetGValue(px) >= 245 && GetBValue(px) >= 245;
                    ++all;
                }
            if (!all) continue;
            ++checked;
            wchar_t cls[64] = {};
            ::GetClassNameW(wnd, cls, 64);
            EXPECT_LT(white * 20, all) << pg.id << ": a white " << WideToUtf8(cls);
        }
    }
    EXPECT_GT(checked, 5u);
    GallerySkin::get().use("");
}

// Rows a program draws itself in the system's colours (owner-drawn list
// items, a control of its own class) take the skin's colours in every skin,
// and the system's exactly again after unskinning.
TEST(GalleryPaint, SystemColourPaintingFollowsEverySkinAndComesBack) {
    GallerySkin& gs = GallerySkin::get();
    gs.use("");
    ASSERT_TRUE(gs.data()->ProcessPalette());
    OpenPage p(page("painted"));
    HWND list = child(p.w.handle, L"ListBox", nullptr);
    HWND custom = child(p.w.handle, gallery::kPaintedControlClass, nullptr);
    ASSERT_TRUE(list && custom);
    const Image before = captureWindow(p.w.handle);
    const COLORREF system[] = {::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_BTNFACE),
                               ::GetSysColor(COLOR_WINDOWTEXT), ::GetSysColor(COLOR_HIGHLIGHTTEXT),
                               ::GetSysColor(COLOR_BTNTEXT)};
    for (const char* skin : {"default", "dark", "rounded"}) {
        gs.use(skin);
        p.settle();
        const TSkinData& sd = *gs.data();
        // Window, highlight, face; then the inks on them.
        const COLORREF want[] = {sd.ContentBack(),        skinColour(sd.Hilight),     skinColour(sd.ButtonFace),
                                 sd.ContentText(),        skinColour(sd.HilightText), skinColour(sd.ButtonText)};
        // A skin that kept every one of the system's colours would prove nothing.
        EXPECT_FALSE(std::equal(std::begin(want), std::end(want), std::begin(system))) << skin;
        // Fill at a row's right end, where no text reaches; ink inside it.
        auto check = [&](const Image& img, RECT row, int fill, const char* what) {
            const COLORREF at = img.colorAt(row.right - 3, (row.top + row.bottom) / 2);
            EXPECT_EQ(at, want[fill]) << skin << ", " << what << ": " << std::hex << at;
            EXPECT_GT(inkIn(img, row, want[fill + 3]).skinText, 5u) << skin << ", " << what << ": no text in the skin's ink";
        };
        const Image rows = captureClient(list);
        for (int i = 0; i < 2; ++i) {
            RECT r{};
            ::SendMessageW(list, LB_GETITEMRECT, WPARAM(i), LPARAM(&r));
            check(rows, r, i, i ? "selected list item" : "list item");
        }
        const Image own = captureClient(custom);
        RECT client{};
        ::GetClientRect(custom, &client);
        check(own, RECT{client.left, client.top, client.right, client.top + gallery::kPaintedStrip - 1}, 2,
              "custom control's strip");
        check(own, gallery::paintedRow(client, 0), 0, "custom control's row");
        check(own, gallery::paintedRow(client, 1), 1, "custom control's selected row");
    }
    gs.use("");
    p.settle();
    const Image after = captureWindow(p.w.handle);
    ASSERT_EQ(before.width, after.width);
    ASSERT_EQ(before.height, after.height);
    EXPECT_EQ(countDifferences(before, after), 0u);
}
