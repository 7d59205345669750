#pragma once
// Hosts the system's WebBrowser ActiveX control in place inside a window:
// our own minimal OLE site (client site, in-place site and frame) plus a sink
// for the control's DWebBrowserEvents2. Under Wine there is no HTML engine, so
// the control is created but documents fail to load; callers handle that path.
#include <windows.h>
#include <exdisp.h>
#include <ole2.h>

#include <functional>

namespace qs {

class TWebBrowserHost final : public IOleClientSite,
                              public IOleInPlaceSite,
                              public IOleInPlaceFrame,
                              public IDispatch {
public:
    // Creates and activates the control inside `parent` at `bounds` (client
    // coordinates). Returns the failing HRESULT when the control cannot be made.
    static HRESULT Create(HWND parent, const RECT& bounds, TWebBrowserHost** out);
    // Deactivates the control and drops every interface; safe to call twice.
    void Close();

    IWebBrowser2* Browser() const { return FBrowser; }
    HWND ParentWindow() const { return FParent; }
    void SetBounds(const RECT& bounds);

    // Fired for every document-complete event of the control (any frame).
    std::function<void(IDispatch* disp, VARIANT* url)> OnDocumentComplete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IOleClientSite
    STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
    STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetContainer(IOleContainer** c) override {
        *c = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP ShowObject() override { return S_OK; }
    STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
    STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
    // IOleWindow (shared by the site and the frame)
    STDMETHODIMP GetWindow(HWND* wnd) override {
        *wnd = FParent;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    // IOleInPlaceSite
    STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnInPlaceActivate() override { return S_OK; }
    STDMETHODIMP OnUIActivate() override { return S_OK; }
    STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos, LPRECT clip,
                                  LPOLEINPLACEFRAMEINFO info) override;
    STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
    STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
    STDMETHODIMP OnInPlaceDeactivate() override { return S_OK; }
    STDMETHODIMP DiscardUndoState() override { return E_NOTIMPL; }
    STDMETHODIMP DeactivateAndUndo() override { return E_NOTIMPL; }
    STDMETHODIMP OnPosRectChange(LPCRECT rect) override;
    // IOleInPlaceUIWindow / IOleInPlaceFrame
    STDMETHODIMP GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS) override { return S_OK; }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
    // IDispatch: the event sink
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override;

private:
    TWebBrowserHost() = default;
    ~TWebBrowserHost() = default;
    HRESULT Init(HWND parent, const RECT& bounds);

    LONG FRefs = 1;
    HWND FParent = nullptr;
    RECT FBounds{};
    IOleObject* FOle = nullptr;
    IWebBrowser2* FBrowser = nullptr;
    IConnectionPoint* FEvents = nullptr;
    DWORD FCookie = 0;
};

// Late-bound property access on an automation object (by name, not by id).
HRESULT GetDispProperty(IDispatch* obj, const wchar_t* name, VARIANT* result);
HRESULT PutDispProperty(IDispatch* obj, const wchar_t* name, const VARIANT& value);

}  // namespace qs
