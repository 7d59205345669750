#include "SkinMP.h"

#include <cstdio>

#include "EngineAccess.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinLoader.h"
#include "SkinRoutines.h"

namespace qs {

namespace {
// The glyph pictures are built-in bitmap resources named "<state>_<button>":
// EN_MPPLAY, DI_MPSTOP, CL_MPEJECT ...
constexpr const wchar_t* kStatePrefix[3] = {L"EN", L"DI", L"CL"};
constexpr const wchar_t* kButtonResource[kMPButtonCount] = {L"MPPLAY", L"MPPAUSE", L"MPSTOP",
                                                            L"MPNEXT", L"MPPREV",  L"MPSTEP",
                                                            L"MPBACK", L"MPRECORD", L"MPEJECT"};
constexpr const char* kButtonName[kMPButtonCount] = {"btPlay", "btPause", "btStop",   "btNext", "btPrev",
                                                     "btStep", "btBack",  "btRecord", "btEject"};
// The glyphs' own transparent colour (olive), not the skin's magenta.
constexpr COLORREF kGlyphKey = RGB(0x80, 0x80, 0x00);

// A set property as its text: the member names in square brackets. A class
// that publishes the same name as text is read as it is.
std::string setText(const TObject* obj, const char* name) {
    auto v = GetPropValue(obj, name);
    if (!v) return {};
    if (auto* s = std::get_if<TSetValue>(&*v)) {
        std::string t = "[";
        for (size_t i = 0; i < s->members.size(); ++i) t += (i ? "," : "") + s->members[i];
        return t + "]";
    }
    if (auto* s = std::get_if<std::string>(&*v)) return *s;
    if (auto* w = std::get_if<std::wstring>(&*v)) return WideToUtf8(*w);
    return {};
}

TMPButtonSet visibleMask(const std::array<TWMediaPlayer::TMPButton, kMPButtonCount>& b) {
    TMPButtonSet m = 0;
    for (int i = 0; i < kMPButtonCount; ++i)
        if (b[size_t(i)].Visible) m |= 1u << i;
    return m;
}
}  // namespace

// ---- TWMediaPlayer ----

const TClassInfo& TWMediaPlayer::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TWMediaPlayer>("TWMediaPlayer", &TCustomControl::StaticClassInfo()).build();
    return info;
}

TWMediaPlayer::TWMediaPlayer(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle((ControlStyle() | csOpaque) & ~csClickEvents & ~csAcceptsControls);
    LoadBitmaps();
}

TWMediaPlayer::~TWMediaPlayer() {
    DestroyHandle();
    FreeBitmaps();
}

void TWMediaPlayer::CreateWnd() {
    TCustomControl::CreateWnd();
    MarkHelperWindow(HandleIfAllocated());
}

void TWMediaPlayer::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    // A quick second click is a second press for the player, not a double click.
    p.ClassStyle &= ~UINT(CS_DBLCLKS);
    p.ClassStyle |= CS_HREDRAW | CS_VREDRAW;
}

void TWMediaPlayer::LoadBitmaps() {
    // The engine's own module: the program's when the engine is linked in,
    // the library's when it is loaded as one (the program has none of them).
    HMODULE module = TSkinLoader::ResourceModule();
    for (int i = 0; i < kMPButtonCount; ++i)
        for (int s = 0; s < 3; ++s) {
            wchar_t name[32];
            swprintf(name, 32, L"%ls_%ls", kStatePrefix[s], kButtonResource[i]);
            TBitmap& b = FButtons[size_t(i)].Bitmaps[size_t(s)];
            // A picture the engine was built without leaves the glyph empty.
            if (!FindResourceW(module, name, MAKEINTRESOURCEW(2) /* RT_BITMAP */) ||
                !b.LoadFromResourceName(module, name))
                b.Clear();
        }
}

void TWMediaPlayer::FreeBitmaps() {
    for (auto& b : FButtons)
        for (auto& bmp : b.Bitmaps) bmp.Clear();
}

