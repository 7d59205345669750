#pragma once
// The skin of one menu window (class "#32768") while it is open: the window's
// frame and background show the skin's MenuBackground picture, and the
// owner-drawn items are painted over pieces of the same picture (MenuPaint).
// The skin manager makes one for every menu window it is allowed to skin and
// frees it when the window goes.
#include <windows.h>

#include "Graphics.h"
#include "Messages.h"

namespace qs {

class TSkinData;

class TWinSkinPopMenu {
public:
    TWinSkinPopMenu() = default;
    virtual ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    WNDPROC FOldWndProc = nullptr;
    bool FAttached = false;  // stands for the routing thunk: set while our procedure is installed
    HWND FHandle = nullptr;
    TSkinData* FSkinData = nullptr;
    TBitmap FBackground;  // the whole window's picture, rebuilt at every frame paint
    HMENU FMenuHandle = nullptr;
    bool FFromMenuBar = false;

    void AttachMenuWindow(HWND wnd, TSkinData* skinData, HMENU menu);
    // Gives the window its procedure back; a second call does nothing.
    void DetachMenuWindow();

    virtual void PopupWndProc(TMessage& msg);
    LRESULT CallDefault(const TMessage& msg);

    // True when the skin has a MenuBackground picture to paint with.
    bool CanPaint() const;
    // Rebuilds FBackground at the window's size; false when it cannot.
    bool BuildBackground();

    // The window skinned by a menu skin, or null.
    static TWinSkinPopMenu* FromWindow(HWND wnd);

protected:
    void EraseMenuBackground(TMessage& msg);
    void PaintMenuFrame(TMessage& msg);
    void PrintMenuWindow(TMessage& msg);
    // Where the system draws the menu's frame inside the client area (no
    // non-client area at all), the frame ring and, with xoMenuBG, the room
    // around the items get the picture after the system's paint.
    void PaintInsideFrame(TMessage& msg);

private:
    static LRESULT CALLBACK StaticWndProc(HWND, UINT, WPARAM, LPARAM);
};

// The live menu skin showing this menu (by its associated handle, or by
// asking the menu windows which menu they show); null when none.
TWinSkinPopMenu* PopupSkinForMenu(HMENU menu);

}  // namespace qs
