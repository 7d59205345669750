#pragma once
// Fonts, brushes, pens, canvases and bitmaps over GDI. Each graphics object
// makes its handle on demand, caches it and drops it when a property changes;
// a canvas selects the current handles into its DC when it draws and puts the
// DC's own objects back when it lets the DC go.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "Handles.h"
#include "PixelView.h"
#include "core/Component.h"

namespace qs {

using TNotifyEvent = std::function<void(TObject*)>;

// ---- Colours ----------------------------------------------------------------
// A colour number: 0x00BBGGRR for a plain colour, 0xFF0000nn for system colour
// nn (GetSysColor index). Stored as int64 as in form definitions; a negative
// 32-bit value (0xFF0000nn sign-extended) means the same system colour.
using TColor = int64_t;

constexpr TColor clSystemColor = 0xFF000000;
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | 26;
constexpr TColor clGradientActiveCaption = clSystemColor | 27;
constexpr TColor clGradientInactiveCaption = clSystemColor | 28;
constexpr TColor clMenuHighlight = clSystemColor | 29;
constexpr TColor clMenuBar = clSystemColor | 30;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// True for 0xFF0000nn, whether written as a 32-bit negative or a positive int64.
constexpr bool IsSystemColor(TColor c) { return (uint32_t(c) & 0xFF000000u) == 0xFF000000u; }
// The RGB a colour number stands for now (system colours through GetSysColor).
// clNone and clDefault have no RGB: they resolve to black.
COLORREF ColorToRGB(TColor c);
// Identifier <-> colour ("clBtnFace" <-> 0xFF00000F), case-blind, as written in
// form definitions.
bool IdentToColor(std::string_view ident, TColor& out);
std::string ColorToIdent(TColor c);  // empty when the colour has no name

// UTF-8 <-> UTF-16 for names that travel as UTF-8 in properties.
std::wstring Utf8ToWide(std::string_view s);
std::string WideToUtf8(std::wstring_view s);

// ---- Graphics objects -----------------------------------------------------------
// Common part of font, brush and pen: a cached handle, change notification.
class TGraphicsObject : public TPersistent {
    QS_DECLARE_CLASS(TGraphicsObject)
public:
    // Raised after a change; the old handle is still valid while it runs (so
    // a control can send the new one with WM_SETFONT before the old one goes).
    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Runs before the cached handle is dropped: the canvas that has this
    // object selected deselects it, so the handle can really be deleted.
    std::function<void()> FBeforeChange;
    void Changed();
    virtual HGDIOBJ ReleaseHandle() = 0;
};

enum TFontStyle : uint32_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint32_t;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };

class TFont : public TGraphicsObject {
    QS_DECLARE_CLASS(TFont)
public:
    TFont();
    TFont(const TFont& o);
    TFont& operator=(const TFont& o);

    const std::wstring& Name() const { return FName; }
    void SetName(std::wstring_view name);
    // Negative: character height in pixels; positive: cell height.
    int Height() const { return FHeight; }
    void SetHeight(int h);
    // Points at the screen's pixels per inch.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);  // no new handle: the canvas sets the text colour
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles s);
    int Charset() const { return FCharset; }
    void SetCharset(int c);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch p);

    // Made on demand and cached until a property changes.
    HFONT Handle();
    // Takes over name, height, style and charset of a logical font (for
    // example the system's menu or caption font); the colour stays.
    void AssignLogFont(const LOGFONTW& lf);
    LOGFONTW LogFont() const;
    void Assign(const TFont& o);
    bool SameAs(const TFont& o) const;

    static int ScreenPixelsPerInch();

    // While one lives, Size means points at `dpi` rather than at the screen's
    // resolution: a scaled form definition is written for its own resolution.
    class TSizeResolution {
    public:
        explicit TSizeResolution(int dpi);
        ~TSizeResolution();
        TSizeResolution(const TSizeResolution&) = delete;
        TSizeResolution& operator=(const TSizeResolution&) = delete;

    private:
        int FSaved;
    };

private:
    static int SizePixelsPerInch();
    HGDIOBJ ReleaseHandle() override { return FHandle.release(); }
    std::wstring FName = L"Tahoma";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    int FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = TFontPitch::fpDefault;
    UniqueFont FHandle;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBitmap;