void TWMediaPlayer::AttachTo(TSkinMP* skinMP, TControl* player) {
    FSkinMP = skinMP;
    FPlayer = player;
    FSkinData = skinMP ? skinMP->FSkinData : nullptr;
    if (FSkinData) SetTag(FSkinData->DisableTag());
    if (!player) return;
    FreeNotification(player);
    if (skinMP) FreeNotification(skinMP);
    SyncBounds();
    SetParent(player->Parent());
    // Above the player, so the mouse and the eye meet the panel first.
    BringToFront();
}

void TWMediaPlayer::SyncBounds() {
    if (!FPlayer) return;
    SetBounds(FPlayer->Left(), FPlayer->Top(), FPlayer->Width(), FPlayer->Height());
}

void TWMediaPlayer::Notification(TComponent* c, TOperation op) {
    TCustomControl::Notification(c, op);
    if (op != TOperation::opRemove) return;
    if (c == FPlayer) {
        // Nothing left to stand over or to pass clicks to.
        FPlayer = nullptr;
        if (!IsDestroying()) SetVisible(false);
    }
    if (c == FSkinMP) FSkinMP = nullptr;
}

void TWMediaPlayer::ReadButtonSets() {
    const std::string visible = setText(FPlayer, "VisibleButtons");
    const std::string enabled = setText(FPlayer, "EnabledButtons");
    const std::string colored = setText(FPlayer, "ColoredButtons");
    FVisibleCount = 0;
    for (int i = 0; i < kMPButtonCount; ++i) {
        TMPButton& b = FButtons[size_t(i)];
        b.Visible = visible.find(kButtonName[i]) != std::string::npos;
        b.Enabled = enabled.find(kButtonName[i]) != std::string::npos;
        b.Colored = colored.find(kButtonName[i]) != std::string::npos;
        if (b.Visible) ++FVisibleCount;
    }
    FButtonWidth = FVisibleCount > 0 ? ClientWidth() / FVisibleCount : 0;
}

int TWMediaPlayer::HitTest(int x) const { return mpHitTest(visibleMask(FButtons), FButtonWidth, x); }

void TWMediaPlayer::DrawMPButton(HDC dc, int index, const RECT& cell) {
    const TMPButton& b = FButtons[size_t(index)];
    int frame = FMouseDown && index == FPressedIndex ? 2 : 1;
    if (!b.Enabled) frame = 3;
    TDataSkinButton* face = FSkinData ? FSkinData->Buttons() : nullptr;
    if (face && !face->Bitmap.Empty()) DrawSkinElement(FSkinMP, dc, cell, std::max(face->Frame, 1), frame, face);
    TBitmap& glyph = const_cast<TBitmap&>(b.Bitmaps[!b.Enabled ? 1 : b.Colored ? 2 : 0]);
    if (glyph.Empty()) return;
    const int cw = cell.right - cell.left, ch = cell.bottom - cell.top;
    int x = cell.left + (cw - glyph.Width()) / 2, y = cell.top + (ch - glyph.Height()) / 2;
    if (frame == 2) {
        ++x;
        ++y;
    }
    DrawTransparent(dc, RECT{x, y, x + glyph.Width(), y + glyph.Height()}, glyph, kGlyphKey);
}

void TWMediaPlayer::Paint() {
    HDC target = Canvas()->Handle();
    const int w = ClientWidth(), h = ClientHeight();
    if (w <= 0 || h <= 0) return;
    const TColor face = FSkinData ? TColor(FSkinData->ButtonFace) : clBtnFace;
    ReadButtonSets();
    if (FVisibleCount == 0) {
        FillColor(target, RECT{0, 0, w, h}, face);
        return;
    }
    TBitmap buffer(w, h);
    HDC dc = buffer.Canvas()->Handle();
    FillColor(dc, RECT{0, 0, w, h}, face);
    const TMPButtonSet mask = visibleMask(FButtons);
    for (int i = 0; i < kMPButtonCount; ++i) {
        const PixelRect c = mpButtonCell(mask, FButtonWidth, h, i);
        if (!c.empty()) DrawMPButton(dc, i, RECT{c.left, c.top, c.right, c.bottom});
    }
    BitBlt(target, 0, 0, w, h, dc, 0, 0, SRCCOPY);
}

