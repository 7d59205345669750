#include "Buttons.h"

#include <algorithm>

#include "PropertyHelpers.h"
#include "Forms.h"
#include "Menus.h"
#include "PixelOps.h"

namespace qs {

const std::vector<std::string> kButtonLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
const std::vector<std::string> kBitBtnKindNames = {"bkCustom", "bkOK",    "bkCancel", "bkHelp",  "bkYes", "bkNo",
                                                   "bkClose",  "bkAbort", "bkRetry",  "bkIgnore", "bkAll"};

// ---- layout and glyph pictures ----

TGlyphLayout CalcGlyphLayout(SIZE client, SIZE glyph, SIZE text, TButtonLayout layout, int margin, int spacing,
                             bool centre, bool speedButton) {
    TGlyphLayout out;
    bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    // Across the layout axis both are simply centred.
    if (horizontal) {
        out.GlyphPos.y = (client.cy - glyph.cy + 1) / 2;
        out.TextPos.y = (client.cy - text.cy + 1) / 2;
    } else {
        out.GlyphPos.x = (client.cx - glyph.cx + 1) / 2;
        out.TextPos.x = (client.cx - text.cx + 1) / 2;
    }
    if (text.cx == 0 || glyph.cx == 0) spacing = 0;
    int room = horizontal ? client.cx : client.cy;
    int glyphLen = horizontal ? glyph.cx : glyph.cy;
    int textLen = horizontal ? text.cx : text.cy;
    if (margin == -1 || centre) {
        if (spacing == -1) {
            margin = (room - (glyphLen + textLen)) / 3;
            spacing = margin;
        } else {
            margin = (room - (glyphLen + spacing + textLen)) / 2 + (speedButton ? 1 : 0);
        }
    } else if (spacing == -1) {
        spacing = (room - (margin + glyphLen) - textLen) / 2;
    }
    switch (layout) {
        case blGlyphLeft:
            out.GlyphPos.x = margin;
            out.TextPos.x = out.GlyphPos.x + glyph.cx + spacing;
            out.TextFlags = DT_WORDBREAK;
            break;
        case blGlyphRight:
            out.GlyphPos.x = client.cx - margin - glyph.cx;
            out.TextPos.x = out.GlyphPos.x - spacing - text.cx;
            out.TextFlags = DT_WORDBREAK | DT_RIGHT;
            break;
        case blGlyphTop:
            out.GlyphPos.y = margin;
            out.TextPos.y = out.GlyphPos.y + glyph.cy + spacing;
            out.TextFlags = DT_WORDBREAK | DT_CENTER;
            break;
        case blGlyphBottom:
            out.GlyphPos.y = client.cy - margin - glyph.cy;
            out.TextPos.y = out.GlyphPos.y - spacing - text.cy;
            out.TextFlags = DT_WORDBREAK | DT_CENTER;
            break;
    }
    out.Margin = margin;
    out.Spacing = spacing;
    return out;
}

SIZE GlyphFrameSize(const TBitmap& glyph, int numGlyphs) {
    if (glyph.Empty()) return SIZE{0, 0};
    return SIZE{glyph.Width() / std::max(numGlyphs, 1), glyph.Height()};
}

void DrawGlyphFrame(HDC dc, POINT pos, TBitmap& glyph, int numGlyphs, int index) {
    numGlyphs = std::max(numGlyphs, 1);
    SIZE s = GlyphFrameSize(glyph, numGlyphs);
    if (!dc || s.cx <= 0 || s.cy <= 0) return;
    int sx = index < 1 || index > numGlyphs ? 0 : s.cx * (index - 1);
    TBitmap frame(s.cx, s.cy);
    HDC fdc = frame.Canvas()->Handle();
    BitBlt(fdc, 0, 0, s.cx, s.cy, glyph.Canvas()->Handle(), sx, 0, SRCCOPY);
    if (index == gfDisabled) {
        GdiFlush();
        GrayBitmap(frame.View());
    }
    GdiFlush();
    PixelView v = frame.View();
    COLORREF key = v.empty() ? GetPixel(fdc, 0, s.cy - 1) : COLORREF(pixelToColour(v.at(0, s.cy - 1)));
    fdc = frame.Canvas()->Handle();
    TransparentBlt(dc, pos.x, pos.y, s.cx, s.cy, fdc, 0, 0, s.cx, s.cy, key);
}

namespace {

// Caption size for a button face: the room left beside (or above) the glyph.
SIZE MeasureCaption(HDC dc, const std::wstring& caption, const RECT& r, TButtonLayout layout, SIZE glyph) {
    if (caption.empty()) return SIZE{0, 0};
    RECT t = r;
    InflateRect(&t, -2, -2);
    if (layout == blGlyphLeft || layout == blGlyphRight)
        t.right -= glyph.cx + 2;
    else
        t.bottom -= glyph.cy + 2;
    std::wstring buf = caption;
    DrawTextW(dc, buf.data(), int(buf.size()), &t, DT_CALCRECT | DT_WORDBREAK);
    return SIZE{t.right - t.left, t.bottom - t.top};
}

void DrawFaceCaption(HDC dc, const std::wstring& caption, RECT t, UINT flags, bool enabled) {
    SetBkMode(dc, TRANSPARENT);
    std::wstring buf = caption;
    if (!enabled) {
        // The engraved look of disabled system buttons.
        OffsetRect(&t, 1, 1);
        SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextW(dc, buf.data(), int(buf.size()), &t, flags);
        OffsetRect(&t, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    }
    DrawTextW(dc, buf.data(), int(buf.size()), &t, flags);
}

// The faces of tool buttons and bit buttons share the glyph-and-caption part.
void DrawGlyphAndCaption(HDC dc, const RECT& r, HFONT font, TColor textColour, const std::wstring& caption,
                         TBitmap* glyph, int numGlyphs, TImageList* images, int imageIndex, int disabledIndex,
                         TButtonLayout layout, int margin, int spacing, int glyphIndex, bool enabled, int shift,
                         bool speedButton, RECT* textRect) {
    SelectObjectScope sel(dc, font);
    SIZE g{0, 0};
    bool useImages = false;
    if (glyph && !glyph->Empty())
        g = GlyphFrameSize(*glyph, numGlyphs);
    else if (images && imageIndex != -1) {
        g = SIZE{images->Width(), images->Height()};
        useImages = true;
    }
    SIZE client{r.right - r.left, r.bottom - r.top};
    SIZE text = MeasureCaption(dc, caption, r, layout, g);
    TGlyphLayout l = CalcGlyphLayout(client, g, text, layout, margin, spacing, false, speedButton);
    if (g.cx > 0 && g.cy > 0) {
        POINT p{r.left + l.GlyphPos.x + shift, r.top + l.GlyphPos.y + shift};
        if (!useImages) {
            DrawGlyphFrame(dc, p, *glyph, numGlyphs, glyphIndex);
        } else {
            TCanvas c(dc);
            int index = enabled ? imageIndex : (disabledIndex != -1 ? disabledIndex : imageIndex);
            images->Draw(c, p.x, p.y, index, enabled || disabledIndex != -1);
            c.SetHandle(nullptr);
        }
    }
    RECT t{r.left + l.TextPos.x + shift, r.top + l.TextPos.y + shift, 0, 0};
    t.right = t.left + text.cx;
    t.bottom = t.top + text.cy;
    if (!caption.empty()) {
        SetTextColor(dc, ColorToRGB(textColour));
        DrawFaceCaption(dc, caption, t, l.TextFlags, enabled);
    }
    if (textRect) *textRect = t;
}

}  // namespace

// ---- TBitBtn ----

const TClassInfo& TBitBtn::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TBitBtn>("TBitBtn", &TButton::StaticClassInfo())
            .creatable()
            .object("Glyph", [](const TBitBtn& b) -> TObject* { return b.Glyph(); },
                    [](TBitBtn& b, TObject* v) -> bool {
                        auto* g = dynamic_cast<TBitmap*>(v);
                        if (v && !g) return false;
                        b.SetGlyph(g);
                        return true;
                    })
            .integer("NumGlyphs", [](const TBitBtn& b) { return int64_t(b.NumGlyphs()); },
                     [](TBitBtn& b, int64_t v) -> bool {
                         if (v < 1 || v > 4) return false;
                         b.SetNumGlyphs(int(v));
                         return true;
                     })
            .enumeration("Layout", kButtonLayoutNames, [](const TBitBtn& b) { return int(b.Layout()); },
                         [](TBitBtn& b, int v) { b.SetLayout(TButtonLayout(v)); })
            .integer("Margin", [](const TBitBtn& b) { return int64_t(b.Margin()); },
                     [](TBitBtn& b, int64_t v) { b.SetMargin(int(v)); })
            .integer("Spacing", [](const TBitBtn& b) { return int64_t(b.Spacing()); },
                     [](TBitBtn& b, int64_t v) { b.SetSpacing(int(v)); })
            .enumeration("Kind", kBitBtnKindNames, [](const TBitBtn& b) { return int(b.Kind()); },
                         [](TBitBtn& b, int v) { b.SetKind(TBitBtnKind(v)); })
            .object(
                "Images", [](const TBitBtn& b) -> TObject* { return b.Images(); },
                [](TBitBtn& b, TObject* v) -> bool {
                    auto* l = dynamic_cast<TImageList*>(v);
                    if (v && !l) return false;
                    b.SetImages(l);
                    return true;
                },
                &TImageList::StaticClassInfo())
            .integer("ImageIndex", [](const TBitBtn& b) { return int64_t(b.ImageIndex()); },
                     [](TBitBtn& b, int64_t v) { b.SetImageIndex(int(v)); })
            .integer("DisabledIndex", [](const TBitBtn& b) { return int64_t(b.DisabledIndex()); },
                     [](TBitBtn& b, int64_t v) { b.SetDisabledIndex(int(v)); })
            .build();
    return info;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TObject*) { Changed(); };
}

