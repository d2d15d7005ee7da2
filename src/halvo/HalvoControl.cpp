#include "halvo/HalvoControl.h"

#include "core/DeviceIdentification.h"
#include "core/EditValues.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "core/NumberFormat.h"

#include <climits>
#include <cmath>

namespace lumetra {
namespace {

// The alarm level's display in US units: pCi/L = Bq/m³ × 0.027.
constexpr Real PicocuriePerBecquerel = 0.027;

constexpr Word BuzzerBits = 0x0003;
constexpr Word FastBit = 0x0004;
constexpr Word IntervalPumpBit = 0x0008;
constexpr Word USBit = 0x0010;
constexpr Word CellSizeBits = 0x0060;
constexpr int CellSizeShift = 5;

constexpr Byte DefaultInterval = 60;
constexpr Integer DefaultAlarm = 200;

constexpr TFieldRange SampleIntervalField{"Sampling Interval", 0, ByteMaximum};
constexpr TFieldRange AlarmLevelField{"Alarm Level", 0, INT_MAX};

std::string Fixed(Real value, int decimals) { return FormatFixed(value, 15, decimals); }

Integer RoundHalfEven(Real value) { return static_cast<Integer>(std::nearbyint(value)); }

// Bits of `word` within `mask` from `form` when its control is offered, else as read.
Word Bits(Word mask, Word fromForm, Word read, bool offered) { return offered ? (fromForm & mask) : (read & mask); }

} // namespace

THlvControlStates HlvControlStates(Byte deviceType, Byte softwareVersion) {
    THlvControlStates s;
    s.Known = true;
    s.LockUnlock = true;
    switch (deviceType) {
    case 1:
    case 2:
        s.Stop = false;
        s.IntervalPresets = true;
        s.Battery = deviceType == 2;
        break;
    case 3:
        s.IntervalPresets = true;
        s.Battery = true;
        s.Units = true;
        s.AlarmLevel = softwareVersion >= 10;
        s.SampleInterval = true;
        s.SetGet = true;
        s.RecentReadings = softwareVersion >= 6;
        break;
    case 5:
        s.Stop = false;
        s.Battery = true;
        s.Units = true;
        s.SampleInterval = true;
        s.SetGet = true;
        s.CellSize = true;
        break;
    case 7:
    case 8:
    case 9:
        s.Stop = false;
        s.Units = true;
        s.SetGet = true;
        break;
    case 4:
    case 10:
    case 6:
        s.Start = true;
        s.Stop = true;
        s.Battery = true;
        s.Buzzer = true;
        s.RadonMode = true;
        s.Pump = deviceType != 6;
        s.Units = true;
        s.AlarmLevel = true;
        s.SampleInterval = true;
        s.SetGet = true;
        s.RecentReadings = softwareVersion >= (deviceType == 6 ? 9 : 7);
        break;
    default:
        return HlvInitialControlStates();
    }
    return s;
}

THlvControlStates HlvInitialControlStates() {
    THlvControlStates s;
    s.Start = s.LockUnlock = s.IntervalPresets = s.Battery = s.Buzzer = s.RadonMode = s.Pump = s.Units =
        s.AlarmLevel = s.SampleInterval = s.SetGet = s.CellSize = s.RecentReadings = true;
    s.Stop = true;
    return s;
}

bool HlvHasReadableSetup(Byte deviceType) {
    return deviceType == 3 || deviceType == 4 || deviceType == 5 || deviceType == 6 || deviceType == 10;
}

THlvSetupValues HlvDefaultSetupValues() {
    THlvSetupValues setup;
    setup.SampleInterval = DefaultInterval;
    setup.AlarmLevel = DefaultAlarm;
    return setup;
}

THlvSetupForm HlvFormFromSetup(const THlvSetupValues& setup) {
    THlvSetupForm form;
    form.SampleIntervalText = std::to_string(setup.SampleInterval);
    form.Buzzer = static_cast<Byte>(setup.SetupWord & BuzzerBits);
    form.Fast = (setup.SetupWord & FastBit) != 0;
    form.IntervalPump = (setup.SetupWord & IntervalPumpBit) != 0;
    form.US = (setup.SetupWord & USBit) != 0;
    form.CellSize = static_cast<Byte>((setup.SetupWord & CellSizeBits) >> CellSizeShift);
    form.AlarmLevelBq = setup.AlarmLevel;
    form.AlarmLevelText = form.US ? Fixed(setup.AlarmLevel * PicocuriePerBecquerel, 1) : std::to_string(setup.AlarmLevel);
    return form;
}

void HlvAlarmLevelEdited(THlvSetupForm& form, const std::string& text) {
    form.AlarmLevelText = text;
    form.AlarmLevelBq.reset();
}

void HlvChangeToSI(THlvSetupForm& form) {
    form.US = false;
    if (form.AlarmLevelBq) {
        form.AlarmLevelText = std::to_string(*form.AlarmLevelBq);
        return;
    }
    const auto number = ParseNumberText(form.AlarmLevelText);
    form.AlarmLevelText = number ? Fixed(*number / PicocuriePerBecquerel, 0) : std::to_string(DefaultAlarm);
}

void HlvChangeToUS(THlvSetupForm& form) {
    form.US = true;
    if (form.AlarmLevelBq) {
        form.AlarmLevelText = Fixed(*form.AlarmLevelBq * PicocuriePerBecquerel, 1);
        return;
    }
    const auto number = ParseNumberText(form.AlarmLevelText);
    form.AlarmLevelText = number ? Fixed(*number * PicocuriePerBecquerel, 1) : Fixed(4.0, 1);
}

std::string HlvAlarmUnit(bool us) { return us ? "pCi/L" : "Bq/m³"; }

std::optional<THlvSetupValues> HlvSetupFromForm(const THlvSetupForm& form, const THlvSetupValues& read,
                                                const THlvControlStates& states, const TTranslate& translate,
                                                std::string& error) {
    THlvSetupValues setup = read;
    if (states.SampleInterval) {
        const auto interval =
            IntegerFromEdit(form.SampleIntervalText, DefaultInterval, SampleIntervalField, translate, error);
        if (!interval) {
            return std::nullopt;
        }
        setup.SampleInterval = static_cast<Byte>(*interval);
    }

    // Bits no control stands for start from 0, as the window has always written them.
    const Word fromForm = static_cast<Word>(
        (form.Buzzer & BuzzerBits) | (form.Fast ? FastBit : 0) | (form.IntervalPump ? IntervalPumpBit : 0) |
        (form.US ? USBit : 0) | ((form.CellSize << CellSizeShift) & CellSizeBits));
    setup.SetupWord = static_cast<Word>(
        Bits(BuzzerBits, fromForm, read.SetupWord, states.Buzzer) |
        Bits(FastBit, fromForm, read.SetupWord, states.RadonMode) |
        Bits(IntervalPumpBit, fromForm, read.SetupWord, states.Pump) |
        Bits(USBit, fromForm, read.SetupWord, states.Units) |
        Bits(CellSizeBits, fromForm, read.SetupWord, states.CellSize));

    if (states.AlarmLevel && !form.AlarmLevelBq) {
        const bool us = (setup.SetupWord & USBit) != 0;
        const auto number = ParseNumberText(form.AlarmLevelText);
        const Real bq = !number ? DefaultAlarm : (us ? *number / PicocuriePerBecquerel : *number);
        const Real rounded = std::nearbyint(bq);
        if (rounded < AlarmLevelField.Minimum || rounded > AlarmLevelField.Maximum) {
            error = OutOfRangeMessage(AlarmLevelField, translate);
            return std::nullopt;
        }
        setup.AlarmLevel = RoundHalfEven(bq);
    } else if (states.AlarmLevel) {
        setup.AlarmLevel = *form.AlarmLevelBq;
    }
    return setup;
}

std::string HlvWindowCaption(const THlvInitValues& init) {
    std::string name;
    DeviceName(FamilyHalvo, init.DeviceType, name);
    return name + ", SN " + std::to_string(init.DeviceNumber) + " / " + std::to_string(init.SoftwareVersion);
}

std::string HlvClockText(const std::string& dateTime, const TTranslate& translate) {
    return translate("Clock set to: ") + dateTime;
}

std::string HlvBatteryText(Real volts, const TTranslate& translate) {
    return translate("Battery Voltage per Cell: ") + Fixed(volts, 2) + "V";
}

std::string HlvRecentReadingsText(const THlvRecentValues& values, Byte deviceType, bool us,
                                  const TTranslate& translate) {
    const std::string unit = us ? "pCi/L" : "Bq/m³";
    const auto concentration = [&unit](float value, Byte error) {
        return Fixed(value, 0) + " " + unit + " +/-" + std::to_string(error) + "%";
    };
    std::string text;
    text += translate("Interval: ") + std::to_string(values.Interval) + " min\r";
    text += translate("Time stamp: ") + FormatDeviceTime(3, 2, values.Time) + "\r";
    text += translate("Radon: ") + concentration(values.Radon, values.RadonError) + "\r";
    text += (deviceType == 3 ? std::string("Radon Avg.: ") : translate("Thoron: ")) +
            concentration(values.Radon2, values.Radon2Error) + "\r";
    text += translate("Temperature: ") + Fixed(values.Temperature, 0) + " " + (us ? "°F" : "°C") + "\r";
    text += translate("rel. Humidity: ") + Fixed(values.Humidity, 0) + " %rH\r";
    text += translate("bar. Pressure: ") + Fixed(values.Pressure, 1) + " " + (us ? "inHg" : "mbar") + "\r";
    text += translate("Tilt: ") + std::to_string(values.Tilts) + "\r";
    return text;
}

Byte HlvOpenControl(TUserInterface& ui, const TComPort& port, THlvInitValues& init, THlvSetupValues& setup) {
    const Byte result = HlvReadInitValues(ui, port, init);
    if (result != Result::Success) {
        return result;
    }
    if (!HlvHasReadableSetup(init.DeviceType)) {
        setup = HlvDefaultSetupValues();
        return Result::Success;
    }
    return HlvReadSetupValues(ui, port, setup);
}

Byte HlvSetIntervalPreset(TUserInterface& ui, const TComPort& port, Byte deviceType, bool longInterval,
                          THlvSetupValues& setup) {
    if (deviceType != 3) {
        return longInterval ? HlvSetLongInterval(ui, port) : HlvSetShortInterval(ui, port);
    }
    setup.SampleInterval = longInterval ? 180 : 60;
    return HlvWriteSetupValues(ui, port, setup);
}

} // namespace lumetra
