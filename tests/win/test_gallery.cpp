// The gallery as a test bed: every control it shows is skinned unless it is
// on the short list of deliberate exceptions, every page comes back exactly
// as it was when skinning goes off, and a few pages still look as their
// reviewed reference pictures do.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "Classify.h"
#include "SkinManage.h"
#include "test_gallery_util.h"

using namespace qs;
using namespace qs::test;

namespace {

std::wstring className(HWND wnd) {
    wchar_t buf[64] = {};
    ::GetClassNameW(wnd, buf, 64);
    return buf;
}

BOOL CALLBACK collect(HWND wnd, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
    return TRUE;
}

std::vector<HWND> windowsOf(HWND top) {
    std::vector<HWND> all{top};
    ::EnumChildWindows(top, &collect, LPARAM(&all));
    return all;
}

const gallery::Page* pageById(const std::string& id) {
    for (const auto& p : gallery::pages())
        if (p.id == id) return &p;
    return nullptr;
}

}  // namespace

// Window classes the engine leaves in the system look on purpose, and why.
// Anything else in the gallery that does not answer the skin query is a
// control the classification missed.
const std::map<std::wstring, const char*> kLeftUnskinned = {
    {L"Static", "dialog labels take the dialog's colours"},
    {L"SysListView32", "a bare list view: its header is dressed, its content takes the content colours"},
    {L"SysTreeView32", "a bare tree view: its content takes the content colours"},
    {L"RichEdit20W", "a bare rich edit: its content takes the content colours"},
    {L"TTreeView", "a tree view is dressed only when it has scroll bars"},
    {L"Edit", "the edit inside a combo box belongs to the combo's skin"},
    {L"ListBox", "a bare list box: its content and owner-drawn rows take the skin's colours through the palette"},
    {L"QsGallerySysColours", "the gallery's own control: it paints in system colours, which follow the skin"},
    {L"MDIClient", "the MDI client is part of the frame's skin"},
    {L"TWScrollbar", "the engine's own scroll bars laid over a control"},
    {L"TArrowButton", "the engine's own drop-down button of the date picker"},
    {L"TWMediaPlayer", "the engine's own face of the media player"},
};

// Panels are dressed by colour alone: their skin sits in the form's list
// without subclassing, so the query cannot see it.
bool skinnedByColour(HWND wnd) {
    TWinControl* c = FindControl(wnd);
    TSkinManage* m = SkinManager();
    if (!c || !m) return false;
    for (HWND up = ::GetParent(wnd); up; up = ::GetParent(up))
        if (TWinSkinForm* fs = m->FindFormSkin(up)) return IsSkinned(*fs, c);
    return false;
}

TEST(GalleryCoverage, EveryControlTheClassificationShouldSkinAnswersTheQuery) {
    GallerySkin::get().use("default");
    ASSERT_TRUE(GallerySkin::get().active());
    std::map<std::wstring, int> leftAlone;
    for (const auto& p : gallery::pages()) {
        OpenPage page(p);
        ASSERT_TRUE(page.w.handle) << p.id;
        for (HWND wnd : windowsOf(page.w.handle)) {
            const std::wstring cls = className(wnd);
            if (skinned(wnd)) continue;
            if (cls == L"TPanel") {
                EXPECT_TRUE(skinnedByColour(wnd)) << p.id << ": a panel has no skin";
                continue;
            }
            if (kLeftUnskinned.count(cls)) {
                ++leftAlone[cls];
                continue;
            }
            ADD_FAILURE() << p.id << ": a " << WideToUtf8(cls) << " window is not skinned";
        }
    }
    for (const auto& [cls, n] : leftAlone)
        std::printf("left unskinned on purpose: %d x %s (%s)\n", n, WideToUtf8(cls).c_str(), kLeftUnskinned.at(cls));
    GallerySkin::get().use("");
}

TEST(GalleryCoverage, TheMessageBoxIsSkinnedWithItsButtons) {
    GallerySkin::get().use("dark");
    int buttons = 0, skinnedButtons = 0;
    bool boxSkinned = false;
    gallery::showMessageBoxFor(nullptr, [&](HWND box) {
        gallery::pump(400);
        boxSkinned = skinned(box);
        for (HWND wnd : windowsOf(box)) {
            if (className(wnd) != L"Button") continue;
            ++buttons;
            skinnedButtons += skinned(wnd);
        }
    });
    EXPECT_TRUE(boxSkinned);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(skinnedButtons, buttons);
    GallerySkin::get().use("");
}

namespace {

// Saves the three pictures of a failed comparison next to the test's output.
void saveEvidence(const std::string& name, const Image& expected, const Image& actual) {
    const std::wstring base = Utf8ToWide(name);
    saveBmp(expected, base + L"-expected.bmp");
    saveBmp(actual, base + L"-actual.bmp");
    saveBmp(diffImage(expected, actual), base + L"-diff.bmp");
}

}  // namespace

