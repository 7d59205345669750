// Following a skinned program into the programs it starts.
#pragma once

#include <windows.h>

namespace qs::run {

// Makes the process creation functions imported by the modules loaded so far
// start their children with this library (`self`) in them, as the launcher
// does. Modules loaded later keep the system's functions. Returns how many
// import slots were taken over; once per process.
int followChildProcesses(HMODULE self);

}  // namespace qs::run
