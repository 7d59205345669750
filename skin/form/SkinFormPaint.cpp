// Painting the skinned frame: borders, title with caption buttons, icon and
// caption text, and the menu band, composed in one window-sized bitmap and
// copied to the window in a single transfer; and the window region.
#include <algorithm>

#include "Forms.h"
#include "SkinData.h"
#include "NineSlice.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinRecords.h"

namespace qs {

// The largest window whose frame is composed off-screen: two 8K screens side
// by side, at 4 bytes a pixel 256 MiB.
constexpr int64_t kMaxComposedFramePixels = int64_t(1) << 26;

namespace {

TDataSkinBorder* borderOf(TSkinData* sd, int kind) {
    switch (kind) {
        case 1: return sd->BorderLeft();
        case 2: return sd->BorderRight();
        case 3: return sd->BorderTop();
        case 4: return sd->BorderBottom();
        default: return nullptr;
    }
}

void fill(HDC dc, const RECT& r, TSkinData* sd) {
    if (sd->FaceBrush()) {
        ::FillRect(dc, &r, sd->FaceBrush());
    } else {
        UniqueBrush b(::CreateSolidBrush(ColorToRGB(sd->ButtonFace)));
        ::FillRect(dc, &r, b.get());
    }
}

// A border piece at the window's state: frame 1 active (or with one frame),
// frame 2 inactive. The top and bottom strips stack their frames.
std::unique_ptr<TBitmap> buildPiece(TDataSkinBorder* e, int kind, const RECT& r, bool active) {
    if (!e || e->Bitmap.Empty() || r.right - r.left <= 0 || r.bottom - r.top <= 0) return nullptr;
    const int frames = std::max(e->Frame, 1);
    const int frame = active || frames == 1 ? 1 : 2;
    return BuildNineSlice(r, e->Bitmap, e->Margins(), kind == 3 || kind == 4, e->Tile != 1, frames, frame);
}

// The same piece written straight into `dst` at `r`; false (nothing
// written) where only the device-context route can draw it.
bool pieceToPixels(const PixelView& dst, TDataSkinBorder* e, int kind, const RECT& r, bool active) {
    if (!e || e->Bitmap.Empty() || r.right - r.left <= 0 || r.bottom - r.top <= 0) return false;
    const int frames = std::max(e->Frame, 1);
    const int frame = active || frames == 1 ? 1 : 2;
    return NineSliceToPixels(dst, r, e->Bitmap, e->Margins(), kind == 3 || kind == 4, e->Tile != 1, frames, frame);
}

}  // namespace

void TWinSkinForm::PaintBorderPiece(int kind, const RECT& r, HDC dc) {
    if (!FSkinData || !dc) return;
    TDataSkinBorder* e = borderOf(FSkinData, kind);
    // Into the composed frame a tiled or copied piece goes pixel by pixel:
    // a resize composes every border again, and through the device context
    // each tile is a transfer of its own.
    if (dc == FTitleBitmap.Canvas()->Handle() && pieceToPixels(FTitleBitmap.View(), e, kind, r, FActive)) return;
    auto piece = buildPiece(e, kind, r, FActive);
    if (!piece) return;
    ::BitBlt(dc, r.left, r.top, piece->Width(), piece->Height(), piece->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintFrame(HDC given) {
    if (!FSkinData || !FSkinData->SkinLoaded() || !FHandle) return;
    if (FSkinState != ssSkinned && FSkinState != ssReapplying) return;
    if (FBorderKind == bkNoCaption || (FFormKind == 2 && FWindowState == wsMaximizedKind)) return;
    try {
        ::GetWindowRect(FHandle, &FWindowRect);
        const int W = FWindowRect.right - FWindowRect.left, H = FWindowRect.bottom - FWindowRect.top;
        FWidth = W;
        FHeight = H;
        if (W <= 0 || H <= 0) return;
        // No window of any real screen is this large; a bitmap of its size
        // may be refused, or granted and then break the drawing code that
        // addresses it with 32-bit offsets. The frame stays unpainted.
        if (int64_t(ComposedSide(W)) * ComposedSide(H) > kMaxComposedFramePixels) return;

        FrameKey key = CurrentFrameKey(W, H);
        const bool reuse = FFrameValid && FSkinState != ssReapplying && FTitleBitmap.Width() >= W &&
                           FTitleBitmap.Height() >= H && key == FFrameKey;
        if (!reuse) {
            FFrameValid = false;
            if (!ComposeFrame(W, H)) return;
            FFrameKey = std::move(key);
            FFrameValid = true;
        } else if (FMenuHeight > 0 && FWindowState != wsMinimizedKind && FSkinMenu) {
            // The menu bar changes without the frame knowing: its band is
            // drawn again on every paint.
            PaintMenuArea(FTitleBitmap.Canvas()->Handle(), W);
            ::GdiFlush();
        }
        HDC off = FTitleBitmap.Canvas()->Handle();

        // One transfer of everything but the client area.
        HDC dc = given;
        WindowDCScope own(given ? nullptr : FHandle);
        if (!given) dc = own.get();
        if (!dc) return;
        SaveDCScope keep(dc);
        if (FWindowState != wsMinimizedKind)
            ::ExcludeClipRect(dc, FLeftWidth, FTitleHeight + FMenuHeight, W - FRightWidth, H - FBottomHeight);
        ::BitBlt(dc, 0, 0, W, H, off, 0, 0, SRCCOPY);
        ::SetBkMode(dc, OPAQUE);
    } catch (...) {
        // A paint that fails gives up silently: the next one tries again.
        FFrameValid = false;
    }
    FHotObject = nullptr;
}

TWinSkinForm::FrameKey TWinSkinForm::CurrentFrameKey(int W, int H) {
    FrameKey k;
    k.width = W;
    k.height = H;
    k.active = FActive;
    k.skin = FSkinData;
    k.windowState = FWindowState;
    k.borderKind = FBorderKind;
    k.styleFlags = FStyleFlags;
    k.left = FLeftWidth;
    k.title = FTitleHeight;
    k.right = FRightWidth;
    k.bottom = FBottomHeight;
    k.menu = FMenuHeight;
    k.caption = WindowText();
    // The program may answer the visibility query differently at any time.
    for (auto& b : FButtons) ButtonVisible(*b);
    LayoutButtons();
    k.buttons.reserve(FButtons.size() * 5);
    for (auto& b : FButtons) {
        const RECT& r = b->FBoundsRect;
        k.buttons.insert(k.buttons.end(), {int(b->FVisible) | int(b->FEnabled) << 1, int(r.left), int(r.top),
                                           int(r.right), int(r.bottom)});
    }
    return k;
}

bool TWinSkinForm::ComposeFrame(int W, int H) {
    // Once the window changes size, the bitmap's sides are the window's
    // rounded up to a step: a window resized step by step would otherwise
    // get fresh memory for every size, and touching fresh pages costs more
    // than composing the frame (about 0.6 ms at 700 x 480 under Wine). The
    // first composition takes the window's size exactly, as most windows
    // keep it. Only the window's own part is used.
    const int bw = FTitleBitmap.Width(), bh = FTitleBitmap.Height();
    const bool fits = (bw == W && bh == H) || (bw == ComposedSide(W) && bh == ComposedSide(H));
    if (!fits) {
        const bool resized = !FTitleBitmap.Empty();
        // A fresh bitmap: keeping the old picture is a copy nobody needs.
        FTitleBitmap.Clear();
        FTitleBitmap.SetSize(resized ? ComposedSide(W) : W, resized ? ComposedSide(H) : H);
    }
    if (FTitleBitmap.Empty() || FTitleBitmap.Width() < W || FTitleBitmap.Height() < H) return false;
    HDC off = FTitleBitmap.Canvas()->Handle();
    // Only the frame is ever copied out: the client part stays unpainted.
    const int top = std::min(H, FTitleHeight + FMenuHeight), bottom = std::max(top, H - FBottomHeight);
    fill(off, RECT{0, 0, W, top}, FSkinData);
    fill(off, RECT{0, top, FLeftWidth, H}, FSkinData);
    fill(off, RECT{W - FRightWidth, top, W, H}, FSkinData);
    fill(off, RECT{FLeftWidth, bottom, W - FRightWidth, H}, FSkinData);

    RECT titleRect{FLeftWidth, 0, W - FRightWidth, FTitleHeight};
    if (FWindowState == wsMinimizedKind) {
        titleRect = RECT{0, 0, W, FTitleHeight};
    } else {
        PaintBorderPiece(1, RECT{0, 0, FLeftWidth, H}, off);
        PaintBorderPiece(2, RECT{W - FRightWidth, 0, W, H}, off);
        PaintBorderPiece(4, RECT{FLeftWidth, H - FBottomHeight, W - FRightWidth, H}, off);
    }
    PaintTitle(off, titleRect);
    if (FMenuHeight > 0 && FWindowState != wsMinimizedKind) PaintMenuArea(off, W);
    ::GdiFlush();
    return true;
}

void TWinSkinForm::PaintMenuArea(HDC off, int W) {
    // The menu band: drawn by the skinned menu bar, plain without one.
    const RECT band{FLeftWidth, FTitleHeight, W - FRightWidth, FTitleHeight + FMenuHeight};
    if (!(FSkinMenu && PaintMenuBand(off, band))) fill(off, band, FSkinData);
    // The buttons of a maximised MDI child sit at the end of the bar.
    for (auto& b : FButtons)
        if (b->FVisible && b->FData && b->FData->Visibility == 100 && !b->FData->Bitmap.Empty())
            DrawFrame(off, b->FBoundsRect, b->FData->Bitmap, true, b->FData->Frame, 1);
}

void TWinSkinForm::FreeComposedFrame() {
    FFrameValid = false;
    FFrameKey = FrameKey{};
    FTitleBitmap.Clear();
    FButtonBacksSaved = false;
}

// The client part of the composed bitmap is never copied out, so it keeps
// what lies under each caption button (row 0) and a place to put one button
// together (row 1): no bitmap of its own for that.
bool TWinSkinForm::ButtonCells(int& x0, int& y0, int& cellW, int& cellH) const {
    cellW = cellH = 0;
    for (auto& b : FButtons) {
        cellW = std::max<int>(cellW, b->FBoundsRect.right - b->FBoundsRect.left);
        cellH = std::max<int>(cellH, b->FBoundsRect.bottom - b->FBoundsRect.top);
    }
    // A minimised window shows the whole bitmap.
    if (FButtons.empty() || cellW <= 0 || cellH <= 0 || FWindowState == wsMinimizedKind) return false;
    x0 = FLeftWidth;
    y0 = FTitleHeight + FMenuHeight;
    const int clientW = FWidth - FRightWidth - x0, clientH = FHeight - FBottomHeight - y0;
    return int64_t(cellW) * int64_t(FButtons.size()) <= clientW && int64_t(cellH) * 2 <= clientH;
}

void TWinSkinForm::SaveButtonBacks(HDC off) {
    FButtonBacksSaved = false;
    int x0 = 0, y0 = 0, cellW = 0, cellH = 0;
    if (!ButtonCells(x0, y0, cellW, cellH)) return;
    int i = 0;
    for (auto& b : FButtons) {
        const RECT& r = b->FBoundsRect;
        if (r.right > r.left && r.bottom > r.top)
            ::BitBlt(off, x0 + i * cellW, y0, r.right - r.left, r.bottom - r.top, off, r.left, r.top, SRCCOPY);
        ++i;
    }
    FButtonBacksSaved = true;
}

namespace {
// The saved background at (bx, by) copied to (sx, sy) of `canvas` with the
// strip's frame drawn over it where it is not the key colour, pixel by pixel:
// a hover is then one copy to the window and no GDI object made or freed.
// False (nothing done) when the frame is not drawn at its own size or a
// picture has no pixels to read.
bool keyedButtonCopy(TBitmap& canvas, int bx, int by, int sx, int sy, int w, int h, TBitmap& strip, int frames,
                     int frame) {
    const PixelRect fr = FrameInStrip(strip.Width(), strip.Height(), frames, frame, false);
    if (fr.width() != w || fr.height() != h || fr.left < 0 || fr.top < 0 || fr.right > strip.Width() ||
        fr.bottom > strip.Height())
        return false;
    const PixelView src = strip.View();
    const PixelView dst = canvas.View();
    if (src.empty() || dst.empty()) return false;
    if (bx < 0 || by < 0 || sx < 0 || sy < 0 || bx + w > dst.width || sx + w > dst.width || by + h > dst.height ||
        sy + h > dst.height)
        return false;
    constexpr uint32_t key = ((kSkinKeyColour & 0xFF) << 16) | (kSkinKeyColour & 0xFF00) | ((kSkinKeyColour >> 16) & 0xFF);
    for (int y = 0; y < h; ++y) {
        const uint32_t* back = dst.row(by + y) + bx;
        const uint32_t* pic = src.row(fr.top + y) + fr.left;
        uint32_t* out = dst.row(sy + y) + sx;
        for (int x = 0; x < w; ++x) out[x] = (pic[x] & 0xFFFFFF) == key ? back[x] : pic[x];
    }
    return true;
}
}  // namespace

bool TWinSkinForm::PaintCaptionButton(TWinSysButton& b, HDC dc, int frame) {
    if (!FFrameValid || !FButtonBacksSaved || FTitleBitmap.Empty() || !dc || !b.FData) return false;
    // The button's place may have moved since the frame was composed.
    size_t i = 0;
    while (i < FButtons.size() && FButtons[i].get() != &b) ++i;
    if (i >= FButtons.size() || FFrameKey.buttons.size() < (i + 1) * 5) return false;
    const RECT& r = b.FBoundsRect;
    const int* kb = &FFrameKey.buttons[i * 5];
    if (kb[1] != r.left || kb[2] != r.top || kb[3] != r.right || kb[4] != r.bottom) return false;
    int x0 = 0, y0 = 0, cellW = 0, cellH = 0;
    if (!ButtonCells(x0, y0, cellW, cellH)) return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return false;
    // Put together under the window's eyes it would flicker: the scratch
    // cell takes the background and the button, the window one copy.
    HDC off = FTitleBitmap.Canvas()->Handle();
    const int sy = y0 + cellH;
    if (!b.IsIconButton() && keyedButtonCopy(FTitleBitmap, x0 + int(i) * cellW, y0, x0, sy, w, h, b.FData->Bitmap,
                                             b.FData->Frame, frame)) {
        ::BitBlt(dc, r.left, r.top, w, h, off, x0, sy, SRCCOPY);
        return true;
    }
    ::BitBlt(off, x0, sy, w, h, off, x0 + int(i) * cellW, y0, SRCCOPY);
    const RECT scratch{x0, sy, x0 + w, sy + h};
    if (b.IsIconButton())
        DrawIconButton(off, scratch);
    else
        DrawFrame(off, scratch, b.FData->Bitmap, true, b.FData->Frame, frame);
    ::BitBlt(dc, r.left, r.top, w, h, off, x0, sy, SRCCOPY);
    return true;
}

void TWinSkinForm::LayoutButtons() {
    ButtonLayoutContext c;
    c.windowWidth = FWidth;
    c.leftAnchor = FLeftWidth;
    c.rightAnchor = FWidth - FRightWidth;
    c.rightBorder = FRightWidth;
    TDataSkinObject* bar = FSkinData ? FSkinData->MenuBar() : nullptr;
    c.menuBarLeftWidth = bar ? bar->LeftWidth : 0;
    c.titleHeight = FTitleHeight;
    c.menuHeight = FMenuHeight;
    FLeftAnchor = c.leftAnchor;
    FRightAnchor = c.rightAnchor;
    for (auto& b : FButtons) {
        if (!b->FVisible || !b->FData || b->FData->Bitmap.Empty()) continue;
        const TDataSkinSysButton& d = *b->FData;
        int w = d.Bitmap.Width() / std::max(d.Frame, 1), h = d.Bitmap.Height();
        if (b->IsIconButton()) w = h = FIconSize > 0 ? FIconSize : ::GetSystemMetrics(SM_CXSMICON);
        const PixelRect prev{b->FBoundsRect.left, b->FBoundsRect.top, b->FBoundsRect.right, b->FBoundsRect.bottom};
        const PixelRect r = LayoutButton(ButtonPlacement{d.Align, d.Xcoord, d.Ycoord, w, h}, c, prev);
        b->FBoundsRect = RECT{r.left, r.top, r.right, r.bottom};
    }
}

CaptionState TWinSkinForm::CaptionStateNow() const {
    CaptionState s;
    s.active = FActive;
    s.windowState = FWindowState;
    s.styleFlags = FStyleFlags;
    s.borderKind = FBorderKind;
    s.isDialog = FIsDialog;
    s.mdiMaximizedChildActive = false;
    TSkinManage* m = SkinManager();
    if (FFormKind == 1 && FClientWnd && m && m->FMDIMaximized) {
        BOOL maximized = FALSE;
        HWND active = reinterpret_cast<HWND>(
            ::SendMessageW(FClientWnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        s.mdiMaximizedChildActive = active && maximized;
    }
    s.hasSkinMenu = FSkinMenu != nullptr;
    return s;
}

bool TWinSkinForm::ButtonVisible(TWinSysButton& b) {
    if (!b.FData) return b.FVisible = false;
    const CaptionButtonRule rule{b.FData->Action, b.FData->Visibility, b.FData->Visibility1};
    HWND wnd = FHandle;
    const ButtonVisibility v = EvaluateButtonVisibility(rule, CaptionStateNow(), [wnd](int32_t vis, int32_t action) {
        return int64_t(::SendMessageW(wnd, WM_SKIN_BUTTON_VISIBLE, WPARAM(vis), LPARAM(action)));
    });
    if (v.enabledChanged) b.FEnabled = v.enabled;
    b.FVisible = v.visible;
    return v.visible;
}

void TWinSkinForm::PaintTitle(HDC dc, const RECT& titleRect) {
    PaintBorderPiece(3, titleRect, dc);
    for (auto& b : FButtons) ButtonVisible(*b);
    LayoutButtons();
    const bool composed = dc == FTitleBitmap.Canvas()->Handle();
    if (composed) SaveButtonBacks(dc);
    for (auto& b : FButtons) {
        if (!b->FVisible || !b->FData || b->FData->Bitmap.Empty() || b->FData->Visibility == 100) continue;
        if (b->IsIconButton()) {
            DrawIconButton(dc, b->FBoundsRect);
            continue;
        }
        const int f = TitleButtonFrame(FActive, b->FEnabled, b->FData->Frame);
        const RECT& r = b->FBoundsRect;
        // Keyed through the device context a button costs a mask and
        // several transfers; in the composed frame it is a pixel loop.
        if (composed && KeyedFrameToPixels(FTitleBitmap.View(), r.left, r.top, r.right - r.left, r.bottom - r.top,
                                           b->FData->Bitmap, b->FData->Frame, f))
            continue;
        DrawFrame(dc, r, b->FData->Bitmap, true, b->FData->Frame, f);
    }
    PaintCaptionText(dc);
}

TFont TWinSkinForm::CaptionTextFont() const {
    TFont f;
    if (FSkinData) f.Assign(FSkinData->CaptionFont());
    else f.Assign(FCaptionFont);
    const TDataSkinTitle* t = FSkinData ? FSkinData->Title() : nullptr;
    if (t && t->FontHeight > 0) f.SetHeight(t->FontHeight);
    return f;
}

TFont& TWinSkinForm::TextFont() {
    // Made once per skin: a font handle per paint costs more than the frame.
    const TFont want = CaptionTextFont();
    if (!FTextFont.SameAs(want)) FTextFont.Assign(want);
    return FTextFont;
}

int TWinSkinForm::MeasureCaption(const std::wstring& text) {
    if (text.empty()) return 0;
    WindowDCScope dc(FHandle);
    if (!dc) return 0;
    SelectObjectScope sel(dc.get(), TextFont().Handle());
    SIZE sz{};
    ::GetTextExtentPoint32W(dc.get(), text.data(), int(text.size()), &sz);
    return sz.cx;
}

void TWinSkinForm::PaintCaptionText(HDC dc) {
    if (!FSkinData) return;
    FCaptionText = WindowText();
    if (FCaptionText.empty()) return;
    TDataSkinTitle* t = FSkinData->Title();
    int iconRight = -1, buttonsLeft = -1;
    for (auto& b : FButtons) {
        if (!b->FVisible || !b->FData || b->FData->Bitmap.Empty() || b->FData->Visibility == 100) continue;
        if (b->IsIconButton()) {
            iconRight = std::max<int>(iconRight, b->FBoundsRect.right);
        } else if (b->FBoundsRect.left > FWidth / 3) {  // buttons at the left end do not bound the text
            buttonsLeft = buttonsLeft < 0 ? b->FBoundsRect.left : std::min<int>(buttonsLeft, b->FBoundsRect.left);
        }
    }
    const PixelRect pr = CaptionTextRect(FWidth, FTitleHeight, t ? t->TextShift() : FLeftWidth + 4,
                                         t ? t->TextShiftVert() : 0, t ? t->TextRightClip() : FRightWidth,
                                         iconRight, buttonsLeft);
    RECT r{pr.left, pr.top, pr.right, pr.bottom};
    if (r.right <= r.left) return;

    SaveDCScope keep(dc);
    SelectObjectScope sel(dc, TextFont().Handle());
    UINT align = DT_LEFT;
    if (t && t->TextAlignment == 1) align = DT_RIGHT;
    if (t && t->TextAlignment == 2) align = DT_CENTER;
    const UINT format = align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

    // The skin's Textbackground switch says whether its TextBack image goes
    // behind the text; drawn unasked, the image covers the title's own
    // outline and shading.
    if (t && t->Textbackground != 0 && !t->Bitmap.Empty()) {
        // The text's own extent (as drawn, ellipsis included) gets the backing.
        RECT ext = r;
        ::DrawTextW(dc, FCaptionText.c_str(), int(FCaptionText.size()), &ext, format | DT_CALCRECT);
        int w = std::min<int>(ext.right - ext.left, r.right - r.left);
        int left = r.left;
        if (align == DT_RIGHT) left = r.right - w;
        if (align == DT_CENTER) left = r.left + (r.right - r.left - w) / 2;
        const RECT back{left - t->TXTBackleft, r.top, left + w + t->TXTBackRight, r.bottom};
        const RECT m{t->TXTBackleft, 0, t->TXTBackRight, 0};
        DrawNineSlice(dc, back, t->Bitmap, false, false, true, 1, 1, m);
    }
    int32_t colour = FActive ? FSkinData->TitleTextActive : FSkinData->TitleTextNoActive;
    if (t && FActive && t->HasActiveText()) colour = t->ActiveText;
    if (t && !FActive && t->HasInActiveText()) colour = t->InActiveText;
    ::SetTextColor(dc, ColorToRGB(colour));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, FCaptionText.c_str(), int(FCaptionText.size()), &r, format);
}

void TWinSkinForm::LoadIconBitmap() {
    InvalidateFrame();
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    FIconSize = cx;
    FIconBitmap.SetSize(cx, cy);
    FIcon = reinterpret_cast<HICON>(::SendMessageW(FHandle, WM_GETICON, ICON_SMALL, 0));
    if (!FIcon) FIcon = reinterpret_cast<HICON>(::SendMessageW(FHandle, WM_GETICON, ICON_BIG, 0));
    // A window that never set an icon still shows its class icon in a system
    // frame; the skinned one should not lose it.
    if (!FIcon) FIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(FHandle, GCLP_HICONSM));
    if (!FIcon) FIcon = reinterpret_cast<HICON>(::GetClassLongPtrW(FHandle, GCLP_HICON));
    // Still none: the program's own icon, drawn as an icon. The skin's icon
    // bitmap has its soft edges mixed into the magenta key, which shows as
    // a pink fringe when keyed.
    if (!FIcon) FIcon = ::LoadIconW(::GetModuleHandleW(nullptr), L"MAINICON");
    if (!FIcon) FIcon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512));
    HDC dc = FIconBitmap.Canvas()->Handle();
    const RECT all{0, 0, cx, cy};
    UniqueBrush key(::CreateSolidBrush(kSkinKeyColour));
    ::FillRect(dc, &all, key.get());
    // The icon scaled once; every title paint draws this copy.
    FSmallIcon.reset(FIcon ? static_cast<HICON>(::CopyImage(FIcon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)) : nullptr);
    if (FIcon) {
        ::DrawIconEx(dc, 0, 0, FSmallIcon ? FSmallIcon.get() : FIcon, cx, cy, 0, nullptr, DI_NORMAL);
    } else if (FSkinData && !FSkinData->AppIcon().Empty()) {
        ::StretchBlt(dc, 0, 0, cx, cy, FSkinData->AppIcon().Canvas()->Handle(), 0, 0, FSkinData->AppIcon().Width(),
                     FSkinData->AppIcon().Height(), SRCCOPY);
    }
    ::GdiFlush();
}

void TWinSkinForm::DrawIconButton(HDC dc, const RECT& r) {
    if (!dc) return;
    if (FIcon) {
        const int cx = FIconSize > 0 ? FIconSize : ::GetSystemMetrics(SM_CXSMICON);
        ::DrawIconEx(dc, r.left, r.top, FSmallIcon ? FSmallIcon.get() : FIcon, cx, cx, 0, nullptr, DI_NORMAL);
    } else if (!FIconBitmap.Empty()) {
        DrawTransparent(dc, RECT{r.left, r.top, r.left + FIconBitmap.Width(), r.top + FIconBitmap.Height()},
                        FIconBitmap);
    }
}

// ---- region --------------------------------------------------------------------

namespace {

// Marks what the window shows now and did not show through its region
// `before` (window coordinates) as the system marks what a grown window
// uncovers: erased, its child windows included.
void exposeUncovered(HWND wnd, HRGN before, int width, int height) {
    UniqueRegion uncovered(::CreateRectRgn(0, 0, width, height));
    if (!uncovered || ::CombineRgn(uncovered.get(), uncovered.get(), before, RGN_DIFF) <= NULLREGION) return;
    RECT wr{};
    ::GetWindowRect(wnd, &wr);
    POINT client{0, 0};
    ::ClientToScreen(wnd, &client);
    ::OffsetRgn(uncovered.get(), wr.left - client.x, wr.top - client.y);  // the update region is client-relative
    ::RedrawWindow(wnd, nullptr, uncovered.get(), RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace

void TWinSkinForm::UpdateRegion(bool redraw) {
    if (FSkinState == ssDestroyed || !FSkinFrame || !FSkinData || !FHandle) return;
    if (FFormKind == 2 && FWindowState != wsNormalKind) return;
    RECT wr{};
    ::GetWindowRect(FHandle, &wr);
    const int W = wr.right - wr.left, H = wr.bottom - wr.top;
    if (W <= 0 || H <= 0) return;
    if (FHasRegion && W == FRegionWidth && H == FRegionHeight && FFormKind != 2 && FSkinState != ssReapplying)
        return;

    TDataSkinBorder* L = FSkinData->BorderLeft();
    TDataSkinBorder* R = FSkinData->BorderRight();
    TDataSkinBorder* T = FSkinData->BorderTop();
    TDataSkinBorder* B = FSkinData->BorderBottom();
    auto trans = [](TDataSkinBorder* e) { return e && e->Trans == 1; };
    UniqueRegion rgn;
    if (!trans(L) && !trans(R) && !trans(T) && !trans(B)) {
        rgn.reset(::CreateRectRgn(0, 0, W, H));
    } else {
        FRegionWidth = W;
        FRegionHeight = H;
        rgn.reset(::CreateRectRgn(FLeftWidth, FTitleHeight, W - FRightWidth, H - FBottomHeight));
        if (FBorderKind != bkNoCaption) {
            PixelImage scratch;
            auto addPiece = [&](TDataSkinBorder* e, int kind, const RECT& r, bool keyed) {
                if (r.right <= r.left || r.bottom <= r.top) return;
                UniqueRegion part;
                const RECT at{0, 0, r.right - r.left, r.bottom - r.top};
                // The piece put together in plain memory where it can be
                // (no bitmap, no device context), else as the paint makes it.
                if (keyed) {
                    scratch = PixelImage(at.right, at.bottom);
                    if (pieceToPixels(scratch.view(), e, kind, at, FActive)) {
                        part = BitmapToRegion(scratch.view(), r.left, r.top, 1, 1, 1, kSkinKeyColour);
                    } else if (std::unique_ptr<TBitmap> piece = buildPiece(e, kind, at, FActive)) {
                        part = BitmapToRegion(*piece, r.left, r.top, 1, 1, 1, kSkinKeyColour);
                    }
                }
                if (!part) part.reset(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
                if (part) ::CombineRgn(rgn.get(), rgn.get(), part.get(), RGN_OR);
            };
            addPiece(L, 1, RECT{0, 0, FLeftWidth, H}, trans(L) && H > 1);
            addPiece(R, 2, RECT{W - FRightWidth, 0, W, H}, trans(R) && H > 1);
            addPiece(B, 4, RECT{FLeftWidth, H - FBottomHeight, W - FRightWidth, H}, trans(B) && FBottomHeight >= 2);
            addPiece(T, 3, RECT{FLeftWidth, 0, W - FRightWidth, FTitleHeight},
                     trans(T) && FTitleHeight > 1 && !T->Bitmap.Empty());
        }
    }
    if (!rgn) return;
    // The system worked out what a size change uncovers through the region
    // the window had then, made for the old size: what lies outside it (all of
    // the client of a window grown from below its frame) was never marked for
    // erasing, nor were the child windows there.
    UniqueRegion before;
    if (!redraw && FHasRegion) {
        before.reset(::CreateRectRgn(0, 0, 0, 0));
        if (before && ::GetWindowRgn(FHandle, before.get()) == ERROR) before.reset();
    }
    FRegionWidth = W;
    FRegionHeight = H;
    FRegion = rgn.release();  // the window owns it from here on
    ::SetWindowRgn(FHandle, FRegion, redraw ? TRUE : FALSE);
    // Without the region's own redraw the frame is still marked for the next
    // paint, once, instead of painted inside the call.
    if (!redraw) {
        ::RedrawWindow(FHandle, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_NOCHILDREN);
        if (before) exposeUncovered(FHandle, before.get(), W, H);
    }
    FHasRegion = true;
}


void TWinSkinForm::RemoveRegion() {
    FRegion = nullptr;
    FHasRegion = false;
    if (FHandle) ::SetWindowRgn(FHandle, nullptr, FFormKind == 2);
}

}  // namespace qs
