// The Dosika control, analog sensor and dose conversion windows' logic without a
// window: what each type offers, the setups built back from the controls, the reading
// texts and the dose coefficient conversions.

#include "dosika/AnalogSensorControlPanel.h"
#include "dosika/DoseCoefficientForm.h"
#include "dosika/DosikaCommands.h"
#include "dosika/DosikaControl.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <string>

namespace lumetra {
namespace {

const TTranslate English = [](const std::string& text) { return text; };

TEST(DosikaControl, WhatEachTypeOffers) {
    struct TCase {
        Byte Type;
        // clear-and-start, switch-off, analog, user, alarm, dose button, group 0, 1, 2
        // enabled, US box shown
        std::string Flags;
        const char* Group0;
        const char* Group2;
    };
    const TCase cases[] = {
        {1, "1101111111", "Buzzer On/Off", "Radon Mode Slow/Fast"},
        {2, "1101111111", "Buzzer On/Off", "Dose Mode On/Off"},
        {3, "1101101110", "Buzzer On/Off", "Mode Mode 1/Mode 2"}, // as the window starts
        {4, "1101001110", "Pump Mode Interval/Contineous", "Radon Mode Slow/Fast"},
        {5, "0010000010", "Buzzer On/Off", "Radon Mode Slow/Fast"},
        {6, "0010000010", "Buzzer On/Off", "Radon Mode Slow/Fast"},
    };
    const auto text = [](const TDkModeGroup& g) { return g.Caption + " " + g.SetText + "/" + g.ClearText; };
    for (const TCase& c : cases) {
        const TDkControlStates s = DkControlStates(c.Type);
        std::string got;
        for (const bool flag : {s.ClearAndStart, s.SwitchOff, s.AnalogSensor, s.UserID, s.AlarmLevel,
                                s.DoseCoefficients, s.Group0.Enabled, s.Group1.Enabled, s.Group2.Enabled, s.USUnits}) {
            got += flag ? '1' : '0';
        }
        EXPECT_EQ(got, c.Flags) << "type " << int{c.Type};
        EXPECT_EQ(text(s.Group0), c.Group0) << "type " << int{c.Type};
        EXPECT_EQ(text(s.Group2), c.Group2) << "type " << int{c.Type};
    }
}

TEST(DosikaControl, SetupBuiltBackFromTheControls) {
    TDkSetupValues read;
    read.UserID = 7;
    read.AlarmLevel = 250;
    read.SampleInterval = 30;
    read.SetupByte = 0x0B; // bits 0, 1 and US units
    read.BreathingRate = 9000;

    // A Dosika (type 1) shows its US units now: an unrelated change keeps them.
    TDkSetupForm form = DkFormFromSetup(1, read);
    EXPECT_TRUE(form.USUnits);
    form.SampleIntervalText = "";
    std::string error;
    auto built = DkSetupFromForm(1, form, read, English, error);
    ASSERT_TRUE(built);
    EXPECT_EQ(built->SampleInterval, 60); // an empty edit: the default
    EXPECT_EQ(built->SetupByte, 0x0B);
    EXPECT_EQ(built->BreathingRate, 9000);

    // A Senra-R: user, alarm and groups 0 and 1 are disabled and keep what was read,
    // whatever the controls show; the hidden US box too.
    form.UserIDText = "99";
    form.AlarmLevelText = "1";
    form.ModeBit0 = form.ModeBit1 = form.USUnits = false;
    form.ModeBit2 = true;
    built = DkSetupFromForm(5, form, read, English, error);
    ASSERT_TRUE(built);
    EXPECT_EQ(built->UserID, 7);
    EXPECT_EQ(built->AlarmLevel, 250);
    EXPECT_EQ(built->SetupByte, 0x0F);

    // Numbers that do not fit their field: refused, named.
    const std::pair<std::string TDkSetupForm::*, const char*> refusals[] = {
        {&TDkSetupForm::SampleIntervalText, "Sampling Interval takes a whole number from 0 to 255."},
        {&TDkSetupForm::UserIDText, "User ID takes a whole number from 0 to 65535."},
        {&TDkSetupForm::CountryCodeText, "Country Code takes a whole number from 0 to 255."},
    };
    for (const auto& [field, message] : refusals) {
        TDkSetupForm bad = DkFormFromSetup(2, read);
        bad.*field = "300000";
        error.clear();
        EXPECT_FALSE(DkSetupFromForm(2, bad, read, English, error));
        EXPECT_EQ(error, message);
    }
}

TEST(AnalogSensorPanel, SetupAndReadings) {
    TAnalogSetupForm form;
    form.AOut1RangeText = "50000";
    form.Pulse = true;
    form.Sources = {true, false, false, false, true, true};
    std::string error;
    const auto setup = AnalogSetupFromForm(form, English, error);
    ASSERT_TRUE(setup);
    EXPECT_EQ(setup->AOUT1Range, 50000);
    EXPECT_EQ(DkEncodeRange(setup->AOUT1Range), 0x8032);
    EXPECT_EQ(setup->AOUT2Range, 1000); // empty edits: the defaults
    EXPECT_EQ(setup->AOUT1AlarmLevel, 10);
    EXPECT_EQ(setup->DOUTMode, 0x80 | 0x01 | 0x10 | 0x20);
    EXPECT_EQ(AnalogFormFromSetup(*setup).Sources, form.Sources);
    EXPECT_TRUE(AnalogSourcesEnabled(AnalogFormFromSetup(*setup)));
    form.AOut2AlarmText = "40000000";
    EXPECT_FALSE(AnalogSetupFromForm(form, English, error));
    EXPECT_EQ(error, "Analog Output 2 Alarm takes a whole number from 0 to 32767000.");

    TAnalogSensorValues values;
    values.RadonValue = 120;
    values.RadonError = 8;
    values.TemperatureValue = DkTemperatureFromCode(255);
    values.HumidityValue = 5;
    values.AOut1Value = 1022;
    values.AOut2Value = 1023;
    const TAnalogValueTexts texts = AnalogValueTexts(values, English);
    EXPECT_EQ(texts.Radon, "120Bq/m³ ±8%");
    EXPECT_EQ(texts.Thoron, "no value");
    EXPECT_EQ(texts.Temperature, "no value");
    EXPECT_EQ(texts.Humidity, "  5%");
    EXPECT_EQ(texts.AOut1Value, "1022mV");
    EXPECT_EQ(texts.AOut1mA, "20.44mA");
    EXPECT_EQ(texts.AOut2Value, "not valid");
    EXPECT_EQ(texts.AOut2mA, "not valid");

    EXPECT_EQ(AnalogDacValues("", "1200", English, error), (std::pair<Word, Word>{500, 1200}));
    EXPECT_FALSE(AnalogDacValues("70000", "0", English, error));
    EXPECT_EQ(AnalogTimerSeconds("soon", English, error), 30);
    EXPECT_FALSE(AnalogTimerSeconds("0", English, error)); // would read without pause
}

TEST(DoseCoefficientForm, DosikaKeepsTheProductAndWritesItBack) {
    TDkInitValues init;
    init.DeviceType = 1;
    init.CAL1 = 50;
    init.CAL2 = 50;
    init.CAL3 = 26;
    TDoseCoefficientForm form = DkOpenDoseCoefficients(init, English);
    EXPECT_EQ(form.CoefficientText, "7.80 nSv/(Bqh/m³) - Workers");
    EXPECT_EQ(form.FactorText, "0.40");
    EXPECT_EQ(form.FactorLines.size(), 9u);
    std::string error;
    ASSERT_TRUE(DkDoseCoefficientChanged(form, form.CoefficientLines[0], English, error));
    EXPECT_EQ(form.FactorText, "0.51"); // g × F = 3.12 stays
    DkTransferDoseCoefficients(form);
    EXPECT_EQ(form.InitValues.CAL3, 26);
    EXPECT_TRUE(form.ClosedBySetButton);

    // A typed factor outside 0.2..1 counts as 0.5, the text stays.
    ASSERT_TRUE(DkEquilibriumFactorChanged(form, "1.5", false, English, error));
    EXPECT_EQ(form.Eqf, 0.5);
    EXPECT_EQ(form.FactorText, "1.5");

    // A coefficient of 0 or one that is no number is refused; nothing changes.
    for (const char* typed : {"0.00", "abc"}) {
        const Real before = form.gEEC;
        EXPECT_FALSE(DkDoseCoefficientChanged(form, typed, English, error)) << typed;
        EXPECT_EQ(error, "The dose conversion coefficient must be a number above 0.");
        EXPECT_EQ(form.gEEC, before);
    }

    // CAL1 0: nothing can be converted, nothing is written.
    init.CAL1 = 0;
    TDoseCoefficientForm broken = DkOpenDoseCoefficients(init, English);
    EXPECT_EQ(broken.Error, Result::NotConvertible);
    DkTransferDoseCoefficients(broken);
    EXPECT_EQ(broken.InitValues, init);
}

TEST(DoseCoefficientForm, DosikaProPublicCoefficient) {
    TDkInitValues init;
    init.DeviceType = 2;
    init.CAL2 = 14;
    TDoseCoefficientForm form = DkOpenDoseCoefficients(init, English);
    EXPECT_FALSE(form.FactorEnabled);
    EXPECT_EQ(form.CoefficientText, "1.40 Sv/(Jh/m³)");
    std::string error;
    ASSERT_TRUE(DkDoseCoefficientChanged(form, form.CoefficientLines[0], English, error));
    DkTransferDoseCoefficients(form);
    EXPECT_EQ(form.InitValues.CAL2, 11);
}

} // namespace
} // namespace lumetra
