#include "Controls.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>

#include "CanvasPaint.h"
#include "Forms.h"
#include "PropertyHelpers.h"

namespace qs {

const std::vector<std::string> kAlignNames = {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"};
const std::vector<std::string> kBiDiModeNames = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                                 "bdRightToLeftReadingOnly"};

const std::vector<std::string> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};

namespace {
// The control the mouse is over, for CM_MOUSEENTER / CM_MOUSELEAVE.
TControl* g_mouseControl = nullptr;
}  // namespace

// Moves the mouse-over mark; both sides hear of it through WindowProc.
void SetMouseControl(TControl* c) {
    if (g_mouseControl == c) return;
    TControl* old = g_mouseControl;
    g_mouseControl = c;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (c && g_mouseControl == c) c->Perform(CM_MOUSEENTER);
}
TControl* MouseControl() { return g_mouseControl; }

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TCustomForm* GetParentForm(const TControl* c) {
    while (c) {
        if (auto* f = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(f);
        c = c->Parent();
    }
    return nullptr;
}

// ---- class information ----------------------------------------------------------

const TClassInfo& TControl::StaticClassInfo() {
    using E = std::function<void(TObject*)>;
    static const TClassInfo info =
        TClassBuilder<TControl>("TControl", &TComponent::StaticClassInfo())
            .integer("Left", [](const TControl& c) { return int64_t(c.Left()); },
                     [](TControl& c, int64_t v) { c.SetLeft(int(v)); })
            .integer("Top", [](const TControl& c) { return int64_t(c.Top()); },
                     [](TControl& c, int64_t v) { c.SetTop(int(v)); })
            .integer("Width", [](const TControl& c) { return int64_t(c.Width()); },
                     [](TControl& c, int64_t v) { c.SetWidth(int(v)); })
            .integer("Height", [](const TControl& c) { return int64_t(c.Height()); },
                     [](TControl& c, int64_t v) { c.SetHeight(int(v)); })
            .integer("ClientWidth", [](const TControl& c) { return int64_t(c.ClientWidth()); },
                     [](TControl& c, int64_t v) { c.SetClientWidth(int(v)); })
            .integer("ClientHeight", [](const TControl& c) { return int64_t(c.ClientHeight()); },
                     [](TControl& c, int64_t v) { c.SetClientHeight(int(v)); })
            .enumeration("Align", kAlignNames, [](const TControl& c) { return int(c.Align()); },
                         [](TControl& c, int v) { c.SetAlign(TAlign(v)); })
            .boolean("Visible", &TControl::Visible, &TControl::SetVisible)
            .boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled)
            .colour("Color", [](const TControl& c) { return int64_t(c.Color()); },
                    [](TControl& c, int64_t v) { c.SetColor(TColor(v)); })
            .boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor)
            .object("Font", [](const TControl& c) -> TObject* { return c.Font(); },
                    [](TControl& c, TObject* v) -> bool {
                        auto* f = dynamic_cast<TFont*>(v);
                        if (!f) return false;
                        c.SetFont(f);
                        return true;
                    })
            .boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont)
            .object("PopupMenu", [](const TControl& c) -> TObject* { return c.PopupMenu(); },
                    [](TControl& c, TObject* v) -> bool {
                        auto* m = dynamic_cast<TPopupMenu*>(v);
                        if (v && !m) return false;
                        c.SetPopupMenu(m);
                        return true;
                    })
            .enumeration("BiDiMode", kBiDiModeNames, [](const TControl& c) { return int(c.BiDiMode()); },
                         [](TControl& c, int v) { c.SetBiDiMode(TBiDiMode(v)); })
            .wide("Caption", &TControl::Caption, &TControl::SetCaption)
            .wide("Text", &TControl::GetText, &TControl::SetText)
            .wide("Hint", &TControl::Hint, &TControl::SetHint)
            .boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
            .event<E>("OnClick", [](const TControl& c) { return c.OnClick; },
                      [](TControl& c, const E& f) { c.OnClick = f; })
            .event<E>("OnDblClick", [](const TControl& c) { return c.OnDblClick; },
                      [](TControl& c, const E& f) { c.OnDblClick = f; })
            .event<E>("OnMouseEnter", [](const TControl& c) { return c.OnMouseEnter; },
                      [](TControl& c, const E& f) { c.OnMouseEnter = f; })
            .event<E>("OnMouseLeave", [](const TControl& c) { return c.OnMouseLeave; },
                      [](TControl& c, const E& f) { c.OnMouseLeave = f; })
            .event<E>("OnResize", [](const TControl& c) { return c.OnResize; },
                      [](TControl& c, const E& f) { c.OnResize = f; })
            .event<TMouseEvent>("OnMouseDown", [](const TControl& c) { return c.OnMouseDown; },
                                [](TControl& c, const TMouseEvent& f) { c.OnMouseDown = f; })
            .event<TMouseEvent>("OnMouseUp", [](const TControl& c) { return c.OnMouseUp; },
                                [](TControl& c, const TMouseEvent& f) { c.OnMouseUp = f; })
            .event<TMouseMoveEvent>("OnMouseMove", [](const TControl& c) { return c.OnMouseMove; },
                                    [](TControl& c, const TMouseMoveEvent& f) { c.OnMouseMove = f; })
            .event<TContextPopupEvent>("OnContextPopup", [](const TControl& c) { return c.OnContextPopup; },
                                       [](TControl& c, const TContextPopupEvent& f) { c.OnContextPopup = f; })
            .build();
    return info;
}

