#include "WebBrowserHost.h"

#include <exdispid.h>

#include "Controls.h"

namespace qs {

HRESULT TWebBrowserHost::Create(HWND parent, const RECT& bounds, TWebBrowserHost** out) {
    *out = nullptr;
    auto* host = new TWebBrowserHost();
    HRESULT hr = host->Init(parent, bounds);
    if (FAILED(hr)) {
        host->Close();
        host->Release();
        return hr;
    }
    *out = host;
    return S_OK;
}

HRESULT TWebBrowserHost::Init(HWND parent, const RECT& bounds) {
    FParent = parent;
    FBounds = bounds;
    HRESULT hr = CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&FOle));
    if (FAILED(hr)) return hr;
    hr = FOle->SetClientSite(static_cast<IOleClientSite*>(this));
    if (FAILED(hr)) return hr;
    OleSetContainedObject(FOle, TRUE);
    hr = FOle->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, static_cast<IOleClientSite*>(this), 0, FParent, &FBounds);
    if (FAILED(hr)) return hr;
    hr = FOle->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&FBrowser));
    if (FAILED(hr)) return hr;
    SetBounds(bounds);
    // Events: a missing connection point only costs us the document-complete step.
    IConnectionPointContainer* cpc = nullptr;
    if (SUCCEEDED(FBrowser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
        if (SUCCEEDED(cpc->FindConnectionPoint(DIID_DWebBrowserEvents2, &FEvents)) &&
            FAILED(FEvents->Advise(static_cast<IDispatch*>(this), &FCookie))) {
            FEvents->Release();
            FEvents = nullptr;
        }
        cpc->Release();
    }
    return S_OK;
}

void TWebBrowserHost::Close() {
    if (FEvents) {
        FEvents->Unadvise(FCookie);
        FEvents->Release();
        FEvents = nullptr;
    }
    if (FBrowser) {
        FBrowser->Release();
        FBrowser = nullptr;
    }
    if (FOle) {
        FOle->Close(OLECLOSE_NOSAVE);
        FOle->SetClientSite(nullptr);
        FOle->Release();
        FOle = nullptr;
    }
    OnDocumentComplete = nullptr;
}

void TWebBrowserHost::SetBounds(const RECT& bounds) {
    FBounds = bounds;
    if (!FOle) return;
    IOleInPlaceObject* ipo = nullptr;
    if (SUCCEEDED(FOle->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ipo)))) {
        ipo->SetObjectRects(&FBounds, &FBounds);
        ipo->Release();
    }
}

STDMETHODIMP TWebBrowserHost::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *out = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *out = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame)
        *out = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2)
        *out = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TWebBrowserHost::AddRef() { return ULONG(InterlockedIncrement(&FRefs)); }

STDMETHODIMP_(ULONG) TWebBrowserHost::Release() {
    LONG n = InterlockedDecrement(&FRefs);
    if (n == 0) delete this;
    return ULONG(n);
}

STDMETHODIMP TWebBrowserHost::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                               LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    *frame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *doc = nullptr;
    *pos = FBounds;
    *clip = FBounds;
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = FParent;
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

STDMETHODIMP TWebBrowserHost::OnPosRectChange(LPCRECT rect) {
    if (rect) SetBounds(*rect);
    return S_OK;
}

STDMETHODIMP TWebBrowserHost::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
    if (id == DISPID_DOCUMENTCOMPLETE && OnDocumentComplete) {
        // Arguments arrive last first: (pDisp, URL) as [1], [0].
        IDispatch* disp = nullptr;
        VARIANT* url = nullptr;
        if (params && params->cArgs >= 2) {
            VARIANT& a = params->rgvarg[1];
            if (a.vt == VT_DISPATCH) disp = a.pdispVal;
            url = &params->rgvarg[0];
        }
        // The control called us: nothing may unwind back into it.
        try {
            auto handler = OnDocumentComplete;  // the handler may close us
            handler(disp, url);
        } catch (...) {
            ReportCurrentException();
        }
    }
    return S_OK;
}

static HRESULT dispId(IDispatch* obj, const wchar_t* name, DISPID* id) {
    LPOLESTR n = const_cast<LPOLESTR>(name);
    return obj->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, id);
}

HRESULT GetDispProperty(IDispatch* obj, const wchar_t* name, VARIANT* result) {
    if (!obj) return E_POINTER;
    VariantInit(result);
    DISPID id;
    HRESULT hr = dispId(obj, name, &id);
    if (FAILED(hr)) return hr;
    DISPPARAMS none{};
    return obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, result, nullptr, nullptr);
}

HRESULT PutDispProperty(IDispatch* obj, const wchar_t* name, const VARIANT& value) {
    if (!obj) return E_POINTER;
    DISPID id;
    HRESULT hr = dispId(obj, name, &id);
    if (FAILED(hr)) return hr;
    DISPID put = DISPID_PROPERTYPUT;
    VARIANT arg = value;
    DISPPARAMS p{&arg, &put, 1, 1};
    return obj->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr);
}

}  // namespace qs
