#pragma once
// Which control skin each child of a skinned window gets. Toolkit forms are
// classified control by control (the user's event, the user's class-name
// mapping, a few class names known by name, then the kinds of control in a
// fixed order, each gated by the skin data's SkinControls); windows without
// toolkit controls (standard dialog boxes) by window class name and style.
#include <windows.h>

#include <functional>
#include <string>

#include "Graphics.h"
#include "SkinCreate.h"

namespace qs {

class TWinSkinForm;
class TComponent;
class TControl;
class TWinControl;
class TCustomForm;
class TMenu;

// The kinds of control the classification tells apart by inheritance. Which
// toolkit classes belong to each kind is written down once, in ClassKinds.cpp.
enum class TControlKind {
    TabControl,         // every tab control, page controls included
    PlainTabControl,    // the plain tab control (tabs without pages)
    MenuHolder,         // a control that shows a menu of its own
    BandContainer,      // a container of bands (a Bands collection)
    TabSheet,
    TabSet,
    Header,
    CheckBox,
    TrackBar,
    RadioGroup,
    GroupBox,
    RadioButton,
    ToolBar,
    StatusBar,
    ProgressBar,
    ScrollingContainer, // a scroll-bar control (its skin covers the whole control)
    ComboBox,
    DateTimePicker,
    BitButton,
    SpeedButton,
    Panel,
    ListView,
    ScrollList,
    ScrollMemo,
    Button,
    Edit,
    Frame,
    Form,
};

// True when the object's class, or one of its ancestors, is a class of `kind`.
bool IsControlKind(const TObject* obj, TControlKind kind);
// The ancestor class names that make up a kind (for tests and diagnostics).
const std::vector<std::string>& ControlKindClasses(TControlKind kind);

// Where classified skins come from. Tests put in their own to see every
// decision, including those of families not built yet; an empty function
// goes back to NewSkinControl.
using TSkinFactory = std::function<TSkinControl*(TSkinClass kind, const TSkinCreateArgs& args)>;
void SetSkinFactory(TSkinFactory factory);

// ---- the toolkit chain ----
void SkinAllControls(TWinSkinForm& fs, TCustomForm* form);
void SkinComponents(TWinSkinForm& fs, TComponent* owner);
void SkinChildren(TWinSkinForm& fs, TWinControl* container, TCustomForm* form = nullptr);
void ClassifyControl(TWinSkinForm& fs, TControl* control, TCustomForm* form);
// The Skin3rd step: true when a mapping line decided (whether or not a skin was made).
bool SkinThirdParty(TWinSkinForm& fs, const std::string& upperClassName, TControl* control);
// The kind a Skin3rd list gives a class name ("" when no line names it).
std::string Skin3rdKind(const std::vector<std::string>& lines, const std::string& className);
bool IsSkinned(const TWinSkinForm& fs, TControl* control);
// Menus that belong to controls rather than to the form (a control's pop-up
// menu, a menu button's drop-down, the menu a bar shows) get the skin's item
// painter and become owner-drawn; the form skin takes that back when it
// unskins (HookMenus(false)). False when the menu's tag keeps it in the
// system's look.
bool HookControlMenu(TWinSkinForm& fs, TMenu* menu);
// The menus hooked that way and still hooked, for this form skin.
std::vector<TMenu*> HookedControlMenus(const TWinSkinForm& fs);
bool IsHandled(const TWinSkinForm& fs, TControl* control);

// ---- bare windows ----
// Posted to a skinned window by the manager when a child dialog appears
// inside it after activation (wParam: the dialog): classified once its
// controls exist.
inline constexpr UINT WM_SKIN_CLASSIFY_LATE = 0x3524;
void SkinChildWindows(TWinSkinForm& fs, HWND handle);
void ClassifyWindow(TWinSkinForm& fs, HWND handle);
// The windows a program put on a toolkit form without a toolkit control (a
// rebar, a child dialog) are classified as bare windows.
void SkinBareChildWindows(TWinSkinForm& fs, HWND handle);

// Every listed control skin re-applies the (changed) skin.
void ControlSkinsChanged(TWinSkinForm& fs);

// The reply to the scroll-bar rebuild request: the skin of `handle` is
// replaced by a new one of the same family. False when no skin had it.
bool RebuildScrollbarSkin(TWinSkinForm& fs, HWND handle);

// ---- the tool-bar painters ----
// The custom-draw events a tool bar publishes ("OnCustomDraw",
// "OnCustomDrawButton"); unassigned ones get the painters below.
using TToolBarCustomDrawEvent = std::function<void(TObject* sender, HDC dc, const RECT& r, bool& defaultDraw)>;
using TToolBarCustomDrawButtonEvent =
    std::function<void(TObject* sender, HDC dc, const RECT& bounds, UINT itemState, TColor& fontColour, bool& defaultDraw)>;
// The background: the Toolbar element stretched over `r` (unless the
// options keep the system's tool-bar background).
void PaintToolbarBackground(TWinSkinForm& fs, HDC dc, const RECT& r);
// A button from its custom-draw state (CDIS_* bits); false when nothing was drawn.
bool PaintToolbarButton(TWinSkinForm& fs, HDC dc, const RECT& bounds, UINT itemState, TColor& fontColour);
// Takes off the painters `fs` gave the tool bar (the program's own handlers
// stay); true when there were any.
bool UnhookToolbarPainters(const TWinSkinForm* fs, TControl* toolbar);

}  // namespace qs
