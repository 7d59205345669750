// What the skin answers for each of the system's colours while the process
// palette is on.
#pragma once

#include "ProcessPalette.h"

namespace qs {

class TSkinData;

// Every entry the skin has a sensible answer for: content areas, faces and
// their 3-D shades, text, selection, menus, tips. The desktop, the caption
// bars (the engine paints frames itself) and the gradients stay the system's.
palette::TPaletteTable SkinPaletteOf(const TSkinData& sd);

// The palette of `sd` in force when `on` (and the component asks for it and
// has a skin), withdrawn otherwise; nothing for a component that does not
// ask for it. False when it could not be put in force.
bool SyncSkinPalette(const TSkinData& sd, bool on);

}  // namespace qs
