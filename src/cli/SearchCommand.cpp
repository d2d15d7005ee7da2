// search: every serial port probed for an instrument, as the main window's search does.

#include "cli/CliCommands.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/OpenPort.h"
#include "cli/OptionKinds.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "links/InstrumentAdapter.h"
#include "links/InstrumentIdentification.h"

#include <string>
#include <vector>

namespace lumetra::cli {
namespace {

constexpr std::size_t MaxInstruments = 255;
constexpr int ExitNothingFound = 1;

struct TSearchOptions {
    std::string PortsDir = "/dev";
};

int RunSearch(const TSearchOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& directory = options.PortsDir;
    TConsoleUserInterface ui(err);
    std::size_t found = 0;
    for (const std::string& name : SearchComPorts(directory)) {
        if (name == TcpIpPortName || found >= MaxInstruments) {
            continue;
        }
        Byte software = 0;
        Word serial = 0;
        Byte type = 0;
        Byte family = 0;
        Byte result = 0;
        {
            const TOpenPort port(name);
            result =
                IdentifyInstrument(ui, port.Handle, IdentifyTimeoutMs, false, software, serial, type, family);
        }
        if (result != Result::Success) {
            continue;
        }
        ++found;
        // Each line as soon as it is known: a search over many ports takes a while.
        const char* separator = family == FamilyDosika && type == 0 ? " " : " -> ";
        out << name << separator << InstrumentDescription(family, type, serial, software) << std::endl;
    }
    if (found == 0) {
        err << "No connected instruments found.\n";
        return ExitNothingFound;
    }
    return 0;
}

} // namespace

void AddSearchCommand(TCliCommands& commands) {
    auto [command, options] =
        commands.Add("search", "every serial port probed for an instrument",
                     "Asks every port of the port list (see \"ports\") in turn what answers: a\n"
                     "Dosika-family instrument, a Halvo-family instrument or a modem. Prints one line\n"
                     "per port that answered: \"PORT -> description\", or \"PORT Running instrument,\n"
                     "can not read ID/SN\" for a measuring Dosika-family instrument. A port where\n"
                     "nothing answers takes about 5 s.\n"
                     "\n"
                     "Exit status: 0; 1 with \"No connected instruments found.\" when nothing answered.\n",
                     RunSearch);
    AddPortsDirOption(command, options.PortsDir);
}

} // namespace lumetra::cli
