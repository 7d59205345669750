// Loading the engine library into a process that was created suspended,
// before its own code runs. Shared by the launcher and by the library itself
// when it follows the program into the processes it starts.
#pragma once

#include <windows.h>

#include <string>

namespace qs::run {

// Points the suspended first thread of `process` at a short piece of code
// that loads `dll`, calls its export `startExport` (a WINAPI function without
// arguments) if the load worked, and then jumps to the program's own entry
// point. The thread is left suspended. Both processes must be of the same
// bitness. Returns false and leaves the thread untouched when it cannot be
// done; `why` says what failed.
bool redirectEntry(HANDLE process, HANDLE thread, const std::wstring& dll, const char* startExport, std::wstring* why);

}  // namespace qs::run
