#include "Graphics.h"

#include <algorithm>
#include <cstring>
#include <vector>
#include <utility>

#include "PropertyHelpers.h"

namespace qs {

// ---- Colours ----------------------------------------------------------------

COLORREF ColorToRGB(TColor c) {
    if (IsSystemColor(c)) return ::GetSysColor(int(c & 0xFF));
    if (c == clNone || c == clDefault) return 0;
    return COLORREF(c & 0xFFFFFF);
}

namespace {
struct ColorIdent {
    TColor value;
    const char* name;
};
const ColorIdent kColorIdents[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

TColor NormaliseColor(TColor c) {
    // 0xFF0000nn written as a negative 32-bit number means the same colour.
    return IsSystemColor(c) ? TColor(uint32_t(c)) : c;
}
}  // namespace

bool IdentToColor(std::string_view ident, TColor& out) {
    for (auto& c : kColorIdents)
        if (TClassBuilder<TObject>::equalsNoCase(c.name, ident)) {
            out = c.value;
            return true;
        }
    return false;
}

std::string ColorToIdent(TColor c) {
    c = NormaliseColor(c);
    for (auto& x : kColorIdents)
        if (x.value == c) return x.name;
    return {};
}

std::wstring Utf8ToWide(std::string_view s) {
    if (s.empty()) return {};
    int n = ::MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::wstring w(size_t(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), w.data(), n);
    return w;
}

// WideToUtf8 comes from the form-definition code of the portable core.

// ---- Graphics objects -----------------------------------------------------------

const TClassInfo& TGraphicsObject::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TGraphicsObject>("TGraphicsObject", &TPersistent::StaticClassInfo()).build();
    return info;
}

void TGraphicsObject::Changed() {
    if (FBeforeChange) FBeforeChange();
    // The old handle lives until the listeners have heard of the change, so a
    // window can be handed the new font before the old one is deleted.
    unique_handle<HGDIOBJ, GdiObjectDeleter> old(ReleaseHandle());
    if (OnChange) OnChange(this);
}

namespace {
const std::vector<std::string> kFontStyles = {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"};
const std::vector<std::string> kFontPitches = {"fpDefault", "fpVariable", "fpFixed"};
const std::vector<std::string> kBrushStyles = {"bsSolid",     "bsClear", "bsHorizontal", "bsVertical",
                                               "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"};
const std::vector<std::string> kPenStyles = {"psSolid", "psDash",  "psDot",        "psDashDot",
                                             "psDashDotDot", "psClear", "psInsideFrame"};
const std::vector<std::string> kPenModes = {"pmCopy", "pmNot", "pmXor", "pmMerge", "pmMask"};
}  // namespace

const TClassInfo& TFont::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TFont>("TFont", &TGraphicsObject::StaticClassInfo())
            .string("Name", [](const TFont& f) { return WideToUtf8(f.Name()); },
                    [](TFont& f, const std::string& v) { f.SetName(Utf8ToWide(v)); })
            .integer("Height", [](const TFont& f) { return int64_t(f.Height()); },
                     [](TFont& f, int64_t v) { f.SetHeight(int(v)); })
            .integer("Size", [](const TFont& f) { return int64_t(f.Size()); },
                     [](TFont& f, int64_t v) { f.SetSize(int(v)); })
            .colour("Color", &TFont::Color, [](TFont& f, int64_t v) { f.SetColor(v); })
            .set("Style", kFontStyles, [](const TFont& f) { return uint64_t(f.Style()); },
                 [](TFont& f, uint64_t v) { f.SetStyle(TFontStyles(v)); })
            .integer("Charset", [](const TFont& f) { return int64_t(f.Charset()); },
                     [](TFont& f, int64_t v) { f.SetCharset(int(v)); })
            .enumeration("Pitch", kFontPitches, [](const TFont& f) { return int(f.Pitch()); },
                         [](TFont& f, int v) { f.SetPitch(TFontPitch(v)); })
            .build();
    return info;
}

TFont::TFont() = default;
TFont::TFont(const TFont& o) : TGraphicsObject() { Assign(o); }
TFont& TFont::operator=(const TFont& o) {
    Assign(o);
    return *this;
}

int TFont::ScreenPixelsPerInch() {
    static const int ppi = [] {
        ClientDCScope dc(nullptr);
        int v = dc ? ::GetDeviceCaps(dc.get(), LOGPIXELSY) : 96;
        return v > 0 ? v : 96;
    }();
    return ppi;
}

namespace {
thread_local int t_sizeDpi = 0;  // 0: the screen's
}

TFont::TSizeResolution::TSizeResolution(int dpi) : FSaved(t_sizeDpi) { t_sizeDpi = dpi > 0 ? dpi : 0; }
TFont::TSizeResolution::~TSizeResolution() { t_sizeDpi = FSaved; }

int TFont::SizePixelsPerInch() { return t_sizeDpi ? t_sizeDpi : ScreenPixelsPerInch(); }

void TFont::SetName(std::wstring_view name) {
    if (name == FName) return;
    FName = name;
    Changed();
}
void TFont::SetHeight(int h) {
    if (ChangeField(FHeight, h)) Changed();
}
int TFont::Size() const { return -::MulDiv(FHeight, 72, SizePixelsPerInch()); }
void TFont::SetSize(int points) {
    // Several heights round to one size: keep the height when it already
    // gives this size, so a definition storing both reads back unchanged.
    if (points == Size()) return;
    SetHeight(-::MulDiv(points, SizePixelsPerInch(), 72));
}
void TFont::SetColor(TColor c) {
    if (c == FColor) return;
    FColor = c;
    if (OnChange) OnChange(this);
}
void TFont::SetStyle(TFontStyles s) {
    if (ChangeField(FStyle, TFontStyles(s & (fsBold | fsItalic | fsUnderline | fsStrikeOut)))) Changed();
}
void TFont::SetCharset(int c) {
    if (ChangeField(FCharset, c)) Changed();
}
void TFont::SetPitch(TFontPitch p) {
    if (ChangeField(FPitch, p)) Changed();
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & fsItalic) ? 1 : 0;
    lf.lfUnderline = (FStyle & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = BYTE(FCharset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = FPitch == TFontPitch::fpFixed      ? FIXED_PITCH
                          : FPitch == TFontPitch::fpVariable ? VARIABLE_PITCH
                                                             : DEFAULT_PITCH;
    size_t n = std::min(FName.size(), size_t(LF_FACESIZE - 1));
    std::memcpy(lf.lfFaceName, FName.data(), n * sizeof(wchar_t));
    lf.lfFaceName[n] = 0;
    return lf;
}

HFONT TFont::Handle() {
    if (!FHandle) {
        LOGFONTW lf = LogFont();
        FHandle.reset(::CreateFontIndirectW(&lf));
    }
    return FHandle.get();
}

void TFont::AssignLogFont(const LOGFONTW& lf) {
    std::wstring name(lf.lfFaceName, wcsnlen(lf.lfFaceName, LF_FACESIZE));
    TFontStyles st = 0;
    if (lf.lfWeight >= FW_BOLD) st |= fsBold;
    if (lf.lfItalic) st |= fsItalic;
    if (lf.lfUnderline) st |= fsUnderline;
    if (lf.lfStrikeOut) st |= fsStrikeOut;
    TFontPitch pitch = (lf.lfPitchAndFamily & 3) == FIXED_PITCH      ? TFontPitch::fpFixed
                       : (lf.lfPitchAndFamily & 3) == VARIABLE_PITCH ? TFontPitch::fpVariable
                                                                      : TFontPitch::fpDefault;
    if (name == FName && lf.lfHeight == FHeight && st == FStyle && lf.lfCharSet == FCharset && pitch == FPitch)
        return;
    FName = std::move(name);
    FHeight = lf.lfHeight;
    FStyle = st;
    FCharset = lf.lfCharSet;
    FPitch = pitch;
    Changed();
}

bool TFont::SameAs(const TFont& o) const {
    return FName == o.FName && FHeight == o.FHeight && FColor == o.FColor && FStyle == o.FStyle &&
           FCharset == o.FCharset && FPitch == o.FPitch;
}

void TFont::Assign(const TFont& o) {
    if (this == &o || SameAs(o)) return;
    bool handleSame = FName == o.FName && FHeight == o.FHeight && FStyle == o.FStyle && FCharset == o.FCharset &&
                      FPitch == o.FPitch;
    FName = o.FName;
    FHeight = o.FHeight;
    FColor = o.FColor;
    FStyle = o.FStyle;
    FCharset = o.FCharset;
    FPitch = o.FPitch;
    if (handleSame) {
        if (OnChange) OnChange(this);
    } else {
        Changed();
    }
}

const TClassInfo& TBrush::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TBrush>("TBrush", &TGraphicsObject::StaticClassInfo())
            .colour("Color", &TBrush::Color, [](TBrush& b, int64_t v) { b.SetColor(v); })
            .enumeration("Style", kBrushStyles, [](const TBrush& b) { return int(b.Style()); },
                         [](TBrush& b, int v) { b.SetStyle(TBrushStyle(v)); })
            .build();
    return info;
}

void TBrush::SetColor(TColor c) {
    if (c == FColor) return;
    FColor = c;
    // Setting a colour on a hollow brush makes it solid again, as users expect.
    if (FStyle == TBrushStyle::bsClear) FStyle = TBrushStyle::bsSolid;
    Changed();
}
void TBrush::SetStyle(TBrushStyle s) {
    if (ChangeField(FStyle, s)) Changed();
}
void TBrush::Assign(const TBrush& o) {
    if (this == &o || (FColor == o.FColor && FStyle == o.FStyle && !FBitmap && !o.FBitmap)) return;
    FColor = o.FColor;
    FStyle = o.FStyle;
    FBitmap = o.FBitmap ? std::make_unique<TBitmap>(*o.FBitmap) : nullptr;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* pattern) {
    if (!pattern && !FBitmap) return;
    FBitmap = pattern && !pattern->Empty() ? std::make_unique<TBitmap>(*pattern) : nullptr;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (FBitmap) {
        if (!FHandle) FHandle.reset(::CreatePatternBrush(FBitmap->Handle()));
        return FHandle.get();
    }
    if (FStyle == TBrushStyle::bsClear) return HBRUSH(::GetStockObject(HOLLOW_BRUSH));
    if (!FHandle) {
        COLORREF rgb = ColorToRGB(FColor);
        static const int kHatch[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
        if (FStyle == TBrushStyle::bsSolid)
            FHandle.reset(::CreateSolidBrush(rgb));
        else
            FHandle.reset(::CreateHatchBrush(kHatch[int(FStyle) - int(TBrushStyle::bsHorizontal)], rgb));
    }
    return FHandle.get();
}

const TClassInfo& TPen::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TPen>("TPen", &TGraphicsObject::StaticClassInfo())
            .colour("Color", &TPen::Color, [](TPen& p, int64_t v) { p.SetColor(v); })
            .integer("Width", [](const TPen& p) { return int64_t(p.Width()); },
                     [](TPen& p, int64_t v) { p.SetWidth(int(v)); })
            .enumeration("Style", kPenStyles, [](const TPen& p) { return int(p.Style()); },
                         [](TPen& p, int v) { p.SetStyle(TPenStyle(v)); })
            .enumeration("Mode", kPenModes, [](const TPen& p) { return int(p.Mode()); },
                         [](TPen& p, int v) { p.SetMode(TPenMode(v)); })
            .build();
    return info;
}

void TPen::SetColor(TColor c) {
    if (ChangeField(FColor, c)) Changed();
}
void TPen::SetWidth(int w) {
    if (ChangeField(FWidth, std::max(w, 0))) Changed();
}
void TPen::SetStyle(TPenStyle s) {
    if (ChangeField(FStyle, s)) Changed();
}
void TPen::SetMode(TPenMode m) {
    if (m == FMode) return;
    FMode = m;
    if (OnChange) OnChange(this);
}
void TPen::Assign(const TPen& o) {
    if (this == &o) return;
    bool same = FColor == o.FColor && FWidth == o.FWidth && FStyle == o.FStyle;
    FMode = o.FMode;
    if (same) return;
    FColor = o.FColor;
    FWidth = o.FWidth;
    FStyle = o.FStyle;
    Changed();
}

HPEN TPen::Handle() {
    if (FStyle == TPenStyle::psClear) return HPEN(::GetStockObject(NULL_PEN));
    if (!FHandle) {
        static const int kStyle[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        FHandle.reset(::CreatePen(kStyle[int(FStyle)], FWidth, ColorToRGB(FColor)));
    }
    return FHandle.get();
}

// ---- Canvas -------------------------------------------------------------------------

const TClassInfo& TCanvas::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TCanvas>("TCanvas", &TPersistent::StaticClassInfo()).build();
    return info;
}

TCanvas::TCanvas() {
    FFont.FBeforeChange = [this] { Deselect(kFont); };
    FBrush.FBeforeChange = [this] { Deselect(kBrush); };
    FPen.FBeforeChange = [this] { Deselect(kPen); };
}

TCanvas::TCanvas(HDC dc) : TCanvas() { FHandle = dc; }

TCanvas::~TCanvas() {
    ReleaseSelections();
    FFont.FBeforeChange = nullptr;
    FBrush.FBeforeChange = nullptr;
    FPen.FBeforeChange = nullptr;
}

HDC TCanvas::Handle() {
    PrepareHandle();
    return FHandle;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle) return;
    ReleaseSelections();
    FHandle = dc;
}

