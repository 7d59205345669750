#include "SkinCheck.h"

#include <cctype>

#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinRecords.h"
#include "SkinRoutines.h"

namespace qs {

// ---- frame rules ----

int CheckBoxFrame(const TCheckFrameInput& in) {
    int frame = (in.bmState & BST_CHECKED) ? 2 : 1;
    if (in.toolkitControl) {
        if (!in.stateName.empty()) {
            if (in.stateName.find("uncheck") != std::string::npos)
                frame = 1;
            else if (in.stateName.find("check") != std::string::npos)
                frame = 2;
            else if (in.stateName.find("gray") != std::string::npos)
                frame = 4;
        } else if (in.checkedProp >= 0) {
            frame = in.checkedProp == 1 ? 2 : 1;
        }
    }
    if (in.hasDataField && in.checkState != 0) {
        frame = in.checkState;
        if (frame == 3) frame = 4;
    }
    if (in.hasDataBinding) frame = 1;
    if (in.disabled) frame += 2;
    const bool indeterminate = (in.bmState & BST_INDETERMINATE) != 0;
    if (indeterminate) frame = 4;
    if (in.frameCount == 12) {
        // Groups of four per state; only each group's first (enabled) and
        // last (disabled) picture are used.
        if (frame == 2)
            frame = 5;
        else if (frame == 3)
            frame = 4;
        else if (frame == 4)
            frame = 8;
        if (indeterminate) frame = in.disabled ? 12 : 9;
    }
    return frame;
}

int RadioButtonFrame(bool checked, bool disabled, int frameCount) {
    int frame = checked ? 2 : 1;
    if (disabled) frame += 2;
    if (frameCount == 8) {
        if (frame == 2)
            frame = 5;
        else if (frame == 3)
            frame = 4;
        else if (frame == 4)
            frame = 8;
    }
    return frame;
}

namespace {

std::string lower(std::string s) {
    for (auto& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool transparentFor(const TSkinControl& s) {
    return (s.FControl && s.FControl->Tag() == 5555) || (s.FSkinData && inSet(s.FSkinData->Options(), xoTransparent));
}

bool rightToLeft(const TSkinControl& s) {
    const std::string m = lower(prop::GetEnumPropName(s.FControl, "BiDiMode"));
    return !m.empty() && m != "bdlefttoright";
}

struct MarkStrip {
    TBitmap* bmp = nullptr;
    int count = 1;
};

// The strip of the kind, or none (the skin then lets the control paint itself).
MarkStrip stripOf(const TSkinControl& s, bool radio) {
    TDataSkinButton* e = s.FSkinData ? s.FSkinData->Buttons() : nullptr;
    if (!e) return {};
    TBitmap& b = radio ? e->RadioBitmap : e->CheckBitmap;
    if (b.Empty()) return {};
    return MarkStrip{&b, std::max(1, radio ? e->RadioButtonFrame : e->CheckButtonFrame)};
}

// Mark and, for a skin that owns the control, background and caption.
void paintMark(TSkinControl& s, HDC dc, const RECT& r, bool radio, int frame, const MarkStrip& strip,
               bool transparent, TBitmap& buffer) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    const int fw = strip.bmp->Width() / strip.count, fh = strip.bmp->Height();
    const LONG_PTR style = s.GetLong(s.FHandle, GWL_STYLE);
    const bool rtl = s.FControl && rightToLeft(s);
    RECT mark{0, r.top + (h - fh) / 2, 0, 0};
    mark.bottom = mark.top + fh;
    RECT t = r;
    UINT flags = 0;
    if (style & BS_RIGHTBUTTON) {
        // A radio mark keeps one pixel free at the right edge.
        const int inset = radio ? 1 : 0;
        mark.left = r.right - fw - inset;
        mark.right = r.right - inset;
        t.right = mark.left - 2;
        if (rtl) flags = DT_RIGHT | DT_RTLREADING;
    } else {
        mark.left = r.left;
        mark.right = r.left + fw;
        t.left = r.left + fw + 2;
        if (rtl) flags = DT_RTLREADING;
    }
    if (s.FKind != 1) {
        DrawKeyedFrame(&s, dc, mark, strip.count, frame, *strip.bmp);
        return;
    }
    // The whole control, composed off-screen and copied once.
    if (buffer.Width() != w || buffer.Height() != h) buffer.SetSize(w, h);
    HDC b = buffer.Canvas()->Handle();
    const POINT org{r.left, r.top};
    OffsetRect(&mark, -org.x, -org.y);
    OffsetRect(&t, -org.x, -org.y);
    const RECT local{0, 0, w, h};
    if (transparent && s.FControl)
        PaintParentBackground(s.FControl, b);
    else if (!transparent)
        s.FillSkinColor(b, local);
    else
        s.FillParentColor(b, local);
    DrawKeyedFrame(&s, b, mark, strip.count, frame, *strip.bmp);

    s.FCaption = GetWindowTextWide(s.FHandle);
    if (s.FControl) s.FCaption = prop::GetWideTextProp(s.FControl, "Caption");
    HGDIOBJ oldFont = nullptr;
    if (auto f = reinterpret_cast<HFONT>(SendMessageW(s.FHandle, WM_GETFONT, 0, 0))) oldFont = SelectObject(b, f);
    const COLORREF oldText = GetTextColor(b);
    if (s.FControl) {
        auto* font = dynamic_cast<TFont*>(prop::GetObjectPropOf(s.FControl, "Font", TFont::StaticClassInfo()));
        if (font) {
            HGDIOBJ prev = SelectObject(b, font->Handle());
            if (!oldFont) oldFont = prev;
        }
        const bool enabled = !(style & WS_DISABLED);
        SetTextColor(b, enabled ? ColorToRGB(SkinTextColor(&s, font ? font->Color() : clWindowText))
                                : GetSysColor(COLOR_BTNSHADOW));
    }
    const COLORREF oldBk = SetBkColor(b, ColorToRGB(s.FaceColor()));
    const int oldMode = SetBkMode(b, TRANSPARENT);
    const UINT textFlags = DT_EXPANDTABS | DT_WORDBREAK | flags;
    RECT m = t;
    DrawTextW(b, s.FCaption.c_str(), int(s.FCaption.size()), &m, DT_CALCRECT | DT_NOCLIP | textFlags);
    OffsetRect(&t, 0, ((t.bottom - t.top) - (m.bottom - t.top)) / 2);
    if (GetFocus() == s.FHandle && !s.FCaption.empty()) s.DrawFocusText(b, textFlags, t);
    DrawTextW(b, s.FCaption.c_str(), int(s.FCaption.size()), &t, textFlags);
    SetBkMode(b, oldMode);
    SetTextColor(b, oldText);
    SetBkColor(b, oldBk);
    if (oldFont) SelectObject(b, oldFont);
    BitBlt(dc, r.left, r.top, w, h, b, 0, 0, SRCCOPY);
}

}  // namespace

// ---- TSkinMarkButton ----

const TClassInfo& TSkinMarkButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinMarkButton>("TSkinMarkButton", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinMarkButton::TSkinMarkButton(TComponent* owner, bool radio)
    : TSkinControl(owner), FRadio(radio), FBuffer(std::make_unique<TBitmap>()) {}
TSkinMarkButton::~TSkinMarkButton() = default;

void TSkinMarkButton::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    TSkinControl::Attach(skinForm, skinData, changeColor, canvas);
    FKind = 0;
    if (!FControl) return;
    FKind = stripOf(*this, FRadio).bmp ? 1 : 0;
    FTransparent = transparentFor(*this);
}

bool TSkinMarkButton::BeforeMessage(TMessage& msg) {
    if (!TSkinControl::BeforeMessage(msg)) return false;
    switch (msg.Msg) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            if (FKind != 1) return true;
            PaintMessage(msg);
            return false;
        case WM_ERASEBKGND:
            if (!FTransparent) return true;
            EraseMessage(msg);
            return false;
        default:
            return true;
    }
}

void TSkinMarkButton::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case BM_SETCHECK:
            CheckSet(msg.WParam);
            Repaint();
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case CM_EXIT:
        case 0xB0D0:
        // The system draws the pushed look itself, outside WM_PAINT.
        case BM_SETSTATE:
            Repaint();
            break;
        default:
            TSkinControl::AfterMessage(msg);
    }
}

