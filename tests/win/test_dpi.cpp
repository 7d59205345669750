// The default skin at 96, 120, 144 and 192 dots per inch. Wine reads the
// system density once per process from HKCU\Control Panel\Desktop\LogPixels
// (it overrides the machine-wide value under Hardware Profiles), so the
// parent sets that value, runs this program again for each density and puts
// the value back as it found it. The child skins a window whose size is the
// 96-dpi size times the factor, checks what only it can see (text fits,
// unskinning is exact, the large images are the ones drawn) and writes its
// figures for the parent to compare across densities.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "Dpi.h"
#include "MenuPaint.h"
#include "PixelScale.h"
#include "SkinControl.h"
#include "SkinMenu.h"
#include "test_winskinform_util.h"

using namespace qs;
using namespace qs::test;

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const char kChildEnv[] = "QS_DPI_CHILD";

// Client size of the test window at 96 dpi.
constexpr int kClientW = 390, kClientH = 260;

using Figures = std::map<std::string, int>;

RECT frameRect(TWinSkinForm& f, int action, int vis1 = -1) {
    TWinSysButton* b = buttonWithAction(f, action, vis1);
    return b ? b->FBoundsRect : RECT{-1, -1, -1, -1};
}

void putRect(Figures& out, const std::string& name, RECT r) {
    out[name + ".left"] = r.left;
    out[name + ".top"] = r.top;
    out[name + ".right"] = r.right;
    out[name + ".bottom"] = r.bottom;
}

// Text of `font` fits `r` (one line, no ellipsis needed).
void expectFits(HDC dc, HFONT font, const std::wstring& text, RECT r, const char* what) {
    SelectObjectScope sel(dc, font);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc, &tm);
    SIZE sz{};
    ::GetTextExtentPoint32W(dc, text.data(), int(text.size()), &sz);
    EXPECT_LE(tm.tmHeight, r.bottom - r.top) << what;
    EXPECT_LE(sz.cx, r.right - r.left) << what;
}

