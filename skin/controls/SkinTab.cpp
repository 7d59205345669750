#include "SkinTab.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "ComCtrlsTabs.h"
#include "PixelOps.h"
#include "SkinCreate.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinRoutines.h"

namespace qs {

namespace {

PixelRect px(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }
RECT rc(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

bool hasImage(const TDataSkinObject* e) { return e && !e->Bitmap.Empty(); }

// The tab with the keyboard focus, while the control has it: the selected
// look alone does not tell a keyboard user where the focus is.
void drawTabFocus(HWND tab, HDC dc, RECT r) {
    if (GetFocus() != tab || (SendMessageW(tab, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) return;
    InflateRect(&r, -3, -3);
    if (r.right > r.left && r.bottom > r.top) DrawFocusRect(dc, &r);
}

// Frame `frame` of `frames` of `bmp` nine-sliced into `r` with the element's
// margins and tiling, keyed on magenta when the element says so.
void drawStripFrame(HDC dc, const RECT& r, TBitmap& bmp, const TDataSkinObject& e, int frames, int frame) {
    if (r.right <= r.left || r.bottom <= r.top || bmp.Empty()) return;
    auto piece = BuildNineSlice(RECT{0, 0, r.right - r.left, r.bottom - r.top}, bmp, e.Margins(), false, e.Tile == 1,
                                std::max(frames, 1), frame);
    if (!piece) return;
    if (e.Trans == 1) {
        DrawTransparent(dc, r, *piece, kSkinKeyColour);
    } else {
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, piece->Canvas()->Handle(), 0, 0, SRCCOPY);
        piece->Dormant();
    }
}

// The text and image of a tab read from the window (80 characters at most).
void readTab(HWND wnd, int i, bool wide, std::wstring& text, int& image) {
    text.clear();
    image = -1;
    if (wide) {
        wchar_t buf[81] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_RTLREADING;
        item.pszText = buf;
        item.cchTextMax = 80;
        if (SendMessageW(wnd, TCM_GETITEMW, WPARAM(i), LPARAM(&item))) {
            text = buf;
            image = item.iImage;
        }
    } else {
        char buf[81] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_RTLREADING;
        item.pszText = buf;
        item.cchTextMax = 80;
        if (SendMessageA(wnd, TCM_GETITEMA, WPARAM(i), LPARAM(&item))) {
            int n = MultiByteToWideChar(CP_ACP, 0, buf, -1, nullptr, 0);
            std::wstring w(size_t(std::max(n, 1)), L'\0');
            MultiByteToWideChar(CP_ACP, 0, buf, -1, w.data(), n);
            w.resize(wcslen(w.c_str()));
            text = w;
            image = item.iImage;
        }
    }
}

void toPixels24(TBitmap& bmp) {
    // The pixel routines work on whole pixels; drop any alpha so turned and
    // flipped copies compare equal to what they came from.
    PixelView v = bmp.View();
    for (int y = 0; y < v.height; ++y)
        for (int x = 0; x < v.width; ++x) v.at(x, y) &= 0xFFFFFF;
}

void turn(TBitmap& bmp, bool left) {
    PixelImage img = bmp.ToPixels();
    if (left)
        RotateLeft(img);
    else
        RotateRight(img);
    bmp.LoadFromPixels(img);
}

HWND closeTarget(const TSkinControl& s) {
    if (s.FSkinForm && s.FSkinForm->FHandle) return s.FSkinForm->FHandle;
    return GetAncestor(s.FHandle, GA_ROOT);
}

}  // namespace

void DrawIconTextDC(const TSkinControl* skin, HDC dc, const RECT& r, UINT alignment, const std::wstring& text,
                    int imageIndex, HIMAGELIST images, COLORREF colour) {
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    int cx = 0, cy = 0;
    if (images) ImageList_GetIconSize(images, &cx, &cy);
    const bool icon = imageIndex != -1 && images && cx < rw;
    if (!icon) cx = cy = 0;
    RECT t{0, 0, 0, 0};
    const UINT textFlags = DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS;
    // Measured whole: with the ellipsis flag the empty measuring rectangle
    // would shorten the text to its dots before it was ever placed.
    if (!text.empty())
        DrawTextW(dc, text.c_str(), int(text.size()), &t, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE | DT_EXPANDTABS);
    const int tw = t.right - t.left, th = t.bottom - t.top;
    int x = alignment == 0 ? 3 : alignment == DT_CENTER ? (rw - cx - tw) / 2 : rw - cx - tw - 2;
    if (x < 2) x = 1;
    if (icon) ImageList_Draw(images, imageIndex, dc, r.left + x, r.top + (rh - cy) / 2, ILD_TRANSPARENT);
    if (text.empty()) return;
    RECT tr{r.left + x + cx, r.top + (rh - th) / 2, r.left + x + cx + tw, r.top + (rh - th) / 2 + th};
    tr.left = std::max(tr.left, r.left);
    tr.right = std::min(tr.right, r.right);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, skin && !skin->FEnabled ? GetSysColor(COLOR_BTNSHADOW) : colour);
    DrawTextW(dc, text.c_str(), int(text.size()), &tr, TextFlags(skin, textFlags));
}

TSkinControl* MakeArrowSkin(TSkinControl* tabSkin, HWND arrows) {
    TSkinCreateArgs args;
    args.owner = tabSkin->Owner();
    TSkinControl* s = NewSkinControl(TSkinClass::UpDown, args);
    if (!s) return nullptr;
    s->FreeNotification(tabSkin);
    s->AttachHandle(arrows, tabSkin->FSkinData, tabSkin->FSkinForm, tabSkin->FCanvas);
    return s;
}

// ---- TSkinTab ----

const TClassInfo& TSkinTab::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinTab>("TSkinTab", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinTab::TSkinTab(TComponent* owner) : TSkinControl(owner) {}

TSkinTab::~TSkinTab() {
    if (FUpDown) FUpDown->RemoveFreeNotification(this);
    FUpDown = nullptr;
}

void TSkinTab::Notification(TComponent* c, TOperation op) {
    TSkinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FUpDown) FUpDown = nullptr;
}

void TSkinTab::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    if (!FAttached) return;
    FEnabled = FControl && FControl->Enabled();
    // Close boxes free pages, so only a page control's tabs get them.
    FCloseButtons = FControl && FControl->Tag() == kTabCloseBoxTag && dynamic_cast<TPageControl*>(FControl);
    PrepareImages();
    LookupUpDown();
    FActive = true;
    FUnicodeItems = IsWindowUnicode(FHandle) != FALSE;
}

void TSkinTab::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
    if (!FAttached) return;
    FFocused = GetFocus() == handle;
    FEnabled = IsWindowEnabled(handle) != FALSE;
    FCaption = GetWindowTextWide(handle);
    PrepareImages();
    LookupUpDown();
    FActive = true;
    FUnicodeItems = IsWindowUnicode(handle) != FALSE;
}

