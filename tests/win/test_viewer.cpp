// The viewer's main window, built from its real definition: layout and texts,
// start-up order, the hot key, the stacking menu, the help link and the
// desktop shortcut, the page area without a page, the way back from hiding,
// and errors that must be reported rather than end the program. A recording
// browser stands in where a test needs to see the browser calls; others use
// the real control.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ocidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "Colour.h"
#include "QvConfig.h"
#include "QvShell.h"
#include "U_qv.h"
#include "UrlRecorder.h"
#include "WindowCapture.h"

using namespace qs;
using namespace qv;

namespace {

std::vector<std::string> g_log;

// A document that records what it is asked to load.
class TRecordingDocument : public IDispatch, public IPersistStreamInit {
public:
    std::string loaded;
    LONG refs = 1;
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch)
            *out = static_cast<IDispatch*>(this);
        else if (riid == IID_IPersistStreamInit)
            *out = static_cast<IPersistStreamInit*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetClassID(CLSID*) override { return E_NOTIMPL; }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(LPSTREAM stream) override {
        char buf[512];
        ULONG n = 0;
        while (SUCCEEDED(stream->Read(buf, sizeof buf, &n)) && n > 0) loaded.append(buf, n);
        g_log.push_back("Load");
        return S_OK;
    }
    STDMETHODIMP Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP InitNew() override { return S_OK; }
};

TRecordingDocument* g_document = nullptr;  // null: the browser has no document

class TRecordingBrowser : public TWebBrowser {
public:
    using TWebBrowser::TWebBrowser;
    void Navigate(const std::wstring& url) override { g_log.push_back("Navigate " + std::string(url.begin(), url.end())); }
    IDispatch* Document() override {
        g_log.push_back("Document");
        if (!g_document) return nullptr;
        g_document->AddRef();
        return g_document;
    }
    void SetSilent(bool on) override { g_log.push_back(on ? "Silent true" : "Silent false"); }
    void Loaded() override {
        TWebBrowser::Loaded();
        g_log.push_back("loaded " + Name());
    }
    // Document-complete events as the control would raise them.
    void Fire() {
        VARIANT url;
        VariantInit(&url);
        DocumentComplete(nullptr, url);
    }
};

// Every class of the definition, recording its creation and loaded step.
template <class B>
class TRec : public B {
public:
    explicit TRec(TComponent* owner) : B(owner) { g_log.push_back("create " + B::StaticClassInfo().name); }
    void Loaded() override {
        B::Loaded();
        g_log.push_back("loaded " + this->Name());
    }
};

template <class B, class Made = TRec<B>>
const TClassInfo& recordingClass() {
    static const TClassInfo info{B::StaticClassInfo().name, &B::StaticClassInfo(), {},
                                 [](TComponent* owner) -> TComponent* { return new Made(owner); }};
    return info;
}

class TRecordingBrowserRec : public TRecordingBrowser {
public:
    explicit TRecordingBrowserRec(TComponent* owner) : TRecordingBrowser(owner) { g_log.push_back("create TWebBrowser"); }
};

void useRecordingClasses() {
    RegisterViewerClasses();
    RegisterComponentClass(recordingClass<TStatusBar>());
    RegisterComponentClass(recordingClass<TPanel>());
    RegisterComponentClass(recordingClass<TWebBrowser, TRecordingBrowserRec>());
    RegisterComponentClass(recordingClass<TSkinData>());
    RegisterComponentClass(recordingClass<TTimer>());
    RegisterComponentClass(recordingClass<TPopupMenu>());
    RegisterComponentClass(recordingClass<TMenuItem>());
}

struct Viewer {
    TF_qv* form = nullptr;
    explicit Viewer(bool recording = true) {
        if (recording)
            useRecordingClasses();
        else
            RegisterViewerClasses();
        g_log.clear();
        form = new TF_qv(Application);
    }
    ~Viewer() {
        delete form;
        RegisterViewerClasses();  // the real classes again
    }
    HWND wnd() { return form->Handle(); }
};

std::wstring shortcutPath() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, path);
    return std::wstring(path) + L"\\Qelvo\u7f51\u7edc\u7535\u89c6V1.24.lnk";
}

std::wstring statusText(HWND bar, int part) {
    wchar_t buf[512] = {};
    SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(buf));
    return buf;
}

