// setup against lumetra-sim processes: what a run changes is read back by a second
// lumetra-cli process (setup --show, or a download), never taken from the first run's
// own output. The simulators start from their defaults: Halvo interval 60, alarm 300
// Bq/m³, setup word 0; Dosika codes 49/1/0, user 0, alarm 1000, interval 60, setup byte
// 0, calibration 50/40/26/21 on type 1 (7.80 x 0.40) and CAL2 14 on type 2.
// Dates in the C locale (MM/DD/YY).

#include "cli/CliProcess.h"
#include "cli/OutputLines.h"
#include "cli/SimProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

namespace lumetra::test {
namespace {

struct TSimulated {
    std::string Kind; // halvo or dosika
    std::vector<std::string> Options;
};

std::string Described(const TSimulated& sim, const std::vector<std::string>& args) {
    std::string text = sim.Kind;
    for (const auto& word : sim.Options) {
        text += " " + word;
    }
    text += " |";
    for (const auto& word : args) {
        text += " " + word;
    }
    return text;
}

// "Clock set to: " and the time of this computer now, in the C locale.
std::string ClockLine(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[64];
    std::strftime(text, sizeof text, "%x %H:%M", &local);
    return std::string("Clock set to: ") + text;
}

class SetupCommand : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(Sim.Stop()) << "the simulator did not end cleanly: " << SimErrors();
        EXPECT_FALSE(std::filesystem::is_symlink(Link())) << "the simulator left its link behind";
    }

    // A fresh instrument for each case.
    bool Start(const TSimulated& sim) {
        std::string error;
        const bool started = Sim.Start(sim.Kind, sim.Options, Link(), Dir.File("sim.err"), error);
        EXPECT_TRUE(started) << error << SimErrors();
        return started;
    }

    TCliRun Setup(const std::vector<std::string>& args) {
        std::vector<std::string> words{"setup", Link()};
        words.insert(words.end(), args.begin(), args.end());
        return RunLumetraCli(words);
    }

    // What a second process shows of the instrument's setup.
    std::vector<std::string> Shown() {
        const TCliRun show = Setup({"--show"});
        EXPECT_EQ(show.Status, 0) << show.Err;
        return Lines(show.Out);
    }

    std::string SimErrors() const {
        const std::vector<std::uint8_t> bytes = ReadBytes(Dir.File("sim.err"));
        return std::string(bytes.begin(), bytes.end());
    }

    std::string Link() const { return Dir.File("instrument"); }

    TTempDir Dir;
    TSimProcess Sim;
};

