// Makes the container skins: status bars, group boxes, panels, child
// dialogs and tool bars of foreign windows, size grips and tab sheets.
#include "SkinCreate.h"

namespace qs {

TSkinControl* NewContainerSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    (void)kind;
    (void)args;
    return nullptr;
}

}  // namespace qs
