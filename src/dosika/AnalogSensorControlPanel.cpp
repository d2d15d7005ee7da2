#include "dosika/AnalogSensorControlPanel.h"

#include "core/EditValues.h"
#include "core/NumberFormat.h"

namespace lumetra {
namespace {

// From 32768 on the instrument holds these values in thousands, up to 32767 of them.
constexpr long long AnalogValueMaximum = 32767LL * 1000;

constexpr TFieldRange AOut1RangeField{"Analog Output 1 Range", 0, AnalogValueMaximum};
constexpr TFieldRange AOut2RangeField{"Analog Output 2 Range", 0, AnalogValueMaximum};
constexpr TFieldRange AOut1AlarmField{"Analog Output 1 Alarm", 0, AnalogValueMaximum};
constexpr TFieldRange AOut2AlarmField{"Analog Output 2 Alarm", 0, AnalogValueMaximum};
constexpr TFieldRange Dac1Field{"AOut1 [mV]", 0, WordMaximum};
constexpr TFieldRange Dac2Field{"AOut2 [mV]", 0, WordMaximum};
constexpr TFieldRange TimerField{"Timer", 1, 86400};

// Right-aligned in a field of at least `width` characters.
std::string Padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

constexpr Integer NoOutputReading = 1023;
constexpr Real NoClimateReading = 1000;

} // namespace

TAnalogSetupForm AnalogFormFromSetup(const TAnalogSensorSetup& setup) {
    TAnalogSetupForm form;
    form.AOut1RangeText = std::to_string(setup.AOUT1Range);
    form.AOut2RangeText = std::to_string(setup.AOUT2Range);
    form.AOut1AlarmText = std::to_string(setup.AOUT1AlarmLevel);
    form.AOut2AlarmText = std::to_string(setup.AOUT2AlarmLevel);
    form.Pulse = (setup.DOUTMode & DOutPulseBit) != 0;
    for (std::size_t bit = 0; bit < form.Sources.size(); ++bit) {
        form.Sources[bit] = (setup.DOUTMode & (1u << bit)) != 0;
    }
    return form;
}

std::optional<TAnalogSensorSetup> AnalogSetupFromForm(const TAnalogSetupForm& form, const TTranslate& translate,
                                                      std::string& error) {
    TAnalogSensorSetup setup;
    for (std::size_t bit = 0; bit < form.Sources.size(); ++bit) {
        if (form.Sources[bit]) {
            setup.DOUTMode = static_cast<Byte>(setup.DOUTMode | (1u << bit));
        }
    }
    if (form.Pulse) {
        setup.DOUTMode = static_cast<Byte>(setup.DOUTMode | DOutPulseBit);
    }
    const struct {
        const std::string& Text;
        long long Default;
        const TFieldRange& Field;
        Integer& Target;
    } edits[] = {
        {form.AOut1RangeText, 1000, AOut1RangeField, setup.AOUT1Range},
        {form.AOut2RangeText, 1000, AOut2RangeField, setup.AOUT2Range},
        {form.AOut1AlarmText, 10, AOut1AlarmField, setup.AOUT1AlarmLevel},
        {form.AOut2AlarmText, 10, AOut2AlarmField, setup.AOUT2AlarmLevel},
    };
    for (const auto& edit : edits) {
        const auto value = IntegerFromEdit(edit.Text, edit.Default, edit.Field, translate, error);
        if (!value) {
            return std::nullopt;
        }
        edit.Target = static_cast<Integer>(*value);
    }
    return setup;
}

TAnalogValueTexts AnalogValueTexts(const TAnalogSensorValues& values, const TTranslate& translate) {
    TAnalogValueTexts texts;
    const auto concentration = [&translate](Integer value, Byte error) {
        if (value == DkNoConcentration) {
            return translate("no value");
        }
        return std::to_string(value) + translate("Bq/m³ ") + "±" + std::to_string(error) + "%";
    };
    texts.Radon = concentration(values.RadonValue, values.RadonError);
    texts.Thoron = concentration(values.ThoronValue, values.ThoronError);
    texts.Temperature = values.TemperatureValue >= NoClimateReading
                            ? translate("no value")
                            : Padded(FormatFixed(values.TemperatureValue, 15, 1), 4) + "°C";
    texts.Humidity = values.HumidityValue >= NoClimateReading
                         ? translate("no value")
                         : Padded(FormatFixed(values.HumidityValue, 15, 0), 3) + "%";
    const auto output = [&translate](Word value, std::string& mv, std::string& ma) {
        if (value >= NoOutputReading) {
            mv = ma = translate("not valid");
            return;
        }
        mv = std::to_string(value) + translate("mV");
        ma = Padded(FormatFixed(value * 0.02, 15, 2), 5) + translate("mA");
    };
    output(values.AOut1Value, texts.AOut1Value, texts.AOut1mA);
    output(values.AOut2Value, texts.AOut2Value, texts.AOut2mA);
    return texts;
}

TAnalogValueTexts AnalogInitialValueTexts(const TTranslate& translate) {
    const std::string none = translate("no value");
    const std::string invalid = translate("not valid");
    return {none, none, none, none, invalid, invalid, invalid, invalid};
}

std::optional<std::pair<Word, Word>> AnalogDacValues(const std::string& first, const std::string& second,
                                                     const TTranslate& translate, std::string& error) {
    const auto a = IntegerFromEdit(first, 500, Dac1Field, translate, error);
    if (!a) {
        return std::nullopt;
    }
    const auto b = IntegerFromEdit(second, 500, Dac2Field, translate, error);
    if (!b) {
        return std::nullopt;
    }
    return std::pair<Word, Word>{static_cast<Word>(*a), static_cast<Word>(*b)};
}

std::optional<int> AnalogTimerSeconds(const std::string& text, const TTranslate& translate, std::string& error) {
    const auto seconds = IntegerFromEdit(text, 30, TimerField, translate, error);
    if (!seconds) {
        return std::nullopt;
    }
    return static_cast<int>(*seconds);
}

} // namespace lumetra
