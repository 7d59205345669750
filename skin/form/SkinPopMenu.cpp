#include "SkinPopMenu.h"

#include <memory>

#include "Dpi.h"
#include "MenuEvents.h"
#include "SkinData.h"
#include "SkinDraw.h"
#include "SkinForm.h"
#include "SkinManage.h"
#include "SkinRecords.h"
#include "WindowTable.h"

namespace qs {

namespace {

// Menu window -> the skin painting it.
TWindowTable& menuTable() {
    static TWindowTable table;
    return table;
}
// The frame the system gives a menu window.
constexpr int kMenuFrame = 3;

bool managerActive() {
    TSkinManage* m = SkinManager();
    return m && m->FActive;
}

bool ntFamily() {
    const DWORD v = SkinSystemVersion() ? SkinSystemVersion() : ::GetVersion();
    return (v & 0x80000000u) == 0;
}

}  // namespace

TWinSkinPopMenu::~TWinSkinPopMenu() { DetachMenuWindow(); }

TWinSkinPopMenu* TWinSkinPopMenu::FromWindow(HWND wnd) {
    return static_cast<TWinSkinPopMenu*>(menuTable().Get(wnd));
}

void TWinSkinPopMenu::AttachMenuWindow(HWND wnd, TSkinData* skinData, HMENU menu) {
    if (FAttached || !wnd) return;
    FHandle = wnd;
    // The pop-up's own density: it may open on another monitor than its owner.
    FSkinData = skinData ? skinData->ForDpi(WindowDpi(wnd)) : nullptr;
    FMenuHandle = menu;
    menuTable().Set(wnd, this);
    FOldWndProc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    ::SetWindowLongPtrA(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc));
    FAttached = true;
    FFromMenuBar = false;
}

void TWinSkinPopMenu::DetachMenuWindow() {
    if (!FAttached) return;
    if (FHandle && ::IsWindow(FHandle)) {
        // Only take our procedure out when nobody subclassed on top of it.
        if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(FHandle, GWLP_WNDPROC)) == &StaticWndProc)
            ::SetWindowLongPtrA(FHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProc));
    }
    if (FromWindow(FHandle) == this) menuTable().Remove(FHandle);
    FBackground.Clear();
    FAttached = false;
}

LRESULT CALLBACK TWinSkinPopMenu::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinSkinPopMenu* self = FromWindow(wnd);
    if (!self || !self->FOldWndProc) return ::DefWindowProcA(wnd, msg, wParam, lParam);
    const WNDPROC old = self->FOldWndProc;
    TMessage m{msg, wParam, lParam, 0};
    try {
        self->PopupWndProc(m);
    } catch (...) {
        // A failing paint never breaks the menu: the system does it.
        m.Result = ::CallWindowProcA(old, wnd, msg, wParam, lParam);
    }
    return m.Result;
}

LRESULT TWinSkinPopMenu::CallDefault(const TMessage& m) {
    if (!FOldWndProc) return ::DefWindowProcA(FHandle, m.Msg, m.WParam, m.LParam);
    return ::CallWindowProcA(FOldWndProc, FHandle, m.Msg, m.WParam, m.LParam);
}

void TWinSkinPopMenu::PopupWndProc(TMessage& m) {
    if (m.Msg == WM_SKIN_QUERY) {
        m.Result = 1;
        return;
    }
    if (!managerActive()) {
        m.Result = CallDefault(m);
        return;
    }
    if (m.Msg == WM_DESTROY) {
        // A drop-down of the skinned bar ends for screen readers while its
        // window is still there to be named.
        MenuWalkPopupGone(FHandle);
        // No skin painting reaches a dying window; the message still goes on.
        const WNDPROC old = FOldWndProc;
        HWND wnd = FHandle;
        DetachMenuWindow();
        m.Result = ::CallWindowProcA(old, wnd, m.Msg, m.WParam, m.LParam);
        return;
    }
    switch (m.Msg) {
        case WM_ERASEBKGND:
            if (ntFamily())
                EraseMenuBackground(m);
            else
                m.Result = 0;
            return;
        case WM_NCPAINT: PaintMenuFrame(m); return;
        case WM_PRINT: PrintMenuWindow(m); return;
        case WM_PAINT: PaintInsideFrame(m); return;
        default: m.Result = CallDefault(m); return;
    }
}

bool TWinSkinPopMenu::CanPaint() const {
    if (!FSkinData || !FSkinData->SkinLoaded()) return false;
    TDataSkinObject* e = FSkinData->MenuBackground();
    return e && !e->Bitmap.Empty();
}