// Never skinned, skinned, skinning off: the last picture equals the first.
// Each page is a fresh window, so "never skinned" holds for the first one.
TEST(GalleryUnskin, EveryPageComesBackPixelForPixel) {
    GallerySkin::get().use("");
    for (const auto& p : gallery::pages()) {
        OpenPage page(p);
        ASSERT_TRUE(page.w.handle) << p.id;
        const Image before = captureWindow(page.w.handle);
        GallerySkin::get().use("rounded");
        page.settle();
        const Image skinnedPicture = captureWindow(page.w.handle);
        GallerySkin::get().use("");
        page.settle();
        const Image after = captureWindow(page.w.handle);
        ASSERT_FALSE(before.empty()) << p.id;
        // A page the skin did not reach would pass the comparison for nothing.
        EXPECT_GT(countDifferences(before, skinnedPicture), 0u) << p.id << " looked the same skinned";
        const bool sameSize = before.width == after.width && before.height == after.height;
        EXPECT_TRUE(sameSize) << p.id << ": " << before.width << "x" << before.height << " became " << after.width
                              << "x" << after.height;
        const size_t changed = sameSize ? countDifferences(before, after) : size_t(-1);
        EXPECT_EQ(changed, 0u) << p.id << " differs after unskinning; see unskin-" << p.id << "-diff.bmp";
        if (changed != 0) saveEvidence("unskin-" + p.id, before, after);
    }
}

// Turning skinning on dresses the toolkit's forms at once; a plain system
// window that is already open, like this message box, is dressed the next
// time it is activated. So the box is activated again once the skin is on.
// Dressed, a dialog grows to fit its caption and moves its children right;
// undressed it must get its own width and layout back.
TEST(GalleryUnskin, TheMessageBoxComesBackPixelForPixel) {
    GallerySkin::get().use("");
    Image before, during, after;
    bool dressed = false;
    gallery::showMessageBoxFor(nullptr, [&](HWND box) {
        gallery::pump(300);
        before = captureWindow(box);
        GallerySkin::get().use("dark");
        RECT br{};
        ::GetWindowRect(box, &br);
        HWND away = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                      br.right + 20, br.top, 60, 40, nullptr, nullptr, nullptr, nullptr);
        ::SetForegroundWindow(away);
        gallery::pump(200);
        ::SetForegroundWindow(box);
        gallery::pump(300);
        ::DestroyWindow(away);
        gallery::pump(300);
        dressed = skinned(box);
        during = captureWindow(box);
        GallerySkin::get().use("");
        ::RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        gallery::pump(200);
        after = captureWindow(box);
    });
    ASSERT_FALSE(before.empty());
    EXPECT_TRUE(dressed) << "the box was not dressed when activated with the skin on";
    EXPECT_GT(countDifferences(before, during), 0u);
    ASSERT_EQ(before.width, after.width);
    ASSERT_EQ(before.height, after.height);
    const size_t changed = countDifferences(before, after);
    EXPECT_EQ(changed, 0u);
    if (changed) saveEvidence("unskin-msgbox", before, after);
}

// A few pages against pictures a person looked at before they were committed.
// QS_UPDATE_REFERENCES=1 writes new ones into the source tree instead.
struct Reference {
    const char* page;
    const char* skin;
    RECT crop;  // left, top, right, bottom within the window
};

const Reference kReferences[] = {
    {"buttons", "default", {0, 0, 380, 200}},
    {"checks", "dark", {0, 0, 400, 250}},
    {"frame", "rounded", {0, 0, 360, 90}},
};

TEST(GalleryReference, PagesLookAsReviewed) {
    const char* update = std::getenv("QS_UPDATE_REFERENCES");
    for (const Reference& r : kReferences) {
        const gallery::Page* p = pageById(r.page);
        ASSERT_TRUE(p) << r.page;
        GallerySkin::get().use(r.skin);
        OpenPage page(*p);
        const Image full = captureWindow(page.w.handle);
        ASSERT_GE(full.width, int(r.crop.right)) << r.page;
        ASSERT_GE(full.height, int(r.crop.bottom)) << r.page;
        const Image now = full.crop(r.crop.left, r.crop.top, r.crop.right - r.crop.left, r.crop.bottom - r.crop.top);
        const std::string name = std::string(r.page) + "-" + r.skin;
        const std::wstring file = Utf8ToWide(std::string(QS_REFERENCE_DIR) + name + ".bmp");
        if (update && *update == '1') {
            EXPECT_TRUE(saveBmp(now, file)) << name;
            continue;
        }
        const Image expected = loadBmp(file);
        ASSERT_FALSE(expected.empty()) << "no reference picture " << name;
        const bool sameSize = expected.width == now.width && expected.height == now.height;
        const size_t changed = sameSize ? countDifferences(expected, now) : size_t(-1);
        EXPECT_EQ(changed, 0u) << name << " changed; see " << name << "-diff.bmp";
        if (changed) saveEvidence(name, expected, now);
    }
    GallerySkin::get().use("");
}