std::wstring widen(const char* utf8) {
    wchar_t buf[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buf, 256);
    return buf;
}

// What reached the application's error report meanwhile.
struct Reports {
    std::vector<std::string> errors;
    TExceptionEvent saved = Application->OnException;
    Reports() {
        Application->OnException = [this](TObject*, std::exception_ptr e) {
            errors.push_back(TApplication::DescribeException(e));
        };
    }
    ~Reports() { Application->OnException = saved; }
};

// A COM class that cannot be made while this lives: it is treated as a
// class nobody registered. A run that died meanwhile left that in the
// prefix's registry: it is not taken for a setting of the prefix.
struct Uncreatable {
    static constexpr CLSID nobody = {0x5a0e1b3c, 0x7d2f, 0x4e61, {0x9c, 0x8b, 0x01, 0x23, 0x45, 0x67, 0x89, 0xab}};
    CLSID cls, previous{};
    bool hadPrevious;
    explicit Uncreatable(REFCLSID c) : cls(c) {
        hadPrevious = CoGetTreatAsClass(c, &previous) == S_OK && !IsEqualCLSID(previous, nobody);
        CoTreatAsClass(c, nobody);
    }
    ~Uncreatable() { CoTreatAsClass(cls, hadPrevious ? previous : CLSID_NULL); }
};

void realClick(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

// The page area explains itself instead of the browser, and its button,
// clicked for real, hands exactly the channel page to the default browser.
void expectPageNoticeOpensTheChannelPage(TF_qv* f) {
    test::UrlRecorder browser;
    ASSERT_TRUE(browser.registered());
    TQvPageNotice* notice = f->PageNotice();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(IsWindowVisible(notice->Handle()));
    EXPECT_FALSE(f->WB_qv->Visible());
    EXPECT_EQ(notice->BoundsRect().right - notice->BoundsRect().left, 848);
    wchar_t text[512] = {};
    GetWindowTextW(notice->Handle(), text, 512);
    const std::string url = channelPageUrl();
    EXPECT_NE(std::wstring(text).find(std::wstring(url.begin(), url.end())), std::wstring::npos);
    EXPECT_NE(std::wstring(text).find(TQvPageNotice::kHeading), std::wstring::npos);
    ASSERT_TRUE(IsWindowVisible(notice->OpenButton()->Handle()));
    realClick(notice->OpenButton()->Handle());
    test::pumpMessages(300);  // the click is ours to dispatch
    EXPECT_EQ(browser.waitForUrl(), url);
}

// Pixels of the notice in the skin's face colour, and of its text colour
// where the heading is.
void expectNoticeInColours(TF_qv* f, COLORREF face, COLORREF text) {
    test::pumpMessages(50);
    const test::Image img = test::captureClient(f->PageNotice()->Handle());
    ASSERT_FALSE(img.empty());
    EXPECT_EQ(img.colorAt(3, 3), face);
    EXPECT_GT(test::countColour(img, RECT{0, 0, img.width, img.height}, text), 50u);
}

}  // namespace

