// Makes the skins of this family: TSkinButton, TSkinBitButton, TSkinMenuButton, TSkinSpeedButton, TSkinCheckBox, TSkinRadioButton.
#include <cstring>

#include "Buttons.h"
#include "SkinButton.h"
#include "SkinCheck.h"
#include "SkinCreate.h"

namespace qs {

TSkinControl* NewButtonSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    switch (kind) {
        case TSkinClass::Button:
            return new TSkinButton(args.owner);
        case TSkinClass::BitButton: {
            // A bit button that drops a menu is drawn with its arrow.
            if (auto* o = dynamic_cast<const TObject*>(args.owner); o && o->InheritsFrom(TMenuButton::StaticClassInfo()))
                return new TSkinMenuButton(args.owner);
            auto* skin = new TSkinBitButton(args.owner);
            if (args.graphicProperty && std::strcmp(args.graphicProperty, "Glyph") != 0)
                skin->FGraphicProp = args.graphicProperty;
            return skin;
        }
        case TSkinClass::MenuButton:
            return new TSkinMenuButton(args.owner);
        case TSkinClass::SpeedButton:
            return new TSkinSpeedButton(args.owner);
        case TSkinClass::CheckBox:
            return new TSkinCheckBox(args.owner);
        case TSkinClass::RadioButton:
            return new TSkinRadioButton(args.owner);
        default:
            return nullptr;
    }
}

}  // namespace qs
