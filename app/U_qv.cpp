#include "U_qv.h"

#include <ocidl.h>

#include "QvShell.h"
#include "WinSkinData.h"

namespace qv {

TF_qv* F_qv = nullptr;

TViewerOptions& ViewerOptions() {
    static TViewerOptions options;
    return options;
}

const TClassInfo& TF_qv::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TF_qv>("TF_qv", &TForm::StaticClassInfo()).build();
    return info;
}

TF_qv::TF_qv(TComponent* owner) : TForm(owner) {
    F_qv = this;
    DefineMethod("FormCreate", TNotifyEvent([this](TObject* s) { FormCreate(s); }));
    DefineMethod("FormShow", TNotifyEvent([this](TObject* s) { FormShow(s); }));
    DefineMethod("FormClose", TCloseEvent([this](TObject* s, TCloseAction& a) { FormClose(s, a); }));
    DefineMethod("N1Click", TNotifyEvent([this](TObject* s) { N1Click(s); }));
    DefineMethod("N2Click", TNotifyEvent([this](TObject* s) { N2Click(s); }));
    DefineMethod("STB_mainDblClick", TNotifyEvent([this](TObject* s) { STB_mainDblClick(s); }));
    DefineMethod("T_1Timer", TNotifyEvent([this](TObject* s) { T_1Timer(s); }));
    DefineMethod("WB_qvDocumentComplete",
                 TWebBrowserDocumentCompleteEvent(
                     [this](TObject* s, IDispatch* d, const VARIANT& u) { WB_qvDocumentComplete(s, d, u); }));
    SetMessageHandler(WM_HOTKEY, [this](TMessage& m) { OnWMHotKey(m); });
    SetMessageHandler(kTrayMessage, [this](TMessage& m) { OnTrayIcon(m); });
    // A shell that starts again has forgotten the icon. A hidden window
    // without its icon has no way back: it shows itself instead.
    SetMessageHandler(RegisterWindowMessageW(L"TaskbarCreated"), [this](TMessage& m) {
        m.Result = 0;
        if (IsWindowVisible(Handle())) {
            FTray.Remove();
        } else if (!FTray.Restore()) {
            Show();
        }
    });
    // Shown by anyone (a ShowWindow from another program too): the icon goes.
    SetMessageHandler(WM_SHOWWINDOW, [this](TMessage& m) {
        if (m.WParam) FTray.Remove();
        DefaultHandler(m);
    });
    ReadFormDefinition();
}

TF_qv::~TF_qv() {
    FTray.Remove();
    if (F_qv == this) F_qv = nullptr;
}

void TF_qv::Loaded() {
    TForm::Loaded();
    STB_main = dynamic_cast<TStatusBar*>(FindComponent("STB_main"));
    Panel1 = dynamic_cast<TPanel*>(FindComponent("Panel1"));
    Panel2 = dynamic_cast<TPanel*>(FindComponent("Panel2"));
    WB_qv = dynamic_cast<TWebBrowser*>(FindComponent("WB_qv"));
    SD = dynamic_cast<TSkinData*>(FindComponent("SD"));
    T_1 = dynamic_cast<TTimer*>(FindComponent("T_1"));
    PM_1 = dynamic_cast<TPopupMenu*>(FindComponent("PM_1"));
    N1 = dynamic_cast<TMenuItem*>(FindComponent("N1"));
    N2 = dynamic_cast<TMenuItem*>(FindComponent("N2"));
    // Before the window exists, so nothing is skinned on the way.
    if (SD && ViewerOptions().skinningOff) SD->SetActive(false);
}

void TF_qv::FormCreate(TObject*) {
    RegisterHotKey(Handle(), kHotKeyId, kHotKeyModifiers, kHotKeyKey);

    auto stream = std::make_unique<TMemoryStream>(pageFragment());
    try {
        WB_qv->Navigate(L"about:blank");
    } catch (...) {
        // No browser control: the page area says so, and the error still goes
        // to the application's report. The rest of the viewer works without
        // it, so the form is still made.
        ShowPageNotice();
        ReportCurrentException();
        return;
    }
    try {
        stream->SetPosition(0);
        // The adapter leaves the stream to us: the document may keep or drop
        // the adapter as it likes.
        IStream* adapter = new TStreamAdapter(stream.get(), TStreamOwnership::soReference);
        IDispatch* doc = WB_qv->Document();
        if (!doc) {
            adapter->Release();
            throw std::runtime_error("no document");
        }
        IPersistStreamInit* persist = nullptr;
        HRESULT hr = doc->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
        doc->Release();
        if (FAILED(hr) || !persist) {
            adapter->Release();
            throw std::runtime_error("the document cannot load a stream");
        }
        hr = persist->Load(adapter);
        persist->Release();
        adapter->Release();
        if (FAILED(hr)) throw std::runtime_error("the document did not load the fragment");
        WB_qv->SetSilent(true);
        FPageStream = std::move(stream);
    } catch (...) {
        // No document to write into (no HTML engine): nothing is reported,
        // and instead of a blank page the page area explains itself.
        ShowPageNotice();
    }
}

