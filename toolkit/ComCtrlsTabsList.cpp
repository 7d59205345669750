// Header controls, list views and the glyph check box.
#include "ComCtrlsTabs.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "PropertyHelpers.h"

namespace qs {

const std::vector<std::string> kViewStyleNames = {"vsIcon", "vsSmallIcon", "vsList", "vsReport"};

namespace {
int formatOf(TAlignment a) {
    return a == taRightJustify ? HDF_RIGHT : a == taCenter ? HDF_CENTER : HDF_LEFT;
}
bool widthSetter(int64_t v, int& out) {
    if (v < 0 || v > 0x7FFF) return false;
    out = int(v);
    return true;
}
}  // namespace

// ---- THeaderSection ----

const TClassInfo& THeaderSection::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<THeaderSection>("THeaderSection", &TCollectionItem::StaticClassInfo())
            .wide("Text", &THeaderSection::Text, &THeaderSection::SetText)
            .integer("Width", [](const THeaderSection& s) { return int64_t(s.Width()); },
                     [](THeaderSection& s, int64_t v) -> bool {
                         int w;
                         if (!widthSetter(v, w)) return false;
                         s.SetWidth(w);
                         return true;
                     })
            .enumeration("Alignment", kAlignmentNames, [](const THeaderSection& s) { return int(s.Alignment()); },
                         [](THeaderSection& s, int v) { s.SetAlignment(TAlignment(v)); })
            .integer("ImageIndex", [](const THeaderSection& s) { return int64_t(s.ImageIndex()); },
                     [](THeaderSection& s, int64_t v) -> bool {
                         if (v < -1 || v > INT32_MAX) return false;
                         s.SetImageIndex(int(v));
                         return true;
                     })
            .build();
    return info;
}

void THeaderSection::SetText(const std::wstring& t) {
    FText = t;
    Changed();
}
int THeaderSection::Width() const {
    auto* sections = static_cast<THeaderSections*>(Collection());
    THeaderControl* h = sections ? sections->Header() : nullptr;
    if (h && h->HandleAllocated()) {
        HDITEMW item{};
        item.mask = HDI_WIDTH;
        if (SendMessageW(h->HandleIfAllocated(), HDM_GETITEMW, WPARAM(Index()), LPARAM(&item))) return item.cxy;
    }
    return FWidth;
}
void THeaderSection::SetWidth(int w) {
    FWidth = w;
    Changed();
}
void THeaderSection::SetAlignment(TAlignment a) {
    FAlignment = a;
    Changed();
}
void THeaderSection::SetImageIndex(int i) {
    FImageIndex = i;
    Changed();
}

const TClassInfo& THeaderSections::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<THeaderSections>("THeaderSections", &TCollection::StaticClassInfo()).build();
    return info;
}

void THeaderSections::Update(TCollectionItem*) {
    if (FHeader) FHeader->UpdateSections();
}

// ---- THeaderControl ----

const TClassInfo& THeaderControl::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<THeaderControl>("THeaderControl", &TWinControl::StaticClassInfo())
            .creatable()
            .collection("Sections", [](const THeaderControl& h) -> TObject* { return h.Sections(); })
            .object("Images", [](const THeaderControl& h) -> TObject* { return h.Images(); },
                    [](THeaderControl& h, TObject* o) -> bool {
                        auto* l = dynamic_cast<TImageList*>(o);
                        if (o && !l) return false;
                        h.SetImages(l);
                        return true;
                    },
                    &TImageList::StaticClassInfo())
            .build();
    return info;
}

THeaderControl::THeaderControl(TComponent* owner)
    : TWinControl(owner), FSections(std::make_unique<THeaderSections>(this)) {
    SetBounds(0, 0, 200, 17);
    SetAlign(alTop);
    SetColor(clBtnFace);
}

THeaderControl::~THeaderControl() {
    DestroyHandle();
    // Sections going away must not reach a half-destroyed header.
    FSections.reset();
}

void THeaderControl::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = WC_HEADERW;
    p.Style |= HDS_HORZ | HDS_BUTTONS | HDS_HOTTRACK | HDS_FULLDRAG;
}

