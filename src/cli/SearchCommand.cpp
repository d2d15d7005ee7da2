// search: every serial port probed for an instrument, as the main window's search does.

#include "cli/CliCommands.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/OptionKinds.h"
#include "instrument/InstrumentConnection.h"
#include "links/InstrumentAdapter.h"

#include <string>
#include <vector>

namespace lumetra::cli {
namespace {

constexpr int ExitNothingFound = 1;

struct TSearchOptions {
    std::string PortsDir = "/dev";
};

int RunSearch(const TSearchOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& directory = options.PortsDir;
    TConsoleUserInterface ui(err);
    std::vector<TPortEntry> entries;
    for (const std::string& name : SearchComPorts(directory)) {
        entries.push_back({name, name});
    }
    // Each line as soon as it is known: a search over many ports takes a while.
    const auto found = SearchInstruments(ui, entries, {},
                                         [&out](const TFoundInstrument& instrument) { out << instrument.Line << std::endl; });
    if (found.empty()) {
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
