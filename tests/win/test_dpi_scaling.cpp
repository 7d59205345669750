// Forms at 96, 120, 144 and 192 pixels per inch.
//
// A process reads the resolution (HKCU\Control Panel\Desktop LogPixels under
// Wine) once, as it starts. So the Dpi test runs this program again once per
// resolution, with the value set only until the child says it has read it,
// and the child's AtDpi tests compare what they see with the 96-DPI figures.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "Application.h"
#include "Forms.h"
#include "Buttons.h"
#include "ExtCtrls.h"
#include "ComCtrls.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "StdCtrlsGroup.h"
#include "U_qv.h"
#include "WindowCapture.h"

using namespace qs;
using qv::TF_qv;

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

// The resolution this child was started for (0: not a child), and telling
// the parent that the system's figure has been read.
int childDpi() {
    static const int dpi = [] {
        const char* v = std::getenv("QS_DPI_CHILD");
        return v ? std::atoi(v) : 0;
    }();
    static const bool told = [] {
        HDC dc = GetDC(nullptr);
        GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(nullptr, dc);
        if (const char* h = std::getenv("QS_DPI_READ_EVENT"))
            SetEvent(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(std::strtoull(h, nullptr, 10))));
        return true;
    }();
    (void)told;
    return dpi;
}

#define SKIP_UNLESS_CHILD()                                                   \
    const int dpi = childDpi();                                               \
    if (!dpi) GTEST_SKIP() << "runs as a child of Dpi.EveryResolution"

// 96-DPI figure `v` at `dpi`, with the pixel of rounding each step may take.
#define EXPECT_SCALED(actual, v, dpi) EXPECT_NEAR(double(actual), (v) * (dpi) / 96.0, 1.0) << #actual

RECT rectInParent(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(w), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void expectRect(const RECT& r, int left, int top, int width, int height, int dpi, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_SCALED(r.left, left, dpi);
    EXPECT_SCALED(r.top, top, dpi);
    EXPECT_SCALED(r.right, left + width, dpi);
    EXPECT_SCALED(r.bottom, top + height, dpi);
}

int textHeight(HWND w) {
    HDC dc = GetDC(w);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
    SIZE s{};
    GetTextExtentPoint32W(dc, L"Fg", 2, &s);
    SelectObject(dc, old);
    ReleaseDC(w, dc);
    return s.cy;
}

int fontHeight(HWND w) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf.lfHeight;
}

// The edit's font is given in points: at 96 pixels per inch, 10 points are
// 13 pixels, and so they must stay at every resolution before scaling.
std::string definition(bool scaled) {
    return std::string(R"(object F: TForm
  Left = 40
  Top = 30
  BorderStyle = bsSingle
  Caption = 'Scaling'
  ClientWidth = 400
  ClientHeight = 300
  Font.Height = -11
  Font.Name = 'Tahoma'
  PixelsPerInch = 96
)") + (scaled ? "" : "  Scaled = False\n") + R"(  object P: TPanel
    Left = 8
    Top = 8
    Width = 200
    Height = 120
    object B: TButton
      Left = 10
      Top = 20
      Width = 90
      Height = 25
      Caption = 'OK'
    end
    object SB: TSpeedButton
      Left = 110
      Top = 20
      Width = 60
      Height = 22
      Caption = 'Go'
    end
  end
  object E: TEdit
    Left = 220
    Top = 8
    Width = 170
    Height = 21
    Font.Name = 'Tahoma'
    Font.Size = 10
    ParentFont = False
  end
  object S: TStatusBar
    Align = alBottom
    Height = 25
    Panels = <
      item
        Width = 120
      end
      item
        Width = 60
      end>
  end
end
)";
}

struct DefinedForm {
    TForm* form = new TForm(nullptr);
    explicit DefinedForm(bool scaled) {
        form->ReadFormDefinition(definition(scaled));
        form->Show();
        test::pumpMessages(30);
    }
    ~DefinedForm() { delete form; }
    template <class T>
    T* get(const char* name) {
        return dynamic_cast<T*>(form->FindComponent(name));
    }
    HWND wnd() { return form->Handle(); }
    HWND panel() { return get<TPanel>("P")->Handle(); }
    HWND button() { return get<TButton>("B")->Handle(); }
    HWND edit() { return get<TEdit>("E")->Handle(); }