void TCanvas::Deselect(unsigned what) {
    if (!FHandle) {
        FSelected = 0;
        return;
    }
    if ((what & kFont) && (FSelected & kFont)) ::SelectObject(FHandle, FOldFont);
    if ((what & kBrush) && (FSelected & kBrush)) ::SelectObject(FHandle, FOldBrush);
    if ((what & kPen) && (FSelected & kPen)) ::SelectObject(FHandle, FOldPen);
    FSelected &= ~what;
}

void TCanvas::ReleaseSelections() { Deselect(kFont | kBrush | kPen); }

HDC TCanvas::Require(unsigned what) {
    PrepareHandle();
    HDC dc = FHandle;
    if (!dc) return nullptr;
    if (what & kFont) {
        if (!(FSelected & kFont)) {
            FOldFont = ::SelectObject(dc, FFont.Handle());
            FSelected |= kFont;
        }
        ::SetTextColor(dc, ColorToRGB(FFont.Color()));
    }
    if (what & kBrush) {
        if (!(FSelected & kBrush)) {
            FOldBrush = ::SelectObject(dc, FBrush.Handle());
            FSelected |= kBrush;
        }
        ::SetBrushOrgEx(dc, 0, 0, nullptr);
    }
    if (what & kPen) {
        if (!(FSelected & kPen)) {
            FOldPen = ::SelectObject(dc, FPen.Handle());
            FSelected |= kPen;
        }
        static const int kRop[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_MERGEPEN, R2_MASKPEN};
        ::SetROP2(dc, kRop[int(FPen.Mode())]);
    }
    return dc;
}

