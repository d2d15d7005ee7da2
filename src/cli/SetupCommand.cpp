// setup PORT: the options, the help, the connection through the instrument layer, and
// what both families' runs share.

#include "cli/SetupCommand.h"

#include "cli/CliCommands.h"
#include "cli/HelpFormatter.h"
#include "cli/OptionKinds.h"
#include "core/DeviceIdentification.h"
#include "core/EditValues.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "instrument/InstrumentConnection.h"

#include <algorithm>
#include <sstream>
#include <unistd.h>

namespace lumetra::cli {
namespace {

const char* const SetupDetails =
    "PORT is a serial device (see \"ports\"). The instrument is opened as its control\n"
    "window opens: a Halvo's identity and, for types 3, 4, 5, 6 and 10, its setup; a\n"
    "Dosika's identity, calibration and setup, a measuring one stopped only with\n"
    "--stop-measurement (else 15). Then every option is checked against the type before\n"
    "anything is sent. The operations run in this order, whatever their order on the\n"
    "command line; each prints its success text on stdout, or its result's message on\n"
    "stderr, and the first failure ends the run.\n"
    "\n"
    "Halvo family:\n"
    "   1 --stop                \"Sampling stopped!\"\n"
    "   2 --set-clock           \"Clock set to: \" date and time\n"
    "   3 --interval, --alarm, --buzzer, --radon-mode, --pump, --units, --cell\n"
    "                           \"Setup successful!\"\n"
    "   4 --long-interval       \"Sample interval set to 3 hours!\"\n"
    "     --short-interval      \"Sample interval set to 1 hour!\"\n"
    "   5 --lock, --unlock      \"Switch locked!\", \"Switch unlocked!\"\n"
    "   6 --clear               \"Data memory cleared!\"\n"
    "   7 --start               \"Sampling started!\"\n"
    "   8 --battery             \"Battery Voltage per Cell: \" volts, e.g. \"1.29V\"\n"
    "   9 --recent              the eight lines of the recent readings\n"
    "  10 --show\n"
    "\n"
    "Dosika family:\n"
    "   1 --set-clock           \"Clock set to: \" date and time\n"
    "   2 --user-id, --alarm, --country, --region, --entry, --interval, --buzzer,\n"
    "     --pump, --button, --radon-mode, --dose-mode, --us-units\n"
    "                           \"Setup successful!\"\n"
    "   3 --dose-coefficient, --equilibrium\n"
    "                           \"Dose Coefficients written!\"\n"
    "   4 --aout1-range, --aout1-alarm, --aout2-range, --aout2-alarm, --dout,\n"
    "     --pulse-sources       \"Setup successful\"\n"
    "   5 --dac                 \"DAC Output updated!\"\n"
    "   6 --switch              \"Switch Output updated!\"\n"
    "   7 --clear-and-start     \"Measurement started!\"\n"
    "   8 --stop                \"Measurement stopped!\"\n"
    "   9 --switch-off          \"Instrument switched off!\"\n"
    "  10 --values              Radon/EEC, Thoron/Po-218, Temperature, Humidity,\n"
    "                           Analog Out 1, Analog Out 2 (mV and mA), one line each\n"
    "  11 --show\n"
    "\n"
    "The setup options change only the controls they name: every other setting is\n"
    "written back as it was read (types 7, 8 and 9, whose setup is not read, start from\n"
    "interval 60 and alarm 200 Bq/m³).\n"
    "\n"
    "--show prints one \"Label: value\" line per control the window enables, as it shows\n"
    "it once the operations before it are done:\n"
    "  Halvo:  Sampling Interval: 60 min | Alarm Level: 200 Bq/m³ (in pCi/L with one\n"
    "          decimal in US units) | Buzzer: OFF, Alarm, Po-216 or Po-216/Po-218 |\n"
    "          Radon Mode: Fast or Slow | Pump Mode: Continuous or Interval |\n"
    "          Units: SI Style or US Style | Lucas Cell: Size S, M, L or XL\n"
    "  Dosika: Country Code | Region Code | Entry Code | User ID | Alarm Level: N µSv |\n"
    "          Sampling Interval: N Minutes | one line per mode switch with the\n"
    "          window's texts (Buzzer: On/Off, Pump Mode: Interval/Contineous,\n"
    "          Button: Locked/Unlocked, Radon Mode: Slow/Fast, Mode: Mode 1/Mode 2,\n"
    "          Dose Mode: On/Off) | US unit system: on or off;\n"
    "          types 1, 2 add the dose window's Dose Conversion Coefficient g(EEC) or\n"
    "          g(pot) and (type 1) Equilibrium Factor F; types 5, 6 add the analog\n"
    "          window's Analog Output 1 Range, Analog Output 1 Alarm, Analog Output 2\n"
    "          Range, Analog Output 2 Alarm (Bq/m³), Digital Output Mode: Alarm or\n"
    "          Pulse, and in pulse mode Pulse Sources: ROI1, ..., rH/T or none.\n"
    "\n"
    "Exit status: 0; the result code (1 to 19) of the failed operation with its\n"
    "message (15: a measuring Dosika not stopped; 9: a modem answered; 18: TCP-IP,\n"
    "which cannot be reached yet); 64 a usage error, before anything is sent: an\n"
    "option the instrument's type does not offer, a number that does not fit its\n"
    "field, --stop (Halvo), --clear or --clear-and-start (Dosika 1-4) without --yes.\n";

// "none", or sources from roi1..roi5 and rht separated by commas.
CLI::Validator PulseSourceList() {
    return CLI::Validator(
        [](const std::string& text) {
            if (text == "none") {
                return std::string();
            }
            std::istringstream items(text);
            std::string item;
            int count = 0;
            while (std::getline(items, item, ',')) {
                ++count;
                static const char* const Known[] = {"roi1", "roi2", "roi3", "roi4", "roi5", "rht"};
                if (std::none_of(std::begin(Known), std::end(Known), [&item](const char* k) { return item == k; })) {
                    return "'" + item + "' is none of roi1 to roi5 and rht";
                }
            }
            if (count == 0 || text.back() == ',') {
                return std::string("names no source");
            }
            return std::string();
        },
        "");
}

// "MV1:MV2", both plain decimal numbers.
CLI::Validator DacPair() {
    return CLI::Validator(
        [](const std::string& text) {
            const auto colon = text.find(':');
            const auto plain = [](const std::string& part) {
                return !part.empty() && std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
            };
            if (colon == std::string::npos || !plain(text.substr(0, colon)) || !plain(text.substr(colon + 1))) {
                return "'" + text + "' is not MV1:MV2";
            }
            return std::string();
        },
        "");
}

// "public", "workers", or a coefficient as the dose window reads it: a number of at
// most four characters (the window reads the first four, "7.80").
CLI::Validator DoseCoefficientValue() {
    return CLI::Validator(
        [](const std::string& text) {
            if (text == "public" || text == "workers") {
                return std::string();
            }
            const auto value = ParseNumberText(text);
            if (text.size() > 4 || !value || *value <= 0 || text[0] == '+' || text[0] == ' ') {
                return "'" + text + "' is neither public, workers nor a number above 0 of at most four characters";
            }
            return std::string();
        },
        "");
}

CLI::Option* AddOperation(CLI::App& command, const std::string& name, std::optional<std::string>& value,
                          const std::string& typeName, const std::string& description) {
    return command.add_option(name, value, description)->type_name(typeName)->group(OperationGroup);
}

CLI::Option* AddOperationFlag(CLI::App& command, const std::string& name, bool& value,
                              const std::string& description) {
    return AddFlag(command, name, value, description)->group(OperationGroup);
}

void AddOptions(CLI::App& command, TSetupOptions& o) {
    command.add_option("PORT", o.Port)->required();
    AddFlag(command, "--show", o.Show, "prints the setup as the windows show it (last; see below)");

    AddOperationFlag(command, "--set-clock", o.SetClock,
                     "sets the instrument's clock to this computer's time. Both families, every type");
    AddOperationFlag(command, "--stop", o.Stop,
                     "Halvo types 3, 4, 6, 10: stops sampling (asks, so needs --yes). Dosika types 5, 6: "
                     "stops the measurement");
    AddOperation(command, "--interval", o.Interval, "MIN",
                 "the sampling interval in minutes, 0 to 255. Halvo types 3, 4, 5, 6, 10; Dosika every type")
        ->check(DecimalNumber());
    AddOperation(command, "--alarm", o.Alarm, "LEVEL",
                 "the alarm level. Halvo types 3 (software 10 and later), 4, 6, 10: in pCi/L when the "
                 "setup ends in US units, else Bq/m³ (decimals allowed). Dosika types 1, 2, 3: µSv, "
                 "0 to 65535")
        ->check(DecimalFraction());
    AddOperation(command, "--buzzer", o.Buzzer, "off|alarm|po216|po218|on",
                 "Halvo types 4, 6, 10: off, alarm, po216 or po218 (Po-216/Po-218). Dosika types 1, 2, 3 "
                 "(mode switch 0): on or off")
        ->check(OneOf({"off", "alarm", "po216", "po218", "on"}));
    AddOperation(command, "--radon-mode", o.RadonMode, "fast|slow",
                 "Halvo types 4, 6, 10; Dosika types 1, 3, 4, 5, 6 (mode switch 2)")
        ->check(OneOf({"fast", "slow"}));
    AddOperation(command, "--pump", o.Pump, "continuous|interval",
                 "the pump mode. Halvo types 4, 10; Dosika type 4 (mode switch 0)")
        ->check(OneOf({"continuous", "interval"}));
    AddOperation(command, "--units", o.Units, "si|us",
                 "Halvo types 3, 4, 5, 6, 7, 8, 9, 10: the units of the setup (SI Style or US Style)")
        ->check(OneOf({"si", "us"}));
    AddOperation(command, "--cell", o.Cell, "s|m|l|xl", "Halvo type 5: the Lucas cell size")
        ->check(OneOf({"s", "m", "l", "xl"}));
    CLI::Option* longInterval =
        AddOperationFlag(command, "--long-interval", o.LongInterval, "Halvo types 1, 2, 3: sampling interval 3 hours");
    CLI::Option* shortInterval =
        AddOperationFlag(command, "--short-interval", o.ShortInterval, "Halvo types 1, 2, 3: sampling interval 1 hour");
    longInterval->excludes(shortInterval);
    CLI::Option* lock = AddOperationFlag(command, "--lock", o.Lock, "Halvo, every type: locks the button/switch");
    CLI::Option* unlock = AddOperationFlag(command, "--unlock", o.Unlock, "Halvo, every type: unlocks it");
    lock->excludes(unlock);
    AddOperationFlag(command, "--clear", o.Clear,
                     "Halvo, every type: clears the data memory (asks, so needs --yes)");
    AddOperationFlag(command, "--start", o.Start, "Halvo types 4, 6, 10: starts sampling");
    AddOperationFlag(command, "--battery", o.Battery, "Halvo types 2, 3, 4, 5, 6, 10: the battery voltage per cell");
    AddOperationFlag(command, "--recent", o.Recent,
                     "Halvo types 3 (software 6 and later), 4 and 10 (7 and later), 6 (9 and later): the "
                     "recent readings");

    AddOperation(command, "--user-id", o.UserID, "N", "Dosika types 1, 2, 3, 4: 0 to 65535")->check(DecimalNumber());
    AddOperation(command, "--country", o.Country, "N", "Dosika, every type: the country code, 0 to 255")
        ->check(DecimalNumber());
    AddOperation(command, "--region", o.Region, "N", "Dosika, every type: the region code, 0 to 255")
        ->check(DecimalNumber());
    AddOperation(command, "--entry", o.Entry, "N", "Dosika, every type: the entry code, 0 to 255")
        ->check(DecimalNumber());
    AddOperation(command, "--button", o.Button, "locked|unlocked", "Dosika types 1, 2, 3, 4 (mode switch 1)")
        ->check(OneOf({"locked", "unlocked"}));
    AddOperation(command, "--dose-mode", o.DoseMode, "on|off", "Dosika type 2 (mode switch 2)")
        ->check(OneOf({"on", "off"}));
    AddOperation(command, "--us-units", o.USUnits, "on|off", "Dosika types 1, 2: the US unit system")
        ->check(OneOf({"on", "off"}));
    AddOperation(command, "--dose-coefficient", o.DoseCoefficient, "public|workers|VALUE",
                 "Dosika types 1, 2: the dose conversion coefficient, a line of the window's list or a "
                 "number (at most four characters: g(EEC) in nSv/(Bqh/m³) on type 1, g(pot) in "
                 "Sv/(Jh/m³) on type 2). On type 1 the product g × F the instrument holds stays "
                 "unless --equilibrium is given too")
        ->check(DoseCoefficientValue());
    AddOperation(command, "--equilibrium", o.Equilibrium, "F",
                 "Dosika type 1: the equilibrium factor, 0.2 to 1; the coefficient stays as the window "
                 "opens (7.80, workers) unless --dose-coefficient is given too")
        ->check(DecimalFraction());
    AddOperation(command, "--aout1-range", o.AOut1Range, "N", "Dosika types 5, 6: Bq/m³")->check(DecimalNumber());
    AddOperation(command, "--aout1-alarm", o.AOut1Alarm, "N", "Dosika types 5, 6: Bq/m³")->check(DecimalNumber());
    AddOperation(command, "--aout2-range", o.AOut2Range, "N", "Dosika types 5, 6: Bq/m³")->check(DecimalNumber());
    AddOperation(command, "--aout2-alarm", o.AOut2Alarm, "N", "Dosika types 5, 6: Bq/m³")->check(DecimalNumber());
    AddOperation(command, "--dout", o.DOut, "alarm|pulse", "Dosika types 5, 6: the digital output mode")
        ->check(OneOf({"alarm", "pulse"}));
    AddOperation(command, "--pulse-sources", o.PulseSources, "roi1,..,roi5,rht|none",
                 "Dosika types 5, 6, in pulse mode (as read, or with --dout pulse): the sources of the "
                 "pulses, replacing those set")
        ->check(PulseSourceList());
    AddOperation(command, "--dac", o.Dac, "MV1:MV2", "Dosika types 5, 6: sets the analog outputs, 0 to 65535 mV")
        ->check(DacPair());
    AddOperation(command, "--switch", o.Switch, "on|off", "Dosika types 5, 6: sets the switch output")
        ->check(OneOf({"on", "off"}));
    AddOperationFlag(command, "--clear-and-start", o.ClearAndStart,
                     "Dosika, every type: clears the memory and starts a measurement (types 1 to 4 ask, "
                     "so need --yes)");
    AddOperationFlag(command, "--switch-off", o.SwitchOff, "Dosika types 1, 2, 3, 4: switches the instrument off");
    AddOperationFlag(command, "--values", o.Values, "Dosika types 5, 6: the current readings");

    AddFlag(command, "--yes", o.Yes,
            "answers \"You really want to ...?\" with Yes (--stop and --clear of a Halvo, --clear-and-start "
            "of Dosika types 1 to 4); without it they are refused before anything is sent");
    AddFlag(command, "--stop-measurement", o.StopMeasurement,
            "answers \"Stop measurement?\" with Yes: a measuring Dosika-family instrument is stopped and "
            "opened (without it: No, and 15)");
}

int RunSetup(const TSetupOptions& options, std::ostream& out, std::ostream& err) {
    TConsoleUserInterface ui(err, ::isatty(STDERR_FILENO) == 1);
    ui.YesNoAnswers["Stop measurement?"] = options.StopMeasurement;
    TSetupRun run{options, ui, out, err, std::nullopt, false};
    const TFamilyOperations operations{
        [&run](const TComPort& port, const TInstrumentIdentity&) { return RunDosikaSetup(run, port); },
        [&run](const TComPort& port, const TInstrumentIdentity&) { return RunHalvoSetup(run, port); },
    };
    TInstrumentIdentity identity;
    const Byte result = RunOnInstrument(ui, options.Port, TConnectionPurpose::Setup, operations, identity);
    if (run.UsageError) {
        return ReportUsageError(err, "setup: " + *run.UsageError);
    }
    if (result != Result::Success && !run.Opened) {
        ReportFailure(run, result);
    }
    return result;
}

} // namespace

std::string TypeDescription(Byte family, Byte type) {
    std::string name;
    DeviceName(family, type, name);
    const std::string familyName = family == FamilyHalvo ? "Halvo" : "Dosika";
    const std::string plain = familyName + " family, type " + std::to_string(type);
    return name.empty() ? plain : name + " (" + plain + ")";
}

bool RefuseOption(TSetupRun& run, const std::string& option, const std::string& message) {
    run.UsageError = option + ": " + message;
    return false;
}

bool AllOffered(TSetupRun& run, std::initializer_list<TOfferedOption> options, Byte family, Byte type) {
    for (const TOfferedOption& option : options) {
        if (option.Given && !option.Offered) {
            return RefuseOption(run, option.Name, "not offered for the " + TypeDescription(family, type));
        }
    }
    return true;
}

void ReportFailure(TSetupRun& run, Byte result) {
    switch (result) {
    case Result::Declined:
        run.Err << "Measurement running; setup declined (use --stop-measurement).\n";
        break;
    case Result::NotConvertible:
        run.Err << "The instrument's calibration bytes cannot be converted (CAL1 or CAL2 is 0); nothing was "
                   "written.\n";
        break;
    case Result::LengthMismatch:
        run.Err << "The instrument's answer has an unexpected length.\n";
        break;
    case Result::FamilyNotSupported:
        run.Err << "A modem or another link answered; it cannot be set up by the command-line tool yet.\n";
        break;
    default:
        ReportResult(run.Err, result);
        break;
    }
}

Byte ReportOperation(TSetupRun& run, Byte result, const std::string& successText) {
    if (result != Result::Success) {
        ReportFailure(run, result);
        return result;
    }
    std::string text = successText;
    std::replace(text.begin(), text.end(), '\r', '\n');
    run.Out << text;
    if (text.empty() || text.back() != '\n') {
        run.Out << '\n';
    }
    return result;
}

void ShowLine(TSetupRun& run, const std::string& label, const std::string& value) {
    run.Out << run.Ui.Translate(label) << ": " << value << '\n';
}

void AddSetupCommand(TCliCommands& commands) {
    auto [command, options] = commands.Add("setup", "the control windows' operations on the instrument on a port",
                                           SetupDetails, RunSetup);
    AddOptions(command, options);
}

} // namespace lumetra::cli
