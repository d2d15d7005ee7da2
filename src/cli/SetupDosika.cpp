// setup on a Dosika-family instrument: what the Dosika control window, its dose
// coefficient window and the analog sensor window do, in the fixed order, from what the
// control window read when it opened.

#include "cli/SetupCommand.h"

#include "core/EditValues.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "dosika/AnalogSensorControlPanel.h"
#include "dosika/DoseCoefficientForm.h"
#include "dosika/DosikaCommands.h"
#include "dosika/DosikaControl.h"

#include <array>
#include <sstream>
#include <string>
#include <utility>

namespace lumetra::cli {
namespace {

// The source check boxes: the option's words and the boxes' captions, by bit.
constexpr std::array<const char*, 6> SourceWords{"roi1", "roi2", "roi3", "roi4", "roi5", "rht"};
constexpr std::array<const char*, 6> SourceCaptions{"ROI1", "ROI2", "ROI3", "ROI4", "ROI5", "rH/T"};

constexpr Real LowestFactor = 0.2;
constexpr Real HighestFactor = 1.0;

bool SetupControlsNamed(const TSetupOptions& o) {
    return o.UserID || o.Alarm || o.Country || o.Region || o.Entry || o.Interval || o.Buzzer || o.Pump || o.Button ||
           o.RadonMode || o.DoseMode || o.USUnits;
}

bool AnalogControlsNamed(const TSetupOptions& o) {
    return o.AOut1Range || o.AOut1Alarm || o.AOut2Range || o.AOut2Alarm || o.DOut || o.PulseSources;
}

// Mode switch 0 is the buzzer or, on a KVX5210, the pump; switch 2 the radon mode (a
// Morvel's "Mode") or, on a Dosika PRO, the dose mode. The captions tell them apart.
bool IsGroup(const TDkModeGroup& group, const std::string& caption) { return group.Enabled && group.Caption == caption; }

// The window's enable table for the options; the Halvo window's options are never offered.
bool CheckOffered(TSetupRun& run, const TDkInitValues& init, const TDkControlStates& s, const TDoseCoefficientForm& dose) {
    const TSetupOptions& o = run.Options;
    const bool radonMode = s.Group2.Enabled && s.Group2.Caption != "Dose Mode";
    return AllOffered(run,
                      {
                          {"--stop", o.Stop, s.AnalogSensor},
                          {"--interval", o.Interval.has_value(), true},
                          {"--alarm", o.Alarm.has_value(), s.AlarmLevel},
                          {"--buzzer", o.Buzzer.has_value(), IsGroup(s.Group0, "Buzzer")},
                          {"--radon-mode", o.RadonMode.has_value(), radonMode},
                          {"--pump", o.Pump.has_value(), IsGroup(s.Group0, "Pump Mode")},
                          {"--units", o.Units.has_value(), false},
                          {"--cell", o.Cell.has_value(), false},
                          {"--long-interval", o.LongInterval, false},
                          {"--short-interval", o.ShortInterval, false},
                          {"--lock", o.Lock, false},
                          {"--unlock", o.Unlock, false},
                          {"--clear", o.Clear, false},
                          {"--start", o.Start, false},
                          {"--battery", o.Battery, false},
                          {"--recent", o.Recent, false},
                          {"--user-id", o.UserID.has_value(), s.UserID},
                          {"--country", o.Country.has_value(), true},
                          {"--region", o.Region.has_value(), true},
                          {"--entry", o.Entry.has_value(), true},
                          {"--button", o.Button.has_value(), s.Group1.Enabled},
                          {"--dose-mode", o.DoseMode.has_value(), IsGroup(s.Group2, "Dose Mode")},
                          {"--us-units", o.USUnits.has_value(), s.USUnits},
                          {"--dose-coefficient", o.DoseCoefficient.has_value(), s.DoseCoefficients},
                          {"--equilibrium", o.Equilibrium.has_value(), s.DoseCoefficients && dose.FactorEnabled},
                          {"--aout1-range", o.AOut1Range.has_value(), s.AnalogSensor},
                          {"--aout1-alarm", o.AOut1Alarm.has_value(), s.AnalogSensor},
                          {"--aout2-range", o.AOut2Range.has_value(), s.AnalogSensor},
                          {"--aout2-alarm", o.AOut2Alarm.has_value(), s.AnalogSensor},
                          {"--dout", o.DOut.has_value(), s.AnalogSensor},
                          {"--pulse-sources", o.PulseSources.has_value(), s.AnalogSensor},
                          {"--dac", o.Dac.has_value(), s.AnalogSensor},
                          {"--switch", o.Switch.has_value(), s.AnalogSensor},
                          // Types 1 to 4 clear and start from the control window, the
                          // analog sensors from theirs.
                          {"--clear-and-start", o.ClearAndStart, s.ClearAndStart || s.AnalogSensor},
                          {"--switch-off", o.SwitchOff, s.SwitchOff},
                          {"--values", o.Values, s.AnalogSensor},
                      },
                      FamilyDosika, init.DeviceType);
}

// The values only a Dosika takes, and the question the control window asks.
bool CheckAnswers(TSetupRun& run, const TDkControlStates& s) {
    const TSetupOptions& o = run.Options;
    if (o.Buzzer && *o.Buzzer != "on" && *o.Buzzer != "off") {
        return RefuseOption(run, "--buzzer", "a Dosika takes on or off");
    }
    if (o.Alarm && !ParseIntegerText(*o.Alarm)) {
        return RefuseOption(run, "--alarm", "a Dosika takes a whole number of µSv");
    }
    if (o.Equilibrium) {
        const auto factor = ParseNumberText(*o.Equilibrium);
        if (!factor || *factor < LowestFactor || *factor > HighestFactor) {
            return RefuseOption(run, "--equilibrium", "Equilibrium Factor F takes a number from 0.20 to 1.00");
        }
    }
    if (o.ClearAndStart && s.ClearAndStart && !o.Yes) {
        return RefuseOption(run, "--clear-and-start",
                            "asks \"You really want to clear all data?\"; confirm it with --yes");
    }
    return true;
}

void ApplySetupOptions(const TSetupOptions& o, TDkSetupForm& form) {
    const std::pair<const std::optional<std::string>&, std::string&> edits[] = {
        {o.UserID, form.UserIDText},   {o.Alarm, form.AlarmLevelText},       {o.Country, form.CountryCodeText},
        {o.Region, form.RegionCodeText}, {o.Entry, form.EntryCodeText}, {o.Interval, form.SampleIntervalText},
    };
    for (const auto& [option, text] : edits) {
        if (option) {
            text = *option;
        }
    }
    // Each switch's Set button: buzzer On, pump Interval, button Locked, radon mode
    // Slow (a Morvel's Mode 1), dose mode On.
    if (o.Buzzer) {
        form.ModeBit0 = *o.Buzzer == "on";
    }
    if (o.Pump) {
        form.ModeBit0 = *o.Pump == "interval";
    }
    if (o.Button) {
        form.ModeBit1 = *o.Button == "locked";
    }
    if (o.RadonMode) {
        form.ModeBit2 = *o.RadonMode == "slow";
    }
    if (o.DoseMode) {
        form.ModeBit2 = *o.DoseMode == "on";
    }
    if (o.USUnits) {
        form.USUnits = *o.USUnits == "on";
    }
}

// The dose window as the options leave it: the coefficient first, then the factor, as a
// user chooses them there.
bool ApplyDoseOptions(TSetupRun& run, TDoseCoefficientForm& dose) {
    const TSetupOptions& o = run.Options;
    const TTranslate translate = run.Translate();
    std::string error;
    if (o.DoseCoefficient) {
        const std::string& word = *o.DoseCoefficient;
        const std::string text =
            word == "public" ? dose.CoefficientLines.at(0) : (word == "workers" ? dose.CoefficientLines.at(1) : word);
        if (!DkDoseCoefficientChanged(dose, text, translate, error)) {
            return RefuseOption(run, "--dose-coefficient", error);
        }
    }
    if (o.Equilibrium && !DkEquilibriumFactorChanged(dose, *o.Equilibrium, false, translate, error)) {
        return RefuseOption(run, "--equilibrium", error);
    }
    if (!DkDoseCoefficientsFit(dose)) {
        return RefuseOption(run, o.DoseCoefficient ? "--dose-coefficient" : "--equilibrium",
                            "the calibration bytes it gives would not fit 0 to 255");
    }
    DkTransferDoseCoefficients(dose);
    return true;
}

bool ApplyAnalogOptions(TSetupRun& run, TAnalogSetupForm& form) {
    const TSetupOptions& o = run.Options;
    const std::pair<const std::optional<std::string>&, std::string&> edits[] = {
        {o.AOut1Range, form.AOut1RangeText},
        {o.AOut1Alarm, form.AOut1AlarmText},
        {o.AOut2Range, form.AOut2RangeText},
        {o.AOut2Alarm, form.AOut2AlarmText},
    };
    for (const auto& [option, text] : edits) {
        if (option) {
            text = *option;
        }
    }
    if (o.DOut) {
        form.Pulse = *o.DOut == "pulse";
    }
    if (o.PulseSources) {
        // The source boxes can be ticked only while pulse mode is selected.
        if (!AnalogSourcesEnabled(form)) {
            return RefuseOption(run, "--pulse-sources", "the sources are chosen in pulse mode only (--dout pulse)");
        }
        form.Sources.fill(false);
        std::istringstream items(*o.PulseSources == "none" ? std::string() : *o.PulseSources);
        std::string item;
        while (std::getline(items, item, ',')) {
            for (std::size_t bit = 0; bit < SourceWords.size(); ++bit) {
                form.Sources[bit] = form.Sources[bit] || item == SourceWords[bit];
            }
        }
    }
    return true;
}

std::string WithoutPadding(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// One line per reading edit; an output's two edits on one line (said once when both
// show "not valid"). The padding the edits align with is left out.
void PrintValues(TSetupRun& run, const TAnalogSensorValues& values) {
    const TAnalogValueTexts texts = AnalogValueTexts(values, run.Translate());
    const auto output = [](const std::string& mv, const std::string& ma) {
        return mv == ma ? mv : mv + " " + WithoutPadding(ma);
    };
    ShowLine(run, "Radon/EEC", texts.Radon);
    ShowLine(run, "Thoron/Po-218", texts.Thoron);
    ShowLine(run, "Temperature", WithoutPadding(texts.Temperature));
    ShowLine(run, "Humidity", WithoutPadding(texts.Humidity));
    ShowLine(run, "Analog Out 1", output(texts.AOut1Value, texts.AOut1mA));
    ShowLine(run, "Analog Out 2", output(texts.AOut2Value, texts.AOut2mA));
}

void ShowModeGroup(TSetupRun& run, const TDkModeGroup& group, bool set) {
    if (group.Enabled) {
        ShowLine(run, group.Caption, run.Ui.Translate(set ? group.SetText : group.ClearText));
    }
}

void Show(TSetupRun& run, const TDkControlStates& s, const TDkSetupForm& form, const TDoseCoefficientForm& dose,
          const std::optional<TAnalogSetupForm>& analog) {
    const TTranslate translate = run.Translate();
    ShowLine(run, "Country Code", form.CountryCodeText);
    ShowLine(run, "Region Code", form.RegionCodeText);
    ShowLine(run, "Entry Code", form.EntryCodeText);
    if (s.UserID) {
        ShowLine(run, "User ID", form.UserIDText);
    }
    if (s.AlarmLevel) {
        ShowLine(run, "Alarm Level", form.AlarmLevelText + " " + translate("µSv"));
    }
    ShowLine(run, "Sampling Interval", form.SampleIntervalText + " " + translate("Minutes"));
    ShowModeGroup(run, s.Group0, form.ModeBit0);
    ShowModeGroup(run, s.Group1, form.ModeBit1);
    ShowModeGroup(run, s.Group2, form.ModeBit2);
    if (s.USUnits) {
        ShowLine(run, "US unit system", form.USUnits ? "on" : "off");
    }
    if (s.DoseCoefficients) {
        ShowLine(run, dose.Label, dose.CoefficientText);
        if (dose.FactorEnabled) {
            ShowLine(run, "Equilibrium Factor F", dose.FactorText);
        }
    }
    if (analog) {
        const std::string unit = " " + translate("Bq/m³");
        ShowLine(run, "Analog Output 1 Range", analog->AOut1RangeText + unit);
        ShowLine(run, "Analog Output 1 Alarm", analog->AOut1AlarmText + unit);
        ShowLine(run, "Analog Output 2 Range", analog->AOut2RangeText + unit);
        ShowLine(run, "Analog Output 2 Alarm", analog->AOut2AlarmText + unit);
        ShowLine(run, "Digital Output Mode", translate(analog->Pulse ? "Pulse" : "Alarm"));
        if (AnalogSourcesEnabled(*analog)) {
            std::string sources;
            for (std::size_t bit = 0; bit < SourceCaptions.size(); ++bit) {
                if (analog->Sources[bit]) {
                    sources += (sources.empty() ? "" : ", ") + translate(SourceCaptions[bit]);
                }
            }
            ShowLine(run, "Pulse Sources", sources.empty() ? "none" : sources);
        }
    }
}

// The control window's question, answered by --yes (checked before anything was sent).
bool Confirmed(TSetupRun& run, const std::string& title, const std::string& question) {
    run.Ui.YesNoAnswers[run.Ui.Translate(question)] = run.Options.Yes;
    return run.Ui.AskWarning(run.Ui.Translate(title), run.Ui.Translate(question));
}

// Everything the run sends, built before the first byte that changes the instrument.
struct TDosikaPlan {
    std::optional<TDkSetupValues> Setup;
    std::optional<TAnalogSensorSetup> Analog;
    std::optional<std::pair<Word, Word>> Dac;
};

} // namespace

Byte RunDosikaSetup(TSetupRun& run, const TComPort& port) {
    run.Opened = true;
    const TSetupOptions& o = run.Options;
    TConsoleUserInterface& ui = run.Ui;
    const TTranslate translate = run.Translate();

    TDkInitValues init;
    TDkSetupValues setup;
    if (const Byte result = DkOpenControl(ui, port, init, setup); result != Result::Success) {
        ReportFailure(run, result);
        return result;
    }
    const Byte type = init.DeviceType;
    const TDkControlStates states = DkControlStates(type);
    TDoseCoefficientForm dose = DkOpenDoseCoefficients(init, translate);
    if (!CheckOffered(run, init, states, dose) || !CheckAnswers(run, states)) {
        return Result::Success;
    }
    // The analog sensor window opens with the output setup read.
    std::optional<TAnalogSetupForm> analog;
    if (states.AnalogSensor && (AnalogControlsNamed(o) || o.Show)) {
        TAnalogSensorSetup read;
        if (const Byte result = DkReadAnalogSetup(ui, port, read); result != Result::Success) {
            ReportFailure(run, result);
            return result;
        }
        analog = AnalogFormFromSetup(read);
    }

    TDosikaPlan plan;
    std::string error;
    TDkSetupForm form = DkFormFromSetup(type, setup);
    if (SetupControlsNamed(o)) {
        ApplySetupOptions(o, form);
        plan.Setup = DkSetupFromForm(type, form, setup, translate, error);
        if (!plan.Setup) {
            run.UsageError = error;
            return Result::Success;
        }
    }
    if ((o.DoseCoefficient || o.Equilibrium) && !ApplyDoseOptions(run, dose)) {
        return Result::Success;
    }
    if (AnalogControlsNamed(o)) {
        if (!ApplyAnalogOptions(run, *analog)) {
            return Result::Success;
        }
        plan.Analog = AnalogSetupFromForm(*analog, translate, error);
        if (!plan.Analog) {
            run.UsageError = error;
            return Result::Success;
        }
    }
    if (o.Dac) {
        const auto colon = o.Dac->find(':');
        plan.Dac = AnalogDacValues(o.Dac->substr(0, colon), o.Dac->substr(colon + 1), translate, error);
        if (!plan.Dac) {
            run.UsageError = error;
            return Result::Success;
        }
    }

    // Everything is checked and built: from here on the instrument is changed.
    Byte result = Result::Success;
    if (o.SetClock) {
        std::string dateTime;
        result = DkSetClock(ui, port, dateTime);
        result = ReportOperation(run, result, translate("Clock set to: ") + dateTime);
    }
    if (result == Result::Success && plan.Setup) {
        result = ReportOperation(run, DkWriteSetup(ui, port, *plan.Setup), translate("Setup successful!"));
    }
    if (result == Result::Success && (o.DoseCoefficient || o.Equilibrium)) {
        result = ReportOperation(run, DkWriteDoseCoefficients(ui, port, dose), translate("Dose Coefficients written!"));
    }
    if (result == Result::Success && plan.Analog) {
        result = ReportOperation(run, DkWriteAnalogSetup(ui, port, *plan.Analog), translate("Setup successful"));
    }
    if (result == Result::Success && plan.Dac) {
        result = ReportOperation(run, DkSetAnalogOutputs(ui, port, plan.Dac->first, plan.Dac->second),
                                 translate("DAC Output updated!"));
    }
    if (result == Result::Success && o.Switch) {
        result = ReportOperation(run, DkSetSwitchOutput(ui, port, *o.Switch == "on"), translate("Switch Output updated!"));
    }
    if (result == Result::Success && o.ClearAndStart &&
        (!states.ClearAndStart || Confirmed(run, "Clear Data", "You really want to clear all data?"))) {
        result = ReportOperation(run, DkClearAndStart(ui, port), translate("Measurement started!"));
    }
    if (result == Result::Success && o.Stop) {
        result = ReportOperation(run, DkStopMeasurement(ui, port), translate("Measurement stopped!"));
    }
    if (result == Result::Success && o.SwitchOff) {
        result = ReportOperation(run, DkSwitchOffInstrument(ui, port), translate("Instrument switched off!"));
    }
    if (result == Result::Success && o.Values) {
        TAnalogSensorValues values;
        result = DkReadActualValues(ui, port, values);
        if (result == Result::Success) {
            PrintValues(run, values);
        } else {
            ReportFailure(run, result);
        }
    }
    if (result == Result::Success && o.Show) {
        Show(run, states, form, dose, analog);
    }
    return result;
}

} // namespace lumetra::cli
