// Sending every call of one function of a system library to ours, whoever
// calls it and however: the function's first instructions become a jump to
// ours, and a copy of them, followed by a jump back behind them, calls the
// original. Unlike replacing import-table entries, this also catches calls
// from inside the library itself and from modules loaded later.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qs::run {

// The length of the instruction at `code` when it can run unchanged at
// another address (no relative jump, call or rip-relative operand); 0 for
// anything else, or for an instruction this reader does not know.
std::size_t movableInstructionLength(const uint8_t* code);

// Makes `target` jump to `replacement`. Returns the address through which
// the original function is still called, or null when the function does
// not start with instructions that can be moved (nothing is changed then).
// Hooks stay for the life of the process.
void* hookFunction(void* target, void* replacement);

}  // namespace qs::run
