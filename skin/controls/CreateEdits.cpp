// Makes the skins of this family: TSkinScrollbar, TSkinScControl, TSkinDateTime, TSkinEdit, TSkinComBox, TSkinUpDown.
#include "SkinCombo.h"
#include "SkinCreate.h"
#include "SkinDateTime.h"
#include "SkinEdit.h"
#include "SkinScroll.h"
#include "SkinUpDown.h"

namespace qs {

TSkinControl* NewEditSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    switch (kind) {
        case TSkinClass::Scrollbar: return new TSkinScrollbar(args.owner);
        case TSkinClass::ScControl: return new TSkinScControl(args.owner);
        case TSkinClass::DateTime: return new TSkinDateTime(args.owner);
        case TSkinClass::Edit: return new TSkinEdit(args.owner);
        case TSkinClass::ComBox: return new TSkinComBox(args.owner);
        case TSkinClass::UpDown: return new TSkinUpDown(args.owner);
        default: return nullptr;
    }
}

}  // namespace qs
