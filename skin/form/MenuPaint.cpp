#include "MenuPaint.h"

#include <algorithm>

#include "ImgList.h"
#include "Menus.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinManage.h"
#include "SkinPopMenu.h"
#include "SkinRecords.h"

namespace qs {

namespace {

constexpr int kForeignTextLimit = 80;
// The system's check-mark bitmap (OBM_CHECK, declared only with OEMRESOURCE).
constexpr int kObmCheck = 32760;

PixelRect toPixel(const RECT& r) { return PixelRect{r.left, r.top, r.right, r.bottom}; }
RECT toRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

TDataSkinObject* menuItemElement(TSkinData* sd) {
    if (!sd || !sd->SkinLoaded()) return nullptr;
    TDataSkinObject* e = sd->MenuItem();
    return e && !e->Bitmap.Empty() ? e : nullptr;
}

void fillColour(HDC dc, const RECT& r, TColor c) {
    UniqueBrush b(::CreateSolidBrush(ColorToRGB(c)));
    ::FillRect(dc, &r, b.get());
}

bool oldSystem() {
    const DWORD v = SkinSystemVersion() ? SkinSystemVersion() : ::GetVersion();
    return (v & 0x80000000u) != 0;
}

// Splits "Open\tCtrl+O" into caption and shortcut.
void splitShortcut(std::wstring& caption, std::wstring& shortcut) {
    const auto tab = caption.find(L'\t');
    if (tab == std::wstring::npos) return;
    shortcut = caption.substr(tab + 1);
    caption.resize(tab);
}

// A monochrome picture drawn in `colour` where its bits are 0, leaving the
// destination where they are 1 (the system check mark).
void drawMonoTransparent(HDC dc, int x, int y, HBITMAP mono, COLORREF colour) {
    BITMAP bm{};
    if (!::GetObjectW(mono, sizeof bm, &bm)) return;
    UniqueDC src(::CreateCompatibleDC(dc));
    if (!src) return;
    SelectObjectScope selBmp(src.get(), mono);
    UniqueBrush brush(::CreateSolidBrush(colour));
    SelectObjectScope selBrush(dc, brush.get());
    const COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    // P ^ (S & (D ^ P)): white source keeps the destination, black takes the brush.
    ::BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, src.get(), 0, 0, 0x00B8074A);
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
}

// Where the menu window's client area starts inside the window: the items'
// rectangles are client coordinates, the background picture covers the
// whole window. Systems that draw the menu frame inside the client area
// report 0.
POINT clientOffset(HWND menuWnd) {
    if (!menuWnd || !::IsWindow(menuWnd)) return POINT{3, 3};
    RECT wr{};
    ::GetWindowRect(menuWnd, &wr);
    POINT origin{0, 0};
    ::ClientToScreen(menuWnd, &origin);
    return POINT{origin.x - wr.left, origin.y - wr.top};
}

}  // namespace

bool TMenuItemView::HasImage() const { return images && imageIndex >= 0 && imageIndex < images->Count(); }

TMenuItemView ViewOfMenuItem(TMenuItem* item) {
    TMenuItemView v;
    if (!item) return v;
    v.caption = item->Caption();
    v.shortcut = ShortCutToText(item->ShortCut());
    v.checked = item->Checked();
    v.enabled = item->Enabled();
    v.isDefault = item->Default();
    v.radio = item->RadioItem();
    if (TMenu* m = item->GetParentMenu()) {
        v.rightToLeft = m->IsRightToLeft();
        v.images = m->Images();
    }
    v.imageIndex = item->ImageIndex();
    if (TMenuItem* p = item->Parent(); p && p->HandleAllocated()) v.parentMenu = p->Handle();
    return v;
}

