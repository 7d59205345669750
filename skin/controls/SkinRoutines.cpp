#include "SkinRoutines.h"

#include <commctrl.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "ImgList.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"

namespace qs {

// ---- properties by name -----------------------------------------------------------

namespace prop {

int64_t GetIntProp(const TObject* obj, std::string_view name) {
    const TPropInfo* p = FindPropInfo(obj, name);
    if (!p || !p->get || (p->kind != TPropKind::Integer && p->kind != TPropKind::Colour)) return -1;
    TPropValue v = p->get(obj);
    if (auto* i = std::get_if<int64_t>(&v)) return *i;
    return -1;
}

std::string GetEnumPropName(const TObject* obj, std::string_view name) {
    const TPropInfo* p = FindPropInfo(obj, name);
    if (!p || !p->get) return {};
    TPropValue v = p->get(obj);
    if (p->kind == TPropKind::Enum)
        if (auto* s = std::get_if<std::string>(&v)) return *s;
    if (p->kind == TPropKind::Boolean)
        if (auto* b = std::get_if<bool>(&v)) return *b ? "True" : "False";
    return {};
}

std::wstring GetWideTextProp(const TObject* obj, std::string_view name) {
    const TPropInfo* p = FindPropInfo(obj, name);
    if (!p || !p->get) return {};
    TPropValue v = p->get(obj);
    if (auto* w = std::get_if<std::wstring>(&v)) return *w;
    if (p->kind != TPropKind::String) return {};
    auto* s = std::get_if<std::string>(&v);
    if (!s || s->empty()) return {};
    // Narrow texts of the toolkit are UTF-8.
    int n = MultiByteToWideChar(CP_UTF8, 0, s->data(), int(s->size()), nullptr, 0);
    std::wstring out(size_t(std::max(n, 0)), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s->data(), int(s->size()), out.data(), n);
    return out;
}

TObject* GetObjectPropOf(const TObject* obj, std::string_view name, const TClassInfo& cls) {
    const TPropInfo* p = FindPropInfo(obj, name);
    if (!p || !p->get || (p->kind != TPropKind::Object && p->kind != TPropKind::Collection)) return nullptr;
    TPropValue v = p->get(obj);
    auto* o = std::get_if<TObject*>(&v);
    return o && *o && (*o)->InheritsFrom(cls) ? *o : nullptr;
}

bool SetPropFromString(TObject* obj, std::string_view name, const std::string& value) {
    const TPropInfo* p = FindPropInfo(obj, name);
    if (!p || !p->set) return false;
    switch (p->kind) {
        case TPropKind::Integer: {
            if (value.empty()) return false;
            errno = 0;
            char* end = nullptr;
            long long n = std::strtoll(value.c_str(), &end, 0);
            if (errno || !end || *end) return false;
            return p->set(obj, TPropValue(int64_t(n)));
        }
        case TPropKind::Enum:
            return p->set(obj, TPropValue(value));
        case TPropKind::Boolean:
            if (TClassBuilder<TObject>::equalsNoCase(value, "True")) return p->set(obj, TPropValue(true));
            if (TClassBuilder<TObject>::equalsNoCase(value, "False")) return p->set(obj, TPropValue(false));
            return false;
        case TPropKind::String:
            return p->set(obj, TPropValue(value));
        case TPropKind::WideString: {
            int n = MultiByteToWideChar(CP_UTF8, 0, value.data(), int(value.size()), nullptr, 0);
            std::wstring w(size_t(std::max(n, 0)), L'\0');
            if (n > 0) MultiByteToWideChar(CP_UTF8, 0, value.data(), int(value.size()), w.data(), n);
            return p->set(obj, TPropValue(w));
        }
        default:
            return false;
    }
}

}  // namespace prop

// ---- windows and fills ----------------------------------------------------------------

std::wstring GetWindowTextWide(HWND handle) {
    if (!handle) return {};
    int n = GetWindowTextLengthW(handle);
    if (n <= 0) return {};
    std::wstring s(size_t(n) + 1, L'\0');
    int got = GetWindowTextW(handle, s.data(), n + 1);
    s.resize(size_t(std::clamp(got, 0, n)));
    return s;
}

void MarkHelperWindow(HWND handle) {
    if (handle && (GetWindowLongPtrW(handle, GWL_STYLE) & WS_CHILD)) SetWindowLongPtrW(handle, GWLP_ID, kHelperWindowId);
}

bool IsPopupWindow(HWND handle) {
    if (!handle) return false;
    if (GetWindowLongPtrW(handle, GWL_STYLE) & WS_POPUP) return true;
    HWND parent = GetParent(handle);
    return parent && (parent == GetDesktopWindow() || parent == reinterpret_cast<HWND>(uintptr_t(0x10014)));
}

void CopyBitmap(TBitmap& source, TBitmap& dest) {
    dest.SetMonochrome(source.Monochrome());
    dest.SetSize(source.Width(), source.Height());
    if (source.Empty()) return;
    BitBlt(dest.Canvas()->Handle(), 0, 0, source.Width(), source.Height(), source.Canvas()->Handle(), 0, 0, SRCCOPY);
    dest.Dormant();
    source.Dormant();
}

void FillColor(HDC dc, const RECT& r, TColor colour) {
    if (!dc) return;
    UniqueBrush brush(CreateSolidBrush(ColorToRGB(colour)));
    FillRect(dc, &r, brush.get());
}

UINT TextFlags(const TSkinControl* skin, UINT flags) {
    const TControl* c = skin ? skin->PropControl() : nullptr;
    if (c && c->IsRightToLeft()) flags |= DT_RTLREADING;
    return flags;
}

// ---- text -------------------------------------------------------------------------------

void DrawCaptionText(const TSkinControl* skin, TCanvas& canvas, const RECT& r, UINT alignment, bool enabled,
                     const std::wstring& text) {
    const UINT f = alignment | DT_EXPANDTABS;
    SetBkMode(canvas.Handle(), TRANSPARENT);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetStyle(0);
    RECT t = r;
    canvas.DrawTextRect(text, t, f | DT_CALCRECT | DT_NOCLIP);
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    const int tw = t.right - t.left, th = t.bottom - t.top;
    if (alignment == DT_CENTER) {
        OffsetRect(&t, (rw - tw) / 2, (rh - th) / 2 - 1);
    } else {
        OffsetRect(&t, 0, (rh - th) / 2 - 1);
        t.left = r.left;
        t.right = r.right;
    }
    if (!enabled) canvas.Font().SetColor(clBtnShadow);
    canvas.DrawTextRect(text, t, TextFlags(skin, f));
}

TColor SkinTextColor(const TSkinControl* skin, TColor fontColour) {
    if (!skin || !skin->FSkinData) return fontColour;
    if (fontColour != clWindowText && fontColour != clBtnText) return fontColour;
    return TColor(skin->FSkinData->ButtonText);
}

void DrawIconText(const TSkinControl* skin, TCanvas& canvas, const RECT& r, UINT alignment, const std::wstring& text,
                  int imageIndex, TImageList* images) {
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    int cx = images ? images->Width() : 0;
    int cy = images ? images->Height() : 0;
    const bool icon = imageIndex != -1 && images && cx < rw;
    if (!icon) cx = cy = 0;
    RECT t{0, 0, 0, 0};
    if (!text.empty()) {
        canvas.Font().SetStyle(0);
        // Measured whole: with the ellipsis flag the empty measuring rectangle
        // would shorten any text to its dots before it was placed.
        canvas.DrawTextRect(text, t, DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    }
    const int tw = t.right - t.left, th = t.bottom - t.top;
    int x = alignment == 0 ? 3 : alignment == DT_CENTER ? (rw - cx - tw) / 2 : rw - cx - tw - 2;
    if (x < 2) x = 1;
    if (icon) {
        // Centred on the icon's own height (a non-square list would be
        // misplaced by its width).
        ImageList_Draw(images->Handle(), imageIndex, canvas.Handle(), r.left + x, r.top + (rh - cy) / 2,
                       ILD_TRANSPARENT);
    }
    if (text.empty()) return;
    RECT tr{r.left + x + cx, r.top + (rh - th) / 2, r.left + x + cx + tw, r.top + (rh - th) / 2 + th};
    tr.left = std::max(tr.left, r.left);
    tr.right = std::min(tr.right, r.right);
    SetBkMode(canvas.Handle(), TRANSPARENT);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetStyle(0);
    if (skin && !skin->FEnabled) canvas.Font().SetColor(clBtnShadow);
    canvas.DrawTextRect(text, tr, TextFlags(skin, DT_SINGLELINE | DT_EXPANDTABS | DT_END_ELLIPSIS));
}

void DrawCenteredText(TCanvas& canvas, const RECT& r, const std::wstring& text, TAlignment alignment, bool enabled) {
    const UINT f = alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : 0;
    SetBkMode(canvas.Handle(), TRANSPARENT);
    canvas.Brush().SetStyle(TBrushStyle::bsClear);
    canvas.Font().SetStyle(0);
    RECT t = r;
    canvas.DrawTextRect(text, t, f | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    const int w = t.right - t.left, h = t.bottom - t.top;
    const int x = r.left + (r.right - r.left - w) / 2, y = r.top + (r.bottom - r.top - h) / 2;
    t = RECT{x, y, x + w, y + h};
    if (!enabled) canvas.Font().SetColor(clBtnShadow);
    canvas.DrawTextRect(text, t, f | DT_EXPANDTABS | DT_SINGLELINE);
}

void DrawArrowGlyph(TCanvas& canvas, int x, int y, int direction) {
    auto line = [&](int x0, int y0, int x1, int y1) {
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
    };
    switch (direction) {
        case 0:
            line(x, y, x, y - 1);
            line(x + 1, y + 1, x + 4, y + 4);
            line(x, y + 1, x + 3, y + 4);
            line(x, y + 2, x + 2, y + 4);
            line(x - 1, y + 1, x - 4, y + 4);
            line(x, y + 2, x - 3, y + 4);
            line(x, y + 1, x - 2, y + 4);
            break;
        case 1:
            line(x, y + 3, x, y + 4);
            line(x + 1, y + 2, x + 4, y - 1);
            line(x, y + 2, x + 3, y - 1);
            line(x, y + 1, x + 2, y);
            line(x - 1, y + 2, x - 4, y - 1);
            line(x, y + 2, x - 3, y - 1);
            line(x, y + 1, x - 2, y);
            break;
        case 2:
        case 3: {
            const int s = direction == 2 ? 1 : -1;
            POINT pts[5] = {{x, y}, {x + s, y + 2}, {x + s, y - 2}, {x - s, y}, {x + s, y + 2}};
            canvas.MoveTo(pts[0].x, pts[0].y);
            for (int i = 1; i < 5; ++i) canvas.LineTo(pts[i].x, pts[i].y);
            break;
        }
        default:
            break;
    }
}

// ---- skin elements and keyed frames -----------------------------------------------------

namespace {
bool emptyRect(const RECT& r) { return r.right < r.left || r.bottom < r.top; }

// Frame `index` of `count` side by side, stretched into a new bitmap of r's size.
std::unique_ptr<TBitmap> stretchedFrame(TBitmap& bmp, const RECT& r, int count, int index) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || bmp.Empty()) return nullptr;
    count = std::max(count, 1);
    index = std::clamp(index, 1, count);
    const int fw = bmp.Width() / count;
    if (fw <= 0) return nullptr;
    auto out = std::make_unique<TBitmap>(w, h);
    HDC dst = out->Canvas()->Handle();
    SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, 0, 0, w, h, bmp.Canvas()->Handle(), fw * (index - 1), 0, fw, bmp.Height(), SRCCOPY);
    bmp.Dormant();
    out->Dormant();
    return out;
}
}  // namespace

