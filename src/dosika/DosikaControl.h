#pragma once
// The logic of the Dosika control window, without a window: which controls a device
// type offers and what its mode switches are called, what the controls show for a
// setup, and the setup built back from them. The window and `lumetra-cli setup` both
// use it, so the same choice sends the same bytes.

#include "core/BasicTypes.h"
#include "core/UserInterface.h"
#include "dosika/DosikaTypes.h"
#include "links/InstrumentAdapter.h"

#include <optional>
#include <string>

namespace lumetra {

class TUserInterface;

// A mode switch: the group's caption and its two buttons' texts (English).
struct TDkModeGroup {
    bool Enabled = true;
    std::string Caption;
    std::string SetText;
    std::string ClearText;
};

// What the window offers for a device type. A Morvel (type 3) and unknown types keep
// the controls as the window starts.
struct TDkControlStates {
    bool ClearAndStart = true;
    bool SwitchOff = true;
    bool AnalogSensor = false;
    bool UserID = true;
    bool AlarmLevel = true;
    bool DoseCoefficients = false; // the "F + g" button shown
    TDkModeGroup Group0{true, "Buzzer", "On", "Off"};
    TDkModeGroup Group1{true, "Button", "Locked", "Unlocked"};
    TDkModeGroup Group2{true, "Mode", "Mode 1", "Mode 2"};
    bool USUnits = false; // the check box shown
};

TDkControlStates DkControlStates(Byte deviceType);

// What the setup controls show.
struct TDkSetupForm {
    std::string UserIDText;
    std::string CountryCodeText;
    std::string RegionCodeText;
    std::string EntryCodeText;
    std::string SampleIntervalText;
    std::string AlarmLevelText;
    bool ModeBit0 = false;
    bool ModeBit1 = false;
    bool ModeBit2 = false;
    bool USUnits = false;
};

// The controls filled from a setup. The US check box follows bit 3 wherever it is
// shown (types 1 and 2); elsewhere it keeps `previous`'s state.
TDkSetupForm DkFormFromSetup(Byte deviceType, const TDkSetupValues& setup, const TDkSetupForm& previous = {});

// The setup the controls describe, for the transfer. A control that the type disables
// or hides keeps the value of `read`; a text that is not a number takes the window's
// default (user 1, alarm 100, codes 0, interval 60); a number that does not fit its
// field gives nothing, with `error` naming the field and its range. The values the
// window does not show (breathing rate, detection values) stay as read.
std::optional<TDkSetupValues> DkSetupFromForm(Byte deviceType, const TDkSetupForm& form, const TDkSetupValues& read,
                                              const TTranslate& translate, std::string& error);

// "Dosika PRO SN: 1234" (a Morvel has no name: " SN: 1234").
std::string DkWindowCaption(const TDkInitValues& init);

// Reads identity, calibration and setup for the control window. A measuring instrument
// is stopped only when the user agrees to "Stop measurement?" (else 15, nothing sent).
[[nodiscard]] Byte DkOpenControl(TUserInterface& ui, const TComPort& port, TDkInitValues& init, TDkSetupValues& setup);

// Switching off; an unexpected status means the instrument refuses in its present state.
[[nodiscard]] Byte DkSwitchOffInstrument(TUserInterface& ui, const TComPort& port);

} // namespace lumetra
