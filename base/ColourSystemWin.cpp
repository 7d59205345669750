#include <windows.h>

#include "Colour.h"
#include "ProcessPalette.h"

namespace qs {
// The system's own colours, even while the process palette answers for them.
uint32_t platformSystemColour(int index) { return uint32_t(palette::SystemColour(index)) & 0xFFFFFF; }
}  // namespace qs
