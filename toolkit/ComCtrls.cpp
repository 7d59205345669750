#include "ComCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "Forms.h"
#include "PropertyHelpers.h"

namespace qs {

const std::vector<std::string> kStatusPanelBevelNames = {"pbNone", "pbLowered", "pbRaised"};
const std::vector<std::string> kStatusPanelStyleNames = {"psText", "psOwnerDraw"};

// ---- TStatusPanel ----

const TClassInfo& TStatusPanel::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TStatusPanel>("TStatusPanel", &TCollectionItem::StaticClassInfo())
            .wide("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
            .integer("Width", [](const TStatusPanel& p) { return int64_t(p.Width()); },
                     [](TStatusPanel& p, int64_t v) -> bool {
                         if (v < 0 || v > 0x7FFF) return false;
                         p.SetWidth(int(v));
                         return true;
                     })
            .enumeration("Alignment", kAlignmentNames, [](const TStatusPanel& p) { return int(p.Alignment()); },
                         [](TStatusPanel& p, int v) { p.SetAlignment(TAlignment(v)); })
            .enumeration("Bevel", kStatusPanelBevelNames, [](const TStatusPanel& p) { return int(p.Bevel()); },
                         [](TStatusPanel& p, int v) { p.SetBevel(TStatusPanelBevel(v)); })
            .enumeration("Style", kStatusPanelStyleNames, [](const TStatusPanel& p) { return int(p.Style()); },
                         [](TStatusPanel& p, int v) { p.SetStyle(TStatusPanelStyle(v)); })
            .enumeration("BiDiMode", kBiDiModeNames, [](const TStatusPanel& p) { return int(p.BiDiMode()); },
                         [](TStatusPanel& p, int v) { p.SetBiDiMode(TBiDiMode(v)); })
            .build();
    return info;
}

void TStatusPanel::SetText(const std::wstring& t) {
    if (ChangeField(FText, t)) Changed();
}
void TStatusPanel::SetWidth(int w) {
    if (ChangeField(FWidth, w)) Changed();
}
// A width that is not positive keeps its meaning (the rest of the bar).
void TCustomStatusBar::ChangeScale(int m, int d) {
    for (int i = 0; i < FPanels->Count(); ++i)
        if (TStatusPanel* p = FPanels->At(i); p->Width() > 0) p->SetWidth(::MulDiv(p->Width(), m, d));
    TWinControl::ChangeScale(m, d);
}

void TStatusPanel::SetAlignment(TAlignment a) {
    if (ChangeField(FAlignment, a)) Changed();
}
void TStatusPanel::SetBevel(TStatusPanelBevel b) {
    if (ChangeField(FBevel, b)) Changed();
}
void TStatusPanel::SetStyle(TStatusPanelStyle s) {
    if (ChangeField(FStyle, s)) Changed();
}
void TStatusPanel::SetBiDiMode(TBiDiMode m) {
    if (ChangeField(FBiDiMode, m)) Changed();
}

// ---- TStatusPanels ----

const TClassInfo& TStatusPanels::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TStatusPanels>("TStatusPanels", &TCollection::StaticClassInfo()).build();
    return info;
}

void TStatusPanels::Update(TCollectionItem*) {
    if (FBar) FBar->UpdatePanels();
}

// ---- TCustomStatusBar ----

const TClassInfo& TCustomStatusBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomStatusBar>("TCustomStatusBar", &TWinControl::StaticClassInfo())
            .collection("Panels", [](const TCustomStatusBar& b) -> TObject* { return b.Panels(); })
            .boolean("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel)
            .wide("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText)
            .boolean("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip)
            .event<TDrawPanelEvent>("OnDrawPanel", [](const TCustomStatusBar& b) { return b.OnDrawPanel; },
                                    [](TCustomStatusBar& b, const TDrawPanelEvent& f) { b.OnDrawPanel = f; })
            .build();
    return info;
}

const TClassInfo& TStatusBar::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TStatusBar>("TStatusBar", &TCustomStatusBar::StaticClassInfo()).creatable().build();
    return info;
}

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), FPanels(std::make_unique<TStatusPanels>(this)), FCanvas(std::make_unique<TCanvas>()) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TCustomStatusBar::~TCustomStatusBar() {
    DestroyHandle();
    // Panels going away must not talk to a half-destroyed bar.
    auto panels = std::move(FPanels);
    panels.reset();
}

void TCustomStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = STATUSCLASSNAMEW;
    // Position and height are ours (the layout's), not the system's.
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    // A grip only where the window can be resized by it.
    if (FSizeGrip)
        if (auto* f = dynamic_cast<TCustomForm*>(Parent());
            f && (f->BorderStyle() == bsSizeable || f->BorderStyle() == bsSizeToolWin))
            p.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateHandle() {
    TWinControl::CreateHandle();
    UpdatePanels();
}

int TCustomStatusBar::MinimumHeight() {
    ClientDCScope dc(nullptr);
    SelectObjectScope font(dc.get(), Font()->Handle());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    return tm.tmHeight + 6;
}

void TCustomStatusBar::SetBounds(int left, int top, int width, int height) {
    // Never lower than the text; a taller stored height stays.
    if (!IsLoading()) height = std::max(height, MinimumHeight());
    TWinControl::SetBounds(left, top, width, height);
}

void TCustomStatusBar::FontChanged() {
    TWinControl::FontChanged();
    if (!IsLoading() && Height() < MinimumHeight()) SetHeight(MinimumHeight());
}

void TCustomStatusBar::SetSimplePanel(bool v) {
    if (ChangeField(FSimplePanel, v)) UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::wstring& t) {
    if (ChangeField(FSimpleText, t)) UpdatePanels();
}

void TCustomStatusBar::SetSizeGrip(bool v) {
    if (ChangeField(FSizeGrip, v)) RecreateWnd();
}

void TCustomStatusBar::UpdatePanels() {
    if (!FHandle || !FPanels) return;
    int n = FPanels->Count();
    if (FSimplePanel || n == 0) {
        SendMessageW(FHandle, SB_SIMPLE, TRUE, 0);
        SendMessageW(FHandle, SB_SETTEXTW, SB_SIMPLEID | (IsRightToLeft() ? SBT_RTLREADING : 0),
                     reinterpret_cast<LPARAM>(FSimpleText.c_str()));
        return;
    }
    SendMessageW(FHandle, SB_SIMPLE, FALSE, 0);
    n = std::min(n, 255);
    std::vector<int> edges(static_cast<size_t>(n), 0);
    int x = 0;
    for (int i = 0; i < n; ++i) {
        x += FPanels->At(i)->Width();
        // The last part runs to the end of the bar.
        edges[size_t(i)] = i == n - 1 ? -1 : x;
    }
    SendMessageW(FHandle, SB_SETPARTS, WPARAM(n), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < n; ++i) {
        TStatusPanel* p = FPanels->At(i);
        WPARAM flags = WPARAM(i);
        if (p->Bevel() == pbNone) flags |= SBT_NOBORDERS;
        if (p->Bevel() == pbRaised) flags |= SBT_POPOUT;
        if (p->BiDiMode() != TBiDiMode::bdLeftToRight) flags |= SBT_RTLREADING;
        if (p->Style() == psOwnerDraw) {
            SendMessageW(FHandle, SB_SETTEXTW, flags | SBT_OWNERDRAW, LPARAM(i));
            continue;
        }
        // The system control aligns text after one tab centred, after two right.
        std::wstring text = p->Alignment() == taCenter ? L"\t" + p->Text()
                            : p->Alignment() == taRightJustify ? L"\t\t" + p->Text()
                                                               : p->Text();
        SendMessageW(FHandle, SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect) {
    if (OnDrawPanel)
        OnDrawPanel(this, panel, rect);
    else {
        FCanvas->Brush().SetColor(Color());
        FCanvas->FillRect(rect);
    }
}

void TCustomStatusBar::WndProc(TMessage& msg) {
    if (msg.Msg == CN_DRAWITEM) {
        auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
        int i = int(d->itemID);
        if (FPanels && i >= 0 && i < FPanels->Count()) {
            FCanvas->SetHandle(d->hDC);
            FCanvas->SetFont(*Font());
            try {
                DrawPanel(FPanels->At(i), d->rcItem);
            } catch (...) {
                FCanvas->SetHandle(nullptr);
                throw;
            }
            FCanvas->SetHandle(nullptr);
        }
        msg.Result = TRUE;
        return;
    }
    TWinControl::WndProc(msg);
}

}  // namespace qs
