// Following a skinned program into the programs it starts.
#pragma once

#include <windows.h>

namespace qs::run {

// Makes every process this one starts from now on, by whatever function
// and from whatever module, start with this library (`self`) in it, as the
// launcher does. Returns the module whose process-creation function was
// hooked, or null when none could be; once per process.
const wchar_t* followChildProcesses(HMODULE self);

}  // namespace qs::run