bool TWinSkinPopMenu::BuildBackground() {
    if (!CanPaint() || !FHandle) return false;
    RECT wr{};
    if (!::GetWindowRect(FHandle, &wr)) return false;
    const RECT r{0, 0, wr.right - wr.left, wr.bottom - wr.top};
    if (r.right <= 0 || r.bottom <= 0) return false;
    TDataSkinObject* e = FSkinData->MenuBackground();
    std::unique_ptr<TBitmap> pic = BuildNineSlice(r, e->Bitmap, e->Margins(), false, e->Tile != 1, 1, 1);
    if (!pic) return false;
    FBackground = *pic;
    return !FBackground.Empty();
}

void TWinSkinPopMenu::EraseMenuBackground(TMessage& m) {
    // With xoMenuBG the client area is never erased, so the picture painted
    // with the frame stays under the items.
    if (!FSkinData || !inSet(FSkinData->Options(), xoMenuBG)) CallDefault(m);
    m.Result = 1;
}

void TWinSkinPopMenu::PaintMenuFrame(TMessage& m) {
    if (!BuildBackground()) {
        m.Result = CallDefault(m);
        return;
    }
    // The whole window, client area included; the system frame is never
    // drawn. (The update region is not used as a clip: handed to GetDCEx it
    // would change owner.)
    WindowDCScope dc(FHandle);
    if (dc)
        ::BitBlt(dc.get(), 0, 0, FBackground.Width(), FBackground.Height(), FBackground.Canvas()->Handle(), 0, 0,
                 SRCCOPY);
    m.Result = 0;
}

void TWinSkinPopMenu::PrintMenuWindow(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc || !BuildBackground()) {
        m.Result = CallDefault(m);
        return;
    }
    const int w = FBackground.Width(), h = FBackground.Height();
    ::BitBlt(dc, 0, 0, w, h, FBackground.Canvas()->Handle(), 0, 0, SRCCOPY);
    SaveDCScope keep(dc);
    UniqueRegion inner(::CreateRectRgn(kMenuFrame, kMenuFrame, w - kMenuFrame, h - kMenuFrame));
    ::SetBkMode(dc, TRANSPARENT);
    ::SelectClipRgn(dc, inner.get());
    m.Result = CallDefault(m);
}

void TWinSkinPopMenu::PaintInsideFrame(TMessage& m) {
    RECT wr{}, cr{};
    ::GetWindowRect(FHandle, &wr);
    ::GetClientRect(FHandle, &cr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    // A menu window with a frame of its own paints it at WM_NCPAINT.
    if (cr.right != w || cr.bottom != h || !BuildBackground()) {
        m.Result = CallDefault(m);
        return;
    }
    PaintScope ps(FHandle);
    TBitmap composed(w, h);
    HDC cdc = composed.Canvas()->Handle();
    // The system's picture of the menu: its frame, fill and the items (the
    // owner-drawn ones already on their piece of the picture).
    CallDefault(TMessage{WM_PRINTCLIENT, WPARAM(cdc), PRF_CLIENT, 0});
    {
        SaveDCScope keep(cdc);
        HMENU menu = FMenuHandle ? FMenuHandle
                                 : reinterpret_cast<HMENU>(CallDefault(TMessage{MN_GETHMENU, 0, 0, 0}));
        const int n = menu ? ::GetMenuItemCount(menu) : 0;
        for (int i = 0; i < n; ++i) {
            RECT ir{};
            if (!::GetMenuItemRect(FHandle, menu, UINT(i), &ir)) continue;
            ::ExcludeClipRect(cdc, ir.left - wr.left, ir.top - wr.top, ir.right - wr.left, ir.bottom - wr.top);
        }
        // Without xoMenuBG only the frame ring shows the picture; the room
        // around the items keeps the menu colour, as an erased client would.
        if (!inSet(FSkinData->Options(), xoMenuBG))
            ::ExcludeClipRect(cdc, kMenuFrame, kMenuFrame, w - kMenuFrame, h - kMenuFrame);
        ::BitBlt(cdc, 0, 0, w, h, FBackground.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    if (ps.get()) ::BitBlt(ps.get(), 0, 0, w, h, cdc, 0, 0, SRCCOPY);
    m.Result = 0;
}

TWinSkinPopMenu* PopupSkinForMenu(HMENU menu) {
    TSkinManage* manager = SkinManager();
    if (!manager || !menu) return nullptr;
    for (TWinSkinPopMenu* p : manager->FMenuSkins)
        if (p && p->FMenuHandle == menu) return p;
    // Not associated yet: ask the windows which menu they show.
    for (auto it = manager->FMenuSkins.rbegin(); it != manager->FMenuSkins.rend(); ++it) {
        TWinSkinPopMenu* p = *it;
        if (!p || !p->FAttached || p->FMenuHandle) continue;
        if (reinterpret_cast<HMENU>(p->CallDefault(TMessage{MN_GETHMENU, 0, 0, 0})) == menu) return p;
    }
    return nullptr;
}

}  // namespace qs
