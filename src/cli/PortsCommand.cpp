// ports: the names the port list offers, one a line, "TCP-IP" last.

#include "cli/CliCommands.h"

#include "cli/OptionKinds.h"
#include "links/InstrumentAdapter.h"

#include <string>

namespace lumetra::cli {
namespace {

struct TPortsOptions {
    std::string PortsDir = "/dev";
};

int RunPorts(const TPortsOptions& options, std::ostream& out, std::ostream&) {
    for (const std::string& name : SearchComPorts(options.PortsDir)) {
        out << name << '\n';
    }
    return 0;
}

} // namespace

void AddPortsCommand(TCliCommands& commands) {
    auto [command, options] =
        commands.Add("ports", "the serial ports that exist and open, then TCP-IP",
                     "Prints one name a line: every serial device that exists and can be opened now\n"
                     "(/dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM* and the like), then \"TCP-IP\", the link to\n"
                     "an instrument server. A pseudo-terminal or a link to one can be given as PORT to\n"
                     "identify and download although it is not listed.\n",
                     RunPorts);
    AddPortsDirOption(command, options.PortsDir);
}

} // namespace lumetra::cli
