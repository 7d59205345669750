#include "MenuBarAccessible.h"

#include <oleacc.h>

#include <string>

#include "SkinForm.h"
#include "SkinMenu.h"

namespace qs {

namespace {

// The caption as a screen reader says it: no accelerator marks, no
// shortcut after a tab.
std::wstring spokenCaption(const std::wstring& caption) {
    std::wstring out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const wchar_t c = caption[i];
        if (c == L'\t') break;
        if (c == L'&') {
            // "&&" is a plain ampersand; a single one marks the next letter.
            if (i + 1 < caption.size() && caption[i + 1] == L'&') {
                out += L'&';
                ++i;
            }
            continue;
        }
        out += c;
    }
    return out;
}

wchar_t accelOf(const std::wstring& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i)
        if (caption[i] == L'&') {
            if (caption[i + 1] != L'&') return caption[i + 1];
            ++i;
        }
    return 0;
}

HRESULT putString(BSTR* out, const std::wstring& s) {
    if (!out) return E_POINTER;
    *out = s.empty() ? nullptr : ::SysAllocStringLen(s.data(), UINT(s.size()));
    return s.empty() ? S_FALSE : (*out ? S_OK : E_OUTOFMEMORY);
}

class TMenuBarAccessible final : public IAccessible {
public:
    explicit TMenuBarAccessible(HWND wnd) : FWnd(wnd) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(::InterlockedIncrement(&FRefs)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = ::InterlockedDecrement(&FRefs);
        if (n == 0) delete this;
        return ULONG(n);
    }

