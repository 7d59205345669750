#include "TitleBarAccess.h"

#include <oleacc.h>

#include <string>

#include "Messages.h"
#include "SkinForm.h"
#include "SkinRecords.h"

namespace qs {

int TitleBarChildOfAction(int action) {
    switch (action) {
        case 0: return tbClose;
        case 1:
        case 22: return tbMaximize;
        case 2:
        case 23: return tbMinimize;
        default: return tbSelf;
    }
}

namespace {

bool shown(const TWinSysButton& b) {
    return b.FVisible && b.FData && !b.FData->Bitmap.Empty() && b.FData->Visibility != 100 &&
           !::IsRectEmpty(&b.FBoundsRect);
}

// The caption button standing for a child: the one the skin shows, else any
// (then reported invisible), else none.
TWinSysButton* buttonFor(TWinSkinForm& fs, int child) {
    TWinSysButton* any = nullptr;
    for (auto& b : fs.FButtons) {
        if (!b->FData || TitleBarChildOfAction(b->FData->Action) != child) continue;
        if (shown(*b)) return b.get();
        if (!any) any = b.get();
    }
    return any;
}

// Frame coordinates (the caption buttons' rectangles) to the screen; the
// inverse of the form skin's WindowToFrame.
RECT frameToScreen(const TWinSkinForm& fs, RECT r) {
    POINT origin{0, 0};
    ::ClientToScreen(fs.FHandle, &origin);
    if (!(fs.FFormKind == 2 && fs.FWindowState == wsMinimizedKind)) {
        origin.x -= fs.FLeftWidth;
        origin.y -= fs.FTitleHeight + fs.FMenuHeight;
    }
    ::OffsetRect(&r, origin.x, origin.y);
    return r;
}

BSTR bstr(const std::wstring& s) { return ::SysAllocStringLen(s.data(), UINT(s.size())); }

class TTitleBarAccessible final : public IAccessible {
public:
    explicit TTitleBarAccessible(HWND wnd) : FWnd(wnd) {}

    // ---- IUnknown ----
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
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

