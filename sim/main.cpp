// lumetra-sim: simulated instruments on a pseudo-terminal, for tests and demos.

#include "common/SimPty.h"
#include "dosika/DosikaSimOptions.h"
#include "dosika/DosikaSimSeries.h"
#include "dosika/DosikaSimulator.h"
#include "halvo/HalvoSimOptions.h"
#include "halvo/HalvoSimSeries.h"
#include "halvo/HalvoSimulator.h"
#include "modem/ModemSimulator.h"

#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <pthread.h>
#include <string>

using namespace lumetra::sim;

namespace {

constexpr int kUsageError = 64;

const char* const kUsage =
    "Usage: lumetra-sim halvo --type T [OPTIONS] [--link PATH]\n"
    "       lumetra-sim dosika --type T [OPTIONS] [--link PATH]\n"
    "       lumetra-sim modem [--echo|--no-echo] [--slow-result] [--link PATH]\n"
    "\n"
    "Simulates an instrument or a modem on a pseudo-terminal. Prints the slave device\n"
    "path, serves until SIGINT or SIGTERM, then removes the link.\n"
    "\n"
    "halvo: a Halvo-family instrument. Options:\n"
    "  --type T          instrument type, 1 to 10 (required)\n"
    "  --software V      firmware version, 0 to 255 (default 8)\n"
    "  --serial N        serial number, 0 to 65535 (default 1234)\n"
    "  --records N       stored records generated from a daily radon cycle (default 100)\n"
    "  --interval MIN    sample interval of the records and the setup, 1 to 255 (default 60)\n"
    "  --radon BQ        mean radon concentration in Bq/m3 (default 100)\n"
    "  --seed S          seed of the Poisson counts (default 1)\n"
    "  --battery CODE    the battery answer's code (default 200): 16 bits, 0 to 65535,\n"
    "                    from types 4, 6, 10 (volts = CODE x 0.01801 on 4 and 10,\n"
    "                    x 0.00323 on 6); one byte, 0 to 255, from the others\n"
    "                    (volts = CODE x 3.3 / 510)\n"
    "  --recent ITEMS    the recent readings (command 20) as KEY=VALUE items separated\n"
    "                    by commas; keys not given keep their defaults:\n"
    "                      interval      minutes, 0 to 255 (default: the setup's)\n"
    "                      time          YYYY-MM-DDThh:mm, year 2000 to 2255\n"
    "                      radon, radon2 concentrations (radon2: thoron, on type 3\n"
    "                                    the average radon)\n"
    "                      radon-error, radon2-error   %, 0 to 255\n"
    "                      temperature, humidity, pressure   numbers\n"
    "                      tilts         signed 32 bits\n"
    "                    e.g. --recent radon=85.5,radon-error=12,time=2018-01-02T09:05\n"
    "  --delay MS        answer delay in milliseconds (default 0)\n"
    "  --fault FAULT     a scripted fault, may be repeated (see below)\n"
    "  --link PATH       make PATH a symbolic link to the slave (an existing link is replaced)\n"
    "\n"
    "FAULT: KIND[:SELECTOR][:COUNT] hits the first COUNT matching requests\n"
    "(default 1; without selector every request). Requests are numbered from 1 as they\n"
    "arrive, retries included.\n"
    "  SELECTOR  N       request N and later ones (silent:3:2 = requests 3 and 4)\n"
    "            rec:N   requests for stored record N, retries of it included\n"
    "            cmd:C   requests with command code C (12 or 0x0C)\n"
    "  KIND      silent  no answer\n"
    "            garble  first payload byte of the answer inverted\n"
    "            badend  wrong end byte\n"
    "            short   the answer cut to 5 bytes\n"
    "            echo    the request sent back before the answer\n"
    "            refuse  status 255 instead of the answer\n"
    "  Flags     too-new     identity answered with status 22\n"
    "            mute        nothing is ever answered\n"
    "            badtime:N   stored record N gets month 0\n"
    "Examples: --fault silent:rec:3:2   --fault garble:cmd:12   --fault echo\n"
    "\n"
    "dosika: a Dosika-family instrument (1 Dosika, 2 Dosika PRO, 3 Morvel, 4 KVX5210,\n"
    "5 Senra-R, 6 Senra-P). Options:\n"
    "  --type T          instrument type, 1 to 6 (required)\n"
    "  --software V      firmware version, 0 to 255 (default 5); the formats change with\n"
    "                    type 1 software 4 / 5 / 10, types 2 and 5 software 10 and\n"
    "                    type 3 software 9 / 10\n"
    "  --serial N        serial number, 0 to 65535 (default 4321)\n"
    "  --records N       stored records generated from a daily radon cycle (default 48;\n"
    "                    at most what one 65535-byte record block holds)\n"
    "  --interval MIN    sample interval, 1 to 255 (default 60)\n"
    "  --radon BQ        mean radon concentration in Bq/m3 (default 300)\n"
    "  --seed S          seed of the Poisson counts (default 1)\n"
    "  --measuring       measuring: the reads of identity, calibration, setup and stored\n"
    "                    data are refused with status 1; every other command, stop\n"
    "                    included, is answered\n"
    "  --post-exposure   measuring, and stop is answered with status 5\n"
    "  --echo            every request is sent back before its answer\n"
    "  --actual ITEMS    types 5 and 6: the readings of commands 0x62-0x65 as KEY=VALUE\n"
    "                    items separated by commas; keys not given keep their defaults:\n"
    "                      radon, thoron         Bq/m3, signed 32 bits, -1 = no value\n"
    "                      radon-error, thoron-error   %, 0 to 255\n"
    "                      temperature-code, humidity-code   0 to 255, 255 = no value\n"
    "                      aout1, aout2          mV, 0 to 65535, 1023 and up = not valid\n"
    "                      status                status byte of the four answers\n"
    "                    e.g. --actual radon=120,radon-error=8,thoron=-1,aout1=1022\n"
    "                    A DAC test (0x25) sets aout1 and aout2 to its values.\n"
    "  --delay MS        answer delay in milliseconds (default 0)\n"
    "  --fault FAULT     a scripted fault, may be repeated (see below)\n"
    "  --link PATH       make PATH a symbolic link to the slave (an existing link is replaced)\n"
    "\n"
    "FAULT: KIND[@K][:SELECTOR][:COUNT] hits the first COUNT matching requests the kind\n"
    "can act on (default 1; without selector every one).\n"
    "  SELECTOR  N       request N and later ones\n"
    "            cmd:C   requests with command code C (0x61 or 97)\n"
    "  KIND      silent        no answer\n"
    "            noend[@K]     download answer without its closing frame (only K frames)\n"
    "            checksum[@K]  frame K of the answer (default 1) with a wrong checksum\n"
    "            complement[@K] frame K with a wrong length complement\n"
    "            oddblock      record block one byte longer than whole records\n"
    "            blocklength   record block length field one off\n"
    "            spectrumsize  spectrum of the other types' length (240 / 150 bytes)\n"
    "            echo          the request sent back before the answer\n"
    "            refuse        status 1 instead of the answer\n"
    "            refuse-while-measuring  status 1 instead of the answer while the\n"
    "                          instrument measures (e.g. to clock, DAC or switch\n"
    "                          commands, which it answers otherwise)\n"
    "            reject        status 0xFF instead of the answer\n"
    "Examples: --fault noend:cmd:0x61   --fault checksum@2:cmd:0x60   --fault oddblock\n"
    "          --fault refuse-while-measuring:cmd:0x25:0  (every DAC test while measuring)\n"
    "\n"
    "modem: a Hayes modem in command state; answers OK to AT commands, NO CARRIER to\n"
    "dialling, OK to \"+++\" after a second of silence. Options:\n"
    "  --echo            echo the command lines (the default; E1)\n"
    "  --no-echo         do not echo them (E0); AT&F restores the chosen setting\n"
    "  --slow-result     send each result a second after the echo, in a later read\n"
    "  --link PATH       make PATH a symbolic link to the slave\n"
    "\n"
    "  --help            this text\n";

template <typename T> bool ParseValue(const std::string& text, T& value, T low, T high) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return !text.empty() && ec == std::errc() && ptr == end && value >= low && value <= high;
}