void THeaderControl::CreateHandle() {
    TWinControl::CreateHandle();
    if (FImages) SendMessageW(FHandle, HDM_SETIMAGELIST, 0, LPARAM(FImages->Handle()));
    UpdateSections();
}

void THeaderControl::Notification(TComponent* c, TOperation op) {
    TWinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FImages) SetImages(nullptr);
}

void THeaderControl::SetImages(TImageList* list) {
    if (!LinkComponent(this, FImages, list)) return;
    if (FHandle) {
        SendMessageW(FHandle, HDM_SETIMAGELIST, 0, LPARAM(list ? list->Handle() : nullptr));
        Invalidate();
    }
}

void THeaderControl::UpdateSections() {
    if (!FHandle || !FSections) return;
    while (SendMessageW(FHandle, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageW(FHandle, HDM_DELETEITEM, 0, 0);
    for (int i = 0; i < FSections->Count(); ++i) {
        THeaderSection* s = FSections->At(i);
        HDITEMW item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE;
        item.pszText = const_cast<wchar_t*>(s->FText.c_str());
        item.cxy = s->FWidth;
        item.fmt = HDF_STRING | formatOf(s->FAlignment) | (s->FImageIndex >= 0 && FImages ? HDF_IMAGE : 0);
        item.iImage = s->FImageIndex;
        SendMessageW(FHandle, HDM_INSERTITEMW, WPARAM(i), LPARAM(&item));
    }
    Invalidate();
}

void THeaderControl::WndProc(TMessage& msg) {
    if (msg.Msg == CN_NOTIFY) {
        auto* nm = reinterpret_cast<NMHEADERW*>(msg.LParam);
        const int code = int(nm->hdr.code);
        THeaderSection* s = FSections ? FSections->At(nm->iItem) : nullptr;
        if (nm->iItem < 0 || nm->iItem >= (FSections ? FSections->Count() : 0)) s = nullptr;
        if ((code == HDN_ITEMCLICKW || code == HDN_ITEMCLICKA) && s && OnSectionClick) OnSectionClick(this, s);
        if ((code == HDN_ENDTRACKW || code == HDN_ENDTRACKA || code == HDN_ITEMCHANGEDW || code == HDN_ITEMCHANGEDA) &&
            s) {
            // The user dragged the divider: keep the new width with the section.
            HDITEMW item{};
            item.mask = HDI_WIDTH;
            if (SendMessageW(FHandle, HDM_GETITEMW, WPARAM(nm->iItem), LPARAM(&item)) && item.cxy != s->FWidth) {
                s->FWidth = item.cxy;
                if (OnSectionResize) OnSectionResize(this, s);
            }
        }
        msg.Result = 0;
        return;
    }
    TWinControl::WndProc(msg);
}

// ---- list view ----

const TClassInfo& TListColumn::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TListColumn>("TListColumn", &TCollectionItem::StaticClassInfo())
            .wide("Caption", &TListColumn::Caption, &TListColumn::SetCaption)
            .integer("Width", [](const TListColumn& c) { return int64_t(c.Width()); },
                     [](TListColumn& c, int64_t v) -> bool {
                         int w;
                         if (!widthSetter(v, w)) return false;
                         c.SetWidth(w);
                         return true;
                     })
            .enumeration("Alignment", kAlignmentNames, [](const TListColumn& c) { return int(c.Alignment()); },
                         [](TListColumn& c, int v) { c.SetAlignment(TAlignment(v)); })
            .build();
    return info;
}

void TListColumn::SetCaption(const std::wstring& t) {
    FCaption = t;
    Changed();
}
int TListColumn::Width() const {
    auto* cols = static_cast<TListColumns*>(Collection());
    TCustomListView* lv = cols ? cols->Owner() : nullptr;
    if (lv && lv->HandleAllocated() && lv->ViewStyle() == vsReport)
        return int(SendMessageW(lv->HandleIfAllocated(), LVM_GETCOLUMNWIDTH, WPARAM(Index()), 0));
    return FWidth;
}
void TListColumn::SetWidth(int w) {
    FWidth = w;
    Changed();
}
// Widths below zero ask the window to size the column (to its text or the rest).
void TCustomListView::ChangeScale(int m, int d) {
    for (int i = 0; i < FColumns->Count(); ++i)
        if (TListColumn* c = FColumns->At(i); c->Width() > 0) c->SetWidth(::MulDiv(c->Width(), m, d));
    TWinControl::ChangeScale(m, d);
}

void THeaderControl::ChangeScale(int m, int d) {
    for (int i = 0; i < FSections->Count(); ++i)
        if (THeaderSection* s = FSections->At(i); s->Width() > 0) s->SetWidth(::MulDiv(s->Width(), m, d));
    TWinControl::ChangeScale(m, d);
}

void TListColumn::SetAlignment(TAlignment a) {
    FAlignment = a;
    Changed();
}

const TClassInfo& TListColumns::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TListColumns>("TListColumns", &TCollection::StaticClassInfo()).build();
    return info;
}
void TListColumns::Update(TCollectionItem*) {
    if (FOwner) FOwner->UpdateColumns();
}