void TSkinTab::SkinChanged() {
    TSkinControl::SkinChanged();
    PrepareImages();
    if (!RepaintFollowsChange()) Repaint();
}

void TSkinTab::PrepareImages() {
    FOrientation = tabOrientationFromStyle(uint32_t(GetLong(FHandle, GWL_STYLE)));
    FTabImage.Clear();
    FPaneImage.Clear();
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs() : nullptr;
    if (!tabs) return;
    if (!tabs->Bitmap.Empty()) FTabImage = tabs->Bitmap;
    if (tabs->Style == 0 && !tabs->Bitmap2.Empty()) FPaneImage = tabs->Bitmap2;
    if (tabs->Style == 1 && hasImage(FSkinData->TabPane())) FPaneImage = FSkinData->TabPane()->Bitmap;
    toPixels24(FTabImage);
    toPixels24(FPaneImage);
    switch (FOrientation) {
        case toBottom:
            FlipBitmap(FTabImage.View());
            FlipBitmap(FPaneImage.View());
            break;
        case toLeft:
            if (!FPaneImage.Empty()) turn(FPaneImage, true);
            break;
        case toRight:
            if (!FPaneImage.Empty()) turn(FPaneImage, false);
            break;
        default:
            break;
    }
}

bool TSkinTab::LookupUpDown() {
    HWND arrows = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
    if (!arrows) return false;
    if (!FUpDown) FUpDown = MakeArrowSkin(this, arrows);
    return (GetWindowLongPtrW(arrows, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool TSkinTab::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_PAINT:
            PaintMessage(msg);
            msg.Result = 0;
            return false;
        case WM_LBUTTONDOWN:
            if (FCloseButtons && CloseClick(msg)) {
                msg.Result = 0;
                return false;
            }
            return TSkinControl::BeforeMessage(msg);
        default:
            return TSkinControl::BeforeMessage(msg);
    }
}

bool TSkinTab::CloseClick(TMessage& msg) {
    const POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
    // The click point is in client coordinates; the boxes are kept in window
    // coordinates, which differ by the border.
    POINT w = p;
    RECT wr{};
    GetWindowRect(FHandle, &wr);
    ClientToScreen(FHandle, &w);
    w.x -= wr.left;
    w.y -= wr.top;
    int hit = -1;
    for (size_t i = 0; i < FCloseRects.size(); ++i)
        if (!IsRectEmpty(&FCloseRects[i]) && PtInRect(&FCloseRects[i], w)) hit = int(i);
    if (hit < 0) return false;
    HWND tabWnd = FHandle;
    auto* pc = dynamic_cast<TPageControl*>(FControl);
    if (SendMessageW(closeTarget(*this), WM_SKIN_TAB_CLOSE, WPARAM(tabWnd), LPARAM(hit)) == 0 && pc) {
        for (int i = 0; i < pc->PageCount(); ++i)
            if (pc->Pages(i)->TabIndex() == hit) {
                delete pc->Pages(i);
                break;
            }
        FCloseRects.clear();
    }
    return true;
}

void TSkinTab::Paint(HDC dc, const RECT& r) {
    if (!FSkinData || !FSkinData->Tabs()) return;
    TDataSkinBorder& tabs = *FSkinData->Tabs();
    RECT display = r;
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&display));
    const TTabOrientation o = FOrientation;
    const PixelRect pane = tabPaneRect(px(display), o);
    const int n = int(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int focus = int(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
    FCloseRects.assign(size_t(std::max(n, 0)), RECT{});

    if (!FTabImage.Empty()) {
        const PixelRect strip = tabStripRect(px(r), pane, o);
        const PixelSize size = tabBufferSize(strip, o);
        if (size.width > 0 && size.height > 0) {
            FStripBuffer.SetSize(size.width, size.height);
            HDC b = FStripBuffer.Canvas()->Handle();
            FillParentColor(b, RECT{0, 0, size.width, size.height});
            HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
            HGDIOBJ oldFont = SelectObject(b, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
            const int frames = tabs.Frame > 0 ? tabs.Frame : 5;
            for (int i = 0; i < n; ++i) {
                std::wstring text;
                int image = -1;
                readTab(FHandle, i, FUnicodeItems, text, image);
                RECT tr{};
                if (!SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), LPARAM(&tr))) continue;
                const PixelRect inBuffer = tabToBuffer(px(tr), o, strip, pane, r.right);
                const RECT t = rc(inBuffer);
                const int frame = i == focus ? 2 : 1;
                drawStripFrame(b, t, FTabImage, tabs, frames, frame);
                const COLORREF colour = ColorToRGB(TColor(frame == 1 ? tabs.NormalColour2 : tabs.MouseOverColour2));
                if (FCloseButtons) {
                    // In the tab's own text colour: the system's button text
                    // would vanish on a dark tab.
                    const PixelRect box = tabCloseBox(inBuffer);
                    HPEN pen = CreatePen(PS_SOLID, 1, colour);
                    HGDIOBJ oldPen = SelectObject(b, pen);
                    const POINT outline[5] = {{box.left, box.top},
                                              {box.right, box.top},
                                              {box.right, box.bottom},
                                              {box.left, box.bottom},
                                              {box.left, box.top}};
                    Polyline(b, outline, 5);
                    MoveToEx(b, box.left, box.top, nullptr);
                    LineTo(b, box.right, box.bottom);
                    MoveToEx(b, box.right, box.top, nullptr);
                    LineTo(b, box.left, box.bottom);
                    SelectObject(b, oldPen);
                    DeleteObject(pen);
                    // Where the box shows once the strip is turned and placed;
                    // the pen's end point included.
                    FCloseRects[size_t(i)] =
                        rc(bufferToWindow({box.left, box.top, box.right + 1, box.bottom + 1}, o, strip));
                }
                DrawIconTextDC(this, b, t, DT_CENTER, text, image, images, colour);
                if (i == focus) drawTabFocus(FHandle, b, t);
            }
            SelectObject(b, oldFont);
            if (o == toLeft || o == toRight) {
                FStripBuffer.Dormant();
                turn(FStripBuffer, o == toLeft);
            }
            HDC src = FStripBuffer.Canvas()->Handle();
            const int saved = SaveDC(dc);
            HWND arrows = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
            if (arrows && LookupUpDown()) {
                // The arrows stay visible: the strip goes around them.
                RECT ar{};
                GetWindowRect(arrows, &ar);
                RECT wr{};
                GetWindowRect(FHandle, &wr);
                OffsetRect(&ar, -wr.left, -wr.top);
                ExcludeClipRect(dc, ar.left, ar.top, ar.right, ar.bottom);
            }
            BitBlt(dc, strip.left, strip.top, FStripBuffer.Width(), FStripBuffer.Height(), src, 0, 0, SRCCOPY);
            RestoreDC(dc, saved);
            FStripBuffer.Dormant();
        }
    }

    if (!FPaneImage.Empty() && pane.width() > 0 && pane.height() > 0) {
        TDataSkinObject* paneElement = FSkinData->TabPane();
        const PixelRect m = tabPaneMargins(tabs.Style, paneElement ? px(paneElement->Margins()) : PixelRect{});
        auto pic = BuildNineSlice(RECT{0, 0, pane.width(), pane.height()}, FPaneImage, rc(m), false, false, 1, 1);
        if (pic) {
            BitBlt(dc, pane.left, pane.top, pane.width(), pane.height(), pic->Canvas()->Handle(), 0, 0, SRCCOPY);
            pic->Dormant();
        }
    }

    if (FKind == 2)
        if (auto* win = dynamic_cast<TWinControl*>(FControl)) win->PaintControls(dc);
}

