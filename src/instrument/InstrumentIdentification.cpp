#include "instrument/InstrumentIdentification.h"

#include "core/DeviceIdentification.h"
#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "dosika/DosikaCommands.h"
#include "halvo/HalvoProtocol.h"
#include "links/InstrumentAdapter.h"
#include "links/Modems.h"

namespace lumetra {
namespace {

// The Dosika family speaks at 115200 baud with mark parity. A measuring instrument
// refuses even its identity; it is still an instrument of the family, of unknown type.
Byte ProbeDosika(TUserInterface& ui, TComPort port, TInstrumentIdentity& identity) {
    port.Baudrate = 1;
    TDkIdentity answer;
    const Byte result = DkReadIdentity(ui, port, answer);
    if (result == Result::Success) {
        identity.Family = answer.DeviceFamily;
        identity.Type = answer.DeviceType;
        identity.Serial = answer.SerialNumber;
        identity.Software = answer.SoftwareVersion;
        return result;
    }
    if (result == Result::MeasurementState) {
        identity.Family = FamilyDosika;
        return Result::Success;
    }
    return result;
}

// The Halvo family speaks at 9600 baud without parity.
Byte ProbeHalvo(TUserInterface& ui, TComPort port, TInstrumentIdentity& identity) {
    port.Baudrate = 0;
    THlvInitValues scratch;
    const Byte result = HlvReadInitValues(ui, port, scratch);
    if (result == Result::Success || result == Result::InstrumentTooNew) {
        identity.Family = FamilyHalvo;
        identity.Type = scratch.DeviceType;
        identity.Serial = static_cast<Word>(scratch.DeviceNumber & 0xFFFF);
        identity.Software = scratch.SoftwareVersion;
    }
    return result;
}

} // namespace

Byte IdentifyInstrument(TUserInterface& ui, std::uint32_t handle, Word timeout, bool noModemProbe,
                        TInstrumentIdentity& identity) {
    identity = {};
    TComPort port;
    port.Handle = handle;
    port.ReadTotalTimeOut = timeout;
    port.Baudrate = 1;
    port.Bridge = 0;
    // A port that did not open is reported as such: the modem probe, which knows only
    // "answered" and "silent", would turn it into "no response".
    if (handle == InvalidHandle) {
        return Result::PortNotOpen;
    }

    Byte result = ProbeDosika(ui, port, identity);
    if (result != Result::Success) {
        result = ProbeHalvo(ui, port, identity);
    }
    if (result != Result::Success && result != Result::InstrumentTooNew && !noModemProbe) {
        result = DetectModem(ui, handle);
        if (result == Result::Success) {
            identity.Family = FamilyModem;
        }
    }
    return result;
}

bool IsRunningInstrument(const TInstrumentIdentity& identity) {
    return identity.Family == FamilyDosika && identity.Type == 0;
}

std::string InstrumentDescription(const TInstrumentIdentity& identity) {
    if (IsRunningInstrument(identity)) {
        return "Running instrument, can not read ID/SN";
    }
    std::string description;
    DeviceDescription(identity.Family, identity.Type, identity.Serial, description, identity.Software);
    return description;
}

} // namespace lumetra