void TSkinMarkButton::Paint(HDC dc, const RECT& r) {
    const MarkStrip strip = stripOf(*this, FRadio);
    if (!strip.bmp) {
        FKind = 0;
        return;
    }
    paintMark(*this, dc, r, FRadio, CurrentFrame(strip.count), strip, FTransparent, *FBuffer);
}

// ---- TSkinCheckBox ----

const TClassInfo& TSkinCheckBox::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinCheckBox>("TSkinCheckBox", &TSkinMarkButton::StaticClassInfo()).build();
    return info;
}

TSkinCheckBox::TSkinCheckBox(TComponent* owner) : TSkinMarkButton(owner, false) {}

void TSkinCheckBox::Attach(TWinSkinForm* skinForm, TSkinData* skinData, bool changeColor, TCanvas* canvas) {
    TSkinMarkButton::Attach(skinForm, skinData, changeColor, canvas);
    FCheckState = 0;
}

int TSkinCheckBox::CurrentFrame(int frameCount) const {
    TCheckFrameInput in;
    in.bmState = UINT(SendMessageW(FHandle, BM_GETSTATE, 0, 0));
    in.toolkitControl = FControl != nullptr;
    if (FControl) {
        if (HasProp(FControl, "State")) in.stateName = lower(prop::GetEnumPropName(FControl, "State"));
        if (HasProp(FControl, "Checked"))
            in.checkedProp = lower(prop::GetEnumPropName(FControl, "Checked")) == "true" ? 1 : 0;
        in.hasDataField = HasProp(FControl, "DataField");
        in.hasDataBinding = HasProp(FControl, "DataBinding");
    }
    in.checkState = FCheckState;
    in.disabled = (GetLong(FHandle, GWL_STYLE) & WS_DISABLED) != 0;
    in.frameCount = frameCount;
    return CheckBoxFrame(in);
}

// ---- TSkinRadioButton ----

const TClassInfo& TSkinRadioButton::StaticClassInfo() {
    static const TClassInfo info =
        TClassBuilder<TSkinRadioButton>("TSkinRadioButton", &TSkinMarkButton::StaticClassInfo()).build();
    return info;
}

TSkinRadioButton::TSkinRadioButton(TComponent* owner) : TSkinMarkButton(owner, true) {}

int TSkinRadioButton::CurrentFrame(int frameCount) const {
    bool checked = (SendMessageW(FHandle, BM_GETCHECK, 0, 0) & 1) != 0;
    if (FControl && HasProp(FControl, "Checked")) checked = lower(prop::GetEnumPropName(FControl, "Checked")) == "true";
    return RadioButtonFrame(checked, (GetLong(FHandle, GWL_STYLE) & WS_DISABLED) != 0, frameCount);
}

}  // namespace qs