// ---- TControl ------------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
    FWindowProc = [this](TMessage& m) { WndProc(m); };
    FFont->OnChange = [this](TObject*) {
        if (!FFontFromParent) FParentFont = false;
        FontChanged();
        Perform(CM_FONTCHANGED);
    };
}

TControl::~TControl() {
    if (g_mouseControl == this) g_mouseControl = nullptr;
    if (FParent) FParent->RemoveControl(this);
}

void TControl::SetWindowProc(TWndMethod proc) {
    // An empty handler would drop every message: fall back to our own.
    if (!proc) proc = [this](TMessage& m) { WndProc(m); };
    FWindowProc = std::move(proc);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    // Copy: a handler may replace WindowProc while it runs.
    TWndMethod proc = FWindowProc;
    proc(m);
    return m.Result;
}

void TControl::SetMessageHandler(UINT msg, TWndMethod handler) {
    auto it = std::find_if(FHandlers.begin(), FHandlers.end(), [msg](auto& h) { return h.first == msg; });
    if (it != FHandlers.end()) FHandlers.erase(it);
    if (handler) FHandlers.emplace_back(msg, std::move(handler));
}

void TControl::DefaultHandler(TMessage& msg) {
    // A windowless control has no window procedure behind it.
    msg.Result = 0;
}

void TControl::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        case WM_MOUSEMOVE:
            WMMouse(msg);
            break;
        case WM_CONTEXTMENU: {
            POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
            if (p.x == -1 && p.y == -1) p = ClientToScreen(POINT{FWidth / 2, FHeight / 2});
            if (DoContextPopup(p)) {
                msg.Result = 1;
                return;
            }
            break;
        }
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            CMMouseEnterLeave(msg);
            break;
        default:
            break;
    }
    for (auto& h : FHandlers)
        if (h.first == msg.Msg) {
            TWndMethod handler = h.second;  // the handler may remove itself
            handler(msg);
            return;
        }
    DefaultHandler(msg);
}