TBitBtn::~TBitBtn() {
    // The window goes first: a last WM_DRAWITEM must not meet a freed glyph.
    DestroyHandle();
}

void TBitBtn::CreateParams(TCreateParams& p) {
    TButton::CreateParams(p);
    p.Style = (p.Style & ~DWORD(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetGlyph(const TBitmap* g) {
    if (g)
        FGlyph->Assign(*g);
    else
        FGlyph->Clear();
    Changed();
}
void TBitBtn::SetNumGlyphs(int n) {
    if (ChangeField(FNumGlyphs, std::clamp(n, 1, 4))) Changed();
}
void TBitBtn::SetLayout(TButtonLayout l) {
    if (ChangeField(FLayout, l)) Changed();
}
void TBitBtn::SetMargin(int m) {
    if (ChangeField(FMargin, std::max(m, -1))) Changed();
}
void TBitBtn::SetSpacing(int s) {
    if (ChangeField(FSpacing, std::max(s, -1))) Changed();
}
void TBitBtn::SetImageIndex(int i) {
    if (ChangeField(FImageIndex, i)) Changed();
}
void TBitBtn::SetDisabledIndex(int i) {
    if (ChangeField(FDisabledIndex, i)) Changed();
}

void TBitBtn::SetImages(TImageList* list) {
    if (LinkComponent(this, FImages, list)) Changed();
}

void TBitBtn::Notification(TComponent* c, TOperation op) {
    TButton::Notification(c, op);
    if (op == TOperation::opRemove && c == FImages) {
        FImages = nullptr;
        Changed();
    }
}

void TBitBtn::SetKind(TBitBtnKind k) {
    if (k < bkCustom || k > bkAll) return;
    FKind = k;
    if (k == bkCustom) return;
    static const wchar_t* const captions[] = {L"",       L"OK",     L"Cancel", L"&Help",   L"&Yes",  L"&No",
                                              L"&Close", L"Abort",  L"&Retry", L"&Ignore", L"&All"};
    static const int results[] = {mrNone, mrOk, mrCancel, mrNone, mrYes, mrNo, mrNone, mrAbort, mrRetry, mrIgnore, mrAll};
    SetCaption(captions[k]);
    SetModalResult(results[k]);
    SetDefault(k == bkOK || k == bkYes);
    SetCancel(k == bkCancel || k == bkNo);
}

void TBitBtn::Click() {
    if (FKind == bkClose) {
        if (TCustomForm* f = GetParentForm(this)) {
            TButtonControl::Click();
            f->Close();
            return;
        }
    }
    TButton::Click();
}

void TBitBtn::DrawFace(HDC dc, const RECT& r, bool pressed, bool focused, bool enabled) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT face = r;
    if (focused || Default()) {
        FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&face, -1, -1);
    }
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    int glyphIndex = !enabled ? gfDisabled : pressed ? gfPressed : gfUp;
    RECT text{};
    std::wstring caption = Caption();
    DrawGlyphAndCaption(dc, r, Font()->Handle(), Font()->Color(), caption, FGlyph.get(), FNumGlyphs, FImages,
                        FImageIndex, FDisabledIndex, FLayout, FMargin, FSpacing, glyphIndex, enabled, pressed ? 1 : 0,
                        false, &text);
    if (focused) {
        RECT f = r;
        InflateRect(&f, -4, -4);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &f);
    }
}

