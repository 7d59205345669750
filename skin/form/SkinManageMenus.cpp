// Menu skins kept by the manager, and the form skin's side of the skinned
// menu bar. Until the menu skins and the menu bar exist, menus keep the
// system look: nothing is attached, the form skin leaves its menu band plain
// and menu items measure and draw the toolkit's way.
#include "Menus.h"
#include "SkinForm.h"
#include "SkinManage.h"

namespace qs {

// ---- the manager's menu skins ---------------------------------------------------

void TSkinManage::SkinPopupMenu(HWND) {}

void TSkinManage::UnskinPopupMenu(HWND) {
    // With the last menu window gone the next menu is judged afresh.
    if (FMenuSkins.empty()) {
        FMenuBarPopup = false;
        FMenuKind = mkContext;
    }
}

bool TSkinManage::HasPopupSkin(HWND) const { return false; }

void TSkinManage::AssociateMenu(HMENU) {}

TBitmap* TSkinManage::PopupBackground(HMENU) const { return nullptr; }

void TSkinManage::MarkMenuBarPopups() {}

void TSkinManage::FreeMenuSkins() { FMenuSkins.clear(); }

// ---- the form skin's menu bar ----------------------------------------------------

void TWinSkinForm::CreateSkinMenu() {}

void TWinSkinForm::FreeSkinMenu() { FSkinMenu = nullptr; }

bool TWinSkinForm::PaintMenuBand(HDC, const RECT&) { return false; }

TMenuBtn* TWinSkinForm::MenuButtonAt(POINT) { return nullptr; }

TMenuBtn* TWinSkinForm::FirstMenuButton() { return nullptr; }

TMenuBtn* TWinSkinForm::FindAccelButton(wchar_t) { return nullptr; }

void TWinSkinForm::OpenMenuButton(TMenuBtn*) {}

void TWinSkinForm::WMMenuBarClick(TMessage& msg) { msg.Result = 0; }

bool TWinSkinForm::MenuItemMessage(TMessage& msg) {
    return HandleMenuMessage(msg.Msg, msg.WParam, msg.LParam, msg.Result);
}

void TWinSkinForm::RebuildMenuBar() {}

void TWinSkinForm::RebuildMergedMenuBar() {}

void TWinSkinForm::HookMenus(bool) {}

void TWinSkinForm::MeasureSystemMenuItem(TMenuItem* item, TCanvas& canvas, int& width, int& height) {
    if (item) item->MeasureDefault(canvas, width, height);
}

void TWinSkinForm::DrawSystemMenuItem(TMenuItem* item, TCanvas& canvas, const RECT& r, bool selected) {
    if (item) item->DrawDefault(canvas, r, selected);
}

}  // namespace qs