// ---- TSkinTabBtn ----

const TClassInfo& TSkinTabBtn::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinTabBtn>("TSkinTabBtn", &TSkinControl::StaticClassInfo()).build();
    return info;
}

bool TSkinTabBtn::BeforeMessage(TMessage& msg) {
    if (msg.Msg == WM_PAINT) {
        PaintMessage(msg);
        msg.Result = 0;
        return false;
    }
    return TSkinControl::BeforeMessage(msg);
}

void TSkinTabBtn::Paint(HDC dc, const RECT& r) {
    TDataSkinButton* buttons = FSkinData ? FSkinData->Buttons() : nullptr;
    if (!FSkinData) return;
    // The control's own painting never runs while skinned: a skin without a
    // button picture still gets buttons, raised and sunk on the skin's face.
    const bool pictures = hasImage(buttons);
    FEnabled = FControl ? FControl->Enabled() : IsWindowEnabled(FHandle) != FALSE;
    RECT p = r;
    SendMessageW(FHandle, TCM_ADJUSTRECT, FALSE, LPARAM(&p));
    InflateRect(&p, 4, 4);
    const RECT s{r.left, r.top, r.right, p.top + 1};
    const int w = s.right - s.left, h = s.bottom - s.top;
    if (w <= 0 || h <= 0) return;
    TBitmap buffer(w, h);
    HDC b = buffer.Canvas()->Handle();
    FillSkinColor(b, RECT{0, 0, w, h});
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(b, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
    HIMAGELIST images = reinterpret_cast<HIMAGELIST>(SendMessageW(FHandle, TCM_GETIMAGELIST, 0, 0));
    const int n = int(SendMessageW(FHandle, TCM_GETITEMCOUNT, 0, 0));
    const int focus = int(SendMessageW(FHandle, TCM_GETCURFOCUS, 0, 0));
    const int frames = pictures && buttons->Frame > 0 ? buttons->Frame : 5;
    for (int i = 0; i < n; ++i) {
        std::wstring text;
        int image = -1;
        readTab(FHandle, i, FUnicode, text, image);
        RECT t{};
        if (!SendMessageW(FHandle, TCM_GETITEMRECT, WPARAM(i), LPARAM(&t))) continue;
        OffsetRect(&t, 0, 1);
        const int frame = i == focus ? 2 : 1;
        COLORREF colour = RGB(0, 0, 0);
        if (pictures) {
            drawStripFrame(b, t, buttons->Bitmap, *buttons, frames, frame);
            if (frame == 1 && buttons->HasNormalColour2) colour = ColorToRGB(TColor(buttons->NormalColour2));
            if (frame == 2 && buttons->HasPressedColour2) colour = ColorToRGB(TColor(buttons->PressedColour2));
        } else {
            RECT edge = t;
            DrawEdge(b, &edge, frame == 2 ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
            colour = ColorToRGB(TColor(FSkinData->ButtonText));
        }
        DrawIconTextDC(this, b, t, DT_CENTER, text, image, images, colour);
        if (i == focus) drawTabFocus(FHandle, b, t);
    }
    SelectObject(b, oldFont);
    BitBlt(dc, s.left, s.top, w, h, b, 0, 0, SRCCOPY);
    buffer.Dormant();
}

// ---- TSkinTab31 ----

const TClassInfo& TSkinTab31::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinTab31>("TSkinTab31", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinTab31::TSkinTab31(TComponent* owner) : TSkinControl(owner) {}

TSkinTab31::~TSkinTab31() {
    if (FUpDown) FUpDown->RemoveFreeNotification(this);
    if (FScroller) FScroller->RemoveFreeNotification(this);
}

void TSkinTab31::Notification(TComponent* c, TOperation op) {
    TSkinControl::Notification(c, op);
    if (op != TOperation::opRemove) return;
    if (c == FUpDown) FUpDown = nullptr;
    if (c == FScroller) FScroller = nullptr;
}

void TSkinTab31::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool, TCanvas* canvas) {
    if (FAttached) return;
    auto* win = dynamic_cast<TWinControl*>(Owner());
    if (!win) return;
    HWND handle = win->Handle();
    AttachHandle(handle, skinData, skinForm, canvas);
    FControl = win;
    PrepareImage();
    // The tab set's scroller is the first component it owns.
    if (win->ComponentCount() > 0)
        if (auto* scroller = dynamic_cast<TWinControl*>(win->Components()[0])) {
            FScroller = scroller;
            scroller->FreeNotification(this);
            FUpDown = MakeArrowSkin(this, scroller->Handle());
        }
}

void TSkinTab31::SkinChanged() {
    TSkinControl::SkinChanged();
    PrepareImage();
    if (!RepaintFollowsChange()) Repaint();
}

void TSkinTab31::PrepareImage() {
    FTabImage.Clear();
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs() : nullptr;
    if (!hasImage(tabs)) return;
    FTabImage = tabs->Bitmap;
    toPixels24(FTabImage);
    FlipBitmap(FTabImage.View());
}

bool TSkinTab31::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_PAINT:
            PaintMessage(msg);
            return true;
        case WM_ERASEBKGND:
            msg.Result = 1;
            return false;
        default:
            return TSkinControl::BeforeMessage(msg);
    }
}