Figures measureAt(int dpi) {
    Figures out;
    auto skin = loadCommittedSkin("default");
    EXPECT_TRUE(skin->SkinLoaded());
    const int cw = ScaleLength(kClientW, dpi), ch = ScaleLength(kClientH, dpi);

    HMENU menu = ::CreateMenu();
    ::AppendMenuW(menu, MF_STRING, 1, L"&File");
    ::AppendMenuW(menu, MF_STRING, 2, L"&Window");
    HWND wnd = makeWindow(cw, ch, WS_OVERLAPPEDWINDOW, 0, L"Density", nullptr, menu);
    EXPECT_TRUE(wnd);
    if (!wnd) return out;
    EXPECT_EQ(WindowDpi(wnd), dpi);  // the registry value reached the program
    ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, ScaleLength(20, dpi),
                      ScaleLength(20, dpi), ScaleLength(75, dpi), ScaleLength(23, dpi), wnd, nullptr,
                      ::GetModuleHandleW(nullptr), nullptr);

    // What the window is before it is skinned, to compare after unskinning.
    RECT wr0{}, cr0{};
    ::GetWindowRect(wnd, &wr0);
    ::GetClientRect(wnd, &cr0);
    const LONG_PTR style0 = ::GetWindowLongPtrW(wnd, GWL_STYLE);
    pumpMessages(30);
    const Image before = captureWindow(wnd);

    auto form = skinWindow(wnd, *skin);
    EXPECT_EQ(form->FDpi, dpi);
    // The control skins draw from the same density as the frame: the push
    // button's margins are the skin's at this density.
    EXPECT_FALSE(form->FControls.empty());
    for (TSkinControl* c : form->FControls) {
        EXPECT_TRUE(c->FSkinData);
        if (!c->FSkinData) continue;
        EXPECT_EQ(c->FSkinData->Dpi(), dpi);
        EXPECT_EQ(c->FSkinData->Buttons()->LeftWidth, ScaleLength(skin->Buttons()->LeftWidth, dpi));
    }
    out["left"] = form->FLeftWidth;
    out["title"] = form->FTitleHeight;
    out["right"] = form->FRightWidth;
    out["bottom"] = form->FBottomHeight;
    out["menu"] = form->FMenuHeight;
    putRect(out, "close", frameRect(*form, 0));
    putRect(out, "maximize", frameRect(*form, 1, 2));
    putRect(out, "minimize", frameRect(*form, 2));
    const SIZE cs = clientSize(wnd);
    EXPECT_EQ(cs.cx, cw);
    EXPECT_EQ(cs.cy, ch);

    {
        WindowDCScope dc(wnd);
        // The caption in the place the painter gives it.
        TFont& font = form->TextFont();
        SelectObjectScope sel(dc.get(), font.Handle());
        TEXTMETRICW tm{};
        ::GetTextMetricsW(dc.get(), &tm);
        out["captionFont"] = tm.tmHeight;
        const RECT close = frameRect(*form, 0);
        TDataSkinTitle* t = form->Art()->Title();
        const PixelRect pr = CaptionTextRect(form->FWidth, form->FTitleHeight, t->TextShift(), t->TextShiftVert(),
                                             t->TextRightClip(), form->FIconSize + t->TextShift(), close.left);
        expectFits(dc.get(), font.Handle(), L"Density", RECT{pr.left, pr.top, pr.right, pr.bottom}, "caption");
        // Each menu-bar title in its button.
        EXPECT_TRUE(form->FSkinMenu);
        if (form->FSkinMenu) {
            UniqueFont menuFont = CreateMenuFont();
            int n = 0;
            for (auto& b : form->FSkinMenu->FButtons) {
                std::wstring text = b->FCaption;
                std::erase(text, L'&');
                expectFits(dc.get(), menuFont.get(), text, b->FBoundsRect, "menu title");
                ++n;
            }
            EXPECT_EQ(n, 2);
        }
    }

    // At 200 % the skin's own large caption buttons are drawn, pixel for
    // pixel: the close button's first frame is on the window.
    TWinSysButton* close = buttonWithAction(*form, 0);
    const TDataSkinSysButton* closeRecord = nullptr;
    for (const auto& r : skin->CaptionButtons())
        if (r->Action == 0) closeRecord = r.get();
    const PixelImage large = closeRecord ? skin->LargeImage(closeRecord->Bitmap) : PixelImage{};
    if (dpi == 192 && close && closeRecord) {
        EXPECT_FALSE(large.empty()) << "the committed default skin carries CloseButton@2x.bmp";
        const Image shot = captureWindow(wnd);
        const RECT r = close->FBoundsRect;
        const int frames = std::max(closeRecord->Frame, 1);
        EXPECT_EQ(r.right - r.left, large.width / frames);
        const PixelImage small = const_cast<TBitmap&>(closeRecord->Bitmap).ToPixels();
        int same = 0, differsFromSmall = 0, compared = 0;
        for (int y = 0; y < r.bottom - r.top && y < large.height; ++y)
            for (int x = 0; x < r.right - r.left && x < large.width; ++x) {
                const uint32_t want = large.at(x, y);
                if (want == 0xFF00FF) continue;
                ++compared;
                if ((shot.at(r.left + x, r.top + y) & 0xFFFFFF) == want) ++same;
                if (small.at(x / 2, y / 2) != want) ++differsFromSmall;
            }
        EXPECT_GT(compared, 0);
        EXPECT_EQ(same, compared);
        // The large image is more than the small one doubled, so the
        // comparison above tells the two apart.
        EXPECT_GT(differsFromSmall, compared / 10);
    }

    if (const char* dir = std::getenv("QS_DPI_SHOTS")) {
        const std::string d = dir;
        saveBmp(captureWindow(wnd), std::wstring(d.begin(), d.end()) + L"/skinned-" + std::to_wstring(dpi) + L".bmp");
    }
    form->Detach();
    form.reset();
    pumpMessages(60);
    RECT wr1{}, cr1{};
    ::GetWindowRect(wnd, &wr1);
    ::GetClientRect(wnd, &cr1);
    EXPECT_TRUE(::EqualRect(&wr0, &wr1));
    EXPECT_TRUE(::EqualRect(&cr0, &cr1));
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWL_STYLE), style0);
    EXPECT_EQ(::GetMenu(wnd), menu);
    HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(::GetWindowRgn(wnd, probe), ERROR);  // no region left behind
    ::DeleteObject(probe);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    pumpMessages(30);
    const Image after = captureWindow(wnd);
    EXPECT_EQ(countDifferences(before, after, 8), 0u) << "unskinned at " << dpi << " dpi";
    if (const char* dir = std::getenv("QS_DPI_SHOTS")) {
        const std::string d = dir;
        saveBmp(before, std::wstring(d.begin(), d.end()) + L"/before-" + std::to_wstring(dpi) + L".bmp");
        saveBmp(after, std::wstring(d.begin(), d.end()) + L"/after-" + std::to_wstring(dpi) + L".bmp");
    }
    ::DestroyWindow(wnd);

    // The rounded skin's corners are cut from its enlarged frame: the window
    // has its shape, and nothing drawn is tinged with the key colour (the
    // filter never mixes magenta into an edge).
    auto rounded = loadCommittedSkin("rounded");
    HWND shaped = makeWindow(cw, ch, WS_OVERLAPPEDWINDOW, 0, L"Rounded");
    if (shaped) {
        auto rf = skinWindow(shaped, *rounded);
        HRGN rgn = ::CreateRectRgn(0, 0, 0, 0);
        EXPECT_NE(::GetWindowRgn(shaped, rgn), ERROR);
        EXPECT_FALSE(::PtInRegion(rgn, 0, 0));  // the rounded corner
        EXPECT_TRUE(::PtInRegion(rgn, rf->FWidth / 2, 0));
        ::DeleteObject(rgn);
        const Image img = captureWindow(shaped);
        int pink = 0;
        for (int y = 0; y < rf->FTitleHeight; ++y)
            for (int x = 0; x < img.width; ++x) {
                const uint32_t p = img.at(x, y);
                const int r = int(p >> 16) & 0xFF, g = int(p >> 8) & 0xFF, b = int(p) & 0xFF;
                if (r > 160 && b > 160 && g < r - 80 && g < b - 80) ++pink;
            }
        EXPECT_EQ(pink, 0) << "magenta-tinged pixels in the title at " << dpi << " dpi";
        rf->Detach();
        rf.reset();
        ::DestroyWindow(shaped);
    }
    return out;
}

