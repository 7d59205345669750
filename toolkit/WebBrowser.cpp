#include "WebBrowser.h"

namespace qs {

const TClassInfo& TWebBrowser::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TWebBrowser>("TWebBrowser", &TWinControl::StaticClassInfo())
            .creatable()
            .boolean("Silent", [](const TWebBrowser& b) { return const_cast<TWebBrowser&>(b).Silent(); },
                     [](TWebBrowser& b, bool v) { b.SetSilent(v); })
            .event<TWebBrowserDocumentCompleteEvent>(
                "OnDocumentComplete", [](const TWebBrowser& b) { return b.OnDocumentComplete; },
                [](TWebBrowser& b, const TWebBrowserDocumentCompleteEvent& f) { b.OnDocumentComplete = f; })
            .build();
    return info;
}

TWebBrowser::TWebBrowser(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 100, 50);
    SetTabStop(true);
}

TWebBrowser::~TWebBrowser() {
    CloseHost();
    if (FOleInitialised) OleUninitialize();
}

void TWebBrowser::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.WinClassName = L"TWebBrowser";
}

void TWebBrowser::CreateHandle() {
    TWinControl::CreateHandle();
    if (IsDesigning() || FHost) return;
    // In-place activation needs OLE on this thread; balanced in the destructor.
    if (!FOleInitialised) FOleInitialised = SUCCEEDED(OleInitialize(nullptr));
    RECT r = ClientRect();
    FCreateResult = TWebBrowserHost::Create(HandleIfAllocated(), r, &FHost);
    if (FHost)
        FHost->OnDocumentComplete = [this](IDispatch* disp, VARIANT* url) {
            VARIANT none;
            VariantInit(&none);
            DocumentComplete(disp, url ? *url : none);
        };
}

void TWebBrowser::DestroyWnd() {
    CloseHost();
    TWinControl::DestroyWnd();
}

void TWebBrowser::CloseHost() {
    if (!FHost) return;
    FHost->Close();
    FHost->Release();
    FHost = nullptr;
}

void TWebBrowser::WndProc(TMessage& msg) {
    TWinControl::WndProc(msg);
    if (msg.Msg == WM_SIZE && FHost) FHost->SetBounds(ClientRect());
}

IWebBrowser2* TWebBrowser::Browser() {
    if (!FHost && !IsDesigning()) HandleNeeded();
    return FHost ? FHost->Browser() : nullptr;
}

void TWebBrowser::Navigate(const std::wstring& url) {
    IWebBrowser2* b = Browser();
    if (!b) throw std::runtime_error("the web browser control is not available");
    VARIANT empty;
    VariantInit(&empty);
    BSTR u = SysAllocString(url.c_str());
    HRESULT hr = b->Navigate(u, &empty, &empty, &empty, &empty);
    SysFreeString(u);
    if (FAILED(hr)) throw std::runtime_error("navigation failed");
}

IDispatch* TWebBrowser::Document() {
    IWebBrowser2* b = Browser();
    IDispatch* doc = nullptr;
    if (b && b->get_Document(&doc) != S_OK && doc) {
        doc->Release();
        doc = nullptr;
    }
    return doc;
}

bool TWebBrowser::Silent() {
    IWebBrowser2* b = FHost ? FHost->Browser() : nullptr;
    VARIANT_BOOL v = VARIANT_FALSE;
    if (b) b->get_Silent(&v);
    return v != VARIANT_FALSE;
}

void TWebBrowser::SetSilent(bool on) {
    IWebBrowser2* b = Browser();
    if (!b) throw std::runtime_error("the web browser control is not available");
    b->put_Silent(on ? VARIANT_TRUE : VARIANT_FALSE);
}

void TWebBrowser::DocumentComplete(IDispatch* disp, const VARIANT& url) {
    if (OnDocumentComplete) OnDocumentComplete(this, disp, url);
}

}  // namespace qs
