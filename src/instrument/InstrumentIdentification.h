#pragma once
// What answers on an open serial port: the instrument families are asked in turn until
// one of them answers.

#include "core/BasicTypes.h"

#include <cstdint>
#include <string>

namespace lumetra {

class TUserInterface;

// What an identification found. A measuring Dosika-family instrument tells only its
// family (type 0); a modem is family 3 with the rest 0.
struct TInstrumentIdentity {
    Byte Family = 0;
    Byte Type = 0;
    Word Serial = 0;
    Byte Software = 0;
    bool operator==(const TInstrumentIdentity&) const = default;
};

// Asks the instrument on `handle`, each answer awaited at most `timeout` ms: the
// Dosika-family identity first, then the Halvo-family one, then whether a modem answers
// "at&f". A Halvo-family instrument too new for this program gives family 2 with result
// 19. Any other failure leaves the identity all 0 and returns the result of the last
// probe; an invalid handle gives 1 at once. `noModemProbe` skips the modem probe (after
// a modem connection the line is already a call).
[[nodiscard]] Byte IdentifyInstrument(TUserInterface& ui, std::uint32_t handle, Word timeout, bool noModemProbe,
                                      TInstrumentIdentity& identity);

// A measuring Dosika-family instrument, which refuses to name its type and serial.
bool IsRunningInstrument(const TInstrumentIdentity& identity);

// The description of what answered: `DeviceDescription`, or "Running instrument, can
// not read ID/SN" for a measuring Dosika-family instrument.
std::string InstrumentDescription(const TInstrumentIdentity& identity);

} // namespace lumetra