void TBitBtn::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case CN_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
            if (!d) break;
            RECT r = d->rcItem;
            int w = r.right - r.left, h = r.bottom - r.top;
            if (w > 0 && h > 0) {
                // Composed off-screen so the face never flickers through its layers.
                TBitmap buf(w, h);
                HDC bdc = buf.Canvas()->Handle();
                RECT local{0, 0, w, h};
                DrawFace(bdc, local, (d->itemState & ODS_SELECTED) != 0, (d->itemState & ODS_FOCUS) != 0,
                         (d->itemState & ODS_DISABLED) == 0);
                BitBlt(d->hDC, r.left, r.top, w, h, bdc, 0, 0, SRCCOPY);
            }
            msg.Result = TRUE;
            return;
        }
        case WM_LBUTTONDBLCLK:
            // An owner-drawn button reports a second quick press as a double
            // click and would swallow it; users expect two clicks.
            msg.Msg = WM_LBUTTONDOWN;
            break;
        default:
            break;
    }
    TButton::WndProc(msg);
}

// ---- TMenuButton ----

const TClassInfo& TMenuButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TMenuButton>("TMenuButton", &TBitBtn::StaticClassInfo())
            .creatable()
            .object(
                "DropDownMenu", [](const TMenuButton& b) -> TObject* { return b.DropDownMenu(); },
                [](TMenuButton& b, TObject* v) -> bool {
                    auto* m = dynamic_cast<TPopupMenu*>(v);
                    if (v && !m) return false;
                    b.SetDropDownMenu(m);
                    return true;
                },
                &TPopupMenu::StaticClassInfo())
            .build();
    return info;
}

