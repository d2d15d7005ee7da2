#include "links/InstrumentIdentification.h"

#include "core/Errors.h"
#include "core/GlobalDefinitions.h"
#include "halvo/HalvoProtocol.h"
#include "links/InstrumentAdapter.h"

namespace lumetra {
namespace {

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

Byte IdentifyInstrument(TUserInterface& ui, std::uint32_t handle, Word timeout,
                        [[maybe_unused]] bool noModemProbe, Byte& software, Word& serial, Byte& type,
                        Byte& family) {
    software = 0;
    serial = 0;
    type = 0;
    family = 0;
    TComPort port;
    port.Handle = handle;
    port.ReadTotalTimeOut = timeout;
    port.Baudrate = 1;
    port.Bridge = 0;

    // The Dosika-family identity is asked first, at 115200 baud with mark parity; that
    // probe arrives with the Dosika family. Until then nothing has answered here.
    Byte result = Result::NoAnswer;

    if (result != Result::Success) {
        result = ProbeHalvo(ui, port, software, serial, type, family);
    }

    // Last, unless noModemProbe is set, a modem is probed for (family 3); that probe
    // arrives with the modem link.
    return result;
}

} // namespace lumetra
