#include "dosika/DosikaControl.h"

#include "core/DeviceIdentification.h"
#include "core/EditValues.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "dosika/DosikaCommands.h"

namespace lumetra {
namespace {

constexpr Byte Bit0 = 0x01, Bit1 = 0x02, Bit2 = 0x04, USBit = 0x08;

constexpr TFieldRange UserIDField{"User ID", 0, WordMaximum};
constexpr TFieldRange AlarmLevelField{"Alarm Level", 0, WordMaximum};
constexpr TFieldRange CountryCodeField{"Country Code", 0, ByteMaximum};
constexpr TFieldRange RegionCodeField{"Region Code", 0, ByteMaximum};
constexpr TFieldRange EntryCodeField{"Entry Code", 0, ByteMaximum};
constexpr TFieldRange SampleIntervalField{"Sampling Interval", 0, ByteMaximum};

Byte Bits(Byte mask, bool set, Byte read, bool offered) {
    return offered ? (set ? mask : Byte{0}) : static_cast<Byte>(read & mask);
}

} // namespace

TDkControlStates DkControlStates(Byte deviceType) {
    TDkControlStates s;
    switch (deviceType) {
    case DkType::Dosika:
    case DkType::DosikaPro:
    case DkType::Kvx5210:
        s.AlarmLevel = deviceType != DkType::Kvx5210;
        s.DoseCoefficients = deviceType != DkType::Kvx5210;
        s.USUnits = deviceType != DkType::Kvx5210;
        if (deviceType == DkType::Kvx5210) {
            s.Group0 = {true, "Pump Mode", "Interval", "Contineous"};
        }
        s.Group2 = deviceType == DkType::DosikaPro ? TDkModeGroup{true, "Dose Mode", "On", "Off"}
                                                   : TDkModeGroup{true, "Radon Mode", "Slow", "Fast"};
        break;
    case DkType::SenraR:
    case DkType::SenraP:
        s.ClearAndStart = false;
        s.SwitchOff = false;
        s.AnalogSensor = true;
        s.UserID = false;
        s.AlarmLevel = false;
        s.Group0.Enabled = false;
        s.Group1.Enabled = false;
        // The enabled state of group 2 stays as it was: enabled.
        s.Group2 = {true, "Radon Mode", "Slow", "Fast"};
        break;
    default:
        break;
    }
    return s;
}

TDkSetupForm DkFormFromSetup(Byte deviceType, const TDkSetupValues& setup, const TDkSetupForm& previous) {
    TDkSetupForm form;
    form.UserIDText = std::to_string(setup.UserID);
    form.CountryCodeText = std::to_string(setup.CountryCode);
    form.RegionCodeText = std::to_string(setup.RegionCode);
    form.EntryCodeText = std::to_string(setup.EntryCode);
    form.SampleIntervalText = std::to_string(setup.SampleInterval);
    form.AlarmLevelText = std::to_string(setup.AlarmLevel);
    form.ModeBit0 = (setup.SetupByte & Bit0) != 0;
    form.ModeBit1 = (setup.SetupByte & Bit1) != 0;
    form.ModeBit2 = (setup.SetupByte & Bit2) != 0;
    form.USUnits = DkControlStates(deviceType).USUnits ? (setup.SetupByte & USBit) != 0 : previous.USUnits;
    return form;
}

std::optional<TDkSetupValues> DkSetupFromForm(Byte deviceType, const TDkSetupForm& form, const TDkSetupValues& read,
                                              const TTranslate& translate, std::string& error) {
    const TDkControlStates states = DkControlStates(deviceType);
    TDkSetupValues setup = read;
    struct TEdit {
        const std::string& Text;
        long long Default;
        const TFieldRange& Field;
        bool Offered;
        long long Value;
    };
    TEdit edits[] = {
        {form.UserIDText, 1, UserIDField, states.UserID, read.UserID},
        {form.AlarmLevelText, 100, AlarmLevelField, states.AlarmLevel, read.AlarmLevel},
        {form.CountryCodeText, 0, CountryCodeField, true, read.CountryCode},
        {form.RegionCodeText, 0, RegionCodeField, true, read.RegionCode},
        {form.EntryCodeText, 0, EntryCodeField, true, read.EntryCode},
        {form.SampleIntervalText, 60, SampleIntervalField, true, read.SampleInterval},
    };
    for (TEdit& edit : edits) {
        if (!edit.Offered) {
            continue;
        }
        const auto value = IntegerFromEdit(edit.Text, edit.Default, edit.Field, translate, error);
        if (!value) {
            return std::nullopt;
        }
        edit.Value = *value;
    }
    setup.UserID = static_cast<Word>(edits[0].Value);
    setup.AlarmLevel = static_cast<Word>(edits[1].Value);
    setup.CountryCode = static_cast<Byte>(edits[2].Value);
    setup.RegionCode = static_cast<Byte>(edits[3].Value);
    setup.EntryCode = static_cast<Byte>(edits[4].Value);
    setup.SampleInterval = static_cast<Byte>(edits[5].Value);
    // Bits no control stands for start from 0, as the window has always written them.
    setup.SetupByte = static_cast<Byte>(Bits(Bit0, form.ModeBit0, read.SetupByte, states.Group0.Enabled) |
                                        Bits(Bit1, form.ModeBit1, read.SetupByte, states.Group1.Enabled) |
                                        Bits(Bit2, form.ModeBit2, read.SetupByte, states.Group2.Enabled) |
                                        Bits(USBit, form.USUnits, read.SetupByte, states.USUnits));
    return setup;
}

std::string DkWindowCaption(const TDkInitValues& init) {
    std::string name;
    DeviceName(FamilyDosika, init.DeviceType, name);
    return name + " SN: " + std::to_string(init.DeviceNumber);
}

Byte DkOpenControl(TUserInterface& ui, const TComPort& port, TDkInitValues& init, TDkSetupValues& setup) {
    Byte result = DkReadInitValues(ui, port, init);
    if (result == Result::MeasurementState) {
        if (!ui.AskYesNo(ui.Translate("Confirm"), ui.Translate("Stop measurement?"))) {
            return Result::Declined;
        }
        result = DkStopMeasurement(ui, port);
        if (result == Result::Success) {
            result = DkReadInitValues(ui, port, init);
        }
    }
    if (result != Result::Success) {
        return result;
    }
    return DkReadSetup(ui, port, setup);
}

Byte DkSwitchOffInstrument(TUserInterface& ui, const TComPort& port) {
    const Byte result = DkSwitchOff(ui, port);
    return result == Result::UnexpectedResponse ? Result::MeasurementState : result;
}

} // namespace lumetra
