#include "EngineAccess.h"

#include <oleacc.h>

#include <array>

#include "Controls.h"
#include "Messages.h"
#include "ProgressGeometry.h"
#include "SkinDateTime.h"
#include "SkinMP.h"
#include "SkinScroll.h"

namespace qs {

namespace {

BSTR bstrOrNull(const std::wstring& s) { return s.empty() ? nullptr : ::SysAllocStringLen(s.data(), UINT(s.size())); }

class TEngineAccessible final : public IAccessible {
public:
    TEngineAccessible(HWND wnd, const TAccessibleModel& model) : FWnd(wnd), FModel(model) {}

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
        if (!::IsWindow(FWnd)) return CO_E_OBJNOTCONNECTED;
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
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* out) override { return none(id, out); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* id) override {
        if (!id) return E_POINTER;
        id->vt = VT_EMPTY;
        if (::GetFocus() != FWnd) return S_FALSE;
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
            case NAVDIR_NEXT: target = c > 0 && c < n ? c + 1 : 0; break;
            case NAVDIR_PREVIOUS: target = c > 1 ? c - 1 : 0; break;
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

// ---- scroll-bar covers: the system's scroll-bar object, children included ----

namespace {

TWScrollbar* coverOf(HWND wnd) { return dynamic_cast<TWScrollbar*>(FindControl(wnd)); }

int coverCount(HWND) { return 5; }

bool coverItem(HWND wnd, int child, TAccessibleItem& it) {
    TWScrollbar* cover = coverOf(wnd);
    if (!cover || !cover->FTargetHandle || !::IsWindow(cover->FTargetHandle)) return false;
    TScrollBarState bar;
    const bool known = cover->ReadBar(bar);
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    const bool shown = cover->FShown && ::IsWindowVisible(wnd) && known && !bar.invisible;
    const bool vertical = cover->FVertical != 0;
    if (child == 0) {
        it.role = ROLE_SYSTEM_SCROLLBAR;
        if (cover->FMode == TWScrollbar::kControl) {
            const int n = ::GetWindowTextLengthW(cover->FTargetHandle);
            it.name.resize(size_t(n) + 1);
            it.name.resize(size_t(::GetWindowTextW(cover->FTargetHandle, it.name.data(), n + 1)));
        } else {
            it.name = vertical ? L"Vertical" : L"Horizontal";
        }
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        const int kind = cover->FMode == TWScrollbar::kControl ? SB_CTL : vertical ? SB_VERT : SB_HORZ;
        if (::GetScrollInfo(cover->FTargetHandle, kind, &si)) {
            const int span = si.nMax - si.nMin + 1 - int(si.nPage > 0 ? si.nPage : 1);
            const int percent = span > 0 ? int((long long)(si.nPos - si.nMin) * 100 / span) : 0;
            it.value = std::to_wstring(percent < 0 ? 0 : percent > 100 ? 100 : percent);
        }
        it.state = (shown ? 0 : STATE_SYSTEM_INVISIBLE) | (known && bar.unavailable ? STATE_SYSTEM_UNAVAILABLE : 0);
        if (shown) it.bounds = wr;
        return true;
    }
    // Along the bar: arrow, page, thumb, page, arrow.
    const int length = vertical ? wr.bottom - wr.top : wr.right - wr.left;
    const int arrow = cover->FArrowSize;
    const bool thumb = known && bar.thumbBottom > bar.thumbTop;
    int from = 0, to = 0;
    switch (child) {
        case 1: from = 0, to = arrow; break;
        case 2: from = arrow, to = thumb ? bar.thumbTop : arrow; break;
        case 3: from = thumb ? bar.thumbTop : 0, to = thumb ? bar.thumbBottom : 0; break;
        case 4: from = thumb ? bar.thumbBottom : 0, to = thumb ? length - arrow : 0; break;
        default: from = length - arrow, to = length; break;
    }
    static const wchar_t* const kVertical[] = {L"Line up", L"Page up", L"Position", L"Page down", L"Line down"};
    static const wchar_t* const kHorizontal[] = {L"Column left", L"Page left", L"Position", L"Page right",
                                                 L"Column right"};
    it.name = (vertical ? kVertical : kHorizontal)[child - 1];
    it.role = child == 3 ? ROLE_SYSTEM_INDICATOR : ROLE_SYSTEM_PUSHBUTTON;
    if (child != 3) it.action = L"Press";
    const bool partShown = shown && to > from;
    it.state = (partShown ? 0 : STATE_SYSTEM_INVISIBLE) | (known && bar.unavailable ? STATE_SYSTEM_UNAVAILABLE : 0);
    if (partShown)
        it.bounds = vertical ? RECT{wr.left, wr.top + from, wr.right, wr.top + to}
                             : RECT{wr.left + from, wr.top, wr.left + to, wr.bottom};
    return true;
}

bool coverAct(HWND wnd, int child) {
    TWScrollbar* cover = coverOf(wnd);
    if (!cover || !cover->FTargetHandle) return false;
    static const int kCodes[] = {0, SB_LINEUP, SB_PAGEUP, -1, SB_PAGEDOWN, SB_LINEDOWN};
    if (child < 1 || child > 5 || kCodes[child] < 0) return false;
    const UINT msg = cover->FVertical ? WM_VSCROLL : WM_HSCROLL;
    // What the bar under the cover would send for the same press.
    if (cover->FMode == TWScrollbar::kControl)
        ::SendMessageW(::GetParent(cover->FTargetHandle), msg, WPARAM(kCodes[child]), LPARAM(cover->FTargetHandle));
    else
        ::SendMessageW(cover->FTargetHandle, msg, WPARAM(kCodes[child]), 0);
    return true;
}

// ---- the picker's arrow ----

int noChildren(HWND) { return 0; }

bool arrowItem(HWND wnd, int, TAccessibleItem& it) {
    auto* arrow = dynamic_cast<TArrowButton*>(FindControl(wnd));
    if (!arrow) return false;
    it.name = L"Open";
    it.action = L"Open";
    it.role = ROLE_SYSTEM_PUSHBUTTON;
    const bool shown = ::IsWindowVisible(wnd) != FALSE;
    if (!shown) it.state |= STATE_SYSTEM_INVISIBLE;
    if (!arrow->FPickerHandle || !::IsWindowEnabled(arrow->FPickerHandle)) it.state |= STATE_SYSTEM_UNAVAILABLE;
    if (arrow->FHot & 1) it.state |= STATE_SYSTEM_HOTTRACKED;
    if (shown) ::GetWindowRect(wnd, &it.bounds);
    return true;
}

// A click in the middle of the window, down and up, through its own handling.
bool clickAt(HWND wnd, POINT p) {
    const LPARAM at = MAKELPARAM(p.x, p.y);
    ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
    return true;
}

bool arrowAct(HWND wnd, int) {
    RECT r{};
    ::GetClientRect(wnd, &r);
    return clickAt(wnd, POINT{r.right / 2, r.bottom / 2});
}

// ---- the media player's panel ----

TMPButtonSet shownButtons(const TWMediaPlayer& panel) {
    TMPButtonSet m = 0;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (panel.FButtons[size_t(i)].Visible) m |= 1u << i;
    return m;
}

int playerCount(HWND) { return kMPButtonCount; }

bool playerItem(HWND wnd, int child, TAccessibleItem& it) {
    auto* panel = dynamic_cast<TWMediaPlayer*>(FindControl(wnd));
    if (!panel) return false;
    const bool shown = ::IsWindowVisible(wnd) != FALSE;
    if (child == 0) {
        it.role = ROLE_SYSTEM_TOOLBAR;
        it.name = L"Media player";
        if (!shown) it.state = STATE_SYSTEM_INVISIBLE;
        if (shown) ::GetWindowRect(wnd, &it.bounds);
        return true;
    }
    static const wchar_t* const kNames[kMPButtonCount] = {L"Play", L"Pause", L"Stop",   L"Next", L"Previous",
                                                          L"Step", L"Back",  L"Record", L"Eject"};
    const int k = child - 1;
    const auto& b = panel->FButtons[size_t(k)];
    it.name = kNames[k];
    it.role = ROLE_SYSTEM_PUSHBUTTON;
    it.action = L"Press";
    RECT client{};
    ::GetClientRect(wnd, &client);
    const PixelRect cell = mpButtonCell(shownButtons(*panel), panel->FButtonWidth, client.bottom, k);
    if (!shown || !b.Visible || cell.empty()) {
        it.state = STATE_SYSTEM_INVISIBLE;
        return true;
    }
    if (!b.Enabled) it.state |= STATE_SYSTEM_UNAVAILABLE;
    if (panel->FMouseDown && panel->FPressedIndex == k) it.state |= STATE_SYSTEM_PRESSED;
    POINT origin{0, 0};
    ::ClientToScreen(wnd, &origin);
    it.bounds = RECT{origin.x + cell.left, origin.y + cell.top, origin.x + cell.right, origin.y + cell.bottom};
    return true;
}

bool playerAct(HWND wnd, int child) {
    auto* panel = dynamic_cast<TWMediaPlayer*>(FindControl(wnd));
    if (!panel || child < 1) return false;
    RECT client{};
    ::GetClientRect(wnd, &client);
    const PixelRect cell = mpButtonCell(shownButtons(*panel), panel->FButtonWidth, client.bottom, child - 1);
    if (cell.empty()) return false;
    return clickAt(wnd, POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

}  // namespace

const TAccessibleModel& ScrollCoverAccess() {
    static const TAccessibleModel m{&coverCount, &coverItem, &coverAct};
    return m;
}
const TAccessibleModel& PickerArrowAccess() {
    static const TAccessibleModel m{&noChildren, &arrowItem, &arrowAct};
    return m;
}
const TAccessibleModel& PlayerPanelAccess() {
    static const TAccessibleModel m{&playerCount, &playerItem, &playerAct};
    return m;
}

bool AnswerEngineObject(HWND wnd, const TAccessibleModel& model, TMessage& m) {
    if (LONG(DWORD(m.LParam)) != LONG(OBJID_CLIENT) || !wnd) return false;
    auto* object = new TEngineAccessible(wnd, model);
    const LRESULT r = ::LresultFromObject(IID_IAccessible, m.WParam, object);
    object->Release();
    // Without COM on this thread nothing can be handed out.
    if (FAILED(HRESULT(r))) return false;
    m.Result = r;
    return true;
}

}  // namespace qs
