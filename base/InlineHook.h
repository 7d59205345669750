// Sending every call of one function of a system library to ours, whoever
// calls it and however: the function's first instructions become a jump to
// ours, and a copy of them, followed by a jump back behind them, calls the
// original. Unlike replacing import-table entries, this also catches calls
// from inside the library itself and from modules loaded later.
//
// Windows only. Used by the launcher's child-process hook and by the engine.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qs::hook {

// The length of the instruction at `code` when it can run unchanged at
// another address (no relative jump, call or rip-relative operand); 0 for
// anything else, or for an instruction this reader does not know.
std::size_t movableInstructionLength(const uint8_t* code);

// Makes `target` jump to `replacement`. `*original` receives the address
// through which the original function is still called, before any call can
// reach `replacement`: a replacement that calls through it never finds it
// null, even when another thread calls the function while it is patched.
// The other threads of the process are held while the bytes change, and one
// caught inside them goes on in the copy. Returns false when the function
// does not start with instructions that can be moved, or memory for the
// copy cannot be had; nothing is changed then and `*original` is left as it
// was. Hooks stay for the life of the process.
bool hookFunction(void* target, void* replacement, void** original);

}  // namespace qs::hook