    // ---- IDispatch: clients use the vtable ----
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // ---- IAccessible ----
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        return ::AccessibleObjectFromWindow(FWnd, DWORD(OBJID_WINDOW), IID_IDispatch, reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* n) override {
        if (!n) return E_POINTER;
        *n = tbChildCount;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
        if (!child) return E_POINTER;
        *child = nullptr;
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        return S_FALSE;  // the buttons are simple elements of this object
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        if (!form()) return CO_E_OBJNOTCONNECTED;
        switch (c) {
            case tbSelf: *name = bstr(windowText()); break;
            case tbIme: *name = bstr(L"IME"); break;
            case tbMinimize: *name = bstr(::IsIconic(FWnd) ? L"Restore" : L"Minimize"); break;
            case tbMaximize: *name = bstr(::IsZoomed(FWnd) ? L"Restore" : L"Maximize"); break;
            case tbHelp: *name = bstr(L"Help"); break;
            default: *name = bstr(L"Close"); break;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        if (c != tbSelf) return DISP_E_MEMBERNOTFOUND;
        *value = bstr(windowText());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override { return none(id, text); }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
        if (!role) return E_POINTER;
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = c == tbSelf ? ROLE_SYSTEM_TITLEBAR : ROLE_SYSTEM_PUSHBUTTON;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
        if (!state) return E_POINTER;
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        TWinSkinForm* fs = form();
        if (!fs) return CO_E_OBJNOTCONNECTED;
        LONG s = 0;
        if (c == tbSelf) {
            s = STATE_SYSTEM_FOCUSABLE;
            if (::GetForegroundWindow() == FWnd) s |= STATE_SYSTEM_FOCUSED;
            if (!::IsWindowVisible(FWnd)) s |= STATE_SYSTEM_INVISIBLE;
        } else {
            TWinSysButton* b = buttonFor(*fs, c);
            if (!b || !shown(*b)) {
                s = STATE_SYSTEM_INVISIBLE;
            } else {
                if (b->FState == ncsPressed) s |= STATE_SYSTEM_PRESSED;
                if (b->FState == ncsHot) s |= STATE_SYSTEM_HOTTRACKED;
                if (!b->FEnabled) s |= STATE_SYSTEM_UNAVAILABLE;
            }
        }
        state->vt = VT_I4;
        state->lVal = s;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* text) override { return none(id, text); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* text) override { return none(id, text); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* id) override {
        if (!id) return E_POINTER;
        id->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* ids) override {
        if (!ids) return E_POINTER;
        ids->vt = VT_EMPTY;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
        if (!action) return E_POINTER;
        *action = nullptr;
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        if (c == tbSelf) return S_FALSE;
        *action = bstr(L"Press");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h, VARIANT id) override {
        if (!x || !y || !w || !h) return E_POINTER;
        *x = *y = *w = *h = 0;
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        TWinSkinForm* fs = form();
        if (!fs) return CO_E_OBJNOTCONNECTED;
        RECT r{};
        if (c == tbSelf) {
            RECT wr{};
            ::GetWindowRect(FWnd, &wr);
            r = frameToScreen(*fs, RECT{0, 0, wr.right - wr.left, fs->FTitleHeight});
        } else {
            TWinSysButton* b = buttonFor(*fs, c);
            if (!b || !shown(*b)) return S_FALSE;
            r = frameToScreen(*fs, b->FBoundsRect);
        }
        *x = r.left;
        *y = r.top;
        *w = r.right - r.left;
        *h = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        end->vt = VT_EMPTY;
        int c = 0;
        if (!childOf(start, c)) return E_INVALIDARG;
        TWinSkinForm* fs = form();
        if (!fs) return CO_E_OBJNOTCONNECTED;
        int from = 0, step = 0;
        switch (dir) {
            case NAVDIR_FIRSTCHILD: if (c != tbSelf) return E_INVALIDARG; from = 1, step = 1; break;
            case NAVDIR_LASTCHILD: if (c != tbSelf) return E_INVALIDARG; from = tbChildCount, step = -1; break;
            case NAVDIR_NEXT: if (c == tbSelf) return S_FALSE; from = c + 1, step = 1; break;
            case NAVDIR_PREVIOUS: if (c == tbSelf) return S_FALSE; from = c - 1, step = -1; break;
            default: return S_FALSE;
        }
        for (int i = from; i >= 1 && i <= tbChildCount; i += step) {
            TWinSysButton* b = buttonFor(*fs, i);
            if (b && shown(*b)) {
                end->vt = VT_I4;
                end->lVal = i;
                return S_OK;
            }
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* id) override {
        if (!id) return E_POINTER;
        id->vt = VT_EMPTY;
        TWinSkinForm* fs = form();
        if (!fs) return CO_E_OBJNOTCONNECTED;
        const POINT p{x, y};
        for (int i = 1; i <= tbChildCount; ++i) {
            TWinSysButton* b = buttonFor(*fs, i);
            if (!b || !shown(*b)) continue;
            const RECT r = frameToScreen(*fs, b->FBoundsRect);
            if (::PtInRect(&r, p)) {
                id->vt = VT_I4;
                id->lVal = i;
                return S_OK;
            }
        }
        RECT wr{};
        ::GetWindowRect(FWnd, &wr);
        const RECT title = frameToScreen(*fs, RECT{0, 0, wr.right - wr.left, fs->FTitleHeight});
        if (!::PtInRect(&title, p)) return S_FALSE;
        id->vt = VT_I4;
        id->lVal = CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
        int c = 0;
        if (!childOf(id, c)) return E_INVALIDARG;
        if (c == tbSelf) return DISP_E_MEMBERNOTFOUND;
        TWinSkinForm* fs = form();
        if (!fs) return CO_E_OBJNOTCONNECTED;
        TWinSysButton* b = buttonFor(*fs, c);
        if (!b || !shown(*b) || !b->FEnabled) return DISP_E_MEMBERNOTFOUND;
        const RECT r = frameToScreen(*fs, b->FBoundsRect);
        // The same action as a click on the button.
        fs->DoButtonAction(b, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    // The object may outlive the skin (a client keeps it): every call looks
    // the form skin up again and answers "disconnected" once it is gone.
    TWinSkinForm* form() const {
        TWinSkinForm* fs = TWinSkinForm::FromWindow(FWnd);
        return fs && fs->FSkinState != ssDestroyed && fs->FSkinState != ssCreated ? fs : nullptr;
    }
    static bool childOf(const VARIANT& v, int& child) {
        if (v.vt != VT_I4 || v.lVal < 0 || v.lVal > tbChildCount) return false;
        child = int(v.lVal);
        return true;
    }
    HRESULT none(const VARIANT& id, BSTR* out) const {
        if (!out) return E_POINTER;
        *out = nullptr;
        int c = 0;
        return childOf(id, c) ? S_FALSE : E_INVALIDARG;
    }
    std::wstring windowText() const {
        std::wstring s(size_t(::GetWindowTextLengthW(FWnd)) + 1, L'\0');
        s.resize(size_t(::GetWindowTextW(FWnd, s.data(), int(s.size()))));
        return s;
    }

    HWND FWnd;
    LONG FRefs = 1;
};

}  // namespace

bool AnswerTitleBarObject(TWinSkinForm& fs, TMessage& m) {
    if (LONG(DWORD(m.LParam)) != LONG(OBJID_TITLEBAR)) return false;
    if (!fs.FSkinFrame || fs.FBorderKind == bkNoCaption || fs.FSkinState == ssCreated) return false;
    auto* object = new TTitleBarAccessible(fs.FHandle);
    const LRESULT r = ::LresultFromObject(IID_IAccessible, m.WParam, object);
    object->Release();
    // Without COM on this thread nothing can be handed out: the system's
    // own object is better than none.
    if (FAILED(HRESULT(r))) return false;
    m.Result = r;
    return true;
}

}  // namespace qs
