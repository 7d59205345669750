// Makes the skins of this family: TSkinProgress, TSkinTrackBar, TSkinMP.
// Null for a class not built yet: the control then stays unskinned.
#include "SkinCreate.h"

namespace qs {

TSkinControl* NewProgressSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    (void)kind;
    (void)args;
    return nullptr;
}

}  // namespace qs
