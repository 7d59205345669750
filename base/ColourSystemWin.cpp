#include <windows.h>

#include "Colour.h"

namespace qs {
uint32_t platformSystemColour(int index) { return uint32_t(GetSysColor(index)) & 0xFFFFFF; }
}  // namespace qs
