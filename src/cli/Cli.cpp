#include "cli/Cli.h"

namespace lumetra::cli {

int RunCli(int, char**, std::ostream&, std::ostream& err) {
    err << "usage: lumetra-cli COMMAND [ARGS] [OPTIONS]\n";
    return ExitUsage;
}

} // namespace lumetra::cli
