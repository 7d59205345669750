#pragma once
// Making control skins by class, without the headers of every family: the
// classification asks for a skin class and gets a TSkinControl (or null while
// that family is not built). Each family fills in its own New...Skin in its
// own Create*.cpp file.
#include "SkinControl.h"

namespace qs {

enum class TSkinClass {
    // CreateButtons.cpp
    Button, BitButton, MenuButton, SpeedButton, CheckBox, RadioButton,
    // CreateEdits.cpp
    Scrollbar, ScControl, DateTime, Edit, ComBox, UpDown,
    // CreateTabs.cpp
    Tab, TabBtn, Tab31, AdvPage, Header, ListView, ObjImage,
    // CreateProgress.cpp
    Progress, TrackBar, MP,
    // CreateContainers.cpp
    StatusBar, GroupBox, Box, BoxH, Sizer, TabSheet, ToolbarH, RebarH,
};

// How the classification attaches what it made.
enum class TSkinAttachMode {
    Control,    // Attach: the owner is a toolkit control with a window
    Handle,     // AttachHandle: a bare window handle, owned by the form skin
    Scrollbar,  // AttachScrollbar (scroll-bar and list-view skins, scrolling containers)
    Graphic,    // AttachGraphic: a windowless toolkit control (speed buttons)
};

struct TSkinCreateArgs {
    // The skinned toolkit control, or the form skin for a bare window.
    TComponent* owner = nullptr;
    // TSkinObjImage: 1 check box, 2 radio button, 3 third-party check box.
    int imageKind = 0;
    // TSkinBitButton: the name of the published picture property to draw.
    const char* graphicProperty = "Glyph";
    // TSkinAdvPage: its page mode.
    int pageMode = 0;
};

// One per family; null for a class the family does not (yet) make.
TSkinControl* NewButtonSkin(TSkinClass kind, const TSkinCreateArgs& args);
TSkinControl* NewEditSkin(TSkinClass kind, const TSkinCreateArgs& args);
TSkinControl* NewTabSkin(TSkinClass kind, const TSkinCreateArgs& args);
TSkinControl* NewProgressSkin(TSkinClass kind, const TSkinCreateArgs& args);
TSkinControl* NewContainerSkin(TSkinClass kind, const TSkinCreateArgs& args);

// Dispatches to the family of `kind`.
TSkinControl* NewSkinControl(TSkinClass kind, const TSkinCreateArgs& args);
// The name of the skin class ("TSkinButton"), for tests and diagnostics.
const char* SkinClassName(TSkinClass kind);

}  // namespace qs
