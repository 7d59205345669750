#pragma once
// The platform's own reading of a BMP file, for checking the portable reader
// against it (Windows builds only).
#include <windows.h>

#include <span>

#include "Bmp.h"

namespace qs {

// Decodes the file through GDI: SetDIBits into a 32-bit DIB section, read
// back with GetDIBits as top-down 0x00RRGGBB rows. Empty when GDI refuses the
// file or the headers do not describe a whole image inside it. Pixels GDI
// leaves untouched (skipped by RLE deltas) read as `background`.
PixelImage decodeBmpWithGdi(std::span<const uint8_t> file, uint32_t background = 0);

}  // namespace qs
