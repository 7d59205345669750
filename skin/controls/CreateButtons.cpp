// Makes the skins of this family: TSkinButton, TSkinBitButton, TSkinMenuButton, TSkinSpeedButton, TSkinCheckBox, TSkinRadioButton.
// Null for a class not built yet: the control then stays unskinned.
#include "SkinCreate.h"

namespace qs {

TSkinControl* NewButtonSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    (void)kind;
    (void)args;
    return nullptr;
}

}  // namespace qs