bool ParseReal(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && value >= 0.0 && value < 1e9;
}

int UsageError(const std::string& message) {
    std::cerr << "lumetra-sim: " << message << "\nTry 'lumetra-sim --help'.\n";
    return kUsageError;
}

// Serves the device until SIGINT or SIGTERM.
int Serve(TSimDevice& device, const std::string& link) {
    // Blocked before the server thread starts, so only sigwait below sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    TPtyServer server(device);
    std::string error;
    if (!server.Start(link, error)) {
        std::cerr << "lumetra-sim: " << error << "\n";
        return 1;
    }
    std::cout << server.SlavePath() << std::endl;
    int received = 0;
    sigwait(&signals, &received);
    server.Stop();
    return 0;
}

bool IsHelp(const std::string& option) { return option == "--help" || option == "-h"; }

// The series options of both instruments: whether the value is good; nothing when the
// option is none of them.
template <typename TSeries>
std::optional<bool> SeriesOption(const std::string& option, const std::string& value, TSeries& series) {
    if (option == "--records") {
        return ParseValue<std::size_t>(value, series.Count, 0, 1000000);
    }
    if (option == "--interval") {
        return ParseValue<std::uint8_t>(value, series.Interval, 1, 255);
    }
    if (option == "--radon") {
        return ParseReal(value, series.RadonMean);
    }
    if (option == "--seed") {
        return ParseValue<std::uint64_t>(value, series.Seed, 0, UINT64_MAX);
    }
    return std::nullopt;
}

