// identify PORT: what instrument answers on a port, as the search describes it.

#include "cli/CliCommands.h"

#include "cli/ConsoleUserInterface.h"
#include "core/Errors.h"
#include "instrument/InstrumentConnection.h"

#include <string>

namespace lumetra::cli {

namespace {

struct TIdentifyOptions {
    std::string Port;
};

int RunIdentify(const TIdentifyOptions& options, std::ostream& out, std::ostream& err) {
    TConsoleUserInterface ui(err);
    TInstrumentIdentity identity;
    const Byte result = IdentifyOnPort(ui, options.Port, identity);
    if (result != Result::Success) {
        return ReportResult(err, result);
    }
    out << InstrumentDescription(identity) << '\n';
    out << "Family: " << static_cast<unsigned>(identity.Family) << '\n';
    out << "Type: " << static_cast<unsigned>(identity.Type) << '\n';
    out << "Serial: " << static_cast<unsigned>(identity.Serial) << '\n';
    out << "Software: " << static_cast<unsigned>(identity.Software) << '\n';
    return 0;
}

} // namespace

void AddIdentifyCommand(TCliCommands& commands) {
    auto [command, options] =
        commands.Add("identify", "the instrument that answers on a port",
                     "PORT is a serial device (see \"ports\") or a link to one. The port is asked for\n"
                     "a Dosika-family instrument, then a Halvo-family instrument, then a modem. Line 1\n"
                     "is the description of what answers (\"Running instrument, can not read ID/SN\"\n"
                     "for a measuring Dosika-family instrument, \"MODEM, controlled by AT command set\"\n"
                     "for a modem), then \"Family: n\", \"Type: n\", \"Serial: n\" and \"Software: n\".\n"
                     "Each answer is awaited at most 1 s. When nothing answers, the exit status is the\n"
                     "result code, with its message.\n",
                     RunIdentify);
    command.add_option("PORT", options.Port)->required();
}

} // namespace lumetra::cli