void TControl::WMMouse(TMessage& msg) {
    int x = GET_X_LPARAM(msg.LParam), y = GET_Y_LPARAM(msg.LParam);
    TShiftState shift = MouseShiftState(msg.WParam);
    bool enabled = FEnabled;
    switch (msg.Msg) {
        case WM_MOUSEMOVE:
            if (enabled) MouseMove(shift, x, y);
            break;
        case WM_LBUTTONDBLCLK:
            if (!enabled) break;
            if (FControlStyle & csDoubleClicks) {
                DblClick();
                MouseDown(mbLeft, shift | ssDouble, x, y);
            } else {
                FMouseDownHere = true;
                MouseDown(mbLeft, shift, x, y);
            }
            break;
        case WM_LBUTTONDOWN:
            if (!enabled) break;
            FMouseDownHere = true;
            MouseDown(mbLeft, shift, x, y);
            break;
        case WM_LBUTTONUP: {
            if (!enabled) break;
            bool wasDown = FMouseDownHere;
            FMouseDownHere = false;
            MouseUp(mbLeft, shift, x, y);
            if (wasDown && (FControlStyle & csClickEvents) && x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
            break;
        }
        case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
            if (enabled) MouseDown(mbRight, shift, x, y);
            break;
        case WM_RBUTTONUP:
            if (enabled) MouseUp(mbRight, shift, x, y);
            // A windowed control gets WM_CONTEXTMENU from the system; a
            // windowless one only through here.
            if (!dynamic_cast<TWinControl*>(this)) DoContextPopup(ClientToScreen(POINT{x, y}));
            break;
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
            if (enabled) MouseDown(mbMiddle, shift, x, y);
            break;
        case WM_MBUTTONUP:
            if (enabled) MouseUp(mbMiddle, shift, x, y);
            break;
        default:
            break;
    }
}

void TControl::CMMouseEnterLeave(TMessage& msg) {
    if (msg.Msg == CM_MOUSEENTER) {
        if (OnMouseEnter) OnMouseEnter(this);
    } else if (OnMouseLeave) {
        OnMouseLeave(this);
    }
}

bool TControl::MouseInControl() const { return g_mouseControl == this; }

bool TControl::DoContextPopup(POINT screen) {
    bool handled = false;
    if (OnContextPopup) {
        OnContextPopup(this, ScreenToClient(screen), handled);
        if (handled) return true;
    }
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(screen.x, screen.y);
        return true;
    }
    return false;
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::Click() {
    if (OnClick) OnClick(this);
}
void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}
void TControl::Resize() {
    if (OnResize) OnResize(this);
}

// ---- parent ----

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    // A control inside itself would make every walk up or down endless.
    for (const TControl* p = parent; p; p = p->Parent())
        if (p == this) throw std::invalid_argument("a control cannot be placed inside itself: " + Name());
    if (FParent) FParent->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* w = dynamic_cast<TWinControl*>(parent)) SetParent(w);
}

TComponent* TControl::GetParentComponent() const { return FParent; }

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParent) {
        if (FParentFont) ParentFontChanged();
        if (FParentColor) ParentColorChanged();
        FParent->Realign();
    }
}

void TControl::Notification(TComponent* c, TOperation op) {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == FPopupMenu) FPopupMenu = nullptr;
}

// ---- bounds ----

void TControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    bool sized = width != FWidth || height != FHeight;
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    Invalidate();
    if (sized) Resize();
    RequestAlign();
}

RECT TControl::ClientRect() const { return RECT{0, 0, FWidth, FHeight}; }
int TControl::ClientWidth() const {
    RECT r = ClientRect();
    return r.right - r.left;
}
int TControl::ClientHeight() const {
    RECT r = ClientRect();
    return r.bottom - r.top;
}
void TControl::SetClientSize(int width, int height) {
    SetBounds(FLeft, FTop, width + (FWidth - ClientWidth()), height + (FHeight - ClientHeight()));
}

POINT TControl::ClientOrigin() const {
    if (!FParent) return POINT{FLeft, FTop};
    POINT p = FParent->ClientOrigin();
    return POINT{p.x + FLeft, p.y + FTop};
}
POINT TControl::ClientToScreen(POINT p) const {
    POINT o = ClientOrigin();
    return POINT{p.x + o.x, p.y + o.y};
}
POINT TControl::ScreenToClient(POINT p) const {
    POINT o = ClientOrigin();
    return POINT{p.x - o.x, p.y - o.y};
}

void TControl::SetAlign(TAlign a) {
    if (a == FAlign) return;
    FAlign = a;
    if (FParent) FParent->Realign();
}

void TControl::RequestAlign() {
    if (FParent) FParent->Realign();
}

// ---- state ----

void TControl::SetVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    VisibleChanged();
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
    if (FParent) FParent->Realign();
}

