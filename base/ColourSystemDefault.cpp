#include "Colour.h"

namespace qs {
// No system to ask: the classic scheme stands in.
uint32_t platformSystemColour(int index) { return classicSystemColour(index); }
}  // namespace qs
