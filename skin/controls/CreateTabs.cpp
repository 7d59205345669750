// Makes the skins of this family: TSkinTab, TSkinTabBtn, TSkinTab31, TSkinAdvPage, TSkinHeader, TSkinListView, TSkinObjImage.
#include "SkinCreate.h"
#include "SkinHeader.h"
#include "SkinObjImage.h"
#include "SkinTab.h"
#include "SkinListView.h"

namespace qs {

TSkinControl* NewTabSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    switch (kind) {
        case TSkinClass::Tab: return new TSkinTab(args.owner);
        case TSkinClass::TabBtn: return new TSkinTabBtn(args.owner);
        case TSkinClass::Tab31: return new TSkinTab31(args.owner);
        case TSkinClass::AdvPage: {
            auto* s = new TSkinAdvPage(args.owner);
            s->FMode = args.pageMode;
            return s;
        }
        case TSkinClass::Header: return new TSkinHeader(args.owner);
        case TSkinClass::ListView: return new TSkinListView(args.owner);
        case TSkinClass::ObjImage: {
            auto* s = new TSkinObjImage(args.owner);
            s->FMode = args.imageKind;
            return s;
        }
        default: return nullptr;
    }
}

}  // namespace qs