void DrawSkinElement(const TSkinControl*, HDC dc, const RECT& r, int frameCount, int frameIndex,
                     TDataSkinObject* element) {
    if (!dc || !element || emptyRect(r) || element->Bitmap.Empty()) return;
    const RECT at{0, 0, r.right - r.left, r.bottom - r.top};
    auto bmp = BuildNineSlice(at, element->Bitmap, element->Margins(), false, element->Tile == 1,
                              std::max(frameCount, 1), frameIndex);
    if (!bmp) return;
    if (element->Trans == 1) {
        DrawTransparent(dc, r, *bmp, kSkinKeyColour);
    } else {
        BitBlt(dc, r.left, r.top, at.right, at.bottom, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
        bmp->Dormant();
    }
}

void DrawKeyedFrame(const TSkinControl* skin, HDC dc, const RECT& r, int frameCount, int frameIndex, TBitmap& bmp) {
    if (!dc || emptyRect(r)) return;
    TCanvas canvas(dc);
    DrawKeyedFrame(skin, canvas, r, frameCount, frameIndex, bmp);
    canvas.ReleaseSelections();
}

void DrawKeyedFrame(const TSkinControl*, TCanvas& canvas, const RECT& r, int frameCount, int frameIndex, TBitmap& bmp) {
    if (emptyRect(r)) return;
    auto frame = stretchedFrame(bmp, r, frameCount, frameIndex);
    if (!frame) return;
    frame->SetTransparent(true);
    frame->SetTransparentColor(TColor(kSkinKeyColour));
    canvas.Draw(r.left, r.top, *frame);
}

void DrawKeyedFrameMasked(const TSkinControl*, HDC dc, const RECT& r, int frameCount, int frameIndex, TBitmap& bmp) {
    if (!dc || emptyRect(r)) return;
    auto frame = stretchedFrame(bmp, r, frameCount, frameIndex);
    if (frame) DrawTransparent(dc, r, *frame, kSkinKeyColour);
}

// ---- the control-skin list of a form skin ----------------------------------------------

bool AddControlSkin(TWinSkinForm* form, TSkinControl* skin) {
    if (!form || !skin) return false;
    auto& list = form->FControls;
    if (std::find(list.begin(), list.end(), skin) != list.end()) return false;
    list.push_back(skin);
    return true;
}

void RemoveControlSkin(TWinSkinForm* form, TSkinControl* skin) {
    if (!form) return;
    auto& list = form->FControls;
    auto it = std::find(list.begin(), list.end(), skin);
    if (it != list.end()) list.erase(it);
}

bool HasControlSkin(const TWinSkinForm* form, const TSkinControl* skin) {
    if (!form) return false;
    auto& list = form->FControls;
    return std::find(list.begin(), list.end(), skin) != list.end();
}

TSkinControl* FindSkinByHandle(const TWinSkinForm* form, HWND handle) {
    if (!form || !handle) return nullptr;
    auto& list = form->FControls;
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->FHandle == handle) return *it;
    return nullptr;
}