void TMenuButton::SetDropDownMenu(TPopupMenu* m) {
    LinkComponent(this, FDropDownMenu, m);
}

void TMenuButton::Notification(TComponent* c, TOperation op) {
    TBitBtn::Notification(c, op);
    if (op == TOperation::opRemove && c == FDropDownMenu) FDropDownMenu = nullptr;
}

void TMenuButton::Click() {
    TBitBtn::Click();
    if (FDropDownMenu && HandleAllocated()) {
        POINT p = ClientToScreen(POINT{0, Height()});
        FDropDownMenu->SetPopupComponent(this);
        FDropDownMenu->Popup(p.x, p.y);
    }
}

void TMenuButton::DrawFace(HDC dc, const RECT& r, bool pressed, bool focused, bool enabled) {
    TBitBtn::DrawFace(dc, r, pressed, focused, enabled);
    int w = r.right - r.left, y = (r.bottom - r.top) / 2 + 2;
    POINT tri[3] = {{r.left + w - 12, r.top + y}, {r.left + w - 15, r.top + y - 3}, {r.left + w - 9, r.top + y - 3}};
    COLORREF c = GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
    UniqueBrush brush(CreateSolidBrush(c));
    UniquePen pen(CreatePen(PS_SOLID, 1, c));
    SelectObjectScope sb(dc, brush.get());
    SelectObjectScope sp(dc, pen.get());
    Polygon(dc, tri, 3);
}

// ---- TSpeedButton ----