TEST(Viewer, WindowLayoutAndTexts) {
    Viewer v;
    TF_qv* f = v.form;
    f->Show();
    test::pumpMessages(50);
    RECT cr;
    GetClientRect(v.wnd(), &cr);
    EXPECT_EQ(cr.right, 852);
    EXPECT_EQ(cr.bottom, 573);
    LONG style = GetWindowLongW(v.wnd(), GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    // The window comes up skinned: the skin draws the window menu's buttons
    // itself and takes WS_SYSMENU off meanwhile; the menu itself stays.
    EXPECT_EQ(SendMessageW(v.wnd(), 0x3523, 0, 0), 1);
    EXPECT_TRUE(f->BorderIcons() & biSystemMenu);
    EXPECT_TRUE(GetSystemMenu(v.wnd(), FALSE));

    // Centred on the desktop, give or take half the difference between the
    // skin's frame and the system's (the skin keeps the top-left corner).
    RECT wr, work;
    GetWindowRect(v.wnd(), &wr);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((wr.left + wr.right) / 2, (work.left + work.right) / 2, 6);
    EXPECT_NEAR((wr.top + wr.bottom) / 2, (work.top + work.bottom) / 2, 6);

    // Status bar: 25 high at the bottom, parts 810 and 40.
    ASSERT_TRUE(f->STB_main);
    EXPECT_EQ(f->STB_main->Top(), 548);
    EXPECT_EQ(f->STB_main->Height(), 25);
    EXPECT_EQ(f->STB_main->Width(), 852);
    HWND bar = f->STB_main->Handle();
    int parts[4] = {};
    ASSERT_EQ(SendMessageW(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(parts[0], 810);
    EXPECT_EQ(f->STB_main->Panels()->At(1)->Width(), 40);  // the last part runs to the edge

    // Panel1 is invisible and takes no room; Panel2 and the browser fill the rest.
    EXPECT_FALSE(f->Panel1->Visible());
    RECT p2 = f->Panel2->BoundsRect();
    EXPECT_EQ(p2.left, 0);
    EXPECT_EQ(p2.top, 0);
    EXPECT_EQ(p2.right, 852);
    EXPECT_EQ(p2.bottom, 548);
    RECT b = f->WB_qv->BoundsRect();
    EXPECT_EQ(b.left, 2);
    EXPECT_EQ(b.top, 2);
    EXPECT_EQ(b.right, 850);
    EXPECT_EQ(b.bottom, 546);

    // Texts, blanks and all.
    const std::wstring domain = widen(QV_PORTAL_DOMAIN);
    wchar_t caption[256] = {};
    GetWindowTextW(v.wnd(), caption, 256);
    EXPECT_EQ(std::wstring(caption), L"Qelvo\u7f51\u7edc\u7535\u89c6V1.24" + std::wstring(10, L' ') + L"\u6253\u5f00" +
                                         domain + L"\u518d\u89c2\u770b\u7f51\u7edc\u7535\u89c6\u4f1a\u66f4\u6d41\u7545");
    EXPECT_EQ(statusText(bar, 0), L"\u53cc\u51fb\u72b6\u6001\u680f\u4e0b\u8f7d\u64ad\u653e\u63d2\u4ef6" + std::wstring(4, L' ') +
                                      L"\u53f3\u51fb\u72b6\u6001\u680f\u53ef\u9009\u7a97\u53e3\u7f6e\u9876" +
                                      std::wstring(4, L' ') + L"ALT+Z\u53ef\u9690\u85cf/\u663e\u793a\u7a97\u53e3" +
                                      std::wstring(7, L' ') + L"\u6253\u5f00" + domain +
                                      L"\u540e\u518d\u89c2\u770b\u7f51\u7edc\u7535\u89c6\u4f1a\u66f4\u6d41\u7545");
    EXPECT_EQ(statusText(bar, 1), L"V1.24");
    EXPECT_EQ(f->N1->Caption(), L"\u7a97\u53e3\u7f6e\u9876");
    EXPECT_EQ(f->N2->Caption(), L"\u7a97\u53e3\u6062\u590d");
    EXPECT_EQ(f->STB_main->PopupMenu(), f->PM_1);
    EXPECT_EQ(f->WB_qv->PopupMenu(), f->PM_1);
    EXPECT_EQ(f->T_1->Interval(), 60000u);
    // The stored skin arrived with the definition and was decoded.
    ASSERT_TRUE(f->SD);
    EXPECT_TRUE(f->SD->SkinLoaded());
    EXPECT_TRUE(f->SD->Active());
    EXPECT_EQ(f->SD->DisableTag(), 99);
    EXPECT_EQ(f->SD->Skin3rd().size(), 117u);
    EXPECT_EQ(GetStrProp(f->SD, "Version"), "4.50.01.03");
    EXPECT_EQ(GetEnumProp(f->SD, "SkinFormtype"), "sfMainform");
    auto controls = std::get<TSetValue>(*GetPropValue(f->SD, "SkinControls"));
    EXPECT_EQ(controls.members.size(), 20u);
    EXPECT_FALSE(controls.has("xcMenuItem") || controls.has("xcFastReport"));
    EXPECT_TRUE(f->T_1->Enabled());
}

TEST(Viewer, StartUpOrderThenFormCreateSteps) {
    TRecordingDocument doc;
    g_document = &doc;
    Viewer v;
    g_document = nullptr;
    const std::vector<std::string> expected = {
        "create TStatusBar", "create TPanel", "create TPanel", "create TWebBrowser", "create TSkinData", "create TTimer",
        "create TPopupMenu", "create TMenuItem", "create TMenuItem",
        "loaded STB_main", "loaded Panel1", "loaded Panel2", "loaded WB_qv", "loaded SD", "loaded T_1", "loaded PM_1",
        "loaded N1", "loaded N2",
        "Navigate about:blank", "Document", "Load", "Silent true"};
    EXPECT_EQ(g_log, expected);
    EXPECT_EQ(doc.loaded, pageFragment());
    EXPECT_EQ(v.form->PageNotice(), nullptr);  // the page is there: nothing else shows
    // The stream stays with the form once the document took it.
    ASSERT_NE(v.form->PageStream(), nullptr);
    EXPECT_EQ(v.form->PageStream()->Data(), pageFragment());
    // The hot key is registered on the form's window: a second claim fails.
    EXPECT_FALSE(RegisterHotKey(v.wnd(), kHotKeyId, MOD_ALT, 'Z'));
}

TEST(Viewer, NoDocumentIsNotReported) {
    g_document = nullptr;
    Reports reports;
    Viewer v;
    const std::vector<std::string> tail = {"Navigate about:blank", "Document"};
    ASSERT_GE(g_log.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(g_log.end() - 2, g_log.end()), tail);
    EXPECT_EQ(v.form->PageStream(), nullptr);  // released, not kept
    EXPECT_NE(v.form->PageNotice(), nullptr);
    EXPECT_TRUE(reports.errors.empty());
}

TEST(Viewer, RealBrowserWithoutDocumentShowsTheNoticeInTheSkinsColours) {
    DWORD start = GetTickCount();
    Viewer v(false);
    v.form->Show();
    test::pumpMessages(200);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_EQ(v.form->WB_qv->CreateResult(), S_OK);
    EXPECT_NE(v.form->WB_qv->Browser(), nullptr);
    IDispatch* doc = v.form->WB_qv->Document();
    EXPECT_EQ(v.form->PageStream() != nullptr, doc != nullptr);
    if (doc) {  // an HTML engine: the page itself shows
        doc->Release();
        EXPECT_EQ(v.form->PageNotice(), nullptr);
        return;
    }
    // Without one (Wine here), the page area says so.
    expectPageNoticeOpensTheChannelPage(v.form);
    TSkinData* sd = v.form->SD;
    expectNoticeInColours(v.form, resolveColour(sd->ButtonFace), resolveColour(sd->WindowText));
    EXPECT_EQ(SendMessageW(v.form->PageNotice()->OpenButton()->Handle(), 0x3523, 0, 0), 1) << "the button is skinned";
    // Another skin's colours: the dark one's face is far from the system's.
    sd->SetSkinFile(std::string(QS_SOURCE_ROOT) + "/resources/skins/dark.skn");
    test::pumpMessages(500);
    ASSERT_NE(resolveColour(sd->ButtonFace), COLORREF(GetSysColor(COLOR_BTNFACE)));
    expectNoticeInColours(v.form, resolveColour(sd->ButtonFace), resolveColour(sd->WindowText));
}

TEST(Viewer, UncreatableBrowserIsReportedAndThePageAreaExplainsItself) {
    CoInitialize(nullptr);
    Reports reports;
    {
        Uncreatable noBrowser(CLSID_WebBrowser);
        Viewer v(false);
        v.form->Show();
        test::pumpMessages(100);
        EXPECT_NE(v.form->WB_qv->CreateResult(), S_OK);
        ASSERT_EQ(reports.errors.size(), 1u);
        EXPECT_NE(reports.errors[0].find("web browser"), std::string::npos) << reports.errors[0];
        // The rest of the start-up happened: the hot key is the form's.
        EXPECT_FALSE(RegisterHotKey(v.wnd(), kHotKeyId, MOD_ALT, 'Z'));
        expectPageNoticeOpensTheChannelPage(v.form);
    }
    CoUninitialize();
}

TEST(Viewer, HotKeyTogglesVisibilityOnlyForItsId) {
    Viewer v;
    v.form->Show();
    test::pumpMessages(20);
    SendMessageW(v.wnd(), WM_HOTKEY, 1234, MAKELPARAM(MOD_ALT, 'Z'));
    EXPECT_TRUE(IsWindowVisible(v.wnd()));
    SendMessageW(v.wnd(), WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_ALT, 'Z'));
    EXPECT_FALSE(IsWindowVisible(v.wnd()));
    SendMessageW(v.wnd(), WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_ALT, 'Z'));
    EXPECT_TRUE(IsWindowVisible(v.wnd()));
}

TEST(Viewer, RealAltZTogglesWhileAnotherWindowHasTheFocus) {
    Viewer v;
    v.form->Show();
    HWND other = CreateWindowExW(0, L"EDIT", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    SetFocus(other);
    test::pumpMessages(50);
    INPUT in[4] = {};
    for (auto& i : in) i.type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_MENU;
    in[1].ki.wVk = 'Z';
    in[2].ki.wVk = 'Z';
    in[2].ki.dwFlags = KEYEVENTF_KEYUP;
    in[3].ki.wVk = VK_MENU;
    in[3].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(4, in, sizeof(INPUT)), 4u);
    bool hidden = false;
    for (int i = 0; i < 40 && !hidden; ++i) {
        test::pumpMessages(25);
        hidden = !IsWindowVisible(v.wnd());
    }
    EXPECT_TRUE(hidden);
    DestroyWindow(other);
}

// Wine on a bare X display shows notification icons in a tray window of its own.
HWND trayIconWindow() {
    HWND tray = FindWindowW(L"__winex11_standalone_tray", nullptr);
    if (!tray || !IsWindowVisible(tray)) return nullptr;
    HWND icon = FindWindowExW(tray, nullptr, L"__winex11_tray_icon", nullptr);
    return icon && IsWindowVisible(icon) ? icon : nullptr;
}

TEST(Viewer, HiddenByAltZTheWindowComesBackFromItsNotificationIcon) {
    Viewer v;
    v.form->Show();
    test::pumpMessages(50);
    EXPECT_EQ(trayIconWindow(), nullptr);
    SendMessageW(v.wnd(), WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_ALT, 'Z'));
    EXPECT_FALSE(IsWindowVisible(v.wnd()));
    EXPECT_TRUE(v.form->TrayIcon().Shown());
    HWND icon = nullptr;
    for (int i = 0; i < 80 && !icon; ++i) {
        test::pumpMessages(25);
        icon = trayIconWindow();
    }
    ASSERT_NE(icon, nullptr) << "no notification icon on screen";
    realClick(icon);
    for (int i = 0; i < 80 && !IsWindowVisible(v.wnd()); ++i) test::pumpMessages(25);
    EXPECT_TRUE(IsWindowVisible(v.wnd()));
    EXPECT_FALSE(v.form->TrayIcon().Shown());
    for (int i = 0; i < 80 && trayIconWindow(); ++i) test::pumpMessages(25);
    EXPECT_EQ(trayIconWindow(), nullptr) << "the icon stayed";
    // Alt+Z goes on toggling, and the icon follows.
    SendMessageW(v.wnd(), WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_ALT, 'Z'));
    EXPECT_TRUE(v.form->TrayIcon().Shown());
    SendMessageW(v.wnd(), WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_ALT, 'Z'));
    EXPECT_TRUE(IsWindowVisible(v.wnd()));
    EXPECT_FALSE(v.form->TrayIcon().Shown());
}

