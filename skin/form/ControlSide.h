#pragma once
// What a form skin asks of the control skins. The form skin paints its
// window's frame and knows no control skin: the classification, which sits
// above both (skin/classify), registers the one TControlSide that walks a
// window's children, makes and changes their skins and answers the questions
// children ask their parent. Until one is registered a form skin dresses its
// frame alone.
#include <windows.h>

#include <functional>
#include <vector>

namespace qs {

class TWinSkinForm;
class TCustomForm;
class TMenu;
struct TMessage;

// Posted to a skinned window by the manager when a child dialog appears
// inside it after activation (wParam: the dialog): classified once its
// controls exist.
inline constexpr UINT WM_SKIN_CLASSIFY_LATE = 0x3524;
// A tab skin asks its form whether tab lParam of tab window wParam may have
// its page freed (0 = go ahead).
inline constexpr UINT WM_SKIN_TAB_CLOSE = 0x3507;
// Posted to a skinned window when a child window was made under it after
// activation: content windows among the new ones get the skin's colours
// once the program has set them up.
inline constexpr UINT WM_SKIN_CONTENT_LATE = 0x3525;

class TControlSide {
public:
    virtual ~TControlSide() = default;
    // Activation: every control of a toolkit form, or every child window of
    // a bare one, gets the skin its kind calls for.
    virtual void SkinAllControls(TWinSkinForm&, TCustomForm*) {}
    virtual void SkinChildWindows(TWinSkinForm&, HWND) {}
    // One window that appeared after activation.
    virtual void ClassifyWindow(TWinSkinForm&, HWND) {}
    // Every control skin re-applies the (changed) skin.
    virtual void ControlSkinsChanged(TWinSkinForm&) {}
    // The scroll-bar rebuild request; false when no skin had the window.
    virtual bool RebuildScrollbarSkin(TWinSkinForm&, HWND) { return false; }
    // The colours of content controls (edits, lists, views) at activation,
    // unskinning and a skin change.
    // `late`: after activation, when no repaint of the whole form follows.
    virtual void ApplyContentColours(TWinSkinForm&, bool /*late*/) {}
    virtual void RestoreContentColours(TWinSkinForm&) {}
    virtual void ContentColoursChanged(TWinSkinForm&) {}
    // A colour request (WM_CTLCOLOR*) the program has answered in m.Result:
    // true when a content control's answer replaced it.
    virtual bool AnswerContentColour(UINT, WPARAM, LPARAM, LRESULT&) { return false; }
    // True while the window wears the skin's content colours.
    virtual bool HasContentColours(HWND) { return false; }
    // A child's WM_NOTIFY: `passOn` gives it to the program; the control side
    // decides whether and when (custom draw of views and tool bars).
    virtual void AnswerNotify(TMessage&, const std::function<void()>& passOn) { passOn(); }
};

// The registered control side (a do-nothing one until the classification
// registers its own).
TControlSide& ControlSide();
// Registers `side` (null: back to the frame alone). The caller keeps it alive.
void SetControlSide(TControlSide* side);

// Menus that belong to controls rather than to the form (a control's pop-up
// menu, a menu button's drop-down, the menu a bar shows) get the skin's item
// painter and become owner-drawn; the form skin takes that back when it
// unskins (HookMenus(false)). False when the menu's tag keeps it in the
// system's look.
bool HookControlMenu(TWinSkinForm& fs, TMenu* menu);
// The menus hooked that way and still hooked, for this form skin.
std::vector<TMenu*> HookedControlMenus(const TWinSkinForm& fs);

}  // namespace qs
