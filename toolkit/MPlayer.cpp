#include "MPlayer.h"

#include <algorithm>

namespace qs {

const std::vector<std::string> kMPBtnTypeNames = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                  "btStep", "btBack",  "btRecord", "btEject"};

const TClassInfo& TMediaPlayer::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TMediaPlayer>("TMediaPlayer", &TCustomControl::StaticClassInfo())
            .creatable()
            .set("VisibleButtons", kMPBtnTypeNames, &TMediaPlayer::VisibleButtons,
                 [](TMediaPlayer& p, uint64_t v) { p.SetVisibleButtons(TMPButtonSet(v)); })
            .set("EnabledButtons", kMPBtnTypeNames, &TMediaPlayer::EnabledButtons,
                 [](TMediaPlayer& p, uint64_t v) { p.SetEnabledButtons(TMPButtonSet(v)); })
            .set("ColoredButtons", kMPBtnTypeNames, &TMediaPlayer::ColoredButtons,
                 [](TMediaPlayer& p, uint64_t v) { p.SetColoredButtons(TMPButtonSet(v)); })
            .event<TMPBtnClickEvent>("OnClick", [](const TMediaPlayer& p) { return p.OnButtonClick; },
                                     [](TMediaPlayer& p, const TMPBtnClickEvent& f) { p.OnButtonClick = f; })
            .build();
    return info;
}

TMediaPlayer::TMediaPlayer(TComponent* owner) : TCustomControl(owner) {
    // Clicks are per button, raised here, not the control-wide click.
    SetControlStyle((ControlStyle() | csOpaque) & ~csClickEvents & ~csAcceptsControls);
    SetColor(clBtnFace);
    SetBounds(0, 0, 253, 30);
}

TMediaPlayer::~TMediaPlayer() { DestroyHandle(); }

void TMediaPlayer::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

void TMediaPlayer::SetVisibleButtons(TMPButtonSet s) {
    s &= kMPAllButtons;
    if (s == FVisible) return;
    FVisible = s;
    FPressed = kMPNoButton;
    Invalidate();
}
void TMediaPlayer::SetEnabledButtons(TMPButtonSet s) {
    s &= kMPAllButtons;
    if (s == FEnabledButtons) return;
    FEnabledButtons = s;
    Invalidate();
}
void TMediaPlayer::SetColoredButtons(TMPButtonSet s) {
    s &= kMPAllButtons;
    if (s == FColored) return;
    FColored = s;
    Invalidate();
}

namespace {
COLORREF colouredGlyph(TMPBtnType b) {
    switch (b) {
        case btPlay: return RGB(0, 128, 0);
        case btPause: return RGB(160, 128, 0);
        case btRecord: return RGB(192, 0, 0);
        default: return RGB(0, 0, 160);
    }
}
}  // namespace

void DrawMPGlyph(HDC dc, const RECT& cell, TMPBtnType button, COLORREF colour) {
    UniqueBrush brush(CreateSolidBrush(colour));
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    SelectObjectScope sb(dc, brush.get());
    SelectObjectScope sp(dc, pen.get());
    // A 12 x 10 box in the middle of the cell.
    int cx = (cell.left + cell.right) / 2, cy = (cell.top + cell.bottom) / 2;
    int l = cx - 6, t = cy - 5, r = cx + 6, b = cy + 5;
    auto tri = [&](int x0, int x1, int top, int bottom) {  // pointing from x0 to x1
        POINT p[3] = {{x0, top}, {x1, (top + bottom) / 2}, {x0, bottom}};
        Polygon(dc, p, 3);
    };
    auto bar = [&](int x0, int x1, int top, int bottom) {
        RECT rc{x0, top, x1, bottom};
        FillRect(dc, &rc, brush.get());
    };
    switch (button) {
        case btPlay: tri(l + 2, r - 2, t, b); break;
        case btPause: bar(l + 2, l + 5, t, b + 1); bar(r - 5, r - 2, t, b + 1); break;
        case btStop: bar(l + 1, r - 1, t, b + 1); break;
        case btNext: tri(l, r - 4, t, b); bar(r - 3, r, t, b + 1); break;
        case btPrev: bar(l, l + 3, t, b + 1); tri(r, l + 4, t, b); break;
        case btStep: tri(l, cx, t + 1, b - 1); tri(cx, r, t + 1, b - 1); break;
        case btBack: tri(cx, l, t + 1, b - 1); tri(r, cx, t + 1, b - 1); break;
        case btRecord: Ellipse(dc, l + 1, t, r - 1, b + 1); break;
        case btEject: {
            POINT p[3] = {{l, t + 6}, {cx, t}, {r, t + 6}};
            Polygon(dc, p, 3);
            bar(l, r + 1, b - 2, b + 1);
            break;
        }
    }
}

void TMediaPlayer::Paint() {
    HDC target = Canvas()->Handle();
    RECT client = ClientRect();
    int w = client.right, h = client.bottom;
    if (w <= 0 || h <= 0) return;
    // Composed off-screen so a press never flickers through the face colour.
    UniqueDC mem(CreateCompatibleDC(target));
    UniqueBitmap bmp(CreateCompatibleBitmap(target, w, h));
    SelectObjectScope keep(mem.get(), bmp.get());
    UniqueBrush face(CreateSolidBrush(ColorToRGB(Color())));
    FillRect(mem.get(), &client, face.get());
    int bw = ButtonWidth();
    for (int i = 0; i < kMPButtonCount; ++i) {
        PixelRect c = mpButtonCell(FVisible, bw, h, i);
        if (c.empty()) continue;
        RECT cell{c.left, c.top, c.right, c.bottom};
        bool pressed = FPressed == i;
        DrawFrameControl(mem.get(), &cell, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
        if (pressed) OffsetRect(&cell, 1, 1);
        auto type = TMPBtnType(i);
        bool enabled = Enabled() && (FEnabledButtons & (1u << i));
        COLORREF colour = !enabled ? GetSysColor(COLOR_BTNSHADOW)
                          : (FColored & (1u << i)) ? colouredGlyph(type)
                                                   : GetSysColor(COLOR_BTNTEXT);
        DrawMPGlyph(mem.get(), cell, type, colour);
    }
    BitBlt(target, 0, 0, w, h, mem.get(), 0, 0, SRCCOPY);
}

void TMediaPlayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    int hit = ButtonAt(x);
    FPressed = hit != kMPNoButton && (FEnabledButtons & (1u << hit)) ? hit : kMPNoButton;
    if (FPressed != kMPNoButton && HandleAllocated()) SetCapture(FHandle);
    Invalidate();
}

void TMediaPlayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TCustomControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    int pressed = FPressed;
    FPressed = kMPNoButton;
    if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
    Invalidate();
    bool inside = y >= 0 && y < ClientHeight();
    if (pressed != kMPNoButton && inside && ButtonAt(x) == pressed && (FEnabledButtons & (1u << pressed)))
        ButtonClick(TMPBtnType(pressed));
}

void TMediaPlayer::ButtonClick(TMPBtnType button) {
    bool doDefault = true;
    if (OnButtonClick) OnButtonClick(this, button, doDefault);
}

}  // namespace qs