const TClassInfo& TSpeedButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSpeedButton>("TSpeedButton", &TGraphicControl::StaticClassInfo())
            .creatable()
            .boolean("Down", &TSpeedButton::Down, &TSpeedButton::SetDown)
            .boolean("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat)
            .integer("GroupIndex", [](const TSpeedButton& b) { return int64_t(b.GroupIndex()); },
                     [](TSpeedButton& b, int64_t v) { b.SetGroupIndex(int(v)); })
            .boolean("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp)
            .boolean("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent)
            .object("Glyph", [](const TSpeedButton& b) -> TObject* { return b.Glyph(); },
                    [](TSpeedButton& b, TObject* v) -> bool {
                        auto* g = dynamic_cast<TBitmap*>(v);
                        if (v && !g) return false;
                        b.SetGlyph(g);
                        return true;
                    })
            .integer("NumGlyphs", [](const TSpeedButton& b) { return int64_t(b.NumGlyphs()); },
                     [](TSpeedButton& b, int64_t v) -> bool {
                         if (v < 1 || v > 4) return false;
                         b.SetNumGlyphs(int(v));
                         return true;
                     })
            .enumeration("Layout", kButtonLayoutNames, [](const TSpeedButton& b) { return int(b.Layout()); },
                         [](TSpeedButton& b, int v) { b.SetLayout(TButtonLayout(v)); })
            .integer("Margin", [](const TSpeedButton& b) { return int64_t(b.Margin()); },
                     [](TSpeedButton& b, int64_t v) { b.SetMargin(int(v)); })
            .integer("Spacing", [](const TSpeedButton& b) { return int64_t(b.Spacing()); },
                     [](TSpeedButton& b, int64_t v) { b.SetSpacing(int(v)); })
            .build();
    return info;
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), FGlyph(std::make_unique<TBitmap>()) {
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
    // Clicks follow the tool-button rules below, not the generic mouse-up one.
    SetControlStyle((ControlStyle() & ~uint32_t(csClickEvents | csSetCaption)) | csCaptureMouse | csDoubleClicks);
    SetBounds(0, 0, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetDown(bool v) {
    if (FGroupIndex == 0) v = false;
    if (v == FDown) return;
    // The last down button of a group stays down unless the group allows all up.
    if (!v && FGroupIndex != 0 && !FAllowAllUp && !IsLoading()) {
        bool otherDown = false;
        if (Parent())
            for (TControl* c : Parent()->ControlList())
                if (auto* s = dynamic_cast<TSpeedButton*>(c); s && s != this && s->FGroupIndex == FGroupIndex && s->FDown)
                    otherDown = true;
        if (!otherDown) return;
    }
    FDown = v;
    if (v && Parent())
        for (TControl* c : std::vector<TControl*>(Parent()->ControlList()))
            if (auto* s = dynamic_cast<TSpeedButton*>(c); s && s != this && s->FGroupIndex == FGroupIndex && s->FDown) {
                s->FDown = false;
                s->Invalidate();
            }
    Invalidate();
}

void TSpeedButton::SetFlat(bool v) {
    if (ChangeField(FFlat, v)) Invalidate();
}
void TSpeedButton::SetGroupIndex(int g) {
    if (g == FGroupIndex) return;
    FGroupIndex = g;
    if (g == 0 && FDown) {
        FDown = false;
        Invalidate();
    }
}
void TSpeedButton::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    SetControlStyle(v ? ControlStyle() & ~uint32_t(csOpaque) : ControlStyle() | csOpaque);
    Invalidate();
}
void TSpeedButton::SetGlyph(const TBitmap* g) {
    if (g)
        FGlyph->Assign(*g);
    else
        FGlyph->Clear();
    Invalidate();
}
void TSpeedButton::SetNumGlyphs(int n) {
    if (ChangeField(FNumGlyphs, std::clamp(n, 1, 4))) Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout l) {
    if (ChangeField(FLayout, l)) Invalidate();
}
void TSpeedButton::SetMargin(int m) {
    if (ChangeField(FMargin, std::max(m, -1))) Invalidate();
}
void TSpeedButton::SetSpacing(int s) {
    if (ChangeField(FSpacing, std::max(s, -1))) Invalidate();
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::WndProc(TMessage& msg) {
    TGraphicControl::WndProc(msg);
    switch (msg.Msg) {
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
        case CM_ENABLEDCHANGED:
            if (msg.Msg == CM_MOUSELEAVE && FPressed && !FTracking) FPressed = false;
            Invalidate();
            break;
        default:
            break;
    }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled()) return;
    FTracking = true;
    FPressed = true;
    Invalidate();
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FTracking) return;
    bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    if (inside != FPressed) {
        FPressed = inside;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !FTracking) return;
    FTracking = false;
    FPressed = false;
    bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
    Invalidate();
    if (!inside) return;
    if (FGroupIndex == 0) {
        Click();
    } else if (!FDown) {
        SetDown(true);
        Click();
    } else if (FAllowAllUp) {
        SetDown(false);
        Click();
    }
}

void TSpeedButton::Paint() {
    HDC dc = Canvas()->Handle();
    if (!dc) return;
    RECT r{0, 0, Width(), Height()};
    bool enabled = Enabled();
    bool pushed = FPressed || FDown;
    bool hot = MouseInControl() && enabled;
    if (!FTransparent) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    if (!FFlat) {
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));
    } else if (pushed || hot) {
        RECT e = r;
        DrawEdge(dc, &e, pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
    int glyphIndex = !enabled ? gfDisabled : FPressed ? gfPressed : FDown ? gfDown : gfUp;
    DrawGlyphAndCaption(dc, r, Font()->Handle(), Font()->Color(), Caption(), FGlyph.get(), FNumGlyphs, nullptr, -1, -1,
                        FLayout, FMargin, FSpacing, glyphIndex, enabled, pushed ? 1 : 0, true, nullptr);
}

void RegisterBitButtonClasses() {
    RegisterComponentClass(TBitBtn::StaticClassInfo());
    RegisterComponentClass(TMenuButton::StaticClassInfo());
    RegisterComponentClass(TSpeedButton::StaticClassInfo());
}

}  // namespace qs
