// Makes the container skins: status bars, group boxes, panels, child
// dialogs and tool bars of foreign windows, size grips and tab sheets.
#include "SkinBars.h"
#include "SkinContainers.h"
#include "SkinCreate.h"

namespace qs {

TSkinControl* NewContainerSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    switch (kind) {
        case TSkinClass::StatusBar: return new TSkinStatusBar(args.owner);
        case TSkinClass::GroupBox: return new TSkinGroupBox(args.owner);
        case TSkinClass::Box: return new TSkinBox(args.owner);
        case TSkinClass::BoxH: return new TSkinBoxH(args.owner);
        case TSkinClass::Sizer: return new TSkinSizer(args.owner);
        case TSkinClass::TabSheet: return new TSkinTabSheet(args.owner);
        case TSkinClass::ToolbarH: return new TSkinToolbarH(args.owner);
        case TSkinClass::RebarH: return new TSkinRebarH(args.owner);
        default: return nullptr;
    }
}

}  // namespace qs
