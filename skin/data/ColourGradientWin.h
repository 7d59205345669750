#pragma once
// The gradient fill on a Windows device context (Windows builds only).
#include <windows.h>

#include "ColourGradient.h"

namespace qs {

// Fills `r` on `dc` one line at a time from the shared ramp cache; lines
// outside the device context's clip box are skipped. Creates no GDI object.
void GradientFill(HDC dc, const RECT& r, ColourNum from, bool vertical, ColourNum to);

}  // namespace qs
