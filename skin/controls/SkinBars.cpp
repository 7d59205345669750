#include "SkinBars.h"

#include "SkinData.h"
#include "SkinRoutines.h"

#include <algorithm>

namespace qs {

const TClassInfo& TSkinToolbarH::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinToolbarH>("TSkinToolbarH", &TSkinControl::StaticClassInfo()).build();
    return info;
}
const TClassInfo& TSkinRebarH::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinRebarH>("TSkinRebarH", &TSkinControl::StaticClassInfo()).build();
    return info;
}

namespace {
COLORREF skinColour(const TSkinData* sd, int32_t TSkinColourTable::*field, int sys) {
    return sd ? ColorToRGB(TColor(sd->*field)) : GetSysColor(sys);
}
}  // namespace

// ---- tool bars ------------------------------------------------------------------------

void TSkinToolbarH::PaintBackground(HDC dc, const RECT& r) const {
    TDataSkinObject* bar = FSkinData ? FSkinData->Toolbar() : nullptr;
    if (bar && !bar->Bitmap.Empty() && !inSet(FSkinData->Options(), xoToolbarBK)) {
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, bar->Bitmap.Canvas()->Handle(), 0, 0,
                   bar->Bitmap.Width(), bar->Bitmap.Height(), SRCCOPY);
        bar->Bitmap.Dormant();
        SetStretchBltMode(dc, oldMode);
        return;
    }
    FillSkinColor(dc, r);
}

bool TSkinToolbarH::BeforeMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_ERASEBKGND: {
            RECT r{};
            GetClientRect(FHandle, &r);
            PaintBackground(reinterpret_cast<HDC>(msg.WParam), r);
            msg.Result = 1;
            return false;
        }
        default: return TSkinControl::BeforeMessage(msg);
    }
}

LRESULT TSkinToolbarH::CustomDraw(NMTBCUSTOMDRAW& cd, const std::function<LRESULT()>& program) {
    switch (cd.nmcd.dwDrawStage) {
        case CDDS_PREPAINT: {
            // A program that draws its bar itself keeps doing so.
            const LRESULT own = program();
            FTakenOver = own == CDRF_DODEFAULT && FActive && FSkinData;
            return FTakenOver ? CDRF_NOTIFYITEMDRAW : own;
        }
        case CDDS_ITEMPREPAINT: {
            if (!FTakenOver) return program();
            const UINT s = cd.nmcd.uItemState;
            TDataSkinObject* strip = FSkinData->ToolBars();
            const int frames = strip && strip->Frame > 0 ? strip->Frame : 5;
            int frame = 0;
            if (s & CDIS_SELECTED)
                frame = 2;
            else if (s & CDIS_CHECKED)
                frame = frames >= 5 ? 5 : 2;
            else if (s & CDIS_HOT)
                frame = 4;
            const bool drawn = frame && strip && !strip->Bitmap.Empty() && frame <= frames;
            if (drawn) DrawSkinElement(this, cd.nmcd.hdc, cd.nmcd.rc, frames, frame, strip);
            const bool disabled = (s & (CDIS_DISABLED | CDIS_GRAYED)) != 0;
            cd.clrText = disabled ? skinColour(FSkinData, &TSkinColourTable::ButtonShadow, COLOR_BTNSHADOW)
                                  : skinColour(FSkinData, &TSkinColourTable::ButtonText, COLOR_BTNTEXT);
            cd.clrTextHighlight = cd.clrText;
            cd.clrHighlightHotTrack = ColorToRGB(FaceColor());
            // The strip's frame is the hot, pressed or checked look: the
            // system's edges and checked pattern would cover it.
            LRESULT r = CDRF_NEWFONT | TBCDRF_NOETCHEDEFFECT;
            if (strip && !strip->Bitmap.Empty()) r |= TBCDRF_NOEDGES | TBCDRF_NOBACKGROUND;
            return r;
        }
        default: return FTakenOver ? CDRF_DODEFAULT : program();
    }
}

bool AnswerToolbarCustomDraw(TMessage& msg, const std::function<LRESULT()>& program) {
    if (msg.Msg != WM_NOTIFY || !msg.LParam) return false;
    auto* hdr = reinterpret_cast<NMHDR*>(msg.LParam);
    if (hdr->code != UINT(NM_CUSTOMDRAW)) return false;
    auto* skin = dynamic_cast<TSkinToolbarH*>(TSkinControl::FromHandle(hdr->hwndFrom));
    if (!skin || skin->FState == scsDestroyed || skin->FAnswering) return false;
    skin->FAnswering = true;
    struct Done {
        TSkinToolbarH* s;
        ~Done() { s->FAnswering = false; }
    } done{skin};
    msg.Result = skin->CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(msg.LParam), program);
    return true;
}

// ---- rebars ---------------------------------------------------------------------------

