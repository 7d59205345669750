// The skin demo: a main form with a menu and a few controls whose commands
// switch skins by file, switch skinning off and on, and open the other kinds
// of windows a program shows: a message box, a dialog box from a resource
// template, an MDI frame with children and a form that opts out (Tag 99).
//
//   qsdemo                 runs interactively
//   qsdemo /shots DIR      saves DIR\demo-<skin>.bmp for each skin and exits
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "Application.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "SkinData.h"
#include "StdCtrlsButtons.h"
#include "StdCtrlsEdit.h"
#include "WindowCapture.h"

namespace qs::demo {


constexpr int kSettingsDialog = 100;
const char* const kSkins[] = {"default", "dark", "rounded"};

std::string programFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path);
    p.resize(p.find_last_of(L"\\/") + 1);
    return WideToUtf8(p);
}

INT_PTR CALLBACK settingsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            ::SetDlgItemTextW(dlg, 101, L"Skinned dialog");
            ::CheckRadioButton(dlg, 103, 104, 103);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dlg, LOWORD(wParam));
                return TRUE;
            }
            return FALSE;
        default: return FALSE;
    }
}

TMenuItem* addItem(TComponent* owner, TMenuItem* parent, const wchar_t* caption, TNotifyEvent onClick = {}) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    parent->Add(item);
    return item;
}

template <class C>
C* place(TWinControl* parent, int x, int y, int w, int h, const wchar_t* caption = nullptr) {
    auto* c = new C(parent);
    c->SetParent(parent);
    c->SetBounds(x, y, w, h);
    if (caption) c->SetCaption(caption);
    return c;
}

class TDemoForm : public TForm {
public:
    explicit TDemoForm(TComponent* owner) : TForm(owner) {
        SetCaption(L"Skin demo");
        SetBorderStyle(bsSizeable);
        SetBounds(80, 60, 520, 360);

        // The skin: read like a stored definition, so its "loaded" step
        // switches skinning on before the window first shows.
        SD = new TSkinData(this);
        SD->SetName("SD");
        SD->BeginLoading();
        SD->SetSkinFile(programFolder() + "default.skn");
        SD->SetActive(true);
        SD->Loaded();

        auto* menu = new TMainMenu(this);
        TMenuItem* file = addItem(this, menu->Items(), L"&File");
        addItem(this, file, L"E&xit", [this](TObject*) { Close(); });
        TMenuItem* skin = addItem(this, menu->Items(), L"&Skin");
        for (const char* name : kSkins) {
            std::wstring caption = L"&" + Utf8ToWide(name);
            caption[1] = wchar_t(::towupper(caption[1]));
            addItem(this, skin, caption.c_str(), [this, name](TObject*) { UseSkin(name); });
        }
        addItem(this, skin, L"-");
        FActiveItem = addItem(this, skin, L"Skinning &on", [this](TObject*) { ToggleSkinning(); });
        FActiveItem->SetChecked(true);
        TMenuItem* windows = addItem(this, menu->Items(), L"&Windows");
        addItem(this, windows, L"&Message box", [this](TObject*) { ShowMessageBox(); });
        addItem(this, windows, L"&Dialog box", [this](TObject*) { ShowDialogBox(); });
        addItem(this, windows, L"M&DI frame", [this](TObject*) { ShowMDIFrame(); });
        addItem(this, windows, L"&Unskinned form (Tag 99)", [this](TObject*) { ShowOptedOut(); });
        SetMenu(menu);

        place<TButton>(this, 16, 16, 120, 28, L"Message box")->OnClick = [this](TObject*) { ShowMessageBox(); };
        place<TButton>(this, 146, 16, 120, 28, L"Dialog box")->OnClick = [this](TObject*) { ShowDialogBox(); };
        place<TCheckBox>(this, 16, 60, 160, 22, L"A check box");
        place<TEdit>(this, 16, 92, 250, 24)->SetText(L"An edit box");
        auto* panel = place<TPanel>(this, 290, 16, 190, 100, L"A panel");
        (void)panel;
    }

    void UseSkin(const char* name) { SD->SetSkinFile(programFolder() + name + ".skn"); }

    void ToggleSkinning() {
        SD->SetActive(!SD->Active());
        FActiveItem->SetChecked(SD->Active());
    }

    void ShowMessageBox() {
        ::MessageBoxW(Handle(), L"A message box of the system, in the skin of the program.", L"Skin demo",
                      MB_OK | MB_ICONINFORMATION);
    }

    void ShowDialogBox() {
        ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kSettingsDialog), Handle(), &settingsProc, 0);
    }

    void ShowMDIFrame() {
        auto* frame = new TForm(Application);
        frame->SetFormStyle(fsMDIForm);
        frame->SetCaption(L"MDI frame");
        frame->SetBounds(140, 120, 560, 400);
        frame->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
        auto* menu = new TMainMenu(frame);
        TMenuItem* win = addItem(frame, menu->Items(), L"&Window");
        addItem(frame, win, L"&New child", [frame](TObject*) { NewChild(frame); });
        addItem(frame, win, L"&Cascade", [frame](TObject*) { ::SendMessageW(frame->ClientHandle(), WM_MDICASCADE, 0, 0); });
        addItem(frame, win, L"&Tile", [frame](TObject*) { ::SendMessageW(frame->ClientHandle(), WM_MDITILE, 0, 0); });
        frame->SetMenu(menu);
        frame->Show();
        NewChild(frame);
        NewChild(frame);
    }

    static void NewChild(TForm* frame) {
        static int n = 0;
        auto* child = new TForm(frame);
        child->SetFormStyle(fsMDIChild);
        child->SetCaption(L"Child " + std::to_wstring(++n));
        child->SetBounds(10 + 24 * (n % 6), 10 + 24 * (n % 6), 240, 160);
        child->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
        place<TButton>(child, 12, 12, 100, 26, L"In a child");
        child->Show();
    }

    void ShowOptedOut() {
        auto* f = new TForm(Application);
        f->SetTag(99);
        f->SetCaption(L"Tag 99: left in the system look");
        f->SetBounds(200, 200, 360, 160);
        f->OnClose = [](TObject*, TCloseAction& a) { a = caFree; };
        place<TButton>(f, 16, 16, 120, 28, L"Plain button");
        f->Show();
    }

    TSkinData* SD = nullptr;

private:
    TMenuItem* FActiveItem = nullptr;
};

void pump(DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        Application->ProcessMessages();
        ::Sleep(10);
    }
}

// Screenshots for the documentation: the main window in each skin.
int saveShots(TDemoForm* form, const std::wstring& folder) {
    form->Show();
    ::SetForegroundWindow(form->Handle());
    pump(800);
    int saved = 0;
    for (const char* name : kSkins) {
        form->UseSkin(name);
        pump(900);
        const std::wstring path = folder + L"\\demo-" + Utf8ToWide(name) + L".bmp";
        if (test::saveBmp(test::captureWindow(form->Handle()), path)) ++saved;
    }
    return saved == 3 ? 0 : 1;
}

}  // namespace qs::demo

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    using namespace qs;
    Application->Initialize();
    auto* form = Application->CreateForm<demo::TDemoForm>();
    int argc = 0;
    LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv && argc >= 3 && std::wstring(argv[1]) == L"/shots") {
        const int rc = demo::saveShots(form, argv[2]);
        ::LocalFree(argv);
        return rc;
    }
    if (argv) ::LocalFree(argv);
    Application->Run();
    return 0;
}
