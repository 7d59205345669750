// The push-button skin and the state rules every button skin shares.
#include "SkinButton.h"

#include <cwctype>

#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinRecords.h"
#include "SkinRoutines.h"

namespace qs {

// ---- state rules ----

int PushButtonFrame(bool disabled, bool pressed, bool hot, bool focused) {
    if (disabled) return 3;
    if (pressed) return 2;
    if (hot) return 4;
    if (focused) return 5;
    return 1;
}

int MenuButtonFrame(bool disabled, bool pressed, bool hot, bool focused) {
    if (disabled) return 3;
    if (pressed) return 2;
    if (hot || focused) return 4;
    return 1;
}

int SpeedButtonFrame(bool enabled, bool down, bool pressed, bool hot) {
    if (!enabled && !down) return 3;
    if (pressed || down) return 2;
    if (hot) return 4;
    return 1;
}

bool SpeedButtonDrawsElement(bool flat, int frame) { return !flat || frame == 2 || frame == 4; }

int GlyphFrameForButton(int buttonFrame, bool down) {
    if (down) return 4;
    if (buttonFrame == 2) return 3;
    if (buttonFrame == 3) return 2;
    return 1;
}

TColor ButtonCaptionColour(const TDataSkinButton* e, int frame, TColor fontColour) {
    if (!e) return fontColour;
    if (frame == 1 && e->HasNormalColour2) return TColor(e->NormalColour2);
    if (frame == 4 && e->HasMouseOverColour2) return TColor(e->MouseOverColour2);
    if (frame == 2 && e->HasPressedColour2) return TColor(e->PressedColour2);
    return fontColour;
}

std::wstring ReplaceFirstBar(std::wstring caption) {
    size_t at = caption.find(L"||");
    if (at != std::wstring::npos) caption.replace(at, 2, L"\r\n");
    return caption;
}

// ---- TSkinButton ----

const TClassInfo& TSkinButton::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinButton>("TSkinButton", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner), FBuffer(std::make_unique<TBitmap>()) {}
TSkinButton::~TSkinButton() = default;

namespace {
std::string lower(std::string s) {
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
bool startsWith(const std::string& s, const char* p) { return s.rfind(p, 0) == 0; }
}  // namespace

void TSkinButton::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    if (!FControl) return;
    FTransparent = FControl->Tag() == 5555 || (FSkinData && inSet(FSkinData->Options(), xoTransparent));
    // Controls of these families handle their own mouse-down.
    std::string cls = lower(FControl->ClassName());
    FKind = startsWith(cls, "trz") || startsWith(cls, "tel") ? 1 : 0;
}

TDataSkinButton* TSkinButton::Element() const {
    if (!FSkinData) return nullptr;
    TDataSkinButton* e = FSkinData->Buttons();
    return e && !e->Bitmap.Empty() ? e : nullptr;
}

bool TSkinButton::IsDisabled() const { return FHandle && (GetLong(FHandle, GWL_STYLE) & WS_DISABLED) != 0; }

void TSkinButton::RefreshState() {
    FFocused = FHandle && GetFocus() == FHandle;
    FEnabled = !IsDisabled();
    FCaption = FControl ? prop::GetWideTextProp(FControl, "Caption") : GetWindowTextWide(FHandle);
}

int TSkinButton::StateFrame() const {
    return PushButtonFrame(!FEnabled, (FMouseState & kMousePressed) != 0, (FMouseState & kMouseHot) != 0, FFocused);
}

HDC TSkinButton::PrepareBuffer(const RECT& r, int frame) {
    TDataSkinButton* e = Element();
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!e || w <= 0 || h <= 0) return nullptr;
    if (FBuffer->Width() != w || FBuffer->Height() != h) FBuffer->SetSize(w, h);
    HDC b = FBuffer->Canvas()->Handle();
    const RECT local{0, 0, w, h};
    if (FTransparent && FControl)
        PaintParentBackground(FControl, b);
    else
        FillSkinColor(b, local);
    DrawSkinElement(this, b, local, e->Frame, frame, e);
    return b;
}

HGDIOBJ TSkinButton::SelectCaptionFont(HDC dc, int frame) {
    TColor colour;
    HGDIOBJ old = nullptr;
    TControl* c = PropControl();
    if (c) {
        auto* font = dynamic_cast<TFont*>(prop::GetObjectPropOf(c, "Font", TFont::StaticClassInfo()));
        if (font) {
            old = SelectObject(dc, font->Handle());
            colour = font->Color();
        } else {
            colour = clBtnText;
        }
    } else {
        if (auto f = reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0))) old = SelectObject(dc, f);
        colour = FSkinData ? TColor(FSkinData->ButtonText) : clBtnText;
    }
    colour = SkinTextColor(this, colour);
    // The focused frame is the normal face with a focus mark: its caption
    // takes the normal colour, not the font's (black on a dark face).
    colour = ButtonCaptionColour(Element(), frame == 5 ? 1 : frame, colour);
    if (frame == 3) colour = clBtnShadow;
    SetTextColor(dc, ColorToRGB(colour));
    return old;
}