TEST_F(SetupCommand, ClockIntervalAndAlarmOfEveryType) {
    const std::vector<std::string> halvoFull{"Sampling Interval: 30 min", "Alarm Level: 500 Bq/m³", "Buzzer: OFF",
                                             "Radon Mode: Slow",          "Pump Mode: Continuous",  "Units: SI Style"};
    const std::vector<std::string> dosikaCodes{"Country Code: 49", "Region Code: 1", "Entry Code: 0"};
    const auto dosika = [&dosikaCodes](std::vector<std::string> lines) {
        lines.insert(lines.begin(), dosikaCodes.begin(), dosikaCodes.end());
        return lines;
    };
    const std::vector<std::string> analog{
        "Sampling Interval: 30 Minutes",           "Radon Mode: Fast",
        "Analog Output 1 Range: 1000 Bq/m³",       "Analog Output 1 Alarm: 10 Bq/m³",
        "Analog Output 2 Range: 1000 Bq/m³",       "Analog Output 2 Alarm: 10 Bq/m³",
        "Digital Output Mode: Alarm"};
    const std::vector<std::string> interval{"--interval", "30"};
    const std::vector<std::string> both{"--interval", "30", "--alarm", "500"};
    const struct {
        TSimulated Sim;
        std::vector<std::string> Args; // what the type offers of the two
        std::vector<std::string> Shown;
    } cases[] = {
        {{"halvo", {"--type", "1"}}, {}, {}},
        {{"halvo", {"--type", "2"}}, {}, {}},
        {{"halvo", {"--type", "3", "--software", "10"}},
         both,
         {"Sampling Interval: 30 min", "Alarm Level: 500 Bq/m³", "Units: SI Style"}},
        {{"halvo", {"--type", "4"}}, both, halvoFull},
        {{"halvo", {"--type", "5"}}, interval, {"Sampling Interval: 30 min", "Units: SI Style", "Lucas Cell: Size S"}},
        {{"halvo", {"--type", "6"}},
         both,
         {"Sampling Interval: 30 min", "Alarm Level: 500 Bq/m³", "Buzzer: OFF", "Radon Mode: Slow", "Units: SI Style"}},
        // Types 7 to 9: the setup is never read, so the window shows its defaults.
        {{"halvo", {"--type", "7"}}, {}, {"Units: SI Style"}},
        {{"halvo", {"--type", "8"}}, {}, {"Units: SI Style"}},
        {{"halvo", {"--type", "9"}}, {}, {"Units: SI Style"}},
        {{"halvo", {"--type", "10"}}, both, halvoFull},
        {{"dosika", {"--type", "1"}},
         both,
         dosika({"User ID: 0", "Alarm Level: 500 µSv", "Sampling Interval: 30 Minutes", "Buzzer: Off",
                 "Button: Unlocked", "Radon Mode: Fast", "US unit system: off",
                 "Dose Conversion Coefficient g(EEC): 7.80 nSv/(Bqh/m³) - Workers", "Equilibrium Factor F: 0.40"})},
        {{"dosika", {"--type", "2"}},
         both,
         dosika({"User ID: 0", "Alarm Level: 500 µSv", "Sampling Interval: 30 Minutes", "Buzzer: Off",
                 "Button: Unlocked", "Dose Mode: Off", "US unit system: off",
                 "Dose Conversion Coefficient g(pot): 1.40 Sv/(Jh/m³)"})},
        // A Morvel below software 10 keeps the alarm level in hundreds.
        {{"dosika", {"--type", "3"}},
         both,
         dosika({"User ID: 0", "Alarm Level: 500 µSv", "Sampling Interval: 30 Minutes", "Buzzer: Off",
                 "Button: Unlocked", "Mode: Mode 2"})},
        {{"dosika", {"--type", "4"}},
         interval,
         dosika({"User ID: 0", "Sampling Interval: 30 Minutes", "Pump Mode: Contineous", "Button: Unlocked",
                 "Radon Mode: Fast"})},
        {{"dosika", {"--type", "5"}}, interval, dosika(analog)},
        {{"dosika", {"--type", "6"}}, interval, dosika(analog)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Described(c.Sim, c.Args));
        if (!Start(c.Sim)) {
            continue;
        }
        std::vector<std::string> args = c.Args;
        args.push_back("--set-clock");
        const std::time_t before = std::time(nullptr);
        const TCliRun run = Setup(args);
        const std::time_t after = std::time(nullptr);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        const std::vector<std::string> lines = Lines(run.Out);
        ASSERT_EQ(lines.size(), c.Args.empty() ? 1u : 2u) << run.Out;
        EXPECT_TRUE(lines[0] == ClockLine(before) || lines[0] == ClockLine(after)) << lines[0];
        if (!c.Args.empty()) {
            EXPECT_EQ(lines[1], "Setup successful!");
        }
        EXPECT_EQ(Shown(), c.Shown);
    }
}

