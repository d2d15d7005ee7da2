// identify PORT: what instrument answers on a port, as the search describes it.

#include "cli/CliCommands.h"

#include "cli/ConsoleUserInterface.h"
#include "cli/OpenPort.h"
#include "core/DeviceIdentification.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "links/InstrumentAdapter.h"
#include "links/InstrumentIdentification.h"

#include <string>

namespace lumetra::cli {

std::string InstrumentDescription(Byte family, Byte type, Word serial, Byte software) {
    if (family == FamilyDosika && type == 0) {
        return "Running instrument, can not read ID/SN";
    }
    std::string description;
    DeviceDescription(family, type, serial, description, software);
    return description;
}

namespace {

struct TIdentifyOptions {
    std::string Port;
};

int RunIdentify(const TIdentifyOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& portName = options.Port;
    if (portName == TcpIpPortName) {
        // The instrument-server route is not built yet.
        return ReportResult(err, Result::NoTcpIpConnection);
    }
    TConsoleUserInterface ui(err);
    Byte software = 0;
    Word serial = 0;
    Byte type = 0;
    Byte family = 0;
    Byte result = 0;
    {
        const TOpenPort port(portName);
        result =
            IdentifyInstrument(ui, port.Handle, IdentifyTimeoutMs, false, software, serial, type, family);
    }
    if (result != Result::Success) {
        return ReportResult(err, result);
    }
    out << InstrumentDescription(family, type, serial, software) << '\n';
    out << "Family: " << static_cast<unsigned>(family) << '\n';
    out << "Type: " << static_cast<unsigned>(type) << '\n';
    out << "Serial: " << static_cast<unsigned>(serial) << '\n';
    out << "Software: " << static_cast<unsigned>(software) << '\n';
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
