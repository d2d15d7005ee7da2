// The Halvo control window's logic without a window: the enable table, the controls
// filled from a setup and the setup built back, the unit switches and the texts.

#include "halvo/HalvoControl.h"

#include <gtest/gtest.h>

#include <string>

namespace lumetra {
namespace {

const TTranslate English = [](const std::string& text) { return text; };

// Every entry of the enable table, with the firmware limits.
TEST(HalvoControl, EnableTableByTypeAndFirmware) {
    struct TCase {
        Byte Type, Software;
        // Start, Stop (- left as it was), Lock/Unlock, presets, battery, buzzer, radon
        // mode, pump, units, alarm, interval, set/get, cell size, recent readings.
        std::string Flags;
    };
    const TCase cases[] = {
        {1, 8, "00110000000000"},  {2, 8, "00111000000000"},  {3, 5, "0-111000101100"},
        {3, 9, "0-111000101101"},  {3, 10, "0-111000111101"},  {5, 8, "00101000101110"},
        {7, 3, "00100000100100"},  {8, 3, "00100000100100"},  {9, 3, "00100000100100"},
        {4, 6, "11101111111100"},  {4, 7, "11101111111101"},  {10, 7, "11101111111101"},
        {6, 8, "11101110111100"},  {6, 9, "11101110111101"},
    };
    for (const TCase& c : cases) {
        const THlvControlStates s = HlvControlStates(c.Type, c.Software);
        const char stop = !s.Stop ? '-' : (*s.Stop ? '1' : '0');
        const std::string got = std::string{s.Start ? '1' : '0', stop} + (s.LockUnlock ? "1" : "0") +
                                (s.IntervalPresets ? "1" : "0") + (s.Battery ? "1" : "0") + (s.Buzzer ? "1" : "0") +
                                (s.RadonMode ? "1" : "0") + (s.Pump ? "1" : "0") + (s.Units ? "1" : "0") +
                                (s.AlarmLevel ? "1" : "0") + (s.SampleInterval ? "1" : "0") + (s.SetGet ? "1" : "0") +
                                (s.CellSize ? "1" : "0") + (s.RecentReadings ? "1" : "0");
        EXPECT_TRUE(s.Known);
        EXPECT_EQ(got, c.Flags) << "type " << int{c.Type} << " software " << int{c.Software};
    }
    // Any other type leaves the controls as the window starts: all offered.
    const THlvControlStates other = HlvControlStates(11, 1);
    EXPECT_FALSE(other.Known);
    EXPECT_TRUE(other.SetGet && other.Start && other.Stop.value_or(false) && other.CellSize);
}

TEST(HalvoControl, SetupShownAndBuiltBack) {
    // Interval 60, setup word 0x0011 (alarm buzzer, US units), alarm 300 Bq/m³.
    const THlvSetupValues read{60, 0x0011, 300};
    THlvSetupForm form = HlvFormFromSetup(read);
    EXPECT_EQ(form.SampleIntervalText, "60");
    EXPECT_EQ(form.Buzzer, HlvBuzzer::Alarm);
    EXPECT_TRUE(form.US);
    EXPECT_EQ(form.AlarmLevelText, "8.1");
    std::string error;
    const THlvControlStates type4 = HlvControlStates(4, 12);
    // Nothing changed: the alarm goes back as read, not from its rounded display.
    EXPECT_EQ(HlvSetupFromForm(form, read, type4, English, error), read);

    // The user types 5.4 pCi/L: 200 Bq/m³.
    HlvAlarmLevelEdited(form, "5.4");
    EXPECT_EQ(HlvSetupFromForm(form, read, type4, English, error)->AlarmLevel, 200);
    // Every control at its other end.
    form.SampleIntervalText = "255";
    form.Buzzer = HlvBuzzer::Po216Po218;
    form.Fast = true;
    form.IntervalPump = true;
    form.US = false;
    HlvAlarmLevelEdited(form, "abc");
    const auto built = HlvSetupFromForm(form, read, type4, English, error);
    ASSERT_TRUE(built);
    EXPECT_EQ(built->SampleInterval, 255);
    EXPECT_EQ(built->SetupWord, 0x000F);
    EXPECT_EQ(built->AlarmLevel, 200); // not a number: the default
}

TEST(HalvoControl, DisabledControlsKeepWhatWasRead) {
    // A type 5 offers the cell size but no buzzer, radon mode, pump or alarm level.
    const THlvSetupValues read{30, 0x000F | 0x0100, 150};
    THlvSetupForm form; // controls at their defaults
    form.CellSize = 3;
    std::string error;
    const auto built = HlvSetupFromForm(form, read, HlvControlStates(5, 8), English, error);
    ASSERT_TRUE(built);
    EXPECT_EQ(built->SampleInterval, 60);
    EXPECT_EQ(built->SetupWord, 0x000F | 0x0060); // bits without a control start from 0
    EXPECT_EQ(built->AlarmLevel, 150);
    // Types 7, 8, 9: the setup is never read; the disabled interval starts from 60.
    const auto home = HlvSetupFromForm(THlvSetupForm{}, HlvDefaultSetupValues(), HlvControlStates(8, 3), English, error);
    ASSERT_TRUE(home);
    EXPECT_EQ(home->SampleInterval, 60);
    EXPECT_EQ(home->AlarmLevel, 200);
}

TEST(HalvoControl, NumbersThatDoNotFitAreRefused) {
    struct TCase {
        const char* Interval;
        const char* Alarm;
        const char* Refusal; // empty: accepted
    };
    const TCase cases[] = {
        {"300", "200", "Sampling Interval takes a whole number from 0 to 255."},
        {"-1", "200", "Sampling Interval takes a whole number from 0 to 255."},
        {"255", "200", ""},
        {"", "200", ""},
        {"60", "-3", "Alarm Level takes a whole number from 0 to 2147483647."},
        {"60", "99999999999", "Alarm Level takes a whole number from 0 to 2147483647."},
    };
    for (const TCase& c : cases) {
        THlvSetupForm form;
        form.SampleIntervalText = c.Interval;
        HlvAlarmLevelEdited(form, c.Alarm);
        std::string error;
        const auto built = HlvSetupFromForm(form, HlvDefaultSetupValues(), HlvControlStates(4, 12), English, error);
        EXPECT_EQ(built.has_value(), std::string(c.Refusal).empty()) << c.Interval << " / " << c.Alarm;
        EXPECT_EQ(error, c.Refusal);
    }
}

TEST(HalvoControl, UnitSwitches) {
    struct TCase {
        const char* Text;
        bool ToUS;
        const char* Shown;
    };
    const TCase cases[] = {{"200", true, "5.4"}, {"abc", true, "4.0"}, {"5.4", false, "200"}, {"abc", false, "200"}};
    for (const TCase& c : cases) {
        THlvSetupForm form;
        HlvAlarmLevelEdited(form, c.Text);
        c.ToUS ? HlvChangeToUS(form) : HlvChangeToSI(form);
        EXPECT_EQ(form.AlarmLevelText, c.Shown) << c.Text;
        EXPECT_EQ(form.US, c.ToUS);
    }
    // A value read from the instrument survives a switch there and back exactly.
    // (From its one-decimal pCi/L text, 4.0 or 4.1, it would come back as 148 or 152.)
    THlvSetupForm read = HlvFormFromSetup({60, 0, 150});
    HlvChangeToUS(read);
    HlvChangeToSI(read);
    EXPECT_EQ(read.AlarmLevelText, "150");
}

TEST(HalvoControl, Texts) {
    EXPECT_EQ(HlvWindowCaption(THlvInitValues{1234, 3, 12}), "Halvo PLUS, SN 1234 / 12");
    EXPECT_EQ(HlvBatteryText(1.2345, English), "Battery Voltage per Cell: 1.23V");
    THlvRecentValues v;
    v.Interval = 60;
    v.Time.Minute = 5;
    v.Time.Hour = 14;
    v.Time.Day = 3;
    v.Time.Month = 7;
    v.Time.Year = 24;
    v.Radon = 123.4f;
    v.RadonError = 8;
    v.Radon2 = 45.6f;
    v.Radon2Error = 20;
    v.Temperature = 21.4f;
    v.Humidity = 45.5f;
    v.Pressure = 1013.25f;
    v.Tilts = 2;
    const std::string si = HlvRecentReadingsText(v, 4, false, English);
    EXPECT_EQ(si, "Interval: 60 min\rTime stamp: " + FormatDeviceTime(3, 2, v.Time) +
                      "\rRadon: 123 Bq/m³ +/-8%\rThoron: 46 Bq/m³ +/-20%\rTemperature: 21 °C\r"
                      "rel. Humidity: 46 %rH\rbar. Pressure: 1013.3 mbar\rTilt: 2\r");
    const std::string us = HlvRecentReadingsText(v, 3, true, [](const std::string& t) { return "<" + t + ">"; });
    EXPECT_NE(us.find("\rRadon Avg.: 46 pCi/L +/-20%\r"), std::string::npos) << us; // untranslated
    EXPECT_NE(us.find("<Temperature: >21 °F\r"), std::string::npos) << us;
    EXPECT_NE(us.find(" inHg\r"), std::string::npos) << us;
}

} // namespace
} // namespace lumetra
