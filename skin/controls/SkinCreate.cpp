#include "SkinCreate.h"

namespace qs {

TSkinControl* NewSkinControl(TSkinClass kind, const TSkinCreateArgs& args) {
    switch (kind) {
        case TSkinClass::Button:
        case TSkinClass::BitButton:
        case TSkinClass::MenuButton:
        case TSkinClass::SpeedButton:
        case TSkinClass::CheckBox:
        case TSkinClass::RadioButton:
            return NewButtonSkin(kind, args);
        case TSkinClass::Scrollbar:
        case TSkinClass::ScControl:
        case TSkinClass::DateTime:
        case TSkinClass::Edit:
        case TSkinClass::ComBox:
        case TSkinClass::UpDown:
            return NewEditSkin(kind, args);
        case TSkinClass::Tab:
        case TSkinClass::TabBtn:
        case TSkinClass::Tab31:
        case TSkinClass::AdvPage:
        case TSkinClass::Header:
        case TSkinClass::ListView:
        case TSkinClass::ObjImage:
            return NewTabSkin(kind, args);
        case TSkinClass::Progress:
        case TSkinClass::TrackBar:
        case TSkinClass::MP:
            return NewProgressSkin(kind, args);
        case TSkinClass::StatusBar:
        case TSkinClass::GroupBox:
        case TSkinClass::Box:
        case TSkinClass::BoxH:
        case TSkinClass::Sizer:
        case TSkinClass::TabSheet:
        case TSkinClass::ToolbarH:
        case TSkinClass::RebarH:
            return NewContainerSkin(kind, args);
    }
    return nullptr;
}

const char* SkinClassName(TSkinClass kind) {
    switch (kind) {
        case TSkinClass::Button: return "TSkinButton";
        case TSkinClass::BitButton: return "TSkinBitButton";
        case TSkinClass::MenuButton: return "TSkinMenuButton";
        case TSkinClass::SpeedButton: return "TSkinSpeedButton";
        case TSkinClass::CheckBox: return "TSkinCheckBox";
        case TSkinClass::RadioButton: return "TSkinRadioButton";
        case TSkinClass::Scrollbar: return "TSkinScrollbar";
        case TSkinClass::ScControl: return "TSkinScControl";
        case TSkinClass::DateTime: return "TSkinDateTime";
        case TSkinClass::Edit: return "TSkinEdit";
        case TSkinClass::ComBox: return "TSkinComBox";
        case TSkinClass::UpDown: return "TSkinUpDown";
        case TSkinClass::Tab: return "TSkinTab";
        case TSkinClass::TabBtn: return "TSkinTabBtn";
        case TSkinClass::Tab31: return "TSkinTab31";
        case TSkinClass::AdvPage: return "TSkinAdvPage";
        case TSkinClass::Header: return "TSkinHeader";
        case TSkinClass::ListView: return "TSkinListView";
        case TSkinClass::ObjImage: return "TSkinObjImage";
        case TSkinClass::Progress: return "TSkinProgress";
        case TSkinClass::TrackBar: return "TSkinTrackBar";
        case TSkinClass::MP: return "TSkinMP";
        case TSkinClass::StatusBar: return "TSkinStatusBar";
        case TSkinClass::GroupBox: return "TSkinGroupBox";
        case TSkinClass::Box: return "TSkinBox";
        case TSkinClass::BoxH: return "TSkinBoxH";
        case TSkinClass::Sizer: return "TSkinSizer";
        case TSkinClass::TabSheet: return "TSkinTabSheet";
        case TSkinClass::ToolbarH: return "TSkinToolbarH";
        case TSkinClass::RebarH: return "TSkinRebarH";
    }
    return "";
}

}  // namespace qs
