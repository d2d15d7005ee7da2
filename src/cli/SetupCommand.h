#pragma once
// setup PORT: the control windows' operations from the command line. The command is
// split by family: SetupCommand.cpp holds the options, the help and the connection,
// SetupHalvo.cpp and SetupDosika.cpp what each family's windows do. A family's run
// first opens the instrument as its window opens, then decides every usage error
// (options its type does not offer, numbers that do not fit, questions not confirmed)
// and builds everything it will send; only then does it send, in the fixed order.

#include "cli/ConsoleUserInterface.h"
#include "core/BasicTypes.h"
#include "core/UserInterface.h"
#include "links/InstrumentAdapter.h"

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>

namespace lumetra::cli {

// The options as given; a valued option is empty when it was not given. The values
// have passed the parser's checks of their form, not yet those of the instrument.
struct TSetupOptions {
    std::string Port;
    bool Show = false;
    bool Yes = false;
    bool StopMeasurement = false;

    // Both families.
    bool SetClock = false;
    std::optional<std::string> Interval;  // minutes
    std::optional<std::string> Alarm;     // Halvo: Bq/m³ or pCi/L; Dosika: µSv
    std::optional<std::string> Buzzer;    // Halvo: off|alarm|po216|po218; Dosika: on|off
    std::optional<std::string> RadonMode; // fast|slow
    std::optional<std::string> Pump;      // continuous|interval
    bool Stop = false;

    // The Halvo control window.
    std::optional<std::string> Units; // si|us
    std::optional<std::string> Cell;  // s|m|l|xl
    bool LongInterval = false;
    bool ShortInterval = false;
    bool Lock = false;
    bool Unlock = false;
    bool Clear = false;
    bool Start = false;
    bool Battery = false;
    bool Recent = false;

    // The Dosika control window and the dose coefficient window.
    std::optional<std::string> UserID;
    std::optional<std::string> Country;
    std::optional<std::string> Region;
    std::optional<std::string> Entry;
    std::optional<std::string> Button;   // locked|unlocked
    std::optional<std::string> DoseMode; // on|off
    std::optional<std::string> USUnits;  // on|off
    std::optional<std::string> DoseCoefficient; // public|workers|VALUE
    std::optional<std::string> Equilibrium;
    bool ClearAndStart = false;
    bool SwitchOff = false;

    // The analog sensor window.
    std::optional<std::string> AOut1Range;
    std::optional<std::string> AOut1Alarm;
    std::optional<std::string> AOut2Range;
    std::optional<std::string> AOut2Alarm;
    std::optional<std::string> DOut;         // alarm|pulse
    std::optional<std::string> PulseSources; // roi1,..,roi5,rht | none
    std::optional<std::string> Dac;          // MV1:MV2
    std::optional<std::string> Switch;       // on|off
    bool Values = false;
};

// One run of the command: what the family operations share.
struct TSetupRun {
    const TSetupOptions& Options;
    TConsoleUserInterface& Ui;
    std::ostream& Out;
    std::ostream& Err;
    // Set by a family operation, before it sent anything, for a command line the
    // instrument's type cannot take; the command then ends with a usage error.
    std::optional<std::string> UsageError;
    // A family operation ran: it reported its own failures as it met them.
    bool Opened = false;

    TTranslate Translate() const {
        return [&ui = Ui](const std::string& english) { return ui.Translate(english); };
    }
};

// An option and whether the window offers its control for the instrument at hand.
struct TOfferedOption {
    const char* Name;
    bool Given;
    bool Offered;
};

// Sets the usage error for the first option given that is not offered, naming the
// option and the instrument's type; false when there is one.
bool AllOffered(TSetupRun& run, std::initializer_list<TOfferedOption> options, Byte family, Byte type);

// "Thoron-Halvo (Halvo family, type 6)"; "Dosika family, type 3" for a type without a name.
std::string TypeDescription(Byte family, Byte type);

// Sets the usage error "OPTION: message"; gives false, so a check can end with it.
bool RefuseOption(TSetupRun& run, const std::string& option, const std::string& message);

// What an operation ends with: its success text on stdout (each '\r' a line end), or the
// result's message on stderr. Gives the result.
Byte ReportOperation(TSetupRun& run, Byte result, const std::string& successText);

// The result's message on stderr; the codes the window leaves silent get a word too.
void ReportFailure(TSetupRun& run, Byte result);

// Prints "Label: value".
void ShowLine(TSetupRun& run, const std::string& label, const std::string& value);

[[nodiscard]] Byte RunHalvoSetup(TSetupRun& run, const TComPort& port);
[[nodiscard]] Byte RunDosikaSetup(TSetupRun& run, const TComPort& port);

} // namespace lumetra::cli