const TClassInfo& TListItem::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TListItem>("TListItem", &TCollectionItem::StaticClassInfo())
            .wide("Caption", &TListItem::Caption, &TListItem::SetCaption)
            .build();
    return info;
}
void TListItem::SetCaption(const std::wstring& t) {
    FCaption = t;
    Changed();
}
void TListItem::SetSubItems(const std::vector<std::wstring>& s) {
    FSubItems = s;
    Changed();
}

const TClassInfo& TListItems::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TListItems>("TListItems", &TCollection::StaticClassInfo()).build();
    return info;
}
void TListItems::Update(TCollectionItem* item) {
    if (!FOwner) return;
    // One item changed or was added at the end: only that row is touched, so
    // filling a list row by row does not rebuild it row after row.
    if (item ? FOwner->UpdateItem(item->Index(), false) : FOwner->UpdateItem(Count() - 1, true)) return;
    FOwner->UpdateItems();
}
TListItem* TListItems::Add(const std::wstring& caption, const std::vector<std::wstring>& subItems) {
    TListItem* item = Add();
    item->SetCaption(caption);
    item->SetSubItems(subItems);
    return item;
}

const TClassInfo& TCustomListView::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TCustomListView>("TCustomListView", &TWinControl::StaticClassInfo())
            .collection("Columns", [](const TCustomListView& l) -> TObject* { return l.Columns(); })
            .collection("Items", [](const TCustomListView& l) -> TObject* { return l.Items(); })
            .enumeration("ViewStyle", kViewStyleNames, [](const TCustomListView& l) { return int(l.ViewStyle()); },
                         [](TCustomListView& l, int v) { l.SetViewStyle(TViewStyle(v)); })
            .boolean("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect)
            .build();
    return info;
}

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner), FColumns(std::make_unique<TListColumns>(this)), FItems(std::make_unique<TListItems>(this)) {
    SetBounds(0, 0, 250, 150);
    SetTabStop(true);
    SetColor(clWindow);
}

TCustomListView::~TCustomListView() {
    DestroyHandle();
    FItems.reset();
    FColumns.reset();
}

void TCustomListView::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SysClassName = WC_LISTVIEWW;
    p.ExStyle |= WS_EX_CLIENTEDGE;
    p.Style |= LVS_SHAREIMAGELISTS | LVS_SHOWSELALWAYS;
    static const DWORD views[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    p.Style |= views[FViewStyle];
}