int RunHalvo(int argc, char** argv) {
    THalvoSimState state;
    THalvoSeries series;
    std::string link;
    std::vector<THalvoFault> faults;
    std::vector<std::uint32_t> badTimes;
    std::vector<std::string> recent;
    bool haveType = false;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (IsHelp(option)) {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc) {
            return UsageError(option.rfind("--", 0) == 0 ? "missing value for " + option : "unexpected '" + option + "'");
        }
        const std::string value = argv[++i];
        bool ok = true;
        if (const std::optional<bool> good = SeriesOption(option, value, series)) {
            ok = *good;
        } else if (option == "--type") {
            ok = ParseValue<std::uint8_t>(value, state.DeviceType, 1, 10);
            haveType = ok;
        } else if (option == "--software") {
            ok = ParseValue<std::uint8_t>(value, state.SoftwareVersion, 0, 255);
        } else if (option == "--serial") {
            ok = ParseValue<std::uint16_t>(value, state.DeviceNumber, 0, 65535);
        } else if (option == "--battery") {
            ok = ParseValue<std::uint16_t>(value, state.BatteryRaw, 0, 65535);
        } else if (option == "--recent") {
            THalvoRecent check;
            std::string error;
            if (!ParseHalvoRecent(value, check, error)) {
                return UsageError(error);
            }
            recent.push_back(value);
        } else if (option == "--delay") {
            ok = ParseValue<int>(value, state.AnswerDelayMs, 0, 600000);
        } else if (option == "--link") {
            link = value;
        } else if (option == "--fault") {
            THalvoFaultOption parsed;
            std::string error;
            if (!ParseHalvoFault(value, parsed, error)) {
                return UsageError(error);
            }
            state.TooNew = state.TooNew || parsed.TooNew;
            state.Mute = state.Mute || parsed.Mute;
            if (parsed.BadTimeRecord != 0) {
                badTimes.push_back(parsed.BadTimeRecord);
            }
            if (parsed.IsFault) {
                faults.push_back(parsed.Fault);
            }
        } else {
            return UsageError("unknown option '" + option + "'");
        }
        if (!ok) {
            return UsageError("bad value '" + value + "' for " + option);
        }
    }
    if (!haveType) {
        return UsageError("--type is required");
    }
    if (!HalvoBatteryFits(state.DeviceType, state.BatteryRaw)) {
        return UsageError("--battery: type " + std::to_string(state.DeviceType) + " sends one byte, 0 to 255");
    }

    state.SampleInterval = series.Interval;
    state.Recent.Interval = series.Interval;
    for (const std::string& items : recent) {
        std::string error;
        (void)ParseHalvoRecent(items, state.Recent, error); // checked when read
    }
    state.Records = GenerateHalvoRecords(state, series);
    for (const std::uint32_t n : badTimes) {
        if (n <= state.Records.size()) {
            state.Records[n - 1].Month = 0;
        }
    }
    THalvoSimulator simulator(std::move(state));
    for (const THalvoFault& fault : faults) {
        simulator.AddFault(fault);
    }

    return Serve(simulator, link);
}

