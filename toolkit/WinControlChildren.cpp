// TWinControl's children: the control list, align layout, tab order and
// focus; and TCustomControl.
#include <algorithm>

#include "CanvasPaint.h"
#include "Controls.h"
#include "Forms.h"

namespace qs {

void SetMouseControl(TControl* c);
TControl* MouseControl();

// ---- children ----

void TWinControl::InsertControl(TControl* c) {
    if (!c || c->FParent == this) return;
    c->FParent = this;
    FControls.push_back(c);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        InsertIntoTabList(w);
        if (w->FPendingTabOrder >= 0 && !w->IsLoading()) w->SetTabOrder(w->FPendingTabOrder);
    }
    if (!c->IsLoading()) {
        c->ParentFontChanged();
        c->ParentColorChanged();
    }
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        if (FHandle && !IsLoading() && !c->IsLoading()) {
            if (w->FHandle) ::SetParent(w->FHandle, FHandle);
            else w->CreateHandle();
        }
    } else {
        c->Invalidate();
    }
    Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), TRUE);
    Realign();
}

void TWinControl::RemoveControl(TControl* c) {
    auto it = std::find(FControls.begin(), FControls.end(), c);
    if (it == FControls.end()) return;
    if (FMouseCapture == c) FMouseCapture = nullptr;
    if (MouseControl() == c) SetMouseControl(nullptr);
    c->Invalidate();
    FControls.erase(it);
    if (auto* w = dynamic_cast<TWinControl*>(c)) {
        RemoveFromTabList(w);
        // A windowed child cannot live on without a parent window.
        w->DestroyHandle();
    }
    c->FParent = nullptr;
    if (!IsDestroying()) {
        Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(c), FALSE);
        Realign();
    }
}

bool TWinControl::ContainsControl(const TControl* c) const {
    for (; c; c = c->Parent())
        if (c->Parent() == this) return true;
    return false;
}

// ---- layout ----

void TWinControl::EnableAlign() {
    if (FAlignLevel > 0) --FAlignLevel;
    if (FAlignLevel == 0 && FAlignPending) Realign();
}

void TWinControl::AdjustClientRect(RECT&) const {}

void TWinControl::Realign() {
    if (FAlignLevel > 0 || IsLoading() || IsDestroying()) {
        FAlignPending = true;
        return;
    }
    FAlignPending = false;
    RECT r = ClientRect();
    AdjustClientRect(r);
    DisableAlign();  // moving children must not lay us out again
    AlignControls(r);
    --FAlignLevel;
    FAlignPending = false;
}

void TWinControl::AlignControls(RECT& r) {
    auto pick = [&](TAlign a) {
        std::vector<TControl*> v;
        for (TControl* c : FControls)
            if (c->Align() == a && c->Visible()) v.push_back(c);
        return v;
    };
    // Controls of one kind are stacked in the order of their current
    // positions, so a definition's layout survives reading.
    auto tops = pick(alTop);
    std::stable_sort(tops.begin(), tops.end(), [](TControl* a, TControl* b) { return a->Top() < b->Top(); });
    auto bottoms = pick(alBottom);
    std::stable_sort(bottoms.begin(), bottoms.end(),
                     [](TControl* a, TControl* b) { return a->Top() + a->Height() > b->Top() + b->Height(); });
    auto lefts = pick(alLeft);
    std::stable_sort(lefts.begin(), lefts.end(), [](TControl* a, TControl* b) { return a->Left() < b->Left(); });
    auto rights = pick(alRight);
    std::stable_sort(rights.begin(), rights.end(),
                     [](TControl* a, TControl* b) { return a->Left() + a->Width() > b->Left() + b->Width(); });
    auto span = [](LONG a, LONG b) { return int(std::max<LONG>(b - a, 0)); };
    for (TControl* c : tops) {
        c->SetBounds(r.left, r.top, span(r.left, r.right), c->Height());
        r.top += c->Height();
    }
    for (TControl* c : bottoms) {
        int h = c->Height();
        c->SetBounds(r.left, r.bottom - h, span(r.left, r.right), h);
        r.bottom -= c->Height();
    }
    for (TControl* c : lefts) {
        c->SetBounds(r.left, r.top, c->Width(), span(r.top, r.bottom));
        r.left += c->Width();
    }
    for (TControl* c : rights) {
        int w = c->Width();
        c->SetBounds(r.right - w, r.top, w, span(r.top, r.bottom));
        r.right -= c->Width();
    }
    for (TControl* c : pick(alClient)) c->SetBounds(r.left, r.top, span(r.left, r.right), span(r.top, r.bottom));
}

void TWinControl::Loaded() {
    TControl::Loaded();
    if (FPendingTabOrder >= 0) {
        int order = FPendingTabOrder;
        FPendingTabOrder = -1;
        SetTabOrder(order);
    }
    Realign();
    if (Parent() && Parent()->HandleAllocated() && !FHandle) CreateHandle();
}

// ---- tab order ----

void TWinControl::InsertIntoTabList(TWinControl* c) {
    if (std::find(FTabList.begin(), FTabList.end(), c) == FTabList.end()) FTabList.push_back(c);
}
void TWinControl::RemoveFromTabList(TWinControl* c) { FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), c), FTabList.end()); }

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    auto& l = Parent()->FTabList;
    auto it = std::find(l.begin(), l.end(), this);
    return it == l.end() ? -1 : int(it - l.begin());
}

void TWinControl::SetTabOrder(int order) {
    if (IsLoading() || !Parent()) {
        // Siblings read later would shift it: placed when loading ends.
        FPendingTabOrder = order;
        if (!Parent()) return;
    }
    auto& l = Parent()->FTabList;
    auto it = std::find(l.begin(), l.end(), this);
    if (it == l.end()) return;
    l.erase(it);
    order = std::clamp(order, 0, int(l.size()));
    l.insert(l.begin() + order, this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : FTabList) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

// ---- focus ----

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) return;
    ::SetFocus(Handle());
}

// ---- TCustomControl ------------------------------------------------------------------

const TClassInfo& TCustomControl::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCustomControl>("TCustomControl", &TWinControl::StaticClassInfo()).build();
    return info;
}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {
    SetControlStyle(ControlStyle() | csCustomPaint);
}

TCustomControl::~TCustomControl() {
    // The window goes while Paint can still be reached safely.
    DestroyHandle();
}

void TCustomControl::PaintWindow(HDC dc) {
    PaintOnDC(*FCanvas, dc, *Font(), [this] { Paint(); });
}

}  // namespace qs