    // Every figure of the definition, at `dpi`; the edit's font is 10 points
    // at `pointsDpi`.
    void expectFigures(int dpi, int pointsDpi) {
        EXPECT_EQ(form->PixelsPerInch(), dpi);
        RECT cr;
        GetClientRect(wnd(), &cr);
        EXPECT_SCALED(cr.right, 400, dpi);
        EXPECT_SCALED(cr.bottom, 300, dpi);
        expectRect(rectInParent(panel()), 8, 8, 200, 120, dpi, "panel");
        expectRect(rectInParent(button()), 10, 20, 90, 25, dpi, "button in the panel");
        expectRect(get<TSpeedButton>("SB")->BoundsRect(), 110, 20, 60, 22, dpi, "windowless speed button");
        expectRect(rectInParent(edit()), 220, 8, 170, 21, dpi, "edit");
        EXPECT_SCALED(fontHeight(button()), -11, dpi);  // the form's font, through the panel
        EXPECT_SCALED(fontHeight(edit()), -13, pointsDpi);  // its own
        TStatusBar* bar = get<TStatusBar>("S");
        int parts[4] = {};
        ASSERT_EQ(SendMessageW(bar->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
        EXPECT_SCALED(parts[0], 120, dpi);
        EXPECT_SCALED(bar->Panels()->At(1)->Width(), 60, dpi);
        // Still at the bottom once the client area grew.
        EXPECT_EQ(bar->Top() + bar->Height(), cr.bottom);
    }
};

void sendDpiChanged(HWND w, int dpi, const RECT& suggested) {
    RECT r = suggested;
    SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

}  // namespace

TEST(Dpi, EveryResolution) {
    if (childDpi()) GTEST_SKIP() << "the child runs only its own tests";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    DWORD saved = 0, size = sizeof(saved), type = 0;
    const bool hadValue = RegQueryValueExW(key, L"LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&saved), &size) ==
                              ERROR_SUCCESS &&
                          type == REG_DWORD;
    auto restore = [&] {
        if (hadValue)
            RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved), sizeof(saved));
        else
            RegDeleteValueW(key, L"LogPixels");
    };
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    for (DWORD dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE("LogPixels " + std::to_string(dpi));
        SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
        HANDLE read = CreateEventW(&sa, TRUE, FALSE, nullptr);
        ASSERT_TRUE(read);
        SetEnvironmentVariableA("QS_DPI_CHILD", std::to_string(dpi).c_str());
        SetEnvironmentVariableA("QS_DPI_READ_EVENT", std::to_string(reinterpret_cast<uintptr_t>(read)).c_str());
        std::wstring cmd = L"\"" + std::wstring(exe) + L"\" --gtest_brief=1 --gtest_filter=AtDpi.*";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
        BOOL started = CreateProcessW(exe, cmd.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
        if (started) {
            HANDLE either[2] = {read, pi.hProcess};
            WaitForMultipleObjects(2, either, FALSE, 60000);
        }
        restore();  // read by now (or never will be): the prefix is as it was
        SetEnvironmentVariableA("QS_DPI_CHILD", nullptr);
        SetEnvironmentVariableA("QS_DPI_READ_EVENT", nullptr);
        CloseHandle(read);
        ASSERT_TRUE(started);
        EXPECT_EQ(WaitForSingleObject(pi.hProcess, 120000), WAIT_OBJECT_0);
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(code, 0u) << "the child's failures are printed above";
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    RegCloseKey(key);
}

TEST(AtDpi, SystemResolutionIsTheOneAskedFor) {
    SKIP_UNLESS_CHILD();
    HDC dc = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), dpi);
    ReleaseDC(nullptr, dc);
}

// A definition's figures are 96-DPI ones; the window's are the resolution's.
// A move to a monitor of twice the resolution and back takes the suggested
// window rectangle and scales the rest, without drifting.
TEST(AtDpi, DefinedFormScalesAndFollowsResolutionChanges) {
    SKIP_UNLESS_CHILD();
    DefinedForm f(true);
    f.expectFigures(dpi, dpi);

    // A quarter more: the window must still fit the screen at 192.
    const int next = dpi * 5 / 4;
    RECT before, panel = rectInParent(f.panel()), button = rectInParent(f.button());
    const int font = fontHeight(f.button()), editFont = fontHeight(f.edit());
    GetWindowRect(f.wnd(), &before);
    RECT suggested{before.left + 10, before.top + 10, before.left + 10 + (before.right - before.left) * 5 / 4,
                   before.top + 10 + (before.bottom - before.top) * 5 / 4};
    sendDpiChanged(f.wnd(), next, suggested);
    RECT now;
    GetWindowRect(f.wnd(), &now);
    EXPECT_TRUE(EqualRect(&now, &suggested)) << "the window takes the rectangle the system suggests";
    EXPECT_EQ(f.form->PixelsPerInch(), next);
    // Rescaled by new/old (5/4, as from 96 to 120) from where they were.
    expectRect(rectInParent(f.panel()), panel.left, panel.top, panel.right - panel.left, panel.bottom - panel.top,
               120, "panel");
    expectRect(rectInParent(f.button()), button.left, button.top, button.right - button.left,
               button.bottom - button.top, 120, "button in the panel");
    EXPECT_SCALED(fontHeight(f.button()), font, 120);
    EXPECT_SCALED(fontHeight(f.edit()), editFont, 120);

    sendDpiChanged(f.wnd(), dpi, before);
    test::pumpMessages(20);
    f.expectFigures(dpi, dpi);
}

TEST(AtDpi, UnscaledFormKeepsItsPixels) {
    SKIP_UNLESS_CHILD();
    DefinedForm f(false);
    f.expectFigures(96, dpi);  // points stay points
    EXPECT_FALSE(f.form->Scaled());
    RECT wr;
    GetWindowRect(f.wnd(), &wr);
    RECT bigger{wr.left, wr.top, wr.right * 2, wr.bottom * 2};
    sendDpiChanged(f.wnd(), 2 * dpi, bigger);
    expectRect(rectInParent(f.panel()), 8, 8, 200, 120, 96, "panel after a resolution change");
    EXPECT_EQ(fontHeight(f.button()), -11);
}

// Built in code, the figures set before the window is made are design ones.
TEST(AtDpi, CodeBuiltFormScalesWhenItsWindowIsMade) {
    SKIP_UNLESS_CHILD();
    TForm form(nullptr);
    form.SetBounds(24, 16, 300, 200);
    auto* panel = new TPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(12, 34, 100, 50);
    auto* speed = new TSpeedButton(&form);
    speed->SetParent(panel);
    speed->SetBounds(4, 6, 40, 20);
    RegisterControlClasses();  // the group makes its buttons by class name
    auto* group = new TRadioGroup(&form);
    group->SetParent(&form);
    group->SetBounds(130, 10, 150, 120);
    group->SetItems({"First", "Second"});
    form.Show();
    test::pumpMessages(20);
    RECT wr;
    GetWindowRect(form.Handle(), &wr);
    EXPECT_SCALED(wr.left, 24, dpi);
    EXPECT_SCALED(wr.top, 16, dpi);
    expectRect(rectInParent(panel->Handle()), 12, 34, 100, 50, dpi, "panel");
    expectRect(speed->BoundsRect(), 4, 6, 40, 20, dpi, "speed button");
    EXPECT_SCALED(form.Font()->Height(), -11, dpi);
    // The group placed its buttons for its old font before the new one came.
    ASSERT_EQ(group->ButtonCount(), 2);
    for (int i = 0; i < 2; ++i) {
        HWND b = dynamic_cast<TWinControl*>(group->Button(i))->Handle();
        RECT br = rectInParent(b);
        EXPECT_GE(br.bottom - br.top, textHeight(b)) << "radio button " << i << ": its text is cut off";
    }
    // Figures given once the window exists are pixels.
    panel->SetBounds(5, 5, 60, 30);
    EXPECT_EQ(rectInParent(panel->Handle()).right, 65);
}

// The viewer's 852 x 573 client area is its 96-DPI size; the status bar's
// first part keeps its share. The test screen (1280 x 1024) cannot hold the
// window at 192 DPI, and the system keeps a window within the screen: there
// only what the toolkit asked for is seen.
TEST(AtDpi, ViewerFormScalesLikeAnyOther) {
    SKIP_UNLESS_CHILD();
    qv::RegisterViewerClasses();
    TF_qv* f = new TF_qv(Application);
    f->Show();
    test::pumpMessages(50);
    RECT cr;
    GetClientRect(f->Handle(), &cr);
    if (852 * dpi / 96 < GetSystemMetrics(SM_CXSCREEN)) {
        EXPECT_SCALED(cr.right, 852, dpi);
        EXPECT_SCALED(cr.bottom, 573, dpi);
    }
    EXPECT_SCALED(f->Font()->Height(), -11, dpi);
    int parts[4] = {};
    ASSERT_EQ(SendMessageW(f->STB_main->Handle(), SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_SCALED(parts[0], 810, dpi);
    EXPECT_EQ(f->STB_main->Top() + f->STB_main->Height(), cr.bottom);
    delete f;
}

// Without the declaration the system stretches the programs' pixels (Wine
// does not, so only the programs' resources can tell).
TEST(Dpi, GalleryAndDemoDeclarePerMonitorAwareness) {
    if (childDpi()) GTEST_SKIP() << "the child runs only its own tests";
    for (const char* exe : {QS_GALLERY_EXE, QS_DEMO_EXE}) {
        SCOPED_TRACE(exe);
        HMODULE m = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_TRUE(m);
        HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
        ASSERT_TRUE(r);
        std::string text(static_cast<const char*>(LockResource(LoadResource(m, r))), SizeofResource(m, r));
        EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos) << text;
        EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
        FreeLibrary(m);
    }
}
