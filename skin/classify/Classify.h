#pragma once
// Which control skin each child of a skinned window gets. Toolkit forms are
// classified control by control (the user's event, the user's class-name
// mapping, a few class names known by name, then the kinds of control in a
// fixed order, each gated by the skin data's SkinControls); windows without
// toolkit controls (standard dialog boxes) by window class name and style.
#include <windows.h>

#include <functional>
#include <string>

#include "ControlSide.h"
#include "Graphics.h"
#include "SkinCreate.h"
#include "ToolbarPainters.h"

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
bool IsHandled(const TWinSkinForm& fs, TControl* control);

// ---- bare windows ----
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

}  // namespace qs
