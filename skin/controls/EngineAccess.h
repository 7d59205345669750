#pragma once
// The accessible objects of the windows the engine makes itself.
#include "AccessibleObject.h"

namespace qs {

const TAccessibleModel& ScrollCoverAccess();  // reads and works as the scroll bar it covers
const TAccessibleModel& PickerArrowAccess();  // the picker's drop-down button
const TAccessibleModel& PlayerPanelAccess();  // the media player's buttons

}  // namespace qs
