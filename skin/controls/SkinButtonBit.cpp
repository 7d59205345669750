// Bit-button and menu-button skins: a push-button face with a glyph (or an
// image-list picture, or a named picture property) laid out beside the
// caption, or with a drop-down arrow.
#include <cctype>

#include "Buttons.h"
#include "SkinButton.h"
#include "SkinData.h"
#include "SkinRecords.h"
#include "SkinRoutines.h"

namespace qs {

const TClassInfo& TSkinBitButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinBitButton>("TSkinBitButton", &TSkinButton::StaticClassInfo()).build();
    return info;
}

const TClassInfo& TSkinMenuButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinMenuButton>("TSkinMenuButton", &TSkinButton::StaticClassInfo()).build();
    return info;
}

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TButtonLayout LayoutByName(const TObject* c) {
    const std::string n = lower(prop::GetEnumPropName(c, "Layout"));
    if (n == "blglyphright") return blGlyphRight;
    if (n == "blglyphtop") return blGlyphTop;
    if (n == "blglyphbottom") return blGlyphBottom;
    return blGlyphLeft;
}

// The caption's size in the room the glyph leaves (empty caption: 0 x 0).
SIZE MeasureBesideGlyph(HDC dc, const std::wstring& caption, const RECT& r, TButtonLayout layout, SIZE glyph) {
    if (caption.empty()) return SIZE{0, 0};
    RECT t = r;
    InflateRect(&t, -2, -2);
    if (layout == blGlyphLeft || layout == blGlyphRight)
        t.right -= glyph.cx + 2;
    else
        t.bottom -= glyph.cy + 2;
    DrawTextW(dc, caption.c_str(), int(caption.size()), &t, DT_CALCRECT | DT_WORDBREAK);
    return SIZE{t.right - t.left, t.bottom - t.top};
}

}  // namespace

void TSkinBitButton::Paint(HDC dc, const RECT& r) {
    TDataSkinButton* e = Element();
    if (!e) return;
    if (!FGraphicProp.empty()) {
        PaintGraphicProp(dc, r);
        return;
    }
    RefreshState();
    const int frame = StateFrame();
    const int glyphFrame = GlyphFrameForButton(frame, false);
    HDC b = PrepareBuffer(r, frame);
    if (!b) return;
    TControl* c = FControl;
    auto* glyph = dynamic_cast<TBitmap*>(prop::GetObjectPropOf(c, "Glyph", TBitmap::StaticClassInfo()));
    auto* images = dynamic_cast<TImageList*>(prop::GetObjectPropOf(c, "Images", TImageList::StaticClassInfo()));
    int numGlyphs = int(prop::GetIntProp(c, "NumGlyphs"));
    if (numGlyphs < 1) numGlyphs = 1;
    const int imageIndex = int(prop::GetIntProp(c, "ImageIndex"));
    const int disabledIndex = int(prop::GetIntProp(c, "DisabledIndex"));
    const int margin = int(prop::GetIntProp(c, "Margin"));
    const int spacing = int(prop::GetIntProp(c, "Spacing"));
    const TButtonLayout layout = LayoutByName(c);
    const bool centre = lower(prop::GetEnumPropName(c, "Alignment")) == "tacenter";
    const int w = r.right - r.left, h = r.bottom - r.top;
    const RECT local{0, 0, w, h};

    SIZE g{0, 0};
    if (glyph && !glyph->Empty())
        g = GlyphFrameSize(*glyph, numGlyphs);
    else if (images && imageIndex != -1)
        g = SIZE{images->Width(), images->Height()};

    HGDIOBJ old = SelectCaptionFont(b, frame);
    const std::wstring caption = ReplaceFirstBar(FCaption);
    const SIZE text = MeasureBesideGlyph(b, caption, local, layout, g);
    const TGlyphLayout l = CalcGlyphLayout(SIZE{w, h}, g, text, layout, margin, spacing, centre, false);

    if (glyph && !glyph->Empty()) {
        DrawGlyphFrame(b, l.GlyphPos, *glyph, numGlyphs, glyphFrame);
    } else if (images) {
        TCanvas canvas(b);
        if (FEnabled) {
            if (imageIndex != -1) images->Draw(canvas, l.GlyphPos.x, l.GlyphPos.y, imageIndex, true);
        } else {
            const int index = disabledIndex != -1 ? disabledIndex : imageIndex;
            if (index != -1) images->Draw(canvas, l.GlyphPos.x, l.GlyphPos.y, index, false);
        }
        canvas.ReleaseSelections();
        canvas.SetHandle(nullptr);
    }

    RECT t{l.TextPos.x, l.TextPos.y, l.TextPos.x + text.cx, l.TextPos.y + text.cy};
    SetBkMode(b, TRANSPARENT);
    if (!caption.empty()) {
        DrawTextW(b, caption.c_str(), int(caption.size()), &t, TextFlags(this, l.TextFlags));
        SetBkMode(b, OPAQUE);
        if (FFocused && !inSet(FSkinData->Options(), xoNoFocusRect)) {
            InflateRect(&t, 2, 2);
            DrawFocusRect(b, &t);
        }
    }
    BitBlt(dc, r.left, r.top, w, h, b, 0, 0, SRCCOPY);
    if (old) SelectObject(b, old);
}

