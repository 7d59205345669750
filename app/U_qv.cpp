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
    ReadFormDefinition();
}

TF_qv::~TF_qv() {
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
    WB_qv->Navigate(L"about:blank");
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
        // The window stays on the blank page, without a word.
    }
}

void TF_qv::FormShow(TObject*) {}

void TF_qv::FormClose(TObject*, TCloseAction& action) { action = caFree; }

void TF_qv::OnWMHotKey(TMessage& msg) {
    msg.Result = 0;
    if (msg.WParam != WPARAM(kHotKeyId)) return;
    if (Visible())
        Hide();
    else
        Show();
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
