#pragma once
// skintool: packs, unpacks and lists skin archives and runs the LZH coder on
// raw files. The commands live in a library so tests can run them in-process.
#include <iosfwd>
#include <string>
#include <vector>

namespace qs::skintool {

// Exit codes: 0 success, 1 bad input or a failed operation, 2 bad usage.
enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// args excludes the program name.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qs::skintool