void TSkinBitButton::PaintGraphicProp(HDC dc, const RECT& r) {
    if (!Element()) return;
    RefreshState();
    const int frame = StateFrame();
    HDC b = PrepareBuffer(r, frame);
    if (!b) return;
    TControl* c = FControl;
    auto* picture = dynamic_cast<TBitmap*>(prop::GetObjectPropOf(c, FGraphicProp, TBitmap::StaticClassInfo()));
    const int margin = int(prop::GetIntProp(c, "Margin"));
    const int spacing = int(prop::GetIntProp(c, "Spacing"));
    const TButtonLayout layout = LayoutByName(c);
    const bool centre = lower(prop::GetEnumPropName(c, "Alignment")) == "tacenter";
    const int w = r.right - r.left, h = r.bottom - r.top;
    const SIZE g = picture && !picture->Empty() ? SIZE{picture->Width(), picture->Height()} : SIZE{0, 0};

    HGDIOBJ old = SelectCaptionFont(b, frame);
    const std::wstring caption = ReplaceFirstBar(FCaption);
    const SIZE text = MeasureBesideGlyph(b, caption, RECT{0, 0, w, h}, layout, g);
    const TGlyphLayout l = CalcGlyphLayout(SIZE{w, h}, g, text, layout, margin, spacing, centre, false);
    // The whole picture, once, in every state.
    if (g.cx > 0) DrawGlyphFrame(b, l.GlyphPos, *picture, 1, 1);
    RECT t{l.TextPos.x, l.TextPos.y, l.TextPos.x + text.cx, l.TextPos.y + text.cy};
    SetBkMode(b, TRANSPARENT);
    if (!caption.empty()) {
        DrawTextW(b, caption.c_str(), int(caption.size()), &t, l.TextFlags);
        SetBkMode(b, OPAQUE);
        if (FFocused && !inSet(FSkinData->Options(), xoNoFocusRect)) {
            InflateRect(&t, 2, 2);
            DrawFocusRect(b, &t);
        }
    }
    BitBlt(dc, r.left, r.top, w, h, b, 0, 0, SRCCOPY);
    if (old) SelectObject(b, old);
}

// ---- TSkinMenuButton ----

int TSkinMenuButton::StateFrame() const {
    return MenuButtonFrame(!FEnabled, (FMouseState & kMousePressed) != 0, (FMouseState & kMouseHot) != 0, FFocused);
}

void TSkinMenuButton::Paint(HDC dc, const RECT& r) {
    if (!Element()) return;
    RefreshState();
    const int frame = StateFrame();
    HDC b = PrepareBuffer(r, frame);
    if (!b) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    HGDIOBJ old = SelectCaptionFont(b, frame);
    const std::wstring caption = ReplaceFirstBar(FCaption);
    constexpr int kArrowZone = 17;
    SIZE text{0, 0};
    if (!caption.empty()) {
        RECT t{0, 0, w - kArrowZone, h};
        InflateRect(&t, -2, -2);
        DrawTextW(b, caption.c_str(), int(caption.size()), &t, DT_CALCRECT | DT_WORDBREAK);
        text = SIZE{t.right - t.left, t.bottom - t.top};
    }
    const POINT textPos{(w - kArrowZone - text.cx) / 2 + 2, (h - text.cy + 1) / 2};
    const int arrowY = h / 2 + 2;
    const COLORREF ink = GetSysColor(FEnabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
    {
        UniqueBrush brush(CreateSolidBrush(ink));
        UniquePen pen(CreatePen(PS_SOLID, 1, ink));
        SelectObjectScope sb(b, brush.get());
        SelectObjectScope sp(b, pen.get());
        const POINT tri[3] = {{w - 12, arrowY}, {w - 15, arrowY - 3}, {w - 9, arrowY - 3}};
        Polygon(b, tri, 3);
    }
    RECT t{textPos.x, textPos.y, textPos.x + text.cx, textPos.y + text.cy};
    SetBkMode(b, TRANSPARENT);
    if (!caption.empty()) DrawTextW(b, caption.c_str(), int(caption.size()), &t, TextFlags(this, DT_WORDBREAK));
    SetBkMode(b, OPAQUE);
    if (FFocused && !inSet(FSkinData->Options(), xoNoFocusRect)) {
        InflateRect(&t, 2, 2);
        DrawFocusRect(b, &t);
    }
    BitBlt(dc, r.left, r.top, w, h, b, 0, 0, SRCCOPY);
    if (old) SelectObject(b, old);
}

}  // namespace qs