// Each case: the options, what the run prints, and the command that reads the instrument
// back with the lines it must show (its status when that tells: 15 for a Dosika now
// measuring, 3 for one switched off).
TEST_F(SetupCommand, EveryOptionReachesTheInstrument) {
    const std::vector<std::string> show{"setup", "--show"};
    const struct {
        TSimulated Sim;
        std::vector<std::string> Args;
        std::string Out;
        std::vector<std::string> ReadBack;
        int ReadBackStatus;
        std::vector<std::string> ReadBackLines;
    } cases[] = {
        {{"halvo", {"--type", "6"}},
         {"--buzzer", "po218", "--radon-mode", "fast", "--units", "us"},
         "Setup successful!\n",
         show,
         0,
         {"Buzzer: Po-216/Po-218", "Radon Mode: Fast", "Units: US Style", "Alarm Level: 8.1 pCi/L"}},
        {{"halvo", {"--type", "4"}},
         {"--pump", "interval", "--buzzer", "alarm"},
         "Setup successful!\n",
         show,
         0,
         {"Pump Mode: Interval", "Buzzer: Alarm"}},
        {{"halvo", {"--type", "10"}}, {"--buzzer", "po216"}, "Setup successful!\n", show, 0, {"Buzzer: Po-216"}},
        {{"halvo", {"--type", "5"}}, {"--cell", "xl"}, "Setup successful!\n", show, 0, {"Lucas Cell: Size XL"}},
        // Type 3 has no preset commands: the whole setup is written with the preset.
        {{"halvo", {"--type", "3", "--software", "10"}},
         {"--long-interval"},
         "Sample interval set to 3 hours!\n",
         show,
         0,
         {"Sampling Interval: 180 min", "Alarm Level: 300 Bq/m³"}},
        {{"halvo", {"--type", "3", "--software", "10"}},
         {"--short-interval", "--interval", "30"},
         "Setup successful!\nSample interval set to 1 hour!\n",
         show,
         0,
         {"Sampling Interval: 60 min"}},
        {{"halvo", {"--type", "6", "--records", "3"}},
         {"--clear", "--yes"},
         "Data memory cleared!\n",
         {"download", "--data-dir", "."},
         20,
         {}},
        {{"dosika", {"--type", "1"}},
         {"--user-id", "7", "--country", "44", "--region", "2", "--entry", "3", "--buzzer", "on", "--button",
          "locked", "--radon-mode", "slow", "--us-units", "on"},
         "Setup successful!\n",
         show,
         0,
         {"Country Code: 44", "Region Code: 2", "Entry Code: 3", "User ID: 7", "Buzzer: On", "Button: Locked",
          "Radon Mode: Slow", "US unit system: on", "Alarm Level: 1000 µSv"}},
        {{"dosika", {"--type", "2"}},
         {"--dose-mode", "on", "--dose-coefficient", "public"},
         "Setup successful!\nDose Coefficients written!\n",
         show,
         0,
         {"Dose Mode: On", "Dose Conversion Coefficient g(pot): 1.10 Sv/(Jh/m³)"}},
        // g 7.8 x F 0.5 = 3.9: CAL3 = Round(16.66 x 3.9 / 0.2 / 10) = 32, read back as
        // F = 0.2 x 320 / 16.66 / 7.8 = 0.49.
        {{"dosika", {"--type", "1"}},
         {"--equilibrium", "0.5"},
         "Dose Coefficients written!\n",
         show,
         0,
         {"Equilibrium Factor F: 0.49"}},
        // 6.1 x 0.6 = 3.66: CAL3 = Round(30.49) = 30, read back at 7.80 as F 0.46.
        {{"dosika", {"--type", "1"}},
         {"--dose-coefficient", "public", "--equilibrium", "0.6"},
         "Dose Coefficients written!\n",
         show,
         0,
         {"Equilibrium Factor F: 0.46"}},
        // Alone, a coefficient keeps the factor the instrument holds, and so its bytes
        // (with F 0.5 they would read back as 0.38).
        {{"dosika", {"--type", "1"}},
         {"--dose-coefficient", "6.1"},
         "Dose Coefficients written!\n",
         show,
         0,
         {"Equilibrium Factor F: 0.40"}},
        {{"dosika", {"--type", "4"}}, {"--pump", "interval"}, "Setup successful!\n", show, 0, {"Pump Mode: Interval"}},
        {{"dosika", {"--type", "3"}},
         {"--buzzer", "on", "--radon-mode", "slow", "--button", "locked"},
         "Setup successful!\n",
         show,
         0,
         {"Buzzer: On", "Button: Locked", "Mode: Mode 1"}},
        {{"dosika", {"--type", "5"}},
         {"--aout1-range", "50000", "--aout1-alarm", "20", "--aout2-range", "2000", "--aout2-alarm", "30", "--dout",
          "pulse", "--pulse-sources", "roi2,rht"},
         "Setup successful\n",
         show,
         0,
         {"Analog Output 1 Range: 50000 Bq/m³", "Analog Output 1 Alarm: 20 Bq/m³", "Analog Output 2 Range: 2000 Bq/m³",
          "Analog Output 2 Alarm: 30 Bq/m³", "Digital Output Mode: Pulse", "Pulse Sources: ROI2, rH/T"}},
        {{"dosika", {"--type", "6"}},
         {"--radon-mode", "slow", "--aout2-range", "40000"},
         "Setup successful!\nSetup successful\n",
         show,
         0,
         {"Radon Mode: Slow", "Analog Output 2 Range: 40000 Bq/m³", "Digital Output Mode: Alarm"}},
        {{"dosika", {"--type", "1"}}, {"--clear-and-start", "--yes"}, "Measurement started!\n", show, 15, {}},
        {{"dosika", {"--type", "5"}}, {"--clear-and-start"}, "Measurement started!\n", show, 15, {}},
        {{"dosika", {"--type", "5"}},
         {"--stop", "--clear-and-start"},
         "Measurement started!\nMeasurement stopped!\n",
         show,
         0,
         {"Radon Mode: Fast"}},
        {{"dosika", {"--type", "2"}}, {"--switch-off"}, "Instrument switched off!\n", show, 3, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Described(c.Sim, c.Args));
        if (!Start(c.Sim)) {
            continue;
        }
        const TCliRun run = Setup(c.Args);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, c.Out);

        std::vector<std::string> words{c.ReadBack.front(), Link()};
        words.insert(words.end(), c.ReadBack.begin() + 1, c.ReadBack.end());
        std::replace(words.begin(), words.end(), std::string("."), Dir.File("store"));
        const TCliRun back = RunLumetraCli(words);
        EXPECT_EQ(back.Status, c.ReadBackStatus) << back.Err;
        const std::vector<std::string> lines = Lines(back.Out);
        for (const std::string& line : c.ReadBackLines) {
            EXPECT_TRUE(HasLine(lines, line)) << line << "\n" << back.Out;
        }
    }
}