void TControl::SyncVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    Perform(CM_VISIBLECHANGED, v ? 1 : 0);
    if (FParent) FParent->Realign();
}

void TControl::VisibleChanged() {
    if (!FVisible && g_mouseControl == this) SetMouseControl(nullptr);
    // A windowless control lives in its parent's pixels.
    if (FParent && FParent->HandleAllocated()) {
        RECT r = BoundsRect();
        InvalidateRect(FParent->HandleIfAllocated(), &r, TRUE);
    }
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    EnabledChanged();
    Perform(CM_ENABLEDCHANGED, v ? 1 : 0);
}

void TControl::EnabledChanged() { Invalidate(); }

void TControl::SetColor(TColor c) {
    if (c == FColor && !FParentColor) return;
    FParentColor = false;
    bool changed = c != FColor;
    FColor = c;
    if (!changed) return;
    ColorChanged();
    Invalidate();
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool v) {
    FParentColor = v;
    if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent || IsLoading()) return;
    if (FParent->Color() == FColor) return;
    FColor = FParent->Color();
    ColorChanged();
    Invalidate();
    Perform(CM_COLORCHANGED);
    FParentColor = true;
}

void TControl::SetFont(const TFont* f) {
    if (!f || f == FFont.get()) return;
    FFont->Assign(*f);  // OnChange does the rest
}

void TControl::SetFontQuiet(const TFont& f) {
    FFontFromParent = true;
    FFont->Assign(f);
    FFontFromParent = false;
}

void TControl::SetParentFont(bool v) {
    FParentFont = v;
    if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent || IsLoading()) return;
    if (FFont->SameAs(*FParent->Font())) return;
    SetFontQuiet(*FParent->Font());
}

void TControl::FontChanged() { Invalidate(); }

void TControl::SetPopupMenu(TPopupMenu* m) {
    LinkComponent(this, FPopupMenu, m);
}

void TControl::SetBiDiMode(TBiDiMode m) {
    if (m == FBiDiMode) return;
    FBiDiMode = m;
    Invalidate();
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetText(const std::wstring& text) {
    if (text == FText) return;
    FText = text;
    TextChanged();
    Invalidate();
    Perform(CM_TEXTCHANGED);
}

void TControl::SetName(const std::string& name) {
    std::wstring oldName = Utf8ToWide(Name());
    bool follow = (FControlStyle & csSetCaption) && !IsLoading() && GetText() == oldName;
    TComponent::SetName(name);
    if (follow) SetText(Utf8ToWide(name));
}

// ---- painting ----

void TControl::Invalidate() {
    if (!FParent || !FParent->HandleAllocated() || !FVisible) return;
    if (!IsWindowVisible(FParent->HandleIfAllocated())) return;  // no update region to add to
    RECT r = BoundsRect();
    InvalidateRect(FParent->HandleIfAllocated(), &r, (FControlStyle & csOpaque) ? FALSE : TRUE);
}

void TControl::Update() {
    if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->HandleIfAllocated());
}

void TControl::Repaint() {
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    list.erase(std::find(list.begin(), list.end(), this));
    list.push_back(this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->HandleIfAllocated(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
    FParent->Realign();
}

void TControl::SendToBack() {
    if (!FParent) return;
    auto& list = FParent->FControls;
    list.erase(std::find(list.begin(), list.end(), this));
    list.insert(list.begin(), this);
    if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
        SetWindowPos(w->HandleIfAllocated(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Invalidate();
    FParent->Realign();
}

// ---- TGraphicControl ---------------------------------------------------------------

const TClassInfo& TGraphicControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TGraphicControl>("TGraphicControl", &TControl::StaticClassInfo()).build();
    return info;
}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(std::make_unique<TCanvas>()) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& msg) {
    if ((msg.Msg == WM_PAINT || msg.Msg == WM_PRINTCLIENT) && msg.WParam) {
        // The parent hands over its DC with the origin moved to our corner.
        PaintOnDC(*FCanvas, reinterpret_cast<HDC>(msg.WParam), *Font(), [this] { Paint(); });
        msg.Result = 0;
        return;
    }
    TControl::WndProc(msg);
}

}  // namespace qs