TMenuItemView ViewOfWin32Item(HMENU menu, UINT idOrPosition, bool byPosition) {
    TMenuItemView v;
    v.parentMenu = menu;
    if (!menu) return v;
    wchar_t text[kForeignTextLimit + 1] = {};
    MENUITEMINFOW mii{};
    mii.cbSize = sizeof mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    mii.dwTypeData = text;
    mii.cch = kForeignTextLimit;
    if (!::GetMenuItemInfoW(menu, idOrPosition, byPosition, &mii)) return v;
    v.caption.assign(text, wcsnlen(text, kForeignTextLimit));
    splitShortcut(v.caption, v.shortcut);
    if (mii.fType & MFT_SEPARATOR) v.caption = L"-";
    v.checked = (mii.fState & MFS_CHECKED) != 0;
    v.enabled = (mii.fState & (MFS_DISABLED | MFS_GRAYED)) == 0;
    v.isDefault = (mii.fState & MFS_DEFAULT) != 0;
    v.radio = (mii.fType & MFT_RADIOCHECK) != 0;
    v.rightToLeft = (mii.fType & MFT_RIGHTORDER) != 0;
    return v;
}

UniqueFont CreateMenuFont(bool bold) {
    LOGFONTW lf = MenuLogFont();
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    return UniqueFont(::CreateFontIndirectW(&lf));
}

// ---- measuring ------------------------------------------------------------------------

void AddSkinItemWidth(TSkinData* sd, TMenuItem* item, bool popup, int& width) {
    if (!item) return;
    TDataSkinObject* e = menuItemElement(sd);
    TMenu* m = item->GetParentMenu();
    width += MenuItemExtraWidth(popup, e != nullptr, e ? e->LeftWidth : 0, m && m->Images());
}

void MeasureMenuItem(TSkinData* sd, TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    if (!item) return;
    // The toolkit's own rule, without calling this handler again.
    item->MeasureDefault(canvas, width, height);
    AddSkinItemWidth(sd, item, false, width);
}

void MeasurePopupItem(TSkinData* sd, TMenuItem* item, TCanvas&, int& width, int&) {
    AddSkinItemWidth(sd, item, true, width);
}

