// The skinned window menu: an owner-drawn copy of the window's system menu
// whose items post the same commands, shown where the system would show its
// own (icon button, right click on the title, Alt+Space).
#include <algorithm>

#include "Menus.h"
#include "SkinData.h"
#include "SkinForm.h"
#include "SkinManage.h"

namespace qs {

namespace {

constexpr int kMaxItemText = 80;

int imageFor(UINT command) {
    switch (command) {
        case SC_RESTORE: return 0;
        case SC_MAXIMIZE: return 1;
        case SC_MINIMIZE: return 2;
        case SC_CLOSE: return 3;
        default: return -1;
    }
}

}  // namespace

void TWinSkinForm::ShowSystemMenu(POINT screen) {
    const DWORD now = ::GetTickCount();
    if (now - FLastMenuClick > FDoubleClickTime) {
        if (TSkinManage* mgr = SkinManager()) mgr->FMenuKind = mkWindowMenu;
        FLastMenuClick = now;
        BuildSystemMenu();
        // The menu is held here while it shows: the loop may free this form
        // skin, and the menu must outlive its own Popup either way.
        std::unique_ptr<TPopupMenu> menu = std::move(FSysMenu);
        if (!menu) return;
        const TLifeToken::Watch life = FLife.Watching();
        menu->Popup(screen.x, screen.y);
        if (life.Alive() && !FSysMenu) FSysMenu = std::move(menu);
    } else if (FHotObject) {
        // The second click of a double click on the icon: close, as the
        // system's icon does.
        if (FTimer) FTimer->SetEnabled(false);
        ::PostMessageW(FHandle, WM_CLOSE, 0, 0);
    }
}

void TWinSkinForm::BuildSystemMenu() {
    FSysMenu.reset();
    if (!FHandle) return;
    auto menu = std::make_unique<TPopupMenu>(nullptr);
    menu->SetTag(kSystemMenuTag);
    menu->SetOwnerDraw(true);
    if (FSkinData) menu->SetImages(&FSkinData->MenuImages());

    HMENU sys = FSystemMenu ? FSystemMenu : ::GetSystemMenu(FHandle, FALSE);
    const int count = sys ? ::GetMenuItemCount(sys) : 0;
    const bool maximized = FWindowState == wsMaximizedKind, minimized = FWindowState == wsMinimizedKind;
    HWND wnd = FHandle;
    for (int i = 0; i < count; ++i) {
        wchar_t text[kMaxItemText + 1] = {};
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_STRING;
        mii.dwTypeData = text;
        mii.cch = kMaxItemText + 1;
        if (!::GetMenuItemInfoW(sys, UINT(i), TRUE, &mii)) continue;
        std::wstring caption = (mii.fType & MFT_SEPARATOR) ? std::wstring() : std::wstring(text);
        const UINT command = mii.wID;

        auto* item = new TMenuItem(menu.get());
        // "Close\tAlt+F4": the part after the tab is the shortcut column.
        const auto tab = caption.find(L'\t');
        if (tab != std::wstring::npos) {
            const TShortCut sc = TextToShortCut(caption.substr(tab + 1));
            if (sc != scNone) {
                item->SetShortCut(sc);
                caption.resize(tab);
            }
        }
        item->SetCaption(caption.empty() ? L"-" : caption);
        item->SetTag(intptr_t(command));
        item->SetEnabled(!(mii.fState & MFS_GRAYED));
        item->SetChecked((mii.fState & MFS_CHECKED) != 0);
        switch (command) {
            // A window that cannot be sized keeps its Size item grey.
            case SC_SIZE: item->SetEnabled(!maximized && FSizeable); break;
            case SC_MOVE: item->SetEnabled(!maximized); break;
            case SC_MINIMIZE: item->SetEnabled(!minimized && (FStyleFlags & sfMinimizeBox)); break;
            case SC_MAXIMIZE: item->SetEnabled(!maximized && (FStyleFlags & sfMaximizeBox)); break;
            case SC_RESTORE: item->SetEnabled(FWindowState != wsNormalKind); break;
            default: break;
        }
        item->SetImageIndex(imageFor(command));
        item->OnClick = [wnd, item](TObject*) {
            ::PostMessageW(wnd, WM_SYSCOMMAND, WPARAM(item->Tag()), 0);
        };
        // The menu may still show after this form skin went (see ShowSystemMenu).
        item->OnMeasureItem = [this, item, life = FLife.Watching()](TObject*, TCanvas* c, int& w, int& h) {
            if (c && life.Alive()) MeasureSystemMenuItem(item, *c, w, h);
        };
        item->OnDrawItem = [this, item, life = FLife.Watching()](TObject*, TCanvas* c, RECT r, bool selected) {
            if (!c) return;
            if (life.Alive())
                DrawSystemMenuItem(item, *c, r, selected);
            else
                item->DrawDefault(*c, r, selected);
        };
        menu->Items()->Add(item);
    }
    FSysMenu = std::move(menu);
}

}  // namespace qs