TEST(Viewer, TheWindowHidesOnlyWithItsIconUpAndTheIconFollowsTheWindow) {
    Viewer v;
    v.form->Show();
    test::pumpMessages(20);
    NOTIFYICONDATAW d{};
    d.cbSize = sizeof d;
    d.hWnd = v.wnd();
    d.uID = 1;
    d.uFlags = NIF_TIP;
    auto iconUp = [&] { return Shell_NotifyIconW(NIM_MODIFY, &d) != FALSE; };
    // The viewer's place is taken: the shell refuses its icon, so it stays.
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &d));
    SendMessageW(v.wnd(), WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_ALT, 'Z'));
    EXPECT_TRUE(IsWindowVisible(v.wnd()));
    Shell_NotifyIconW(NIM_DELETE, &d);
    SendMessageW(v.wnd(), WM_HOTKEY, kHotKeyId, MAKELPARAM(MOD_ALT, 'Z'));
    ASSERT_FALSE(IsWindowVisible(v.wnd()));
    ASSERT_TRUE(iconUp());
    // The shell starts again without it: it comes back.
    Shell_NotifyIconW(NIM_DELETE, &d);
    SendMessageW(v.wnd(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(iconUp());
    // Shown by another program: the icon goes with the hiding.
    ShowWindow(v.wnd(), SW_SHOWNA);
    EXPECT_FALSE(iconUp());
    EXPECT_FALSE(v.form->TrayIcon().Shown());
}

TEST(Viewer, StackingMenuSetsAndClearsTopmost) {
    Viewer v;
    v.form->Show();
    auto topmost = [&] { return (GetWindowLongW(v.wnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    EXPECT_FALSE(topmost());
    v.form->N2->Click();  // not topmost: nothing changes
    EXPECT_FALSE(topmost());
    v.form->N1->Click();
    EXPECT_TRUE(topmost());
    v.form->N1->Click();  // twice is harmless
    EXPECT_TRUE(topmost());
    v.form->N2->Click();
    EXPECT_FALSE(topmost());
}

TEST(Viewer, ShortcutWrittenOnTheTickThenTimerOff) {
    CoInitialize(nullptr);
    DeleteFileW(shortcutPath().c_str());
    {
        Viewer v;
        EXPECT_TRUE(v.form->T_1->Enabled());
        v.form->T_1->OnTimer()(v.form->T_1);
        EXPECT_FALSE(v.form->T_1->Enabled());
        EXPECT_NE(GetFileAttributesW(shortcutPath().c_str()), INVALID_FILE_ATTRIBUTES);
    }
    DeleteFileW(shortcutPath().c_str());
    {
        // Closed before the minute is up: nothing is written.
        Viewer v;
        v.form->Show();
        test::pumpMessages(100);
    }
    EXPECT_EQ(GetFileAttributesW(shortcutPath().c_str()), INVALID_FILE_ATTRIBUTES);
    CoUninitialize();
}

TEST(Viewer, ShortTimerIntervalWritesTheShortcutOnce) {
    CoInitialize(nullptr);
    DeleteFileW(shortcutPath().c_str());
    Viewer v;
    v.form->T_1->SetInterval(50);
    for (int i = 0; i < 40 && v.form->T_1->Enabled(); ++i) test::pumpMessages(25);
    EXPECT_FALSE(v.form->T_1->Enabled());
    EXPECT_NE(GetFileAttributesW(shortcutPath().c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(shortcutPath().c_str());
    CoUninitialize();
}

TEST(Viewer, ShortcutFailureIsReportedAtEachTickUntilItWorks) {
    CoInitialize(nullptr);
    DeleteFileW(shortcutPath().c_str());
    Reports reports;
    Viewer v;
    {
        Uncreatable noLinks(CLSID_ShellLink);
        v.form->T_1->SetInterval(50);
        for (int i = 0; i < 80 && reports.errors.size() < 2; ++i) test::pumpMessages(25);
        ASSERT_GE(reports.errors.size(), 2u) << "each failing tick is reported";
        EXPECT_NE(reports.errors[0].find("shell link"), std::string::npos) << reports.errors[0];
        EXPECT_TRUE(v.form->T_1->Enabled());
        EXPECT_EQ(GetFileAttributesW(shortcutPath().c_str()), INVALID_FILE_ATTRIBUTES);
    }
    for (int i = 0; i < 80 && v.form->T_1->Enabled(); ++i) test::pumpMessages(25);
    EXPECT_FALSE(v.form->T_1->Enabled());
    EXPECT_NE(GetFileAttributesW(shortcutPath().c_str()), INVALID_FILE_ATTRIBUTES);
    DeleteFileW(shortcutPath().c_str());
    CoUninitialize();
}

TEST(Viewer, EveryDocumentCompleteAsksForTheBody) {
    Viewer v;
    auto* b = dynamic_cast<TRecordingBrowser*>(v.form->WB_qv);
    ASSERT_NE(b, nullptr);
    // No engine, no body: the handler reports the failure instead of swallowing it.
    EXPECT_THROW(b->Fire(), std::exception);
}

TEST(Viewer, StatusBarDoubleClickOpensExactlyTheHelpPage) {
    test::UrlRecorder browser;
    ASSERT_TRUE(browser.registered());
    Viewer v;
    v.form->Show();
    test::pumpMessages(20);
    HWND bar = v.form->STB_main->Handle();
    // On the second panel: either panel opens the page.
    LPARAM at = MAKELPARAM(830, 10);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(bar, WM_LBUTTONUP, 0, at);
    SendMessageW(bar, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(bar, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(browser.waitForUrl(), helpPageUrl());
}
