// ports: the names the port list offers, one a line, "TCP-IP" last.

#include "cli/CliCommands.h"

#include "links/InstrumentAdapter.h"

namespace lumetra::cli {
namespace {

int RunPorts(const TCliOptions& options, std::ostream& out, std::ostream&) {
    for (const std::string& name : SearchComPorts(options.Value("--ports-dir").value_or("/dev"))) {
        out << name << '\n';
    }
    return 0;
}

} // namespace

const TCliCommand& PortsCommand() {
    static const TCliCommand command{
        "ports",
        "ports [--ports-dir DIR]",
        "the serial ports that exist and open, then TCP-IP",
        "Prints one name a line: every serial device that exists and can be opened now\n"
        "(/dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM* and the like), then \"TCP-IP\", the link to\n"
        "an instrument server. A pseudo-terminal or a link to one can be given as PORT to\n"
        "identify and download although it is not listed.\n"
        "\n"
        "  --ports-dir DIR  look for the serial devices in DIR instead of /dev (names as\n"
        "                   there: ttyS0, ttyUSB1, ...; links to devices count)\n",
        {{{"--ports-dir", true}}, {}, 0, 0},
        RunPorts,
    };
    return command;
}

} // namespace lumetra::cli