void TCanvas::FillRect(const RECT& r) {
    if (HDC dc = Require(kBrush)) ::FillRect(dc, &r, FBrush.Handle());
}

void TCanvas::FrameRect(const RECT& r) {
    if (HDC dc = Require(kBrush)) ::FrameRect(dc, &r, FBrush.Handle());
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
    if (HDC dc = Require(kPen | kBrush)) ::Rectangle(dc, l, t, r, b);
}

void TCanvas::Ellipse(int l, int t, int r, int b) {
    if (HDC dc = Require(kPen | kBrush)) ::Ellipse(dc, l, t, r, b);
}

void TCanvas::MoveTo(int x, int y) {
    if (HDC dc = Require(0)) ::MoveToEx(dc, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
    if (HDC dc = Require(kPen)) ::LineTo(dc, x, y);
}

POINT TCanvas::PenPos() {
    POINT p{};
    if (HDC dc = Require(0)) ::GetCurrentPositionEx(dc, &p);
    return p;
}

void TCanvas::DrawFocusRectangle(const RECT& r) {
    if (HDC dc = Require(kBrush)) ::DrawFocusRect(dc, &r);
}

namespace {
void ApplyTextBackground(HDC dc, TBrush& brush) {
    if (brush.Style() == TBrushStyle::bsClear) {
        ::SetBkMode(dc, TRANSPARENT);
    } else {
        ::SetBkMode(dc, OPAQUE);
        ::SetBkColor(dc, ColorToRGB(brush.Color()));
    }
}
}  // namespace

void TCanvas::TextOutAt(int x, int y, std::wstring_view text) {
    HDC dc = Require(kFont | kBrush);
    if (!dc) return;
    ApplyTextBackground(dc, FBrush);
    ::TextOutW(dc, x, y, text.data(), int(text.size()));
}

SIZE TCanvas::TextExtent(std::wstring_view text) {
    SIZE s{};
    if (HDC dc = Require(kFont)) ::GetTextExtentPoint32W(dc, text.data(), int(text.size()), &s);
    return s;
}

int TCanvas::DrawTextRect(std::wstring_view text, RECT& r, UINT format) {
    HDC dc = Require(kFont | kBrush);
    if (!dc) return 0;
    ApplyTextBackground(dc, FBrush);
    // A private copy: DrawTextW may write into the text it is given.
    std::wstring buf(text);
    buf.append(4, L'\0');
    return ::DrawTextW(dc, buf.data(), int(text.size()), &r, format & ~UINT(DT_MODIFYSTRING));
}

void TCanvas::Draw(int x, int y, TBitmap& bmp) {
    StretchDraw(RECT{x, y, x + bmp.Width(), y + bmp.Height()}, bmp);
}

void TCanvas::StretchDraw(const RECT& d, TBitmap& bmp) {
    if (bmp.Empty()) return;
    TCanvas* src = bmp.Canvas();
    if (src == this) return;
    HDC dc = Require(0);
    HDC sdc = src->Handle();
    if (!dc || !sdc) return;
    int dw = d.right - d.left, dh = d.bottom - d.top;
    COLORREF oldText = 0, oldBk = 0;
    if (bmp.Monochrome()) {
        // A monochrome picture shows as itself: 0 black, 1 white.
        oldText = ::SetTextColor(dc, RGB(0, 0, 0));
        oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    }
    if (bmp.Transparent()) {
        ::TransparentBlt(dc, d.left, d.top, dw, dh, sdc, 0, 0, bmp.Width(), bmp.Height(),
                         ColorToRGB(bmp.TransparentColor()));
    } else if (dw == bmp.Width() && dh == bmp.Height()) {
        ::BitBlt(dc, d.left, d.top, dw, dh, sdc, 0, 0, SRCCOPY);
    } else {
        int old = ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, d.left, d.top, dw, dh, sdc, 0, 0, bmp.Width(), bmp.Height(), SRCCOPY);
        ::SetStretchBltMode(dc, old);
    }
    if (bmp.Monochrome()) {
        ::SetTextColor(dc, oldText);
        ::SetBkColor(dc, oldBk);
    }
}

