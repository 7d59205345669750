#include "SkinEdit.h"

#include <cwctype>
#include <string>

#include "SkinData.h"
#include "SkinRoutines.h"
#include "SkinUpDown.h"

namespace qs {

HWND FindSpinChild(HWND edit) {
    for (HWND c = GetWindow(edit, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t buf[128] = {};
        GetClassNameW(c, buf, 128);
        std::wstring name(buf);
        for (auto& ch : name) ch = wchar_t(std::towlower(ch));
        if (name == L"msctls_updown32" || name.find(L"spin") != std::wstring::npos ||
            name.find(L"updown") != std::wstring::npos)
            return c;
    }
    return nullptr;
}

const TClassInfo& TSkinEdit::StaticClassInfo() {
    static const TClassInfo info = TClassBuilder<TSkinEdit>("TSkinEdit", &TSkinControl::StaticClassInfo()).build();
    return info;
}

TSkinEdit::TSkinEdit(TComponent* owner) : TSkinControl(owner) {}

TSkinEdit::~TSkinEdit() = default;

void TSkinEdit::Notification(TComponent* c, TOperation op) {
    TSkinControl::Notification(c, op);
    if (op == TOperation::opRemove && c == FUpDown) FUpDown = nullptr;
}

void TSkinEdit::FindSpinButton() {
    if (FUpDown || !FSkinData || !inSet(FSkinData->SkinControls(), xcSpin) || !FHandle) return;
    HWND spin = FindSpinChild(FHandle);
    if (!spin || TSkinControl::FromHandle(spin)) return;
    // Owned by the edit's control (or by the form skin's list for a bare edit).
    auto* skin = new TSkinUpDown(FControl);
    skin->FreeNotification(this);
    FUpDown = skin;
    skin->AttachHandle(spin, FSkinData, FSkinForm, FCanvas);
    skin->FInEdit = true;
    InvalidateRect(spin, nullptr, TRUE);
}

void TSkinEdit::AfterMessage(TMessage& msg) {
    switch (msg.Msg) {
        case WM_NCPAINT:
            // The system has just drawn its sunken edge again.
            PaintWindow(nullptr);
            break;
        case WM_PRINTCLIENT: {
            HDC dc = reinterpret_cast<HDC>(msg.WParam);
            RECT wr{};
            GetWindowRect(FHandle, &wr);
            RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
            if (dc) {
                PrintBorder(dc, r);
            } else {
                WindowDCScope wdc(FHandle);
                if (wdc) PrintBorder(wdc.get(), r);
            }
            break;
        }
        case WM_SKIN_PAINT_CONTROL:
            if (msg.LParam == kSkinPaintTag) {
                if (msg.WParam) {
                    TMessage paint{WM_PAINT, msg.WParam, 0, 0};
                    CallDefault(paint);
                }
                msg.Result = kSkinPaintTag;
            }
            break;
        default:
            TSkinControl::AfterMessage(msg);
            break;
    }
}

void TSkinEdit::Paint(HDC dc, const RECT& r) {
    FindSpinButton();
    if (!dc || !FHandle) return;
    RECT cr{};
    GetClientRect(FHandle, &cr);
    if (cr.right == r.right - r.left || cr.bottom == r.bottom - r.top) return;
    UniqueBrush shadow(CreateSolidBrush(ColorToRGB(TColor(FSkinData ? FSkinData->ButtonShadow : int32_t(clBtnShadow)))));
    UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    RECT f = r;
    FrameRect(dc, &f, shadow.get());
    for (int i = 0; i < 2; ++i) {
        InflateRect(&f, -1, -1);
        FrameRect(dc, &f, white.get());
    }
}

void TSkinEdit::PrintBorder(HDC dc, const RECT& r) {
    RECT cr{};
    GetClientRect(FHandle, &cr);
    if (!(cr.right + 2 < r.right && cr.bottom + 2 < r.bottom)) return;
    HBRUSH current = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT inner = r;
    InflateRect(&inner, -1, -1);
    if (current) FrameRect(dc, &inner, current);
    UniqueBrush shadow(CreateSolidBrush(ColorToRGB(TColor(FSkinData ? FSkinData->ButtonShadow : int32_t(clBtnShadow)))));
    RECT outer = r;
    FrameRect(dc, &outer, shadow.get());
}

}  // namespace qs
