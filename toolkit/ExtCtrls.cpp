#include "ExtCtrls.h"

#include <algorithm>

#include "PropertyHelpers.h"

namespace qs {

const std::vector<std::string> kBevelCutNames = {"bvNone", "bvLowered", "bvRaised", "bvSpace"};

const TClassInfo& TCustomPanel::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomPanel>("TCustomPanel", &TCustomControl::StaticClassInfo())
            .enumeration("BevelInner", kBevelCutNames, [](const TCustomPanel& p) { return int(p.BevelInner()); },
                         [](TCustomPanel& p, int v) { p.SetBevelInner(TBevelCut(v)); })
            .enumeration("BevelOuter", kBevelCutNames, [](const TCustomPanel& p) { return int(p.BevelOuter()); },
                         [](TCustomPanel& p, int v) { p.SetBevelOuter(TBevelCut(v)); })
            .integer("BevelWidth", [](const TCustomPanel& p) { return int64_t(p.BevelWidth()); },
                     [](TCustomPanel& p, int64_t v) -> bool {
                         if (v < 1 || v > 255) return false;
                         p.SetBevelWidth(int(v));
                         return true;
                     })
            .integer("BorderWidth", [](const TCustomPanel& p) { return int64_t(p.BorderWidth()); },
                     [](TCustomPanel& p, int64_t v) -> bool {
                         if (v < 0 || v > 255) return false;
                         p.SetBorderWidth(int(v));
                         return true;
                     })
            .enumeration("Alignment", kAlignmentNames, [](const TCustomPanel& p) { return int(p.Alignment()); },
                         [](TCustomPanel& p, int v) { p.SetAlignment(TAlignment(v)); })
            .build();
    return info;
}

const TClassInfo& TPanel::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TPanel>("TPanel", &TCustomPanel::StaticClassInfo()).creatable().build();
    return info;
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csOpaque | csSetCaption);
    SetColor(clBtnFace);
    SetBounds(0, 0, 185, 41);
}

void TCustomPanel::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    // Bevels sit on the edges: a size change repaints the whole panel.
    p.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

void TCustomPanel::Changed() {
    Realign();
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut b) {
    if (ChangeField(FBevelInner, b)) Changed();
}
void TCustomPanel::SetBevelOuter(TBevelCut b) {
    if (ChangeField(FBevelOuter, b)) Changed();
}
void TCustomPanel::SetBevelWidth(int w) {
    if (ChangeField(FBevelWidth, std::max(w, 1))) Changed();
}
void TCustomPanel::SetBorderWidth(int w) {
    if (ChangeField(FBorderWidth, std::max(w, 0))) Changed();
}
void TCustomPanel::SetAlignment(TAlignment a) {
    if (ChangeField(FAlignment, a)) Invalidate();
}

void TCustomPanel::AdjustClientRect(RECT& r) const {
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone) inset += FBevelWidth;
    if (FBevelInner != bvNone) inset += FBevelWidth;
    InflateRect(&r, -inset, -inset);
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
}

namespace {
// One bevel of `width` pixels; `r` shrinks by it. A space bevel is only room.
void DrawBevel(HDC dc, RECT& r, TBevelCut cut, int width) {
    if (cut == bvNone) return;
    for (int i = 0; i < width; ++i) {
        if (cut == bvRaised)
            DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT | BF_ADJUST);
        else if (cut == bvLowered)
            DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        else
            InflateRect(&r, -1, -1);
    }
}
}  // namespace

void TCustomPanel::Paint() {
    TCanvas* canvas = Canvas();
    HDC dc = canvas->Handle();
    RECT r = ClientRect();
    canvas->Brush().SetColor(Color());
    canvas->Brush().SetStyle(TBrushStyle::bsSolid);
    canvas->FillRect(r);
    DrawBevel(dc, r, FBevelOuter, FBevelWidth);
    InflateRect(&r, -FBorderWidth, -FBorderWidth);
    DrawBevel(dc, r, FBevelInner, FBevelWidth);
    std::wstring text = Caption();
    if (text.empty()) return;
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                  (FAlignment == taCenter ? DT_CENTER : FAlignment == taRightJustify ? DT_RIGHT : DT_LEFT);
    if (IsRightToLeft()) format |= DT_RTLREADING;
    canvas->Brush().SetStyle(TBrushStyle::bsClear);
    canvas->SetFont(*Font());
    canvas->DrawTextRect(text, r, format);
}

}  // namespace qs
