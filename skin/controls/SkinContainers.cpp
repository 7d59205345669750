#include "SkinContainers.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "ToolbarPainters.h"
#include "SkinBars.h"
#include "ComCtrls.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinRoutines.h"

namespace qs {

#define QS_SKIN_CLASS(T)                                                                        \
    const TClassInfo& T::StaticClassInfo() {                                                    \
        static const TClassInfo info = TClassBuilder<T>(#T, &TSkinControl::StaticClassInfo()).build(); \
        return info;                                                                            \
    }
QS_SKIN_CLASS(TSkinStatusBar)
QS_SKIN_CLASS(TSkinGroupBox)
QS_SKIN_CLASS(TSkinBox)
QS_SKIN_CLASS(TSkinBoxH)
QS_SKIN_CLASS(TSkinSizer)
QS_SKIN_CLASS(TSkinTabSheet)
#undef QS_SKIN_CLASS

namespace {
// One work surface for every status bar of the process: painting happens on
// the user-interface thread only.
TBitmap& statusWorkBitmap() {
    static TBitmap bitmap;
    return bitmap;
}

HBRUSH faceBrush(const TSkinData* data) {
    HBRUSH b = data ? data->FaceBrush() : nullptr;
    return b ? b : GetSysColorBrush(COLOR_BTNFACE);
}

// The text of part `i` of a bare status bar; `type` gets its SBT_* drawing bits.
std::wstring partText(HWND bar, int i, UINT* type) {
    const LRESULT info = SendMessageW(bar, SB_GETTEXTLENGTHW, WPARAM(i), 0);
    if (type) *type = HIWORD(info);
    std::wstring text(size_t(LOWORD(info)) + 1, L'\0');
    if ((HIWORD(info) & SBT_OWNERDRAW) == 0) SendMessageW(bar, SB_GETTEXTW, WPARAM(i), LPARAM(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

UINT alignmentFlag(TAlignment a) { return a == taRightJustify ? DT_RIGHT : a == taCenter ? DT_CENTER : 0; }
}  // namespace

// ---- status bar ---------------------------------------------------------------------

bool TSkinStatusBar::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_PAINT:
            PaintMessage(msg);
            return false;
        case WM_ERASEBKGND:
            msg.Result = 1;
            return false;
        default:
            return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinStatusBar::DrawPanelFrame(HDC dc, const RECT& r, int style) const {
    TDataSkinObject* edges = FSkinData ? FSkinData->StatusBarEdges() : nullptr;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    if (edges && !edges->Bitmap.Empty()) {
        auto piece = BuildNineSlice(RECT{0, 0, w, h}, edges->Bitmap, edges->Margins(), false, edges->Tile == 1, 3,
                                    std::clamp(style, 1, 3));
        if (piece) {
            BitBlt(dc, r.left, r.top, w, h, piece->Canvas()->Handle(), 0, 0, SRCCOPY);
            piece->Dormant();
        }
        return;
    }
    if (style == 3) return;
    COLORREF topLeft = GetSysColor(COLOR_BTNSHADOW), bottomRight = GetSysColor(COLOR_BTNHIGHLIGHT);
    if (style == 2) std::swap(topLeft, bottomRight);
    auto line = [dc](COLORREF c, int x0, int y0, int x1, int y1) {
        UniquePen pen(CreatePen(PS_SOLID, 1, c));
        SelectObjectScope sel(dc, pen.get());
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    };
    line(topLeft, r.left, r.bottom - 1, r.left, r.top);
    line(topLeft, r.left, r.top, r.right - 1, r.top);
    line(bottomRight, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    line(bottomRight, r.right - 1, r.bottom - 1, r.left - 1, r.bottom - 1);
}

void TSkinStatusBar::Paint(HDC dc, const RECT& r) {
    const int W = r.right - r.left, H = r.bottom - r.top;
    if (!dc || W <= 0 || H <= 0) return;
    auto* bar = dynamic_cast<TCustomStatusBar*>(FControl);
    TBitmap& work = statusWorkBitmap();
    if (work.Width() != W || work.Height() != H) work.SetSize(W, H);
    TCanvas& canvas = *work.Canvas();
    const RECT all{0, 0, W, H};
    canvas.Brush().SetStyle(TBrushStyle::bsSolid);
    canvas.Brush().SetColor(FaceColor());
    canvas.FillRect(all);
    if (bar) canvas.SetFont(*bar->Font());
    canvas.Font().SetStyle(0);
    TDataSkinObject* edges = FSkinData ? FSkinData->StatusBarEdges() : nullptr;
    if (edges) {
        canvas.Font().SetColor(TColor(edges->NormalColour2));
        SetTextColor(canvas.Handle(), ColorToRGB(TColor(edges->NormalColour2)));
    }
    HDC wdc = canvas.Handle();
    // A bare status bar tells its parts itself.
    const int count = bar ? (bar->Panels() ? bar->Panels()->Count() : 0)
                          : int(SendMessageW(FHandle, SB_GETPARTS, 0, 0));
    const bool simple = bar ? bar->SimplePanel() || count == 0 : count <= 0 || SendMessageW(FHandle, SB_ISSIMPLE, 0, 0);
    if (simple) {
        const UINT align = PropControl() && PropControl()->IsRightToLeft() ? DT_RIGHT : 0;
        std::wstring text = bar ? prop::GetWideTextProp(bar, "simpletext") : GetWindowTextWide(FHandle);
        if (!bar && SendMessageW(FHandle, SB_ISSIMPLE, 0, 0)) text = partText(FHandle, SB_SIMPLEID, nullptr);
        if (text.empty()) text = L" ";
        DrawPanelFrame(wdc, all, 1);
        RECT tr = all;
        InflateRect(&tr, -2, 0);
        DrawCaptionText(this, canvas, tr, align, true, text);
    } else if (!bar) {
        for (int i = 0; i < count; ++i) {
            RECT pr{};
            if (!SendMessageW(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr))) continue;
            UINT type = 0;
            std::wstring text = partText(FHandle, i, &type);
            DrawPanelFrame(wdc, pr, (type & SBT_NOBORDERS) ? 3 : (type & SBT_POPOUT) ? 2 : 1);
            if (type & SBT_OWNERDRAW) continue;
            if (text.empty()) text = L" ";
            RECT tr = pr;
            InflateRect(&tr, -2, 0);
            DrawCaptionText(this, canvas, tr, 0, true, text);
        }
    } else {
        for (int i = 0; i < count; ++i) {
            TStatusPanel* panel = bar->Panels()->At(i);
            UINT align = alignmentFlag(panel->Alignment());
            if (panel->BiDiMode() != TBiDiMode::bdLeftToRight) {
                if (align == DT_RIGHT)
                    align = 0;
                else if (align == 0)
                    align = DT_RIGHT;
            }
            RECT pr{};
            if (!SendMessageW(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr))) continue;
            pr.right += 2;
            if (i == count - 1) pr.right = all.right;
            std::wstring text = prop::GetWideTextProp(panel, "Text");
            const int style = panel->Bevel() == pbRaised ? 2 : panel->Bevel() == pbLowered ? 1 : 3;
            DrawPanelFrame(wdc, pr, style);
            if (panel->Style() == psOwnerDraw) continue;
            if (text.empty()) text = L" ";
            RECT tr = pr;
            InflateRect(&tr, -2, 0);
            DrawCaptionText(this, canvas, tr, align, true, text);
        }
    }
    TDataSkinObject* extra = FSkinData ? FSkinData->ExtraImages() : nullptr;
    if ((GetLong(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) && extra && !extra->Bitmap.Empty()) {
        const int frames = std::max(extra->Frame, 1);
        const int gw = extra->Bitmap.Width() / frames, gh = extra->Bitmap.Height();
        const RECT grip{all.right - 1 - gw, all.bottom - 1 - gh, all.right - 1, all.bottom - 1};
        DrawKeyedFrame(this, canvas, grip, frames, 5, extra->Bitmap);
    }
    BitBlt(dc, r.left, r.top, W, H, wdc, 0, 0, SRCCOPY);
    canvas.ReleaseSelections();
    work.Dormant();
    if (!bar) return;
    bar->PaintControls(dc);
    // Hidden panels of simple mode are not drawn over the simple text.
    if (!bar->OnDrawPanel || simple) return;
    for (int i = 0; i < count; ++i) {
        RECT pr{};
        if (!SendMessageW(FHandle, SB_GETRECT, WPARAM(i), reinterpret_cast<LPARAM>(&pr))) continue;
        InflateRect(&pr, -2, -2);
        TCanvas* bc = bar->Canvas();
        bc->SetHandle(dc);
        bc->SetFont(*bar->Font());
        try {
            bar->OnDrawPanel(bar, bar->Panels()->At(i), pr);
        } catch (...) {
            bc->SetHandle(nullptr);
            throw;
        }
        bc->SetHandle(nullptr);
    }
}

// ---- group box ------------------------------------------------------------------------

void TSkinGroupBox::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    const bool was = FAttached;
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    if (!was && FAttached && FControl) FKind = 1;
}

bool TSkinGroupBox::BeforeMessage(TMessage& msg) {
    const bool pass = TSkinControl::BeforeMessage(msg);
    if (pass && FKind == 1 && msg.Msg == WM_PAINT) {
        PaintMessage(msg);
        return false;
    }
    return pass;
}

void TSkinGroupBox::Paint(HDC target, const RECT& r) {
    if (!target || r.right <= 0 || r.bottom <= 0) return;
    // Composed in memory and copied in one go: the frame, the caption over
    // it and the windowless children never flicker through half drawn.
    // A DIB section rather than a bitmap compatible with the window's DC:
    // under Wine the latter asks the server about the display on creation
    // and on selection, for every group box on every paint.
    UniqueDC mem(CreateCompatibleDC(target));
    UniqueBitmap bmp = mem ? CreateDIB32(r.right, r.bottom, nullptr) : UniqueBitmap();
    if (!mem || !bmp) return;
    SelectObjectScope bmpSel(mem.get(), bmp.get());
    HDC dc = mem.get();
    // A foreign group box keeps what the system painted inside the frame.
    if (FKind == 0) BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, target, r.left, r.top, SRCCOPY);
    FCaption = GetWindowTextWide(FHandle);
    if (FCaption.empty() && FControl) FCaption = prop::GetWideTextProp(FControl, "Caption");
    if (FControl) FillSkinColor(dc, r);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    SetTextColor(dc, GetTextColor(target));
    if (FControl) {
        font = FControl->Font()->Handle();
        SetTextColor(dc, ColorToRGB(SkinTextColor(this, FControl->Font()->Color())));
    }
    SelectObjectScope fontSel(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE zero{};
    GetTextExtentPoint32W(dc, L"0", 1, &zero);
    const int t = FrameTop(zero.cy);
    if (FKind == 0) {
        RECT fr{0, t, r.right, r.bottom};
        HBRUSH face = faceBrush(FSkinData);
        FrameRect(dc, &fr, face);
        InflateRect(&fr, -1, -1);
        FrameRect(dc, &fr, face);
    }
    {
        const TColor shadow = FSkinData ? TColor(FSkinData->ButtonShadow) : clBtnShadow;
        UniquePen pen(CreatePen(PS_SOLID, 1, ColorToRGB(shadow)));
        SelectObjectScope penSel(dc, pen.get());
        SelectObjectScope brushSel(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, 1, t, r.right - 1, r.bottom - 1, 5, 5);
    }
    SetBkColor(dc, ColorToRGB(FaceColor()));
    SetBkMode(dc, OPAQUE);
    if (!FCaption.empty()) {
        if (GetLong(FHandle, GWL_EXSTYLE) & WS_EX_RIGHT) {
            RECT tr{r.left, r.top, r.right - 8, r.bottom};
            DrawTextW(dc, FCaption.c_str(), int(FCaption.size()), &tr, TextFlags(this, DT_RIGHT | DT_EXPANDTABS));
        } else {
            RECT tr{r.left + 8, r.top, r.right, r.bottom};
            DrawTextW(dc, FCaption.c_str(), int(FCaption.size()), &tr, TextFlags(this, DT_EXPANDTABS));
        }
    }
    if (FKind == 1)
        if (auto* win = dynamic_cast<TWinControl*>(FControl)) win->PaintControls(dc);
    BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, dc, r.left, r.top, SRCCOPY);
}

// ---- panels ---------------------------------------------------------------------------

void TSkinBox::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    if (FAttached) return;
    FChangeColor = changeColor;
    FSkinData = skinData;
    FCanvas = canvas;
    FControl = dynamic_cast<TControl*>(Owner());
    auto* win = dynamic_cast<TWinControl*>(FControl);
    if (win) FHandle = win->Handle();
    FSkinForm = skinForm;
    AddToSkinForm();
    if (FChangeColor && FControl) {
        FOldColor = FControl->Color();
        FControl->SetColor(FaceColor());
        FOldFontColor = FControl->Font()->Color();
        FOldParentFont = FControl->ParentFont();
        FollowSkinText();
    }
    // Only to hear the program switch the skin off and on: every message
    // goes on to the control as before.
    if (win) HookControl(win);
    FAttached = true;
    FState = scsAttached;
}

bool TSkinBox::BeforeMessage(TMessage&) { return true; }

void TSkinBox::FollowSkinText() {
    const TColor text = SkinTextColor(this, FOldFontColor);
    if (text != FOldFontColor) {
        if (FControl->Font()->Color() != text) FControl->Font()->SetColor(text);
        FFontColorChanged = true;
    } else if (FFontColorChanged) {
        // Setting the colour made the font the panel's own; a panel that
        // followed its parent's font goes back to doing so.
        FControl->Font()->SetColor(FOldFontColor);
        if (FOldParentFont) FControl->SetParentFont(true);
        FFontColorChanged = false;
    }
}

void TSkinBox::SkinChanged() {
    // The face and the caption both take the new skin's colours: a caption
    // left in the old skin's text colour may vanish on the new face.
    if (FChangeColor && FControl && !FControl->IsDestroying()) {
        FControl->SetColor(FaceColor());
        FollowSkinText();
    }
    if (!RepaintFollowsChange()) Repaint();
}

void TSkinBox::GiveBack() {
    if (FState != 4 && FChangeColor && FControl && !FControl->IsDestroying()) {
        FControl->SetColor(FOldColor);
        if (FFontColorChanged) {
            // Setting the colour made the font the panel's own; a panel that
            // followed its parent's font goes back to doing so.
            FControl->Font()->SetColor(FOldFontColor);
            if (FOldParentFont) FControl->SetParentFont(true);
        }
    }
    FFontColorChanged = false;
    // The painters point at the form skin, which goes after this: a later
    // repaint of the bar must not reach it.
    if (FToolbar && FControl && !FControl->IsDestroying()) {
        UnhookToolbarPainters(FToolbar, FControl);
        prop::SetPropFromString(FControl, "Flat", FOldFlat ? "True" : "False");
    }
}

void TSkinBox::Restore() {
    GiveBack();
    FToolbar = nullptr;
    FState = scsRestored;
}

void TSkinBox::ActiveChanged() {
    if (!FActive) {
        GiveBack();
        return;
    }
    if (!FControl || FControl->IsDestroying()) return;
    if (FChangeColor) {
        FControl->SetColor(FaceColor());
        FollowSkinText();
    }
    if (FToolbar && FSkinForm == FToolbar) {
        prop::SetPropFromString(FControl, "Flat", "True");
        HookToolbarPainters(*FSkinForm, FControl);
    }
}

void TSkinBox::AfterMessage(TMessage&) {}

// ---- child dialogs and tool bars of foreign windows ----------------------------------------

bool TSkinBoxH::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_ERASEBKGND: {
            RECT wr{};
            GetWindowRect(FHandle, &wr);
            FillSkinColor(reinterpret_cast<HDC>(msg.WParam), RECT{0, 0, wr.right - wr.left, wr.bottom - wr.top});
            msg.Result = 0;
            return false;
        }
        case WM_CTLCOLORSTATIC:
            if (!CallDefaultAlive(msg)) return false;
            // As on a skinned dialog box: labels, check-box and radio-button
            // captions and group-box titles in the skin's text colour, on
            // its face.
            if (FSkinData) {
                SetBkMode(reinterpret_cast<HDC>(msg.WParam), TRANSPARENT);
                SetTextColor(reinterpret_cast<HDC>(msg.WParam), ColorToRGB(TColor(FSkinData->ButtonText)));
            }
            msg.Result = reinterpret_cast<LRESULT>(faceBrush(FSkinData));
            return false;
        case WM_CTLCOLORBTN:
            if (!CallDefaultAlive(msg)) return false;
            SetBkMode(reinterpret_cast<HDC>(msg.WParam), TRANSPARENT);
            return false;
        case WM_CTLCOLORDLG:
            if (!CallDefaultAlive(msg)) return false;
            msg.Result = reinterpret_cast<LRESULT>(faceBrush(FSkinData));
            return false;
        default:
            if (AnswerToolbarCustomDraw(msg, [&] {
                    CallDefault(msg);
                    return msg.Result;
                }))
                return false;
            return TSkinControl::BeforeMessage(msg);
    }
}

// ---- size grip -----------------------------------------------------------------------------

void TSkinSizer::Paint(HDC dc, const RECT& r) { FillSkinColor(dc, r); }

// ---- tab sheets ----------------------------------------------------------------------------

bool TSkinTabSheet::BeforeMessage(TMessage& msg) {
    const bool pass = TSkinControl::BeforeMessage(msg);
    if (!pass || FKind != 0) return pass;
    switch (msg.Msg) {
        case WM_PAINT:
        case WM_PRINT:
            PaintMessage(msg);
            return false;
        case WM_ERASEBKGND: {
            RECT cr{};
            GetClientRect(FHandle, &cr);
            FillRect(reinterpret_cast<HDC>(msg.WParam), &cr, faceBrush(FSkinData));
            msg.Result = 1;
            return false;
        }
        default:
            return pass;
    }
}

void TSkinTabSheet::Paint(HDC dc, const RECT& r) {
    FillSkinColor(dc, r);
    if (auto* win = dynamic_cast<TWinControl*>(FControl)) win->PaintControls(dc);
}

}  // namespace qs