void TF_qv::ShowPageNotice() {
    if (FPageNotice || !Panel2) return;
    FPageNotice = new TQvPageNotice(this);
    FPageNotice->SetSkinData(SD);
    const std::string url = channelPageUrl();
    FPageNotice->SetAddress(std::wstring(url.begin(), url.end()));
    FPageNotice->SetBoundsRect(WB_qv ? WB_qv->BoundsRect() : Panel2->ClientRect());
    FPageNotice->SetAlign(alClient);
    FPageNotice->SetPopupMenu(PM_1);  // the browser's menu goes with its place
    FPageNotice->SetParent(Panel2);
    if (WB_qv) WB_qv->SetVisible(false);
}

void TF_qv::FormShow(TObject*) {}

void TF_qv::DoShow() {
    FTray.Remove();
    TForm::DoShow();
}

void TF_qv::FormClose(TObject*, TCloseAction& action) { action = caFree; }

void TF_qv::OnWMHotKey(TMessage& msg) {
    msg.Result = 0;
    if (msg.WParam != WPARAM(kHotKeyId)) return;
    if (Visible()) {
        // Without the icon a hidden window could not be found again.
        if (!FTray.Add(Handle(), Application->Icon(), kViewerName)) {
            FTray.Remove();
            return;
        }
        Hide();
    } else {
        Show();
    }
}

void TF_qv::OnTrayIcon(TMessage& msg) {
    msg.Result = 0;
    switch (LOWORD(msg.LParam)) {
        case WM_LBUTTONUP: Show(); break;
        case WM_RBUTTONUP: TrayMenu(); break;
        default: break;
    }
}

void TF_qv::TrayMenu() {
    enum : UINT { cmdShow = 1, cmdTop, cmdNotTop, cmdExit };
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, cmdShow, L"\u663e\u793a\u7a97\u53e3");  // show the window
    AppendMenuW(menu, MF_STRING, cmdTop, N1 ? N1->Caption().c_str() : L"");
    AppendMenuW(menu, MF_STRING, cmdNotTop, N2 ? N2->Caption().c_str() : L"");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, cmdExit, L"\u9000\u51fa");  // exit
    SetMenuDefaultItem(menu, cmdShow, FALSE);
    POINT at{};
    GetCursorPos(&at);
    // Without this the menu stays open when the user clicks elsewhere.
    SetForegroundWindow(Handle());
    const UINT cmd = UINT(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr));
    PostMessageW(Handle(), WM_NULL, 0, 0);
    DestroyMenu(menu);
    switch (cmd) {
        case cmdShow: Show(); break;
        case cmdTop: if (N1) N1->Click(); break;
        case cmdNotTop: if (N2) N2->Click(); break;
        case cmdExit: Close(); break;
        default: break;
    }
}

void TF_qv::N1Click(TObject*) { SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

void TF_qv::N2Click(TObject*) { SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

void TF_qv::STB_mainDblClick(TObject*) { openHelpPage(); }

void TF_qv::T_1Timer(TObject*) {
    createlnk();
    T_1->SetEnabled(false);
}

void TF_qv::createlnk() { createDesktopShortcut(); }

void TF_qv::WB_qvDocumentComplete(TObject*, IDispatch*, const VARIANT&) {
    // Late bound, as the page's own object model: Document.body.Scroll = "no".
    IWebBrowser2* browser = WB_qv->Browser();
    if (!browser) throw std::runtime_error("the web browser control is not available");
    VARIANT doc, body;
    HRESULT hr = GetDispProperty(browser, L"Document", &doc);
    if (FAILED(hr) || doc.vt != VT_DISPATCH || !doc.pdispVal) {
        VariantClear(&doc);
        throw std::runtime_error("the browser has no document");
    }
    hr = GetDispProperty(doc.pdispVal, L"body", &body);
    VariantClear(&doc);
    if (FAILED(hr) || body.vt != VT_DISPATCH || !body.pdispVal) {
        VariantClear(&body);
        throw std::runtime_error("the document has no body");
    }
    VARIANT no;
    no.vt = VT_BSTR;
    no.bstrVal = SysAllocString(L"no");
    hr = PutDispProperty(body.pdispVal, L"Scroll", no);
    VariantClear(&no);
    VariantClear(&body);
    if (FAILED(hr)) throw std::runtime_error("cannot set the body's Scroll attribute");
}

void RegisterViewerClasses() {
    RegisterControlClasses();
    RegisterGraphicsClasses();
    RegisterSkinDataClasses();
    RegisterComponentClass(TF_qv::StaticClassInfo());
    RegisterComponentClass(TWebBrowser::StaticClassInfo());
}

}  // namespace qv