void TSkinButton::DrawButtonCaption(HDC dc, const RECT& rect, UINT align) {
    std::wstring text = ReplaceFirstBar(FCaption);
    RECT r = rect;
    InflateRect(&r, -2, -2);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), int(text.size()), &r, align | DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT | DT_NOCLIP);
    const int w = r.right - r.left, h = r.bottom - r.top;
    r = RECT{0, 0, w, h};
    const UINT flags = TextFlags(this, align | DT_EXPANDTABS | DT_WORDBREAK);
    const int rw = rect.right - rect.left, rh = rect.bottom - rect.top;
    if (align == DT_CENTER) {
        OffsetRect(&r, rect.left + (rw - w) / 2, rect.top + (rh - h) / 2 - 1);
    } else {
        OffsetRect(&r, 0, rect.top + (rh - h) / 2 - 1);
        r.left = rect.left;
        r.right = rect.right;
    }
    DrawTextW(dc, text.c_str(), int(text.size()), &r, flags);
    SetBkMode(dc, OPAQUE);
    if (FFocused && !(FSkinData && inSet(FSkinData->Options(), xoNoFocusRect))) {
        InflateRect(&r, 2, 2);
        DrawFocusRect(dc, &r);
    }
}

void TSkinButton::Paint(HDC dc, const RECT& r) {
    if (!Element()) return;
    RefreshState();
    const int frame = StateFrame();
    HDC b = PrepareBuffer(r, frame);
    if (!b) return;
    HGDIOBJ old = SelectCaptionFont(b, frame);
    DrawButtonCaption(b, RECT{0, 0, r.right - r.left, r.bottom - r.top}, DT_CENTER);
    BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, b, 0, 0, SRCCOPY);
    if (old) SelectObject(b, old);
}

void TSkinButton::ClickButton() {
    if (FControl) {
        FControl->Click();
        return;
    }
    HWND parent = GetParent(FHandle);
    if (!parent) return;
    wchar_t cls[101] = {};
    GetClassNameW(FHandle, cls, 100);
    std::wstring name(cls);
    for (auto& ch : name) ch = wchar_t(std::towlower(ch));
    const WPARAM id = name == L"tbutton" ? 0 : WPARAM(GetDlgCtrlID(FHandle));
    PostMessageW(parent, WM_COMMAND, id, reinterpret_cast<LPARAM>(FHandle));
}

bool TSkinButton::BeforeMessage(TMessage& msg) {
    if (!TSkinControl::BeforeMessage(msg)) return false;
    switch (msg.Msg) {
        case WM_PAINT:
            PaintMessage(msg);
            return false;
        case CN_DRAWITEM: {
            // An owner-drawn toolkit button asks its own painter for every
            // state change; the skin answers instead.
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(msg.LParam);
            if (d && d->hDC) {
                RECT wr{};
                GetWindowRect(FHandle, &wr);
                Paint(d->hDC, RECT{0, 0, wr.right - wr.left, wr.bottom - wr.top});
            }
            msg.Result = TRUE;
            return false;
        }
        case WM_ERASEBKGND:
            msg.Result = 1;
            return false;
        case WM_TIMER:
            KillTimer(FHandle, 1);
            return false;
        case BM_SETSTATE: {
            // The pushed state stays the system's (its Space key-up clicks
            // only when it is set), but the system paints its own pushed look
            // straight into the window here: it runs with drawing held and
            // the skin paints the state instead.
            const bool shown = (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0;
            if (shown) SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
            const HWND wnd = FHandle;
            const bool alive = CallDefaultAlive(msg);
            if (shown) SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
            if (!alive) return false;
            if (msg.WParam)
                FMouseState |= kMousePressed;
            else
                FMouseState &= uint8_t(~kMousePressed);
            if (shown) PaintWindow(nullptr);
            return false;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (GetFocus() != FHandle) SetFocus(FHandle);
            FMouseState |= kMousePressed;
            PaintWindow(nullptr);
            if (FControl && FKind != 1) ForwardMouseDown(msg);
            msg.Result = 0;
            return false;
        default:
            return true;
    }
}

void TSkinButton::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_LBUTTONUP:
            if (FMouseState & kMousePressed) {
                FMouseState &= uint8_t(~kMousePressed);
                Repaint();
                // Last: a click may free the control and this skin with it.
                ClickButton();
            }
            return;
        case WM_KEYDOWN:
        case WM_KEYUP:
            if (msg.WParam == VK_SPACE) {
                if (msg.Msg == WM_KEYDOWN)
                    FMouseState |= kMousePressed;
                else
                    FMouseState &= uint8_t(~kMousePressed);
                Repaint();
            }
            return;
        case WM_MOUSEMOVE: {
            if (!IsDisabled() && !(FMouseState & kMouseHot)) {
                FMouseState |= kMouseHot;
                Repaint();
            }
            TRACKMOUSEEVENT t{sizeof(t), TME_LEAVE, FHandle, 0};
            TrackMouseEvent(&t);
            return;
        }
        case WM_MOUSELEAVE:
            FMouseState &= uint8_t(~(kMouseHot | kMousePressed));
            Repaint();
            return;
        case WM_SETTEXT:
            PaintWindow(nullptr);
            return;
        case CM_DIALOGKEY:
        case CM_FOCUSCHANGED:
            Repaint();
            return;
        default:
            TSkinControl::AfterMessage(msg);
    }
}

}  // namespace qs