TSkinControl* FindSkinByControl(const TWinSkinForm* form, const TControl* control) {
    if (!form || !control) return nullptr;
    auto& list = form->FControls;
    for (auto it = list.rbegin(); it != list.rend(); ++it)
        if ((*it)->FControl == control) return *it;
    return nullptr;
}

void PurgeControlSkins(TWinSkinForm& form) {
    auto& list = form.FControls;
    for (size_t i = list.size(); i-- > 0;) {
        if (i >= list.size()) continue;
        TSkinControl* s = list[i];
        if (s->FState != scsDestroyed) continue;
        list.erase(list.begin() + std::ptrdiff_t(i));
        s->FSkinForm = nullptr;
        delete s;
    }
}

void FreeControlSkins(TWinSkinForm& form) {
    auto& list = form.FControls;
    // Each skin leaves the list before it is freed, so freeing one cannot
    // disturb the walk.
    while (!list.empty()) {
        TSkinControl* s = list.back();
        list.pop_back();
        s->FSkinForm = nullptr;
        if (s->FState != scsDestroyed) {
            try {
                s->Restore();
            } catch (...) {
            }
        }
        delete s;
    }
}

void InstallControlSkinRelease() {
    if (!TWinSkinForm::ControlSkinRelease) TWinSkinForm::ControlSkinRelease = &FreeControlSkins;
}

}  // namespace qs