void TSkinTab31::Paint(HDC dc, const RECT& r) {
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs() : nullptr;
    if (!hasImage(tabs) || FTabImage.Empty() || !FControl) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    TBitmap work(w, h);
    HDC b = work.Canvas()->Handle();
    FillSkinColor(b, RECT{0, 0, w, h});
    HGDIOBJ oldFont = SelectObject(b, FControl->Font()->Handle());
    std::vector<std::wstring> texts;
    if (auto v = GetPropValue(FControl, "Tabs"))
        if (auto* list = std::get_if<TStringList>(&*v))
            for (auto& s : *list) {
                int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
                std::wstring t(size_t(n), L'\0');
                if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), t.data(), n);
                texts.push_back(std::move(t));
            }
    const int selected = int(prop::GetIntProp(FControl, "TabIndex"));
    const int start = int(prop::GetIntProp(FControl, "StartMargin"));
    const int end = int(prop::GetIntProp(FControl, "EndMargin"));
    const int first = int(prop::GetIntProp(FControl, "FirstIndex"));
    const bool scroller = FScroller && FScroller->HandleAllocated() && IsWindowVisible(FScroller->HandleIfAllocated());
    std::vector<int> widths;
    for (auto& t : texts) {
        SIZE s{};
        GetTextExtentPoint32W(b, t.c_str(), int(t.size()), &s);
        widths.push_back(s.cx);
    }
    const auto laid = tabSetLayout(widths, first, start, end, w, h, scroller);
    const int frames = tabs->Frame > 0 ? tabs->Frame : 5;
    TCanvas canvas(b);
    for (size_t i = 0; i < laid.size(); ++i) {
        if (laid[i].empty()) continue;
        const RECT t = rc(laid[i]);
        const int frame = int(i) == selected ? 2 : 1;
        drawStripFrame(b, t, FTabImage, *tabs, frames, frame);
        canvas.Font().Assign(*FControl->Font());
        canvas.Font().SetColor(TColor(frame == 1 ? tabs->NormalColour2 : tabs->MouseOverColour2));
        DrawCaptionText(this, canvas, t, DT_CENTER, true, texts[i]);
        if (int(i) == selected) drawTabFocus(FHandle, b, t);
    }
    canvas.ReleaseSelections();
    SelectObject(b, oldFont);
    BitBlt(dc, r.left, r.top, w, h, b, 0, 0, SRCCOPY);
    work.Dormant();
}