TEST_F(SetupCommand, OperationsRunInTheFixedOrder) {
    ASSERT_TRUE(Start({"halvo", {"--type", "6", "--software", "9"}}));
    const TCliRun halvo = Setup({"--show", "--recent", "--start", "--battery", "--unlock", "--interval", "45",
                                 "--clear", "--set-clock", "--yes", "--stop"});
    ASSERT_EQ(halvo.Status, 0) << halvo.Err;
    EXPECT_EQ(halvo.Err, "You really want to stop sampling? Yes\nYou really want to clear all data? Yes\n");
    std::vector<std::string> lines = Lines(halvo.Out);
    // 7 operation lines, 8 recent readings, 5 shown controls.
    ASSERT_EQ(lines.size(), 20u) << halvo.Out;
    EXPECT_EQ(lines[0], "Sampling stopped!");
    EXPECT_EQ(lines[1].rfind("Clock set to: ", 0), 0u) << lines[1];
    const std::vector<std::string> fixed{"Setup successful!", "Switch unlocked!", "Data memory cleared!",
                                         "Sampling started!"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.begin() + 6), fixed);
    EXPECT_EQ(lines[6].rfind("Battery Voltage per Cell: ", 0), 0u) << lines[6];
    EXPECT_EQ(lines[7].rfind("Interval: ", 0), 0u) << lines[7];
    EXPECT_EQ(lines[14].rfind("Tilt: ", 0), 0u) << lines[14];
    EXPECT_EQ(lines[15], "Sampling Interval: 45 min");

    ASSERT_TRUE(Start({"dosika", {"--type", "5"}}));
    const TCliRun dosika = Setup({"--show", "--values", "--stop", "--clear-and-start", "--switch", "off", "--dac",
                                  "100:200", "--dout", "pulse", "--interval", "20", "--set-clock"});
    ASSERT_EQ(dosika.Status, 0) << dosika.Err;
    EXPECT_EQ(dosika.Err, "");
    lines = Lines(dosika.Out);
    ASSERT_GE(lines.size(), 15u) << dosika.Out;
    EXPECT_EQ(lines[0].rfind("Clock set to: ", 0), 0u) << lines[0];
    const std::vector<std::string> operations{"Setup successful!",      "Setup successful",     "DAC Output updated!",
                                              "Switch Output updated!", "Measurement started!", "Measurement stopped!"};
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 7), operations);
    EXPECT_EQ(lines[7].rfind("Radon/EEC: ", 0), 0u) << lines[7];
    EXPECT_EQ(lines[12].rfind("Analog Out 2: ", 0), 0u) << lines[12];
    EXPECT_EQ(lines[13], "Country Code: 49");
}

