// The speed-button skin: a windowless control, so it sits in front of the
// control's WindowProc and paints into the DC the parent hands over.
#include <cctype>

#include "Buttons.h"
#include "SkinButton.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinRecords.h"
#include "SkinRoutines.h"

namespace qs {

const TClassInfo& TSkinSpeedButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinSpeedButton>("TSkinSpeedButton", &TSkinBitButton::StaticClassInfo()).build();
    return info;
}

namespace {
bool isTrue(const TObject* c, const char* name) {
    std::string v = prop::GetEnumPropName(c, name);
    for (auto& ch : v) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    return v == "true";
}
}  // namespace

TSkinSpeedButton::TSkinSpeedButton(TComponent* owner) : TSkinBitButton(owner) { FPainting = false; }

TSkinSpeedButton::~TSkinSpeedButton() { Unhook(); }

void TSkinSpeedButton::Unhook() {
    if (!FOldWindowProc) return;
    if (FGraphicControl && !FGraphicControl->IsDestroying()) FGraphicControl->SetWindowProc(FOldWindowProc);
    FOldWindowProc = nullptr;
}

void TSkinSpeedButton::AttachGraphic(TControl* control, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    TSkinControl::AttachGraphic(control, skinData, skinForm, canvas);
    if (!FGraphicControl) return;
    FState = scsAttached;
    FTransparent = FGraphicControl->Tag() == 5555 || (FSkinData && inSet(FSkinData->Options(), xoTransparent));
}

bool TSkinSpeedButton::BeforeMessage(TMessage& msg) {
    if (!TSkinControl::BeforeMessage(msg)) return false;
    switch (msg.Msg) {
        case WM_PAINT:
            if (!msg.WParam || !FGraphicControl) return true;
            DrawSpeedButton(reinterpret_cast<HDC>(msg.WParam),
                            RECT{0, 0, FGraphicControl->Width(), FGraphicControl->Height()});
            msg.Result = 1;
            return false;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // The control does its own pressing (and capture) first; the
            // program's handler there may free this skin.
            if (!CallDefaultAlive(msg)) return false;
            FMouseState |= kMousePressed;
            PaintWindow(nullptr);
            return false;
        default:
            return true;
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_LBUTTONUP:
            FMouseState &= uint8_t(~kMousePressed);
            PaintWindow(nullptr);
            break;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.WParam != VK_SPACE) break;
            if (msg.Msg == WM_KEYDOWN)
                FMouseState |= kMousePressed;
            else
                FMouseState &= uint8_t(~kMousePressed);
            PaintWindow(nullptr);
            break;
        case CM_MOUSEENTER:
            FMouseState |= kMouseHot;
            PaintWindow(nullptr);
            break;
        case CM_MOUSELEAVE:
            FMouseState &= uint8_t(~(kMouseHot | kMousePressed));
            if (FGraphicControl && FGraphicControl->Visible()) PaintWindow(nullptr);
            break;
        case WM_NCDESTROY:
        case CM_RELEASE:
            Unhook();
            break;
        default:
            // Enabling and focus changes repaint through the control itself.
            break;
    }
}

void TSkinSpeedButton::PaintWindow(HDC dc) {
    if (!FGraphicControl) return;
    const RECT r{0, 0, FGraphicControl->Width(), FGraphicControl->Height()};
    if (dc) {
        DrawSpeedButton(dc, r);
        return;
    }
    // Outside a paint there is no DC of ours: the parent paints us again.
    auto* g = dynamic_cast<TGraphicControl*>(FGraphicControl);
    if (g && g->Canvas()->HandleAllocated())
        DrawSpeedButton(g->Canvas()->Handle(), r);
    else
        FGraphicControl->Invalidate();
}

void TSkinSpeedButton::DrawSpeedButton(HDC dc, const RECT& rect) {
    TDataSkinButton* e = Element();
    if (!e || FPainting || !FGraphicControl || !dc) return;
    FPainting = true;
    struct Clear {
        bool& flag;
        ~Clear() { flag = false; }
    } clear{FPainting};

    TControl* c = FGraphicControl;
    const bool enabled = isTrue(c, "Enabled");
    const bool down = isTrue(c, "Down");
    const bool flat = isTrue(c, "Flat");
    FCaption = prop::GetWideTextProp(c, "Caption");
    FFocused = false;
    FEnabled = enabled;
    auto* glyph = dynamic_cast<TBitmap*>(prop::GetObjectPropOf(c, "Glyph", TBitmap::StaticClassInfo()));
    int numGlyphs = int(prop::GetIntProp(c, "NumGlyphs"));
    if (numGlyphs < 1) numGlyphs = 1;
    const int margin = int(prop::GetIntProp(c, "Margin"));
    const int spacing = int(prop::GetIntProp(c, "Spacing"));
    std::string layoutName = prop::GetEnumPropName(c, "Layout");
    for (auto& ch : layoutName) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    const TButtonLayout layout = layoutName == "blglyphright"    ? blGlyphRight
                                 : layoutName == "blglyphtop"    ? blGlyphTop
                                 : layoutName == "blglyphbottom" ? blGlyphBottom
                                                                 : blGlyphLeft;

    const int frame =
        SpeedButtonFrame(enabled, down, (FMouseState & kMousePressed) != 0, (FMouseState & kMouseHot) != 0);
    const int glyphFrame = GlyphFrameForButton(frame, down);
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (w < 1 || h < 1) return;
    if (FBuffer->Width() != w || FBuffer->Height() != h) FBuffer->SetSize(w, h);
    HDC b = FBuffer->Canvas()->Handle();
    const RECT local{0, 0, w, h};
    if (FTransparent)
        PaintParentBackground(c, b);
    else
        FillSkinColor(b, local);
    if (SpeedButtonDrawsElement(flat, frame)) DrawSkinElement(this, b, local, e->Frame, frame, e);

    HGDIOBJ old = SelectCaptionFont(b, frame);
    if (!enabled) SetTextColor(b, GetSysColor(COLOR_BTNSHADOW));
    const SIZE g = glyph ? GlyphFrameSize(*glyph, numGlyphs) : SIZE{0, 0};
    if (g.cx * g.cy != 0) {
        const std::wstring caption = ReplaceFirstBar(FCaption);
        SIZE text{0, 0};
        if (!caption.empty()) {
            RECT t = local;
            InflateRect(&t, -2, -2);
            if (layout == blGlyphLeft || layout == blGlyphRight)
                t.right -= g.cx + 2;
            else
                t.bottom -= g.cy + 2;
            DrawTextW(b, caption.c_str(), int(caption.size()), &t, DT_CALCRECT | DT_WORDBREAK);
            text = SIZE{t.right - t.left, t.bottom - t.top};
        }
        const TGlyphLayout l = CalcGlyphLayout(SIZE{w, h}, g, text, layout, margin, spacing, false, true);
        DrawGlyphFrame(b, l.GlyphPos, *glyph, numGlyphs, glyphFrame);
        if (!caption.empty()) {
            RECT t{l.TextPos.x, l.TextPos.y, l.TextPos.x + text.cx, l.TextPos.y + text.cy};
            SetBkMode(b, TRANSPARENT);
            DrawTextW(b, caption.c_str(), int(caption.size()), &t, TextFlags(this, l.TextFlags));
            SetBkMode(b, OPAQUE);
        }
    } else {
        DrawButtonCaption(b, local, DT_CENTER);
    }
    BitBlt(dc, rect.left, rect.top, w, h, b, 0, 0, SRCCOPY);
    if (old) SelectObject(b, old);
}

}  // namespace qs
