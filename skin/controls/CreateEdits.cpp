// Makes the skins of this family: TSkinScrollbar, TSkinScControl, TSkinDateTime, TSkinEdit, TSkinComBox, TSkinUpDown.
// Null for a class not built yet: the control then stays unskinned.
#include "SkinCreate.h"

namespace qs {

TSkinControl* NewEditSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    (void)kind;
    (void)args;
    return nullptr;
}

}  // namespace qs