void TCustomListView::CreateHandle() {
    TWinControl::CreateHandle();
    if (FRowSelect) SendMessageW(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    UpdateColumns();
    UpdateItems();
}

void TCustomListView::SetViewStyle(TViewStyle v) {
    if (ChangeField(FViewStyle, v)) RecreateWnd();
}

void TCustomListView::SetRowSelect(bool v) {
    FRowSelect = v;
    if (FHandle)
        SendMessageW(FHandle, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, v ? LVS_EX_FULLROWSELECT : 0);
}

HWND TCustomListView::HeaderHandle() {
    if (!HandleAllocated()) return nullptr;
    return reinterpret_cast<HWND>(SendMessageW(FHandle, LVM_GETHEADER, 0, 0));
}

int TCustomListView::TopIndex() {
    return HandleAllocated() ? int(SendMessageW(FHandle, LVM_GETTOPINDEX, 0, 0)) : 0;
}

void TCustomListView::UpdateColumns() {
    if (!FHandle || !FColumns) return;
    while (SendMessageW(FHandle, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (int i = 0; i < FColumns->Count(); ++i) {
        TListColumn* c = FColumns->At(i);
        LVCOLUMNW col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        col.pszText = const_cast<wchar_t*>(c->FCaption.c_str());
        col.cx = c->FWidth;
        col.fmt = c->FAlignment == taRightJustify ? LVCFMT_RIGHT : c->FAlignment == taCenter ? LVCFMT_CENTER : LVCFMT_LEFT;
        if (i == 0) col.fmt = LVCFMT_LEFT;  // the first column is always left-aligned
        col.iSubItem = i;
        SendMessageW(FHandle, LVM_INSERTCOLUMNW, WPARAM(i), LPARAM(&col));
    }
}

void TCustomListView::UpdateItems() {
    if (!FHandle || !FItems || FUpdatingItems || FUpdateLevel > 0) return;
    FUpdatingItems = true;
    SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    SendMessageW(FHandle, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 0; i < FItems->Count(); ++i) {
        TListItem* it = FItems->At(i);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(it->Caption().c_str());
        int at = int(SendMessageW(FHandle, LVM_INSERTITEMW, 0, LPARAM(&item)));
        for (size_t s = 0; s < it->SubItems().size(); ++s) {
            LVITEMW sub{};
            sub.iSubItem = int(s) + 1;
            sub.pszText = const_cast<wchar_t*>(it->SubItems()[s].c_str());
            SendMessageW(FHandle, LVM_SETITEMTEXTW, WPARAM(at), LPARAM(&sub));
        }
    }
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
    FUpdatingItems = false;
}

void TCustomListView::EndUpdate() {
    if (FUpdateLevel > 0 && --FUpdateLevel == 0) UpdateItems();
}

bool TCustomListView::UpdateItem(int index, bool appendOnly) {
    if (FUpdateLevel > 0) return true;
    if (!FHandle || !FItems || FUpdatingItems) return !FHandle;
    const int shown = int(SendMessageW(FHandle, LVM_GETITEMCOUNT, 0, 0));
    TListItem* it = FItems->At(index);
    if (!it || index > shown || FItems->Count() != shown + (index == shown ? 1 : 0)) return false;
    if (appendOnly && index != shown) return false;
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(it->Caption().c_str());
    if (index == shown) {
        if (SendMessageW(FHandle, LVM_INSERTITEMW, 0, LPARAM(&item)) != index) return false;
    } else {
        SendMessageW(FHandle, LVM_SETITEMTEXTW, WPARAM(index), LPARAM(&item));
    }
    for (size_t s = 0; s < it->SubItems().size(); ++s) {
        LVITEMW sub{};
        sub.iSubItem = int(s) + 1;
        sub.pszText = const_cast<wchar_t*>(it->SubItems()[s].c_str());
        SendMessageW(FHandle, LVM_SETITEMTEXTW, WPARAM(index), LPARAM(&sub));
    }
    return true;
}

const TClassInfo& TListView::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TListView>("TListView", &TCustomListView::StaticClassInfo()).creatable().build();
    return info;
}

// ---- TGlyphCheckBox ----

const TClassInfo& TGlyphCheckBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TGlyphCheckBox>("TGlyphCheckBox", &TCustomControl::StaticClassInfo())
            .creatable()
            .boolean("Checked", &TGlyphCheckBox::Checked, &TGlyphCheckBox::SetChecked)
            .boolean("UseCustomGlyphs", &TGlyphCheckBox::UseCustomGlyphs, &TGlyphCheckBox::SetUseCustomGlyphs)
            .object("CustomGlyphs", [](const TGlyphCheckBox& b) -> TObject* {
                        return const_cast<TGlyphCheckBox&>(b).CustomGlyphs();
                    },
                    nullptr, &TBitmap::StaticClassInfo())
            .colour("TransparentColor", [](const TGlyphCheckBox& b) { return int64_t(b.TransparentColor()); },
                    [](TGlyphCheckBox& b, int64_t v) { b.SetTransparentColor(TColor(v)); })
            .build();
    return info;
}

TGlyphCheckBox::TGlyphCheckBox(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 120, 17);
    SetTabStop(true);
    SetColor(clBtnFace);
    SetControlStyle(ControlStyle() | csSetCaption);
}