RECT TCanvas::ClipRect() {
    RECT r{};
    if (HDC dc = Require(0)) ::GetClipBox(dc, &r);
    return r;
}

void TCanvas::CopyRect(const RECT& d, TCanvas& src, const RECT& s) {
    HDC dc = Require(kBrush);
    HDC sdc = src.Handle();
    if (!dc || !sdc) return;
    int old = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, sdc, s.left, s.top, s.right - s.left,
                 s.bottom - s.top, FCopyMode);
    ::SetStretchBltMode(dc, old);
}

COLORREF TCanvas::Pixel(int x, int y) {
    HDC dc = Require(0);
    return dc ? ::GetPixel(dc, x, y) : CLR_INVALID;
}

void TCanvas::SetPixelAt(int x, int y, TColor c) {
    if (HDC dc = Require(0)) ::SetPixel(dc, x, y, ColorToRGB(c));
}

// ---- Bitmap --------------------------------------------------------------------------

namespace {
// The layout every colour bitmap of ours has: 32 bits a pixel, rows top-down.
BITMAPINFO TopDown32(int w, int h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    return bi;
}

// Reads any bitmap (not selected into a DC) in that layout, alpha cleared.
bool ReadPixels32(HBITMAP bmp, int w, int h, uint32_t* out) {
    BITMAPINFO bi = TopDown32(w, h);
    ClientDCScope screen(nullptr);
    if (::GetDIBits(screen.get(), bmp, 0, UINT(h), out, &bi, DIB_RGB_COLORS) == 0) return false;
    for (size_t i = 0, n = size_t(w) * size_t(h); i < n; ++i) out[i] &= 0xFFFFFF;
    return true;
}
}  // namespace

