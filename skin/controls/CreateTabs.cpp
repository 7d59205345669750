// Makes the skins of this family: TSkinTab, TSkinTabBtn, TSkinTab31, TSkinAdvPage, TSkinHeader, TSkinListView, TSkinObjImage.
// Null for a class not built yet: the control then stays unskinned.
#include "SkinCreate.h"

namespace qs {

TSkinControl* NewTabSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    (void)kind;
    (void)args;
    return nullptr;
}

}  // namespace qs
