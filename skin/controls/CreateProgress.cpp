// Makes the skins of this family: TSkinProgress, TSkinTrackBar, TSkinMP.
#include "SkinCreate.h"
#include "SkinMP.h"
#include "SkinProgress.h"
#include "SkinTrackBar.h"

namespace qs {

TSkinControl* NewProgressSkin(TSkinClass kind, const TSkinCreateArgs& args) {
    switch (kind) {
        case TSkinClass::Progress: return new TSkinProgress(args.owner);
        case TSkinClass::TrackBar: return new TSkinTrackBar(args.owner);
        case TSkinClass::MP: return new TSkinMP(args.owner);
        default: return nullptr;
    }
}

}  // namespace qs