UniqueBitmap CreateDIB32(int w, int h, void** bits) {
    BITMAPINFO bi = TopDown32(w, h);
    void* p = nullptr;
    UniqueBitmap b(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
    if (bits) *bits = b ? p : nullptr;
    return b;
}

namespace {
// Copies w x h pixels between two bitmaps that are in no DC. Colour to
// monochrome: white becomes 1; monochrome to colour: 1 white, 0 black.
void BlitBitmap(HBITMAP dst, HBITMAP src, int w, int h) {
    UniqueDC sdc(::CreateCompatibleDC(nullptr));
    UniqueDC ddc(::CreateCompatibleDC(nullptr));
    if (!sdc || !ddc) return;
    SelectObjectScope s1(sdc.get(), src);
    SelectObjectScope s2(ddc.get(), dst);
    ::SetBkColor(sdc.get(), RGB(255, 255, 255));
    ::SetTextColor(sdc.get(), RGB(0, 0, 0));
    ::SetBkColor(ddc.get(), RGB(255, 255, 255));
    ::SetTextColor(ddc.get(), RGB(0, 0, 0));
    ::BitBlt(ddc.get(), 0, 0, w, h, sdc.get(), 0, 0, SRCCOPY);
}

UniqueBitmap CreateMono(int w, int h) {
    UniqueBitmap b(::CreateBitmap(w, h, 1, 1, nullptr));
    if (b) {
        UniqueDC dc(::CreateCompatibleDC(nullptr));
        SelectObjectScope s(dc.get(), b.get());
        ::PatBlt(dc.get(), 0, 0, w, h, BLACKNESS);
    }
    return b;
}
}  // namespace

const TClassInfo& TBitmap::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TBitmap>("TBitmap", &TPersistent::StaticClassInfo())
            .integer("Width", [](const TBitmap& b) { return int64_t(b.Width()); },
                     [](TBitmap& b, int64_t v) { b.SetWidth(int(v)); })
            .integer("Height", [](const TBitmap& b) { return int64_t(b.Height()); },
                     [](TBitmap& b, int64_t v) { b.SetHeight(int(v)); })
            .boolean("Monochrome", &TBitmap::Monochrome, &TBitmap::SetMonochrome)
            .boolean("Transparent", &TBitmap::Transparent, &TBitmap::SetTransparent)
            .colour("TransparentColor", [](const TBitmap& b) { return b.FTransparentColor; },
                    [](TBitmap& b, int64_t v) { b.SetTransparentColor(v); })
            .build();
    return info;
}