class TBrush : public TGraphicsObject {
    QS_DECLARE_CLASS(TBrush)
public:
    TBrush() = default;
    TBrush(const TBrush& o) : TGraphicsObject() { Assign(o); }
    TBrush& operator=(const TBrush& o) {
        Assign(o);
        return *this;
    }
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle s);
    // A pattern brush from a copy of `pattern` (null: back to Color/Style).
    // Later changes to the caller's bitmap do not reach the brush.
    const TBitmap* Bitmap() const { return FBitmap.get(); }
    void SetBitmap(const TBitmap* pattern);
    // bsClear gives the stock hollow brush (not owned, never deleted).
    HBRUSH Handle();
    void Assign(const TBrush& o);

private:
    HGDIOBJ ReleaseHandle() override { return FHandle.release(); }
    TColor FColor = clWhite;
    TBrushStyle FStyle = TBrushStyle::bsSolid;
    std::unique_ptr<TBitmap> FBitmap;
    UniqueBrush FHandle;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPenMode { pmCopy, pmNot, pmXor, pmMerge, pmMask };

class TPen : public TGraphicsObject {
    QS_DECLARE_CLASS(TPen)
public:
    TPen() = default;
    TPen(const TPen& o) : TGraphicsObject() { Assign(o); }
    TPen& operator=(const TPen& o) {
        Assign(o);
        return *this;
    }
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    int Width() const { return FWidth; }
    void SetWidth(int w);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle s);
    // Applied by the canvas as the DC's raster operation; no new handle.
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode m);
    HPEN Handle();
    void Assign(const TPen& o);

private:
    HGDIOBJ ReleaseHandle() override { return FHandle.release(); }
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = TPenStyle::psSolid;
    TPenMode FMode = TPenMode::pmCopy;
    UniquePen FHandle;
};

// ---- Canvas -------------------------------------------------------------------------
class TBitmap;

class TCanvas : public TPersistent {
    QS_DECLARE_CLASS(TCanvas)
public:
    // Without a DC; SetHandle gives it one.
    TCanvas();
    // Borrows `dc` (not freed; its original objects are put back on release).
    explicit TCanvas(HDC dc);
    ~TCanvas() override;
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    // The DC, with the canvas's objects not necessarily selected yet.
    HDC Handle();
    // Lets the current DC go (putting its objects back) and borrows another.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont& Font() { return FFont; }
    TBrush& Brush() { return FBrush; }
    TPen& Pen() { return FPen; }
    void SetFont(const TFont& f) { FFont.Assign(f); }
    // SRCCOPY by default; used by CopyRect.
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD rop) { FCopyMode = rop; }

    void FillRect(const RECT& r);   // with the brush
    void FrameRect(const RECT& r);  // one pixel, with the brush
    void Rectangle(int l, int t, int r, int b);  // outline with the pen, inside with the brush
    void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
    void Ellipse(int l, int t, int r, int b);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    POINT PenPos();
    void DrawFocusRectangle(const RECT& r);
    // Text in the font; the background is the brush colour unless the brush
    // is bsClear (then transparent).
    void TextOutAt(int x, int y, std::wstring_view text);
    SIZE TextExtent(std::wstring_view text);
    int TextWidth(std::wstring_view text) { return TextExtent(text).cx; }
    int TextHeight(std::wstring_view text) { return TextExtent(text).cy; }
    // DrawTextW with the canvas's font and colours; `r` is updated for DT_CALCRECT.
    int DrawTextRect(std::wstring_view text, RECT& r, UINT format);

    // Honours the bitmap's Transparent flag (TransparentBlt on its colour).
    void Draw(int x, int y, TBitmap& bmp);
    void StretchDraw(const RECT& dest, TBitmap& bmp);
    // The part of the DC drawing can reach (GetClipBox).
    RECT ClipRect();
    // StretchBlt from another canvas with CopyMode.
    void CopyRect(const RECT& dest, TCanvas& src, const RECT& source);

    COLORREF Pixel(int x, int y);
    void SetPixelAt(int x, int y, TColor c);

    // Puts the DC's own font, brush and pen back (the canvas selects its own
    // again at the next drawing call).
    void ReleaseSelections();