// Sets the per-user density for the programs started next and puts back
// whatever was there (or nothing) when it goes.
class DensitySetting {
public:
    DensitySetting() {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &FKey,
                              nullptr) != ERROR_SUCCESS)
            FKey = nullptr;
        DWORD size = sizeof FOld, type = 0;
        FHadValue = FKey && ::RegQueryValueExW(FKey, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&FOld),
                                               &size) == ERROR_SUCCESS && type == REG_DWORD;
    }
    ~DensitySetting() {
        if (!FKey) return;
        if (FHadValue)
            ::RegSetValueExW(FKey, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&FOld), sizeof FOld);
        else
            ::RegDeleteValueW(FKey, L"LogPixels");
        ::RegCloseKey(FKey);
    }
    bool Set(DWORD dpi) {
        return FKey && ::RegSetValueExW(FKey, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                                        sizeof dpi) == ERROR_SUCCESS;
    }

private:
    HKEY FKey = nullptr;
    DWORD FOld = 0;
    bool FHadValue = false;
};

// Runs this program's child test at `dpi`; its figures, empty when it failed.
Figures runChild(int dpi, DWORD& exitCode) {
    wchar_t exe[MAX_PATH] = {}, tmp[MAX_PATH] = {}, out[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
    ::GetTempPathW(MAX_PATH, tmp);
    ::GetTempFileNameW(tmp, L"dpi", 0, out);
    char env[MAX_PATH * 2] = {};
    ::WideCharToMultiByte(CP_UTF8, 0, out, -1, env, sizeof env, nullptr, nullptr);
    ::SetEnvironmentVariableA(kChildEnv, (std::to_string(dpi) + ";" + env).c_str());
    std::wstring cmd = L"\"" + std::wstring(exe) + L"\" --gtest_filter=DpiChild.* --gtest_brief=1";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    exitCode = 99;
    if (::CreateProcessW(exe, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ::WaitForSingleObject(pi.hProcess, 120000);
        ::GetExitCodeProcess(pi.hProcess, &exitCode);
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
    ::SetEnvironmentVariableA(kChildEnv, nullptr);
    Figures f;
    std::ifstream in(out);
    std::string key;
    int v = 0;
    while (in >> key >> v) f[key] = v;
    in.close();
    ::DeleteFileW(out);
    return f;
}

}  // namespace

TEST(DpiChild, Measure) {
    const char* env = std::getenv(kChildEnv);
    if (!env) GTEST_SKIP() << "run by DensityTest";
    const std::string arg = env;
    const int dpi = std::atoi(arg.c_str());
    const Figures f = measureAt(dpi);
    std::ofstream out(arg.substr(arg.find(';') + 1));
    for (const auto& [k, v] : f) out << k << ' ' << v << '\n';
}

TEST(DensityTest, DefaultSkinScalesWithTheDisplay) {
    const int densities[] = {96, 120, 144, 192};
    std::map<int, Figures> got;
    {
        DensitySetting setting;
        for (int dpi : densities) {
            ASSERT_TRUE(setting.Set(DWORD(dpi)));
            DWORD code = 0;
            got[dpi] = runChild(dpi, code);
            EXPECT_EQ(code, 0u) << "the child's own checks at " << dpi << " dpi";
        }
    }
    const Figures& base = got[96];
    ASSERT_FALSE(base.empty());
    // The 96-dpi figures the other tests know.
    EXPECT_EQ(base.at("title"), 27);
    EXPECT_EQ(base.at("left"), 5);
    for (int dpi : densities) {
        const Figures& f = got[dpi];
        ASSERT_EQ(f.size(), base.size()) << dpi;
        for (const auto& [k, v96] : base) {
            const double want = v96 * dpi / 96.0;
            // Lengths within a pixel; the font within two (its cell height
            // is the font's, not ours).
            const double slack = k == "captionFont" ? 2.0 : 1.0;
            EXPECT_LE(std::abs(f.at(k) - want), slack) << k << " at " << dpi << " dpi: " << f.at(k) << ", 96-dpi "
                                                      << v96;
        }
    }
}
