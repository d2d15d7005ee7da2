#include "links/InstrumentIdentification.h"

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
Byte ProbeDosika(TUserInterface& ui, TComPort port, Byte& software, Word& serial, Byte& type, Byte& family) {
    port.Baudrate = 1;
    TDkIdentity identity;
    const Byte result = DkReadIdentity(ui, port, identity);
    if (result == Result::Success) {
        family = identity.DeviceFamily;
        type = identity.DeviceType;
        serial = identity.SerialNumber;
        software = identity.SoftwareVersion;
        return result;
    }
    if (result == Result::MeasurementState) {
        family = FamilyDosika;
        return Result::Success;
    }
    return result;
}

// The Halvo family speaks at 9600 baud without parity.
Byte ProbeHalvo(TUserInterface& ui, TComPort port, Byte& software, Word& serial, Byte& type, Byte& family) {
    port.Baudrate = 0;
    THlvInitValues scratch;
    const Byte result = HlvReadInitValues(ui, port, scratch);
    if (result == Result::Success || result == Result::InstrumentTooNew) {
        family = FamilyHalvo;
        type = scratch.DeviceType;
        serial = static_cast<Word>(scratch.DeviceNumber & 0xFFFF);
        software = scratch.SoftwareVersion;
    }
    return result;
}

} // namespace

Byte IdentifyInstrument(TUserInterface& ui, std::uint32_t handle, Word timeout, bool noModemProbe,
                        Byte& software, Word& serial, Byte& type, Byte& family) {
    software = 0;
    serial = 0;
    type = 0;
    family = 0;
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

    Byte result = ProbeDosika(ui, port, software, serial, type, family);
    if (result != Result::Success) {
        result = ProbeHalvo(ui, port, software, serial, type, family);
    }
    if (result != Result::Success && result != Result::InstrumentTooNew && !noModemProbe) {
        result = DetectModem(ui, handle);
        if (result == Result::Success) {
            family = FamilyModem;
        }
    }
    return result;
}

} // namespace lumetra