TBitmap::TBitmap() = default;
TBitmap::TBitmap(int w, int h) { SetSize(w, h); }
TBitmap::~TBitmap() { FCanvas.reset(); }
TBitmap::TBitmap(const TBitmap& o) : TPersistent() { Assign(o); }
TBitmap& TBitmap::operator=(const TBitmap& o) {
    Assign(o);
    return *this;
}

void TBitmap::Changed() {
    if (OnChange) OnChange(this);
}

void TBitmap::Replace(UniqueBitmap bmp, void* bits, int w, int h, bool mono) {
    Dormant();
    FHandle = std::move(bmp);
    FBits = bits;
    FWidth = FHandle ? w : 0;
    FHeight = FHandle ? h : 0;
    FMonochrome = mono;
    if (!FHandle) FBits = nullptr;
}

void TBitmap::SetSize(int w, int h) {
    w = std::max(w, 0);
    h = std::max(h, 0);
    if (w == FWidth && h == FHeight) return;
    if (w == 0 || h == 0) {
        Replace({}, nullptr, 0, 0, FMonochrome);
        FWidth = w;  // an empty bitmap still remembers the side it was given
        FHeight = h;
        Changed();
        return;
    }
    void* bits = nullptr;
    UniqueBitmap nb = FMonochrome ? CreateMono(w, h) : CreateDIB32(w, h, &bits);
    if (!nb) return;
    if (FHandle && FWidth > 0 && FHeight > 0) {
        int cw = std::min(w, FWidth), ch = std::min(h, FHeight);
        if (FMonochrome) {
            Dormant();
            BlitBitmap(nb.get(), FHandle.get(), cw, ch);
        } else {
            ::GdiFlush();
            for (int y = 0; y < ch; ++y)
                std::memcpy(static_cast<uint8_t*>(bits) + size_t(y) * w * 4,
                            static_cast<const uint8_t*>(FBits) + size_t(y) * FWidth * 4, size_t(cw) * 4);
        }
    }
    Replace(std::move(nb), bits, w, h, FMonochrome);
    Changed();
}