protected:
    // Called before every use of the DC: a bitmap canvas makes its memory DC
    // and selects its bitmap here.
    virtual void PrepareHandle() {}
    HDC FHandle = nullptr;

private:
    enum : unsigned { kFont = 1, kBrush = 2, kPen = 4 };
    HDC Require(unsigned what);
    void Deselect(unsigned what);

    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    DWORD FCopyMode = SRCCOPY;
    unsigned FSelected = 0;
    HGDIOBJ FOldFont = nullptr, FOldBrush = nullptr, FOldPen = nullptr;
};

// ---- Bitmap --------------------------------------------------------------------------
// A 32-bit top-down DIB section (or, with Monochrome, a 1-bit device bitmap
// for masks). Its canvas has its own memory DC with the bitmap selected; the
// bitmap is taken out of that DC when its Handle is asked for, because a
// bitmap can sit in only one DC at a time.
class TBitmapCanvas;

class TBitmap : public TPersistent {
    QS_DECLARE_CLASS(TBitmap)
public:
    TBitmap();
    TBitmap(int w, int h);
    ~TBitmap() override;
    TBitmap(const TBitmap& o);
    TBitmap& operator=(const TBitmap& o);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    // Keeps what fits of the old picture; new areas are black.
    void SetSize(int w, int h);
    void SetWidth(int w) { SetSize(w, FHeight); }
    void SetHeight(int h) { SetSize(FWidth, h); }
    // Frees the picture (size 0 x 0).
    void Clear();

    bool Monochrome() const { return FMonochrome; }
    // Converting to monochrome turns white pixels to 1 and all others to 0;
    // back to colour, 1 becomes white and 0 black.
    void SetMonochrome(bool on);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool t) { FTransparent = t; }
    // clDefault: the colour of the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor c) { FTransparentColor = c; }

    TCanvas* Canvas();
    // The bitmap handle, out of any DC (see above). Null when empty.
    HBITMAP Handle();
    // Takes the bitmap out of the canvas's DC; the canvas selects it again
    // when it next draws.
    void Dormant();

    // The DIB bits as a pixel view (GDI work is flushed first). Empty for
    // monochrome or empty bitmaps. Valid until the next SetSize/Clear/Assign.
    PixelView View();
    void LoadFromPixels(const PixelImage& img);
    PixelImage ToPixels();

    void Assign(const TBitmap& o);
    // Copies the picture of any bitmap handle (DDB, DIB, monochrome). The
    // handle stays the caller's.
    bool LoadFromBitmapHandle(HBITMAP h);
    bool LoadFromResourceName(HINSTANCE instance, const wchar_t* name);
    // A null instance loads a system (OBM_...) bitmap.
    bool LoadFromResourceID(HINSTANCE instance, int id);

    TNotifyEvent OnChange;

private:
    friend class TBitmapCanvas;
    void Replace(UniqueBitmap bmp, void* bits, int w, int h, bool mono);
    void Changed();

    UniqueBitmap FHandle;
    void* FBits = nullptr;
    int FWidth = 0;
    int FHeight = 0;
    bool FMonochrome = false;
    bool FTransparent = false;
    TColor FTransparentColor = clDefault;
    std::unique_ptr<TBitmapCanvas> FCanvas;
};

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* owner) : FBitmap(owner) {}
    ~TBitmapCanvas() override;
    // Takes the bitmap out of the memory DC (kept for the next use).
    void Deselect();
    bool Selected() const { return FSelectedBitmap != nullptr; }

protected:
    void PrepareHandle() override;

private:
    TBitmap* FBitmap;
    UniqueDC FDC;
    HGDIOBJ FOldBitmap = nullptr;
    HBITMAP FSelectedBitmap = nullptr;
};

// A 32-bit top-down DIB section of w x h; `bits` receives its pixels.
UniqueBitmap CreateDIB32(int w, int h, void** bits);

// An 8 x 8 checkerboard of two colours (pixel (0,0) in `back`), for the
// dithered pattern brushes of checked buttons and menu glyph boxes. Cached
// for the life of the process; use it through TBrush::SetBitmap.
const TBitmap& AllocPatternBitmap(TColor back, TColor fore);

}  // namespace qs