// Refused options come with an offered one that would change the interval: the interval
// read back afterwards shows that nothing was sent.
TEST_F(SetupCommand, RefusalsComeBeforeAnythingIsSent) {
    const TSimulated halvo{"halvo", {"--type", "6"}};
    const TSimulated halvo3{"halvo", {"--type", "3", "--software", "9"}};
    const TSimulated dosika1{"dosika", {"--type", "1"}};
    const TSimulated dosika5{"dosika", {"--type", "5"}};
    const struct {
        TSimulated Sim;
        std::vector<std::string> Args;
        std::vector<std::string> Named;
    } cases[] = {
        {halvo, {"--cell", "m"}, {"--cell", "Thoron-Halvo (Halvo family, type 6)"}},
        {halvo, {"--user-id", "3"}, {"--user-id", "type 6"}},
        {halvo3, {"--alarm", "100"}, {"--alarm", "Halvo PLUS (Halvo family, type 3)"}},
        {halvo, {"--buzzer", "on"}, {"--buzzer"}},
        {halvo, {"--clear"}, {"--clear", "--yes"}},
        {halvo, {"--stop"}, {"--stop", "--yes"}},
        {halvo, {"--alarm", "99999999999"}, {"Alarm Level", "0 to 2147483647"}},
        {{"dosika", {"--type", "4"}}, {"--alarm", "5"}, {"--alarm", "KVX5210 (Dosika family, type 4)"}},
        {{"dosika", {"--type", "2"}}, {"--equilibrium", "0.5"}, {"--equilibrium", "type 2"}},
        {{"dosika", {"--type", "3"}}, {"--dose-coefficient", "public"}, {"--dose-coefficient", "Dosika family, type 3"}},
        {dosika1, {"--dac", "1:2"}, {"--dac", "Dosika (Dosika family, type 1)"}},
        {dosika1, {"--units", "us"}, {"--units"}},
        {dosika1, {"--clear-and-start"}, {"--clear-and-start", "--yes"}},
        {dosika1, {"--user-id", "70000"}, {"User ID", "0 to 65535"}},
        {dosika1, {"--country", "256"}, {"Country Code", "0 to 255"}},
        {dosika1, {"--alarm", "2.5"}, {"--alarm"}},
        {dosika1, {"--equilibrium", "1.5"}, {"--equilibrium", "0.20 to 1.00"}},
        // 40 x 0.40 = 16: CAL3 = Round(16.66 x 16 / 0.2 / 10) = 133, CAL4 would be 107;
        // with 99.9 both pass 255.
        {dosika1, {"--dose-coefficient", "99.9", "--equilibrium", "1"}, {"--dose-coefficient", "0 to 255"}},
        {{"dosika", {"--type", "5"}}, {"--switch-off"}, {"--switch-off", "Senra-R (Dosika family, type 5)"}},
        {dosika5, {"--dac", "70000:1"}, {"AOut1 [mV]", "0 to 65535"}},
        {dosika5, {"--pulse-sources", "roi1"}, {"--pulse-sources", "--dout pulse"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Described(c.Sim, c.Args));
        if (!Start(c.Sim)) {
            continue;
        }
        std::vector<std::string> args{"--interval", "30"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        const TCliRun run = Setup(args);
        EXPECT_EQ(run.Status, 64);
        EXPECT_EQ(run.Out, "");
        const std::vector<std::string> lines = Lines(run.Err);
        ASSERT_EQ(lines.size(), 2u) << run.Err;
        for (const std::string& named : c.Named) {
            EXPECT_NE(lines[0].find(named), std::string::npos) << named << " in " << lines[0];
        }
        EXPECT_EQ(lines[1], "Try 'lumetra-cli --help'.");
        const std::vector<std::string> shown = Shown();
        EXPECT_TRUE(HasLine(shown, "Sampling Interval: 60 min") || HasLine(shown, "Sampling Interval: 60 Minutes"))
            << "changed though refused";
    }
}

TEST_F(SetupCommand, BadValuesAreRefusedBeforeThePortIsOpened) {
    // The port does not exist: opening it first would give 1, not 64.
    const std::string absent = Dir.File("no-such-port");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--buzzer", "loud"}, "--buzzer"},
        {{"--interval", "-1"}, "--interval"},
        {{"--interval", "030"}, "--interval"},
        {{"--alarm", "4,5"}, "--alarm"},
        {{"--dac", "5"}, "--dac"},
        {{"--pulse-sources", "roi1,roi9"}, "--pulse-sources"},
        {{"--dose-coefficient", "7.805"}, "--dose-coefficient"},
        {{"--long-interval", "--short-interval"}, "--short-interval"},
        {{"--lock", "--unlock"}, "--unlock"},
        {{"--yes=no"}, "--yes"},
    };
    for (const auto& [args, named] : cases) {
        SCOPED_TRACE(named);
        std::vector<std::string> words{"setup", absent};
        words.insert(words.end(), args.begin(), args.end());
        const TCliRun run = RunLumetraCli(words);
        EXPECT_EQ(run.Status, 64);
        const std::vector<std::string> lines = Lines(run.Err);
        ASSERT_EQ(lines.size(), 2u) << run.Err;
        EXPECT_NE(lines[0].find(named), std::string::npos) << lines[0];
    }
}

TEST_F(SetupCommand, BatteryOfEveryTypeThatHasOne) {
    // Volts per cell: code x 3.3 / 510 on one byte; code x 0.01801 on types 4 and 10,
    // x 0.00323 on type 6, on 16 bits.
    const struct {
        std::string Type;
        std::string Code;
        std::string Volts;
    } cases[] = {
        {"2", "200", "1.29"}, {"3", "255", "1.65"}, {"4", "100", "1.80"},
        {"5", "150", "0.97"}, {"6", "1000", "3.23"}, {"10", "400", "7.20"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("type " + c.Type);
        if (!Start({"halvo", {"--type", c.Type, "--battery", c.Code}})) {
            continue;
        }
        const TCliRun run = Setup({"--battery"});
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, "Battery Voltage per Cell: " + c.Volts + "V\n");
    }
}

// The readings are sent in the units of the setup word; the texts name the units of the
// setup the window holds, also when this run has just written it.
TEST_F(SetupCommand, RecentReadingsInTheUnitsOfTheSetup) {
    const std::string readings = "time=2018-01-02T09:05,radon=85.4,radon-error=12,radon2=20.2,radon2-error=30,"
                                 "temperature=21.4,humidity=45,pressure=1013.4,tilts=2";
    const auto sim = [&readings](const std::string& type, const std::string& software) {
        return TSimulated{"halvo", {"--type", type, "--software", software, "--recent", readings}};
    };
    const struct {
        TSimulated Sim;
        std::vector<std::string> Args;
        std::string Out;
    } cases[] = {
        {sim("6", "9"),
         {"--recent"},
         "Interval: 60 min\nTime stamp: 1/2/18  9:05\nRadon: 85 Bq/m³ +/-12%\nThoron: 20 Bq/m³ +/-30%\n"
         "Temperature: 21 °C\nrel. Humidity: 45 %rH\nbar. Pressure: 1013.4 mbar\nTilt: 2\n"},
        {sim("3", "6"),
         {"--recent"},
         "Interval: 60 min\nTime stamp: 1/2/18  9:05\nRadon: 85 Bq/m³ +/-12%\nRadon Avg.: 20 Bq/m³ +/-30%\n"
         "Temperature: 21 °C\nrel. Humidity: 45 %rH\nbar. Pressure: 1013.4 mbar\nTilt: 2\n"},
        {sim("4", "7"),
         {"--recent", "--units", "us"},
         "Setup successful!\nInterval: 60 min\nTime stamp: 1/2/18  9:05\nRadon: 85 pCi/L +/-12%\n"
         "Thoron: 20 pCi/L +/-30%\nTemperature: 21 °F\nrel. Humidity: 45 %rH\nbar. Pressure: 1013.4 inHg\n"
         "Tilt: 2\n"},
        // The instrument reports the interval it was set to.
        {sim("10", "7"),
         {"--recent", "--interval", "20"},
         "Setup successful!\nInterval: 20 min\nTime stamp: 1/2/18  9:05\nRadon: 85 Bq/m³ +/-12%\n"
         "Thoron: 20 Bq/m³ +/-30%\nTemperature: 21 °C\nrel. Humidity: 45 %rH\nbar. Pressure: 1013.4 mbar\n"
         "Tilt: 2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Described(c.Sim, c.Args));
        if (!Start(c.Sim)) {
            continue;
        }
        const TCliRun run = Setup(c.Args);
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Out, c.Out);
    }

    // A preset reaches the instrument as the interval its readings report.
    ASSERT_TRUE(Start(sim("3", "10")));
    ASSERT_EQ(Setup({"--long-interval"}).Status, 0);
    const TCliRun recent = Setup({"--recent"});
    EXPECT_EQ(recent.Status, 0) << recent.Err;
    EXPECT_EQ(Lines(recent.Out).front(), "Interval: 180 min");
}

TEST_F(SetupCommand, ReadingsAndOutputsOfTheAnalogSensors) {
    // Temperature code 95: 95 x 0.493358634 - 25.80645161 = 21.06 °C.
    const std::string actual = "radon=120,radon-error=8,thoron=-1,temperature-code=95,humidity-code=255,"
                               "aout1=1022,aout2=1023";
    for (const std::string type : {"5", "6"}) {
        SCOPED_TRACE("type " + type);
        if (!Start({"dosika", {"--type", type, "--actual", actual}})) {
            continue;
        }
        const TCliRun values = Setup({"--values"});
        EXPECT_EQ(values.Status, 0) << values.Err;
        EXPECT_EQ(values.Out, "Radon/EEC: 120Bq/m³ ±8%\nThoron/Po-218: no value\nTemperature: 21.1°C\n"
                              "Humidity: no value\nAnalog Out 1: 1022mV 20.44mA\nAnalog Out 2: not valid\n");

        // The test outputs are set before the measurement starts, and read while it runs.
        const TCliRun outputs = Setup({"--clear-and-start", "--switch", "on", "--dac", "250:750"});
        EXPECT_EQ(outputs.Status, 0) << outputs.Err;
        EXPECT_EQ(outputs.Out, "DAC Output updated!\nSwitch Output updated!\nMeasurement started!\n");
        const TCliRun back = Setup({"--values", "--stop-measurement"});
        EXPECT_EQ(back.Status, 0) << back.Err;
        const std::vector<std::string> lines = Lines(back.Out);
        EXPECT_TRUE(HasLine(lines, "Analog Out 1: 250mV 5.00mA")) << back.Out;
        EXPECT_TRUE(HasLine(lines, "Analog Out 2: 750mV 15.00mA")) << back.Out;
    }
}

// An instrument in US units with alarm 150 Bq/m³ shows 4.0 pCi/L; a setup that names
// only the interval must send 150, not the 148 that 4.0 pCi/L stands for.
TEST_F(SetupCommand, UnnamedSettingsAreWrittenBackAsRead) {
    ASSERT_TRUE(Start({"halvo", {"--type", "6", "--records", "1"}}));
    // In US units the level is given in pCi/L: 4.05 / 0.027 = 150.
    const TCliRun us = Setup({"--units", "us", "--alarm", "4.05"});
    ASSERT_EQ(us.Status, 0) << us.Err;
    const TCliRun interval = Setup({"--interval", "30"});
    ASSERT_EQ(interval.Status, 0) << interval.Err;
    EXPECT_EQ(interval.Out, "Setup successful!\n");

    const std::string file = Dir.File("setup.lmx");
    const TCliRun download = RunLumetraCli({"download", Link(), "-o", file});
    ASSERT_EQ(download.Status, 0) << download.Err;
    const TCliRun info = RunLumetraCli({"info", file});
    ASSERT_EQ(info.Status, 0) << info.Err;
    const std::vector<std::string> lines = Lines(info.Out);
    for (const std::string line : {"Alarm level: 150", "Sample interval: 30 min", "Setup word: 16 (0x0010)"}) {
        EXPECT_TRUE(HasLine(lines, line)) << line << "\n" << info.Out;
    }
}

TEST_F(SetupCommand, MeasuringDosikaIsStoppedOnlyWhenAllowed) {
    ASSERT_TRUE(Start({"dosika", {"--type", "1", "--measuring"}}));
    const TCliRun declined = Setup({"--user-id", "9"});
    EXPECT_EQ(declined.Status, 15);
    EXPECT_EQ(declined.Out, "");
    EXPECT_EQ(declined.Err, "Stop measurement? No\nMeasurement running; setup declined (use --stop-measurement).\n");

    const TCliRun stopped = Setup({"--user-id", "9", "--stop-measurement"});
    EXPECT_EQ(stopped.Status, 0) << stopped.Err;
    EXPECT_EQ(stopped.Err, "Stop measurement? Yes\n");
    EXPECT_EQ(stopped.Out, "Setup successful!\n");
    // Stopped now: opened without a question.
    EXPECT_TRUE(HasLine(Shown(), "User ID: 9"));
}

TEST_F(SetupCommand, FailuresGiveTheResultCodeAndItsMessage) {
    const TCliRun absent = Setup({"--show"});
    EXPECT_EQ(absent.Status, 1);
    EXPECT_EQ(absent.Err,
              "No access to COM Port! Selected port available at this PC? No access by another application?\n");
    const TCliRun tcp = RunLumetraCli({"setup", "TCP-IP", "--set-clock"});
    EXPECT_EQ(tcp.Status, 18);
    EXPECT_EQ(tcp.Err, "TCP/IP connection not established!\n");

    // The first failure ends the run: the clock is set, the refused battery reading
    // stops it before the recent readings.
    ASSERT_TRUE(Start({"halvo", {"--type", "6", "--software", "9", "--fault", "refuse:cmd:13"}}));
    const TCliRun refused = Setup({"--set-clock", "--battery", "--recent"});
    EXPECT_EQ(refused.Status, 5);
    EXPECT_EQ(Lines(refused.Out).size(), 1u) << refused.Out;
    EXPECT_EQ(refused.Err, "Unexpected response!\n");
}

} // namespace
} // namespace lumetra::test
