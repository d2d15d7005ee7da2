#pragma once
// The logic of the analog sensor window (Senra-R and Senra-P), without a window: the
// output setup shown and built back, the texts of the current readings, the DAC test
// values and the timer interval. The window and `lumetra-cli setup` both use it.

#include "core/BasicTypes.h"
#include "core/UserInterface.h"
#include "dosika/DosikaTypes.h"

#include <array>
#include <optional>
#include <string>

namespace lumetra {

constexpr Byte DOutPulseBit = 0x80;
constexpr Byte DOutRHTBit = 0x20;

// What the setup controls show.
struct TAnalogSetupForm {
    std::string AOut1RangeText;
    std::string AOut2RangeText;
    std::string AOut1AlarmText;
    std::string AOut2AlarmText;
    bool Pulse = false;                  // the digital output in pulse mode (else alarm)
    std::array<bool, 6> Sources{};       // ROI1..ROI5, rH/T
};

TAnalogSetupForm AnalogFormFromSetup(const TAnalogSensorSetup& setup);

// The pulse sources can be chosen exactly while pulse mode is selected.
inline bool AnalogSourcesEnabled(const TAnalogSetupForm& form) { return form.Pulse; }

// The setup the controls describe. A text that is not a number takes the window's
// default (ranges 1000, alarm levels 10); a number the instrument cannot hold (below 0
// or above 32767 thousands) gives nothing, with `error` naming the field. The sources
// count also while they are disabled.
std::optional<TAnalogSensorSetup> AnalogSetupFromForm(const TAnalogSetupForm& form, const TTranslate& translate,
                                                      std::string& error);

// The texts of the reading edits.
struct TAnalogValueTexts {
    std::string Radon;
    std::string Thoron;
    std::string Temperature;
    std::string Humidity;
    std::string AOut1Value;
    std::string AOut1mA;
    std::string AOut2Value;
    std::string AOut2mA;
};

TAnalogValueTexts AnalogValueTexts(const TAnalogSensorValues& values, const TTranslate& translate);

// What the reading edits show before the first reading.
TAnalogValueTexts AnalogInitialValueTexts(const TTranslate& translate);

// The DAC test values in mV (500 when a text is not a number); nothing, with `error`,
// for a value that does not fit the 16 bits sent.
std::optional<std::pair<Word, Word>> AnalogDacValues(const std::string& first, const std::string& second,
                                                     const TTranslate& translate, std::string& error);

// The timer interval in seconds (30 when the text is not a number); nothing, with
// `error`, for one below 1 s (which would read without pause) or above a day.
std::optional<int> AnalogTimerSeconds(const std::string& text, const TTranslate& translate, std::string& error);

} // namespace lumetra
