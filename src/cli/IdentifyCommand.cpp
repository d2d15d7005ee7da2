// identify PORT: what instrument answers on a port, as the search describes it.

#include "cli/CliCommands.h"

#include "cli/ConsoleUserInterface.h"
#include "core/DeviceIdentification.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "links/InstrumentAdapter.h"
#include "links/InstrumentIdentification.h"

#include <string>

namespace lumetra::cli {
namespace {

constexpr Word IdentifyTimeoutMs = 1000;

// The port stays open for the one operation only, whichever way it ends.
class TOpenPort {
public:
    explicit TOpenPort(const std::string& name) : Handle(OpenComPort(name)) {}
    ~TOpenPort() { CloseComPort(Handle); }
    TOpenPort(const TOpenPort&) = delete;
    TOpenPort& operator=(const TOpenPort&) = delete;
    const std::uint32_t Handle;
};

int RunIdentify(const TCliOptions& options, std::ostream& out, std::ostream& err) {
    const std::string& portName = options.Positional[0];
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
        // A port that does not open leaves an invalid handle; the first exchange on it
        // reports 1.
        const TOpenPort port(portName);
        result =
            IdentifyInstrument(ui, port.Handle, IdentifyTimeoutMs, false, software, serial, type, family);
    }
    if (result != Result::Success) {
        return ReportResult(err, result);
    }
    std::string description;
    if (family == FamilyDosika && type == 0) {
        description = "Running instrument, can not read ID/SN";
    } else {
        DeviceDescription(family, type, serial, description, software);
    }
    out << description << '\n';
    out << "Family: " << static_cast<unsigned>(family) << '\n';
    out << "Type: " << static_cast<unsigned>(type) << '\n';
    out << "Serial: " << static_cast<unsigned>(serial) << '\n';
    out << "Software: " << static_cast<unsigned>(software) << '\n';
    return 0;
}

} // namespace

const TCliCommand& IdentifyCommand() {
    static const TCliCommand command{
        "identify",
        "identify PORT",
        "the instrument that answers on a port",
        "PORT is a serial device (see \"ports\") or a link to one. Line 1 is the\n"
        "description of the instrument that answers, then \"Family: n\", \"Type: n\",\n"
        "\"Serial: n\" and \"Software: n\". Each answer is awaited at most 1 s. When\n"
        "nothing answers, the exit status is the result code, with its message.\n",
        {{}, {"PORT"}, 1, 1},
        RunIdentify,
    };
    return command;
}

} // namespace lumetra::cli