void TBitmap::Clear() { SetSize(0, 0); }

void TBitmap::SetMonochrome(bool on) {
    if (on == FMonochrome) return;
    if (!FHandle) {
        FMonochrome = on;
        return;
    }
    void* bits = nullptr;
    UniqueBitmap nb = on ? CreateMono(FWidth, FHeight) : CreateDIB32(FWidth, FHeight, &bits);
    if (!nb) return;
    Dormant();
    BlitBitmap(nb.get(), FHandle.get(), FWidth, FHeight);
    Replace(std::move(nb), bits, FWidth, FHeight, on);
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentColor != clDefault) return FTransparentColor;
    if (Empty()) return clNone;
    if (!FMonochrome && FBits) {
        ::GdiFlush();
        uint32_t p = static_cast<const uint32_t*>(FBits)[size_t(FHeight - 1) * FWidth];
        return TColor(pixelToColour(p & 0xFFFFFF));
    }
    auto* self = const_cast<TBitmap*>(this);
    return TColor(self->Canvas()->Pixel(0, FHeight - 1));
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(this);
    return FCanvas.get();
}

HBITMAP TBitmap::Handle() {
    Dormant();
    return FHandle.get();
}

void TBitmap::Dormant() {
    if (FCanvas) FCanvas->Deselect();
}

PixelView TBitmap::View() {
    if (FMonochrome || !FBits || Empty()) return {};
    ::GdiFlush();
    return PixelView{FWidth, FHeight, std::ptrdiff_t(FWidth) * 4, static_cast<uint8_t*>(FBits)};
}

void TBitmap::LoadFromPixels(const PixelImage& img) {
    if (img.width <= 0 || img.height <= 0 || img.pixels.size() < size_t(img.width) * size_t(img.height)) {
        Replace({}, nullptr, 0, 0, false);
        Changed();
        return;
    }
    void* bits = nullptr;
    UniqueBitmap nb = CreateDIB32(img.width, img.height, &bits);
    if (!nb) return;
    std::memcpy(bits, img.pixels.data(), size_t(img.width) * size_t(img.height) * 4);
    Replace(std::move(nb), bits, img.width, img.height, false);
    Changed();
}

PixelImage TBitmap::ToPixels() {
    if (Empty() || !FHandle) return {};
    PixelImage img(FWidth, FHeight);
    if (!FMonochrome) {
        ::GdiFlush();
        std::memcpy(img.pixels.data(), FBits, img.pixels.size() * 4);
        return img;
    }
    if (!ReadPixels32(Handle(), FWidth, FHeight, img.pixels.data())) return {};
    return img;
}