int RunDosika(int argc, char** argv) {
    std::uint8_t type = 0;
    std::uint8_t software = 5;
    std::uint16_t serial = 4321;
    TDkSeries series;
    bool measuring = false, postExposure = false, echo = false;
    int delay = 0;
    std::string link;
    std::vector<TDkFault> faults;
    std::vector<std::string> actual;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (IsHelp(option)) {
            std::cout << kUsage;
            return 0;
        }
        if (option == "--measuring" || option == "--post-exposure" || option == "--echo") {
            measuring = measuring || option == "--measuring";
            postExposure = postExposure || option == "--post-exposure";
            echo = echo || option == "--echo";
            continue;
        }
        if (i + 1 >= argc) {
            return UsageError(option.rfind("--", 0) == 0 ? "missing value for " + option : "unexpected '" + option + "'");
        }
        const std::string value = argv[++i];
        bool ok = true;
        if (const std::optional<bool> good = SeriesOption(option, value, series)) {
            ok = *good;
        } else if (option == "--type") {
            ok = ParseValue<std::uint8_t>(value, type, 1, 6);
        } else if (option == "--software") {
            ok = ParseValue<std::uint8_t>(value, software, 0, 255);
        } else if (option == "--serial") {
            ok = ParseValue<std::uint16_t>(value, serial, 0, 65535);
        } else if (option == "--delay") {
            ok = ParseValue<int>(value, delay, 0, 600000);
        } else if (option == "--actual") {
            TDkSimValues check;
            std::string error;
            if (!ParseDkValues(value, check, error)) {
                return UsageError(error);
            }
            actual.push_back(value);
        } else if (option == "--link") {
            link = value;
        } else if (option == "--fault") {
            TDkFault fault;
            std::string error;
            if (!ParseDkFault(value, fault, error)) {
                return UsageError(error);
            }
            faults.push_back(fault);
        } else {
            return UsageError("unknown option '" + option + "'");
        }
        if (!ok) {
            return UsageError("bad value '" + value + "' for " + option);
        }
    }
    if (type == 0) {
        return UsageError("--type is required");
    }
    if (!actual.empty() && !DkSimIsAnalogSensor(type)) {
        return UsageError("--actual: only the analog sensors, types 5 and 6, have these readings");
    }
    const std::size_t capacity = DkSimRecordCapacity(type, software);
    if (series.Count > capacity) {
        return UsageError("--records: a record block of this type holds at most " + std::to_string(capacity));
    }

    TDkSimState state = DkSimDefaultState(type, software);
    state.SerialNumber = serial;
    state.Measuring = measuring || postExposure;
    state.PostExposure = postExposure;
    state.Echo = echo;
    state.AnswerDelayMs = delay;
    for (const std::string& items : actual) {
        std::string error;
        (void)ParseDkValues(items, state.Values, error); // checked when read
    }
    GenerateDkData(state, series);
    TDosikaSimulator simulator(std::move(state));
    for (const TDkFault& fault : faults) {
        simulator.AddFault(fault);
    }
    return Serve(simulator, link);
}

int RunModem(int argc, char** argv) {
    TModemSimOptions options;
    std::string link;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (IsHelp(option)) {
            std::cout << kUsage;
            return 0;
        }
        if (option == "--echo" || option == "--no-echo") {
            options.Echo = option == "--echo";
        } else if (option == "--slow-result") {
            options.SlowResult = true;
        } else if (option == "--link") {
            if (i + 1 >= argc) {
                return UsageError("missing value for --link");
            }
            link = argv[++i];
        } else {
            return UsageError("unknown option '" + option + "'");
        }
    }
    TModemSimulator simulator(options);
    return Serve(simulator, link);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return kUsageError;
    }
    const std::string family = argv[1];
    if (IsHelp(family)) {
        std::cout << kUsage;
        return 0;
    }
    if (family == "halvo") {
        return RunHalvo(argc, argv);
    }
    if (family == "dosika") {
        return RunDosika(argc, argv);
    }
    if (family == "modem") {
        return RunModem(argc, argv);
    }
    return UsageError("unknown simulator '" + family + "'");
}