void MeasureForeignMenuItem(TSkinData* sd, HMENU menu, MEASUREITEMSTRUCT& mis) {
    wchar_t text[kForeignTextLimit + 1] = {};
    const int n = menu ? ::GetMenuStringW(menu, mis.itemID, text, kForeignTextLimit, MF_BYCOMMAND) : 0;
    std::wstring s(text, std::size_t(std::max(n, 0)));
    int textW = 0, textH = 0;
    if (!s.empty()) {
        ClientDCScope screen(nullptr);
        UniqueFont font = CreateMenuFont();
        SelectObjectScope sel(screen.get(), font.get());
        RECT r{0, 0, 0, 0};
        ::DrawTextW(screen.get(), s.c_str(), int(s.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
        textW = r.right - r.left;
        textH = r.bottom - r.top;
    }
    TDataSkinObject* e = menuItemElement(sd);
    const int systemHeight = std::max(int(mis.itemHeight), textH);
    const ForeignItemSize size =
        MeasureForeignItem(textW, !s.empty(), systemHeight, e != nullptr, e ? e->LeftWidth : 0, oldSystem());
    mis.itemWidth = UINT(std::max(size.width, 0));
    mis.itemHeight = UINT(std::max(size.height, 0));
}

// ---- painting ---------------------------------------------------------------------------

void DrawMenuText(TSkinData* sd, const TMenuItemView& v, HDC dc, const std::wstring& text, RECT r, UINT format,
                  bool selected) {
    if (v.IsLine() && text == L"-") {
        if (format & DT_CALCRECT) return;
        RECT line{r.left, r.top + 4, r.right, r.top + 6};
        ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    TColor colour = clMenuText;
    if (sd) {
        if (v.enabled)
            colour = selected ? sd->HilightText : sd->MenuText;
        else
            colour = sd->ButtonShadow == sd->MenuText ? clBtnShadow : sd->ButtonShadow;
    } else if (!v.enabled) {
        colour = clGrayText;
    }
    UniqueFont bold;
    if (v.isDefault) bold = CreateMenuFont(true);
    SelectObjectScope sel(dc, bold ? static_cast<HGDIOBJ>(bold.get()) : ::GetCurrentObject(dc, OBJ_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorToRGB(colour));
    ::DrawTextW(dc, text.c_str(), int(text.size()), &r, format);
}

void DrawMenuItemContent(TSkinData* sd, const TMenuItemView& v, HDC dc, bool selected, const RECT& r) {
    TDataSkinObject* e = menuItemElement(sd);
    const bool hasImage = v.HasImage();
    MenuItemContentInput in;
    in.item = toPixel(r);
    in.elementLeftWidth = e ? e->LeftWidth : 0;
    in.glyphSize = MenuGlyphSize(v.images != nullptr, v.images ? v.images->Width() : 0, v.checked);
    in.separator = v.IsLine();
    in.rightToLeft = v.rightToLeft;

    // An empty caption (or a lone "&") still gets a line's height.
    std::wstring measured = v.caption;
    if (measured.empty() || measured == L"&") measured += L" ";
    RECT calc{0, 0, 0, 0};
    UINT measureFlags = DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE;
    {
        UniqueFont bold;
        if (v.isDefault) bold = CreateMenuFont(true);
        SelectObjectScope sel(dc, bold ? static_cast<HGDIOBJ>(bold.get()) : ::GetCurrentObject(dc, OBJ_FONT));
        ::DrawTextW(dc, measured.c_str(), int(measured.size()), &calc, measureFlags);
    }
    in.textWidth = calc.right - calc.left;
    in.textHeight = calc.bottom - calc.top;
    if (!v.shortcut.empty()) {
        SIZE sz{};
        ::GetTextExtentPoint32W(dc, v.shortcut.c_str(), int(v.shortcut.size()), &sz);
        in.shortcutWidth = std::max<int>(sz.cx, 1);
    }
    const MenuItemContentLayout l = LayoutMenuItemContent(in);

    if (!in.separator) {
        const RECT box = toRect(l.glyphBox);
        const int g = in.glyphSize;
        if (hasImage) {
            TCanvas canvas(dc);
            const int top = MenuImageTop(in.item, v.checked ? 16 : v.images->Height(), v.checked);
            if (v.checked) {
                RECT fill{box.left, top, box.left + g, top + g};
                canvas.Brush().SetBitmap(&AllocPatternBitmap(clBtnFace, clBtnHighlight));
                ::FillRect(dc, &fill, canvas.Brush().Handle());
                ::DrawEdge(dc, &fill, BDR_SUNKENINNER, BF_RECT);
                canvas.Brush().SetBitmap(nullptr);
            }
            const int imgTop = v.checked ? top + (g - v.images->Height()) / 2 : top;
            v.images->Draw(canvas, box.left + (g - v.images->Width()) / 2, imgTop, v.imageIndex, v.enabled);
            canvas.ReleaseSelections();
        } else if (v.checked) {
            HBITMAP check = ::LoadBitmapW(nullptr, MAKEINTRESOURCEW(kObmCheck));
            if (check) {
                BITMAP bm{};
                ::GetObjectW(check, sizeof bm, &bm);
                const int x = box.left + (g - bm.bmWidth) / 2 + 1;
                const int y = r.top + (r.bottom - r.top - bm.bmHeight) / 2;
                drawMonoTransparent(dc, x, y, check, ColorToRGB(clBtnText));
                ::DeleteObject(check);
            }
        }
    }

    UINT format = DT_SINGLELINE | DT_EXPANDTABS;
    if (v.rightToLeft) format |= DT_RIGHT | DT_RTLREADING;
    DrawMenuText(sd, v, dc, v.caption, v.IsLine() ? r : toRect(l.text), format, selected);
    if (!v.shortcut.empty() && !v.IsLine()) {
        const UINT sf = DT_SINGLELINE | (v.rightToLeft ? (DT_LEFT | DT_RTLREADING) : DT_RIGHT);
        DrawMenuText(sd, v, dc, v.shortcut, toRect(l.shortcut), sf, selected);
    }
}

void DrawMenuSeparator(TSkinData* sd, HDC dc, const RECT& r) {
    TDataSkinObject* e = menuItemElement(sd);
    if (!e) return;
    const int w = r.right - r.left, h = r.bottom - r.top;
    const auto slices = SeparatorSlices(e->Bitmap.Width(), e->Bitmap.Height(), e->LeftWidth, e->RightWidth, w, h);
    if (slices.empty()) return;
    TBitmap band(w, h);
    HDC bdc = band.Canvas()->Handle();
    const RECT all{0, 0, w, h};
    fillColour(bdc, all, TColor(kSkinKeyColour));
    HDC src = e->Bitmap.Canvas()->Handle();
    ::SetStretchBltMode(bdc, COLORONCOLOR);
    for (const SliceBlit& s : slices)
        ::StretchBlt(bdc, s.dst.left, s.dst.top, s.dst.width(), s.dst.height(), src, s.src.left, s.src.top,
                     s.src.width(), s.src.height(), SRCCOPY);
    ::GdiFlush();
    DrawTransparent(dc, r, band);
}

void DrawMenuItemView(TSkinData* sd, const TMenuItemView& v, HDC dc, const RECT& r, bool selected) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!dc || w <= 0 || h <= 0) return;
    TSkinManage* manager = SkinManager();
    if (manager && v.parentMenu) {
        manager->MarkMenuBarPopups();
        manager->AssociateMenu(v.parentMenu);
    }
    TBitmap work(w, h);
    HDC wdc = work.Canvas()->Handle();
    UniqueFont font = CreateMenuFont();
    SelectObjectScope selFont(wdc, font.get());
    const RECT local{0, 0, w, h};

    TDataSkinObject* e = menuItemElement(sd);
    if (!e) {
        // The plain form: flat colours, same content.
        fillColour(wdc, local, sd ? (selected && !v.IsLine() ? sd->Hilight : sd->Menu) : clMenu);
        DrawMenuItemContent(sd, v, wdc, selected && !v.IsLine(), local);
    } else {
        // The piece of the menu window's picture under this item.
        bool painted = false;
        if (TWinSkinPopMenu* pop = PopupSkinForMenu(v.parentMenu)) {
            TBitmap& bg = pop->FBackground;
            if (!bg.Empty()) {
                const POINT off = clientOffset(pop->FHandle);
                ::BitBlt(wdc, 0, 0, w, h, bg.Canvas()->Handle(), r.left + off.x, r.top + off.y, SRCCOPY);
                painted = true;
            }
        }
        if (!painted) fillColour(wdc, local, sd->Menu);
        if (v.IsLine()) {
            DrawMenuSeparator(sd, wdc, local);
        } else {
            DrawNineSlice(wdc, local, e->Bitmap, false, e->Tile != 1, e->Trans == 1, 5, selected ? 4 : 1,
                          e->Margins());
            DrawMenuItemContent(sd, v, wdc, selected, local);
        }
    }
    ::GdiFlush();
    ::BitBlt(dc, r.left, r.top, w, h, wdc, 0, 0, SRCCOPY);
}

void DrawMenuItem(TSkinData* sd, TMenuItem* item, TCanvas& canvas, const RECT& r, bool selected) {
    if (!item) return;
    DrawMenuItemView(sd, ViewOfMenuItem(item), canvas.Handle(), r, selected);
}

void DrawForeignMenuItem(TSkinData* sd, const DRAWITEMSTRUCT& dis) {
    HMENU menu = reinterpret_cast<HMENU>(dis.hwndItem);
    TMenuItemView v = ViewOfWin32Item(menu, dis.itemID);
    if (dis.itemState & (ODS_DISABLED | ODS_GRAYED)) v.enabled = false;
    if (dis.itemState & ODS_CHECKED) v.checked = true;
    if (dis.itemState & ODS_DEFAULT) v.isDefault = true;
    DrawMenuItemView(sd, v, dis.hDC, dis.rcItem, (dis.itemState & ODS_SELECTED) != 0);
}

}  // namespace qs