void TBitmap::Assign(const TBitmap& o) {
    if (this == &o) return;
    FTransparent = o.FTransparent;
    FTransparentColor = o.FTransparentColor;
    if (o.Empty() || !o.FHandle) {
        Replace({}, nullptr, 0, 0, o.FMonochrome);
        FWidth = o.FWidth;
        FHeight = o.FHeight;
        Changed();
        return;
    }
    void* bits = nullptr;
    UniqueBitmap nb = o.FMonochrome ? CreateMono(o.FWidth, o.FHeight) : CreateDIB32(o.FWidth, o.FHeight, &bits);
    if (!nb) return;
    if (o.FMonochrome) {
        const_cast<TBitmap&>(o).Dormant();
        BlitBitmap(nb.get(), o.FHandle.get(), o.FWidth, o.FHeight);
    } else {
        ::GdiFlush();
        std::memcpy(bits, o.FBits, size_t(o.FWidth) * size_t(o.FHeight) * 4);
    }
    Replace(std::move(nb), bits, o.FWidth, o.FHeight, o.FMonochrome);
    Changed();
}

bool TBitmap::LoadFromBitmapHandle(HBITMAP h) {
    BITMAP bm{};
    if (!h || ::GetObjectW(h, sizeof(bm), &bm) != sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight == 0) return false;
    int w = bm.bmWidth, hgt = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    if (bm.bmBitsPixel == 1) {
        UniqueBitmap nb = CreateMono(w, hgt);
        if (!nb) return false;
        BlitBitmap(nb.get(), h, w, hgt);
        Replace(std::move(nb), nullptr, w, hgt, true);
    } else {
        void* bits = nullptr;
        UniqueBitmap nb = CreateDIB32(w, hgt, &bits);
        if (!nb) return false;
        if (!ReadPixels32(h, w, hgt, static_cast<uint32_t*>(bits))) return false;
        Replace(std::move(nb), bits, w, hgt, false);
    }
    Changed();
    return true;
}

bool TBitmap::LoadFromResourceName(HINSTANCE instance, const wchar_t* name) {
    UniqueBitmap h(static_cast<HBITMAP>(::LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    return h && LoadFromBitmapHandle(h.get());
}

bool TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    UniqueBitmap h(static_cast<HBITMAP>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, instance ? LR_CREATEDIBSECTION : 0)));
    return h && LoadFromBitmapHandle(h.get());
}

const TBitmap& AllocPatternBitmap(TColor back, TColor fore) {
    struct Entry {
        TColor back, fore;
        std::unique_ptr<TBitmap> bitmap;
    };
    static std::vector<Entry> cache;
    for (auto& e : cache)
        if (e.back == back && e.fore == fore) return *e.bitmap;
    auto b = std::make_unique<TBitmap>(8, 8);
    uint32_t pb = colourToPixel(ColorToRGB(back)), pf = colourToPixel(ColorToRGB(fore));
    PixelView v = b->View();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) v.at(x, y) = ((x + y) & 1) ? pf : pb;
    cache.push_back(Entry{back, fore, std::move(b)});
    return *cache.back().bitmap;
}

TBitmapCanvas::~TBitmapCanvas() {
    ReleaseSelections();
    Deselect();
    FHandle = nullptr;
}

void TBitmapCanvas::PrepareHandle() {
    if (!FDC) {
        FDC.reset(::CreateCompatibleDC(nullptr));
        FHandle = FDC.get();
    }
    HBITMAP want = FBitmap->FHandle.get();
    if (want == FSelectedBitmap) return;
    Deselect();
    if (want && FDC) {
        FOldBitmap = ::SelectObject(FDC.get(), want);
        FSelectedBitmap = want;
    }
}

void TBitmapCanvas::Deselect() {
    if (FSelectedBitmap && FDC) ::SelectObject(FDC.get(), FOldBitmap);
    FSelectedBitmap = nullptr;
}

}  // namespace qs