// ---- TSkinAdvPage ----

const TClassInfo& TSkinAdvPage::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinAdvPage>("TSkinAdvPage", &TSkinControl::StaticClassInfo()).build();
    return info;
}

void TSkinAdvPage::Notification(TComponent* c, TOperation op) {
    TSkinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FUpDown) FUpDown = nullptr;
}

void TSkinAdvPage::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    if (FAttached) PreparePageImages();
}

void TSkinAdvPage::PreparePageImages() {
    TDataSkinBorder* tabs = FSkinData ? FSkinData->Tabs() : nullptr;
    if (FMode != 4 || !hasImage(tabs) || !FControl) return;
    const int frames = tabs->Frame > 0 ? tabs->Frame : 5;
    const char* names[2] = {"TabBackGround", "TabBackGroundActive"};
    for (int k = 0; k < 2; ++k) {
        auto pic = BuildNineSlice(RECT{0, 0, 100, 21}, tabs->Bitmap, tabs->Margins(), false, tabs->Tile == 1, frames,
                                  k + 1);
        if (pic) SetPropValue(FControl, names[k], TPropValue(static_cast<TObject*>(pic.get())));
    }
}

void TSkinAdvPage::Restore() {
    if (!FControl) return;
    // The face colour the attach gave the control goes back with the pictures.
    TSkinControl::Restore();
    SetPropValue(FControl, "TabBackGround", TPropValue(static_cast<TObject*>(nullptr)));
    SetPropValue(FControl, "TabBackGroundActive", TPropValue(static_cast<TObject*>(nullptr)));
}

void TSkinAdvPage::SkinChanged() {
    if (FChangeColor && FControl && !FControl->IsDestroying()) FControl->SetColor(FaceColor());
    PreparePageImages();
}

void TSkinAdvPage::Paint(HDC, const RECT&) {
    HWND arrows = FindWindowExW(FHandle, nullptr, UPDOWN_CLASSW, nullptr);
    if (arrows && !FUpDown) FUpDown = MakeArrowSkin(this, arrows);
}

}  // namespace qs