    // IDispatch: reached through IAccessible's own methods only.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!bar()) return CO_E_OBJNOTCONNECTED;
        return ::CreateStdAccessibleObject(FWnd, OBJID_WINDOW, IID_IDispatch, reinterpret_cast<void**>(out));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override {
        if (!n) return E_POINTER;
        TWinSkinMenu* b = bar();
        *n = b ? long(b->FButtons.size()) : 0;
        return b ? S_OK : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** out) override {
        if (out) *out = nullptr;
        return bar() ? S_FALSE : CO_E_OBJNOTCONNECTED;  // the items are simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
        if (out) *out = nullptr;
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(child, b);
        if (hr != S_OK) return hr;
        return putString(out, b ? spokenCaption(b->FCaption) : std::wstring(L"Application"));
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
        if (!out) return E_POINTER;
        ::VariantInit(out);
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(child, b);
        if (hr != S_OK) return hr;
        out->vt = VT_I4;
        out->lVal = b ? ROLE_SYSTEM_MENUITEM : ROLE_SYSTEM_MENUBAR;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
        if (!out) return E_POINTER;
        ::VariantInit(out);
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(child, b);
        if (hr != S_OK) return hr;
        long state = 0;
        if (b) {
            if (!b->FItemEnabled) state |= STATE_SYSTEM_UNAVAILABLE;
            if (b->FSubMenu) state |= STATE_SYSTEM_HASPOPUP;
            if (!b->FVisible || b->FCaption.empty()) state |= STATE_SYSTEM_INVISIBLE;
            const TMenuTracking& t = MenuTracking();
            if (t.form == TWinSkinForm::FromWindow(FWnd) && t.openIndex == bar()->IndexOf(b))
                state |= STATE_SYSTEM_HOTTRACKED | STATE_SYSTEM_FOCUSED;
            state |= STATE_SYSTEM_FOCUSABLE;
        }
        out->vt = VT_I4;
        out->lVal = state;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) override {
        if (out) *out = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        if (out) *out = nullptr;
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(child, b);
        if (hr != S_OK) return hr;
        const wchar_t ch = b ? accelOf(b->FCaption) : 0;
        return putString(out, ch ? std::wstring(L"Alt+") + ch : std::wstring());
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        if (!out) return E_POINTER;
        ::VariantInit(out);
        return bar() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        if (!out) return E_POINTER;
        ::VariantInit(out);
        return bar() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
        if (out) *out = nullptr;
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(child, b);
        if (hr != S_OK) return hr;
        if (!b) return S_FALSE;
        return putString(out, b->FSubMenu ? L"Open" : L"Execute");
    }
    HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return bar() ? S_FALSE : CO_E_OBJNOTCONNECTED; }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        if (!x || !y || !w || !h) return E_POINTER;
        *x = *y = *w = *h = 0;
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(child, b);
        if (hr != S_OK) return hr;
        RECT wr{};
        ::GetWindowRect(FWnd, &wr);
        const RECT r = b ? b->FBoundsRect : bar()->BandRect();
        *x = wr.left + r.left;
        *y = wr.top + r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* out) override {
        if (!out) return E_POINTER;
        ::VariantInit(out);
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(start, b);
        if (hr != S_OK) return hr;
        const long n = long(bar()->FButtons.size());
        long to = 0;
        switch (dir) {
            case NAVDIR_FIRSTCHILD: to = b ? 0 : 1; break;
            case NAVDIR_LASTCHILD: to = b ? 0 : n; break;
            case NAVDIR_NEXT:
            case NAVDIR_RIGHT: to = b ? start.lVal + 1 : 0; break;
            case NAVDIR_PREVIOUS:
            case NAVDIR_LEFT: to = b ? start.lVal - 1 : 0; break;
            default: return E_INVALIDARG;
        }
        if (to < 1 || to > n) return S_FALSE;
        out->vt = VT_I4;
        out->lVal = to;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        if (!out) return E_POINTER;
        ::VariantInit(out);
        TWinSkinMenu* m = bar();
        if (!m) return CO_E_OBJNOTCONNECTED;
        RECT wr{};
        ::GetWindowRect(FWnd, &wr);
        const POINT p{x - wr.left, y - wr.top};
        const RECT band = m->BandRect();
        if (!::PtInRect(&band, p)) return S_FALSE;
        out->vt = VT_I4;
        out->lVal = CHILDID_SELF;
        if (TMenuBtn* b = m->ButtonAt(p)) out->lVal = m->IndexOf(b) + 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        TMenuBtn* b = nullptr;
        const HRESULT hr = resolve(child, b);
        if (hr != S_OK) return hr;
        if (!b) return DISP_E_MEMBERNOTFOUND;
        RECT wr{};
        ::GetWindowRect(FWnd, &wr);
        const int x = wr.left + (b->FBoundsRect.left + b->FBoundsRect.right) / 2;
        const int y = wr.top + (b->FBoundsRect.top + b->FBoundsRect.bottom) / 2;
        ::PostMessageW(FWnd, WM_SKIN_MENUBAR_CLICK, 0, MAKELPARAM(x, y));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    // The bar as it is now; null once the window lost its skin or its menu.
    TWinSkinMenu* bar() const {
        TWinSkinForm* fs = ::IsWindow(FWnd) ? TWinSkinForm::FromWindow(FWnd) : nullptr;
        return fs ? fs->FSkinMenu : nullptr;
    }
    // child: CHILDID_SELF (b stays null) or a 1-based item.
    HRESULT resolve(const VARIANT& child, TMenuBtn*& b) const {
        b = nullptr;
        TWinSkinMenu* m = bar();
        if (!m) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) return S_OK;
        b = m->Button(int(child.lVal) - 1);
        return b ? S_OK : E_INVALIDARG;
    }

    HWND FWnd;
    LONG FRefs = 1;
};

}  // namespace

LRESULT AnswerMenuBarObject(HWND wnd, WPARAM wParam) {
    TWinSkinForm* fs = TWinSkinForm::FromWindow(wnd);
    if (!fs || !fs->FSkinMenu) return 0;
    auto* obj = new TMenuBarAccessible(wnd);
    const LRESULT r = ::LresultFromObject(IID_IAccessible, wParam, obj);
    obj->Release();
    return r < 0 ? 0 : r;
}

}  // namespace qs
