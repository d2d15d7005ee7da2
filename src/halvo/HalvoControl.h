#pragma once
// The logic of the Halvo control window, without a window: which controls a type
// offers, what the controls show for a setup, the setup built back from them, the unit
// switches and the texts of the commands' outcomes. The window and `lumetra-cli setup`
// both use it, so the same choice sends the same bytes.

#include "core/BasicTypes.h"
#include "core/UserInterface.h"
#include "halvo/HalvoProtocol.h"

#include <optional>
#include <string>

namespace lumetra {

// Which controls the window offers for a device type and firmware.
struct THlvControlStates {
    bool Known = false; // a type of the table; for any other the controls stay as they are
    bool Start = false;
    std::optional<bool> Stop; // type 3 leaves the stop button as it was
    bool LockUnlock = false;
    bool IntervalPresets = false;
    bool Battery = false;
    bool Buzzer = false;
    bool RadonMode = false;
    bool Pump = false;
    bool Units = false;
    bool AlarmLevel = false;
    bool SampleInterval = false;
    bool SetGet = false;
    bool CellSize = false;
    bool RecentReadings = false; // shown or hidden
};

THlvControlStates HlvControlStates(Byte deviceType, Byte softwareVersion);

// The states of the controls before any instrument filled them (every control enabled
// and the recent-readings button shown): what an unknown type keeps.
THlvControlStates HlvInitialControlStates();

// The types whose setup is read at opening; for the others the window starts from the
// controls' defaults.
bool HlvHasReadableSetup(Byte deviceType);

// The setup the controls stand for when none was read: interval 60, alarm 200 Bq/m³.
THlvSetupValues HlvDefaultSetupValues();

namespace HlvBuzzer {
constexpr Byte Off = 0;
constexpr Byte Alarm = 1;
constexpr Byte Po216 = 2;
constexpr Byte Po216Po218 = 3;
} // namespace HlvBuzzer

// What the controls of the setup show: the two edits' texts and the radio choices.
struct THlvSetupForm {
    std::string SampleIntervalText = "60";
    std::string AlarmLevelText = "200";
    Byte Buzzer = HlvBuzzer::Off;
    bool Fast = false;
    bool IntervalPump = false;
    bool US = false;
    Byte CellSize = 0; // 0 S, 1 M, 2 L, 3 XL
    // The alarm level in Bq/m³ that the edit shows, as long as the user has not edited
    // it: the display in pCi/L has one decimal and would not give it back exactly.
    std::optional<Integer> AlarmLevelBq;
};

// The controls filled from a setup (interval, the setup word's bits, the alarm level in
// the units of bit 4).
THlvSetupForm HlvFormFromSetup(const THlvSetupValues& setup);

// The user typed into the alarm edit: from now on its text counts.
void HlvAlarmLevelEdited(THlvSetupForm& form, const std::string& text);

// The unit switches: the label and the alarm edit follow; nothing is sent.
void HlvChangeToSI(THlvSetupForm& form);
void HlvChangeToUS(THlvSetupForm& form);
std::string HlvAlarmUnit(bool us);

// The setup the controls describe, for the transfer. A control that `states` disables
// keeps the value of `read` (what the instrument holds), so only what the user could
// change changes. A text that is not a number takes the window's default (interval 60,
// alarm 200); a number that does not fit its field gives nothing, with `error` naming
// the field and its range.
std::optional<THlvSetupValues> HlvSetupFromForm(const THlvSetupForm& form, const THlvSetupValues& read,
                                                const THlvControlStates& states, const TTranslate& translate,
                                                std::string& error);

// "Halvo PLUS, SN 1234 / 12".
std::string HlvWindowCaption(const THlvInitValues& init);

// The success texts of the commands whose text carries a value.
std::string HlvClockText(const std::string& dateTime, const TTranslate& translate);
std::string HlvBatteryText(Real volts, const TTranslate& translate);
// The eight lines of the recent readings, each ended by a carriage return; the units
// follow bit 4 of the setup word shown in the window.
std::string HlvRecentReadingsText(const THlvRecentValues& values, Byte deviceType, bool us,
                                  const TTranslate& translate);

class TUserInterface;

// Reads what the control window opens with: the identity and, for the types that have
// one to read, the setup; the others start from the defaults.
[[nodiscard]] Byte HlvOpenControl(TUserInterface& ui, const TComPort& port, THlvInitValues& init,
                                  THlvSetupValues& setup);

// The interval presets. Type 3 has no preset commands: its whole setup is written with
// the interval of the preset (and `setup` follows); other types get the command.
[[nodiscard]] Byte HlvSetIntervalPreset(TUserInterface& ui, const TComPort& port, Byte deviceType, bool longInterval,
                                        THlvSetupValues& setup);

} // namespace lumetra