void TWMediaPlayer::WndProc(TMessage& msg) {
    if (msg.Msg == WM_GETOBJECT && AnswerAccessibleObject(FHandle, OBJID_CLIENT, PlayerPanelAccess(), msg)) return;
    if (msg.Msg == WM_LBUTTONDOWN) {
        WMLButtonDown(msg);
        return;
    }
    if (msg.Msg == WM_LBUTTONUP) {
        WMLButtonUp(msg);
        return;
    }
    TCustomControl::WndProc(msg);
}

namespace {
HWND playerWindow(TControl* player) {
    auto* w = dynamic_cast<TWinControl*>(player);
    return w ? w->HandleIfAllocated() : nullptr;
}
}  // namespace

void TWMediaPlayer::WMLButtonDown(TMessage& msg) {
    FMouseDown = true;
    TCustomControl::WndProc(msg);
    const TLifeToken::Watch life = FLife.Watching();
    if (HWND p = playerWindow(FPlayer)) SendMessageW(p, WM_LBUTTONDOWN, msg.WParam, msg.LParam);
    if (!life.Alive()) return;
    // The player took the mouse for its own press; the release must come here,
    // even outside the panel, so that the pressed look always ends.
    ReleaseCapture();
    if (HandleAllocated()) SetCapture(FHandle);
    ReadButtonSets();
    FHitIndex = uint8_t(HitTest(short(LOWORD(msg.LParam))));
    FPressedIndex = FHitIndex;
    Invalidate();
}

void TWMediaPlayer::WMLButtonUp(TMessage& msg) {
    FMouseDown = false;
    TCustomControl::WndProc(msg);
    if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
    FHitIndex = uint8_t(HitTest(short(LOWORD(msg.LParam))));
    // Released over another button than the one pressed: the player never
    // hears of it, so it does not act.
    const TLifeToken::Watch life = FLife.Watching();
    if (FHitIndex == FPressedIndex)
        if (HWND p = playerWindow(FPlayer)) SendMessageW(p, WM_LBUTTONUP, msg.WParam, msg.LParam);
    if (!life.Alive()) return;
    FPressedIndex = FHitIndex;
    Invalidate();
}

// ---- TSkinMP ----

const TClassInfo& TSkinMP::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinMP>("TSkinMP", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinMP::~TSkinMP() {
    // An overlay owned by the form skin outlives this skin; it must not call back.
    if (FPlayer) FPlayer->FSkinMP = nullptr;
}

void TSkinMP::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    if (FAttached) return;
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    if (!FAttached || !FControl || FPlayer) return;
    TComponent* owner = skinForm ? static_cast<TComponent*>(skinForm) : static_cast<TComponent*>(this);
    FPlayer = new TWMediaPlayer(owner);
    FreeNotification(FPlayer);
    FPlayer->AttachTo(this, FControl);
    FPlayer->SetVisible(FControl->Visible());
}

void TSkinMP::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_WINDOWPOSCHANGED:
            if (FPlayer) FPlayer->SyncBounds();
            break;
        case CM_VISIBLECHANGED:
            if (FPlayer && FControl) FPlayer->SetVisible(FControl->Visible());
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinMP::Restore() {
    TSkinControl::Restore();
    // With the player's window gone the form skin, its owner, frees the panel.
    if (FState == scsDestroyed || !FPlayer) return;
    TWMediaPlayer* p = FPlayer;
    FPlayer = nullptr;
    delete p;
}

void TSkinMP::Notification(TComponent* c, TOperation op) {
    TSkinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FPlayer) FPlayer = nullptr;
}

}  // namespace qs
