#pragma once
// The resolution windows are drawn at. Newer systems give it per window (per
// monitor for programs that declare themselves aware of it) and report 96 to
// programs they stretch; older ones have one resolution for the screen.
#include <windows.h>

namespace qs {

// The resolution of `wnd`: GetDpiForWindow where the system has it, else the
// screen's LOGPIXELSY.
int WindowDpi(HWND wnd);
// The resolution a new top-level window of this thread is most likely made
// at (the system's; on another monitor the window itself tells).
int NewWindowDpi();
// The frame that AdjustWindowRectEx puts around a client area, at `dpi`
// where the system can say, else at the resolution in use.
RECT WindowFrameAt(DWORD style, DWORD exStyle, bool menu, int dpi);

}  // namespace qs