TGlyphCheckBox::~TGlyphCheckBox() { DestroyHandle(); }

void TGlyphCheckBox::SetChecked(bool v) {
    if (ChangeField(FChecked, v)) Invalidate();
}

void TGlyphCheckBox::SetUseCustomGlyphs(bool v) {
    FUseCustomGlyphs = v;
    if (v)
        FLoadedGlyphs = FCustomGlyphs;
    else
        FLoadedGlyphs.Clear();
    Invalidate();
}

void TGlyphCheckBox::SetTransparentColor(TColor c) {
    FTransparentColor = c;
    Invalidate();
}

int TGlyphCheckBox::GlyphCell() const {
    const int row = !Enabled() ? 2 : FPressed ? 1 : 0;
    return row * 3 + (FChecked ? 1 : 0);
}

int TGlyphCheckBox::GlyphSize() const {
    if (FUseCustomGlyphs && !FLoadedGlyphs.Empty()) return FLoadedGlyphs.Width() / 9;
    return 13;
}

void TGlyphCheckBox::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_LBUTTONDOWN:
            FPressed = true;
            if (CanFocus()) SetFocus();
            Invalidate();
            break;
        case WM_LBUTTONUP:
            if (FPressed) {
                FPressed = false;
                POINT p{GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)};
                RECT r = ClientRect();
                if (PtInRect(&r, p)) SetChecked(!FChecked);
                Invalidate();
            }
            break;
        case WM_KEYDOWN:
            if (msg.WParam == VK_SPACE) SetChecked(!FChecked);
            break;
        case CM_ENABLEDCHANGED:
        case CM_TEXTCHANGED:
            Invalidate();
            break;
        default:
            break;
    }
    TCustomControl::WndProc(msg);
}

void TGlyphCheckBox::Paint() {
    TCanvas& c = *Canvas();
    RECT all = ClientRect();
    c.Brush().SetColor(Color());
    c.FillRect(all);
    const int size = GlyphSize();
    const int y = (all.bottom - size) / 2;
    if (FUseCustomGlyphs && !FLoadedGlyphs.Empty() && size > 0) {
        TBitmap cell(size, FLoadedGlyphs.Height());
        BitBlt(cell.Canvas()->Handle(), 0, 0, size, cell.Height(), FLoadedGlyphs.Canvas()->Handle(),
               GlyphCell() * size, 0, SRCCOPY);
        cell.SetTransparent(true);
        cell.SetTransparentColor(FTransparentColor);
        c.Draw(0, (all.bottom - cell.Height()) / 2, cell);
    } else {
        RECT box{0, y, size, y + size};
        UINT state = DFCS_BUTTONCHECK | (FChecked ? DFCS_CHECKED : 0) | (FPressed ? DFCS_PUSHED : 0) |
                     (Enabled() ? 0 : DFCS_INACTIVE);
        DrawFrameControl(c.Handle(), &box, DFC_BUTTON, state);
    }
    RECT t{size + 4, 0, all.right, all.bottom};
    c.Brush().SetStyle(TBrushStyle::bsClear);
    c.Font().SetColor(Enabled() ? clBtnText : clGrayText);
    c.DrawTextRect(Caption(), t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    c.Brush().SetStyle(TBrushStyle::bsSolid);
    if (Focused()) {
        c.DrawTextRect(Caption(), t, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        int h = t.bottom - t.top;
        t.top = (all.bottom - h) / 2;
        t.bottom = t.top + h;
        InflateRect(&t, 1, 0);
        c.DrawFocusRectangle(t);
    }
}

}  // namespace qs
