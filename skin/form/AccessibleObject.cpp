#include "AccessibleObject.h"

#include <oleacc.h>

#include "Messages.h"

namespace qs {

namespace {

BSTR bstrOrNull(const std::wstring& s) { return s.empty() ? nullptr : ::SysAllocStringLen(s.data(), UINT(s.size())); }

class TAccessibleObject final : public IAccessible {
public:
    TAccessibleObject(HWND wnd, const TAccessibleModel& model) : FWnd(wnd), FModel(model) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&FRefs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = ::InterlockedDecrement(&FRefs);
        if (n == 0) delete this;
        return ULONG(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        return ::AccessibleObjectFromWindow(FWnd, DWORD(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
        if (!n) return E_POINTER;
        *n = 0;
        // An object whose element is gone (the window unskinned) says so.
        TAccessibleItem self;
        if (!::IsWindow(FWnd) || !FModel.item(FWnd, CHILDID_SELF, self)) return CO_E_OBJNOTCONNECTED;
        *n = FModel.count(FWnd);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (!child) return E_POINTER;
        *child = nullptr;
        int c = 0;
        return childOf(id, c) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* out) override {
        return text(id, out, &TAccessibleItem::name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* out) override {
        return text(id, out, &TAccessibleItem::value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* out) override { return none(id, out); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        if (!role) return E_POINTER;
        TAccessibleItem it;
        const HRESULT hr = read(id, it);
        if (hr != S_OK) return hr;
        role->vt = VT_I4;
        role->lVal = it.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        if (!state) return E_POINTER;
        TAccessibleItem it;
        const HRESULT hr = read(id, it);
        if (hr != S_OK) return hr;
        state->vt = VT_I4;
        state->lVal = it.state;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* out) override { return none(id, out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* out) override {
        return text(id, out, &TAccessibleItem::shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* id) override {
        if (!id) return E_POINTER;
        id->vt = VT_EMPTY;
        TAccessibleItem self;
        if (!::IsWindow(FWnd) || !FModel.item(FWnd, CHILDID_SELF, self) || !(self.state & STATE_SYSTEM_FOCUSED))
            return S_FALSE;
        id->vt = VT_I4;
        id->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* ids) override {
        if (!ids) return E_POINTER;
        ids->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* out) override {
        return text(id, out, &TAccessibleItem::action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT id) override {
        if (!x || !y || !w || !h) return E_POINTER;
        *x = *y = *w = *h = 0;
        TAccessibleItem it;
        const HRESULT hr = read(id, it);
        if (hr != S_OK) return hr;
        *x = it.bounds.left;
        *y = it.bounds.top;
        *w = it.bounds.right - it.bounds.left;
        *h = it.bounds.bottom - it.bounds.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        end->vt = VT_EMPTY;
        int c = 0;
        if (!childOf(start, c)) return E_INVALIDARG;
        const int n = FModel.count(FWnd);
        int target = 0;
        switch (dir) {
            case NAVDIR_FIRSTCHILD: target = c == 0 && n > 0 ? 1 : 0; break;
            case NAVDIR_LASTCHILD: target = c == 0 ? n : 0; break;
            // The elements stand in one row: right is next, left previous.
            case NAVDIR_NEXT:
            case NAVDIR_RIGHT: target = c > 0 && c < n ? c + 1 : 0; break;
            case NAVDIR_PREVIOUS:
            case NAVDIR_LEFT: target = c > 1 ? c - 1 : 0; break;
            default: break;
        }
        if (target <= 0) return S_FALSE;
        end->vt = VT_I4;
        end->lVal = target;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* id) override {
        if (!id) return E_POINTER;
        id->vt = VT_EMPTY;
        if (!::IsWindow(FWnd)) return CO_E_OBJNOTCONNECTED;
        const POINT p{x, y};
        const int n = FModel.count(FWnd);
        for (int c = n; c >= 0; --c) {
            TAccessibleItem it;
            if (!FModel.item(FWnd, c, it) || (it.state & STATE_SYSTEM_INVISIBLE) || !::PtInRect(&it.bounds, p)) continue;
            id->vt = VT_I4;
            id->lVal = c;
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        TAccessibleItem it;
        const HRESULT hr = read(id, it);
        if (hr != S_OK) return hr;
        if (it.action.empty() || !FModel.act || (it.state & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE)))
            return DISP_E_MEMBERNOTFOUND;
        return FModel.act(FWnd, int(id.lVal)) ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    bool childOf(const VARIANT& v, int& child) const {
        if (v.vt != VT_I4 || v.lVal < 0 || !::IsWindow(FWnd) || v.lVal > FModel.count(FWnd)) return false;
        child = int(v.lVal);
        return true;
    }
    HRESULT read(const VARIANT& id, TAccessibleItem& it) const {
        int c = 0;
        if (!::IsWindow(FWnd)) return CO_E_OBJNOTCONNECTED;
        if (!childOf(id, c)) return E_INVALIDARG;
        return FModel.item(FWnd, c, it) ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT text(const VARIANT& id, BSTR* out, std::wstring TAccessibleItem::*field) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        TAccessibleItem it;
        const HRESULT hr = read(id, it);
        if (hr != S_OK) return hr;
        *out = bstrOrNull(it.*field);
        return *out ? S_OK : S_FALSE;
    }
    HRESULT none(const VARIANT& id, BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        int c = 0;
        return childOf(id, c) ? S_FALSE : E_INVALIDARG;
    }

    HWND FWnd;
    TAccessibleModel FModel;
    LONG FRefs = 1;
};

}  // namespace

bool AnswerAccessibleObject(HWND wnd, LONG objectId, const TAccessibleModel& model, TMessage& m) {
    if (LONG(DWORD(m.LParam)) != objectId || !wnd) return false;
    auto* object = new TAccessibleObject(wnd, model);
    const LRESULT r = ::LresultFromObject(__uuidof(IAccessible), m.WParam, object);
    object->Release();
    // Without COM on this thread nothing can be handed out: the system's
    // own answer is better than none.
    if (FAILED(HRESULT(r))) return false;
    m.Result = r;
    return true;
}

}  // namespace qs
