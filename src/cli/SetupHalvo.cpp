// setup on a Halvo-family instrument: what the Halvo control window does with its
// buttons, in the fixed order, from what the window read when it opened.

#include "cli/SetupCommand.h"

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "halvo/HalvoControl.h"
#include "halvo/HalvoProtocol.h"

#include <array>
#include <string>

namespace lumetra::cli {
namespace {

// The option words and the radio buttons' captions, by the value the form holds.
constexpr std::array<const char*, 4> BuzzerWords{"off", "alarm", "po216", "po218"};
constexpr std::array<const char*, 4> BuzzerCaptions{"OFF", "Alarm", "Po-216", "Po-216/Po-218"};
constexpr std::array<const char*, 4> CellWords{"s", "m", "l", "xl"};
constexpr std::array<const char*, 4> CellCaptions{"Size S", "Size M", "Size L", "Size XL"};

Byte IndexOf(const std::array<const char*, 4>& words, const std::string& word) {
    for (std::size_t k = 0; k < words.size(); ++k) {
        if (word == words[k]) {
            return static_cast<Byte>(k);
        }
    }
    return 0;
}

bool SetupControlsNamed(const TSetupOptions& o) {
    return o.Interval || o.Alarm || o.Buzzer || o.RadonMode || o.Pump || o.Units || o.Cell;
}

// The window's enable table for the options; the Dosika windows' options are never offered.
bool CheckOffered(TSetupRun& run, const THlvInitValues& init, const THlvControlStates& s) {
    const TSetupOptions& o = run.Options;
    const bool transfer = s.SetGet;
    return AllOffered(run,
                      {
                          {"--stop", o.Stop, s.Stop.value_or(true)},
                          {"--interval", o.Interval.has_value(), transfer && s.SampleInterval},
                          {"--alarm", o.Alarm.has_value(), transfer && s.AlarmLevel},
                          {"--buzzer", o.Buzzer.has_value(), transfer && s.Buzzer},
                          {"--radon-mode", o.RadonMode.has_value(), transfer && s.RadonMode},
                          {"--pump", o.Pump.has_value(), transfer && s.Pump},
                          {"--units", o.Units.has_value(), transfer && s.Units},
                          {"--cell", o.Cell.has_value(), transfer && s.CellSize},
                          {"--long-interval", o.LongInterval, s.IntervalPresets},
                          {"--short-interval", o.ShortInterval, s.IntervalPresets},
                          {"--lock", o.Lock, s.LockUnlock},
                          {"--unlock", o.Unlock, s.LockUnlock},
                          {"--start", o.Start, s.Start},
                          {"--battery", o.Battery, s.Battery},
                          {"--recent", o.Recent, s.RecentReadings},
                          {"--user-id", o.UserID.has_value(), false},
                          {"--country", o.Country.has_value(), false},
                          {"--region", o.Region.has_value(), false},
                          {"--entry", o.Entry.has_value(), false},
                          {"--button", o.Button.has_value(), false},
                          {"--dose-mode", o.DoseMode.has_value(), false},
                          {"--us-units", o.USUnits.has_value(), false},
                          {"--dose-coefficient", o.DoseCoefficient.has_value(), false},
                          {"--equilibrium", o.Equilibrium.has_value(), false},
                          {"--aout1-range", o.AOut1Range.has_value(), false},
                          {"--aout1-alarm", o.AOut1Alarm.has_value(), false},
                          {"--aout2-range", o.AOut2Range.has_value(), false},
                          {"--aout2-alarm", o.AOut2Alarm.has_value(), false},
                          {"--dout", o.DOut.has_value(), false},
                          {"--pulse-sources", o.PulseSources.has_value(), false},
                          {"--dac", o.Dac.has_value(), false},
                          {"--switch", o.Switch.has_value(), false},
                          {"--clear-and-start", o.ClearAndStart, false},
                          {"--switch-off", o.SwitchOff, false},
                          {"--values", o.Values, false},
                      },
                      FamilyHalvo, init.DeviceType);
}

// The values only a Halvo takes, and the questions the window asks.
bool CheckAnswers(TSetupRun& run) {
    const TSetupOptions& o = run.Options;
    if (o.Buzzer && *o.Buzzer == "on") {
        return RefuseOption(run, "--buzzer", "a Halvo takes off, alarm, po216 or po218");
    }
    if (o.Stop && !o.Yes) {
        return RefuseOption(run, "--stop", "asks \"You really want to stop sampling?\"; confirm it with --yes");
    }
    if (o.Clear && !o.Yes) {
        return RefuseOption(run, "--clear", "asks \"You really want to clear all data?\"; confirm it with --yes");
    }
    return true;
}

// The controls as the options leave them. The unit switch comes first, so that an
// alarm level given with it is read in the units the setup ends in.
void ApplyOptions(const TSetupOptions& o, THlvSetupForm& form) {
    if (o.Units) {
        if (*o.Units == "us") {
            HlvChangeToUS(form);
        } else {
            HlvChangeToSI(form);
        }
    }
    if (o.Alarm) {
        HlvAlarmLevelEdited(form, *o.Alarm);
    }
    if (o.Interval) {
        form.SampleIntervalText = *o.Interval;
    }
    if (o.Buzzer) {
        form.Buzzer = IndexOf(BuzzerWords, *o.Buzzer);
    }
    if (o.RadonMode) {
        form.Fast = *o.RadonMode == "fast";
    }
    if (o.Pump) {
        form.IntervalPump = *o.Pump == "interval";
    }
    if (o.Cell) {
        form.CellSize = IndexOf(CellWords, *o.Cell);
    }
}

void Show(TSetupRun& run, const THlvControlStates& s, const THlvSetupForm& form) {
    const TTranslate translate = run.Translate();
    if (s.SampleInterval) {
        ShowLine(run, "Sampling Interval", form.SampleIntervalText + " min");
    }
    if (s.AlarmLevel) {
        ShowLine(run, "Alarm Level", form.AlarmLevelText + " " + HlvAlarmUnit(form.US));
    }
    if (s.Buzzer) {
        ShowLine(run, "Buzzer", translate(BuzzerCaptions[form.Buzzer & 3]));
    }
    if (s.RadonMode) {
        ShowLine(run, "Radon Mode", translate(form.Fast ? "Fast" : "Slow"));
    }
    if (s.Pump) {
        ShowLine(run, "Pump Mode", translate(form.IntervalPump ? "Interval" : "Continuous"));
    }
    if (s.Units) {
        ShowLine(run, "Units", translate(form.US ? "US Style" : "SI Style"));
    }
    if (s.CellSize) {
        ShowLine(run, "Lucas Cell", translate(CellCaptions[form.CellSize & 3]));
    }
}

// A question of the window, answered by --yes (checked before anything was sent).
bool Confirmed(TSetupRun& run, const std::string& title, const std::string& question) {
    run.Ui.YesNoAnswers[run.Ui.Translate(question)] = run.Options.Yes;
    return run.Ui.AskWarning(run.Ui.Translate(title), run.Ui.Translate(question));
}

} // namespace

Byte RunHalvoSetup(TSetupRun& run, const TComPort& port) {
    run.Opened = true;
    const TSetupOptions& o = run.Options;
    TConsoleUserInterface& ui = run.Ui;
    const TTranslate translate = run.Translate();

    THlvInitValues init;
    THlvSetupValues setup; // what the instrument holds, as far as the window knows
    if (const Byte result = HlvOpenControl(ui, port, init, setup); result != Result::Success) {
        ReportFailure(run, result);
        return result;
    }
    const Byte type = init.DeviceType;
    const THlvControlStates states = HlvControlStates(type, init.SoftwareVersion);
    if (!CheckOffered(run, init, states) || !CheckAnswers(run)) {
        return Result::Success;
    }
    THlvSetupForm form = HlvFormFromSetup(setup);
    ApplyOptions(o, form);
    std::optional<THlvSetupValues> transfer;
    if (SetupControlsNamed(o)) {
        std::string error;
        transfer = HlvSetupFromForm(form, setup, states, translate, error);
        if (!transfer) {
            run.UsageError = error;
            return Result::Success;
        }
    }

    // Everything is checked and built: from here on the instrument is changed.
    Byte result = Result::Success;
    if (o.Stop && Confirmed(run, "Stop sampling", "You really want to stop sampling?")) {
        result = ReportOperation(run, HlvStopMeasurement(ui, port), translate("Sampling stopped!"));
    }
    if (result == Result::Success && o.SetClock) {
        std::string dateTime;
        result = HlvSetClock(ui, port, dateTime);
        result = ReportOperation(run, result, HlvClockText(dateTime, translate));
    }
    if (result == Result::Success && transfer) {
        result = ReportOperation(run, HlvWriteSetupValues(ui, port, *transfer), translate("Setup successful!"));
        setup = *transfer;
    }
    if (result == Result::Success && (o.LongInterval || o.ShortInterval)) {
        result = HlvSetIntervalPreset(ui, port, type, o.LongInterval, setup);
        result = ReportOperation(run, result,
                                 translate(o.LongInterval ? "Sample interval set to 3 hours!"
                                                          : "Sample interval set to 1 hour!"));
        // Where the preset is a setup write, the interval edit shows it.
        form.SampleIntervalText = std::to_string(setup.SampleInterval);
    }
    if (result == Result::Success && (o.Lock || o.Unlock)) {
        result = o.Lock ? ReportOperation(run, HlvLockSwitch(ui, port), translate("Switch locked!"))
                        : ReportOperation(run, HlvUnlockSwitch(ui, port), translate("Switch unlocked!"));
    }
    if (result == Result::Success && o.Clear && Confirmed(run, "Clear Data", "You really want to clear all data?")) {
        result = ReportOperation(run, HlvClearMemory(ui, port), translate("Data memory cleared!"));
    }
    if (result == Result::Success && o.Start) {
        result = ReportOperation(run, HlvStartMeasurement(ui, port), translate("Sampling started!"));
    }
    if (result == Result::Success && o.Battery) {
        Real volts = 0;
        result = HlvReadBattery(ui, port, volts);
        result = ReportOperation(run, result, HlvBatteryText(volts, translate));
    }
    if (result == Result::Success && o.Recent) {
        THlvRecentValues values;
        result = HlvReadRecentValues(ui, port, values);
        // The units follow the setup the window holds: as read, or as written.
        result = ReportOperation(run, result,
                                 HlvRecentReadingsText(values, type, HlvFormFromSetup(setup).US, translate));
    }
    if (result == Result::Success && o.Show) {
        Show(run, states, form);
    }
    return result;
}

} // namespace lumetra::cli
