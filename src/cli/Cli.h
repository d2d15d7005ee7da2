#pragma once
// lumetra-cli: options parsed into a struct, data to `out`, messages to `err`, the
// exit status is the result code (64 for a usage error).

#include <ostream>

namespace lumetra::cli {

constexpr int ExitUsage = 64;

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace lumetra::cli
