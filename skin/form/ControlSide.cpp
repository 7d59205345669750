#include "ControlSide.h"

namespace qs {

namespace {
TControlSide*& registered() {
    static TControlSide* side = nullptr;
    return side;
}
}  // namespace

TControlSide& ControlSide() {
    static TControlSide frameAlone;
    TControlSide* side = registered();
    return side ? *side : frameAlone;
}

void SetControlSide(TControlSide* side) { registered() = side; }

}  // namespace qs
