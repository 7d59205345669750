#pragma once
// The clickable things of a skinned title and menu bar: caption buttons, the
// icon button and the menu-bar items. They are not windows; each knows its
// rectangle in window coordinates (frame included), its state, and paints
// itself straight onto the window DC when the state changes.
#include <windows.h>

#include <functional>
#include <string>

namespace qs {

class TWinSkinForm;
class TDataSkinSysButton;
class TSkinData;
class TMenuItem;

// FState values; the disabled look is chosen at paint time and never stored.
enum TNCState : int { ncsNone = 0, ncsNormal = 1, ncsPressed = 2, ncsHot = 3, ncsDisabled = 4 };

class TNCObject {
public:
    virtual ~TNCObject() = default;

    TWinSkinForm* FForm = nullptr;
    RECT FBoundsRect{};
    bool FVisible = true;
    int FState = ncsNone;
    bool FEnabled = true;

    // The transitions: each one that happens repaints the object at once and
    // keeps the form skin's hot object (FHotObject) in step.
    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Paint() {}

protected:
    TNCObject*& hotObject();
};

class TWinSysButton : public TNCObject {
public:
    TDataSkinSysButton* FData = nullptr;

    // Frame by state (disabled: 4, or 1 without a 4th frame; a hot menu-bar
    // button shows 4), or the window icon for the icon button.
    void Paint() override;
    bool IsIconButton() const;
};

class TMenuBtn : public TNCObject {
public:
    TMenuItem* FItem = nullptr;
    TSkinData* FSkinData = nullptr;
    int FIndex = 0;
    std::wstring FCaption;
    bool FItemEnabled = true;
    HMENU FSubMenu = nullptr;
    UINT FCommand = 0;

    // Put back the bar's background under the button before drawing it (the
    // menu bar sets this to copy from its cached background; without it the
    // skin's menu-bar colour is used).
    std::function<void(HDC, const RECT&)> FRestoreBackground;

    void Paint() override;
};

}  // namespace qs