void TSkinRebarH::AttachHandle(HWND handle, TSkinData* skinData, TWinSkinForm* skinForm, TCanvas* canvas) {
    TSkinControl::AttachHandle(handle, skinData, skinForm, canvas);
    if (!FAttached || FSaved || !FHandle) return;
    // Read before anything is changed: restoring gives exactly these back.
    FOldBack = COLORREF(SendMessageW(FHandle, RB_GETBKCOLOR, 0, 0));
    FOldText = COLORREF(SendMessageW(FHandle, RB_GETTEXTCOLOR, 0, 0));
    const int n = int(SendMessageW(FHandle, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) FOldBands.push_back(ReadBand(i));
    FSaved = true;
    ApplyColours();
}

TSkinRebarH::Band TSkinRebarH::ReadBand(int index) const {
    REBARBANDINFOW b{};
    b.cbSize = sizeof(b);
    b.fMask = RBBIM_COLORS | RBBIM_CHILD | RBBIM_ID;
    SendMessageW(FHandle, RB_GETBANDINFOW, WPARAM(index), LPARAM(&b));
    return Band{b.hwndChild, b.wID, b.clrFore, b.clrBack};
}

TSkinRebarH::Band* TSkinRebarH::FindBand(int index) {
    const Band now = ReadBand(index);
    if (now.child) {
        for (Band& b : FOldBands)
            if (b.child == now.child) return &b;
        return nullptr;
    }
    // Bands without a child are told apart by id, and those sharing an id by
    // their order among themselves (which only the program can change).
    int rank = 0;
    for (int i = 0; i < index; ++i) {
        const Band other = ReadBand(i);
        rank += !other.child && other.id == now.id;
    }
    for (Band& b : FOldBands)
        if (!b.child && b.id == now.id && rank-- == 0) return &b;
    return nullptr;
}

void TSkinRebarH::ApplyBandColours(int index, COLORREF text, COLORREF face) {
    REBARBANDINFOW b{};
    b.cbSize = sizeof(b);
    b.fMask = RBBIM_COLORS;
    b.clrFore = text;
    b.clrBack = face;
    FOwnChange = true;
    SendMessageW(FHandle, RB_SETBANDINFOW, WPARAM(index), LPARAM(&b));
    FOwnChange = false;
}

void TSkinRebarH::ApplyColours() {
    if (!FSaved || !FSkinData) return;
    const COLORREF face = ColorToRGB(FaceColor());
    const COLORREF text = skinColour(FSkinData, &TSkinColourTable::ButtonText, COLOR_BTNTEXT);
    SendMessageW(FHandle, RB_SETBKCOLOR, 0, LPARAM(face));
    SendMessageW(FHandle, RB_SETTEXTCOLOR, 0, LPARAM(text));
    const int n = int(SendMessageW(FHandle, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) ApplyBandColours(i, text, face);
    InvalidateRect(FHandle, nullptr, TRUE);
}

void TSkinRebarH::BandsChanging(const TMessage& msg) {
    FDeleting = -1;
    if (msg.Msg != RB_DELETEBAND) return;
    if (const Band* b = FindBand(int(msg.WParam))) FDeleting = int(b - FOldBands.data());
}

void TSkinRebarH::BandsChanged(const TMessage& msg, int deletedRecord) {
    if (!FSaved || !msg.Result) return;
    const COLORREF face = ColorToRGB(FaceColor());
    const COLORREF text = skinColour(FSkinData, &TSkinColourTable::ButtonText, COLOR_BTNTEXT);
    switch (msg.Msg) {
        case RB_DELETEBAND:
            if (deletedRecord >= 0 && size_t(deletedRecord) < FOldBands.size())
                FOldBands.erase(FOldBands.begin() + deletedRecord);
            break;
        case RB_INSERTBANDA:
        case RB_INSERTBANDW:
        case RB_SETBANDINFOA:
        case RB_SETBANDINFOW: {
            // The fields read here sit at the same places in both character sets.
            const auto* info = reinterpret_cast<const REBARBANDINFOW*>(msg.LParam);
            if (!info) break;
            const bool insert = msg.Msg == RB_INSERTBANDA || msg.Msg == RB_INSERTBANDW;
            const int count = int(SendMessageW(FHandle, RB_GETBANDCOUNT, 0, 0));
            const int index = insert && (int(msg.WParam) < 0 || int(msg.WParam) >= count) ? count - 1 : int(msg.WParam);
            if (index < 0 || index >= count) break;
            // Unskinned, a new band without colours of its own would have
            // taken the rebar's.
            COLORREF fore = FOldText == CLR_NONE || FOldText == CLR_DEFAULT ? GetSysColor(COLOR_BTNTEXT) : FOldText;
            COLORREF back = FOldBack == CLR_NONE || FOldBack == CLR_DEFAULT ? GetSysColor(COLOR_BTNFACE) : FOldBack;
            const bool coloured = (info->fMask & RBBIM_COLORS) != 0;
            if (coloured) fore = info->clrFore, back = info->clrBack;
            if (insert) {
                Band b = ReadBand(index);
                b.fore = fore, b.back = back;
                FOldBands.push_back(b);
            } else if (Band* b = FindBand(index)) {
                if (coloured) b->fore = fore, b->back = back;
                // A new child or id keeps the record with its band.
                const Band now = ReadBand(index);
                b->child = now.child, b->id = now.id;
            }
            if (insert || coloured) ApplyBandColours(index, text, face);
            break;
        }
        default: break;
    }
}

void TSkinRebarH::SkinChanged() {
    ApplyColours();
    TSkinControl::SkinChanged();
}

void TSkinRebarH::Restore() {
    TSkinControl::Restore();
    if (!FSaved || FState == scsDestroyed || !IsWindow(FHandle)) return;
    SendMessageW(FHandle, RB_SETBKCOLOR, 0, LPARAM(FOldBack));
    SendMessageW(FHandle, RB_SETTEXTCOLOR, 0, LPARAM(FOldText));
    const int n = int(SendMessageW(FHandle, RB_GETBANDCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
        if (const Band* b = FindBand(i)) ApplyBandColours(i, b->fore, b->back);
    FSaved = false;
    FOldBands.clear();
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool TSkinRebarH::BeforeMessage(TMessage& msg) {
    if (msg.Msg == WM_ERASEBKGND) {
        // The bands' own backgrounds do not take every colour set on them:
        // the whole rebar is the skin's face, grippers and titles come after.
        RECT r{};
        GetClientRect(FHandle, &r);
        FillSkinColor(reinterpret_cast<HDC>(msg.WParam), r);
        msg.Result = 1;
        return false;
    }
    switch (msg.Msg) {
        case RB_INSERTBANDA:
        case RB_INSERTBANDW:
        case RB_SETBANDINFOA:
        case RB_SETBANDINFOW:
        case RB_DELETEBAND: {
            if (FOwnChange || !FSaved) break;
            BandsChanging(msg);
            const int deleting = FDeleting;
            if (!CallDefaultAlive(msg)) return false;
            BandsChanged(msg, deleting);
            return false;
        }
        default: break;
    }
    // The rebar passes its bars' questions on to its parent: answered here.
    if (AnswerToolbarCustomDraw(msg, [&] {
            CallDefault(msg);
            return msg.Result;
        }))
        return false;
    return TSkinControl::BeforeMessage(msg);
}

void TSkinRebarH::AfterMessage(TMessage& msg) {
    TSkinControl::AfterMessage(msg);
    if (msg.Msg == WM_PAINT && FSkinData) PaintChevrons();
}

void TSkinRebarH::PaintChevrons() {
    const int n = int(SendMessageW(FHandle, RB_GETBANDCOUNT, 0, 0));
    HDC dc = nullptr;
    for (int i = 0; i < n; ++i) {
        REBARBANDINFOW b{};
        b.cbSize = sizeof(b);
        b.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_IDEALSIZE;
        if (!SendMessageW(FHandle, RB_GETBANDINFOW, WPARAM(i), LPARAM(&b))) continue;
        if (!(b.fStyle & RBBS_USECHEVRON) || (b.fStyle & RBBS_HIDDEN) || !b.hwndChild || !b.cxIdeal) continue;
        RECT band{}, child{};
        SendMessageW(FHandle, RB_GETRECT, WPARAM(i), LPARAM(&band));
        GetWindowRect(b.hwndChild, &child);
        MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&child), 2);
        // The chevron sits right of a child narrower than it would like.
        if (UINT(child.right - child.left) >= b.cxIdeal || child.right >= band.right) continue;
        const RECT chevron{child.right, band.top, band.right, band.bottom};
        if (!dc) dc = GetDC(FHandle);
        if (!dc) return;
        FillSkinColor(dc, chevron);
        UniquePen pen(CreatePen(PS_SOLID, 1, skinColour(FSkinData, &TSkinColourTable::ButtonText, COLOR_BTNTEXT)));
        SelectObjectScope sel(dc, pen.get());
        // Two small right-pointing arrows, as the system draws them.
        const int x = (chevron.left + chevron.right) / 2 - 3, y = (chevron.top + chevron.bottom) / 2 - 3;
        for (int arrow = 0; arrow < 2; ++arrow)
            for (int k = 0; k < 3; ++k) {
                const int ax = x + 4 * arrow + k;
                MoveToEx(dc, ax, y + k, nullptr);
                LineTo(dc, ax, y + 7 - k);
            }
    }
    if (dc) ReleaseDC(FHandle, dc);
}

}  // namespace qs
